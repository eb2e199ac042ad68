// Merging persons and families: the values kept, every link moved, the
// guards of the manual merge, and what the export makes of a merge.
#include "app/ExtrasCommands.h"
#include "app/FileCommands.h"
#include "check/LinkCheck.h"
#include "check/Merge.h"
#include "ged/Export.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinmap {
namespace {

std::vector<int32_t> entries(const IdList& list)
{
    return {list.begin(), list.end()};
}

class MergeTest : public test::ImportFixture {
protected:
    std::string text(Text t) const { return t ? t : "<null>"; }
    // Re-reads the links from both sides: a merge leaves nothing to repair.
    int32_t repairs() { return checkAllLinks(session); }
};

TEST_F(MergeTest, AutomaticMergeKeepsTheSmallerRinAndTheFullerValues)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Anna /Roth/\n1 SEX F\n1 BIRT\n2 DATE 1900\n2 PLAC Berlin\n"
                           "1 CHR\n2 PLAC Berlin\n1 DEAT\n2 PLAC Ulm\n"
                           "0 @I2@ INDI\n1 NAME Anna Maria //\n1 SEX F\n1 BIRT\n2 DATE 5 MAR 1900\n2 PLAC Potsdam\n"
                           "1 CHR\n2 PLAC Berlin-Mitte\n1 BURI\n2 DATE 1950\n2 PLAC Ulm\n"
                           "0 @I3@ INDI\n1 NAME Karl /Roth/\n1 SEX M\n"
                           "0 TRLR\n"));
    markPerson(session, 2, true);
    session.report.clear();
    EXPECT_EQ(mergePersonsAuto(session, 2, 1), 1);
    const PersonRecord& kept = db.persons[1];
    EXPECT_EQ(text(kept.given), "Anna Maria");
    EXPECT_EQ(text(kept.surname), "Roth"); // a missing name never replaces one
    EXPECT_EQ(formatDate(kept.birthDate).get(), std::string("5 MAR 1900"));
    EXPECT_EQ(text(kept.birthPlace), "Berlin, Potsdam");
    EXPECT_EQ(text(kept.chrisPlace), "Berlin-Mitte");
    EXPECT_EQ(text(kept.deathPlace), "Ulm");
    EXPECT_EQ(formatDate(kept.burialDate).get(), std::string("1950"));
    EXPECT_TRUE(kept.flags & Flag::hasBurialDate);
    EXPECT_TRUE(kept.flags & Flag::changed);
    EXPECT_EQ(db.persons[2].flags, 0u);
    EXPECT_EQ(entries(kept.mergedRins), (std::vector<int32_t>{2}));
    // The mark moves with the person; the count stays exact.
    EXPECT_TRUE(kept.flags & Flag::selected);
    EXPECT_EQ(session.counts.selectedCount, 1);
    EXPECT_EQ(report(), "\r\n[1] Anna Roth  * 1900 Berlin\r\n"
                        "[2] Anna Maria   * 5 MAR 1900 Potsdam\r\nmerged\r\n");

    EXPECT_EQ(mergePersonsAuto(session, 1, 2), 0); // 2 is gone
    EXPECT_EQ(mergePersonsAuto(session, 1, 1), 0);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(mergePersonsAuto(session, 1, 3), 0);
    EXPECT_EQ(ui.errors, (std::vector<std::string>{"MergeAuto fail"}));
    EXPECT_TRUE(db.isPerson(3));
}

