#include "ged/RecordImage.h"

#include "db/Database.h"
#include "ged/ImportRules.h"

#include <array>

namespace kinmap {

namespace {

struct SlotTag {
    const char* tag;
    int slot;
};

// Slots 1 to 11 hold person tags in person records and family tags in
// family records; the others serve both.
constexpr SlotTag personTags[] = {{"RESN", 1}, {"NAME", 2}, {"SEX", 3},  {"BIRT", 4}, {"CHR", 5},  {"DEAT", 6},
                                  {"BURI", 7}, {"CREM", 8}, {"ADOP", 9}, {"BAPM", 10}, {"BARM", 11}};
constexpr SlotTag familyTags[] = {{"HUSB", 1}, {"WIFE", 2}, {"CHIL", 3}, {"ANUL", 4}, {"DIV", 5},  {"ENGA", 6},
                                  {"MARR", 7}, {"MARB", 8}, {"MARC", 9}, {"MARL", 10}, {"MARS", 11}};
constexpr SlotTag sharedTags[] = {
    {"BASM", 12}, {"BLES", 13}, {"CHRA", 14}, {"CONF", 15}, {"FCOM", 16}, {"ORDN", 17}, {"NATU", 18},
    {"EMIG", 19}, {"IMMI", 20}, {"CENS", 21}, {"PROB", 22}, {"WILL", 23}, {"GRAD", 24}, {"RETI", 25},
    {"EVEN", 26}, {"CAST", 27}, {"DSCR", 28}, {"EDUC", 29}, {"IDNO", 30}, {"NATI", 31}, {"NCHI", 32},
    {"NMR", 33},  {"OCCU", 34}, {"PROP", 35}, {"RELI", 36}, {"RESI", 37}, {"SSN", 38},  {"TITL", 39},
    {"BAPL", 40}, {"CONL", 41}, {"ENDL", 42}, {"SLGC", 43}, {"FAMC", 44}, {"FAMS", 45}, {"ASSO", 46},
    {"SUBM", 47}, {"ALIA", 48}, {"ANCI", 49}, {"DESI", 50}, {"_UID", 51}, {"SOUR", 53}, {"NOTE", 54},
    {"RFN", 55},  {"REFN", 56}, {"RIN", 57},  {"OBJE", 58}, {"CHAN", 59}};
constexpr int lastSlot = 60;

constexpr uint32_t tagOf(const char* name)
{
    return tagCode(std::string_view(name));
}

// Every tag's code with its slot, for one kind of record.
using SlotCodes = std::array<std::pair<uint32_t, int>, std::size(personTags) + std::size(sharedTags)>;
constexpr SlotCodes slotCodes(RecordKind kind)
{
    SlotCodes codes{};
    size_t n = 0;
    for (const SlotTag& t : kind == RecordKind::person ? personTags : familyTags)
        codes[n++] = {tagOf(t.tag), t.slot};
    for (const SlotTag& t : sharedTags)
        codes[n++] = {tagOf(t.tag), t.slot};
    return codes;
}
constexpr SlotCodes personSlots = slotCodes(RecordKind::person), familySlots = slotCodes(RecordKind::family);

constexpr int slotOf(RecordKind kind, uint32_t code)
{
    for (const auto& [tag, slot] : kind == RecordKind::person ? personSlots : familySlots)
        if (tag == code)
            return slot;
    return lastSlot;
}

constexpr int fixedSlot(RecordKind kind, const char* tag)
{
    return slotOf(kind, tagOf(tag));
}

// The events of the database with where their values live.
struct EventFields {
    const char* tag;
    int slot;
    DateValue date;
    Text place;
};

std::string_view orEmpty(Text text)
{
    return text ? std::string_view(text) : std::string_view();
}

class Rebuilder {
public:
    Rebuilder(const Database& db, RecordKind kind, int32_t number, const std::vector<GedLine>& lines,
              const LinkFilter& filter, std::string_view lineEnd)
        : db_(db), kind_(kind), number_(number), lines_(lines), filter_(filter), lineEnd_(lineEnd)
    {
    }

