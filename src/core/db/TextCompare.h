// The shared text compare (case and accents folded, length bounded) and the
// case-insensitive prefix test of the searches, for UTF-8 texts.
#pragma once

#include <cstdint>
#include <string_view>

namespace kinmap {

// Compares at most n characters of a with b after folding both. Returns 0
// when they are equal up to the end of a or up to n characters, otherwise
// the difference of the first folded characters that differ. Null reads as
// empty. Latin-1 letters fold by a fixed table (Ä and á to a, Ø to the
// digit 0); every other letter by its Unicode case folding and base letter
// (Ł to l, ř to r, Ж to ж).
int32_t compareFolded(const char* a, const char* b, int n);

// The folded form of one character, as compareFolded compares it.
uint32_t foldedCharacter(char32_t c);

// Whether c is an upper-case letter, in any script (Ж, Σ and Ä are).
bool isUpperCaseLetter(char32_t c);

// Whether text begins with prefix, upper and lower case alike in every
// script (accents count). An empty prefix always matches.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

} // namespace kinmap
