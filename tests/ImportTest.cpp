#include "app/DatabaseDump.h"
#include "ged/Import.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kinmap {
namespace {

using test::FileEncoding;

class ImportTest : public test::ImportFixture {
protected:
    // The byte position just after the encoded line in the file: where
    // that record's lines begin.
    uint64_t offsetAfter(const std::string& latin1Line, FileEncoding encoding) const
    {
        std::string encoded = test::encodeLatin1(latin1Line, encoding);
        encoded.erase(0, encoding == FileEncoding::latin1 ? 0 : encoding == FileEncoding::utf8 ? 3 : 2);
        const size_t at = fileBytes.find(encoded);
        EXPECT_NE(at, std::string::npos) << latin1Line;
        return at + encoded.size();
    }
};

const std::string family = test::crlf("0 HEAD\n"
                                      "1 CHAR ANSI\n"
                                      "0 @N1@ NOTE a note that nothing reads\n"
                                      "0 @I1@ INDI\n"
                                      "1 NAME J\xFCrgen /M\xFCller/\n"
                                      "1 SEX M\n"
                                      "1 BIRT\n"
                                      "2 DATE 12 JAN 1850\n"
                                      "2 PLAC M\xFCnchen\n"
                                      "1 RESI\n"
                                      "2 DATE 1900\n"
                                      "1 FAMS @F1@\n"
                                      "1 FAMS @F1@\n"
                                      "0 @I2@ INDI\n"
                                      "1 NAME Anna /Schmidt/\n"
                                      "1 SEX F\n"
                                      "1 CHR\n"
                                      "2 DATE BEF 1855\n"
                                      "1 BURI\n"
                                      "2 PLAC \n"
                                      "1 FAMS @F1@\n"
                                      "0 @I3@ INDI\n"
                                      "1 NAME Karl /M\xFCller/ Jr\n"
                                      "1 FAMC @F1@\n"
                                      "1 FAMC @F1@\n"
                                      "1 DEAT\n"
                                      "2 DATE ABT 1920\n"
                                      "0 @F1@ FAM\n"
                                      "1 HUSB @I1@\n"
                                      "1 WIFE @I2@\n"
                                      "1 CHIL @I3@\n"
                                      "1 CHIL @I4@\n"
                                      "1 MARR\n"
                                      "2 DATE 1875\n"
                                      "2 PLAC K\xF6ln\n"
                                      "0 @S7@ SOUR\n"
                                      "1 TITL Church book\n"
                                      "0 TRLR\n");

TEST_F(ImportTest, ReadsTheSameDatabaseFromEveryEncoding)
{
    for (FileEncoding encoding : {FileEncoding::latin1, FileEncoding::utf8, FileEncoding::utf16le}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        ASSERT_TRUE(importText(family, encoding));
        EXPECT_EQ(report(), "RIN 1 has duplicate FAMS 1: ignored\r\n"
                            "RIN 3 has duplicate FAMC 1: ignored\r\n"
                            "3 Persons 1 Families imported\r\n"
                            "test.ged loaded in 0 sec"
                            "\r\n### Fam 1 has deleted CHIL 4 "
                            "\r\n Fam [1] J\xFCrgen M\xFCller - Anna Schmidt "
                            "\r\n\r\n1 errors corrected automatically!"
                            "\r\nPlease export to save changes!\r\n");
        const std::string expected =
            "\n==== dump ====\n"
            "I1\tflags=801B\tsex=M\tgiven=J\xFCrgen\tsurname=M\xFCller\tbirt=12 JAN 1850|000C173A\tchr=-|00000000"
            "\tdeat=-|00000000\tburi=-|00000000\tbirtplac=M\xFCnchen\tchrplac=<null>\tdeatplac=<null>"
            "\tburiplac=<null>\tfams=1\tfamc=\toffset=" +
            std::to_string(offsetAfter("0 @I1@ INDI\r\n", encoding)) +
            "\n"
            "I2\tflags=8423\tsex=F\tgiven=Anna\tsurname=Schmidt\tbirt=-|00000000\tchr=BEF 1855|0020073F"
            "\tdeat=-|00000000\tburi=-|00000000\tbirtplac=<null>\tchrplac=<null>\tdeatplac=<null>"
            "\tburiplac=\tfams=1\tfamc=\toffset=" +
            std::to_string(offsetAfter("0 @I2@ INDI\r\n", encoding)) +
            "\n"
            "I3\tflags=8083\tsex=\\x00\tgiven=Karl\tsurname=M\xFCller\tbirt=-|00000000\tchr=-|00000000"
            "\tdeat=ABT 1920|00600780\tburi=-|00000000\tbirtplac=<null>\tchrplac=<null>\tdeatplac=<null>"
            "\tburiplac=<null>\tfams=\tfamc=1\toffset=" +
            std::to_string(offsetAfter("0 @I3@ INDI\r\n", encoding)) +
            "\n"
            "F1\tflags=F007\thusb=1\twife=2\tmarr=1875|00000753\tmarrplac=K\xF6ln\tchil=3\toffset=" +
            std::to_string(offsetAfter("0 @F1@ FAM\r\n", encoding)) +
            "\n"
            "highestRin=3 highestMrin=1 personCount=3 familyCount=1 highestSourceNumber=7\n";
        EXPECT_EQ(dumpDatabase(db), expected);
        EXPECT_TRUE(ui.errors.empty());
    }
}

TEST_F(ImportTest, TellsTheWindowWhatHappened)
{
    ASSERT_TRUE(importText(family));
    EXPECT_EQ(ui.status[0], "test.ged loaded");
    EXPECT_EQ(ui.status[1], "");
    EXPECT_EQ(ui.progressStarts, 1);
    EXPECT_EQ(ui.progressEnds, 1);
    EXPECT_FALSE(ui.progress.empty());
    EXPECT_TRUE(ui.dataCommands);
    EXPECT_EQ(session.shell.recentFiles[0], path);
    EXPECT_EQ(ui.shownViews, std::vector<int>{listView});
    EXPECT_EQ(session.shell.currentGedPath, path);
    EXPECT_EQ(session.shell.loadedFileName, "test.ged");
}

TEST_F(ImportTest, WritesTheImportHeaderAndDuplicateLinksToTheJournal)
{
    ASSERT_TRUE(importText(family));
    EXPECT_EQ(test::readFile(dir.file("kinmap.log")), "\r\n# kinmap! 2.7.9"
                                                      "\r\n# We Dec  2 2026 09:05\r\r\n"
                                                      "\r\nImport: " +
                                                          path +
                                                          "\r\n\r\n"
                                                          "RIN 1 has duplicate FAMS 1: ignored\r\r\n"
                                                          "RIN 3 has duplicate FAMC 1: ignored\r\r\n");
}

TEST_F(ImportTest, CutsTheTablesToTheHighestNumbersAndTheSpareSlots)
{
    std::string text = "0 HEAD\n";
    for (int i = 1; i <= 10; ++i)
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME A /B/\n";
    for (int i = 1; i <= 4; ++i)
        text += "0 @F" + std::to_string(i) + "@ FAM\n1 HUSB @I" + std::to_string(i) + "@\n";
    ASSERT_TRUE(importText(text + "0 TRLR\n"));
    EXPECT_EQ(db.personTableSize(), 510);
    EXPECT_EQ(db.familyTableSize(), 204);
    EXPECT_EQ(db.importedHighestRin, 10);
    EXPECT_EQ(db.importedHighestMrin, 4);
    EXPECT_EQ(db.texts.pool(surnamePool).capacity(), db.texts.pool(surnamePool).usedBytes() + 10000);
}

TEST_F(ImportTest, KeepsOnlyTheLinesOfPersonsAndFamilies)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "1 NAME Head /Name/\n"
                           "0 @I1@ INDI\n"
                           "1 FAMS @F1@\n"
                           "1 NAME John Smith\n"           // no slash: no name
                           "1 NAME Ann /Roe/\n"            // a later name replaces
                           "1 NAME /Doe/\n"                // an empty given name
                           "1 SEX\n"                       // no value: no sex
                           "1 BIRT\n"
                           "2 SOUR @S1@\n"
                           "3 DATE 1700\n"                 // level 3 is nobody's date
                           "10 _DEEP\n"                    // level 10 is not level 1
                           "2 DATE 3 MAR 1850\r\n"         // a CR LF line in an LF file
                           "1 OCCU Smith\n"
                           "2 DATE 1880\n"                 // not an event of the database
                           "0 @SUB1@ SUBM\n"
                           "1 NAME Sub /Mitter/\n"         // a submitter, not the last person
                           "0 @F1@ FAM\n"
                           "1 HUSB @I1@\n"
                           "1 DIV Y\n"
                           "1 BIRT\n"                      // no person event in a family
                           "2 DATE 1800\n"
                           "0 TRLR\n"));
    const PersonRecord& p = db.persons[1];
    EXPECT_STREQ(p.surname, "Doe");
    EXPECT_EQ(p.given, emptyText);
    EXPECT_EQ(p.flags & (Flag::hasGiven | Flag::hasSurname), Flag::hasGiven | Flag::hasSurname); // set by "Ann /Roe/"
    // The missing sex shows as a blank until the link check makes him a man.
    EXPECT_NE(report().find("### Fam 1 has HUSB 1 with sex ' ' "), std::string::npos);
    EXPECT_EQ(p.sex, 'M');
    EXPECT_EQ(p.birthDate, makeDate(1850, 3, 3));
    EXPECT_EQ(db.families[1].flags & Flag::changed, Flag::changed); // the divorce mark
    EXPECT_EQ(db.families[1].marrDate, 0u);
}

