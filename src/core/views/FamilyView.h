// The Family tab: the current person in the middle of its closest family,
// with the spouse of its current marriage, the father and mother of its
// current parents' family and the children of the current marriage. This
// is what the tab shows; the window lays it out and routes its clicks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kinmap {

class Database;

// What an empty place stands for.
enum FamilyPlace : int32_t { emptyFather = -1, emptyMother = -2, emptySpouse = -3 };

struct FamilyBox {
    int32_t id = 0;   // the person's RIN, or an empty place
    std::string text; // three lines joined by "\r\n"; empty for an empty place
};

struct FamilyChild {
    int32_t rin = 0;
    std::string text; // "%d  name\t*date\t+date\t.." with tabs between the columns
};

struct FamilyPicture {
    FamilyBox person, spouse, father, mother;
    int32_t family = 0;        // the marriage shown, 0 for none
    int32_t parentsFamily = 0; // the parents' family shown, 0 for none
    std::string marriageText;  // the marriage button
    bool moreParents = false;  // "Weitere Eltern" is offered
    std::vector<FamilyChild> children;
};

// The picture of rin; the two indexes (of the marriage and of the parents'
// family shown) are moved into range first. A RIN or MRIN that is no record
// counts as absent.
FamilyPicture familyPicture(const Database& db, int32_t rin, int& familyIndex, int& parentsIndex);

// The text of a person's box: name, then birth (or christening) date and
// place, then death (or burial) date and place.
std::string familyBoxText(const Database& db, int32_t rin);

} // namespace kinmap
