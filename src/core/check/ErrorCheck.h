// The run of the plausibility check, shared by its person rules
// (PersonChecks.cpp) and its family rules (FamilyChecks.cpp). Not used
// outside the check.
#pragma once

#include "check/Plausibility.h"
#include "db/Database.h"

#include <string>

namespace kinmap {

class Workspace;

// A date a rule compares, with where it lives, so that the rule can test
// its qualifier and delete it when it is superfluous.
enum class DateKind { birth, christening, death, burial, marriage };
struct ComparedDate {
    DateKind kind = DateKind::birth;
    int32_t number = 0; // RIN, or MRIN for a marriage
    DateValue value = 0;

    int year() const { return yearOf(value); }
    bool is(int qualifier) const { return year() != 0 && qualifierOf(value) == qualifier; }
};

// Months from a to b: 0 when either lacks a year, or (with b's year not
// earlier) a month; a b in an earlier year gives whole years back.
int monthsBetween(DateValue a, DateValue b);
// a is later than b, field by field as far as both have them.
bool isLater(DateValue a, DateValue b);

class ErrorCheck {
public:
    ErrorCheck(Workspace& workspace, const CheckOptions& options, ErrorList& list, const FileDateText& fileDate);
    void run();

    // Appends a piece of the details text as it is.
    void say(const std::string& text);
    void label(int32_t rin, int options);
    // Files the details text composed so far as an entry under a person
    // (0 for none). A correction is journalled also for a person whose
    // errors are ignored.
    void record(ErrorType type, int32_t rin, bool correction = false);
    // Deletes a date that a contradiction shows to add nothing, and files
    // it. A date without a year is left alone. False when nothing was
    // deleted.
    bool deleteSuperfluous(const ComparedDate& date);

    // The birth date a rule compares (birth, else christening) and the
    // death date (death, else burial); year 0 when there is none.
    ComparedDate birthOf(int32_t rin) const;
    ComparedDate deathOf(int32_t rin) const;
    ComparedDate dateOf(DateKind kind, int32_t number) const;

    void markChanged(int32_t rin);
    void markFamilyChanged(int32_t mrin);
    void corrected() { ++list_.correctedCount; }

    bool checkPerson(int32_t rin);
    void checkFamily(int32_t mrin);

    Workspace& s;
    Database& db;
    const CheckOptions& options;
    const FileDateText& fileDate;

private:
    void personDates(int32_t rin);
    void personNames(int32_t rin);
    void parentFamilies(int32_t rin);
    void marriages(int32_t rin);
    void childParentCycles(int32_t rin);
    void parentCycles(int32_t mrin);
    bool spouses(int32_t mrin);
    void children(int32_t mrin);

    void writeJournal();

    ErrorList& list_;
    size_t journalWritten_ = 0; // of the list's journal entry
};

} // namespace kinmap
