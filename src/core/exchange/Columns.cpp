#include "exchange/Columns.h"

#include "exchange/TableText.h"
#include "ged/RecordImage.h"

#include <algorithm>
#include <array>

namespace kinmap {

namespace {

constexpr std::array<std::string_view, 12> level2Tags = {"NPFX", "NICK", "SPFX", "NSFX", "DATE", "PLAC",
                                                         "ADDR", "AGE",  "AGNC", "CAUS", "SOUR", "NOTE"};
constexpr std::array<std::string_view, 4> level3Tags = {"NOTE", "DATA", "PAGE", "TEXT"};

template <size_t n>
bool isOneOf(const std::array<std::string_view, n>& tags, std::string_view tag)
{
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

// A tag with a place of its own in a person's record; the links are kept
// by the database and written by the export only.
bool isLevel1Tag(std::string_view tag)
{
    if (tag.empty() || tag.size() > 4 || tag == "FAMC" || tag == "FAMS")
        return false;
    return tagSlot(RecordKind::person, tagCode(tag)) != tagSlot(RecordKind::person, 0);
}

std::string upperCase(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

} // namespace

ParsedTemplate parseTemplate(std::string_view text)
{
    ParsedTemplate parsed;
    int state = 0; // the level of the column before, 0 after a skipped token
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = text.find_first_not_of(" ,\t\r\n", i);
        if (start == std::string_view::npos)
            break;
        const size_t end = std::min(text.find_first_of(" ,\t\r\n", start), text.size());
        i = end;
        const std::string token = upperCase(text.substr(start, end - start));
        int level = 0;
        if (state >= 2 && isOneOf(level3Tags, token))
            level = 3;
        else if (state >= 1 && isOneOf(level2Tags, token))
            level = 2;
        else if (isLevel1Tag(token))
            level = 1;
        if (level == 0 || parsed.columns.size() == maxColumns) {
            parsed.skipped.push_back(token);
            state = 0;
            continue;
        }
        parsed.columns.push_back({level, token, tagCode(token)});
        state = std::min(level, 2);
    }
    return parsed;
}

std::vector<std::string> tableHeader(const std::vector<TableColumn>& columns)
{
    std::vector<std::string> header = {"RIN", "SURN", "GIVN"};
    for (const TableColumn& column : columns)
        header.push_back(std::to_string(column.level) + " " + column.tag);
    return header;
}

std::vector<TableColumn> columnsOfHeader(std::span<const std::string_view> header, std::string& reason)
{
    reason.clear();
    if (header.size() < 3 || header[0] != "RIN" || header[1] != "SURN" || header[2] != "GIVN") {
        reason = "its first line does not begin with RIN, SURN and GIVN";
        return {};
    }
    std::string tags;
    for (size_t i = 3; i < header.size(); ++i) {
        const std::string_view field = header[i];
        if (field.size() < 3 || field[0] < '1' || field[0] > '3' || field[1] != ' ') {
            reason = "column " + std::to_string(i + 1) + " \"" + std::string(field) + "\" is no level and tag such as \"2 DATE\"";
            return {};
        }
        tags.append(field.substr(2)).append(" ");
    }
    ParsedTemplate parsed = parseTemplate(tags);
    for (size_t i = 3; i < header.size(); ++i) {
        const size_t c = i - 3;
        if (c >= parsed.columns.size() || parsed.columns[c].tag != header[i].substr(2) ||
            parsed.columns[c].level != header[i][0] - '0') {
            reason = "column " + std::to_string(i + 1) + " \"" + std::string(header[i]) + "\" is no column Output to File writes there";
            return {};
        }
    }
    return parsed.columns;
}

std::string cellOfLine(std::string_view text)
{
    const GedLine line = parseGedLine(withoutLineEnd(text), {});
    const std::string_view value = lineValue(line);
    if (!value.empty() || line.level < 0)
        return cellText(value);
    // The tag: the word before the value.
    const std::string_view head = withoutLineEnd(text).substr(0, line.valueStart);
    const size_t tagEnd = head.find_last_not_of(" \t") + 1;
    const size_t tagStart = head.find_last_of(" \t", tagEnd - 1) + 1;
    return std::string(head.substr(tagStart, tagEnd - tagStart));
}

} // namespace kinmap