    std::vector<ImageLine> build();

private:
    enum Action : uint8_t { keep, replace, drop };
    struct Block {
        size_t begin, end; // a level-1 line and the lines beneath it
        int slot;
    };

    void splitIntoBlocks();
    void findImportedLines();
    void decideManagedLines();
    void decideName();
    void decideEvent(size_t event);
    void replaceLine(size_t i, std::string text) { actions_[i] = replace, replacements_[i] = std::move(text); }
    void emitBlock(const Block& block);
    void emitLinks(int slot, uint32_t tag, const std::vector<int32_t>& entries, bool families,
                   const std::function<bool(int32_t)>& named);
    // The date and place the database has for an event whose lines lack
    // them: beneath the event's first line, or with a new event line.
    void planEventAdditions();
    void emitEventAdditions(size_t event);
    void add(int level, std::string_view tag, std::string text) { out_.push_back(ImageLine::created(level, tag, std::move(text), lineEnd_)); }

    const Database& db_;
    RecordKind kind_;
    int32_t number_;
    const std::vector<GedLine>& lines_;
    const LinkFilter& filter_;
    std::string_view lineEnd_;

    std::vector<Block> blocks_;
    size_t preambleEnd_ = 1;
    std::vector<Action> actions_;
    std::vector<std::string> replacements_;

    // The lines that the import read the database's values from.
    long nameLine_ = -1, sexLine_ = -1;
    std::vector<size_t> divorceLines_; // "1 DIV Y", the divorce mark
    std::vector<EventFields> events_;
    std::vector<long> dateLines_, placeLines_;
    std::vector<bool> addDate_, addPlace_;
    std::vector<const Block*> firstEventBlock_;

