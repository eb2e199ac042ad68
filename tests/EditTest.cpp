// Editing: the link operations and the edit person form, each checked
// through the database from both sides of every link, the exported file,
// and undo and redo.
#include "app/Commands.h"
#include "app/EditCommands.h"
#include "app/FileCommands.h"
#include "app/Shell.h"
#include "base/EditHistory.h"
#include "check/LinkCheck.h"
#include "edit/LinkEdits.h"
#include "edit/PersonForm.h"
#include "ged/Export.h"
#include "ged/PersonText.h"
#include "views/DatabaseDump.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <tuple>

namespace kinmap {
namespace {

class EditTest : public test::ImportFixture {
protected:
    // A family of four and a single man.
    void importFamily()
    {
        ASSERT_TRUE(importText("0 HEAD\n"
                               "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 FAMS @F1@\n"
                               "0 @I2@ INDI\n1 NAME Eva /Berg/\n1 SEX F\n1 FAMS @F1@\n"
                               "0 @I3@ INDI\n1 NAME Kurt /Berg/\n1 SEX M\n1 FAMC @F1@\n"
                               "0 @I4@ INDI\n1 NAME Karl /Berg/\n1 SEX M\n1 FAMC @F1@\n"
                               "0 @I5@ INDI\n1 NAME Otto /Lenz/\n1 SEX M\n"
                               "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n1 CHIL @I4@\n"
                               "0 TRLR\n"));
    }
    std::string dump() const { return dumpDatabase(db); }
    // The dump without marks and file positions: what the data says.
    std::string values() const
    {
        static const std::regex marks("flags=[0-9A-F]+\\t|\\toffset=[0-9]+| personCount=.*");
        return std::regex_replace(dump(), marks, "");
    }
    // Exports and imports the file again: the links hold from both sides
    // and the file needs no repair.
    std::string exportedAndReadAgain()
    {
        session.report.clear();
        EXPECT_EQ(checkAllLinks(session), 0) << report();
        EXPECT_TRUE(exportAllCommand(session, dir.file("out.ged")));
        const std::string written = test::readFile(dir.file("out.ged"));
        EXPECT_TRUE(importCommand(session, dir.file("out.ged")));
        EXPECT_EQ(report().find("###"), std::string::npos) << report();
        return written;
    }
    static std::function<bool(PersonForm&)> fill(char sex, const char* given, const char* surname,
                                                 const char* birth = "", const char* marriage = "")
    {
        return [=](PersonForm& form) {
            form.sex = sex;
            form.given = given;
            form.surname = surname;
            form.dates[formBirth] = birth;
            form.dateEdited[formBirth] = *birth != 0;
            form.dates[formMarriage] = marriage;
            form.dateEdited[formMarriage] = *marriage != 0;
            return true;
        };
    }
};

TEST_F(EditTest, AFileBuiltFromNothingExportsAndReadsAgain)
{
    // Nothing of the file open before New reaches the new one.
    ASSERT_TRUE(importText("0 HEAD\n1 SUBM @U1@\n1 NOTE old header\n0 @I1@ INDI\n1 NAME Old /File/\n1 NOTE @N1@\n"
                           "0 @N1@ NOTE a note\n0 @U1@ SUBM\n1 NAME Someone\n0 TRLR\n"));
    newDatabase(session);
    ui.formAnswers = {fill('M', "Hans", "Berg", "12.3.1850"), fill('F', "Eva", "Roth", "", "abt 1875"),
                      [](PersonForm& form) {
                          EXPECT_EQ(form.surname, "Berg"); // a child takes the father's surname
                          form.given = "Kurt";
                          form.sex = 'M';
                          return true;
                      }};
    editCommand(session, cmdAddNewPerson);
    ASSERT_EQ(db.highestRin, 1);
    session.shell.currentPerson = 1;
    ui.rinAnswers = {"", ""}; // new spouse, new child
    editCommand(session, cmdAddSpouse);
    ui.answers = {false}; // no further child
    editCommand(session, cmdAddChild);
    EXPECT_EQ(ui.formCaptions,
              (std::vector<std::string>{"ADD NEW PERSON:", "ADD SPOUSE TO: [1] Hans Berg", "ADD CHILD TO: [1] Hans Berg"}));
    // The marriage typed for the new wife is in their family, and no other.
    ASSERT_EQ(db.highestMrin, 1);
    EXPECT_EQ(formatDate(db.families[1].marrDate).get(), std::string("ABT 1875"));
    EXPECT_NE(discardQuestion(session), "");
    const std::string before = values();
    EXPECT_EQ(exportedAndReadAgain(), "0 HEAD\r\n1 SOUR kinmap\r\n1 GEDC\r\n2 VERS 5.5.1\r\n2 FORM LINEAGE-LINKED\r\n1 CHAR UTF-8\r\n"
                                      "0 @I1@ INDI\r\n1 NAME Hans /Berg/\r\n1 SEX M\r\n1 BIRT\r\n2 DATE 12 MAR 1850\r\n1 FAMS @F1@\r\n"
                                      "0 @I2@ INDI\r\n1 NAME Eva /Roth/\r\n1 SEX F\r\n1 FAMS @F1@\r\n"
                                      "0 @I3@ INDI\r\n1 NAME Kurt /Berg/\r\n1 SEX M\r\n1 FAMC @F1@\r\n"
                                      "0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n1 CHIL @I3@\r\n1 MARR\r\n2 DATE ABT 1875\r\n0 TRLR\r\n");
    EXPECT_EQ(values(), before);
}

TEST_F(EditTest, LinksChangeOnBothSidesAndFamiliesWithChildrenStay)
{
    importFamily();
    // Gender rules and doubled links are refused with a message.
    EXPECT_FALSE(addSpouse(session, 1, 5));
    EXPECT_FALSE(addChild(session, 1, 3));
    EXPECT_FALSE(addMother(session, 3, 5));
    EXPECT_EQ(ui.errors, (std::vector<std::string>{"Person [5] must be female", "Person [3] is already in family 1",
                                                    "Person [5] must be female"}));
    // Otto as a second father: asked about Eva's family first (No), then a
    // family of his own with Kurt.
    ui.answers = {false};
    EXPECT_TRUE(addFather(session, 3, 5));
    EXPECT_EQ(db.persons[3].famc.count(), 2);
    const int32_t ottos = db.persons[5].fams[0];
    EXPECT_TRUE(db.families[ottos].children.contains(3));
    EXPECT_TRUE(db.families[ottos].flags & Flag::changed);
    // Unlinking the only parent of a family with Kurt alone deletes it; Eva
    // leaving hers keeps the family for Hans and the children.
    ui.answers = {false, true}; // not from family 1, yes from Otto's
    EXPECT_TRUE(unlinkParents(session, 3));
    EXPECT_FALSE(db.isFamily(ottos));
    EXPECT_TRUE(db.persons[5].fams.empty());
    session.shell.currentPerson = 2;
    ui.answers = {true};
    EXPECT_TRUE(unlinkSpouse(session, 2));
    EXPECT_TRUE(db.isFamily(1));
    EXPECT_EQ(db.families[1].wife, 0);
    // Hans deleted: his children keep their family.
    ui.answers = {true};
    EXPECT_TRUE(deletePerson(session, 1));
    EXPECT_TRUE(db.isFamily(1));
    EXPECT_EQ(db.families[1].children.count(), 2);
    EXPECT_EQ(exportedAndReadAgain(), "0 HEAD\n"
                                      "0 @I2@ INDI\n1 NAME Eva /Berg/\n1 SEX F\n"
                                      "0 @I3@ INDI\n1 NAME Kurt /Berg/\n1 SEX M\n1 FAMC @F1@\n"
                                      "0 @I4@ INDI\n1 NAME Karl /Berg/\n1 SEX M\n1 FAMC @F1@\n"
                                      "0 @I5@ INDI\n1 NAME Otto /Lenz/\n1 SEX M\n"
                                      "0 @F1@ FAM\n1 CHIL @I3@\n1 CHIL @I4@\n"
                                      "0 TRLR\n");
}

// No parent or child link may make anyone his own ancestor: a spouse as
// parent, a descendant as parent, an ancestor as child.
TEST_F(EditTest, NobodyBecomesHisOwnAncestor)
{
    importFamily();
    const std::string before = values();
    ui.answers = {true, true, true};
    EXPECT_FALSE(addMother(session, 1, 2)); // his wife
    EXPECT_FALSE(addFather(session, 1, 3)); // his son
    EXPECT_FALSE(addChild(session, 3, 1));  // his father
    session.shell.currentPerson = 3;
    EXPECT_FALSE(addChild(session, 4, 2)); // his mother, as child of his brother
    EXPECT_EQ(ui.errors,
              (std::vector<std::string>{"Hans Berg [1] cannot become a child of Eva Berg [2], who is a spouse of it.",
                                        "Hans Berg [1] cannot become a child of Kurt Berg [3], who descends from it: "
                                        "nobody can be their own ancestor.",
                                        "Hans Berg [1] cannot become a child of Kurt Berg [3], who descends from it: "
                                        "nobody can be their own ancestor.",
                                        "Eva Berg [2] cannot become a child of Karl Berg [4], who descends from it: "
                                        "nobody can be their own ancestor."}));
    EXPECT_EQ(values(), before);
    EXPECT_FALSE(session.history.canUndo());
    // A grandchild's father of his own is no cycle.
    ui.answers = {false};
    EXPECT_TRUE(addFather(session, 3, 5));
}

// A sex change leaves every family with a man as husband and a woman as
// wife: the spouse changes with the person, and is named in the journal;
// where the spouse has another family, the change is refused.
TEST_F(EditTest, ASexChangeKeepsEveryFamilyAManAndAWoman)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Adam /First/\n1 SEX M\n1 FAMS @F1@\n1 FAMS @F2@\n"
                           "0 @I2@ INDI\n1 NAME Eve /First/\n1 SEX F\n1 FAMS @F1@\n"
                           "0 @I3@ INDI\n1 NAME Lilith /Night/\n1 SEX F\n1 FAMS @F2@\n"
                           "0 @I4@ INDI\n1 NAME Pat /Single/\n1 SEX F\n1 FAMS @F3@\n"
                           "0 @I5@ INDI\n1 NAME Sam /Single/\n1 SEX M\n1 FAMS @F3@\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n"
                           "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n"
                           "0 @F3@ FAM\n1 HUSB @I5@\n1 WIFE @I4@\n"
                           "0 TRLR\n"));
    PersonForm lilith = openPersonForm(session, 3, "");
    lilith.sex = 'M';
    EXPECT_EQ(savePersonEdit(session, lilith),
              "The sex of person [3] cannot change: its spouse [1] in family 2 would change sex too, and is also a "
              "spouse in family 1.");
    EXPECT_EQ(db.persons[1].sex, 'M');
    EXPECT_EQ(db.persons[3].sex, 'F');
    EXPECT_EQ(db.families[2].husband, 1);

    PersonForm pat = openPersonForm(session, 4, "");
    pat.sex = 'M';
    ASSERT_EQ(savePersonEdit(session, pat), "");
    EXPECT_EQ(db.families[3].husband, 4);
    EXPECT_EQ(db.families[3].wife, 5);
    EXPECT_EQ(db.persons[5].sex, 'F');
    const std::string journal = test::readFile(session.journal.workingPath());
    EXPECT_NE(journal.find("Person edited\r\n[4] Pat Single"), std::string::npos) << journal;
    EXPECT_NE(journal.find("Sex and place in mrin 3 changed with rin 4\r\n[5] Sam Single"), std::string::npos) << journal;
    const std::string written = exportedAndReadAgain();
    EXPECT_NE(written.find("0 @F3@ FAM\n1 HUSB @I4@\n1 WIFE @I5@\n"), std::string::npos) << written;
}

