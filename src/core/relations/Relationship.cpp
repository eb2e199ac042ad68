#include "relations/Relationship.h"

#include "base/Format.h"
#include "base/Workspace.h"

#include <algorithm>
#include <cstdlib>

namespace kinmap {

namespace {

constexpr const char* words[] = {"?", "Husband", "Wife", "Father", "Mother", "Son", "Daugther", "Brother", "Sister"};
constexpr const char* separatorLine = "- - - - - - - - - - - - - - - - - - - - - - \r\n";

bool isMale(const PersonRecord& p)
{
    return p.sex == 'M' || p.sex == 'm';
}

bool isFemale(const PersonRecord& p)
{
    return p.sex == 'F' || p.sex == 'f';
}

// A link to a family or person that is not there counts as none.
const FamilyRecord* familyOf(const Database& db, int32_t mrin)
{
    return db.isFamily(mrin) ? &db.families[mrin] : nullptr;
}

bool isChildIn(const Database& db, int32_t rin, const IdList& families)
{
    for (const int32_t mrin : families)
        if (const FamilyRecord* f = familyOf(db, mrin); f && f->children.contains(rin))
            return true;
    return false;
}

// "RIN given surname year (place)": the part of a line after the relation.
std::string personPart(const Database& db, int32_t rin)
{
    const PersonRecord& p = db.persons[rin];
    return formatText("%s %s %d (%s)", orEmpty(p.given), orEmpty(p.surname), birthYear(p), orEmpty(p.birthPlace));
}

// ---- the kinship in words ----------------------------------------------------

enum class Sex { male, female, unknown };

const char* bySex(Sex sex, const char* male, const char* female, const char* unknown)
{
    return sex == Sex::male ? male : sex == Sex::female ? female : unknown;
}

std::string greats(int count)
{
    if (count <= 0)
        return {};
    if (count > 3)
        return formatText("%dx great-", count);
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "great-";
    return text;
}

std::string ordinal(int n)
{
    static const char* const names[] = {"", "first", "second", "third", "fourth", "fifth", "sixth", "seventh", "eighth", "ninth", "tenth"};
    if (n <= 10)
        return names[n];
    const char* suffix = (n % 100 >= 11 && n % 100 <= 13) ? "th" : n % 10 == 1 ? "st" : n % 10 == 2 ? "nd" : n % 10 == 3 ? "rd" : "th";
    return formatText("%d%s", n, suffix);
}

// What a person `up` generations above and `down` below the common
// ancestor of another is to that other.
std::string bloodTerm(int up, int down, Sex sex, bool half)
{
    const std::string halfPrefix = half ? "half-" : "";
    if (down == 0) {
        const char* parent = bySex(sex, "father", "mother", "parent");
        return up == 1 ? parent : greats(up - 2) + "grand" + parent;
    }
    if (up == 0) {
        const char* child = bySex(sex, "son", "daughter", "child");
        return down == 1 ? child : greats(down - 2) + "grand" + child;
    }
    if (up == 1 && down == 1)
        return halfPrefix + bySex(sex, "brother", "sister", "sibling");
    if (up == 1)
        return halfPrefix + greats(down - 2) + bySex(sex, "nephew", "niece", "nephew or niece");
    if (down == 1)
        return halfPrefix + greats(up - 2) + bySex(sex, "uncle", "aunt", "uncle or aunt");
    std::string term = halfPrefix + ordinal(std::min(up, down) - 1) + " cousin";
    const int removed = std::abs(up - down);
    if (removed == 1)
        term += " once removed";
    else if (removed == 2)
        term += " twice removed";
    else if (removed > 2)
        term += formatText(" %d times removed", removed);
    return term;
}

// A stretch of the chain without a marriage, as seen from its first person.
struct BloodPath {
    int up = 0, down = 0;
    bool half = false;
    bool plain = true; // only ups, then only downs
};

// The term for persons related through one marriage: `before` leads from
// the first person to one spouse, `after` from the other spouse on.
std::string marriageTerm(const BloodPath& before, const BloodPath& after, Sex sex)
{
    const bool beforeEmpty = before.up == 0 && before.down == 0;
    const bool afterEmpty = after.up == 0 && after.down == 0;
    if (beforeEmpty && afterEmpty)
        return bySex(sex, "husband", "wife", "spouse");
    if (beforeEmpty) { // a relative of the spouse
        const std::string term = bloodTerm(after.up, after.down, sex, after.half);
        if (after.down == 0 || (after.up == 1 && after.down == 1))
            return term + "-in-law";
        if (after.up == 0)
            return "step" + term;
        return term + " by marriage";
    }
    if (afterEmpty) { // the spouse of a relative
        if (before.up == 1 && before.down == 1)
            return std::string(bySex(sex, "brother", "sister", "sibling")) + "-in-law";
        if (before.up == 0)
            return bloodTerm(0, before.down, sex, false) + "-in-law";
        if (before.down == 0)
            return (before.up == 1 ? "step" : "step-") + bloodTerm(before.up, 0, sex, false);
        return bloodTerm(before.up, before.down, sex, before.half) + " by marriage";
    }
    return {};
}

std::string fullName(const Database& db, int32_t rin)
{
    const PersonRecord& p = db.persons[rin];
    std::string name = orEmpty(p.given);
    if (p.surname && *p.surname) {
        if (!name.empty())
            name += ' ';
        name += p.surname;
    }
    return name.empty() ? formatText("RIN %d", rin) : name;
}

bool isUnique(const std::string& term)
{
    for (const char* word : {"father", "mother", "parent", "husband", "wife", "spouse"})
        if (term.rfind(word, 0) == 0)
            return true;
    return false;
}

// Whether the persons below and above an ancestor on the chain descend
// from it through different families (half relatives).
bool throughDifferentFamilies(const Database& db, int32_t ancestor, int32_t below, int32_t above)
{
    for (const int32_t mrin : db.persons[ancestor].fams)
        if (const FamilyRecord* f = familyOf(db, mrin); f && f->children.contains(below))
            return !f->children.contains(above);
    return true;
}

} // namespace

const char* relationWord(int relation)
{
    return relation >= 0 && relation <= sister ? words[relation] : words[0];
}

Relation relationOf(const Database& db, int32_t x, int32_t y)
{
    if (!db.isPerson(x) || !db.isPerson(y))
        return unrelated;
    const PersonRecord& px = db.persons[x];
    const PersonRecord& py = db.persons[y];
    const bool male = isMale(px);
    for (const int32_t mrin : px.fams) {
        const FamilyRecord* f = familyOf(db, mrin);
        if (!f)
            continue;
        if (py.fams.contains(mrin))
            return f->husband == x ? husband : f->wife == x ? wife : male ? brother : sister;
        if (f->children.contains(y))
            return male ? father : mother;
    }
    if (px.famc.empty())
        return isChildIn(db, x, py.fams) ? (male ? son : daughter) : unrelated;
    for (const int32_t mrin : px.famc) {
        const FamilyRecord* f = familyOf(db, mrin);
        if (f && (py.famc.contains(mrin) || f->children.contains(y)))
            return male ? brother : sister;
    }
    return isChildIn(db, x, py.fams) ? (male ? son : daughter) : unrelated;
}

std::vector<int32_t> relationshipChain(const Database& db, int32_t from, int32_t to)
{
    if (!db.isPerson(from) || !db.isPerson(to))
        return {};
    const size_t size = static_cast<size_t>(db.highestRin) + 1;
    std::vector<int32_t> queue, predecessor(size, 0);
    std::vector<bool> reached(size, false);
    queue.reserve(size);
    queue.push_back(from);
    reached[static_cast<size_t>(from)] = true;
    auto visit = [&](int32_t rin, int32_t via) {
        if (!db.isPerson(rin) || reached[static_cast<size_t>(rin)])
            return;
        reached[static_cast<size_t>(rin)] = true;
        predecessor[static_cast<size_t>(rin)] = via;
        queue.push_back(rin);
    };
    for (size_t next = 0; next < queue.size(); ++next) {
        const int32_t x = queue[next];
        if (x == to) {
            std::vector<int32_t> chain{to};
            for (int32_t p = to; p != from;)
                chain.push_back(p = predecessor[static_cast<size_t>(p)]);
            return chain;
        }
        const PersonRecord& p = db.persons[x];
        for (const int32_t mrin : p.famc)
            if (const FamilyRecord* f = familyOf(db, mrin)) {
                visit(f->husband, x);
                visit(f->wife, x);
                for (const int32_t child : f->children)
                    visit(child, x);
            }
        for (const int32_t mrin : p.fams)
            if (const FamilyRecord* f = familyOf(db, mrin)) {
                visit(isFemale(p) ? f->husband : f->wife, x);
                for (const int32_t child : f->children)
                    visit(child, x);
            }
    }
    return {};
}

std::string kinshipSentence(const Database& db, const std::vector<int32_t>& chain)
{
    if (chain.size() < 2)
        return {};
    // Walk from the first person of the chain to the last, step by step.
    std::vector<BloodPath> paths(1);
    bool known = true;
    for (size_t i = 0; i + 1 < chain.size() && known; ++i) {
        BloodPath& path = paths.back();
        switch (relationOf(db, chain[i + 1], chain[i])) {
        case husband:
        case wife:
            paths.emplace_back();
            break;
        case father:
        case mother:
            path.plain = path.plain && path.down == 0;
            ++path.up;
            break;
        case son:
        case daughter:
            // Up to an ancestor and down again: two children of one person.
            if (path.down == 0 && path.up > 0 && i > 0)
                path.half = throughDifferentFamilies(db, chain[i], chain[i - 1], chain[i + 1]);
            ++path.down;
            break;
        case brother:
        case sister:
            path.plain = path.plain && path.down == 0;
            ++path.up;
            ++path.down;
            break;
        default:
            known = false;
        }
    }
    const PersonRecord& last = db.persons[chain.back()];
    const Sex sex = isMale(last) ? Sex::male : isFemale(last) ? Sex::female : Sex::unknown;
    std::string term;
    if (known && std::all_of(paths.begin(), paths.end(), [](const BloodPath& p) { return p.plain; })) {
        if (paths.size() == 1)
            term = bloodTerm(paths[0].up, paths[0].down, sex, paths[0].half);
        else if (paths.size() == 2)
            term = marriageTerm(paths[0], paths[1], sex);
    }
    const std::string a = fullName(db, chain.back()), b = fullName(db, chain.front());
    if (term.empty())
        return paths.size() > 1 ? a + " is related by marriage to " + b + "."
                                : formatText("%s and %s are related through %d links.", a.c_str(), b.c_str(),
                                             static_cast<int>(chain.size()) - 1);
    const char* article = isUnique(term) ? "the" : std::string("aeiou").find(term[0]) != std::string::npos ? "an" : "a";
    return a + " is " + article + " " + term + " of " + b + ".";
}

std::string relationshipReport(const Database& db, int32_t from, int32_t to)
{
    const std::vector<int32_t> chain = relationshipChain(db, from, to);
    if (chain.empty()) {
        const PersonRecord& a = db.persons[from];
        const PersonRecord& b = db.persons[to];
        return formatText("[%d] %s %s and [%d] %s %s are in different islands!\r\n", from, orEmpty(a.given),
                          orEmpty(a.surname), to, orEmpty(b.given), orEmpty(b.surname));
    }
    std::string text = formatText("%6d \t%s \r\n", to, personPart(db, to).c_str());
    for (size_t i = 1; i < chain.size(); ++i) {
        const int relation = relationOf(db, chain[i], chain[i - 1]);
        if (relation < father)
            text += separatorLine;
        text += formatText("%6d %s: %s\r\n", chain[i], relationWord(relation), personPart(db, chain[i]).c_str());
    }
    const std::string sentence = kinshipSentence(db, chain);
    if (!sentence.empty())
        text += "\r\n" + sentence + "\r\n";
    return text;
}

} // namespace kinmap
