#include "app/FileCommands.h"
#include "app/Shell.h"
#include "ged/Import.h"
#include "views/DatabaseDump.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kinmap {
namespace {

using test::FileEncoding;

class ImportTest : public test::ImportFixture {
protected:
    // Where the record whose level-0 line is `line` begins its lines.
    uint64_t offsetAfter(const std::string& line, FileEncoding encoding) const
    {
        const std::string encoded = test::encodeWithoutMark(line, encoding);
        const size_t at = fileBytes.find(encoded);
        EXPECT_NE(at, std::string::npos) << line;
        return at + encoded.size();
    }
    std::string dumpLine(const std::string& start) const
    {
        const std::string dump = dumpDatabase(db);
        const size_t at = dump.find("\n" + start);
        return at == std::string::npos ? "" : dump.substr(at + 1, dump.find('\n', at + 1) - at - 1);
    }
};

const std::string family = "0 HEAD\n"
                           "1 CHAR X\n"
                           "0 @N1@ NOTE a note that nothing reads\n"
                           "0 @I1@ INDI\n"
                           "1 NAME Jürgen /Müller/\n"
                           "1 SEX M\n"
                           "1 BIRT\n"
                           "2 DATE 12 JAN 1850\n"
                           "2 PLAC München\n"
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
                           "1 NAME Karl /Müller/ Jr\n"
                           "1 FAMC @F1@\n"
                           "1 FAMC @F1@\n"
                           "1 DEAT\n"
                           "2 DATE ABT 1920\n"
                           "0 @F1@ FAM\n"
                           "1 HUSB @I1@\n"
                           "1 WIFE @I2@\n"
                           "1 CHIL @I3@\n"
                           "1 CHIL @I4@\n"
                           "1 DIV Y\n"
                           "1 MARR\n"
                           "2 DATE 1875\n"
                           "2 PLAC Köln\n"
                           "0 @S7@ SOUR\n"
                           "1 TITL Church book\n"
                           "0 TRLR\n";

TEST_F(ImportTest, ReadsTheSameDatabaseFromEveryEncodingAndLineEnd)
{
    for (FileEncoding encoding : {FileEncoding::latin1, FileEncoding::utf8, FileEncoding::utf8WithoutMark,
                                  FileEncoding::utf16le, FileEncoding::utf16be}) {
        for (const std::string end : {"\n", "\r\n", "\r"}) {
            SCOPED_TRACE(static_cast<int>(encoding));
            SCOPED_TRACE(end.size());
            const std::string text = end == "\n" ? family : end == "\r" ? test::cr(family) : test::crlf(family);
            ASSERT_TRUE(importText(text, encoding));
            EXPECT_EQ(report(), "RIN 1 has duplicate FAMS 1: ignored\r\n"
                                "RIN 3 has duplicate FAMC 1: ignored\r\n"
                                "3 Persons 1 Families imported\r\n"
                                "test.ged loaded in 0 sec"
                                "\r\n### Fam 1 has CHIL @I4@, which names no record (removed)"
                                "\r\n Fam [1] Jürgen Müller - Anna Schmidt "
                                "\r\n\r\n1 errors corrected automatically!"
                                "\r\nPlease export to save changes!\r\n");
            const std::string expected =
                "\n==== dump ====\n"
                "I1\tflags=801B\tsex=M\tgiven=Jürgen\tsurname=Müller\tbirt=12 JAN 1850|000C173A\tchr=-|00000000"
                "\tdeat=-|00000000\tburi=-|00000000\tbirtplac=München\tchrplac=<null>\tdeatplac=<null>"
                "\tburiplac=<null>\tfams=1\tfamc=\toffset=" +
                std::to_string(offsetAfter("0 @I1@ INDI" + end, encoding)) +
                "\n"
                "I2\tflags=8423\tsex=F\tgiven=Anna\tsurname=Schmidt\tbirt=-|00000000\tchr=BEF 1855|0020073F"
                "\tdeat=-|00000000\tburi=-|00000000\tbirtplac=<null>\tchrplac=<null>\tdeatplac=<null>"
                "\tburiplac=\tfams=1\tfamc=\toffset=" +
                std::to_string(offsetAfter("0 @I2@ INDI" + end, encoding)) +
                "\n"
                "I3\tflags=8083\tsex=\\x00\tgiven=Karl\tsurname=Müller\tbirt=-|00000000\tchr=-|00000000"
                "\tdeat=ABT 1920|00600780\tburi=-|00000000\tbirtplac=<null>\tchrplac=<null>\tdeatplac=<null>"
                "\tburiplac=<null>\tfams=\tfamc=1\toffset=" +
                std::to_string(offsetAfter("0 @I3@ INDI" + end, encoding)) +
                "\n"
                "F1\tflags=F00F\thusb=1\twife=2\tmarr=1875|00000753\tmarrplac=Köln\tchil=3\toffset=" +
                std::to_string(offsetAfter("0 @F1@ FAM" + end, encoding)) +
                "\n"
                "highestRin=3 highestMrin=1 personCount=3 familyCount=1 highestSourceNumber=7\n";
            EXPECT_EQ(dumpDatabase(db), expected);
            EXPECT_TRUE(ui.errors.empty());
        }
    }
}

TEST_F(ImportTest, NamesOfEveryScriptAreReadAsTheyAre)
{
    const std::string text = "0 HEAD\n1 CHAR UTF-8\n"
                             "0 @I1@ INDI\n1 NAME Александр /Меншиков/\n1 BIRT\n2 PLAC Москва\n"
                             "0 @I2@ INDI\n1 NAME Łucja /Wiśniewska/\n1 BIRT\n2 PLAC Rzeszów\n"
                             "0 @I3@ INDI\n1 NAME Νίκος /Παπαδόπουλος/\n"
                             "0 @I4@ INDI\n1 NAME Jiří /Dvořák/\n0 TRLR\n";
    for (FileEncoding encoding : {FileEncoding::utf8, FileEncoding::utf8WithoutMark, FileEncoding::utf16le, FileEncoding::utf16be}) {
        ASSERT_TRUE(importText(text, encoding));
        EXPECT_STREQ(db.persons[1].surname, "Меншиков");
        EXPECT_STREQ(db.persons[1].birthPlace, "Москва");
        EXPECT_STREQ(db.persons[2].given, "Łucja");
        EXPECT_STREQ(db.persons[2].birthPlace, "Rzeszów");
        EXPECT_STREQ(db.persons[3].surname, "Παπαδόπουλος");
        EXPECT_STREQ(db.persons[4].surname, "Dvořák");
    }
    // ANSEL with its diacritics before the letter.
    ASSERT_TRUE(importBytes("0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME Ji\xE9ri /Dvo\xE9r\xE2" "ak/\n0 TRLR\n"));
    EXPECT_STREQ(db.persons[1].surname, "Dvořák");
    EXPECT_EQ(ui.status[0], "test.ged loaded, read as ANSEL (from the header)");
}

TEST_F(ImportTest, KeepsOnlyTheLinesOfPersonsAndFamilies)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "1 NAME Head /Name/\n"
                           "0 @I1@ INDI\n"
                           "1 FAMS @F1@\n"
                           "1 NAME John Smith\n"   // no slash: no name
                           "1 NAME Ann /Roe/\n"    // a later name replaces
                           "1 NAME /Doe/\n"        // an empty given name
                           "1 SEX\n"               // no value: no sex
                           "1 BIRT\n"
                           "2 SOUR @S1@\n"
                           "3 DATE 1700\n"         // level 3 is nobody's date
                           "10 _DEEP\n"            // level 10 is not level 1
                           "2 DATE 3 MAR 1850\r\n" // a CR LF line in an LF file
                           "1 OCCU Smith\n"
                           "2 DATE 1880\n"         // not an event of the database
                           "0 @SUB1@ SUBM\n"
                           "1 NAME Sub /Mitter/\n" // a submitter, not the last person
                           "0 @F1@ FAM\n"
                           "1 HUSB @I1@\n"
                           "1 DIV Yes\n"
                           "1 BIRT\n"              // no person event in a family
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
    EXPECT_EQ(db.families[1].flags & (Flag::divorced | Flag::changed), Flag::divorced); // a mark of its own
    EXPECT_EQ(db.families[1].marrDate, 0u);
}

