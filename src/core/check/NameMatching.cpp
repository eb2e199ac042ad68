#include "check/NameMatching.h"

#include "base/Format.h"
#include "db/Database.h"
#include "db/TextCompare.h"
#include "db/Utf8.h"

#include <algorithm>
#include <vector>

#include <array>
#include <cstring>

namespace kinmap {

namespace {

constexpr int compareLength = 1000;

// A sound code: the digits of the letters a to z ('0' for letters not
// coded), the digit of ß, the length, and whether the first letter leads.
struct SoundCode {
    const char* digits;
    char sharpS;
    size_t length;
    bool firstLetter;
};
//                                                 abcdefghijklmnopqrstuvwxyz
constexpr SoundCode nameKeyTable = {"02350140043678014935020903", '3', 5, false};
constexpr SoundCode soundexTable = {"01230120022455012623010202", '0', 4, true};

// The digits of a text's letters, each digit once. Only the letters A to Z
// (either case) and ß are coded; every other character adds nothing. A
// leading letter is the first character from 'A' to 'z', bit 0x20 cleared.
std::string soundCode(std::string_view text, const SoundCode& table)
{
    std::string code;
    unsigned seen = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && code.size() < table.length) {
        const char32_t c = nextCodePoint(p, end);
        if (table.firstLetter && code.empty()) {
            if (c >= 'A' && c <= 'z')
                code += static_cast<char>(c & ~0x20u);
            continue;
        }
        char digit = '0';
        if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')
            digit = table.digits[(c | 0x20) - 'a'];
        else if (c == 0xDF)
            digit = table.sharpS;
        if (digit != '0' && !(seen & (1u << (digit - '0')))) {
            seen |= 1u << (digit - '0');
            code += digit;
        }
    }
    return code;
}

std::string_view textOf(Text text)
{
    return text ? std::string_view(text) : std::string_view();
}

bool sameFolded(Text a, Text b)
{
    return (a == b) || compareFolded(a, b, compareLength) == 0;
}

// A text folded character by character, as a given name is compared under
// other matching (its first 99 bytes).
struct FoldedText {
    std::array<uint32_t, 100> chars{};
    size_t length = 0;

    explicit FoldedText(std::string_view text)
    {
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p < end && length < chars.size())
            chars[length++] = foldedCharacter(nextCodePoint(p, end));
    }
    // The words between blanks (folded 64), at most four.
    int words(std::array<std::pair<size_t, size_t>, 4>& out) const
    {
        int n = 0;
        for (size_t i = 0; i < length && n < 4;) {
            while (i < length && chars[i] == foldedCharacter(' '))
                ++i;
            const size_t begin = i;
            while (i < length && chars[i] != foldedCharacter(' '))
                ++i;
            if (i > begin)
                out[static_cast<size_t>(n++)] = {begin, i};
        }
        return n;
    }
    bool contains(const FoldedText& other, std::pair<size_t, size_t> word) const
    {
        const size_t n = word.second - word.first;
        for (size_t i = 0; i + n <= length; ++i)
            if (std::equal(other.chars.begin() + static_cast<ptrdiff_t>(word.first),
                           other.chars.begin() + static_cast<ptrdiff_t>(word.second), chars.begin() + static_cast<ptrdiff_t>(i)))
                return true;
        return false;
    }
};

// The bytes of the first n characters of text, or the whole text.
std::string_view firstWordText(std::string_view text, std::pair<size_t, size_t> word)
{
    const std::string_view from = firstCharacters(text, word.first);
    const std::string_view to = firstCharacters(text, word.second);
    return text.substr(from.size(), to.size() - from.size());
}

int otherGivenNames(std::string_view a, std::string_view b)
{
    std::string cutA(a), cutB(b);
    cutAtCharacter(cutA, 99);
    cutAtCharacter(cutB, 99);
    const FoldedText fa(cutA), fb(cutB);
    std::array<std::pair<size_t, size_t>, 4> wordsA, wordsB;
    const int n = std::min(fa.words(wordsA), fb.words(wordsB));
    int bits = 0;
    for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
        const auto wa = wordsA[i], wb = wordsB[i];
        if (nameKey(firstWordText(cutA, wa)) != nameKey(firstWordText(cutB, wb)))
            bits |= 1;
        bool differs = false;
        for (size_t k = 0; k < 4 && wa.first + k < wa.second && wb.first + k < wb.second; ++k)
            if (fa.chars[wa.first + k] != fb.chars[wb.first + k]) {
                differs = true;
                break;
            }
        if (!differs) {
            bits |= 4;
        } else if (!fb.contains(fa, wa) || !fa.contains(fb, wb)) {
            return MatchResult::different;
        } else {
            bits |= 2;
        }
    }
    return bits;
}

