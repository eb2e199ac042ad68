// The duplicate search: persons entered twice, found directly among the
// persons or through families that appear twice. A pair found is merged
// (automatic, after a preview in the window), offered in the candidate list
// of check boxes (semiautomatic), or shown pair by pair in the MERGE PERSONS
// dialog (manual).
//
// Persons are compared within groups of the same name key (the folded names
// under exact spelling, their sound codes under Soundex; under other
// matching a pass over the sound code of the surname and one over its first
// four letters), of the same sex, and within 25 estimated birth years.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kinmap {

class Database;
class Workspace;

// The option word of the DUPLICATES dialog, kept for the program run.
namespace DuplicateOption {
constexpr uint32_t persons = 0x1; // else families
constexpr uint32_t methodMask = 0x6;
constexpr uint32_t requirementMask = 0x18;
constexpr uint32_t sameDate = 8, sameSpouse = 16, sameParents = 24, noRequirement = 0;
constexpr uint32_t modeMask = 0xC0;
constexpr uint32_t automatic = 64, semiautomatic = 128, manual = 0;
constexpr uint32_t defaults = 75; // persons, exact spelling, same date, automatic
} // namespace DuplicateOption

// The dialog's rules: "None" cannot be chosen while the mode is automatic,
// and choosing automatic while "None" holds requires "Same date".
uint32_t withRequirement(uint32_t options, uint32_t requirement);
uint32_t withMode(uint32_t options, uint32_t mode);
// The word as the dialog opens it: a method is always set.
uint32_t withMethod(uint32_t options);

// 0 when a and b may be the same person under the options, 255 when not.
int matchPersons(const Database& db, uint32_t options, int32_t a, int32_t b);

// A pair found: two persons (or, in an automatic families search, two
// families with the same spouses), with the texts the list shows.
struct CandidatePair {
    int32_t first = 0, second = 0;
    bool families = false;
    bool checked = true;
    bool merged = false; // merged by "Merge now", or gone since: shown greyed
    std::string firstText, secondText;
};

// Where a walk over the sorted entries stopped: the pass and the sort key
// of the entry.
struct SearchPosition {
    int pass = 0;
    std::string key;
    int sex = 0, year = 0;
    int32_t number = 0;
    bool atStart() const { return pass == 0 && key.empty() && number == 0; }
};

struct DuplicateSearch {
    static constexpr size_t maxCandidates = 300;

    uint32_t options = DuplicateOption::defaults;
    std::vector<CandidatePair> candidates;
    bool candidatesShown = false; // the candidate list is the Report tab's content
    // Where the next semiautomatic search starts, one for persons and one
    // for families.
    SearchPosition personResume, familyResume;
    // Pairs the user unticked before "Merge now": not duplicates, for the
    // rest of the program run (smaller number first).
    std::set<std::pair<int32_t, int32_t>> rejected;
    // The merge journal entry written last, from "\n- Merge: " on.
    std::string lastJournalEntry;
};

// How a search ended: the user cancelled the automatic merge, nothing was
// found, pairs were merged (automatic and manual mode), or the candidates
// are listed for the user to tick (semiautomatic mode).
enum class DuplicateOutcome { cancelled, noneFound, merged, listed };

// The search with the kept options; in automatic mode the pairs found are
// shown for confirmation before they are merged. Manual mode makes each
// pair's first person the current one while it asks.
DuplicateOutcome searchDuplicates(Workspace& workspace, DuplicateSearch& state, int32_t& currentPerson);

// "Merge now" of the candidate list: merges every checked pair not merged
// yet (a pair whose person is gone is skipped) and remembers the unticked
// pairs. Returns the merges counted.
int mergeCheckedCandidates(Workspace& workspace, DuplicateSearch& state);

// The duplicate list writer: each pair numbered from 1, its two persons with
// their relatives.
std::string candidateListText(Workspace& workspace, const DuplicateSearch& state);

} // namespace kinmap
