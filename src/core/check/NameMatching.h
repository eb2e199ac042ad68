// Sound codes and graded comparisons of two persons: by surname, given
// names, parents, spouses and life dates. The duplicate search pairs persons
// with them, the merge pairs children with them.
//
// A comparison result is a small number, lower meaning more alike: 0 the
// same, 8 nothing to compare, above 8 different (see MatchResult).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kinmap {

class Database;

// How names are compared; the values are the method bits of the duplicate
// search options.
enum class MatchMethod : uint32_t { exact = 2, soundex = 4, other = 6 };

namespace MatchResult {
constexpr int same = 0;
constexpr int sameSound = 1;
constexpr int sameSixLetters = 2;
constexpr int sameFourLetters = 4;
constexpr int unknown = 8; // a name or date is missing: nothing to compare
constexpr int different = 15;
} // namespace MatchResult

// The sound code in which every sound group counts once, in the order of
// first appearance, up to 5 digits: Schmidt, Schmitt and Smith give 375,
// Meyer and Maier 79. Only the letters A to Z and ß are coded (Dvořák
// gives 523, as the ř adds nothing); a text without them (a name in
// Cyrillic, say) gives the empty code, which agrees with no other.
std::string nameKey(std::string_view text);

// The code shown by the Soundex dialog: the first letter as a capital and
// up to three digits (Schmidt S253, Robert R163, Lee L); empty for a text
// without letters.
std::string soundexCode(std::string_view text);

// Facts of the two lives that cannot both be true of one person: one died
// (or was buried) before the other was christened, married or buried, or
// both have an exact birth date and they differ.
bool livesContradict(const Database& db, int32_t a, int32_t b);
// Both are children of one family.
bool areSiblings(const Database& db, int32_t a, int32_t b);

// 0 same text (case and accents aside), 1 same non-empty nameKey, 2 / 4 the first six
// / four letters agree (other matching only), 8 a surname missing, 15
// different.
int compareSurnames(const Database& db, MatchMethod method, int32_t a, int32_t b);
// 0, 1, 15 (a given name missing counts as different), or under other
// matching a set of the bits 1 (a word's sound differs), 2 (a word differs
// but occurs in the other's names) and 4 (a word's first letters agree).
int compareGivenNames(const Database& db, MatchMethod method, int32_t a, int32_t b);
// The mothers, then the fathers (of each person's first parent family);
// 8 when no parent pair could be compared.
int compareParents(const Database& db, MatchMethod method, int32_t a, int32_t b);
// 0 when the two share a family or a child with an unknown spouse; else the
// best result of their spouses' names; 8 when nothing could be compared.
int compareSpouses(const Database& db, MatchMethod method, int32_t a, int32_t b);
// 0 when the compared birth or christening years and death or burial years
// agree, 8 when no pair of years could be compared, 15 when they disagree.
// Years agree when equal; a date with a span (BET 1900 AND 1905) covers its
// years, and an about or calculated date two years either side.
int compareLifeDates(const Database& db, int32_t a, int32_t b);

} // namespace kinmap
