// How the import reads a GED line: which lines it takes, at which byte a
// value starts, how numbers, names and texts are read. The export uses the
// same rules to tell whether the database still holds what a line says.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kinmap {

// 0, 1 or 2 for the lines the import handles (one digit, then no digit),
// otherwise -1.
int importLevel(std::string_view line);

// The four bytes of a tag from byte `at` on as one code; a fourth byte that
// is no letter (the blank or line end after a three-letter tag) is left
// out. 0 when the line ends before `at`.
uint32_t importTag(std::string_view line, size_t at);
constexpr uint32_t importTagOf(const char (&name)[5])
{
    return uint32_t(uint8_t(name[0])) | uint32_t(uint8_t(name[1])) << 8 | uint32_t(uint8_t(name[2])) << 16 |
           uint32_t(uint8_t(name[3])) << 24;
}
constexpr uint32_t importTagOf(const char (&name)[4])
{
    return uint32_t(uint8_t(name[0])) | uint32_t(uint8_t(name[1])) << 8 | uint32_t(uint8_t(name[2])) << 16;
}

// The value of a line from byte `at` on, up to its line end; empty when the
// line is shorter.
std::string_view valueAt(std::string_view line, size_t at);

// The identifier a line names after its tag, from "@" to "@" ("1 FAMS @F7@"
// gives "@F7@"); empty when there is none.
std::string_view pointerIn(std::string_view line);

// The pointer that is a line's whole value's start ("1 ASSO @I12@" gives
// "@I12@"): the value after level and tag begins with '@'. Empty when the
// value is no pointer (a NOTE text with an address in it is none).
std::string_view valuePointer(std::string_view line);

// A level-0 line split as the import reads it: the record's identifier
// (empty when there is none, as for "0 HEAD") and where its tag begins.
struct RecordLine {
    std::string_view identifier;
    size_t tagAt = 0;
};
RecordLine recordLine(std::string_view line);
// The trailer that ends a GED file: "0 TRLR". Import and export stop there.
bool isTrailer(std::string_view levelZeroLine);

// The given name and surname of a NAME value ("John /Smith/ Jr"). A value
// without a slash ("John Smith") is a given name whose surname is unknown,
// as GEDCOM reads it; nothing for a blank value. The parts are as they
// stand (not interned).
struct NameParts {
    std::string_view given;
    std::string_view surname;
    std::string_view afterSurname; // after the closing slash, up to the line end
    bool slashes = true;           // false for a value without a slash
};
std::optional<NameParts> nameParts(std::string_view value);

// The SEX value of a line (its seventh byte), or 0 when it has none.
unsigned char sexValue(std::string_view line);

} // namespace kinmap
