// The commands of the SEARCH menu and of Select and Deselect.
#pragma once

#include <cstdint>
#include <string>

namespace kinmap {

class Session;
enum class EventKind;

// SEARCH / Person and Events: their dialogs, then the Selection tab.
void searchPersonsCommand(Session& session);
void searchEventsCommand(Session& session);
// Select / Deselect Person, Ancestors, Descendants and All for a person.
void selectionCommand(Session& session, uint32_t command, int32_t rin);

// SEARCH / Births, Deaths, Marriages: the dialog (the years start empty),
// then the list in the Report tab.
void eventSearchCommand(Session& session, EventKind kind);

// Find and Replace: the dialog, which stays open for one run after another.
void replaceCommand(Session& session);
// One run with the kept options; the Report tab shows what it did. Returns
// the number of hits.
int runReplace(Session& session);

} // namespace kinmap
