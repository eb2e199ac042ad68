#include "check/Duplicates.h"

#include "base/Labels.h"
#include "base/Workspace.h"
#include "check/Merge.h"
#include "check/NameMatching.h"
#include "db/TextCompare.h"
#include "db/Utf8.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <tuple>
#include <unordered_set>

namespace kinmap {

namespace {

using namespace DuplicateOption;

constexpr int yearWindow = 25;
constexpr int noMatch = 255;

MatchMethod methodOf(uint32_t options)
{
    return static_cast<MatchMethod>(withMethod(options) & methodMask);
}

bool hasText(Text text)
{
    return text && *text;
}

// The folded characters of a text, at most maxCharacters: texts equal apart
// from case and accents get the same key.
std::string foldedKey(Text text, size_t maxCharacters = SIZE_MAX)
{
    std::string key;
    const char* p = text;
    const char* const end = p + strlen(p);
    for (size_t n = 0; p < end && n < maxCharacters; ++n)
        appendUtf8(key, static_cast<char32_t>(foldedCharacter(nextCodePoint(p, end))));
    return key;
}

// What the name test compares of a person: the sound codes and the folded
// texts of its names.
struct NameKeys {
    std::string soundSurname, soundGiven, foldedSurname, foldedGiven;
};

NameKeys keysOf(const PersonRecord& p)
{
    return {nameKey(p.surname), nameKey(p.given), foldedKey(p.surname), foldedKey(p.given)};
}

bool sameSound(const std::string& a, const std::string& b)
{
    return !a.empty() && a == b;
}

// The passes of a method. Each pass pairs the persons with the same key;
// every pair the name test can accept has the same key in at least one
// pass. Names agree by their folded text or by their sound code (Soundex,
// each name on its own), or the surnames by sound or by their first four
// letters (other matching, where given names are compared word by word).
int passCount(MatchMethod method)
{
    return method == MatchMethod::soundex ? 4 : method == MatchMethod::other ? 2 : 1;
}

// The key of a person in a pass; empty when the pass cannot pair it (a name
// without sound code cannot agree by sound).
std::string passKey(MatchMethod method, int pass, const NameKeys& k)
{
    const char separator = '\0';
    switch (method) {
    case MatchMethod::exact:
        return k.foldedSurname + separator + k.foldedGiven;
    case MatchMethod::soundex: {
        const bool bySoundS = pass == 0 || pass == 2, bySoundG = pass == 0 || pass == 1;
        if ((bySoundS && k.soundSurname.empty()) || (bySoundG && k.soundGiven.empty()))
            return {};
        return (bySoundS ? k.soundSurname : k.foldedSurname) + separator + (bySoundG ? k.soundGiven : k.foldedGiven);
    }
    case MatchMethod::other:
        break;
    }
    if (pass == 0)
        return k.soundSurname;
    const std::string_view folded = k.foldedSurname;
    return std::string(firstCharacters(folded, 4));
}

// Whether an earlier pass has met a pair that has the same key in this one.
bool metBefore(MatchMethod method, int pass, const NameKeys& a, const NameKeys& b)
{
    const bool surnames = sameSound(a.soundSurname, b.soundSurname), given = sameSound(a.soundGiven, b.soundGiven);
    if (method == MatchMethod::other)
        return pass == 1 && surnames;
    switch (pass) {
    case 1:
        return surnames;
    case 2:
        return given;
    case 3:
        return surnames || given;
    default:
        return false;
    }
}

struct Entry {
    std::string key;
    int sex = 0, year = 0;
    int32_t number = 0;
    const NameKeys* names = nullptr;

