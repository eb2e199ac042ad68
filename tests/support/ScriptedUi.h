// A user interface for tests: records what the core shows and answers
// questions from a script.
#pragma once

#include "base/UserInterface.h"
#include "check/Duplicates.h"
#include "check/Merge.h"
#include "check/Plausibility.h"
#include "edit/PersonForm.h"
#include "exchange/TableInput.h"
#include "query/Selection.h"

#include <functional>

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
    bool askOkCancel(const std::string& title, const std::string& text, MessageIcon icon) override
    {
        questions.push_back({title, text, icon});
        if (answers.empty())
            return true; // OK is the default
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool askEditPerson(PersonForm& form) override
    {
        formCaptions.push_back(form.caption);
        if (formAnswers.empty())
            return false;
        const bool save = formAnswers.front()(form);
        formAnswers.pop_front();
        return save;
    }
    bool askRin(const std::string& title, std::string& rin) override
    {
        rinTitles.push_back(title);
        if (rinAnswers.empty())
            return false;
        rin = rinAnswers.front();
        rinAnswers.pop_front();
        return true;
    }
    bool askCheckOptions(CheckOptions& options) override
    {
        if (checkAnswers.empty())
            return false;
        checkAnswers.front()(options);
        checkAnswers.pop_front();
        return true;
    }
    void setStatus(int part, const std::string& text) override { status[part] = text; }
    void progressStart() override { ++progressStarts; }
    void progressAdvance(int percent) override { progress.push_back(percent); }
    void progressEnd() override { ++progressEnds; }
    void dataCommandsEnabled(bool enabled) override { dataCommands = enabled; }
    void recentFilesChanged() override { ++recentChanges; }
    void showView(int view) override { shownViews.push_back(view); }
    void keepPainting() override { ++paintWaits; }
    bool askSearchPersons(SearchOptions& options) override { return answerSearch(options); }
    bool askSearchEvents(SearchOptions& options) override { return answerSearch(options); }
    bool askEventList(const std::string&, SearchOptions& options) override { return answerSearch(options); }
    bool askGenerations(const std::string& title, bool withFollowing, int& generations, int& following) override
    {
        generationTitles.push_back(title + (withFollowing ? " (2 fields)" : " (1 field)"));
        if (generationAnswers.empty())
            return false;
        generations = generationAnswers.front().first;
        following = generationAnswers.front().second;
        generationAnswers.pop_front();
        return true;
    }

    bool askDuplicateOptions(uint32_t& options) override
    {
        if (duplicateOptions.empty())
            return false;
        options = duplicateOptions.front();
        duplicateOptions.pop_front();
        return true;
    }
    MergeAnswer askMerge(MergeFields& fields) override
    {
        mergeDialogs.push_back(fields);
        if (mergeAnswers.empty())
            return MergeAnswer::cancel;
        const MergeAnswer answer = mergeAnswers.front()(fields);
        mergeAnswers.pop_front();
        return answer;
    }
    bool confirmInput(const Database& db, const InputPlan& plan) override
    {
        inputPreviews.push_back(inputPreview(db, plan));
        if (inputAnswers.empty())
            return false;
        const bool apply = inputAnswers.front();
        inputAnswers.pop_front();
        return apply;
    }
    bool confirmMerges(const std::vector<CandidatePair>& pairs) override
    {
        previews.push_back(pairs);
        return confirmPreview;
    }

    // The edit person dialog: each answer fills the form and says SAVE (true)
    // or CANCEL; none is CANCEL. The RIN prompt: the RINs typed; none is CANCEL.
    std::deque<std::function<bool(PersonForm&)>> formAnswers;
    std::vector<std::string> formCaptions;
    std::deque<std::string> rinAnswers;
    std::vector<std::string> rinTitles;
    // ERROR CHECK OPTIONS: each answer may change the options; none is Cancel.
    std::deque<std::function<void(CheckOptions&)>> checkAnswers;
    // The DUPLICATES dialog's OK with these options; none given means Cancel.
    std::deque<uint32_t> duplicateOptions;
    // MERGE PERSONS: each answer may change the check boxes; none is Cancel.
    std::deque<std::function<MergeAnswer(MergeFields&)>> mergeAnswers;
    std::vector<MergeFields> mergeDialogs;
    std::vector<std::vector<CandidatePair>> previews;
    bool confirmPreview = true;
    // The preview of Input from File: Apply or, when none is left, Cancel.
    std::deque<bool> inputAnswers;
    std::vector<std::string> inputPreviews;

    // Fills in a search dialog; none given means Cancel.
    std::deque<std::function<void(SearchOptions&)>> searchAnswers;
    std::deque<std::pair<int, int>> generationAnswers;
    std::vector<std::string> generationTitles;
    int paintWaits = 0;

    std::vector<std::string> errors;
    std::vector<Question> questions;
    std::vector<Question> messages;
    std::deque<bool> answers;
    std::string status[3];
    int progressStarts = 0, progressEnds = 0, recentChanges = 0;
    std::vector<int> progress;
    bool dataCommands = false;
    std::vector<int> shownViews;

private:
    bool answerSearch(SearchOptions& options)
    {
        if (searchAnswers.empty())
            return false;
        searchAnswers.front()(options);
        searchAnswers.pop_front();
        return true;
    }
};

} // namespace kinmap::test
