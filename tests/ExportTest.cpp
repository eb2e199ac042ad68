#include "app/EditCommands.h"
#include "app/FileCommands.h"
#include "app/Shell.h"
#include "ged/Export.h"
#include "ged/PersonText.h"
#include "ged/SafeWrite.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kinmap {
namespace {

using test::FileEncoding;

class ExportTest : public test::ImportFixture {
protected:
    // Exports every person to a new file and returns its bytes.
    std::string exportAll(const std::string& name = "out.ged")
    {
        const std::string target = dir.file(name);
        EXPECT_TRUE(exportAllCommand(session, target)) << (ui.errors.empty() ? "" : ui.errors.back());
        return test::readFile(target);
    }
    void select(std::initializer_list<int32_t> rins)
    {
        for (int32_t rin : rins)
            markPerson(session, rin, true);
    }
    // The names in the folder, so that a test sees every file a command left.
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// A file that needs no repair: an export of everyone writes it unchanged,
// custom tags at every level included.
const std::string unchangedFamily = "0 HEAD\n"
                                    "1 SOUR test\n"
                                    "1 CHAR UTF-8\n"
                                    "0 @I1@ INDI\n"
                                    "1 NAME Иван /Петров/\n"
                                    "2 _MARNM Петрова\n"
                                    "1 SEX M\n"
                                    "1 BIRT\n"
                                    "2 DATE BET 1850 AND 1860\n"
                                    "2 PLAC Москва\n"
                                    "2 SOUR @S1@\n"
                                    "3 PAGE p. 5 — 📜\n"
                                    "3 _FOOT a footnote\n"
                                    "4 CONC that goes on\n"
                                    "1 FAMS @F1@\n"
                                    "1 NOTE @N1@\n"
                                    "2 _UID 77\n"
                                    "0 @I2@ INDI\n"
                                    "1 NAME Anna /Schmidt/\n"
                                    "1 SEX F\n"
                                    "1 BIRT\n"
                                    "2 DATE 12 Jan 1850\n"
                                    "1 FAMS @F1@\n"
                                    "0 @I3@ INDI\n"
                                    "1 NAME Karl /Müller/\n"
                                    "1 FAMC @F1@\n"
                                    "2 PEDI birth\n"
                                    "1 _UID 1234\n"
                                    "0 @F1@ FAM\n"
                                    "1 HUSB @I1@\n"
                                    "1 WIFE @I2@\n"
                                    "1 DIV Y\n"
                                    "1 CHIL @I3@\n"
                                    "1 MARR\n"
                                    "2 DATE 1875\n"
                                    "2 _TEXT transcription\n"
                                    "0 @N1@ NOTE Łódź, 100% sure\n"
                                    "1 CONT second line\n"
                                    "0 @S1@ SOUR\n"
                                    "1 TITL Kirchenbuch\n"
                                    "0 TRLR\n";

TEST_F(ExportTest, AnUnchangedFileComesOutByteForByteInEveryEncodingAndLineEnd)
{
    for (FileEncoding encoding : {FileEncoding::utf8, FileEncoding::utf8WithoutMark, FileEncoding::utf16le, FileEncoding::utf16be}) {
        for (const std::string& text : {unchangedFamily, test::crlf(unchangedFamily), test::cr(unchangedFamily)}) {
            SCOPED_TRACE(static_cast<int>(encoding));
            ASSERT_TRUE(importText(text, encoding));
            ASSERT_EQ(report().find("###"), std::string::npos) << report();
            EXPECT_EQ(exportAll(), fileBytes);
            EXPECT_TRUE(db.families[1].flags & Flag::divorced); // the export keeps the divorce mark
            // A changed record whose values are all still those of the file
            // keeps every line too.
            db.persons[1].flags |= Flag::changed;
            EXPECT_EQ(exportAll("again.ged"), fileBytes);
        }
    }
    // Latin-1, Windows-1252 and ANSEL: the 8-bit letters stay as they are.
    for (const std::string& bytes :
         {std::string("0 HEAD\n0 @I1@ INDI\n1 NAME J\xFCrgen /Gr\xFC\xDF/\n1 SEX M\n1 NOTE @N1@\n0 @N1@ NOTE caf\xE9\n0 TRLR\n"),
          std::string("0 HEAD\n1 CHAR ANSI\n0 @I1@ INDI\n1 NAME \x8A" "imon /\x80/\n0 TRLR\n"),
          std::string("0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME Ji\xE9ri /Dvo\xE9r\xE2" "ak/\n0 TRLR\n")}) {
        ASSERT_TRUE(importBytes(bytes));
        db.persons[1].flags |= Flag::changed;
        EXPECT_EQ(exportAll(), bytes);
    }
}

TEST_F(ExportTest, ChangedValuesAreWrittenIntoTheLinesTheyCameFrom)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n"
                           "1 NOTE first note\n"
                           "1 NAME Johann /Schmidt/ Jr\n"
                           "2 GIVN Johann\n"
                           "2 SURN Schmidt\n"
                           "1 NAME Hans /Schmied/ der Ältere\n"
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
    p.deathPlace = db.internText(placePool, "Köln");
    p.flags |= Flag::changed | Flag::hasDeathDate | Flag::hasDeathPlace;
    // The parents' families in the other order.
    p.famc.clear();
    db.appendLink(p.famc, 2);
    db.appendLink(p.famc, 1);

