#include "MainWindow.h"

#include "BranchesView.h"
#include "CandidateListView.h"
#include "ChartView.h"
#include "Dialogs.h"
#include "ErrorListView.h"
#include "FamilyView.h"
#include "IslandListView.h"
#include "PedigreeView.h"
#include "PersonListView.h"
#include "ProgramFiles.h"
#include "ProgramIcon.h"
#include "ScreenText.h"
#include "StartPage.h"

#include "app/Commands.h"
#include "app/ChartCommands.h"
#include "app/CountCommands.h"
#include "app/EditCommands.h"
#include "app/ExchangeCommands.h"
#include "app/ExtrasCommands.h"
#include "app/FamilyCommands.h"
#include "app/FileCommands.h"
#include "app/SearchCommands.h"
#include "app/Shell.h"
#include "app/SourceCommands.h"
#include "app/ViewCommands.h"
#include "ged/PersonText.h"

#include <QAction>
#include <QDate>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QGuiApplication>
#include <QScreen>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSettings>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace kinmap::gui {

const char* const MainWindow::tabLabels[9] = {"List",      "Selection", "Pedrigree", "Branches", "Tree",
                                              "Hourglass", "Family",    "Person",    "Report"};

namespace {

constexpr int recentFileCount = 4;

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::information:
        return QMessageBox::Information;
    case MessageIcon::question:
        return QMessageBox::Question;
    case MessageIcon::warning:
    case MessageIcon::exclamation:
        break;
    }
    return QMessageBox::Warning;
}

QPlainTextEdit* readOnlyText(const QString& text)
{
    auto* view = new QPlainTextEdit;
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setPlainText(text);
    return view;
}

// A dialog that a long command opens shows the arrow, not its wait cursor.
class ArrowWhileAsking {
public:
    ArrowWhileAsking() : busy_(QApplication::overrideCursor() != nullptr)
    {
        if (busy_)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileAsking()
    {
        if (busy_)
            QApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

private:
    bool busy_;
};

} // namespace

// Marks a long command: the window keeps painting while it runs, but takes
// no other command, no drop and no close.
class MainWindow::BusyScope {
public:
    explicit BusyScope(MainWindow& window) : window_(window)
    {
        window_.busy_ = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyScope()
    {
        QApplication::restoreOverrideCursor();
        window_.busy_ = false;
    }

private:
    MainWindow& window_;
};

MainWindow::MainWindow(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), session_(*this)
{
    setWindowIcon(programIcon());
    setAcceptDrops(true);
    setMinimumSize(640, 420);
    resize(1100, 720);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    stack_ = new QStackedWidget;
    startPage_ = new StartPage({[this] { runCommand(cmdImportGed); },
                                [this](const QString& path) {
                                    if (busy_)
                                        return;
                                    // A recent file as from the menu (one that is gone is offered for removal).
                                    const auto& files = session_.shell.recentFiles;
                                    const auto recent = std::find(files.begin(), files.end(), toFilePath(path));
                                    if (recent != files.end())
                                        openRecentFile(static_cast<int>(recent - files.begin()));
                                    else if (confirmDiscard(session_))
                                        importFile(path);
                                },
                                [this] { openManual(); }});
    tabs_ = new QTabWidget;
    tabs_->setDocumentMode(true);
    for (int i = 0; i < 9; ++i) {
        pages_[i] = new QWidget;
        auto* pageLayout = new QVBoxLayout(pages_[i]);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        tabs_->addTab(pages_[i], QString::fromLatin1(tabLabels[i]));
    }
    stack_->addWidget(startPage_);
    stack_->addWidget(tabs_);
    layout->addWidget(stack_, 1);
    progress_ = new QProgressBar;
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(17);
    progress_->hide();
    layout->addWidget(progress_);
    setCentralWidget(central);

    // Parts ending at a quarter, three quarters and the whole width.
    for (int part = 0; part < 3; ++part) {
        status_[part] = new QLabel;
        status_[part]->setTextFormat(Qt::PlainText);
        statusBar()->addWidget(status_[part], part == 1 ? 2 : 1);
    }
    status_[0]->setText(QStringLiteral("Use Menu:  FILE / Import GED"));
    repairLink_ = new QLabel;
    repairLink_->setTextFormat(Qt::RichText);
    repairLink_->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(repairLink_, &QLabel::linkActivated, this, [this] { tabs_->setCurrentIndex(reportView); });
    repairLink_->hide();
    statusBar()->addPermanentWidget(repairLink_);
    // F10 reaches the menu bar, as on other desktops.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        menuBar()->setActiveAction(menuBar()->actions().value(0));
    });

