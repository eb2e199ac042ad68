#include "ged/Sources.h"

#include "base/ChangeJournal.h"
#include "base/Format.h"
#include "base/Workspace.h"
#include "db/Numbers.h"
#include "ged/FileRewrite.h"
#include "ged/GedRecord.h"
#include "ged/ImportRules.h"

namespace kinmap {

namespace {

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
                        *field = lineValue(line); // a later line of the tag replaces it
                    }
                if (!field && withoutLineEnd(line.text).size() < 7 && lineValue(line).empty())
                    list.shortLines.emplace_back(withoutLineEnd(line.text));
            } else if (line.level == 2 && field && line.tag == tagCode("CONC")) {
                *field += lineValue(line);
            } else if (line.level == 2 && field && line.tag == tagCode("CONT")) {
                *field += "\r\n";
                *field += lineValue(line);
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
    std::string journalLines; // one write, not one a person
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        if (toCite[static_cast<size_t>(rin)])
            journalLines += formatText("%s added to rin %d\n", citation.c_str(), rin);
    s.journal.writeText(journalLines.data(), journalLines.size());
    s.setStatus(0, "Adding sources to %s ", fileNameOf(file.path).c_str());
    const bool written = rewriteGedFile(s, file, [&](const GedRecord& r, int32_t known, RecordWriter& writer) {
        const bool cited = known > 0 && toCite[static_cast<size_t>(known)];
        // The citation goes before the record's "1 CHAN" line, else last.
        size_t insertAt = cited ? r.size() : SIZE_MAX;
        for (size_t i = 1; cited && i < r.size(); ++i)
            if (r[i].level == 1 && r[i].tag == tagCode("CHAN")) {
                insertAt = i;
                break;
            }
        for (size_t i = 1; i < r.size(); ++i) {
            if (i == insertAt)
                writer.add(citation);
            writer.copy(r[i]);
        }
        if (insertAt == r.size())
            writer.add(citation);
        if (cited)
            ++result.cited;
    });
    if (!written) {
        result.cited = 0;
        return result;
    }
    result.written = true;
    return result;
}

} // namespace kinmap
