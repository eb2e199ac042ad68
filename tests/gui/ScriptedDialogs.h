// Dialogs for GUI tests: nothing modal opens; answers come from a script
// and what would have been shown is recorded.
#pragma once

#include "Dialogs.h"
#include "check/Duplicates.h"
#include "check/Merge.h"
#include "check/Plausibility.h"
#include "edit/PersonForm.h"
#include "exchange/TableInput.h"
#include "ged/Sources.h"
#include "query/Replace.h"
#include "query/Selection.h"

#include <functional>

#include <QApplication>
#include <QCursor>
#include <QList>
#include <QQueue>
#include <QStringList>
#include <QUrl>

namespace kinmap::test {

class ScriptedDialogs : public gui::Dialogs {
public:
    struct Box {
        QString title, text;
        QMessageBox::Icon icon;
    };

    void errorBox(QWidget*, const QString& text) override { errors << text; }
    bool askYesNo(QWidget*, const QString& title, const QString& text, QMessageBox::Icon icon) override
    {
        questions << Box{title, text, icon};
        return !answers.isEmpty() && answers.dequeue();
    }
    void messageBox(QWidget*, const QString& title, const QString& text, QMessageBox::Icon icon) override
    {
        messages << Box{title, text, icon};
    }
    QString openFile(QWidget*, const QString&, const QString& folder, const QString& filter) override
    {
        filters << filter;
        folders << folder;
        return filesToOpen.isEmpty() ? QString() : filesToOpen.dequeue();
    }
    QString saveFile(QWidget*, const QString&, const QString& folder, const QString& filter) override
    {
        filters << filter;
        folders << folder;
        return filesToSave.isEmpty() ? QString() : filesToSave.dequeue();
    }
    void about(QWidget*) override { ++abouts; }
    bool openUrl(const QUrl& url) override
    {
        urls << url;
        return true;
    }

    bool searchPersons(QWidget*, SearchOptions& options) override
    {
        if (searches.isEmpty())
            return false;
        searches.dequeue()(options);
        return true;
    }
    bool generations(QWidget*, const QString&, bool, int& generations, int& following) override
    {
        generations = answeredGenerations;
        following = 0;
        return true;
    }

    bool editPerson(QWidget*, PersonForm& form, CompletionLists&) override
    {
        if (personAnswers.isEmpty())
            return false;
        return personAnswers.dequeue()(form);
    }
    bool askRin(QWidget*, Session&, const QString& title, QString& rin) override
    {
        rinTitles << title;
        if (rinAnswers.isEmpty())
            return false;
        rin = rinAnswers.dequeue();
        return true;
    }
    bool checkOptions(QWidget*, CheckOptions& options) override
    {
        if (checkAnswers.isEmpty())
            return false;
        checkAnswers.dequeue()(options);
        return true;
    }
    bool askOkCancel(QWidget*, const QString& title, const QString& text, QMessageBox::Icon icon) override
    {
        questions << Box{title, text, icon};
        return answers.isEmpty() || answers.dequeue();
    }
    bool duplicateOptions(QWidget*, uint32_t& options) override
    {
        if (duplicateAnswers.isEmpty())
            return false;
        options = duplicateAnswers.dequeue();
        return true;
    }
    MergeAnswer mergePersons(QWidget*, MergeFields& fields) override
    {
        mergeDialogs << fields.otherRin;
        return mergeAnswers.isEmpty() ? MergeAnswer::cancel : mergeAnswers.dequeue();
    }
    bool confirmMerges(QWidget*, const std::vector<CandidatePair>& pairs) override
    {
        previewSizes << static_cast<int>(pairs.size());
        return confirmPreview;
    }

    bool eventList(QWidget*, const QString& title, SearchOptions& options) override
    {
        eventListTitles << title;
        return searchPersons(nullptr, options);
    }
    bool count(QWidget*, int mode, std::string& filter, bool&) override
    {
        countModes << mode;
        if (countFilters.isEmpty())
            return false;
        filter = countFilters.dequeue();
        return true;
    }
    // Each REPLACE press fills in the dialog's fields, then runs.
    void replace(QWidget*, ReplaceOptions& options, const std::function<void()>& run) override
    {
        while (!replacePresses.isEmpty()) {
            replacePresses.dequeue()(options);
            run();
        }
    }

    QQueue<std::function<bool(PersonForm&)>> personAnswers;
    QStringList eventListTitles;
    QList<int> countModes;
    QQueue<std::string> countFilters;
    QQueue<std::function<void(ReplaceOptions&)>> replacePresses;
    QQueue<QString> rinAnswers;
    QStringList rinTitles;
    QQueue<std::function<void(CheckOptions&)>> checkAnswers;
    QQueue<uint32_t> duplicateAnswers;
    // ADD SOURCE answers with the next source text (none: cancelled); the
    // sources it was offered are kept.
    bool addSource(QWidget*, std::string& source, const SourceList& sources) override
    {
        offeredSources = static_cast<int>(sources.sources.size());
        if (sourceAnswers.isEmpty())
            return false;
        source = sourceAnswers.dequeue();
        return true;
    }
    QQueue<std::string> sourceAnswers;
    int offeredSources = -1;
    // OUTPUT TO FILE answers with the next template (none: cancelled); the
    // preview of Input from File with the next answer (none: Cancel).
    bool outputTemplate(QWidget*, std::string& templateText) override
    {
        if (templates.isEmpty())
            return false;
        templateText = templates.dequeue();
        return true;
    }
    bool confirmInput(QWidget*, const Database& db, const InputPlan& plan, const QString&) override
    {
        inputPreviews << QString::fromStdString(inputPreview(db, plan));
        cursorsWhileAsked << (QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor);
        return !inputAnswers.isEmpty() && inputAnswers.dequeue();
    }
    QQueue<std::string> templates;
    QQueue<bool> inputAnswers;
    QStringList inputPreviews;
    QList<Qt::CursorShape> cursorsWhileAsked; // the cursor a preview was shown with
    QQueue<MergeAnswer> mergeAnswers;
    QList<int32_t> mergeDialogs; // the person B of each MERGE PERSONS shown
    QList<int> previewSizes;
    bool confirmPreview = true;
    QQueue<std::function<void(SearchOptions&)>> searches;
    int answeredGenerations = 1;
    QStringList errors;
    QList<Box> questions, messages;
    QQueue<bool> answers;
    QQueue<QString> filesToOpen, filesToSave;
    QStringList filters;
    QStringList folders; // where each file dialog started
    QList<QUrl> urls;
    int abouts = 0;
};

} // namespace kinmap::test
