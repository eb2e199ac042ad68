// Reading one GED file into the person and family tables in a single pass.
// The import keeps names, sex, the four person events and the marriage with
// date and place, the divorce mark, the links, every record's position in
// the file and the identifiers the file spells in its own way; everything
// else stays in the file for the export to copy.
#pragma once

#include <cstdint>
#include <string>

namespace kinmap {

class Session;

// The Import command: checks the extension, resets to no data, imports,
// repairs the links and reports. Returns true when data was loaded.
bool importCommand(Session& session, const std::string& path);

// Whether a path names a GED file: its file name holds ".ged" in any case
// ("family.GED", "family.ged.bak").
bool hasGedExtension(const std::string& path);

// The progress bar and "%d%% done" of a long pass over a file: moves at
// most once per hundredth of the file.
class FileProgress {
public:
    FileProgress(Session& session, uint64_t fileSize);
    ~FileProgress();
    void advance(uint64_t position);

private:
    Session& session_;
    uint64_t size_;
    uint64_t step_;
    uint64_t next_;
};

} // namespace kinmap
