#include "query/Counts.h"

#include "base/Workspace.h"
#include "db/SortIds.h"
#include "db/TextCompare.h"
#include "query/Selection.h"

#include <array>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kinmap {

namespace {

enum EventColumn { birthEvent, chrisEvent, deathEvent, burialEvent, marriageEvent };

struct CountRow {
    Text text = nullptr; // the key of a text table
    int start = 0;       // the key of a period table
    uint32_t total = 0;
    std::array<uint32_t, 5> perEvent{};
};

// The rows in the order their keys were first met; a hash map finds a key.
class CountTable {
public:
    CountRow& rowOfText(Text text)
    {
        const auto [it, added] = textIndex_.try_emplace(std::string_view(text), rows_.size());
        if (added)
            rows_.push_back(CountRow{text});
        return rows_[it->second];
    }
    CountRow& rowOfPeriod(int start)
    {
        const auto [it, added] = periodIndex_.try_emplace(start, rows_.size());
        if (added)
            rows_.push_back(CountRow{nullptr, start});
        return rows_[it->second];
    }
    void count(CountRow& row, int event)
    {
        ++row.total;
        if (event >= 0)
            ++row.perEvent[static_cast<size_t>(event)];
        ++total_;
    }
    // Row indexes: the greatest count first, equal counts by text, the
    // greater text first; periods earliest first.
    std::vector<int32_t> sortedRows(bool byPeriod) const
    {
        return sortedIndexes(rows_.size(), [&](int32_t a, int32_t b) -> int32_t {
            const CountRow& x = rows_[static_cast<size_t>(a)];
            const CountRow& y = rows_[static_cast<size_t>(b)];
            if (byPeriod)
                return x.start < y.start ? 1 : x.start > y.start ? -1 : 0;
            if (x.total != y.total)
                return x.total > y.total ? 1 : -1;
            return x.text == y.text ? 0 : compareFolded(x.text, y.text, 1000);
        });
    }
    const CountRow& row(int32_t i) const { return rows_[static_cast<size_t>(i)]; }
    long long total() const { return total_; }

private:
    std::vector<CountRow> rows_;
    std::unordered_map<std::string_view, size_t> textIndex_;
    std::unordered_map<int, size_t> periodIndex_;
    long long total_ = 0;
};

// A filter matches where it occurs in the text, case and all; an empty one
// matches every text.
bool passes(Text text, const std::string& filter)
{
    return filter.empty() || substringMatches(text, filter);
}

struct PlaceField {
    Text PersonRecord::*place;
    DateValue PersonRecord::*date;
    uint32_t placeFlag, dateFlag;
};

constexpr std::array<PlaceField, 4> personPlaces = {{
    {&PersonRecord::birthPlace, &PersonRecord::birthDate, Flag::hasBirthPlace, Flag::hasBirthDate},
    {&PersonRecord::chrisPlace, &PersonRecord::chrisDate, Flag::hasChrisPlace, Flag::hasChrisDate},
    {&PersonRecord::deathPlace, &PersonRecord::deathDate, Flag::hasDeathPlace, Flag::hasDeathDate},
    {&PersonRecord::burialPlace, &PersonRecord::burialDate, Flag::hasBurialPlace, Flag::hasBurialDate},
}};

void countNames(const Workspace& s, const CountOptions& options, CountTable& table, bool surnames)
{
    const std::string& filter = surnames ? options.surnameFilter : options.givenFilter;
    const Database& db = s.db;
    for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
        const PersonRecord& p = db.persons[rin];
        if (!p.exists() || (options.onlySelection && !(p.flags & Flag::selected)))
            continue;
        const Text text = surnames ? p.surname : p.given;
        if (text && passes(text, filter))
            table.count(table.rowOfText(text), -1);
    }
}

