// The commands of the views: when the rows of the List and Selection tabs
// are rebuilt, what the status bar says, what a click on a row does, and
// the error list's Remove.
#pragma once

#include "views/Pedigree.h"

#include <cstdint>

namespace kinmap {

class Session;

// Show List (selection false) and Show Selection: rebuilds the rows where
// needed and writes the status bar. False when there is no row to show.
bool preparePersonList(Session& session, bool selection);

// A click on a row: its person becomes the current one (the one before
// becomes the previous person) and the status bar shows its RIN.
void clickPerson(Session& session, int32_t rin);

// The Pedigree tab for the current person: builds the rows and writes the
// status bar. False, after the "ERROR" box, on an overflow.
bool preparePedigree(Session& session);
// The implex view of an implex row of the pedigree: its two lines of
// descent; the status bar names the couple in which they meet.
ImplexText prepareImplexView(Session& session, int row);
// The Branches tab for the current person's surname, with the status bar.
// False when the person has no surname (no tree then).
bool prepareBranches(Session& session);

// "&Remove error" of the error list: the finding leaves the list, and its
// person's errors are ignored by later runs. False for a row that is not
// there.
bool removeErrorRow(Session& session, int row);

} // namespace kinmap
