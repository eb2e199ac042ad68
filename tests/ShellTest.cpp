#include "app/Commands.h"
#include "app/Shell.h"
#include "ged/PersonText.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kinmap {
namespace {

class ShellTest : public test::ImportFixture {};

TEST_F(ShellTest, RecentFilesMoveToTheFrontWithoutDuplicates)
{
    auto& files = session.shell.recentFiles;
    for (const char* file : {"/a.ged", "/b.ged", "/c.ged", "/d.ged"})
        addRecentFile(session, file);
    EXPECT_EQ(files, (std::array<std::string, 4>{"/d.ged", "/c.ged", "/b.ged", "/a.ged"}));
    addRecentFile(session, "/B.GED"); // the same file, ignoring case; the newest spelling stays
    EXPECT_EQ(files, (std::array<std::string, 4>{"/B.GED", "/d.ged", "/c.ged", "/a.ged"}));
    addRecentFile(session, "/e.ged"); // the oldest falls out
    EXPECT_EQ(files, (std::array<std::string, 4>{"/e.ged", "/B.GED", "/d.ged", "/c.ged"}));
    EXPECT_EQ(ui.recentChanges, 6);
}

TEST_F(ShellTest, TheDiscardQuestionNamesWhatWouldBeLost)
{
    ASSERT_TRUE(importText("0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n"));
    EXPECT_EQ(discardQuestion(session), "");
    EXPECT_TRUE(confirmDiscard(session));
    EXPECT_TRUE(ui.questions.empty());

    session.counts.mergeCount = 2;
    for (int i = 0; i < 3; ++i)
        db.addPerson();
    EXPECT_EQ(discardQuestion(session),
              "Changes have not yet been exported!\r\n( 2 mergers, 3 new )\r\n\r\nDiscard all changes?");
    session.counts.correctionCount = 1;
    session.counts.replacementCount = 4;
    session.counts.editCount = 1;
    EXPECT_EQ(discardQuestion(session), "Changes have not yet been exported!\r\n( 2 mergers, 1 corrections, 4 "
                                        "replacements, 3 new, 1 edits )\r\n\r\nDiscard all changes?");

    ui.answers = {false, true};
    EXPECT_FALSE(confirmDiscard(session));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].title, "DISCARD CHANGES");
    EXPECT_EQ(ui.questions[0].icon, MessageIcon::warning);
    EXPECT_TRUE(confirmDiscard(session));
    // A yes alone discards nothing: the command that goes on does.
    EXPECT_EQ(db.highestRin, 4);
}

TEST_F(ShellTest, DataCommandsAreTheOnesThatNeedData)
{
    for (uint32_t id : {cmdExportGed, cmdPartialExport, cmdInputFromFile, cmdOutputToFile, cmdEditPerson,
                        cmdUnlinkSpouse, cmdUnlinkParents, cmdAddSpouse, cmdDelete, cmdFindReplace, cmdDuplicates,
                        cmdIslands, cmdAutoSource, cmdFindErrors, cmdSearchPerson, cmdCountEvents})
        EXPECT_TRUE(isDataCommand(id)) << id;
    for (uint32_t id : {cmdAbout, cmdNew, cmdImportGed, cmdExit, cmdAddNewPerson, cmdSoundex, cmdHelp,
                        cmdRecentFile1, cmdRecentFile4, cmdMerge})
        EXPECT_FALSE(isDataCommand(id)) << id;
}

TEST_F(ShellTest, TabsNeedDataAndTheSelectionTabASelection)
{
    EXPECT_FALSE(allowTabChange(session, personView));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "NO DATA");
    EXPECT_EQ(ui.messages[0].text, "Please do first\nFILE / Import\nor\nEdit / Add/ New Person");

    ASSERT_TRUE(importText("0 @I1@ INDI\n1 NAME A /B/\n0 @I7@ INDI\n1 NAME C /D/\n0 TRLR\n"));
    EXPECT_TRUE(allowTabChange(session, reportView));
    EXPECT_FALSE(allowTabChange(session, selectionView));
    EXPECT_EQ(ui.messages.back().title, "NO DATA in SELECTION");
    EXPECT_EQ(ui.messages.back().text, "Please do first\n SEARCH / Persons or Events");
    db.persons[7].flags |= Flag::selected; // only the person of the highest RIN
    EXPECT_TRUE(allowTabChange(session, selectionView));
}