    const std::string out = exportAll();
    const size_t begin = out.find("0 @I1@ INDI");
    EXPECT_EQ(out.substr(begin, out.find("0 @I2@") - begin), "0 @I1@ INDI\n"
                                                            "1 NAME Johann /Schmidt/ Jr\n" // another name: kept as it was
                                                            "2 GIVN Johann\n"
                                                            "2 SURN Schmidt\n"
                                                            "1 NAME Hannes /Schmied/ der Ältere\n" // the name the database holds
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
                                                            "2 PLAC Köln\n"
                                                            "1 OCCU Smith\n"
                                                            "1 FAMC @F2@\n"
                                                            "2 PEDI adopted\n"
                                                            "1 FAMC @F1@\n"
                                                            "2 PEDI birth\n"
                                                            "1 NOTE first note\n"
                                                            "1 _CUSTOM level one\n"
                                                            "2 _SUB kept in a rebuilt record\n");
}

// A NAME without slashes is a given name whose surname is unknown (it
// never replaces a name an earlier NAME line gave), and an edited name
// keeps what the user did not change as the file spells it.
TEST_F(ExportTest, NamesAreReadAndWrittenInTheFormTheFileGivesThem)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME  John Smith \n1 SEX M\n1 FAMC @F1@\n"
                           "0 @I2@ INDI\n1 NAME Mary Geneva /Doud/\n1 NAME Mamie\n2 TYPE aka\n1 SEX F\n"
                           "0 @I3@ INDI\n1 NAME Gerardus /'t Hooft/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @I4@ INDI\n1 NAME \"Bud\" John /Doe/\n1 SEX M\n"
                           "0 @F1@ FAM\n1 HUSB @I3@\n1 CHIL @I1@\n"
                           "0 TRLR\n"));
    EXPECT_STREQ(db.persons[1].given, "John Smith");
    EXPECT_TRUE(db.persons[1].surname == nullptr || *db.persons[1].surname == 0);
    EXPECT_STREQ(db.persons[2].given, "Mary Geneva");
    EXPECT_STREQ(db.persons[2].surname, "Doud");
    EXPECT_EQ(report().find("no name"), std::string::npos) << report();
    EXPECT_TRUE(db.isPerson(1)); // a named child, not deleted as nameless

    auto edit = [&](int32_t rin, const char* given, const char* surname) {
        PersonForm form = openPersonForm(session, rin, "");
        if (given)
            form.given = given;
        if (surname)
            form.surname = surname;
        EXPECT_EQ(savePersonEdit(session, form), "");
    };
    edit(1, "Johnny Smith", nullptr);
    edit(3, "Gerard", nullptr);
    edit(4, nullptr, "Smith");
    const std::string written = exportAll();
    EXPECT_NE(written.find("0 @I1@ INDI\n1 NAME Johnny Smith\n"), std::string::npos) << written;
    EXPECT_NE(written.find("1 NAME Mary Geneva /Doud/\n1 NAME Mamie\n2 TYPE aka\n"), std::string::npos) << written;
    EXPECT_NE(written.find("1 NAME Gerard /'t Hooft/\n"), std::string::npos) << written;
    EXPECT_NE(written.find("1 NAME \"Bud\" John /Smith/\n"), std::string::npos) << written;

    // Once a surname is given, the name takes the slashes.
    edit(1, nullptr, "Smith");
    EXPECT_NE(exportAll("again.ged").find("1 NAME Johnny Smith /Smith/\n"), std::string::npos);
}

