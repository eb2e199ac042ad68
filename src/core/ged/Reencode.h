// Writing a file in UTF-8 that was read in another encoding, for changes
// its own encoding cannot hold.
#pragma once

namespace kinmap {

class Database;
struct GedFile;

// Turns the bytes kept of the current file into UTF-8: every line is
// decoded from the file's encoding (which loses nothing), the header's
// "1 CHAR" line says UTF-8, and the records' positions move with their
// lines. From then on every export writes UTF-8. False when the bytes
// cannot be read.
bool convertToUtf8(GedFile& file, Database& db);

} // namespace kinmap