    buildMenus();
    loadRecentFiles();
    rebuildRecentMenu();
    dataCommandsEnabled(false);
    updateUndoActions();
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
    updateTitle();
    restoreGeometry(QSettings(QStringLiteral("kinmap"), QStringLiteral("kinmap")).value(QStringLiteral("Window/geometry")).toByteArray());
    fitIntoScreen();
}

MainWindow::~MainWindow() = default;

// ---- menus -------------------------------------------------------------------

QAction* MainWindow::addCommand(QMenu* menu, uint32_t id, const QString& text)
{
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    actions_[id] = action;
    return action;
}

void MainWindow::buildMenus()
{
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&FILE"));
    addCommand(fileMenu_, cmdNew, QStringLiteral("&New"))->setShortcut(QKeySequence::New);
    addCommand(fileMenu_, cmdImportGed, QStringLiteral("&Import GED"))
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_I), QKeySequence::Open});
    addCommand(fileMenu_, cmdExportGed, QStringLiteral("&Export GED"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    addCommand(fileMenu_, cmdPartialExport, QStringLiteral("&Partial Export"));
    addCommand(fileMenu_, cmdInputFromFile, QStringLiteral("Inp&ut from File..."));
    addCommand(fileMenu_, cmdOutputToFile, QStringLiteral("&Output to File..."));
    fileMenu_->addSeparator();
    addCommand(fileMenu_, cmdPrint, QStringLiteral("P&rint..."))->setShortcut(QKeySequence::Print);
    addCommand(fileMenu_, cmdExportPdf, QStringLiteral("Export as P&DF..."));
    addCommand(fileMenu_, cmdExportImage, QStringLiteral("Export as I&mage..."));
    recentSeparator_ = fileMenu_->addSeparator();
    fileMenu_->addSeparator();
    addCommand(fileMenu_, cmdExit, QStringLiteral("E&xit"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&EDIT"));
    addCommand(edit, cmdUndo, QStringLiteral("&Undo"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    addCommand(edit, cmdRedo, QStringLiteral("&Redo"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    edit->addSeparator();
    addCommand(edit, cmdEditPerson, QStringLiteral("&Edit Person"));
    addCommand(edit, cmdAddNewPerson, QStringLiteral("Add &New Person"));
    addCommand(edit, cmdAddSpouse, QStringLiteral("Add S&pouse"));
    addCommand(edit, cmdAddChild, QStringLiteral("Add &Child"));
    addCommand(edit, cmdAddFather, QStringLiteral("Add &Father"));
    addCommand(edit, cmdAddMother, QStringLiteral("Add &Mother"));
    addCommand(edit, cmdUnlinkSpouse, QStringLiteral("Unlin&k from Spouse"));
    addCommand(edit, cmdUnlinkParents, QStringLiteral("Unlink from P&arents"));
    addCommand(edit, cmdDelete, QStringLiteral("Dele&te Person"));
    edit->addSeparator();
    QMenu* select = edit->addMenu(QStringLiteral("&Select"));
    QMenu* deselect = edit->addMenu(QStringLiteral("&Deselect"));
    const std::pair<const char*, uint32_t> entries[] = {
        {"&Person", cmdSelectPerson}, {"&Ancestors", cmdSelectAncestors}, {"&Descendants", cmdSelectDescendants}, {"A&ll", cmdSelectAll}};
    for (const auto& [text, id] : entries) {
        addCommand(select, id, QString::fromLatin1(text));
        addCommand(deselect, id + (cmdDeselectPerson - cmdSelectPerson), QString::fromLatin1(text));
    }

    // Alt+S and Alt+C are the shortcuts of Soundex and Find Errors.
    QMenu* search = menuBar()->addMenu(QStringLiteral("SE&ARCH"));
    addCommand(search, cmdSearchPerson, QStringLiteral("&Person"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addCommand(search, cmdSearchEvents, QStringLiteral("&Events"));
    addCommand(search, cmdSearchBirths, QStringLiteral("&Births"));
    addCommand(search, cmdSearchDeaths, QStringLiteral("&Deaths"));
    addCommand(search, cmdSearchMarriages, QStringLiteral("&Marriages"));
    search->addSeparator();
    addCommand(search, cmdFindReplace, QStringLiteral("Find and &Replace"));
    addCommand(search, cmdSearchSources, QStringLiteral("S&ources..."));

    QMenu* count = menuBar()->addMenu(QStringLiteral("C&OUNT"));
    addCommand(count, cmdCountGivenNames, QStringLiteral("&Given names"));
    addCommand(count, cmdCountSurnames, QStringLiteral("&Surnames"));
    addCommand(count, cmdCountPlaces, QStringLiteral("&Places"));
    addCommand(count, cmdCountEvents, QStringLiteral("&Events"));

    QMenu* extras = menuBar()->addMenu(QStringLiteral("E&XTRAS"));
    addCommand(extras, cmdFindErrors, QStringLiteral("Find &Errors"))->setShortcut(QKeySequence(Qt::ALT | Qt::Key_C));
    addCommand(extras, cmdDuplicates, QStringLiteral("&Duplicates"))->setShortcut(QKeySequence(Qt::ALT | Qt::Key_D));
    addCommand(extras, cmdSoundex, QStringLiteral("&Soundex"))->setShortcut(QKeySequence(Qt::ALT | Qt::Key_S));
    addCommand(extras, cmdIslands, QStringLiteral("&Islands"))->setShortcut(QKeySequence(Qt::ALT | Qt::Key_L));
    addCommand(extras, cmdAutoSource, QStringLiteral("&Auto-Source"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&HELP"));
    addCommand(help, cmdHelp, QStringLiteral("&Help (Website)"))->setShortcut(QKeySequence(Qt::Key_F1));
    addCommand(help, cmdAbout, QStringLiteral("&About kinmap!"));
}

QAction* MainWindow::action(uint32_t id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::dataCommandsEnabled(bool enabled)
{
    for (const auto& [id, action] : actions_)
        if (isDataCommand(id))
            action->setEnabled(enabled);
    stack_->setCurrentWidget(enabled ? static_cast<QWidget*>(tabs_) : startPage_);
}

bool MainWindow::startPageShown() const
{
    return stack_->currentWidget() == startPage_;
}

void MainWindow::linksRepaired(int count)
{
    repairReport_ = session_.report.clears();
    repairLink_->setVisible(count != 0);
    repairLink_->setText(QStringLiteral("<a href=\"report\">%1 links repaired – see Report</a>").arg(count));
}

void MainWindow::rebuildRecentMenu()
{
    for (uint32_t id = cmdRecentFile1; id <= cmdRecentFile4; ++id) {
        if (QAction* old = action(id)) {
            actions_.erase(id);
            delete old;
        }
    }
    delete recentPlaceholder_;
    recentPlaceholder_ = nullptr;

    QAction* before = fileMenu_->actions().value(fileMenu_->actions().indexOf(recentSeparator_) + 1);
    const auto& files = session_.shell.recentFiles;
    for (int i = 0; i < recentFileCount; ++i) {
        if (files[i].empty())
            continue;
        QString text = fromFilePath(files[i]);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(text), fileMenu_);
        const uint32_t id = cmdRecentFile1 + static_cast<uint32_t>(i);
        connect(entry, &QAction::triggered, this, [this, id] { runCommand(id); });
        fileMenu_->insertAction(before, entry);
        actions_[id] = entry;
    }
    if (action(cmdRecentFile1) == nullptr) {
        recentPlaceholder_ = new QAction(QStringLiteral("(recently used files)"), fileMenu_);
        recentPlaceholder_->setEnabled(false);
        fileMenu_->insertAction(before, recentPlaceholder_);
    }
    QStringList paths;
    for (const std::string& file : files)
        if (!file.empty())
            paths << fromFilePath(file);
    startPage_->setRecentFiles(paths);
}

void MainWindow::loadRecentFiles()
{
    QSettings settings(QStringLiteral("kinmap"), QStringLiteral("kinmap"));
    settings.beginGroup(QStringLiteral("RecentFiles"));
    // Absolute and clean, each once (lists of earlier versions may hold a file twice).
    int kept = 0;
    for (int i = 0; i < recentFileCount; ++i) {
        const QString stored = settings.value(QStringLiteral("File%1").arg(i + 1)).toString();
        if (stored.isEmpty())
            continue;
        const std::string path = toFilePath(QDir::cleanPath(QFileInfo(stored).absoluteFilePath()));
        auto& files = session_.shell.recentFiles;
        if (std::find(files.begin(), files.begin() + kept, path) == files.begin() + kept)
            files[static_cast<size_t>(kept++)] = path;
    }
}

void MainWindow::saveRecentFiles() const
{
    QSettings settings(QStringLiteral("kinmap"), QStringLiteral("kinmap"));
    settings.remove(QStringLiteral("RecentFiles"));
    settings.beginGroup(QStringLiteral("RecentFiles"));
    for (int i = 0; i < recentFileCount; ++i)
        if (!session_.shell.recentFiles[i].empty())
            settings.setValue(QStringLiteral("File%1").arg(i + 1), fromFilePath(session_.shell.recentFiles[i]));
}

void MainWindow::recentFilesChanged()
{
    rebuildRecentMenu();
    saveRecentFiles();
}

// ---- commands ----------------------------------------------------------------

void MainWindow::runCommand(uint32_t id)
{
    if (busy_)
        return;
    // No command changes or frees what the background sort reads.
    session_.personList.waitForWorker();
    switch (id) {
    case cmdAbout:
        dialogs_.about(this);
        break;
    case cmdNew:
        if (confirmDiscard(session_)) {
            newDatabase(session_);
            updateTitle();
        }
        break;
    case cmdImportGed:
        if (confirmDiscard(session_)) {
            const QString path = dialogs_.openFile(this, QStringLiteral("Import GED"), currentFolder(),
                                                   QStringLiteral("GED Dateien (*.ged)"));
            if (!path.isEmpty())
                importFile(path);
        }
        break;
    case cmdExportGed:
    case cmdPartialExport: {
        if (id == cmdPartialExport && !requireSelection(session_))
            break;
        const QString path = dialogs_.saveFile(this, QString::fromLatin1(id == cmdExportGed ? "Export GED" : "Partial Export"),
                                               currentFolder(), QStringLiteral("GED Dateien (*.ged)"));
        if (path.isEmpty())
            break;
        BusyScope busy(*this);
        if (id == cmdExportGed)
            exportAllCommand(session_, toFilePath(path));
        else
            partialExportCommand(session_, toFilePath(path));
        updateTitle();
        break;
    }
    case cmdOutputToFile:
        outputToFile();
        break;
    case cmdInputFromFile:
        if (confirmInputFromFile(session_)) {
            const QString path = dialogs_.openFile(this, QStringLiteral("Input from File"), currentFolder(),
                                                   QStringLiteral("List Output (*.txt *.csv);;All files (*)"));
            if (path.isEmpty())
                break;
            BusyScope busy(*this);
            inputFromFileCommand(session_, toFilePath(path));
            updateTitle();
        }
        break;
    case cmdPrint:
    case cmdExportPdf:
        printShownView(id == cmdExportPdf);
        break;
    case cmdSearchSources:
        sourcesCommand(session_);
        break;
    case cmdAutoSource:
        autoSourceCommand(session_); // the rewrite shows its progress bar
        break;
    case cmdExportImage:
        if (auto* chart = qobject_cast<ChartView*>(viewWidget(shownTab_))) {
            const QString path = dialogs_.saveFile(this, QStringLiteral("Export as Image"), currentFolder(),
                                                   QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg)"));
            if (!path.isEmpty() && !chart->saveImage(path))
                session_.errorBox("The picture could not be written to %s", toFilePath(path).c_str());
        }
        break;
    case cmdExit:
        if (confirmDiscard(session_)) {
            exitConfirmed_ = true;
            close();
        }
        break;
    case cmdHelp:
        openManual();
        break;
    case cmdSearchPerson:
        searchPersonsCommand(session_);
        break;
    case cmdSearchEvents:
        searchEventsCommand(session_);
        break;
    case cmdDuplicates: {
        BusyScope busy(*this);
        duplicatesCommand(session_);
        break;
    }
    case cmdFindErrors: {
        BusyScope busy(*this);
        findErrorsCommand(session_);
        break;
    }
    case cmdSoundex:
        dialogs_.soundex(this);
        break;
    case cmdIslands: {
        BusyScope busy(*this);
        islandsCommand(session_);
        break;
    }
    case cmdRelationship:
        relationshipCommand(session_);
        break;
    case cmdSearchBirths:
    case cmdSearchDeaths:
    case cmdSearchMarriages:
        eventSearchCommand(session_, static_cast<EventKind>(id - cmdSearchBirths));
        break;
    case cmdCountGivenNames:
    case cmdCountSurnames:
    case cmdCountPlaces:
    case cmdCountEvents:
        countCommand(session_, static_cast<CountKind>(id - cmdCountGivenNames));
        break;
    case cmdFindReplace:
        replaceCommand(session_);
        break;
    case cmdMerge:
        mergeCommand(session_);
        kinmap::showView(session_, shownTab_); // the merged person is gone from the view
        break;
    case cmdUndo:
    case cmdRedo:
        id == cmdUndo ? undoCommand(session_) : redoCommand(session_);
        kinmap::showView(session_, shownTab_);
        break;
    case cmdEditErrorPerson:
        editCommand(session_, cmdEditPerson);
        break;
    case cmdEditPerson:
    case cmdAddNewPerson:
    case cmdAddSpouse:
    case cmdAddChild:
    case cmdAddFather:
    case cmdAddMother:
    case cmdUnlinkSpouse:
    case cmdUnlinkParents:
    case cmdDelete:
        editCommand(session_, id);
        break;
    default:
        if (id >= cmdSelectPerson && id <= cmdDeselectAll) {
            selectionCommand(session_, id, session_.shell.currentPerson);
            break;
        }
        if (id >= cmdRecentFile1 && id <= cmdRecentFile4)
            openRecentFile(static_cast<int>(id - cmdRecentFile1));
        break;
    }
    updateUndoActions();
    // The link to the repairs goes with the report that lists them.
    if (session_.report.clears() != repairReport_)
        repairLink_->hide();
}

void MainWindow::updateUndoActions()
{
    const EditHistory& history = session_.history;
    action(cmdUndo)->setEnabled(history.canUndo());
    action(cmdUndo)->setText(history.canUndo() ? QStringLiteral("&Undo ") + toScreen(history.undoLabel()) : QStringLiteral("&Undo"));
    action(cmdRedo)->setEnabled(history.canRedo());
    action(cmdRedo)->setText(history.canRedo() ? QStringLiteral("&Redo ") + toScreen(history.redoLabel()) : QStringLiteral("&Redo"));
}

// A recent file that is gone is offered for removal before anything loaded
// is given up for it.
void MainWindow::openRecentFile(int index)
{
    auto& files = session_.shell.recentFiles;
    const QString path = fromFilePath(files[static_cast<size_t>(index)]);
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        if (dialogs_.askYesNo(this, QStringLiteral("RECENT FILES"),
                              QStringLiteral("%1 is no longer there.\nRemove it from the recent files?").arg(path),
                              QMessageBox::Question)) {
            std::rotate(files.begin() + index, files.begin() + index + 1, files.end());
            files.back().clear();
            recentFilesChanged();
        }
        return;
    }
    if (confirmDiscard(session_))
        importFile(path);
}

void MainWindow::importFile(const QString& path)
{
    BusyScope busy(*this);
    // Absolute, so that a recent file opens from wherever kinmap was started.
    importCommand(session_, toFilePath(QDir::cleanPath(QFileInfo(path).absoluteFilePath())));
    updateTitle();
    updateUndoActions();
}

void MainWindow::fitIntoScreen()
{
    // The size remembered, or the default, may be larger than the screen
    // (another screen, a larger scale factor): the status bar stays in sight.
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown || isMaximized() || isFullScreen())
        return;
    const QRect available = shown->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize wanted = size().boundedTo(available.size() - frame);
    if (wanted != size())
        resize(wanted);
    QRect placed = frameGeometry();
    placed.moveLeft(std::clamp(placed.left(), available.left(), std::max(available.left(), available.right() - placed.width() + 1)));
    placed.moveTop(std::clamp(placed.top(), available.top(), std::max(available.top(), available.bottom() - placed.height() + 1)));
    if (placed.topLeft() != frameGeometry().topLeft())
        move(placed.topLeft());
}

// File dialogs start where the user works: the current file's folder, else
// that of the file used last, else home.
QString MainWindow::currentFolder() const
{
    for (const std::string& file : {session_.gedFile.path, session_.shell.recentFiles[0]})
        if (!file.empty())
            if (const QFileInfo info(fromFilePath(file)); info.absoluteDir().exists())
                return info.absolutePath();
    return QDir::homePath();
}

void MainWindow::openManual()
{
    const QString manual = programFile(QStringLiteral("manual.html"));
    if (manual.isEmpty())
        session_.errorBox("The manual was not found beside the program (manual.html).");
    else if (!dialogs_.openUrl(QUrl::fromLocalFile(manual)))
        session_.errorBox("The manual could not be opened in a browser:\r\n%s", toFilePath(manual).c_str());
}

void MainWindow::updateTitle()
{
    const std::string& name = session_.gedFile.loadedName;
    setWindowTitle(session_.db.highestRin > 0 && !name.empty()
                       ? QStringLiteral("kinmap - %1").arg(fromFilePath(name))
                       : QStringLiteral("kinmap"));
}

// ---- views -------------------------------------------------------------------

void MainWindow::onTabChanged(int index)
{
    if (index == shownTab_)
        return;
    const int previous = shownTab_;
    selectTab(previous); // the tab changes only when the view may be shown
    if (!allowTabChange(session_, index))
        return;
    if (index == hourglassView) // shown again for the same person: its next marriage
        stepHourglassMarriage(session_);
    kinmap::showView(session_, index);
}

void MainWindow::selectTab(int index)
{
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(index);
    shownTab_ = index;
}

void MainWindow::setView(int view, QWidget* widget)
{
    for (int i = 0; i < 9; ++i) {
        QLayout* layout = pages_[i]->layout();
        while (QLayoutItem* item = layout->takeAt(0)) {
            // Later: the view may be the one whose menu runs this command.
            item->widget()->hide();
            item->widget()->deleteLater();
            delete item;
        }
    }
    // Only what the Pedigree and Branches tabs show can be printed.
    const bool drawing = qobject_cast<ChartView*>(widget) != nullptr;
    const bool printable = dynamic_cast<PrintableView*>(widget) != nullptr;
    for (const uint32_t id : {cmdPrint, cmdExportPdf})
        actions_[id]->setEnabled(printable);
    actions_[cmdExportImage]->setEnabled(drawing);
    if (widget) {
        pages_[view]->layout()->addWidget(widget);
        // The keys go on working where they did before a dialog or a command
        // rebuilt the view; a widget takes focus only once it is shown.
        if (tabs_->currentIndex() == view) {
            widget->show();
            widget->setFocus(Qt::OtherFocusReason);
        }
    }
}

QWidget* MainWindow::viewWidget(int view) const
{
    QLayoutItem* item = pages_[view]->layout()->itemAt(0);
    return item ? item->widget() : nullptr;
}

void MainWindow::showView(int view)
{
    selectTab(view);
    updateUndoActions(); // a view's own clicks (the Family tab's) may have edited
    QWidget* widget = nullptr;
    switch (view) {
    case listView:
    case selectionView:
        if (preparePersonList(session_, view == selectionView)) {
            auto* list = new PersonListView(session_, [this](uint32_t id) { runCommand(id); });
            setView(view, list);
            list->showCurrentPerson();
            return;
        }
        break;
    case pedigreeView:
        widget = buildPedigreeView();
        break;
    case branchesView:
        widget = buildBranchesView();
        break;
    case treeView:
    case hourglassView:
        if (session_.db.isPerson(session_.shell.currentPerson))
            widget = new ChartView(session_, view == treeView ? ChartKind::tree : ChartKind::hourglass, pages_[view]->size());
        break;
    case familyView:
        if (session_.db.isPerson(session_.shell.currentPerson))
            widget = new FamilyView(session_, prepareFamilyView(session_));
        break;
    case personView:
        widget = personTextView();
        break;
    case reportView:
        if (session_.shell.lastCommand == cmdIslands)
            widget = new IslandListView(session_);
        else if (session_.shell.lastCommand == cmdFindErrors)
            widget = new ErrorListView(session_, [this](uint32_t id) { runCommand(id); });
        else if (session_.shell.lastCommand == cmdDuplicates && session_.duplicates.candidatesShown)
            widget = new CandidateListView(session_);
        else
            widget = reportTextView();
        break;
    default:
        break;
    }
    setView(view, widget ? widget : emptyPage(view));
}

// What a tab says when it has nothing to show.
QWidget* MainWindow::emptyPage(int view) const
{
    static const char* const texts[9] = {
        "There are no persons yet.\nAdd one with EDIT / Add New Person.",
        "No person found.\nSelect persons with SEARCH / Person or Events, or with EDIT / Select.",
        "No pedigree.\nClick a person in the List to see its ancestors here.",
        "The current person has no surname.\nBranches shows the families of one surname.",
        "No current person.\nClick a person in the List to see its ancestors drawn here.",
        "No current person.\nClick a person in the List to see its ancestors drawn here.",
        "No current person.\nClick a person in the List to see its family here.",
        "No current person.\nClick a person in the List to see its record here.",
        "Nothing to report yet.\nImports, Find Errors, counts, searches and other commands list their results here."};
    const QString text = QString::fromUtf8(texts[std::clamp(view, 0, 8)]);
    auto* page = new QLabel(text);
    page->setObjectName(QStringLiteral("emptyPage"));
    page->setAlignment(Qt::AlignCenter);
    page->setWordWrap(true);
    page->setForegroundRole(QPalette::PlaceholderText);
    return page;
}

void MainWindow::clearView()
{
    setView(shownTab_, nullptr);
}

QWidget* MainWindow::personTextView()
{
    PersonGedText text;
    if (!readPersonGedText(session_, session_.gedFile, session_.shell.currentPerson, text))
        return nullptr;
    return readOnlyText(toScreen(text.firstLine + text.recordLines));
}

QWidget* MainWindow::buildPedigreeView()
{
    if (!preparePedigree(session_) || session_.pedigree.rowCount() == 0)
        return nullptr;
    return new PedigreeView(
        session_, [this](uint32_t id) { runCommand(id); }, [this](int row) { showImplexView(row); });
}

QWidget* MainWindow::buildBranchesView()
{
    if (!prepareBranches(session_))
        return nullptr;
    return new BranchesView(session_, [this](uint32_t id) { runCommand(id); });
}

// The implex view takes the place of the Report tab's content until another
// view is shown.
void MainWindow::showImplexView(int row)
{
    const ImplexText text = prepareImplexView(session_, row);
    auto lines = [](const std::vector<std::string>& texts) {
        QStringList list;
        for (const std::string& t : texts)
            list << toScreen(t);
        return list;
    };
    selectTab(reportView);
    session_.shell.currentView = reportView;
    setView(reportView, new ImplexView(lines(text.left), lines(text.right)));
}

void MainWindow::printShownView(bool toPdf)
{
    const auto* view = dynamic_cast<const PrintableView*>(viewWidget(shownTab_));
    if (!view)
        return;
    const int32_t rin = session_.shell.currentPerson;
    const PersonRecord& p = session_.db.persons[rin];
    const QString header = QStringLiteral("%1 - %2 of [%3] %4 %5 - %6")
                               .arg(fromFilePath(session_.gedFile.loadedName), view->printName())
                               .arg(rin)
                               .arg(toScreen(orEmpty(p.given)), toScreen(orEmpty(p.surname)),
                                    QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    // A drawing goes across the page, a table down it.
    const QPageLayout::Orientation orientation = view->printsAcross() ? QPageLayout::Landscape : QPageLayout::Portrait;
    bool printed = false;
    QString target;
    if (toPdf) {
        target = dialogs_.saveFile(this, QStringLiteral("Export as PDF"), currentFolder(), QStringLiteral("PDF (*.pdf)"));
        if (target.isEmpty())
            return;
        QPdfWriter writer(target);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(orientation);
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        writer.setTitle(header);
        printed = view->print(writer, header);
    } else {
        QPrinter printer;
        printer.setDocName(header);
        printer.setPageOrientation(orientation);
        if (!dialogs_.print(this, printer))
            return;
        target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        printed = view->print(printer, header);
    }
    if (!printed)
        session_.errorBox("The %s could not be printed to %s", toFilePath(view->printName()).c_str(), toFilePath(target).c_str());
}

QWidget* MainWindow::reportTextView()
{
    const ReportBuffer& report = session_.report;
    if (report.length() == 0)
        return nullptr;
    return readOnlyText(toScreen(std::string(report.text(), static_cast<size_t>(report.length()))));
}

// ---- the user interface of the core ---------------------------------------------

void MainWindow::errorBox(const std::string& text)
{
    const ArrowWhileAsking arrow;
    dialogs_.errorBox(this, toScreen(text));
}

bool MainWindow::askYesNo(const std::string& title, const std::string& text, MessageIcon icon)
{
    const ArrowWhileAsking arrow;
    return dialogs_.askYesNo(this, toScreen(title), toScreen(text), boxIcon(icon));
}

void MainWindow::messageBox(const std::string& title, const std::string& text, MessageIcon icon)
{
    const ArrowWhileAsking arrow;
    dialogs_.messageBox(this, toScreen(title), toScreen(text), boxIcon(icon));
}

void MainWindow::setStatus(int part, const std::string& text)
{
    if (part >= 0 && part < 3)
        status_[part]->setText(toScreen(text).trimmed());
}

QString MainWindow::statusText(int part) const
{
    return status_[part]->text();
}

void MainWindow::progressStart()
{
    progress_->setValue(0);
    progress_->show();
    // Painted at once, before the first step of the work.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::progressAdvance(int percent)
{
    progress_->setValue(percent);
    // Keep painting; input waits until the operation is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::progressEnd()
{
    progress_->hide();
}

void MainWindow::keepPainting()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool MainWindow::confirmInput(const Database& db, const InputPlan& plan)
{
    const ArrowWhileAsking arrow;
    return dialogs_.confirmInput(this, db, plan, toScreen(session_.gedFile.loadedName));
}

// The tab shown decides what is written; the person tables may be CSV.
void MainWindow::outputToFile()
{
    const int view = shownTab_;
    if (!outputPossible(session_, view))
        return;
    std::string templateText;
    if (outputUsesTemplate(view) && !dialogs_.outputTemplate(this, templateText))
        return;
    const bool tables = outputUsesTemplate(view) || view == familyView;
    const QString path = dialogs_.saveFile(this, QStringLiteral("Output to File"), currentFolder(),
                                           tables ? QStringLiteral("Listen Ausgabe (*.txt);;CSV (*.csv)")
                                                  : QStringLiteral("Listen Ausgabe (*.txt)"));
    if (path.isEmpty())
        return;
    BusyScope busy(*this);
    outputToFileCommand(session_, view, toFilePath(path), templateText);
}

bool MainWindow::askAddSource(std::string& source, const SourceList& sources)
{
    const ArrowWhileAsking arrow;
    return dialogs_.addSource(this, source, sources);
}

void MainWindow::showSources(const SourceList& sources)
{
    const ArrowWhileAsking arrow;
    dialogs_.showSources(this, sources);
}

bool MainWindow::askSearchPersons(SearchOptions& options)
{
    const ArrowWhileAsking arrow;
    return dialogs_.searchPersons(this, options);
}

bool MainWindow::askSearchEvents(SearchOptions& options)
{
    const ArrowWhileAsking arrow;
    return dialogs_.searchEvents(this, options);
}

bool MainWindow::askEventList(const std::string& title, SearchOptions& options)
{
    const ArrowWhileAsking arrow;
    return dialogs_.eventList(this, toScreen(title), options);
}

bool MainWindow::askCount(int mode, std::string& filter, bool& onlySelection)
{
    const ArrowWhileAsking arrow;
    return dialogs_.count(this, mode, filter, onlySelection);
}

bool MainWindow::askCountEvents(std::string& placeFilter, int& period)
{
    const ArrowWhileAsking arrow;
    return dialogs_.countEvents(this, placeFilter, period);
}

void MainWindow::showReplaceDialog(ReplaceOptions& options, const std::function<void()>& replace)
{
    const ArrowWhileAsking arrow;
    dialogs_.replace(this, options, replace);
}

bool MainWindow::askGenerations(const std::string& title, bool withFollowing, int& generations, int& following)
{
    const ArrowWhileAsking arrow;
    return dialogs_.generations(this, toScreen(title), withFollowing, generations, following);
}

bool MainWindow::askOkCancel(const std::string& title, const std::string& text, MessageIcon icon)
{
    const ArrowWhileAsking arrow;
    return dialogs_.askOkCancel(this, toScreen(title), toScreen(text), boxIcon(icon));
}

bool MainWindow::askEditPerson(PersonForm& form)
{
    const ArrowWhileAsking arrow;
    return dialogs_.editPerson(this, form, session_.completions);
}

bool MainWindow::askRin(const std::string& title, std::string& rin)
{
    const ArrowWhileAsking arrow;
    QString text;
    if (!dialogs_.askRin(this, session_, toScreen(title), text))
        return false;
    rin = fromScreen(text);
    return true;
}

bool MainWindow::askCheckOptions(CheckOptions& options)
{
    const ArrowWhileAsking arrow;
    return dialogs_.checkOptions(this, options);
}

bool MainWindow::askDuplicateOptions(uint32_t& options)
{
    const ArrowWhileAsking arrow;
    return dialogs_.duplicateOptions(this, options);
}

MergeAnswer MainWindow::askMerge(MergeFields& fields)
{
    const ArrowWhileAsking arrow;
    return dialogs_.mergePersons(this, fields);
}

bool MainWindow::confirmMerges(const std::vector<CandidatePair>& pairs)
{
    const ArrowWhileAsking arrow;
    return dialogs_.confirmMerges(this, pairs);
}

// ---- window events -------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (busy_ || (!exitConfirmed_ && !confirmDiscard(session_))) {
        event->ignore();
        return;
    }
    saveRecentFiles();
    QSettings(QStringLiteral("kinmap"), QStringLiteral("kinmap")).setValue(QStringLiteral("Window/geometry"), saveGeometry());
    deleteWorkingJournal(session_);
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!busy_ && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (busy_ || urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // Dropping a file must not throw away unexported work without asking.
    if (confirmDiscard(session_))
        importFile(urls.first().toLocalFile());
}

} // namespace kinmap::gui
