#include "views/Branches.h"

#include "base/Format.h"
#include "db/Database.h"

#include <cstring>

namespace kinmap {

namespace {

std::string personText(const PersonRecord& p, int32_t rin)
{
    return formatText("[%d] %s %s ", rin, orEmpty(p.given), orEmpty(p.surname));
}

bool hasPlace(const PersonRecord& p)
{
    return (p.birthPlace && *p.birthPlace) || (p.chrisPlace && *p.chrisPlace);
}

std::string placeOf(const PersonRecord& p)
{
    return p.birthPlace && *p.birthPlace ? p.birthPlace : orEmpty(p.chrisPlace);
}

class BranchBuilder {
public:
    BranchBuilder(const Database& db, std::vector<BranchItem>& items)
        : db_(db), items_(items), size_(static_cast<size_t>(db.highestRin) + 1), visited_(size_), climbMark_(size_),
          searchMark_(size_), writtenIn_(size_)
    {
    }

    int build(const std::string& surname)
    {
        items_.push_back({surname, 0});
        int branch = 0;
        for (int32_t rin = 1; rin <= db_.highestRin; ++rin) {
            const PersonRecord& p = db_.persons[rin];
            if (visited_[rin] || !p.exists() || !p.surname || surname != p.surname)
                continue;
            const int32_t top = topAncestor(rin);
            if (visited_[top])
                continue;
            ++branch;
            const std::string place = branchPlace(placeBelow(top, branch));
            const int year = db_.estimatedBirthYear(top);
            items_.push_back({place.empty() ? formatText("=== Branch %d === (%d)", branch, year)
                                            : formatText("=== Branch %d === (%s - %d)", branch, place.c_str(), year),
                              1, 0, 0, true});
            const int written = writeDescendants(top, branch);
            items_.push_back({formatText("( %d persons)", written), 1});
        }
        return branch;
    }

private:
    bool person(int32_t rin) const { return db_.isPerson(rin); }

    const FamilyRecord* family(int32_t mrin) const { return db_.isFamily(mrin) ? &db_.families[mrin] : nullptr; }

    // Up through the first parents' family, the father before the mother,
    // until nobody is above; a person met twice on the climb ends it.
    int32_t topAncestor(int32_t rin)
    {
        int32_t current = rin;
        climbMark_[current] = rin;
        for (;;) {
            int32_t next = db_.personOrNone(db_.fatherOf(current, 0));
            if (next == 0)
                next = db_.personOrNone(db_.motherOf(current, 0));
            if (next == 0 || climbMark_[next] == rin)
                return current;
            climbMark_[next] = rin;
            current = next;
        }
    }

    // The top ancestor's birth or christening place, else the first one of
    // its descendants, depth first; each person is looked at once.
    std::string placeBelow(int32_t top, int branch)
    {
        std::vector<int32_t> stack{top};
        searchMark_[top] = branch;
        while (!stack.empty()) {
            const int32_t rin = stack.back();
            stack.pop_back();
            const PersonRecord& p = db_.persons[rin];
            if (hasPlace(p))
                return placeOf(p);
            // Pushed in reverse so that the first family's first child comes next.
            for (int f = p.fams.count(); f-- > 0;) {
                const FamilyRecord* fam = family(p.fams[f]);
                if (!fam)
                    continue;
                for (int c = fam->children.count(); c-- > 0;) {
                    const int32_t child = fam->children[c];
                    if (person(child) && searchMark_[child] != branch) {
                        searchMark_[child] = branch;
                        stack.push_back(child);
                    }
                }
            }
        }
        return {};
    }

    bool hasChildren(const PersonRecord& p) const
    {
        for (const int32_t mrin : p.fams)
            if (const FamilyRecord* f = family(mrin); f && !f->children.empty())
                return true;
        return false;
    }

    // The person's families at `level`, each with the spouse beside it, and
    // below a father his children; each person once in a branch. Returns the
    // number of persons and spouses written.
    int writeDescendants(int32_t top, int branch)
    {
        struct Frame {
            int32_t rin;
            int level;
            int family = 0, child = 0;
            bool inChildren = false;
            int count = 1;
        };
        std::vector<Frame> stack;
        int total = 0;
        // A person without children is one item; the others get a frame.
        auto start = [&](int32_t rin, int level) {
            visited_[rin] = 1;
            writtenIn_[rin] = branch;
            const PersonRecord& p = db_.persons[rin];
            if (!hasChildren(p)) {
                items_.push_back({personText(p, rin), level, rin});
                return 1;
            }
            stack.push_back({rin, level});
            return 0;
        };
        auto finished = [&](int count) {
            if (stack.empty())
                total += count;
            else
                stack.back().count += count;
        };
        finished(start(top, 2));
        while (!stack.empty()) {
            Frame& f = stack.back();
            const PersonRecord& p = db_.persons[f.rin];
            if (f.family >= p.fams.count()) {
                const int count = f.count;
                stack.pop_back();
                finished(count);
                continue;
            }
            const FamilyRecord* fam = family(p.fams[f.family]);
            if (!fam) {
                ++f.family;
                continue;
            }
            if (!f.inChildren) {
                const int32_t partner = fam->husband == f.rin ? fam->wife : fam->husband;
                if (person(partner)) {
                    items_.push_back({personText(p, f.rin) + "& " + personText(db_.persons[partner], partner), f.level,
                                      f.rin, partner});
                    visited_[partner] = 1;
                    ++f.count;
                } else {
                    items_.push_back({personText(p, f.rin), f.level, f.rin});
                }
                // Children are written below their father only.
                f.inChildren = fam->husband == f.rin;
                f.child = 0;
                if (!f.inChildren)
                    ++f.family;
                continue;
            }
            if (f.child >= fam->children.count()) {
                f.inChildren = false;
                ++f.family;
                continue;
            }
            const int32_t child = fam->children[f.child++];
            if (person(child) && writtenIn_[child] != branch) {
                const int level = f.level + 1;
                const int count = start(child, level); // may move the frames
                if (count)
                    stack.back().count += count;
            }
        }
        return total;
    }

    const Database& db_;
    std::vector<BranchItem>& items_;
    size_t size_;
    std::vector<char> visited_;
    std::vector<int32_t> climbMark_, searchMark_, writtenIn_; // by RIN: the climb's start, the branch
};

} // namespace

std::string branchPlace(const std::string& place)
{
    const size_t first = place.find_first_of(",)");
    if (first == std::string::npos)
        return place;
    const size_t second = place.find_first_of(",)", first + 1);
    return second == std::string::npos ? place.substr(0, first) : place.substr(first + 1, second - first - 1);
}

void Branches::build(const Database& db, const std::string& surname)
{
    items_.clear();
    branchCount_ = 0;
    if (surname.empty())
        return;
    branchCount_ = BranchBuilder(db, items_).build(surname);
}

std::string Branches::countText() const
{
    if (items_.empty())
        return "0 Branches (no surname)";
    return branchCount_ == 1 ? "1 branch" : formatText("%d branches", branchCount_);
}

int Branches::itemOfPerson(int32_t rin) const
{
    if (rin <= 0)
        return -1;
    int asSpouse = -1;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].rin == rin)
            return static_cast<int>(i);
        if (asSpouse < 0 && items_[i].spouse == rin)
            asSpouse = static_cast<int>(i);
    }
    return asSpouse;
}

std::string Branches::indentedText() const
{
    std::string text;
    for (const BranchItem& item : items_)
        text += std::string(static_cast<size_t>(item.level) * 2, ' ') + item.text + "\n";
    return text;
}

} // namespace kinmap
