// The duplicate search: which pairs each method finds, the candidate list
// and its resume position, the automatic preview, families, manual mode.
#include "app/ExtrasCommands.h"
#include "check/Duplicates.h"

#include "app/Commands.h"
#include "check/Merge.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kinmap {
namespace {

using Pairs = std::vector<std::pair<int32_t, int32_t>>;

class DuplicatesTest : public test::ImportFixture {
protected:
    // Runs the search with the options; the pairs listed, smaller RIN first.
    Pairs search(uint32_t options)
    {
        session.duplicates.options = options;
        runDuplicateSearch(session);
        Pairs pairs;
        for (const CandidatePair& p : session.duplicates.candidates)
            pairs.emplace_back(std::min(p.first, p.second), std::max(p.first, p.second));
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }
    static constexpr uint32_t persons = DuplicateOption::persons;
    static constexpr uint32_t exact = 2, soundex = 4, other = 6;
    static constexpr uint32_t sameDate = DuplicateOption::sameDate, none = DuplicateOption::noRequirement;
    static constexpr uint32_t automatic = DuplicateOption::automatic, semiautomatic = DuplicateOption::semiautomatic;
};

TEST_F(DuplicatesTest, EachMethodFindsItsPairsAndNoOthers)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           // Maier and Meyer sound alike; Majer, between them in surname order, does not.
                           "0 @I1@ INDI\n1 NAME Heinrich /Meyer/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
                           "0 @I2@ INDI\n1 NAME Heinrich /Majer/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
                           "0 @I3@ INDI\n1 NAME Heinrich /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
                           // Given names in another order.
                           "0 @I4@ INDI\n1 NAME Anna Maria /Schmidt/\n1 SEX F\n1 BIRT\n2 DATE 1860\n"
                           "0 @I5@ INDI\n1 NAME Maria Anna /Schmitt/\n1 SEX F\n1 BIRT\n2 DATE 1860\n"
                           // Not of the same sex.
                           "0 @I6@ INDI\n1 NAME Karl /Braun/\n1 SEX M\n1 BIRT\n2 DATE 1870\n"
                           "0 @I7@ INDI\n1 NAME Karl /Braun/\n1 SEX F\n1 BIRT\n2 DATE 1870\n"
                           // Father and son.
                           "0 @I8@ INDI\n1 NAME Otto /Vogel/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMS @F1@\n"
                           "0 @I9@ INDI\n1 NAME Otto /Vogel/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMC @F1@\n"
                           // No dates at all.
                           "0 @I10@ INDI\n1 NAME Paul /Lang/\n1 SEX M\n"
                           "0 @I11@ INDI\n1 NAME Paul /Lang/\n1 SEX M\n"
                           // Estimated birth years 26 and 25 apart.
                           "0 @I12@ INDI\n1 NAME Emil /Frank/\n1 SEX M\n1 BIRT\n2 DATE 1800\n"
                           "0 @I13@ INDI\n1 NAME Emil /Frank/\n1 SEX M\n1 FAMS @F2@\n"
                           "0 @I14@ INDI\n1 NAME Fritz /Frank/\n1 SEX M\n1 BIRT\n2 DATE 1800\n"
                           "0 @I15@ INDI\n1 NAME Fritz /Frank/\n1 SEX M\n1 FAMS @F3@\n"
                           // Alike apart from accents; names without a sound code.
                           "0 @I16@ INDI\n1 NAME Jiří /Dvořák/\n1 SEX M\n1 BIRT\n2 DATE 1880\n"
                           "0 @I17@ INDI\n1 NAME Jiri /Dvorak/\n1 SEX M\n1 BIRT\n2 DATE 1880\n"
                           "0 @I18@ INDI\n1 NAME Иван /Петров/\n1 SEX M\n1 BIRT\n2 DATE 1880\n"
                           "0 @I19@ INDI\n1 NAME Иван /Сидоров/\n1 SEX M\n1 BIRT\n2 DATE 1880\n"
                           "0 @F1@ FAM\n1 HUSB @I8@\n1 CHIL @I9@\n"
                           "0 @F2@ FAM\n1 HUSB @I13@\n1 MARR\n2 DATE 1846\n"
                           "0 @F3@ FAM\n1 HUSB @I15@\n1 MARR\n2 DATE 1845\n"
                           "0 TRLR\n"));
    EXPECT_EQ(search(persons | exact | sameDate | semiautomatic), (Pairs{{16, 17}}));
    EXPECT_EQ(search(persons | soundex | sameDate | semiautomatic), (Pairs{{1, 3}, {16, 17}}));
    EXPECT_EQ(search(persons | other | none | semiautomatic), (Pairs{{1, 3}, {4, 5}, {10, 11}, {14, 15}, {16, 17}}));
    EXPECT_EQ(ui.status[1], "5 possible duplicates");
    EXPECT_EQ(session.shell.lastCommand, cmdDuplicates);
    EXPECT_TRUE(session.duplicates.candidatesShown);
    EXPECT_EQ(ui.shownViews.back(), static_cast<int>(reportView));

    EXPECT_EQ(search(persons | exact | DuplicateOption::sameSpouse | semiautomatic), Pairs{});
    EXPECT_EQ(ui.status[1], "No duplicates found");
    EXPECT_EQ(report(), "\r\nNo duplicates found");
}

