// SEARCH / Births, Deaths and Marriages: the events at a place (the
// beginning of its name, any case) within a span of years, earliest first,
// listed in the Report tab.
#pragma once

#include "query/Selection.h"

namespace kinmap {

class Session;

// Lists the events of this kind that match the place and the years of the
// options; returns how many were found.
int runEventSearch(Session& session, EventKind kind, const SearchOptions& options);
// The menu command: its dialog (the years start empty), then the list.
void eventSearchCommand(Session& session, EventKind kind);

} // namespace kinmap
