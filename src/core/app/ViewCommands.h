// The commands of the views: when the rows of the List and Selection tabs
// are rebuilt, what the status bar says, what a click on a row does, and
// the error list's Remove.
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

// "&Remove error" of the error list: the finding leaves the list, and its
// person's errors are ignored by later runs. False for a row that is not
// there.
bool removeErrorRow(Session& session, int row);

} // namespace kinmap
