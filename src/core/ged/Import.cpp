#include "ged/Import.h"

#include "base/Labels.h"
#include "base/Workspace.h"
#include "db/Numbers.h"
#include "ged/GedLineIO.h"
#include "ged/ImportRules.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

namespace kinmap {

FileProgress::FileProgress(Workspace& session, uint64_t fileSize)
    : session_(session), size_(fileSize), step_(fileSize / 100), next_(fileSize / 100)
{
    session_.ui.progressStart();
}

FileProgress::~FileProgress()
{
    session_.ui.progressEnd();
}

void FileProgress::advance(uint64_t position)
{
    if (position <= next_ || size_ == 0)
        return;
    int percent = static_cast<int>(position * 100 / size_);
    if (percent == 99)
        percent = 100;
    next_ += step_;
    session_.ui.progressAdvance(percent);
    session_.setStatus(1, "%d%% done", percent);
}

bool hasGedExtension(const std::string& path)
{
    std::string name = fileNameOf(path);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    return name.find(".ged") != std::string::npos;
}

namespace {

constexpr auto tag = [](const auto& name) { return importTagOf(name); };

enum class Event { none, birth, christening, death, burial, marriage };

// Identifiers. A record whose identifier reads as a number ("@", one
// letter, digits, "@", the number from 1 to maxRecordNumber) that no earlier
// record took keeps that number. Every other record is staged and gets a
// free number after the pass, above the highest number the file uses.
//
// During the pass a link holds the number it names packed with the spelling
// of the pointer (its letter and how many digits), or, for a pointer that
// reads as no number, the index of its spelling with irregularBit set.
// After the pass every link is resolved to the record that the file names.
constexpr int32_t maxRecordNumber = 249999;
constexpr int numberBits = 18;
constexpr int32_t numberMask = (1 << numberBits) - 1;
constexpr int32_t irregularBit = 1 << 29;
constexpr int32_t danglingLink = -1;

struct Spelling {
    int32_t number = 0;
    uint16_t signature = 0; // letter << 4 | digits; 0 when the identifier reads as no number
};

Spelling readSpelling(std::string_view id)
{
    if (id.size() < 4 || id.size() > 18 || id.front() != '@' || id.back() != '@')
        return {};
    const auto letter = static_cast<unsigned char>(id[1]);
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')))
        return {};
    const std::string_view digits = id.substr(2, id.size() - 3);
    size_t count = 0;
    const int32_t n = leadingNumber(digits, &count);
    if (count != digits.size() || n < 1 || n > maxRecordNumber)
        return {};
    return {n, static_cast<uint16_t>(letter << 4 | digits.size())};
}

std::string spellingText(int32_t number, uint16_t signature)
{
    const std::string digits = std::to_string(number);
    const size_t width = signature & 0xF;
    std::string text = "@";
    text += static_cast<char>(signature >> 4);
    if (digits.size() < width)
        text.append(width - digits.size(), '0');
    text += digits;
    text += '@';
    return text;
}

// The file spells the number as the export would write it ("@I12@").
bool isCanonical(int32_t number, uint16_t signature, char letter)
{
    return (signature >> 4) == letter && (signature & 0xF) == std::to_string(number).size();
}

struct Staged {
    std::string identifier;
    int line;
    bool duplicate;
    size_t inFileOrder;
};

class GedReader {
public:
    GedReader(Workspace& session, GedInput& input) : s_(session), db_(session.db), input_(input) {}

    enum class Result { read, tooBig };
    Result readFile();
    // Numbers the staged records, resolves every link and drops doubled
    // FAMS and FAMC links (with a report line each).
    void resolve();

    bool sawHeader() const { return sawHeader_; }
    // The line of the trailer when more lines follow it, else 0.
    int trailerBeforeEnd() { return trailerLine_ != 0 && input_.readLine() ? trailerLine_ : 0; }
    std::string_view firstLine() const { return firstLine_; }

private:
    bool recordStart(std::string_view line);
    void personLine(std::string_view line);
    void familyLine(std::string_view line);
    void eventLine(std::string_view line);
    void nameLine(std::string_view value);
    void noteLine(std::string_view line);
    int32_t pointerValue(std::string_view line);
    int32_t resolvePointer(int32_t value, bool family) const;
    void giveDuplicatesFreshIdentifiers();
    std::string pointerText(int32_t value) const;
    // A resolved link, or 0 (reported) for a pointer that names no record.
    // A resolved link, or 0 for a pointer that names no record (kept for
    // the report).
    int32_t resolveLink(int32_t value, bool family, bool inFamily, int32_t number, const char* tagName);
    void resolveList(IdList& list, bool family, bool inFamily, int32_t number, const char* tagName);

public:
    std::vector<DanglingLink> dangling;

private:
    void dropDoubledLinks(int32_t rin, IdList& list, const char* message);

