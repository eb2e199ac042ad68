#include "views/PersonSearch.h"

#include "base/Format.h"
#include "db/Numbers.h"
#include "db/TextCompare.h"
#include "views/PersonList.h"

namespace kinmap {

const char* PersonSearch::columnTitle(int column)
{
    static constexpr const char* titles[columnCount] = {"RIN", "Name", "Date"};
    return titles[column];
}

int PersonSearch::rowCount(PersonList& list)
{
    // The rows of the last list build; after an edit, built again.
    if (!list.isValid())
        list.build(list.selectedOnly());
    list.waitForWorker();
    return list.rowCount();
}

int32_t PersonSearch::rinAt(PersonList& list, int row)
{
    // The presorted order puts the greater names first; the search lists
    // them from A to Z.
    const int count = rowCount(list);
    return row >= 0 && row < count ? list.rinBySurname(count - 1 - row) : 0;
}

std::string PersonSearch::cellText(const Database& db, PersonList& list, int row, int column)
{
    const int32_t rin = rinAt(list, row);
    if (!db.isPerson(rin))
        return {};
    const PersonRecord& p = db.persons[rin];
    switch (column) {
    case 0:
        return formatText("%-6u", static_cast<unsigned>(rin));
    case 1: {
        std::string name = p.surname ? p.surname : "";
        if (p.given && *p.given)
            name += std::string(", ") + p.given;
        return name;
    }
    default:
        if (const int born = birthYear(p))
            return formatText("* %4u", static_cast<unsigned>(born));
        if (const int died = deathYear(p))
            return formatText("+ %4u", static_cast<unsigned>(died));
        if (const int married = db.marriageYearOf(rin, 0))
            return formatText("& %4u", static_cast<unsigned>(married));
        return {};
    }
}

int PersonSearch::find(const Database& db, PersonList& list, std::string_view text)
{
    text = text.substr(0, 99);
    const int count = rowCount(list);
    if (const std::optional<int32_t> rin = readNumber(text); rin && *rin != 0) {
        for (int row = 0; row < count; ++row)
            if (rinAt(list, row) == *rin)
                return row;
        return -1;
    }
    const size_t end = text.find_first_of(" ,");
    const std::string surname(text.substr(0, end));
    if (surname.empty())
        return -1;
    std::string given;
    if (end != std::string_view::npos) {
        const size_t start = text.find_first_not_of(" ,", end);
        if (start != std::string_view::npos)
            given = std::string(text.substr(start));
    }
    for (int row = 0; row < count; ++row) {
        const PersonRecord& p = db.persons[rinAt(list, row)];
        if (!p.surname || !*p.surname)
            continue;
        if (given.empty() ? startsWithIgnoringCase(p.surname, surname)
                          : compareFolded(p.surname, surname.c_str(), 1000) == 0 && p.given &&
                                startsWithIgnoringCase(p.given, given))
            return row;
    }
    return -1;
}

std::string personReport(const Database& db, int32_t rin)
{
    if (!db.isPerson(rin))
        return {};
    const PersonRecord& p = db.persons[rin];
    auto text = [](Text t) { return t ? std::string(t) : std::string(); };
    std::string report = formatText("RIN: %d\r\n", rin);
    report += text(p.given) + " " + text(p.surname) + "\r\n";
    report += formatText("Sex: %c\r\n\r\n", p.sex ? p.sex : ' ');
    struct Event {
        const char* mark;
        uint32_t dateFlag, placeFlag;
        DateValue date;
        Text place;
    };
    const Event events[] = {{"* ", Flag::hasBirthDate, Flag::hasBirthPlace, p.birthDate, p.birthPlace},
                            {"~ ", Flag::hasChrisDate, Flag::hasChrisPlace, p.chrisDate, p.chrisPlace},
                            {"+ ", Flag::hasDeathDate, Flag::hasDeathPlace, p.deathDate, p.deathPlace},
                            {"_ ", Flag::hasBurialDate, Flag::hasBurialPlace, p.burialDate, p.burialPlace}};
    for (const Event& e : events) {
        if (!(p.flags & (e.dateFlag | e.placeFlag)))
            continue;
        const DateText date = formatDate(e.date);
        report += std::string(e.mark) + (date.isNull() ? "" : date.get()) + " " + text(e.place) + " \r\n";
    }
    report += "\r\n";
    auto parent = [&](const char* role, int32_t who) {
        if (!db.isPerson(who))
            return;
        const PersonRecord& q = db.persons[who];
        report += std::string(role) + text(q.given) + " " + text(q.surname) + " " +
                  formatText("%d-%d\r\n", birthYear(q), deathYear(q));
    };
    for (const int32_t mrin : p.famc)
        if (db.isFamily(mrin)) {
            parent("Father:", db.families[mrin].husband);
            parent("Mother:", db.families[mrin].wife);
        }
    report += "\r\n";
    for (int i = 0; i < p.fams.count(); ++i) {
        const int32_t spouse = db.spouseOf(rin, i);
        if (!db.isPerson(spouse))
            continue;
        report += formatText("Spouse: (%d) ", db.marriageYearOf(rin, i)) + text(db.persons[spouse].given) + " " +
                  text(db.persons[spouse].surname) + " \r\n";
    }
    return report;
}

} // namespace kinmap
