// UTF-8, the form of every text inside kinmap: reading and writing code
// points, counting characters, and the Latin-1 view of kinmap-cli --raw.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kinmap {

constexpr char32_t replacementCharacter = 0xFFFD;

// The code point at p (p < end), advancing p past it. A byte that starts
// no valid sequence gives U+FFFD and advances one byte.
char32_t nextCodePoint(const char*& p, const char* end);
void appendUtf8(std::string& out, char32_t c);

// Whether text is valid UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view text);
// The byte length of the longest valid UTF-8 prefix of text.
size_t validUtf8Prefix(std::string_view text);

// The byte length of the plain ASCII prefix of text.
size_t asciiPrefix(std::string_view text);

// Characters (code points) in text.
size_t characterCount(std::string_view text);
// The first n characters of text.
std::string_view firstCharacters(std::string_view text, size_t n);

// UTF-8 as Latin-1, one "?" for each character outside it.
std::string utf8ToLatin1(std::string_view utf8);

} // namespace kinmap