TEST_F(EditTest, EveryOperationIsUndoneAndRedoneExactly)
{
    importFamily();
    struct Operation {
        const char* name;
        std::function<bool()> run;
    };
    const Operation operations[] = {
        {"add spouse", [&] { return addSpouse(session, 5, 2); }},
        {"add father", [&] { ui.answers = {true}; return addFather(session, 5, 1); }},
        {"unlink spouse", [&] { session.shell.currentPerson = 1; ui.answers = {true}; return unlinkSpouse(session, 1); }},
        {"unlink parents", [&] { ui.answers = {true}; return unlinkParents(session, 4); }},
        {"delete", [&] { ui.answers = {true}; return deletePerson(session, 2); }},
        {"edit", [&] {
             PersonForm form = openPersonForm(session, 3, "");
             form.sex = 'F';
             form.given = "Kira";
             form.dates[formDeath] = "1.2.1950";
             form.dateEdited[formDeath] = true;
             return savePersonEdit(session, form).empty();
         }},
    };
    for (const Operation& op : operations) {
        SCOPED_TRACE(op.name);
        const std::string before = dump();
        const int32_t edits = session.counts.editCount;
        ASSERT_TRUE(op.run());
        const std::string after = dump();
        EXPECT_NE(after, before);
        EXPECT_EQ(session.counts.editCount, edits + 1); // counted for the question before changes are lost
        ASSERT_TRUE(session.history.undo(session));
        EXPECT_EQ(dump(), before);
        EXPECT_EQ(session.counts.editCount, edits);
        ASSERT_TRUE(session.history.redo(session));
        EXPECT_EQ(dump(), after);
    }
    const std::string journal = test::readFile(session.journal.workingPath());
    EXPECT_NE(journal.find("Undone: Edit person\r\nPerson edited\r\n[3] Kira"), std::string::npos);
    // Every operation writes its own line, the person labelled after it.
    for (const char* line : {"Spouse added to rin 2, mrin 2\r\n[2] Eva Berg", "Father added to rin 5, mrin 3\r\n[1] Hans Berg",
                             "Spouse unlinked from rin 1,  mrin 1\r\n[2] Eva Berg", "Child unlinked from mrin 1\r\n[4] Karl Berg",
                             "Person deleted\r\n[2] Eva Berg", "Person edited\r\n[3] Kira Berg"})
        EXPECT_NE(journal.find(line), std::string::npos) << line;
    // A new edit after an undo ends what could be redone.
    ASSERT_TRUE(session.history.undo(session));
    EXPECT_TRUE(session.history.canRedo());
    PersonForm otto = openPersonForm(session, 5, "");
    otto.given = "Ottokar";
    ASSERT_EQ(savePersonEdit(session, otto), "");
    EXPECT_FALSE(session.history.canRedo());
    EXPECT_FALSE(session.history.redo(session));
    // Exported, the changes are the new start: nothing left to undo.
    exportedAndReadAgain();
    EXPECT_FALSE(session.history.canUndo());
}

