#include "app/Shell.h"
#include "ged/BackupFiles.h"
#include "ged/Export.h"
#include "ged/PersonText.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>

namespace kinmap {
namespace {

using test::FileEncoding;

class ExportTest : public test::ImportFixture {
protected:
    // Exports every person to a new file and returns its bytes.
    std::string exportAll(const std::string& name = "out.ged")
    {
        const std::string target = dir.file(name);
        EXPECT_TRUE(exportAllCommand(session, target));
        return test::readFile(target);
    }
    void select(std::initializer_list<int32_t> rins)
    {
        for (int32_t rin : rins) {
            db.persons[rin].flags |= Flag::selected;
            ++session.shell.selectedCount;
        }
    }
};

// A file that needs no repair: an export of everyone writes it unchanged.
const std::string unchangedFamily = "0 HEAD\n"
                                    "1 SOUR test\n"
                                    "1 CHAR UTF-8\n"
                                    "0 @I1@ INDI\n"
                                    "1 NAME \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD /\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2/\n"
                                    "1 SEX M\n"
                                    "1 BIRT\n"
                                    "2 DATE BET 1850 AND 1860\n"
                                    "2 PLAC \xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0\n"
                                    "2 SOUR @S1@\n"
                                    "3 PAGE p. 5 \xE2\x80\x94 \xF0\x9F\x93\x9C\n"
                                    "1 FAMS @F1@\n"
                                    "1 NOTE @N1@\n"
                                    "0 @I2@ INDI\n"
                                    "1 NAME Anna /Schmidt/\n"
                                    "1 SEX F\n"
                                    "1 BIRT\n"
                                    "2 DATE 12 Jan 1850\n"
                                    "1 FAMS @F1@\n"
                                    "0 @I3@ INDI\n"
                                    "1 NAME Karl /M\xC3\xBCller/\n"
                                    "1 FAMC @F1@\n"
                                    "2 PEDI birth\n"
                                    "1 _UID 1234\n"
                                    "0 @F1@ FAM\n"
                                    "1 HUSB @I1@\n"
                                    "1 WIFE @I2@\n"
                                    "1 CHIL @I3@\n"
                                    "1 MARR\n"
                                    "2 DATE 1875\n"
                                    "0 @N1@ NOTE \xC5\x81\xC3\xB3" "d\xC5\xBA, 100% sure\n"
                                    "1 CONT second line\n"
                                    "0 @S1@ SOUR\n"
                                    "1 TITL Kirchenbuch\n"
                                    "0 TRLR\n";

TEST_F(ExportTest, AnUnchangedFileComesOutByteForByteInEveryEncoding)
{
    const std::string utf8 = "\xEF\xBB\xBF" + unchangedFamily;
    for (const std::string& bytes : {utf8, test::crlf(utf8), test::utf8ToUtf16le(test::crlf(unchangedFamily))}) {
        ASSERT_TRUE(importBytes(bytes));
        ASSERT_EQ(report().find("###"), std::string::npos) << report();
        EXPECT_EQ(exportAll(), bytes);
        EXPECT_TRUE(ui.errors.empty());
    }
    // Latin-1: the 8-bit letters stay as they are.
    const std::string latin1 =
        "0 HEAD\n0 @I1@ INDI\n1 NAME J\xFCrgen /Gr\xFC\xDF/\n1 SEX M\n1 NOTE @N1@\n0 @N1@ NOTE caf\xE9\n0 TRLR\n";
    ASSERT_TRUE(importBytes(latin1));
    EXPECT_EQ(exportAll(), latin1);
}

TEST_F(ExportTest, ChangedRecordsKeepEveryLineTheDatabaseStillHolds)
{
    const std::string text = "\xEF\xBB\xBF" + unchangedFamily;
    ASSERT_TRUE(importBytes(text));
    // A changed record whose values are all still those of the file.
    db.persons[1].flags |= Flag::changed;
    db.families[1].flags |= Flag::changed;
    EXPECT_EQ(exportAll(), text);
}

TEST_F(ExportTest, ChangedValuesAreWrittenIntoTheLinesTheyCameFrom)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n"
                           "1 NOTE first note\n"
                           "1 NAME Johann /Schmidt/ Jr\n"
                           "2 GIVN Johann\n"
                           "2 SURN Schmidt\n"
                           "1 NAME Hans /Schmied/ der \xC4ltere\n"
                           "2 GIVN Hans\n"
                           "2 SURN Schmied\n"
                           "1 _CUSTOM level one\n"
                           "2 _SUB kept in a rebuilt record\n"
                           "1 SEX M\n"
                           "1 BIRT\n"
                           "2 DATE 12 Jan 1850\n"
                           "2 PLAC Bonn\n"
                           "1 BIRT\n"
                           "2 DATE 1851\n"
                           "2 NOTE a second birth record\n"
                           "1 OCCU Smith\n"
                           "1 FAMC @F1@\n"
                           "2 PEDI birth\n"
                           "1 FAMC @F2@\n"
                           "2 PEDI adopted\n"
                           "0 @I2@ INDI\n1 NAME Father /Schmied/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @I3@ INDI\n1 NAME Other /Father/\n1 SEX M\n1 FAMS @F2@\n"
                           "0 @F1@ FAM\n1 HUSB @I2@\n1 CHIL @I1@\n"
                           "0 @F2@ FAM\n1 HUSB @I3@\n1 CHIL @I1@\n"
                           "0 TRLR\n"));
    PersonRecord& p = db.persons[1];
    p.given = db.internText(givenPool, "Hannes");
    p.deathDate = makeDate(1920, 3, 4);
    p.deathPlace = db.internText(placePool, "K\xF6ln");
    p.flags |= Flag::changed | Flag::hasDeathDate | Flag::hasDeathPlace;
    // The parents' families in the other order.
    p.famc.clear();
    db.appendLink(p.famc, 2);
    db.appendLink(p.famc, 1);

    const std::string out = exportAll();
    const size_t begin = out.find("0 @I1@ INDI");
    const std::string record = out.substr(begin, out.find("0 @I2@") - begin);
    EXPECT_EQ(record, "0 @I1@ INDI\n"
                      "1 NAME Johann /Schmidt/ Jr\n" // another name: kept as it was
                      "2 GIVN Johann\n"
                      "2 SURN Schmidt\n"
                      "1 NAME Hannes /Schmied/ der \xC4ltere\n" // the name the database holds
                      "2 GIVN Hannes\n"
                      "2 SURN Schmied\n"
                      "1 SEX M\n"
                      "1 BIRT\n"
                      "2 DATE 12 Jan 1850\n" // the birth read is the last one
                      "2 PLAC Bonn\n"
                      "1 BIRT\n"
                      "2 DATE 1851\n"
                      "2 NOTE a second birth record\n"
                      "1 DEAT\n"
                      "2 DATE 4 MAR 1920\n"
                      "2 PLAC K\xF6ln\n"
                      "1 OCCU Smith\n"
                      "1 FAMC @F2@\n"
                      "2 PEDI adopted\n"
                      "1 FAMC @F1@\n"
                      "2 PEDI birth\n"
                      "1 NOTE first note\n"
                      "1 _CUSTOM level one\n"
                      "2 _SUB kept in a rebuilt record\n");
}

