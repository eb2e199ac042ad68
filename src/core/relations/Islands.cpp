#include "relations/Islands.h"

#include "base/Format.h"
#include "base/Workspace.h"
#include "db/SortIds.h"
#include "db/TextCompare.h"
#include "query/Selection.h"

#include <algorithm>

namespace kinmap {

namespace {

constexpr const char* titles[IslandRows::columnCount] = {"Persons", "Families", "RIN", "Name", "(first person of island)"};
constexpr int shares[IslandRows::columnCount] = {100, 100, 100, 200, 524};

// The persons an island is made of, from one person on: through each of its
// families to the family's spouses and children. Calls visit for each.
template <class Visit>
void walkIsland(const Database& db, int32_t start, std::vector<bool>& personSeen, std::vector<bool>& familySeen,
                int32_t& families, Visit visit)
{
    std::vector<int32_t> stack{start}; // grows as far as the island needs
    while (!stack.empty()) {
        const int32_t rin = stack.back();
        stack.pop_back();
        // A link to a record that is not there counts as none.
        if (!db.isPerson(rin) || personSeen[static_cast<size_t>(rin)])
            continue;
        personSeen[static_cast<size_t>(rin)] = true;
        visit(rin);
        const PersonRecord& p = db.persons[rin];
        for (const IdList* list : {&p.famc, &p.fams})
            for (const int32_t mrin : *list) {
                if (!db.isFamily(mrin) || familySeen[static_cast<size_t>(mrin)])
                    continue;
                familySeen[static_cast<size_t>(mrin)] = true;
                ++families;
                const FamilyRecord& f = db.families[mrin];
                for (const int32_t member : {f.husband, f.wife})
                    if (db.isPerson(member) && !personSeen[static_cast<size_t>(member)])
                        stack.push_back(member);
                for (const int32_t child : f.children)
                    if (db.isPerson(child) && !personSeen[static_cast<size_t>(child)])
                        stack.push_back(child);
            }
    }
}

Text textOf(const Database& db, int32_t rin, bool given)
{
    if (!db.isPerson(rin))
        return nullptr;
    return given ? db.persons[rin].given : db.persons[rin].surname;
}

} // namespace

std::vector<Island> findIslands(const Database& db, const std::function<void(int percent)>& progress)
{
    std::vector<Island> islands;
    std::vector<bool> personSeen(static_cast<size_t>(db.highestRin) + 1), familySeen(static_cast<size_t>(db.highestMrin) + 1);
    const int32_t step = std::max(1, db.highestRin / 100);
    for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
        if (progress && rin % step == 0)
            progress(static_cast<int>(int64_t(rin) * 100 / db.highestRin));
        if (!db.isPerson(rin) || personSeen[static_cast<size_t>(rin)])
            continue;
        Island island;
        island.firstPerson = rin;
        walkIsland(db, rin, personSeen, familySeen, island.families, [&](int32_t) { ++island.persons; });
        islands.push_back(island);
    }
    return islands;
}

const char* IslandRows::columnTitle(int column)
{
    return titles[column];
}

int IslandRows::columnShare(int column)
{
    return shares[column];
}

void IslandRows::reset(std::vector<Island> islands)
{
    islands_ = std::move(islands);
    // Largest first, with the shared sort: a new run is sorted by persons
    // again, whatever column or direction was clicked before.
    sortColumn_ = 0;
    sortDirection_ = 1;
    order_ = sortedIndexes(islands_.size(), [this](int32_t a, int32_t b) {
        return islands_[static_cast<size_t>(a)].persons - islands_[static_cast<size_t>(b)].persons;
    });
}

const Island* IslandRows::islandAt(int row) const
{
    const int count = rowCount();
    if (row < 0 || row >= count)
        return nullptr;
    return &islands_[static_cast<size_t>(order_[static_cast<size_t>(sortDirection_ > 0 ? row : count - 1 - row)])];
}

std::string IslandRows::cellText(const Database& db, int row, int column) const
{
    const Island* island = islandAt(row);
    if (!island)
        return {};
    switch (column) {
    case 0:
        return formatText("%-6u", static_cast<unsigned>(island->persons));
    case 1:
        return formatText("%-6u", static_cast<unsigned>(island->families));
    case 2:
        return formatText("%-6u", static_cast<unsigned>(island->firstPerson));
    default: {
        const Text text = textOf(db, island->firstPerson, column == 4);
        return text ? text : "";
    }
    }
}

void IslandRows::sort(const Database& db)
{
    if (order_.empty())
        return;
    const int column = sortColumn_;
    sortIds(order_.data(), 0, static_cast<int>(order_.size()) - 1, column, [&](int32_t a, int32_t b, int32_t) -> int32_t {
        const Island& x = islands_[static_cast<size_t>(a)];
        const Island& y = islands_[static_cast<size_t>(b)];
        switch (column) {
        case 0:
            return x.persons - y.persons;
        case 1:
            return x.families - y.families;
        case 2:
            return x.firstPerson - y.firstPerson;
        default: {
            const Text tx = textOf(db, x.firstPerson, column == 4), ty = textOf(db, y.firstPerson, column == 4);
            return !tx || !ty || tx == ty ? 0 : compareFolded(tx, ty, 1000);
        }
        }
    });
}

void IslandRows::clickColumn(const Database& db, int column)
{
    if (column == sortColumn_) {
        sortDirection_ = -sortDirection_;
        return;
    }
    sortColumn_ = column;
    sortDirection_ = 1;
    sort(db);
}

int IslandRows::rowOfPerson(int32_t rin) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (islandAt(row)->firstPerson == rin)
            return row;
    return 0;
}

int selectIsland(Workspace& s, const IslandRows& islands, int row)
{
    const Island* island = islands.islandAt(row);
    if (!island)
        return 0;
    std::vector<bool> personSeen(static_cast<size_t>(s.db.highestRin) + 1), familySeen(static_cast<size_t>(s.db.highestMrin) + 1);
    int32_t families = 0, selected = 0;
    walkIsland(s.db, island->firstPerson, personSeen, familySeen, families, [&](int32_t rin) {
        markPerson(s, rin, true);
        ++selected;
    });
    s.db.rowsChanged();
    return selected;
}

std::string islandListText(const Database& db, const IslandRows& islands)
{
    std::string text = "Island\tPersons\tFamilies\tRIN\t(1st person)\r\n";
    for (int row = 0; row < islands.rowCount(); ++row) {
        const Island& island = *islands.islandAt(row);
        const Text given = textOf(db, island.firstPerson, true), surname = textOf(db, island.firstPerson, false);
        text += formatText("%5d\t%8d\t%8d\t%d\t", row + 1, island.persons, island.families, island.firstPerson) +
                (given ? given : "") + " " + (surname ? surname : "") + "\r\n";
    }
    return text;
}

} // namespace kinmap
