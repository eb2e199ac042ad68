// The Branches tab: every branch of one surname as a tree. For each topmost
// ancestor of the persons bearing the surname one branch, holding the
// ancestor's descendants down the line of the fathers, with their spouses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kinmap {

class Database;

struct BranchItem {
    std::string text;
    int level = 0;       // 0 the surname, 1 branch headings and counts, 2 and deeper the generations
    int32_t rin = 0;     // the person of the item; 0 for the surname, headings and counts
    int32_t spouse = 0;  // the spouse written beside the person, 0 for none
    bool heading = false;
};

class Branches {
public:
    // Builds the tree of the surname, compared byte for byte. An empty
    // surname gives no items.
    void build(const Database& db, const std::string& surname);

    // In tree order: each item's parent is the nearest item before it one
    // level up.
    const std::vector<BranchItem>& items() const { return items_; }
    int branchCount() const { return branchCount_; }
    // "1 branch", "%d branches", or "0 Branches (no surname)".
    std::string countText() const;
    // The first item of the person, else the first that names it as a
    // spouse; -1 when it has none.
    int itemOfPerson(int32_t rin) const;
    // One item a line, two blanks per level, each line ending "\n".
    std::string indentedText() const;

private:
    std::vector<BranchItem> items_;
    int branchCount_ = 0;
};

// The place of a branch heading: the part between the first and the second
// ',' or ')', or before the only one.
std::string branchPlace(const std::string& place);

} // namespace kinmap