TEST_F(ExportTest, NewLinesAreWrittenInTheFileEncodingAndLineEnd)
{
    const std::string before = "0 HEAD\n1 CHAR X\n0 @I1@ INDI\n1 NAME Jörg /B/\n1 BIRT\n2 DATE 1850\n0 TRLR\n";
    const std::string after = "0 HEAD\n1 CHAR X\n0 @I1@ INDI\n1 NAME Jörg /B/\n1 BIRT\n2 DATE 1851\n2 PLAC Łódź\n0 TRLR\n";
    for (FileEncoding encoding : {FileEncoding::utf8, FileEncoding::utf8WithoutMark, FileEncoding::utf16le, FileEncoding::utf16be}) {
        for (const std::string end : {"\n", "\r\n", "\r"}) {
            auto withEnd = [&](const std::string& text) { return end == "\n" ? text : end == "\r" ? test::cr(text) : test::crlf(text); };
            ASSERT_TRUE(importText(withEnd(before), encoding));
            db.persons[1].birthDate = makeDate(1851);
            db.persons[1].birthPlace = db.internText(placePool, "Łódź");
            db.persons[1].flags |= Flag::changed | Flag::hasBirthPlace;
            EXPECT_EQ(exportAll(), test::encode(withEnd(after), encoding)) << static_cast<int>(encoding) << end.size();
        }
    }
    // ANSEL writes the diacritic before its letter; what an encoding
    // cannot hold is written as "?" and listed in the report.
    ASSERT_TRUE(importBytes("0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME A /B/\n1 BIRT\n2 PLAC Bonn\n0 TRLR\n"));
    session.unmappable = UnmappableCharacters::replace;
    db.persons[1].surname = db.internText(surnamePool, "Dvořák");
    db.persons[1].birthPlace = db.internText(placePool, "Москва");
    db.persons[1].flags |= Flag::changed;
    EXPECT_EQ(exportAll(), "0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME A /Dvo\xE9r\xE2" "ak/\n1 BIRT\n2 PLAC ??????\n0 TRLR\n");
    EXPECT_EQ(report(), "\r\nNot all characters fit into ANSEL, \"?\" written instead: 2 PLAC Москва");
    EXPECT_EQ(ui.shownViews.back(), reportView);
}

