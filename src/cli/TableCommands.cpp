#include "TableCommands.h"

#include "app/ExchangeCommands.h"
#include "app/Session.h"
#include "app/ViewCommands.h"
#include "TerminalUi.h"
#include "db/Numbers.h"
#include "exchange/Columns.h"

#include <cstdio>
#include <strings.h>

namespace kinmap {

namespace {

// "--sort surn": the column's order as a click on its header gives it
// (texts from Z, years from the earliest); ":desc" as a second click.
bool sortList(PersonList& list, const std::string& sort)
{
    const size_t colon = sort.find(':');
    const std::string title = sort.substr(0, colon);
    const std::string direction = colon == std::string::npos ? "" : sort.substr(colon + 1);
    if (direction != "" && direction != "desc")
        return false;
    for (int column = 0; column < PersonList::columnCount; ++column) {
        if (strcasecmp(PersonList::columnTitle(column), title.c_str()) != 0)
            continue;
        list.waitForWorker();
        if (list.sortColumn() != column)
            list.clickColumn(column);
        if ((list.sortDirection() < 0) != (direction == "desc"))
            list.clickColumn(column);
        return true;
    }
    return false;
}

} // namespace

int runOutput(Session& s, const std::map<std::string, std::string>& options, bool selection, const std::string& out,
              const std::function<void(const char*)>& lap)
{
    int view = selection ? selectionView : listView;
    if (options.count("--family"))
        view = familyView;
    if (const auto pedigree = options.find("--pedigree"); pedigree != options.end()) {
        const std::optional<int32_t> rin = readNumber(pedigree->second);
        if (!rin || !s.db.isPerson(*rin)) {
            fprintf(stderr, "kinmap-cli: --pedigree takes the RIN of a person\n");
            return 2;
        }
        s.shell.currentPerson = *rin;
        if (!preparePedigree(s))
            return 1;
        view = pedigreeView;
    }
    if (view != pedigreeView) {
        s.personList.build(view == selectionView);
        if (const auto sort = options.find("--sort"); sort != options.end() && !sortList(s.personList, sort->second)) {
            fprintf(stderr, "kinmap-cli: --sort takes a column of the List (RIN, Surn, Givn, Born, Birth place, Died, "
                            "Death place, 1st Marr, Marriage place), then :desc for the order reversed\n");
            return 2;
        }
        s.personList.waitForWorker(); // the List as the window has it by then
        lap("list");
    }
    const auto given = options.find("--template");
    const std::string templateText = given == options.end() ? defaultTemplate : given->second;
    const TableFormat format = options.count("--csv") || (!out.empty() && tableFormatOf(out) == TableFormat::commas)
                                   ? TableFormat::commas
                                   : TableFormat::tabs;
    if (out.empty()) {
        const std::string text = outputText(s, view, templateText, format);
        lap("output");
        fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    if (format == TableFormat::commas && tableFormatOf(out) != TableFormat::commas) {
        fprintf(stderr, "kinmap-cli: --csv writes a table whose name ends in .csv\n");
        return 2;
    }
    const bool written = outputToFileCommand(s, view, out, templateText);
    lap("output");
    return written ? 0 : 1;
}

int runInput(Session& s, TerminalUi& ui, const std::string& tablePath, bool dryRun,
             const std::function<void(const char*)>& lap)
{
    const std::optional<InputPlan> plan = readInputTable(s, tablePath);
    lap("input read");
    if (!plan)
        return 1;
    std::string preview = inputPreview(s.db, *plan);
    if (plan->persons.empty())
        preview = "The table changes nothing.\r\n" + preview;
    const std::string shown = ui.forTerminal(preview);
    fwrite(shown.data(), 1, shown.size(), stdout);
    lap("input preview");
    if (dryRun || plan->persons.empty())
        return 0;
    // The preview listed the changes; the report says where they went.
    const bool done = writeInputTable(s, *plan, tablePath);
    lap("input write");
    const std::string report = ui.forTerminal(std::string(s.report.text(), static_cast<size_t>(s.report.length())) + "\n");
    fwrite(report.data(), 1, report.size(), stdout);
    return done ? 0 : 1;
}

} // namespace kinmap