    auto order() const { return std::tie(key, sex, year, number); }
};

bool before(const Entry& e, const SearchPosition& p)
{
    return std::tie(e.key, e.sex, e.year, e.number) < std::tie(p.key, p.sex, p.year, p.number);
}

bool isParentOf(const Database& db, int32_t parent, int32_t child)
{
    for (const int32_t f : db.persons[parent].fams)
        if (db.isFamily(f) && db.families[f].children.contains(child))
            return true;
    return false;
}

bool sameDay(DateValue a, DateValue b)
{
    return yearOf(a) == yearOf(b) && monthOf(a) == monthOf(b) && dayOf(a) == dayOf(b);
}

std::pair<int32_t, int32_t> ordered(int32_t a, int32_t b)
{
    return {std::min(a, b), std::max(a, b)};
}

// A place for the hint of a person without any data of its own: its own,
// its parents' marriage place, or a spouse family's marriage place or a
// place of one of its children, depth first. Each person is asked once, so
// a cyclic file ends.
Text relativePlace(const Database& db, int32_t rin, std::unordered_set<int32_t>& asked)
{
    if (!db.isPerson(rin) || !asked.insert(rin).second)
        return nullptr;
    const PersonRecord& p = db.persons[rin];
    const std::pair<uint32_t, Text> own[] = {{Flag::hasBirthPlace, p.birthPlace},
                                              {Flag::hasChrisPlace, p.chrisPlace},
                                              {Flag::hasDeathPlace, p.deathPlace},
                                              {Flag::hasBurialPlace, p.burialPlace}};
    for (const auto& [flag, place] : own)
        if ((p.flags & flag) && hasText(place))
            return place;
    auto marriagePlace = [&db](int32_t mrin) -> Text {
        return db.isFamily(mrin) && (db.families[mrin].flags & Flag::hasMarrPlace) && hasText(db.families[mrin].marrPlace)
                   ? db.families[mrin].marrPlace
                   : nullptr;
    };
    for (const int32_t f : p.famc)
        if (const Text place = marriagePlace(f))
            return place;
    for (const int32_t f : p.fams) {
        if (const Text place = marriagePlace(f))
            return place;
        if (!db.isFamily(f))
            continue;
        for (const int32_t child : db.families[f].children)
            if (const Text place = relativePlace(db, child, asked))
                return place;
    }
    return nullptr;
}

constexpr int personLabelOptions = LabelOption::numberFirst | LabelOption::birth | LabelOption::death |
                                   LabelOption::places | LabelOption::fullDates;
constexpr int relativesLabelOptions = RelativesOption::lineBefore | RelativesOption::parents |
                                      RelativesOption::spouses | RelativesOption::marriageYear |
                                      RelativesOption::lineAfter;

// The report holds what was appended since `from`; returns it and cuts it off.
std::string takeReport(Workspace& s, int from)
{
    std::string text(s.report.text() + from, static_cast<size_t>(std::max(0, s.report.length() - from)));
    s.report.clear();
    return text;
}

// The text of a candidate's person as the list shows it.
std::string candidateText(Workspace& s, int32_t rin, bool families, bool withHint)
{
    s.report.clear();
    if (families) {
        familyLabel(s, nullptr, rin);
        return takeReport(s, 0);
    }
    personLabel(s, nullptr, personLabelOptions, rin);
    constexpr uint32_t ownData = 0x7FC; // sex, dates and places
    if (withHint && s.db.isPerson(rin) && !(s.db.persons[rin].flags & ownData)) {
        std::unordered_set<int32_t> asked;
        if (const Text place = relativePlace(s.db, rin, asked))
            s.report.append(" ?%s?", place);
    }
    relativesLabel(s, relativesLabelOptions, rin);
    return takeReport(s, 0);
}

// One run of the search: walks the entries, hands each pair of the walk to
// visit (which returns false to stop), and keeps where it stopped.
class DuplicateWalk {
public:
    DuplicateWalk(Workspace& s, uint32_t options, bool persons) : s_(s), db_(s.db), options_(options), persons_(persons) {}

    enum class Stop { no, yes };
    // Returns whether the walk was stopped; position then tells where.
    template <class Visit>
    bool run(const SearchPosition& from, Visit visit);
    SearchPosition position;

private:
    void findKeys();
    std::vector<Entry> entries(int pass) const;

