// The commands of the EDIT menu and the person context menus, on the
// current person and its current marriage as the shell keeps them.
#pragma once

#include <cstdint>
#include <string>

namespace kinmap {

class Session;
struct PersonForm;

// Edit person, Add new person, Add spouse, child, father, mother (asking
// for a RIN; none means a new person), Unlink from spouse, from parents,
// Delete; then the view shown again.
void editCommand(Session& session, uint32_t command);
// The same for another person than the current one (a box of the Family tab).
void editCommand(Session& session, uint32_t command, int32_t rin);
// A command of a person's box menu for that person: Select and Deselect,
// or the edit commands; the view is shown again.
void personMenuCommand(Session& session, uint32_t command, int32_t rin);

// EDIT / Undo and Redo.
void undoCommand(Session& session);
void redoCommand(Session& session);

// The editing operations at the shell's current marriage (see
// edit/LinkEdits.h).
PersonForm openPersonForm(Session& session, int32_t rin, const std::string& caption);
std::string savePersonEdit(Session& session, const PersonForm& form);
bool addChild(Session& session, int32_t rin, int32_t child);
bool unlinkSpouse(Session& session, int32_t rin);
// Deletes the person; its findings leave the error list.
bool deletePerson(Session& session, int32_t rin);

} // namespace kinmap
