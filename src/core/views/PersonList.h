// The rows of the List and Selection tabs: the persons in RIN order and five
// orders by the text columns, presorted by a background worker right after
// each build so that a column click is a switch of arrays.
//
// The worker reads the person and family tables and writes the presorted
// arrays; while it runs (the database's sortIdle is 0) the window may read
// cell texts but must not change the tables or use those arrays. Every
// operation here that needs them first waits for the worker.
#pragma once

#include "db/Database.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kinmap {

class PersonList {
public:
    static constexpr int columnCount = 9;
    static const char* const columnTitles[columnCount];
    static const int columnShares[columnCount]; // of 1024 parts of the width

    explicit PersonList(Database& db) : db_(db) {}
    ~PersonList();
    PersonList(const PersonList&) = delete;
    PersonList& operator=(const PersonList&) = delete;

    // Called while waiting for the worker, so that the window keeps painting.
    std::function<void()> whileWaiting;

    // Rows of every existing person, or of the selected ones, in RIN order;
    // starts the worker that presorts them.
    void build(bool selectedOnly);
    void invalidate() { valid_ = false; }
    bool isValid() const { return valid_; }
    bool selectedOnly() const { return selectedOnly_; }
    int32_t builtHighestRin() const { return builtHighestRin_; }
    void forgetHighestRin() { builtHighestRin_ = 0; }

    int rowCount() const { return static_cast<int>(base_.size()); }
    // The person shown in a row, in the current order and direction.
    int32_t rinAt(int row) const;
    // The row of a person, or -1.
    int rowOf(int32_t rin) const;
    std::string cellText(int row, int column) const;

    int sortColumn() const { return sortColumn_; }
    int sortDirection() const { return sortDirection_; }
    // A click on a column header: a new column shows its order, the same
    // column again reverses it.
    void clickColumn(int column);

    bool workerRunning() const { return db_.sortIdle.load() == 0; }
    void waitForWorker();

private:
    void sortWorker();
    void sortSpareByYears(int key);
    const std::vector<int32_t>& orderOf(int column) const;

    Database& db_;
    bool valid_ = false;
    bool selectedOnly_ = false;
    int32_t builtHighestRin_ = 0;
    std::vector<int32_t> base_;
    std::array<std::vector<int32_t>, 5> presorted_; // by the keys 1, 2, 4, 6, 8
    std::vector<int32_t> spare_;                     // sorted by key 3, 5 or 7 on demand
    int spareKey_ = 0;
    int sortColumn_ = 0;
    int sortDirection_ = 1;
    std::thread worker_;
};

// The sort keys of the list (1 to 8, one per text or year column): positive
// when person a belongs before person b.
int32_t comparePersons(const Database& db, int32_t a, int32_t b, int32_t key);

// Type-ahead in a list: keys typed within 4 seconds of the first one form a
// text, and the row whose sorted column begins with it is looked for; in the
// surname column a comma goes on to the given names.
class TypeAhead {
public:
    static constexpr size_t maxLength = 99;
    static constexpr double sequenceSeconds = 4.0;

    // The row to select after key c was typed at time `now` (seconds), with
    // `current` the current row.
    int key(const PersonList& list, const Database& db, int current, char c, double now);
    void clear() { running_ = false; }

private:
    bool running_ = false;
    double started_ = 0;
    std::string typed_, given_;
    bool givenActive_ = false;
};

} // namespace kinmap
