// Islands and the relationship between two persons, on a small family of
// four generations with a half-brother, in-laws and a stepmother.
#include "app/ExtrasCommands.h"
#include "app/Shell.h"
#include "relations/Islands.h"
#include "relations/Relationship.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

namespace kinmap {
namespace {

std::string person(int rin, const char* name, char sex, const std::string& links)
{
    return "0 @I" + std::to_string(rin) + "@ INDI\n1 NAME " + name + "\n1 SEX " + sex + "\n" + links;
}

// Adam+Eva: Karl, Anna. Karl+Berta: Paul. Otto+Anna: Lena. Paul+Rita: Max.
// Hans+Lena: Ida. Adam+Gerda: Ben. Solo alone. With cousinsMarry, Paul
// marries his cousin Lena.
std::string family(bool cousinsMarry)
{
    const std::string paulMarries = cousinsMarry ? "1 FAMS @F6@\n" : "";
    return "0 HEAD\n" + person(1, "Adam /Alt/", 'M', "1 BIRT\n2 DATE 1800\n2 PLAC Ulm\n1 FAMS @F1@\n1 FAMS @F7@\n") +
           person(2, "Eva /Alt/", 'F', "1 FAMS @F1@\n") + person(3, "Karl /Alt/", 'M', "1 FAMC @F1@\n1 FAMS @F2@\n") +
           person(4, "Anna /Alt/", 'F', "1 FAMC @F1@\n1 FAMS @F3@\n") + person(5, "Berta /Bau/", 'F', "1 FAMS @F2@\n") +
           person(6, "Paul /Alt/", 'M', "1 FAMC @F2@\n1 FAMS @F4@\n" + paulMarries) +
           person(7, "Otto /Ost/", 'M', "1 FAMS @F3@\n") +
           person(8, "Lena /Ost/", 'F', "1 FAMC @F3@\n1 FAMS @F5@\n" + paulMarries) +
           person(9, "Rita /Rot/", 'F', "1 FAMS @F4@\n") + person(10, "Max /Alt/", 'M', "1 FAMC @F4@\n") +
           person(11, "Hans /Hut/", 'M', "1 FAMS @F5@\n") + person(12, "Ida /Hut/", 'F', "1 FAMC @F5@\n") +
           person(13, "Solo /Sol/", 'M', "") + person(14, "Ben /Alt/", 'M', "1 FAMC @F7@\n") +
           person(15, "Gerda /Gut/", 'F', "1 FAMS @F7@\n") +
           "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n1 CHIL @I4@\n"
           "0 @F2@ FAM\n1 HUSB @I3@\n1 WIFE @I5@\n1 CHIL @I6@\n"
           "0 @F3@ FAM\n1 HUSB @I7@\n1 WIFE @I4@\n1 CHIL @I8@\n"
           "0 @F4@ FAM\n1 HUSB @I6@\n1 WIFE @I9@\n1 CHIL @I10@\n"
           "0 @F5@ FAM\n1 HUSB @I11@\n1 WIFE @I8@\n1 CHIL @I12@\n" +
           (cousinsMarry ? "0 @F6@ FAM\n1 HUSB @I6@\n1 WIFE @I8@\n" : "") +
           "0 @F7@ FAM\n1 HUSB @I1@\n1 WIFE @I15@\n1 CHIL @I14@\n0 TRLR\n";
}

class RelationsTest : public test::ImportFixture {
protected:
    void load(bool cousinsMarry = false)
    {
        ASSERT_TRUE(importText(family(cousinsMarry)));
        ASSERT_EQ(report().find("###"), std::string::npos) << report();
    }
    // The report of Relationship with a as the current, b as the previous person.
    std::string relationship(int32_t a, int32_t b)
    {
        session.shell.currentPerson = a;
        session.shell.previousPerson = b;
        relationshipCommand(session);
        return report();
    }
    std::string kinship(int32_t a, int32_t b)
    {
        std::string text = relationship(a, b);
        if (!text.ends_with("\r\n"))
            return "no sentence: " + text;
        text.resize(text.size() - 2);
        return text.substr(text.rfind("\r\n") + 2);
    }
};

TEST_F(RelationsTest, KinshipIsNamedInPlainEnglish)
{
    load();
    EXPECT_EQ(kinship(1, 3), "Adam Alt is the father of Karl Alt.");
    EXPECT_EQ(kinship(3, 1), "Karl Alt is a son of Adam Alt.");
    EXPECT_EQ(kinship(1, 10), "Adam Alt is a great-grandfather of Max Alt.");
    EXPECT_EQ(kinship(12, 1), "Ida Hut is a great-granddaughter of Adam Alt.");
    EXPECT_EQ(kinship(4, 6), "Anna Alt is an aunt of Paul Alt.");
    EXPECT_EQ(kinship(6, 4), "Paul Alt is a nephew of Anna Alt.");
    EXPECT_EQ(kinship(6, 8), "Paul Alt is a first cousin of Lena Ost.");
    EXPECT_EQ(kinship(10, 8), "Max Alt is a first cousin once removed of Lena Ost.");
    EXPECT_EQ(kinship(10, 12), "Max Alt is a second cousin of Ida Hut.");
    EXPECT_EQ(kinship(14, 3), "Ben Alt is a half-brother of Karl Alt.");
    EXPECT_EQ(kinship(7, 3), "Otto Ost is a brother-in-law of Karl Alt.");
    EXPECT_EQ(kinship(5, 4), "Berta Bau is a sister-in-law of Anna Alt.");
    EXPECT_EQ(kinship(15, 3), "Gerda Gut is a stepmother of Karl Alt.");
}

// Kinship over many generations: a line of eight fathers and sons, and
// from the first one's second son a line of four daughters.
TEST_F(RelationsTest, KinshipTermsOverFourToSixGenerations)
{
    auto line = [](const char* format, int a, int b = 0) {
        char buffer[64];
        snprintf(buffer, sizeof buffer, format, a, b);
        return std::string(buffer);
    };
    std::string text = "0 HEAD\n";
    for (int i = 1; i <= 8; ++i)
        text += person(i, line("G%d /Line/", i).c_str(), 'M',
                       (i > 1 ? line("1 FAMC @F%d@\n", i - 1) : "") + (i < 8 ? line("1 FAMS @F%d@\n", i) : ""));
    text += person(9, "B9 /Line/", 'M', "1 FAMC @F1@\n1 FAMS @F9@\n");
    for (int i = 10; i <= 13; ++i)
        text += person(i, line("B%d /Line/", i).c_str(), 'F', line("1 FAMC @F%d@\n", i - 1) + (i < 13 ? line("1 FAMS @F%d@\n", i) : ""));
    for (int i = 1; i <= 7; ++i)
        text += line("0 @F%d@ FAM\n1 HUSB @I%d@\n", i, i) + line("1 CHIL @I%d@\n", i + 1) + (i == 1 ? "1 CHIL @I9@\n" : "");
    text += "0 @F9@ FAM\n1 HUSB @I9@\n1 CHIL @I10@\n";
    for (int i = 10; i <= 12; ++i)
        text += line("0 @F%d@ FAM\n1 WIFE @I%d@\n", i, i) + line("1 CHIL @I%d@\n", i + 1);
    ASSERT_TRUE(importText(text + "0 TRLR\n"));
    EXPECT_EQ(kinship(1, 5), "G1 Line is a great-great-grandfather of G5 Line.");
    EXPECT_EQ(kinship(1, 6), "G1 Line is a great-great-great-grandfather of G6 Line.");
    EXPECT_EQ(kinship(1, 7), "G1 Line is a 4x great-grandfather of G7 Line.");
    EXPECT_EQ(kinship(7, 1), "G7 Line is a 4x great-grandson of G1 Line.");
    EXPECT_EQ(kinship(2, 13), "G2 Line is a great-great-great-uncle of B13 Line.");
    EXPECT_EQ(kinship(13, 2), "B13 Line is a great-great-great-niece of G2 Line.");
    EXPECT_EQ(kinship(5, 12), "G5 Line is a third cousin of B12 Line.");
    EXPECT_EQ(kinship(6, 13), "G6 Line is a fourth cousin of B13 Line.");
    EXPECT_EQ(kinship(7, 13), "G7 Line is a fourth cousin once removed of B13 Line.");
}

TEST_F(RelationsTest, ReportListsTheChainWithSeparatorBeforeMarriages)
{
    load();
    // Otto and his wife's brother: the brother first, then the wife, then
    // the marriage; years of 0 are written.
    EXPECT_EQ(relationship(7, 3), "     3 \tKarl Alt 0 () \r\n"
                                  "     4 Sister: Anna Alt 0 ()\r\n"
                                  "- - - - - - - - - - - - - - - - - - - - - - \r\n"
                                  "     7 Husband: Otto Ost 0 ()\r\n"
                                  "\r\nOtto Ost is a brother-in-law of Karl Alt.\r\n");
    EXPECT_EQ(relationship(3, 1), "     1 \tAdam Alt 1800 (Ulm) \r\n     3 Son: Karl Alt 0 ()\r\n"
                                  "\r\nKarl Alt is a son of Adam Alt.\r\n");
    EXPECT_EQ(relationship(3, 3), "     3 \tKarl Alt 0 () \r\n");
    EXPECT_EQ(relationship(13, 1), "[13] Solo Sol and [1] Adam Alt are in different islands!\r\n");
    EXPECT_EQ(session.shell.lastCommand, 0u);
}

TEST_F(RelationsTest, MarriageBetweenCousinsIsTheShorterChain)
{
    load(true);
    EXPECT_EQ(kinship(8, 6), "Lena Ost is the wife of Paul Alt.");
    // Through the marriage the chain from Max to Ida is shorter than the
    // one through their common ancestor.
    EXPECT_EQ(relationshipChain(db, 10, 12), (std::vector<int32_t>{12, 8, 6, 10}));
}

TEST_F(RelationsTest, MissingPersonsAndLinksCountAsAbsent)
{
    load();
    // A person of the file before, or a deleted one, is no partner of the command.
    ui.messages.clear();
    relationship(3, 99);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "RELATIONSHIP");
    EXPECT_EQ(report(), "");
    session.shell.previousPerson = 3;
    ASSERT_TRUE(importText(family(false)));
    EXPECT_EQ(session.shell.previousPerson, 0);
    session.shell.previousPerson = 3;
    newDatabase(session);
    EXPECT_EQ(session.shell.previousPerson, 0);

