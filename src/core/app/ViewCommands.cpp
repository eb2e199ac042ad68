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

bool preparePedigree(Session& s)
{
    const Pedigree::Outcome outcome = s.pedigree.build(s.db, s.shell.currentPerson);
    if (outcome != Pedigree::Outcome::built) {
        s.errorBox("%s", Pedigree::overflowMessage(outcome));
        return false;
    }
    s.setStatus(0, "%s", "");
    s.setStatus(1, "%s", s.pedigree.countText().c_str());
    s.setStatus(2, "RIN: %d", s.shell.currentPerson);
    return true;
}

ImplexText prepareImplexView(Session& s, int row)
{
    ImplexText text = implexText(s.db, s.pedigree, implexLines(s.pedigree, row));
    s.setStatus(0, "%s", "implex");
    if (!text.couple.empty())
        s.setStatus(1, "%s", text.couple.c_str());
    return text;
}

bool prepareBranches(Session& s)
{
    const int32_t rin = s.shell.currentPerson;
    const Text surname = s.db.isPerson(rin) ? s.db.persons[rin].surname : nullptr;
    s.branches.build(s.db, surname ? surname : "");
    if (s.branches.items().empty()) {
        s.setStatus(0, "%s", "");
        s.setStatus(1, "%s", s.branches.countText().c_str());
        s.setStatus(2, "%s", "");
        return false;
    }
    s.setStatus(0, "NAME: %s", surname);
    s.setStatus(1, "%s", s.branches.countText().c_str());
    s.setStatus(2, "RIN: %d", rin);
    return true;
}

bool removeErrorRow(Session& s, int row)
{
    return s.errorRows.removeRow(s.db, s.errors, row);
}

} // namespace kinmap