    Workspace& s_;
    const Database& db_;
    uint32_t options_;
    bool persons_;
    std::vector<std::optional<NameKeys>> keys_; // by RIN
};

void DuplicateWalk::findKeys()
{
    // A person whose names are missing is never paired; families pair by
    // their husbands.
    keys_.assign(static_cast<size_t>(db_.highestRin) + 1, std::nullopt);
    auto find = [this](int32_t rin) {
        if (db_.isPerson(rin) && hasText(db_.persons[rin].surname) && hasText(db_.persons[rin].given))
            keys_[static_cast<size_t>(rin)] = keysOf(db_.persons[rin]);
    };
    if (persons_) {
        for (int32_t rin = 1; rin <= db_.highestRin; ++rin)
            find(rin);
    } else {
        for (int32_t mrin = 1; mrin <= db_.highestMrin; ++mrin)
            if (db_.isFamily(mrin))
                find(db_.families[mrin].husband);
    }
}

std::vector<Entry> DuplicateWalk::entries(int pass) const
{
    const MatchMethod method = methodOf(options_);
    std::vector<Entry> list;
    auto add = [&](int32_t rin, int sex, int year, int32_t number) {
        const std::optional<NameKeys>& names = keys_[static_cast<size_t>(rin)];
        if (!names)
            return;
        std::string key = passKey(method, pass, *names);
        if (!key.empty())
            list.push_back({std::move(key), sex, year, number, &*names});
    };
    if (persons_) {
        for (int32_t rin = 1; rin <= db_.highestRin; ++rin)
            if (db_.isPerson(rin))
                add(rin, db_.persons[rin].sex, db_.estimatedBirthYear(rin), rin);
    } else {
        // Families pair by their husbands' names.
        for (int32_t mrin = 1; mrin <= db_.highestMrin; ++mrin) {
            if (!db_.isFamily(mrin))
                continue;
            const FamilyRecord& f = db_.families[mrin];
            if (db_.isPerson(f.husband) && db_.isPerson(f.wife))
                add(f.husband, 0, 0, mrin);
        }
    }
    std::sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) { return a.order() < b.order(); });
    return list;
}

template <class Visit>
bool DuplicateWalk::run(const SearchPosition& from, Visit visit)
{
    const MatchMethod method = methodOf(options_);
    const int passes = passCount(method);
    s_.ui.progressStart();
    findKeys();
    for (int pass = from.pass; pass < passes; ++pass) {
        const std::vector<Entry> list = entries(pass);
        size_t i = 0;
        if (pass == from.pass && !from.atStart())
            while (i < list.size() && before(list[i], from))
                ++i;
        const size_t step = std::max<size_t>(1, list.size() / 100);
        for (; i < list.size(); ++i) {
            if (i % step == 0)
                s_.ui.progressAdvance(static_cast<int>((pass * 100 + i * 100 / list.size()) / passes));
            const Entry& p = list[i];
            for (size_t j = i + 1; j < list.size(); ++j) {
                const Entry& q = list[j];
                if (q.key != p.key || q.sex != p.sex)
                    break;
                // Sorted by year within a group; a year 0 is compared with all.
                if (p.year != 0 && q.year > p.year + yearWindow)
                    break;
                if (pass > 0 && metBefore(method, pass, *p.names, *q.names))
                    continue;
                if (visit(p.number, q.number) == Stop::yes) {
                    position = {pass, p.key, p.sex, p.year, p.number};
                    s_.ui.progressEnd();
                    return true;
                }
            }
        }
    }
    s_.ui.progressEnd();
    position = {};
    return false;
}

const char* methodText(uint32_t options)
{
    switch (methodOf(options)) {
    case MatchMethod::exact:
        return " - Exact";
    case MatchMethod::soundex:
        return " - Soundex";
    case MatchMethod::other:
        break;
    }
    return " - Other matching";
}

const char* requirementText(uint32_t options)
{
    switch (options & requirementMask) {
    case sameDate:
        return " - Same date";
    case sameSpouse:
        return " - Same Spouse";
    case sameParents:
        return " - Same parents";
    default:
        return " - None";
    }
}

// The merge journal entry, from "\n- Merge: " on; the journal gets it after
// a time stamp.
void writeMergeEntry(Workspace& s, DuplicateSearch& state, int count)
{
    const uint32_t options = state.options;
    const uint32_t mode = options & modeMask;
    std::string entry = "\n- Merge: ";
    entry += mode == automatic ? " Automatic" : mode == semiautomatic ? " Semiautomatic" : "";
    entry += formatText(" - %s", (options & persons) ? "Persons" : "Families");
    entry += methodText(options);
    entry += requirementText(options);
    entry += "\n";
    entry.append(s.report.text(), static_cast<size_t>(s.report.length()));
    entry += formatText("\n%d mergers\n", count);
    s.journal.write("\n# %s", journalStamp(s.clock.localTime()).c_str());
    s.journal.write("%s", entry.c_str());
    state.lastJournalEntry = std::move(entry);
}

