// The modal dialogs of the window: message boxes, file dialogs, the About
// box and the browser for the manual. Tests replace them with scripted ones.
#pragma once

#include <QMessageBox>
#include <QString>

class QPrinter;
class QUrl;
class QWidget;

#include "base/UserInterface.h"

#include <functional>
#include <string>
#include <vector>

namespace kinmap {
struct CandidatePair;
struct CheckOptions;
class CompletionLists;
class Session;
struct PersonForm;
struct MergeFields;
struct SearchOptions;
struct SourceList;
struct ReplaceOptions;
struct InputPlan;
class Database;
} // namespace kinmap

namespace kinmap::gui {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void errorBox(QWidget* parent, const QString& text);
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon);
    virtual bool askOkCancel(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon);
    virtual void messageBox(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon);
    // An existing file, or an empty text when the user cancels.
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);
    // Asks before an existing file is replaced; the default suffix follows
    // the filter chosen.
    virtual QString saveFile(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);
    // ADD SOURCE (its Search opens SEARCH SOURCE); true with a source text.
    virtual bool addSource(QWidget* parent, std::string& source, const SourceList& sources);
    // SEARCH SOURCE to look through the sources.
    virtual void showSources(QWidget* parent, const SourceList& sources);
    // OUTPUT TO FILE: the column template (true for OK).
    virtual bool outputTemplate(QWidget* parent, std::string& templateText);
    // The preview of Input from File; true to write its changes into the file.
    virtual bool confirmInput(QWidget* parent, const Database& db, const InputPlan& plan, const QString& fileName);
    // The print dialog; true to print.
    virtual bool print(QWidget* parent, QPrinter& printer);
    virtual void about(QWidget* parent);
    virtual bool openUrl(const QUrl& url);
    // The search dialogs; false when cancelled (their switches change at once).
    virtual bool searchPersons(QWidget* parent, SearchOptions& options);
    virtual bool searchEvents(QWidget* parent, SearchOptions& options);
    // SEARCH BIRTHS, DEATHS and MARRIAGES (title), COUNT (mode 0 given
    // names, 1 surnames, 2 places) and COUNT EVENTS; false when cancelled.
    virtual bool eventList(QWidget* parent, const QString& title, SearchOptions& options);
    virtual bool count(QWidget* parent, int mode, std::string& filter, bool& onlySelection);
    virtual bool countEvents(QWidget* parent, std::string& place, int& period);
    // FIND AND REPLACE, open until CANCEL; every REPLACE calls replace.
    virtual void replace(QWidget* parent, ReplaceOptions& options, const std::function<void()>& replace);
    virtual bool generations(QWidget* parent, const QString& title, bool withFollowing, int& generations, int& following);
    // ERROR CHECK OPTIONS, DUPLICATES (the option word changes with every click), MERGE PERSONS,
    // the preview of an automatic merge, CALCULATE SOUNDEX.
    virtual bool checkOptions(QWidget* parent, CheckOptions& options);
    // The edit person dialog (true for SAVE) and the RIN prompt (false for
    // CANCEL; its Search button looks through the session's persons).
    virtual bool editPerson(QWidget* parent, PersonForm& form, CompletionLists& completions);
    virtual bool askRin(QWidget* parent, Session& session, const QString& title, QString& rin);
    virtual bool duplicateOptions(QWidget* parent, uint32_t& options);
    virtual MergeAnswer mergePersons(QWidget* parent, MergeFields& fields);
    virtual bool confirmMerges(QWidget* parent, const std::vector<CandidatePair>& pairs);
    virtual void soundex(QWidget* parent);
};

} // namespace kinmap::gui
