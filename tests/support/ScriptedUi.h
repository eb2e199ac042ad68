// A user interface for tests: records what the core shows and answers
// questions from a script.
#pragma once

#include "app/UserInterface.h"

#include <deque>
#include <string>
#include <vector>

namespace kinmap::test {

class ScriptedUi : public UserInterface {
public:
    struct Question {
        std::string title, text;
        MessageIcon icon;
    };

    void errorBox(const std::string& text) override { errors.push_back(text); }
    bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) override
    {
        questions.push_back({title, text, icon});
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void messageBox(const std::string& title, const std::string& text, MessageIcon icon) override
    {
        messages.push_back({title, text, icon});
    }
    void setStatus(int part, const std::string& text) override { status[part] = text; }
    void progressStart() override { ++progressStarts; }
    void progressAdvance(int percent) override { progress.push_back(percent); }
    void progressEnd() override { ++progressEnds; }
    void dataCommandsEnabled(bool enabled) override { dataCommands = enabled; }
    void recentFilesChanged() override { ++recentChanges; }
    void showView(int view) override { shownViews.push_back(view); }

    std::vector<std::string> errors;
    std::vector<Question> questions;
    std::vector<Question> messages;
    std::deque<bool> answers;
    std::string status[3];
    int progressStarts = 0, progressEnds = 0, recentChanges = 0;
    std::vector<int> progress;
    bool dataCommands = false;
    std::vector<int> shownViews;
};

} // namespace kinmap::test
