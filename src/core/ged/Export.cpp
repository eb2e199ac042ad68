#include "ged/Export.h"

#include "app/Session.h"
#include "app/Shell.h"
#include "ged/BackupFiles.h"
#include "ged/GedRecord.h"
#include "ged/Import.h"
#include "ged/ImportRules.h"
#include "ged/RecordImage.h"

#include <array>
#include <memory>
#include <set>
#include <span>
#include <vector>

namespace kinmap {

namespace {

constexpr int32_t noteLimit = 200000;
constexpr int32_t sourceLimit = 250000;

enum class Renumbered : char { none = 0, note = 'N', source = 'S' };

// A note or source that a written line names, and the note or source record
// the line stands in (none for every other record).
struct Reference {
    Renumbered kind;
    int32_t number;
    Renumbered inKind;
    int32_t inNumber;
};

// A NOTE or SOUR pointer ("2 SOUR @S12@ p. 5") or record identifier
// ("0 @N3@ NOTE text"): where the identifier stands and its number.
struct Pointer {
    Renumbered kind = Renumbered::none;
    size_t begin = 0, end = 0; // the identifier from its first '@' to after its closing '@'
    int32_t number = 0;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// "@" one character, a number and "@" at text[at]; the number is read as
// the import reads it.
bool readIdentifier(std::string_view text, size_t at, Pointer& p)
{
    if (at + 3 >= text.size() || text[at] != '@' || text[at + 1] == '@')
        return false;
    size_t i = at + 2;
    if (i < text.size() && text[i] == '-')
        ++i;
    const size_t digits = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == digits || i >= text.size() || text[i] != '@' || !isAscii(text.substr(0, i + 1)))
        return false;
    const long long n = referenceNumber(text.substr(at + 2));
    if (n > INT32_MAX)
        return false;
    p.begin = at;
    p.end = i + 1;
    p.number = static_cast<int32_t>(n);
    return true;
}

// "LEVEL NOTE @X5@ …" or "LEVEL SOUR @X5@ …" at any level.
Pointer pointerOf(std::string_view text)
{
    Pointer p;
    size_t i = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == 0 || i >= text.size() || text[i] != ' ')
        return p;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::string_view rest = text.substr(i);
    Renumbered kind = Renumbered::none;
    if (rest.starts_with("NOTE "))
        kind = Renumbered::note;
    else if (rest.starts_with("SOUR "))
        kind = Renumbered::source;
    else
        return p;
    i += 5;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (readIdentifier(text, i, p))
        p.kind = kind;
    return p;
}

// The kind of a level-0 line, read as the import reads it.
struct RecordStart {
    uint32_t tag = 0;
    long long number = 0;
    Pointer identifier; // of a NOTE or SOUR record
};

RecordStart recordStart(std::string_view text)
{
    RecordStart start;
    const size_t at = text.size() > 3 ? text.find('@', 3) : std::string_view::npos;
    if (at == std::string_view::npos)
        return start;
    start.tag = importTag(text, at + 2);
    start.number = referenceNumber(text.substr(std::min<size_t>(4, text.size())));
    if ((start.tag == importTagOf("NOTE") || start.tag == importTagOf("SOUR")) && readIdentifier(text, 2, start.identifier))
        start.identifier.kind = start.tag == importTagOf("NOTE") ? Renumbered::note : Renumbered::source;
    return start;
}

class ExportPass {
public:
    ExportPass(Session& s, GedInput& input, Encoding encoding, const std::function<bool(int32_t)>& written)
        : s_(s), db_(s.db), input_(input), encoding_(encoding), personWritten_(written)
    {
        filter_.person = [this](int32_t rin) { return isWrittenPerson(rin); };
        filter_.family = [this](int32_t mrin) { return isWrittenFamily(mrin); };
    }

    // The first run writes nothing: it finds every reference, which notes
    // and sources are written and which identifiers stay as they are, and
    // numbers notes and sources in the order of first reference.
    bool plan();
    // The second run writes; newOffsets then hold the positions of the
    // written persons and families in the output (0 for the others).
    bool write(GedOutput& output);

