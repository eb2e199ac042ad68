// Find Errors: the plausibility check over the whole database. It finds
// what cannot be true (dates in the wrong order, parents too young or too
// old, marriages after death, children outside their parents' lives,
// misspelt names and places, broken links), corrects what a contradiction
// itself settles (a vague date that adds nothing, the order of children and
// marriages, missing back-links), and files every finding in the error list
// and the change journal.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kinmap {

class Workspace;

// Groups of rules the user can switch off (the option's ignore word).
namespace Ignore {
constexpr uint32_t bornTooLate = 0x1;
constexpr uint32_t bornTooEarly = 0x2;
constexpr uint32_t checkDate = 0x4;
constexpr uint32_t checkName = 0x8;
constexpr uint32_t spouseConflict = 0x10;
constexpr uint32_t birthDates = 0x20;
constexpr uint32_t otherName = 0x40;
} // namespace Ignore

// The settings of ERROR CHECK OPTIONS, kept for the program run.
struct CheckOptions {
    static constexpr int ageCount = 8;
    static constexpr int maxAge = 150; // no limit above an age nobody reaches
    static const char* const ageLabels[ageCount];
    static const char* const ignoreLabels[7];
    // husband min/max at marriage, wife min/max, father min/max at a
    // child's birth, mother min/max: years
    std::array<uint32_t, ageCount> ages{6, 95, 6, 95, 12, 80, 12, 80};
    uint32_t ignore = 0;

    uint32_t husbandMin() const { return ages[0]; }
    uint32_t husbandMax() const { return ages[1]; }
    uint32_t wifeMin() const { return ages[2]; }
    uint32_t wifeMax() const { return ages[3]; }
    uint32_t fatherMin() const { return ages[4]; }
    uint32_t fatherMax() const { return ages[5]; }
    uint32_t motherMin() const { return ages[6]; }
    uint32_t motherMax() const { return ages[7]; }
    bool ignores(uint32_t group) const { return (ignore & group) != 0; }
};

enum ErrorType : int {
    ageDifference,
    bornBeforeFather,
    bornBeforeMother,
    bornTooEarly,
    bornTooLate,
    checkDateError,
    checkNameError,
    childrenDates,
    deathBeforeMarriage,
    differentSurname,
    fatherDead,
    fatherTooOld,
    fatherTooYoung,
    husbandTooOld,
    husbandTooYoung,
    motherDead,
    motherTooOld,
    motherTooYoung,
    mrinDeleted,
    orderOfChildren,
    orderOfMarriages,
    recursiveParent,
    rinDeleted,
    severalParents,
    singlePerson,
    spouseConflict,
    superfluousDate,
    wifeTooOld,
    wifeTooYoung,
    wrongFamily,
    wrongGender,
    wrongSpouse,
    errorTypeCount
};
// The name the list shows and the journal writes ("mother too old  " has
// two trailing blanks).
const char* errorTypeName(int type);

struct ErrorEntry {
    int type;
    int32_t rin; // the person it is filed under; 0 for none
    std::string text;
};

// The findings of the last run.
struct ErrorList {
    std::vector<ErrorEntry> entries;
    int32_t correctedCount = 0;
    std::array<int32_t, errorTypeCount> typeCount{};
    // What the run wrote to the journal, from "\n- Error check:\n" on.
    std::string journalEntry;
};

// Find Errors with the options: the findings go into `list` (emptied
// first), the journal and the report; corrections are counted.
// `fileDate` gives the text of an event's DATE line as the file has it
// ("BIRT"), so that a date that did not read is shown as it stands.
using FileDateText = std::function<std::string(int32_t rin, const char* eventTag)>;
void checkPlausibility(Workspace& workspace, const CheckOptions& options, ErrorList& list,
                       const FileDateText& fileDate = {});

} // namespace kinmap
