// The lines of one GED record (its level-0 line and every line up to the
// next level-0 line), each as UTF-8 text and as the bytes of the file.
#pragma once

#include "ged/GedLineIO.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kinmap {

// The first four characters of a tag as one number, characters in
// ascending byte order; a shorter tag ends in zero bytes.
constexpr uint32_t tagCode(std::string_view tag)
{
    uint32_t code = 0;
    for (size_t i = 0; i < tag.size() && i < 4; ++i)
        code |= uint32_t(static_cast<unsigned char>(tag[i])) << (8 * i);
    return code;
}

struct GedLine {
    int level;             // -1 for a line without a level number (an empty line, say)
    uint32_t tag;          // tagCode of the word after the level; 0 when there is none
    std::string_view text; // UTF-8, with its line end
    std::string_view raw;  // the bytes of the file, with its line end
    size_t valueStart;     // where the text after the tag begins (after one blank)
};

class GedRecord {
public:
    void clear();
    void add(std::string_view text, std::string_view raw);
    size_t size() const { return spans_.size(); }
    GedLine operator[](size_t i) const;
    bool empty() const { return spans_.empty(); }

private:
    struct Span {
        size_t text, textLength, raw, rawLength;
        int level;
        uint32_t tag;
        size_t valueStart;
    };
    std::string text_, raw_;
    std::vector<Span> spans_;
};

// Reads a file record by record.
class GedRecordReader {
public:
    explicit GedRecordReader(GedInput& input) : input_(input) {}
    // The next record; false at the end of the input. The first record of a
    // file starts with whatever line comes first.
    bool next(GedRecord& record);
    // Where the level-0 line of the record read last ends in the file.
    uint64_t firstLineEnd() const { return firstLineEnd_; }

private:
    GedInput& input_;
    std::string pendingText_, pendingRaw_;
    uint64_t pendingEnd_ = 0, firstLineEnd_ = 0;
    bool hasPending_ = false;
};

// Splits a line into level and tag as the export reads it.
GedLine parseGedLine(std::string_view text, std::string_view raw);

// Whether a line's value holds a pointer ("@…"). A link line without one
// names no record and is kept as it stands.
inline bool namesRecord(const GedLine& line)
{
    return line.text.find('@', line.valueStart) != std::string_view::npos;
}

// The line end of a text: "\r\n", "\n", "\r" or nothing.
std::string_view lineEndOf(std::string_view text);

} // namespace kinmap
