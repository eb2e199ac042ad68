// Merging two records that describe the same person or family: the
// survivor takes over the other's links (spouse families, parent families,
// children), keeps or takes over names, dates and places, and remembers the
// merged numbers; the other record is deleted. Every record whose links or
// values change is marked changed, so that the export rebuilds it; the
// export also carries the merged records' other lines over to the survivor.
#pragma once

#include "base/UserInterface.h"
#include "db/Database.h"

#include <array>
#include <cstdint>
#include <string>

namespace kinmap {

class Workspace;

// The place a merge keeps: one text when the other is missing or contained
// in it, both joined with ", " when joinAllowed (unless the result would
// exceed maxJoinedPlace bytes), else the longer one.
constexpr size_t maxJoinedPlace = 1000;
Text choosePlace(Database& db, Text kept, Text other, bool joinAllowed);
// The date a merge keeps: the one with a year; else the more precise (a
// greater year, month or day, then a greater qualifier), the other on ties.
DateValue chooseDate(DateValue kept, DateValue other);

// Merges the persons a and b automatically: the smaller RIN survives. The
// report gets the merge lines. Returns 1, or 0 when nothing was merged (the
// same person, a person that does not exist, or different sex: "MergeAuto
// fail").
int mergePersonsAuto(Workspace& session, int32_t a, int32_t b);
// Moves every link of drop to keep: its spouse families (merging a family
// with one keep already has with the same spouse), its parent families.
void mergeLinks(Workspace& session, int32_t keep, int32_t drop);

// Merges family g into f. Returns the number of person merges it caused
// (0 to 2), or familiesNotMerged when nothing was merged (the same family,
// marriage years that differ, or spouses that cannot be merged).
constexpr int familiesNotMerged = -1;
int mergeFamilies(Workspace& session, int32_t f, int32_t g);

// The MERGE PERSONS dialog's content: the ten fields of the kept person A
// and the other person B, their relatives, and which of B's fields replace
// A's (the check boxes).
struct MergeFields {
    static constexpr int count = 10;
    static const char* const labels[count];
    int32_t keptRin = 0, otherRin = 0;
    std::array<std::string, count> kept, other;
    // father, mother and the spouses of the first three spouse families
    std::array<std::string, 5> keptRelatives, otherRelatives;
    std::array<bool, count> takeOther{};
};
MergeFields mergeFieldsOf(const Database& db, int32_t kept, int32_t other);

// Shows the MERGE PERSONS dialog for a (kept, whatever its RIN) and b.
// YES merges with the fields the user chose and journals it; NO and CANCEL
// change nothing. Refused with a message unless both persons exist and
// differ; persons of different sex are merged only after a question.
MergeAnswer mergePersonsManual(Workspace& session, int32_t a, int32_t b);

} // namespace kinmap