// The other partner of a family, 0 when there is none.
int32_t partnerIn(const Database& db, int32_t mrin, int32_t rin)
{
    const FamilyRecord& f = db.families[mrin];
    return f.husband == rin ? f.wife : f.husband;
}

// The years a date covers: its year to the year its span ends, an about or
// calculated date two years wider either side. from = 0 for no year.
struct Years {
    int from = 0, to = 0;
};

Years yearsOf(DateValue date)
{
    const int year = yearOf(date);
    if (year == 0)
        return {};
    const int q = qualifierOf(date);
    const int widen = q == aboutDate || q == calculatedDate || q == estimatedDate ? 2 : 0;
    return {year - widen, year + spanOf(date) + widen};
}

// One step of the life-date comparison: 0 agree, 8 nothing compared, 15 not.
int compareYears(DateValue a, DateValue b)
{
    const Years x = yearsOf(a), y = yearsOf(b);
    if (x.from == 0 || y.from == 0)
        return MatchResult::unknown;
    return x.from <= y.to && y.from <= x.to ? MatchResult::same : MatchResult::different;
}

// The first step that has a pair of dates compares: both first dates, both
// second dates, then one's first against the other's second either way.
int compareEventYears(const PersonRecord& a, const PersonRecord& b, uint32_t firstFlag, DateValue PersonRecord::*first,
                      uint32_t secondFlag, DateValue PersonRecord::*second)
{
    if ((a.flags & firstFlag) && (b.flags & firstFlag))
        return compareYears(a.*first, b.*first);
    if ((a.flags & secondFlag) && (b.flags & secondFlag))
        return compareYears(a.*second, b.*second);
    if ((a.flags & firstFlag) && (b.flags & secondFlag))
        return compareYears(a.*first, b.*second);
    if ((a.flags & secondFlag) && (b.flags & firstFlag))
        return compareYears(a.*second, b.*first);
    return MatchResult::unknown;
}

// Results of several comparisons together: the or of those that compared
// something; 8 when none did.
class Combined {
public:
    void add(int result)
    {
        if (result == MatchResult::unknown)
            return;
        compared_ = true;
        bits_ |= result;
    }
    int value() const { return compared_ ? bits_ : MatchResult::unknown; }

private:
    bool compared_ = false;
    int bits_ = 0;
};

} // namespace

std::string nameKey(std::string_view text)
{
    return soundCode(text, nameKeyTable);
}

std::string soundexCode(std::string_view text)
{
    return soundCode(text, soundexTable);
}

namespace {

// The steps both name comparisons take: a missing name, the same text, the
// same sound. -1 when other matching looks further.
int compareNames(Text x, Text y, MatchMethod method, int whenMissing)
{
    if (textOf(x).empty() || textOf(y).empty())
        return whenMissing;
    if (sameFolded(x, y))
        return MatchResult::same;
    if (method == MatchMethod::exact)
        return MatchResult::different;
    // Names without a coded letter (in Cyrillic or Greek, say) have no
    // sound to agree in.
    if (const std::string key = nameKey(x); !key.empty() && key == nameKey(y))
        return MatchResult::sameSound;
    return method == MatchMethod::soundex ? MatchResult::different : -1;
}

} // namespace

int compareSurnames(const Database& db, MatchMethod method, int32_t a, int32_t b)
{
    const Text x = db.persons[a].surname, y = db.persons[b].surname;
    if (const int result = compareNames(x, y, method, MatchResult::unknown); result >= 0)
        return result;
    if (compareFolded(x, y, 6) == 0)
        return MatchResult::sameSixLetters;
    if (compareFolded(x, y, 4) == 0)
        return MatchResult::sameFourLetters;
    return MatchResult::different;
}

int compareGivenNames(const Database& db, MatchMethod method, int32_t a, int32_t b)
{
    const Text x = db.persons[a].given, y = db.persons[b].given;
    const int result = compareNames(x, y, method, MatchResult::different);
    return result >= 0 ? result : otherGivenNames(x, y);
}

