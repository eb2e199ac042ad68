// kinmap-cli output and input: Output to File of the List, Selection,
// Family and Pedigree tabs, and Input from File, on the imported file.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace kinmap {

class Session;
class TerminalUi;

// Writes the table to out, or to stdout; the selected persons' with
// selection. Returns the exit status (2 for options that are not valid).
// `lap` is called after each step with its name.
int runOutput(Session& session, const std::map<std::string, std::string>& options, bool selection, const std::string& out,
              const std::function<void(const char*)>& lap);

// Prints the preview of the table's changes and, without --dry-run, writes
// them into the GED file and prints the report. `lap`
// is called after each step with its name.
int runInput(Session& session, TerminalUi& ui, const std::string& tablePath, bool dryRun,
             const std::function<void(const char*)>& lap);

} // namespace kinmap