TEST_F(ExportTest, ANewLineTakesTheLineEndOfTheLineItReplaces)
{
    ASSERT_TRUE(importText(test::crlf("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 BIRT\n2 DATE 1850\n0 TRLR\n")));
    db.persons[1].birthDate = makeDate(1851);
    db.persons[1].surname = db.internText(surnamePool, "C");
    db.persons[1].flags |= Flag::changed;
    EXPECT_EQ(exportAll(), test::crlf("0 HEAD\n0 @I1@ INDI\n1 NAME A /C/\n1 BIRT\n2 DATE 1851\n0 TRLR\n"));
}

TEST_F(ExportTest, NewLinesAreWrittenInTheFileEncoding)
{
    const std::string before = test::crlf("0 HEAD\n0 @I1@ INDI\n1 NAME \xD0\x98\xD0\xB2 /B/\n1 NOTE \xF0\x9F\x93\x9C\n1 BIRT\n2 DATE 1850\n0 TRLR\n");
    for (const std::string& bytes : {"\xEF\xBB\xBF" + before, test::utf8ToUtf16le(before)}) {
        ASSERT_TRUE(importBytes(bytes));
        db.persons[1].birthPlace = db.internText(placePool, "K\xF6ln");
        db.persons[1].flags |= Flag::changed | Flag::hasBirthPlace;
        const std::string after =
            test::crlf("0 HEAD\n0 @I1@ INDI\n1 NAME \xD0\x98\xD0\xB2 /B/\n1 BIRT\n2 DATE 1850\n2 PLAC K\xC3\xB6ln\n"
                       "1 NOTE \xF0\x9F\x93\x9C\n0 TRLR\n");
        EXPECT_EQ(exportAll(), bytes[0] == '\xEF' ? "\xEF\xBB\xBF" + after : test::utf8ToUtf16le(after));
    }
}

