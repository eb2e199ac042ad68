#include "ged/GedRecord.h"

#include "db/Numbers.h"

namespace kinmap {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

GedLine parseGedLine(std::string_view text, std::string_view raw)
{
    GedLine line{-1, 0, text, raw, text.size()};
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    size_t digits = 0;
    const int level = leadingNumber(text.substr(i), &digits);
    if (digits == 0)
        return line;
    i += digits;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const size_t tagStart = i;
    while (i < text.size() && !isBlank(text[i]) && !isLineEnd(text[i]))
        ++i;
    if (i == tagStart)
        return line; // a level without a tag
    line.level = level;
    line.tag = tagCode(text.substr(tagStart, i - tagStart));
    line.valueStart = i < text.size() && isBlank(text[i]) ? i + 1 : i;
    return line;
}

std::string_view lineEndOf(std::string_view text)
{
    size_t end = text.size();
    while (end > 0 && isLineEnd(text[end - 1]))
        --end;
    return text.substr(end);
}

bool GedRecordReader::next(GedRecord& record, const std::function<bool(uint64_t firstLineEnd)>& passOver)
{
    record.lines_.clear();
    record.spans_.clear();
    record.decoded_.clear();
    const uint64_t start = input_.position();
    input_.keepFrom(start);
    while (input_.readLine()) {
        const std::string_view raw = input_.raw();
        const std::string_view text = rawTexts_ ? raw : input_.text();
        const GedLine parsed = parseGedLine(text, raw);
        if (!record.spans_.empty() && parsed.level == 0) {
            input_.seek(input_.lineStart()); // the next record begins here
            break;
        }
        if (record.spans_.empty()) {
            firstLineEnd_ = input_.position();
            if (passOver && parsed.level == 0 && passOver(firstLineEnd_)) {
                input_.skipRecord();
                return true;
            }
        }
        GedRecord::Span span{static_cast<size_t>(input_.lineStart() - start), raw.size(), std::string::npos, text.size(), parsed};
        if (text.data() != raw.data()) {
            span.text = record.decoded_.size();
            record.decoded_.append(text);
        }
        record.spans_.push_back(span);
    }
    if (record.spans_.empty())
        return false;
    const GedRecord::Span& last = record.spans_.back();
    resolve(record, input_.bytesAt(start, last.raw + last.rawLength));
    return true;
}

void GedRecordReader::resolve(GedRecord& record, std::string_view bytes) const
{
    record.lines_.clear();
    for (const GedRecord::Span& span : record.spans_) {
        GedLine line = span.parsed;
        line.raw = bytes.substr(span.raw, span.rawLength);
        line.text = span.text == std::string::npos ? line.raw : std::string_view(record.decoded_).substr(span.text, span.textLength);
        record.lines_.push_back(line);
    }
}

void GedRecordReader::decodeTexts(GedRecord& record) const
{
    if (!rawTexts_ || record.empty())
        return;
    const std::string_view bytes(record.lines_[0].raw.data(), record.spans_.back().raw + record.spans_.back().rawLength);
    const Encoding encoding = input_.format().encoding;
    std::string text;
    for (GedRecord::Span& span : record.spans_) {
        const std::string_view raw = bytes.substr(span.raw, span.rawLength);
        if (plainPrefix(encoding, raw) == raw.size())
            continue;
        decodeLine(encoding, raw, text);
        span.text = record.decoded_.size();
        span.textLength = text.size();
        span.parsed = parseGedLine(text, raw);
        record.decoded_.append(text);
    }
    resolve(record, bytes);
}

} // namespace kinmap
