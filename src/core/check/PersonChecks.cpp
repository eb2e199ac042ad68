// The rules the plausibility check applies to each person: the person's own
// dates, names and places, its parent families and its marriages.
#include "base/Format.h"
#include "base/Workspace.h"
#include "check/ErrorCheck.h"
#include "check/Merge.h"
#include "db/Utf8.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace kinmap {

namespace {

std::string dateText(DateValue value)
{
    const DateText text = formatDate(value);
    return text.isNull() ? std::string() : std::string(text.get());
}

// A name or place that begins with a capital of any script (or a letter of
// a script without case) looks right.
bool startsWithCapital(char32_t c)
{
    const auto u = static_cast<UChar32>(c);
    return u_isupper(u) || u_istitle(u) || (u_isalpha(u) && !u_islower(u) && c >= 0x100);
}

bool startsWith(std::string_view text, std::initializer_list<const char*> prefixes)
{
    for (const char* prefix : prefixes)
        if (text.starts_with(prefix))
            return true;
    return false;
}

// A name fails only when it holds a blank or apostrophe after its fourth
// character and begins neither with a capital, nor with a bracket or quote,
// nor with a known lower-case particle.
bool nameLooksRight(Text name)
{
    const std::string_view text = name ? name : "";
    if (text.empty())
        return true;
    const char* p = text.data();
    const char* const end = p + text.size();
    const char32_t first = nextCodePoint(p, end);
    size_t position = 0;
    for (const char* q = text.data(); q < end; ++position) {
        const char32_t c = nextCodePoint(q, end);
        if (c == ' ' || c == '\'')
            break;
    }
    const bool hasBlank = text.find_first_of(" '") != std::string_view::npos;
    if (!hasBlank || position <= 3)
        return true;
    if (first == '(' || first == '[' || first == '"' || first == '\'' || startsWithCapital(first))
        return true;
    return startsWith(text, {"hij", "fil", "alb", "baby", "ung"});
}

bool placeLooksRight(Text place)
{
    const std::string_view text = place ? place : "";
    if (text.empty())
        return true;
    const char* p = text.data();
    if (startsWithCapital(nextCodePoint(p, text.data() + text.size())))
        return true;
    return startsWith(text, {"ob", "un", "hi", "vo", "auf"});
}

} // namespace

bool ErrorCheck::checkPerson(int32_t rin)
{
    if (!db.isPerson(rin))
        return false;
    if (!options.ignores(Ignore::checkDate))
        personDates(rin);
    if (!options.ignores(Ignore::checkName))
        personNames(rin);
    const PersonRecord& p = db.persons[rin];
    if (p.famc.empty() && p.fams.empty()) {
        label(rin, 14);
        say(" is a single unconnected person");
        record(singlePerson, rin);
        return true;
    }
    parentFamilies(rin);
    marriages(rin);
    return true;
}

void ErrorCheck::personDates(int32_t rin)
{
    auto report = [&](const std::string& message) {
        say(message);
        label(rin, 0);
        record(checkDateError, rin);
    };
    // Birth and christening.
    {
        const ComparedDate birth = dateOf(DateKind::birth, rin), chris = dateOf(DateKind::christening, rin);
        if (birth.year() != 0 && chris.year() != 0) {
            const int months = monthsBetween(birth.value, chris.value);
            if (months < 0 && !deleteSuperfluous(birth.is(beforeDate) ? birth : chris.is(afterDate) ? chris : ComparedDate{}))
                report(formatText("Chris %s before birth %s for RIN %d", dateText(chris.value).c_str(),
                                  dateText(birth.value).c_str(), rin));
            else if (months > 12 &&
                     !deleteSuperfluous(birth.is(afterDate) ? birth : chris.is(beforeDate) ? chris : ComparedDate{}))
                report(formatText("Chris %s late after birth %s for RIN %d", dateText(chris.value).c_str(),
                                  dateText(birth.value).c_str(), rin));
        }
    }
    const ComparedDate early = birthOf(rin);
    // Death and burial.
    {
        const ComparedDate death = dateOf(DateKind::death, rin), burial = dateOf(DateKind::burial, rin);
        if (death.year() != 0 && burial.year() != 0) {
            if (burial.year() < death.year()) {
                if (!deleteSuperfluous(death.is(beforeDate) ? death : burial.is(afterDate) ? burial : ComparedDate{}))
                    report(formatText("Burial %s before death %s for RIN %d", dateText(burial.value).c_str(),
                                      dateText(death.value).c_str(), rin));
            } else if (monthsBetween(death.value, burial.value) > 2 &&
                       !deleteSuperfluous(death.is(afterDate) ? death : burial.is(beforeDate) ? burial : ComparedDate{})) {
                report(formatText("Burial %s too late after death %s for RIN %d", dateText(burial.value).c_str(),
                                  dateText(death.value).c_str(), rin));
            }
        }
    }
    const ComparedDate late = deathOf(rin);
    if (isLater(early.value, late.value) &&
        !deleteSuperfluous(early.is(beforeDate) ? early : late.is(afterDate) ? late : ComparedDate{}))
        report(formatText("Death %s before death %s for RIN %d", dateText(late.value).c_str(), dateText(early.value).c_str(), rin));

    // Dates whose text did not read as a date, or spans over ten years.
    struct Doubt {
        DateValue PersonRecord::*field;
        const char* tag;
        const char* range;
        const char* doubtful;
    };
    static constexpr Doubt doubts[] = {
        {&PersonRecord::birthDate, "BIRT", "birth date range '%s' more than 10 years for RIN %d ", "possibly wrong birth date '%s' for RIN %d "},
        {&PersonRecord::chrisDate, "CHR", "chris date range '%s' more than 10 years for RIN %d ", "possibly wrong chris date '%s' for RIN %d "},
        {&PersonRecord::deathDate, "DEAT", "death date range '%s' more than 10 years for RIN %d ", "possibly wrong death date '%s' for RIN %d "},
        {&PersonRecord::burialDate, "BURI", "burial date range '%s' more than 10 years for RIN %d ", "possibly wrong burial date '%s' for RIN %d "}};
    for (const Doubt& d : doubts) {
        const DateValue value = db.persons[rin].*d.field;
        if (!isNotParsed(value))
            continue;
        // The date as the file writes it; what was read of it otherwise.
        std::string text = fileDate ? fileDate(rin, d.tag) : std::string();
        if (text.empty())
            text = dateText(value);
        report(formatText(spanOf(value) != 0 ? d.range : d.doubtful, text.c_str(), rin));
    }
}