TEST_F(ExportTest, RemovedValuesTakeTheirLinesAndWhatIsBeneathThem)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 BIRT\n2 DATE 1850\n3 TIME 10:00\n2 PLAC Ulm\n0 TRLR\n"));
    db.persons[1].birthDate = 0;
    db.persons[1].birthPlace = nullptr;
    db.persons[1].sex = 0;
    db.persons[1].flags |= Flag::changed;
    EXPECT_EQ(exportAll(), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 BIRT\n0 TRLR\n");
}

TEST_F(ExportTest, AFamilyWithoutLinkLinesIsRebuiltAsAFamily)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @F1@ FAM\n1 NOTE only a note\n"
                           "0 TRLR\n"));
    // The link check made I1 the husband and marked the family changed.
    EXPECT_EQ(exportAll(), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 NOTE only a note\n"
                           "0 TRLR\n");
}

TEST_F(ExportTest, NotesAndSourcesAreRenumberedInTheOrderOfFirstReference)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @S1@ SUBM\n1 NAME Submitter\n"
                           "0 @N7@ NOTE defined before its use\n1 CONT and kept\n"
                           "0 @N9@ NOTE nobody names this one\n"
                           "0 @S4@ SOUR\n1 TITL Church\n1 NOTE @N2@\n"
                           "0 @I1@ INDI\n1 NAME A /B/\n1 SOUR @S4@ p. 5\n1 NOTE @X7@ the same note\n"
                           "1 BIRT\n2 _UID 77\n3 SOUR @S8@\n2 SOUR @S5@\n"
                           "0 @N2@ NOTE named by a source\n"
                           "0 @S5@ SOUR\n1 TITL Census\n"
                           "0 @S8@ SOUR\n1 TITL only named beneath a custom tag\n"
                           "0 @NOTE1@ NOTE no number\n"
                           "0 TRLR\n"
                           "trailing garbage\n"));
    // The source record stands before the person, so its note is named first.
    EXPECT_EQ(exportAll(), "0 HEAD\n"
                           "0 @S1@ SUBM\n1 NAME Submitter\n"
                           "0 @N2@ NOTE defined before its use\n1 CONT and kept\n"
                           "0 @S2@ SOUR\n1 TITL Church\n1 NOTE @N1@\n"
                           "0 @I1@ INDI\n1 NAME A /B/\n1 SOUR @S2@ p. 5\n1 NOTE @N2@ the same note\n"
                           "1 BIRT\n2 SOUR @S3@\n"
                           "0 @N1@ NOTE named by a source\n"
                           "0 @S3@ SOUR\n1 TITL Census\n"
                           "0 @NOTE1@ NOTE no number\n"
                           "0 TRLR\n");
}

