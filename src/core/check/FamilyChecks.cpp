// The rules the plausibility check applies to each family: parent-and-child
// cycles, the spouses and their marriage, and the children.
#include "base/Format.h"
#include "base/Workspace.h"
#include "check/ErrorCheck.h"
#include "check/NameMatching.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kinmap {

namespace {

bool hasSoundCode(Text surname)
{
    return surname && !nameKey(surname).empty();
}

} // namespace

namespace {

std::string nameText(const PersonRecord& p)
{
    return std::string(p.given ? p.given : "") + " " + (p.surname ? p.surname : "");
}

} // namespace

void ErrorCheck::checkFamily(int32_t mrin)
{
    if (!db.isFamily(mrin))
        return;
    parentCycles(mrin);
    if (spouses(mrin))
        children(mrin);
}

// A child that is also a parent of one of its parents: the estimated birth
// years tell which of the two links goes.
void ErrorCheck::parentCycles(int32_t mrin)
{
    FamilyRecord& family = db.families[mrin];
    const int32_t husband = family.husband, wife = family.wife;
    for (int k = 0; k < family.children.count();) {
        const int32_t child = family.children[k];
        bool childRemoved = false;
        if (db.isPerson(child)) {
            const std::vector<int32_t> childFamilies(db.persons[child].fams.begin(), db.persons[child].fams.end());
            for (const int32_t g : childFamilies) {
                if (!db.isFamily(g))
                    continue;
                IdList& grandchildren = db.families[g].children;
                const int32_t parent = husband != 0 && grandchildren.contains(husband) ? husband
                                       : wife != 0 && grandchildren.contains(wife)     ? wife
                                                                                       : 0;
                if (!db.isPerson(parent))
                    continue;
                const bool childIsElder = static_cast<uint32_t>(db.estimatedBirthYear(child)) <
                                          static_cast<uint32_t>(db.estimatedBirthYear(parent));
                const int32_t first = childIsElder ? parent : child, second = childIsElder ? child : parent;
                std::string text = formatText("Person %d %s", first, nameText(db.persons[first]).c_str());
                if (const int year = birthYear(db.persons[first]))
                    text += formatText(" *%d", year);
                text += formatText(", is parent ans alos child of person %d  %s", second, nameText(db.persons[second]).c_str());
                if (const int year = birthYear(db.persons[second]))
                    text += formatText(" *%d", year);
                say(text + "! Unlinked as parent !");
                if (childIsElder) {
                    db.persons[child].famc.removeValue(mrin);
                    family.children.removeValue(child);
                    childRemoved = true;
                } else {
                    db.persons[parent].famc.removeValue(g);
                    grandchildren.removeValue(parent);
                    markFamilyChanged(g);
                }
                markChanged(childIsElder ? child : parent);
                markFamilyChanged(mrin);
                corrected();
                record(recursiveParent, childIsElder ? child : parent, true);
                if (childRemoved)
                    break;
            }
        }
        if (!childRemoved)
            ++k; // after a removal the entry that moved up is looked at
    }
}

