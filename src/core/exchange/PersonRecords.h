// Person records read one here, one there, from the bytes of the current
// GED file as the import read them, by where each record begins.
#pragma once

#include "ged/GedRecord.h"
#include "ged/TextEncoding.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kinmap {

class Database;

class PersonRecords {
public:
    PersonRecords(const Database& db, const GedFile& file);

    // The person's lines as UTF-8 texts: "0 @I12@ INDI" first, then the lines
    // of its record up to the next level-0 line (none for a person without a
    // record in the file). Valid until the next call.
    const std::vector<GedLine>& read(int32_t rin);

private:
    const Database& db_;
    GedInput input_;
    bool open_ = false;
    std::string texts_;
    std::vector<size_t> starts_;
    std::vector<GedLine> lines_;
};

} // namespace kinmap
