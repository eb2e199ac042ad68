// The sources of the GED file: the browser's list and texts, and Auto-Source,
// which rewrites the file itself: checked byte for byte in every encoding and
// line end, on failure, and through a later export.
#include "app/FileCommands.h"
#include "app/SourceCommands.h"
#include "app/EditCommands.h"
#include "edit/LinkEdits.h"
#include "edit/PersonForm.h"
#include "ged/Sources.h"
#include "query/Selection.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kinmap {
namespace {

class SourcesTest : public test::ImportFixture {
protected:
    void select(std::initializer_list<int32_t> rins)
    {
        for (const int32_t rin : rins)
            markPerson(session, rin, true);
    }
    // A source before the persons, one with a non-numeric identifier after
    // the families, a record with its own TITL after a source.
    const std::string file = "0 HEAD\n1 CHAR UTF-8\n"
                             "0 @S1@ SOUR\n1 TITL Kirchenbuch\n2 CONC  Köln\n2 CONT Band 2\n1 AUTH Pfarrer Иванов\n"
                             "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SOUR @S1@\n1 CHAN\n2 DATE 1 JAN 2000\n"
                             "0 @I2@ INDI\n1 NAME Eva /Roth/\n1 FAMS @F1@\n"
                             "0 @I3@ INDI\n1 NAME Kurt /Berg/\n1 FAMC @F1@\n"
                             "0 @F1@ FAM\n1 WIFE @I2@\n1 CHIL @I3@\n"
                             "0 @SRC-A@ SOUR\n1 TITL Standesamt\n1 PUBL 1900\n1 X\n"
                             "0 @O1@ OBJE\n1 TITL Foto\n"
                             "0 TRLR\n";
};

TEST_F(SourcesTest, TheBrowserListsEverySourceWithItsOwnWholeTexts)
{
    ASSERT_TRUE(importText(file));
    const SourceList list = readSources(session.gedFile);
    ASSERT_EQ(list.sources.size(), 2u);
    EXPECT_EQ(list.sources[0].identifier, "@S1@");
    EXPECT_EQ(sourceDetails(list.sources[0]), "SOUR: @S1@\r\nTITL: Kirchenbuch Köln\r\nBand 2\r\nAUTH: Pfarrer Иванов\r\n");
    // Its own lines only: the picture's title after it is not the source's.
    EXPECT_EQ(sourceDetails(list.sources[1]), "SOUR: @SRC-A@\r\nTITL: Standesamt\r\nPUBL: 1900\r\n");
    EXPECT_EQ(list.shortLines, std::vector<std::string>{"1 X"});
    EXPECT_EQ(findSource(list.sources, "1"), 0);
    EXPECT_EQ(findSource(list.sources, "@SRC-A@"), 1);
    EXPECT_EQ(findSource(list.sources, "7"), -1);
}

TEST_F(SourcesTest, AutoSourceAddsOneLinePerPersonAndKeepsEveryOtherByte)
{
    // In each encoding and line end the file is the same but for the new lines.
    struct Case {
        const char* name;
        std::function<std::string(const std::string&)> bytes;
    };
    const Case cases[] = {
        {"UTF-8", [](const std::string& t) { return t; }},
        {"UTF-16", [](const std::string& t) { return test::encode(t, test::FileEncoding::utf16le); }},
        {"CR", [](const std::string& t) { return test::cr(t); }},
        {"ANSEL", [](const std::string& t) {
             std::string ansel = t.substr(0, t.find("Pfarrer")) + "Pfarrer Ivanov\n" + t.substr(t.find("0 @I1@"));
             ansel.replace(ansel.find("UTF-8"), 5, "ANSEL");
             ansel.replace(ansel.find("Köln"), 5, "K\xE8oln");
             return ansel;
         }},
    };
    const std::string citation = "1 SOUR @SRC-A@\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = c.bytes(file);
        ASSERT_TRUE(importBytes(before, std::string("auto-") + c.name + ".ged"));
        select({1, 2});
        ASSERT_TRUE(addSourceToSelection(session, "@SRC-A@"));
        std::string expected = file;
        if (c.name == std::string("ANSEL"))
            expected = file.substr(0, file.find("Pfarrer")) + "Pfarrer Ivanov\n" + file.substr(file.find("0 @I1@"));
        // Before the CHAN line of one, at the end of the other's record.
        expected.insert(expected.find("1 CHAN"), citation);
        expected.insert(expected.find("0 @I3@"), citation);
        const std::string written = test::readFile(path);
        if (c.name == std::string("ANSEL")) {
            expected.replace(expected.find("UTF-8"), 5, "ANSEL");
            expected.replace(expected.find("Köln"), 5, "K\xE8oln");
            EXPECT_EQ(written, expected);
        } else {
            EXPECT_EQ(written, c.bytes(expected));
        }
        EXPECT_EQ(report(), "1 SOUR @SRC-A@ added to 2 persons in auto-" + std::string(c.name) + ".ged");
        // The file is the current file again: read once more, it has no
        // repair, and a second run adds a second line.
        ASSERT_TRUE(addSourceToSelection(session, "@SRC-A@"));
        const std::string twice = test::readFile(path);
        EXPECT_EQ(twice.size() - written.size(), written.size() - before.size());
    }
}

