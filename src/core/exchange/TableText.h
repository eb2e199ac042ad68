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

// The cells of one row; the text of a quoted cell is kept here.
struct TableRow {
    std::vector<std::string_view> cells;
    std::deque<std::string> unquoted;

    size_t size() const { return cells.size(); }
    std::string_view operator[](size_t i) const { return cells[i]; }
};

// A table read: its text and where each row lies in it. A row's cells are
// split when they are asked for, so that a large table takes little more
// memory than its text.
class TableRows {
public:
    size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    // The line of the file where a row begins.
    int line(size_t row) const { return rows_[row].line; }
    // The cells of a row, into `into` (kept for the next row, whose cells
    // then replace them).
    void read(size_t row, TableRow& into) const;
    TableRow row(size_t row) const
    {
        TableRow cells;
        read(row, cells);
        return cells;
    }

private:
    friend TableRows readTable(std::string bytes);
    struct Span {
        size_t begin, end;
        int line;
    };

    std::string text_;
    char separator_ = '\t';
    std::vector<Span> rows_;
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