TEST_F(ImportTest, ALineIsOneLineWhateverItsLength)
{
    // Text at byte 999 of a long line is no line of its own.
    const std::string pad(999 - 7, 'x');
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Anna /Alt/\n"
                           "1 NOTE " + pad + "0 @I9@ INDI\n"
                           "0 @I2@ INDI\n1 NAME Bert /Bau/\n"
                           "1 NOTE " + pad + "1 NAME Evil /Injected/\n"
                           "1 BIRT\n2 PLAC " + std::string(3000, 'p') + "\n"
                           "0 TRLR\n"));
    EXPECT_EQ(db.personCount, 2);
    EXPECT_FALSE(db.isPerson(9));
    EXPECT_STREQ(db.persons[2].surname, "Bau");
    EXPECT_EQ(std::string(db.persons[2].birthPlace), std::string(3000, 'p'));
}

TEST_F(ImportTest, LinkListsHoldEveryLinkOfTheFile)
{
    std::string text = "0 HEAD\n0 @I1@ INDI\n1 NAME Father /Many/\n1 SEX M\n1 FAMS @F1@\n";
    for (int f = 2; f <= 201; ++f)
        text += "1 FAMS @F" + std::to_string(f) + "@\n";
    for (int i = 2; i <= 201; ++i)
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME Child /Many/\n1 FAMC @F1@\n";
    text += "0 @F1@ FAM\n1 HUSB @I1@\n";
    for (int i = 2; i <= 201; ++i)
        text += "1 CHIL @I" + std::to_string(i) + "@\n";
    for (int f = 2; f <= 201; ++f)
        text += "0 @F" + std::to_string(f) + "@ FAM\n1 HUSB @I1@\n";
    ASSERT_TRUE(importText(text + "0 TRLR\n"));
    EXPECT_EQ(report().find("###"), std::string::npos) << report();
    EXPECT_EQ(db.families[1].children.count(), 200);
    EXPECT_EQ(db.families[1].children[199], 201);
    EXPECT_EQ(db.persons[1].fams.count(), 201);
}

