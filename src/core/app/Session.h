// One program run: the database, the report, the change journal, the shell
// state and the user interface they report to. Every command takes the
// session it works on.
#pragma once

#include "app/Format.h"
#include "app/ReportBuffer.h"
#include "app/UserInterface.h"
#include "check/Duplicates.h"
#include "check/Plausibility.h"
#include "edit/EditHistory.h"
#include "edit/PersonForm.h"
#include "db/Database.h"
#include "ged/ChangeJournal.h"
#include "ged/GedLineIO.h"
#include "query/Counts.h"
#include "query/Replace.h"
#include "query/Selection.h"
#include "relations/Islands.h"
#include "views/ErrorListRows.h"
#include "views/PersonList.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

namespace kinmap {

constexpr const char* programVersion = "2.7.9";

// Indexes of the nine views (tabs).
enum View : int {
    listView = 0,
    selectionView = 1,
    pedigreeView = 2,
    branchesView = 3,
    treeView = 4,
    hourglassView = 5,
    familyView = 6,
    personView = 7,
    reportView = 8,
};

struct ShellState {
    std::string currentGedPath;
    std::string loadedFileName;
    int currentView = -1;
    int32_t currentPerson = 1;
    int32_t previousPerson = 0;
    int currentFamilyIndex = 0; // of the current person's spouse families
    uint32_t lastCommand = 0;
    int32_t selectedCount = 0;
    int32_t mergeCount = 0;
    int32_t editCount = 0; // edits, link changes and deletions since the import or export
    int32_t correctionCount = 0;
    int32_t replacementCount = 0;
    std::array<std::string, 4> recentFiles; // newest first; empty = none
    FileFormat gedFormat;                   // of currentGedPath, detected by the import
};

// Wall-clock readings, replaceable so that tests get fixed stamps.
struct Clock {
    std::function<std::tm()> localTime;
    std::function<long long()> seconds;
    static Clock system();
};

class Session {
public:
    explicit Session(UserInterface& ui);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    UserInterface& ui;
    Database db;
    ReportBuffer report;
    ChangeJournal journal;
    ShellState shell;
    SearchOptions searchOptions;
    CountOptions countOptions;
    ReplaceOptions replaceOptions;
    IslandRows islands;
    DuplicateSearch duplicates;
    CheckOptions checkOptions;
    ErrorList errors;
    ErrorListRows errorRows;
    EditHistory history;
    CompletionLists completions;
    PersonList personList{db};
    Clock clock = Clock::system();

    // The modal error box; the report stays as it is. Returns 0.
    int errorBox(const char* format, ...) KINMAP_PRINTF(2, 3);
    void setStatus(int part, const char* format, ...) KINMAP_PRINTF(3, 4);

    // The i-th entry of a list; a bad index is shown as "Error: [i] count"
    // and the first entry (0 for an empty list) is used instead.
    int32_t entryAt(const IdList& list, int i);
};

} // namespace kinmap
