// SEARCH RIN: the persons of the last list build in surname order, found by
// a RIN or by "surname, given names" as typed, with a short report of the
// person picked.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kinmap {

class Database;
class PersonList;

struct PersonSearch {
    static constexpr int columnCount = 3; // RIN, Name, Date
    static const char* columnTitle(int column);

    // The rows: the persons of the List or Selection built last.
    static int rowCount(PersonList& list);
    static int32_t rinAt(PersonList& list, int row);
    static std::string cellText(const Database& db, PersonList& list, int row, int column);
    // The row a typed text names (a RIN; or a surname beginning, with a
    // comma the surname and a given-name beginning); -1 for none.
    static int find(const Database& db, PersonList& list, std::string_view text);
};

// The short report of a person: names, sex, events, parents, spouses.
std::string personReport(const Database& db, int32_t rin);

} // namespace kinmap