    std::vector<ImageLine> out_;
};

std::vector<ImageLine> Rebuilder::build()
{
    actions_.assign(lines_.size(), keep);
    replacements_.resize(lines_.size());
    if (kind_ == RecordKind::person) {
        const PersonRecord& p = db_.persons[number_];
        events_ = {{"BIRT", fixedSlot(RecordKind::person, "BIRT"), p.birthDate, p.birthPlace},
                   {"CHR", fixedSlot(RecordKind::person, "CHR"), p.chrisDate, p.chrisPlace},
                   {"DEAT", fixedSlot(RecordKind::person, "DEAT"), p.deathDate, p.deathPlace},
                   {"BURI", fixedSlot(RecordKind::person, "BURI"), p.burialDate, p.burialPlace}};
    } else {
        const FamilyRecord& f = db_.families[number_];
        events_ = {{"MARR", fixedSlot(RecordKind::family, "MARR"), f.marrDate, f.marrPlace}};
    }
    dateLines_.assign(events_.size(), -1);
    placeLines_.assign(events_.size(), -1);

    splitIntoBlocks();
    findImportedLines();
    decideManagedLines();
    planEventAdditions();

    static constexpr int famcSlot = fixedSlot(RecordKind::person, "FAMC"), famsSlot = fixedSlot(RecordKind::person, "FAMS"),
                         nameSlot = fixedSlot(RecordKind::person, "NAME"), sexSlot = fixedSlot(RecordKind::person, "SEX"),
                         husbandSlot = fixedSlot(RecordKind::family, "HUSB"), wifeSlot = fixedSlot(RecordKind::family, "WIFE"),
                         childSlot = fixedSlot(RecordKind::family, "CHIL"), divorceSlot = fixedSlot(RecordKind::family, "DIV");
    for (size_t i = 1; i < preambleEnd_; ++i)
        out_.push_back(ImageLine::input(lines_[i]));
    for (int slot = 1; slot <= lastSlot; ++slot) {
        if (kind_ == RecordKind::person) {
            const PersonRecord& p = db_.persons[number_];
            if (slot == famcSlot) {
                emitLinks(slot, tagOf("FAMC"), {p.famc.begin(), p.famc.end()}, true, filter_.family);
                continue;
            }
            if (slot == famsSlot) {
                emitLinks(slot, tagOf("FAMS"), {p.fams.begin(), p.fams.end()}, true, filter_.family);
                continue;
            }
            if (slot == nameSlot && nameLine_ < 0 && (!orEmpty(p.given).empty() || !orEmpty(p.surname).empty())) {
                std::string name = "1 NAME";
                if (!orEmpty(p.given).empty())
                    name.append(" ").append(p.given);
                name.append(" /").append(orEmpty(p.surname)).append("/");
                add(1, "NAME", std::move(name));
            }
            if (slot == sexSlot && sexLine_ < 0 && p.sex != 0)
                add(1, "SEX", std::string("1 SEX ") + static_cast<char>(p.sex));
        } else {
            const FamilyRecord& f = db_.families[number_];
            if (slot == husbandSlot) {
                emitLinks(slot, tagOf("HUSB"), f.husband ? std::vector<int32_t>{f.husband} : std::vector<int32_t>{}, false, filter_.person);
                continue;
            }
            if (slot == wifeSlot) {
                emitLinks(slot, tagOf("WIFE"), f.wife ? std::vector<int32_t>{f.wife} : std::vector<int32_t>{}, false, filter_.person);
                continue;
            }
            if (slot == divorceSlot && divorceLines_.empty() && (f.flags & Flag::divorced))
                add(1, "DIV", "1 DIV Y");
            if (slot == childSlot) {
                emitLinks(slot, tagOf("CHIL"), {f.children.begin(), f.children.end()}, false, filter_.person);
                continue;
            }
        }
        for (const Block& block : blocks_)
            if (block.slot == slot)
                emitBlock(block);
        for (size_t e = 0; e < events_.size(); ++e)
            if (!firstEventBlock_[e] && slot == events_[e].slot && (addDate_[e] || addPlace_[e])) {
                add(1, events_[e].tag, std::string("1 ") + events_[e].tag);
                emitEventAdditions(e);
            }
    }
    return std::move(out_);
}

void Rebuilder::splitIntoBlocks()
{
    size_t i = 1;
    while (i < lines_.size() && lines_[i].level != 1)
        ++i;
    preambleEnd_ = std::min(i, lines_.size());
    while (i < lines_.size()) {
        const size_t begin = i++;
        while (i < lines_.size() && lines_[i].level != 1)
            ++i;
        blocks_.push_back({begin, i, tagSlot(kind_, lines_[begin].tag)});
    }
}

// Walks the lines as the import does and notes the last line that set each
// managed value.
void Rebuilder::findImportedLines()
{
    if (kind_ == RecordKind::person)
        nameLine_ = importedNameLine(lines_);
    long event = -1;
    for (size_t i = 1; i < lines_.size(); ++i) {
        const std::string_view text = lines_[i].text;
        const int level = importLevel(text);
        if (level == 1) {
            event = -1;
            const uint32_t tag = importTag(text, 2);
            if (kind_ == RecordKind::family && tag == importTagOf("DIV") && valueAt(text, 6).starts_with('Y'))
                divorceLines_.push_back(i);
            if (kind_ == RecordKind::person && tag == importTagOf("SEX"))
                sexLine_ = static_cast<long>(i);
            for (size_t e = 0; e < events_.size(); ++e)
                if (tag == importTag(events_[e].tag, 0))
                    event = static_cast<long>(e);
        } else if (level == 2 && event >= 0) {
            const uint32_t tag = importTag(text, 2);
            if (tag == importTagOf("DATE"))
                dateLines_[static_cast<size_t>(event)] = static_cast<long>(i);
            else if (tag == importTagOf("PLAC"))
                placeLines_[static_cast<size_t>(event)] = static_cast<long>(i);
        }
    }
}

void Rebuilder::decideManagedLines()
{
    if (kind_ == RecordKind::person) {
        decideName();
        if (sexLine_ >= 0) {
            const unsigned char sex = db_.persons[number_].sex;
            const auto i = static_cast<size_t>(sexLine_);
            if (sexValue(lines_[i].text) != sex)
                sex == 0 ? void(actions_[i] = drop) : replaceLine(i, std::string("1 SEX ") + static_cast<char>(sex));
        }
    }
    for (size_t e = 0; e < events_.size(); ++e)
        decideEvent(e);
    if (kind_ == RecordKind::family && !(db_.families[number_].flags & Flag::divorced))
        for (const size_t i : divorceLines_)
            actions_[i] = drop;
}

void Rebuilder::decideName()
{
    if (nameLine_ < 0)
        return;
    const PersonRecord& p = db_.persons[number_];
    const auto i = static_cast<size_t>(nameLine_);
    const NameParts read = *nameParts(valueAt(lines_[i].text, 7));
    const std::string_view given = orEmpty(p.given), surname = orEmpty(p.surname);
    const bool sameGiven = internedForm(read.given) == given, sameSurname = internedForm(read.surname) == surname;
    if (sameGiven && sameSurname)
        return;
    if (given.empty() && surname.empty()) {
        actions_[i] = drop;
        return;
    }
    replaceLine(i, renamedNameLine(read, given, surname));
    // The GIVN and SURN lines of that name follow it.
    for (size_t j = i + 1; j < lines_.size() && lines_[j].level != 1; ++j)
        if (std::optional<std::string> part = renamedPartLine(lines_[j], given, surname)) {
            if (part->empty())
                actions_[j] = drop;
            else
                replaceLine(j, std::move(*part));
        }
}

void Rebuilder::decideEvent(size_t e)
{
    const EventFields& event = events_[e];
    if (dateLines_[e] >= 0) {
        const auto i = static_cast<size_t>(dateLines_[e]);
        DateValue read = 0;
        parseGedDate(read, valueAt(lines_[i].text, 7));
        if (read != event.date) {
            const DateText date = formatDate(event.date);
            if (date.isNull())
                actions_[i] = drop;
            else
                replaceLine(i, std::string("2 DATE ") + date.get());
        }
    }
    if (placeLines_[e] >= 0) {
        const auto i = static_cast<size_t>(placeLines_[e]);
        const std::string_view place = orEmpty(event.place);
        if (internedForm(valueAt(lines_[i].text, 7)) != place) {
            if (place.empty())
                actions_[i] = drop;
            else
                replaceLine(i, std::string("2 PLAC ").append(place));
        }
    }
}

void Rebuilder::planEventAdditions()
{
    addDate_.assign(events_.size(), false);
    addPlace_.assign(events_.size(), false);
    firstEventBlock_.assign(events_.size(), nullptr);
    for (size_t e = 0; e < events_.size(); ++e) {
        addDate_[e] = dateLines_[e] < 0 && !formatDate(events_[e].date).isNull();
        addPlace_[e] = placeLines_[e] < 0 && !orEmpty(events_[e].place).empty();
        for (const Block& block : blocks_)
            if (lines_[block.begin].tag == tagOf(events_[e].tag)) {
                firstEventBlock_[e] = &block;
                break;
            }
    }
}

void Rebuilder::emitEventAdditions(size_t e)
{
    if (addDate_[e])
        add(2, "DATE", std::string("2 DATE ") + formatDate(events_[e].date).get());
    if (addPlace_[e])
        add(2, "PLAC", std::string("2 PLAC ").append(orEmpty(events_[e].place)));
}

void Rebuilder::emitBlock(const Block& block)
{
    for (size_t i = block.begin; i < block.end; ++i) {
        switch (actions_[i]) {
        case keep:
            out_.push_back(ImageLine::input(lines_[i]));
            break;
        case replace: {
            ImageLine line = ImageLine::created(lines_[i].level, {}, std::move(replacements_[i]), lineEndOf(lines_[i].text));
            line.tag = lines_[i].tag;
            out_.push_back(std::move(line));
            break;
        }
        case drop: {
            // The lines beneath a line left out go with it.
            const int level = lines_[i].level;
            while (i + 1 < block.end && (lines_[i + 1].level > level || lines_[i + 1].level < 0))
                ++i;
            break;
        }
        }
    }
    for (size_t e = 0; e < events_.size(); ++e)
        if (firstEventBlock_[e] == &block)
            emitEventAdditions(e);
}

// Link lines in the order of the database's list: a line of the record that
// names the entry is kept with the lines beneath it, a missing one is
// created, and lines naming what the list no longer holds are left out.
void Rebuilder::emitLinks(int slot, uint32_t tag, const std::vector<int32_t>& entries, bool families,
                          const std::function<bool(int32_t)>& named)
{
    std::vector<const Block*> candidates;
    for (const Block& block : blocks_)
        if (block.slot == slot && lines_[block.begin].tag == tag && namesRecord(lines_[block.begin]))
            candidates.push_back(&block);
    std::string tagText;
    for (int i = 0; i < 4 && (tag >> (8 * i)) & 0xFF; ++i)
        tagText += static_cast<char>((tag >> (8 * i)) & 0xFF);
    for (const int32_t entry : entries) {
        if (named && !named(entry))
            continue;
        const std::string xref = families ? db_.familyXref(entry) : db_.personXref(entry);
        bool found = false;
        for (const Block*& block : candidates) {
            if (block && pointerIn(lines_[block->begin].text) == xref) {
                emitBlock(*block);
                block = nullptr;
                found = true;
                break;
            }
        }
        if (!found)
            add(1, tagText, "1 " + tagText + " " + xref);
    }
    for (const Block& block : blocks_)
        if (block.slot == slot && !namesRecord(lines_[block.begin]))
            emitBlock(block);
}

} // namespace

long importedNameLine(const std::vector<GedLine>& lines)
{
    long found = -1;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view text = lines[i].text;
        if (importLevel(text) != 1 || importTag(text, 2) != importTagOf("NAME"))
            continue;
        // A name without slashes never replaces one an earlier line gave.
        const std::optional<NameParts> parts = nameParts(valueAt(text, 7));
        if (parts && (parts->slashes || found < 0))
            found = static_cast<long>(i);
    }
    return found;
}

