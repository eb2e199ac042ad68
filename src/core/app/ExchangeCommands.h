// FILE / Output to File and Input from File: what the shown tab writes into
// a table a spreadsheet opens, and a person table written back into the
// current GED file.
#pragma once

#include "exchange/TableInput.h"
#include "exchange/TableText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kinmap {

class Session;

// False, after the message, for a tab that has nothing to write.
bool outputPossible(Session& session, int view);
// The List and Selection tabs write the columns of a template.
bool outputUsesTemplate(int view);
// The persons of the List or Selection tab (the Family tab writes those of
// the list as last shown), in the order shown.
std::vector<int32_t> listedPersons(Session& session, int view);
// What the tab writes: the template table, the family table, the pedigree
// or the writer of what fills the Report tab, as a spreadsheet opens it.
std::string outputText(Session& session, int view, const std::string& templateText, TableFormat format);
// Writes it to path (commas for ".csv"); false after telling why.
bool outputToFileCommand(Session& session, int view, const std::string& path, const std::string& templateText);

// The question before the GED file is changed directly, then the one before
// unexported changes are discarded; true to go on.
bool confirmInputFromFile(Session& session);
// Reads and checks a table and plans its changes; nothing after telling why
// the table cannot be read.
std::optional<InputPlan> readInputTable(Session& session, const std::string& tablePath);
// Writes the planned changes into the current GED file and reports them;
// false when nothing was written.
bool writeInputTable(Session& session, const InputPlan& plan, const std::string& tablePath);
// The whole command after the file dialog: the preview, on Apply the
// rewrite, then the file is read again so that the data shows what it holds
// now, and the report tells what changed.
bool inputFromFileCommand(Session& session, const std::string& tablePath);

} // namespace kinmap
