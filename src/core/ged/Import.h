// Reading one GED file into the person and family tables in a single pass.
// The import keeps names, sex, the four person events and the marriage with
// date and place, the divorce mark, the links, every record's position in
// the file and the identifiers the file spells in its own way; everything
// else stays in the file for the export to copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kinmap {

class Workspace;
struct GedFile;

// A pointer that names no record ("1 CHIL @X1@" without a record @X1@):
// the import leaves it out.
struct DanglingLink {
    bool inFamily;       // else in a person
    int32_t number;      // of the record it stood in
    const char* tag;     // "CHIL"
    std::string pointer; // "@X1@"
};

struct ImportResult {
    bool loaded = false;
    bool tooBig = false;
    std::string reason; // why not, for the error box; empty when it was told already
    std::vector<DanglingLink> dangling;
};

// Reads the file at path into the emptied database, journals the import
// and reports what it read; the links are not yet checked. The file's
// format goes into `file`.
ImportResult importGed(Workspace& workspace, GedFile& file, const std::string& path);
// Reports the links left out as the link check reports a deleted record's,
// marks their records changed and returns how many there were.
int32_t reportDanglingLinks(Workspace& workspace, const std::vector<DanglingLink>& links);

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
