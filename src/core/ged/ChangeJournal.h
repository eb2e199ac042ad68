// The working change journal: a plain text file beside the imported GED file
// to which imports and changes are appended as they happen. It is opened and
// closed for every write, so it is complete whenever the program ends, and
// every line feed is stored as CR LF.
#pragma once

#include "app/Format.h"

#include <cstddef>
#include <ctime>
#include <string>

namespace kinmap {

class ChangeJournal {
public:
    static constexpr size_t maxFormattedLength = 2000000;

    // "kinmap.log" in the folder of gedPath (or alone, without a folder).
    static std::string workingPathFor(const std::string& gedPath);

    // Appends a formatted text; nothing happens when the file cannot be opened.
    void write(const char* format, ...) KINMAP_PRINTF(2, 3);
    // Appends text as it is, a piece of the report for instance.
    void writeText(const char* text, size_t length);

    std::string workingPath;
};

// "Sa Dec  5 2026 14:07\r\n": the stamp of journal entries.
std::string journalStamp(const std::tm& localTime);

// The part of a path after its last '/' or '\\'.
std::string fileNameOf(const std::string& path);

} // namespace kinmap
