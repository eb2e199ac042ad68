// Sound codes and the graded comparisons of two persons.
#include "check/NameMatching.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kinmap {
namespace {

TEST(NameMatching, SoundCodes)
{
    struct Case {
        const char* text;
        const char* soundex;
        const char* key;
    };
    const Case cases[] = {
        {"Schmidt", "S253", "375"}, {"Schmitt", "S253", "375"}, {"Smith", "S53", "375"},
        {"Meyer", "M6", "79"},      {"Maier", "M6", "79"},      {"Miller", "M46", "769"},
        {"Mueller", "M46", "769"},  {"Barbara", "B61", "29"},   {"Robert", "R163", "925"},
        {"Rupert", "R163", "915"},  {"Lee", "L", "6"},          {"", "", ""},
        {"12 Meyer", "M6", "79"},   {"?? 12", "", ""},          {"Ahlgrimm-Kpfdtlnmr", "A426", "64973"},
        // Only A to Z and ß are coded: other letters add nothing.
        {"Čapek", "A12", "13"},     {"Capek", "C12", "31"},     {"Dvořák", "D12", "523"},
        {"Strauß", "S36", "359"},   {"Ölund", "L53", "685"},    {"Меншиков", "", ""},
        {"[Lee]", "[4", "6"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(soundexCode(c.text), c.soundex) << c.text;
        EXPECT_EQ(nameKey(c.text), c.key) << c.text;
    }
}

class MatchingTest : public test::ImportFixture {
protected:
    int surnames(MatchMethod m, int32_t a, int32_t b) const { return compareSurnames(db, m, a, b); }
    int given(MatchMethod m, int32_t a, int32_t b) const { return compareGivenNames(db, m, a, b); }
};

TEST_F(MatchingTest, NamesByMethod)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Anna Maria /Meyer/\n"
                           "0 @I2@ INDI\n1 NAME maria anna /MEYER/\n"
                           "0 @I3@ INDI\n1 NAME Maria Anna /Maier/\n"
                           "0 @I4@ INDI\n1 NAME Hans /Wagner/\n"
                           "0 @I5@ INDI\n1 NAME Hanns /Wagners/\n"
                           "0 @I6@ INDI\n1 NAME Jo Karl /Bergmann/\n"
                           "0 @I7@ INDI\n1 NAME Johann Karl /Bergmeier/\n"
                           "0 @I8@ INDI\n1 NAME Fritz //\n"
                           "0 @I9@ INDI\n1 NAME /Müller/\n"
                           "0 @I10@ INDI\n1 NAME Anna Maria /Mueller/\n"
                           "0 @I11@ INDI\n1 NAME Anna Luise /Muller/\n"
                           "0 @I12@ INDI\n1 NAME Иван /Меншиков/\n"
                           "0 @I13@ INDI\n1 NAME Иван /Долгорукий/\n"
                           "0 TRLR\n"));
    const MatchMethod exact = MatchMethod::exact, soundex = MatchMethod::soundex, other = MatchMethod::other;
    for (const MatchMethod m : {exact, soundex, other}) {
        EXPECT_EQ(surnames(m, 1, 2), 0); // case aside
        EXPECT_EQ(surnames(m, 9, 11), 0); // accents aside
        EXPECT_EQ(surnames(m, 1, 8), 8);  // a surname missing: nothing to compare
        EXPECT_EQ(given(m, 9, 10), 15);   // a given name missing: different
    }
    EXPECT_EQ(surnames(exact, 1, 3), 15);
    EXPECT_EQ(surnames(soundex, 1, 3), 1);
    EXPECT_EQ(surnames(other, 1, 3), 1);
    EXPECT_EQ(surnames(soundex, 4, 5), 15);
    EXPECT_EQ(surnames(other, 4, 5), 2); // Wagner / Wagners: the first six letters
    EXPECT_EQ(surnames(other, 6, 7), 4); // Bergmann / Bergmeier: the first four
    EXPECT_EQ(surnames(other, 4, 6), 15);
    // Names without a coded letter have no sound to agree in.
    EXPECT_EQ(surnames(soundex, 12, 13), 15);

    EXPECT_EQ(given(exact, 2, 3), 0);
    EXPECT_EQ(given(exact, 4, 5), 15);
    EXPECT_EQ(given(soundex, 4, 5), 1);
    // Word by word under other matching: the words differ, but each occurs
    // in the other's names (bits 1 and 2); agreeing first letters give 4; a
    // word the other lacks makes them different.
    EXPECT_EQ(given(other, 1, 3), 3);
    EXPECT_EQ(given(other, 6, 7), 1 | 4);
    EXPECT_EQ(given(other, 10, 11), 15);
}

