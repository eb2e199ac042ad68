#include "app/FamilyCommands.h"

#include "app/Commands.h"
#include "app/EditCommands.h"
#include "app/Session.h"
#include "app/Shell.h"
#include "app/ViewCommands.h"
#include "db/Numbers.h"
#include "edit/LinkEdits.h"
#include "edit/PersonForm.h"

#include <algorithm>
#include <optional>

namespace kinmap {

namespace {

void rebuild(Session& s)
{
    showView(s, familyView);
}

// The next of the current person's families of a kind, round.
void showNextFamily(Session& s, int& index, IdList PersonRecord::*families)
{
    const int32_t p = s.shell.currentPerson;
    if (!s.db.isPerson(p))
        return;
    stepRound(index, (s.db.persons[p].*families).count());
    rebuild(s);
}

} // namespace

FamilyPicture prepareFamilyView(Session& s)
{
    ShellState& shell = s.shell;
    FamilyPicture picture = familyPicture(s.db, shell.currentPerson, shell.currentFamilyIndex, shell.currentParentsIndex);
    showLoaded(s);
    s.setStatus(1, "%d Persons\t", s.db.personCount);
    if (picture.family)
        s.setStatus(2, "RIN: %d   MRIN:%d", shell.currentPerson, picture.family);
    else
        s.setStatus(2, "RIN: %d", shell.currentPerson);
    return picture;
}

void familyBoxClicked(Session& s, int32_t box)
{
    ShellState& shell = s.shell;
    const int32_t p = shell.currentPerson;
    if (!s.db.isPerson(p))
        return;
    if (box == p) {
        editPerson(s, shell.currentFamilyIndex, p, "PERSON BEARBEITEN:");
    } else if (box > 0) {
        if (!s.db.isPerson(box))
            return;
        clickPerson(s, box);
    } else {
        const FamilyPicture picture = familyPicture(s.db, p, shell.currentFamilyIndex, shell.currentParentsIndex);
        if (box == emptySpouse)
            addNewSpouse(s, p, picture.family);
        else // the shown parents' family gets the missing parent when it has a place for one
            addNewParent(s, p, box == emptyFather, picture.parentsFamily);
    }
    rebuild(s);
}

void familyBoxCommand(Session& s, uint32_t command, int32_t box)
{
    const int32_t p = s.shell.currentPerson;
    if (box < 0)
        personMenuCommand(s, box == emptyFather ? cmdAddFather : box == emptyMother ? cmdAddMother : cmdAddSpouse, p);
    else
        personMenuCommand(s, command, box);
}

void showNextMarriage(Session& s)
{
    showNextFamily(s, s.shell.currentFamilyIndex, &PersonRecord::fams);
}

void showNextParents(Session& s)
{
    showNextFamily(s, s.shell.currentParentsIndex, &PersonRecord::famc);
}

void familyChildClicked(Session& s, int32_t child)
{
    const int32_t p = s.shell.currentPerson;
    if (!s.db.isPerson(child))
        return;
    // A person listed as its own child (faulty links) shows its next marriage.
    if (child == p) {
        showNextMarriage(s);
        return;
    }
    clickPerson(s, child);
    rebuild(s);
}

void familyAddChildren(Session& s, bool askRin)
{
    const int32_t p = s.shell.currentPerson;
    if (!s.db.isPerson(p))
        return;
    if (askRin) {
        std::string text;
        if (!s.ui.askRin(formCaption(s, "KIND HINZUFÜGEN ZU:", p), text))
            return;
        const int32_t child = typedRin(s, text);
        if (child < 0)
            return;
        if (child > 0) {
            addChild(s, p, child);
            rebuild(s);
            return;
        }
    }
    addNewChildren(s, s.shell.currentFamilyIndex, p);
    rebuild(s);
}

void familyChildCommand(Session& s, uint32_t command, int32_t child)
{
    if (!s.db.isPerson(child))
        return;
    switch (command) {
    case cmdEditPerson:
        editPerson(s, s.shell.currentFamilyIndex, child, "PERSON BEARBEITEN:");
        break;
    case cmdOtherParents: {
        std::string text;
        if (!s.ui.askRin("ELTERN ZUORDNEN", text))
            return;
        const std::optional<int32_t> mrin = readNumber(text);
        if (!mrin) {
            s.errorBox("\"%s\" is no MRIN", text.c_str());
            return;
        }
        assignOtherParents(s, child, *mrin);
        break;
    }
    case cmdUnlinkParents:
        unlinkParents(s, child);
        break;
    case cmdDelete:
        deletePerson(s, child);
        break;
    default:
        return;
    }
    rebuild(s);
}

} // namespace kinmap
