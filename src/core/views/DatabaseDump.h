// The whole database as text, one line per record, so that two databases
// can be compared with diff (kinmap-cli import --dump).
#pragma once

#include <string>

namespace kinmap {

class Database;

std::string dumpDatabase(const Database& db);

} // namespace kinmap
