// The COUNT menu: how often each given name, surname and place occurs, and
// how many events fall into each period of years, as tab-separated tables
// in the Report tab with the total in the status bar.
#pragma once

#include <string>

namespace kinmap {

class Workspace;

enum class CountKind { given = 0, surname = 1, place = 2, events = 3 };

// Kept for the whole program run. The place filter is shared by the Places
// and the Events count; the selection switch by the three name counts and
// the period table of the Events count.
struct CountOptions {
    static constexpr size_t maxFilterLength = 49; // bytes
    std::string givenFilter, surnameFilter, placeFilter;
    bool onlySelection = false;
    int period = 0; // years; 0 or less: one table of places
};

// Counts with the options and writes the table and its total to the report
// and the status bar.
void writeCount(Workspace& workspace, const CountOptions& options, CountKind kind);

} // namespace kinmap