TEST_F(ShellTest, ShowViewMovesTheCurrentPersonToAnExistingOne)
{
    ASSERT_TRUE(importText("0 @I3@ INDI\n1 NAME A /B/\n0 @I5@ INDI\n1 NAME C /D/\n0 TRLR\n"));
    EXPECT_EQ(session.shell.currentPerson, 3); // the import shows the list
    session.shell.currentPerson = 4;
    showView(session, personView);
    EXPECT_EQ(session.shell.currentPerson, 5);
    EXPECT_EQ(session.shell.currentView, personView);
    EXPECT_EQ(ui.status[2], "RIN: 5");
    session.shell.currentPerson = 99;
    showView(session, reportView);
    EXPECT_EQ(session.shell.currentPerson, 3);
}

TEST_F(ShellTest, NewStartsAnEmptyDatabase)
{
    ASSERT_TRUE(importText("0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n"));
    newDatabase(session);
    EXPECT_EQ(db.highestRin, 0);
    EXPECT_EQ(ui.status[0], "Use Menu:  EDIT / Add New Person");
    EXPECT_TRUE(ui.dataCommands);
    EXPECT_EQ(db.addPerson(), 1);
    EXPECT_EQ(db.persons[1].given, nullptr);
}

TEST_F(ShellTest, PersonGedTextIsTheRecordAsItStandsInTheFile)
{
    const std::string text = "0 HEAD\n0 @P1@ INDI\n1 NAME Jörg /Łoś/\n1 NOTE 100% sure\n0 @I2@ INDI\n1 SEX F\n0 TRLR";
    for (auto encoding : {test::FileEncoding::utf8, test::FileEncoding::utf16le, test::FileEncoding::utf16be}) {
        ASSERT_TRUE(importText(text, encoding));
        PersonGedText shown;
        ASSERT_TRUE(readPersonGedText(session, session.gedFile, 1, shown));
        EXPECT_EQ(shown.firstLine, "0 @P1@ INDI\r\n");
        EXPECT_EQ(shown.recordLines, "1 NAME Jörg /Łoś/\n1 NOTE 100% sure\n");
        ASSERT_TRUE(readPersonGedText(session, session.gedFile, 2, shown));
        EXPECT_EQ(shown.recordLines, "1 SEX F\n");
    }
    EXPECT_EQ(ui.status[0], "test.ged loaded, read as UTF-16BE (byte order mark)");

    const int32_t added = db.addPerson();
    PersonGedText none;
    ASSERT_TRUE(readPersonGedText(session, session.gedFile, added, none));
    EXPECT_EQ(none.firstLine, "Person 3 has no record in test.ged yet: it is written there by an export that includes it.\r\n");
    EXPECT_EQ(none.recordLines, "");

    // The lines are those the import read, whatever became of the file.
    test::writeFile(path, "0 HEAD\n0 @P1@ INDI\n1 NAME Other /Program/\n0 TRLR\n");
    ASSERT_TRUE(readPersonGedText(session, session.gedFile, 1, none));
    EXPECT_EQ(none.recordLines, "1 NAME Jörg /Łoś/\n1 NOTE 100% sure\n");
    std::remove(path.c_str());
    ASSERT_TRUE(readPersonGedText(session, session.gedFile, 1, none));
    EXPECT_EQ(none.recordLines, "1 NAME Jörg /Łoś/\n1 NOTE 100% sure\n");
}

} // namespace
} // namespace kinmap