    // Links to records that are not there: out of range, or deleted.
    load();
    db.families[5].wife = 4000;
    db.families[5].children.append(-7);
    db.persons[13].flags = 0; // Solo deleted
    db.families[4].flags = 0; // Paul, Rita and Max no longer a family
    const std::vector<Island> islands = findIslands(db);
    int persons = 0, families = 0;
    for (const Island& island : islands) {
        persons += island.persons;
        families += island.families;
    }
    EXPECT_EQ(persons, 14);
    EXPECT_EQ(families, 5);
    EXPECT_EQ(relationOf(db, 4000, 8), unrelated);
    EXPECT_TRUE(relationshipChain(db, 10, 9).empty());
    EXPECT_EQ(relationshipChain(db, 12, 11), (std::vector<int32_t>{11, 12}));
}

TEST_F(RelationsTest, OwnGrandfatherEndsTheWalks)
{
    ASSERT_TRUE(importText("0 HEAD\n" + person(1, "Ego /Loop/", 'M', "1 FAMS @F1@\n1 FAMC @F2@\n") +
                           person(2, "Pa /Loop/", 'M', "1 FAMS @F2@\n1 FAMC @F1@\n") +
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n0 @F2@ FAM\n1 HUSB @I2@\n1 CHIL @I1@\n0 TRLR\n"));
    const int startsBefore = ui.progressStarts;
    islandsCommand(session);
    EXPECT_EQ(ui.progressStarts, startsBefore + 1); // a long walk shows the progress bar
    EXPECT_EQ(ui.progressEnds, ui.progressStarts);
    EXPECT_EQ(islandListText(session.db, session.islands), "Island\tPersons\tFamilies\tRIN\t(1st person)\r\n"
                                       "    1\t       2\t       2\t1\tEgo Loop\r\n");
    EXPECT_EQ(kinship(2, 1), "Pa Loop is the father of Ego Loop.");
}

TEST_F(RelationsTest, IslandsAreListedLargestFirstAndSortByColumn)
{
    load();
    islandsCommand(session);
    ASSERT_EQ(session.islands.rowCount(), 2);
    EXPECT_EQ(islandListText(session.db, session.islands), "Island\tPersons\tFamilies\tRIN\t(1st person)\r\n"
                                       "    1\t      14\t       6\t1\tAdam Alt\r\n"
                                       "    2\t       1\t       0\t13\tSolo Sol\r\n");
    EXPECT_EQ(ui.status[0], "Island nr.1 of 2");
    EXPECT_EQ(ui.status[1], "14 Persons (6 Families). 1st Person: Adam Alt");
    EXPECT_EQ(session.shell.currentPerson, 1);
    pickIsland(session, 1);
    EXPECT_EQ(session.shell.currentPerson, 13);
    // By RIN, greatest first; the same column again reverses.
    session.islands.clickColumn(db, 2);
    EXPECT_EQ(session.islands.islandAt(0)->firstPerson, 13);
    session.islands.clickColumn(db, 2);
    EXPECT_EQ(session.islands.islandAt(0)->firstPerson, 1);
    // A new run sorts by persons again, largest first, whatever was
    // reversed before.
    session.islands.clickColumn(db, 0);
    session.islands.clickColumn(db, 0);
    islandsCommand(session);
    EXPECT_EQ(session.islands.sortColumn(), 0);
    EXPECT_EQ(session.islands.islandAt(0)->firstPerson, 1);
    session.islands.clickColumn(db, 0);
    EXPECT_EQ(session.islands.islandAt(0)->firstPerson, 13);
    EXPECT_EQ(selectIsland(session, session.islands, 0), 1);
    EXPECT_EQ(session.counts.selectedCount, 1);
    EXPECT_EQ(selectIsland(session, session.islands, 1), 14);
    EXPECT_EQ(session.counts.selectedCount, 15);
}

// An island is named by its lowest RIN, a child here, and the status bar
// tells of that person.
TEST_F(RelationsTest, AnIslandIsNamedByItsLowestRinEvenAChild)
{
    ASSERT_TRUE(importText("0 HEAD\n" + person(1, "Kid /Alt/", 'M', "1 FAMC @F1@\n") +
                           person(2, "Pa /Alt/", 'M', "1 FAMS @F1@\n") + person(3, "Ma /Alt/", 'F', "1 FAMS @F1@\n") +
                           person(4, "Solo /Sol/", 'M', "") + "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I3@\n1 CHIL @I1@\n0 TRLR\n"));
    islandsCommand(session);
    EXPECT_EQ(islandListText(session.db, session.islands), "Island\tPersons\tFamilies\tRIN\t(1st person)\r\n"
                                                           "    1\t       3\t       1\t1\tKid Alt\r\n"
                                                           "    2\t       1\t       0\t4\tSolo Sol\r\n");
    EXPECT_EQ(ui.status[1], "3 Persons (1 Families). 1st Person: Kid Alt");
    EXPECT_EQ(session.shell.currentPerson, 1);
}

TEST_F(RelationsTest, ManyIslandsAreAllListed)
{
    // 12,000 persons alone, then three of one family: the largest island,
    // found last, heads the list.
    std::string text = "0 HEAD\n";
    for (int rin = 1; rin <= 12000; ++rin)
        text += "0 @I" + std::to_string(rin) + "@ INDI\n1 NAME A" + std::to_string(rin) + " /B/\n";
    text += person(12001, "Pa /Big/", 'M', "1 FAMS @F1@\n") + person(12002, "Ma /Big/", 'F', "1 FAMS @F1@\n") +
            person(12003, "Kid /Big/", 'M', "1 FAMC @F1@\n") +
            "0 @F1@ FAM\n1 HUSB @I12001@\n1 WIFE @I12002@\n1 CHIL @I12003@\n0 TRLR\n";
    ASSERT_TRUE(importText(text));
    islandsCommand(session);
    ASSERT_EQ(session.islands.rowCount(), 12001);
    EXPECT_EQ(session.islands.islandAt(0)->firstPerson, 12001);
    EXPECT_EQ(session.islands.islandAt(0)->persons, 3);
    for (int row = 1; row < session.islands.rowCount(); ++row)
        ASSERT_EQ(session.islands.islandAt(row)->persons, 1);
}

} // namespace
} // namespace kinmap
