#include "edit/LinkEdits.h"

#include "base/EditHistory.h"
#include "base/Format.h"
#include "base/Labels.h"
#include "base/Workspace.h"
#include "db/Numbers.h"
#include "edit/PersonForm.h"
#include "query/Selection.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace kinmap {

namespace {

constexpr int journalLabelOptions = LabelOption::numberFirst | LabelOption::birth | LabelOption::death |
                                    LabelOption::places | LabelOption::fullDates | LabelOption::lineEnd;

// The person label the journal writes after an operation's text.
std::string journalLabel(Workspace& s, int32_t rin)
{
    const std::string before(s.report.text(), static_cast<size_t>(s.report.length()));
    personLabel(s, nullptr, journalLabelOptions, rin);
    std::string label(s.report.text() + before.size(), static_cast<size_t>(s.report.length()) - before.size());
    s.report.clear();
    s.report.append("%s", before.c_str());
    return label;
}

void journal(Workspace& s, const std::string& text, int32_t rin)
{
    journalEdit(s, text + journalLabel(s, rin));
}

const char* nameOf(const Workspace& s, int32_t rin, bool given)
{
    if (!s.db.isPerson(rin))
        return "";
    const Text text = given ? s.db.persons[rin].given : s.db.persons[rin].surname;
    return text ? text : "";
}

std::string who(const Workspace& s, int32_t rin)
{
    return formatText("%s %s [%d]", nameOf(s, rin, true), nameOf(s, rin, false), rin);
}

// Links a person into a family as spouse or child, on both sides, once.
void linkSpouse(Database& db, int32_t mrin, int32_t rin, bool husband)
{
    db.touchFamily(mrin);
    db.touchPerson(rin);
    FamilyRecord& f = db.families[mrin];
    (husband ? f.husband : f.wife) = rin;
    f.flags |= (husband ? Flag::hasHusband : Flag::hasWife) | Flag::changed;
    if (!db.persons[rin].fams.contains(mrin))
        db.appendLink(db.persons[rin].fams, mrin);
    db.markPersonChanged(rin);
}

void linkChild(Database& db, int32_t mrin, int32_t rin)
{
    db.touchFamily(mrin);
    db.touchPerson(rin);
    FamilyRecord& f = db.families[mrin];
    if (!f.children.contains(rin))
        db.appendLink(f.children, rin);
    f.flags |= Flag::hasChildren | Flag::changed;
    if (!db.persons[rin].famc.contains(mrin))
        db.appendLink(db.persons[rin].famc, mrin);
    db.markPersonChanged(rin);
}

// A new family for a person, as spouse or as child.
int32_t newFamily(Workspace& s, int32_t rin, bool asChild, bool husband = false)
{
    const int32_t mrin = s.db.addFamily();
    if (asChild) {
        linkChild(s.db, mrin, rin);
        journal(s, formatText("New FAMC mrin %d for ", mrin), rin);
    } else {
        linkSpouse(s.db, mrin, rin, husband);
        journal(s, formatText("New FAMS mrin %d for ", mrin), rin);
    }
    return mrin;
}

// The child's parent family that lacks this parent, `preferred` when it is
// one, else the first; or a new one.
int32_t parentFamilyFor(Workspace& s, int32_t child, bool father, int32_t preferred)
{
    const Database& db = s.db;
    auto lacksParent = [&](int32_t mrin) {
        return db.isFamily(mrin) && db.persons[child].famc.contains(mrin) &&
               (father ? db.families[mrin].husband : db.families[mrin].wife) == 0;
    };
    if (lacksParent(preferred))
        return preferred;
    for (const int32_t mrin : db.persons[child].famc)
        if (lacksParent(mrin))
            return mrin;
    return newFamily(s, child, true);
}

// Whether `ancestor` is among the parents, grandparents, ... of `person`.
bool isAncestor(const Database& db, int32_t ancestor, int32_t person)
{
    std::vector<int32_t> work{person};
    std::unordered_set<int32_t> seen{person};
    while (!work.empty()) {
        const int32_t rin = work.back();
        work.pop_back();
        for (const int32_t mrin : db.persons[rin].famc) {
            if (!db.isFamily(mrin))
                continue;
            for (const int32_t parent : {db.families[mrin].husband, db.families[mrin].wife}) {
                if (parent == ancestor)
                    return true;
                if (db.isPerson(parent) && seen.insert(parent).second)
                    work.push_back(parent);
            }
        }
    }
    return false;
}

bool areSpouses(const Database& db, int32_t a, int32_t b)
{
    for (const int32_t mrin : db.persons[a].fams)
        if (db.isFamily(mrin) && (db.families[mrin].husband == b || db.families[mrin].wife == b))
            return true;
    return false;
}

// Why `child` cannot become a child of `parent` (nobody may become his own
// ancestor); empty when it can.
std::string whyNotChildOf(const Workspace& s, int32_t child, int32_t parent)
{
    const Database& db = s.db;
    if (!db.isPerson(parent))
        return {};
    if (parent == child)
        return formatText("%s cannot be a parent of itself.", who(s, child).c_str());
    if (areSpouses(db, child, parent))
        return formatText("%s cannot become a child of %s, who is a spouse of it.", who(s, child).c_str(),
                          who(s, parent).c_str());
    if (isAncestor(db, child, parent))
        return formatText("%s cannot become a child of %s, who descends from it: nobody can be their own ancestor.",
                          who(s, child).c_str(), who(s, parent).c_str());
    return {};
}

int members(const FamilyRecord& f)
{
    return (f.husband != 0 ? 1 : 0) + (f.wife != 0 ? 1 : 0) + f.children.count();
}

// A family goes only when at most one member is left, as the link check
// has it: children keep their parents' family.
void deleteFamily(Workspace& s, int32_t mrin)
{
    Database& db = s.db;
    db.touchFamily(mrin);
    FamilyRecord& f = db.families[mrin];
    for (const int32_t spouse : {f.husband, f.wife})
        if (db.validRin(spouse)) {
            db.touchPerson(spouse);
            db.persons[spouse].fams.removeValue(mrin);
            db.markPersonChanged(spouse);
        }
    for (const int32_t child : f.children)
        if (db.validRin(child)) {
            db.touchPerson(child);
            db.persons[child].famc.removeValue(mrin);
            db.markPersonChanged(child);
        }
    f.children.clear();
    f.husband = f.wife = 0;
    f.flags = 0;
    journalEdit(s, formatText("mrin %d gelöscht\n", mrin));
}

void deleteFamilyIfEmpty(Workspace& s, int32_t mrin)
{
    if (s.db.isFamily(mrin) && members(s.db.families[mrin]) <= 1)
        deleteFamily(s, mrin);
}

// The current person's family at the current index, within its families.
int32_t familyAtIndex(Workspace& s, int& familyIndex, int32_t rin)
{
    const IdList& fams = s.db.persons[rin].fams;
    if (fams.empty())
        return 0;
    familyIndex = std::clamp(familyIndex, 0, fams.count() - 1);
    const int32_t mrin = fams[familyIndex];
    return s.db.isFamily(mrin) ? mrin : 0;
}

bool spouseFree(const Database& db, int32_t mrin, int32_t rin)
{
    if (!db.isFamily(mrin))
        return false;
    const FamilyRecord& f = db.families[mrin];
    return (f.husband == rin && f.wife == 0) || (f.wife == rin && f.husband == 0);
}

// A family of the person with the spouse's place free: `preferred` when it
// is one, else the first.
int32_t familyWithFreeSpouse(const Database& db, int32_t rin, int32_t preferred)
{
    if (spouseFree(db, preferred, rin))
        return preferred;
    for (const int32_t mrin : db.persons[rin].fams)
        if (spouseFree(db, mrin, rin))
            return mrin;
    return 0;
}

bool isMaleOrFemale(unsigned char sex)
{
    return sex == 'M' || sex == 'm' || sex == 'F' || sex == 'f';
}

bool male(unsigned char sex)
{
    return sex == 'M' || sex == 'm';
}

void askSex(Workspace& s, int32_t rin, const char* title, const char* question)
{
    PersonRecord& p = s.db.persons[rin];
    if (p.sex != 0)
        return;
    s.db.touchPerson(rin);
    p.sex = s.ui.askYesNo(title, question, MessageIcon::question) ? 'M' : 'F';
    p.flags |= Flag::hasSex | Flag::changed;
}

// A new person through the dialog: created only when the user saves.
int32_t newPersonThroughDialog(Workspace& s, PersonForm& form)
{
    for (;;) {
        if (!s.ui.askEditPerson(form))
            return 0;
        const std::string problem = checkPersonForm(form);
        if (problem.empty())
            break;
        s.errorBox("%s", problem.c_str()); // the dialog opens again with what was typed
    }
    const int32_t rin = s.db.addPerson();
    form.rin = rin;
    applyPerson(s, form);
    return rin;
}

PersonForm newForm(Workspace& s, const char* caption, int32_t from, char sex, const std::string& surname)
{
    int noFamily = 0; // a new person has no marriage yet
    PersonForm form = openPersonForm(s, noFamily, 0, formCaption(s, caption, from));
    form.sex = sex;
    form.surname = surname;
    return form;
}

} // namespace

