// Reading decimal numbers from texts: one reader for record numbers, dates
// and what the user types.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kinmap {

constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The digits at the start of text as a number (no blanks or sign before
// them): 0 when there is none, INT32_MAX when it does not fit, so that any
// range check fails. digits, when given, receives how many there were.
inline int32_t leadingNumber(std::string_view text, size_t* digits = nullptr)
{
    size_t count = 0;
    while (count < text.size() && isDigit(text[count]))
        ++count;
    if (digits)
        *digits = count;
    int32_t n = 0;
    if (count > 0 && std::from_chars(text.data(), text.data() + count, n).ec != std::errc())
        n = INT32_MAX;
    return n;
}

// A whole number with blanks and a sign allowed before it; nothing when the
// text does not begin with one or it does not fit into 32 bits.
inline std::optional<int32_t> readNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    int32_t n = 0;
    if (std::from_chars(text.data() + i, text.data() + text.size(), n).ec != std::errc())
        return std::nullopt;
    return n;
}

} // namespace kinmap
