// The sources of the current GED file, which the database does not keep:
// the SOUR records as the source browser lists them, and Auto-Source, which
// adds a citation to the records of persons in the file itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kinmap {

class Workspace;
struct GedFile;

struct SourceRecord {
    std::string identifier; // as the file spells it: "@S12@"
    // Whole texts: CONC lines joined as they are, CONT lines after a line break.
    std::string title, author, publication, text, note;
};

struct SourceList {
    std::vector<SourceRecord> sources; // in the order of the file
    // Level-1 lines of source records too short to hold a tag and a value,
    // as they stand: told once, after reading.
    std::vector<std::string> shortLines;
};

// Every SOUR record of the file as kinmap read or last wrote it, wherever
// it stands before the trailer; each with its own lines only.
SourceList readSources(const GedFile& file);
// "SOUR: @S1@\r\nTITL: …\r\n…": the details the browser shows.
std::string sourceDetails(const SourceRecord& source);
// The source whose identifier is text, or whose identifier's number is the
// number typed ("12" finds "@S12@"); -1 for none.
int findSource(const std::vector<SourceRecord>& sources, const std::string& text);

struct CitationResult {
    bool written = false;
    int cited = 0;      // persons whose record got the citation
    int notInFile = 0;  // persons chosen that have no record in the file yet
};
// Rewrites the current GED file through the safe writer with "1 SOUR
// source" in the record of every person for which `cite` holds: before its
// "1 CHAN" line, else at its end, in the file's encoding and line ends.
// Every other byte stays as it was; the records' positions follow the new
// file only when it was written. Refused, after telling why, when the file's
// encoding cannot hold the source text.
CitationResult addSourceCitation(Workspace& workspace, GedFile& file, const std::string& source,
                                 const std::function<bool(int32_t rin)>& cite);

} // namespace kinmap
