// The commands of the FILE menu that read and write GED files.
#pragma once

#include <string>

namespace kinmap {

class Session;

// FILE / Import GED: checks the extension, resets to no data, imports,
// repairs the links and reports. Returns true when data was loaded.
bool importCommand(Session& session, const std::string& path);

// FILE / Partial Export: the selected persons. Refused (with a message)
// while nobody is selected and for a name without the extension .ged.
bool partialExportCommand(Session& session, const std::string& target);
// FILE / Export GED: every existing person.
bool exportAllCommand(Session& session, const std::string& target);

} // namespace kinmap