TEST_F(ExportTest, RemovedValuesTakeTheirLinesAndWhatIsBeneathThem)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n1 BIRT\n2 DATE 1850\n3 TIME 10:00\n2 PLAC Ulm\n"
                           "1 FAMS @F1@\n0 @F1@ FAM\n1 HUSB @I1@\n1 DIV Y\n2 DATE 1890\n0 TRLR\n"));
    db.persons[1].birthDate = 0;
    db.persons[1].birthPlace = nullptr;
    db.persons[1].sex = 'F';
    db.persons[1].flags |= Flag::changed;
    db.families[1].flags = (db.families[1].flags | Flag::changed) & ~Flag::divorced;
    EXPECT_EQ(exportAll(), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX F\n1 BIRT\n1 FAMS @F1@\n0 @F1@ FAM\n1 HUSB @I1@\n0 TRLR\n");
    db.families[1].flags |= Flag::divorced | Flag::changed;
    EXPECT_EQ(exportAll("again.ged"), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX F\n1 BIRT\n1 FAMS @F1@\n0 @F1@ FAM\n1 HUSB @I1@\n1 DIV Y\n0 TRLR\n");
}

TEST_F(ExportTest, IdentifiersAreWrittenBackAsTheFileSpellsThem)
{
    const std::string text = "0 HEAD\n"
                             "0 @I0000@ INDI\n1 NAME Zero /Gramps/\n1 SEX M\n1 FAMS @F0000@\n"
                             "0 @PERSON1@ INDI\n1 NAME Named /Identifier/\n1 SEX F\n1 FAMS @F0000@\n"
                             "0 @I1@ INDI\n1 NAME First /One/\n1 FAMC @F0000@\n"
                             "0 @I1@ INDI\n1 NAME Second /One/\n"
                             "0 @I300000@ INDI\n1 NAME Far /Away/\n1 FAMC @F0000@\n"
                             "0 @F0000@ FAM\n1 HUSB @I0000@\n1 WIFE @PERSON1@\n1 CHIL @I1@\n1 CHIL @I300000@\n"
                             "0 TRLR\n";
    ASSERT_TRUE(importText(text));
    // The second "@I1@" gets an identifier of its own, so that the next
    // import reads the file without ambiguity.
    std::string expected = text;
    expected.replace(expected.find("0 @I1@ INDI\n1 NAME Second"), 6, "0 @I4@");
    EXPECT_EQ(exportAll(), expected);
    // Rebuilt records and new links name them the same way.
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        db.persons[rin].flags |= Flag::changed;
    db.families[1].flags |= Flag::changed;
    EXPECT_EQ(exportAll("rebuilt.ged"), expected);
    const int32_t added = db.addPerson();
    db.persons[added].given = db.internText(givenPool, "New");
    db.appendLink(db.families[1].children, added);
    db.appendLink(db.persons[added].famc, 1);
    const std::string out = exportAll("added.ged");
    EXPECT_NE(out.find("1 CHIL @I300000@\n1 CHIL @I6@\n"), std::string::npos) << out;
    EXPECT_NE(out.find("0 @I6@ INDI\n1 NAME New //\n1 FAMC @F0000@\n0 TRLR\n"), std::string::npos) << out;
    ASSERT_TRUE(importCommand(session, dir.file("rebuilt.ged")));
    EXPECT_EQ(report().find("###"), std::string::npos) << report();
}

TEST_F(ExportTest, LongLinesAndLongLinkListsAreWrittenWhole)
{
    const std::string pad(999 - 7, 'x');
    std::string text = "0 HEAD\n0 @I1@ INDI\n1 NAME Long /Lines/\n1 SEX M\n1 FAMS @F1@\n1 NOTE " + pad + "0 @I2@ INDI\n";
    for (int i = 2; i <= 201; ++i)
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME Child /Many/\n1 FAMC @F1@\n";
    text += "0 @F1@ FAM\n1 HUSB @I1@\n";
    for (int i = 2; i <= 201; ++i)
        text += "1 CHIL @I" + std::to_string(i) + "@\n";
    text += "0 TRLR\n";
    ASSERT_TRUE(importText(text));
    EXPECT_TRUE(exportAll() == text); // (not printed: far too long)
    db.persons[1].flags |= Flag::changed;
    db.families[1].flags |= Flag::changed;
    EXPECT_TRUE(exportAll("rebuilt.ged") == text);
}

TEST_F(ExportTest, TheEndOfTheFileStaysAsItWasWhateverIsAddedBeforeIt)
{
    // Rebuilt, the record's last line (the file's, without a line end) moves
    // before its link; a person added since follows the last line.
    const std::string text = "0 HEAD\n0 @I1@ INDI\n1 FAMS @F1@\n1 NAME A /B/\n1 SEX M\n0 @F1@ FAM\n1 HUSB @I1@\n0 @I2@ INDI\n1 SEX M\n1 NAME C /D/";
    ASSERT_TRUE(importText(text));
    db.persons[2].flags |= Flag::changed;
    db.persons[db.addPerson()].given = db.internText(givenPool, "New");
    EXPECT_EQ(exportAll(), "0 HEAD\n0 @I1@ INDI\n1 FAMS @F1@\n1 NAME A /B/\n1 SEX M\n0 @F1@ FAM\n1 HUSB @I1@\n"
                           "0 @I2@ INDI\n1 NAME C /D/\n1 SEX M\n0 @I3@ INDI\n1 NAME New //\n");
    // In UTF-16 the file may end in half a character: it stays where it is,
    // and becomes a whole one when the line moves.
    const std::string half = test::encode("0 HEAD\r\n0 @I1@ INDI\r\n1 SEX M\r\n1 NAME A /B/", FileEncoding::utf16le) + "x";
    ASSERT_TRUE(importBytes(half));
    EXPECT_EQ(exportAll("same.ged"), half);
    db.persons[1].flags |= Flag::changed;
    EXPECT_EQ(exportAll("moved.ged"), test::encode("0 HEAD\r\n0 @I1@ INDI\r\n1 NAME A /B/\uFFFD\r\n1 SEX M\r\n", FileEncoding::utf16le));

    // The data ends at the trailer; what follows it is not read, and kept.
    const std::string tail = "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\nwritten by hand\n0 @I2@ INDI\n1 NAME C /D/\n1 NOTE @N1@\n";
    ASSERT_TRUE(importText(tail));
    EXPECT_EQ(db.personCount, 1);
    EXPECT_NE(report().find("### The file goes on after its trailer 0 TRLR (line 4)"), std::string::npos) << report();
    db.persons[db.addPerson()].given = db.internText(givenPool, "New");
    EXPECT_EQ(exportAll("tail.ged"), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 @I2@ INDI\n1 NAME New //\n0 TRLR\n"
                                     "written by hand\n0 @I2@ INDI\n1 NAME C /D/\n1 NOTE @N1@\n");
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
                           "0 @S8@ SOUR\n1 TITL named beneath a custom tag\n"
                           "0 @NOTE1@ NOTE no number\n"
                           "0 TRLR\n"
                           "trailing garbage\n"));
    // The source record stands before the person, so its note is named first.
    EXPECT_EQ(exportAll(), "0 HEAD\n"
                           "0 @S1@ SUBM\n1 NAME Submitter\n"
                           "0 @N2@ NOTE defined before its use\n1 CONT and kept\n"
                           "0 @S2@ SOUR\n1 TITL Church\n1 NOTE @N1@\n"
                           "0 @I1@ INDI\n1 NAME A /B/\n1 SOUR @S2@ p. 5\n1 NOTE @N2@ the same note\n"
                           "1 BIRT\n2 _UID 77\n3 SOUR @S3@\n2 SOUR @S4@\n"
                           "0 @N1@ NOTE named by a source\n"
                           "0 @S4@ SOUR\n1 TITL Census\n"
                           "0 @S3@ SOUR\n1 TITL named beneath a custom tag\n"
                           "0 @NOTE1@ NOTE no number\n"
                           "0 TRLR\n"
                           "trailing garbage\n"); // kept as it stands
}

