// The commands of the EXTRAS menu (Find Errors, Duplicates, Islands) and
// the context menu's Merge and Relationship.
#pragma once

#include <cstdint>
#include <string>

namespace kinmap {

class Session;

// Find Errors: the options dialog, then the check; its findings are shown
// in the Report tab.
void findErrorsCommand(Session& session);
// The check with the session's options; the error list shows its findings.
void runErrorCheck(Session& session);

// Duplicates: the dialog, then the search with its options.
void duplicatesCommand(Session& session);
// The search with the kept options; the Report tab shows how it ended.
void runDuplicateSearch(Session& session);
// "Merge now" and "Cancel" of the candidate list.
int mergeCheckedCandidates(Session& session);
void closeCandidates(Session& session);

// Merge: the current person is kept, the person that was current before
// is merged into it.
void mergeCommand(Session& session);

// Islands: the table anew and the Report tab.
void islandsCommand(Session& session);
// A row picked: its first person is current; the status bar tells about it.
void pickIsland(Session& session, int row);
// The status bar tells about the island of a row (the row the list shows
// selected).
void showIslandStatus(Session& session, int row);

// Relationship: from the current to the previous person.
void relationshipCommand(Session& session);

} // namespace kinmap
