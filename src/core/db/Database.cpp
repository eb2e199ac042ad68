#include "db/Database.h"

#include <algorithm>

namespace kinmap {

int birthYear(const PersonRecord& person)
{
    const int year = yearOf(person.birthDate);
    return year != 0 ? year : yearOf(person.chrisDate);
}

int deathYear(const PersonRecord& person)
{
    const int year = yearOf(person.deathDate);
    return year != 0 ? year : yearOf(person.burialDate);
}

Database::Database()
{
    clear();
}

void Database::clear()
{
    // Slot 0 only; the memory of a file before is given back.
    persons.clear();
    families.clear();
    persons.shrink_to_fit();
    families.shrink_to_fit();
    persons.resize(1);
    families.resize(1);
    texts.reset(TextStore::fewestHashSlots);
    fileOrder.clear();
    highestRin = highestMrin = importedHighestRin = importedHighestMrin = 0;
    highestSourceNumber = personCount = familyCount = 0;
}

void Database::beginImport(int expectedPersons, int expectedFamilies)
{
    clear();
    // About a surname, a given name and two places per person.
    texts.reset(TextStore::slotsFor(static_cast<size_t>(std::max(expectedPersons, 0)) * 4));
    // Numbers usually run from 1 to the count, so the tables rarely move.
    persons.reserve(static_cast<size_t>(std::clamp(expectedPersons, 0, maxPersons)) + 1);
    families.reserve(static_cast<size_t>(std::clamp(expectedFamilies, 0, maxFamilies)) + 1);
}

PersonRecord& Database::importedPerson(int32_t rin)
{
    if (static_cast<size_t>(rin) >= persons.size())
        persons.resize(static_cast<size_t>(rin) + 1);
    return persons[rin];
}

FamilyRecord& Database::importedFamily(int32_t mrin)
{
    if (static_cast<size_t>(mrin) >= families.size())
        families.resize(static_cast<size_t>(mrin) + 1);
    return families[mrin];
}

void Database::endImport()
{
    persons.resize(static_cast<size_t>(highestRin) + 1);
    families.resize(static_cast<size_t>(highestMrin) + 1);
    importedHighestRin = highestRin;
    importedHighestMrin = highestMrin;
}

int32_t Database::addPerson()
{
    const int32_t rin = highestRin + 1;
    persons.resize(static_cast<size_t>(rin) + 1);
    highestRin = rin;
    persons[rin] = PersonRecord{};
    persons[rin].flags = Flag::exists | Flag::changed;
    return rin;
}

int32_t Database::addFamily()
{
    const int32_t mrin = highestMrin + 1;
    families.resize(static_cast<size_t>(mrin) + 1);
    highestMrin = mrin;
    families[mrin] = FamilyRecord{};
    families[mrin].flags = Flag::exists | Flag::changed;
    return mrin;
}

void Database::appendLink(IdList& list, int32_t value)
{
    if (!list.append(value) && onError)
        onError(" Error: new failed!");
}

std::string Database::personXref(int32_t rin) const
{
    const Text xref = validRin(rin) ? persons[rin].xref : nullptr;
    return xref ? std::string(xref) : "@I" + std::to_string(rin) + "@";
}

std::string Database::familyXref(int32_t mrin) const
{
    const Text xref = validMrin(mrin) ? families[mrin].xref : nullptr;
    return xref ? std::string(xref) : "@F" + std::to_string(mrin) + "@";
}

const FamilyRecord* Database::familyAt(const IdList& list, int i) const
{
    if (i < 0 || i >= list.count() || !isFamily(list[i]))
        return nullptr;
    return &families[list[i]];
}

int32_t Database::fatherOf(int32_t rin, int i) const
{
    if (!validRin(rin))
        return 0;
    const FamilyRecord* family = familyAt(persons[rin].famc, i);
    return family ? family->husband : 0;
}

int32_t Database::motherOf(int32_t rin, int i) const
{
    if (!validRin(rin))
        return 0;
    const FamilyRecord* family = familyAt(persons[rin].famc, i);
    return family ? family->wife : 0;
}

int32_t Database::spouseOf(int32_t rin, int i) const
{
    if (!validRin(rin))
        return 0;
    const PersonRecord& person = persons[rin];
    const FamilyRecord* family = familyAt(person.fams, i);
    if (!family)
        return 0;
    return person.sex == 'F' ? family->husband : family->wife;
}

int Database::marriageYearOf(int32_t rin, int i) const
{
    if (!validRin(rin))
        return 0;
    const FamilyRecord* family = familyAt(persons[rin].fams, i);
    return family ? yearOf(family->marrDate) : 0;
}

int Database::estimatedBirthYear(int32_t rin) const
{
    // A person can be his own descendant in a broken file: the descent
    // through first children stops after maxDepth generations, and the
    // budget bounds the work when such a loop also branches.
    int budget = 10000;
    return estimatedBirthYear(rin, 0, budget);
}

int Database::estimatedBirthYear(int32_t rin, int depth, int& budget) const
{
    constexpr int maxDepth = 40;
    if (!validRin(rin) || depth > maxDepth || --budget < 0)
        return 0;
    const PersonRecord& person = persons[rin];
    if (const int year = birthYear(person))
        return year;
    if (const int year = marriageYearOf(rin, 0))
        return year - 20;
    for (int i = 0; i < person.fams.count(); ++i) {
        const FamilyRecord* family = familyAt(person.fams, i);
        if (!family || family->children.empty())
            continue;
        if (const int year = estimatedBirthYear(family->children[0], depth + 1, budget))
            return year - 25;
    }
    const int32_t father = fatherOf(rin, 0);
    if (validRin(father))
        if (const int year = birthYear(persons[father]))
            return year + 20;
    const int32_t mother = motherOf(rin, 0);
    if (validRin(mother))
        if (const int year = birthYear(persons[mother]))
            return year + 20;
    const int32_t spouse = spouseOf(rin, 0);
    if (validRin(spouse))
        return birthYear(persons[spouse]);
    return 0;
}

} // namespace kinmap
