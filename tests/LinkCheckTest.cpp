#include "app/ExtrasCommands.h"
#include "check/LinkCheck.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinmap {
namespace {

class LinkCheckTest : public test::ImportFixture {
protected:
    // Imports the text and returns what the link check reported.
    std::string checked(const std::string& text)
    {
        EXPECT_TRUE(importText("0 HEAD\n" + text + "0 TRLR\n"));
        const std::string all = report();
        const std::string marker = "test.ged loaded in 0 sec";
        const size_t at = all.find(marker);
        return at == std::string::npos ? all : all.substr(at + marker.size());
    }
    std::vector<int32_t> list(const IdList& l) { return {l.begin(), l.end()}; }
};

TEST_F(LinkCheckTest, AConsistentFileNeedsNoRepair)
{
    EXPECT_EQ(checked("0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 FAMS @F1@\n"
                      "0 @I2@ INDI\n1 NAME C /D/\n1 SEX F\n1 FAMS @F1@\n"
                      "0 @I3@ INDI\n1 NAME E /B/\n1 FAMC @F1@\n"
                      "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n"),
              "");
}

TEST_F(LinkCheckTest, ANamelessChildIsDeletedAndLeavesItsFamily)
{
    EXPECT_EQ(checked("0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 FAMS @F1@\n"
                      "0 @I2@ INDI\n1 FAMC @F1@\n"
                      "0 @I3@ INDI\n"                    // nameless, no families: stays
                      "0 @I4@ INDI\n1 SEX F\n1 FAMS @F1@\n" // nameless wife: stays
                      "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I4@\n1 CHIL @I2@\n"),
              "\r\n### Person 2 has no name (deleted)"
              "\r\n### Person 3 has no name"
              "\r\n### Person 4 has no name"
              "\r\n### Fam 1 has deleted CHIL 2 \r\n Fam [1] A B "
              "\r\n\r\n2 errors corrected automatically!\r\nPlease export to save changes!\r\n");
    EXPECT_FALSE(db.isPerson(2));
    EXPECT_EQ(db.persons[2].flags, 0u);
    EXPECT_TRUE(db.isPerson(3));
    EXPECT_TRUE(db.families[1].children.empty());
}

TEST_F(LinkCheckTest, TheSamePersonAsHusbandAndWifeEndsAsAWoman)
{
    EXPECT_EQ(checked("0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 FAMS @F1@\n"
                      "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I1@\n"),
              "\r\n### Fam 1 has same person 1 as HUSB and WIFE "
              "\r\n### Fam 1 has WIFE 1 with sex 'M' (corrected) \r\n Fam [1] A B - A B "
              "\r\n\r\n1 errors corrected automatically!\r\nPlease export to save changes!\r\n");
    EXPECT_EQ(db.persons[1].sex, 'F');
    EXPECT_EQ(db.persons[1].flags & Flag::changed, Flag::changed);
}

TEST_F(LinkCheckTest, AFamilyWithoutSpousesIsDeletedOnlyWithFewerThanTwoChildren)
{
    EXPECT_EQ(checked("0 @I1@ INDI\n1 NAME A /B/\n1 FAMC @F1@\n"
                      "0 @I2@ INDI\n1 NAME C /B/\n1 FAMC @F2@\n"
                      "0 @I3@ INDI\n1 NAME D /B/\n1 FAMC @F2@\n"
                      "0 @F1@ FAM\n1 CHIL @I1@\n"
                      "0 @F2@ FAM\n1 CHIL @I2@\n1 CHIL @I3@\n"),
              "\r\n### Empty FAM 1 (deleted)"
              "\r\n\r\n1 errors corrected automatically!\r\nPlease export to save changes!\r\n");
    EXPECT_FALSE(db.isFamily(1));
    EXPECT_EQ(list(db.persons[1].famc), std::vector<int32_t>{1}); // kept in this run
    EXPECT_TRUE(db.isFamily(2));
}

TEST_F(LinkCheckTest, DoubledLinksAreReducedWhereverTheyStand)
{
    // The import drops a repeated CHIL line, next to the other or not.
    EXPECT_EQ(checked("0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 FAMS @F1@\n1 FAMS @F2@\n"
                      "0 @I2@ INDI\n1 NAME C /B/\n1 FAMC @F1@\n"
                      "0 @I3@ INDI\n1 NAME D /B/\n1 FAMC @F1@\n"
                      "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n1 CHIL @I3@\n1 CHIL @I2@\n"
                      "0 @F2@ FAM\n1 HUSB @I1@\n"),
              "");
    EXPECT_NE(report().find("MRIN 1 has duplicate CHIL 2: ignored"), std::string::npos) << report();
    EXPECT_EQ(list(db.families[1].children), (std::vector<int32_t>{2, 3}));
    // A doubled list entry (as merges can leave) is reported by the person
    // check, apart from the first or next to it.
    db.appendLink(db.persons[1].fams, 2);
    db.appendLink(db.persons[1].fams, 1);
    db.appendLink(db.families[1].children, 2);
    session.report.clear();
    EXPECT_EQ(checkPersonLinks(session, 1), 2);
    EXPECT_EQ(report(), "\r\n### Person 1 has double FAMS 2 (corrected)\r\n### Person 1 has double FAMS 1 (corrected)");
    EXPECT_EQ(list(db.persons[1].fams), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(checkFamilyLinks(session, 1), 1);
    EXPECT_EQ(list(db.families[1].children), (std::vector<int32_t>{2, 3}));
}

TEST_F(LinkCheckTest, AWrongSpouseLinkIsMadeGoodOrDropped)
{
    EXPECT_EQ(checked("0 @I1@ INDI\n1 NAME Man /M/\n1 SEX M\n1 FAMS @F1@\n"
                      "0 @I2@ INDI\n1 NAME Wife /W/\n1 SEX F\n1 FAMS @F1@\n"
                      "0 @I3@ INDI\n1 NAME Other /W/\n1 SEX F\n1 FAMS @F1@\n"
                      "0 @F1@ FAM\n1 WIFE @I2@\n"),
              "\r\n### Person 1 has wrong FAMS 1 (corrected)\r\n[1] Man M  Fam [1] - Wife W "
              "\r\n### Person 3 has wrong FAMS 1 (corrected)\r\n[3] Other W  Fam [1] Man M - Wife W "
              "\r\n\r\n2 errors corrected automatically!\r\nPlease export to save changes!\r\n");
    EXPECT_EQ(db.families[1].husband, 1);
    EXPECT_TRUE(db.persons[3].fams.empty());
}

TEST_F(LinkCheckTest, PointersToNoRecordAreRemovedAndCounted)
{
    EXPECT_EQ(checked("0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 FAMS @F9@\n1 FAMC @F2@\n1 FAMC @F8@\n"
                      "0 @I2@ INDI\n1 NAME C /B/\n1 FAMC @F2@\n"
                      "0 @F2@ FAM\n1 HUSB @I7@\n1 WIFE @I8@\n1 CHIL @I1@\n"),
              "\r\n### Person 1 has FAMS @F9@, which names no record (removed)\r\n[1] A B "
              "\r\n### Person 1 has FAMC @F8@, which names no record (removed)\r\n[1] A B "
              "\r\n### Fam 2 has HUSB @I7@, which names no record (removed)\r\n Fam [2] "
              "\r\n### Fam 2 has WIFE @I8@, which names no record (removed)\r\n Fam [2] "
              "\r\n### Person 2 (FAMC 2) added as child\r\n[2] C B "
              "\r\n\r\n5 errors corrected automatically!\r\nPlease export to save changes!\r\n");
    EXPECT_EQ(list(db.families[2].children), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(db.families[2].husband, 0);
    EXPECT_FALSE(db.families[2].flags & Flag::hasHusband);

    // A pointer is resolved by the identifier as the file spells it, never
    // by its digits: "@X1@" is not the husband "@I1@", "@I2@" not "@P2@".
    EXPECT_EQ(checked("0 @I1@ INDI\n1 NAME Hus /B/\n1 SEX M\n1 FAMS @F1@\n"
                      "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @X1@\n"),
              "\r\n### Fam 1 has CHIL @X1@, which names no record (removed)\r\n Fam [1] Hus B "
              "\r\n\r\n1 errors corrected automatically!\r\nPlease export to save changes!\r\n");
    EXPECT_TRUE(db.persons[1].famc.empty());
    EXPECT_TRUE(db.families[1].children.empty());
    checked("0 @P1@ INDI\n1 NAME Hus /B/\n1 SEX M\n1 FAMS @F1@\n0 @P2@ INDI\n1 NAME Kid /B/\n"
            "0 @F1@ FAM\n1 HUSB @P1@\n1 CHIL @I2@\n");
    EXPECT_TRUE(db.families[1].children.empty());
    EXPECT_TRUE(db.persons[2].famc.empty());
    std::string written;
    ASSERT_TRUE(exportAllCommand(session, dir.file("out.ged")));
    written = test::readFile(dir.file("out.ged"));
    EXPECT_EQ(written.find("CHIL"), std::string::npos) << written;
    EXPECT_EQ(written.find("FAMC"), std::string::npos) << written;
}

TEST_F(LinkCheckTest, ADeletedHusbandIsRemovedCountedAndTheRestOfTheFamilyChecked)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME W /X/\n1 SEX F\n1 FAMS @F1@\n"
                           "0 @I2@ INDI\n1 NAME C /X/\n1 FAMC @F1@\n"
                           "0 @I9@ INDI\n1 NAME H /X/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @F1@ FAM\n1 HUSB @I9@\n1 WIFE @I1@\n1 CHIL @I2@\n0 TRLR\n"));
    db.persons[9].flags = 0; // deleted, as a merge leaves a record
    db.persons[1].fams.clear();
    db.persons[2].famc.clear();
    session.report.clear();
    EXPECT_EQ(checkFamilyLinks(session, 1), 3);
    EXPECT_EQ(report(), "\r\n### Fam 1 has deleted HUSB 9 \r\n Fam [1] H X - W X "
                        "\r\n### WIFE 1 without FAMS 1 (corrected)\r\n Fam [1] - W X "
                        "\r\n### Child 2 without FAMC 1 (corrected)\r\n Fam [1] - W X ");
    EXPECT_EQ(db.families[1].husband, 0);
    EXPECT_FALSE(db.families[1].flags & Flag::hasHusband);
    session.report.clear();
    EXPECT_EQ(checkFamilyLinks(session, 1), 0); // nothing left for a second run
}

