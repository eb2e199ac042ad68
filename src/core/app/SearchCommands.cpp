#include "app/SearchCommands.h"

#include "app/Commands.h"
#include "app/Session.h"
#include "app/Shell.h"
#include "query/EventSearch.h"

namespace kinmap {

void searchPersonsCommand(Session& s)
{
    SearchOptions& o = s.searchOptions;
    o.periodFrom = o.periodTo = o.rinFrom = o.rinTo = 0;
    if (!s.ui.askSearchPersons(o))
        return;
    searchPersons(s, o);
    showView(s, selectionView);
    if (s.counts.selectedCount == 0)
        s.setStatus(0, "%s", "No person found");
}

void searchEventsCommand(Session& s)
{
    SearchOptions& o = s.searchOptions;
    o.periodFrom = o.periodTo = 0;
    o.eventKind = EventKind::birth;
    if (!s.ui.askSearchEvents(o))
        return;
    searchEvents(s, o);
    showView(s, selectionView);
    if (s.counts.selectedCount == 0)
        s.setStatus(0, "%s", "No person found");
}

void selectionCommand(Session& s, uint32_t command, int32_t rin)
{
    if (rin == 0)
        return;
    const bool select = command <= cmdSelectAll;
    int generations = 0, following = 0;
    switch (command) {
    case cmdSelectPerson:
    case cmdDeselectPerson:
        markPerson(s, rin, select);
        break;
    case cmdSelectAncestors:
    case cmdDeselectAncestors:
        if (!s.ui.askGenerations("SELECT ANCESTORS", true, generations, following))
            return;
        selectAncestors(s, rin, generations, following, select);
        break;
    case cmdSelectDescendants:
    case cmdDeselectDescendants:
        if (!s.ui.askGenerations("SELECT DESCENDANTS", false, generations, following))
            return;
        selectDescendants(s, rin, generations, select);
        break;
    case cmdSelectAll:
    case cmdDeselectAll:
        markAll(s, select);
        break;
    default:
        return;
    }
    if (command == cmdDeselectAll) {
        s.db.rowsChanged();
        showView(s, listView);
    } else {
        showView(s, selectionView);
    }
}

void eventSearchCommand(Session& s, EventKind kind)
{
    static constexpr const char* titles[] = {"SEARCH BIRTHS", "SEARCH DEATHS", "SEARCH MARRIAGES"};
    SearchOptions& o = s.searchOptions;
    s.report.clear();
    o.periodFrom = o.periodTo = 0;
    if (!s.ui.askEventList(titles[static_cast<int>(kind)], o))
        return;
    cutAtCharacter(o.place, SearchOptions::maxPatternLength);
    if (o.place.empty() && o.periodFrom == 0 && o.periodTo == 0) {
        s.errorBox("%s", "\r\nat least one argument needed");
        return;
    }
    s.shell.lastCommand = cmdSearchBirths + static_cast<uint32_t>(kind);
    s.report.clear();
    runEventSearch(s, kind, o);
    showView(s, reportView);
}

void replaceCommand(Session& s)
{
    s.report.clear();
    s.ui.showReplaceDialog(s.replaceOptions, [&s] {
        s.report.clear();
        runReplace(s);
    });
}

int runReplace(Session& s)
{
    const ReplaceResult result = replaceAll(s, s.replaceOptions);
    if (result.hits != 0 || result.refused != 0)
        showView(s, reportView);
    return result.hits;
}

} // namespace kinmap
