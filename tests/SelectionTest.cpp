#include "app/Commands.h"
#include "app/SearchCommands.h"
#include "query/Selection.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace kinmap {
namespace {

class SelectionTest : public test::ImportFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(importText("0 HEAD\n"
                               "0 @I1@ INDI\n1 NAME Johann /Meier/\n1 SEX M\n1 BIRT\n2 DATE 1800\n2 PLAC Oberammergau\n1 FAMS @F1@\n"
                               "0 @I2@ INDI\n1 NAME Anna /Schmidt/\n1 SEX F\n1 BIRT\n2 DATE 1805\n1 FAMS @F1@\n"
                               "0 @I3@ INDI\n1 NAME JOSEPH /Meier/\n1 SEX M\n1 BIRT\n2 DATE 1830\n1 FAMC @F1@\n1 FAMS @F2@\n"
                               "0 @I4@ INDI\n1 NAME Marijo /Meier/\n1 SEX F\n1 CHR\n2 DATE 1832\n2 PLAC Unterammergau\n1 FAMC @F1@\n"
                               "0 @I5@ INDI\n1 NAME Eva /Roth/\n1 SEX F\n1 BIRT\n2 DATE 1833\n1 DEAT\n1 BURI\n2 DATE 1900\n2 PLAC Ulm\n1 FAMS @F2@\n"
                               "0 @I6@ INDI\n1 NAME Karl /Meier/\n1 SEX M\n1 BIRT\n2 DATE 1860\n1 FAMC @F2@\n"
                               "0 @I7@ INDI\n1 NAME Lisa /Meier/\n1 SEX F\n1 FAMC @F2@\n"
                               "0 @I8@ INDI\n1 NAME Solo /Nobody/\n"
                               "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n1 CHIL @I4@\n1 MARR\n2 DATE 1825\n2 PLAC Oberammergau\n"
                               "0 @F2@ FAM\n1 HUSB @I3@\n1 WIFE @I5@\n1 CHIL @I6@\n1 CHIL @I7@\n1 MARR\n2 DATE 1858\n2 PLAC Unterammergau\n"
                               "0 TRLR\n"));
        ASSERT_EQ(report().find("###"), std::string::npos);
    }
    std::set<int32_t> selected()
    {
        std::set<int32_t> rins;
        for (int32_t rin = 1; rin <= db.highestRin; ++rin)
            if (db.persons[rin].flags & Flag::selected)
                rins.insert(rin);
        EXPECT_EQ(session.counts.selectedCount, static_cast<int32_t>(rins.size()));
        return rins;
    }
    SearchOptions options(SearchAction action)
    {
        SearchOptions o;
        o.action = action;
        return o;
    }
};

TEST(SelectionPatterns, PrefixIgnoresTheCaseOfLettersInEveryScript)
{
    EXPECT_TRUE(prefixMatches("Johann", "jo"));
    EXPECT_TRUE(prefixMatches("JOSEPH", "jo"));
    EXPECT_FALSE(prefixMatches("Marijo", "jo"));
    EXPECT_TRUE(prefixMatches("Änne", "äN"));
    EXPECT_TRUE(prefixMatches("Меншиков", "Мен"));
    EXPECT_FALSE(prefixMatches("Мельников", "Мен"));
    EXPECT_FALSE(prefixMatches("Jo", "Jon"));
    EXPECT_FALSE(prefixMatches(nullptr, "a"));
    EXPECT_TRUE(prefixMatches(nullptr, ""));
    EXPECT_TRUE(substringMatches("Unterammergau", "ammer"));
    EXPECT_FALSE(substringMatches("Unterammergau", "Ammer"));
    EXPECT_FALSE(substringMatches(nullptr, "x"));
}

TEST_F(SelectionTest, PersonSearchSelectsAddsAndDeselects)
{
    SearchOptions o = options(SearchAction::select);
    o.given = "jo";
    searchPersons(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 3}));

    o = options(SearchAction::selectAdd);
    o.surname = "roth";
    searchPersons(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 3, 5}));

    // Deselecting with spouses removes the persons found and adds their spouses.
    o = options(SearchAction::deselect);
    o.given = "jo";
    o.extensions = Extend::spouses;
    searchPersons(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{2, 5}));

    o = options(SearchAction::select);
    o.spouseSurname = "sch";
    o.extensions = Extend::children;
    searchPersons(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 3, 4}));

    o = options(SearchAction::select);
    o.place = "unter";
    o.extensions = Extend::parents;
    searchPersons(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 2, 4}));
}

TEST_F(SelectionTest, PeriodAndRinBounds)
{
    SearchOptions o = options(SearchAction::select);
    o.periodFrom = 1800;
    searchPersons(session, o);
    EXPECT_EQ(selected().count(8), 0u); // no year at all
    EXPECT_EQ(selected().count(7), 1u); // estimated from her father
    o = options(SearchAction::select);
    o.periodTo = 1830;
    searchPersons(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 2, 3, 8}));
    o = options(SearchAction::select);
    o.rinFrom = 3;
    o.rinTo = 5;
    searchPersons(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{3, 4, 5}));
}