TEST_F(ImportTest, RecordsWithoutAUsableNumberAreNotKept)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I2@ INDI\n"
                           "1 NAME Kept /Person/\n"
                           "0 @I0@ INDI\n"
                           "1 NAME Zero /Number/\n"
                           "0 @I-5@ INDI\n"
                           "1 NAME Negative /Number/\n"
                           "0 @PERSON1@ INDI\n"
                           "1 NAME Named /Identifier/\n"
                           "1 FAMS @F1@\n"
                           "0 @F0@ FAM\n"
                           "1 HUSB @I2@\n"
                           "0 TRLR\n"));
    EXPECT_EQ(db.personCount, 1);
    EXPECT_EQ(db.familyCount, 0);
    EXPECT_STREQ(db.persons[2].surname, "Person");
    EXPECT_EQ(db.persons[0].flags, 0u);
    EXPECT_TRUE(db.persons[2].fams.empty());
}

TEST_F(ImportTest, RefusesAPathWithoutGedExtensionAndChangesNothing)
{
    ASSERT_TRUE(importText(family));
    EXPECT_FALSE(importCommand(session, dir.file("data.Ged")));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "\r\nFile " + dir.file("data.Ged") + " has not extension .ged");
    EXPECT_EQ(db.highestRin, 3);
    // ".GED" anywhere in the path is enough.
    test::writeFile(dir.file("data.GED.bak"), family);
    EXPECT_TRUE(importCommand(session, dir.file("data.GED.bak")));
}

