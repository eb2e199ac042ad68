// The Pedigree and Branches tabs on small files: the rows and texts, implex
// through cousin marriages, faulty links that loop or name no record, the
// limits of the table, and the branches of a surname.
#include "app/Shell.h"
#include "app/ViewCommands.h"
#include "views/Branches.h"
#include "views/Pedigree.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kinmap {
namespace {

class PedigreeTest : public test::ImportFixture {
protected:
    static std::string person(int rin, const std::string& name, char sex, const std::string& lines = "")
    {
        return "0 @I" + std::to_string(rin) + "@ INDI\n1 NAME " + name + "\n1 SEX " + sex + "\n" + lines;
    }
    static std::string family(int mrin, int husband, int wife, const std::vector<int>& children, const std::string& lines = "")
    {
        std::string text = "0 @F" + std::to_string(mrin) + "@ FAM\n";
        if (husband)
            text += "1 HUSB @I" + std::to_string(husband) + "@\n";
        if (wife)
            text += "1 WIFE @I" + std::to_string(wife) + "@\n";
        text += lines;
        for (const int child : children)
            text += "1 CHIL @I" + std::to_string(child) + "@\n";
        return text;
    }
    static std::string links(const std::vector<int>& fams, int famc = 0)
    {
        std::string text;
        for (const int f : fams)
            text += "1 FAMS @F" + std::to_string(f) + "@\n";
        if (famc)
            text += "1 FAMC @F" + std::to_string(famc) + "@\n";
        return text;
    }
    void import(const std::string& records) { ASSERT_TRUE(importText("0 HEAD\n" + records + "0 TRLR\n")); }
    // The pedigree of rin as the tab shows it; the rows' texts.
    std::string column(int column)
    {
        std::string text;
        for (int row = 0; row < session.pedigree.rowCount(); ++row)
            text += session.pedigree.cellText(db, row, column) + "|";
        return text;
    }