TEST_F(MatchingTest, ParentsAndSpousesTellUnknownFromDifferent)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Karl /Schmidt/\n1 FAMC @F1@\n1 FAMS @F3@\n1 FAMS @F4@\n"
                           "0 @I2@ INDI\n1 NAME Karl /Schmidt/\n1 FAMC @F2@\n1 FAMS @F5@\n"
                           "0 @I3@ INDI\n1 NAME Hans /Schmidt/\n1 FAMS @F1@\n"
                           "0 @I4@ INDI\n1 NAME Hans /Schmitt/\n1 FAMS @F2@\n"
                           "0 @I5@ INDI\n1 NAME Eva /Roth/\n1 FAMS @F2@\n"
                           "0 @I6@ INDI\n1 NAME Olga /Zander/\n1 FAMS @F3@\n"
                           "0 @I7@ INDI\n1 NAME Grete /Baum/\n1 FAMS @F4@\n"
                           "0 @I8@ INDI\n1 NAME Grete /Baum/\n1 FAMS @F5@\n"
                           "0 @I9@ INDI\n1 NAME Paul /Kind/\n1 FAMC @F6@\n1 FAMC @F7@\n"
                           "0 @I10@ INDI\n1 NAME Ida /Lang/\n1 FAMS @F6@\n"
                           "0 @I11@ INDI\n1 NAME Ida /Lang/\n1 FAMS @F7@\n"
                           "0 @I12@ INDI\n1 NAME Otto /Kurz/\n1 FAMS @F8@\n1 FAMS @F9@\n"
                           "0 @I14@ INDI\n1 NAME Erna //\n1 FAMS @F8@\n"
                           "0 @I15@ INDI\n1 NAME Berta /Zeh/\n1 FAMS @F9@\n"
                           "0 @I16@ INDI\n1 NAME Otto /Kurz/\n1 FAMS @F10@\n"
                           "0 @I17@ INDI\n1 NAME Berta /Lind/\n1 FAMS @F10@\n"
                           "0 @F1@ FAM\n1 HUSB @I3@\n1 CHIL @I1@\n"
                           "0 @F2@ FAM\n1 HUSB @I4@\n1 WIFE @I5@\n1 CHIL @I2@\n"
                           "0 @F3@ FAM\n1 HUSB @I1@\n1 WIFE @I6@\n"
                           "0 @F4@ FAM\n1 HUSB @I1@\n1 WIFE @I7@\n"
                           "0 @F5@ FAM\n1 HUSB @I2@\n1 WIFE @I8@\n"
                           "0 @F6@ FAM\n1 WIFE @I10@\n1 CHIL @I9@\n"
                           "0 @F7@ FAM\n1 WIFE @I11@\n1 CHIL @I9@\n"
                           "0 @F8@ FAM\n1 HUSB @I12@\n1 WIFE @I14@\n"
                           "0 @F9@ FAM\n1 HUSB @I12@\n1 WIFE @I15@\n"
                           "0 @F10@ FAM\n1 HUSB @I16@\n1 WIFE @I17@\n"
                           "0 TRLR\n"));
    // One mother unknown, fathers alike in sound: alike, not different.
    EXPECT_EQ(compareParents(db, MatchMethod::soundex, 1, 2), 1);
    EXPECT_EQ(compareParents(db, MatchMethod::exact, 1, 2), 15);
    EXPECT_EQ(compareParents(db, MatchMethod::exact, 3, 4), 8); // no parents at all
    // The best of all spouse pairs, whatever their order: Olga differs,
    // Grete agrees; a spouse without surname says less than one who differs.
    EXPECT_EQ(compareSpouses(db, MatchMethod::exact, 1, 2), 0);
    EXPECT_EQ(compareSpouses(db, MatchMethod::exact, 2, 1), 0);
    EXPECT_EQ(compareSpouses(db, MatchMethod::exact, 12, 16), 8);
    EXPECT_EQ(compareSpouses(db, MatchMethod::exact, 16, 12), 8);
    EXPECT_EQ(compareSpouses(db, MatchMethod::exact, 1, 16), 15);
    EXPECT_EQ(compareSpouses(db, MatchMethod::exact, 9, 2), 8); // no spouse family
    // Husbands unknown, a child in common: the same couple.
    EXPECT_EQ(compareSpouses(db, MatchMethod::exact, 10, 11), 0);
}