// The spouses: that they exist and link back, their sex, their ages at
// marriage and against each other. False when the family's examination
// stops here.
bool ErrorCheck::spouses(int32_t mrin)
{
    FamilyRecord& family = db.families[mrin];
    const int32_t husband = family.husband, wife = family.wife;
    ComparedDate marriage = dateOf(DateKind::marriage, mrin);

    // A spouse that must be there and link back; false when it is missing.
    auto spouseLinks = [&](int32_t rin, bool isHusband) {
        const char* role = isHusband ? "husb" : "wife";
        if (!db.isPerson(rin)) {
            say(formatText(rin > db.highestRin ? "Invalid RIN %d of %s in family MRIN %d" : "Deleted RIN %d of %s in family MRIN %d",
                           rin, role, mrin));
            // Filed under the other spouse: a missing record is no index.
            const int32_t other = isHusband ? wife : husband;
            record(rinDeleted, db.isPerson(other) ? other : 0);
            return false;
        }
        PersonRecord& p = db.persons[rin];
        const char sex = isHusband ? 'M' : 'F';
        if (p.sex != sex) {
            label(rin, 4);
            say(formatText("%s of MRIN %d has wrong gender %c", role, mrin, p.sex));
            record(wrongGender, rin);
        }
        if (!p.fams.contains(mrin)) {
            label(rin, 4);
            say(formatText("%s in MRIN %d : missing FAMS link ", role, mrin));
            db.appendLink(p.fams, mrin);
            markChanged(rin);
            corrected();
            record(wrongFamily, rin, true);
        }
        return true;
    };

    if (husband != 0 && !spouseLinks(husband, true))
        return false;
    if (husband == 0 && wife == 0) {
        say(formatText("MRIN %d : Family without husb and wife!", mrin));
        if (family.children.count() >= 2) {
            const int32_t added = db.addPerson(); // the tables may move
            PersonRecord& p = db.persons[added];
            FamilyRecord& f = db.families[mrin];
            p.sex = 'M';
            p.surname = db.internText(surnamePool, "?");
            p.flags |= Flag::hasSex | Flag::hasSurname;
            db.appendLink(p.fams, mrin);
            f.husband = added;
            f.flags |= Flag::hasHusband;
            markFamilyChanged(mrin);
            say(" (korrigiert!)");
            record(wrongFamily, added, true);
        } else {
            say(" (gelöscht!)");
            for (const int32_t child : family.children)
                if (db.validRin(child)) {
                    db.persons[child].famc.removeValue(mrin);
                    markChanged(child);
                }
            family.flags = 0;
            family.children.clear();
            s.db.rowsChanged();
            corrected();
            record(wrongFamily, 0, true);
        }
        return false;
    }
    if (wife != 0 && !spouseLinks(wife, false))
        return false;

    const int husbandBirth = husband ? birthYear(db.persons[husband]) : 0;
    const int wifeBirth = wife ? birthYear(db.persons[wife]) : 0;
    if (husbandBirth != 0 && wifeBirth != 0 && std::abs(husbandBirth - wifeBirth) > 60) {
        say(formatText("spouses in MRIN %d have too different ages (%d years)", mrin, std::abs(husbandBirth - wifeBirth)));
        say(formatText(" - Marriage %d", marriage.year()));
        if (family.marrPlace && *family.marrPlace)
            say(formatText(", %s", family.marrPlace));
        record(ageDifference, husband);
    }
    if (marriage.year() < 1)
        return true;

    // Once the marriage date is found superfluous it is compared no more.
    auto dropMarriage = [&] {
        if (!deleteSuperfluous(marriage))
            return false;
        marriage = dateOf(DateKind::marriage, mrin);
        return true;
    };
    for (const int32_t spouse : {husband, wife}) {
        const ComparedDate death = spouse ? deathOf(spouse) : ComparedDate{};
        if (marriage.year() == 0 || death.year() == 0 || marriage.year() <= death.year())
            continue;
        if (death.is(afterDate) && deleteSuperfluous(death))
            continue;
        if (marriage.is(beforeDate) && dropMarriage())
            continue;
        label(spouse, 8);
        say(formatText("before marriage in %d", marriage.year()));
        record(deathBeforeMarriage, spouse);
    }
    struct AgeRule {
        int32_t rin;
        uint32_t minimum, maximum;
        ErrorType young, old;
    };
    const AgeRule rules[] = {{husband, options.husbandMin(), options.husbandMax(), husbandTooYoung, husbandTooOld},
                             {wife, options.wifeMin(), options.wifeMax(), wifeTooYoung, wifeTooOld}};
    for (const AgeRule& r : rules) {
        const ComparedDate birth = r.rin ? birthOf(r.rin) : ComparedDate{};
        if (marriage.year() == 0 || birth.year() == 0)
            continue;
        const int64_t age = marriage.year() - birth.year();
        const bool young = age < int64_t(r.minimum), old = age > int64_t(r.maximum);
        if (!young && !old)
            continue;
        if (birth.is(young ? beforeDate : afterDate) && deleteSuperfluous(birth))
            continue;
        if (marriage.is(young ? afterDate : beforeDate) && dropMarriage())
            continue;
        say(formatText("with %d years ", static_cast<int>(age)));
        label(r.rin, 4);
        say(formatText(young ? "seems too young to marry in %d" : "seems too old to marry in %d", marriage.year()));
        record(young ? r.young : r.old, r.rin);
    }
    return true;
}