TEST_F(EditTest, OtherParentsMoveTheChildAndRefuseWhatChangesNothing)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 FAMS @F1@\n"
                           "0 @I3@ INDI\n1 NAME Kurt /Berg/\n1 SEX M\n1 FAMC @F1@\n"
                           "0 @I4@ INDI\n1 NAME Karl /Berg/\n1 SEX M\n1 FAMC @F1@\n2 PEDI birth\n"
                           "0 @I5@ INDI\n1 NAME Otto /Lenz/\n1 SEX M\n1 FAMS @F2@\n"
                           "0 @I6@ INDI\n1 NAME Ida /Lenz/\n1 SEX F\n1 FAMC @F2@\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I3@\n1 CHIL @I4@\n"
                           "0 @F2@ FAM\n1 HUSB @I5@\n1 CHIL @I6@\n0 TRLR\n"));
    const std::string before = dump();
    // Nothing changes, and no step of undo is made, for a family the child
    // is in, one that is not there, or parents it may not have.
    for (const auto& [child, mrin, why] : {std::tuple{4, 1, "Karl Berg [4] is a child of MRIN 1 already"},
                                           std::tuple{4, 9, "MRIN 9 is no family"}, std::tuple{4, 0, "MRIN 0 is no family"},
                                           std::tuple{5, 2, "Otto Lenz [5] cannot be a parent of itself."}}) {
        ui.errors.clear();
        EXPECT_FALSE(assignOtherParents(session, child, mrin));
        EXPECT_EQ(ui.errors, (std::vector<std::string>{why}));
    }
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(session.history.canUndo());

    ASSERT_TRUE(assignOtherParents(session, 4, 2));
    const std::string after = dump();
    EXPECT_EQ(db.persons[4].famc.count(), 1);
    EXPECT_EQ(db.persons[4].famc[0], 2);
    EXPECT_FALSE(db.families[1].children.contains(4));
    EXPECT_TRUE(db.families[2].children.contains(4));
    const std::string journal = test::readFile(session.journal.workingPath());
    EXPECT_NE(journal.find("Child unlinked from mrin 1\r\n[4] Karl Berg"), std::string::npos) << journal;
    EXPECT_NE(journal.find("Other Parents for rin=4, mrin=2\r\n[4] Karl Berg"), std::string::npos) << journal;
    ASSERT_TRUE(session.history.undo(session));
    EXPECT_EQ(dump(), before);
    ASSERT_TRUE(session.history.redo(session));
    EXPECT_EQ(dump(), after);
    const std::string written = exportedAndReadAgain();
    EXPECT_NE(written.find("0 @F2@ FAM\n1 HUSB @I5@\n1 CHIL @I6@\n1 CHIL @I4@\n"), std::string::npos) << written;
    EXPECT_NE(written.find("0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I3@\n"), std::string::npos) << written;
}