TEST_F(ImportTest, FailuresLeaveNoData)
{
    struct Case {
        std::string text;
        std::vector<std::string> errors;
    };
    const std::string failed = "\r\nLoading of GED file test.ged not possible.\r\nPlease import another GED file";
    const Case cases[] = {
        {"0 HEAD\n0 TRLR\n", {failed}},
        {"", {failed}},
        {"0 @I1@ INDI\n0 @I250000@ INDI\n", {"\r\n GED file too big. >250000 Persons", failed}},
        {"0 @I1@ INDI\n0 @I99999999999@ INDI\n", {"\r\n GED file too big. >2147483647 Persons", failed}},
        {"0 @I1@ INDI\n0 @F100000@ FAM\n", {"\r\n GED file too big. >100000 Families", failed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ui.errors.clear();
        ASSERT_TRUE(importText(family));
        EXPECT_FALSE(importText(c.text));
        EXPECT_EQ(ui.errors, c.errors);
        EXPECT_EQ(db.highestRin, 0);
        EXPECT_EQ(db.highestMrin, 0);
        EXPECT_EQ(ui.status[1], "Maximum 250000 persons per GED file!");
        EXPECT_FALSE(ui.dataCommands);
        EXPECT_EQ(report(), "");
    }
    ui.errors.clear();
    EXPECT_FALSE(importCommand(session, dir.file("missing.ged")));
    EXPECT_EQ(ui.errors, (std::vector<std::string>{"Original GED file " + dir.file("missing.ged") + " not found!",
                                                   "\r\nLoading of GED file missing.ged not possible.\r\nPlease "
                                                   "import another GED file"}));
}

} // namespace
} // namespace kinmap