    std::vector<uint64_t> personOffsets, familyOffsets;

private:
    bool run();
    void record(const GedRecord& r);
    void copyLines(const GedRecord& r, RecordKind kind, int32_t number, bool regenerateLinks);
    void writeLevelZero(const GedLine& line, const RecordStart& start);
    void writeLine(const ImageLine& line);
    void writeMissingRecords();
    void writeDatabaseRecord(RecordKind kind, int32_t number, const GedRecord& r, const RecordStart* start);
    void tooLarge(const Pointer& p);
    int32_t newNumber(const Pointer& p) const;
    std::string encodedPrefix(std::string_view text, const Pointer& p) const;
    bool isWrittenPerson(int32_t rin) const { return db_.isPerson(rin) && personWritten_(rin); }
    bool isWrittenFamily(int32_t mrin) const
    {
        return db_.isFamily(mrin) && (isWrittenPerson(db_.families[mrin].husband) || isWrittenPerson(db_.families[mrin].wife));
    }
    size_t unitBytes() const { return encoding_ == Encoding::utf16le ? 2 : 1; }

    Session& s_;
    Database& db_;
    GedInput& input_;
    Encoding encoding_;
    std::function<bool(int32_t)> personWritten_;
    LinkFilter filter_;
    GedOutput* output_ = nullptr; // null while planning
    std::string fileLineEnd_ = "\r\n";
    std::vector<ImageLine> lines_;
    Renumbered inKind_ = Renumbered::none;
    int32_t inNumber_ = 0;
    bool ended_ = false;
    bool tooLargeShown_ = false;
    std::vector<bool> personDone_, familyDone_;