TEST_F(SourcesTest, AFailedRewriteLeavesFileAndPositionsAsTheyWere)
{
    ASSERT_TRUE(importText(file + std::string(3000, 'x') + "\n"));
    select({2});
    const uint64_t offset = db.persons[3].fileOffset;
    bool added = true;
    test::withFileSizeLimit(1000, [&] { added = addSourceToSelection(session, "@S1@"); });
    EXPECT_FALSE(added);
    EXPECT_EQ(ui.errors, std::vector<std::string>{"\r\nsave GED file failed:\r\n" + path + "\r\n(File too large)"});
    EXPECT_EQ(test::readFile(path), fileBytes);
    EXPECT_EQ(db.persons[3].fileOffset, offset);

    // A source the file's encoding cannot hold: nothing is written.
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n", test::FileEncoding::latin1));
    select({1});
    ui.errors.clear();
    EXPECT_FALSE(addSourceToSelection(session, "Книга"));
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(test::readFile(path), fileBytes);
}

TEST_F(SourcesTest, AnExportAfterAutoSourceKeepsTheCitationsAndTheEdits)
{
    ASSERT_TRUE(importText(file + "the end, after the trailer\n"));
    // An edit not yet exported, a person not yet in the file.
    PersonForm form = openPersonForm(session, 2, "");
    form.given = "Eva Maria";
    ASSERT_EQ(savePersonEdit(session, form), "");
    form = PersonForm{};
    form.given = "Neu";
    form.sex = 'M';
    ui.formAnswers.push_back([&](PersonForm& f) {
        f = form;
        return true;
    });
    ASSERT_NE(addNewPerson(session), 0);
    select({1, 2, 4});
    ASSERT_TRUE(addSourceToSelection(session, "@S1@"));
    EXPECT_NE(report().find("1 selected persons are not in the file yet"), std::string::npos) << report();
    EXPECT_NE(test::readFile(path).find("0 TRLR\nthe end, after the trailer\n"), std::string::npos);
    EXPECT_TRUE(db.persons[2].flags & Flag::changed);

    ASSERT_TRUE(exportAllCommand(session, dir.file("out.ged")));
    const std::string exported = test::readFile(dir.file("out.ged"));
    EXPECT_NE(exported.find("0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SOUR @S1@\n1 SOUR @S1@\n1 CHAN"), std::string::npos)
        << exported;
    EXPECT_NE(exported.find("0 @I2@ INDI\n1 NAME Eva Maria /Roth/\n1 SEX F\n1 FAMS @F1@\n1 SOUR @S1@\n"), std::string::npos)
        << exported;
    EXPECT_NE(exported.find("0 TRLR\nthe end, after the trailer\n"), std::string::npos) << exported;
}

} // namespace
} // namespace kinmap
