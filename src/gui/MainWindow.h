// The main window: nine tabs above, the three-part status bar below, the
// menus and the command table. It is the core's user interface: the core
// reports to it, it only displays and asks.
#pragma once

#include "app/Session.h"
#include "base/UserInterface.h"

#include <QMainWindow>
#include <QMessageBox>

#include <array>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QTabWidget;

namespace kinmap::gui {

class Dialogs;
class StartPage;

class MainWindow : public QMainWindow, public UserInterface {
    Q_OBJECT

public:
    static const char* const tabLabels[9];

    explicit MainWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return session_; }
    // Runs a command of the menus, context menus or accelerators.
    void runCommand(uint32_t id);
    // Imports a file named on the command line or dropped on the window.
    void importFile(const QString& path);

    QTabWidget* tabs() const { return tabs_; }
    // Shown before a file is open, in place of the tabs.
    StartPage* startPage() const { return startPage_; }
    bool startPageShown() const;
    QLabel* repairLink() const { return repairLink_; }
    QString statusText(int part) const;
    QAction* action(uint32_t id) const;
    QMenu* fileMenu() const { return fileMenu_; }
    // The widget that a tab shows now (null for a view not built yet).
    QWidget* viewWidget(int view) const;

    // UserInterface
    void errorBox(const std::string& text) override;
    bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) override;
    void messageBox(const std::string& title, const std::string& text, MessageIcon icon) override;
    bool askOkCancel(const std::string& title, const std::string& text, MessageIcon icon) override;
    void setStatus(int part, const std::string& text) override;
    void progressStart() override;
    void progressAdvance(int percent) override;
    void progressEnd() override;
    void keepPainting() override;
    bool askSearchPersons(SearchOptions& options) override;
    bool askSearchEvents(SearchOptions& options) override;
    bool askEventList(const std::string& title, SearchOptions& options) override;
    bool askCount(int mode, std::string& filter, bool& onlySelection) override;
    bool askCountEvents(std::string& placeFilter, int& period) override;
    void showReplaceDialog(ReplaceOptions& options, const std::function<void()>& replace) override;
    bool askGenerations(const std::string& title, bool withFollowing, int& generations, int& following) override;
    bool askCheckOptions(CheckOptions& options) override;
    bool askEditPerson(PersonForm& form) override;
    bool askRin(const std::string& title, std::string& rin) override;
    bool askAddSource(std::string& source, const SourceList& sources) override;
    void showSources(const SourceList& sources) override;
    bool confirmInput(const Database& db, const InputPlan& plan) override;
    bool askDuplicateOptions(uint32_t& options) override;
    MergeAnswer askMerge(MergeFields& fields) override;
    bool confirmMerges(const std::vector<CandidatePair>& pairs) override;
    void dataCommandsEnabled(bool enabled) override;
    void recentFilesChanged() override;
    void showView(int view) override;
    void clearView() override;
    void linksRepaired(int count) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class BusyScope;

    void buildMenus();
    QAction* addCommand(QMenu* menu, uint32_t id, const QString& text);
    void rebuildRecentMenu();
    void loadRecentFiles();
    void saveRecentFiles() const;
    void onTabChanged(int index);
    void selectTab(int index);
    void setView(int view, QWidget* widget);
    QWidget* personTextView();
    QWidget* buildPedigreeView();
    QWidget* buildBranchesView();
    void showImplexView(int row);
    // Print or Export as PDF of the shown Pedigree or Branches.
    void printShownView(bool toPdf);
    // FILE / Output to File for the shown tab.
    void outputToFile();
    QWidget* reportTextView();
    void updateTitle();
    void updateUndoActions();
    void openManual();
    void openRecentFile(int index);
    QWidget* emptyPage(int view) const;
    QString currentFolder() const;
    void fitIntoScreen();

    Dialogs& dialogs_;
    Session session_;
    QStackedWidget* stack_ = nullptr;
    StartPage* startPage_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLabel* repairLink_ = nullptr;
    uint64_t repairReport_ = 0; // the report's clears() when the repairs were told
    std::array<QWidget*, 9> pages_{};
    std::array<QLabel*, 3> status_{};
    QProgressBar* progress_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    std::map<uint32_t, QAction*> actions_;
    int shownTab_ = 0;
    bool busy_ = false;
    bool exitConfirmed_ = false;
};

} // namespace kinmap::gui
