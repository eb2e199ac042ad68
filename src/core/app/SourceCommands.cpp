#include "app/SourceCommands.h"

#include "app/Session.h"
#include "app/Shell.h"
#include "ged/Sources.h"

namespace kinmap {

namespace {

// A short line of a source record is told once, as text.
SourceList sourcesOf(Session& s)
{
    SourceList list = readSources(s.gedFile);
    if (!list.shortLines.empty()) {
        std::string lines;
        for (const std::string& line : list.shortLines)
            lines += "\r\n" + line;
        s.ui.messageBox("SOURCES", "Lines of source records too short to read:" + lines, MessageIcon::information);
    }
    return list;
}

} // namespace

void sourcesCommand(Session& s)
{
    s.ui.showSources(sourcesOf(s));
}

void autoSourceCommand(Session& s)
{
    if (s.counts.selectedCount == 0) {
        s.ui.messageBox("", "Please make a selection of persons first!", MessageIcon::exclamation);
        return;
    }
    std::string& source = s.chosenSource;
    if (!s.ui.askAddSource(source, sourcesOf(s)) || source.empty())
        return;
    const std::string question = formatText("Sources are added directly into the GED file!\r\nProceed?\r\n\r\n"
                                            "(1 SOUR %s to %d selected persons)",
                                            source.c_str(), s.counts.selectedCount);
    if (!s.ui.askYesNo("ATTENTION!", question, MessageIcon::warning))
        return;
    if (!confirmWriteOverChangedFile(s, s.gedFile.path, "Auto-Source writes what kinmap read, with the new citations",
                                     "Go on?"))
        return;
    addSourceToSelection(s, source);
}

bool addSourceToSelection(Session& s, const std::string& source)
{
    if (s.gedFile.path.empty()) {
        s.errorBox("%s", "Sources are added to a GED file: export the new file first.");
        return false;
    }
    const CitationResult result =
        addSourceCitation(s, s.gedFile, source, [&s](int32_t rin) { return (s.db.persons[rin].flags & Flag::selected) != 0; });
    if (!result.written)
        return false;
    s.report.clear();
    s.report.append("1 SOUR %s added to %d persons in %s", source.c_str(), result.cited, s.gedFile.loadedName.c_str());
    if (result.notInFile != 0)
        s.report.append("\r\n%d selected persons are not in the file yet: export it, then add the source to them",
                        result.notInFile);
    s.setStatus(0, "%s", s.gedFile.loadedName.c_str());
    s.setStatus(1, "%d persons got the source", result.cited);
    return true;
}

} // namespace kinmap
