// What the edit person dialog shows and saves: a person's sex, names, the
// dates and places of its events, and the marriage of its current family.
// The dialog (the window's, or an edit script's) fills a form; the form is
// checked before anything of it is applied, and only the date fields the
// user edited are read again.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kinmap {

class Database;
class Workspace;

enum FormEvent { formBirth, formChristening, formDeath, formBurial, formMarriage, formEventCount };

struct PersonForm {
    int32_t rin = 0;             // 0 for a person not created yet
    std::string caption;         // the window title
    char sex = 'U';              // 'M', 'F' or 'U' (not known)
    std::string given, surname;
    std::array<std::string, formEventCount> dates, places; // dates as the date text of a GED file
    std::array<bool, formEventCount> dateEdited{};         // only these are read again
    std::string spouse;          // who the marriage fields are about
    bool divorced = false;
};

// The form of a person (or of a new one with rin 0), the marriage that of
// the current family (familyIndex among its spouse families, moved to 0
// when out of range). A title like "ADD SPOUSE TO: [12] Anna Roth".
PersonForm openPersonForm(Workspace& workspace, int& familyIndex, int32_t rin, const std::string& caption);
std::string formCaption(const Workspace& session, const char* operation, int32_t rin);

// A date field the user left: the text to show (the date as it was read),
// or a message when it is no date. The christening, death and burial dates
// take what they lack from the field above: a date without a year its year
// and qualifier, a bare day its month and year.
struct DateField {
    std::string text;
    std::string problem;
};
DateField readDateField(const PersonForm& form, int event, std::string_view typed);

// The sex letter a typed key gives: m M, f w F, u n ? U; 0 for others.
char sexOfKey(char key);

// Why the form cannot be saved, or "" when it can.
std::string checkPersonForm(const PersonForm& form);

// Applies the person's part of a checked form to the person (which exists).
// Records what changes are marked; the current family's marriage is
// applied by applyMarriage.
// A new sex swaps the person's place with its spouse's in its families;
// returns each family and former spouse whose sex and role changed so.
std::vector<std::pair<int32_t, int32_t>> applyPerson(Workspace& workspace, const PersonForm& form);
// Why a person cannot take the sex: a spouse who would change sex with it
// is also a spouse in a family without it. Empty when it can.
std::string whyNoSexChange(const Database& db, int32_t rin, char sex);
// The marriage fields into a family (created for the person when it has
// none and the fields say something; 0 means none).
void applyMarriage(Workspace& session, const PersonForm& form, int32_t mrin);

// Earlier entries that the place and given-name fields complete from.
class CompletionLists {
public:
    static constexpr size_t maxPlaces = 20, maxWords = 100;
    void build(const Workspace& session);
    // The entry that begins with text (case aside), searched from the most
    // recent; empty when none does.
    std::string completePlace(std::string_view text) const { return complete(places_, text); }
    std::string completeGiven(char sex, std::string_view word) const { return complete(sex == 'F' ? female_ : male_, word); }
    // An entry typed moves to the end; a new one takes the place of the
    // oldest when the list is full.
    void learnPlace(std::string_view text) { learn(places_, text, maxPlaces); }
    void learnGiven(char sex, std::string_view word) { learn(sex == 'F' ? female_ : male_, word, maxWords); }
    const std::vector<std::string>& places() const { return places_; }

private:
    static std::string complete(const std::vector<std::string>& list, std::string_view text);
    static void learn(std::vector<std::string>& list, std::string_view text, size_t limit);
    std::vector<std::string> places_, female_, male_;
};

} // namespace kinmap
