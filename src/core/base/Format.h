// printf-style formatting into std::string, for texts that are shown or
// written. A zero byte that a "%c" would put into the middle of the text
// becomes a blank, so that no text is cut short where it is shown.
#pragma once

#include <cstdarg>
#include <string>

#define KINMAP_PRINTF(formatIndex, firstArg) __attribute__((format(printf, formatIndex, firstArg)))

namespace kinmap {

std::string vformatText(const char* format, va_list args);
std::string formatText(const char* format, ...) KINMAP_PRINTF(1, 2);

// Cuts text to at most maxBytes bytes without splitting a UTF-8 character.
void cutAtCharacter(std::string& text, size_t maxBytes);

// True when the first value that format reads from args is a number 0 or a
// null pointer; false for a format that reads no value.
bool firstValueIsZero(const char* format, va_list args);

} // namespace kinmap