TEST_F(ExportTest, LinesWithoutLevelStayWhereTheyStand)
{
    const std::string text = "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 NOTE <p>\n<b>html</b>\n\n2 CONT end\n"
                             "0 @N1@ NOTE x\n<br>\n0 TRLR\n";
    ASSERT_TRUE(importText(text));
    EXPECT_EQ(exportAll(), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 NOTE <p>\n<b>html</b>\n\n2 CONT end\n0 TRLR\n");
    db.persons[1].flags |= Flag::changed;
    EXPECT_EQ(exportAll("again.ged"), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 NOTE <p>\n<b>html</b>\n\n2 CONT end\n0 TRLR\n");
}

TEST_F(ExportTest, APartialExportNamesOnlyWhatItWrites)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Dad /X/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @I2@ INDI\n1 NAME Mum /Y/\n1 SEX F\n1 FAMS @F1@\n1 FAMS @F2@\n"
                           "0 @I3@ INDI\n1 NAME Kid /X/\n1 FAMC @F1@\n2 PEDI birth\n"
                           "0 @I4@ INDI\n1 NAME Other /Z/\n1 SEX M\n1 FAMS @F2@\n"
                           "0 @PERSON9@ INDI\n1 NAME Not /Numbered/\n1 FAMS @F1@\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n"
                           "0 @F2@ FAM\n1 HUSB @I4@\n1 WIFE @I2@\n"
                           "0 TRLR\n"));
    select({2, 3});
    const std::string target = dir.file("part.ged");
    ASSERT_TRUE(partialExportCommand(session, target));
    EXPECT_EQ(test::readFile(target), "0 HEAD\n"
                                      "0 @I2@ INDI\n1 NAME Mum /Y/\n1 SEX F\n1 FAMS @F1@\n1 FAMS @F2@\n"
                                      "0 @I3@ INDI\n1 NAME Kid /X/\n1 FAMC @F1@\n2 PEDI birth\n"
                                      "0 @PERSON9@ INDI\n1 NAME Not /Numbered/\n1 FAMS @F1@\n"
                                      "0 @F1@ FAM\n1 WIFE @I2@\n1 CHIL @I3@\n"
                                      "0 @F2@ FAM\n1 WIFE @I2@\n"
                                      "0 TRLR\n");
    EXPECT_EQ(ui.status[0], "part.ged exportiert");
}

TEST_F(ExportTest, ThePartialExportNeedsASelectionAndAGedName)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n"));
    EXPECT_FALSE(partialExportCommand(session, dir.file("x.ged")));
    EXPECT_EQ(ui.errors, std::vector<std::string>{"No persons have been selected"});
    select({1});
    EXPECT_FALSE(partialExportCommand(session, dir.file("x.txt")));
    EXPECT_FALSE(test::fileExists(dir.file("x.txt")));
    EXPECT_TRUE(partialExportCommand(session, dir.file("x.GeD")) == false); // the g of "ged" in either case only
    EXPECT_TRUE(partialExportCommand(session, dir.file("x.Ged")));
}

TEST_F(ExportTest, AfterAnExportTheWrittenFileIsTheCurrentOne)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 NOTE long enough to move\n"
                           "0 @I2@ INDI\n1 NAME C /D/\n0 TRLR\n"));
    db.persons[1].flags |= Flag::changed | Flag::errorsIgnored;
    db.addPerson();
    session.shell.mergeCount = 1;
    select({2, 3});
    const std::string target = dir.file("moved.ged");
    ASSERT_TRUE(partialExportCommand(session, target));
    EXPECT_EQ(session.shell.currentGedPath, target);
    EXPECT_EQ(db.persons[1].fileOffset, 0u); // not written
    EXPECT_EQ(db.persons[1].flags & (Flag::changed | Flag::errorsIgnored | Flag::selected), 0u);
    EXPECT_EQ(session.shell.selectedCount, 0);
    EXPECT_EQ(session.shell.mergeCount, 0);
    EXPECT_EQ(discardQuestion(session), ""); // the new person is in the file now

    PersonGedText shown;
    ASSERT_TRUE(readPersonGedText(session, 2, shown));
    EXPECT_EQ(shown.recordLines, "1 NAME C /D/\n");
    ASSERT_TRUE(readPersonGedText(session, 3, shown)); // created since the import, written from the database
    EXPECT_EQ(shown.firstLine, "0 @I3@ INDI\r\n");
    EXPECT_EQ(shown.recordLines, "");
    ASSERT_TRUE(readPersonGedText(session, 1, shown));
    EXPECT_EQ(shown.firstLine, "Person 1 has no record in moved.ged yet: it is written there by an export that includes it.\r\n");
}

