#include "app/Shell.h"

#include "app/Session.h"

#include <algorithm>
#include <cstdio>
#include <strings.h>

namespace kinmap {

void resetToNoData(Session& s)
{
    s.ui.dataCommandsEnabled(false);
    s.setStatus(0, "%s", "Use Menu:  FILE / Import GED");
    s.setStatus(1, "%s", " ");
    s.setStatus(2, "%s", "\n");
    s.report.clear();
    ShellState& shell = s.shell;
    shell.lastCommand = 0;
    shell.mergeCount = shell.correctionCount = shell.replacementCount = shell.selectedCount = 0;
    shell.currentPerson = 1;
    Database& db = s.db;
    db.importedHighestMrin = db.importedHighestRin = db.highestMrin = db.highestRin = 0;
}

void enableDataCommands(Session& s)
{
    s.ui.dataCommandsEnabled(true);
}

void addRecentFile(Session& s, const std::string& path)
{
    auto& files = s.shell.recentFiles;
    auto found = std::find_if(files.begin(), files.end(),
                              [&](const std::string& f) { return !f.empty() && strcasecmp(f.c_str(), path.c_str()) == 0; });
    if (found == files.end())
        found = files.end() - 1; // the oldest falls out
    std::rotate(files.begin(), found, found + 1);
    files.front() = path;
    s.ui.recentFilesChanged();
}

void deleteWorkingJournal(Session& s)
{
    if (!s.journal.workingPath.empty())
        std::remove(s.journal.workingPath.c_str());
}

} // namespace kinmap