TEST_F(ImportTest, AnyIdentifierMakesARecordAndLinksFindIt)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I0000@ INDI\n1 NAME Zero /Gramps/\n1 FAMS @F0000@\n"
                           "0 @PERSON1@ INDI\n1 NAME Named /Identifier/\n1 SEX F\n1 FAMS @F0000@\n"
                           "0 @I1@ INDI\n1 NAME First /One/\n1 FAMC @F0000@\n"
                           "0 @I1@ INDI\n1 NAME Second /One/\n"
                           "0 @I300000@ INDI\n1 NAME Far /Away/\n1 FAMC @F0000@\n"
                           "0 @I0003@ INDI\n1 NAME Leading /Zeros/\n"
                           "0 @F0000@ FAM\n1 HUSB @I0000@\n1 WIFE @PERSON1@\n1 CHIL @I1@\n1 CHIL @I300000@\n"
                           "0 TRLR\n"));
    EXPECT_EQ(db.personCount, 6);
    EXPECT_EQ(db.familyCount, 1);
    // The file's own numbers stay; the others follow the highest of them.
    EXPECT_STREQ(db.persons[1].given, "First");
    EXPECT_STREQ(db.persons[3].surname, "Zeros");
    EXPECT_EQ(db.personXref(3), "@I0003@");
    EXPECT_STREQ(db.persons[4].surname, "Gramps");
    EXPECT_STREQ(db.persons[5].surname, "Identifier");
    EXPECT_STREQ(db.persons[6].given, "Second");
    EXPECT_STREQ(db.persons[7].surname, "Away");
    EXPECT_EQ(db.personXref(4), "@I0000@");
    EXPECT_EQ(db.personXref(6), "@I6@"); // its own from now on
    EXPECT_EQ(db.familyXref(1), "@F0000@");
    const FamilyRecord& f = db.families[1];
    EXPECT_EQ(f.husband, 4);
    EXPECT_EQ(f.wife, 5);
    EXPECT_EQ(std::vector<int32_t>(f.children.begin(), f.children.end()), (std::vector<int32_t>{1, 7}));
    EXPECT_EQ(report().find("###"), report().find("### duplicate identifier @I1@ (line 12): read as person 6, written as @I6@")) << report();
    EXPECT_EQ(report().find("### duplicate identifier @I1@", report().find("###") + 1), std::string::npos);
}