    PersonRecord& person() { return stagedPerson_ >= 0 ? stagedPersons_[static_cast<size_t>(stagedPerson_)] : db_.persons[person_]; }
    FamilyRecord& family() { return stagedFamily_ >= 0 ? stagedFamilies_[static_cast<size_t>(stagedFamily_)] : db_.families[family_]; }
    bool inPerson() const { return person_ != 0 || stagedPerson_ >= 0; }
    bool inFamily() const { return family_ != 0 || stagedFamily_ >= 0; }

    Workspace& s_;
    Database& db_;
    GedInput& input_;
    int line_ = 0;
    int trailerLine_ = 0;
    bool sawHeader_ = false;
    std::string firstLine_;

    int32_t person_ = 0, family_ = 0;
    long stagedPerson_ = -1, stagedFamily_ = -1;
    Event event_ = Event::none;

    std::vector<uint16_t> personSignature_, familySignature_; // by number
    std::deque<PersonRecord> stagedPersons_;
    std::deque<FamilyRecord> stagedFamilies_;
    std::vector<Staged> stagedPersonIds_, stagedFamilyIds_;
    std::unordered_map<std::string, int32_t> stagedPersonByXref_, stagedFamilyByXref_; // the first of each
    std::vector<std::string> irregularPointers_;
    std::unordered_map<std::string, int32_t> irregularIndex_;
    std::vector<int32_t> stagedPersonNumbers_, stagedFamilyNumbers_;
};

GedReader::Result GedReader::readFile()
{
    FileProgress progress(s_, input_.size());
    while (input_.readLine()) {
        const std::string_view line = input_.text();
        if (++line_ == 1)
            firstLine_ = line.substr(0, 200);
        switch (importLevel(line)) {
        case 0:
            progress.advance(input_.position());
            if (isTrailer(line)) {
                trailerLine_ = line_;
                return Result::read; // what follows the trailer is no part of the file
            }
            if (!recordStart(line))
                return Result::tooBig;
            break;
        case 1:
            event_ = Event::none;
            if (inPerson())
                personLine(line);
            else if (inFamily())
                familyLine(line);
            break;
        case 2:
            if (event_ != Event::none)
                eventLine(line);
            break;
        default:
            break;
        }
        if (inPerson() || inFamily())
            noteLine(line);
    }
    return Result::read;
}

bool GedReader::recordStart(std::string_view line)
{
    event_ = Event::none;
    person_ = family_ = 0;
    stagedPerson_ = stagedFamily_ = -1;
    const RecordLine r = recordLine(line);
    const uint32_t code = importTag(line, r.tagAt);
    if (line_ == 1 && r.identifier.empty() && code == tag("HEAD"))
        sawHeader_ = true;
    if (r.identifier.empty())
        return true;
    const bool isPerson = code == tag("INDI");
    if (!isPerson && code != tag("FAM")) {
        if (code == tag("SOUR"))
            db_.highestSourceNumber = std::max(db_.highestSourceNumber, readSpelling(r.identifier).number);
        return true;
    }

    int32_t& count = isPerson ? db_.personCount : db_.familyCount;
    if (count == (isPerson ? Database::maxPersons : Database::maxFamilies)) {
        s_.errorBox(isPerson ? "\r\n GED file too big. >%d Persons" : "\r\n GED file too big. >%d Families", count);
        return false;
    }
    ++count;
    std::vector<uint16_t>& signatures = isPerson ? personSignature_ : familySignature_;
    const Spelling spelling = readSpelling(r.identifier);
    const auto number = static_cast<size_t>(spelling.number);
    const bool taken = spelling.signature != 0 && number < signatures.size() && signatures[number] != 0;
    if (spelling.signature != 0 && !taken) {
        if (number >= signatures.size())
            signatures.resize(std::max(number + 1, signatures.size() * 2));
        signatures[number] = spelling.signature;
        db_.fileOrder.push_back(isPerson ? spelling.number : -spelling.number);
        if (isPerson) {
            db_.highestRin = std::max(db_.highestRin, spelling.number);
            person_ = spelling.number;
            db_.importedPerson(person_).fileOffset = input_.position();
            person().flags |= Flag::exists;
        } else {
            db_.highestMrin = std::max(db_.highestMrin, spelling.number);
            family_ = spelling.number;
            db_.importedFamily(family_).fileOffset = input_.position();
            family().flags |= Flag::exists;
        }
        return true;
    }

    // Staged: numbered after the pass. A pointer to a doubled identifier
    // names the first record that has it.
    const std::string identifier(r.identifier);
    auto& byXref = isPerson ? stagedPersonByXref_ : stagedFamilyByXref_;
    auto& ids = isPerson ? stagedPersonIds_ : stagedFamilyIds_;
    const auto index = static_cast<int32_t>(ids.size());
    const bool duplicate = (taken && signatures[number] == spelling.signature) || byXref.count(identifier) > 0;
    byXref.emplace(identifier, index);
    ids.push_back({identifier, line_, duplicate, db_.fileOrder.size()});
    db_.fileOrder.push_back(0); // the number follows
    if (isPerson) {
        stagedPersons_.emplace_back();
        stagedPerson_ = index;
        person().fileOffset = input_.position();
        person().flags |= Flag::exists;
    } else {
        stagedFamilies_.emplace_back();
        stagedFamily_ = index;
        family().fileOffset = input_.position();
        family().flags |= Flag::exists;
    }
    return true;
}

int32_t GedReader::pointerValue(std::string_view line)
{
    const std::string_view pointer = pointerIn(line);
    if (pointer.empty())
        return 0;
    const Spelling spelling = readSpelling(pointer);
    if (spelling.signature != 0)
        return spelling.number | static_cast<int32_t>(spelling.signature) << numberBits;
    const auto [at, added] = irregularIndex_.emplace(std::string(pointer), static_cast<int32_t>(irregularPointers_.size()));
    if (added)
        irregularPointers_.emplace_back(pointer);
    return irregularBit | at->second;
}

void GedReader::personLine(std::string_view line)
{
    PersonRecord& p = person();
    switch (importTag(line, 2)) {
    case tag("NAME"):
        nameLine(valueAt(line, 7));
        break;
    case tag("SEX"):
        p.sex = sexValue(line);
        break;
    case tag("FAMS"):
        db_.appendLink(p.fams, pointerValue(line));
        break;
    case tag("FAMC"):
        db_.appendLink(p.famc, pointerValue(line));
        break;
    case tag("BIRT"):
        event_ = Event::birth;
        break;
    case tag("CHR"):
        event_ = Event::christening;
        break;
    case tag("DEAT"):
        event_ = Event::death;
        break;
    case tag("BURI"):
        event_ = Event::burial;
        break;
    default:
        break;
    }
}

void GedReader::familyLine(std::string_view line)
{
    FamilyRecord& f = family();
    switch (importTag(line, 2)) {
    case tag("HUSB"):
        f.husband = pointerValue(line);
        f.flags |= Flag::hasHusband;
        break;
    case tag("WIFE"):
        f.wife = pointerValue(line);
        f.flags |= Flag::hasWife;
        break;
    case tag("CHIL"):
        db_.appendLink(f.children, pointerValue(line));
        f.flags |= Flag::hasChildren;
        break;
    case tag("DIV"):
        if (valueAt(line, 6).starts_with('Y'))
            f.flags |= Flag::divorced;
        break;
    case tag("MARR"):
        event_ = Event::marriage;
        break;
    default:
        break;
    }
}

// Notes whether a record names notes or sources, so that the export's
// first run can pass over the records that do not.
void GedReader::noteLine(std::string_view line)
{
    bool& namesNotes = inPerson() ? person().namesNotes : family().namesNotes;
    if (namesNotes)
        return;
    size_t at = 0;
    while (at < line.size() && isDigit(line[at]))
        ++at;
    if (at == 0 || at == line.size() || line[at] != ' ')
        return;
    while (at < line.size() && line[at] == ' ')
        ++at;
    if (at == line.size() || (line[at] != 'N' && line[at] != 'S')) // most lines, without a compare
        return;
    const std::string_view word = line.substr(at, 5);
    namesNotes = (word == "NOTE " || word == "SOUR ") && line.find('@', at + 5) != std::string_view::npos;
}

void GedReader::nameLine(std::string_view value)
{
    const std::optional<NameParts> name = nameParts(value);
    if (!name)
        return;
    PersonRecord& p = person();
    // A name without slashes ("1 NAME Mamie", an alias, say) never replaces
    // a name an earlier NAME line gave.
    if (!name->slashes && (p.given || p.surname))
        return;
    p.surname = db_.internText(surnamePool, name->surname);
    if (*p.surname)
        p.flags |= Flag::hasSurname;
    p.given = db_.internText(givenPool, name->given);
    if (*p.given)
        p.flags |= Flag::hasGiven;
}

void GedReader::eventLine(std::string_view line)
{
    const uint32_t code = importTag(line, 2);
    const bool isDate = code == tag("DATE");
    if (!isDate && code != tag("PLAC"))
        return;

    DateValue* date = nullptr;
    Text* place = nullptr;
    uint32_t* flags = nullptr;
    uint32_t dateFlag = 0, placeFlag = 0;
    if (event_ == Event::marriage) {
        FamilyRecord& f = family();
        date = &f.marrDate, place = &f.marrPlace, flags = &f.flags;
        dateFlag = Flag::hasMarrDate, placeFlag = Flag::hasMarrPlace;
    } else {
        PersonRecord& p = person();
        flags = &p.flags;
        switch (event_) {
        case Event::birth:
            date = &p.birthDate, place = &p.birthPlace, dateFlag = Flag::hasBirthDate, placeFlag = Flag::hasBirthPlace;
            break;
        case Event::christening:
            date = &p.chrisDate, place = &p.chrisPlace, dateFlag = Flag::hasChrisDate, placeFlag = Flag::hasChrisPlace;
            break;
        case Event::death:
            date = &p.deathDate, place = &p.deathPlace, dateFlag = Flag::hasDeathDate, placeFlag = Flag::hasDeathPlace;
            break;
        default:
            date = &p.burialDate, place = &p.burialPlace, dateFlag = Flag::hasBurialDate, placeFlag = Flag::hasBurialPlace;
            break;
        }
    }
    const std::string_view value = valueAt(line, 7);
    if (isDate) {
        parseGedDate(*date, value);
        *flags |= dateFlag;
    } else {
        *place = db_.internText(placePool, value);
        *flags |= placeFlag;
    }
}

int32_t GedReader::resolvePointer(int32_t value, bool family) const
{
    if (value == 0)
        return 0;
    const auto& byXref = family ? stagedFamilyByXref_ : stagedPersonByXref_;
    const auto& numbers = family ? stagedFamilyNumbers_ : stagedPersonNumbers_;
    auto staged = [&](const std::string& spelling) -> int32_t {
        const auto found = byXref.find(spelling);
        return found == byXref.end() ? 0 : numbers[static_cast<size_t>(found->second)];
    };
    if (value & irregularBit) {
        const int32_t number = staged(irregularPointers_[static_cast<size_t>(value & ~irregularBit)]);
        return number != 0 ? number : danglingLink;
    }
    const int32_t number = value & numberMask;
    const auto signature = static_cast<uint16_t>(value >> numberBits);
    const auto& signatures = family ? familySignature_ : personSignature_;
    if (static_cast<size_t>(number) < signatures.size() && signatures[static_cast<size_t>(number)] == signature)
        return number;
    // Only the identifier as the file spells it names a record: "@I2@"
    // names no record in a file of "@P2@", nor "@X1@" one in a file of "@I1@".
    const int32_t other = staged(spellingText(number, signature));
    return other != 0 ? other : danglingLink;
}

std::string GedReader::pointerText(int32_t value) const
{
    if (value & irregularBit)
        return irregularPointers_[static_cast<size_t>(value & ~irregularBit)];
    return spellingText(value & numberMask, static_cast<uint16_t>(value >> numberBits));
}

int32_t GedReader::resolveLink(int32_t value, bool family, bool inFamily, int32_t number, const char* tagName)
{
    const int32_t resolved = resolvePointer(value, family);
    if (resolved != danglingLink)
        return resolved;
    dangling.push_back({inFamily, number, tagName, pointerText(value)});
    return 0;
}

void GedReader::resolveList(IdList& list, bool family, bool inFamily, int32_t number, const char* tagName)
{
    for (int i = 0; i < list.count();) {
        const int32_t resolved = resolveLink(list[i], family, inFamily, number, tagName);
        if (resolved == 0) {
            list.removeAt(i);
        } else {
            list.begin()[i] = resolved;
            ++i;
        }
    }
}

void GedReader::dropDoubledLinks(int32_t rin, IdList& list, const char* message)
{
    for (int i = 1; i < list.count();) {
        const int32_t mrin = list[i];
        if (std::find(list.begin(), list.begin() + i, mrin) == list.begin() + i) {
            ++i;
            continue;
        }
        s_.report.append(message, rin, mrin);
        s_.journal.write(message, rin, mrin);
        list.removeAt(i);
    }
}

// A record whose identifier an earlier record has keeps its number and is
// written with an identifier of its own, so that the ambiguity ends with
// the next export: "@I<number>@", unless the file uses that too.
void GedReader::giveDuplicatesFreshIdentifiers()
{
    const bool any = std::any_of(stagedPersonIds_.begin(), stagedPersonIds_.end(), [](const Staged& id) { return id.duplicate; }) ||
                     std::any_of(stagedFamilyIds_.begin(), stagedFamilyIds_.end(), [](const Staged& id) { return id.duplicate; });
    if (!any)
        return;
    std::unordered_set<std::string> used;
    for (int32_t rin = 1; rin < static_cast<int32_t>(personSignature_.size()); ++rin)
        if (const uint16_t signature = personSignature_[static_cast<size_t>(rin)])
            used.insert(spellingText(rin, signature));
    for (int32_t mrin = 1; mrin < static_cast<int32_t>(familySignature_.size()); ++mrin)
        if (const uint16_t signature = familySignature_[static_cast<size_t>(mrin)])
            used.insert(spellingText(mrin, signature));
    for (const auto* ids : {&stagedPersonIds_, &stagedFamilyIds_})
        for (const Staged& id : *ids)
            used.insert(id.identifier);
    auto fresh = [&used](char letter, int32_t number) {
        std::string id = formatText("@%c%d@", letter, number);
        for (char extra = 'A'; used.count(id) && extra <= 'Z'; ++extra)
            id = formatText("@%c%d%c@", letter, number, extra);
        used.insert(id);
        return id;
    };
    auto renameDuplicates = [&](const std::vector<Staged>& ids, const std::vector<int32_t>& numbers, auto& records,
                                char letter, const char* word) {
        for (size_t i = 0; i < ids.size(); ++i) {
            if (!ids[i].duplicate)
                continue;
            const int32_t number = numbers[i];
            const std::string id = fresh(letter, number);
            records[number].xref = db_.texts.storeIdentifier(id);
            s_.report.append("\r\n### duplicate identifier %s (line %d): read as %s %d, written as %s\r\n",
                             ids[i].identifier.c_str(), ids[i].line, word, number, id.c_str());
        }
    };
    renameDuplicates(stagedPersonIds_, stagedPersonNumbers_, db_.persons, 'I', "person");
    renameDuplicates(stagedFamilyIds_, stagedFamilyNumbers_, db_.families, 'F', "family");
}

void GedReader::resolve()
{
    // Staged records get the numbers after the highest the file uses.
    for (size_t i = 0; i < stagedPersons_.size(); ++i) {
        const int32_t rin = ++db_.highestRin;
        stagedPersonNumbers_.push_back(rin);
        db_.importedPerson(rin) = std::move(stagedPersons_[i]);
        db_.persons[rin].xref = db_.texts.storeIdentifier(stagedPersonIds_[i].identifier);
        db_.fileOrder[stagedPersonIds_[i].inFileOrder] = rin;
    }
    for (size_t i = 0; i < stagedFamilies_.size(); ++i) {
        const int32_t mrin = ++db_.highestMrin;
        stagedFamilyNumbers_.push_back(mrin);
        db_.importedFamily(mrin) = std::move(stagedFamilies_[i]);
        db_.families[mrin].xref = db_.texts.storeIdentifier(stagedFamilyIds_[i].identifier);
        db_.fileOrder[stagedFamilyIds_[i].inFileOrder] = -mrin;
    }
    giveDuplicatesFreshIdentifiers();

    for (int32_t rin = 1; rin < static_cast<int32_t>(personSignature_.size()); ++rin)
        if (const uint16_t signature = personSignature_[static_cast<size_t>(rin)]; signature && !isCanonical(rin, signature, 'I'))
            db_.persons[rin].xref = db_.texts.storeIdentifier(spellingText(rin, signature));
    for (int32_t mrin = 1; mrin < static_cast<int32_t>(familySignature_.size()); ++mrin)
        if (const uint16_t signature = familySignature_[static_cast<size_t>(mrin)]; signature && !isCanonical(mrin, signature, 'F'))
            db_.families[mrin].xref = db_.texts.storeIdentifier(spellingText(mrin, signature));

    for (int32_t rin = 1; rin <= db_.highestRin; ++rin) {
        PersonRecord& p = db_.persons[rin];
        if (!p.exists())
            continue;
        resolveList(p.fams, true, false, rin, "FAMS");
        resolveList(p.famc, true, false, rin, "FAMC");
        dropDoubledLinks(rin, p.fams, "RIN %d has duplicate FAMS %d: ignored\r\n");
        dropDoubledLinks(rin, p.famc, "RIN %d has duplicate FAMC %d: ignored\r\n");
    }
    for (int32_t mrin = 1; mrin <= db_.highestMrin; ++mrin) {
        FamilyRecord& f = db_.families[mrin];
        if (!f.exists())
            continue;
        if ((f.husband = resolveLink(f.husband, false, true, mrin, "HUSB")) == 0)
            f.flags &= ~Flag::hasHusband;
        if ((f.wife = resolveLink(f.wife, false, true, mrin, "WIFE")) == 0)
            f.flags &= ~Flag::hasWife;
        resolveList(f.children, false, true, mrin, "CHIL");
        dropDoubledLinks(mrin, f.children, "MRIN %d has duplicate CHIL %d: ignored\r\n");
    }
}

// Why a file that gave no persons cannot be read.
std::string whyNoPersons(const GedInput& input, const GedReader& reader)
{
    if (input.size() <= input.format().markLength)
        return "empty file";
    std::string_view first = reader.firstLine();
    while (!first.empty() && (first.front() == ' ' || first.front() == '\t' || first.front() == '\r' || first.front() == '\n'))
        first.remove_prefix(1);
    if (first.starts_with("<?xml"))
        return "not a GED file (XML)";
    if (first.starts_with("<"))
        return "not a GED file (HTML page)";
    if (!reader.sawHeader())
        return "no GED header (0 HEAD)";
    return "no persons found";
}

} // namespace

ImportResult importGed(Workspace& s, GedFile& file, const std::string& path)
{
    ImportResult result;
    const FileRead read = readWholeFile(path);
    GedInput input;
    if (!read.bytes || !input.open(read.bytes)) {
        if (read.missing)
            s.errorBox("Original GED file %s not found!", path.c_str());
        else
            s.errorBox("Original GED file %s cannot be read: %s", path.c_str(),
                       (read.bytes ? input.error() : read.error).c_str());
        return result;
    }
    // What the export copies is what this import read.
    file.format = input.format();
    file.bytes = read.bytes;
    file.stamp = read.stamp;
    s.journal.startNew();
    s.journal.write("\n# kinmap! %s", programVersion);
    s.journal.write("\n# %s", journalStamp(s.clock.localTime()).c_str());
    s.journal.write("\nImport: %s\n\n", path.c_str());

    Database& db = s.db;
    const auto bytes = static_cast<int>(std::min<uint64_t>(input.size(), 1u << 30));
    db.beginImport(bytes / 250, bytes / 700);
    GedReader reader(s, input);
    if (reader.readFile() == GedReader::Result::tooBig) {
        result.tooBig = true;
        return result;
    }
    if (input.failed()) {
        result.reason = "the file could not be read to its end";
        return result;
    }
    if (db.personCount == 0) {
        result.reason = whyNoPersons(input, reader);
        return result;
    }
    s.setStatus(1, "%d Persons", db.personCount);
    if (const int line = reader.trailerBeforeEnd())
        s.report.append("\r\n### The file goes on after its trailer 0 TRLR (line %d): that part is not read\r\n", line);
    reader.resolve();
    db.endImport();
    result.dangling = std::move(reader.dangling);
    s.setStatus(1, "%d Persons %d Families", db.personCount, db.familyCount);
    s.report.append("%d Persons %d Families imported\r\n", db.personCount, db.familyCount);
    result.loaded = true;
    return result;
}

int32_t reportDanglingLinks(Workspace& s, const std::vector<DanglingLink>& links)
{
    for (const DanglingLink& d : links) {
        if (d.inFamily) {
            s.report.append("\r\n### Fam %d has %s %s, which names no record (removed)", d.number, d.tag, d.pointer.c_str());
            familyLabel(s, "\r\n", d.number);
            s.db.markFamilyChanged(d.number);
        } else {
            s.report.append("\r\n### Person %d has %s %s, which names no record (removed)", d.number, d.tag, d.pointer.c_str());
            personLabel(s, "\r\n", LabelOption::numberFirst | LabelOption::birth | LabelOption::death, d.number);
            s.db.markPersonChanged(d.number);
        }
    }
    return static_cast<int32_t>(links.size());
}

} // namespace kinmap
