#include "views/FamilyView.h"

#include "base/Format.h"
#include "db/Database.h"

#include <algorithm>

namespace kinmap {

namespace {

// "*date " (or the fallback's mark and date), then "- place": a missing date
// or place writes nothing.
std::string eventText(const PersonRecord& p, uint32_t flag, DateValue date, char mark, uint32_t fallbackFlag,
                      DateValue fallbackDate, char fallbackMark, Text place, Text fallbackPlace)
{
    std::string text;
    if (p.flags & flag)
        text += formatText("%c%s ", mark, orEmpty(formatDate(date).get()));
    else if (p.flags & fallbackFlag)
        text += formatText("%c%s ", fallbackMark, orEmpty(formatDate(fallbackDate).get()));
    const Text shown = place && *place ? place : fallbackPlace;
    if (shown && *shown)
        text += formatText("- %s", shown);
    return text;
}

// The date column of a child: "*date" or "~date", "+date" or "_date".
std::string dateColumn(const PersonRecord& p, uint32_t flag, DateValue date, char mark, uint32_t fallbackFlag,
                       DateValue fallbackDate, char fallbackMark)
{
    if (p.flags & flag)
        return formatText("%c%s", mark, orEmpty(formatDate(date).get()));
    if (p.flags & fallbackFlag)
        return formatText("%c%s", fallbackMark, orEmpty(formatDate(fallbackDate).get()));
    return {};
}

// The list entry at index, after moving the index into range (0 for an
// empty list); 0 when it names no family.
int32_t familyAt(const Database& db, const IdList& list, int& index)
{
    if (list.empty()) {
        index = 0;
        return 0;
    }
    index = std::clamp(index, 0, list.count() - 1);
    return db.isFamily(list[index]) ? list[index] : 0;
}

} // namespace

std::string familyBoxText(const Database& db, int32_t rin)
{
    if (!db.isPerson(rin))
        return {};
    const PersonRecord& p = db.persons[rin];
    return formatText(" %s %s \r\n ", orEmpty(p.given), orEmpty(p.surname)) +
           eventText(p, Flag::hasBirthDate, p.birthDate, '*', Flag::hasChrisDate, p.chrisDate, '~', p.birthPlace, p.chrisPlace) +
           "\r\n " +
           eventText(p, Flag::hasDeathDate, p.deathDate, '+', Flag::hasBurialDate, p.burialDate, '_', p.deathPlace, p.burialPlace);
}

FamilyPicture familyPicture(const Database& db, int32_t rin, int& familyIndex, int& parentsIndex)
{
    FamilyPicture picture;
    if (!db.isPerson(rin))
        return picture;
    const PersonRecord& p = db.persons[rin];
    picture.person = {rin, familyBoxText(db, rin)};

    picture.parentsFamily = familyAt(db, p.famc, parentsIndex);
    picture.moreParents = p.famc.count() > 1;
    const FamilyRecord* parents = picture.parentsFamily ? &db.families[picture.parentsFamily] : nullptr;
    const int32_t father = parents ? db.personOrNone(parents->husband) : 0;
    const int32_t mother = parents ? db.personOrNone(parents->wife) : 0;
    picture.father = father ? FamilyBox{father, familyBoxText(db, father)} : FamilyBox{emptyFather, {}};
    picture.mother = mother ? FamilyBox{mother, familyBoxText(db, mother)} : FamilyBox{emptyMother, {}};

    picture.family = familyAt(db, p.fams, familyIndex);
    const FamilyRecord* family = picture.family ? &db.families[picture.family] : nullptr;
    const int32_t spouse = family ? db.personOrNone(family->husband == rin ? family->wife : family->husband) : 0;
    picture.spouse = spouse ? FamilyBox{spouse, familyBoxText(db, spouse)} : FamilyBox{emptySpouse, {}};

    if (p.fams.count() > 1)
        picture.marriageText = formatText("%d.", familyIndex + 1);
    picture.marriageText += family && (family->flags & Flag::hasMarrDate)
                                ? formatText("Marriage: %s", orEmpty(formatDate(family->marrDate).get()))
                                : std::string("Marriage: ");

    if (family) {
        int position = 0;
        for (const int32_t child : family->children) {
            if (!db.isPerson(child))
                continue;
            const PersonRecord& c = db.persons[child];
            std::string marks;
            bool ownChildren = false;
            for (const int32_t mrin : c.fams)
                ownChildren |= db.isFamily(mrin) && !db.families[mrin].children.empty();
            if (!c.fams.empty())
                marks = ownChildren ? ".." : ".";
            picture.children.push_back(
                {child, formatText("%d  %s %s\t", ++position, orEmpty(c.given), orEmpty(c.surname)) +
                            dateColumn(c, Flag::hasBirthDate, c.birthDate, '*', Flag::hasChrisDate, c.chrisDate, '~') + "\t" +
                            dateColumn(c, Flag::hasDeathDate, c.deathDate, '+', Flag::hasBurialDate, c.burialDate, '_') +
                            "\t" + marks});
        }
    }
    return picture;
}

} // namespace kinmap