void ErrorCheck::children(int32_t mrin)
{
    if (db.families[mrin].children.empty())
        return;
    const int32_t husband = db.families[mrin].husband, wife = db.families[mrin].wife;
    const int32_t firstParent = husband != 0 ? husband : wife;
    int32_t previous = 0;
    int previousYear = 0;
    DateValue previousBirth = 0;
    int lowest = 32767, highest = 0;

    for (int k = 0; k < db.families[mrin].children.count(); ++k) {
        FamilyRecord& family = db.families[mrin];
        const int32_t child = family.children[k];
        if (!db.isPerson(child)) {
            if (db.validRin(child))
                label(child, 12);
            say(formatText("Child in MRIN %d was deleted", mrin));
            record(rinDeleted, firstParent);
            return;
        }
        // A surname the sound code cannot code (in Cyrillic, say, where a
        // daughter's surname has its own ending) gives nothing to compare.
        if (!options.ignores(Ignore::otherName) && husband != 0 && hasSoundCode(db.persons[child].surname) &&
            hasSoundCode(db.persons[husband].surname) &&
            compareSurnames(db, MatchMethod::soundex, child, husband) == MatchResult::different) {
            label(child, 2);
            say("has different surname than father");
            say(formatText(": %s", db.persons[husband].surname));
            record(differentSurname, husband);
            return;
        }
        PersonRecord& c = db.persons[child];
        if (!c.famc.contains(mrin)) {
            say(formatText("Child RIN %d in MRIN %d : missing link FAMC (corrected)", child, mrin));
            db.appendLink(c.famc, mrin);
            markChanged(child);
            corrected();
            record(wrongFamily, child, true);
        }
        ComparedDate birth = birthOf(child);
        if (birth.year() == 0)
            continue;
        int born = birth.year();
        highest = std::max(highest, born);
        lowest = std::min(lowest, born);

        // The findings, each only where no superfluous date explains it.
        enum Mark { lateAfterMarriage, fatherOld, motherOld, afterFatherDeath, afterMotherDeath, beforeMother,
                    beforeMarriage, fatherYoung, motherYoung, beforeFather, markCount };
        bool marks[markCount] = {};
        bool childDateGone = false;
        auto deleteChildBirth = [&] { return childDateGone = deleteSuperfluous(birth); };
        const ComparedDate marriage = dateOf(DateKind::marriage, mrin);
        if (marriage.year() != 0) {
            if (born < marriage.year()) {
                if (!(marriage.is(beforeDate) && deleteSuperfluous(marriage)) && !(birth.is(afterDate) && deleteChildBirth()))
                    marks[beforeMarriage] = true;
            } else if (born > marriage.year() + 40) {
                if (!(birth.is(beforeDate) && deleteChildBirth()) && !(marriage.is(afterDate) && deleteSuperfluous(marriage)))
                    marks[lateAfterMarriage] = true;
            }
        }
        struct Parent {
            int32_t rin;
            uint32_t minimum, maximum;
            Mark before, young, old, afterDeath;
        };
        const Parent parents[] = {
            {husband, options.fatherMin(), options.fatherMax(), beforeFather, fatherYoung, fatherOld, afterFatherDeath},
            {wife, options.motherMin(), options.motherMax(), beforeMother, motherYoung, motherOld, afterMotherDeath}};
        for (const Parent& parent : parents) {
            if (parent.rin == 0 || childDateGone)
                continue;
            const ComparedDate parentBirth = dateOf(DateKind::birth, parent.rin);
            const int pb = parentBirth.year();
            if (pb != 0) {
                if (born < pb) {
                    if (!(parentBirth.is(beforeDate) && deleteSuperfluous(parentBirth)) &&
                        !(birth.is(afterDate) && deleteChildBirth()))
                        marks[parent.before] = true;
                } else if (born < int64_t(parent.minimum) + pb) {
                    if (!(parentBirth.is(beforeDate) && deleteSuperfluous(parentBirth)))
                        marks[parent.young] = true;
                } else if (born > int64_t(parent.maximum) + pb) {
                    if (!(parentBirth.is(afterDate) && deleteSuperfluous(parentBirth)))
                        marks[parent.old] = true;
                }
            }
            if (childDateGone)
                continue;
            // A child may be born in the year after its father died, not
            // after its mother died.
            const ComparedDate death = dateOf(DateKind::death, parent.rin);
            const int lastYear = death.year() + (parent.rin == husband ? 1 : 0);
            if (death.year() != 0 && born > lastYear) {
                if (!(birth.is(beforeDate) && deleteChildBirth()) && !(death.is(afterDate) && deleteSuperfluous(death)))
                    marks[parent.afterDeath] = true;
            }
        }

        auto parentAge = [&](int32_t parent) { return born - birthYear(db.persons[parent]); };
        if (marks[lateAfterMarriage] && !options.ignores(Ignore::bornTooLate)) {
            label(child, 6);
            say(formatText("too late after parents marriange in %d", marriage.year()));
            record(bornTooLate, firstParent);
        }
        const std::pair<Mark, int32_t> olds[] = {{fatherOld, husband}, {motherOld, wife}};
        for (const auto& [mark, parent] : olds)
            if (marks[mark]) {
                say(formatText("with %d years ", parentAge(parent)));
                label(parent, 4);
                say("seems too old to have a child ");
                label(child, 6);
                record(mark == fatherOld ? fatherTooOld : motherTooOld, parent);
            }
        if (marks[afterFatherDeath]) {
            label(child, 4);
            say("too late after death of father ");
            label(husband, 10);
            record(fatherDead, husband);
        }
        if (marks[afterMotherDeath]) {
            label(child, 4);
            say("after death of mother ");
            label(wife, 10);
            record(motherDead, wife);
        }
        if (marks[beforeMother]) {
            label(child, 4);
            say("before mother ");
            label(wife, 6);
            record(bornBeforeMother, wife);
        }
        if (marks[beforeMarriage] && !options.ignores(Ignore::bornTooEarly)) {
            label(child, 4);
            say(formatText("before marriage of parents in %d", marriage.year()));
            record(bornTooEarly, firstParent);
        }
        const std::pair<Mark, int32_t> youngs[] = {{fatherYoung, husband}, {motherYoung, wife}};
        for (const auto& [mark, parent] : youngs)
            if (marks[mark]) {
                say(formatText("with %d years ", parentAge(parent)));
                label(parent, 4);
                say("seems too young to have a child ");
                label(child, 6);
                record(mark == fatherYoung ? fatherTooYoung : motherTooYoung, parent);
            }
        if (marks[beforeFather]) {
            label(child, 4);
            say("before father ");
            label(husband, 6);
            record(bornBeforeFather, husband);
        }
        if (childDateGone)
            continue; // no birth to order by

        IdList& list = db.families[mrin].children;
        if (born < previousYear) {
            say("order of children ");
            label(previous, 4);
            say(" and ");
            label(child, 6);
            say(" - corrected");
            corrected();
            record(orderOfChildren, previous, true);
            int j = 0;
            while (j < k && !(db.isPerson(list[j]) && birthYear(db.persons[list[j]]) > born))
                ++j;
            if (j < k) {
                std::rotate(list.begin() + j, list.begin() + k, list.begin() + k + 1);
                markFamilyChanged(mrin);
                previous = list[k];
                previousBirth = db.persons[previous].birthDate;
                continue; // the previous year stays
            }
        } else if (!options.ignores(Ignore::birthDates)) {
            const DateValue now = c.birthDate;
            if (monthOf(now) != 0 && monthOf(previousBirth) != 0 && yearOf(now) != 0 && yearOf(previousBirth) != 0) {
                const int months = monthsBetween(previousBirth, now);
                if (months != 0 && months < 8) {
                    say(formatText("too close together in MRIN %d: ", mrin));
                    label(previous, 0x44);
                    say(" und ");
                    label(child, 0x46);
                    record(childrenDates, firstParent);
                }
            }
        }
        previous = child;
        previousYear = born;
        previousBirth = c.birthDate;
    }
    if (!options.ignores(Ignore::birthDates) && lowest != 32767 && highest > 0 && highest - lowest > 30) {
        say(formatText("births too far apart in MRIN %d: (%d ... %d)", mrin, lowest, highest));
        record(childrenDates, firstParent);
    }
}

} // namespace kinmap