TEST_F(LinkCheckTest, HusbandInOneFamilyAndWifeInAnotherKeepsTheSexAndNothingIsCorrectedTwice)
{
    // The sex that fits one family contradicts the other: not corrected by
    // the import nor by Find Errors, and a second run finds nothing to correct.
    checked("0 @I1@ INDI\n1 NAME One /P/\n1 SEX M\n1 FAMS @F1@\n1 FAMS @F2@\n"
            "0 @I2@ INDI\n1 NAME Two /P/\n1 SEX F\n1 FAMS @F1@\n"
            "0 @I3@ INDI\n1 NAME Three /P/\n1 SEX M\n1 FAMS @F2@\n"
            "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n"
            "0 @F2@ FAM\n1 HUSB @I3@\n1 WIFE @I1@\n");
    EXPECT_NE(report().find("### Fam 2 has WIFE 1 with sex 'M', HUSB in Fam 1 (not corrected) "), std::string::npos) << report();
    EXPECT_EQ(report().find("errors corrected automatically"), std::string::npos) << report();
    EXPECT_EQ(db.persons[1].sex, 'M');
    runErrorCheck(session);
    EXPECT_EQ(session.errors.correctedCount, 0);
    EXPECT_EQ(db.persons[1].sex, 'M');
    EXPECT_EQ(db.persons[3].sex, 'M');
}