TEST_F(MergeTest, LinksMoveAndFamiliesWithTheSameSpouseMerge)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Hans /Huber/\n1 SEX M\n1 FAMS @F1@\n1 FAMS @F6@\n1 FAMS @F7@\n1 FAMC @F4@\n"
                           "0 @I2@ INDI\n1 NAME Hans /Huber/\n1 SEX M\n1 FAMS @F2@\n1 FAMS @F3@\n1 FAMS @F8@\n1 FAMC @F4@\n"
                           "0 @I3@ INDI\n1 NAME Grete /Huber/\n1 SEX F\n1 FAMS @F1@\n1 FAMS @F2@\n"
                           "0 @I4@ INDI\n1 NAME Kind /Eins/\n1 FAMC @F1@\n"
                           "0 @I5@ INDI\n1 NAME Kind /Zwei/\n1 FAMC @F2@\n"
                           "0 @I6@ INDI\n1 NAME Kind /Beide/\n1 FAMC @F1@\n1 FAMC @F2@\n"
                           "0 @I7@ INDI\n1 NAME Maria /Moos/\n1 SEX F\n1 FAMS @F3@\n1 FAMS @F6@\n"
                           "0 @I8@ INDI\n1 NAME Vater /Huber/\n1 SEX M\n1 FAMS @F4@\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n1 CHIL @I4@\n1 CHIL @I6@\n"
                           "0 @F2@ FAM\n1 HUSB @I2@\n1 WIFE @I3@\n1 MARR\n2 DATE 1890\n2 PLAC Wien\n1 CHIL @I5@\n1 CHIL @I6@\n"
                           "0 @F3@ FAM\n1 HUSB @I2@\n1 WIFE @I7@\n1 MARR\n2 DATE 1900\n"
                           "0 @F4@ FAM\n1 HUSB @I8@\n1 CHIL @I1@\n1 CHIL @I2@\n"
                           "0 @F6@ FAM\n1 HUSB @I1@\n1 WIFE @I7@\n1 MARR\n2 DATE 1901\n"
                           "0 @F7@ FAM\n1 HUSB @I1@\n"
                           "0 @F8@ FAM\n1 HUSB @I2@\n"
                           "0 TRLR\n"));
    EXPECT_EQ(mergePersonsAuto(session, 1, 2), 1);

    // The family with the same wife merged: children united, its marriage
    // date and place taken over.
    EXPECT_FALSE(db.isFamily(2));
    EXPECT_EQ(entries(db.families[1].children), (std::vector<int32_t>{4, 6, 5}));
    EXPECT_EQ(entries(db.families[1].mergedMrins), (std::vector<int32_t>{2}));
    EXPECT_EQ(formatDate(db.families[1].marrDate).get(), std::string("1890"));
    EXPECT_EQ(text(db.families[1].marrPlace), "Wien");
    EXPECT_EQ(entries(db.persons[5].famc), (std::vector<int32_t>{1}));
    EXPECT_EQ(entries(db.persons[6].famc), (std::vector<int32_t>{1}));
    EXPECT_EQ(entries(db.persons[3].fams), (std::vector<int32_t>{1}));
    // Marriages of other years stay two families, both his; families whose
    // only common spouse is "none" are not merged.
    EXPECT_EQ(entries(db.persons[1].fams), (std::vector<int32_t>{1, 6, 7, 3, 8}));
    EXPECT_EQ(db.families[3].husband, 1);
    EXPECT_EQ(db.families[8].husband, 1);
    // One child of the parents' family, once.
    EXPECT_EQ(entries(db.families[4].children), (std::vector<int32_t>{1}));
    EXPECT_EQ(entries(db.persons[1].famc), (std::vector<int32_t>{4}));
    for (const int32_t mrin : {1, 3, 4, 8})
        EXPECT_TRUE(db.families[mrin].flags & Flag::changed) << mrin;
    EXPECT_EQ(repairs(), 0) << report();
}

TEST_F(MergeTest, ExportCarriesEveryLinkAndLineOfTheMergedPerson)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Hans /Schmidt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n2 PLAC Berlin\n"
                           "1 FAMS @F1@\n1 FAMC @F3@\n"
                           "0 @I2@ INDI\n1 NAME Hans /Schmitt/\n1 SEX M\n1 BIRT\n2 DATE 5 MAR 1850\n2 PLAC Potsdam\n"
                           "2 SOUR @S1@\n1 OCCU Farmer\n1 NOTE @N1@\n1 FAMS @F2@\n1 _CUSTOM value\n2 _SUB x\n1 RIN 2\n"
                           "0 @I3@ INDI\n1 NAME Anna /Meyer/\n1 SEX F\n1 FAMS @F1@\n1 FAMS @F2@\n1 ASSO @I2@\n2 RELA Friend\n"
                           "0 @I4@ INDI\n1 NAME Peter /Schmidt/\n1 SEX M\n1 FAMS @F3@\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n"
                           "0 @F2@ FAM\n1 HUSB @I2@\n1 WIFE @I3@\n1 MARR\n2 DATE 1875\n2 PLAC Köln\n2 SOUR @S1@\n1 DIV Y\n"
                           "0 @F3@ FAM\n1 HUSB @I4@\n1 CHIL @I1@\n"
                           "0 @N1@ NOTE A note\n"
                           "0 @S1@ SOUR\n1 TITL Church book\n"
                           "0 TRLR\n"));
    ASSERT_EQ(mergePersonsAuto(session, 1, 2), 1);
    ASSERT_TRUE(exportAllCommand(session, dir.file("out.ged")));
    EXPECT_EQ(test::readFile(dir.file("out.ged")),
              "0 HEAD\n"
              "0 @I1@ INDI\n1 NAME Hans /Schmidt/\n1 SEX M\n1 BIRT\n2 DATE 5 MAR 1850\n2 PLAC Berlin, Potsdam\n"
              "2 SOUR @S1@\n1 OCCU Farmer\n1 FAMC @F3@\n1 FAMS @F1@\n1 NOTE @N1@\n1 _CUSTOM value\n2 _SUB x\n"
              "0 @I3@ INDI\n1 NAME Anna /Meyer/\n1 SEX F\n1 FAMS @F1@\n1 ASSO @I1@\n2 RELA Friend\n"
              "0 @I4@ INDI\n1 NAME Peter /Schmidt/\n1 SEX M\n1 FAMS @F3@\n"
              // Divorced in the dropped family only: the kept one is, once.
              "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n1 DIV Y\n1 MARR\n2 DATE 1875\n2 PLAC Köln\n2 SOUR @S1@\n"
              "0 @F3@ FAM\n1 HUSB @I4@\n1 CHIL @I1@\n"
              "0 @N1@ NOTE A note\n"
              "0 @S1@ SOUR\n1 TITL Church book\n"
              "0 TRLR\n");
    // The written file is whole: read again, nothing to repair.
    ASSERT_TRUE(importCommand(session, dir.file("out.ged")));
    EXPECT_EQ(report().find("###"), std::string::npos) << report();
}

