#include "db/Utf8.h"

#include <cstdint>

namespace kinmap {

char32_t nextCodePoint(const char*& p, const char* end)
{
    const auto* s = reinterpret_cast<const unsigned char*>(p);
    const unsigned char c = s[0];
    if (c < 0x80) {
        ++p;
        return c;
    }
    int length = 0;
    char32_t cp = 0, minimum = 0;
    if (c >= 0xC2 && c <= 0xDF)
        length = 2, cp = c & 0x1F, minimum = 0x80;
    else if (c >= 0xE0 && c <= 0xEF)
        length = 3, cp = c & 0x0F, minimum = 0x800;
    else if (c >= 0xF0 && c <= 0xF4)
        length = 4, cp = c & 0x07, minimum = 0x10000;
    if (length == 0 || end - p < length) {
        ++p;
        return replacementCharacter;
    }
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            ++p;
            return replacementCharacter;
        }
        cp = cp << 6 | (s[i] & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++p;
        return replacementCharacter;
    }
    p += length;
    return cp;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

size_t asciiPrefix(std::string_view text)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    // Four words at a time, then the word that holds the first high byte.
    auto word = [](const char* at) {
        uint64_t w;
        __builtin_memcpy(&w, at, 8);
        return w;
    };
    constexpr uint64_t highBits = 0x8080808080808080ull;
    for (; end - p >= 32; p += 32)
        if ((word(p) | word(p + 8) | word(p + 16) | word(p + 24)) & highBits)
            break;
    for (; end - p >= 8; p += 8)
        if (word(p) & highBits)
            break;
    while (p < end && static_cast<unsigned char>(*p) < 0x80)
        ++p;
    return static_cast<size_t>(p - text.data());
}

size_t validUtf8Prefix(std::string_view text)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        p += asciiPrefix(std::string_view(p, static_cast<size_t>(end - p))); // most of every file
        if (p == end)
            break;
        const char* at = p;
        if (nextCodePoint(p, end) == replacementCharacter && p - at == 1)
            return static_cast<size_t>(at - text.data());
    }
    return text.size();
}

bool isValidUtf8(std::string_view text)
{
    return validUtf8Prefix(text) == text.size();
}

size_t characterCount(std::string_view text)
{
    size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::string_view firstCharacters(std::string_view text, size_t n)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    for (; n > 0 && p < end; --n)
        nextCodePoint(p, end);
    return text.substr(0, static_cast<size_t>(p - text.data()));
}

std::string utf8ToLatin1(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    const char* p = utf8.data();
    const char* const end = p + utf8.size();
    while (p < end) {
        const char32_t c = nextCodePoint(p, end);
        out += c < 0x100 ? static_cast<char>(c) : '?';
    }
    return out;
}

} // namespace kinmap
