#include "ged/GedRecord.h"

namespace kinmap {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

GedLine parseGedLine(std::string_view text, std::string_view raw)
{
    GedLine line{-1, 0, text, raw, text.size()};
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i == text.size() || !isDigit(text[i]))
        return line;
    int level = 0;
    while (i < text.size() && isDigit(text[i])) {
        if (level < 1000000)
            level = level * 10 + (text[i] - '0');
        ++i;
    }
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

void GedRecord::clear()
{
    text_.clear();
    raw_.clear();
    spans_.clear();
}

void GedRecord::add(std::string_view text, std::string_view raw)
{
    const GedLine line = parseGedLine(text, raw);
    spans_.push_back({text_.size(), text.size(), raw_.size(), raw.size(), line.level, line.tag, line.valueStart});
    text_.append(text);
    raw_.append(raw);
}

GedLine GedRecord::operator[](size_t i) const
{
    const Span& s = spans_[i];
    return {s.level, s.tag, std::string_view(text_).substr(s.text, s.textLength),
            std::string_view(raw_).substr(s.raw, s.rawLength), s.valueStart};
}

bool GedRecordReader::next(GedRecord& record)
{
    record.clear();
    if (hasPending_) {
        record.add(pendingText_, pendingRaw_);
        firstLineEnd_ = pendingEnd_;
        hasPending_ = false;
    }
    while (input_.readLine()) {
        if (!record.empty() && lineLevel(input_.text()) == 0) {
            pendingText_.assign(input_.text());
            pendingRaw_.assign(input_.raw());
            pendingEnd_ = input_.position();
            hasPending_ = true;
            return true;
        }
        if (record.empty())
            firstLineEnd_ = input_.position();
        record.add(input_.text(), input_.raw());
    }
    return !record.empty();
}

} // namespace kinmap
