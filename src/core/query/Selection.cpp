#include "query/Selection.h"

#include "base/Workspace.h"
#include "db/TextCompare.h"

#include <cstring>
#include <vector>

namespace kinmap {

bool prefixMatches(Text text, const std::string& pattern)
{
    if (pattern.empty())
        return true;
    return text && startsWithIgnoringCase(text, pattern);
}

bool substringMatches(Text text, const std::string& pattern)
{
    if (pattern.empty())
        return true;
    return text && strstr(text, pattern.c_str()) != nullptr;
}

void markPerson(Workspace& s, int32_t rin, bool selected)
{
    if (!s.db.isPerson(rin))
        return;
    uint32_t& flags = s.db.persons[rin].flags;
    const bool was = (flags & Flag::selected) != 0;
    if (was == selected)
        return;
    if (selected) {
        flags |= Flag::selected;
        ++s.counts.selectedCount;
    } else {
        flags &= ~Flag::selected;
        --s.counts.selectedCount;
    }
}

void markAll(Workspace& s, bool selected)
{
    for (int32_t rin = 1; rin <= s.db.highestRin; ++rin)
        markPerson(s, rin, selected);
}

void extendSelection(Workspace& s, int32_t rin, int extensions)
{
    const Database& db = s.db;
    const PersonRecord& p = db.persons[rin];
    if (extensions & (Extend::spouses | Extend::children)) {
        for (int i = 0; i < p.fams.count(); ++i) {
            if (extensions & Extend::spouses)
                markPerson(s, db.spouseOf(rin, i), true);
            if ((extensions & Extend::children) && db.isFamily(p.fams[i]))
                for (const int32_t child : db.families[p.fams[i]].children)
                    markPerson(s, child, true);
        }
    }
    if (extensions & Extend::parents)
        for (const int32_t mrin : p.famc)
            if (db.isFamily(mrin)) {
                markPerson(s, db.families[mrin].husband, true);
                markPerson(s, db.families[mrin].wife, true);
            }
}

namespace {

void markFound(Workspace& s, int32_t rin, const SearchOptions& o)
{
    markPerson(s, rin, o.action != SearchAction::deselect);
    extendSelection(s, rin, o.extensions);
}

bool withinPeriod(int year, const SearchOptions& o)
{
    return (o.periodFrom == 0 || year >= o.periodFrom) && (o.periodTo == 0 || year <= o.periodTo);
}

// Whether one of the person's spouses passes a test.
template <class Test>
bool anySpouse(const Database& db, int32_t rin, Test test)
{
    for (int i = 0; i < db.persons[rin].fams.count(); ++i) {
        const int32_t spouse = db.spouseOf(rin, i);
        if (db.validRin(spouse) && test(db.persons[spouse]))
            return true;
    }
    return false;
}

bool personQualifies(const Database& db, int32_t rin, const SearchOptions& o)
{
    const PersonRecord& p = db.persons[rin];
    if (!o.place.empty() && !prefixMatches(p.birthPlace, o.place) && !prefixMatches(p.chrisPlace, o.place) &&
        !prefixMatches(p.deathPlace, o.place) && !prefixMatches(p.burialPlace, o.place))
        return false;
    if (!prefixMatches(p.surname, o.surname) || !prefixMatches(p.given, o.given))
        return false;
    if (!o.spouseSurname.empty() &&
        !anySpouse(db, rin, [&](const PersonRecord& spouse) { return prefixMatches(spouse.surname, o.spouseSurname); }))
        return false;
    if (!o.spouseGiven.empty() &&
        !anySpouse(db, rin, [&](const PersonRecord& spouse) { return prefixMatches(spouse.given, o.spouseGiven); }))
        return false;
    if (o.periodFrom != 0 || o.periodTo != 0) {
        const int year = db.estimatedBirthYear(rin);
        if (!withinPeriod(year, o))
            return false;
    }
    return (o.rinFrom == 0 || rin >= o.rinFrom) && (o.rinTo == 0 || rin <= o.rinTo);
}

// The year of the event an event search tests, or nothing when the person
// has no such event that passes the place pattern.
bool eventQualifies(const Database& db, int32_t rin, const SearchOptions& o)
{
    const PersonRecord& p = db.persons[rin];
    auto personEvent = [&](uint32_t flags, Text place, DateValue date, uint32_t otherFlags, Text otherPlace,
                           DateValue otherDate) {
        if (!(p.flags & flags)) {
            if (!(p.flags & otherFlags))
                return false;
            place = otherPlace;
            date = otherDate;
        }
        if (!o.place.empty() && !substringMatches(place, o.place))
            return false;
        return withinPeriod(yearOf(date), o);
    };
    switch (o.eventKind) {
    case EventKind::birth:
        return personEvent(Flag::hasBirthDate | Flag::hasBirthPlace, p.birthPlace, p.birthDate,
                           Flag::hasChrisDate | Flag::hasChrisPlace, p.chrisPlace, p.chrisDate);
    case EventKind::death:
        return personEvent(Flag::hasDeathDate | Flag::hasDeathPlace, p.deathPlace, p.deathDate,
                           Flag::hasBurialDate | Flag::hasBurialPlace, p.burialPlace, p.burialDate);
    case EventKind::marriage:
        // The first family whose marriage passes the place pattern and the
        // period; without either, any family.
        for (const int32_t mrin : p.fams) {
            if (!db.isFamily(mrin))
                continue;
            const FamilyRecord& f = db.families[mrin];
            if ((o.place.empty() || substringMatches(f.marrPlace, o.place)) && withinPeriod(yearOf(f.marrDate), o))
                return true;
        }
        return false;
    }
    return false;
}

} // namespace

void searchPersons(Workspace& s, const SearchOptions& o)
{
    if (o.action == SearchAction::select)
        markAll(s, false);
    for (int32_t rin = 1; rin <= s.db.highestRin; ++rin)
        if (s.db.isPerson(rin) && personQualifies(s.db, rin, o))
            markFound(s, rin, o);
}

void searchEvents(Workspace& s, const SearchOptions& o)
{
    if (o.action == SearchAction::select)
        markAll(s, false);
    for (int32_t rin = 1; rin <= s.db.highestRin; ++rin)
        if (s.db.isPerson(rin) && eventQualifies(s.db, rin, o) && prefixMatches(s.db.persons[rin].surname, o.surname))
            markFound(s, rin, o);
}

// Both walks mark a set, so the order of visits does not matter. A person
// reached again with no more generations to go than before is passed over:
// that keeps the work linear in a file where lines of ancestors meet, or
// where a person is his own ancestor.
void selectAncestors(Workspace& s, int32_t rin, int generations, int following, bool selected)
{
    const Database& db = s.db;
    std::vector<int> done(static_cast<size_t>(db.highestRin) + 1, -1);
    std::vector<std::pair<int32_t, int>> work{{rin, generations}};
    while (!work.empty()) {
        const auto [person, left] = work.back();
        work.pop_back();
        if (!db.validRin(person) || done[static_cast<size_t>(person)] >= left)
            continue;
        done[static_cast<size_t>(person)] = left;
        markPerson(s, person, selected);
        if (following != 0)
            selectDescendants(s, person, following, selected);
        if (left == 0)
            continue;
        for (const int32_t mrin : db.persons[person].famc)
            if (db.isFamily(mrin)) {
                work.push_back({db.families[mrin].wife, left - 1});
                work.push_back({db.families[mrin].husband, left - 1});
            }
    }
}

void selectDescendants(Workspace& s, int32_t rin, int generations, bool selected)
{
    const Database& db = s.db;
    std::vector<int> done(static_cast<size_t>(db.highestRin) + 1, 0);
    std::vector<std::pair<int32_t, int>> work{{rin, generations}};
    while (!work.empty()) {
        const auto [person, left] = work.back();
        work.pop_back();
        if (!db.validRin(person) || left <= 0 || done[static_cast<size_t>(person)] >= left)
            continue;
        done[static_cast<size_t>(person)] = left;
        markPerson(s, person, selected);
        const PersonRecord& p = db.persons[person];
        for (int i = 0; i < p.fams.count(); ++i) {
            markPerson(s, db.spouseOf(person, i), selected);
            if (db.isFamily(p.fams[i]))
                for (const int32_t child : db.families[p.fams[i]].children)
                    work.push_back({child, left - 1});
        }
    }
}

} // namespace kinmap
