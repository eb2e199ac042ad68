// The Pedigree tab: the ancestor table of one person, generation by
// generation through each person's first parents' family, with every
// ancestor reached a second time (implex) pointing to its first row; and
// the implex view, the two lines of descent from a repeated ancestor down
// to the couple that shares it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kinmap {

class Database;

struct PedigreeRow {
    int32_t rin = 0;
    int32_t up = -1;        // the row of the child through which the ancestor was reached; -1 in row 0
    int32_t firstRow = 0;   // where the person was listed first; this row unless it is an implex row
    int generation = 1;     // 1 is the person whose pedigree it is
    int number = 1;         // within the generation, 1 to 511
    bool mother = false;    // reached as the wife of the child's first parents' family
};

class Pedigree {
public:
    static constexpr int maxRows = 20000;
    static constexpr int maxNumber = 511;
    static constexpr int maxGeneration = 254;

    // The columns of the view: the ten of the table and, after Gen/Nr, the
    // Kekulé number.
    static constexpr int columnCount = 11;
    static constexpr int kekuleColumn = 5;
    static const char* columnTitle(int column);
    static int columnShare(int column); // of 1024 parts of the width

    enum class Outcome { built, counterOverflow, generationOverflow };
    // Builds the rows for rin, breadth first, at most maxRows of them. On
    // an overflow the rows are gone; its message is "Pedigree counter
    // overflow" or "Pedigree generation overflow".
    Outcome build(const Database& db, int32_t rin);
    static const char* overflowMessage(Outcome outcome);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    const PedigreeRow& row(int index) const { return rows_[static_cast<size_t>(index)]; }
    int implexCount() const { return static_cast<int>(implexRows_.size()); }
    bool isImplex(int index) const { return row(index).firstRow != index; }
    int generations() const { return rows_.empty() ? 0 : rows_.back().generation; }
    // "%d Persons in %d Generations", with ", %dx implex" when there are any.
    std::string countText() const;

    std::string cellText(const Database& db, int index, int column) const;
    // 1 the person, 2n the father and 2n+1 the mother of n: the number of
    // the row's own line, also in an implex row.
    std::string kekuleNumber(int index) const;
    // The table as Output to File writes it: a header line ending in a line
    // feed, then a row a line ending in CR LF.
    std::string fileText(const Database& db) const;

private:
    // The row in which a person was first listed, -1 when not listed.
    int32_t firstRowOf(const Database& db, int32_t rin) const;
    // "%u " with the first row + 1 of the father, else the mother; empty if neither is listed.
    std::string downText(const Database& db, int index) const;

    std::vector<PedigreeRow> rows_;
    std::vector<int> implexRows_;
    std::vector<int32_t> firstRows_; // by RIN
};

// The implex view of an implex row: line A climbs from the row, line B from
// the first row of the same person, both down to the couple in which they
// meet. Each line alternates a person's row and its partner's row (-1 when
// the person has no partner in the table).
struct ImplexLines {
    std::vector<int> a, b;
    // The couple in which the lines meet, as rows; -1 when they do not end
    // in a couple.
    int husbandRow = -1, wifeRow = -1;
};
ImplexLines implexLines(const Pedigree& pedigree, int implexRow);

// The texts of the two lists, side by side, and the status text naming the
// couple ("" when the lines do not end in one).
struct ImplexText {
    std::vector<std::string> left, right;
    std::string couple;
};
ImplexText implexText(const Database& db, const Pedigree& pedigree, const ImplexLines& lines);

} // namespace kinmap
