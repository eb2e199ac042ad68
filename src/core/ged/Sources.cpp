#include "ged/Sources.h"

#include "base/ChangeJournal.h"
#include "base/Format.h"
#include "base/Workspace.h"
#include "db/Numbers.h"
#include "ged/GedRecord.h"
#include "ged/Import.h"
#include "ged/ImportRules.h"
#include "ged/SafeWrite.h"

namespace kinmap {

namespace {

std::string_view withoutLineEnd(std::string_view text)
{
    return text.substr(0, text.size() - lineEndOf(text).size());
}

std::string_view valueOf(const GedLine& line)
{
    const std::string_view text = withoutLineEnd(line.text);
    return line.valueStart < text.size() ? text.substr(line.valueStart) : std::string_view();
}

bool isSourceRecord(const GedLine& first)
{
    if (first.level != 0)
        return false;
    const RecordLine r = recordLine(first.text);
    return !r.identifier.empty() && importTag(first.text, r.tagAt) == importTagOf("SOUR");
}

} // namespace

SourceList readSources(const GedFile& file)
{
    SourceList list;
    GedInput input;
    if (file.bytes->empty() || !input.open(file.bytes, file.format))
        return list;
    GedRecordReader reader(input);
    GedRecord r;
    while (reader.next(r)) {
        if (r.empty())
            continue;
        if (r[0].level == 0 && isTrailer(r[0].text))
            break;
        if (!isSourceRecord(r[0]))
            continue;
        SourceRecord source;
        source.identifier = std::string(recordLine(r[0].text).identifier);
        std::string* field = nullptr; // the text its CONC and CONT lines go on
        for (size_t i = 1; i < r.size(); ++i) {
            const GedLine& line = r[i];
            if (line.level == 1) {
                static constexpr std::pair<uint32_t, std::string SourceRecord::*> fields[] = {
                    {tagCode("TITL"), &SourceRecord::title},       {tagCode("AUTH"), &SourceRecord::author},
                    {tagCode("PUBL"), &SourceRecord::publication}, {tagCode("TEXT"), &SourceRecord::text},
                    {tagCode("NOTE"), &SourceRecord::note}};
                field = nullptr;
                for (const auto& [tag, member] : fields)
                    if (line.tag == tag) {
                        field = &(source.*member);
                        *field = valueOf(line); // a later line of the tag replaces it
                    }
                if (!field && withoutLineEnd(line.text).size() < 7 && valueOf(line).empty())
                    list.shortLines.emplace_back(withoutLineEnd(line.text));
            } else if (line.level == 2 && field && line.tag == tagCode("CONC")) {
                *field += valueOf(line);
            } else if (line.level == 2 && field && line.tag == tagCode("CONT")) {
                *field += "\r\n";
                *field += valueOf(line);
            } else if (line.level <= 2) {
                field = nullptr;
            }
        }
        list.sources.push_back(std::move(source));
    }
    return list;
}

std::string sourceDetails(const SourceRecord& s)
{
    std::string text = "SOUR: " + s.identifier + "\r\n";
    for (const auto& [label, value] : {std::pair{"TITL: ", &s.title}, {"AUTH: ", &s.author}, {"PUBL: ", &s.publication},
                                        {"TEXT: ", &s.text}, {"NOTE: ", &s.note}})
        if (!value->empty())
            text += label + *value + "\r\n";
    return text;
}

int findSource(const std::vector<SourceRecord>& sources, const std::string& text)
{
    const std::optional<int32_t> number = readNumber(text);
    for (size_t i = 0; i < sources.size(); ++i) {
        const std::string& id = sources[i].identifier;
        if (id == text)
            return static_cast<int>(i);
        // "@S12@" for 12: the digits between the letters and the closing '@'.
        const size_t digits = id.find_first_of("0123456789");
        if (number && digits != std::string::npos && id.size() > digits + 1 &&
            readNumber(id.substr(digits, id.size() - 1 - digits)) == number)
            return static_cast<int>(i);
    }
    return -1;
}

CitationResult addSourceCitation(Workspace& s, GedFile& file, const std::string& source,
                                 const std::function<bool(int32_t rin)>& cite)
{
    CitationResult result;
    Database& db = s.db;
    const std::string citation = "1 SOUR " + source;
    std::string encoded;
    size_t unmappable = 0;
    encodeText(file.format.encoding, citation, encoded, unmappable);
    if (unmappable != 0) {
        s.errorBox("The source \"%s\" holds characters that %s cannot hold; nothing was added.", source.c_str(),
                   encodingName(file.format.encoding));
        return result;
    }
    // The persons to cite that have a record in the file.
    std::vector<bool> toCite(static_cast<size_t>(db.highestRin) + 1, false);
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        if (db.isPerson(rin) && cite(rin)) {
            if (db.persons[rin].fileOffset != 0)
                toCite[static_cast<size_t>(rin)] = true;
            else
                ++result.notInFile;
        }

    s.journal.write("\n# %s", journalStamp(s.clock.localTime()).c_str());
    s.journal.write("\n- Auto-Source: %s\n", file.path.c_str());
    GedInput input;
    GedOutput output;
    GedRewrite rewrite(s, file, file.path);
    if (!rewrite.open(input, output))
        return result;
    s.setStatus(0, "Adding sources to %s ", fileNameOf(file.path).c_str());
    FileBytes written;
    written.reserve(file.bytes->size() + file.bytes->size() / 16);
    output.keepCopy(&written);
    if (file.format.markLength > 0) // the byte order mark as it stands
        output.writeRaw(std::string_view(file.bytes->data(), file.format.markLength));

    // Records are known by where their level-0 line ends, in file order.
    std::vector<uint64_t> newOffsets(db.fileOrder.size(), 0);
    auto offsetOf = [&db](int32_t known) {
        return known > 0 ? db.persons[known].fileOffset : db.families[-known].fileOffset;
    };
    size_t nextKnown = 0;
    std::string lineEnd = "\r\n";
    bool first = true;
    std::string journalLines;
    {
        FileProgress progress(s, input.size());
        GedRecordReader reader(input, true);
        GedRecord r;
        while (reader.next(r)) {
            if (r.empty())
                continue;
            if (first) {
                if (const std::string_view end = lineEndOf(r[0].text); !end.empty())
                    lineEnd = std::string(end);
                first = false;
            }
            progress.advance(input.position());
            while (nextKnown < db.fileOrder.size() && offsetOf(db.fileOrder[nextKnown]) < reader.firstLineEnd())
                ++nextKnown;
            int32_t known = 0;
            if (nextKnown < db.fileOrder.size() && offsetOf(db.fileOrder[nextKnown]) == reader.firstLineEnd())
                known = db.fileOrder[nextKnown];
            const bool cited = known > 0 && toCite[static_cast<size_t>(known)];
            // The citation goes before the record's "1 CHAN" line, else last.
            size_t insertAt = cited ? r.size() : SIZE_MAX;
            for (size_t i = 1; cited && i < r.size(); ++i)
                if (r[i].level == 1 && r[i].tag == tagCode("CHAN")) {
                    insertAt = i;
                    break;
                }
            for (size_t i = 0; i < r.size(); ++i) {
                if (i == insertAt)
                    output.writeText(citation, lineEnd);
                output.writeRaw(r[i].raw);
                if (i == 0 && known != 0)
                    newOffsets[nextKnown] = output.bytesWritten();
            }
            if (insertAt == r.size()) {
                if (lineEndOf(r[r.size() - 1].text).empty()) // a last line without its end gets one
                    output.writeText({}, lineEnd);
                output.writeText(citation, lineEnd);
            }
            if (cited) {
                ++result.cited;
                journalLines += formatText("%s added to rin %d\n", citation.c_str(), known);
            }
            if (known != 0)
                ++nextKnown;
            output.flushJoined(); // the record's bytes go with the next read
        }
    }
    const bool passed = !input.failed();
    input.close();
    s.journal.writeText(journalLines.data(), journalLines.size());
    if (!rewrite.finish(output, passed, true)) {
        result.cited = 0;
        return result;
    }
    for (size_t i = 0; i < db.fileOrder.size(); ++i) {
        const int32_t known = db.fileOrder[i];
        (known > 0 ? db.persons[known].fileOffset : db.families[-known].fileOffset) = newOffsets[i];
    }
    file.path = rewrite.target();
    file.bytes = std::make_shared<const FileBytes>(std::move(written));
    file.stamp = stampOf(rewrite.target());
    result.written = true;
    return result;
}

} // namespace kinmap
