// The editing commands: edit a person, add a person, a spouse, a child, a
// father or a mother (an existing one by RIN, or a new one through the edit
// person dialog), unlink from a spouse or from the parents, delete a
// person. Each keeps both sides of every link, marks every record it
// changes, writes its journal lines and is one undoable step.
#pragma once

#include <cstdint>
#include <string>

namespace kinmap {

class Workspace;

// The operations on existing persons; false (after telling why) when the
// operation is refused.
// `familyIndex` is the shell's index of the current marriage among the
// person's spouse families: a child joins that family, the edit dialog
// shows its marriage; it is moved into range, and to 0 by an unlink.
bool addSpouse(Workspace& workspace, int32_t rin, int32_t spouse);
bool addChild(Workspace& workspace, int& familyIndex, int32_t rin, int32_t child);
bool addFather(Workspace& workspace, int32_t child, int32_t father);
bool addMother(Workspace& workspace, int32_t child, int32_t mother);
// Unlinks rin from the spouse of its current marriage or, when the current
// person is one of its spouses, from that one.
bool unlinkSpouse(Workspace& workspace, int& familyIndex, int32_t currentPerson, int32_t rin);
bool unlinkParents(Workspace& workspace, int32_t child);
bool deletePerson(Workspace& workspace, int32_t rin);
// "Other Parents": the child leaves every parents' family it has (a family
// left empty goes) and becomes a child of mrin. Refused, after telling why,
// for a family that is not there, one the child is in already, or parents
// the child may not have (itself, a spouse, a descendant).
bool assignOtherParents(Workspace& workspace, int32_t child, int32_t mrin);
// A new person (through the dialog); its RIN, or 0 when cancelled.
int32_t addNewPerson(Workspace& workspace);
// New relatives through the edit person dialog: their RIN (the last child
// added), 0 when cancelled.
// A new spouse or parent joins `family` when its place there is free, else
// the first family with a free place, else a new family.
int32_t addNewSpouse(Workspace& workspace, int32_t rin, int32_t family = 0);
int32_t addNewChildren(Workspace& workspace, int& familyIndex, int32_t rin);
int32_t addNewParent(Workspace& workspace, int32_t child, bool father, int32_t family = 0);
// The edit person dialog for a person, until it is saved or cancelled; its
// caption begins with `operation`.
void editPerson(Workspace& workspace, int& familyIndex, int32_t rin, const char* operation = "EDIT PERSON:");
// Saves an edited form of an existing person; "" or why it cannot be saved
// (nothing is applied then).
std::string savePersonEdit(Workspace& workspace, int& familyIndex, const struct PersonForm& form);

// A RIN as typed into a prompt: 0 for "new" (empty or 0), -1 (after telling
// the user) when it is not an existing person.
int32_t typedRin(Workspace& workspace, const std::string& text);

} // namespace kinmap