TEST_F(DuplicatesTest, CandidateListStopsAt300AndTheNextSearchGoesOn)
{
    std::string ged = "0 HEAD\n";
    for (int i = 1; i <= 610; ++i)
        ged += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME P" + std::to_string((i + 1) / 2) +
               " /Doppel/\n1 SEX M\n1 BIRT\n2 DATE 1850\n";
    ASSERT_TRUE(importText(ged + "0 TRLR\n"));
    const uint32_t options = persons | exact | sameDate | semiautomatic;

    const Pairs first = search(options);
    EXPECT_EQ(first.size(), 300u);
    EXPECT_EQ(ui.status[1], "> 300 possible duplicates");
    // A families search keeps its own position.
    EXPECT_EQ(search(options & ~persons), Pairs{});
    const Pairs rest = search(options);
    ASSERT_EQ(rest.size(), 5u);
    EXPECT_EQ(ui.status[1], "5 possible duplicates");
    for (const auto& pair : rest)
        EXPECT_EQ(std::count(first.begin(), first.end(), pair), 0);

    // Merge now: the unticked pair is no duplicate for the rest of the run.
    session.duplicates.candidates[0].checked = false;
    const int32_t rejected = session.duplicates.candidates[0].first;
    EXPECT_EQ(mergeCheckedCandidates(session), 4);
    EXPECT_EQ(ui.status[1], "4 mergers");
    EXPECT_EQ(session.counts.mergeCount, 4);
    EXPECT_EQ(mergeCheckedCandidates(session), 0); // merged pairs are not merged again
    EXPECT_TRUE(std::all_of(session.duplicates.candidates.begin() + 1, session.duplicates.candidates.end(),
                            [](const CandidatePair& p) { return p.merged; }));
    EXPECT_TRUE(db.isPerson(rejected));

    // That search found fewer than 300: the next starts from the beginning.
    EXPECT_EQ(search(options), first);
    EXPECT_EQ(mergeCheckedCandidates(session), 300);
    EXPECT_EQ(search(options), Pairs{});
    EXPECT_EQ(search(options), Pairs{});
    EXPECT_EQ(ui.status[1], "No duplicates found");
}

TEST_F(DuplicatesTest, AutomaticSearchShowsThePairsThenMergesAndJournals)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Hans /Schmidt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
                           "0 @I2@ INDI\n1 NAME Hans /Schmitt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 OCCU Bauer\n"
                           "0 @I3@ INDI\n1 NAME Hans /Schmid/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
                           "0 TRLR\n"));
    const uint32_t options = persons | soundex | sameDate | automatic;
    ui.confirmPreview = false;
    search(options);
    ASSERT_EQ(ui.previews.size(), 1u);
    ASSERT_EQ(ui.previews[0].size(), 3u);
    EXPECT_EQ(ui.previews[0][2].firstText, "[2] Hans Schmitt  * 1850 \r\n\r\n");
    EXPECT_EQ(ui.previews[0][2].secondText, "[3] Hans Schmid  * 1850 \r\n\r\n");
    EXPECT_TRUE(db.isPerson(2) && db.isPerson(3));
    EXPECT_EQ(test::readFile(session.journal.workingPath()).find("Merge"), std::string::npos);

    ui.confirmPreview = true;
    search(options);
    EXPECT_FALSE(db.isPerson(2) || db.isPerson(3));
    EXPECT_EQ(session.counts.mergeCount, 2);
    EXPECT_EQ(ui.status[1], "2 mergers");
    EXPECT_EQ(session.duplicates.lastJournalEntry,
              "\n- Merge:  Automatic - Persons - Soundex - Same date\n"
              "\r\n[1] Hans Schmidt  * 1850 \r\n[2] Hans Schmitt  * 1850 \r\nmerged\r\n"
              "\r\n[1] Hans Schmidt  * 1850 \r\n[3] Hans Schmid  * 1850 \r\nmerged\r\n"
              "\n2 mergers\n");
    const std::string journal = test::readFile(session.journal.workingPath());
    EXPECT_NE(journal.find("\r\n# We Dec  2 2026 09:05\r\r\n\r\n- Merge:  Automatic"), std::string::npos) << journal;
}

