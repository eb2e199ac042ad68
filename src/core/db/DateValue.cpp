#include "db/DateValue.h"

#include "db/Numbers.h"
#include "db/TextCompare.h"
#include "db/Utf8.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace kinmap {

namespace {

constexpr const char* monthNames[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                        "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr const char* qualifierWords[8] = {"BEF", "AFT", "ABT", "CAL", "VOR", "NAC", "UNG", "BER"};
constexpr const char* qualifierTexts[8] = {"", "BEF", "AFT", "ABT", "CAL", "BET", "FROM", "EST"};
constexpr int maxRangeSpan = 10; // the years a range or double year can hold
constexpr int monthLengths[11] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30};

constexpr int maxYear = 2100;
constexpr int maxWordLength = 15;
constexpr int maxKeptFailedSpan = 127; // a failed span that large still tells a range

// The digits at the start of a word as a number (INT32_MAX when too large).
int numberAt(std::string_view text, size_t* digits = nullptr)
{
    return leadingNumber(text, digits);
}

bool isWordOf(std::string_view word, const char* wanted)
{
    return word.size() == strlen(wanted) && strncasecmp(word.data(), wanted, word.size()) == 0;
}

// The year after the slash of a double year: "51" after 1750 is 1751.
int secondYearOf(int year, std::string_view text)
{
    size_t digits = 0;
    const int n = numberAt(text, &digits);
    if (digits == 0 || digits > 2)
        return n;
    const int century = year / 100 * 100;
    return century + n >= year ? century + n : century + 100 + n;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Month names and abbreviations in English, German and French, compared
// with case and accents folded ("MÄR", "Sept."). Only these are months:
// FROM, AND or BET are not.
int monthNumber(std::string_view word)
{
    static constexpr struct {
        const char* name;
        int month;
    } names[] = {
        {"jan", 1},      {"feb", 2},       {"mar", 3},      {"apr", 4},       {"may", 5},       {"jun", 6},
        {"jul", 7},      {"aug", 8},       {"sep", 9},      {"oct", 10},      {"nov", 11},      {"dec", 12},
        {"january", 1},  {"januar", 1},    {"janvier", 1},  {"janv", 1},      {"janner", 1},    {"february", 2},
        {"februar", 2},  {"febr", 2},      {"fev", 2},      {"fevrier", 2},   {"march", 3},     {"marz", 3},
        {"mrz", 3},      {"maerz", 3},     {"mars", 3},     {"april", 4},     {"avr", 4},       {"avril", 4},
        {"mai", 5},      {"june", 6},      {"juni", 6},     {"juin", 6},      {"july", 7},      {"juli", 7},
        {"juil", 7},     {"juillet", 7},   {"august", 8},   {"aout", 8},      {"sept", 9},      {"september", 9},
        {"septembre", 9}, {"october", 10}, {"okt", 10},     {"oktober", 10},  {"octobre", 10},  {"november", 11},
        {"novembre", 11}, {"december", 12}, {"dez", 12},    {"dezember", 12}, {"decembre", 12},
    };
    if (!word.empty() && word.back() == '.')
        word.remove_suffix(1);
    // The word with case and accents folded: letters only ("MÄR" gives "mar").
    char key[maxWordLength + 1];
    size_t length = 0;
    for (const char* p = word.data(); p < word.data() + word.size();) {
        const uint32_t folded = foldedCharacter(nextCodePoint(p, word.data() + word.size()));
        if (folded < 'a' || folded > 'z' || length == maxWordLength)
            return 0;
        key[length++] = static_cast<char>(folded);
    }
    for (const auto& n : names)
        if (strlen(n.name) == length && memcmp(n.name, key, length) == 0)
            return n.month;
    return 0;
}

int qualifierOfWord(std::string_view word)
{
    if (isWordOf(word, "EST"))
        return estimatedDate;
    if (word.size() != 3)
        return 0;
    char upper[3];
    for (int i = 0; i < 3; ++i) {
        const char c = word[static_cast<size_t>(i)];
        upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    }
    for (int i = 0; i < 8; ++i)
        if (memcmp(upper, qualifierWords[i], 3) == 0)
            return i % 4 + 1;
    return 0;
}


struct DateFields {
    int year = 0, month = 0, day = 0, qualifier = 0;
    // Each number within what its field holds: a year up to 2100, a month
    // up to 12, a day up to 31. A number that does not fit fails the date.
    bool fits() const { return year <= maxYear && month <= 12 && day <= 31; }
};

// Reads "d.m.y", "m.y" or "y"; false when the word starts with no number.
bool readDottedNumbers(std::string_view word, DateFields& f)
{
    int numbers[3];
    int count = 0;
    while (count < 3 && !word.empty() && isDigit(word[0])) {
        size_t digits = 0;
        numbers[count++] = numberAt(word, &digits);
        word.remove_prefix(digits);
        if (word.empty() || word[0] != '.')
            break;
        word.remove_prefix(1);
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

// Up to this many words of a value are read; the rest is ignored.
constexpr size_t maxWords = 12;

struct Words {
    std::string_view word[maxWords];
    size_t count = 0;
};

// The fields of one to four words ("12 JAN 1850", "ABT 1850", "12.3.1850");
// false when they read as no date.
bool readWords(const std::string_view* w, size_t count, DateFields& f)
{
    switch (count) {
    case 0:
        return false;
    case 1:
        if (w[0].find('.') != std::string_view::npos)
            return readDottedNumbers(w[0], f);
        f.month = monthNumber(w[0]);
        if (f.month == 0)
            f.year = numberAt(w[0]);
        return true;
    case 2:
        f.qualifier = qualifierOfWord(w[0]);
        if (f.qualifier != 0) {
            f.year = numberAt(w[1]);
            return true;
        }
        f.month = monthNumber(w[0]);
        if (f.month != 0) {
            f.year = numberAt(w[1]);
            return true;
        }
        f.day = numberAt(w[0]);
        f.month = monthNumber(w[1]);
        return f.month != 0;
    case 3:
        f.qualifier = qualifierOfWord(w[0]);
        if (f.qualifier == 0)
            f.day = numberAt(w[0]);
        f.month = monthNumber(w[1]);
        if (f.month == 0)
            return false;
        f.year = numberAt(w[2]);
        return true;
    default:
        f.qualifier = qualifierOfWord(w[0]);
        f.day = numberAt(w[1]);
        f.month = monthNumber(w[2]);
        if (f.month == 0)
            return false;
        f.year = numberAt(w[3]);
        return true;
    }
}

// The words of a value, split at blanks; false when one is too long.
bool splitWords(std::string_view text, Words& words)
{
    size_t p = 0;
    while (p < text.size() && words.count < maxWords) {
        while (p < text.size() && (text[p] == ' ' || text[p] == '\t'))
            ++p;
        if (p == text.size())
            break;
        const size_t start = p;
        while (p < text.size() && text[p] != ' ' && text[p] != '\t')
            ++p;
        if (p - start > maxWordLength)
            return false;
        words.word[words.count++] = text.substr(start, p - start);
    }
    return true;
}

} // namespace

int parseGedDate(DateValue& value, std::string_view text)
{
    value = dateNotParsedBit;
    text = text.substr(0, text.find_first_of("\r\n")); // the value ends at the line end
    Words words;
    if (!splitWords(text, words))
        return 0;
    const std::string_view* w = words.word;

    // "BET y1 AND y2" and "FROM y1 TO y2": the first date, with the span to
    // the second year when that fits.
    if (words.count > 0 && (isWordOf(w[0], "BET") || isWordOf(w[0], "FROM"))) {
        const char* separator = isWordOf(w[0], "BET") ? "AND" : "TO";
        size_t split = 1;
        while (split < words.count && !isWordOf(w[split], separator))
            ++split;
        DateFields f;
        if (split - 1 > 4 || !readWords(w + 1, split - 1, f) || !f.fits() || f.year == 0)
            return 0;
        int span = 0;
        DateFields g;
        if (split + 1 < words.count && words.count - split - 1 <= 4 && readWords(w + split + 1, words.count - split - 1, g) &&
            g.fits() && g.year - f.year >= 1 && g.year - f.year <= maxRangeSpan)
            span = g.year - f.year;
        // A range that fits is kept as one; a longer one as its first date.
        const int qualifier = span == 0 ? f.qualifier : isWordOf(w[0], "BET") ? int(betweenDate) : int(fromToDate);
        value = makeDate(f.year, f.month, f.day, qualifier, span);
        return 1;
    }

    DateFields f;
    const bool read = readWords(w, std::min<size_t>(words.count, 4), f);
    if (!f.fits())
        return 0; // nothing of a number that does not fit is kept
    value = makeDate(f.year, f.month, f.day, f.qualifier) | dateNotParsedBit;
    if (!read)
        return 0;
    if (f.month >= 1 && f.month <= 11 && f.day > monthLengths[f.month - 1])
        return 0;

    int span = 0;
    if (const size_t slash = text.find('/'); slash != std::string_view::npos) {
        span = secondYearOf(f.year, text.substr(slash + 1)) - f.year;
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

// Qualifier words a user types, English and German, with or without a dot.
int typedQualifier(std::string_view word)
{
    static constexpr struct {
        const char* word;
        int qualifier;
    } words[] = {{"bef", beforeDate},    {"before", beforeDate},  {"vor", beforeDate},      {"aft", afterDate},
                 {"after", afterDate},   {"nach", afterDate},     {"nac", afterDate},       {"abt", aboutDate},
                 {"about", aboutDate},   {"ca", aboutDate},       {"circa", aboutDate},     {"um", aboutDate},
                 {"ung", aboutDate},     {"etwa", aboutDate},     {"cal", calculatedDate},  {"calc", calculatedDate},
                 {"ber", calculatedDate}, {"calculated", calculatedDate}, {"est", estimatedDate},
                 {"estimated", estimatedDate}};
    for (const auto& w : words)
        if (isWordOf(word, w.word))
            return w.qualifier;
    return 0;
}

struct TypedToken {
    enum Kind { word, number, slash } kind;
    std::string_view text;
};

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '.' || c == ',' || c == '-' || c == '+';
}

} // namespace

const char* TypedDate::message() const
{
    switch (problem) {
    case notADate:
        return "This is no date.";
    case outOfRange:
        return "A day, month or year of this date is out of range.";
    case noYear:
        return "This date has no year.";
    case notNextYear:
        return "The year after the slash must be the next year (1750/51).";
    case longRange:
        return "A range from one year to another holds at most 10 years.";
    case none:
        break;
    }
    return "";
}

TypedDate parseTypedDate(std::string_view text)
{
    TypedDate result;
    std::vector<TypedToken> tokens;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (isSeparator(c)) {
            ++i;
        } else if (c == '/') {
            tokens.push_back({TypedToken::slash, text.substr(i, 1)});
            ++i;
        } else if (isDigit(c)) {
            const size_t start = i;
            while (i < text.size() && isDigit(text[i]))
                ++i;
            tokens.push_back({TypedToken::number, text.substr(start, i - start)});
        } else {
            const size_t start = i;
            while (i < text.size() && !isSeparator(text[i]) && text[i] != '/' && !isDigit(text[i]))
                ++i;
            tokens.push_back({TypedToken::word, text.substr(start, i - start)});
        }
    }
    if (tokens.empty())
        return result;
    auto fail = [&](TypedDate::Problem problem) {
        result.value = 0;
        result.problem = problem;
        return result;
    };
    // A minus sign is no separator before the first number: "-5" is no year.
    if (const size_t firstCharacter = text.find_first_not_of(" \t");
        firstCharacter != std::string_view::npos && text[firstCharacter] == '-')
        return fail(TypedDate::notADate);
    // A range, as the import reads "BET 1850 AND 1860" and "FROM 1850 TO 1860".
    if (tokens[0].kind == TypedToken::word) {
        const bool between = isWordOf(tokens[0].text, "bet") || isWordOf(tokens[0].text, "between") ||
                             isWordOf(tokens[0].text, "zwischen");
        const bool from = isWordOf(tokens[0].text, "from") || isWordOf(tokens[0].text, "von");
        if (between || from) {
            size_t separator = 1;
            while (separator < tokens.size() &&
                   !(between ? isWordOf(tokens[separator].text, "and") || isWordOf(tokens[separator].text, "und")
                             : isWordOf(tokens[separator].text, "to") || isWordOf(tokens[separator].text, "bis")))
                ++separator;
            if (separator == 1 || separator + 1 >= tokens.size())
                return fail(TypedDate::notADate);
            const char* start = text.data();
            const TypedDate first = parseTypedDate(
                text.substr(static_cast<size_t>(tokens[1].text.data() - start),
                            static_cast<size_t>(tokens[separator].text.data() - tokens[1].text.data())));
            const TypedDate second = parseTypedDate(text.substr(static_cast<size_t>(tokens[separator + 1].text.data() - start)));
            if (!first.ok() || !second.ok() || qualifierOf(first.value) != 0 || qualifierOf(second.value) != 0 ||
                spanOf(first.value) != 0 || spanOf(second.value) != 0)
                return fail(first.ok() && second.ok() ? TypedDate::notADate : first.ok() ? second.problem : first.problem);
            const int span = yearOf(second.value) - yearOf(first.value);
            if (span < 1)
                return fail(TypedDate::notADate);
            if (span > maxRangeSpan)
                return fail(TypedDate::longRange);
            result.value = makeDate(yearOf(first.value), monthOf(first.value), dayOf(first.value),
                                    between ? betweenDate : fromToDate, span);
            return result;
        }
    }
    auto number = [](std::string_view digits) { return digits.size() > 6 ? 1000000 : leadingNumber(digits); };

    int year = 0, month = 0, day = 0, qualifier = 0;
    std::string_view secondYearText;
    size_t k = 0;
    if (tokens[0].kind == TypedToken::word && (qualifier = typedQualifier(tokens[0].text)) != 0)
        ++k;
    // The ISO form: year, month and day joined by hyphens.
    const bool iso = text.find('-') != std::string_view::npos && k < tokens.size() &&
                     tokens[k].kind == TypedToken::number && tokens[k].text.size() == 4;
    std::vector<int> numbers;
    int monthWord = 0;
    size_t monthAt = 0;
    for (; k < tokens.size(); ++k) {
        const TypedToken& t = tokens[k];
        if (t.kind == TypedToken::slash) {
            if (k + 1 != tokens.size() - 1 || tokens[k + 1].kind != TypedToken::number)
                return fail(TypedDate::notADate);
            secondYearText = tokens[k + 1].text;
            break;
        }
        if (t.kind == TypedToken::word) {
            monthWord = monthNumber(t.text);
            if (monthWord == 0 || month != 0)
                return fail(TypedDate::notADate);
            month = monthWord;
            monthAt = numbers.size();
            continue;
        }
        numbers.push_back(number(t.text));
    }
    if (month != 0) {
        // [day] month [year]
        if (monthAt > 1 || numbers.size() - monthAt > 1)
            return fail(TypedDate::notADate);
        if (monthAt == 1)
            day = numbers[0];
        if (numbers.size() > monthAt)
            year = numbers[monthAt];
    } else if (iso) {
        if (numbers.size() < 2 || numbers.size() > 3)
            return fail(TypedDate::notADate);
        year = numbers[0];
        month = numbers[1];
        day = numbers.size() == 3 ? numbers[2] : 0;
    } else {
        switch (numbers.size()) {
        case 1:
            year = numbers[0];
            break;
        case 2:
            month = numbers[0];
            year = numbers[1];
            break;
        case 3:
            day = numbers[0];
            month = numbers[1];
            year = numbers[2];
            break;
        default:
            return fail(TypedDate::notADate);
        }
        if (month == 0 && numbers.size() > 1)
            return fail(TypedDate::outOfRange);
    }
    if (year > maxYear || month > 12 || day > 31 || (day != 0 && month >= 1 && month <= 11 && day > monthLengths[month - 1]))
        return fail(TypedDate::outOfRange);
    if (day != 0 && month == 0)
        return fail(TypedDate::notADate);
    if (month == 2 && day == 29 && year != 0 && !isLeapYear(year))
        return fail(TypedDate::outOfRange);
    int span = 0;
    if (!secondYearText.empty()) {
        if (year == 0)
            return fail(TypedDate::outOfRange);
        span = secondYearOf(year, secondYearText) - year;
        if (span != 1)
            return fail(TypedDate::notNextYear);
    }
    result.value = makeDate(year, month, day, qualifier, span);
    if (year == 0)
        result.problem = TypedDate::noYear;
    return result;
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
    const bool range = (qualifier == int(betweenDate) || qualifier == int(fromToDate)) && spanOf(value) != 0;
    if ((qualifier >= int(beforeDate) && qualifier <= int(calculatedDate)) || qualifier == int(estimatedDate) || range)
        put("%s ", qualifierTexts[qualifier]);
    if (day != 0)
        put("%d ", day);
    if (month != 0)
        put("%s", monthNames[month - 1]);
    if (month != 0 && year != 0)
        put("%s", " ");
    if (year != 0)
        put("%d", year);
    if (range)
        put(qualifier == int(betweenDate) ? " AND %d" : " TO %d", year + spanOf(value));
    else if (spanOf(value) != 0)
        put("/%d", year + spanOf(value));
    return out;
}

} // namespace kinmap
