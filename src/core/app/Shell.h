// The shell's own rules: the no-data state, the recent-files list and the
// question before unexported changes are discarded.
#pragma once

#include <string>

namespace kinmap {

class Session;

// Back to the state before any import: data commands off, counters and
// highest numbers 0, report empty, status texts of a fresh start.
void resetToNoData(Session& session);
// Turns on the commands that need data.
void enableDataCommands(Session& session);

// Moves path to the front of the recent files (compared ignoring case); a
// new path pushes out the oldest of four.
void addRecentFile(Session& session, const std::string& path);

// At program exit: the working journal that no GED rewrite has moved
// beside a written file is deleted with the changes it describes.
void deleteWorkingJournal(Session& session);

} // namespace kinmap