TEST_F(EditTest, RinsTypedAreChecked)
{
    importFamily();
    EXPECT_EQ(typedRin(session, ""), 0);
    EXPECT_EQ(typedRin(session, " 0 "), 0);
    EXPECT_EQ(typedRin(session, "4"), 4);
    EXPECT_EQ(typedRin(session, "99"), -1);
    EXPECT_EQ(typedRin(session, "4x"), -1);
    EXPECT_EQ(ui.errors, (std::vector<std::string>{"There is no person with RIN 99.", "There is no person with RIN 4x."}));
    session.shell.currentPerson = 1;
    ui.rinAnswers = {"123456789"};
    editCommand(session, cmdAddChild);
    EXPECT_EQ(db.families[1].children.count(), 2);
    EXPECT_EQ(ui.rinTitles, (std::vector<std::string>{"ADD CHILD TO: [1] Hans Berg"}));
}

TEST_F(EditTest, TheFormKeepsWhatWasNotEdited)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME Anna /Roth/\n1 BIRT\n2 DATE ABT JAN 1850\n"
                           "1 CHR\n2 DATE 3 FEB 1850\n1 DEAT\n2 DATE 1750/1751\n1 BURI\n2 DATE xyz 1900\n0 TRLR\n"));
    PersonForm form = openPersonForm(session, 1, "");
    EXPECT_EQ(form.sex, 'U'); // not known, not female
    EXPECT_EQ(form.dates[formBirth], "ABT JAN 1850");
    // Saved as it is: nothing changes, not even the date that did not read.
    const std::string before = dump();
    EXPECT_EQ(savePersonEdit(session, form), "");
    EXPECT_EQ(dump().substr(0, dump().find("offset")), before.substr(0, before.find("offset")));
    EXPECT_EQ(db.persons[1].sex, 0);
    // A date lacking its year takes the one above; a bare day also its month.
    EXPECT_EQ(readDateField(form, formDeath, "12 MAR").text, "12 MAR 1850");
    EXPECT_EQ(readDateField(form, formDeath, "12").text, "12 FEB 1850");
    EXPECT_EQ(readDateField(form, formBirth, "12 MAR").problem, "This date has no year.");
    EXPECT_EQ(readDateField(form, formBirth, "31.2.1850").problem, "A day, month or year of this date is out of range.");
    // Nothing is applied from a form that cannot be saved.
    form.given = form.surname = "";
    form.sex = 'M';
    EXPECT_EQ(savePersonEdit(session, form), "Please give at least one name!");
    EXPECT_EQ(db.persons[1].sex, 0);
    form.given = "Anna/Maria";
    EXPECT_EQ(savePersonEdit(session, form), "A name cannot hold a slash (/).");
    EXPECT_EQ(sexOfKey('m'), 'M');
}