TEST_F(LinkCheckTest, EveryRepairMarksTheRecordsItChangedAndNoOthers)
{
    EXPECT_EQ(checked("0 @I1@ INDI\n1 NAME Man /M/\n1 SEX M\n"
                      "0 @I2@ INDI\n1 NAME Wife /W/\n1 SEX M\n1 FAMS @F1@\n"
                      "0 @I3@ INDI\n1 NAME Kid /M/\n1 FAMC @F1@\n"
                      "0 @I4@ INDI\n1 NAME Other /M/\n"
                      "0 @I5@ INDI\n1 NAME Calm /C/\n1 SEX M\n1 FAMS @F2@\n"
                      "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I4@\n"
                      "0 @F2@ FAM\n1 HUSB @I5@\n"),
              "\r\n### Person 3 (FAMC 1) added as child\r\n[3] Kid M "
              "\r\n### HUSB 1 without FAMS 1 (corrected)\r\n Fam [1] Man M - Wife W "
              "\r\n### Fam 1 has WIFE 2 with sex 'M' (corrected) \r\n Fam [1] Man M - Wife W "
              "\r\n### Child 4 without FAMC 1 (corrected)\r\n Fam [1] Man M - Wife W "
              "\r\n\r\n4 errors corrected automatically!\r\nPlease export to save changes!\r\n");
    for (int32_t rin = 1; rin <= 5; ++rin)
        EXPECT_EQ((db.persons[rin].flags & Flag::changed) != 0, rin == 1 || rin == 2 || rin == 4) << rin;
    EXPECT_TRUE(db.families[1].flags & Flag::changed);
    EXPECT_FALSE(db.families[2].flags & Flag::changed);
    EXPECT_EQ(db.persons[2].sex, 'F');
    EXPECT_EQ(list(db.families[1].children), (std::vector<int32_t>{4, 3}));

    // A doubled FAMC entry next to the other (as a merge can leave it).
    db.appendLink(db.persons[3].famc, 1);
    db.persons[3].flags &= ~Flag::changed;
    session.report.clear();
    EXPECT_EQ(checkPersonLinks(session, 3), 1);
    EXPECT_EQ(report(), "\r\n### Person 3 has double FAMC 1 (corrected)\r\n[3] Kid M ");
    EXPECT_EQ(list(db.persons[3].famc), std::vector<int32_t>{1});
    EXPECT_TRUE(db.persons[3].flags & Flag::changed);
}

TEST_F(LinkCheckTest, DeletedRecordsThatAreStillReferencedAreUnlinked)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @I2@ INDI\n1 NAME C /B/\n1 FAMC @F1@\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n0 TRLR\n"));
    session.report.clear();
    db.persons[1].flags = 0; // deleted, but its family still names it
    EXPECT_EQ(checkPersonLinks(session, 1), 1);
    EXPECT_EQ(report(), "\n### Person 1 deleted, but FAMS 1 undeleted\r\n[1] A B ");
    EXPECT_EQ(db.families[1].husband, 0);

    session.report.clear();
    db.families[1].flags = 0;
    EXPECT_EQ(checkFamilyLinks(session, 1), 1);
    EXPECT_EQ(report(), "\r\n### Fam 1 deleted, but referenced by undeleted CHIL 2 ");
    EXPECT_TRUE(db.persons[2].famc.empty());
    EXPECT_EQ(checkPersonLinks(session, 0), 0);
    EXPECT_EQ(checkFamilyLinks(session, -3), 0);
}

} // namespace
} // namespace kinmap