TEST_F(DuplicatesTest, FamiliesSearchMergesFamiliesTwiceEntered)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Hans /Huber/\n1 SEX M\n1 FAMS @F7@\n1 FAMS @F100005@\n"
                           "0 @I2@ INDI\n1 NAME Grete /Moos/\n1 SEX F\n1 FAMS @F7@\n1 FAMS @F100005@\n"
                           "0 @I3@ INDI\n1 NAME Kind /Huber/\n1 FAMC @F100005@\n"
                           "0 @I4@ INDI\n1 NAME Otto /Lenz/\n1 SEX M\n1 FAMS @F8@\n1 FAMS @F9@\n"
                           "0 @I5@ INDI\n1 NAME Eva /Lenz/\n1 SEX F\n1 FAMS @F8@\n1 FAMS @F9@\n"
                           "0 @F7@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n"
                           "0 @F100005@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1890\n1 CHIL @I3@\n"
                           "0 @F8@ FAM\n1 HUSB @I4@\n1 WIFE @I5@\n"
                           "0 @F9@ FAM\n1 HUSB @I4@\n1 WIFE @I5@\n"
                           "0 TRLR\n"));
    db.families[9].flags |= Flag::changed; // left to the user
    EXPECT_EQ(search(exact | sameDate | automatic), (Pairs{{7, 100005}}));
    EXPECT_FALSE(db.isFamily(100005));
    EXPECT_EQ(db.families[7].children.count(), 1);
    EXPECT_TRUE(db.isFamily(9));
    EXPECT_EQ(session.counts.mergeCount, 1);
    EXPECT_EQ(session.duplicates.lastJournalEntry,
              "\n- Merge:  Automatic - Families - Exact - Same date\n"
              "\r\nMRIN 7 und 100005 : [1] Hans Huber  & [2] Grete Moos \r\nmerged\r\n"
              "\n1 mergers\n");
}

TEST_F(DuplicatesTest, ManualModeAsksPairByPairUntilCancel)
{
    std::string ged = "0 HEAD\n";
    for (int i = 1; i <= 6; ++i)
        ged += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME P" + std::to_string((i + 1) / 2) +
               " /Doppel/\n1 SEX M\n1 BIRT\n2 DATE 1850\n";
    ASSERT_TRUE(importText(ged + "0 TRLR\n"));
    ui.mergeAnswers = {[](MergeFields&) { return MergeAnswer::yes; }, [](MergeFields&) { return MergeAnswer::no; },
                       [](MergeFields&) { return MergeAnswer::cancel; }};
    ui.duplicateOptions.push_back(persons | exact | sameDate | DuplicateOption::manual);
    duplicatesCommand(session);
    EXPECT_EQ(ui.mergeDialogs.size(), 3u);
    EXPECT_EQ(ui.mergeDialogs[0].keptRin, 1);
    EXPECT_FALSE(db.isPerson(2));
    EXPECT_TRUE(db.isPerson(3) && db.isPerson(4) && db.isPerson(5) && db.isPerson(6));
    EXPECT_EQ(session.counts.mergeCount, 1);
    EXPECT_EQ(session.duplicates.lastJournalEntry.substr(0, 50), "\n- Merge:  - Persons - Exact - Same date\n\r\n[1] P1 ");
    // The dialog cancelled: nothing searched.
    duplicatesCommand(session);
    EXPECT_EQ(ui.mergeDialogs.size(), 3u);
}