void ErrorCheck::personNames(int32_t rin)
{
    const PersonRecord& p = db.persons[rin];
    struct Test {
        Text PersonRecord::*field;
        bool isName;
        const char* message;
    };
    static constexpr Test tests[] = {
        {&PersonRecord::surname, true, "possibly misspelled surname '%s' for RIN %d "},
        {&PersonRecord::given, true, "possibly misspelled name '%s' for RIN %d "},
        {&PersonRecord::birthPlace, false, "possibly misspelled bith place '%s' für RIN %d "},
        {&PersonRecord::chrisPlace, false, "possibly misspelled chris place '%s' for RIN %d "},
        {&PersonRecord::deathPlace, false, "possibly misspelled death place '%s' for RIN %d "},
        {&PersonRecord::burialPlace, false, "possibly misspelled burial place '%s' for RIN %d "}};
    for (const Test& t : tests) {
        const Text text = p.*t.field;
        if (t.isName ? nameLooksRight(text) : placeLooksRight(text))
            continue;
        say(formatText(t.message, text, rin));
        label(rin, 0);
        record(checkNameError, rin);
    }
}

void ErrorCheck::parentFamilies(int32_t rin)
{
    IdList& famc = db.persons[rin].famc;
    if (famc.count() >= 2) {
        label(rin, 14);
        say(" is child in several families, MRIN: ");
        for (const int32_t mrin : famc)
            say(formatText(" %d", mrin));
        const int32_t first = famc[0], second = famc[1];
        if (db.isFamily(first) && db.isFamily(second) && db.families[first].husband == db.families[second].husband &&
            db.families[first].wife == db.families[second].wife) {
            const int merges = mergeFamilies(s, first, second);
            if (merges != familiesNotMerged) {
                // The family merge itself counts, with the person merges it caused.
                s.counts.mergeCount += 1 + merges;
                list_.correctedCount += 1 + merges;
            }
        }
        record(severalParents, rin, true);
    }
    for (int i = 0; i < famc.count(); ++i) {
        const int32_t m = famc[i];
        if (db.isFamily(m))
            continue;
        const bool beyond = m > db.highestMrin;
        say(formatText(beyond ? "Invalid MRIN %d used in FAMC of " : "Deleted MRIN %d used in FAMC of ", m));
        label(rin, 14);
        say(beyond ? " (deleted!)" : " (corrected)");
        famc.removeAt(i);
        markChanged(rin);
        corrected();
        record(beyond ? wrongFamily : mrinDeleted, rin, true);
        break;
    }
}