void showMergers(Workspace& s, int count)
{
    s.setStatus(1, "%d mergers", count);
}

DuplicateOutcome noDuplicates(Workspace& s, DuplicateSearch& state)
{
    s.report.clear();
    s.setStatus(1, "%s", "No duplicates found");
    s.report.append("%s", "\r\nNo duplicates found");
    state.candidatesShown = false;
    return DuplicateOutcome::noneFound;
}

// The end of an automatic or manual search.
DuplicateOutcome endWithMerges(Workspace& s, DuplicateSearch& state, int count)
{
    writeMergeEntry(s, state, count);
    s.counts.mergeCount += count;
    showMergers(s, count);
    state.candidatesShown = false;
    return DuplicateOutcome::merged;
}

// Merges one pair; its count: 1 per person merge, a family merge 1 and the
// person merges it caused. A pair whose record is gone merges nothing.
int mergePair(Workspace& s, CandidatePair& pair)
{
    pair.merged = true;
    if (pair.families) {
        if (!s.db.isFamily(pair.first) || !s.db.isFamily(pair.second))
            return 0;
        const int merges = mergeFamilies(s, pair.first, pair.second);
        return merges == familiesNotMerged ? 0 : 1 + merges;
    }
    return mergePersonsAuto(s, pair.first, pair.second);
}

class Search {
public:
    Search(Workspace& s, DuplicateSearch& state, int32_t& currentPerson)
        : s_(s), db_(s.db), state_(state), currentPerson_(currentPerson), options_(state_.options),
          method_(methodOf(options_)), mode_(options_ & modeMask)
    {
    }

    DuplicateOutcome run();

private:
    bool known(int32_t a, int32_t b) const { return state_.rejected.count(ordered(a, b)) > 0; }
    // Adds a pair to the list; false when the list is full (semiautomatic).
    bool add(int32_t a, int32_t b, bool families);
    // Merges a pair in the MERGE PERSONS dialog; false when cancelled.
    bool askManual(int32_t a, int32_t b);
    DuplicateWalk::Stop visitPersons(int32_t p, int32_t q);
    DuplicateWalk::Stop visitFamilies(int32_t f, int32_t g);
    bool full() const { return mode_ == semiautomatic && state_.candidates.size() >= DuplicateSearch::maxCandidates; }
    void showFound();

    Workspace& s_;
    Database& db_;
    DuplicateSearch& state_;
    int32_t& currentPerson_;
    uint32_t options_;
    MatchMethod method_;
    uint32_t mode_;
    std::set<std::tuple<bool, int32_t, int32_t>> listed_;
    int found_ = 0;  // pairs met in manual mode
    int merged_ = 0; // merges in manual mode
};

bool Search::add(int32_t a, int32_t b, bool families)
{
    if (!listed_.insert({families, std::min(a, b), std::max(a, b)}).second)
        return true;
    if (full())
        return false;
    CandidatePair pair;
    pair.first = a;
    pair.second = b;
    pair.families = families;
    state_.candidates.push_back(std::move(pair));
    if (mode_ == semiautomatic)
        showFound();
    return true;
}

void Search::showFound()
{
    const size_t n = state_.candidates.size();
    if (n >= DuplicateSearch::maxCandidates)
        s_.setStatus(1, "%s", "> 300 possible duplicates");
    else
        s_.setStatus(1, "%zu possible duplicates", n);
}

bool Search::askManual(int32_t a, int32_t b)
{
    ++found_;
    currentPerson_ = a;
    const MergeAnswer answer = mergePersonsManual(s_, a, b);
    if (answer == MergeAnswer::cancel)
        return false;
    if (answer == MergeAnswer::yes) {
        ++merged_;
        showMergers(s_, merged_);
    }
    return true;
}