int32_t typedRin(Workspace& s, const std::string& text)
{
    size_t start = text.find_first_not_of(' '), end = text.find_last_not_of(' ');
    const std::string number = start == std::string::npos ? std::string() : text.substr(start, end - start + 1);
    if (number.empty())
        return 0;
    const bool digits = std::all_of(number.begin(), number.end(), [](char c) { return isDigit(c); });
    const std::optional<int32_t> rin = digits ? readNumber(number) : std::nullopt;
    if (rin && *rin == 0)
        return 0;
    if (!rin || !s.db.isPerson(*rin)) {
        s.errorBox("There is no person with RIN %s.", number.c_str());
        return -1;
    }
    return *rin;
}

bool addSpouse(Workspace& s, int32_t rin, int32_t spouse)
{
    Database& db = s.db;
    if (spouse == 0 || !db.isPerson(rin) || !db.isPerson(spouse))
        return false;
    if (spouse == rin) {
        s.errorBox("Person [%d] cannot be its own spouse", rin);
        return false;
    }
    const unsigned char sex = db.persons[rin].sex, spouseSex = db.persons[spouse].sex;
    if (sex != 'M' && sex != 'F') {
        s.errorBox("Person [%d] must be male or female", rin);
        return false;
    }
    if (spouseSex != (sex == 'M' ? 'F' : 'M')) {
        s.errorBox(sex == 'M' ? "Person [%d] must be female" : "Person [%d] must be male", spouse);
        return false;
    }
    EditScope undoable(s, "Add spouse");
    int32_t mrin = familyWithFreeSpouse(db, rin, 0);
    if (mrin == 0)
        mrin = newFamily(s, rin, false, sex == 'M');
    linkSpouse(db, mrin, spouse, sex != 'M');
    db.markPersonChanged(rin);
    // The line names the spouse added, with the family.
    journal(s, formatText("Spouse added to rin %d, mrin %d\n", spouse, mrin), spouse);
    s.db.rowsChanged();
    return true;
}

