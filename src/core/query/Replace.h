// SEARCH / Find and Replace: the first occurrence of a text in the given
// names, the surnames or the places of the whole database replaced by
// another (or only listed, when the replacement is empty). Every changed
// person and family is marked for the export and journalled; the run is one
// step of undo.
#pragma once

#include <functional>
#include <string>

namespace kinmap {

class Session;

struct ReplaceOptions {
    static constexpr size_t maxTextLength = 49; // bytes
    static constexpr int kindCount = 8;
    std::string find, by;
    int kind = 0; // "Given", "Surname", "All Places", "Birth Places", ... "Marriage Places"
};

const char* replaceKindName(int kind);

// A GED line holding a replaced text may not grow longer than this.
constexpr size_t maxGedLineLength = 255;

// Runs the kept options once; returns the number of hits.
int runReplace(Session& session);
// The menu command: the dialog, which stays open for one run after another.
void replaceCommand(Session& session);

} // namespace kinmap
