// What every operation of the core works on and speaks through: the
// database, the report, the change journal, the undo history, the counts of
// unexported changes, the clock and the user interface. It holds no state
// of a command or a view; those belong to the session above.
#pragma once

#include "base/ChangeJournal.h"
#include "base/EditHistory.h"
#include "base/Format.h"
#include "base/ReportBuffer.h"
#include "base/UserInterface.h"
#include "db/Database.h"

#include <cstdint>
#include <ctime>
#include <functional>

namespace kinmap {

constexpr const char* programVersion = "2.7.9";

// Wall-clock readings, replaceable so that tests get fixed stamps.
struct Clock {
    std::function<std::tm()> localTime;
    std::function<long long()> seconds;
    static Clock system();
};

class Workspace {
public:
    explicit Workspace(UserInterface& ui);
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    UserInterface& ui;
    Database db;
    ReportBuffer report;
    ChangeJournal journal;
    EditHistory history;
    ChangeCounts counts;
    Clock clock = Clock::system();

    // The modal error box; the report stays as it is. Returns 0.
    int errorBox(const char* format, ...) KINMAP_PRINTF(2, 3);
    void setStatus(int part, const char* format, ...) KINMAP_PRINTF(3, 4);

    // The i-th entry of a list; a bad index is shown as "Error: [i] count"
    // and the first entry (0 for an empty list) is used instead.
    int32_t entryAt(const IdList& list, int i);
};

} // namespace kinmap