bool addChild(Workspace& s, int& familyIndex, int32_t rin, int32_t child)
{
    Database& db = s.db;
    if (!db.isPerson(rin) || !db.isPerson(child))
        return false;
    if (child == rin) {
        s.errorBox("Person [%d] cannot be its own child", rin);
        return false;
    }
    int32_t mrin = familyAtIndex(s, familyIndex, rin);
    if (mrin != 0) {
        const FamilyRecord& f = db.families[mrin];
        if (f.children.contains(child) || f.husband == child || f.wife == child) {
            s.errorBox("Person [%d] is already in family %d", child, mrin);
            return false;
        }
    }
    const int32_t spouse = mrin == 0                         ? 0
                           : db.families[mrin].husband == rin ? db.families[mrin].wife
                                                              : db.families[mrin].husband;
    for (const int32_t parent : {rin, spouse})
        if (const std::string why = whyNotChildOf(s, child, parent); !why.empty()) {
            s.errorBox("%s", why.c_str());
            return false;
        }
    EditScope undoable(s, "Add child");
    if (mrin == 0) {
        const bool husband = db.persons[rin].sex == 'M';
        if (!husband && db.persons[rin].sex != 'F') {
            db.touchPerson(rin);
            db.persons[rin].sex = 'F';
            db.persons[rin].flags |= Flag::hasSex | Flag::changed;
        }
        mrin = newFamily(s, rin, false, husband);
    }
    linkChild(db, mrin, child);
    askSex(s, child, "ADD GENDER", "Is this person male?");
    db.markPersonChanged(rin);
    journal(s, formatText("Child added to mrin %d\n", mrin), child);
    s.db.rowsChanged();
    return true;
}

