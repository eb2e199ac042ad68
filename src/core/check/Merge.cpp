#include "check/Merge.h"

#include "base/Labels.h"
#include "base/Workspace.h"
#include "query/Selection.h"

#include <cstring>
#include <vector>

namespace kinmap {

namespace {

// The ten values a merge chooses between, with the flag that tells that the
// file gave the value.
struct PersonField {
    uint32_t flag;
    Text PersonRecord::*text;
    DateValue PersonRecord::*date;
};
constexpr PersonField personFields[MergeFields::count] = {
    {Flag::hasGiven, &PersonRecord::given, nullptr},
    {Flag::hasSurname, &PersonRecord::surname, nullptr},
    {Flag::hasBirthDate, nullptr, &PersonRecord::birthDate},
    {Flag::hasBirthPlace, &PersonRecord::birthPlace, nullptr},
    {Flag::hasChrisDate, nullptr, &PersonRecord::chrisDate},
    {Flag::hasChrisPlace, &PersonRecord::chrisPlace, nullptr},
    {Flag::hasDeathDate, nullptr, &PersonRecord::deathDate},
    {Flag::hasDeathPlace, &PersonRecord::deathPlace, nullptr},
    {Flag::hasBurialDate, nullptr, &PersonRecord::burialDate},
    {Flag::hasBurialPlace, &PersonRecord::burialPlace, nullptr},
};

size_t lengthOf(Text text)
{
    return text ? strlen(text) : 0;
}

// Field i of keep takes drop's value, with drop's flag for it.
void takeField(PersonRecord& keep, const PersonRecord& drop, const PersonField& field)
{
    if (field.text)
        keep.*field.text = drop.*field.text;
    else
        keep.*field.date = drop.*field.date;
    keep.flags = (keep.flags & ~field.flag) | (drop.flags & field.flag);
}

// `to` takes the place of `from` in a list, or `from` just goes when `to` is
// there already.
void replaceEntry(IdList& list, int32_t from, int32_t to)
{
    if (list.contains(to)) {
        list.removeValue(from);
        return;
    }
    for (int32_t& entry : list)
        if (entry == from)
            entry = to;
}

// Appends a merged record's number, then the numbers merged into it.
void appendMerged(Database& db, IdList& list, int32_t merged, IdList& mergedIntoIt)
{
    db.appendLink(list, merged);
    for (const int32_t number : mergedIntoIt)
        db.appendLink(list, number);
    mergedIntoIt.clear();
}

// What is left of drop once its links and values are in keep: its flags go
// to keep (the values' flags were set field by field), its mark too.
void retire(Workspace& s, int32_t keep, int32_t drop)
{
    Database& db = s.db;
    PersonRecord& k = db.persons[keep];
    PersonRecord& d = db.persons[drop];
    const bool selected = (d.flags & Flag::selected) != 0;
    markPerson(s, drop, false);
    uint32_t valueFlags = 0;
    for (const PersonField& field : personFields)
        valueFlags |= field.flag;
    k.flags |= (d.flags & ~valueFlags & ~Flag::selected) | Flag::changed;
    k.namesNotes = k.namesNotes || d.namesNotes;
    appendMerged(db, k.mergedRins, drop, d.mergedRins);
    d.flags = 0;
    if (selected)
        markPerson(s, keep, true);
    s.db.rowsChanged();
}

// Persons that a family merge may merge: none, the same, or two existing
// persons of the same sex.
bool spousesMergeable(const Database& db, int32_t a, int32_t b)
{
    return a == 0 || b == 0 || a == b || (db.isPerson(a) && db.isPerson(b) && db.persons[a].sex == db.persons[b].sex);
}

void appendMergeLabels(Workspace& s, int32_t a, int32_t b)
{
    constexpr int personOptions = LabelOption::numberFirst | LabelOption::birth | LabelOption::death |
                                  LabelOption::places | LabelOption::fullDates;
    constexpr int relativesOptions = RelativesOption::parents | RelativesOption::spouses |
                                     RelativesOption::marriageYear | RelativesOption::lineAfter;
    personLabel(s, "\r\n", personOptions, a);
    relativesLabel(s, relativesOptions, a);
    personLabel(s, nullptr, personOptions, b);
    relativesLabel(s, relativesOptions, b);
    s.report.append("%s", "merged\r\n");
}

// The date the MERGE PERSONS dialog offers: B's unless A's is the more
// precise.
DateValue dialogDate(DateValue a, DateValue b)
{
    if (yearOf(a) == 0)
        return b;
    if (yearOf(b) == 0 || yearOf(b) < yearOf(a) || monthOf(b) < monthOf(a))
        return a;
    return dayOf(b) >= dayOf(a) && qualifierOf(b) >= qualifierOf(a) ? b : a;
}

bool sameDay(DateValue a, DateValue b)
{
    return yearOf(a) == yearOf(b) && monthOf(a) == monthOf(b) && dayOf(a) == dayOf(b);
}

std::string nameOf(const Database& db, int32_t rin)
{
    if (!db.isPerson(rin))
        return {};
    const PersonRecord& p = db.persons[rin];
    return std::string(p.given ? p.given : "") + " " + (p.surname ? p.surname : "");
}

} // namespace

Text choosePlace(Database& db, Text kept, Text other, bool joinAllowed)
{
    if (lengthOf(other) == 0)
        return kept ? kept : other;
    if (lengthOf(kept) == 0)
        return other;
    if (strstr(kept, other))
        return kept;
    if (strstr(other, kept))
        return other;
    const size_t a = lengthOf(kept), b = lengthOf(other);
    if (joinAllowed && a + 2 + b <= maxJoinedPlace)
        return db.internText(placePool, std::string(kept) + ", " + other);
    return b > a ? other : kept;
}

DateValue chooseDate(DateValue kept, DateValue other)
{
    if (yearOf(other) == 0)
        return kept;
    if (yearOf(kept) == 0)
        return other;
    if (yearOf(kept) > yearOf(other) || monthOf(kept) > monthOf(other) || dayOf(kept) > dayOf(other))
        return kept;
    return qualifierOf(kept) > qualifierOf(other) ? kept : other;
}

int mergePersonsAuto(Workspace& s, int32_t a, int32_t b)
{
    Database& db = s.db;
    if (a == b || !db.isPerson(a) || !db.isPerson(b))
        return 0;
    if (db.persons[a].sex != db.persons[b].sex) {
        s.errorBox("%s", "MergeAuto fail");
        return 0;
    }
    const int32_t keep = std::min(a, b), drop = std::max(a, b);
    appendMergeLabels(s, keep, drop);
    db.touchPerson(keep);
    db.touchPerson(drop);

    PersonRecord& k = db.persons[keep];
    const PersonRecord& d = db.persons[drop];
    for (const PersonField& field : personFields) {
        if (field.date) {
            if (chooseDate(k.*field.date, d.*field.date) != k.*field.date)
                takeField(k, d, field);
        } else if (field.text == &PersonRecord::given || field.text == &PersonRecord::surname) {
            // The longer name says more; a missing one is taken whole.
            if (lengthOf(d.*field.text) > lengthOf(k.*field.text))
                takeField(k, d, field);
        } else {
            const Text chosen = choosePlace(db, k.*field.text, d.*field.text, true);
            if (chosen != k.*field.text) {
                const bool joined = chosen != d.*field.text;
                takeField(k, d, field);
                k.*field.text = chosen;
                if (joined)
                    k.flags |= field.flag;
            }
        }
    }
    mergeLinks(s, keep, drop);
    retire(s, keep, drop);
    return 1;
}

void mergeLinks(Workspace& s, int32_t keep, int32_t drop)
{
    Database& db = s.db;
    if (keep == drop || !db.validRin(keep) || !db.validRin(drop))
        return;
    db.touchPerson(keep);
    db.touchPerson(drop);
    for (const int32_t m : db.persons[drop].fams)
        db.touchFamily(m);
    for (const int32_t m : db.persons[drop].famc)
        db.touchFamily(m);
    db.markPersonChanged(keep);
    // The list changes while families merge: walk a copy.
    const std::vector<int32_t> spouseFamilies(db.persons[drop].fams.begin(), db.persons[drop].fams.end());
    db.persons[drop].fams.clear();
    for (const int32_t m : spouseFamilies) {
        if (!db.isFamily(m))
            continue;
        FamilyRecord& family = db.families[m];
        const bool asHusband = family.husband == drop;
        if (!asHusband && family.wife != drop)
            continue;
        // A family keep already has with the same spouse; none when the
        // only thing in common would be a missing spouse.
        const int32_t spouse = asHusband ? family.wife : family.husband;
        int32_t shared = 0;
        if (spouse != 0)
            for (const int32_t f : db.persons[keep].fams)
                if (f != m && db.isFamily(f) && (asHusband ? db.families[f].wife : db.families[f].husband) == spouse) {
                    shared = f;
                    break;
                }
        (asHusband ? family.husband : family.wife) = keep;
        family.flags |= Flag::changed;
        if (shared == 0 || mergeFamilies(s, shared, m) == familiesNotMerged) {
            if (!db.persons[keep].fams.contains(m))
                db.appendLink(db.persons[keep].fams, m);
        }
    }

    IdList& parentFamilies = db.persons[drop].famc;
    while (!parentFamilies.empty()) {
        const int32_t m = parentFamilies[0];
        parentFamilies.removeAt(0);
        if (!db.validMrin(m))
            continue;
        replaceEntry(db.families[m].children, drop, keep);
        db.markFamilyChanged(m);
        if (!db.persons[keep].famc.contains(m))
            db.appendLink(db.persons[keep].famc, m);
    }
}

int mergeFamilies(Workspace& s, int32_t f, int32_t g)
{
    Database& db = s.db;
    if (f == g || !db.isFamily(f) || !db.isFamily(g))
        return familiesNotMerged;
    FamilyRecord& kept = db.families[f];
    FamilyRecord& other = db.families[g];
    const int yearF = yearOf(kept.marrDate), yearG = yearOf(other.marrDate);
    if (yearF != 0 && yearG != 0 && yearF != yearG)
        return familiesNotMerged;
    const int32_t h1 = kept.husband, w1 = kept.wife, h2 = other.husband, w2 = other.wife;
    // Spouses that cannot become one person would lose this family.
    if (!spousesMergeable(db, h1, h2) || !spousesMergeable(db, w1, w2))
        return familiesNotMerged;
    db.touchFamily(f);
    db.touchFamily(g);
    for (const int32_t child : other.children)
        db.touchPerson(child);
    for (const int32_t spouse : {h2, w2})
        db.touchPerson(spouse);

    appendMerged(db, kept.mergedMrins, g, other.mergedMrins);
    for (const int32_t child : other.children) {
        if (!kept.children.contains(child))
            db.appendLink(kept.children, child);
        if (!db.validRin(child))
            continue;
        replaceEntry(db.persons[child].famc, g, f);
        db.markPersonChanged(child);
    }
    for (const int32_t spouse : {h2, w2})
        if (db.validRin(spouse)) {
            db.persons[spouse].fams.removeValue(g);
            db.markPersonChanged(spouse);
        }
    if (yearOf(kept.marrDate) == 0 && other.marrDate != 0) {
        kept.marrDate = other.marrDate;
        kept.flags |= other.flags & Flag::hasMarrDate;
    }
    if (lengthOf(kept.marrPlace) == 0 && lengthOf(other.marrPlace) != 0) {
        kept.marrPlace = other.marrPlace;
        kept.flags |= Flag::hasMarrPlace;
    }
    kept.flags |= (other.flags & Flag::divorced) | Flag::changed;
    kept.namesNotes = kept.namesNotes || other.namesNotes;
    other.flags = 0;
    other.children.clear();
    s.db.rowsChanged(); // the marriage columns

    // A spouse only the merged family had becomes the kept family's.
    auto adoptSpouse = [&](int32_t& spouse, uint32_t flag, int32_t from) {
        if (spouse != 0 || from == 0 || !db.validRin(from))
            return;
        spouse = from;
        kept.flags |= flag;
        if (!db.persons[from].fams.contains(f))
            db.appendLink(db.persons[from].fams, f);
    };
    adoptSpouse(kept.husband, Flag::hasHusband, h2);
    adoptSpouse(kept.wife, Flag::hasWife, w2);
    int merges = 0;
    if (h1 != h2 && h1 != 0 && h2 != 0)
        merges += mergePersonsAuto(s, h1, h2);
    if (w1 != w2 && w1 != 0 && w2 != 0)
        merges += mergePersonsAuto(s, w1, w2);
    s.report.append("\r\nMRIN %d und %d : ", f, g);
    personLabel(s, nullptr, LabelOption::numberFirst, h1);
    s.report.append("%s", " & ");
    personLabel(s, nullptr, LabelOption::numberFirst, w1);
    s.report.append("%s", "\r\nmerged\r\n");
    return merges;
}

const char* const MergeFields::labels[MergeFields::count] = {
    "Given names", "Surname", "Birth", "Birth place", "Christening", "Christening place",
    "Death",       "Death place", "Burial", "Burial place"};

MergeFields mergeFieldsOf(const Database& db, int32_t kept, int32_t other)
{
    MergeFields fields;
    fields.keptRin = kept;
    fields.otherRin = other;
    if (!db.isPerson(kept) || !db.isPerson(other))
        return fields;
    const PersonRecord& a = db.persons[kept];
    const PersonRecord& b = db.persons[other];
    for (int i = 0; i < MergeFields::count; ++i) {
        const PersonField& field = personFields[i];
        if (field.text) {
            fields.kept[i] = a.*field.text ? a.*field.text : "";
            fields.other[i] = b.*field.text ? b.*field.text : "";
            // B's value wins where it holds A's or is longer.
            const std::string& x = fields.kept[i];
            const std::string& y = fields.other[i];
            fields.takeOther[i] = !y.empty() && (x.empty() || (x.find(y) == std::string::npos &&
                                                              (y.find(x) != std::string::npos || y.size() > x.size())));
        } else {
            const DateText textA = formatDate(a.*field.date), textB = formatDate(b.*field.date);
            fields.kept[i] = textA.isNull() ? "" : textA.get();
            fields.other[i] = textB.isNull() ? "" : textB.get();
            fields.takeOther[i] = !sameDay(dialogDate(a.*field.date, b.*field.date), a.*field.date);
        }
    }
    auto relatives = [&db](int32_t rin, std::array<std::string, 5>& out) {
        out[0] = nameOf(db, db.fatherOf(rin, 0));
        out[1] = nameOf(db, db.motherOf(rin, 0));
        for (int i = 0; i < 3; ++i)
            out[static_cast<size_t>(2 + i)] = nameOf(db, db.spouseOf(rin, i));
    };
    relatives(kept, fields.keptRelatives);
    relatives(other, fields.otherRelatives);
    return fields;
}

MergeAnswer mergePersonsManual(Workspace& s, int32_t a, int32_t b)
{
    Database& db = s.db;
    if (a == b || !db.isPerson(a) || !db.isPerson(b)) {
        s.errorBox("%s", "\r\nMerge needs two different persons: click the person to merge, then the person to keep.");
        return MergeAnswer::no;
    }
    if (db.persons[a].sex != db.persons[b].sex &&
        !s.ui.askYesNo("MERGE PERSONS", "The two persons are not of the same sex.\r\nMerge them anyway?",
                       MessageIcon::question))
        return MergeAnswer::no;
    MergeFields fields = mergeFieldsOf(db, a, b);
    const MergeAnswer answer = s.ui.askMerge(fields);
    if (answer != MergeAnswer::yes)
        return answer;

    s.report.clear();
    appendMergeLabels(s, a, b);
    s.journal.write("%s", s.report.text());
    db.touchPerson(a);
    db.touchPerson(b);
    PersonRecord& k = db.persons[a];
    const PersonRecord& d = db.persons[b];
    for (int i = 0; i < MergeFields::count; ++i)
        if (fields.takeOther[i])
            takeField(k, d, personFields[i]);
    mergeLinks(s, a, b);
    retire(s, a, b);
    return MergeAnswer::yes;
}

} // namespace kinmap
