#include "app/ViewCommands.h"
#include "views/PersonList.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace kinmap {
namespace {

class PersonListTest : public test::ImportFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(importText("0 HEAD\n"
                               "0 @I1@ INDI\n1 NAME Anna /Meier/\n1 SEX F\n1 BIRT\n2 DATE 1850\n2 PLAC Bonn\n1 FAMS @F1@\n1 FAMS @F2@\n1 FAMS @F3@\n"
                               "0 @I2@ INDI\n1 NAME Josef /Meier/\n1 SEX M\n1 BIRT\n2 DATE 1849\n1 FAMS @F1@\n"
                               "0 @I3@ INDI\n1 NAME Jakob /Meier/\n1 SEX M\n1 DEAT\n2 DATE 1900\n2 PLAC Trier\n1 FAMS @F2@\n"
                               "0 @I4@ INDI\n1 NAME Karl /Adler/\n1 SEX M\n1 CHR\n2 DATE 1851\n2 PLAC Köln\n1 FAMS @F3@\n"
                               "0 @I5@ INDI\n1 NAME Zoe //\n1 SEX F\n"
                               "0 @I6@ INDI\n1 NAME Émile /Étienne/\n1 SEX M\n1 BIRT\n2 DATE 1849\n1 DEAT\n2 DATE 1901\n"
                               "0 @I7@ INDI\n1 NAME Александр /Меншиков/\n1 SEX M\n"
                               "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I1@\n1 MARR\n2 DATE 1870\n2 PLAC Ulm\n"
                               "0 @F2@ FAM\n1 HUSB @I3@\n1 WIFE @I1@\n1 MARR\n2 DATE 1875\n"
                               "0 @F3@ FAM\n1 HUSB @I4@\n1 WIFE @I1@\n"
                               "0 TRLR\n"));
        ASSERT_TRUE(preparePersonList(session, false));
    }
    PersonList& list() { return session.personList; }
    std::vector<int32_t> rows()
    {
        std::vector<int32_t> rins;
        for (int row = 0; row < list().rowCount(); ++row)
            rins.push_back(list().rinAt(row));
        return rins;
    }
};

TEST_F(PersonListTest, CellsShowTheColumnsOfAPerson)
{
    EXPECT_EQ(rows(), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7}));
    const std::vector<std::string> anna = {"1     ", "Meier", "Anna", "1850", "Bonn", "", "", "1870...", "Ulm"};
    for (int column = 0; column < PersonList::columnCount; ++column)
        EXPECT_EQ(list().cellText(0, column), anna[static_cast<size_t>(column)]) << column;
    EXPECT_EQ(list().cellText(3, 3), "1851"); // the christening year when there is no birth
    EXPECT_EQ(list().cellText(3, 4), "Köln"); // and its place
    EXPECT_EQ(list().cellText(2, 6), "Trier");
    EXPECT_EQ(list().cellText(3, 7), ""); // a family without a marriage year
    EXPECT_EQ(list().cellText(4, 1), "");
    EXPECT_EQ(list().cellText(6, 1), "Меншиков");
}

TEST_F(PersonListTest, EachColumnHasItsOrderAndASecondClickReversesIt)
{
    // Texts: the greater first, folded, missing ones last; years: the
    // earliest first, persons without one first; ties by the next keys.
    const std::vector<std::vector<int32_t>> orders = {
        {1, 2, 3, 4, 5, 6, 7}, // RIN
        {7, 2, 3, 1, 6, 4, 5}, // surname, then given name
        {7, 5, 4, 2, 3, 6, 1}, // given name, then surname
        {7, 3, 5, 2, 6, 1, 4}, // birth (or christening) year, then name
        {4, 1, 7, 3, 5, 2, 6}, // birth place, then birth year
        {7, 5, 2, 1, 4, 3, 6}, // death year, then birth year
        {3, 7, 5, 2, 1, 4, 6}, // death place, then death year
        {4, 2, 1, 3, 7, 6, 5}, // with a family first, then the marriage year
        {2, 1, 4, 3, 7, 6, 5}, // marriage place, then as the marriage year
    };
    for (int column : {1, 2, 3, 4, 5, 6, 7, 8, 0}) {
        list().clickColumn(column);
        EXPECT_EQ(rows(), orders[static_cast<size_t>(column)]) << column;
        list().clickColumn(column);
        std::vector<int32_t> reversed(orders[static_cast<size_t>(column)].rbegin(), orders[static_cast<size_t>(column)].rend());
        EXPECT_EQ(rows(), reversed) << column;
        EXPECT_EQ(list().sortDirection(), -1);
    }
}

TEST_F(PersonListTest, TheSelectionListShowsTheSelectedPersons)
{
    EXPECT_FALSE(preparePersonList(session, true)); // nobody selected: nothing to show
    db.persons[3].flags |= Flag::selected;
    db.persons[6].flags |= Flag::selected;
    session.shell.currentPerson = 3;
    ASSERT_TRUE(preparePersonList(session, true));
    EXPECT_EQ(rows(), (std::vector<int32_t>{3, 6}));
    EXPECT_EQ(ui.status[0], "Selection");
    EXPECT_EQ(ui.status[1], "2 persons\t");
    EXPECT_EQ(ui.status[2], "RIN: 3");
    // Afterwards the List builds its own rows again.
    session.counts.mergeCount = 2;
    ASSERT_TRUE(preparePersonList(session, false));
    EXPECT_EQ(list().rowCount(), 7);
    EXPECT_EQ(ui.status[0], "test.ged loaded, read as UTF-8 (valid UTF-8)");
    EXPECT_EQ(ui.status[1], "7 Persons\t  2 mergers"); // the word the merge itself shows
}

