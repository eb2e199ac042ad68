// Writing a new GED file from the current one and the database: records the
// database does not manage are copied byte for byte, the persons written and
// their families are copied or, when changed, rebuilt, and notes and sources
// are renumbered in the order in which the written lines first name them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kinmap {

class Database;
class Workspace;
struct GedFile;

// Exports the persons for which `written` is true, and every family with
// such a husband or wife, into target, through the safe writer. A complete
// export (every existing person) makes the target the current GED file and
// points every record's position into it; a partial one leaves the session
// as it was, so that the next export still has every record's lines.
// A character the file's encoding cannot hold is written as "?" and its
// line listed in the report when `lossy`; otherwise nothing is written and
// `unmappable` gets those lines.
enum class ExportOutcome { written, failed, unmappable };
// What an export command does with such characters: asks whether to write
// the file in UTF-8 (or cancel), writes UTF-8, or writes "?".
enum class UnmappableCharacters { ask, writeUtf8, replace };
ExportOutcome exportGed(Workspace& workspace, GedFile& file, const std::string& target,
                        const std::function<bool(int32_t rin)>& written, bool lossy,
                        std::vector<std::string>* unmappable = nullptr);

// Whether `written` holds for every existing person: such an export is
// complete and makes its target the current file.
bool writesEveryPerson(const Database& db, const std::function<bool(int32_t rin)>& written);

} // namespace kinmap
