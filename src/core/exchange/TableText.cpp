#include "exchange/TableText.h"

#include "db/Utf8.h"
#include "ged/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>

namespace kinmap {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

bool needsQuotes(TableFormat format, std::string_view value)
{
    if (format == TableFormat::tabs)
        return value.starts_with('"');
    return value.find_first_of(",\"") != std::string_view::npos;
}

// Makes a table's bytes its text in UTF-8 (bytes that are UTF-8 stay).
void decodeTable(std::string& bytes)
{
    const std::string_view start(bytes.data(), std::min<size_t>(bytes.size(), 3));
    if (start == byteOrderMark) {
        bytes.erase(0, byteOrderMark.size());
        return;
    }
    std::string text;
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF"))
        decodeLine(start[0] == '\xFF' ? Encoding::utf16le : Encoding::utf16be, std::string_view(bytes).substr(2), text);
    else if (!isValidUtf8(bytes))
        decodeLine(Encoding::windows1252, bytes, text);
    else
        return;
    bytes = std::move(text);
}

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

TableFormat tableFormatOf(const std::string& path)
{
    const size_t dot = path.find_last_of("./\\");
    const bool csv = dot != std::string::npos && path[dot] == '.' && strcasecmp(path.c_str() + dot + 1, "csv") == 0;
    return csv ? TableFormat::commas : TableFormat::tabs;
}

std::string cellText(std::string_view value)
{
    std::string cell(value);
    for (char& c : cell)
        if (c == '\t' || isLineBreak(c))
            c = ' ';
    return cell;
}

TableWriter::TableWriter(TableFormat format, bool withMark) : format_(format), text_(withMark ? byteOrderMark : "") {}

void TableWriter::cell(std::string_view value)
{
    if (rowCells_++ > 0)
        text_ += format_ == TableFormat::tabs ? '\t' : ',';
    const std::string cell = cellText(value);
    if (!needsQuotes(format_, cell)) {
        text_ += cell;
        return;
    }
    text_ += '"';
    for (const char c : cell) {
        if (c == '"')
            text_ += '"';
        text_ += c;
    }
    text_ += '"';
}

void TableWriter::cells(const TableWriter& part)
{
    if (part.rowCells_ == 0)
        return;
    if (rowCells_ > 0)
        text_ += format_ == TableFormat::tabs ? '\t' : ',';
    text_ += part.text_;
    rowCells_ += part.rowCells_;
}

void TableWriter::endRow()
{
    text_ += "\r\n";
    rowCells_ = 0;
}

std::string asSpreadsheetText(std::string_view text)
{
    std::string out(byteOrderMark);
    out.reserve(text.size() + text.size() / 16 + 3);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

namespace {

// Reads the row that begins at `at`: its cells into `row` when given, and
// the line breaks inside its quoted cells into `breaks`. Returns where the
// row ends (at its line end, or at the end of the text).
size_t scanRow(std::string_view text, size_t at, char separator, TableRow* row, int& breaks)
{
    const size_t size = text.size();
    size_t i = at;
    while (true) {
        std::string_view cell;
        bool quoted = false;
        if (i < size && text[i] == '"') {
            // A quoted cell: only when its closing quote ends the cell.
            size_t j = i + 1;
            int inside = 0;
            bool doubled = false;
            while (j < size) {
                if (text[j] == '"') {
                    if (j + 1 < size && text[j + 1] == '"') {
                        doubled = true;
                        j += 2;
                        continue;
                    }
                    break;
                }
                if (text[j] == '\n' || (text[j] == '\r' && (j + 1 >= size || text[j + 1] != '\n')))
                    ++inside;
                ++j;
            }
            if (j < size && (j + 1 == size || text[j + 1] == separator || isLineBreak(text[j + 1]))) {
                cell = text.substr(i + 1, j - i - 1);
                if (row && doubled) {
                    std::string& kept = row->unquoted.emplace_back();
                    for (size_t k = 0; k < cell.size(); ++k) {
                        kept += cell[k];
                        if (cell[k] == '"')
                            ++k; // a doubled quote stands for one
                    }
                    cell = kept;
                }
                i = j + 1;
                breaks += inside;
                quoted = true;
            }
        }
        if (!quoted) {
            size_t end = i;
            while (end < size && text[end] != separator && !isLineBreak(text[end]))
                ++end;
            cell = text.substr(i, end - i);
            i = end;
        }
        if (row)
            row->cells.push_back(cell);
        if (i < size && text[i] == separator) {
            ++i;
            continue;
        }
        return i;
    }
}

} // namespace

void TableRows::read(size_t row, TableRow& into) const
{
    into.cells.clear();
    into.unquoted.clear();
    int breaks = 0;
    scanRow(text_, rows_[row].begin, separator_, &into, breaks);
}

TableRows readTable(std::string bytes)
{
    TableRows table;
    table.text_ = std::move(bytes);
    decodeTable(table.text_);
    const std::string_view text = table.text_;
    // The first line tells the separator: a tab, else a comma or semicolon.
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (const size_t at = firstLine.find_first_of(",;"); firstLine.find('\t') == std::string_view::npos && at != std::string_view::npos)
        table.separator_ = firstLine[at];
    table.rows_.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    size_t i = 0;
    int line = 1;
    while (i < text.size()) {
        int breaks = 0;
        const size_t end = scanRow(text, i, table.separator_, nullptr, breaks);
        if (end > i) // empty lines are no rows
            table.rows_.push_back({i, end, line});
        line += breaks + 1;
        i = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return table;
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string& reason)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        reason = strerror(errno);
        return false;
    }
    bytes.clear();
    struct stat status {};
    if (fstat(fileno(file), &status) == 0 && status.st_size > 0)
        bytes.reserve(static_cast<size_t>(status.st_size));
    char chunk[65536];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, n);
    const bool failed = ferror(file) != 0;
    const int error = errno;
    fclose(file);
    if (failed)
        reason = strerror(error);
    return !failed;
}

bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& reason)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        reason = strerror(errno);
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && fflush(file) == 0;
    int error = errno;
    if (fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        reason = strerror(error);
        remove(path.c_str());
    }
    return ok;
}

} // namespace kinmap