TEST_F(PersonListTest, AClickMakesTheCurrentAndThePreviousPerson)
{
    session.shell.currentPerson = 2;
    clickPerson(session, 5);
    EXPECT_EQ(session.shell.currentPerson, 5);
    EXPECT_EQ(session.shell.previousPerson, 2);
    clickPerson(session, 5);
    EXPECT_EQ(session.shell.previousPerson, 2);
    EXPECT_EQ(ui.status[2], "RIN: 5");
}

TEST_F(PersonListTest, TypeAheadFindsTheTypedTextInTheSortedColumn)
{
    struct Key {
        int column; // clicked before the key when it changes
        const char* text;
        double at;
        int current, expected;
    };
    const Key keys[] = {
        // Surnames: 7 Меншиков, 2 Josef Meier, 3 Jakob Meier, 1 Anna Meier, 6 Étienne, 4 Adler, 5 Zoe.
        // Upwards from the last row, cyclically, to the nearest "mei".
        {1, "m", 0.0, 6, 3},
        {1, "E", 1.0, 3, 3},
        {1, "i", 2.0, 3, 3},
        // A comma goes on to the given names: upwards to the first at or beyond "j", then "jo".
        {1, ",", 2.5, 3, 3},
        {1, "j", 3.0, 3, 2},
        {1, "o", 3.5, 2, 1},
        // More than 4 seconds after the first key a new search starts.
        {1, "a", 4.5, 1, 5},
        {1, "x", 5.0, 5, 5}, // no match: the row stays
        {1, "М", 10.0, 5, 0}, // any script, any case
        {1, "е", 10.5, 0, 0},
        {1, "Н", 11.0, 0, 0},
        {0, "6", 20.0, 0, 5},
        // Born: 7, 3, 5 (none), 2 1849, 6 1849, 1 1850, 4 1851
        {3, "1", 30.0, 0, 6},
        {3, "8", 30.5, 6, 6},
        {3, "5", 31.0, 6, 6},
        {3, "0", 31.5, 6, 5},
        // Died: 7, 5, 2, 1, 4 (none), 3 1900, 6 1901
        {5, "1", 40.0, 0, 6},
        {5, "9", 40.5, 6, 6},
        {5, "0", 41.0, 6, 6},
        {5, "0", 41.5, 6, 5},
        // 1st Marr: 4 (none), 2 1870, 1 1870..., 3 1875, 7, 6, 5
        {7, "1", 50.0, 0, 3},
        {7, "8", 50.5, 3, 3},
        {7, "7", 51.0, 3, 3},
        {7, "0", 51.5, 3, 2},
    };
    TypeAhead typing;
    int column = -1;
    for (const Key& k : keys) {
        if (k.column != column) {
            list().clickColumn(k.column);
            typing.clear();
            column = k.column;
        }
        EXPECT_EQ(typing.key(list(), k.current, k.text, k.at), k.expected) << k.column << " " << k.text << " " << k.at;
    }
}

TEST_F(PersonListTest, TheWorkerSortsACopyWhileTheTablesChangeAndTheWindowPaints)
{
    // A file large enough that the worker is still sorting when the next
    // command comes.
    std::string text = "0 HEAD\n";
    for (int i = 1; i <= 60000; ++i) {
        text += formatText("0 @I%d@ INDI\n1 NAME G%d /S%d/\n", i, i % 97, (i * 7919) % 10007);
        if (i % 3 != 0)
            text += formatText("1 BIRT\n2 DATE %d\n2 PLAC P%d\n", 1700 + (i * 31) % 200, i % 50);
        if (i % 5 == 0)
            text += formatText("1 DEAT\n2 DATE %d\n", 1750 + (i * 17) % 200);
        if (i % 2 == 0)
            text += formatText("1 FAMS @F%d@\n", i / 2);
    }
    for (int f = 1; f <= 30000; ++f)
        text += formatText("0 @F%d@ FAM\n1 HUSB @I%d@\n1 MARR\n2 DATE %d\n", f, 2 * f, 1720 + (f * 13) % 200);
    ASSERT_TRUE(importText(text + "0 TRLR\n"));
    list().build(false);
    ASSERT_TRUE(list().workerRunning());
    ui.paintWaits = 0;
    list().build(false); // waits for the first worker, and the window paints meanwhile
    EXPECT_GT(ui.paintWaits, 0);
    // An import while the worker sorts the rows of the file before.
    ASSERT_TRUE(list().workerRunning());
    ASSERT_TRUE(importText(text + "0 @I60001@ INDI\n1 NAME Late /Comer/\n0 TRLR\n", test::FileEncoding::utf8WithoutMark, "second.ged"));
    ASSERT_TRUE(preparePersonList(session, false));
    EXPECT_EQ(list().rowCount(), 60001);
    // Every order agrees with its column's comparison.
    for (int column = 1; column < PersonList::columnCount; ++column) {
        list().clickColumn(column);
        EXPECT_FALSE(list().workerRunning());
        for (int row = 1; row < list().rowCount(); ++row)
            ASSERT_GE(PersonList::compareRows(PersonList::rowOf(db, list().rinAt(row - 1)), PersonList::rowOf(db, list().rinAt(row)),
                                              column),
                      0)
                << column << " " << row;
    }
}

} // namespace
} // namespace kinmap
