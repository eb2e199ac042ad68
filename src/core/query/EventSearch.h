// SEARCH / Births, Deaths and Marriages: the events at a place (the
// beginning of its name, any case) within a span of years, earliest first,
// listed in the Report tab.
#pragma once

#include "query/Selection.h"

namespace kinmap {

class Workspace;

// Lists the events of this kind that match the place and the years of the
// options; returns how many were found.
int runEventSearch(Workspace& workspace, EventKind kind, const SearchOptions& options);

} // namespace kinmap
