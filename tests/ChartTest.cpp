// The Tree and Hourglass drawings: boxes where the view's size puts them,
// placeholders without ancestors, box texts and tooltips, name shortening in
// any script, the marriages of the hourglass and the history of probands.
#include "app/ChartCommands.h"
#include "app/Session.h"
#include "views/Chart.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace kinmap {
namespace {

class ChartTest : public test::ImportFixture {
protected:
    // Hans with his parents and grandfather, three marriages, four children
    // in the first.
    void importFamily()
    {
        ASSERT_TRUE(importText(
            "0 HEAD\n"
            "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 BIRT\n2 DATE 1870\n2 PLAC Ulm\n1 DEAT\n2 DATE 1930\n"
            "1 FAMC @F1@\n1 FAMS @F2@\n1 FAMS @F3@\n1 FAMS @F4@\n"
            "0 @I2@ INDI\n1 NAME Otto /Berg/\n1 SEX M\n1 FAMS @F1@\n1 FAMC @F5@\n"
            "0 @I3@ INDI\n1 NAME Anna /Roth/\n1 SEX F\n1 FAMS @F1@\n"
            "0 @I4@ INDI\n1 NAME Karl /Berg/\n1 SEX M\n1 FAMS @F5@\n"
            "0 @I5@ INDI\n1 NAME Eva /Lenz/\n1 SEX F\n1 FAMS @F2@\n"
            "0 @I6@ INDI\n1 NAME Ida /Kuhn/\n1 SEX F\n1 FAMS @F3@\n"
            "0 @I7@ INDI\n1 NAME Lea /Mann/\n1 SEX F\n1 FAMS @F4@\n"
            "0 @I8@ INDI\n1 NAME A /Berg/\n1 FAMC @F2@\n0 @I9@ INDI\n1 NAME B /Berg/\n1 FAMC @F2@\n"
            "0 @I10@ INDI\n1 NAME C /Berg/\n1 FAMC @F2@\n0 @I11@ INDI\n1 NAME D /Berg/\n1 BIRT\n2 DATE 1901\n1 FAMC @F2@\n"
            "0 @I12@ INDI\n1 NAME E /Berg/\n1 FAMC @F3@\n"
            "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I3@\n1 CHIL @I1@\n0 @F5@ FAM\n1 HUSB @I4@\n1 CHIL @I2@\n"
            "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I5@\n1 MARR\n2 DATE 1895\n1 CHIL @I8@\n1 CHIL @I9@\n1 CHIL @I10@\n1 CHIL @I11@\n"
            "0 @F3@ FAM\n1 HUSB @I1@\n1 WIFE @I6@\n1 CHIL @I12@\n0 @F4@ FAM\n1 HUSB @I1@\n1 WIFE @I7@\n0 TRLR\n"));
    }
    static std::string ids(const Chart& chart)
    {
        std::string text;
        for (const ChartBox& box : chart.boxes)
            text += std::to_string(box.id) + (box.child ? "c" : "") + " ";
        return text;
    }
};

TEST_F(ChartTest, TheTreeFollowsTheFormulasOfItsViewSize)
{
    importFamily();
    // W 800, H 600: boxes W/4 wide, H*95%/16 - 10 high; the proband at
    // (35, H/2 - boxH); each generation half a box further right, dy = (H - 40) >> (gen + 1).
    const Chart tree = buildTree(db, 1, 800, 600);
    EXPECT_EQ(std::tie(tree.boxW, tree.boxH, tree.margin, tree.generations), std::tuple(200, 25, 5, 5));
    struct Expected {
        int32_t id;
        int x, y, generation;
    };
    // 570 is 95% of 600; the grandfather Karl, then placeholders where parents are missing.
    // dy = 530 >> 2, >> 3, >> 4: 132, 66, 33.
    const Expected expected[] = {{1, 35, 260, 1},   {2, 135, 128, 2},  {4, 235, 62, 3},   {-1, 335, 29, 4},
                                 {-2, 335, 95, 4},  {-2, 235, 194, 3}, {3, 135, 392, 2},  {-1, 235, 326, 3},
                                 {-2, 235, 458, 3}};
    ASSERT_EQ(tree.boxes.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const ChartBox& box = tree.boxes[i];
        EXPECT_EQ(std::tie(box.id, box.x, box.y, box.generation),
                  std::tie(expected[i].id, expected[i].x, expected[i].y, expected[i].generation));
        EXPECT_EQ(std::tie(box.w, box.h), std::tuple(200, 25));
    }
    EXPECT_EQ(tree.boxes[1].hangsOn, 0);
    EXPECT_EQ(tree.boxes[3].hangsOn, 2);
    // The bracket from the proband to its father: the stub at the father's mid-height.
    EXPECT_EQ(std::tie(tree.lines[0].x1, tree.lines[0].y1, tree.lines[0].x2, tree.lines[0].y2), std::tuple(135, 140, 130, 140));
    EXPECT_EQ(chartBoxLines(db, tree, tree.boxes[0]), (std::vector<std::string>{"Hans Berg 1870-1930"}));
    EXPECT_TRUE(chartBoxLines(db, tree, tree.boxes[3]).empty());

    // A tiny view still gets boxes with room, and more generations a taller drawing.
    const Chart small = buildTree(db, 1, 100, 80);
    EXPECT_GE(small.boxH, 12);
    EXPECT_GE(small.boxW, 48);
    EXPECT_GE(small.fontHeight, 7);
    EXPECT_EQ(buildTree(db, 1, 800, 600, 7).height, 570 * 4);
    EXPECT_TRUE(buildTree(db, 999, 800, 600).boxes.empty());
}

TEST_F(ChartTest, TheHourglassShowsOneMarriageItsChildrenAndBothSidesAncestors)
{
    importFamily();
    int index = 0;
    const Chart hourglass = buildHourglass(db, 1, index, 900, 640);
    EXPECT_EQ(std::tie(hourglass.boxW, hourglass.boxH, hourglass.family, hourglass.spouse), std::tuple(135, 52, 2, 5));
    // The spouse (no parents: two placeholders), the four children, the proband's side.
    // Karl in the third generation of four: his parents' places beside him.
    EXPECT_EQ(ids(hourglass), "8c 9c 10c 11c 5 -1 -2 1 2 4 -1 -2 -2 3 -1 -2 ");
    const ChartBox& spouse = hourglass.boxes[4];
    EXPECT_EQ(std::tie(spouse.x, spouse.y), std::tuple(450 - 202, 320 - 52));
    const ChartBox& firstChild = hourglass.boxes[0];
    EXPECT_EQ(std::tie(firstChild.x, firstChild.y, firstChild.w), std::tuple(450 - 67 + 4, 328, 126));
    std::vector<std::string> labels;
    for (const ChartLabel& label : hourglass.labels)
        labels.push_back(label.text);
    EXPECT_EQ(labels, (std::vector<std::string>{" marr. 1895", "4 children:", "proband:"}));
    EXPECT_EQ(chartBoxLines(db, hourglass, hourglass.boxes[3]), (std::vector<std::string>{"D 1901"}));
    EXPECT_EQ(chartBoxLines(db, hourglass, hourglass.boxes[7]), (std::vector<std::string>{"Hans", "Berg", "1870-1930"}));

    index = 1;
    const Chart second = buildHourglass(db, 1, index, 900, 640);
    EXPECT_EQ(ids(second).substr(0, 6), "12c 6 ");
    EXPECT_EQ(second.labels[0].text, "child:");
    // Unmarried: the label, and the place to add a spouse.
    index = 5;
    const Chart unmarried = buildHourglass(db, 8, index, 900, 640);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(unmarried.labels[0].text, "unmarried:");
    EXPECT_EQ(unmarried.boxes[0].id, missingSpouse);
}

TEST_F(ChartTest, MarriagesStepPlaceholdersAddAndTheHistoryGoesBack)
{
    importFamily();
    session.shell.currentPerson = 1;
    session.shell.currentFamilyIndex = 2; // left over from another person
    Chart chart = prepareChart(session, ChartKind::hourglass, 900, 640, 4);
    EXPECT_EQ(chart.family, 2); // a new proband shows its first marriage
    EXPECT_EQ(ui.status[2], "RIN: 1   MRIN=2");
    std::vector<int32_t> shown;
    for (int i = 0; i < 3; ++i) {
        stepHourglassMarriage(session);
        shown.push_back(prepareChart(session, ChartKind::hourglass, 900, 640, 4).family);
    }
    EXPECT_EQ(shown, (std::vector<int32_t>{3, 4, 2}));

    // The tree: a click on the father makes him the proband; "<" goes back.
    session.shell.currentView = treeView;
    chart = prepareChart(session, ChartKind::tree, 800, 600, 5);
    EXPECT_FALSE(canGoBack(session));
    chartBoxClicked(session, chart, chart.boxOf(2));
    EXPECT_EQ(session.shell.currentPerson, 2);
    EXPECT_EQ(session.shell.previousPerson, 1);
    chart = prepareChart(session, ChartKind::tree, 800, 600, 5);
    EXPECT_TRUE(canGoBack(session));
    chartBack(session);
    EXPECT_EQ(session.shell.currentPerson, 1);
    // The history keeps the latest 99.
    chart = prepareChart(session, ChartKind::tree, 800, 600, 5);
    for (int i = 0; i < 120; ++i)
        chartBoxClicked(session, chart, i % 2 ? chart.boxOf(1) : chart.boxOf(2));
    EXPECT_EQ(session.shell.chartHistory.size(), 99u);

    // A placeholder adds through the dialog; cancelled, nobody is added.
    session.shell.currentPerson = 1;
    chart = prepareChart(session, ChartKind::tree, 800, 600, 5);
    const int32_t highest = db.highestRin;
    const int missingMotherOfOtto = 5; // Otto's mother: index 5 in the tree
    ASSERT_EQ(chart.boxes[missingMotherOfOtto].id, missingMother);
    ui.formAnswers.push_back([](PersonForm&) { return false; });
    chartBoxClicked(session, chart, missingMotherOfOtto);
    EXPECT_EQ(db.highestRin, highest);
    ui.formAnswers.push_back([](PersonForm& form) {
        form.given = "Marta";
        return true;
    });
    chartBoxClicked(session, chart, missingMotherOfOtto);
    ASSERT_EQ(db.highestRin, highest + 1);
    EXPECT_EQ(db.families[db.persons[2].famc[0]].wife, highest + 1);
    // A box whose person went since the drawing was built does nothing.
    db.persons[4].flags = 0;
    chartBoxClicked(session, chart, chart.boxOf(4));
    EXPECT_EQ(session.shell.currentPerson, 1);
}

TEST(ChartText, NamesShortenToTheirCapitalsInAnyScript)
{
    const std::tuple<const char*, size_t, const char*> cases[] = {
        {"Johann Georg Friedrich", 30, "Johann Georg Friedrich"},
        {"Johann Georg Friedrich", 20, "Johann G Friedrich"},
        {"Johann Georg Friedrich", 15, "JG Friedrich"},
        {"Johann Georg Friedrich", 5, "JG Friedrich"}, // no more to cut
        {"Иван Петрович Сидоров", 18, "Иван П Сидоров"},
        {"Иван Петрович Сидоров", 12, "ИП Сидоров"},
        {"Anna \"Nanni\" Maria Roth", 12, "A NM Roth"}, // the quote before a capital: a blank
        {"anna maria", 3, "anna maria"}, // nothing to cut to
    };
    for (const auto& [text, room, shortened] : cases)
        EXPECT_EQ(shortenName(text, room), shortened) << text << " in " << room;
}

TEST_F(ChartTest, TheTooltipTellsDatesPlacesAndSpouses)
{
    importFamily();
    EXPECT_EQ(chartTooltip(db, 1), "[1]\r\nHans Berg\r\n*1870 Ulm\r\n+1930 \r\nSpouse:\r\n1895 Eva Lenz\r\n Ida Kuhn\r\n Lea Mann");
    EXPECT_EQ(chartTooltip(db, 4), "[4]\r\nKarl Berg\r\nSpouse:\r\n");
    EXPECT_EQ(chartTooltip(db, 999), "");
}

} // namespace
} // namespace kinmap
