// A person or family record rebuilt from its lines in the GED file and the
// values of the database. Lines whose value the database still holds are
// kept byte for byte; a managed line (NAME, SEX, the event dates and places,
// GIVN and SURN of a changed name) is written anew only where the database
// now says something else; link lines follow the database's lists, each
// keeping the lines beneath it. The lines are put in a fixed order of tags.
#pragma once

#include "ged/GedRecord.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kinmap {

class Database;
struct NameParts;

enum class RecordKind { person, family };

// One line of a written record: a line of the input as it stood, or a new
// line (UTF-8, without its line end).
struct ImageLine {
    int level = 0;
    uint32_t tag = 0;
    std::string_view text;    // of an input line (UTF-8, with its line end)
    std::string_view raw;     // of an input line: its bytes
    std::string newText;      // of a new line
    std::string_view lineEnd; // of a new line
    bool isNew = false;

    static ImageLine input(const GedLine& line) { return {line.level, line.tag, line.text, line.raw, {}, {}, false}; }
    static ImageLine created(int level, std::string_view tag, std::string text, std::string_view lineEnd)
    {
        return {level, tagCode(tag), {}, {}, std::move(text), lineEnd, true};
    }
};

// Which linked records a written record may name; no filter names all.
struct LinkFilter {
    std::function<bool(int32_t mrin)> family;
    std::function<bool(int32_t rin)> person;
};

// The slot of a level-1 tag: the order in which a rebuilt record is
// written. Tags of the other kind of record, and unknown tags, go last (60).
int tagSlot(RecordKind kind, uint32_t tag);

// Rebuilds a record from its lines (the level-0 line first; none for a
// record that has no lines in the file) with the database's values. New
// lines get lineEnd.
std::vector<ImageLine> rewriteRecord(const Database& db, RecordKind kind, int32_t number, const std::vector<GedLine>& lines,
                                     const LinkFilter& filter, std::string_view lineEnd);

// Which of a person's record lines the import read the name from: the last
// NAME line with slashes, else the first; -1 when there is none.
long importedNameLine(const std::vector<GedLine>& lines);
// That line ("1 NAME …", the value read) with the name changed to given name
// and surname: a part that did not change keeps the file's spelling, and
// what follows the surname stays.
std::string renamedNameLine(const NameParts& read, std::string_view given, std::string_view surname);
// A GIVN or SURN line beneath the renamed line: its new text, an empty text
// when it goes, or nothing when it stays as it is.
std::optional<std::string> renamedPartLine(const GedLine& line, std::string_view given, std::string_view surname);

} // namespace kinmap
