// SEARCH / Find and Replace: the first occurrence of a text in the given
// names, the surnames or the places of the whole database replaced by
// another (or only listed, when the replacement is empty). Every changed
// person and family is marked for the export and journalled; the run is one
// step of undo.
#pragma once

#include <functional>
#include <string>

namespace kinmap {

class Workspace;

struct ReplaceOptions {
    static constexpr size_t maxTextLength = 49; // bytes
    static constexpr int kindCount = 8;
    std::string find, by;
    int kind = 0; // "Given", "Surname", "All Places", "Birth Places", ... "Marriage Places"
};

const char* replaceKindName(int kind);

// A GED line holding a replaced text may not grow longer than this.
constexpr size_t maxGedLineLength = 255;

struct ReplaceResult {
    int hits = 0;    // replaced, or only listed when the replacement is empty
    int refused = 0; // listed as "not replaced"
};
// Runs the options once (cutting the texts to their length) and reports
// each hit.
ReplaceResult replaceAll(Workspace& workspace, ReplaceOptions& options);

} // namespace kinmap
