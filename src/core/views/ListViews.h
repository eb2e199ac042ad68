// The List and Selection tabs as the session sees them: when their rows are
// rebuilt, what the status bar says, what a click on a row does.
#pragma once

#include <cstdint>

namespace kinmap {

class Session;

// Show List (selection false) and Show Selection: rebuilds the rows where
// needed and writes the status bar. False when there is no row to show.
bool preparePersonList(Session& session, bool selection);

// A click on a row: its person becomes the current one (the one before
// becomes the previous person) and the status bar shows its RIN.
void clickPerson(Session& session, int32_t rin);

} // namespace kinmap
