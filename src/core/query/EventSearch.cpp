#include "query/EventSearch.h"

#include "base/Workspace.h"
#include "db/SortIds.h"

#include <vector>

namespace kinmap {

namespace {

struct Found {
    int32_t number; // RIN or MRIN
    DateValue date; // the date it is listed by
};

// Year, month and day in one number: a date without a month sorts before
// the dates of its year that have one.
int32_t dateKey(DateValue date)
{
    return (yearOf(date) * 16 + monthOf(date)) * 32 + dayOf(date);
}

bool withinYears(int year, const SearchOptions& o)
{
    return (o.periodFrom == 0 || year >= o.periodFrom) && (o.periodTo == 0 || year <= o.periodTo);
}

// Births and deaths: the first date, or the second when the first has no
// year; persons without either year are not listed.
std::vector<Found> findPersons(const Database& db, EventKind kind, const SearchOptions& o)
{
    std::vector<Found> found;
    for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
        const PersonRecord& p = db.persons[rin];
        if (!p.exists())
            continue;
        const bool births = kind == EventKind::birth;
        const Text place = births ? p.birthPlace : p.deathPlace;
        if (!place || !prefixMatches(place, o.place))
            continue;
        const DateValue first = births ? p.birthDate : p.deathDate;
        const DateValue second = births ? p.chrisDate : p.burialDate;
        const DateValue date = yearOf(first) != 0 ? first : second;
        const int year = yearOf(date);
        if (year != 0 && withinYears(year, o))
            found.push_back({rin, date});
    }
    return found;
}

// Marriages without a year are listed unless a first year is asked for.
std::vector<Found> findMarriages(const Database& db, const SearchOptions& o)
{
    std::vector<Found> found;
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin) {
        const FamilyRecord& f = db.families[mrin];
        if (f.exists() && f.marrPlace && prefixMatches(f.marrPlace, o.place) && withinYears(yearOf(f.marrDate), o))
            found.push_back({mrin, f.marrDate});
    }
    return found;
}

// Earliest first; equal dates by number, so that the order is total.
std::vector<int32_t> sortedByDate(const std::vector<Found>& found)
{
    return sortedIndexes(found.size(), [&](int32_t a, int32_t b) -> int32_t {
        const Found& x = found[static_cast<size_t>(a)];
        const Found& y = found[static_cast<size_t>(b)];
        const int32_t kx = dateKey(x.date), ky = dateKey(y.date);
        if (kx != ky)
            return kx < ky ? 1 : -1;
        return x.number < y.number ? 1 : x.number > y.number ? -1 : 0;
    });
}

void appendName(ReportBuffer& report, const Database& db, int32_t rin)
{
    if (!db.isPerson(rin))
        return;
    report.append("%s ", db.persons[rin].given);
    report.append("%s ", db.persons[rin].surname);
}

void appendDate(ReportBuffer& report, const char* format, DateValue date)
{
    const DateText text = formatDate(date);
    if (!text.isNull())
        report.append(format, text.get());
}

} // namespace

int runEventSearch(Workspace& s, EventKind kind, const SearchOptions& o)
{
    const Database& db = s.db;
    const std::vector<Found> found = kind == EventKind::marriage ? findMarriages(db, o) : findPersons(db, kind, o);
    static constexpr const char* headings[] = {"\r\nBirths in %s... ", "\r\nDeaths in %s... ", "\r\nMarriages in %s..."};
    static constexpr const char* totals[] = {"\r\n\r\nTotal of %6d \tbirths ", "\r\n\r\nTotal of %6d \tdeaths ",
                                             "\r\n\r\nTotal of %6d \tmarriages "};
    static constexpr const char* statusFormats[] = {"%d births", "%d deaths", "%d marriages"};
    const int k = static_cast<int>(kind);
    const int count = static_cast<int>(found.size());
    s.setStatus(1, statusFormats[k], count);
    if (found.empty())
        return 0;

    ReportBuffer& report = s.report;
    report.append(headings[k], o.place.c_str());
    report.append("%d", o.periodFrom);
    report.append(" - %d", o.periodTo);
    report.append("\r\n");
    for (const int32_t i : sortedByDate(found)) {
        const Found& event = found[static_cast<size_t>(i)];
        report.append("\r\n");
        if (kind == EventKind::marriage) {
            const FamilyRecord& f = db.families[event.number];
            appendDate(report, "& %-11s", f.marrDate);
            report.append("\t%6d\t", event.number);
            appendName(report, db, f.husband);
            report.append("+ ");
            appendName(report, db, f.wife);
            continue;
        }
        const PersonRecord& p = db.persons[event.number];
        const bool births = kind == EventKind::birth;
        const DateValue first = births ? p.birthDate : p.deathDate;
        if (!formatDate(first).isNull())
            appendDate(report, births ? "* %11s" : "+ %-11s", first);
        else
            appendDate(report, births ? "~ %11s" : "_ %-11s", births ? p.chrisDate : p.burialDate);
        report.append("\t%6d\t", event.number);
        appendName(report, db, event.number);
    }
    report.append(totals[k], count);
    return count;
}

} // namespace kinmap
