// The raw GED text of one person, read from the current GED file for the
// Person tab.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kinmap {

class Database;
class Workspace;
struct GedFile;

struct PersonGedText {
    std::string firstLine;   // "0 @I12@ INDI\r\n", or a note that there is no record
    std::string recordLines; // the record's lines as they stand in the file, as UTF-8 text
};

// Reads the lines of the person's record up to the next record. False when
// the file cannot be read (after the error box). A person without a record
// in the file (added since) gets a note in plain words instead.
bool readPersonGedText(Workspace& workspace, const GedFile& file, int32_t rin, PersonGedText& text);

// The value of the DATE line of a person's event ("BIRT") as the file
// writes it, trimmed; empty when the record has none.
std::string eventDateText(const Database& db, const GedFile& file, int32_t rin, std::string_view eventTag);

// The persons whose records in the file hold a line whose value points to
// the identifier ("1 ASSO @I12@"), in RIN order.
std::vector<int32_t> personsPointingTo(const Database& db, const GedFile& file, const std::string& identifier);

} // namespace kinmap
