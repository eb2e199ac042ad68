// Counts, the searches of births, deaths and marriages, and find and
// replace, on small files written for each rule.
#include "app/Commands.h"
#include "app/CountCommands.h"
#include "app/FileCommands.h"
#include "app/SearchCommands.h"
#include "ged/Export.h"
#include "query/Counts.h"
#include "query/EventSearch.h"
#include "query/Replace.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

namespace kinmap {
namespace {

std::string person(int rin, const std::string& name, const std::string& lines = "")
{
    return "0 @I" + std::to_string(rin) + "@ INDI\n1 NAME " + name + "\n1 SEX M\n" + lines;
}

std::string event(const char* tag, const std::string& date, const std::string& place)
{
    return std::string("1 ") + tag + "\n" + (date.empty() ? "" : "2 DATE " + date + "\n") +
           (place.empty() ? "" : "2 PLAC " + place + "\n");
}

class QueryTest : public test::ImportFixture {
protected:
    void load(const std::string& records)
    {
        ASSERT_TRUE(importText("0 HEAD\n" + records + "0 TRLR\n"));
        session.report.clear();
    }
    std::string count(CountKind kind)
    {
        runCount(session, kind);
        return report();
    }
    std::string search(EventKind kind, const std::string& place, int from, int to)
    {
        SearchOptions& o = session.searchOptions;
        o.place = place;
        o.periodFrom = from;
        o.periodTo = to;
        session.report.clear();
        runEventSearch(session, kind, o);
        return report();
    }
    std::string replace(const std::string& find, const std::string& by, int kind)
    {
        session.replaceOptions = {find, by, kind};
        session.report.clear();
        runReplace(session);
        return report();
    }
};

// Each event column of the place count counts its own events.
TEST_F(QueryTest, ThePlaceCountCountsEachEventInItsColumn)
{
    std::string records = person(1, "A /X/", event("BIRT", "", "Ulm") + event("CHR", "", "Ulm") + event("DEAT", "", "Ulm") +
                                                 event("BURI", "", "Ulm")) +
                          person(2, "B /X/", event("CHR", "", "Ulm") + event("DEAT", "", "Ulm") + event("BURI", "", "Ulm")) +
                          person(3, "C /X/", event("DEAT", "", "Ulm") + event("BURI", "", "Ulm")) +
                          person(4, "D /X/", event("BURI", "", "Ulm")) + person(5, "E /X/", "1 FAMS @F1@\n1 FAMS @F2@\n1 FAMS @F3@\n1 FAMS @F4@\n1 FAMS @F5@\n");
    for (int f = 1; f <= 5; ++f)
        records += "0 @F" + std::to_string(f) + "@ FAM\n1 HUSB @I5@\n" + event("MARR", "", "Ulm");
    load(records);
    EXPECT_EQ(count(CountKind::events), "\r\nEvents\tBirth\tChris\tDeath\tBurial\tMarriage\tPlace"
                                        "\r\n    15\t     1\t     2\t     3\t     4\t     5\tUlm"
                                        "\r\n\r\n    15 \tTotal ");
}

TEST_F(QueryTest, NameCountsKeepCaseFilterAndSelection)
{
    load(person(1, "Anna /Meier/") + person(2, "ANNA /Meier/") + person(3, "Johann /Meier/") + person(4, "Zoe /Ott/") +
         person(5, "Adam /Ott/") + person(6, "Anna /meier/") + person(7, "Gone /Meier/"));
    db.persons[7].flags = 0; // deleted
    EXPECT_EQ(count(CountKind::given), "\r\nCount\tGiven name"
                                       "\r\n     2\tAnna\r\n     1\tZoe\r\n     1\tJohann\r\n     1\tANNA\r\n     1\tAdam"
                                       "\r\n\r\n     6 \tTotal ");
    EXPECT_EQ(ui.status[1], "6 Given names");
    EXPECT_EQ(session.shell.lastCommand, static_cast<uint32_t>(cmdCountGivenNames));
    EXPECT_EQ(ui.shownViews.back(), static_cast<int>(reportView));
    EXPECT_EQ(count(CountKind::surname), "\r\nCount\tSurname\r\n     3\tMeier\r\n     2\tOtt\r\n     1\tmeier"
                                         "\r\n\r\n     6 \tTotal ");
    // Persons without a surname are counted on a row that says so.
    db.persons[5].surname = db.internText(surnamePool, "");
    EXPECT_EQ(count(CountKind::surname), "\r\nCount\tSurname\r\n     3\tMeier\r\n     1\tOtt\r\n     1\tmeier"
                                         "\r\n     1\t(no surname)\r\n\r\n     6 \tTotal ");
    db.persons[5].surname = db.internText(surnamePool, "Ott");
    session.countOptions.givenFilter = "ann";
    EXPECT_EQ(count(CountKind::given), "\r\nCount\tGiven name\r\n     1\tJohann\r\n\r\n     1 \tTotal ");
    // Nobody selected: the table is empty and its total 0 is written.
    session.countOptions.onlySelection = true;
    EXPECT_EQ(count(CountKind::given), "\r\nCount\tGiven name\r\n\r\n     0 \tTotal ");
    EXPECT_EQ(ui.status[1], "0 Given names");
    db.persons[4].flags |= Flag::selected;
    session.countOptions.givenFilter.clear();
    EXPECT_EQ(count(CountKind::given), "\r\nCount\tGiven name\r\n     1\tZoe\r\n\r\n     1 \tTotal ");
}

TEST_F(QueryTest, PlaceCountsAndEventsPerPeriod)
{
    load(person(1, "A /X/", event("BIRT", "1899", "Berlin") + event("DEAT", "1905", "Bonn")) +
         person(2, "B /X/", event("BIRT", "1900", "Berlin") + event("CHR", "", "Bonn")) +
         person(3, "C /X/", event("BIRT", "MAR", "Berlin") + event("BURI", "5", "Ur")) +
         person(4, "D /X/", event("BIRT", "1890", "") + "1 FAMS @F1@\n") +
         "0 @F1@ FAM\n1 HUSB @I4@\n" + event("MARR", "1901", "Bonn"));
    EXPECT_EQ(count(CountKind::place), "\r\nEvents\tBirth\tChris\tDeath\tBurial\tMarriage\tPlace"
                                       "\r\n     3\t     0\t     1\t     1\t     0\t     1\tBonn"
                                       "\r\n     3\t     3\t     0\t     0\t     0\t     0\tBerlin"
                                       "\r\n     1\t     0\t     0\t     0\t     1\t     0\tUr"
                                       "\r\n\r\n     7 \tTotal ");
    // The selection switch leaves out persons, not families.
    session.countOptions.onlySelection = true;
    EXPECT_EQ(count(CountKind::place), "\r\nEvents\tBirth\tChris\tDeath\tBurial\tMarriage\tPlace"
                                       "\r\n     1\t     0\t     0\t     0\t     0\t     1\tBonn\r\n\r\n     1 \tTotal ");
    // Period 0 (or less) is one table of places, without the switch.
    for (const int period : {0, -5}) {
        session.countOptions.period = period;
        EXPECT_NE(count(CountKind::events).find("\r\n\r\n     7 \tTotal "), std::string::npos) << period;
        EXPECT_EQ(ui.status[1], "7 Events");
    }
    // Periods of 10 years, earliest first; a period may start at year 0;
    // dates without a year and events without a place are not counted.
    session.countOptions.onlySelection = false;
    session.countOptions.period = 10;
    EXPECT_EQ(count(CountKind::events), "\r\nPeriod\tEvents\tBirth\tChris\tDeath\tBurial\tMarriage"
                                        "\r\n     0\t     1\t     0\t     0\t     0\t     1\t     0"
                                        "\r\n  1890\t     1\t     1\t     0\t     0\t     0\t     0"
                                        "\r\n  1900\t     3\t     1\t     0\t     1\t     0\t     1"
                                        "\r\n\r\n     5 \tTotal ");
    session.countOptions.placeFilter = "B";
    EXPECT_NE(count(CountKind::events).find("\r\n\r\n     4 \tTotal "), std::string::npos);
}

TEST_F(QueryTest, ManyDistinctPlacesAreAllCounted)
{
    std::string records;
    for (int rin = 1; rin <= 6000; ++rin)
        records += person(rin, "P /Q/", event("BIRT", "", "Born" + std::to_string(rin)) +
                                            event("DEAT", "", "Died" + std::to_string(rin)));
    load(records);
    const std::string table = count(CountKind::place);
    EXPECT_NE(table.find("\r\n\r\n 12000 \tTotal "), std::string::npos);
    EXPECT_NE(table.find("\tDied6000"), std::string::npos);
    EXPECT_EQ(ui.status[1], "12000 Places");
}

TEST_F(QueryTest, EventSearchesByPlacePrefixAndYears)
{
    load(person(1, "Early /A/", event("BIRT", "1849", "Berlin")) +
         person(2, "Year /B/", event("BIRT", "1850", "BERN")) +
         person(3, "Day /C/", event("BIRT", "5 MAR 1850", "Berlin")) +
         person(4, "Month /D/", event("BIRT", "MAR 1850", "berlin")) +
         person(5, "Chris /E/", event("BIRT", "", "Berlin") + event("CHR", "1851", "Bonn")) +
         person(6, "Ober /F/", event("BIRT", "1850", "Oberhof")) +
         person(7, "NoYear /G/", event("BIRT", "", "Berlin")) +
         person(8, "Dead /H/", event("DEAT", "", "Bern") + event("BURI", "2 JAN 1900", "Bern") + "1 FAMS @F1@\n") +
         person(9, "Wife /I/", "1 FAMS @F1@\n1 FAMS @F2@\n") +
         "0 @F1@ FAM\n1 HUSB @I8@\n1 WIFE @I9@\n" + event("MARR", "", "Berlin") +
         "0 @F2@ FAM\n1 WIFE @I9@\n" + event("MARR", "1840", "Bernau"));
    EXPECT_EQ(search(EventKind::birth, "ber", 0, 0),
              "\r\nBirths in ber... \r\n"
              "\r\n*        1849\t     1\tEarly A "
              "\r\n*        1850\t     2\tYear B "
              "\r\n*    MAR 1850\t     4\tMonth D "
              "\r\n*  5 MAR 1850\t     3\tDay C "
              "\r\n~        1851\t     5\tChris E "
              "\r\n\r\nTotal of      5 \tbirths ");
    EXPECT_EQ(ui.status[1], "5 births");
    // The bounds hold their own years.
    EXPECT_EQ(search(EventKind::birth, "ber", 1850, 1850).find("\r\nBirths in ber... 1850 - 1850\r\n\r\n*        1850"), 0u);
    EXPECT_EQ(ui.status[1], "3 births");
    EXPECT_EQ(search(EventKind::birth, "", 1851, 0), "\r\nBirths in ... 1851\r\n\r\n~        1851\t     5\tChris E "
                                                     "\r\n\r\nTotal of      1 \tbirths ");
    EXPECT_EQ(search(EventKind::death, "Bern", 0, 0),
              "\r\nDeaths in Bern... \r\n\r\n_ 2 JAN 1900 \t     8\tDead H \r\n\r\nTotal of      1 \tdeaths ");
    // A marriage without a year counts with an upper bound, not with a lower one.
    EXPECT_EQ(search(EventKind::marriage, "", 0, 1850),
              "\r\nMarriages in ... - 1850\r\n"
              "\r\n\t     1\tDead H + Wife I "
              "\r\n& 1840       \t     2\t+ Wife I "
              "\r\n\r\nTotal of      2 \tmarriages ");
    EXPECT_EQ(search(EventKind::marriage, "", 1800, 0).find("Dead H"), std::string::npos);
    EXPECT_EQ(search(EventKind::death, "Paris", 0, 0), "");
    EXPECT_EQ(ui.status[1], "0 deaths");

    // The command asks for at least one argument.
    ui.searchAnswers.push_back([](SearchOptions& o) { o.place.clear(); });
    eventSearchCommand(session, EventKind::birth);
    EXPECT_EQ(ui.errors.back(), "\r\nat least one argument needed");
    ui.searchAnswers.push_back([](SearchOptions& o) { o.place = "Oberhof"; });
    session.searchOptions.periodFrom = 1700;
    eventSearchCommand(session, EventKind::birth);
    EXPECT_EQ(session.searchOptions.periodFrom, 0); // the years start empty
    EXPECT_EQ(session.shell.lastCommand, static_cast<uint32_t>(cmdSearchBirths));
    EXPECT_EQ(ui.status[1], "1 births");
}

TEST_F(QueryTest, ReplaceEveryKindMarksJournalsAndUndoes)
{
    // Which records each kind changes: persons 1 and 2, family 1.
    const std::array<std::string, ReplaceOptions::kindCount> changed = {"100", "100", "111", "110", "100",
                                                                        "100", "100", "001"};
    const std::array<int, ReplaceOptions::kindCount> hits = {1, 1, 6, 2, 1, 1, 1, 1};
    for (int kind = 0; kind < ReplaceOptions::kindCount; ++kind) {
        SCOPED_TRACE(replaceKindName(kind));
        load(person(1, "Xaver /Xylo/", event("BIRT", "", "Xanten") + event("CHR", "", "Xanten") +
                                           event("DEAT", "", "Xanten") + event("BURI", "", "Xanten") + "1 FAMS @F1@\n") +
             person(2, "Max /Bax/", event("BIRT", "", "Xanten XX")) + "0 @F1@ FAM\n1 HUSB @I1@\n" +
             event("MARR", "", "Xanten"));
        EXPECT_NE(replace("X", "Z", kind).find(std::to_string(hits[kind]) + " replacements\r\n"), std::string::npos);
        const std::string marks = {db.persons[1].flags & Flag::changed ? '1' : '0',
                                   db.persons[2].flags & Flag::changed ? '1' : '0',
                                   db.families[1].flags & Flag::changed ? '1' : '0'};
        EXPECT_EQ(marks, changed[kind]);
        EXPECT_EQ(session.counts.replacementCount, hits[kind]);
    }
    // Only the first occurrence; the report names record and new text.
    EXPECT_EQ(db.families[1].marrPlace, std::string("Zanten"));
    load(person(1, "Ann /Muller-Muller/") + person(2, "Bo /MULLER/") + person(3, "Cy /Muller/"));
    EXPECT_EQ(replace("Muller", "Mueller", 1), "Muller-Muller \treplaced in RIN 1 by \tMueller-Muller\r\n"
                                               "Muller \treplaced in RIN 3 by \tMueller\r\n2 replacements\r\n");
    EXPECT_EQ(ui.status[1], "2 replacements");
    EXPECT_NE(test::readFile(session.journal.workingPath()).find("Replaced in RIN 3: Muller -> Mueller\r\n"), std::string::npos);
    EXPECT_EQ(session.counts.replacementCount, 2);
    ASSERT_TRUE(session.history.undo(session));
    EXPECT_EQ(db.persons[3].surname, std::string("Muller"));
    EXPECT_FALSE(db.persons[3].flags & Flag::changed);
    EXPECT_EQ(session.counts.replacementCount, 0);
    // An empty replacement only lists; an empty find text visits nothing.
    EXPECT_EQ(replace("Mull", "", 1), "Muller-Muller \t\r\nMuller \t\r\n2 replacements\r\n");
    EXPECT_FALSE(db.persons[1].flags & Flag::changed);
    EXPECT_EQ(replace("", "x", 1), "0 replacements\r\n");
    EXPECT_EQ(session.counts.replacementCount, 0);
}

TEST_F(QueryTest, ReplacementsThatCannotBeStoredLeaveTheField)
{
    const std::string longPlace(240, 'p');
    std::string records = person(1, "A /B/", event("BIRT", "", longPlace + "X")) + person(2, "Ulm /C/");
    for (int rin = 3; rin < 3003; ++rin)
        records += person(rin, "G /Surname" + std::to_string(rin) + "e/");
    load(records);
    EXPECT_EQ(replace("X", std::string(20, 'y'), 2),
              longPlace + "X \tnot replaced in RIN 1: the GED line would grow too long\r\n0 replacements\r\n1 not replaced\r\n");
    EXPECT_EQ(db.persons[1].birthPlace, longPlace + "X");
    EXPECT_FALSE(db.persons[1].flags & Flag::changed);
    EXPECT_NE(replace("Ulm", " Ulm", 0).find("not replaced in RIN 2"), std::string::npos);
    EXPECT_EQ(db.persons[2].given, std::string("Ulm"));
    // A slash in a name would end the surname in the NAME line; in a place it is a character.
    EXPECT_NE(replace("Ulm", "U/lm", 0).find("not replaced in RIN 2: a name cannot hold a slash (/)"), std::string::npos);
    EXPECT_NE(replace("Surname3", "Sur/name3", 1).find("0 replacements"), std::string::npos);
    EXPECT_EQ(db.persons[2].given, std::string("Ulm"));
    EXPECT_NE(replace("X", "X/Y", 2).find("1 replacements"), std::string::npos);

    // Thousands of new surnames: every one stored, none blank in the file.
    EXPECT_NE(replace("e", "é", 1).find("3000 replacements"), std::string::npos);
    EXPECT_EQ(db.persons[3002].surname, std::string("Surnam\xC3\xA9" "3002e"));
    ASSERT_TRUE(exportAllCommand(session, dir.file("out.ged")));
    EXPECT_EQ(test::readFile(dir.file("out.ged")).find("//"), std::string::npos);
    ASSERT_TRUE(importCommand(session, dir.file("out.ged")));
    EXPECT_EQ(db.persons[1234].surname, std::string("Surnam\xC3\xA9" "1234e"));
}

} // namespace
} // namespace kinmap
