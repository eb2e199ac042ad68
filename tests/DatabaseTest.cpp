#include "db/Database.h"
#include "db/SortIds.h"
#include "db/TextCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace kinmap {
namespace {

std::vector<int32_t> entries(const IdList& list)
{
    return {list.begin(), list.end()};
}

TEST(IdList, HoldsAsManyEntriesAsTheFileNeeds)
{
    IdList list;
    for (int i = 1; i <= 300; ++i)
        ASSERT_TRUE(list.append(i));
    EXPECT_EQ(list.count(), 300);
    EXPECT_TRUE(list.contains(300));
    std::vector<int32_t> expected(300);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(entries(list), expected);
}

TEST(IdList, RemovesEveryCopyOneCopyOrOneEntryAndCopiesAreIndependent)
{
    for (const std::vector<int32_t>& start : {std::vector<int32_t>{5, 7}, std::vector<int32_t>{5, 7, 7, 9, 7}}) {
        IdList list;
        for (int32_t v : start)
            list.append(v);
        IdList copy = list, moved = list, assigned;
        assigned = list;
        list.removeValue(7);
        const std::vector<int32_t> without7 = start.size() == 2 ? std::vector<int32_t>{5} : std::vector<int32_t>{5, 9};
        EXPECT_EQ(entries(list), without7);
        copy.removeOneCopy(7);
        copy.removeOneCopy(42);
        std::vector<int32_t> oneLess = start;
        oneLess.erase(std::find(oneLess.begin(), oneLess.end(), 7));
        EXPECT_EQ(entries(copy), oneLess);
        assigned.removeAt(0);
        EXPECT_EQ(entries(assigned), std::vector<int32_t>(start.begin() + 1, start.end()));
        IdList taken = std::move(moved);
        taken.append(11);
        EXPECT_EQ(entries(taken).back(), 11);
        EXPECT_EQ(taken.count(), static_cast<int>(start.size()) + 1);
    }
}

TEST(TextStore, StoresEachTextOnceAcrossPools)
{
    TextStore store;
    const char* smith = store.internText(surnamePool, "  Smith\r\n");
    EXPECT_STREQ(smith, "Smith");
    const size_t used = store.usedBytes(surnamePool);
    EXPECT_EQ(store.internText(surnamePool, "Smith"), smith);
    EXPECT_EQ(store.usedBytes(surnamePool), used);
    // Found through the shared hash table, not stored in the place pool.
    EXPECT_EQ(store.internText(placePool, "Smith"), smith);
    EXPECT_EQ(store.usedBytes(placePool), 0u);
    // Nothing left after the skipped bytes gives the shared empty text;
    // leading bytes below '(' are skipped, '(' itself is kept.
    for (const char* empty : {"", "    ", " \r\n", "!\"#$%&'"})
        EXPECT_EQ(store.internText(givenPool, empty), emptyText) << empty;
    EXPECT_STREQ(store.internText(givenPool, "\"!#$%&'(Anna)"), "(Anna)");
    EXPECT_STREQ(store.internText(givenPool, "Anna\nBerta"), "Anna");
    EXPECT_STREQ(store.internText(placePool, "Łódź"), "Łódź");
}

TEST(TextStore, AColliderIsReusedOnlyWhileItIsTheMostRecentText)
{
    // Two texts that fall into one hash slot.
    std::vector<std::string> bySlot(TextStore::hashSlots);
    std::string first, second;
    for (int i = 0; second.empty(); ++i) {
        std::string text = "N";
        text += std::to_string(i);
        std::string& seen = bySlot[murmurHash3(text.data(), text.size(), TextStore::hashSeed) & 0x7FFF];
        if (!seen.empty()) {
            first = seen;
            second = text;
        }
        seen = text;
    }
    TextStore store;
    const char* a = store.internText(placePool, first);
    const char* b = store.internText(placePool, second);
    EXPECT_NE(a, b);
    EXPECT_EQ(store.internText(placePool, second), b); // still the most recent
    EXPECT_EQ(store.internText(placePool, first), a);  // holds the slot
    store.internText(placePool, "another text");
    const char* again = store.internText(placePool, second);
    EXPECT_NE(again, b); // stored a second time
    EXPECT_STREQ(again, second.c_str());
}

TEST(TextArena, FillsABlockExactlyThenStartsAnotherWithoutMovingAnyText)
{
    TextArena arena;
    // Texts of 99 bytes and their terminators fill the first block exactly.
    const size_t perText = 100, fitting = TextArena::firstBlockSize / perText;
    std::vector<const char*> stored;
    std::string last;
    for (size_t i = 0; i < fitting; ++i) {
        std::string text(perText - 1, static_cast<char>('a' + i % 26));
        text.replace(0, std::to_string(i).size(), std::to_string(i));
        stored.push_back(arena.store(text));
        last = text;
    }
    const size_t rest = TextArena::firstBlockSize - fitting * perText;
    stored.push_back(arena.store(std::string(rest - 1, 'r'))); // exactly the room left
    EXPECT_EQ(arena.blockCount(), 1u);
    const char* next = arena.store("x");
    EXPECT_EQ(arena.blockCount(), 2u);
    EXPECT_STREQ(next, "x");
    EXPECT_EQ(std::string(stored[fitting - 1]), last);
    EXPECT_EQ(std::string(stored.back()), std::string(rest - 1, 'r'));
    // A text larger than any block gets a block of its own.
    const std::string huge(TextArena::largestBlockSize + 10, 'h');
    EXPECT_EQ(std::string(arena.store(huge)), huge);
    EXPECT_EQ(arena.usedBytes(), TextArena::firstBlockSize + 2 + huge.size() + 1);
}

TEST(CompareFolded, FoldsCaseAndAccentsOfEveryScript)
{
    struct Case {
        const char* a;
        const char* b;
        int n;
        int sign; // of the result
    };
    const Case cases[] = {
        {"Müller", "muller", 1000, 0},
        {"ÉMILE", "emile", 1000, 0},
        {"Straße", "strase", 1000, 0},
        {"Łódź", "lodz", 1000, 0},
        {"ŘEHOŘ", "rehor", 1000, 0},
        {"Жуков", "жуков", 1000, 0},
        {"Ab", "Abc", 1000, -1},
        {"Smythe", "Smith", 1000, 1},
        {"Smith", "Smythe", 2, 0},
        {"Ärger", "AR", 2, 0},    // n counts characters, not bytes
        {"Меншиков", "МЕН", 3, 0}, // an upper-case prefix
        {"Меншиков", "мех", 3, -1},
        {"Ø", "o", 1000, -1},     // Ø is the digit 0 among Latin-1 letters
        {"Zeta", "Ζήτα", 1000, -1}, // Greek after Latin
    };
    for (const Case& c : cases) {
        const int32_t result = compareFolded(c.a, c.b, c.n);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " / " << c.b << " / " << c.n;
    }
    EXPECT_EQ(compareFolded(nullptr, "", 1000), 0);
}

TEST(StartsWithIgnoringCase, MatchesPrefixesInEveryScript)
{
    EXPECT_TRUE(startsWithIgnoringCase("Меншиков", "мен"));
    EXPECT_TRUE(startsWithIgnoringCase("Меншиков", "МЕН"));
    EXPECT_TRUE(startsWithIgnoringCase("ÅSA", "åsa"));
    EXPECT_TRUE(startsWithIgnoringCase("anything", ""));
    EXPECT_FALSE(startsWithIgnoringCase("Mensch", "Мен"));
    EXPECT_FALSE(startsWithIgnoringCase("Asa", "åsa")); // accents count
    EXPECT_FALSE(startsWithIgnoringCase("Me", "Mei"));
}

int32_t smallerFirst(int32_t x, int32_t y, int32_t key)
{
    return key == 0 ? y - x : (y / key) - (x / key); // positive: x belongs before y
}

TEST(SortIds, OrdersByTheComparatorKeepingEveryEntry)
{
    std::mt19937 random(7);
    for (int size : {0, 1, 2, 3, 10, 1000}) {
        for (int32_t key : {0, 10}) {
            std::vector<int32_t> v(static_cast<size_t>(size));
            for (auto& x : v)
                x = static_cast<int32_t>(random() % 50);
            std::vector<int32_t> expected = v;
            if (size > 0)
                sortIds(v.data(), 0, size - 1, key, smallerFirst);
            for (size_t i = 1; i < v.size(); ++i)
                ASSERT_GE(smallerFirst(v[i - 1], v[i], key), 0) << size << " " << i;
            std::sort(v.begin(), v.end());
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(v, expected);
        }
    }
    // Only the given range, and a presorted full table without deep recursion.
    std::vector<int32_t> v{9, 5, 2, 8, 1, 0};
    sortIds(v.data(), 1, 4, 0, smallerFirst);
    EXPECT_EQ(v, (std::vector<int32_t>{9, 1, 2, 5, 8, 0}));
    std::vector<int32_t> big(250000), sorted(250000);
    std::iota(sorted.begin(), sorted.end(), 1);
    big = sorted;
    sortIds(big.data(), 0, static_cast<int>(big.size()) - 1, 0, smallerFirst);
    EXPECT_EQ(big, sorted);
    sortIds(big.data(), 0, static_cast<int>(big.size()) - 1, 1000000, smallerFirst); // all equal
    std::sort(big.begin(), big.end());
    EXPECT_EQ(big, sorted);
}

class DatabaseHelpers : public ::testing::Test {
protected:
    int32_t person(int born = 0, unsigned char sex = 'M')
    {
        const int32_t rin = db.addPerson();
        db.persons[rin].birthDate = makeDate(born);
        db.persons[rin].sex = sex;
        return rin;
    }
    int32_t family(int32_t husband, int32_t wife, int married = 0)
    {
        const int32_t mrin = db.addFamily();
        FamilyRecord& f = db.families[mrin];
        f.husband = husband;
        f.wife = wife;
        f.marrDate = makeDate(married);
        if (husband)
            db.appendLink(db.persons[husband].fams, mrin);
        if (wife)
            db.appendLink(db.persons[wife].fams, mrin);
        return mrin;
    }
    void child(int32_t mrin, int32_t rin)
    {
        db.appendLink(db.families[mrin].children, rin);
        db.appendLink(db.persons[rin].famc, mrin);
    }
    Database db;
};

TEST_F(DatabaseHelpers, FindRelativesAndTheirYears)
{
    const int32_t father = person(1800), mother = person(1805, 'F'), son = person(1830);
    const int32_t parents = family(father, mother, 1825);
    child(parents, son);
    EXPECT_EQ(db.fatherOf(son, 0), father);
    EXPECT_EQ(db.motherOf(son, 0), mother);
    EXPECT_EQ(db.fatherOf(son, 1), 0);
    EXPECT_EQ(db.fatherOf(-1, 0), 0);
    EXPECT_EQ(db.spouseOf(mother, 0), father);
    for (const unsigned char sex : {static_cast<unsigned char>('M'), static_cast<unsigned char>('U'), static_cast<unsigned char>(0)}) {
        db.persons[father].sex = sex;
        EXPECT_EQ(db.spouseOf(father, 0), mother) << sex;
    }
    EXPECT_EQ(db.marriageYearOf(father, 0), 1825);
    EXPECT_EQ(db.marriageYearOf(father, 1), 0);
    EXPECT_EQ(db.marriageYearOf(son, 0), 0);
    EXPECT_EQ(db.personXref(son), "@I3@");
    EXPECT_EQ(db.familyXref(parents), "@F1@");
}

TEST_F(DatabaseHelpers, EstimatedBirthYearTakesTheFirstRuleThatGivesAYear)
{
    const int32_t married = person(), wife = person(0, 'F');
    family(married, wife, 1850);
    EXPECT_EQ(db.estimatedBirthYear(married), 1830);

    const int32_t parent = person(), other = person(0, 'F'), kid = person(1860);
    child(family(parent, other), kid);
    EXPECT_EQ(db.estimatedBirthYear(parent), 1835);

    const int32_t dad = person(1800), orphan = person();
    child(family(dad, 0), orphan);
    EXPECT_EQ(db.estimatedBirthYear(orphan), 1820);

    const int32_t chris = person();
    db.persons[chris].chrisDate = makeDate(1777);
    EXPECT_EQ(db.estimatedBirthYear(chris), 1777);
    EXPECT_EQ(db.estimatedBirthYear(person()), 0);

    // A family whose first child gives nothing is passed over for the next.
    const int32_t twice = person(), first = person(0, 'F'), second = person(0, 'F');
    child(family(twice, first), person());
    child(family(twice, second), person(1862));
    EXPECT_EQ(db.estimatedBirthYear(twice), 1837);

    // A spouse's year is taken unchanged.
    const int32_t husband = person(), spouse = person(1790, 'F');
    family(husband, spouse);
    EXPECT_EQ(db.estimatedBirthYear(husband), 1790);

    // A person who is his own child ends the descent.
    const int32_t a = person(), b = person(0, 'F');
    child(family(a, b), a);
    EXPECT_EQ(db.estimatedBirthYear(a), 0);
}

TEST_F(DatabaseHelpers, AddedRecordsGrowTheTables)
{
    for (int i = 0; i < 1200; ++i)
        person(1900);
    for (int i = 0; i < 450; ++i)
        family(0, 0);
    EXPECT_EQ(db.highestRin, 1200);
    EXPECT_EQ(db.highestMrin, 450);
    EXPECT_TRUE(db.isPerson(1200));
    EXPECT_TRUE(db.isFamily(450));
    EXPECT_EQ(db.persons[1200].flags, Flag::exists | Flag::changed);
    EXPECT_EQ(yearOf(db.persons[1200].birthDate), 1900);
}

} // namespace
} // namespace kinmap
