#include "ged/ImportRules.h"

#include "db/Numbers.h"

#include <algorithm>

namespace kinmap {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

int importLevel(std::string_view line)
{
    if (line.empty() || line[0] < '0' || line[0] > '2')
        return -1;
    if (line.size() > 1 && isDigit(line[1]))
        return -1; // "10 …" is a line of level 10
    return line[0] - '0';
}

uint32_t importTag(std::string_view line, size_t at)
{
    uint32_t code = 0;
    for (size_t i = 0; i < 4 && at + i < line.size() && line[at + i] != 0; ++i) {
        const auto c = static_cast<unsigned char>(line[at + i]);
        if (i == 3 && (c < 0x21 || c >= 0x80))
            break;
        code |= uint32_t(c) << (8 * i);
    }
    return code;
}

std::string_view valueAt(std::string_view line, size_t at)
{
    if (at >= line.size())
        return {};
    std::string_view value = line.substr(at);
    size_t end = 0;
    while (end < value.size() && !isLineEnd(value[end]))
        ++end;
    return value.substr(0, end);
}

std::string_view pointerIn(std::string_view line)
{
    const size_t open = line.find('@', std::min<size_t>(2, line.size()));
    if (open == std::string_view::npos)
        return {};
    const size_t close = line.find('@', open + 1);
    if (close == std::string_view::npos)
        return {};
    return line.substr(open, close - open + 1);
}

std::string_view valuePointer(std::string_view line)
{
    size_t at = 0;
    while (at < line.size() && ((line[at] >= '0' && line[at] <= '9') || line[at] == ' '))
        ++at;
    while (at < line.size() && line[at] != ' ' && line[at] != '\r' && line[at] != '\n')
        ++at;
    if (at + 1 >= line.size() || line[at + 1] != '@')
        return {};
    const size_t close = line.find('@', at + 2);
    return close == std::string_view::npos ? std::string_view() : line.substr(at + 1, close - at);
}

RecordLine recordLine(std::string_view line)
{
    RecordLine r;
    size_t i = 1;
    while (i < line.size() && line[i] == ' ')
        ++i;
    if (i < line.size() && line[i] == '@') {
        const size_t close = line.find('@', i + 1);
        if (close == std::string_view::npos)
            return {{}, line.size()};
        r.identifier = line.substr(i, close - i + 1);
        i = close + 1;
        while (i < line.size() && line[i] == ' ')
            ++i;
    }
    r.tagAt = i;
    return r;
}

std::optional<NameParts> nameParts(std::string_view value)
{
    const size_t slash = value.find('/');
    if (slash == std::string_view::npos) {
        const size_t start = value.find_first_not_of(' ');
        if (start == std::string_view::npos)
            return std::nullopt;
        NameParts parts;
        parts.given = value.substr(start, value.find_last_not_of(' ') + 1 - start);
        parts.slashes = false;
        return parts;
    }
    size_t givenEnd = slash;
    while (givenEnd > 0 && value[givenEnd - 1] == ' ')
        --givenEnd;
    NameParts parts;
    parts.given = value.substr(0, givenEnd);
    const std::string_view rest = value.substr(slash + 1);
    const size_t closing = rest.find('/');
    parts.surname = rest.substr(0, closing);
    if (closing != std::string_view::npos)
        parts.afterSurname = rest.substr(closing + 1);
    return parts;
}

unsigned char sexValue(std::string_view line)
{
    if (line.size() <= 6 || isLineEnd(line[6]))
        return 0;
    return static_cast<unsigned char>(line[6]);
}

bool isTrailer(std::string_view line)
{
    const RecordLine r = recordLine(line);
    return r.identifier.empty() && importTag(line, r.tagAt) == importTagOf("TRLR");
}

} // namespace kinmap
