// Relationship: the shortest chain of family links between the current and
// the previous person, one person a line, each line telling how that person
// is related to the one above, closed by the kinship in plain English.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kinmap {

class Database;
class Workspace;

// What x is to y, as the report words it.
enum Relation : int { unrelated = 0, husband, wife, father, mother, son, daughter, brother, sister };
const char* relationWord(int relation);
Relation relationOf(const Database& db, int32_t x, int32_t y);

// The chain from `to` back to `from`: to first, from last; empty when the two
// are in different islands. Parents come before siblings, siblings before
// spouses, spouses before children, families in list order.
std::vector<int32_t> relationshipChain(const Database& db, int32_t from, int32_t to);

// "Karl Schmidt is a second cousin once removed of Anna Müller": what the
// last person of the chain is to the first; empty for a chain of one.
std::string kinshipSentence(const Database& db, const std::vector<int32_t>& chain);

// The report of the chain from `from` to `to` (written to the Report tab by
// the command).
std::string relationshipReport(const Database& db, int32_t from, int32_t to);

} // namespace kinmap
