// kinmap-cli edit: a text file of edits applied through the operations of
// the window, one per line.
#pragma once

#include <functional>
#include <string>

namespace kinmap {

class Session;
class TerminalUi;

// Runs the script; prints each edit's journal lines (or, for "new", the
// new RIN) through print and tells refusals on stderr. False when any
// edit was refused.
bool runEditScript(Session& session, TerminalUi& ui, const std::string& script,
                   const std::function<void(const std::string&)>& print);

} // namespace kinmap
