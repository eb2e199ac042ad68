#include "app/ExchangeCommands.h"

#include "app/Commands.h"
#include "app/FileCommands.h"
#include "app/Session.h"
#include "app/Shell.h"
#include "exchange/TableOutput.h"

namespace kinmap {

bool outputPossible(Session& s, int view)
{
    switch (view) {
    case branchesView:
        s.errorBox("%s", "No Output to File possible for View 'Branches'!");
        return false;
    case treeView:
        s.errorBox("%s", "No Output to File possible for View 'Tree'!");
        return false;
    case hourglassView:
    case personView:
        s.errorBox("%s", "No output to file possible for this view !");
        return false;
    default:
        return view >= listView && view <= reportView;
    }
}

bool outputUsesTemplate(int view)
{
    return view == listView || view == selectionView;
}

std::vector<int32_t> listedPersons(Session& s, int view)
{
    PersonList& list = s.personList;
    const bool selection = view == selectionView;
    // The list as shown keeps its order; another one is built in RIN order.
    if (!list.isValid() || (view != familyView && list.selectedOnly() != selection))
        list.build(selection && view != familyView);
    list.waitForWorker();
    std::vector<int32_t> rins;
    rins.reserve(static_cast<size_t>(list.rowCount()));
    for (int row = 0; row < list.rowCount(); ++row)
        rins.push_back(list.rinAt(row));
    return rins;
}

std::string outputText(Session& s, int view, const std::string& templateText, TableFormat format)
{
    switch (view) {
    case listView:
    case selectionView:
        return templateTable(s, s.gedFile, listedPersons(s, view), parseTemplate(templateText).columns, format);
    case familyView:
        return familyTable(s, s.gedFile, listedPersons(s, view), format);
    case pedigreeView:
        return asSpreadsheetText(s.pedigree.fileText(s.db));
    default:
        break;
    }
    // The Report tab: the writer of what fills it.
    switch (s.shell.lastCommand) {
    case cmdFindErrors:
        return asSpreadsheetText(errorListText(s.errors, s.errorRows));
    case cmdIslands:
        return asSpreadsheetText(islandListText(s.db, s.islands));
    case cmdDuplicates:
        if (s.duplicates.candidatesShown)
            return asSpreadsheetText(candidateListText(s, s.duplicates));
        break;
    default:
        break;
    }
    return asSpreadsheetText(std::string_view(s.report.text(), static_cast<size_t>(s.report.length())));
}

bool outputToFileCommand(Session& s, int view, const std::string& path, const std::string& templateText)
{
    const std::string text = outputText(s, view, templateText, tableFormatOf(path));
    std::string reason;
    if (!writeWholeFile(path, text, reason)) {
        s.errorBox("%s cannot be written: %s", path.c_str(), reason.c_str());
        return false;
    }
    s.setStatus(0, view == familyView ? "%s ausgeben" : "%s output", fileNameOf(path).c_str());
    return true;
}

bool confirmInputFromFile(Session& s)
{
    if (s.gedFile.path.empty()) {
        s.errorBox("%s", "Input from File changes a GED file: export the new data first.");
        return false;
    }
    return s.ui.askYesNo("DATEN EINLESEN", "The GED file will be modofied directly!\r\nProceed?", MessageIcon::question) &&
           confirmDiscard(s);
}

std::optional<InputPlan> readInputTable(Session& s, const std::string& tablePath)
{
    std::string bytes, reason;
    if (!readWholeFile(tablePath, bytes, reason)) {
        s.errorBox("%s cannot be read: %s", tablePath.c_str(), reason.c_str());
        return std::nullopt;
    }
    InputPlan plan = planInput(s, s.gedFile, readTable(std::move(bytes)), reason);
    if (!reason.empty()) {
        s.errorBox("%s has no valid format for input\r\n(%s)", fileNameOf(tablePath).c_str(), reason.c_str());
        return std::nullopt;
    }
    return plan;
}

namespace {

void reportSkipped(Session& s, const InputPlan& plan)
{
    for (const SkippedInput& skipped : plan.skipped)
        s.report.append("\r\nskipped: line %d, %s: %s", skipped.line, skipped.where.c_str(), skipped.reason.c_str());
}

} // namespace

bool writeInputTable(Session& s, const InputPlan& plan, const std::string& tablePath)
{
    if (!applyInput(s, s.gedFile, plan, tablePath))
        return false;
    s.report.clear();
    s.report.append("%s input completed: %zu lines of %zu persons changed in %s", fileNameOf(tablePath).c_str(),
                    plan.changedLines(), plan.persons.size(), s.gedFile.loadedName.c_str());
    reportSkipped(s, plan);
    s.setStatus(0, "%s input completed", fileNameOf(tablePath).c_str());
    return true;
}

bool inputFromFileCommand(Session& s, const std::string& tablePath)
{
    const std::optional<InputPlan> plan = readInputTable(s, tablePath);
    if (!plan)
        return false;
    if (plan->persons.empty()) {
        s.report.clear();
        s.report.append("%s changes nothing in %s", fileNameOf(tablePath).c_str(), s.gedFile.loadedName.c_str());
        reportSkipped(s, *plan);
        showView(s, reportView);
        return false;
    }
    if (!s.ui.confirmInput(s.db, *plan))
        return false;
    if (!confirmWriteOverChangedFile(s, s.gedFile.path, "Input from File writes what kinmap read, with the table's changes",
                                     "Go on?"))
        return false;
    if (!writeInputTable(s, *plan, tablePath))
        return false;
    // The data is read again from the file as it is now, so that no export
    // brings back what the table changed.
    const std::string summary(s.report.text(), static_cast<size_t>(s.report.length()));
    const std::string gedPath = s.gedFile.path;
    if (!importCommand(s, gedPath))
        return false;
    s.report.append("\r\n\r\n%s", summary.c_str());
    s.shell.lastCommand = 0;
    showView(s, reportView);
    return true;
}

} // namespace kinmap
