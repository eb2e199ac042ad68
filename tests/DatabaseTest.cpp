#include "db/Database.h"
#include "db/SortIds.h"
#include "db/TextCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace kinmap {
namespace {

std::vector<int32_t> entries(const IdList& list)
{
    return {list.begin(), list.end()};
}

TEST(IdList, GrowsOneSlotAtATimeUpTo127Entries)
{
    IdList list;
    EXPECT_EQ(list.begin(), nullptr);
    for (int i = 1; i <= 127; ++i) {
        EXPECT_EQ(list.append(i), IdList::AppendResult::appended);
        EXPECT_EQ(list.capacity(), i);
    }
    EXPECT_EQ(list.append(128), IdList::AppendResult::listFull);
    EXPECT_EQ(list.count(), 127);
    EXPECT_FALSE(list.contains(128));
    EXPECT_TRUE(list.contains(127));
}

TEST(IdList, RemovesEveryCopyOrOneCopyKeepingTheOrder)
{
    IdList list;
    for (int v : {5, 7, 7, 9, 7})
        list.append(v);
    IdList copy = list;
    list.removeValue(7);
    EXPECT_EQ(entries(list), (std::vector<int32_t>{5, 9}));
    copy.removeOneCopy(7);
    EXPECT_EQ(entries(copy), (std::vector<int32_t>{5, 7, 9, 7}));
    copy.removeOneCopy(42);
    EXPECT_EQ(copy.count(), 4);
}

TEST(CompareFolded, FoldsCaseAndAccents)
{
    EXPECT_EQ(compareFolded("M\xFCller", "muller", 1000), 0);
    EXPECT_EQ(compareFolded("\xC9MILE", "emile", 1000), 0);
    EXPECT_NE(compareFolded("Ab", "Abc", 1000), 0);
    EXPECT_LT(compareFolded("Ab", "Abc", 1000), 0);
    EXPECT_EQ(compareFolded("Smith", "Smythe", 2), 0);
    EXPECT_GT(compareFolded("Smythe", "Smith", 1000), 0);
    EXPECT_EQ(compareFolded(nullptr, "", 1000), 0);
    // The special foldings: Ø is the digit 0 (not a folded digit), ß is s.
    EXPECT_EQ(compareFolded("\xD8", "0", 1000), '0' - ('0' + 32));
    EXPECT_EQ(compareFolded("Stra\xDF" "e", "strase", 1000), 0);
}

int32_t smallerFirst(int32_t x, int32_t y, int32_t key)
{
    return key == 0 ? y - x : (y / key) - (x / key); // positive: x belongs before y
}

bool inOrder(const std::vector<int32_t>& v, int32_t key)
{
    for (size_t i = 1; i < v.size(); ++i)
        if (smallerFirst(v[i - 1], v[i], key) < 0)
            return false;
    return true;
}

TEST(SortIds, OrdersByTheComparatorAndKeepsEveryEntry)
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
            EXPECT_TRUE(inOrder(v, key)) << size;
            std::sort(v.begin(), v.end());
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(v, expected);
        }
    }
}

TEST(SortIds, SortsOnlyTheGivenRange)
{
    std::vector<int32_t> v{9, 5, 2, 8, 1, 0};
    sortIds(v.data(), 1, 4, 0, smallerFirst);
    EXPECT_EQ(v, (std::vector<int32_t>{9, 1, 2, 5, 8, 0}));
}

TEST(SortIds, PresortedAndEqualRowsOfAFullTableDoNotExhaustTheStack)
{
    std::vector<int32_t> v(250000);
    std::iota(v.begin(), v.end(), 1);
    sortIds(v.data(), 0, static_cast<int>(v.size()) - 1, 0, smallerFirst);
    EXPECT_TRUE(inOrder(v, 0));
    sortIds(v.data(), 0, static_cast<int>(v.size()) - 1, 0, smallerFirst); // already in order
    EXPECT_TRUE(inOrder(v, 0));
    sortIds(v.data(), 0, static_cast<int>(v.size()) - 1, 1000000, smallerFirst); // all equal
    EXPECT_EQ(v.size(), 250000u);
}

class DatabaseHelpers : public ::testing::Test {
protected:
    // Adds a person with the given birth year (0 = none) and sex.
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
    EXPECT_EQ(db.spouseOf(father, 0), mother);
    db.persons[father].sex = 'U';
    EXPECT_EQ(db.spouseOf(father, 0), mother);
    db.persons[father].sex = 0;
    EXPECT_EQ(db.spouseOf(father, 0), mother);
    EXPECT_EQ(db.marriageYearOf(father, 0), 1825);
    EXPECT_EQ(db.marriageYearOf(father, 1), 0);
    EXPECT_EQ(db.marriageYearOf(son, 0), 0);
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

    const int32_t lonely = person();
    EXPECT_EQ(db.estimatedBirthYear(lonely), 0);

    // A family whose first child gives nothing is passed over for the next.
    const int32_t twice = person(), first = person(0, 'F'), second = person(0, 'F');
    child(family(twice, first), person());
    child(family(twice, second), person(1862));
    EXPECT_EQ(db.estimatedBirthYear(twice), 1837);

    // A spouse's year is taken unchanged.
    const int32_t husband = person(), spouse = person(1790, 'F');
    family(husband, spouse);
    EXPECT_EQ(db.estimatedBirthYear(husband), 1790);
}

TEST_F(DatabaseHelpers, EstimatedBirthYearEndsOnAPersonWhoIsHisOwnDescendant)
{
    const int32_t a = person(), b = person(0, 'F');
    const int32_t loop = family(a, b);
    child(loop, a); // a is his own child
    EXPECT_EQ(db.estimatedBirthYear(a), 0);
}

TEST_F(DatabaseHelpers, TablesGrowBeyondTheSpareSlots)
{
    EXPECT_EQ(db.personTableSize(), Database::sparePersonSlots);
    for (int i = 0; i < 1200; ++i)
        person(1900);
    for (int i = 0; i < 450; ++i)
        family(0, 0);
    EXPECT_EQ(db.highestRin, 1200);
    EXPECT_EQ(db.highestMrin, 450);
    EXPECT_GT(db.personTableSize(), 1200);
    EXPECT_GT(db.familyTableSize(), 450);
    EXPECT_TRUE(db.isPerson(1200));
    EXPECT_EQ(db.persons[1200].flags, Flag::exists | Flag::changed);
}

} // namespace
} // namespace kinmap
