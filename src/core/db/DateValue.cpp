#include "db/DateValue.h"

#include "db/TextCompare.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace kinmap {

namespace {

constexpr const char* monthNames[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                        "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr const char* qualifierWords[8] = {"BEF", "AFT", "ABT", "CAL", "VOR", "NAC", "UNG", "BER"};
constexpr const char* qualifierTexts[5] = {"", "BEF", "AFT", "ABT", "CAL"};
constexpr int monthLengths[11] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30};

constexpr int maxYear = 2100;
constexpr int maxWordLength = 15;
constexpr int maxKeptFailedSpan = 127; // a failed span that large still tells a range

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The decimal number at the start of text; saturates instead of overflowing.
int leadingNumber(const char* text, const char** end = nullptr)
{
    long long n = 0;
    while (isDigit(static_cast<unsigned char>(*text))) {
        if (n < 100000000)
            n = n * 10 + (*text - '0');
        ++text;
    }
    if (end)
        *end = text;
    return static_cast<int>(n);
}

int monthNumber(const char* word)
{
    // Only a word of three letters can equal a month name whole (folding
    // keeps the length).
    static constexpr struct {
        const char* name;
        int month;
    } wholeWords[] = {{"Apr", 4}, {"Mar", 3}, {"Jan", 1}, {"Jun", 6}};
    if (strlen(word) == 3)
        for (const auto& w : wholeWords)
            if (compareFolded(word, w.name, 1000) == 0)
                return w.month;
    const auto first = static_cast<unsigned char>(static_cast<unsigned char>(word[0]) & 0xDF);
    for (int month = 12; month >= 1; --month)
        if (first == static_cast<unsigned char>(monthNames[month - 1][0]))
            return month;
    return 0;
}

int qualifierOfWord(const char* word)
{
    if (strlen(word) != 3)
        return 0;
    for (int i = 0; i < 8; ++i)
        if (strcasecmp(word, qualifierWords[i]) == 0)
            return i % 4 + 1;
    return 0;
}

struct DateFields {
    int year = 0, month = 0, day = 0, qualifier = 0;
};

// Reads "d.m.y", "m.y" or "y"; false when the word starts with no number.
bool readDottedNumbers(const char* word, DateFields& f)
{
    int numbers[3];
    int count = 0;
    const char* p = word;
    while (count < 3 && isDigit(static_cast<unsigned char>(*p))) {
        numbers[count++] = leadingNumber(p, &p);
        if (*p != '.')
            break;
        ++p;
    }
    if (count == 3) {
        f.day = numbers[0];
        f.month = numbers[1];
        f.year = numbers[2];
    } else if (count == 2) {
        f.month = numbers[0];
        f.year = numbers[1];
    } else if (count == 1) {
        f.year = numbers[0];
    }
    return count > 0;
}

} // namespace

int parseGedDate(DateValue& value, const char* text)
{
    if (!text)
        return 0;
    value = dateNotParsedBit;

    // The value ends at the line end; blanks separate up to four words.
    const char* end = text + strcspn(text, "\r\n");
    char words[4][maxWordLength + 1];
    int wordCount = 0;
    for (const char* p = text; p < end;) {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        if (p == end)
            break;
        const char* start = p;
        while (p < end && *p != ' ' && *p != '\t')
            ++p;
        if (wordCount == 4)
            break;
        if (p - start > maxWordLength)
            return 0;
        memcpy(words[wordCount], start, static_cast<size_t>(p - start));
        words[wordCount][p - start] = 0;
        ++wordCount;
    }

    DateFields f;
    auto setValue = [&] { value = makeDate(f.year, f.month, f.day, f.qualifier) | dateNotParsedBit; };
    switch (wordCount) {
    case 0:
        return 0;
    case 1:
        if (strchr(words[0], '.')) {
            if (!readDottedNumbers(words[0], f))
                return 0;
        } else {
            f.month = monthNumber(words[0]);
            if (f.month == 0)
                f.year = leadingNumber(words[0]);
        }
        break;
    case 2:
        f.qualifier = qualifierOfWord(words[0]);
        if (f.qualifier != 0) {
            f.year = leadingNumber(words[1]);
        } else {
            f.month = monthNumber(words[0]);
            if (f.month != 0) {
                f.year = leadingNumber(words[1]);
            } else {
                f.day = leadingNumber(words[0]);
                f.month = monthNumber(words[1]);
                if (f.month == 0) {
                    setValue();
                    return 0;
                }
            }
        }
        break;
    case 3:
        f.qualifier = qualifierOfWord(words[0]);
        if (f.qualifier == 0)
            f.day = leadingNumber(words[0]);
        f.month = monthNumber(words[1]);
        if (f.month == 0) {
            setValue();
            return 0;
        }
        f.year = leadingNumber(words[2]);
        break;
    default:
        f.qualifier = qualifierOfWord(words[0]);
        f.day = leadingNumber(words[1]);
        f.month = monthNumber(words[2]);
        if (f.month == 0) {
            setValue();
            return 0;
        }
        f.year = leadingNumber(words[3]);
        break;
    }
    setValue();
    // From here on the fields as cut to their widths count.
    const int year = yearOf(value), month = monthOf(value), day = dayOf(value);
    if (year > maxYear)
        return 0;
    if (month >= 1 && month <= 11 && day > monthLengths[month - 1])
        return 0;

    int span = 0;
    if (const char* slash = static_cast<const char*>(memchr(text, '/', static_cast<size_t>(end - text)))) {
        span = leadingNumber(slash + 1) - year;
        if (span < 0)
            return 0;
        if (span > 10) {
            if (span <= maxKeptFailedSpan)
                value |= makeDate(0, 0, 0, 0, span);
            return 0;
        }
    }
    value = (value | makeDate(0, 0, 0, 0, span)) & ~dateNotParsedBit;
    return 1;
}

