// The tables Output to File writes and Input from File reads, as a
// spreadsheet opens and saves them: rows of cells, one row a line.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace kinmap {

enum class TableFormat { tabs, commas };

// The format a table file's name asks for: commas for ".csv", else tabs.
TableFormat tableFormatOf(const std::string& path);

// Writes UTF-8 with a byte order mark and CR LF line ends. With tabs, a tab,
// CR or LF in a cell becomes a blank and a cell beginning with a quote is
// quoted; with commas, cells holding a comma or a quote are quoted as
// RFC 4180 says. Every row but the first begins on a new line.
class TableWriter {
public:
    // A part of a row, to be put into a table by cells(), has no mark.
    explicit TableWriter(TableFormat format, bool withMark = true);
    void cell(std::string_view value);
    // The cells of a part of a row, as they were written there.
    void cells(const TableWriter& part);
    void endRow();
    const std::string& text() const { return text_; }

private:
    TableFormat format_;
    std::string text_;
    int rowCells_ = 0;
};

// What a cell holds of a value: a tab, CR or LF in it becomes a blank.
std::string cellText(std::string_view value);

// A text that some view writes (lines of tab-separated fields) as a
// spreadsheet opens it: a byte order mark first, every line end CR LF.
std::string asSpreadsheetText(std::string_view text);

// The cells see the texts kept here: a table moves, but is not copied.
struct TableRows {
    TableRows() = default;
    TableRows(TableRows&&) = default;
    TableRows& operator=(TableRows&&) = default;
    TableRows(const TableRows&) = delete;
    TableRows& operator=(const TableRows&) = delete;

    std::vector<std::vector<std::string_view>> rows;
    std::vector<int> lines;        // the line of the file where each row begins
    std::deque<std::string> texts; // the decoded text, then the quoted cells
};

// Reads a table: UTF-8 with or without a byte order mark, UTF-16 with one,
// otherwise Windows-1252 (Latin-1 with the printable characters of its
// C1 range). Cells are separated by tabs, or by the comma or semicolon that
// follows the first cell of the first line; a cell that begins with a quote
// and ends with one is quoted (a doubled quote stands for one, separators
// and line breaks belong to the cell). Lines of any length; empty lines are
// left out.
TableRows readTable(std::string bytes);

// The whole file, or false with the operating system's reason.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& reason);
// Writes a file whole: on any failure what was written goes, and the
// reason is given.
bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& reason);

} // namespace kinmap
