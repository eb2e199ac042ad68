#include "ged/Export.h"

#include "base/Workspace.h"
#include "db/Numbers.h"
#include "ged/GedRecord.h"
#include "ged/Import.h"
#include "ged/ImportRules.h"
#include "ged/RecordImage.h"
#include "ged/SafeWrite.h"

#include <algorithm>
#include <array>
#include <memory>
#include <deque>
#include <set>
#include <unordered_map>
#include <unordered_set>
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

// "@", one ASCII character, a number and "@" at text[at].
bool readIdentifier(std::string_view text, size_t at, Pointer& p)
{
    if (at + 3 >= text.size() || text[at] != '@' || static_cast<unsigned char>(text[at + 1]) >= 0x80 || text[at + 1] == '@')
        return false;
    size_t i = at + 2;
    if (i < text.size() && text[i] == '-')
        ++i;
    const size_t digits = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == digits || i >= text.size() || text[i] != '@')
        return false;
    const std::optional<int32_t> n = readNumber(text.substr(at + 2, i - at - 2));
    if (!n)
        return false;
    p.begin = at;
    p.end = i + 1;
    p.number = *n;
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

// The identifier of a NOTE or SOUR record's level-0 line.
Pointer recordIdentifier(std::string_view text)
{
    Pointer p;
    const RecordLine r = recordLine(text);
    const uint32_t tag = importTag(text, r.tagAt);
    const bool note = tag == importTagOf("NOTE");
    if ((note || tag == importTagOf("SOUR")) && !r.identifier.empty() &&
        readIdentifier(text, static_cast<size_t>(r.identifier.data() - text.data()), p))
        p.kind = note ? Renumbered::note : Renumbered::source;
    return p;
}

const char* byteOrderMark(Encoding encoding)
{
    switch (encoding) {
    case Encoding::utf8:
        return "\xEF\xBB\xBF";
    case Encoding::utf16le:
        return "\xFF\xFE";
    case Encoding::utf16be:
        return "\xFE\xFF";
    default:
        return "";
    }
}

class ExportPass {
public:
    ExportPass(Workspace& s, GedInput& input, const GedFile& file, const std::function<bool(int32_t)>& written)
        : s_(s), db_(s.db), input_(input), file_(file), format_(input.format()), personWritten_(written)
    {
        filter_.person = [this](int32_t rin) { return isWrittenPerson(rin); };
        filter_.family = [this](int32_t mrin) { return isWrittenFamily(mrin); };
        findMergedIdentifiers();
        findUnwrittenIdentifiers();
    }

    // The first run writes nothing: it finds every reference, which notes
    // and sources are written and which identifiers stay as they are, and
    // numbers notes and sources in the order of first reference.
    bool plan();
    // The second run writes; the offsets then hold the positions of the
    // written persons and families in the output (0 for the others).
    bool write(GedOutput& output);

