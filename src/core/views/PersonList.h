// The rows of the List and Selection tabs: the persons in RIN order and an
// order for every column, sorted by a background worker right after each
// build, so that a column click is a switch of arrays.
//
// The worker never touches the tables: it sorts a copy of what the columns
// compare (taken when the rows are built) and keeps the text pools' memory
// alive while it runs, so the tables may change, or an import may replace
// them, while it sorts. Only the orders it writes are waited for.
#pragma once

#include "db/Database.h"

#include <array>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace kinmap {

class PersonList {
public:
    static constexpr int columnCount = 9;
    static const char* columnTitle(int column);
    static int columnShare(int column); // of 1024 parts of the width

    explicit PersonList(Database& db) : db_(db) {}
    ~PersonList();
    PersonList(const PersonList&) = delete;
    PersonList& operator=(const PersonList&) = delete;

    // Called while waiting for the worker, so that the window keeps painting.
    std::function<void()> whileWaiting;

    // Rows of every existing person, or of the selected ones, in RIN order;
    // starts the worker that sorts them by every column.
    void build(bool selectedOnly);
    void invalidate() { valid_ = false; }
    bool isValid() const { return valid_ && builtRevision_ == db_.rowsRevision; }
    bool selectedOnly() const { return selectedOnly_; }
    int32_t builtHighestRin() const { return builtHighestRin_; }
    void forgetHighestRin() { builtHighestRin_ = 0; }

    int rowCount() const { return static_cast<int>(rows_.size()); }
    // The person shown in a row, in the current order and direction.
    int32_t rinAt(int row) const;
    // The person in a row of the surname order (the worker must be done).
    int32_t rinBySurname(int row) const;
    // The row of a person, or -1.
    int rowOf(int32_t rin) const;
    std::string cellText(int row, int column) const;
    // The person of a row as the columns see it now.
    struct Row;
    Row rowShown(int row) const;
    // What typing looks for in a column: the year without padding in the
    // year columns, the cell's text in the others.
    std::string typeAheadText(int row, int column) const;

    int sortColumn() const { return sortColumn_; }
    int sortDirection() const { return sortDirection_; }
    // A click on a column header: a new column shows its order, the same
    // column again reverses it.
    void clickColumn(int column);

    bool workerRunning() const;
    void waitForWorker();

    // What the columns show and compare of one person.
    struct Row {
        int32_t rin = 0;
        Text surname = nullptr, given = nullptr, birthPlace = nullptr, deathPlace = nullptr, marriagePlace = nullptr;
        int16_t birthYear = 0, deathYear = 0, marriageYear = 0;
        bool hasFamily = false;
        bool severalFamilies = false;
    };
    static Row rowOf(const Database& db, int32_t rin);
    // Positive when row a belongs before row b in a column's order (ties
    // after the name are broken by nameRank, the position in the surname
    // order, when given).
    static int32_t compareRows(const Row& a, const Row& b, int column, const std::vector<int32_t>* nameRank = nullptr);

private:
    void sortAll();

    Database& db_;
    bool valid_ = false;
    uint64_t builtRevision_ = 0;
    bool selectedOnly_ = false;
    int32_t builtHighestRin_ = 0;
    std::vector<Row> rows_;                                  // in RIN order
    std::array<std::vector<int32_t>, columnCount> orders_;   // indexes into rows_, by column
    std::shared_ptr<const void> keepTexts_;
    std::future<void> worker_;
    int sortColumn_ = 0;
    int sortDirection_ = 1;
};

// Type-ahead in a list: keys typed within 4 seconds of the first one form a
// text, and the row whose sorted column begins with it is looked for; in the
// surname column a comma goes on to the given names.
class TypeAhead {
public:
    static constexpr size_t maxLength = 99;
    static constexpr double sequenceSeconds = 4.0;

    // The row to select after the text c (one character, UTF-8) was typed at
    // time `now` (seconds), with `current` the current row.
    int key(const PersonList& list, int current, std::string_view c, double now);
    void clear() { running_ = false; }

private:
    bool running_ = false;
    double started_ = 0;
    std::string typed_, given_;
    bool givenActive_ = false;
};

} // namespace kinmap
