// The Tree and Hourglass tabs as a drawing: where each box, connector line
// and label goes for a view of a given size, and what the boxes and their
// tooltips say. The tree shows the proband at the left and its ancestors
// fanning out to the right; the hourglass adds the ancestors of the spouse
// of one marriage to the left and that marriage's children below the middle.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kinmap {

class Database;

enum class ChartKind { tree, hourglass };

// Placeholders: the ids of the empty boxes of a missing father, mother or spouse.
enum ChartPlaceholder : int32_t { missingFather = -1, missingMother = -2, missingSpouse = 0 };

struct ChartBox {
    int32_t id = 0;       // the person's RIN, or a placeholder
    int x = 0, y = 0, w = 0, h = 0;
    int hangsOn = -1;     // the box of the child this ancestor was reached from, -1 for none
    int generation = 1;   // 1 for the proband and the spouse
    bool child = false;   // a child of the hourglass's marriage
    bool placeholder() const { return id <= 0; }
};

struct ChartLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct ChartLabel {
    std::string text;
    int x = 0, y = 0, w = 0, h = 0;
};

struct Chart {
    ChartKind kind = ChartKind::tree;
    int width = 0, height = 0; // of the drawing; larger than the view for more generations
    int boxW = 0, boxH = 0, margin = 0, generations = 0;
    int fontHeight = 0;        // pixels
    int32_t proband = 0;
    int32_t family = 0;        // the hourglass's marriage, 0 for none
    int32_t spouse = 0;
    std::vector<ChartBox> boxes;
    std::vector<ChartLine> lines;
    std::vector<ChartLabel> labels;

    // The box of a person, -1 when it is not drawn.
    int boxOf(int32_t rin) const;
};

// The tree of proband for a view of width × height pixels, with 3 to 8
// generations (the drawing grows beyond the view from the sixth on).
Chart buildTree(const Database& db, int32_t proband, int width, int height, int generations = 5);
// The hourglass with the proband's marriage at familyIndex (moved into range).
Chart buildHourglass(const Database& db, int32_t proband, int& familyIndex, int width, int height, int generations = 4);

// What a box says, a line each.
std::vector<std::string> chartBoxLines(const Database& db, const Chart& chart, const ChartBox& box);
// The tooltip of a person's box.
std::string chartTooltip(const Database& db, int32_t rin);
// Fits a name into `room` characters by cutting earlier words to their
// capital letter: Johann Georg Friedrich, Johann G Friedrich, JG Friedrich.
std::string shortenName(std::string_view text, size_t room);

} // namespace kinmap