int compareParents(const Database& db, MatchMethod method, int32_t a, int32_t b)
{
    Combined result;
    const int32_t motherA = db.motherOf(a, 0), motherB = db.motherOf(b, 0);
    if (db.isPerson(motherA) && db.isPerson(motherB)) {
        const int surnames = compareSurnames(db, method, motherA, motherB);
        if (surnames > MatchResult::unknown)
            return surnames;
        result.add(surnames);
        result.add(compareGivenNames(db, method, motherA, motherB));
        if (result.value() > MatchResult::sameFourLetters && result.value() != MatchResult::unknown)
            return result.value();
    }
    const int32_t fatherA = db.fatherOf(a, 0), fatherB = db.fatherOf(b, 0);
    if (!db.isPerson(fatherA) || !db.isPerson(fatherB))
        return result.value();
    const int surnames = compareSurnames(db, method, fatherA, fatherB);
    if (surnames > MatchResult::unknown)
        return surnames;
    result.add(surnames);
    result.add(compareGivenNames(db, method, fatherA, fatherB));
    return result.value();
}

int compareSpouses(const Database& db, MatchMethod method, int32_t a, int32_t b)
{
    int best = -1; // nothing compared yet
    for (const int32_t fa : db.persons[a].fams) {
        if (!db.isFamily(fa))
            continue;
        for (const int32_t fb : db.persons[b].fams) {
            if (!db.isFamily(fb))
                continue;
            if (fa == fb)
                return MatchResult::same;
            const int32_t sa = partnerIn(db, fa, a), sb = partnerIn(db, fb, b);
            if (db.isPerson(sa) && db.isPerson(sb)) {
                int result = compareSurnames(db, method, sa, sb);
                if (result < 3) {
                    result = compareGivenNames(db, method, sa, sb);
                    if (result < 4)
                        return result;
                }
                if (best < 0 || result < best)
                    best = result;
            } else {
                for (const int32_t child : db.families[fa].children)
                    if (db.families[fb].children.contains(child))
                        return MatchResult::same;
            }
        }
    }
    return best < 0 ? MatchResult::unknown : best;
}

bool livesContradict(const Database& db, int32_t a, int32_t b)
{
    // a's life ended (death, else burial) before b was christened, married or buried.
    auto contradicts = [&db](int32_t x, int32_t y) {
        const PersonRecord& p = db.persons[x];
        const PersonRecord& q = db.persons[y];
        const DateValue end = (p.flags & Flag::hasDeathDate) ? p.deathDate : (p.flags & Flag::hasBurialDate) ? p.burialDate : 0;
        const Years died = yearsOf(end);
        if (died.from == 0)
            return false;
        std::vector<DateValue> later;
        if (q.flags & Flag::hasChrisDate)
            later.push_back(q.chrisDate);
        if (q.flags & Flag::hasBurialDate)
            later.push_back(q.burialDate);
        for (const int32_t mrin : q.fams)
            if (db.isFamily(mrin) && (db.families[mrin].flags & Flag::hasMarrDate))
                later.push_back(db.families[mrin].marrDate);
        return std::any_of(later.begin(), later.end(), [&](DateValue date) {
            const Years event = yearsOf(date);
            return event.from != 0 && qualifierOf(date) != beforeDate && qualifierOf(end) != afterDate && died.to < event.from;
        });
    };
    if (contradicts(a, b) || contradicts(b, a))
        return true;
    // Two exact birth dates that differ.
    const PersonRecord& x = db.persons[a];
    const PersonRecord& y = db.persons[b];
    auto exact = [](const PersonRecord& p) {
        return (p.flags & Flag::hasBirthDate) && !isNotParsed(p.birthDate) && qualifierOf(p.birthDate) == exactDate &&
               dayOf(p.birthDate) != 0 && monthOf(p.birthDate) != 0 && yearOf(p.birthDate) != 0 && spanOf(p.birthDate) == 0;
    };
    return exact(x) && exact(y) && x.birthDate != y.birthDate;
}

bool areSiblings(const Database& db, int32_t a, int32_t b)
{
    for (const int32_t mrin : db.persons[a].famc)
        if (db.isFamily(mrin) && db.persons[b].famc.contains(mrin))
            return true;
    return false;
}

int compareLifeDates(const Database& db, int32_t a, int32_t b)
{
    const PersonRecord& x = db.persons[a];
    const PersonRecord& y = db.persons[b];
    const int birth = compareEventYears(x, y, Flag::hasBirthDate, &PersonRecord::birthDate, Flag::hasChrisDate,
                                        &PersonRecord::chrisDate);
    if (birth > MatchResult::unknown)
        return birth;
    const int death = compareEventYears(x, y, Flag::hasDeathDate, &PersonRecord::deathDate, Flag::hasBurialDate,
                                        &PersonRecord::burialDate);
    if (death > MatchResult::unknown)
        return death;
    return birth == MatchResult::unknown && death == MatchResult::unknown ? MatchResult::unknown : MatchResult::same;
}

} // namespace kinmap