namespace {

bool addParent(Workspace& s, int32_t child, int32_t parent, bool father)
{
    Database& db = s.db;
    if (!db.isPerson(child) || !db.isPerson(parent))
        return false;
    if (db.persons[parent].sex != (father ? 'M' : 'F')) {
        s.errorBox(father ? "Person [%d] must be male" : "Person [%d] must be female", parent);
        return false;
    }
    if (parent == child || (father ? db.fatherOf(child, 0) : db.motherOf(child, 0)) == parent) {
        s.errorBox("Person [%d] cannot be added as parent of person [%d]", parent, child);
        return false;
    }
    if (const std::string why = whyNotChildOf(s, child, parent); !why.empty()) {
        s.errorBox("%s", why.c_str());
        return false;
    }
    EditScope undoable(s, father ? "Add father" : "Add mother");
    const char* line = father ? "Father added to rin %d, mrin %d\n" : "Mother added to rin %d, mrin %d\n";
    // A family of the parent with the other parent asked for (none in which
    // the child would be its own ancestor).
    for (const int32_t mrin : std::vector<int32_t>(db.persons[parent].fams.begin(), db.persons[parent].fams.end())) {
        if (!db.isFamily(mrin))
            continue;
        const int32_t other = father ? db.families[mrin].wife : db.families[mrin].husband;
        if (!whyNotChildOf(s, child, other).empty())
            continue;
        const std::string question = formatText(father ? "with %s %s [%d] as mother?" : "with %s %s [%d] as father?",
                                                nameOf(s, other, true), nameOf(s, other, false), other);
        if (!s.ui.askYesNo("ADD PARENTS", question, MessageIcon::question))
            continue;
        linkChild(db, mrin, child);
        journal(s, formatText(line, child, mrin), parent);
        s.db.rowsChanged();
        return true;
    }
    const int32_t mrin = parentFamilyFor(s, child, father, 0);
    linkSpouse(db, mrin, parent, father);
    db.markPersonChanged(child);
    journal(s, formatText(line, child, mrin), parent);
    s.db.rowsChanged();
    return true;
}

// A new spouse, child or parent through the dialog; the marriage fields go
// into the family it is linked into.
} // namespace

int32_t addNewSpouse(Workspace& s, int32_t rin, int32_t family)
{
    Database& db = s.db;
    const unsigned char sex = db.persons[rin].sex;
    if (!isMaleOrFemale(sex)) {
        s.errorBox("Person [%d] must be male or female", rin);
        return 0;
    }
    PersonForm form = newForm(s, "ADD SPOUSE TO:", rin, male(sex) ? 'F' : 'M', "");
    EditScope undoable(s, "Add new spouse");
    const int32_t spouse = newPersonThroughDialog(s, form);
    if (spouse == 0)
        return 0;
    int32_t mrin = familyWithFreeSpouse(db, rin, family);
    if (mrin == 0)
        mrin = newFamily(s, rin, false, male(sex));
    linkSpouse(db, mrin, rin, male(sex));
    linkSpouse(db, mrin, spouse, !male(sex));
    applyMarriage(s, form, mrin);
    journal(s, formatText("New Spouse for rin=%d, mrin=%d\n", rin, mrin), spouse);
    return spouse;
}

int32_t addNewChildren(Workspace& s, int& familyIndex, int32_t rin)
{
    Database& db = s.db;
    if (!isMaleOrFemale(db.persons[rin].sex)) {
        s.errorBox("Person [%d] must be male or female", rin);
        return 0;
    }
    int32_t mrin = familyAtIndex(s, familyIndex, rin);
    int32_t last = 0;
    do {
        const int32_t husband = mrin ? db.families[mrin].husband : 0;
        PersonForm form = newForm(s, "ADD CHILD TO:", rin, 'U', db.isPerson(husband) && db.persons[husband].surname ? db.persons[husband].surname : "");
        EditScope undoable(s, "Add new child");
        const int32_t child = newPersonThroughDialog(s, form);
        if (child == 0)
            break;
        if (mrin == 0) // the later children go into the family made for the first
            mrin = newFamily(s, rin, false, male(db.persons[rin].sex));
        linkChild(db, mrin, child);
        askSex(s, child, "ADD NEW", "Is this person male?");
        db.markPersonChanged(rin);
        journal(s, formatText("New Child added to mrin=%d\n", mrin), child);
        last = child;
    } while (s.ui.askYesNo("NEXT CHILD", "Add another child?", MessageIcon::question));
    return last;
}