    // Paul's parents are first cousins: Fritz's father Karl and Maria's
    // mother Eva are children of Johann and Grete.
    const std::string cousins =
        person(1, "Paul /Berg/", 'M', "1 BIRT\n2 DATE 1950\n" + links({}, 1)) +
        person(2, "Fritz /Berg/", 'M', "1 BIRT\n2 DATE 1920\n" + links({1}, 2)) + person(3, "Maria /Lenz/", 'F', links({1}, 3)) +
        person(4, "Karl /Berg/", 'M', links({2}, 4)) + person(5, "Anna /Roth/", 'F', links({2})) +
        person(6, "Otto /Lenz/", 'M', links({3})) + person(7, "Eva /Berg/", 'F', links({3}, 4)) +
        person(8, "Johann /Berg/", 'M', "1 BIRT\n2 DATE 1850\n1 DEAT\n2 DATE 1910\n" + links({4})) +
        person(9, "Grete /Kuhn/", 'F', links({4})) + family(1, 2, 3, {1}, "1 MARR\n2 DATE 1948\n") + family(2, 4, 5, {2}) +
        family(3, 6, 7, {3}) + family(4, 8, 9, {4, 7});
};

TEST_F(PedigreeTest, FirstCousinsShareTheirGrandparentsInGenerationFour)
{
    import(cousins);
    session.shell.currentPerson = 1;
    ASSERT_TRUE(preparePedigree(session));
    EXPECT_EQ(ui.status[1], "11 Persons in 4 Generations, 2x implex");
    EXPECT_EQ(ui.status[2], "RIN: 1");
    // Fathers before mothers; numbers run across a generation.
    EXPECT_EQ(column(3), "1|2|3|4|5|6|7|8|9|8|9|");
    EXPECT_EQ(column(4), "1-1|2-1|2-2|3-1|3-2|3-3|3-4|4-1|4-2|4-3|4-3|");
    // The implex rows carry their own line's number.
    EXPECT_EQ(column(Pedigree::kekuleColumn), "1|2|3|4|5|6|7|8|9|14|15|");
    EXPECT_EQ(column(10), "|||||||||siehe -> 4-1 (Zeile 8)|siehe -> 4-2 (Zeile 9)|");
    EXPECT_EQ(column(9), "|1948|1948|||||||||");
    EXPECT_EQ(session.pedigree.cellText(db, 0, 6), "Paul Berg");
    EXPECT_EQ(session.pedigree.cellText(db, 7, 8), "1910");
    EXPECT_EQ(session.pedigree.fileText(db),
              "Line\tup\tdown\tRIN\tGen/Nr\tName\tBirth\tDeath\tMarriage\tImplex\n"
              "1\t\t2 \t1\t1_1\tBerg Paul\t1950\t\t\t\r\n"
              "2\t1\t4 \t2\t2_1\tBerg Fritz\t1920\t\t1948\t\r\n"
              "3\t1\t6 \t3\t2_2\tLenz Maria\t\t\t1948\t\r\n"
              "4\t2\t8 \t4\t3_1\tBerg Karl\t\t\t\t\r\n"
              "5\t2\t\t5\t3_2\tRoth Anna\t\t\t\t\r\n"
              "6\t3\t\t6\t3_3\tLenz Otto\t\t\t\t\r\n"
              "7\t3\t8 \t7\t3_4\tBerg Eva\t\t\t\t\r\n"
              "8\t4\t\t8\t4_1\tBerg Johann\t1850\t1910\t\t\r\n"
              "9\t4\t\t9\t4_2\tKuhn Grete\t\t\t\t\r\n"
              "10\t7\t\t8\t4_3\tBerg Johann\t1850\t1910\t\tsiehe -> 4-1 (Zeile 8)\r\n"
              "11\t7\t\t9\t4_3\tKuhn Grete\t\t\t\tsiehe -> 4-2 (Zeile 9)\r\n");

    // The two lines from Johann down to the couple they meet in.
    const ImplexText implex = prepareImplexView(session, 9);
    EXPECT_EQ(ui.status[0], "implex");
    EXPECT_EQ(ui.status[1], "[2]  Fritz Berg and [3]  Maria Lenz have common ancestors\r\n ");
    EXPECT_EQ(implex.left, (std::vector<std::string>{"[8]  Johann Berg 1850 -1910", "\t & ", "[9]  Grete Kuhn ", " -> ",
                                                     "    [7]  Eva Berg ", "    \t & ", "    [6]  Otto Lenz ", "     -> ",
                                                     "        [3]  Maria Lenz ", "        \t & ", "        [2]  Fritz Berg 1920 "}));
    EXPECT_EQ(implex.right, (std::vector<std::string>{"[8]  Johann Berg 1850 -1910", "\t & ", "[9]  Grete Kuhn ", " -> ",
                                                      "    [4]  Karl Berg ", "    \t & ", "    [5]  Anna Roth ", "     -> ",
                                                      "        [2]  Fritz Berg 1920 "}));
}

TEST_F(PedigreeTest, SecondCousinsShareTheirGreatGrandparentsInGenerationFive)
{
    // One generation more between Johann and each of Paul's parents.
    import(person(1, "Paul /Berg/", 'M', links({}, 1)) + person(2, "Fritz /Berg/", 'M', links({1}, 2)) +
           person(3, "Maria /Lenz/", 'F', links({1}, 3)) + person(4, "Karl /Berg/", 'M', links({2}, 5)) +
           person(5, "Eva /Lenz/", 'F', links({3}, 6)) + person(6, "Kurt /Berg/", 'M', links({5}, 4)) +
           person(7, "Ida /Berg/", 'F', links({6}, 4)) + person(8, "Johann /Berg/", 'M', links({4})) +
           family(1, 2, 3, {1}) + family(2, 4, 0, {2}) + family(3, 0, 5, {3}) + family(4, 8, 0, {6, 7}) +
           family(5, 6, 0, {4}) + family(6, 0, 7, {5}));
    ASSERT_TRUE(preparePedigree(session));
    EXPECT_EQ(ui.status[1], "9 Persons in 5 Generations, 1x implex");
    EXPECT_EQ(session.pedigree.cellText(db, 8, 10), "siehe -> 5-1 (Zeile 8)");
}

TEST_F(PedigreeTest, FaultyLinksEndAsImplexAndNameNoRecordBeyondTheTables)
{
    // A man who is his own grandfather; a woman who is her own grandmother
    // (the implex view then starts at the table's first row).
    import(person(1, "Hans /Berg/", 'M', links({2}, 1)) + person(2, "Kurt /Berg/", 'M', links({1}, 2)) +
           family(1, 2, 0, {1}) + family(2, 1, 0, {2}) + person(3, "Eva /Roth/", 'F', links({4}, 3)) +
           person(4, "Ida /Roth/", 'F', links({3}, 4)) + family(3, 0, 4, {3}) + family(4, 0, 3, {4}));
    session.shell.currentPerson = 1;
    ASSERT_TRUE(preparePedigree(session));
    EXPECT_EQ(ui.status[1], "3 Persons in 3 Generations, 1x implex");
    EXPECT_EQ(session.pedigree.cellText(db, 2, 10), "siehe -> 1-1 (Zeile 1)");
    const ImplexLines lines = implexLines(session.pedigree, 2);
    EXPECT_EQ(lines.husbandRow, -1);
    session.shell.currentPerson = 3;
    ASSERT_TRUE(preparePedigree(session));
    const ImplexLines herLines = implexLines(session.pedigree, 2);
    EXPECT_EQ(herLines.a.front(), 2);
    EXPECT_EQ(herLines.b.front(), 0);

    // Links to records that are not there count as absent.
    db.families[1].husband = 5000;
    db.families[2].wife = -3;
    *db.persons[3].famc.begin() = 90000;
    session.shell.currentPerson = 1;
    ASSERT_TRUE(preparePedigree(session));
    EXPECT_EQ(session.pedigree.rowCount(), 1);
    EXPECT_EQ(session.pedigree.cellText(db, 0, 2), "");
    session.shell.currentPerson = 3;
    ASSERT_TRUE(preparePedigree(session));
    EXPECT_EQ(session.pedigree.rowCount(), 1);
    EXPECT_EQ(session.pedigree.fileText(db),
              "Line\tup\tdown\tRIN\tGen/Nr\tName\tBirth\tDeath\tMarriage\tImplex\n1\t\t\t3\t1_1\tRoth Eva\t\t\t\t\r\n");

    // Parents known only through a second parents' family are not shown.
    import(person(1, "Hans /Berg/", 'M', "1 FAMC @F2@\n1 FAMC @F1@\n") + person(2, "Kurt /Berg/", 'M', links({1})) +
           family(1, 2, 0, {1}) + "0 @F2@ FAM\n1 CHIL @I1@\n1 CHIL @I2@\n");
    ASSERT_TRUE(preparePedigree(session));
    EXPECT_EQ(ui.status[1], "1 Persons in 1 Generations");
}

// Generation g holds `couples` couples whose two partners are each a child
// of one of the couples above, so that every generation from the tenth on
// lists 2 * couples new persons.
std::string wideAncestry(int couples, int generations)
{
    std::string text = "0 @I1@ INDI\n1 NAME P /Q/\n1 FAMC @F1@\n";
    int nextFamily = 1, width = 1;
    for (int g = 0; g < generations; ++g) {
        const int next = std::min(couples, width * 2);
        for (int i = 0; i < width; ++i) {
            const int fam = nextFamily + i;
            const int above = nextFamily + width;
            for (int side = 0; side < 2; ++side) {
                const std::string rin = std::to_string(fam * 2 + side);
                const int parents = g + 1 < generations ? above + (2 * i + side) % next : 0;
                text += "0 @I" + rin + "@ INDI\n1 NAME A /B/\n1 SEX " + (side ? "F" : "M") + "\n1 FAMS @F" + std::to_string(fam) +
                        "@\n" + (parents ? "1 FAMC @F" + std::to_string(parents) + "@\n" : "");
            }
            text += "0 @F" + std::to_string(fam) + "@ FAM\n1 HUSB @I" + std::to_string(fam * 2) + "@\n1 WIFE @I" +
                    std::to_string(fam * 2 + 1) + "@\n";
        }
        nextFamily += width;
        width = next;
    }
    return text;
}

TEST_F(PedigreeTest, TheTableEndsAtItsLimits)
{
    // 510 new persons a generation: 20,000 rows, then the table ends quietly.
    ASSERT_TRUE(importText("0 HEAD\n" + wideAncestry(255, 30) + "0 TRLR\n"));
    ASSERT_TRUE(preparePedigree(session));
    EXPECT_EQ(session.pedigree.rowCount(), Pedigree::maxRows);
    EXPECT_TRUE(ui.errors.empty());
    // 512 new persons in one generation: no number left for the last.
    ASSERT_TRUE(importText("0 HEAD\n" + wideAncestry(256, 10) + "0 TRLR\n"));
    EXPECT_FALSE(preparePedigree(session));
    EXPECT_EQ(ui.errors, (std::vector<std::string>{"Pedigree counter overflow"}));
    EXPECT_EQ(session.pedigree.rowCount(), 0);

    // 254 generations are shown, 255 are not.
    for (const int generations : {254, 255}) {
        std::string chain;
        for (int g = 1; g <= generations; ++g)
            chain += person(g, "A /B/", 'M', links({g}, g < generations ? g + 1 : 0)) +
                     (g > 1 ? family(g, g, 0, {g - 1}) : std::string()) + (g == 1 ? family(1, 0, 0, {}) : std::string());
        ui.errors.clear();
        import(chain);
        session.shell.currentPerson = 1;
        EXPECT_EQ(preparePedigree(session), generations == 254) << generations;
        EXPECT_EQ(ui.errors.empty(), generations == 254) << generations;
    }
    EXPECT_EQ(ui.errors, (std::vector<std::string>{"Pedigree generation overflow"}));
    EXPECT_EQ(session.pedigree.kekuleNumber(0), "1");
}

TEST_F(PedigreeTest, KekuleNumbersGrowBeyondEveryIntegerType)
{
    std::string chain;
    for (int g = 1; g <= 100; ++g)
        chain += person(g, "A /B/", g == 1 ? 'M' : 'F', links(g > 1 ? std::vector<int>{g} : std::vector<int>{}, g < 100 ? g + 1 : 0)) +
                 (g < 100 ? family(g + 1, 0, g + 1, {g}) : std::string());
    import(chain);
    session.shell.currentPerson = 1;
    ASSERT_TRUE(preparePedigree(session));
    ASSERT_EQ(session.pedigree.rowCount(), 100);
    // The mothers' line: 2^99 * 2 - 1.
    EXPECT_EQ(session.pedigree.kekuleNumber(99), "1267650600228229401496703205375");
}

class BranchesTest : public PedigreeTest {
protected:
    std::string branches(int32_t rin)
    {
        session.shell.currentPerson = rin;
        prepareBranches(session);
        return session.branches.indentedText();
    }
};

TEST_F(BranchesTest, EveryBranchOfASurnameFromItsTopAncestor)
{
    // Two unrelated Berg families; a Berg whose first parents' family has
    // only a mother climbs to her, and her branch lists only her marriages.
    import(person(1, "Karl /Berg/", 'M', links({}, 1)) + person(2, "Otto /Berg/", 'M', "1 BIRT\n2 DATE 1800\n" + links({1})) +
           person(3, "Eva /Roth/", 'F', links({1})) + person(4, "Ida /Berg/", 'F', links({}, 2)) +
           person(5, "Lea /Lenz/", 'F', links({2, 3})) + person(6, "Max /Mann/", 'M', links({3})) +
           person(7, "Jan /berg/", 'M') + person(8, "Tom /Berg/", 'M', "1 BIRT\n2 DATE 1900\n2 PLAC Berlin, Prussia\n" + links({}, 1)) +
           family(1, 2, 3, {1, 8}) + family(2, 0, 5, {4}) + family(3, 6, 5, {}));
    EXPECT_EQ(branches(1), "Berg\n"
                           "  === Branch 1 === (Berlin - 1800)\n"
                           "    [2] Otto Berg & [3] Eva Roth \n"
                           "      [1] Karl Berg \n"
                           "      [8] Tom Berg \n"
                           "  ( 4 persons)\n"
                           "  === Branch 2 === (0)\n"
                           "    [5] Lea Lenz \n"
                           "    [5] Lea Lenz & [6] Max Mann \n"
                           "  ( 2 persons)\n");
    EXPECT_EQ(ui.status[0], "NAME: Berg");
    EXPECT_EQ(ui.status[1], "2 branches");
    EXPECT_EQ(branches(7), "berg\n  === Branch 1 === (0)\n    [7] Jan berg \n  ( 1 persons)\n");
    EXPECT_EQ(ui.status[1], "1 branch");
    db.persons[7].surname = nullptr;
    EXPECT_EQ(branches(7), "");
    EXPECT_EQ(ui.status[1], "0 Branches (no surname)");
    EXPECT_EQ(branchPlace("Mitte, Berlin, Prussia"), " Berlin");
    EXPECT_EQ(branchPlace("Köln (Rheinland)"), "Köln (Rheinland");
}

TEST_F(BranchesTest, ALoopOfParentLinksEndsAndTheItemIsFoundByItsRin)
{
    import(person(1, "Hans /Berg/", 'M', links({1}, 2)) + person(2, "Kurt /Berg/", 'M', links({2}, 1)) +
           family(1, 1, 0, {2}) + family(2, 2, 0, {1}));
    EXPECT_EQ(branches(1), "Berg\n  === Branch 1 === (0)\n    [2] Kurt Berg \n      [1] Hans Berg \n  ( 2 persons)\n");

    // Cousins of one surname married: Eva's own item, not her husband's
    // item that names her first, is hers.
    import(person(1, "Otto /Иванов/", 'M', links({1})) + person(2, "Hans /Иванов/", 'M', links({2}, 1)) +
           person(3, "Karl /Иванов/", 'M', links({3}, 1)) + person(4, "Eva /Иванов/", 'F', links({2}, 3)) +
           person(5, "Ivan /Иванов/", 'M', links({}, 2)) + family(1, 1, 0, {2, 3}) + family(2, 2, 4, {5}) +
           family(3, 3, 0, {4}));
    branches(4);
    const std::vector<BranchItem>& items = session.branches.items();
    const int found = session.branches.itemOfPerson(4);
    ASSERT_GE(found, 0);
    EXPECT_EQ(items[static_cast<size_t>(found)].rin, 4);
    EXPECT_EQ(items[static_cast<size_t>(session.branches.itemOfPerson(2))].text, "[2] Hans Иванов & [4] Eva Иванов ");
    EXPECT_EQ(session.branches.itemOfPerson(99), -1);
}

} // namespace
} // namespace kinmap
