// The Family tab's commands: what a click on a box, a button or the
// children list does, and the box and list context menus. Each command that
// changes something is one step of undo with its journal lines; the tab is
// built again after each.
#pragma once

#include "views/FamilyView.h"

#include <cstdint>

namespace kinmap {

class Session;

// The picture of the current person, and the status bar.
FamilyPicture prepareFamilyView(Session& session);

// A left click on a box: a relative becomes the current person (the one
// before becomes the previous person), the current person's own box opens
// the edit dialog, an empty place adds the missing relative through the
// dialog (nothing when it is cancelled).
void familyBoxClicked(Session& session, int32_t box);
// A command of a box's context menu, for the person in the box; an empty
// place's menu adds its relative.
void familyBoxCommand(Session& session, uint32_t command, int32_t box);
// The marriage button and "Weitere Eltern": the next marriage or parents'
// family, round.
void showNextMarriage(Session& session);
void showNextParents(Session& session);
// A click on a child: the child becomes the current person.
void familyChildClicked(Session& session, int32_t child);
// A click on the list's empty space adds new children through the dialog;
// a right click asks for a RIN first ("KIND HINZUFÜGEN ZU:").
void familyAddChildren(Session& session, bool askRin);
// The children list's menu: cmdEditPerson, cmdOtherParents (asks for the
// MRIN, "ELTERN ZUORDNEN"), cmdUnlinkParents, cmdDelete.
void familyChildCommand(Session& session, uint32_t command, int32_t child);

} // namespace kinmap