TEST_F(SelectionTest, EventSearchTestsThePlaceAsASubstring)
{
    SearchOptions o = options(SearchAction::select);
    o.place = "ammer";
    searchEvents(session, o); // births, else christenings
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 4}));

    o.eventKind = EventKind::death;
    o.place = "Ulm";
    searchEvents(session, o); // the burial of a death without date or place
    EXPECT_EQ(selected(), (std::set<int32_t>{5}));

    o = options(SearchAction::select);
    o.eventKind = EventKind::marriage;
    o.place = "Unter";
    searchEvents(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{3, 5}));

    o.place.clear();
    searchEvents(session, o); // any family
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 2, 3, 5}));
    o.periodFrom = 1850;
    o.periodTo = 1860;
    searchEvents(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{3, 5}));

    o = options(SearchAction::select);
    o.periodFrom = 1831;
    o.surname = "Meier";
    searchEvents(session, o);
    EXPECT_EQ(selected(), (std::set<int32_t>{4, 6}));
}

TEST_F(SelectionTest, AncestorsAndDescendantsByGenerations)
{
    selectDescendants(session, 1, 0, true);
    EXPECT_EQ(selected(), std::set<int32_t>{});
    selectDescendants(session, 1, 1, true);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 2}));
    selectDescendants(session, 1, 2, true);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 2, 3, 4, 5}));
    selectDescendants(session, 1, 2, false);
    EXPECT_EQ(selected(), std::set<int32_t>{});

    selectAncestors(session, 6, 0, 0, true);
    EXPECT_EQ(selected(), std::set<int32_t>{6});
    selectAncestors(session, 6, 1, 0, true);
    EXPECT_EQ(selected(), (std::set<int32_t>{3, 5, 6}));
    selectAncestors(session, 6, 2, 0, true);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 2, 3, 5, 6}));
    markAll(session, false);
    selectAncestors(session, 3, 1, 1, true); // each with one generation of descendants: itself and spouses
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 2, 3, 5}));
}

TEST_F(SelectionTest, WalksEndInAFileWhereAPersonIsHisOwnAncestor)
{
    db.appendLink(db.persons[1].famc, 2); // Johann becomes a child of his son's family
    db.appendLink(db.families[2].children, 1);
    selectAncestors(session, 6, 1000000, 0, true);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 2, 3, 5, 6}));
    selectDescendants(session, 1, 1000000, true);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(SelectionTest, CommandsAskAndShowTheSelection)
{
    selectionCommand(session, cmdSelectAll, session.shell.currentPerson);
    EXPECT_EQ(session.counts.selectedCount, 8);
    EXPECT_EQ(session.shell.currentView, selectionView);

    selectionCommand(session, cmdDeselectAll, 1);
    EXPECT_EQ(session.counts.selectedCount, 0);
    EXPECT_EQ(session.shell.currentView, listView);
    EXPECT_FALSE(session.personList.isValid());

    selectionCommand(session, cmdSelectAncestors, 6); // cancelled
    EXPECT_EQ(selected(), std::set<int32_t>{});
    ui.generationAnswers = {{1, 0}, {1, 0}};
    selectionCommand(session, cmdSelectAncestors, 6);
    EXPECT_EQ(selected(), (std::set<int32_t>{3, 5, 6}));
    selectionCommand(session, cmdDeselectDescendants, 3);
    EXPECT_EQ(selected(), std::set<int32_t>{6});
    EXPECT_EQ(ui.generationTitles,
              (std::vector<std::string>{"SELECT ANCESTORS (2 fields)", "SELECT ANCESTORS (2 fields)", "SELECT DESCENDANTS (1 field)"}));

    selectionCommand(session, cmdSelectPerson, 0); // nobody: nothing happens
    selectionCommand(session, cmdDeselectPerson, 6);
    EXPECT_EQ(selected(), std::set<int32_t>{});
}

TEST_F(SelectionTest, SearchCommandsKeepTheirOptions)
{
    ui.searchAnswers.push_back([](SearchOptions& o) {
        EXPECT_EQ(o.periodFrom, 0);
        o.surname = "Meier";
        o.rinFrom = 4;
        o.action = SearchAction::select;
    });
    searchPersonsCommand(session);
    EXPECT_EQ(selected(), (std::set<int32_t>{4, 6, 7}));
    EXPECT_EQ(session.shell.currentView, selectionView);

    // The next dialog shows the kept pattern, but no bounds.
    ui.searchAnswers.push_back([](SearchOptions& o) {
        EXPECT_EQ(o.surname, "Meier");
        EXPECT_EQ(o.rinFrom, 0);
        o.action = SearchAction::select;
    });
    searchPersonsCommand(session);
    EXPECT_EQ(selected(), (std::set<int32_t>{1, 3, 4, 6, 7}));
    searchEventsCommand(session); // cancelled: nothing changes
    EXPECT_EQ(selected().size(), 5u);
}

} // namespace
} // namespace kinmap
