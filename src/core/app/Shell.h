// The shell's own rules: the no-data state, the recent-files list and the
// question before unexported changes are discarded.
#pragma once

#include <string>

namespace kinmap {

class Session;

// Back to the state before any import: data commands off, counters and
// highest numbers 0, report empty, status texts of a fresh start.
void resetToNoData(Session& session);
// Status part 0 while the data of a file is shown: "x.ged loaded, read as
// UTF-8 (from the header)".
void showLoaded(Session& session);

// Turns on the commands that need data.
void enableDataCommands(Session& session);

// The New command (after the discard question): an empty database to which
// persons can be added.
void newDatabase(Session& session);

// The question before unexported changes are lost, or an empty text when
// there are none (no merges, corrections, replacements or new persons).
std::string discardQuestion(const Session& session);
// Asks that question when there is something to lose; true to go on. What
// is discarded is discarded by the command that goes on (an import or New
// starts from no data), so a command cancelled after the answer keeps the
// data as it was.
bool confirmDiscard(Session& session);

// Before a GED file is written over the current one after another program
// changed it on disk: "FILE CHANGED", naming what is written ("The export
// writes what kinmap read, with your changes") and asking `question`. True
// when the file did not change, or to go on.
bool confirmWriteOverChangedFile(Session& session, const std::string& target, const char* written, const char* question);

// Whether the user may switch to a tab: refused with "NO DATA" while there
// are no persons, and for the Selection tab while nobody is selected.
bool allowTabChange(Session& session, int view);

// False, after telling the user, while nobody is selected.
bool requireSelection(Session& session);

// After an export the exported state is the new starting point: no
// selection, no change marks, no counted changes; the List tab is shown.
void resetAfterExport(Session& session);

// Moves index to the next of count entries, round (an index out of range
// first moves into it); nothing when there are none.
void stepRound(int& index, int count);

// Makes view the current one: the current person moves to an existing
// person, and the window shows the view.
void showView(Session& session, int view);

// Moves path to the front of the recent files (compared ignoring case); a
// new path pushes out the oldest of four.
void addRecentFile(Session& session, const std::string& path);

// At program exit: the working journal that no GED rewrite has moved
// beside a written file is deleted with the changes it describes.
void deleteWorkingJournal(Session& session);

} // namespace kinmap