TEST_F(MatchingTest, LifeDates)
{
    struct Case {
        const char* a;
        const char* b;
        int result;
    };
    const Case cases[] = {
        {"1 BIRT\n2 DATE 1850\n", "1 BIRT\n2 DATE 3 MAR 1850\n", 0},
        {"1 BIRT\n2 DATE 1850\n", "1 BIRT\n2 DATE 1851\n", 15},
        {"1 BIRT\n2 DATE ABT 1850\n", "1 BIRT\n2 DATE 1852\n", 0},
        {"1 BIRT\n2 DATE ABT 1850\n", "1 BIRT\n2 DATE 1853\n", 15},
        // About, calculated and estimated reach two years either way;
        // before and after are taken at their year.
        {"1 BIRT\n2 DATE CAL 1850\n", "1 BIRT\n2 DATE 1848\n", 0},
        {"1 BIRT\n2 DATE CAL 1850\n", "1 BIRT\n2 DATE 1847\n", 15},
        {"1 BIRT\n2 DATE EST 1850\n", "1 BIRT\n2 DATE 1852\n", 0},
        {"1 BIRT\n2 DATE EST 1850\n", "1 BIRT\n2 DATE 1853\n", 15},
        {"1 BIRT\n2 DATE ABT 1850\n", "1 BIRT\n2 DATE ABT 1854\n", 0},
        {"1 BIRT\n2 DATE ABT 1850\n", "1 BIRT\n2 DATE ABT 1855\n", 15},
        {"1 DEAT\n2 DATE BEF 1900\n", "1 DEAT\n2 DATE 1900\n", 0},
        {"1 DEAT\n2 DATE BEF 1900\n", "1 DEAT\n2 DATE 1899\n", 15},
        {"1 DEAT\n2 DATE AFT 1900\n", "1 DEAT\n2 DATE 1901\n", 15},
        {"1 BIRT\n2 DATE BET 1850 AND 1855\n", "1 BIRT\n2 DATE 1855\n", 0},
        {"1 BIRT\n2 DATE 1850\n", "1 CHR\n2 DATE 1850\n", 0},
        {"1 BIRT\n2 DATE 1850\n1 CHR\n2 DATE 1850\n", "1 CHR\n2 DATE 1851\n", 15},
        {"1 BIRT\n2 DATE 1850\n", "1 DEAT\n2 DATE 1900\n", 8},
        {"1 BIRT\n2 DATE MAR\n", "1 BIRT\n2 DATE 1850\n", 8}, // no year: nothing compared
        {"1 BIRT\n2 DATE 1850\n1 DEAT\n2 DATE 1900\n", "1 BIRT\n2 DATE 1850\n1 BURI\n2 DATE 1901\n", 15},
        {"1 DEAT\n2 DATE 1900\n", "1 BURI\n2 DATE 1900\n", 0},
        {"", "", 8},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(importText(std::string("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n") + c.a + "0 @I2@ INDI\n1 NAME A /B/\n" +
                               c.b + "0 TRLR\n"));
        EXPECT_EQ(compareLifeDates(db, 1, 2), c.result) << c.a << " / " << c.b;
        EXPECT_EQ(compareLifeDates(db, 2, 1), c.result) << c.b << " / " << c.a;
    }
}

} // namespace
} // namespace kinmap
