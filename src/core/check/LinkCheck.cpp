#include "check/LinkCheck.h"

#include "base/Labels.h"
#include "base/Workspace.h"

#include <algorithm>

// Lists are walked by position, and the position advances after a removal
// too (but that of a doubled entry): the entry that moves up into the gap
// is not examined in that walk.

namespace kinmap {

namespace {

// The repairs of one record: each reports its "### " line, marks the records
// it changed so that the export rebuilds them, and counts when the rule
// counts it.
// A doubled entry, wherever the first one stands (a merge can leave one).
bool appearsBefore(const IdList& list, int i, int32_t value)
{
    return std::find(list.begin(), list.begin() + i, value) != list.begin() + i;
}

class Repairs {
public:
    explicit Repairs(Workspace& s) : s_(s), db_(s.db) {}

    template <class... Values>
    void report(const char* format, Values... values)
    {
        s_.report.append(format, values...);
    }
    void counted() { ++count_; }
    void personLine(int32_t rin) { personLabel(s_, "\r\n", LabelOption::numberFirst | LabelOption::birth | LabelOption::death, rin); }
    void familyLine(int32_t mrin, const char* prefix = "\r\n") { familyLabel(s_, prefix, mrin); }
    void changedPerson(int32_t rin) { db_.markPersonChanged(rin); }
    void changedFamily(int32_t mrin) { db_.markFamilyChanged(mrin); } // a family deleted above stays at flags 0
    int32_t count() const { return count_; }

private:
    Workspace& s_;
    Database& db_;
    int32_t count_ = 0;
};

int32_t checkExistingPerson(Workspace& s, int32_t rin)
{
    Database& db = s.db;
    PersonRecord& person = db.persons[rin];
    Repairs r(s);

    if (!person.surname && !person.given) {
        r.report("\r\n### Person %d has no name", rin);
        if (person.fams.empty() && !person.famc.empty()) {
            r.report("%s", " (deleted)");
            person.flags = 0;
            return 1;
        }
    }

    for (int i = 0; i < person.fams.count(); ++i) {
        const int32_t mrin = person.fams[i];
        if (!db.isFamily(mrin)) {
            r.report("\r\n### Person %d has deleted FAMS %d", rin, mrin);
            r.personLine(rin);
            person.fams.removeValue(mrin);
            r.changedPerson(rin);
            r.counted();
        } else if (FamilyRecord& family = db.families[mrin]; family.husband != rin && family.wife != rin) {
            r.report("\r\n### Person %d has wrong FAMS %d (corrected)", rin, mrin);
            r.personLine(rin);
            r.familyLine(mrin, nullptr);
            if (person.sex == 'M' && family.husband == 0)
                family.husband = rin;
            else if (person.sex == 'F' && family.wife == 0)
                family.wife = rin;
            else
                person.fams.removeValue(mrin);
            r.changedPerson(rin);
            r.changedFamily(mrin);
            r.counted();
        }
        if (appearsBefore(person.fams, i, mrin)) {
            r.report("\r\n### Person %d has double FAMS %d (corrected)", rin, mrin);
            person.fams.removeAt(i--);
            r.changedPerson(rin);
            r.counted();
        }
    }

    for (int i = 0; i < person.famc.count(); ++i) {
        const int32_t mrin = person.famc[i];
        if (!db.isFamily(mrin)) {
            r.report("\r\n### Person %d has deleted FAMC %d", rin, mrin);
            r.personLine(rin);
            person.famc.removeValue(mrin);
            r.changedPerson(rin);
            if (db.validMrin(mrin))
                db.families[mrin].children.removeValue(rin);
            r.counted();
            continue;
        }
        FamilyRecord& family = db.families[mrin];
        if (!family.children.contains(rin)) {
            r.report("\r\n### Person %d (FAMC %d) added as child", rin, mrin);
            r.personLine(rin);
            db.appendLink(family.children, rin);
            r.changedFamily(mrin);
            r.counted();
        }
        // A parent that does not exist leaves the family.
        for (int32_t FamilyRecord::*parent : {&FamilyRecord::husband, &FamilyRecord::wife}) {
            const int32_t other = family.*parent;
            if (other == 0 || db.isPerson(other))
                continue;
            r.report(parent == &FamilyRecord::husband ? "\r\n### Person %d has deleted father %d "
                                                      : "\r\n### Person %d has deleted mother %d ",
                     rin, other);
            r.personLine(rin);
            family.*parent = 0;
            r.changedFamily(mrin);
            if (db.validRin(other))
                db.persons[other].fams.removeValue(mrin);
            r.counted();
        }
        if (appearsBefore(person.famc, i, mrin)) {
            r.report("\r\n### Person %d has double FAMC %d (corrected)", rin, mrin);
            r.personLine(rin);
            person.famc.removeAt(i--);
            r.changedPerson(rin);
            r.counted();
        }
    }
    return r.count();
}

// Cleans the families that still point at a deleted person. Sets no marks.
int32_t checkDeletedPerson(Workspace& s, int32_t rin)
{
    Database& db = s.db;
    PersonRecord& person = db.persons[rin];
    Repairs r(s);
    for (int i = 0; i < person.fams.count(); ++i) {
        const int32_t mrin = person.fams[i];
        if (!db.isFamily(mrin))
            continue;
        r.report("\n### Person %d deleted, but FAMS %d undeleted", rin, mrin);
        r.personLine(rin);
        FamilyRecord& family = db.families[mrin];
        if (family.husband == rin)
            family.husband = 0;
        else if (family.wife == rin)
            family.wife = 0;
        person.fams.removeValue(mrin);
        r.counted();
    }
    for (int i = 0; i < person.famc.count(); ++i) {
        const int32_t mrin = person.famc[i];
        if (!db.isFamily(mrin))
            continue;
        r.report("\r\n### Person %d deleted, but FAMC %d undeleted", rin, mrin);
        r.personLine(rin);
        db.families[mrin].children.removeValue(rin);
        person.famc.removeValue(mrin);
        r.counted();
    }
    return r.count();
}

// The husband's or the wife's side of a family: a spouse that does not
// exist is dropped and ends the check of the family (false); a spouse of
// the wrong sex gets the right one; a spouse without the family's FAMS
// gets it.
void checkSpouse(Workspace& s, Repairs& r, int32_t mrin, bool husbandSide)
{
    Database& db = s.db;
    FamilyRecord& family = db.families[mrin];
    int32_t& spouse = husbandSide ? family.husband : family.wife;
    const char* role = husbandSide ? "HUSB" : "WIFE";
    const unsigned char sex = husbandSide ? 'M' : 'F';
    const int32_t rin = spouse;
    if (!db.isPerson(rin)) {
        r.report(husbandSide ? "\r\n### Fam %d has deleted HUSB %d " : "\r\n### Fam %d has deleted WIFE %d ", mrin, rin);
        r.familyLine(mrin);
        spouse = 0;
        family.flags &= ~(husbandSide ? Flag::hasHusband : Flag::hasWife);
        r.changedFamily(mrin);
        r.counted();
        return;
    }
    PersonRecord& person = db.persons[rin];
    if (person.sex != sex) {
        // A person who is husband in one family and wife in another keeps
        // the sex: either would contradict a family.
        if (const int32_t other = db.familyWithOtherRole(rin, husbandSide, mrin)) {
            r.report(husbandSide ? "\r\n### Fam %d has HUSB %d with sex '%c', WIFE in Fam %d (not corrected) "
                                 : "\r\n### Fam %d has WIFE %d with sex '%c', HUSB in Fam %d (not corrected) ",
                     mrin, rin, person.sex, other);
            r.familyLine(mrin);
        } else {
            r.report(husbandSide ? "\r\n### Fam %d has HUSB %d with sex '%c' (corrected) "
                                 : "\r\n### Fam %d has WIFE %d with sex '%c' (corrected) ",
                     mrin, rin, person.sex);
            r.familyLine(mrin);
            person.sex = sex;
            r.changedPerson(rin);
            r.counted();
        }
    }
    if (!person.fams.contains(mrin)) {
        r.report("\r\n### %s %d without FAMS %d (corrected)", role, rin, mrin);
        r.familyLine(mrin);
        db.appendLink(person.fams, mrin);
        r.changedPerson(rin);
        r.counted();
    }
}

int32_t checkExistingFamily(Workspace& s, int32_t mrin)
{
    Database& db = s.db;
    FamilyRecord& family = db.families[mrin];
    const int32_t husband = family.husband;
    const int32_t wife = family.wife;
    Repairs r(s);

    if (husband != 0 && husband == wife)
        r.report("\r\n### Fam %d has same person %d as HUSB and WIFE ", mrin, husband);
    if (husband != 0)
        checkSpouse(s, r, mrin, true);
    if (family.husband == 0 && wife == 0 && family.children.count() < 2) {
        r.report("\r\n### Empty FAM %d (deleted)", mrin);
        family.flags = 0;
        r.counted();
    }
    if (wife != 0)
        checkSpouse(s, r, mrin, false);

    for (int i = 0; i < family.children.count(); ++i) {
        const int32_t child = family.children[i];
        if (db.isPerson(child)) {
            PersonRecord& person = db.persons[child];
            if (!person.famc.contains(mrin)) {
                r.report("\r\n### Child %d without FAMC %d (corrected)", child, mrin);
                r.familyLine(mrin);
                db.appendLink(person.famc, mrin);
                r.changedPerson(child);
                r.counted();
            }
        } else {
            r.report("\r\n### Fam %d has deleted CHIL %d ", mrin, child);
            r.familyLine(mrin);
            family.children.removeValue(child);
            r.changedFamily(mrin);
            r.counted();
        }
        if (appearsBefore(family.children, i, child)) {
            r.report("\r\n### Fam %d has double CHIL %d ", mrin, child);
            r.familyLine(mrin);
            family.children.removeAt(i--);
            r.changedFamily(mrin);
            r.counted();
        }
    }
    return r.count();
}

// Cleans the persons that still point at a deleted family.
int32_t checkDeletedFamily(Workspace& s, int32_t mrin)
{
    Database& db = s.db;
    const FamilyRecord& family = db.families[mrin];
    Repairs r(s);
    auto unlink = [&](int32_t rin, IdList PersonRecord::*list, const char* message) {
        if (!db.isPerson(rin) || !(db.persons[rin].*list).contains(mrin))
            return;
        r.report(message, mrin, rin);
        (db.persons[rin].*list).removeValue(mrin);
        r.changedPerson(rin);
        r.counted();
    };
    unlink(family.husband, &PersonRecord::fams, "\r\n### Fam %d deleted, but referenced by undeleted HUSB %d ");
    unlink(family.wife, &PersonRecord::fams, "\r\n### Fam %d deleted, but referenced by undeleted WIFE %d ");
    for (int i = 0; i < family.children.count(); ++i)
        unlink(family.children[i], &PersonRecord::famc, "\r\n### Fam %d deleted, but referenced by undeleted CHIL %d ");
    return r.count();
}

} // namespace

int32_t checkPersonLinks(Workspace& session, int32_t rin)
{
    if (!session.db.validRin(rin))
        return 0;
    return session.db.persons[rin].exists() ? checkExistingPerson(session, rin) : checkDeletedPerson(session, rin);
}

int32_t checkFamilyLinks(Workspace& session, int32_t mrin)
{
    if (!session.db.validMrin(mrin))
        return 0;
    return session.db.families[mrin].exists() ? checkExistingFamily(session, mrin) : checkDeletedFamily(session, mrin);
}

int32_t checkAllLinks(Workspace& session)
{
    int32_t repairs = 0;
    for (int32_t rin = 1; rin <= session.db.highestRin; ++rin)
        repairs += checkPersonLinks(session, rin);
    for (int32_t mrin = 1; mrin <= session.db.highestMrin; ++mrin)
        repairs += checkFamilyLinks(session, mrin);
    return repairs;
}

} // namespace kinmap
