// The person and family tables of the open GED file, indexed directly by
// record number (RIN for persons, MRIN for families; number 0 is never a
// record and a link 0 means no link), with the text pools and the counters.
#pragma once

#include "db/DateValue.h"
#include "db/IdList.h"
#include "db/TableAllocator.h"
#include "db/TextPool.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kinmap {

// Bits of PersonRecord::flags and FamilyRecord::flags. A deleted record has
// flags 0.
namespace Flag {
// persons
constexpr uint32_t hasGiven = 0x1;
constexpr uint32_t hasSurname = 0x2;
constexpr uint32_t hasSex = 0x4;
constexpr uint32_t hasBirthDate = 0x8;
constexpr uint32_t hasBirthPlace = 0x10;
constexpr uint32_t hasChrisDate = 0x20;
constexpr uint32_t hasChrisPlace = 0x40;
constexpr uint32_t hasDeathDate = 0x80;
constexpr uint32_t hasDeathPlace = 0x100;
constexpr uint32_t hasBurialDate = 0x200;
constexpr uint32_t hasBurialPlace = 0x400;
constexpr uint32_t selected = 0x1000;
constexpr uint32_t errorsIgnored = 0x2000;
// families
constexpr uint32_t hasHusband = 0x1;
constexpr uint32_t hasWife = 0x2;
constexpr uint32_t hasChildren = 0x4;
constexpr uint32_t divorced = 0x8; // a level-1 DIV line whose value begins with Y
constexpr uint32_t hasMarrDate = 0x1000;
constexpr uint32_t hasMarrPlace = 0x2000;
// both
constexpr uint32_t changed = 0x4000;
constexpr uint32_t exists = 0x8000;
} // namespace Flag

using Text = const char*; // UTF-8 in a TextPool, emptyText, or null (never set)

// A text to print: "" for one never set.
inline const char* orEmpty(Text text)
{
    return text ? text : "";
}

// Fields are ordered for size: 250,000 of these are held at once.
struct PersonRecord {
    uint64_t fileOffset = 0; // just after the record's level-0 line; 0 = no record in the current file
    Text surname = nullptr;
    Text given = nullptr;
    Text birthPlace = nullptr;
    Text chrisPlace = nullptr;
    Text deathPlace = nullptr;
    Text burialPlace = nullptr;
    Text xref = nullptr;   // the identifier as the file spells it; null for "@I<rin>@"
    IdList fams;           // families in which the person is a spouse
    IdList famc;           // families in which the person is a child
    IdList mergedRins;
    uint32_t flags = 0;
    DateValue birthDate = 0;
    DateValue chrisDate = 0;
    DateValue deathDate = 0;
    DateValue burialDate = 0;
    unsigned char sex = 0; // first character of the SEX value; 0 = none
    bool namesNotes = false; // a line of its record in the file names a note or source

    bool exists() const { return (flags & Flag::exists) != 0; }
};

struct FamilyRecord {
    uint64_t fileOffset = 0;
    uint32_t flags = 0;
    int32_t husband = 0;
    int32_t wife = 0;
    DateValue marrDate = 0;
    Text marrPlace = nullptr;
    IdList children;
    IdList mergedMrins;
    Text xref = nullptr; // the identifier as the file spells it; null for "@F<mrin>@"
    bool namesNotes = false; // a line of its record in the file names a note or source

    bool exists() const { return (flags & Flag::exists) != 0; }
};

int birthYear(const PersonRecord& person);  // birth, else christening
int deathYear(const PersonRecord& person);  // death, else burial

// Told of each record before it changes, so that the change can be undone.
class ChangeRecorder {
public:
    virtual ~ChangeRecorder() = default;
    virtual void savePerson(int32_t rin) = 0;
    virtual void saveFamily(int32_t mrin) = 0;
};

class Database {
public:
    // At most this many persons and families are read from one file.
    static constexpr int maxPersons = 250000;
    static constexpr int maxFamilies = 100000;

    Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    std::vector<PersonRecord, TableAllocator<PersonRecord>> persons; // indexed by RIN
    std::vector<FamilyRecord, TableAllocator<FamilyRecord>> families; // indexed by MRIN