TEST_F(ImportTest, RefusesWhatIsNoGedFileWithTheReason)
{
    struct Case {
        std::string bytes;
        std::vector<std::string> errors;
        std::string status1;
    };
    auto failed = [](const char* why) {
        return "\r\nLoading of GED file test.ged not possible: " + std::string(why) + ".\r\nPlease import another GED file";
    };
    std::string tooMany = "0 HEAD\n";
    for (int i = 1; i <= 250001; ++i)
        tooMany += "0 @P" + std::to_string(i) + "@ INDI\n";
    const Case cases[] = {
        {"", {failed("empty file")}, ""},
        {"\xEF\xBB\xBF", {failed("empty file")}, ""},
        {"0 HEAD\n0 TRLR\n", {failed("no persons found")}, ""},
        {"<!DOCTYPE html>\n<html><body>Not found</body></html>\n", {failed("not a GED file (HTML page)")}, ""},
        {"Hello\n1 NAME A /B/\n", {failed("no GED header (0 HEAD)")}, ""},
        {tooMany, {"\r\n GED file too big. >250000 Persons"}, "Maximum 250000 persons per GED file!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 20));
        ASSERT_TRUE(importText(family));
        ui.errors.clear();
        EXPECT_FALSE(importBytes(c.bytes));
        EXPECT_EQ(ui.errors, c.errors);
        EXPECT_EQ(db.highestRin, 0);
        EXPECT_EQ(ui.status[0], "test.ged not loaded");
        EXPECT_EQ(ui.status[1], c.status1);
        EXPECT_FALSE(ui.dataCommands);
        EXPECT_EQ(report(), "");
        EXPECT_FALSE(test::fileExists(dir.file("kinmap.log"))); // the journal of a failed import goes
    }
    // One message for a file that is not there, and the reason for one that is no file.
    ui.errors.clear();
    EXPECT_FALSE(importCommand(session, dir.file("missing.ged")));
    EXPECT_EQ(ui.errors, std::vector<std::string>{"Original GED file " + dir.file("missing.ged") + " not found!"});
    ASSERT_EQ(mkfifo(dir.file("pipe.ged").c_str(), 0600), 0);
    EXPECT_FALSE(importCommand(session, dir.file("pipe.ged")));
    EXPECT_EQ(ui.errors.back(), "Original GED file " + dir.file("pipe.ged") + " cannot be read: it is not a regular file");
    EXPECT_EQ(ui.errors.size(), 2u);
}

TEST_F(ImportTest, TheExtensionCountsInAnyCase)
{
    ASSERT_TRUE(importText(family));
    EXPECT_FALSE(importCommand(session, dir.file("data.txt")));
    EXPECT_EQ(ui.errors, std::vector<std::string>{"\r\nFile " + dir.file("data.txt") + " has not extension .ged"});
    EXPECT_EQ(db.highestRin, 3); // nothing changed
    for (const char* name : {"data.GED.bak", "data.Ged"}) {
        test::writeFile(dir.file(name), family);
        EXPECT_TRUE(importCommand(session, dir.file(name))) << name;
    }
}

TEST_F(ImportTest, TellsTheWindowWhatHappened)
{
    ASSERT_TRUE(importText(family, FileEncoding::utf8));
    EXPECT_EQ(ui.status[0], "test.ged loaded, read as UTF-8 (byte order mark)");
    EXPECT_EQ(ui.status[1], "");
    EXPECT_EQ(ui.progressStarts, 1);
    EXPECT_EQ(ui.progressEnds, 1);
    EXPECT_TRUE(ui.dataCommands);
    EXPECT_EQ(session.shell.recentFiles[0], path);
    EXPECT_EQ(ui.shownViews, std::vector<int>{listView});
    EXPECT_EQ(session.gedFile.loadedName, "test.ged");
}

TEST_F(ImportTest, TheJournalIsThisRunsOwnAndGoesWhenTheRunMovesOn)
{
    // The journal is kept in the journal folder, not beside the GED file;
    // another program run's journal there is left alone.
    test::TempDir state;
    session.journal.setFolder(state.path());
    test::writeFile(state.file("kinmap.log"), "another run's journal");
    ASSERT_TRUE(importText(family, FileEncoding::utf8WithoutMark, "first.ged"));
    EXPECT_FALSE(test::fileExists(dir.file("kinmap.log")));
    EXPECT_EQ(test::readFile(state.file("kinmap.log")), "another run's journal");
    EXPECT_EQ(session.journal.workingPath(), state.file("kinmap-2.log"));
    EXPECT_EQ(test::readFile(state.file("kinmap-2.log")), "\r\n# kinmap! 2.7.9"
                                                          "\r\n# We Dec  2 2026 09:05\r\r\n"
                                                          "\r\nImport: " +
                                                              path +
                                                              "\r\n\r\n"
                                                              "RIN 1 has duplicate FAMS 1: ignored\r\r\n"
                                                              "RIN 3 has duplicate FAMC 1: ignored\r\r\n");
    // Importing the next file removes the journal of the first.
    test::TempDir other;
    test::writeFile(other.file("second.ged"), family);
    ASSERT_TRUE(importCommand(session, other.file("second.ged")));
    EXPECT_FALSE(test::fileExists(other.file("kinmap.log")));
    EXPECT_NE(test::readFile(session.journal.workingPath()).find("Import: " + other.file("second.ged")), std::string::npos);
    EXPECT_EQ(test::readFile(state.file("kinmap.log")), "another run's journal");
    // A run that ends without writing a GED file leaves nothing behind.
    const std::string working = session.journal.workingPath();
    deleteWorkingJournal(session);
    EXPECT_FALSE(test::fileExists(working));

    // A journal that cannot be written is told of once.
    ui.errors.clear();
    session.journal.setFolder("/proc/no-such-folder");
    session.journal.startNew();
    session.journal.write("%s", "one\n");
    session.journal.write("%s", "two\n");
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind("The change journal cannot be created in /proc/no-such-folder/: ", 0), 0u) << ui.errors[0];
}

} // namespace
} // namespace kinmap