// Places of the five events. The name count of places (byFlags false)
// obeys the selection switch for persons; the place table of the Events
// count takes only places whose record says it has one.
void countPlaces(const Workspace& s, const CountOptions& options, CountTable& table, bool byFlags)
{
    const Database& db = s.db;
    for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
        const PersonRecord& p = db.persons[rin];
        if (!p.exists() || (!byFlags && options.onlySelection && !(p.flags & Flag::selected)))
            continue;
        for (size_t event = 0; event < personPlaces.size(); ++event) {
            const PlaceField& field = personPlaces[event];
            const Text place = p.*field.place;
            if (place && (!byFlags || (p.flags & field.placeFlag)) && passes(place, options.placeFilter))
                table.count(table.rowOfText(place), static_cast<int>(event));
        }
    }
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin) {
        const FamilyRecord& f = db.families[mrin];
        if (f.exists() && f.marrPlace && (!byFlags || (f.flags & Flag::hasMarrPlace)) &&
            passes(f.marrPlace, options.placeFilter))
            table.count(table.rowOfText(f.marrPlace), marriageEvent);
    }
}

// Events with a place and a dated year, by periods of `period` years that
// start at multiples of it. Dates without a year are not counted.
void countPeriods(const Workspace& s, const CountOptions& options, CountTable& table, int period)
{
    const Database& db = s.db;
    auto add = [&](DateValue date, int event) {
        const int year = yearOf(date);
        if (year != 0)
            table.count(table.rowOfPeriod(year / period * period), event);
    };
    for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
        const PersonRecord& p = db.persons[rin];
        if (!p.exists() || (options.onlySelection && !(p.flags & Flag::selected)))
            continue;
        for (size_t event = 0; event < personPlaces.size(); ++event) {
            const PlaceField& field = personPlaces[event];
            if ((p.flags & field.placeFlag) && (p.flags & field.dateFlag) && p.*field.place &&
                passes(p.*field.place, options.placeFilter))
                add(p.*field.date, static_cast<int>(event));
        }
    }
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin) {
        const FamilyRecord& f = db.families[mrin];
        if (f.exists() && (f.flags & Flag::hasMarrPlace) && (f.flags & Flag::hasMarrDate) && f.marrPlace &&
            passes(f.marrPlace, options.placeFilter))
            add(f.marrDate, marriageEvent);
    }
}

// Every figure is written, 0 included.
void write(Workspace& s, const std::string& text)
{
    s.report.append("%s", text.c_str());
}

} // namespace

void writeCount(Workspace& s, const CountOptions& options, CountKind kind)
{
    const bool byPeriod = kind == CountKind::events && options.period > 0;
    CountTable table;
    switch (kind) {
    case CountKind::given:
    case CountKind::surname:
        countNames(s, options, table, kind == CountKind::surname);
        break;
    case CountKind::place:
        countPlaces(s, options, table, false);
        break;
    case CountKind::events:
        if (byPeriod)
            countPeriods(s, options, table, options.period);
        else
            countPlaces(s, options, table, true);
        break;
    }

    s.report.clear();
    const bool names = kind == CountKind::given || kind == CountKind::surname;
    if (names)
        write(s, kind == CountKind::given ? "\r\nCount\tGiven name" : "\r\nCount\tSurname");
    else if (byPeriod)
        write(s, "\r\nPeriod\tEvents\tBirth\tChris\tDeath\tBurial\tMarriage");
    else
        write(s, "\r\nEvents\tBirth\tChris\tDeath\tBurial\tMarriage\tPlace");
    for (const int32_t i : table.sortedRows(byPeriod)) {
        const CountRow& row = table.row(i);
        const auto& n = row.perEvent;
        if (names)
            write(s, formatText("\r\n%6u\t", row.total) +
                         (row.text && *row.text ? row.text : kind == CountKind::surname ? "(no surname)" : "(no given name)"));
        else if (byPeriod)
            write(s, formatText("\r\n%6u\t%6u\t%6u\t%6u\t%6u\t%6u\t%6u", static_cast<unsigned>(row.start), row.total, n[0],
                                n[1], n[2], n[3], n[4]));
        else
            write(s, formatText("\r\n%6u\t%6u\t%6u\t%6u\t%6u\t%6u\t", row.total, n[0], n[1], n[2], n[3], n[4]) + row.text);
    }
    const int total = static_cast<int>(table.total());
    write(s, formatText("\r\n\r\n%6d \tTotal ", total));
    static constexpr const char* statusFormats[] = {"%d Given names", "%d Surnames", "%d Places", "%d Events"};
    s.setStatus(1, statusFormats[static_cast<int>(kind)], total);
}

} // namespace kinmap
