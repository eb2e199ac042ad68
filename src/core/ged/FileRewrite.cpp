#include "ged/FileRewrite.h"

#include "base/Workspace.h"
#include "ged/Import.h"
#include "ged/SafeWrite.h"

#include <vector>

namespace kinmap {

namespace {

// The records of the database known by where their level-0 lines end, met
// one after another in the database's file order; where each lands in a new
// file is taken over only when the new file is in place.
class RecordPositions {
public:
    explicit RecordPositions(const Database& db) : db_(db), moved_(db.fileOrder.size(), 0) {}

    // The record whose level-0 line ends there (asked with rising positions).
    int32_t recordAt(uint64_t firstLineEnd)
    {
        while (next_ < db_.fileOrder.size() && offsetOf(next_) < firstLineEnd)
            ++next_;
        return next_ < db_.fileOrder.size() && offsetOf(next_) == firstLineEnd ? db_.fileOrder[next_] : 0;
    }
    // The record found last has its level-0 line end there in the new file.
    void movedTo(uint64_t newFirstLineEnd) { moved_[next_] = newFirstLineEnd; }
    void takeOver(Database& db) const
    {
        for (size_t i = 0; i < db.fileOrder.size(); ++i) {
            const int32_t known = db.fileOrder[i];
            (known > 0 ? db.persons[known].fileOffset : db.families[-known].fileOffset) = moved_[i];
        }
    }

private:
    uint64_t offsetOf(size_t i) const
    {
        const int32_t known = db_.fileOrder[i];
        return known > 0 ? db_.persons[known].fileOffset : db_.families[-known].fileOffset;
    }

    const Database& db_;
    std::vector<uint64_t> moved_; // by file order
    size_t next_ = 0;
};

// Reads the input through, record by record, with what each record is;
// persons' lines with their texts when `decode`.
void readRecords(Workspace& s, GedInput& input, RecordPositions& positions, bool decode,
                 const std::function<void(const GedRecord& record, int32_t known)>& read)
{
    FileProgress progress(s, input.size());
    GedRecordReader reader(input, true);
    GedRecord r;
    while (reader.next(r)) {
        if (r.empty())
            continue;
        progress.advance(input.position());
        const int32_t known = positions.recordAt(reader.firstLineEnd());
        if (decode && known > 0)
            reader.decodeTexts(r);
        read(r, known);
    }
}

} // namespace

void RecordWriter::copy(const GedLine& line)
{
    output_.writeRaw(line.raw);
    lastEnded_ = !lineEndOf(line.text).empty();
}

void RecordWriter::add(std::string_view utf8Text)
{
    if (!lastEnded_) // a last line without its end gets one before anything follows it
        output_.writeText({}, lineEnd_);
    output_.writeText(utf8Text, lineEnd_);
    lastEnded_ = true;
}

bool readGedRecords(Workspace& s, const GedFile& file, const std::function<void(const GedRecord& record, int32_t known)>& read)
{
    GedInput input;
    if (!input.open(file.bytes, file.format)) {
        s.errorBox("Original GED file %s cannot be read: %s", file.path.c_str(), input.error().c_str());
        return false;
    }
    RecordPositions positions(s.db);
    readRecords(s, input, positions, true, read);
    return !input.failed();
}

bool rewriteGedFile(Workspace& s, GedFile& file,
                    const std::function<void(const GedRecord& record, int32_t known, RecordWriter& writer)>& write)
{
    GedInput input;
    GedOutput output;
    GedRewrite rewrite(s, file, file.path);
    if (!rewrite.open(input, output))
        return false;
    FileBytes written;
    written.reserve(file.bytes->size() + file.bytes->size() / 16);
    output.keepCopy(&written);
    if (file.format.markLength > 0) // the byte order mark as it stands
        output.writeRaw(std::string_view(file.bytes->data(), file.format.markLength));

    RecordPositions positions(s.db);
    std::string lineEnd;
    readRecords(s, input, positions, false, [&](const GedRecord& r, int32_t known) {
        if (lineEnd.empty()) { // new lines end as the file's first line does
            const std::string_view end = lineEndOf(r[0].text);
            lineEnd = end.empty() ? "\r\n" : std::string(end);
        }
        RecordWriter writer(output, lineEnd);
        writer.copy(r[0]);
        if (known != 0)
            positions.movedTo(output.bytesWritten());
        write(r, known, writer);
        output.flushJoined(); // the record's bytes go with the next read
    });
    const bool passed = !input.failed();
    input.close();
    if (!rewrite.finish(output, passed, true))
        return false;
    positions.takeOver(s.db);
    file.path = rewrite.target();
    file.bytes = std::make_shared<const FileBytes>(std::move(written));
    file.stamp = stampOf(rewrite.target());
    return true;
}

} // namespace kinmap
