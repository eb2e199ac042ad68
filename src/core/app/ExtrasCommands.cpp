#include "app/ExtrasCommands.h"

#include "app/Commands.h"
#include "app/Session.h"
#include "app/Shell.h"
#include "app/ViewCommands.h"
#include "check/Merge.h"
#include "ged/PersonText.h"
#include "relations/Relationship.h"

namespace kinmap {

void findErrorsCommand(Session& s)
{
    if (!s.ui.askCheckOptions(s.checkOptions))
        return;
    s.shell.lastCommand = cmdFindErrors;
    runErrorCheck(s);
    // The findings as the journal has them, until the error list shows them.
    s.report.clear();
    s.report.append("%s", s.errors.journalEntry.c_str());
    showView(s, reportView);
}

void runErrorCheck(Session& s)
{
    s.personList.waitForWorker();
    checkPlausibility(s, s.checkOptions, s.errors, [&s](int32_t rin, const char* tag) {
        return eventDateText(s.db, s.gedFile, rin, tag);
    });
    s.errorRows.reset(s.errors);
}

void duplicatesCommand(Session& s)
{
    s.report.clear();
    s.duplicates.options = withMethod(s.duplicates.options);
    if (!s.ui.askDuplicateOptions(s.duplicates.options))
        return;
    s.shell.lastCommand = cmdDuplicates;
    runDuplicateSearch(s);
}

void runDuplicateSearch(Session& s)
{
    switch (searchDuplicates(s, s.duplicates, s.shell.currentPerson)) {
    case DuplicateOutcome::cancelled:
        return;
    case DuplicateOutcome::listed:
        s.shell.lastCommand = cmdDuplicates;
        break;
    case DuplicateOutcome::noneFound:
    case DuplicateOutcome::merged:
        s.shell.lastCommand = 0;
        break;
    }
    showView(s, reportView);
}

int mergeCheckedCandidates(Session& s)
{
    return mergeCheckedCandidates(s, s.duplicates);
}

void closeCandidates(Session& s)
{
    s.report.clear();
    s.shell.lastCommand = 0;
    s.duplicates.candidatesShown = false;
    showView(s, listView);
}

void mergeCommand(Session& s)
{
    EditScope undoable(s, "Merge");
    // Counted, so that the question before unexported changes are lost asks.
    if (mergePersonsManual(s, s.shell.currentPerson, s.shell.previousPerson) == MergeAnswer::yes)
        ++s.counts.mergeCount;
}

void islandsCommand(Session& s)
{
    s.report.clear();
    s.ui.progressStart();
    s.islands.reset(findIslands(s.db, [&s](int percent) { s.ui.progressAdvance(percent); }));
    s.ui.progressEnd();
    s.shell.lastCommand = cmdIslands;
    showView(s, reportView);
    pickIsland(s, 0);
}

void pickIsland(Session& s, int row)
{
    const Island* island = s.islands.islandAt(row);
    if (!island)
        return;
    clickPerson(s, island->firstPerson);
    showIslandStatus(s, row);
}

void showIslandStatus(Session& s, int row)
{
    const Island* island = s.islands.islandAt(row);
    if (!island)
        return;
    s.setStatus(0, "Island nr.%d of %d", row + 1, s.islands.rowCount());
    const PersonRecord& first = s.db.persons[island->firstPerson];
    const Text given = first.given, surname = first.surname;
    s.setStatus(1, "%s", formatText("%d Persons (%d Families). 1st Person: %s %s", island->persons, island->families,
                                    given ? given : "", surname ? surname : "")
                             .c_str());
}

void relationshipCommand(Session& s)
{
    s.shell.lastCommand = 0;
    s.report.clear();
    const int32_t current = s.shell.currentPerson, previous = s.shell.previousPerson;
    if (!s.db.isPerson(current) || !s.db.isPerson(previous)) {
        s.ui.messageBox("RELATIONSHIP", "Click on one person, then on the other, and ask again.", MessageIcon::information);
        return;
    }
    s.report.append("%s", relationshipReport(s.db, current, previous).c_str());
    showView(s, reportView);
}

} // namespace kinmap