TEST_F(ExportTest, BackupsAndJournalsGetFreeNames)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n", FileEncoding::latin1, "name.ged"));
    const std::string original = fileBytes;
    session.journal.write("%s", "work before the first export\n");
    ASSERT_TRUE(exportAllCommand(session, path)); // over the current file
    EXPECT_EQ(test::readFile(dir.file("name.bak")), original);
    EXPECT_EQ(test::readFile(path), original);
    const std::string firstJournal = test::readFile(dir.file("name.log"));
    EXPECT_NE(firstJournal.find("Import: " + path), std::string::npos);
    EXPECT_NE(firstJournal.find("work before the first export"), std::string::npos);
    EXPECT_NE(firstJournal.find("\r\n- Auto-Source: " + path + "\r\n"), std::string::npos);
    EXPECT_NE(firstJournal.find("(Backup in: " + dir.file("name.bak") + ")"), std::string::npos);
    EXPECT_FALSE(test::fileExists(dir.file("kinmap.log")));

    session.journal.write("%s", "second\n");
    ASSERT_TRUE(exportAllCommand(session, path));
    EXPECT_TRUE(test::fileExists(dir.file("name.b01")));
    EXPECT_NE(test::readFile(dir.file("name.l01")).find("second"), std::string::npos);
    test::writeFile(dir.file("name.l02"), "an old journal of that name");
    ASSERT_TRUE(exportAllCommand(session, path));
    EXPECT_TRUE(test::fileExists(dir.file("name.b02")));
    EXPECT_EQ(test::readFile(dir.file("name.l02")).find("an old journal"), std::string::npos);
    EXPECT_EQ(test::readFile(path), original);

    // Over some other file: that one is backed up, the current one is read.
    test::writeFile(dir.file("other.ged"), "someone else's file");
    ASSERT_TRUE(exportAllCommand(session, dir.file("other.ged")));
    EXPECT_EQ(test::readFile(dir.file("other.bak")), "someone else's file");
    EXPECT_EQ(test::readFile(dir.file("other.ged")), original);
}

TEST(BackupNames, FollowTheLastDotOfTheFileName)
{
    EXPECT_EQ(backupName("/a/x.ged", 0), "/a/x.bak");
    EXPECT_EQ(backupName("/a/x.ged", 3), "/a/x.b03");
    EXPECT_EQ(backupName("/a/x.ged", 100), "/a/x.b100");
    EXPECT_EQ(backupName("/a.b/gedfile", 0), "/a.b/gedfile.bak");
    EXPECT_EQ(backupName("/a.b/x.y.ged", 1), "/a.b/x.y.b01");
    EXPECT_EQ(journalName("/a/x.b07"), "/a/x.l07");
    EXPECT_EQ(journalName("/a/x.bak"), "/a/x.log");
    EXPECT_EQ(journalName("/a/x.ged"), "/a/x.log");
    EXPECT_EQ(journalName("/a.b/gedfile"), "/a.b/gedfile.log");
}

TEST_F(ExportTest, AFailedWriteIsReportedAndChangesNothing)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 NOTE " + std::string(5000, 'x') + "\n0 TRLR\n"));
    db.persons[1].flags |= Flag::changed;
    select({1});
    // A file size limit makes the write fail as a full disk does.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool exported = exportAllCommand(session, path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(exported);
    EXPECT_EQ(ui.errors, std::vector<std::string>{"\r\nsave GED file failed:\r\n" + path});
    EXPECT_EQ(db.persons[1].flags & (Flag::changed | Flag::selected), Flag::changed | Flag::selected);
    EXPECT_EQ(session.shell.selectedCount, 1);
    // The original is in the backup, and the backup is what is read now.
    EXPECT_EQ(session.shell.currentGedPath, dir.file("test.bak"));
    EXPECT_EQ(test::readFile(dir.file("test.bak")), fileBytes);
    PersonGedText shown;
    ASSERT_TRUE(readPersonGedText(session, 1, shown));
    EXPECT_EQ(shown.recordLines.substr(0, 12), "1 NAME A /B/");
}

} // namespace
} // namespace kinmap
