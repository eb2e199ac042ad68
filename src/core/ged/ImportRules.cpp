#include "ged/ImportRules.h"

#include <algorithm>
#include <climits>

namespace kinmap {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
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

long long referenceNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    long long n = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        if (n <= INT32_MAX)
            n = n * 10 + (text[i] - '0');
    if (n > INT32_MAX)
        n = static_cast<long long>(INT32_MAX) + 1;
    return negative ? -n : n;
}

int32_t linkNumber(std::string_view line)
{
    const long long n = referenceNumber(line.substr(std::min<size_t>(9, line.size())));
    return n > INT32_MAX ? INT32_MAX : n < INT32_MIN ? INT32_MIN : static_cast<int32_t>(n);
}

std::optional<NameParts> nameParts(std::string_view value)
{
    const size_t slash = value.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
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

} // namespace kinmap
