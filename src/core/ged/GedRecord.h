// The lines of one GED record (its level-0 line and every line up to the
// next level-0 line), each as UTF-8 text and as the bytes of the file.
#pragma once

#include "ged/GedLineIO.h"

#include <cstdint>
#include <functional>
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

// A record's lines see the input's buffer, which keeps them until the next
// record is read; only lines whose text differs from their bytes (decoded
// from another encoding) keep a copy of their text here.
class GedRecord {
public:
    size_t size() const { return lines_.size(); }
    const GedLine& operator[](size_t i) const { return lines_[i]; }
    bool empty() const { return lines_.empty(); }

private:
    friend class GedRecordReader;
    struct Span {
        size_t raw, rawLength;
        size_t text, textLength; // in decoded_, or npos when the text is the bytes
        GedLine parsed;          // with views that are set when the record is complete
    };
    std::vector<GedLine> lines_;
    std::vector<Span> spans_;
    std::string decoded_;
};

// Reads a file record by record.
class GedRecordReader {
public:
    // With rawTexts, the lines of an encoding that writes ASCII as ASCII
    // (every one but UTF-16) are read without decoding their text: their
    // text is their bytes until decodeTexts is called for the record.
    explicit GedRecordReader(GedInput& input, bool rawTexts = false)
        : input_(input), rawTexts_(rawTexts && input.format().unitBytes() == 1)
    {
    }
    // The next record; false at the end of the input. The first record of a
    // file starts with whatever line comes first. The record's lines stay
    // valid until the next call. A record for whose first line's end
    // passOver is true is skipped unread (the record is left empty).
    bool next(GedRecord& record, const std::function<bool(uint64_t firstLineEnd)>& passOver = {});
    // Where the level-0 line of the record read last ends in the file.
    uint64_t firstLineEnd() const { return firstLineEnd_; }
    // Gives the lines of a record read with rawTexts their decoded texts.
    void decodeTexts(GedRecord& record) const;

private:
    void resolve(GedRecord& record, std::string_view bytes) const;

    GedInput& input_;
    bool rawTexts_;
    uint64_t firstLineEnd_ = 0;
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
inline std::string_view withoutLineEnd(std::string_view text)
{
    return text.substr(0, text.size() - lineEndOf(text).size());
}
// A line's value: what follows level, tag and one blank, without the line end.
inline std::string_view lineValue(const GedLine& line)
{
    const std::string_view text = withoutLineEnd(line.text);
    return line.valueStart < text.size() ? text.substr(line.valueStart) : std::string_view();
}

} // namespace kinmap