// ---- typed dates ------------------------------------------------------------

namespace {

// One transition of the two word automata: a letter and what it leads to.
struct Transition {
    char letter;
    int next;   // the next state, or -1 when the word ends with result
    int result; // a month (1..12) or a qualifier (101..104)
};

struct State {
    Transition transitions[12];
    int defaultResult; // when the word ends here; 0 = nothing, -1 = the date fails
};

constexpr int q(int qualifier) { return 100 + qualifier; }
constexpr int failsHere = -1;

// Months as the second word of a typed date ("12 Mrz 1850").
constexpr State monthStates[6] = {
    {{{'a', 1, 0}, {'m', 2, 0}, {'d', -1, 12}, {'f', -1, 2}, {'j', 4, 0}, {'n', -1, 11}, {'o', -1, 10}, {'s', -1, 9}},
     0},
    {{{'p', -1, 4}, {'u', -1, 8}}, 4},
    {{{'a', 3, 0}, {'r', -1, 3}, {'i', -1, 5}, {'y', -1, 5}}, 3},
    {{{'r', -1, 3}, {'i', -1, 5}, {'y', -1, 5}}, 3},
    {{{'a', -1, 1}, {'u', 5, 0}, {'n', -1, 6}, {'l', -1, 7}}, 1},
    {{{'n', -1, 6}, {'l', -1, 7}}, 6},
};

// The first word: a qualifier (English or German) or a month.
constexpr State firstWordStates[10] = {
    {{{'a', 1, 0},
      {'b', 2, 0},
      {'c', 4, 0},
      {'n', -1, q(afterDate)},
      {'u', -1, q(aboutDate)},
      {'v', -1, q(beforeDate)},
      {'d', -1, 12},
      {'f', -1, 2},
      {'j', 6, 0},
      {'m', 8, 0},
      {'o', -1, 10},
      {'s', -1, 9}},
     0},
    {{{'f', -1, q(afterDate)}, {'b', -1, q(aboutDate)}, {'p', -1, 4}, {'u', -1, 8}}, q(afterDate)},
    {{{'e', 3, 0}, {'f', -1, q(beforeDate)}, {'r', -1, q(calculatedDate)}}, q(beforeDate)},
    {{{'f', -1, q(beforeDate)}, {'r', -1, q(calculatedDate)}}, q(beforeDate)},
    {{{'a', 5, 0}, {'l', -1, q(calculatedDate)}}, 0},
    {{{'l', -1, q(calculatedDate)}, {'.', -1, q(aboutDate)}}, q(aboutDate)},
    {{{'a', -1, 1}, {'l', -1, 7}, {'n', -1, 6}, {'u', 7, 0}}, failsHere},
    {{{'l', -1, 7}, {'n', -1, 6}}, failsHere},
    {{{'a', 9, 0}, {'i', -1, 5}, {'y', -1, 5}}, failsHere},
    {{{'r', -1, 3}, {'i', -1, 5}, {'y', -1, 5}}, failsHere},
};

class TypedDateScanner {
public:
    explicit TypedDateScanner(const char* text) : p_(reinterpret_cast<const unsigned char*>(text ? text : "")) {}

