// A GED file is never overwritten in place: an existing target is first
// renamed to a free backup name, and the working journal moves beside the
// backup (or beside a new target) under a journal name.
#pragma once

#include <string>

namespace kinmap {

class GedInput;
class GedOutput;
class Session;

// "x.ged" with counter 0 gives "x.bak", with counter n "x.b%02d". The
// extension is the file name's part from its last '.'; a name without one
// gets the new extension appended.
std::string backupName(const std::string& target, int counter);
// The journal beside a backup ("x.b01" gives "x.l01") or beside a file
// without a numbered backup extension ("x.bak" or "x.ged" give "x.log").
std::string journalName(const std::string& backupOrTarget);

struct RewriteFiles {
    std::string readPath;   // the file to read: the backup when the target is the current file
    std::string backupPath; // empty when the target did not exist
};

// Backs up an existing target, opens the file to read and the target, and
// moves the working journal beside them. False (after the error box) when
// one of the files cannot be opened; then nothing has been written.
bool openForRewrite(Session& session, const std::string& target, GedInput& input, GedOutput& output,
                    RewriteFiles& files);

} // namespace kinmap
