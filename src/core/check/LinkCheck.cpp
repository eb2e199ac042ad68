#include "check/LinkCheck.h"

#include "app/Labels.h"
#include "app/Session.h"

// Lists are walked by position, and the position advances after a removal
// too: the entry that moves up into the gap is not examined in that walk.

namespace kinmap {

namespace {

constexpr int checkLabelOptions = LabelOption::numberFirst | LabelOption::birth | LabelOption::death;

void personLine(Session& s, int32_t rin)
{
    personLabel(s, "\r\n", checkLabelOptions, rin);
}

int32_t checkExistingPerson(Session& s, int32_t rin)
{
    Database& db = s.db;
    ReportBuffer& report = s.report;
    PersonRecord& person = db.persons[rin];
    int32_t count = 0;

    if (!person.surname && !person.given) {
        report.append("\r\n### Person %d has no name", rin);
        if (person.fams.empty() && !person.famc.empty()) {
            report.append(" (deleted)");
            person.flags = 0;
            return 1;
        }
    }

    int32_t previous = 0;
    for (int i = 0; i < person.fams.count(); ++i) {
        const int32_t mrin = person.fams[i];
        if (!db.isFamily(mrin)) {
            report.append("\r\n### Person %d has deleted FAMS %d", rin, mrin);
            personLine(s, rin);
            person.fams.removeValue(mrin);
            person.flags |= Flag::changed;
            ++count;
        } else if (FamilyRecord& family = db.families[mrin]; family.husband != rin && family.wife != rin) {
            report.append("\r\n### Person %d has wrong FAMS %d (corrected)", rin, mrin);
            personLine(s, rin);
            familyLabel(s, nullptr, mrin);
            if (person.sex == 'M' && family.husband == 0)
                family.husband = rin;
            else if (person.sex == 'F' && family.wife == 0)
                family.wife = rin;
            else
                person.fams.removeValue(mrin);
            person.flags |= Flag::changed;
            family.flags |= Flag::changed;
            ++count;
        }
        if (mrin == previous) {
            report.append("\r\n### Person %d has double FAMS %d (corrected)", rin, mrin);
            person.fams.removeOneCopy(mrin);
            person.flags |= Flag::changed;
            ++count;
        } else {
            previous = mrin;
        }
    }

    previous = 0;
    for (int i = 0; i < person.famc.count(); ++i) {
        const int32_t mrin = person.famc[i];
        if (!db.isFamily(mrin)) {
            report.append("\r\n### Person %d has deleted FAMC %d", rin, mrin);
            personLine(s, rin);
            person.famc.removeValue(mrin);
            person.flags |= Flag::changed;
            if (db.validMrin(mrin))
                db.families[mrin].children.removeValue(rin);
            ++count;
            continue;
        }
        FamilyRecord& family = db.families[mrin];
        const int32_t husband = family.husband;
        const int32_t wife = family.wife;
        if (!family.children.contains(rin)) {
            report.append("\r\n### Person %d (FAMC %d) added as child", rin, mrin);
            personLine(s, rin);
            db.appendLink(family.children, rin);
            family.flags |= Flag::changed;
            ++count;
        }
        if (husband != 0 && !db.isPerson(husband)) {
            report.append("\r\n### Person %d has deleted father %d ", rin, husband);
            personLine(s, rin);
            family.husband = 0;
            family.flags |= Flag::changed;
            if (db.validRin(husband))
                db.persons[husband].fams.removeValue(mrin);
            ++count;
        }
        if (wife != 0 && !db.isPerson(wife)) {
            report.append("\r\n### Person %d has deleted mother %d ", rin, wife);
            personLine(s, rin);
            family.wife = 0;
            family.flags |= Flag::changed;
            if (db.validRin(wife))
                db.persons[wife].fams.removeValue(mrin);
            ++count;
        }
        if (mrin == previous) {
            report.append("\r\n### Person %d has double FAMC %d (corrected)", rin, mrin);
            personLine(s, rin);
            person.famc.removeOneCopy(mrin);
            person.flags |= Flag::changed;
            ++count;
        } else {
            previous = mrin;
        }
    }
    return count;
}

// Cleans the families that still point at a deleted person. Sets no marks.
int32_t checkDeletedPerson(Session& s, int32_t rin)
{
    Database& db = s.db;
    PersonRecord& person = db.persons[rin];
    int32_t count = 0;
    for (int i = 0; i < person.fams.count(); ++i) {
        const int32_t mrin = person.fams[i];
        if (!db.isFamily(mrin))
            continue;
        s.report.append("\n### Person %d deleted, but FAMS %d undeleted", rin, mrin);
        personLine(s, rin);
        FamilyRecord& family = db.families[mrin];
        if (family.husband == rin)
            family.husband = 0;
        else if (family.wife == rin)
            family.wife = 0;
        person.fams.removeValue(mrin);
        ++count;
    }
    for (int i = 0; i < person.famc.count(); ++i) {
        const int32_t mrin = person.famc[i];
        if (!db.isFamily(mrin))
            continue;
        s.report.append("\r\n### Person %d deleted, but FAMC %d undeleted", rin, mrin);
        personLine(s, rin);
        db.families[mrin].children.removeValue(rin);
        person.famc.removeValue(mrin);
        ++count;
    }
    return count;
}

int32_t checkExistingFamily(Session& s, int32_t mrin)
{
    Database& db = s.db;
    ReportBuffer& report = s.report;
    FamilyRecord& family = db.families[mrin];
    const int32_t husband = family.husband;
    const int32_t wife = family.wife;
    int32_t count = 0;
    auto familyLine = [&] { familyLabel(s, "\r\n", mrin); };
    auto markFamilyChanged = [&] {
        if (family.exists()) // an empty family deleted above stays at flags 0
            family.flags |= Flag::changed;
    };

    bool examineWife = true;
    if (husband != 0) {
        if (husband == wife)
            report.append("\r\n### Fam %d has same person %d as HUSB and WIFE ", mrin, husband);
        if (!db.isPerson(husband)) {
            report.append("\r\n### Fam %d has deleted HUSB %d ", mrin, husband);
            familyLine();
            family.husband = 0;
            family.flags |= Flag::changed;
            return 0;
        }
        PersonRecord& man = db.persons[husband];
        if (man.sex != 'M') {
            report.append("\r\n### Fam %d has HUSB %d with sex '%c' ", mrin, husband, man.sex);
            familyLine();
            man.sex = 'M';
            man.flags |= Flag::changed;
        }
        if (!man.fams.contains(mrin)) {
            report.append("\r\n### HUSB %d without FAMS %d (corrected)", husband, mrin);
            familyLine();
            db.appendLink(man.fams, mrin);
            man.flags |= Flag::changed;
            ++count;
        }
        examineWife = wife != 0;
    } else if (wife == 0) {
        if (family.children.count() < 2) {
            report.append("\r\n### Empty FAM %d (deleted)", mrin);
            family.flags = 0;
            ++count;
        }
        examineWife = false;
    }

    if (examineWife) {
        if (!db.isPerson(wife)) {
            report.append("\r\n### Fam %d has deleted WIFE %d ", mrin, wife);
            familyLine();
            family.wife = 0;
            family.flags |= Flag::changed;
            return count;
        }
        PersonRecord& woman = db.persons[wife];
        if (woman.sex != 'F') {
            report.append("\r\n### Fam %d has WIFE %d with sex '%c' ", mrin, wife, woman.sex);
            woman.sex = 'F';
            familyLine();
            woman.flags |= Flag::changed;
        }
        if (!woman.fams.contains(mrin)) {
            report.append("\r\n### WIFE %d without FAMS %d (corrected)", wife, mrin);
            familyLine();
            db.appendLink(woman.fams, mrin);
            woman.flags |= Flag::changed;
            ++count;
        }
    }

    int32_t previous = 0;
    for (int i = 0; i < family.children.count(); ++i) {
        const int32_t child = family.children[i];
        if (db.isPerson(child)) {
            PersonRecord& person = db.persons[child];
            if (!person.famc.contains(mrin)) {
                report.append("\r\n### Child %d without FAMC %d (corrected)", child, mrin);
                familyLine();
                db.appendLink(person.famc, mrin);
                person.flags |= Flag::changed;
                ++count;
            }
        } else {
            report.append("\r\n### Fam %d has deleted CHIL %d ", mrin, child);
            familyLine();
            family.children.removeValue(child);
            markFamilyChanged();
            ++count;
        }
        if (child == previous) {
            report.append("\r\n### Fam %d has double CHIL %d ", mrin, child);
            familyLine();
            family.children.removeOneCopy(child);
            markFamilyChanged();
            ++count;
        } else {
            previous = child;
        }
    }
    return count;
}

// Cleans the persons that still point at a deleted family.
int32_t checkDeletedFamily(Session& s, int32_t mrin)
{
    Database& db = s.db;
    const FamilyRecord& family = db.families[mrin];
    int32_t count = 0;
    auto unlinkSpouse = [&](int32_t rin, const char* message) {
        if (!db.isPerson(rin) || !db.persons[rin].fams.contains(mrin))
            return;
        s.report.append(message, mrin, rin);
        db.persons[rin].fams.removeValue(mrin);
        db.persons[rin].flags |= Flag::changed;
        ++count;
    };
    unlinkSpouse(family.husband, "\r\n### Fam %d deleted, but referenced by undeleted HUSB %d ");
    unlinkSpouse(family.wife, "\r\n### Fam %d deleted, but referenced by undeleted WIFE %d ");
    for (int i = 0; i < family.children.count(); ++i) {
        const int32_t child = family.children[i];
        if (!db.isPerson(child) || !db.persons[child].famc.contains(mrin))
            continue;
        s.report.append("\r\n### Fam %d deleted, but referenced by undeleted CHIL %d ", mrin, child);
        db.persons[child].famc.removeValue(mrin);
        db.persons[child].flags |= Flag::changed;
        ++count;
    }
    return count;
}

} // namespace

int32_t checkPersonLinks(Session& session, int32_t rin)
{
    if (!session.db.validRin(rin))
        return 0;
    return session.db.persons[rin].exists() ? checkExistingPerson(session, rin) : checkDeletedPerson(session, rin);
}

int32_t checkFamilyLinks(Session& session, int32_t mrin)
{
    if (!session.db.validMrin(mrin))
        return 0;
    return session.db.families[mrin].exists() ? checkExistingFamily(session, mrin) : checkDeletedFamily(session, mrin);
}

int32_t checkAllLinks(Session& session)
{
    int32_t repairs = 0;
    for (int32_t rin = 1; rin <= session.db.highestRin; ++rin)
        repairs += checkPersonLinks(session, rin);
    for (int32_t mrin = 1; mrin <= session.db.highestMrin; ++mrin)
        repairs += checkFamilyLinks(session, mrin);
    return repairs;
}

} // namespace kinmap