TEST_F(ExportTest, APartialExportNamesOnlyWhatItWritesAndLeavesTheSessionAsItWas)
{
    const std::string text = "0 HEAD\n"
                             "0 @I1@ INDI\n1 NAME Dad /X/\n1 SEX M\n1 FAMS @F1@\n1 NOTE Dad's note\n"
                             "0 @I2@ INDI\n1 NAME Mum /Y/\n1 SEX F\n1 FAMS @F1@\n1 FAMS @F2@\n"
                             "0 @I3@ INDI\n1 NAME Kid /X/\n1 FAMC @F1@\n2 PEDI birth\n"
                             "0 @I4@ INDI\n1 NAME Other /Z/\n1 SEX M\n1 FAMS @F2@\n"
                             "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n"
                             "0 @F2@ FAM\n1 HUSB @I4@\n1 WIFE @I2@\n"
                             "0 TRLR\n";
    ASSERT_TRUE(importText(text));
    db.persons[1].flags |= Flag::changed; // a change that the full file does not have yet
    db.persons[1].birthDate = makeDate(1800);
    session.counts.mergeCount = 1;
    select({2, 3});
    ASSERT_TRUE(partialExportCommand(session, dir.file("part.ged")));
    EXPECT_EQ(test::readFile(dir.file("part.ged")), "0 HEAD\n"
                                                    "0 @I2@ INDI\n1 NAME Mum /Y/\n1 SEX F\n1 FAMS @F1@\n1 FAMS @F2@\n"
                                                    "0 @I3@ INDI\n1 NAME Kid /X/\n1 FAMC @F1@\n2 PEDI birth\n"
                                                    "0 @F1@ FAM\n1 WIFE @I2@\n1 CHIL @I3@\n"
                                                    "0 @F2@ FAM\n1 WIFE @I2@\n"
                                                    "0 TRLR\n");
    EXPECT_EQ(ui.status[0], "part.ged exportiert");
    EXPECT_EQ(session.gedFile.path, path);
    EXPECT_EQ(session.counts.selectedCount, 2);
    EXPECT_NE(discardQuestion(session), "");
    EXPECT_TRUE(test::fileExists(dir.file("part.log")));
    // The next full export still has every line and every change.
    const std::string full = exportAll("full.ged");
    EXPECT_NE(full.find("1 SEX M\n1 BIRT\n2 DATE 1800\n1 FAMS @F1@\n1 NOTE Dad's note\n"), std::string::npos) << full;
    EXPECT_NE(full.find("0 @F2@ FAM\n1 HUSB @I4@\n1 WIFE @I2@\n"), std::string::npos) << full;
    EXPECT_EQ(session.gedFile.path, dir.file("full.ged"));
    EXPECT_EQ(discardQuestion(session), "");
}