TEST_F(MergeTest, ManualMergeAsksAndRefusesWhatIsNoMerge)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Anna /Roth/\n1 SEX F\n1 BIRT\n2 DATE 1900\n2 PLAC Berlin\n1 FAMS @F1@\n"
                           "0 @I2@ INDI\n1 NAME Anna Maria /Rot/\n1 SEX F\n1 BIRT\n2 DATE 5 MAR 1900\n2 PLAC Potsdam\n"
                           "1 FAMS @F2@\n"
                           "0 @I3@ INDI\n1 NAME Karl /Roth/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @I4@ INDI\n1 NAME Otto /Roth/\n1 SEX M\n1 FAMS @F2@\n"
                           "0 @F1@ FAM\n1 HUSB @I3@\n1 WIFE @I1@\n"
                           "0 @F2@ FAM\n1 HUSB @I4@\n1 WIFE @I2@\n"
                           "0 TRLR\n"));
    // The same person twice, no person, a stale number: no dialog.
    for (const auto& [a, b] : {std::pair{1, 1}, {1, 0}, {0, 1}, {1, 99}})
        EXPECT_EQ(mergePersonsManual(session, a, b), MergeAnswer::no);
    EXPECT_EQ(ui.errors.size(), 4u);
    EXPECT_TRUE(ui.mergeDialogs.empty());
    // Different sex: asked first (and No).
    EXPECT_EQ(mergePersonsManual(session, 1, 3), MergeAnswer::no);
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_TRUE(ui.mergeDialogs.empty());

    // The dialog offers B's longer given name, its more precise date and its
    // longer place; CANCEL changes nothing.
    EXPECT_EQ(mergePersonsManual(session, 1, 2), MergeAnswer::cancel);
    ASSERT_EQ(ui.mergeDialogs.size(), 1u);
    const MergeFields& offered = ui.mergeDialogs[0];
    EXPECT_EQ(offered.kept[0], "Anna");
    EXPECT_EQ(offered.other[2], "5 MAR 1900");
    EXPECT_EQ(offered.keptRelatives[2], "Karl Roth");
    EXPECT_EQ((std::vector<bool>(offered.takeOther.begin(), offered.takeOther.end())),
              (std::vector<bool>{true, false, true, true, false, false, false, false, false, false}));
    EXPECT_TRUE(db.isPerson(2));

    // YES with every box unticked: only the links are merged.
    ui.mergeAnswers.push_back([](MergeFields& fields) {
        fields.takeOther.fill(false);
        return MergeAnswer::yes;
    });
    session.shell.currentPerson = 1;
    session.shell.previousPerson = 2;
    mergeCommand(session);
    EXPECT_FALSE(db.isPerson(2));
    EXPECT_EQ(text(db.persons[1].given), "Anna");
    EXPECT_EQ(formatDate(db.persons[1].birthDate).get(), std::string("1900"));
    EXPECT_EQ(text(db.persons[1].birthPlace), "Berlin");
    EXPECT_EQ(entries(db.persons[1].fams), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(db.families[2].wife, 1);
    EXPECT_EQ(session.counts.mergeCount, 1); // asked about before unexported changes are lost
    EXPECT_EQ(repairs(), 0);
    // A second click on the same person.
    session.shell.previousPerson = 1;
    mergeCommand(session);
    EXPECT_EQ(ui.errors.size(), 5u);
}

TEST_F(MergeTest, ManyJoinedPlacesStayWithinTheirLimit)
{
    std::string ged = "0 HEAD\n";
    for (int i = 1; i <= 40; ++i)
        ged += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME Hans /Huber/\n1 SEX M\n1 BIRT\n2 DATE 1850\n2 PLAC Ort-" +
               std::to_string(100 + i) + " im langen Tal der vielen Dörfer\n";
    ASSERT_TRUE(importText(ged + "0 TRLR\n"));
    for (int i = 2; i <= 40; ++i)
        ASSERT_EQ(mergePersonsAuto(session, 1, i), 1);
    const std::string place = text(db.persons[1].birthPlace);
    EXPECT_LE(place.size(), maxJoinedPlace);
    EXPECT_GT(place.size(), maxJoinedPlace - 45);
    EXPECT_EQ(place.rfind("Ort-101 ", 0), 0u);
    EXPECT_NE(place.find(", Ort-123 "), std::string::npos);
    EXPECT_EQ(place.find("Ort-124"), std::string::npos);
}

} // namespace
} // namespace kinmap
