// The editing commands: edit a person, add a person, a spouse, a child, a
// father or a mother (an existing one by RIN, or a new one through the edit
// person dialog), unlink from a spouse or from the parents, delete a
// person. Each keeps both sides of every link, marks every record it
// changes, writes its journal lines and is one undoable step.
#pragma once

#include <cstdint>
#include <string>

namespace kinmap {

class Session;

// The operations on existing persons; false (after telling why) when the
// operation is refused.
bool addSpouse(Session& session, int32_t rin, int32_t spouse);
bool addChild(Session& session, int32_t rin, int32_t child);
bool addFather(Session& session, int32_t child, int32_t father);
bool addMother(Session& session, int32_t child, int32_t mother);
bool unlinkSpouse(Session& session, int32_t rin);
bool unlinkParents(Session& session, int32_t child);
bool deletePerson(Session& session, int32_t rin);
// A new person (through the dialog); its RIN, or 0 when cancelled.
int32_t addNewPerson(Session& session);
// Saves an edited form of an existing person; "" or why it cannot be saved
// (nothing is applied then).
std::string savePersonEdit(Session& session, const struct PersonForm& form);

// The commands of the menus and context menus for the current person:
// Edit person, Add new person, Add spouse, child, father, mother (asking
// for a RIN; none means a new person), Unlink from spouse, from parents,
// Delete.
void editCommand(Session& session, uint32_t command);

// A RIN as typed into a prompt: 0 for "new" (empty or 0), -1 (after telling
// the user) when it is not an existing person.
int32_t typedRin(Session& session, const std::string& text);

} // namespace kinmap