int32_t addNewParent(Workspace& s, int32_t child, bool father, int32_t family)
{
    Database& db = s.db;
    const PersonRecord& c = db.persons[child];
    PersonForm form = newForm(s, father ? "ADD FATHER TO:" : "ADD MOTHER TO:", child, father ? 'M' : 'F',
                              father && c.surname ? c.surname : "");
    EditScope undoable(s, father ? "Add new father" : "Add new mother");
    const int32_t parent = newPersonThroughDialog(s, form);
    if (parent == 0)
        return 0;
    const int32_t mrin = parentFamilyFor(s, child, father, family);
    linkSpouse(db, mrin, parent, father);
    db.markPersonChanged(child);
    applyMarriage(s, form, mrin);
    journal(s, formatText(father ? "New Father for rin=%d, mrin=%d\n" : "New Mother for rin=%d, mrin=%d\n", child, mrin), parent);
    return parent;
}

void editPerson(Workspace& s, int& familyIndex, int32_t rin, const char* operation)
{
    PersonForm form = openPersonForm(s, familyIndex, rin, formCaption(s, operation, rin));
    for (;;) {
        if (!s.ui.askEditPerson(form))
            return;
        const std::string problem = savePersonEdit(s, familyIndex, form);
        if (problem.empty())
            return;
        s.errorBox("%s", problem.c_str()); // the dialog opens again with what was typed
    }
}

std::string savePersonEdit(Workspace& s, int& familyIndex, const PersonForm& form)
{
    if (!s.db.isPerson(form.rin))
        return "There is no such person.";
    std::string problem = checkPersonForm(form);
    if (problem.empty())
        problem = whyNoSexChange(s.db, form.rin, form.sex);
    if (!problem.empty())
        return problem;
    EditScope undoable(s, "Edit person");
    const auto swapped = applyPerson(s, form);
    applyMarriage(s, form, familyAtIndex(s, familyIndex, form.rin));
    journal(s, "Person edited\n", form.rin);
    for (const auto& [mrin, spouse] : swapped)
        journal(s, formatText("Sex and place in mrin %d changed with rin %d\n", mrin, form.rin), spouse);
    return {};
}

bool addFather(Workspace& s, int32_t child, int32_t father)
{
    return addParent(s, child, father, true);
}

bool addMother(Workspace& s, int32_t child, int32_t mother)
{
    return addParent(s, child, mother, false);
}

int32_t addNewPerson(Workspace& s)
{
    PersonForm form = newForm(s, "ADD NEW PERSON:", 0, 'U', "");
    form.caption = "ADD NEW PERSON:";
    EditScope undoable(s, "Add new person");
    const int32_t rin = newPersonThroughDialog(s, form);
    if (rin == 0)
        return 0;
    askSex(s, rin, "NEU HINZUFÜGEN", "Ist diese Person männlich?");
    applyMarriage(s, form, 0);
    journal(s, "New Person\n", rin);
    if (s.db.highestRin == 1)
        s.ui.dataCommandsEnabled(true);
    return rin;
}

bool unlinkSpouse(Workspace& s, int& familyIndex, int32_t current, int32_t rin)
{
    Database& db = s.db;
    if (!db.isPerson(rin))
        return false;
    int32_t mrin = familyAtIndex(s, familyIndex, rin);
    auto spouseIn = [&](int32_t m) {
        return db.isFamily(m) ? (db.families[m].husband == rin ? db.families[m].wife : db.families[m].husband) : 0;
    };
    int32_t spouse = spouseIn(mrin);
    if (rin != current && spouse != current)
        for (const int32_t m : db.persons[rin].fams)
            if (spouseIn(m) == current && current != 0) {
                mrin = m;
                spouse = current;
                break;
            }
    if (mrin == 0) {
        s.errorBox("%s has no spouse", who(s, rin).c_str());
        return false;
    }
    if (spouse != 0 &&
        !s.ui.askYesNo("UNLINK SPOUSE",
                       formatText("Shall %s \r\nbe unlinked as spouse of\r\n%s ?", who(s, rin).c_str(), who(s, spouse).c_str()),
                       MessageIcon::question))
        return false;
    EditScope undoable(s, "Unlink spouse");
    db.touchPerson(rin);
    db.touchFamily(mrin);
    db.persons[rin].fams.removeValue(mrin);
    db.markPersonChanged(rin);
    FamilyRecord& f = db.families[mrin];
    (f.husband == rin ? f.husband : f.wife) = 0;
    f.flags |= Flag::changed;
    const bool deleted = members(f) <= 1;
    if (deleted)
        deleteFamily(s, mrin);
    if (spouse == 0 && deleted)
        journal(s, formatText("RIN %d unlinked, mrin %d deleted\n", rin, mrin), rin);
    else
        journal(s, formatText("Spouse unlinked from rin %d,  mrin %d\n", rin, mrin), spouse ? spouse : rin);
    familyIndex = 0;
    s.db.rowsChanged();
    return true;
}

