#include "app/Shell.h"

#include "app/Session.h"
#include "ged/SafeWrite.h"

#include <algorithm>
#include <cstdio>
#include <strings.h>
#include <vector>

namespace kinmap {

void resetToNoData(Session& s)
{
    s.ui.dataCommandsEnabled(false);
    s.ui.clearView();
    s.ui.linksRepaired(0);
    s.personList.invalidate();
    s.setStatus(0, "%s", "Use Menu:  FILE / Import GED");
    s.setStatus(1, "%s", " ");
    s.setStatus(2, "%s", "\n");
    s.report.clear();
    ShellState& shell = s.shell;
    shell.lastCommand = 0;
    s.counts = {};
    shell.currentPerson = 1;
    shell.previousPerson = 0;
    s.islands.reset({});
    shell.currentFamilyIndex = 0;
    s.history.clear();
    Database& db = s.db;
    db.importedHighestMrin = db.importedHighestRin = db.highestMrin = db.highestRin = 0;
}

void showLoaded(Session& s)
{
    s.setStatus(0, "%s", loadedText(s.gedFile).c_str());
}

void enableDataCommands(Session& s)
{
    s.ui.dataCommandsEnabled(true);
}

void newDatabase(Session& s)
{
    resetToNoData(s);
    s.db.clear();
    s.gedFile = newGedFile(); // what its first export writes
    s.completions.build(s);
    s.setStatus(0, "%s", "Use Menu:  EDIT / Add New Person");
    enableDataCommands(s);
}

std::string discardQuestion(const Session& s)
{
    const ChangeCounts& counts = s.counts;
    const int32_t added = s.db.highestRin - s.db.importedHighestRin;
    if (added <= 0 && counts.mergeCount == 0 && counts.correctionCount == 0 && counts.replacementCount == 0 &&
        counts.editCount == 0)
        return {};
    // One clause per kind of change, each counted in one word.
    std::vector<std::string> parts;
    for (const auto& [count, word] : {std::pair{counts.mergeCount, "mergers"}, {counts.correctionCount, "corrections"},
                                      {counts.replacementCount, "replacements"}, {added, "new"}, {counts.editCount, "edits"}})
        if (count > 0)
            parts.push_back(formatText("%d %s", count, word));
    std::string text = "Changes have not yet been exported!\r\n(";
    for (size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? " " : ", ") + parts[i];
    return text + " )\r\n\r\n" + "Discard all changes?";
}

bool confirmDiscard(Session& s)
{
    const std::string question = discardQuestion(s);
    return question.empty() || s.ui.askYesNo("DISCARD CHANGES", question, MessageIcon::warning);
}

bool confirmWriteOverChangedFile(Session& s, const std::string& target, const char* written, const char* question)
{
    return !changedSinceRead(s.gedFile, target) ||
           s.ui.askYesNo("FILE CHANGED",
                         formatText("%s has been changed by another program since kinmap read it.\r\n"
                                    "%s; the file as it is now is kept as the backup.\r\n\r\n%s",
                                    target.c_str(), written, question),
                         MessageIcon::warning);
}

bool allowTabChange(Session& s, int view)
{
    if (s.db.highestRin == 0) {
        s.ui.messageBox("NO DATA", "Please do first\nFILE / Import\nor\nEdit / Add/ New Person", MessageIcon::information);
        return false;
    }
    if (view == selectionView) {
        bool anySelected = false;
        for (int32_t rin = 1; rin <= s.db.highestRin && !anySelected; ++rin)
            anySelected = (s.db.persons[rin].flags & Flag::selected) != 0;
        if (!anySelected) {
            s.ui.messageBox("NO DATA in SELECTION", "Please do first\n SEARCH / Persons or Events",
                            MessageIcon::information);
            return false;
        }
    }
    return true;
}

bool requireSelection(Session& s)
{
    if (s.counts.selectedCount != 0)
        return true;
    s.errorBox("No persons have been selected");
    return false;
}

void resetAfterExport(Session& s)
{
    Database& db = s.db;
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        db.persons[rin].flags &= ~(Flag::selected | Flag::errorsIgnored | Flag::changed);
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin)
        db.families[mrin].flags &= ~Flag::changed;
    // Persons added before the export are in the file now.
    db.importedHighestRin = db.highestRin;
    db.importedHighestMrin = db.highestMrin;
    s.report.clear();
    ShellState& shell = s.shell;
    s.counts = {};
    shell.lastCommand = 0;
    shell.currentPerson = 1;
    s.history.clear(); // the written file is the new starting point
    showView(s, listView);
}

void showView(Session& s, int view)
{
    ShellState& shell = s.shell;
    const Database& db = s.db;
    shell.currentView = view;
    if (shell.currentPerson < 0 || shell.currentPerson > db.highestRin)
        shell.currentPerson = 1;
    while (shell.currentPerson < db.highestRin && !db.isPerson(shell.currentPerson))
        ++shell.currentPerson;
    if (db.highestRin > 0)
        s.setStatus(2, "RIN: %d", shell.currentPerson);
    s.ui.showView(view);
}

void stepRound(int& index, int count)
{
    if (count > 0)
        index = (std::clamp(index, 0, count - 1) + 1) % count;
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
    s.journal.discardOwn();
}

} // namespace kinmap
