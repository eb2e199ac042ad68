// Reading one GED file into the person and family tables in a single pass.
// The import keeps names, sex, the four person events and the marriage with
// date and place, the divorce mark, the links, every record's position in
// the file and the identifiers the file spells in its own way; everything
// else stays in the file for the export to copy.
#pragma once

#include <cstdint>
#include <string>

namespace kinmap {

class Workspace;
struct GedFile;

struct ImportResult {
    bool loaded = false;
    bool tooBig = false;
    std::string reason; // why not, for the error box; empty when it was told already
};

// Reads the file at path into the emptied database, journals the import
// and reports what it read; the links are not yet checked. The file's
// format goes into `file`.
ImportResult importGed(Workspace& workspace, GedFile& file, const std::string& path);

// Whether a path names a GED file: its file name holds ".ged" in any case
// ("family.GED", "family.ged.bak").
bool hasGedExtension(const std::string& path);

// The progress bar and "%d%% done" of a long pass over a file: moves at
// most once per hundredth of the file.
class FileProgress {
public:
    FileProgress(Workspace& session, uint64_t fileSize);
    ~FileProgress();
    void advance(uint64_t position);

private:
    Workspace& session_;
    uint64_t size_;
    uint64_t step_;
    uint64_t next_;
};

} // namespace kinmap
