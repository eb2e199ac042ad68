// SEARCH / Sources and EXTRAS / Auto-Source: the sources of the current GED
// file, and a citation added to the records of the selected persons.
#pragma once

#include <string>

namespace kinmap {

class Session;

// The source browser over the current file's SOUR records.
void sourcesCommand(Session& session);
// Asks for the source (typed or picked in the browser) and, after the
// confirmation, rewrites the current GED file with "1 SOUR source" in the
// record of every selected person.
void autoSourceCommand(Session& session);
// The rewrite itself, without asking (kinmap-cli and the command above):
// false when nothing was written.
bool addSourceToSelection(Session& session, const std::string& source);

} // namespace kinmap
