// Commands that read the current GED file record by record (Output to
// File), or change it in place (Auto-Source, Input from File): they read it
// through once and write each record as it stands or with lines changed and
// added, through the safe writer.
#pragma once

#include "ged/GedRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kinmap {

class Workspace;

// Writes one record of a rewrite: its lines as their bytes stand, and new
// lines, encoded in the file's encoding with the file's line end.
class RecordWriter {
public:
    RecordWriter(GedOutput& output, const std::string& lineEnd) : output_(output), lineEnd_(lineEnd) {}
    void copy(const GedLine& line);
    void add(std::string_view utf8Text);

private:
    GedOutput& output_;
    const std::string& lineEnd_;
    bool lastEnded_ = true; // the line written last has its line end
};

// Reads the current GED file as the import read it, record by record, and
// gives each to `read` with what it is in the database (a RIN, an MRIN as a
// negative number, or 0); persons' lines come with their texts decoded.
// False, after telling why, when the bytes cannot be read.
bool readGedRecords(Workspace& workspace, const GedFile& file,
                    const std::function<void(const GedRecord& record, int32_t known)>& read);

// Rewrites the current GED file through the safe writer. `write` gets every
// record of the file in order with what it is in the database (a RIN, an
// MRIN as a negative number, or 0) after its level-0 line was written, and
// writes the rest; the lines' texts are their bytes but in UTF-16, enough
// to read levels and tags. Anything it does not write is left out. Once the
// new file is in place, the records' positions, the file's bytes and its
// stamp refer to it; on failure (told to the user) nothing changed and the
// result is false.
bool rewriteGedFile(Workspace& workspace, GedFile& file,
                    const std::function<void(const GedRecord& record, int32_t known, RecordWriter& writer)>& write);

} // namespace kinmap
