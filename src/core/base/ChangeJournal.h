// The working change journal: a plain text file in the user's state folder
// ($XDG_STATE_HOME/kinmap, else ~/.local/state/kinmap) to which imports and
// changes are appended as they happen; an export moves it beside the
// written file. It is opened and closed for every write, so it is complete
// whenever the program ends (a crash leaves it in the state folder), and
// every line feed is stored as CR LF. A journal that this run did not
// create is never deleted or overwritten: names already taken are passed
// over for a free one beside them.
#pragma once

#include "base/Format.h"

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>

namespace kinmap {

class ChangeJournal {
public:
    static constexpr size_t maxFormattedLength = 2000000;

    ChangeJournal();
    // The journal of the next GED file: "kinmap.log" in the journal folder
    // (or a free name such as "kinmap-2.log"), created by the first write.
    // This run's journal of the file before is removed unless a written GED
    // file took it.
    void startNew();
    // The folder the working journal is kept in (the state folder unless set).
    void setFolder(const std::string& folder);
    // Appends a formatted text, or a text as it is (a piece of the report).
    void write(const char* format, ...) KINMAP_PRINTF(2, 3);
    void writeText(const char* text, size_t length);

    // Moves the working journal to `name` (or a free name beside it) and
    // returns the name it got, empty when there is no journal yet. The next
    // write starts a new working journal.
    std::string moveTo(const std::string& name);
    // The same, but the working journal stays and goes on.
    std::string copyTo(const std::string& name);
    // Deletes this run's working journal, with the changes it describes.
    void discardOwn();

    // Where the working journal is (empty before its first write).
    const std::string& workingPath() const { return path_; }
    // The last move or copy beside a written file failed (and was told).
    bool lastMoveFailed() const { return lastMoveFailed_; }

    // Told once per working journal when it cannot be written or moved.
    std::function<void(const std::string& message)> onFailure;
    // When set, gets a copy of every text written (with its own line ends).
    std::string* copy = nullptr;

private:
    void fail(const std::string& message);

    std::string folder_;
    std::string path_;
    bool failureTold_ = false;
    bool lastMoveFailed_ = false;
};

// "$XDG_STATE_HOME/kinmap/", else "$HOME/.local/state/kinmap/".
std::string stateFolder();

// "Sa Dec  5 2026 14:07\r\n": the stamp of journal entries.
std::string journalStamp(const std::tm& localTime);

// The part of a path after its last '/' or '\\', and the part up to it.
std::string fileNameOf(const std::string& path);
std::string folderOf(const std::string& path);

// path itself when no file has that name, otherwise the first free name of
// "stem-2.ext", "stem-3.ext", ...
std::string freeFileName(const std::string& path);

} // namespace kinmap
