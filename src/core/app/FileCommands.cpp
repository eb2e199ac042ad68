#include "app/FileCommands.h"

#include "app/Session.h"
#include "app/Shell.h"
#include "check/LinkCheck.h"
#include "ged/Export.h"
#include "ged/Import.h"
#include "ged/Reencode.h"

namespace kinmap {

bool importCommand(Session& s, const std::string& path)
{
    if (!hasGedExtension(path)) {
        s.errorBox("\r\nFile %s has not extension .ged", path.c_str());
        return false;
    }
    const long long started = s.clock.seconds();
    resetToNoData(s);
    s.gedFile.path = path;
    s.gedFile.loadedName = fileNameOf(path);
    const char* name = s.gedFile.loadedName.c_str();
    s.setStatus(0, "Loading %s ...", name);

    const ImportResult result = importGed(s, s.gedFile, path);
    if (!result.loaded) {
        s.db.clear();
        s.report.clear(); // nothing it told of was loaded
        s.setStatus(0, "%s not loaded", name);
        if (result.tooBig)
            s.setStatus(1, "Maximum %d persons per GED file!", Database::maxPersons);
        else
            s.setStatus(1, "%s", "");
        if (!result.reason.empty())
            s.errorBox("\r\nLoading of GED file %s not possible: %s.\r\nPlease import another GED file", name,
                       result.reason.c_str());
        s.journal.discardOwn();
        return false;
    }
    if (s.shell.currentView == selectionView) {
        s.setStatus(0, "%s", "Selection");
        s.setStatus(1, "%d persons\t", s.personList.rowCount());
    } else {
        showLoaded(s);
        s.setStatus(1, "%s", "");
    }
    s.report.append("%s loaded in %d sec", name, static_cast<int>(s.clock.seconds() - started));
    const int32_t repairs = reportDanglingLinks(s, result.dangling) + checkAllLinks(s);
    if (repairs != 0) {
        s.report.append("\r\n\r\n%d errors corrected automatically!", repairs);
        s.report.append("%s", "\r\nPlease export to save changes!\r\n");
    }
    s.ui.linksRepaired(repairs);
    addRecentFile(s, path);
    s.completions.build(s);
    enableDataCommands(s);
    showView(s, listView);
    return true;
}

namespace {

// An export that meets characters the file's encoding cannot hold writes
// nothing until the user chose: the file in UTF-8, which holds them all, or
// no export; "?" only where the session says so.
bool exportWithEncoding(Session& s, const std::string& target, const std::function<bool(int32_t)>& written)
{
    std::vector<std::string> lines;
    const bool lossy = s.unmappable == UnmappableCharacters::replace;
    ExportOutcome outcome = exportGed(s, s.gedFile, target, written, lossy, &lines);
    if (outcome != ExportOutcome::unmappable)
        return outcome == ExportOutcome::written;
    const std::string question =
        formatText("%zu changed lines hold characters that %s cannot hold, such as:\r\n%s\r\n\r\n"
                   "Write the file in UTF-8, which holds every character (from now on)?\r\n"
                   "No writes nothing.",
                   lines.size(), encodingName(s.gedFile.format.encoding), lines.front().c_str());
    if (s.unmappable != UnmappableCharacters::writeUtf8 && !s.ui.askYesNo("CHARACTERS", question, MessageIcon::warning))
        return false;
    if (!convertToUtf8(s.gedFile, s.db)) {
        s.errorBox("Original GED file %s cannot be read again.", s.gedFile.path.c_str());
        return false;
    }
    return exportGed(s, s.gedFile, target, written, false) == ExportOutcome::written;
}

bool exportCommand(Session& s, const std::string& target, const std::function<bool(int32_t)>& written)
{
    if (!hasGedExtension(target)) {
        s.errorBox("\r\nFile %s has not extension .ged", target.c_str());
        return false;
    }
    if (!confirmWriteOverChangedFile(s, target, "The export writes what kinmap read, with your changes", "Export anyway?"))
        return false;
    s.report.clear();
    s.setStatus(0, "Export %s ...", fileNameOf(target).c_str());
    s.setStatus(1, "%s", "");
    s.setStatus(2, "%s", "");
    const bool complete = writesEveryPerson(s.db, written);
    if (!exportWithEncoding(s, target, written)) {
        s.setStatus(0, "%s not exported", fileNameOf(target).c_str());
        return false;
    }
    // After a partial export the full file is still the current one, and the
    // changes are not yet in it.
    const std::string notes(s.report.text(), static_cast<size_t>(s.report.length()));
    if (complete)
        resetAfterExport(s);
    s.setStatus(0, "%s exportiert", fileNameOf(target).c_str());
    if (!notes.empty()) {
        s.report.append("%s", notes.c_str());
        showView(s, reportView);
    }
    return true;
}

} // namespace

bool partialExportCommand(Session& s, const std::string& target)
{
    if (!requireSelection(s))
        return false;
    const Database& db = s.db;
    return exportCommand(s, target, [&db](int32_t rin) { return (db.persons[rin].flags & Flag::selected) != 0; });
}

bool exportAllCommand(Session& s, const std::string& target)
{
    return exportCommand(s, target, [](int32_t) { return true; });
}

} // namespace kinmap
