// Packed event dates: year, month, day, qualifier, a not-parsed mark and a
// span to a second year, all in one 32-bit value.
#pragma once

#include <cstdint>
#include <string_view>

namespace kinmap {

using DateValue = uint32_t;

enum DateQualifier : uint32_t {
    exactDate = 0,
    beforeDate = 1,
    afterDate = 2,
    aboutDate = 3,
    calculatedDate = 4,
    // A range to the year of the span: "BET 1850 AND 1860", "FROM 1850 TO 1860".
    betweenDate = 5,
    fromToDate = 6,
    estimatedDate = 7,
};

constexpr DateValue dateNotParsedBit = 1u << 24;

constexpr int yearOf(DateValue v) { return static_cast<int>(v & 0xFFF); }
constexpr int monthOf(DateValue v) { return static_cast<int>((v >> 12) & 0xF); }
constexpr int dayOf(DateValue v) { return static_cast<int>((v >> 16) & 0x1F); }
constexpr int qualifierOf(DateValue v) { return static_cast<int>((v >> 21) & 0x7); }
constexpr int spanOf(DateValue v) { return static_cast<int>((v >> 25) & 0x7F); }
constexpr bool isNotParsed(DateValue v) { return (v & dateNotParsedBit) != 0; }

// Each field is cut to its width, as the parsers do.
constexpr DateValue makeDate(int year, int month = 0, int day = 0, int qualifier = 0, int span = 0)
{
    return (static_cast<DateValue>(year) & 0xFFF) | ((static_cast<DateValue>(month) & 0xF) << 12) |
           ((static_cast<DateValue>(day) & 0x1F) << 16) | ((static_cast<DateValue>(qualifier) & 0x7) << 21) |
           ((static_cast<DateValue>(span) & 0x7F) << 25);
}

// Reads a GED DATE value (the text after "DATE "; it ends at the first line
// end). Returns 1 on success. On failure value keeps the not-parsed bit and
// the fields set so far; a number that does not fit its field (a year above
// 2100, a month above 12, a day above 31) keeps no field.
int parseGedDate(DateValue& value, std::string_view text);

// A date typed by the user, read: its value, or why it is no date.
struct TypedDate {
    enum Problem { none, notADate, outOfRange, noYear, notNextYear, longRange };
    DateValue value = 0; // also for noYear: the day and month read
    Problem problem = none;
    bool ok() const { return problem == none; }
    // The message for a problem ("" for none).
    const char* message() const;
};

// Reads a typed date: an optional qualifier word (ABT, about, ca., um, BEF,
// before, vor, AFT, after, nach, CAL, ber, EST, ...), then day, month and
// year as "12 MAR 1850", "12 Mrz 1850", "MAR 1850", "12.3.1850",
// "12-3-1850", "3.1850", "1850", the ISO form "1850-03-12", a double year
// "1750/51" or "1750/1751" (the second part is the next year), and the
// ranges the import reads, "bet 1850 and 1860", "from 1850 to 1860" (up to
// 10 years). Every date formatDate writes reads back as the same value. An
// empty text is no date (value 0, no problem).
TypedDate parseTypedDate(std::string_view text);

// GED text of a date, held in the object itself so that no caller shares a
// buffer with another; get() is null for a value without year and month.
class DateText {
public:
    const char* get() const { return isNull_ ? nullptr : text_; }
    bool isNull() const { return isNull_; }

private:
    friend DateText formatDate(DateValue value);
    char text_[32] = {};
    bool isNull_ = true;
};

// Qualifier, day, month name, year and "/second year", as GED writes them.
// A month above 12 (only the d.m.y form stores one) has no name: such a
// date is written without day and month.
DateText formatDate(DateValue value);

} // namespace kinmap
