// Find Errors end to end: small files, the journal text the check writes
// (what kinmap-cli check prints), and the corrections it makes.
#include "app/EditCommands.h"
#include "app/ExtrasCommands.h"
#include "app/FileCommands.h"
#include "app/Shell.h"
#include "app/ViewCommands.h"
#include "check/Plausibility.h"

#include "edit/LinkEdits.h"
#include "ged/Export.h"
#include "views/DatabaseDump.h"
#include "views/ErrorListRows.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kinmap {
namespace {

class PlausibilityTest : public test::ImportFixture {
protected:
    // Imports the file and runs the check; its journal text.
    std::string check(const std::string& ged, uint32_t ignore = 0)
    {
        EXPECT_TRUE(importText("0 HEAD\n" + ged + "0 TRLR\n"));
        session.checkOptions.ignore = ignore;
        runErrorCheck(session);
        return session.errors.journalEntry;
    }
    // The check's text without its header and count line, for the rules
    // under test (the others ignored).
    std::string findings(const std::string& ged, uint32_t ignore)
    {
        std::string text = check(ged, ignore);
        text.erase(0, text.find('\n', 1) + 1);
        return text.substr(0, text.rfind('\n', text.size() - 2) + 1);
    }
    static std::string person(int rin, const std::string& name, char sex, const std::string& lines = "")
    {
        return "0 @I" + std::to_string(rin) + "@ INDI\n1 NAME " + name + "\n1 SEX " + sex + "\n" + lines;
    }
    static constexpr uint32_t all = 0x7F;
};

TEST_F(PlausibilityTest, DatesOfOnePerson)
{
    const std::string ged = person(1, "Anna /Alt/", 'F', "1 BIRT\n2 DATE BEF 1900\n1 CHR\n2 DATE 1850\n") +
                            person(2, "Berta /Alt/", 'F', "1 BIRT\n2 DATE 1 JAN 1850\n1 CHR\n2 DATE 1 JAN 1851\n"
                                                          "1 DEAT\n2 DATE 1 MAR 1900\n1 BURI\n2 DATE 1 MAY 1900\n") +
                            person(3, "Carla /Alt/", 'F', "1 BIRT\n2 DATE 1 JAN 1850\n1 CHR\n2 DATE 1 FEB 1851\n"
                                                          "1 DEAT\n2 DATE 1 MAR 1900\n1 BURI\n2 DATE 1 JUN 1900\n") +
                            // The birth goes as superfluous: the christening is compared with the burial, as
                            // Emma's birth is, whose death date did not read.
                            person(4, "Dora /Alt/", 'F', "1 BIRT\n2 DATE AFT MAR 1850\n1 CHR\n2 DATE JUN 1852\n1 BURI\n2 DATE 1851\n") +
                            person(5, "Emma /Alt/", 'F', "1 BIRT\n2 DATE 1900/1915\n1 DEAT\n2 DATE xyz 1950\n1 BURI\n2 DATE 1890\n") +
                            person(6, "Fritz /Alt/", 'M', "1 BIRT\n2 DATE 1850\n1 DEAT\n2 DATE BEF 1900\n1 BURI\n2 DATE 1890\n") +
                            person(7, "Otto /Alt/", 'M', "1 FAMS @F1@\n") +
                            // A birth date without a year is no birth date: the christening counts.
                            person(8, "Gerd /Alt/", 'M', "1 BIRT\n2 DATE MAR\n1 CHR\n2 DATE 1850\n1 DEAT\n2 DATE 1840\n") +
                            "0 @F1@ FAM\n1 HUSB @I7@\n1 CHIL @I8@\n1 CHIL @I2@\n1 CHIL @I3@\n1 CHIL @I4@\n1 CHIL @I6@\n1 CHIL @I1@\n1 CHIL @I5@\n";
    EXPECT_EQ(findings(ged, all & ~Ignore::checkDate),
              "RIN=    1           superfluous date: superfluous birth date BEF 1900 (deleted)\n"
              "RIN=    3                 check date: Chris 1 FEB 1851 late after birth 1 JAN 1850 for RIN 3Carla Alt \n"
              "RIN=    3                 check date: Burial 1 JUN 1900 too late after death 1 MAR 1900 for RIN 3Carla Alt \n"
              "RIN=    4           superfluous date: superfluous birth date AFT MAR 1850 (deleted)\n"
              "RIN=    4                 check date: Death 1851 before death JUN 1852 for RIN 4Dora Alt \n"
              "RIN=    5                 check date: Death 1890 before death 1900/1915 for RIN 5Emma Alt \n"
              "RIN=    5                 check date: birth date range '1900/1915' more than 10 years for RIN 5 Emma Alt \n"
              "RIN=    5                 check date: possibly wrong death date 'xyz 1950' for RIN 5 Emma Alt \n"
              "RIN=    6           superfluous date: superfluous death date BEF 1900 (deleted)\n"
              "RIN=    8                 check date: Death 1840 before death 1850 for RIN 8Gerd Alt \n");
    EXPECT_EQ(session.errors.correctedCount, 3);
    EXPECT_EQ(session.counts.correctionCount, 3);
    // Deleted whole, and marked for the export.
    EXPECT_EQ(db.persons[4].birthDate, 0u);
    EXPECT_FALSE(db.persons[4].flags & Flag::hasBirthDate);
    EXPECT_TRUE(db.persons[4].flags & Flag::changed);
    // Left out, the group says nothing and changes nothing.
    EXPECT_EQ(findings(ged, all), "");
    EXPECT_NE(db.persons[1].birthDate, 0u);
}

TEST_F(PlausibilityTest, NamesAndPlaces)
{
    std::string ged;
    const char* names[] = {"Jan /van Dyck/", "Maria /de la Cruz/", "Jan /vander Meer/", "john /smith/", "baby boy /Roth/",
                           "Александр Данилович /Меншиков/", "anna %s /Roth/"};
    for (int i = 0; i < 7; ++i)
        ged += person(i + 1, names[i], 'M');
    const char* places[] = {"Berlin", "ober Hausen", "auf dem Berg", "berlin", "Österreich", "москва"};
    for (int i = 0; i < 6; ++i)
        ged += person(i + 8, "A /B/", 'M', std::string("1 BIRT\n2 PLAC ") + places[i] + "\n");
    ged += person(14, "Otto /B/", 'M', "1 FAMS @F1@\n") + "0 @F1@ FAM\n1 HUSB @I14@\n";
    for (int i = 1; i <= 13; ++i)
        ged += "1 CHIL @I" + std::to_string(i) + "@\n";
    EXPECT_EQ(findings(ged, all & ~Ignore::checkName),
              "RIN=    3                 check name: possibly misspelled surname 'vander Meer' for RIN 3 Jan vander Meer \n"
              "RIN=    7                 check name: possibly misspelled name 'anna %s' for RIN 7 anna %s Roth \n"
              "RIN=   11                 check name: possibly misspelled bith place 'berlin' für RIN 11 A B \n"
              "RIN=   13                 check name: possibly misspelled bith place 'москва' für RIN 13 A B \n");
}

TEST_F(PlausibilityTest, SpousesAndMarriages)
{
    const std::string ged =
        person(1, "Hans /Berg/", 'M', "1 BIRT\n2 DATE 1900\n1 DEAT\n2 DATE 1950\n1 FAMS @F1@\n1 FAMS @F2@\n") +
        person(2, "Eva /Roth/", 'F', "1 BIRT\n2 DATE 1961\n1 FAMS @F1@\n") +
        person(3, "Ida /Moos/", 'F', "1 BIRT\n2 DATE 1905\n1 DEAT\n2 DATE 1930\n1 FAMS @F2@\n") +
        // Married while his first wife lived; the second marriage is no divorce.
        person(4, "Otto /Lenz/", 'M', "1 BIRT\n2 DATE 1880\n1 FAMS @F3@\n1 FAMS @F4@\n") +
        person(5, "Lea /Lenz/", 'F', "1 BIRT\n2 DATE 1885\n1 DEAT\n2 DATE 1950\n1 FAMS @F3@\n") +
        person(6, "Ria /Lenz/", 'F', "1 BIRT\n2 DATE 1890\n1 FAMS @F4@\n") +
        // Both died before a marriage dated BEF: that date goes, once.
        person(7, "Paul /Kurz/", 'M', "1 BIRT\n2 DATE 1850\n1 DEAT\n2 DATE 1890\n1 FAMS @F5@\n") +
        person(8, "Pia /Kurz/", 'F', "1 BIRT\n2 DATE 1850\n1 DEAT\n2 DATE 1891\n1 FAMS @F5@\n") +
        "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1920\n2 PLAC Ulm\n"
        "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n1 MARR\n2 DATE 1906\n"
        "0 @F3@ FAM\n1 HUSB @I4@\n1 WIFE @I5@\n1 MARR\n2 DATE 1905\n"
        "0 @F4@ FAM\n1 HUSB @I4@\n1 WIFE @I6@\n1 MARR\n2 DATE 1910\n"
        "0 @F5@ FAM\n1 HUSB @I7@\n1 WIFE @I8@\n1 MARR\n2 DATE BEF 1895\n";
    EXPECT_EQ(findings(ged, all & ~Ignore::spouseConflict),
              "RIN=    1             age difference: spouses in MRIN 1 have too different ages (61 years) - Marriage 1920, Ulm\n"
              "RIN=    2             wife too young: with -41 years Eva Roth  *1961 seems too young to marry in 1920\n"
              "RIN=    3             wife too young: with 1 years Ida Moos  *1905 seems too young to marry in 1906\n"
              "RIN=    7           superfluous date: superfluous marriage date BEF 1895 (deleted)\n"
              "RIN=    1         order of marriages: order of marriages MRIN 2 (1906) and MRIN 1 (1920) - corrected\n"
              "RIN=    1            spouse conflict: Hans Berg married in 1920 before previous spouse Ida Moos  +1930  had died (MRIN:2 divorced?)\n"
              "RIN=    4            spouse conflict: Otto Lenz married in 1910 before previous spouse Lea Lenz  +1950  had died (MRIN:3 divorced?)\n");
    EXPECT_EQ(std::vector<int32_t>(db.persons[1].fams.begin(), db.persons[1].fams.end()), (std::vector<int32_t>{2, 1}));
    EXPECT_TRUE(db.persons[1].flags & Flag::changed);
    EXPECT_EQ(db.families[5].marrDate, 0u);
    // A divorce ends the conflict; without the rule the order is still put right.
    std::string text = findings(std::string(ged).replace(ged.find("1 MARR\n2 DATE 1905\n"), 0, "1 DIV Y\n"),
                                all & ~Ignore::spouseConflict);
    EXPECT_EQ(text.find("Otto Lenz married"), std::string::npos) << text;
    text = findings(ged, all);
    EXPECT_EQ(text.find("spouse conflict"), std::string::npos);
    EXPECT_NE(text.find("order of marriages MRIN 2 (1906)"), std::string::npos);
}

TEST_F(PlausibilityTest, AgesAtTheirBoundaries)
{
    // Husband 1900, married 1906: accepted at the default 6; at 7 too young.
    const std::string ged = person(1, "Hans /Berg/", 'M', "1 BIRT\n2 DATE 1900\n1 DEAT\n2 DATE 1950\n1 FAMS @F1@\n") +
                            person(2, "Eva /Berg/", 'F', "1 BIRT\n2 DATE 1900\n1 DEAT\n2 DATE 1960\n1 FAMS @F1@\n") +
                            person(3, "Kurt /Berg/", 'M', "1 BIRT\n2 DATE 1951\n1 FAMC @F1@\n") +
                            person(4, "Karl /Berg/", 'M', "1 BIRT\n2 DATE 1946\n1 FAMC @F1@\n") +
                            "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1906\n1 CHIL @I3@\n1 CHIL @I4@\n";
    EXPECT_EQ(findings(ged, all), "RIN=    3          order of children: order of children Kurt Berg  *1951  and [4] Karl Berg  *1946  - corrected\n");
    session.checkOptions.ages = {7, 95, 6, 45, 12, 50, 12, 80};
    runErrorCheck(session);
    const std::string text = session.errors.journalEntry;
    EXPECT_NE(text.find("with 6 years Hans Berg  *1900 seems too young to marry in 1906"), std::string::npos) << text;
    EXPECT_EQ(text.find("seems too old to marry"), std::string::npos); // 6 years is no more than 45
    EXPECT_NE(text.find("with 51 years Hans Berg  *1900 seems too old to have a child [3] Kurt Berg  *1951 "), std::string::npos);
    EXPECT_EQ(text.find("Karl Berg  *1946 seems"), std::string::npos);
}

TEST_F(PlausibilityTest, ChildrenAgainstMarriageAndParents)
{
    const std::string parents = person(1, "Hans /Berg/", 'M', "1 BIRT\n2 DATE 1870\n1 DEAT\n2 DATE 1940\n1 FAMS @F1@\n") +
                                person(2, "Eva /Berg/", 'F', "1 BIRT\n2 DATE 1875\n1 DEAT\n2 DATE 1940\n1 FAMS @F1@\n");
    auto children = [&](const std::string& marriage, std::initializer_list<const char*> births) {
        std::string ged = parents;
        int rin = 3;
        for (const char* birth : births)
            ged += person(rin++, "Kind /Berg/", 'M', std::string("1 BIRT\n2 DATE ") + birth + "\n1 FAMC @F1@\n");
        ged += "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE " + marriage + "\n";
        for (int i = 3; i < rin; ++i)
            ged += "1 CHIL @I" + std::to_string(i) + "@\n";
        return findings(ged, Ignore::checkDate | Ignore::checkName);
    };
    EXPECT_EQ(children("1900", {"1940"}), ""); // 40 years after the marriage
    // A year after the father's death is possible, after the mother's not.
    EXPECT_EQ(children("1900", {"1941"}),
              "RIN=    1              born too late: [3] Kind Berg  *1941 too late after parents marriange in 1900\n"
              "RIN=    2                mother dead: Kind Berg  *1941 after death of mother [2] Eva Berg  +1940 \n");
    EXPECT_NE(children("1900", {"1942"}).find("father dead: Kind Berg  *1942 too late after death of father [1] Hans Berg  +1940 \n"),
              std::string::npos);
    EXPECT_EQ(children("1900", {"1901", "1932"}), "RIN=    1             children dates: births too far apart in MRIN 1: (1901 ... 1932)\n");
    EXPECT_EQ(children("1900", {"MAR 1901", "SEP 1901", "MAY 1902"}),
              "RIN=    1             children dates: too close together in MRIN 1: Kind Berg  * MAR 1901  und [4] Kind Berg  * SEP 1901 \n");
    EXPECT_EQ(children("BEF 1920", {"1915"}), "RIN=    1           superfluous date: superfluous marriage date BEF 1920 (deleted)\n");
    EXPECT_EQ(children("1920", {"1915"}), "RIN=    1             born too early: Kind Berg  *1915 before marriage of parents in 1920\n");
    // Their groups left out: nothing of it.
    session.checkOptions.ignore = Ignore::bornTooEarly | Ignore::bornTooLate | Ignore::birthDates;
    runErrorCheck(session);
    EXPECT_EQ(session.errors.entries.size(), 0u);
}

// Find Errors' corrections are one step of undo, after the steps before it,
// which stay; a run that corrects nothing adds no step.
TEST_F(PlausibilityTest, CorrectionsAreOneStepOfUndoAndEarlierStepsStay)
{
    ASSERT_TRUE(importText("0 HEAD\n" + person(1, "Anna /Alt/", 'F', "1 BIRT\n2 DATE BEF 1900\n1 CHR\n2 DATE 1850\n") +
                           person(2, "Berta /Alt/", 'F') + person(3, "Carl /Alt/", 'M') + "0 TRLR\n"));
    ASSERT_TRUE(exportAllCommand(session, dir.file("before.ged")));
    const std::string before = test::readFile(dir.file("before.ged"));
    {
        EditScope edit(session, "Edit person"); // an earlier step, marking a record changed
        db.touchPerson(3);
        db.persons[3].given = db.internText(givenPool, "Karl");
        db.markPersonChanged(3);
    }
    session.checkOptions.ignore = 0;
    runErrorCheck(session);
    ASSERT_EQ(session.errors.correctedCount, 1);
    EXPECT_FALSE(db.persons[1].flags & Flag::hasBirthDate);
    EXPECT_TRUE(db.persons[3].flags & Flag::changed); // its own mark stays
    ASSERT_TRUE(session.history.canUndo());
    EXPECT_EQ(session.history.undoLabel(), "Find Errors");
    ASSERT_TRUE(session.history.undo(session));
    EXPECT_TRUE(db.persons[1].flags & Flag::hasBirthDate);
    EXPECT_EQ(session.counts.correctionCount, 0);
    EXPECT_STREQ(db.persons[3].given, "Karl");
    ASSERT_TRUE(session.history.undo(session)); // the earlier step is still there
    EXPECT_STREQ(db.persons[3].given, "Carl");
    EXPECT_FALSE(session.history.canUndo());
    ASSERT_TRUE(exportAllCommand(session, dir.file("undone.ged")));
    EXPECT_EQ(test::readFile(dir.file("undone.ged")), before);
    // A second run has nothing to correct and adds no step.
    runErrorCheck(session);
    runErrorCheck(session);
    EXPECT_EQ(session.errors.correctedCount, 0);
    ASSERT_TRUE(session.history.undo(session));
    EXPECT_TRUE(db.persons[1].flags & Flag::hasBirthDate);
    EXPECT_FALSE(session.history.canUndo());
}

TEST_F(PlausibilityTest, SurnamesAreDifferentOnlyWhenBothAreThere)
{
    const std::string ged = person(1, "Hans /Schmidt/", 'M', "1 FAMS @F1@\n") + person(2, "Eva //", 'F', "1 FAMS @F1@\n") +
                            person(3, "Kurt /Schmitt/", 'M', "1 FAMC @F1@\n") + person(4, "Karl //", 'M', "1 FAMC @F1@\n") +
                            person(5, "Lisa /Roth/", 'F', "1 FAMC @F1@\n") +
                            "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n1 CHIL @I4@\n1 CHIL @I5@\n";
    const uint32_t methodBefore = session.duplicates.options;
    EXPECT_EQ(findings(ged, all & ~Ignore::otherName),
              "RIN=    1          different surname: [5] Lisa Roth has different surname than father: Schmidt\n");
    EXPECT_EQ(session.duplicates.options, methodBefore); // the check compares by sound without changing it
    EXPECT_EQ(findings(ged, all), "");
    // A surname the sound code cannot code gives nothing to compare: a
    // daughter's own ending in Cyrillic is no finding.
    const std::string cyrillic = person(1, "Александр /Меншиков/", 'M', "1 FAMS @F1@\n") +
                                 person(2, "Анна /Меншикова/", 'F', "1 FAMC @F1@\n") +
                                 person(3, "Lisa /Roth/", 'F', "1 FAMC @F1@\n") + "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n1 CHIL @I3@\n";
    EXPECT_EQ(findings(cyrillic, all & ~Ignore::otherName), "");
}

TEST_F(PlausibilityTest, CorrectionsChangeBothSidesAndReachTheExport)
{
    const std::string ged =
        // Listed 1905, 1900: put in order.
        person(1, "Hans /Berg/", 'M', "1 FAMS @F1@\n") + person(2, "Eva /Berg/", 'F', "1 FAMS @F1@\n") +
        person(3, "Kurt /Berg/", 'M', "1 BIRT\n2 DATE 1905\n1 FAMC @F1@\n") +
        person(4, "Karl /Berg/", 'M', "1 BIRT\n2 DATE 1900\n1 FAMC @F1@\n") +
        // A wife recorded as a man.
        person(5, "Otto /Lenz/", 'M', "1 FAMS @F2@\n") + person(6, "Lea /Lenz/", 'M', "1 FAMS @F2@\n") +
        // Two parent families with the same parents: merged.
        person(7, "Rudi /Berg/", 'M', "1 FAMC @F1@\n1 FAMC @F3@\n") +
        "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n2 _FREL Natural\n1 CHIL @I4@\n2 PEDI adopted\n1 CHIL @I7@\n"
        "0 @F2@ FAM\n1 HUSB @I5@\n1 WIFE @I6@\n"
        "0 @F3@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I7@\n";
    ASSERT_TRUE(importText("0 HEAD\n" + ged + "0 TRLR\n"));
    db.persons[6].sex = 'M'; // as the import's own repairs would not leave it
    session.checkOptions.ignore = Ignore::checkName | Ignore::birthDates;
    runErrorCheck(session);
    const std::string text = session.errors.journalEntry;
    EXPECT_NE(text.find("order of children Kurt Berg  *1905  and [4] Karl Berg  *1900  - corrected"), std::string::npos) << text;
    EXPECT_NE(text.find("wrong spouse: [6] Lea Lenz is wife in MRIN 2 but has gender M"), std::string::npos) << text;
    EXPECT_NE(text.find("several parents: [7] Rudi Berg  is child in several families, MRIN:  1 3"), std::string::npos) << text;
    EXPECT_EQ(db.persons[6].sex, 'F');
    EXPECT_FALSE(db.isFamily(3));
    ASSERT_TRUE(exportAllCommand(session, dir.file("out.ged")));
    const std::string written = test::readFile(dir.file("out.ged"));
    EXPECT_NE(written.find("0 @I6@ INDI\n1 NAME Lea /Lenz/\n1 SEX F\n"), std::string::npos) << written;
    // Children put in order keep the lines beneath their own CHIL line.
    EXPECT_NE(written.find("1 CHIL @I4@\n2 PEDI adopted\n1 CHIL @I3@\n2 _FREL Natural\n1 CHIL @I7@\n"), std::string::npos)
        << written;
    EXPECT_EQ(written.find("@F3@"), std::string::npos) << written;
    // Read again, the corrected file needs no correction of the same kind.
    ASSERT_TRUE(importCommand(session, dir.file("out.ged")));
    runErrorCheck(session);
    EXPECT_EQ(session.errors.correctedCount, 0) << session.errors.journalEntry;
}

TEST_F(PlausibilityTest, AFamilyWithoutParentsGetsAPlaceholderFatherFromTwoChildrenOn)
{
    // One child: the import drops the family and the check the child's link
    // to it. Two children: a father "?" is added, which the discard question
    // counts as new, not as a correction.
    const std::string ged = person(1, "Kurt /Berg/", 'M', "1 FAMC @F1@\n") + person(2, "Karl /Berg/", 'M', "1 FAMC @F2@\n") +
                            person(3, "Rudi /Berg/", 'M', "1 FAMC @F2@\n") +
                            "0 @F1@ FAM\n1 CHIL @I1@\n0 @F2@ FAM\n1 CHIL @I2@\n1 CHIL @I3@\n";
    const std::string text = check(ged, all);
    EXPECT_NE(text.find("Deleted MRIN 1 used in FAMC of [1] Kurt Berg  (corrected)"), std::string::npos) << text;
    EXPECT_NE(text.find("MRIN 2 : Family without husb and wife! (korrigiert!)"), std::string::npos) << text;
    EXPECT_EQ(session.errors.correctedCount, 1) << text;
    EXPECT_FALSE(db.isFamily(1));
    EXPECT_TRUE(db.persons[1].famc.empty());
    ASSERT_EQ(db.highestRin, 4);
    EXPECT_EQ(db.families[2].husband, 4);
    EXPECT_NE(discardQuestion(session).find("( 1 corrections, 1 new )"), std::string::npos) << discardQuestion(session);

    ASSERT_TRUE(exportAllCommand(session, dir.file("out.ged")));
    const std::string written = test::readFile(dir.file("out.ged"));
    EXPECT_EQ(written.find("@F1@"), std::string::npos) << written;
    EXPECT_NE(written.find("0 @I4@ INDI\n1 NAME /?/\n1 SEX M\n1 FAMS @F2@\n"), std::string::npos) << written;
    EXPECT_NE(written.find("0 @F2@ FAM\n1 HUSB @I4@\n1 CHIL @I2@\n1 CHIL @I3@\n"), std::string::npos) << written;
}

TEST_F(PlausibilityTest, CyclesAndDeadReferences)
{
    // Kurt is Hans's son and his father: the younger link goes.
    const std::string ged = person(1, "Hans /Berg/", 'M', "1 BIRT\n2 DATE 1900\n1 FAMS @F1@\n1 FAMC @F2@\n") +
                            person(2, "Kurt /Berg/", 'M', "1 BIRT\n2 DATE 1930\n1 FAMC @F1@\n1 FAMS @F2@\n") +
                            "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n0 @F2@ FAM\n1 HUSB @I2@\n1 CHIL @I1@\n";
    const std::string text = check(ged, all);
    EXPECT_NE(text.find("RIN=    1           recursive parent: Person 2 Kurt Berg *1930, is parent ans alos child of "
                        "person 1  Hans Berg *1900! Unlinked as parent !\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(db.persons[1].famc.empty());
    EXPECT_TRUE(db.families[2].children.empty());

    // A child that is no person: found, filed under the father, never read.
    ASSERT_TRUE(importText("0 HEAD\n" + person(1, "Hans /Berg/", 'M', "1 FAMS @F1@\n") + person(2, "Kurt /Berg/", 'M', "1 FAMC @F1@\n") +
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n0 TRLR\n"));
    db.families[1].children.append(900000);
    runErrorCheck(session);
    EXPECT_NE(session.errors.journalEntry.find("RIN=    1                RIN deleted: Child in MRIN 1 was deleted\n"), std::string::npos)
        << session.errors.journalEntry;
    // A parent family beyond the table: what the message says is done.
    db.persons[2].famc.append(700000);
    runErrorCheck(session);
    EXPECT_NE(session.errors.journalEntry.find("wrong family: Invalid MRIN 700000 used in FAMC of [2] Kurt Berg  (deleted!)"),
              std::string::npos)
        << session.errors.journalEntry;
    EXPECT_FALSE(db.persons[2].famc.contains(700000));
}

TEST_F(PlausibilityTest, TheListHoldsEveryFinding)
{
    std::string ged;
    for (int rin = 1; rin <= 10005; ++rin)
        ged += "0 @I" + std::to_string(rin) + "@ INDI\n1 NAME A /B/\n";
    const std::string text = check(ged);
    EXPECT_EQ(session.errors.entries.size(), 10005u);
    EXPECT_EQ(session.errors.typeCount[singlePerson], 10005);
    EXPECT_EQ(text.substr(text.size() - 19), "10005 errors found\n");
}

TEST_F(PlausibilityTest, TheErrorListSortsSearchesAndRemoves)
{
    // Four findings: husband too young, born too early, born before father (all under RIN 1),
    // single person (RIN 4).
    check(person(1, "Hans /Berg/", 'M', "1 BIRT\n2 DATE 1900\n1 FAMS @F1@\n") + person(2, "Eva /Berg/", 'F', "1 FAMS @F1@\n") +
              person(3, "Kurt /Berg/", 'M', "1 BIRT\n2 DATE 1890\n1 FAMC @F1@\n") + person(4, "Otto /Lenz/", 'M') +
              "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1895\n1 CHIL @I3@\n",
          Ignore::checkName);
    ErrorListRows& rows = session.errorRows;
    const ErrorList& list = session.errors;
    ASSERT_EQ(rows.rowCount(), 4);
    auto column = [&](int c) {
        std::string text;
        for (int row = 0; row < rows.rowCount(); ++row)
            text += rows.cellText(list, row, c) + "|";
        return text;
    };
    EXPECT_EQ(column(0), "husband too young|born too early|born before father|single person|");
    rows.clickColumn(list, 1);
    rows.clickColumn(list, 1);
    EXPECT_EQ(column(1), "4     |1     |1     |1     |"); // a second click: descending
    rows.clickColumn(list, 0);
    EXPECT_EQ(column(0), "born before father|born too early|husband too young|single person|");
    EXPECT_EQ(rows.typeAhead(list, 0, "s", 100.0), 3);
    EXPECT_EQ(rows.typeAhead(list, 3, "i", 101.0), 3);  // "si" within 3 seconds
    EXPECT_EQ(rows.typeAhead(list, 3, "b", 104.0), 0);  // a new text later, from the current row round
    EXPECT_EQ(rows.typeAhead(list, -1, "x", 110.0), -1); // nothing matches: the row stays
    // Removing: rows out of range are refused; deleting a person takes its findings.
    EXPECT_FALSE(removeErrorRow(session, -1));
    EXPECT_FALSE(removeErrorRow(session, 4));
    EXPECT_TRUE(removeErrorRow(session, 3));
    EXPECT_TRUE(db.persons[4].flags & Flag::errorsIgnored);
    ui.answers = {true};
    ASSERT_TRUE(deletePerson(session, 1));
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_EQ(errorListText(session.errors, session.errorRows).substr(0, 56), "Nr\tErrtype\tRIN\tDetails\n\nOverview:\n    0: age difference\n");
}

} // namespace
} // namespace kinmap
