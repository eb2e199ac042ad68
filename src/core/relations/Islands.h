// Islands: the groups of persons that family links (as husband, wife or
// child) connect, each person without links an island of its own. The
// Report tab lists them, largest first, sortable by column; picking an
// island makes its first person the current one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kinmap {

class Database;
class Workspace;

struct Island {
    int32_t firstPerson = 0; // the lowest RIN of the island
    int32_t persons = 0, families = 0;
};

// Every island of the database, in the order of their first persons.
// `progress` is told the percent of persons walked, now and then.
std::vector<Island> findIslands(const Database& db, const std::function<void(int percent)>& progress = {});

// The islands list: the table and its display order.
class IslandRows {
public:
    static constexpr int columnCount = 5;
    static const char* columnTitle(int column);
    static int columnShare(int column); // of 1024 parts of the width

    // A new table sorted by persons, largest islands first (reversed when
    // the direction kept from before is).
    void reset(std::vector<Island> islands);
    int rowCount() const { return static_cast<int>(order_.size()); }
    const Island* islandAt(int row) const;
    std::string cellText(const Database& db, int row, int column) const;
    // A new column sorts by it, largest numbers and greatest texts first;
    // the same column again reverses the order.
    void clickColumn(const Database& db, int column);
    int sortColumn() const { return sortColumn_; }
    int sortDirection() const { return sortDirection_; }
    // The row whose island's first person this is; 0 when none.
    int rowOfPerson(int32_t rin) const;

private:
    void sort(const Database& db);

    std::vector<Island> islands_;
    std::vector<int32_t> order_;
    int sortColumn_ = 0;
    int sortDirection_ = 1;
};

// Selects every person of the island in a row (for a partial export).
int selectIsland(Workspace& workspace, const IslandRows& islands, int row);
// The island file writer: a line per row in display order.
std::string islandListText(const Database& db, const IslandRows& islands);

} // namespace kinmap
