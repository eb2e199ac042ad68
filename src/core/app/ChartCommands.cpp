#include "app/ChartCommands.h"

#include "app/Session.h"
#include "app/Shell.h"
#include "app/ViewCommands.h"
#include "edit/LinkEdits.h"

#include <algorithm>

namespace kinmap {

namespace {

constexpr size_t historySize = 99;

void showAgain(Session& s)
{
    showView(s, s.shell.currentView < 0 ? treeView : s.shell.currentView);
}

void push(ShellState& shell, int32_t rin)
{
    if (!shell.chartHistory.empty() && shell.chartHistory.back() == rin)
        return;
    if (shell.chartHistory.size() == historySize) // the oldest goes
        shell.chartHistory.erase(shell.chartHistory.begin());
    shell.chartHistory.push_back(rin);
}

} // namespace

Chart prepareChart(Session& s, ChartKind kind, int width, int height, int generations)
{
    ShellState& shell = s.shell;
    const int32_t proband = shell.currentPerson;
    if (shell.chartHistory.size() < 2 || shell.chartHistory.back() != proband)
        shell.chartHistory = {proband};
    Chart chart;
    if (kind == ChartKind::tree) {
        chart = buildTree(s.db, proband, width, height, generations);
    } else {
        // A new proband shows its first marriage, and clicks on the spouse's
        // place edit the marriage shown.
        if (proband != shell.lastHourglassProband)
            shell.currentFamilyIndex = 0;
        shell.lastHourglassProband = proband;
        chart = buildHourglass(s.db, proband, shell.currentFamilyIndex, width, height, generations);
    }
    showLoaded(s);
    s.setStatus(1, "%d persons\t", s.db.personCount);
    if (kind == ChartKind::hourglass && chart.spouse)
        s.setStatus(2, "RIN: %d   MRIN=%d", proband, chart.family);
    else
        s.setStatus(2, "RIN: %d", proband);
    return chart;
}

bool canGoBack(const Session& s)
{
    return s.shell.chartHistory.size() >= 2;
}

void stepHourglassMarriage(Session& s)
{
    ShellState& shell = s.shell;
    const int32_t p = shell.currentPerson;
    if (p != shell.lastHourglassProband || !s.db.isPerson(p))
        return;
    if (s.db.persons[p].fams.count() >= 2)
        stepRound(shell.currentFamilyIndex, s.db.persons[p].fams.count());
}

void chartBoxClicked(Session& s, const Chart& chart, int index)
{
    if (index < 0 || index >= static_cast<int>(chart.boxes.size()))
        return;
    const ChartBox& box = chart.boxes[static_cast<size_t>(index)];
    if (!box.placeholder()) {
        if (s.db.isPerson(box.id)) {
            if (chart.kind == ChartKind::hourglass && box.id == chart.proband)
                stepHourglassMarriage(s);
            clickPerson(s, box.id);
            push(s.shell, box.id);
        }
    } else if (box.id == missingSpouse) {
        if (s.db.isPerson(chart.proband))
            addNewSpouse(s, chart.proband, chart.family);
    } else if (box.hangsOn >= 0) {
        const int32_t child = chart.boxes[static_cast<size_t>(box.hangsOn)].id;
        if (s.db.isPerson(child))
            addNewParent(s, child, box.id == missingFather);
    }
    showAgain(s);
}

void chartBack(Session& s)
{
    auto& history = s.shell.chartHistory;
    if (history.size() < 2)
        return;
    history.pop_back();
    if (s.db.isPerson(history.back()))
        clickPerson(s, history.back());
    showAgain(s);
}

} // namespace kinmap