std::string renamedNameLine(const NameParts& read, std::string_view given, std::string_view surname)
{
    // The part the user did not change is written as the file spells it
    // ("'t Hooft" keeps its apostrophe, which the pool does not store).
    const bool sameGiven = internedForm(read.given) == given, sameSurname = internedForm(read.surname) == surname;
    const std::string_view givenText = sameGiven ? read.given : given;
    const std::string_view surnameText = sameSurname ? read.surname : surname;
    std::string name = "1 NAME";
    if (!givenText.empty())
        name.append(" ").append(givenText);
    if (read.slashes || !surname.empty())
        name.append(" /").append(surnameText).append("/").append(read.afterSurname);
    return name;
}

std::optional<std::string> renamedPartLine(const GedLine& line, std::string_view given, std::string_view surname)
{
    const bool isGiven = line.tag == tagOf("GIVN");
    if (line.level != 2 || (!isGiven && line.tag != tagOf("SURN")))
        return std::nullopt;
    const std::string_view value = isGiven ? given : surname;
    if (internedForm(valueAt(line.text, 7)) == value)
        return std::nullopt;
    return value.empty() ? std::string() : std::string(isGiven ? "2 GIVN " : "2 SURN ").append(value);
}

int tagSlot(RecordKind kind, uint32_t tag)
{
    return slotOf(kind, tag);
}

std::vector<ImageLine> rewriteRecord(const Database& db, RecordKind kind, int32_t number, const std::vector<GedLine>& lines,
                                     const LinkFilter& filter, std::string_view lineEnd)
{
    return Rebuilder(db, kind, number, lines, filter, lineEnd).build();
}

} // namespace kinmap
