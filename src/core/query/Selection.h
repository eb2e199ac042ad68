// The selection: a set of persons that later commands work on (the
// Selection tab, partial export, counts). It is changed by the person and
// event searches and by the Select and Deselect commands, and its size is
// kept exact in the shell's selected count.
#pragma once

#include "db/Database.h"

#include <cstdint>
#include <string>

namespace kinmap {

class Workspace;

enum class SearchAction { select, selectAdd, deselect };

// Extension switches: relatives that are added with every person found.
namespace Extend {
constexpr int spouses = 1;
constexpr int children = 2;
constexpr int parents = 4;
} // namespace Extend

enum class EventKind { birth = 0, death = 1, marriage = 2 };

// The options of both search dialogs, kept for the whole program run.
struct SearchOptions {
    static constexpr size_t maxPatternLength = 49;

    std::string place, surname, given, spouseGiven, spouseSurname; // UTF-8
    int periodFrom = 0, periodTo = 0; // years; 0 = no bound
    int rinFrom = 0, rinTo = 0;       // 0 = no bound
    int extensions = 0;
    SearchAction action = SearchAction::select;
    EventKind eventKind = EventKind::birth;
};

// text begins with the pattern, letters of every script without regard to
// case. An empty pattern always holds; a missing text never holds for a
// non-empty one.
bool prefixMatches(Text text, const std::string& pattern);
// The pattern occurs in text, byte for byte.
bool substringMatches(Text text, const std::string& pattern);

// Sets or clears a person's mark, keeping the selected count.
void markPerson(Workspace& session, int32_t rin, bool selected);
void markAll(Workspace& session, bool selected);
// Adds the relatives named by the extension switches (also for DESELECT).
void extendSelection(Workspace& session, int32_t rin, int extensions);

void searchPersons(Workspace& session, const SearchOptions& options);
void searchEvents(Workspace& session, const SearchOptions& options);

// The person and `generations` generations of ancestors (1: the parents),
// each with `following` generations of descendants.
void selectAncestors(Workspace& session, int32_t rin, int generations, int following, bool selected);
// `generations` generations from the person on (1: the person and its
// spouses; 0 marks nobody), with the spouses of each.
void selectDescendants(Workspace& session, int32_t rin, int generations, bool selected);

} // namespace kinmap