// No written line points to a record that is not in the written file: a
// partial export leaves such lines out and counts them; a deleted person's
// pointers go with it, journalled, and come back with undo.
TEST_F(ExportTest, NoLinePointsToARecordThatIsNotWritten)
{
    const std::string text = "0 HEAD\n"
                             "0 @I1@ INDI\n1 NAME A /B/\n1 ASSO @I2@\n2 RELA godfather\n1 OCCU baker\n"
                             "0 @I2@ INDI\n1 NAME C /D/\n1 ASSO @I1@\n"
                             "0 TRLR\n";
    ASSERT_TRUE(importText(text));
    select({1});
    ASSERT_TRUE(partialExportCommand(session, dir.file("part.ged")));
    EXPECT_EQ(test::readFile(dir.file("part.ged")), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 OCCU baker\n0 TRLR\n");
    EXPECT_NE(report().find("1 lines that point to a record not written were left out"), std::string::npos) << report();

    ASSERT_TRUE(importText(text));
    ui.answers = {true};
    ASSERT_TRUE(deletePerson(session, 2));
    EXPECT_NE(test::readFile(session.journal.workingPath()).find("Pointer to rin 2 removed from rin 1\r\n"),
              std::string::npos);
    EXPECT_EQ(exportAll(), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 OCCU baker\n0 TRLR\n");
    ASSERT_TRUE(importText(text));
    ui.answers = {true};
    ASSERT_TRUE(deletePerson(session, 2));
    ASSERT_TRUE(session.history.undo(session));
    EXPECT_EQ(exportAll("undone.ged"), text);
}

TEST_F(ExportTest, RecordsAddedSinceTheImportAreWrittenWithTheirLinks)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME Old /One/\n1 SEX M\n0 TRLR\n"));
    const int32_t wife = db.addPerson();
    db.persons[wife].given = db.internText(givenPool, "Neue");
    db.persons[wife].sex = 'F';
    const int32_t mrin = db.addFamily();
    db.families[mrin].husband = 1;
    db.families[mrin].wife = wife;
    db.appendLink(db.persons[1].fams, mrin);
    db.appendLink(db.persons[wife].fams, mrin);
    db.persons[1].flags |= Flag::changed;
    EXPECT_EQ(exportAll(), "0 HEAD\n0 @I1@ INDI\n1 NAME Old /One/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @I2@ INDI\n1 NAME Neue //\n1 SEX F\n1 FAMS @F1@\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n0 TRLR\n");
    // The written file is the current one now, with every position in it.
    PersonGedText shown;
    ASSERT_TRUE(readPersonGedText(session, session.gedFile, 2, shown));
    EXPECT_EQ(shown.recordLines, "1 NAME Neue //\n1 SEX F\n1 FAMS @F1@\n");
}

TEST_F(ExportTest, BackupsAndJournalsGetFreeNamesAndNoJournalIsOverwritten)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n", FileEncoding::utf8WithoutMark, "name.ged"));
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

    session.journal.write("%s", "second\n");
    ASSERT_TRUE(exportAllCommand(session, path));
    EXPECT_NE(test::readFile(dir.file("name.l01")).find("second"), std::string::npos);
    test::writeFile(dir.file("name.l02"), "an old journal of that name");
    ASSERT_TRUE(exportAllCommand(session, path));
    EXPECT_EQ(test::readFile(dir.file("name.l02")), "an old journal of that name");
    EXPECT_NE(test::readFile(dir.file("name-2.l02")).find("(Backup in: " + dir.file("name.b02") + ")"), std::string::npos);
    EXPECT_EQ(test::readFile(path), original);
    EXPECT_EQ(files(), (std::vector<std::string>{"name-2.l02", "name.b01", "name.b02", "name.bak", "name.ged", "name.l01",
                                                 "name.l02", "name.log"}));

    // Over some other file: that one is backed up, the current one is read.
    test::writeFile(dir.file("other.GED"), "someone else's file");
    ASSERT_TRUE(exportAllCommand(session, dir.file("other.GED")));
    EXPECT_EQ(test::readFile(dir.file("other.bak")), "someone else's file");
    EXPECT_EQ(test::readFile(dir.file("other.GED")), original);
}