    // Runs an automaton from the current position; the letter that ends the
    // word is not taken.
    int runAutomaton(const State* states)
    {
        int state = 0;
        for (;;) {
            const unsigned char c = *p_;
            if (c == 0 || isDigit(c))
                return states[state].defaultResult;
            const char lower = static_cast<char>(c | 0x20);
            const Transition* found = nullptr;
            for (const Transition& t : states[state].transitions)
                if (t.letter != 0 && t.letter == lower) { // '.' is its own lower case
                    found = &t;
                    break;
                }
            if (!found)
                return states[state].defaultResult;
            ++p_;
            if (found->next < 0)
                return found->result;
            state = found->next;
        }
    }

    bool at(char letter) const { return *p_ != 0 && static_cast<char>(*p_ | 0x20) == letter; }
    bool atAnyOf(const char* letters) const { return *p_ != 0 && strchr(letters, *p_ | 0x20) != nullptr; }
    void skip(const char* letters)
    {
        if (atAnyOf(letters))
            ++p_;
    }
    bool atDigit() const { return isDigit(*p_); }
    bool atEnd() const { return *p_ == 0; }
    void toNextDigit()
    {
        while (*p_ != 0 && !isDigit(*p_))
            ++p_;
    }
    void skipSeparators()
    {
        while (*p_ != 0 && strchr(" .-,+", *p_) != nullptr)
            ++p_;
    }
    int readNumber()
    {
        int n = 0;
        while (isDigit(*p_)) {
            if (n < 100000000)
                n = n * 10 + (*p_ - '0');
            ++p_;
        }
        return n;
    }

private:
    const unsigned char* p_;
};

} // namespace

DateValue parseTypedDate(DateValue old, const char* text)
{
    const DateValue keptBit = old & dateNotParsedBit;
    TypedDateScanner s(text);
    int year = 0, month = 0, day = 0, qualifier = 0;

    if (!s.atEnd() && !s.atDigit()) {
        const int result = s.runAutomaton(firstWordStates);
        if (result == failsHere)
            return keptBit;
        if (result > 100) {
            qualifier = result - 100;
            // Pass over the rest of the qualifier word (bef/vor, aft/nac, abt/ung).
            static constexpr const char* restOfWord[5][2] = {{"", ""}, {"fo", "r"}, {"ta", "c"}, {"tn", "g"}, {"", ""}};
            s.skip(restOfWord[qualifier][0]);
            s.skip(restOfWord[qualifier][1]);
            if (!s.atDigit() && !s.atAnyOf("jfmasond"))
                s.toNextDigit();
        } else if (result > 0) {
            month = result;
            s.toNextDigit();
            year = s.readNumber();
        }
    }

    if (year == 0 && !s.atEnd()) {
        s.skipSeparators();
        year = s.readNumber();
        s.skipSeparators();
        if (s.atDigit()) {
            day = year;
            year = 0;
            month = s.readNumber();
            if (month < 13) {
                s.skipSeparators();
                year = s.readNumber();
            } else {
                year = month;
                if (day < 13) {
                    month = day;
                    day = 0;
                } else {
                    month = 0;
                }
            }
        } else if (!s.atEnd()) {
            month = s.runAutomaton(monthStates);
            s.toNextDigit();
            s.skipSeparators();
            if (month != 0) {
                day = year;
                year = s.readNumber();
            }
        }
    }
    return keptBit | makeDate(year, month, day, qualifier);
}

// ---- formatting ---------------------------------------------------------------

DateText formatDate(DateValue value)
{
    DateText out;
    const int year = yearOf(value);
    int month = monthOf(value);
    int day = dayOf(value);
    if (month > 12) {
        month = 0;
        day = 0;
    }
    if (year == 0 && month == 0)
        return out;
    out.isNull_ = false;
    char* p = out.text_;
    char* const end = out.text_ + sizeof out.text_;
    auto put = [&](const char* format, auto arg) {
        const int n = snprintf(p, static_cast<size_t>(end - p), format, arg);
        if (n > 0)
            p += n;
    };
    const int qualifier = qualifierOf(value);
    if (qualifier >= 1 && qualifier <= 4)
        put("%s ", qualifierTexts[qualifier]);
    if (day != 0)
        put("%d ", day);
    if (month != 0)
        put("%s", monthNames[month - 1]);
    if (month != 0 && year != 0)
        put("%s", " ");
    if (year != 0)
        put("%d", year);
    if (spanOf(value) != 0)
        put("/%d", year + spanOf(value));
    return out;
}

} // namespace kinmap