// The edit dialog shows every date as the GED file writes it, takes the
// forms the import reads, and saves exactly what it showed.
TEST_F(EditTest, DatesAreSavedAsTheyAreShown)
{
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME Anna /Roth/\n1 BIRT\n2 DATE BET 1950 AND 1960\n"
                           "1 CHR\n2 DATE EST 1890\n1 DEAT\n2 DATE FROM 1850 TO 1855\n0 TRLR\n"));
    PersonForm form = openPersonForm(session, 1, "");
    EXPECT_EQ(form.dates[formBirth], "BET 1950 AND 1960");
    EXPECT_EQ(form.dates[formChristening], "EST 1890");
    EXPECT_EQ(form.dates[formDeath], "FROM 1850 TO 1855");

    // A bare day needs a month above; "0" is no day.
    form.dates[formDeath] = "um 1890";
    EXPECT_EQ(readDateField(form, formDeath, "um 1890").text, "ABT 1890");
    form.dates[formDeath] = "ABT 1890";
    EXPECT_EQ(readDateField(form, formBurial, "12").problem, "A day needs a month, and the date above has none.");
    EXPECT_EQ(readDateField(form, formBurial, "0").problem, "This date has no year.");
    form.dates[formBurial] = "12";
    form.dateEdited[formBurial] = true;
    EXPECT_EQ(savePersonEdit(session, form), "The burial date '12': A day needs a month, and the date above has none.");

    // Typed as the import reads them, saved as shown.
    struct Typed {
        const char* typed;
        const char* shown; // empty: refused
    };
    for (const Typed& t : {Typed{"bet 1850 and 1860", "BET 1850 AND 1860"}, Typed{"from 1850 to 1860", "FROM 1850 TO 1860"},
                           Typed{"1750/51", "1750/1751"}, Typed{"est 1890", "EST 1890"}, Typed{"1750/1760", ""},
                           Typed{"-5", ""}, Typed{"29 FEB 1900", ""}}) {
        SCOPED_TRACE(t.typed);
        const DateField field = readDateField(form, formBirth, t.typed);
        EXPECT_EQ(field.problem.empty() ? field.text : "", t.shown);
        EXPECT_EQ(field.problem.empty(), *t.shown != 0);
    }
    PersonForm edited = openPersonForm(session, 1, "");
    edited.dates[formBirth] = "bet 1850 and 1860";
    edited.dateEdited[formBirth] = true;
    edited.dates[formChristening] = "est 1851";
    edited.dateEdited[formChristening] = true;
    ASSERT_EQ(savePersonEdit(session, edited), "");
    EXPECT_EQ(openPersonForm(session, 1, "").dates[formBirth], "BET 1850 AND 1860");
    const std::string written = exportedAndReadAgain();
    EXPECT_NE(written.find("1 BIRT\n2 DATE BET 1850 AND 1860\n1 CHR\n2 DATE EST 1851\n1 DEAT\n2 DATE FROM 1850 TO 1855\n"),
              std::string::npos)
        << written;
}