TEST_F(ExportTest, TheCurrentFileUnderAnotherSpellingIsBackedUpAndRead)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n", FileEncoding::utf8WithoutMark, "x.ged"));
    std::filesystem::create_directory(dir.file("sub"));
    ASSERT_TRUE(exportAllCommand(session, dir.file("sub/../x.ged")));
    EXPECT_EQ(test::readFile(dir.file("x.bak")), fileBytes);
    EXPECT_EQ(test::readFile(dir.file("x.ged")), fileBytes);

    std::filesystem::create_symlink(dir.file("x.ged"), dir.file("link.ged"));
    ASSERT_TRUE(exportAllCommand(session, dir.file("link.ged")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.ged"))); // the link still names the file
    EXPECT_EQ(test::readFile(dir.file("x.b01")), fileBytes);
    EXPECT_EQ(test::readFile(dir.file("x.ged")), fileBytes);
}

// The export copies the bytes the import read: a file changed or removed
// by another program meanwhile is neither mixed into the output nor in the
// way of saving the edits; writing over it is asked first.
TEST_F(ExportTest, TheExportWritesWhatTheImportReadWhateverHappenedToTheFile)
{
    const std::string original = "0 HEAD\n0 @I1@ INDI\n1 NAME Anna /Alt/\n1 NOTE kept\n0 @I2@ INDI\n1 NAME Paul /Alt/\n0 TRLR\n";
    ASSERT_TRUE(importText(original));
    db.persons[1].given = db.internText(givenPool, "Anne");
    db.markPersonChanged(1);
    const std::string expected = "0 HEAD\n0 @I1@ INDI\n1 NAME Anne /Alt/\n1 NOTE kept\n0 @I2@ INDI\n1 NAME Paul /Alt/\n0 TRLR\n";

    const std::string otherVersion = "0 HEAD\n0 @I1@ INDI\n1 NAME Zoe /Other/\n0 TRLR\n";
    test::writeFile(path, otherVersion);
    EXPECT_EQ(exportAll("copy.ged"), expected);
    std::remove(path.c_str());
    EXPECT_EQ(exportAll("again.ged"), expected);

    // Over the file itself, changed since: asked, and No writes nothing.
    ASSERT_TRUE(importText(original));
    db.persons[1].given = db.internText(givenPool, "Anne");
    db.markPersonChanged(1);
    test::writeFile(path, otherVersion);
    ui.questions.clear();
    ui.answers = {false};
    EXPECT_FALSE(exportAllCommand(session, path));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].title, "FILE CHANGED");
    EXPECT_EQ(test::readFile(path), otherVersion);
    ui.answers = {true};
    ASSERT_TRUE(exportAllCommand(session, path));
    EXPECT_EQ(test::readFile(path), expected);
    EXPECT_EQ(test::readFile(dir.file("test.bak")), otherVersion); // the other program's version stays
    // The written file is the current one now: no question for the next export.
    ui.questions.clear();
    ASSERT_TRUE(exportAllCommand(session, path));
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(test::readFile(path), expected);
}

