// Input from File: a person table that Output to File wrote, edited in a
// spreadsheet, written back into the current GED file. The whole table is
// read and checked first and the changes planned, so that the user sees
// them before anything is written; then one pass over the file writes every
// record as it stands but for the planned lines.
#pragma once

#include "exchange/Columns.h"
#include "exchange/TableText.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kinmap {

class Database;
class Workspace;
struct GedFile;

struct LineChange {
    std::string before, after; // line texts without line ends; before empty for a new line, after for a removed one
};

// A person whose record changes: its changes and edits are those of the
// plan from its first ones up to the next person's.
struct PersonInput {
    int32_t rin = 0;
    size_t firstChange = 0, firstEdit = 0;
};

// A row, or a cell of one, that changes nothing, and why.
struct SkippedInput {
    int line = 0;      // of the table file
    std::string where; // "RIN 12", "RIN 12, 2 DATE", or the RIN field as it stands
    std::string reason;
};

// What a change does to the lines of a record (indexes of its lines, the
// level-0 line 0): a line's text replaced or the line dropped, or a new line
// after a line. A record's edits follow its lines.
struct LineEdit {
    enum Kind : int32_t { replace, drop, insertAfter };
    Kind kind;
    int32_t line;
    int32_t change; // its LineChange among the person's, whose `after` is written
};

// Kept in few large blocks: a table may change every person of a file.
struct InputPlan {
    std::vector<TableColumn> columns;
    std::vector<PersonInput> persons; // with changes, in file order
    std::vector<LineChange> changes;
    std::vector<LineEdit> edits;
    std::vector<SkippedInput> skipped; // in table order
    std::vector<int> recordOf;         // by RIN: its index in persons, or -1

    std::span<const LineChange> changesOf(size_t person) const
    {
        const size_t end = person + 1 < persons.size() ? persons[person + 1].firstChange : changes.size();
        return {changes.data() + persons[person].firstChange, end - persons[person].firstChange};
    }
    std::span<const LineEdit> editsOf(size_t person) const
    {
        const size_t end = person + 1 < persons.size() ? persons[person + 1].firstEdit : edits.size();
        return {edits.data() + persons[person].firstEdit, end - persons[person].firstEdit};
    }
    size_t changedLines() const { return changes.size(); }
};

// Checks the table and plans every change against the records of the file
// as the import read it. Empty `reason` when the table can be read; else
// why not (nothing is planned then).
InputPlan planInput(Workspace& workspace, const GedFile& file, const TableRows& table, std::string& reason);

// "RIN 12 Smith, John:\r\n  2 DATE 1 JAN 1900 -> 2 DATE 2 JAN 1900\r\n…",
// then the rows and cells skipped with their reasons.
std::string inputPreview(const Database& db, const InputPlan& plan);
// "Smith, John": how the preview names a person.
std::string previewName(const Database& db, int32_t rin);

// Writes the planned changes into the current GED file through the safe
// writer (backup first) and journals each. False, after telling why, when
// nothing was written.
bool applyInput(Workspace& workspace, GedFile& file, const InputPlan& plan, const std::string& tablePath);

} // namespace kinmap