// Facts that contradict each other mean two persons, and two children of
// one family are brothers unless their dates agree.
TEST_F(DuplicatesTest, BrothersAndContradictingLivesAreNoPair)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Andreas /Altfeld/\n1 SEX M\n1 BIRT\n2 DATE 18 OCT 1872\n1 DEAT\n2 DATE 1882\n1 FAMC @F1@\n"
                           "0 @I2@ INDI\n1 NAME Andreas /Altfeld/\n1 SEX M\n1 BIRT\n2 DATE ABT 1874\n1 CHR\n2 DATE 1874\n"
                           "1 FAMC @F1@\n1 FAMS @F2@\n"
                           "0 @I3@ INDI\n1 NAME Anna /Wolf/\n1 SEX F\n1 FAMS @F2@\n"
                           "0 @I4@ INDI\n1 NAME Jakob /Altfeld/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @F1@ FAM\n1 HUSB @I4@\n1 CHIL @I1@\n1 CHIL @I2@\n"
                           "0 @F2@ FAM\n1 HUSB @I2@\n1 WIFE @I3@\n1 MARR\n2 DATE 1892\n"
                           "0 TRLR\n"));
    for (const uint32_t requirement : {DuplicateOption::sameDate, DuplicateOption::noRequirement})
        EXPECT_EQ(search(persons | soundex | requirement | semiautomatic), Pairs{}) << requirement;
    // Brothers of whom nothing is known but the name: no pair.
    for (const int32_t rin : {1, 2})
        db.persons[rin].flags &= ~(Flag::hasBirthDate | Flag::hasDeathDate | Flag::hasChrisDate);
    db.persons[2].fams.clear();
    EXPECT_EQ(search(persons | soundex | DuplicateOption::noRequirement | semiautomatic), Pairs{});
    db.persons[1].flags |= Flag::hasBirthDate;
    db.persons[2].flags |= Flag::hasBirthDate;
    // The same child entered twice, with the same birth: a pair.
    db.persons[2].birthDate = db.persons[1].birthDate;
    db.persons[2].flags &= ~Flag::hasChrisDate;
    EXPECT_EQ(search(persons | soundex | DuplicateOption::noRequirement | semiautomatic), (Pairs{{1, 2}}));
    // Two exact birth dates that differ: two persons.
    db.persons[2].birthDate = makeDate(1872, 10, 19);
    EXPECT_EQ(search(persons | soundex | DuplicateOption::noRequirement | semiautomatic), Pairs{});
}

// A father and his son of one name, without dates, are no pair, whichever
// has the lower RIN.
TEST_F(DuplicatesTest, AFatherAndHisSonOfOneNameAreNoPair)
{
    for (const bool fatherFirst : {true, false}) {
        SCOPED_TRACE(fatherFirst);
        const int father = fatherFirst ? 1 : 2, son = fatherFirst ? 2 : 1;
        ASSERT_TRUE(importText("0 HEAD\n0 @I" + std::to_string(father) + "@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 FAMS @F1@\n" +
                               "0 @I" + std::to_string(son) + "@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 FAMC @F1@\n" +
                               "0 @F1@ FAM\n1 HUSB @I" + std::to_string(father) + "@\n1 CHIL @I" + std::to_string(son) +
                               "@\n0 TRLR\n"));
        for (const uint32_t method : {exact, soundex, other})
            EXPECT_EQ(search(persons | method | none | semiautomatic), Pairs{}) << method;
    }
}

TEST_F(DuplicatesTest, PlaceHintOfAPersonWithoutDataEndsInACyclicFile)
{
    // Karl is the father of Otto and Otto the father of Karl (the import
    // makes both men); the place is found through Otto's other child. The
    // second Karl is the son of another Otto Vogel (brothers would be no pair).
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Karl /Vogel/\n1 FAMC @F1@\n1 FAMS @F2@\n"
                           "0 @I2@ INDI\n1 NAME Karl /Vogel/\n1 SEX M\n1 FAMC @F3@\n"
                           "0 @I3@ INDI\n1 NAME Otto /Vogel/\n1 FAMC @F2@\n1 FAMS @F1@\n"
                           "0 @I4@ INDI\n1 NAME Fritz /Vogel/\n1 SEX M\n1 FAMC @F1@\n1 BURI\n2 PLAC Ulm\n"
                           "0 @I5@ INDI\n1 NAME Otto /Vogel/\n1 SEX M\n1 FAMS @F3@\n"
                           "0 @F1@ FAM\n1 HUSB @I3@\n1 CHIL @I1@\n1 CHIL @I4@\n"
                           "0 @F2@ FAM\n1 HUSB @I1@\n1 CHIL @I3@\n"
                           "0 @F3@ FAM\n1 HUSB @I5@\n1 CHIL @I2@\n"
                           "0 TRLR\n"));
    EXPECT_EQ(search(persons | exact | DuplicateOption::sameParents | semiautomatic), (Pairs{{1, 2}}));
    EXPECT_EQ(session.duplicates.candidates[0].firstText,
              "[1] Karl Vogel  ?Ulm?\r\n father: Otto Vogel \r\n");
}

TEST(DuplicateOptions, DialogRules)
{
    using namespace DuplicateOption;
    EXPECT_EQ(withRequirement(defaults, noRequirement), defaults); // not while automatic
    const uint32_t semi = withMode(defaults, semiautomatic);
    EXPECT_EQ(withRequirement(semi, noRequirement) & requirementMask, noRequirement);
    EXPECT_EQ(withMode(withRequirement(semi, noRequirement), automatic) & requirementMask, sameDate);
    EXPECT_EQ(withMode(withRequirement(semi, sameSpouse), automatic) & requirementMask, sameSpouse);
    EXPECT_EQ(withMethod(1) & methodMask, 2u);
}

} // namespace
} // namespace kinmap
