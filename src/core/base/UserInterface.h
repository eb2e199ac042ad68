// The one way the core reaches the user. The desktop window implements it
// with Qt widgets, kinmap-cli on the terminal, the tests with scripted
// answers. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kinmap {

struct SearchOptions;
struct ReplaceOptions;
struct CheckOptions;
struct MergeFields;
struct CandidatePair;
struct PersonForm;
struct SourceList;
struct InputPlan;
class Database;

enum class MergeAnswer { yes, no, cancel };

enum class MessageIcon { information, warning, question, exclamation };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // The modal box titled "ERROR" with the exclamation icon and OK.
    virtual void errorBox(const std::string& text) = 0;
    // A modal box with Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) = 0;
    // A modal box with OK.
    virtual void messageBox(const std::string& title, const std::string& text, MessageIcon icon) = 0;
    // A modal box with OK and Cancel; true for OK.
    virtual bool askOkCancel(const std::string& title, const std::string& text, MessageIcon icon) = 0;
    // Part 0 tells what is shown, part 1 the counts, part 2 the current RIN.
    virtual void setStatus(int part, const std::string& text) = 0;

    // The progress bar of a long operation. While it is shown the window
    // keeps painting but runs no other command.
    virtual void progressStart() = 0;
    virtual void progressAdvance(int percent) = 0;
    virtual void progressEnd() = 0;

    // Called while a command waits for the background sort: the window
    // paints, and takes no input.
    virtual void keepPainting() {}

    // The dialogs that return values; false when cancelled. The search
    // dialogs edit the kept options (their switches also when cancelled).
    virtual bool askSearchPersons(SearchOptions& /*options*/) { return false; }
    virtual bool askSearchEvents(SearchOptions& /*options*/) { return false; }
    // SEARCH BIRTHS, DEATHS or MARRIAGES: the place and the two years.
    virtual bool askEventList(const std::string& /*title*/, SearchOptions& /*options*/) { return false; }
    // COUNT for given names (mode 0), surnames (1) or places (2): the
    // filter on OK; the selection switch flips at once.
    virtual bool askCount(int /*mode*/, std::string& /*filter*/, bool& /*onlySelection*/) { return false; }
    // COUNT EVENTS: the place filter and the period in years.
    virtual bool askCountEvents(std::string& /*placeFilter*/, int& /*period*/) { return false; }
    // FIND AND REPLACE: stays open; each REPLACE runs `replace` with the
    // options as the dialog shows them.
    virtual void showReplaceDialog(ReplaceOptions& /*options*/, const std::function<void()>& /*replace*/) {}
    // "Nr of Generations:" and, with `withFollowing`, "Following Generations:".
    virtual bool askGenerations(const std::string& /*title*/, bool /*withFollowing*/, int& /*generations*/,
                                int& /*following*/)
    {
        return false;
    }

    // ADD SOURCE: the source text (typed, or picked in SEARCH SOURCE from
    // the file's sources); true for OK with a text.
    virtual bool askAddSource(std::string& /*source*/, const SourceList& /*sources*/) { return false; }
    // SEARCH SOURCE on its own: the file's sources to look through.
    virtual void showSources(const SourceList& /*sources*/) {}

    // The preview of Input from File: the lines it changes per person and
    // the rows it skips; true to write them.
    virtual bool confirmInput(const Database& /*db*/, const InputPlan& /*plan*/) { return false; }

    // The edit person dialog for a form; true for SAVE. The form holds what
    // the user typed either way.
    virtual bool askEditPerson(PersonForm& /*form*/) { return false; }
    // The RIN prompt ("leave empty for new"); false for CANCEL.
    virtual bool askRin(const std::string& /*title*/, std::string& /*rin*/) { return false; }
    // ERROR CHECK OPTIONS: the ages on OK, the ignore switches at once.
    virtual bool askCheckOptions(CheckOptions& /*options*/) { return false; }
    // DUPLICATES: edits the option word (its switches also when cancelled).
    virtual bool askDuplicateOptions(uint32_t& /*options*/) { return false; }
    // MERGE PERSONS: the user may change which fields of the other person
    // are taken.
    virtual MergeAnswer askMerge(MergeFields& /*fields*/) { return MergeAnswer::cancel; }
    // The pairs an automatic duplicate search is about to merge; true to
    // merge them all.
    virtual bool confirmMerges(const std::vector<CandidatePair>& /*pairs*/) { return false; }

    // What the window shows of the shell state; a terminal has none of it.
    virtual void dataCommandsEnabled(bool /*enabled*/) {}
    virtual void recentFilesChanged() {}
    virtual void showView(int /*view*/) {}
    // How many links the import repaired (0: none, or no data any more); the
    // window offers the Report tab, where the repairs are listed.
    virtual void linksRepaired(int /*count*/) {}
    // The content of the current view goes (there is no data behind it).
    virtual void clearView() {}
};

} // namespace kinmap