DuplicateWalk::Stop Search::visitPersons(int32_t p, int32_t q)
{
    if (known(p, q) || matchPersons(db_, options_, p, q) != 0)
        return DuplicateWalk::Stop::no;
    if (mode_ == manual)
        return askManual(p, q) ? DuplicateWalk::Stop::no : DuplicateWalk::Stop::yes;
    return add(p, q, false) ? DuplicateWalk::Stop::no : DuplicateWalk::Stop::yes;
}

DuplicateWalk::Stop Search::visitFamilies(int32_t f, int32_t g)
{
    if (!db_.isFamily(f) || !db_.isFamily(g))
        return DuplicateWalk::Stop::no;
    const FamilyRecord& a = db_.families[f];
    const FamilyRecord& b = db_.families[g];
    const int32_t h1 = a.husband, w1 = a.wife, h2 = b.husband, w2 = b.wife;
    if (!db_.isPerson(h1) || !db_.isPerson(h2) || !db_.isPerson(w1) || !db_.isPerson(w2))
        return DuplicateWalk::Stop::no;
    constexpr int unknown = MatchResult::unknown;
    if (compareSurnames(db_, method_, h1, h2) >= unknown || compareGivenNames(db_, method_, h1, h2) >= unknown ||
        compareSurnames(db_, method_, w1, w2) >= unknown || compareGivenNames(db_, method_, w1, w2) >= unknown)
        return DuplicateWalk::Stop::no;
    auto pairs = [&](int32_t x, int32_t y) { return !known(x, y) && matchPersons(db_, options_, x, y) == 0; };
    if (mode_ == manual) {
        if (pairs(h1, h2) && !askManual(h1, h2))
            return DuplicateWalk::Stop::yes;
        if (pairs(w1, w2) && !askManual(w1, w2))
            return DuplicateWalk::Stop::yes;
        return DuplicateWalk::Stop::no;
    }
    if (mode_ == automatic && h1 == h2 && w1 == w2) {
        // A family already changed in this session is left to the user.
        if (!((a.flags | b.flags) & Flag::changed))
            add(f, g, true);
        return DuplicateWalk::Stop::no;
    }
    if (!sameDay(a.marrDate, b.marrDate))
        return DuplicateWalk::Stop::no;
    if (pairs(h1, h2) && !add(h1, h2, false))
        return DuplicateWalk::Stop::yes;
    if (pairs(w1, w2) && !add(w1, w2, false))
        return DuplicateWalk::Stop::yes;
    return DuplicateWalk::Stop::no;
}

DuplicateOutcome Search::run()
{
    const bool persons = (options_ & DuplicateOption::persons) != 0;
    if (state_.candidatesShown)
        s_.ui.clearView(); // the list shown is of the pairs about to go
    state_.candidates.clear();
    state_.candidatesShown = false;
    state_.lastJournalEntry.clear();
    s_.report.clear();
    s_.setStatus(0, "%s", "");
    s_.setStatus(1, "%s", "Searching Duplicates...");

    SearchPosition& resume = persons ? state_.personResume : state_.familyResume;
    DuplicateWalk walk(s_, options_, persons);
    const SearchPosition from = mode_ == semiautomatic ? resume : SearchPosition{};
    const bool stopped = persons ? walk.run(from, [this](int32_t p, int32_t q) { return visitPersons(p, q); })
                                 : walk.run(from, [this](int32_t f, int32_t g) { return visitFamilies(f, g); });

    if (mode_ == manual)
        return found_ == 0 ? noDuplicates(s_, state_) : endWithMerges(s_, state_, merged_);
    if (mode_ == semiautomatic)
        resume = stopped ? walk.position : SearchPosition{};
    if (state_.candidates.empty())
        return noDuplicates(s_, state_);
    for (CandidatePair& pair : state_.candidates) {
        pair.firstText = candidateText(s_, pair.first, pair.families, true);
        pair.secondText = candidateText(s_, pair.second, pair.families, true);
    }
    s_.report.clear();
    if (mode_ == semiautomatic) {
        showFound();
        state_.candidatesShown = true;
        return DuplicateOutcome::listed;
    }
    // Automatic: what will be merged is shown first.
    if (!s_.ui.confirmMerges(state_.candidates)) {
        state_.candidates.clear();
        s_.setStatus(1, "%s", "");
        return DuplicateOutcome::cancelled;
    }
    int count = 0;
    for (CandidatePair& pair : state_.candidates)
        count += mergePair(s_, pair);
    return endWithMerges(s_, state_, count);
}

} // namespace