    std::vector<uint64_t> personOffsets, familyOffsets;
    std::vector<int32_t> fileOrder; // of the written file
    // The new lines whose characters the file's encoding cannot all hold.
    std::vector<std::string> unmappableLines;
    // Lines left out (with the lines beneath them) because they point to a
    // record of the file that is not written.
    int droppedPointerLines = 0;

private:
    bool run();
    void record(GedRecord& r, uint64_t firstLineEnd);
    void copyLines(const GedRecord& r, RecordKind kind, int32_t number, bool regenerateLinks);
    void writeLevelZero(const GedLine& line, const Pointer& id);
    void writeLine(const ImageLine& line);
    void writeNewLine(std::string_view text, std::string_view lineEnd);
    // Writes a line of the input as it stands. Only the file's last line
    // can lack a line end (and, in UTF-16, end in half a character): when
    // anything follows it, it gets the file's line end (and the half
    // character is written as the replacement character).
    void writeInputLine(std::string_view text, std::string_view raw);
    void endOpenLine();
    void writeMissingRecords();
    void writeDatabaseRecord(RecordKind kind, int32_t number, GedRecord& r);
    void tooLarge(const Pointer& p);
    int32_t newNumber(const Pointer& p) const;
    bool renumbered(const Pointer& p) const
    {
        return p.kind != Renumbered::none && p.number >= 0 && p.number < (p.kind == Renumbered::note ? noteLimit : sourceLimit);
    }
    void writeRenumbered(std::string_view text, std::string_view raw, const Pointer& p);
    // Writes the line with the identifier between begin and end replaced;
    // the text before it is ASCII, what follows keeps its bytes.
    void writeReplaced(std::string_view text, std::string_view raw, size_t begin, size_t end, const std::string& identifier);
    // Pointers to merged records name their survivors.
    void findMergedIdentifiers();
    bool writeRedirected(const ImageLine& line);
    // No written line points to a record of the file that is not written
    // (deleted, or left out of a partial export).
    void findUnwrittenIdentifiers();
    bool namesUnwritten(std::string_view text) const;
    // The lines of a survivor with what the records merged into it add: their
    // level-1 blocks that it does not hold itself, and the lines beneath
    // their events that its own events lack.
    std::vector<GedLine> withMergedRecords(RecordKind kind, int32_t number, const GedRecord& own);
    // Where the level-0 line of the i-th record of the file order ends.
    uint64_t knownOffset(size_t i) const;
    // The record of the file order whose level-0 line ends there: a RIN, an
    // MRIN as a negative number, or 0 for none (a record of another kind).
    int32_t knownRecordAt(uint64_t firstLineEnd);
    bool isWrittenPerson(int32_t rin) const { return db_.isPerson(rin) && personWritten_(rin); }
    // A family goes with a written spouse; one without spouses (children
    // that share parents nobody knows) with a written child.
    bool isWrittenFamily(int32_t mrin) const
    {
        if (!db_.isFamily(mrin))
            return false;
        const FamilyRecord& f = db_.families[mrin];
        if (f.husband != 0 || f.wife != 0)
            return isWrittenPerson(f.husband) || isWrittenPerson(f.wife);
        return std::any_of(f.children.begin(), f.children.end(), [this](int32_t child) { return isWrittenPerson(child); });
    }

    Workspace& s_;
    Database& db_;
    GedInput& input_;
    const GedFile& file_;
    FileFormat format_;
    std::function<bool(int32_t)> personWritten_;
    size_t nextKnown_ = 0; // in the database's file order
    LinkFilter filter_;
    GedOutput* output_ = nullptr; // null while planning
    GedRecordReader* reader_ = nullptr;
    std::string fileLineEnd_ = "\r\n";
    bool lineOpen_ = false; // the line written last has no line end
    // The file's last line when it ends in half a UTF-16 character: written
    // as it is at the end, or whole when anything follows it.
    std::string halfRaw_, halfText_;
    std::vector<ImageLine> lines_;
    Renumbered inKind_ = Renumbered::none;
    int32_t inNumber_ = 0;
    bool afterTrailer_ = false; // what follows the trailer is no part of the data: copied as it is
    bool tooLargeShown_ = false;
    std::vector<bool> personDone_, familyDone_;
    std::unordered_map<std::string, std::string> survivorOf_; // identifier of a merged record -> its survivor's
    std::unordered_set<std::string> unwritten_;               // identifiers of the file's records not written
    GedInput mergedInput_;                                      // reads merged records, opened when needed
    std::deque<std::string> mergedTexts_;                       // their lines, kept while the survivor is written

