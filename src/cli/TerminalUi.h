// The user interface of kinmap-cli: error boxes and questions go to
// stderr, nothing is asked (there may be no one at the terminal).
#pragma once

#include "base/UserInterface.h"
#include "edit/PersonForm.h"

#include <deque>
#include <string>

namespace kinmap {

class TerminalUi : public UserInterface {
public:
    // raw: texts are printed as Latin-1, one "?" for each character outside it.
    explicit TerminalUi(bool raw) : raw_(raw) {}

    void errorBox(const std::string& text) override;
    // Answers No: a batch run never discards or overwrites on its own;
    // an edit script, whose lines are the user's answers, gets Yes.
    bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) override;
    bool answerYes = false;
    // The edit person dialog saves the next form of an edit script.
    bool askEditPerson(PersonForm& form) override;
    std::deque<PersonForm> forms;
    void messageBox(const std::string& title, const std::string& text, MessageIcon icon) override;
    // Answers OK, the default, and shows the question on stderr.
    bool askOkCancel(const std::string& title, const std::string& text, MessageIcon icon) override;
    // Keeps what part 0 of a status bar would show last; with
    // statusToStderr every part that says something is printed there too.
    void setStatus(int part, const std::string& text) override;
    bool statusToStderr = false;
    const std::string& lastStatus() const { return lastStatus_; }
    void progressStart() override {}
    void progressAdvance(int) override {}
    void progressEnd() override {}
    // The pairs of an automatic duplicate search are merged: the run was
    // asked for exactly that.
    bool confirmMerges(const std::vector<CandidatePair>&) override { return true; }

    std::string forTerminal(const std::string& text) const;

private:
    bool raw_;
    std::string lastStatus_;
};

} // namespace kinmap