    // Planning results.
    std::vector<Reference> references_;
    std::set<std::string> keptIdentifiers_;
    std::vector<int32_t> noteNumbers_ = std::vector<int32_t>(noteLimit);
    std::vector<int32_t> sourceNumbers_ = std::vector<int32_t>(sourceLimit);
};

bool ExportPass::plan()
{
    if (!run())
        return false;
    // Notes and sources are written when a written line names them: lines
    // outside notes and sources, or inside a note or source written itself.
    std::set<std::pair<Renumbered, int32_t>> written;
    for (bool grew = true; grew;) {
        grew = false;
        for (const Reference& r : references_)
            if ((r.inKind == Renumbered::none || written.count({r.inKind, r.inNumber})) &&
                written.insert({r.kind, r.number}).second)
                grew = true;
    }
    int32_t nextNote = 0, nextSource = 0;
    for (const Reference& r : references_) {
        if (r.inKind != Renumbered::none && !written.count({r.inKind, r.inNumber}))
            continue;
        const bool note = r.kind == Renumbered::note;
        int32_t& assigned = note ? noteNumbers_[static_cast<size_t>(r.number)] : sourceNumbers_[static_cast<size_t>(r.number)];
        if (assigned != 0)
            continue;
        int32_t& next = note ? nextNote : nextSource;
        // A number whose identifier a record written unchanged already uses
        // is passed over, so that no two records share one identifier.
        do
            ++next;
        while (keptIdentifiers_.count(formatText("@%c%d@", note ? 'N' : 'S', next)));
        assigned = next;
    }
    return true;
}

bool ExportPass::write(GedOutput& output)
{
    output_ = &output;
    personOffsets.assign(static_cast<size_t>(db_.highestRin) + 1, 0);
    familyOffsets.assign(static_cast<size_t>(db_.highestMrin) + 1, 0);
    return run();
}

bool ExportPass::run()
{
    ended_ = false;
    personDone_.assign(static_cast<size_t>(db_.highestRin) + 1, false);
    familyDone_.assign(static_cast<size_t>(db_.highestMrin) + 1, false);
    if (!input_.seek(0))
        return false;
    input_.setEncoding(encoding_);
    input_.keepRawBytes(output_ != nullptr); // planning needs no bytes
    // The byte order mark is carried over as it is.
    const size_t markLength = encoding_ == Encoding::utf8 ? 3 : encoding_ == Encoding::utf16le ? 2 : 0;
    input_.seek(markLength);
    if (output_ && markLength > 0)
        output_->writeRaw(encoding_ == Encoding::utf8 ? "\xEF\xBB\xBF" : "\xFF\xFE", markLength);

    std::unique_ptr<FileProgress> progress;
    if (output_)
        progress = std::make_unique<FileProgress>(s_, input_.size());
    GedRecordReader reader(input_);
    GedRecord r;
    bool first = true;
    while (!ended_ && reader.next(r)) {
        if (first) {
            const std::string_view end = lineEndOf(r[0].text);
            if (!end.empty())
                fileLineEnd_ = std::string(end);
            first = false;
        }
        if (progress)
            progress->advance(input_.position());
        record(r);
    }
    if (!ended_)
        writeMissingRecords();
    return true;
}

void ExportPass::record(const GedRecord& r)
{
    const GedLine first = r[0];
    inKind_ = Renumbered::none;
    if (first.level != 0) { // the start of a file that is no record
        copyLines(r, RecordKind::person, 0, false);
        return;
    }
    const RecordStart start = recordStart(first.text);
    if (first.text.find("0 TRLR") != std::string_view::npos) {
        writeMissingRecords();
        writeLevelZero(first, start);
        ended_ = true;
        return;
    }
    const bool isPerson = start.tag == importTagOf("INDI"), isFamily = start.tag == importTagOf("FAM");
    if ((isPerson || isFamily) && start.number >= 1) {
        const auto number = static_cast<int32_t>(std::min<long long>(start.number, INT32_MAX));
        if (isPerson ? isWrittenPerson(number) : isWrittenFamily(number))
            writeDatabaseRecord(isPerson ? RecordKind::person : RecordKind::family, number, r, &start);
        return;
    }
    const Pointer& id = start.identifier;
    if (id.kind != Renumbered::none) {
        const int32_t limit = id.kind == Renumbered::note ? noteLimit : sourceLimit;
        if (id.number < 0 || id.number >= limit) {
            tooLarge(id); // kept with its identifier
        } else {
            if (output_ && newNumber(id) == 0)
                return; // nothing written names it
            inKind_ = id.kind;
            inNumber_ = id.number;
            writeLevelZero(first, start);
            copyLines(r, RecordKind::person, 0, false);
            return;
        }
    }
    writeLevelZero(first, start);
    copyLines(r, RecordKind::person, 0, false);
}

void ExportPass::writeLevelZero(const GedLine& line, const RecordStart& start)
{
    const std::string_view raw = line.raw;
    const Pointer& id = start.identifier;
    const int32_t limit = id.kind == Renumbered::note ? noteLimit : sourceLimit;
    const bool renumbered = id.kind != Renumbered::none && id.number >= 0 && id.number < limit;
    if (!output_) {
        // Identifiers written as they stand may not be given to a new note or source.
        const size_t open = line.text.find('@');
        const size_t close = open == std::string_view::npos ? open : line.text.find('@', open + 1);
        if (!renumbered && close != std::string_view::npos && close > open + 1 &&
            (line.text[open + 1] == 'N' || line.text[open + 1] == 'S'))
            keptIdentifiers_.emplace(line.text.substr(open, close - open + 1));
        return;
    }
    if (!renumbered) {
        output_->writeRaw(raw.data(), raw.size());
        return;
    }
    const std::string prefix = encodedPrefix(line.text, id);
    output_->writeRaw(prefix.data(), prefix.size());
    const size_t rest = id.end * unitBytes();
    output_->writeRaw(raw.data() + rest, raw.size() - rest);
}

// The text up to the end of the identifier with the new number, encoded.
std::string ExportPass::encodedPrefix(std::string_view text, const Pointer& p) const
{
    const std::string latin1 = std::string(text.substr(0, p.begin)) + formatText("@%c%d@", static_cast<char>(p.kind), newNumber(p));
    if (encoding_ != Encoding::utf16le)
        return latin1;
    std::string wide;
    for (const char c : latin1) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

int32_t ExportPass::newNumber(const Pointer& p) const
{
    return p.kind == Renumbered::note ? noteNumbers_[static_cast<size_t>(p.number)] : sourceNumbers_[static_cast<size_t>(p.number)];
}

void ExportPass::tooLarge(const Pointer& p)
{
    // The record and its pointers keep their identifier; told once.
    if (tooLargeShown_ || !output_)
        return;
    tooLargeShown_ = true;
    if (p.kind == Renumbered::note)
        s_.errorBox("\r\n GED too big. >%d NOTEs", p.number);
    else
        s_.errorBox("\r\n GED file too big. >%d SOURces", p.number);
}

void ExportPass::writeLine(const ImageLine& line)
{
    if (line.isNew) {
        if (output_)
            output_->writeEncoded(line.newText, std::string(line.lineEnd));
        return;
    }
    const Pointer p = pointerOf(line.text);
    const int32_t limit = p.kind == Renumbered::note ? noteLimit : sourceLimit;
    if (p.kind == Renumbered::none || p.number < 0 || p.number >= limit) {
        if (p.kind != Renumbered::none)
            tooLarge(p);
        if (output_)
            output_->writeRaw(line.raw.data(), line.raw.size());
        return;
    }
    if (!output_) {
        references_.push_back({p.kind, p.number, inKind_, inNumber_});
        return;
    }
    // The new identifier replaces the old one; what follows it stays.
    const std::string prefix = encodedPrefix(line.text, p);
    output_->writeRaw(prefix.data(), prefix.size());
    const size_t rest = p.end * unitBytes();
    output_->writeRaw(line.raw.data() + rest, line.raw.size() - rest);
}

// Writes the lines of a record that is not rebuilt. Custom tags on levels 2
// to 9 are left out with the lines beneath them. With regenerateLinks the
// link lines follow the database's lists position by position, naming only
// what is written; each keeps the lines beneath it.
void ExportPass::copyLines(const GedRecord& r, RecordKind kind, int32_t number, bool regenerateLinks)
{
    // The link lists of the record, each with the position reached.
    struct LinkList {
        uint32_t tag;
        const char* name;
        const int32_t* begin;
        const int32_t* end;
        char letter;
        bool family; // the entries are families
        const int32_t* next = nullptr;
        size_t lastBlockEnd = 0;
    };
    std::array<LinkList, 3> lists;
    size_t listCount = 0;
    if (regenerateLinks && kind == RecordKind::person) {
        const PersonRecord& p = db_.persons[number];
        lists[listCount++] = {tagCode("FAMS"), "FAMS", p.fams.begin(), p.fams.end(), 'F', true};
        lists[listCount++] = {tagCode("FAMC"), "FAMC", p.famc.begin(), p.famc.end(), 'F', true};
    } else if (regenerateLinks) {
        const FamilyRecord& f = db_.families[number];
        lists[listCount++] = {tagCode("HUSB"), "HUSB", &f.husband, &f.husband + (f.husband != 0), 'I', false};
        lists[listCount++] = {tagCode("WIFE"), "WIFE", &f.wife, &f.wife + (f.wife != 0), 'I', false};
        lists[listCount++] = {tagCode("CHIL"), "CHIL", f.children.begin(), f.children.end(), 'I', false};
    }
    for (size_t k = 0; k < listCount; ++k)
        lists[k].next = lists[k].begin;
    const auto links = std::span(lists.data(), listCount);
    const size_t count = r.size();
    auto subtreeEnd = [&](size_t i) {
        const int level = r[i].level;
        size_t j = i + 1;
        while (j < count && (r[j].level > level || r[j].level < 0))
            ++j;
        return j;
    };
    for (size_t i = 1; i < count; ++i)
        if (r[i].level == 1 && namesRecord(r[i]))
            for (LinkList& list : links)
                if (r[i].tag == list.tag)
                    list.lastBlockEnd = subtreeEnd(i);

    const std::string_view lineEnd = lineEndOf(r[0].text).empty() ? std::string_view(fileLineEnd_) : lineEndOf(r[0].text);
    auto kept = [&](const LinkList& list, int32_t entry) { return list.family ? isWrittenFamily(entry) : isWrittenPerson(entry); };
    auto created = [&](const LinkList& list, int32_t entry) {
        return ImageLine::created(1, list.name, formatText("1 %s @%c%d@", list.name, list.letter, entry), lineEnd);
    };

    size_t first = r[0].level == 0 ? 1 : 0;
    for (size_t i = first; i < count;) {
        const GedLine line = r[i];
        LinkList* list = nullptr;
        if (line.level == 1 && namesRecord(line))
            for (LinkList& l : links)
                if (line.tag == l.tag)
                    list = &l;
        if (list) {
            const size_t end = subtreeEnd(i);
            const bool has = list->next < list->end;
            const int32_t entry = has ? *list->next++ : 0;
            if (has && kept(*list, entry)) {
                if (linkNumber(line.text) == entry)
                    writeLine(ImageLine::input(line));
                else
                    writeLine(created(*list, entry));
                for (size_t j = i + 1; j < end; ++j)
                    writeLine(ImageLine::input(r[j]));
            }
            if (end == list->lastBlockEnd) // entries without a line of their own follow the last one
                for (; list->next < list->end; ++list->next)
                    if (kept(*list, *list->next))
                        writeLine(created(*list, *list->next));
            i = end;
            continue;
        }
        if (line.level >= 2 && line.text.size() > 2 && line.text[2] == '_') {
            i = subtreeEnd(i);
            continue;
        }
        writeLine(ImageLine::input(line));
        ++i;
    }
}

// Writes a person or family of the database: its level-0 line (the file's,
// or a new one for a record the file does not have), its new position, and
// its lines, copied or, when changed, rebuilt.
void ExportPass::writeDatabaseRecord(RecordKind kind, int32_t number, const GedRecord& r, const RecordStart* start)
{
    const bool person = kind == RecordKind::person;
    (person ? personDone_ : familyDone_)[static_cast<size_t>(number)] = true;
    std::string_view lineEnd = fileLineEnd_;
    if (r.empty()) {
        if (output_)
            output_->writeEncoded(formatText(person ? "0 @I%d@ INDI" : "0 @F%d@ FAM", number), fileLineEnd_);
    } else {
        writeLevelZero(r[0], *start);
        if (!lineEndOf(r[0].text).empty())
            lineEnd = lineEndOf(r[0].text);
    }
    if (output_)
        (person ? personOffsets : familyOffsets)[static_cast<size_t>(number)] = output_->bytesWritten();
    const uint32_t flags = person ? db_.persons[number].flags : db_.families[number].flags;
    if (r.empty() || (flags & Flag::changed)) {
        lines_ = rewriteRecord(db_, kind, number, r, filter_, lineEnd);
        for (const ImageLine& line : lines_)
            writeLine(line);
    } else {
        copyLines(r, kind, number, true);
    }
}

// Persons and families that are written but have no record in the file
// (added since it was read, or left out of an earlier export) are built
// from the database alone, before the trailer.
void ExportPass::writeMissingRecords()
{
    const GedRecord none;
    for (int32_t rin = 1; rin <= db_.highestRin; ++rin)
        if (!personDone_[static_cast<size_t>(rin)] && isWrittenPerson(rin))
            writeDatabaseRecord(RecordKind::person, rin, none, nullptr);
    for (int32_t mrin = 1; mrin <= db_.highestMrin; ++mrin)
        if (!familyDone_[static_cast<size_t>(mrin)] && isWrittenFamily(mrin))
            writeDatabaseRecord(RecordKind::family, mrin, none, nullptr);
}

} // namespace

bool exportGed(Session& s, const std::string& target, const std::function<bool(int32_t rin)>& written)
{
    s.journal.write("\n# %s", journalStamp(s.clock.localTime()).c_str());
    s.journal.write("\n- Auto-Source: %s\n", s.shell.currentGedPath.c_str());
    GedInput input;
    GedOutput output;
    RewriteFiles files;
    if (!openForRewrite(s, target, input, output, files))
        return false;
    s.setStatus(0, "part-export %s", fileNameOf(target).c_str());
    output.setEncoding(s.shell.gedEncoding);

    ExportPass pass(s, input, s.shell.gedEncoding, written);
    const bool passed = pass.plan() && pass.write(output) && !input.failed();
    input.close();
    const bool complete = output.close() && passed;
    if (!complete) {
        // The file read stays the current file: when it is the backup, the
        // original data are there now.
        s.shell.currentGedPath = files.readPath;
        return false;
    }
    for (int32_t rin = 1; rin <= s.db.highestRin; ++rin)
        s.db.persons[rin].fileOffset = pass.personOffsets[static_cast<size_t>(rin)];
    for (int32_t mrin = 1; mrin <= s.db.highestMrin; ++mrin)
        s.db.families[mrin].fileOffset = pass.familyOffsets[static_cast<size_t>(mrin)];
    s.shell.currentGedPath = target;
    s.shell.loadedFileName = fileNameOf(target);
    return true;
}

namespace {

bool exportCommand(Session& s, const std::string& target, const std::function<bool(int32_t)>& written)
{
    if (target.find("ged") == std::string::npos && target.find("Ged") == std::string::npos)
        return false;
    s.report.clear();
    s.setStatus(0, "Export %s ...", fileNameOf(target).c_str());
    s.setStatus(1, "%s", "");
    s.setStatus(2, "%s", "");
    if (!exportGed(s, target, written)) {
        s.errorBox("\r\nsave GED file failed:\r\n%s", target.c_str());
        return false;
    }
    resetAfterExport(s);
    s.setStatus(0, "%s exportiert", fileNameOf(target).c_str());
    return true;
}

} // namespace

bool partialExportCommand(Session& s, const std::string& target)
{
    if (!requireSelection(s))
        return false;
    const Database& db = s.db;
    return exportCommand(s, target, [&db](int32_t rin) { return (db.persons[rin].flags & Flag::selected) != 0; });
}

bool exportAllCommand(Session& s, const std::string& target)
{
    return exportCommand(s, target, [](int32_t) { return true; });
}

} // namespace kinmap