    // Planning results.
    std::vector<Reference> references_;
    std::set<std::string> keptIdentifiers_;
    std::vector<int32_t> noteNumbers_, sourceNumbers_;
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
        std::vector<int32_t>& numbers = note ? noteNumbers_ : sourceNumbers_;
        if (static_cast<size_t>(r.number) >= numbers.size())
            numbers.resize(static_cast<size_t>(r.number) + 1);
        int32_t& assigned = numbers[static_cast<size_t>(r.number)];
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

uint64_t ExportPass::knownOffset(size_t i) const
{
    const int32_t number = db_.fileOrder[i];
    return number > 0 ? db_.persons[number].fileOffset : db_.families[-number].fileOffset;
}

bool ExportPass::write(GedOutput& output)
{
    output_ = &output;
    lineOpen_ = false;
    halfRaw_.clear();
    fileOrder.clear();
    personOffsets.assign(static_cast<size_t>(db_.highestRin) + 1, 0);
    familyOffsets.assign(static_cast<size_t>(db_.highestMrin) + 1, 0);
    return run();
}

bool ExportPass::run()
{
    afterTrailer_ = false;
    nextKnown_ = 0;
    personDone_.assign(static_cast<size_t>(db_.highestRin) + 1, false);
    familyDone_.assign(static_cast<size_t>(db_.highestMrin) + 1, false);
    if (!input_.seek(format_.markLength))
        return false;
    if (output_ && format_.markLength > 0)
        output_->writeRaw(byteOrderMark(format_.encoding)); // the mark is carried over as it is

    std::unique_ptr<FileProgress> progress;
    if (output_)
        progress = std::make_unique<FileProgress>(s_, input_.size());
    // Only rebuilt records need their lines' texts; the others are copied.
    GedRecordReader reader(input_, true);
    reader_ = &reader;
    GedRecord r;
    bool first = true;
    // Planning needs only the records that name notes or sources.
    auto passOver = [this](uint64_t firstLineEnd) {
        if (output_)
            return false;
        const int32_t known = knownRecordAt(firstLineEnd);
        return known != 0 && !(known > 0 ? db_.persons[known].namesNotes : db_.families[-known].namesNotes);
    };
    while (reader.next(r, passOver)) {
        if (r.empty())
            continue;
        if (afterTrailer_) {
            if (!output_)
                break;
            for (size_t i = 0; i < r.size(); ++i)
                writeInputLine(r[i].text, r[i].raw);
            output_->flushJoined();
            continue;
        }
        if (first) {
            const std::string_view end = lineEndOf(r[0].text);
            if (!end.empty())
                fileLineEnd_ = std::string(end);
            first = false;
        }
        if (progress)
            progress->advance(input_.position());
        record(r, reader.firstLineEnd());
        if (output_)
            output_->flushJoined(); // the record's bytes go with the next read
    }
    if (!afterTrailer_)
        writeMissingRecords();
    if (output_ && !halfRaw_.empty())
        output_->writeRaw(halfRaw_); // the file ends as it ended
    return !input_.failed();
}

void ExportPass::record(GedRecord& r, uint64_t firstLineEnd)
{
    const GedLine first = r[0];
    inKind_ = Renumbered::none;
    if (first.level != 0) { // the start of a file that is no record
        copyLines(r, RecordKind::person, 0, false);
        return;
    }
    if (const int32_t known = knownRecordAt(firstLineEnd)) {
        if (known > 0 ? isWrittenPerson(known) : isWrittenFamily(-known))
            writeDatabaseRecord(known > 0 ? RecordKind::person : RecordKind::family, known > 0 ? known : -known, r);
        return;
    }
    if (isTrailer(first.text)) {
        writeMissingRecords();
        writeLevelZero(first, {});
        afterTrailer_ = true;
        // Whatever follows the trailer is copied as it stands, its first
        // lines too (they belong to the trailer's record when they have no
        // level 0).
        for (size_t i = 1; output_ && i < r.size(); ++i)
            writeInputLine(r[i].text, r[i].raw);
        return;
    }
    const Pointer id = recordIdentifier(first.text);
    if (id.kind != Renumbered::none) {
        if (!renumbered(id)) {
            tooLarge(id); // kept with its identifier
        } else {
            if (output_ && newNumber(id) == 0)
                return; // nothing written names it
            inKind_ = id.kind;
            inNumber_ = id.number;
        }
    }
    writeLevelZero(first, id);
    copyLines(r, RecordKind::person, 0, false);
}

int32_t ExportPass::knownRecordAt(uint64_t firstLineEnd)
{
    const size_t count = db_.fileOrder.size();
    while (nextKnown_ < count && knownOffset(nextKnown_) < firstLineEnd)
        ++nextKnown_;
    return nextKnown_ < count && knownOffset(nextKnown_) == firstLineEnd ? db_.fileOrder[nextKnown_++] : 0;
}

void ExportPass::writeLevelZero(const GedLine& line, const Pointer& id)
{
    if (!output_) {
        // Identifiers written as they stand may not be given to a new note or source.
        const RecordLine r = recordLine(line.text);
        if (!renumbered(id) && r.identifier.size() > 2 && (r.identifier[1] == 'N' || r.identifier[1] == 'S'))
            keptIdentifiers_.emplace(r.identifier);
        return;
    }
    if (renumbered(id))
        writeRenumbered(line.text, line.raw, id);
    else
        writeInputLine(line.text, line.raw);
}

void ExportPass::endOpenLine()
{
    if (!halfRaw_.empty())
        output_->writeText(halfText_, {});
    if (lineOpen_)
        output_->writeText({}, fileLineEnd_);
    lineOpen_ = false;
    halfRaw_.clear();
}

void ExportPass::writeInputLine(std::string_view text, std::string_view raw)
{
    endOpenLine();
    lineOpen_ = lineEndOf(text).empty();
    if (raw.size() % format_.unitBytes() == 0) {
        output_->writeRaw(raw);
    } else {
        halfRaw_ = raw;
        halfText_ = text;
    }
}

// The line with the new number in its identifier; what follows the
// identifier keeps its bytes.
void ExportPass::writeRenumbered(std::string_view text, std::string_view raw, const Pointer& p)
{
    writeReplaced(text, raw, p.begin, p.end, formatText("@%c%d@", static_cast<char>(p.kind), newNumber(p)));
}

void ExportPass::writeReplaced(std::string_view text, std::string_view raw, size_t begin, size_t end, const std::string& identifier)
{
    const std::string prefix = std::string(text.substr(0, begin)) + identifier;
    endOpenLine();
    lineOpen_ = lineEndOf(text).empty();
    output_->writeText(prefix, {});
    // The prefix is plain ASCII up to the identifier, so the identifier ends
    // at the same character in the raw bytes.
    if (raw.size() % format_.unitBytes() == 0) {
        output_->writeRaw(raw.substr(end * format_.unitBytes()));
    } else {
        halfRaw_ = raw.substr(end * format_.unitBytes());
        halfText_ = text.substr(end);
    }
}

void ExportPass::findMergedIdentifiers()
{
    for (int32_t rin = 1; rin <= db_.highestRin; ++rin)
        if (db_.isPerson(rin))
            for (const int32_t merged : db_.persons[rin].mergedRins)
                survivorOf_.emplace(db_.personXref(merged), db_.personXref(rin));
    for (int32_t mrin = 1; mrin <= db_.highestMrin; ++mrin)
        if (db_.isFamily(mrin))
            for (const int32_t merged : db_.families[mrin].mergedMrins)
                survivorOf_.emplace(db_.familyXref(merged), db_.familyXref(mrin));
}

// A line whose value is a pointer to a merged record ("1 ASSO @I12@") names
// the survivor instead.
bool ExportPass::writeRedirected(const ImageLine& line)
{
    const std::string_view text = line.text;
    const std::string_view pointer = valuePointer(text);
    if (pointer.empty())
        return false;
    const auto survivor = survivorOf_.find(std::string(pointer));
    if (survivor == survivorOf_.end())
        return false;
    const auto begin = static_cast<size_t>(pointer.data() - text.data());
    if (output_)
        writeReplaced(text, line.raw, begin, begin + pointer.size(), survivor->second);
    return true;
}

void ExportPass::findUnwrittenIdentifiers()
{
    for (int32_t rin = 1; rin <= db_.highestRin; ++rin)
        if (db_.persons[rin].fileOffset != 0 && !isWrittenPerson(rin) && !survivorOf_.count(db_.personXref(rin)))
            unwritten_.insert(db_.personXref(rin));
    for (int32_t mrin = 1; mrin <= db_.highestMrin; ++mrin)
        if (db_.families[mrin].fileOffset != 0 && !isWrittenFamily(mrin) && !survivorOf_.count(db_.familyXref(mrin)))
            unwritten_.insert(db_.familyXref(mrin));
}

bool ExportPass::namesUnwritten(std::string_view text) const
{
    if (unwritten_.empty())
        return false;
    const std::string_view pointer = valuePointer(text);
    return !pointer.empty() && unwritten_.count(std::string(pointer)) > 0;
}

int32_t ExportPass::newNumber(const Pointer& p) const
{
    const std::vector<int32_t>& numbers = p.kind == Renumbered::note ? noteNumbers_ : sourceNumbers_;
    return static_cast<size_t>(p.number) < numbers.size() ? numbers[static_cast<size_t>(p.number)] : 0;
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

void ExportPass::writeNewLine(std::string_view text, std::string_view lineEnd)
{
    endOpenLine();
    const size_t before = output_->unmappable();
    output_->writeText(text, lineEnd);
    if (output_->unmappable() != before)
        unmappableLines.emplace_back(text);
}

void ExportPass::writeLine(const ImageLine& line)
{
    if (line.isNew) {
        if (output_)
            writeNewLine(line.newText, line.lineEnd);
        return;
    }
    // Only NOTE and SOUR lines name notes and sources.
    static constexpr uint32_t noteTag = tagCode("NOTE"), sourceTag = tagCode("SOUR");
    if (line.tag != noteTag && line.tag != sourceTag) {
        if (!survivorOf_.empty() && writeRedirected(line))
            return;
        if (output_)
            writeInputLine(line.text, line.raw);
        return;
    }
    const Pointer p = pointerOf(line.text);
    if (!renumbered(p)) {
        if (p.kind != Renumbered::none)
            tooLarge(p);
        if (output_)
            writeInputLine(line.text, line.raw);
        return;
    }
    if (!output_) {
        references_.push_back({p.kind, p.number, inKind_, inNumber_});
        return;
    }
    // The prefix up to the identifier is ASCII in any file whose pointers
    // read as identifiers, so it can be written anew.
    writeRenumbered(line.text, line.raw, p);
}

// Writes the lines of a record that is not rebuilt. With regenerateLinks the
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
        bool family; // the entries are families
        const int32_t* next = nullptr;
        size_t lastBlockEnd = 0;
    };
    std::array<LinkList, 3> lists;
    size_t listCount = 0;
    if (regenerateLinks && kind == RecordKind::person) {
        const PersonRecord& p = db_.persons[number];
        lists[listCount++] = {tagCode("FAMS"), "FAMS", p.fams.begin(), p.fams.end(), true};
        lists[listCount++] = {tagCode("FAMC"), "FAMC", p.famc.begin(), p.famc.end(), true};
    } else if (regenerateLinks) {
        const FamilyRecord& f = db_.families[number];
        lists[listCount++] = {tagCode("HUSB"), "HUSB", &f.husband, &f.husband + (f.husband != 0), false};
        lists[listCount++] = {tagCode("WIFE"), "WIFE", &f.wife, &f.wife + (f.wife != 0), false};
        lists[listCount++] = {tagCode("CHIL"), "CHIL", f.children.begin(), f.children.end(), false};
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
    auto listOf = [&](const GedLine& line) -> LinkList* {
        if (line.level != 1)
            return nullptr;
        for (LinkList& list : links)
            if (line.tag == list.tag)
                return namesRecord(line) ? &list : nullptr;
        return nullptr;
    };
    for (size_t i = 1; i < count; ++i)
        if (LinkList* list = listOf(r[i]))
            list->lastBlockEnd = subtreeEnd(i);

    const std::string_view lineEnd = lineEndOf(r[0].text).empty() ? std::string_view(fileLineEnd_) : lineEndOf(r[0].text);
    auto kept = [&](const LinkList& list, int32_t entry) { return list.family ? isWrittenFamily(entry) : isWrittenPerson(entry); };
    auto xref = [&](const LinkList& list, int32_t entry) { return list.family ? db_.familyXref(entry) : db_.personXref(entry); };
    auto created = [&](const LinkList& list, int32_t entry) {
        return ImageLine::created(1, list.name, std::string("1 ") + list.name + " " + xref(list, entry), lineEnd);
    };

    for (size_t i = r[0].level == 0 ? 1 : 0; i < count;) {
        const GedLine& line = r[i];
        LinkList* list = listOf(line);
        if (!list && line.level >= 1 && namesUnwritten(line.text)) {
            if (output_)
                ++droppedPointerLines;
            i = subtreeEnd(i);
            continue;
        }
        if (!list) {
            writeLine(ImageLine::input(line));
            ++i;
            continue;
        }
        const size_t end = subtreeEnd(i);
        const bool has = list->next < list->end;
        const int32_t entry = has ? *list->next++ : 0;
        if (has && kept(*list, entry)) {
            if (pointerIn(line.text) == xref(*list, entry))
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
    }
}

// Writes a person or family of the database: its level-0 line (the file's,
// or a new one for a record the file does not have), its new position, and
// its lines, copied or, when changed, rebuilt.
void ExportPass::writeDatabaseRecord(RecordKind kind, int32_t number, GedRecord& r)
{
    const bool person = kind == RecordKind::person;
    (person ? personDone_ : familyDone_)[static_cast<size_t>(number)] = true;
    std::string_view lineEnd = fileLineEnd_;
    if (r.empty()) {
        if (output_)
            writeNewLine(person ? "0 " + db_.personXref(number) + " INDI" : "0 " + db_.familyXref(number) + " FAM", fileLineEnd_);
    } else {
        // A record read under an identifier an earlier record has is written
        // with the identifier of its own it got.
        const std::string_view identifier = recordLine(r[0].text).identifier;
        const std::string own = person ? db_.personXref(number) : db_.familyXref(number);
        if (output_ && !identifier.empty() && identifier != own) {
            const auto begin = static_cast<size_t>(identifier.data() - r[0].text.data());
            writeReplaced(r[0].text, r[0].raw, begin, begin + identifier.size(), own);
        } else {
            writeLevelZero(r[0], {});
        }
        if (!lineEndOf(r[0].text).empty())
            lineEnd = lineEndOf(r[0].text);
    }
    if (output_) {
        (person ? personOffsets : familyOffsets)[static_cast<size_t>(number)] = output_->bytesWritten();
        fileOrder.push_back(person ? number : -number);
    }
    const uint32_t flags = person ? db_.persons[number].flags : db_.families[number].flags;
    if (r.empty() || (flags & Flag::changed)) {
        reader_->decodeTexts(r);
        lines_ = rewriteRecord(db_, kind, number, withMergedRecords(kind, number, r), filter_, lineEnd);
        for (size_t i = 0; i < lines_.size(); ++i) {
            const ImageLine& line = lines_[i];
            if (!line.isNew && line.level >= 1 && namesUnwritten(line.text)) {
                if (output_)
                    ++droppedPointerLines;
                while (i + 1 < lines_.size() && (lines_[i + 1].level > line.level || lines_[i + 1].level < 0))
                    ++i;
                continue;
            }
            writeLine(line);
        }
    } else {
        copyLines(r, kind, number, true);
    }
}

namespace {

// Level-1 blocks of lines (or level-2 subtrees of a block): where each
// begins and ends.
std::vector<std::pair<size_t, size_t>> subtrees(const std::vector<GedLine>& lines, size_t begin, size_t end, int level)
{
    std::vector<std::pair<size_t, size_t>> spans;
    for (size_t i = begin; i < end;) {
        if (lines[i].level != level) {
            ++i;
            continue;
        }
        size_t last = i + 1;
        while (last < end && (lines[last].level > level || lines[last].level < 0))
            ++last;
        spans.emplace_back(i, last);
        i = last;
    }
    return spans;
}

// The texts of lines without their line ends: blocks that say the same.
std::string wordsOf(const std::vector<GedLine>& lines, std::pair<size_t, size_t> span)
{
    std::string text;
    for (size_t i = span.first; i < span.second; ++i) {
        const std::string_view line = lines[i].text;
        text.append(line.substr(0, line.size() - lineEndOf(line).size())).push_back('\n');
    }
    return text;
}

} // namespace

std::vector<GedLine> ExportPass::withMergedRecords(RecordKind kind, int32_t number, const GedRecord& own)
{
    std::vector<GedLine> ownLines;
    for (size_t i = 0; i < own.size(); ++i)
        ownLines.push_back(own[i]);
    mergedTexts_.clear();
    const IdList& merged = kind == RecordKind::person ? db_.persons[number].mergedRins : db_.families[number].mergedMrins;
    if (merged.empty())
        return ownLines;
    if (ownLines.empty())
        ownLines.push_back(GedLine{0, 0, {}, {}, 0}); // stands for the level-0 line

    // The survivor's lines as blocks; merged blocks join them.
    struct Block {
        std::vector<GedLine> lines;
        std::set<std::string> subtrees; // of an event block
    };
    std::vector<GedLine> preamble;
    std::vector<Block> blocks;
    std::set<std::string> sameBlocks;
    std::vector<std::pair<size_t, size_t>> ownBlocks = subtrees(ownLines, 1, ownLines.size(), 1);
    preamble.assign(ownLines.begin(), ownLines.begin() + static_cast<ptrdiff_t>(ownBlocks.empty() ? ownLines.size() : ownBlocks[0].first));
    for (const auto& span : ownBlocks) {
        Block& block = blocks.emplace_back();
        block.lines.assign(ownLines.begin() + static_cast<ptrdiff_t>(span.first), ownLines.begin() + static_cast<ptrdiff_t>(span.second));
        sameBlocks.insert(wordsOf(ownLines, span));
    }

    // The links, the name and what identifies a record are the survivor's;
    // of the events and of the tags a record has once, its own come first: a
    // merged event gives only the lines beneath it that are not date or place.
    static constexpr uint32_t personTags[] = {tagCode("NAME"), tagCode("SEX"), tagCode("FAMS"), tagCode("FAMC"),
                                              tagCode("RIN"),  tagCode("RFN"), tagCode("AFN"),  tagCode("_UID"), tagCode("CHAN")};
    static constexpr uint32_t familyTags[] = {tagCode("HUSB"), tagCode("WIFE"), tagCode("CHIL"),
                                              tagCode("RIN"),  tagCode("_UID"), tagCode("CHAN")};
    static constexpr uint32_t eventTags[] = {tagCode("BIRT"), tagCode("CHR"), tagCode("DEAT"), tagCode("BURI"), tagCode("MARR")};
    static constexpr uint32_t onceTags[] = {tagCode("RESN")};
    auto among = [](std::span<const uint32_t> tags, uint32_t tag) { return std::find(tags.begin(), tags.end(), tag) != tags.end(); };
    auto blockWith = [&blocks](uint32_t tag) -> Block* {
        for (Block& block : blocks)
            if (block.lines[0].tag == tag)
                return &block;
        return nullptr;
    };
    static constexpr uint32_t dateTag = tagCode("DATE"), placeTag = tagCode("PLAC");

    for (const int32_t m : merged) {
        const uint64_t offset = kind == RecordKind::person ? (db_.validRin(m) ? db_.persons[m].fileOffset : 0)
                                                           : (db_.validMrin(m) ? db_.families[m].fileOffset : 0);
        if (offset == 0)
            continue; // not in the file read
        if (!mergedInput_.isOpen() && !mergedInput_.open(file_.bytes, format_))
            break;
        mergedInput_.seek(offset);
        GedRecordReader reader(mergedInput_);
        GedRecord record;
        if (!reader.next(record))
            continue;
        // Copies, which stay while the survivor is written.
        std::vector<GedLine> lines;
        for (size_t i = 0; i < record.size(); ++i) {
            const std::string& text = mergedTexts_.emplace_back(record[i].text);
            const std::string& raw = mergedTexts_.emplace_back(record[i].raw);
            lines.push_back(parseGedLine(text, raw));
        }
        for (const auto& span : subtrees(lines, 0, lines.size(), 1)) {
            const uint32_t tag = lines[span.first].tag;
            if (among(kind == RecordKind::person ? std::span<const uint32_t>(personTags) : std::span<const uint32_t>(familyTags), tag))
                continue;
            Block* held = blockWith(tag);
            if (held && among(eventTags, tag)) {
                if (held->subtrees.empty())
                    for (const auto& sub : subtrees(held->lines, 1, held->lines.size(), 2))
                        held->subtrees.insert(wordsOf(held->lines, sub));
                for (const auto& sub : subtrees(lines, span.first + 1, span.second, 2))
                    if (lines[sub.first].tag != dateTag && lines[sub.first].tag != placeTag &&
                        held->subtrees.insert(wordsOf(lines, sub)).second)
                        held->lines.insert(held->lines.end(), lines.begin() + static_cast<ptrdiff_t>(sub.first),
                                           lines.begin() + static_cast<ptrdiff_t>(sub.second));
                continue;
            }
            if ((held && among(onceTags, tag)) || !sameBlocks.insert(wordsOf(lines, span)).second)
                continue;
            blocks.emplace_back().lines.assign(lines.begin() + static_cast<ptrdiff_t>(span.first),
                                               lines.begin() + static_cast<ptrdiff_t>(span.second));
        }
    }
    std::vector<GedLine> all = std::move(preamble);
    for (const Block& block : blocks)
        all.insert(all.end(), block.lines.begin(), block.lines.end());
    return all;
}

// Persons and families that are written but have no record in the file
// (added since it was read) are built from the database alone, before the
// trailer.
void ExportPass::writeMissingRecords()
{
    GedRecord none;
    for (int32_t rin = 1; rin <= db_.highestRin; ++rin)
        if (!personDone_[static_cast<size_t>(rin)] && db_.persons[rin].fileOffset == 0 && isWrittenPerson(rin))
            writeDatabaseRecord(RecordKind::person, rin, none);
    for (int32_t mrin = 1; mrin <= db_.highestMrin; ++mrin)
        if (!familyDone_[static_cast<size_t>(mrin)] && db_.families[mrin].fileOffset == 0 && isWrittenFamily(mrin))
            writeDatabaseRecord(RecordKind::family, mrin, none);
}

} // namespace

bool writesEveryPerson(const Database& db, const std::function<bool(int32_t)>& written)
{
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        if (db.isPerson(rin) && !written(rin))
            return false;
    return true;
}

ExportOutcome exportGed(Workspace& s, GedFile& file, const std::string& target,
                        const std::function<bool(int32_t rin)>& written, bool lossy, std::vector<std::string>* unmappable)
{
    Database& db = s.db;
    const bool complete = writesEveryPerson(db, written);

    GedInput input;
    GedOutput output;
    GedRewrite rewrite(s, file, target);
    if (!rewrite.open(input, output))
        return ExportOutcome::failed;
    // A complete export is the new current file: its bytes are what the
    // next export copies.
    FileBytes writtenBytes;
    if (complete) {
        writtenBytes.reserve(file.bytes->size() + file.bytes->size() / 8); // grown rarely, never copied whole
        output.keepCopy(&writtenBytes);
    }
    s.setStatus(0, "part-export %s", fileNameOf(target).c_str());

    ExportPass pass(s, input, file, written);
    const bool passed = pass.plan() && pass.write(output);
    input.close();
    if (passed && !lossy && !pass.unmappableLines.empty()) {
        rewrite.abandon(output); // nothing is written with "?" unless the user accepts it
        if (unmappable)
            *unmappable = std::move(pass.unmappableLines);
        return ExportOutcome::unmappable;
    }
    s.journal.write("\n# %s", journalStamp(s.clock.localTime()).c_str());
    s.journal.write("\n- Auto-Source: %s\n", file.path.c_str());
    if (!rewrite.finish(output, passed, !complete))
        return ExportOutcome::failed;
    if (pass.droppedPointerLines != 0)
        s.report.append("\r\n%d lines that point to a record not written were left out", pass.droppedPointerLines);
    for (const std::string& line : pass.unmappableLines)
        s.report.append("\r\nNot all characters fit into %s, \"?\" written instead: %s", encodingName(file.format.encoding),
                        line.c_str());
    if (!complete)
        return ExportOutcome::written;
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        db.persons[rin].fileOffset = pass.personOffsets[static_cast<size_t>(rin)];
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin)
        db.families[mrin].fileOffset = pass.familyOffsets[static_cast<size_t>(mrin)];
    db.fileOrder = std::move(pass.fileOrder);
    file.path = rewrite.target();
    file.loadedName = fileNameOf(rewrite.target());
    file.bytes = std::make_shared<const FileBytes>(std::move(writtenBytes));
    file.stamp = stampOf(rewrite.target());
    return ExportOutcome::written;
}

} // namespace kinmap
