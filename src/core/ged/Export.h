// Writing a new GED file from the current one and the database: records the
// database does not manage are copied byte for byte, selected persons and
// their families are copied or, when changed, rebuilt, and notes and sources
// are renumbered in the order in which the written lines first name them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kinmap {

class Session;

// Exports the persons for which `written` is true, and every family with
// such a husband or wife, into target (after a backup of an existing
// target). On success the target becomes the current GED file and every
// record's position points into it; false when a file could not be opened,
// read or written completely.
bool exportGed(Session& session, const std::string& target, const std::function<bool(int32_t rin)>& written);

// FILE / Partial Export: the selected persons. Refused while nobody is
// selected; a path without "ged" does nothing.
bool partialExportCommand(Session& session, const std::string& target);
// FILE / Export GED: every existing person.
bool exportAllCommand(Session& session, const std::string& target);

} // namespace kinmap
