#include "db/DateValue.h"

#include <gtest/gtest.h>

#include <string>

namespace kinmap {
namespace {

struct GedDateCase {
    const char* text;
    int ok;
    int year, month, day, qualifier, span;
};

TEST(ParseGedDate, ReadsTheFormsOfGedFiles)
{
    const GedDateCase cases[] = {
        {"12 JAN 1850", 1, 1850, 1, 12, 0, 0},
        {"ABT 1850", 1, 1850, 0, 0, aboutDate, 0},
        {"ABT JAN 1850", 1, 1850, 1, 0, aboutDate, 0},
        {"bef 3 mar 1850", 1, 1850, 3, 3, beforeDate, 0},
        {"NAC 1850", 1, 1850, 0, 0, afterDate, 0},
        {"BER 1850", 1, 1850, 0, 0, calculatedDate, 0},
        {"JAN 1850", 1, 1850, 1, 0, 0, 0},
        {"1850", 1, 1850, 0, 0, 0, 0},
        {"12.3.1850", 1, 1850, 3, 12, 0, 0},
        {"3.1850", 1, 1850, 3, 0, 0, 0},
        {"29 FEB 1851", 1, 1851, 2, 29, 0, 0},
        {"31 DEC 1850", 1, 1850, 12, 31, 0, 0},
        {"1750/1751", 1, 1750, 0, 0, 0, 1},
        {"1750/1760", 1, 1750, 0, 0, 0, 10},
        {"APRIL 1850", 1, 1850, 4, 0, 0, 0},
        {"June 1850", 1, 1850, 6, 0, 0, 0},
        {"Sept. 1850", 1, 1850, 9, 0, 0, 0},
        {"12 MÄR 1850", 1, 1850, 3, 12, 0, 0}, // accents folded
        {"12 März 1850", 1, 1850, 3, 12, 0, 0},
        {"1 Okt 1850", 1, 1850, 10, 1, 0, 0},
        {"  12   JAN   1850 ", 1, 1850, 1, 12, 0, 0},
        {"ABT 12 JAN 1850 extra words", 1, 1850, 1, 12, aboutDate, 0},
        {"2100", 1, 2100, 0, 0, 0, 0},
        {"31 JAN 1910", 1, 1910, 1, 31, 0, 0},
        {"12.12.1850", 1, 1850, 12, 12, 0, 0},
        // A range reads as its first date, with the span to the second year
        // when that span fits; otherwise the first date alone.
        {"BET 1850 AND 1860", 1, 1850, 0, 0, betweenDate, 10},
        {"BET 1850 AND 1861", 1, 1850, 0, 0, 0, 0},
        {"FROM 1850 TO 1855", 1, 1850, 0, 0, fromToDate, 5},
        {"from 3 mar 1850 to 1851", 1, 1850, 3, 3, fromToDate, 1},
        {"EST 1850", 1, 1850, 0, 0, estimatedDate, 0},
        {"1750/51", 1, 1750, 0, 0, 0, 1}, // the double year as GEDCOM writes it
        {"FROM 1850", 1, 1850, 0, 0, 0, 0},
        {"BET ABT 1850 AND 1850", 1, 1850, 0, 0, aboutDate, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        DateValue value = 0;
        EXPECT_EQ(parseGedDate(value, c.text), c.ok);
        EXPECT_EQ(yearOf(value), c.year);
        EXPECT_EQ(monthOf(value), c.month);
        EXPECT_EQ(dayOf(value), c.day);
        EXPECT_EQ(qualifierOf(value), c.qualifier);
        EXPECT_EQ(spanOf(value), c.span);
        EXPECT_FALSE(isNotParsed(value));
    }
}

TEST(ParseGedDate, FailuresKeepTheMarkAndTheFieldsReadSoFar)
{
    const GedDateCase cases[] = {
        {"31 APR 1850", 0, 1850, 4, 31, 0, 0},
        {"30 FEB 1850", 0, 1850, 2, 30, 0, 0},
        {"", 0, 0, 0, 0, 0, 0},
        {"ABCDEFGHIJKLMNOP 1850", 0, 0, 0, 0, 0, 0}, // a word of 16 bytes
        {"1750/1749", 0, 1750, 0, 0, 0, 0},          // a negative span is not kept
        {"1900/1915", 0, 1900, 0, 0, 0, 15},         // a wide range keeps its span
        {"1800/1950", 0, 1800, 0, 0, 0, 0},          // beyond what the span field holds
        {"TO 1850", 0, 0, 0, 0, 0, 0},
        {"12 AND 1850", 0, 0, 0, 12, 0, 0},          // AND is no month
        {"BET AND 1860", 0, 0, 0, 0, 0, 0},
        // Numbers that do not fit their field fail the date and keep nothing.
        {"5000", 0, 0, 0, 0, 0, 0},
        {"2101", 0, 0, 0, 0, 0, 0},
        {"33 JAN 1910", 0, 0, 0, 0, 0, 0},
        {"32 DEC 1850", 0, 0, 0, 0, 0, 0},
        {"12.17.1850", 0, 0, 0, 0, 0, 0},
        {"13.1850", 0, 0, 0, 0, 0, 0},
        {"ABT 99999999999", 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        DateValue value = 0;
        EXPECT_EQ(parseGedDate(value, c.text), 0);
        EXPECT_TRUE(isNotParsed(value));
        EXPECT_EQ(yearOf(value), c.year);
        EXPECT_EQ(monthOf(value), c.month);
        EXPECT_EQ(dayOf(value), c.day);
        EXPECT_EQ(spanOf(value), c.span);
    }
}

TEST(ParseGedDate, TheValueEndsAtTheLineEnd)
{
    // With the line end attached "JAN\r\n" would not be January.
    for (const char* text : {"10 JAN\r\n", "10 JAN\n", "10 JAN 1850\r\n"}) {
        SCOPED_TRACE(text);
        DateValue value = 0;
        EXPECT_EQ(parseGedDate(value, text), 1);
        EXPECT_EQ(monthOf(value), 1);
        EXPECT_EQ(dayOf(value), 10);
    }
    DateValue slashAfterLineEnd = 0;
    EXPECT_EQ(parseGedDate(slashAfterLineEnd, "1850\r\n/1851"), 1);
    EXPECT_EQ(spanOf(slashAfterLineEnd), 0);
}

TEST(ParseTypedDate, ReadsWordsNumbersAndGermanFormsAndRefusesWhatIsNoDate)
{
    struct Case {
        const char* text;
        DateValue value;
        TypedDate::Problem problem;
    };
    using P = TypedDate::Problem;
    const Case cases[] = {
        {"12.3.1850", makeDate(1850, 3, 12), P::none},
        {"12-3-1850", makeDate(1850, 3, 12), P::none},
        {"12 3 1850", makeDate(1850, 3, 12), P::none},
        {"1850-12-03", makeDate(1850, 12, 3), P::none},
        {"3.1850", makeDate(1850, 3), P::none},
        {"1850", makeDate(1850), P::none},
        {"ca. 1850", makeDate(1850, 0, 0, aboutDate), P::none},
        {"about 1850", makeDate(1850, 0, 0, aboutDate), P::none},
        {"ung. 1850", makeDate(1850, 0, 0, aboutDate), P::none},
        {"vor 1850", makeDate(1850, 0, 0, beforeDate), P::none},
        {"before 1850", makeDate(1850, 0, 0, beforeDate), P::none},
        {"nach 1850", makeDate(1850, 0, 0, afterDate), P::none},
        {"ber 1850", makeDate(1850, 0, 0, calculatedDate), P::none},
        {"abt 12.3.1850", makeDate(1850, 3, 12, aboutDate), P::none},
        {"ABT JAN 1850", makeDate(1850, 1, 0, aboutDate), P::none},
        {"Mai 1850", makeDate(1850, 5), P::none},
        {"Dez 1850", makeDate(1850, 12), P::none},
        {"12 Mrz 1850", makeDate(1850, 3, 12), P::none},
        {"12 März 1850", makeDate(1850, 3, 12), P::none},
        {"Mrz 1850", makeDate(1850, 3), P::none},
        {"1750/1751", makeDate(1750, 0, 0, 0, 1), P::none},
        {"1750/51", makeDate(1750, 0, 0, 0, 1), P::none},
        {"1799/00", makeDate(1799, 0, 0, 0, 1), P::none},
        {"est 1890", makeDate(1890, 0, 0, estimatedDate), P::none},
        {"bet 1850 and 1860", makeDate(1850, 0, 0, betweenDate, 10), P::none},
        {"BET 1850 AND 1860", makeDate(1850, 0, 0, betweenDate, 10), P::none},
        {"from 1850 to 1860", makeDate(1850, 0, 0, fromToDate, 10), P::none},
        {"von 3.1850 bis 1851", makeDate(1850, 3, 0, fromToDate, 1), P::none},
        {"29.2.1904", makeDate(1904, 2, 29), P::none},
        {"29 FEB 2000", makeDate(2000, 2, 29), P::none},
        {"29 FEB 1900", 0, P::outOfRange},
        {"-5", 0, P::notADate},
        {"1750/1760", 0, P::notNextYear},
        {"bet 1850 and 1870", 0, P::longRange},
        {"bet 1860 and 1850", 0, P::notADate},
        {"bet 1850", 0, P::notADate},
        {"12 MAR", makeDate(0, 3, 12), P::noYear},
        {"", 0, P::none},
        {"unknown", 0, P::notADate},
        {"Jxx 1850", 0, P::notADate},
        {"12 MAR 1850 MAY", 0, P::notADate},
        {"15.1850", 0, P::outOfRange},
        {"31.2.1850", 0, P::outOfRange},
        {"12.3.18500", 0, P::outOfRange},
        {"1750/1790", 0, P::notNextYear},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TypedDate date = parseTypedDate(c.text);
        EXPECT_EQ(date.value, c.value) << formatDate(date.value).get();
        EXPECT_EQ(date.problem, c.problem);
    }
}

TEST(ParseTypedDate, ReadsBackEveryDateTheGedParserReads)
{
    // Every qualifier, span, month and day with years at the edges and between.
    int checked = 0;
    // (A double year is the next year; only a range spans more.)
    for (const int year : {0, 1, 999, 1850, 2100})
        for (int qualifier = 0; qualifier <= 7; ++qualifier)
            for (int span = 0; span <= (qualifier == betweenDate || qualifier == fromToDate ? 10 : 1); ++span)
                for (int month = 0; month <= 12; ++month)
                    for (int day = 0; day <= 31; ++day) {
                        const DateValue v = makeDate(year, month, day, qualifier, span);
                        const DateText text = formatDate(v);
                        DateValue read = 0;
                        if (text.isNull() || parseGedDate(read, text.get()) != 1 || read != v)
                            continue; // not a value the GED parser gives
                        static constexpr int monthLength[13] = {31, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
                        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
                        if (day > monthLength[month] || (month == 2 && day == 29 && !leap))
                            continue; // a day the month does not have (a range's first date), refused when typed
                        ASSERT_EQ(parseTypedDate(text.get()).value, v) << text.get();
                        ++checked;
                    }
    EXPECT_GT(checked, 20000);
}

TEST(FormatDate, WritesGedText)
{
    EXPECT_STREQ(formatDate(makeDate(1850, 1, 12, aboutDate)).get(), "ABT 12 JAN 1850");
    EXPECT_STREQ(formatDate(makeDate(1850, 3)).get(), "MAR 1850");
    EXPECT_STREQ(formatDate(makeDate(1850, 0, 0, 0, 2)).get(), "1850/1852");
    EXPECT_STREQ(formatDate(makeDate(0, 1, 5)).get(), "5 JAN");
    EXPECT_STREQ(formatDate(makeDate(1850, 0, 0, calculatedDate)).get(), "CAL 1850");
    EXPECT_STREQ(formatDate(makeDate(1950, 0, 0, betweenDate, 10)).get(), "BET 1950 AND 1960");
    EXPECT_STREQ(formatDate(makeDate(1850, 3, 0, fromToDate, 1)).get(), "FROM MAR 1850 TO 1851");
    EXPECT_STREQ(formatDate(makeDate(1890, 0, 0, estimatedDate)).get(), "EST 1890");
    EXPECT_STREQ(formatDate(makeDate(2100, 12, 31, beforeDate, 10)).get(), "BEF 31 DEC 2100/2110");
    EXPECT_EQ(formatDate(makeDate(0, 0, 5)).get(), nullptr);
    EXPECT_EQ(formatDate(0).get(), nullptr);
    // A month beyond December has no name; day and month are left out.
    EXPECT_STREQ(formatDate(makeDate(1850, 13, 4)).get(), "1850");
    EXPECT_EQ(formatDate(makeDate(0, 14, 4)).get(), nullptr);
}

TEST(FormatDate, WhatTheGedParserReadsItWritesBack)
{
    for (const char* text : {"12 JAN 1850", "ABT 1850", "BEF MAR 1700", "1750/1751", "AFT 5 DEC 1999", "CAL 1850", "2100"}) {
        DateValue value = 0;
        ASSERT_EQ(parseGedDate(value, text), 1) << text;
        EXPECT_EQ(std::string(formatDate(value).get()), text);
    }
}

} // namespace
} // namespace kinmap