// What the safe writer keeps beyond the bytes: the mode of the file it
// writes over, and a journal that holds every change until a full export.
TEST_F(ExportTest, AWrittenFileKeepsItsModeAndTheFullExportsJournalEveryChange)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME Anna /Roth/\n1 BIRT\n2 DATE 1850\n2 PLAC Bonn\n"
                           "0 @I2@ INDI\n1 NAME Karl /Roth/\n0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I1@\n1 DIV Y\n0 TRLR\n"));
    test::writeFile(dir.file("out.ged"), "older");
    chmod(dir.file("out.ged").c_str(), 0640);
    PersonForm anna = openPersonForm(session, 1, "");
    anna.given = "Anne";
    anna.dates[formBirth] = "";
    anna.dateEdited[formBirth] = true;
    anna.divorced = false;
    ASSERT_EQ(savePersonEdit(session, anna), "");
    select({1});
    ASSERT_TRUE(partialExportCommand(session, dir.file("part.ged")));
    const std::string written = exportAll();
    // The date cleared, its place kept; the divorce unticked reaches the file.
    EXPECT_NE(written.find("1 BIRT\n2 PLAC Bonn\n"), std::string::npos) << written;
    EXPECT_EQ(written.find("1850"), std::string::npos) << written;
    EXPECT_EQ(written.find("DIV"), std::string::npos) << written;
    struct stat info {};
    ASSERT_EQ(stat(dir.file("out.ged").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    const std::string journal = test::readFile(dir.file("out.log"));
    EXPECT_NE(journal.find("Import: " + path), std::string::npos) << journal;
    EXPECT_NE(journal.find("Person edited\r\n[1] Anne Roth"), std::string::npos) << journal;
}

TEST_F(ExportTest, RefusalsAreToldAndLeaveEverythingAsItWas)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n"));
    const std::vector<std::string> before = files();
    struct Case {
        std::string target;
        std::string error;
    };
    std::filesystem::create_directory(dir.file("folder.ged"));
    const Case cases[] = {
        {dir.file("x.txt"), "\r\nFile " + dir.file("x.txt") + " has not extension .ged"},
        {dir.file("folder.ged"), "\r\nCannot write " + dir.file("folder.ged") + ": it is a folder."},
        {dir.file("missing/x.ged"), "Error opening file '" + dir.file("missing/x.ged") + "': No such file or directory"},
    };
    for (const Case& c : cases) {
        ui.errors.clear();
        EXPECT_FALSE(exportAllCommand(session, c.target));
        EXPECT_EQ(ui.errors, std::vector<std::string>{c.error});
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"folder.ged", "kinmap.log", "test.ged"}));
    EXPECT_EQ(ui.status[0], "x.ged not exported");
    EXPECT_FALSE(partialExportCommand(session, dir.file("y.ged")));
    EXPECT_EQ(ui.errors.back(), "No persons have been selected");
}

TEST_F(ExportTest, AFailedBackupStopsTheExportBeforeAnythingIsWritten)
{
    // A backup name one byte longer than a file name may be: the rename fails.
    const std::string name = std::string(248, 'n') + ".ged.x";
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n", FileEncoding::utf8WithoutMark, "test.ged"));
    test::writeFile(dir.file(name), "the user's file");
    ui.errors.clear();
    EXPECT_FALSE(exportAllCommand(session, dir.file(name)));
    ASSERT_EQ(ui.errors.size(), 1u); // one message, with the reason
    EXPECT_NE(ui.errors[0].find("File name too long"), std::string::npos) << ui.errors[0];
    EXPECT_NE(ui.errors[0].find("Nothing was written."), std::string::npos);
    EXPECT_EQ(test::readFile(dir.file(name)), "the user's file");
    EXPECT_EQ(files(), (std::vector<std::string>{"kinmap.log", name, "test.ged"}));
}

TEST_F(ExportTest, AFailedWriteLeavesTargetAndBackupAsTheyWere)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 NOTE " + std::string(5000, 'x') + "\n0 TRLR\n"));
    db.persons[1].flags |= Flag::changed;
    select({1});
    test::writeFile(dir.file("out.ged"), "the old export");
    for (const std::string& target : {path, dir.file("out.ged")}) {
        ui.errors.clear();
        bool exported = true;
        test::withFileSizeLimit(1000, [&] { exported = exportAllCommand(session, target); });

        EXPECT_FALSE(exported);
        EXPECT_EQ(ui.errors, std::vector<std::string>{"\r\nsave GED file failed:\r\n" + target + "\r\n(File too large)"});
        EXPECT_EQ(db.persons[1].flags & (Flag::changed | Flag::selected), Flag::changed | Flag::selected);
        EXPECT_EQ(session.gedFile.path, path);
        EXPECT_EQ(test::readFile(path), fileBytes);
        EXPECT_EQ(test::readFile(dir.file("out.ged")), "the old export");
        EXPECT_EQ(files(), (std::vector<std::string>{"kinmap.log", "out.ged", "test.ged"}));
    }
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

} // namespace
} // namespace kinmap
