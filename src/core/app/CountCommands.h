// The commands of the COUNT menu.
#pragma once

#include <cstdint>
#include <string>

namespace kinmap {

class Session;
enum class CountKind;

// The menu command: its dialog, then the count.
void countCommand(Session& session, CountKind kind);
// Counts with the kept options into the Report tab.
void runCount(Session& session, CountKind kind);

} // namespace kinmap
