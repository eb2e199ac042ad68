#include "views/ListViews.h"
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
                               "0 @I4@ INDI\n1 NAME Karl /Adler/\n1 SEX M\n1 CHR\n2 DATE 1851\n2 PLAC K\xF6ln\n1 FAMS @F3@\n"
                               "0 @I5@ INDI\n1 NAME Zoe //\n1 SEX F\n"
                               "0 @I6@ INDI\n1 NAME \xC9mile /\xC9tienne/\n1 SEX M\n1 BIRT\n2 DATE 1849\n"
                               "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I1@\n1 MARR\n2 DATE 1870\n2 PLAC Ulm\n"
                               "0 @F2@ FAM\n1 HUSB @I3@\n1 WIFE @I1@\n1 MARR\n2 DATE 1875\n"
                               "0 @F3@ FAM\n1 HUSB @I4@\n1 WIFE @I1@\n"
                               "0 TRLR\n"));
        list().waitForWorker();
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
    ASSERT_TRUE(preparePersonList(session, false));
    EXPECT_EQ(rows(), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    const std::vector<std::string> anna = {"1     ", "Meier", "Anna", "1850", "Bonn", "", "", "1870...", "Ulm"};
    for (int column = 0; column < PersonList::columnCount; ++column)
        EXPECT_EQ(list().cellText(0, column), anna[static_cast<size_t>(column)]) << column;
    EXPECT_EQ(list().cellText(3, 3), "1851");       // the christening year when there is no birth
    EXPECT_EQ(list().cellText(3, 4), "K\xF6ln");    // and its place
    EXPECT_EQ(list().cellText(2, 6), "Trier");
    EXPECT_EQ(list().cellText(3, 7), "");           // a family without a marriage year
    EXPECT_EQ(list().cellText(4, 1), "");
}

TEST_F(PersonListTest, TextColumnsShowTheGreaterTextFirstAndAClickReverses)
{
    ASSERT_TRUE(preparePersonList(session, false));
    list().clickColumn(1);
    // Folded: \xC9tienne reads as "etienne"; the empty surname comes last.
    EXPECT_EQ(rows(), (std::vector<int32_t>{2, 3, 1, 6, 4, 5}));
    list().clickColumn(1);
    EXPECT_EQ(rows(), (std::vector<int32_t>{5, 4, 6, 1, 3, 2}));
    list().clickColumn(2);
    EXPECT_EQ(list().sortDirection(), 1);
    EXPECT_EQ(rows(), (std::vector<int32_t>{5, 4, 2, 3, 6, 1}));
    list().clickColumn(4); // birth place, missing ones last, ties by birth year
    EXPECT_EQ(rows(), (std::vector<int32_t>{4, 1, 3, 5, 2, 6}));
}

TEST_F(PersonListTest, YearColumnsShowTheEarliestFirst)
{
    ASSERT_TRUE(preparePersonList(session, false));
    list().clickColumn(3);
    // Without a year first (by name), then 1849 (by name), 1850, 1851.
    EXPECT_EQ(rows(), (std::vector<int32_t>{3, 5, 2, 6, 1, 4}));
    list().clickColumn(7);
    // With a family before without; among them the earliest marriage first.
    EXPECT_EQ(rows(), (std::vector<int32_t>{4, 2, 1, 3, 6, 5}));
    list().clickColumn(0);
    EXPECT_EQ(rows(), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
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
    session.shell.mergeCount = 2;
    ASSERT_TRUE(preparePersonList(session, false));
    EXPECT_EQ(list().rowCount(), 6);
    EXPECT_EQ(ui.status[0], "test.ged loaded");
    EXPECT_EQ(ui.status[1], "6 Persons\t  2 merged");
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
    ASSERT_TRUE(preparePersonList(session, false));
    list().clickColumn(1); // 2 Josef Meier, 3 Jakob Meier, 1 Anna Meier, 6 Emile Etienne, 4 Karl Adler, 5 Zoe
    TypeAhead typing;
    // From the last row upwards, cyclically, to the nearest "mei".
    EXPECT_EQ(typing.key(list(), db, 5, 'm', 0.0), 2);
    EXPECT_EQ(typing.key(list(), db, 2, 'E', 1.0), 2);
    EXPECT_EQ(typing.key(list(), db, 2, 'i', 2.0), 2);
    // A comma goes on to the given names: from Anna upwards to the first at or beyond "j".
    EXPECT_EQ(typing.key(list(), db, 2, ',', 2.5), 2);
    EXPECT_EQ(typing.key(list(), db, 2, 'j', 3.0), 1);
    EXPECT_EQ(typing.key(list(), db, 1, 'o', 3.5), 0);
    // More than 4 seconds after the first key a new search starts.
    EXPECT_EQ(typing.key(list(), db, 0, 'a', 4.5), 4);
    EXPECT_EQ(typing.key(list(), db, 4, 'x', 5.0), 4); // no match: the row stays

    list().clickColumn(0);
    typing.clear();
    EXPECT_EQ(typing.key(list(), db, 0, '6', 10.0), 5);
    list().clickColumn(3);
    typing.clear();
    EXPECT_EQ(typing.key(list(), db, 0, '1', 20.0), 5); // upwards from the first row: 1851
    EXPECT_EQ(typing.key(list(), db, 5, '8', 20.5), 5);
    EXPECT_EQ(typing.key(list(), db, 5, '5', 21.0), 5);
    EXPECT_EQ(typing.key(list(), db, 5, '0', 21.5), 4); // 1850
}

TEST_F(PersonListTest, ABuildWaitsForTheWorkerAndPaintsMeanwhile)
{
    // A file large enough that the worker is still sorting when a second
    // build comes.
    std::string text = "0 HEAD\n";
    for (int i = 1; i <= 20000; ++i) {
        text += formatText("0 @I%d@ INDI\n1 NAME G%d /S%d/\n", i, i % 97, (i * 7919) % 10007);
        if (i % 3 != 0)
            text += formatText("1 BIRT\n2 DATE %d\n", 1700 + (i * 31) % 200);
        if (i % 5 == 0)
            text += formatText("1 DEAT\n2 DATE %d\n", 1750 + (i * 17) % 200);
        if (i % 2 == 0)
            text += formatText("1 FAMS @F%d@\n", i / 2);
    }
    for (int f = 1; f <= 10000; ++f)
        text += formatText("0 @F%d@ FAM\n1 HUSB @I%d@\n1 MARR\n2 DATE %d\n", f, 2 * f, 1720 + (f * 13) % 200);
    ASSERT_TRUE(importText(text + "0 TRLR\n"));
    list().build(false);
    list().build(true); // waits, then starts none (no selection)
    EXPECT_FALSE(list().workerRunning());
    list().build(false);
    // Every order agrees with its sort key, the year orders sorted on demand too.
    for (int column : {1, 2, 3, 4, 5, 6, 7, 8}) {
        list().clickColumn(column);
        EXPECT_FALSE(list().workerRunning());
        for (int row = 1; row < list().rowCount(); ++row)
            ASSERT_GE(comparePersons(db, list().rinAt(row - 1), list().rinAt(row), column), 0) << column << " " << row;
    }
}

} // namespace
} // namespace kinmap