uint32_t withRequirement(uint32_t options, uint32_t requirement)
{
    if (requirement == noRequirement && (options & modeMask) == automatic)
        return options;
    return (options & ~requirementMask) | (requirement & requirementMask);
}

uint32_t withMode(uint32_t options, uint32_t mode)
{
    options = (options & ~modeMask) | (mode & modeMask);
    if (mode == automatic && (options & requirementMask) == noRequirement)
        options |= sameDate;
    return options;
}

uint32_t withMethod(uint32_t options)
{
    return (options & methodMask) == 0 ? options | static_cast<uint32_t>(MatchMethod::exact) : options;
}

int matchPersons(const Database& db, uint32_t options, int32_t a, int32_t b)
{
    if (a == b || !db.isPerson(a) || !db.isPerson(b) || db.persons[a].sex != db.persons[b].sex)
        return noMatch;
    // Every test must hold; the cheap ones come first.
    constexpr int unknown = MatchResult::unknown;
    const MatchMethod method = methodOf(options);
    const uint32_t requirement = options & requirementMask;
    const int dateLimit = requirement == sameDate ? 2 : requirement == noRequirement && method == MatchMethod::exact ? 6 : unknown;
    const int lifeDates = compareLifeDates(db, a, b);
    if (lifeDates > dateLimit || livesContradict(db, a, b))
        return noMatch;
    // Two children of one family with one name are brothers or sisters
    // unless their dates agree.
    if (lifeDates != MatchResult::same && areSiblings(db, a, b))
        return noMatch;
    const int nameLimit = method == MatchMethod::exact ? 0 : method == MatchMethod::soundex ? 2 : 4;
    if (compareSurnames(db, method, a, b) > nameLimit || compareGivenNames(db, method, a, b) > nameLimit)
        return noMatch;
    const int yearA = db.estimatedBirthYear(a), yearB = db.estimatedBirthYear(b);
    if (yearA != 0 && yearB != 0 && std::abs(yearA - yearB) > yearWindow)
        return noMatch;

    // What else must agree, and what may not clearly differ.
    const int parentLimit = requirement == sameParents ? 4 : requirement == noRequirement && method == MatchMethod::soundex ? 6 : unknown;
    if (compareParents(db, method, a, b) > parentLimit)
        return noMatch;
    if (requirement != noRequirement && compareSpouses(db, method, a, b) > (requirement == sameSpouse ? 4 : unknown))
        return noMatch;
    if (isParentOf(db, a, b) || isParentOf(db, b, a))
        return noMatch;
    return 0;
}

DuplicateOutcome searchDuplicates(Workspace& s, DuplicateSearch& state, int32_t& currentPerson)
{
    EditScope undoable(s, "Merge duplicates");
    return Search(s, state, currentPerson).run();
}

int mergeCheckedCandidates(Workspace& s, DuplicateSearch& state)
{
    EditScope undoable(s, "Merge now");
    s.report.clear();
    int count = 0;
    for (CandidatePair& pair : state.candidates) {
        if (pair.merged)
            continue;
        if (!pair.checked) {
            if (!pair.families)
                state.rejected.insert(ordered(pair.first, pair.second));
            continue;
        }
        count += mergePair(s, pair);
    }
    // Pairs whose persons went with an earlier pair are shown greyed too.
    for (CandidatePair& pair : state.candidates)
        if (!pair.families && (!s.db.isPerson(pair.first) || !s.db.isPerson(pair.second)))
            pair.merged = true;
    if (count != 0) {
        writeMergeEntry(s, state, count);
        s.counts.mergeCount += count;
    }
    showMergers(s, count);
    return count;
}

std::string candidateListText(Workspace& s, const DuplicateSearch& state)
{
    std::string text;
    int i = 0;
    for (const CandidatePair& pair : state.candidates) {
        text += formatText("%d\r\n", ++i);
        text += candidateText(s, pair.first, pair.families, false);
        text += "==\r\n";
        text += candidateText(s, pair.second, pair.families, false);
        text += "\r\n";
    }
    s.report.clear();
    return text;
}

} // namespace kinmap
