// One program run: the workspace every operation speaks through, the shell
// state (current file, person and view, recent files) and the state each
// subsystem keeps between commands (options, lists of the Report tab, the
// person list). Commands take the session; subsystems take only what they use.
#pragma once

#include "base/Workspace.h"
#include "check/Duplicates.h"
#include "check/Plausibility.h"
#include "edit/PersonForm.h"
#include "ged/Export.h"
#include "ged/TextEncoding.h"
#include "query/Counts.h"
#include "query/Replace.h"
#include "query/Selection.h"
#include "relations/Islands.h"
#include "views/Branches.h"
#include "views/ErrorListRows.h"
#include "views/Pedigree.h"
#include "views/PersonList.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace kinmap {

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
    int currentView = -1;
    int32_t currentPerson = 1;
    int32_t previousPerson = 0;
    int currentFamilyIndex = 0;  // of the current person's spouse families
    int currentParentsIndex = 0; // of its parents' families, in the Family tab
    std::vector<int32_t> chartHistory; // the probands of the Tree and Hourglass tabs, latest last
    int32_t lastHourglassProband = 0;
    uint32_t lastCommand = 0;
    std::array<std::string, 4> recentFiles; // newest first; empty = none
};

class Session : public Workspace {
public:
    explicit Session(UserInterface& ui);

    GedFile gedFile;
    UnmappableCharacters unmappable = UnmappableCharacters::ask;
    ShellState shell;
    SearchOptions searchOptions;
    CountOptions countOptions;
    ReplaceOptions replaceOptions;
    IslandRows islands;
    DuplicateSearch duplicates;
    CheckOptions checkOptions;
    ErrorList errors;
    ErrorListRows errorRows;
    CompletionLists completions;
    PersonList personList{db};
    std::string chosenSource; // the last source ADD SOURCE took
    Pedigree pedigree;
    Branches branches;
};

} // namespace kinmap