// A name the file's encoding cannot hold is never written as "?" unasked:
// the user writes the file in UTF-8 (every line converted, nothing lost) or
// nothing; "?" only where the session says so.
TEST_F(EditTest, NamesOutsideTheFilesEncodingAreWrittenAsTheUserChooses)
{
    const std::string latin1 = "0 HEAD\n1 CHAR ANSI\n0 @I1@ INDI\n1 NAME Jörg /Roth/\n1 NOTE über\n1 SEX M\n"
                               "0 @I2@ INDI\n1 NAME Anna /Roth/\n1 SEX F\n0 TRLR\n";
    ASSERT_TRUE(importText(latin1, test::FileEncoding::latin1));
    PersonForm form = openPersonForm(session, 2, "");
    form.given = "Łucja";
    ASSERT_EQ(savePersonEdit(session, form), "");
    EXPECT_STREQ(db.persons[2].given, "Łucja");

    ui.answers = {false};
    EXPECT_FALSE(exportAllCommand(session, dir.file("out.ged")));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].title, "CHARACTERS");
    EXPECT_NE(ui.questions[0].text.find("1 NAME Łucja /Roth/"), std::string::npos) << ui.questions[0].text;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.ged")));

    // Yes: a partial export in UTF-8; the records it leaves are still found
    // in the converted bytes.
    markPerson(session, 2, true);
    ui.answers = {true};
    ASSERT_TRUE(partialExportCommand(session, dir.file("part.ged")));
    EXPECT_EQ(test::readFile(dir.file("part.ged")),
              "0 HEAD\n1 CHAR UTF-8\n0 @I2@ INDI\n1 NAME Łucja /Roth/\n1 SEX F\n0 TRLR\n");
    PersonGedText shown;
    ASSERT_TRUE(readPersonGedText(session, session.gedFile, 1, shown));
    EXPECT_EQ(shown.recordLines, "1 NAME Jörg /Roth/\n1 NOTE über\n1 SEX M\n");
    ASSERT_TRUE(exportAllCommand(session, dir.file("all.ged")));
    EXPECT_EQ(test::readFile(dir.file("all.ged")),
              "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME Jörg /Roth/\n1 NOTE über\n1 SEX M\n"
              "0 @I2@ INDI\n1 NAME Łucja /Roth/\n1 SEX F\n0 TRLR\n");

    // "?" only when asked for (kinmap-cli --lossy).
    ASSERT_TRUE(importText(latin1, test::FileEncoding::latin1));
    form = openPersonForm(session, 2, "");
    form.given = "Łucja";
    ASSERT_EQ(savePersonEdit(session, form), "");
    session.unmappable = UnmappableCharacters::replace;
    ASSERT_TRUE(exportAllCommand(session, dir.file("lossy.ged")));
    EXPECT_NE(report().find("\"?\" written instead: 1 NAME Łucja /Roth/"), std::string::npos) << report();
    EXPECT_NE(test::readFile(dir.file("lossy.ged")).find("1 NAME ?ucja /Roth/"), std::string::npos);
}

} // namespace
} // namespace kinmap
