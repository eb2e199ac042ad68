// Input from File: a person table that Output to File wrote, edited in a
// spreadsheet, written back into the current GED file. The whole table is
// read and checked first and the changes planned, so that the user sees
// them before anything is written; then one pass over the file writes every
// record as it stands but for the planned lines.
#pragma once

#include "exchange/Columns.h"
#include "exchange/TableText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kinmap {

class Workspace;
struct GedFile;

struct LineChange {
    std::string before, after; // line texts without line ends; before empty for a new line, after for a removed one
};

struct PersonInput {
    int32_t rin = 0;
    std::string name; // as the row gives it: "Surname, Given"
    std::vector<LineChange> changes;
};

// A row, or a cell of one, that changes nothing, and why.
struct SkippedInput {
    int line = 0;      // of the table file
    std::string where; // "RIN 12", "RIN 12, 2 DATE", or the RIN field as it stands
    std::string reason;
};

// A line of a written record after its level-0 line: a line of the record
// as it stands (its index there), or the new text of one of its changes.
struct PlannedLine {
    int32_t original = -1;
    int32_t change = -1;
};

struct InputPlan {
    std::vector<TableColumn> columns;
    std::vector<PersonInput> persons; // with changes, in file order
    std::vector<SkippedInput> skipped; // in table order
    // The lines written for persons[i]: plannedLines from plannedStart[i] to
    // plannedStart[i + 1].
    std::vector<PlannedLine> plannedLines;
    std::vector<size_t> plannedStart{0};
    std::vector<int> recordOf; // by RIN: its index in persons, or -1
    int rows = 0;                      // rows read (header not counted)

    size_t changedLines() const;
};

// Checks the table and plans every change against the records of the file
// as the import read it. Empty `reason` when the table can be read; else
// why not (nothing is planned then).
InputPlan planInput(Workspace& workspace, const GedFile& file, const TableRows& table, std::string& reason);

// "RIN 12 Smith, John:\r\n  2 DATE 1 JAN 1900 -> 2 DATE 2 JAN 1900\r\n…",
// then the rows and cells skipped with their reasons.
std::string inputPreview(const InputPlan& plan);

// Writes the planned changes into the current GED file through the safe
// writer (backup first) and journals each. False, after telling why, when
// nothing was written.
bool applyInput(Workspace& workspace, GedFile& file, const InputPlan& plan, const std::string& tablePath);

} // namespace kinmap
