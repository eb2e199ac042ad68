// Every command that writes a GED file goes through here. An existing target
// is first renamed to a free backup name; the new file is written to a
// temporary file beside the target and takes the target's name only when
// every write, the flush to the disk and the close succeeded. When anything
// fails, the temporary file is removed and the backup gets the target's name
// back, so that target and backup stay as they were. The working journal
// then moves (or, for a partial file, is copied) beside the backup or the
// new file.
#pragma once

#include "ged/GedLineIO.h"

#include <string>

namespace kinmap {

class Workspace;


// "x.ged" with counter 0 gives "x.bak", with counter n "x.b%02d". The
// extension is the file name's part from its last '.'; a name without one
// gets the new extension appended.
std::string backupName(const std::string& target, int counter);
// The journal beside a backup ("x.b01" gives "x.l01") or beside a file
// without a numbered backup extension ("x.bak" or "x.ged" give "x.log").
std::string journalName(const std::string& backupOrTarget);

// The target is the current GED file, and another program has changed it
// on disk since its bytes were read (or written by the last export).
bool changedSinceRead(const GedFile& file, const std::string& target);

class GedRewrite {
public:
    GedRewrite(Workspace& workspace, const GedFile& file, const std::string& target);
    ~GedRewrite();
    GedRewrite(const GedRewrite&) = delete;
    GedRewrite& operator=(const GedRewrite&) = delete;

    // Backs up an existing target, opens the bytes of the current GED file
    // as they were read for reading and the temporary file for writing in
    // the current file's format. False, after telling
    // the user why, when any of it fails; nothing is changed then. Every
    // failure is told once, with the operating system's reason.
    bool open(GedInput& input, GedOutput& output);
    // Puts the written file in place (true) or, when writing failed or the
    // output cannot be closed, undoes everything and tells the user
    // ("save GED file failed" with the reason). `keepJournal` copies the
    // journal instead of moving it.
    bool finish(GedOutput& output, bool writtenCompletely, bool keepJournal);

    // Gives up a written output: the temporary file goes and the backup
    // gets the target's name back, without a message.
    void abandon(GedOutput& output);
    // The target as it is written (a symbolic link is followed).
    const std::string& target() const { return target_; }
    const std::string& backupPath() const { return backupPath_; }

private:
    void undo();

    Workspace& s_;
    const GedFile& file_;
    std::string target_, backupPath_, temporaryPath_;
};

} // namespace kinmap