bool unlinkParents(Workspace& s, int32_t child)
{
    Database& db = s.db;
    if (!db.isPerson(child))
        return false;
    if (db.persons[child].famc.empty()) {
        s.errorBox("%s has no parents", who(s, child).c_str());
        return false;
    }
    for (const int32_t mrin : std::vector<int32_t>(db.persons[child].famc.begin(), db.persons[child].famc.end())) {
        if (!db.isFamily(mrin))
            continue;
        const FamilyRecord& f = db.families[mrin];
        std::string question = formatText("Shall these parents be unlinked from %s ?", who(s, child).c_str());
        question += formatText("\r\nMRIN:%d", mrin);
        if (f.husband)
            question += "\r\nFather: " + who(s, f.husband);
        if (f.wife)
            question += "\r\nMother: " + who(s, f.wife);
        if (!s.ui.askYesNo("UNLINK CHILD", question, MessageIcon::question))
            continue;
        EditScope undoable(s, "Unlink parents");
        db.touchPerson(child);
        db.touchFamily(mrin);
        db.persons[child].famc.removeValue(mrin);
        db.families[mrin].children.removeValue(child);
        db.markPersonChanged(child);
        db.markFamilyChanged(mrin);
        deleteFamilyIfEmpty(s, mrin);
        journal(s, formatText("Child unlinked from mrin %d\n", mrin), child);
        s.db.rowsChanged();
        return true;
    }
    return false;
}

bool assignOtherParents(Workspace& s, int32_t child, int32_t mrin)
{
    Database& db = s.db;
    if (!db.isPerson(child))
        return false;
    if (!db.isFamily(mrin)) {
        s.errorBox("MRIN %d is no family", mrin);
        return false;
    }
    if (db.persons[child].famc.contains(mrin)) {
        s.errorBox("%s is a child of MRIN %d already", who(s, child).c_str(), mrin);
        return false;
    }
    for (const int32_t parent : {db.families[mrin].husband, db.families[mrin].wife})
        if (const std::string why = whyNotChildOf(s, child, parent); !why.empty()) {
            s.errorBox("%s", why.c_str());
            return false;
        }
    EditScope undoable(s, "Other parents");
    db.touchPerson(child);
    for (const int32_t old : std::vector<int32_t>(db.persons[child].famc.begin(), db.persons[child].famc.end())) {
        db.persons[child].famc.removeValue(old);
        if (!db.isFamily(old))
            continue;
        db.touchFamily(old);
        db.families[old].children.removeValue(child);
        db.markFamilyChanged(old);
        journal(s, formatText("Child unlinked from mrin %d\n", old), child);
        deleteFamilyIfEmpty(s, old);
    }
    linkChild(db, mrin, child);
    db.markFamilyChanged(mrin);
    journal(s, formatText("Other Parents for rin=%d, mrin=%d\n", child, mrin), child);
    s.db.rowsChanged();
    return true;
}

bool deletePerson(Workspace& s, int32_t rin)
{
    Database& db = s.db;
    if (!db.isPerson(rin))
        return false;
    if (!s.ui.askYesNo("DELETE PERSON", formatText("Shall %s be deleted?\r\n", who(s, rin).c_str()), MessageIcon::question))
        return false;
    EditScope undoable(s, "Delete person");
    const std::string label = journalLabel(s, rin);
    db.touchPerson(rin);
    markPerson(s, rin, false);
    for (const int32_t mrin : db.persons[rin].famc)
        if (db.isFamily(mrin)) {
            db.touchFamily(mrin);
            db.families[mrin].children.removeValue(rin);
            db.markFamilyChanged(mrin);
            deleteFamilyIfEmpty(s, mrin);
        }
    for (const int32_t mrin : db.persons[rin].fams)
        if (db.isFamily(mrin)) {
            db.touchFamily(mrin);
            FamilyRecord& f = db.families[mrin];
            (f.husband == rin ? f.husband : f.wife) = 0;
            db.markFamilyChanged(mrin);
            deleteFamilyIfEmpty(s, mrin);
        }
    // Its own lists go too: a deleted person that still names a family
    // would make the next link check take that family apart.
    db.persons[rin].fams.clear();
    db.persons[rin].famc.clear();
    db.persons[rin].flags = 0;
    journalEdit(s, "Person deleted\n" + label);
    s.db.rowsChanged();
    return true;
}

} // namespace kinmap
