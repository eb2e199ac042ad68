#include "app/ViewCommands.h"

#include "app/Session.h"
#include "app/Shell.h"

namespace kinmap {

bool preparePersonList(Session& s, bool selection)
{
    PersonList& list = s.personList;
    if (selection || !list.isValid() || list.selectedOnly() || list.builtHighestRin() != s.db.highestRin ||
        list.rowCount() == 0)
        list.build(selection);
    if (list.rowCount() == 0) {
        if (selection)
            s.setStatus(1, "%d persons\t", 0); // the count says what the empty page shows
        return false;
    }
    if (selection) {
        s.setStatus(0, "%s", "Selection");
        s.setStatus(1, "%d persons\t", list.rowCount());
        list.forgetHighestRin(); // the next Show List builds its own rows
    } else {
        showLoaded(s);
        std::string counts = formatText("%d Persons\t", list.rowCount());
        if (s.counts.mergeCount != 0)
            counts += formatText("  %d mergers", s.counts.mergeCount);
        if (s.counts.correctionCount != 0)
            counts += formatText("  %d corrections", s.counts.correctionCount);
        s.setStatus(1, "%s", counts.c_str());
    }
    s.setStatus(2, "RIN: %d", s.shell.currentPerson);
    return true;
}

void clickPerson(Session& s, int32_t rin)
{
    ShellState& shell = s.shell;
    if (rin != shell.currentPerson)
        shell.previousPerson = shell.currentPerson;
    shell.currentPerson = rin;
    s.setStatus(2, "RIN: %d", rin);
}

bool removeErrorRow(Session& s, int row)
{
    return s.errorRows.removeRow(s.db, s.errors, row);
}

} // namespace kinmap