    int32_t highestRin = 0;
    int32_t highestMrin = 0;
    int32_t importedHighestRin = 0;
    int32_t importedHighestMrin = 0;
    int32_t highestSourceNumber = 0;
    int32_t personCount = 0;
    int32_t familyCount = 0;

    TextStore texts;

    // The persons and families that have a record in the current GED file,
    // in the order of the file: a RIN, or an MRIN as a negative number.
    std::vector<int32_t> fileOrder;

    // Shows a failure of a list allocation (the error box).
    std::function<void(const char* message)> onError;

    // While an undoable operation runs: told of every record before it
    // changes (touch before the first write to a record).
    ChangeRecorder* recorder = nullptr;

    // Counts changes of what the person lists show, so that a list built
    // before knows it must be built again.
    uint64_t rowsRevision = 0;
    void rowsChanged() { ++rowsRevision; }
    void touchPerson(int32_t rin)
    {
        if (recorder && validRin(rin))
            recorder->savePerson(rin);
    }
    void touchFamily(int32_t mrin)
    {
        if (recorder && validMrin(mrin))
            recorder->saveFamily(mrin);
    }

    // Releases everything: empty tables, fresh pools.
    void clear();
    // Empty tables with room reserved for about this many records, and
    // fresh pools.
    void beginImport(int expectedPersons, int expectedFamilies);
    // The record of a number read by the import; the table is extended up
    // to it.
    PersonRecord& importedPerson(int32_t rin);
    FamilyRecord& importedFamily(int32_t mrin);
    // Cuts the tables to the highest numbers and records the imported
    // highest numbers.
    void endImport();

    // A new person or family at highestRin + 1 / highestMrin + 1 (the table
    // grows). The record exists and is changed.
    int32_t addPerson();
    int32_t addFamily();

    const char* internText(PoolId pool, const char* text) { return texts.internText(pool, text ? text : ""); }
    const char* internText(PoolId pool, std::string_view text) { return texts.internText(pool, text); }
    // Appends to a link list; a failed allocation is shown and leaves the list.
    void appendLink(IdList& list, int32_t value);

    // Marks a record for the export to rebuild; a missing or deleted one stays as it is.
    // A family other than `except` in which the person is the spouse of
    // the other role (wife when `asHusband`, else husband); 0 when there is
    // none. Such a person has no sex that fits both families.
    int32_t familyWithOtherRole(int32_t rin, bool asHusband, int32_t except = 0) const
    {
        if (!validRin(rin))
            return 0;
        for (const int32_t mrin : persons[rin].fams)
            if (mrin != except && isFamily(mrin) && (asHusband ? families[mrin].wife : families[mrin].husband) == rin)
                return mrin;
        return 0;
    }
    void markPersonChanged(int32_t rin)
    {
        if (isPerson(rin))
            persons[rin].flags |= Flag::changed;
    }
    void markFamilyChanged(int32_t mrin)
    {
        if (isFamily(mrin))
            families[mrin].flags |= Flag::changed;
    }
    bool validRin(int32_t rin) const { return rin >= 1 && rin <= highestRin; }
    bool validMrin(int32_t mrin) const { return mrin >= 1 && mrin <= highestMrin; }
    bool isPerson(int32_t rin) const { return validRin(rin) && persons[rin].exists(); }
    bool isFamily(int32_t mrin) const { return validMrin(mrin) && families[mrin].exists(); }
    // rin when it is an existing person, else 0: a link to nobody counts as none.
    int32_t personOrNone(int32_t rin) const { return isPerson(rin) ? rin : 0; }

    // The identifier by which the file names a record: its own spelling,
    // or "@I<rin>@" / "@F<mrin>@" for records the file spells so or that
    // were added since.
    std::string personXref(int32_t rin) const;
    std::string familyXref(int32_t mrin) const;

    int32_t fatherOf(int32_t rin, int i) const;
    int32_t motherOf(int32_t rin, int i) const;
    int32_t spouseOf(int32_t rin, int i) const;
    int marriageYearOf(int32_t rin, int i) const;
    // A birth year for persons without one, from marriage, children, parents
    // or spouse; 0 when nothing gives one.
    int estimatedBirthYear(int32_t rin) const;

private:
    const FamilyRecord* familyAt(const IdList& list, int i) const;
    int estimatedBirthYear(int32_t rin, int depth, int& budget) const;
};

} // namespace kinmap
