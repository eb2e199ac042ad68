// The columns of a person table: which line of a person's record each one
// shows (Output to File) and changes (Input from File). A column names a
// level-1 tag of the record, a level-2 tag beneath the line of the level-1
// column before it, or a level-3 tag beneath the line of the level-2 column
// before it.
#pragma once

#include "ged/GedRecord.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kinmap {

struct TableColumn {
    int level = 1;   // 1, 2 or 3
    std::string tag; // as GED writes it: "BIRT"
    uint32_t code = 0;
};

// What the template dialog opens with.
inline constexpr const char* defaultTemplate = "BIRT DATE SOUR PAGE RELI EDUC OCCU CONF CENS TITL NPFX NSFX ";
inline constexpr size_t maxColumns = 100;

struct ParsedTemplate {
    std::vector<TableColumn> columns;
    std::vector<std::string> skipped; // tokens that are no column where they stand
};

// Tokens separated by blanks or commas, in any case. A token is a level-3
// column after a level-2 column (NOTE, DATA, PAGE, TEXT), a level-2 column
// after a column of level 1 or 2 (NPFX, NICK, SPFX, NSFX, DATE, PLAC, ADDR,
// AGE, AGNC, CAUS, SOUR, NOTE), else a level-1 column when the tag has a
// place of its own in a person's record; links (FAMC, FAMS) are none. Any
// other token is skipped and the next one read as level 1 again.
ParsedTemplate parseTemplate(std::string_view text);

// "RIN", "SURN", "GIVN", then "1 BIRT", "2 DATE", ... for the columns.
std::vector<std::string> tableHeader(const std::vector<TableColumn>& columns);

// The columns of a table's header: its fields after RIN, SURN and GIVN,
// which must be the columns a template gives. Empty reason when they are.
std::vector<TableColumn> columnsOfHeader(std::span<const std::string_view> header, std::string& reason);

// For each column, the index of the line it shows in a record's lines (the
// level-0 line first), or -1: the first level-1 line of its tag; the first
// level-2 line of its tag directly beneath the line of the level-1 column
// before it; the first level-3 line of its tag directly beneath the line of
// the level-2 column before it.
template <class Line>
std::vector<long> columnLines(const std::vector<Line>& lines, const std::vector<TableColumn>& columns);

// The first line directly beneath line `parent` (one level deeper) with the
// tag, or -1.
template <class Line>
long childLine(const std::vector<Line>& lines, long parent, uint32_t tag)
{
    if (parent < 0)
        return -1;
    const int level = lines[static_cast<size_t>(parent)].level + 1;
    for (size_t i = static_cast<size_t>(parent) + 1; i < lines.size(); ++i) {
        if (lines[i].level >= 0 && lines[i].level < level)
            break;
        if (lines[i].level == level && lines[i].tag == tag)
            return static_cast<long>(i);
    }
    return -1;
}

template <class Line>
std::vector<long> columnLines(const std::vector<Line>& lines, const std::vector<TableColumn>& columns)
{
    std::vector<long> found;
    found.reserve(columns.size());
    long line1 = -1, line2 = -1;
    for (const TableColumn& column : columns) {
        if (column.level == 1) {
            line1 = -1;
            for (size_t i = 1; i < lines.size() && line1 < 0; ++i)
                if (lines[i].level == 1 && lines[i].tag == column.code)
                    line1 = static_cast<long>(i);
            line2 = -1;
            found.push_back(line1);
        } else if (column.level == 2) {
            line2 = childLine(lines, line1, column.code);
            found.push_back(line2);
        } else {
            found.push_back(childLine(lines, line2, column.code));
        }
    }
    return found;
}

// What a cell shows of a line (its text, with or without its line end):
// the value after level, tag and one blank, or the tag when there is none.
std::string cellOfLine(std::string_view text);

} // namespace kinmap