void ErrorCheck::marriages(int32_t rin)
{
    PersonRecord& person = db.persons[rin];
    // Each entry is checked; the dated ones are put in the order of their
    // marriage years as they come.
    int32_t previousMrin = 0;
    int previousYear = 0;
    for (int i = 0; i < person.fams.count(); ++i) {
        const int32_t m = person.fams[i];
        if (m > db.highestMrin) {
            say(formatText("Invalid MRIN %d used in FAMS of ", m));
            label(rin, 14);
            record(wrongFamily, rin);
            return;
        }
        if (!db.isFamily(m)) {
            say(formatText("deleted MRIN %d used in FAMS of ", m));
            label(rin, 14);
            say(" (corrected)");
            person.fams.removeAt(i);
            markChanged(rin);
            corrected();
            record(mrinDeleted, rin, true);
            return;
        }
        FamilyRecord& family = db.families[m];
        if (family.husband == rin && family.wife == rin) {
            s.errorBox("GED file error in MRIN %d: person %d is HUSB and WIFE", m, rin);
            return;
        }
        // The person in the place that does not fit its sex.
        const bool asWife = family.wife == rin;
        if ((person.sex == 'F') != asWife) {
            label(rin, 2);
            say(formatText("is %s in MRIN %d but has gender %c", person.sex != 'F' ? "wife" : "husband", m, person.sex));
            // Corrected only where no spouse of the family holds the other
            // role elsewhere, so that no correction undoes another.
            const bool husbandFits = !db.isPerson(family.husband) || db.familyWithOtherRole(family.husband, true, m) == 0;
            const bool wifeFits = !db.isPerson(family.wife) || db.familyWithOtherRole(family.wife, false, m) == 0;
            if (husbandFits && wifeFits) {
                for (const auto& [spouse, sex] : {std::pair{family.husband, 'M'}, {family.wife, 'F'}})
                    if (db.isPerson(spouse) && db.persons[spouse].sex != sex) {
                        db.persons[spouse].sex = static_cast<unsigned char>(sex);
                        db.persons[spouse].flags |= Flag::hasSex;
                        markChanged(spouse);
                    }
                corrected();
                record(wrongSpouse, rin, true);
            } else {
                say(" (husband in one family and wife in another: not corrected)");
                record(wrongSpouse, rin);
            }
        }
        const int32_t spouse = asWife ? family.husband : family.wife;
        if (spouse == 0) {
            if (person.fams.count() == 1 && person.famc.empty() && family.children.empty()) {
                label(rin, 14);
                say(" is a single unconnected person");
                record(singlePerson, rin);
                return;
            }
        } else if (!db.isPerson(spouse)) {
            if (db.validRin(spouse))
                label(spouse, 12);
            say(formatText("spouse in MRIN %d was deleted", m));
            record(rinDeleted, rin);
            return;
        }

        const int year = yearOf(family.marrDate);
        if (year == 0)
            continue;
        if (previousYear != 0 && year < previousYear) {
            say(formatText("order of marriages MRIN %d (%d)", m, year));
            say(formatText(" and MRIN %d (%d) - corrected", previousMrin, previousYear));
            corrected();
            record(orderOfMarriages, rin, true);
            int j = 0;
            while (j < i && !(db.isFamily(person.fams[j]) && yearOf(db.families[person.fams[j]].marrDate) > year))
                ++j;
            std::rotate(person.fams.begin() + j, person.fams.begin() + i, person.fams.begin() + i + 1);
            markChanged(rin);
            continue; // the latest marriage so far stays the previous one
        }
        previousMrin = m;
        previousYear = year;
    }

    // A later marriage while the spouse of an earlier one still lived and
    // they were not divorced.
    if (!options.ignores(Ignore::spouseConflict)) {
        int32_t previousSpouse = 0, previousFamily = 0;
        for (const int32_t m : person.fams) {
            const FamilyRecord& family = db.families[m];
            if (yearOf(family.marrDate) == 0)
                continue;
            if (db.isPerson(previousSpouse) && isLater(deathOf(previousSpouse).value, family.marrDate) &&
                !(db.families[previousFamily].flags & Flag::divorced)) {
                label(rin, 0);
                say(formatText("married in %d before previous spouse ", yearOf(family.marrDate)));
                label(previousSpouse, 8);
                say(formatText(" had died (MRIN:%d divorced?)", previousFamily));
                record(spouseConflict, rin);
            }
            previousSpouse = family.husband == rin ? family.wife : family.husband;
            previousFamily = m;
        }
    }
    childParentCycles(rin);
}

// A child of the person's family in which the person is a child too.
void ErrorCheck::childParentCycles(int32_t rin)
{
    PersonRecord& person = db.persons[rin];
    const std::vector<int32_t> families(person.fams.begin(), person.fams.end());
    for (const int32_t m : families) {
        if (!db.isFamily(m))
            continue;
        IdList& children = db.families[m].children;
        for (int k = 0; k < children.count();) {
            const int32_t child = children[k];
            bool cycle = false;
            if (db.isPerson(child))
                for (const int32_t g : db.persons[child].fams)
                    cycle = cycle || (db.isFamily(g) && person.famc.contains(g));
            if (!cycle) {
                ++k;
                continue;
            }
            const PersonRecord& c = db.persons[child];
            std::string text = formatText("Person %d %s %s", rin, person.given ? person.given : "", person.surname ? person.surname : "");
            if (const int year = yearOf(person.chrisDate))
                text += formatText(" *%d", year);
            text += formatText(", is parent and also child of person %d  %s %s", child, c.given ? c.given : "",
                               c.surname ? c.surname : "");
            if (const int year = yearOf(c.chrisDate))
                text += formatText(" *%d", year);
            if (!s.ui.askOkCancel("ERROR", text + "! Delete as parent ?", MessageIcon::exclamation)) {
                ++k;
                continue;
            }
            // Unlinked on both sides, so that the next import does not put it back.
            children.removeAt(k);
            db.persons[child].famc.removeValue(m);
            markChanged(child);
            markFamilyChanged(m);
            corrected();
            say(text + "! Unlinked as parent !");
            record(recursiveParent, rin, true);
        }
    }
}

} // namespace kinmap
