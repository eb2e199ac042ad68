// The desktop window driven as a user drives it, offscreen.
#include "BranchesView.h"
#include "CandidateListView.h"
#include "ChartView.h"
#include "CheckOptionsDialog.h"
#include "CountDialogs.h"
#include "DuplicatesDialog.h"
#include "EditPersonDialog.h"
#include "ErrorListView.h"
#include "FamilyView.h"
#include "PersonBox.h"
#include "IslandListView.h"
#include "MainWindow.h"
#include "MergeDialogs.h"
#include "PedigreeView.h"
#include "PersonListView.h"
#include "ReplaceDialog.h"
#include "RinDialogs.h"
#include "ScreenText.h"
#include "ScriptedDialogs.h"
#include "SearchDialogs.h"
#include "SourceDialogs.h"
#include "TableDialogs.h"
#include "exchange/TableText.h"
#include "relations/Islands.h"
#include "StartPage.h"

#include "app/Commands.h"

#include <functional>

#include <QAction>
#include <QMap>
#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QStatusBar>
#include <QLabel>
#include <QRadioButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QGraphicsItem>
#include <QListWidget>
#include <QTreeWidget>
#include <QPushButton>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using kinmap::gui::MainWindow;
using kinmap::test::ScriptedDialogs;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    QString writeGed(const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text);
        return path;
    }
    QString viewText(MainWindow& window, int view)
    {
        auto* text = qobject_cast<QPlainTextEdit*>(window.viewWidget(view));
        return text ? text->toPlainText() : QStringLiteral("<no text view>");
    }
    QStringList recentMenuTexts(MainWindow& window)
    {
        // The paths, after the numbers that are their mnemonics ("&1 ").
        QStringList texts;
        for (uint32_t id = kinmap::cmdRecentFile1; id <= kinmap::cmdRecentFile4; ++id)
            if (QAction* a = window.action(id)) {
                const QString number = QStringLiteral("&%1 ").arg(texts.size() + 1);
                texts << (a->text().startsWith(number) ? a->text().mid(number.size()) : QStringLiteral("unnumbered ") + a->text());
            }
        return texts;
    }
    // Keys of any script, as a keyboard layout delivers them.
    static void type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(widget, &press);
        }
    }
    void drop(MainWindow& window, const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &enter);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &dropped);
    }

    QTemporaryDir dir;
    const QByteArray family = "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Hans /M\xFCller/\r\n1 SEX M\r\n1 FAMS @F1@\r\n" // Latin-1
                              "0 @I2@ INDI\r\n1 NAME Eva /Roth/\r\n1 SEX F\r\n1 FAMS @F1@\r\n1 NOTE 50% sure\r\n"
                              "0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n1 CHIL @I3@\r\n0 TRLR\r\n";

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir.isValid());
        // The working journals of the windows a test leaves open go with
        // the run's folder, not into a folder that every run fills.
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
    }

    void init() { QSettings(QStringLiteral("kinmap"), QStringLiteral("kinmap")).clear(); }

    void importsThroughTheMenuCommand()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.session().clock.seconds = [] { return 0LL; }; // "loaded in 0 sec" on any machine
        QVERIFY(window.action(kinmap::cmdNew)->isEnabled());
        QCOMPARE(window.action(kinmap::cmdImportGed)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
        dialogs.filesToOpen.enqueue(writeGed("family.ged", family));
        window.action(kinmap::cmdImportGed)->trigger();

        QCOMPARE(dialogs.filters, QStringList{QStringLiteral("GED Dateien (*.ged)")});
        QVERIFY(dialogs.errors.isEmpty());
        QCOMPARE(window.statusText(0), QStringLiteral("family.ged loaded, read as Latin-1 (default)"));
        QCOMPARE(window.statusText(1), QStringLiteral("2 Persons"));
        QCOMPARE(window.statusText(2), QStringLiteral("RIN: 1"));
        QCOMPARE(window.windowTitle(), QStringLiteral("kinmap - family.ged"));
        QCOMPARE(window.tabs()->currentIndex(), 0);

        window.tabs()->setCurrentIndex(kinmap::reportView);
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::reportView));
        QCOMPARE(viewText(window, kinmap::reportView),
                 QStringLiteral("2 Persons 1 Families imported\nfamily.ged loaded in 0 sec"
                                "\n### Fam 1 has CHIL @I3@, which names no record (removed)\n Fam [1] Hans Müller - Eva Roth "
                                "\n\n1 errors corrected automatically!\nPlease export to save changes!\n"));
    }

    void everyScriptIsShownSearchedAndTyped()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        const QString path = writeGed(QStringLiteral("Fämily.ged"),
                                      QStringLiteral("0 HEAD\n1 CHAR UTF-8\n"
                                                     "0 @I1@ INDI\n1 NAME Anna /Adler/\n"
                                                     "0 @I2@ INDI\n1 NAME Александр /Меншиков/\n1 BIRT\n2 PLAC Москва\n"
                                                     "0 @I3@ INDI\n1 NAME Łucja /Wiśniewska/\n0 TRLR\n")
                                          .toUtf8());
        window.importFile(path);
        QCOMPARE(window.windowTitle(), QStringLiteral("kinmap - Fämily.ged"));
        QCOMPARE(window.statusText(0), QStringLiteral("Fämily.ged loaded, read as UTF-8 (from the header)"));
        auto* list = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
        QVERIFY(list);
        QCOMPARE(list->model()->index(1, 1).data().toString(), QStringLiteral("Меншиков"));
        QCOMPARE(list->model()->index(1, 4).data().toString(), QStringLiteral("Москва"));
        // Typing in the sorted surname column jumps to the person.
        list->horizontalHeader()->sectionClicked(1);
        type(list, QStringLiteral("мен"));
        QCOMPARE(window.session().shell.currentPerson, 2);
        type(list, QStringLiteral("w")); // "менw" matches nobody: the row stays
        QCOMPARE(window.session().shell.currentPerson, 2);

        // A file that is not there: one message, with the name as typed.
        const QString missing = dir.filePath(QStringLiteral("Gone—Åsa.ged"));
        window.importFile(missing);
        QCOMPARE(dialogs.errors, QStringList{QStringLiteral("Original GED file %1 not found!").arg(missing)});
        QCOMPARE(window.statusText(0), QStringLiteral("Gone—Åsa.ged not loaded"));
    }

    void personTabShowsTheRecordOfTheCurrentPerson()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed("person.ged", family));
        window.session().shell.currentPerson = 2;
        window.tabs()->setCurrentIndex(kinmap::personView);
        QCOMPARE(viewText(window, kinmap::personView),
                 QStringLiteral("0 @I2@ INDI\n1 NAME Eva /Roth/\n1 SEX F\n1 FAMS @F1@\n1 NOTE 50% sure\n"));
        QCOMPARE(window.statusText(2), QStringLiteral("RIN: 2"));
    }

    void everyCommandIsReachableFromTheKeyboard()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (QAction* menu : window.menuBar()->actions())
            if (menu->isVisible())
                QVERIFY2(menu->text().contains(QLatin1Char('&')), qPrintable(menu->text()));
        QVERIFY(window.action(kinmap::cmdImportGed)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_O)));
        QVERIFY(window.action(kinmap::cmdImportGed)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_I)));
        QCOMPARE(window.action(kinmap::cmdExit)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QCOMPARE(window.action(kinmap::cmdHelp)->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(window.action(kinmap::cmdNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));

        // The start page's button imports; the tabs take its place.
        QVERIFY(window.startPageShown());
        dialogs.filesToOpen.enqueue(writeGed("keys.ged", family));
        window.startPage()->importButton()->click();
        QVERIFY(!window.startPageShown());
        QCOMPARE(window.session().db.personCount, 2);

        // Ctrl+F opens SEARCH / Person.
        dialogs.searches.enqueue([](kinmap::SearchOptions& o) { o.surname = "Roth"; });
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(dialogs.searches.isEmpty());
        QCOMPARE(window.session().counts.selectedCount, 1);

        // Shift+F10 (as the Menu key) opens the list's context menu at the current row.
        window.tabs()->setCurrentIndex(kinmap::listView);
        auto* list = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
        QVERIFY(list);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QStringLiteral("List Context Menu4"));
        menu->close();
        // The header shows the sorted column and its direction.
        QVERIFY(list->horizontalHeader()->isSortIndicatorShown());
        list->horizontalHeader()->sectionClicked(1);
        QCOMPARE(list->horizontalHeader()->sortIndicatorSection(), 1);

        // F10 reaches the menu bar.
        QTest::keyClick(&window, Qt::Key_F10);
        QCOMPARE(window.menuBar()->activeAction(), window.menuBar()->actions().value(0));
    }

    // No key does two things: every shortcut is one command's, no Alt+letter
    // of the menu bar is a command's shortcut, and the entries of one menu
    // level, context menus too, have mnemonics of their own.
    void noKeyDoesTwoThings()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        dialogs.filesToOpen.enqueue(writeGed("keys.ged", family));
        window.startPage()->importButton()->click();
        auto mnemonic = [](const QString& text) {
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toUpper() : QChar();
        };
        QMap<QKeySequence, QString> owners;
        std::function<void(QMenu*)> collect = [&](QMenu* menu) {
            QMap<QChar, QString> letters;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                if (const QChar m = mnemonic(action->text()); !m.isNull()) {
                    QVERIFY2(!letters.contains(m), qPrintable(action->text() + QStringLiteral(" and ") + letters.value(m)));
                    letters.insert(m, action->text());
                }
                for (const QKeySequence& key : action->shortcuts()) {
                    QVERIFY2(!owners.contains(key), qPrintable(key.toString() + QStringLiteral(": ") + action->text()));
                    owners.insert(key, action->text());
                }
                if (action->menu())
                    collect(action->menu());
            }
        };
        QMap<QChar, QString> barLetters;
        for (QAction* menu : window.menuBar()->actions()) {
            const QChar m = mnemonic(menu->text());
            QVERIFY2(!barLetters.contains(m), qPrintable(menu->text()));
            barLetters.insert(m, menu->text());
            collect(menu->menu());
        }
        for (auto it = barLetters.cbegin(); it != barLetters.cend(); ++it) {
            const QKeySequence alt(QStringLiteral("Alt+") + it.key());
            QVERIFY2(!owners.contains(alt), qPrintable(alt.toString() + QStringLiteral(" opens ") + it.value() +
                                                       QStringLiteral(" and runs ") + owners.value(alt)));
        }
        window.tabs()->setCurrentIndex(kinmap::listView);
        auto* list = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
        QVERIFY(list);
        collect(list->contextMenu());
    }

    void pagesSayWhatIsMissing()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        auto pageText = [&window](int view) {
            auto* label = qobject_cast<QLabel*>(window.viewWidget(view));
            return label ? label->text() : QStringLiteral("<not an empty page>");
        };
        // The family names a deleted child: the status bar leads to the report of the repair.
        window.importFile(writeGed("pages.ged", family));
        QVERIFY(window.repairLink()->isVisibleTo(&window));
        QVERIFY(window.repairLink()->text().contains(QStringLiteral("1 links repaired – see Report")));
        emit window.repairLink()->linkActivated(QStringLiteral("report"));
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::reportView));
        const QString report = viewText(window, kinmap::reportView);
        QVERIFY(report.contains(QStringLiteral("1 errors corrected automatically!")));
        // An unrelated message keeps the report.
        window.runCommand(kinmap::cmdPartialExport); // nothing selected
        QVERIFY(!dialogs.messages.isEmpty() || !dialogs.errors.isEmpty());
        window.tabs()->setCurrentIndex(kinmap::reportView);
        QCOMPARE(viewText(window, kinmap::reportView), report);
        QVERIFY(window.repairLink()->isVisibleTo(&window));
        // A command that replaces the report takes the link with it.
        dialogs.duplicateAnswers.enqueue(kinmap::DuplicateOption::defaults);
        window.runCommand(kinmap::cmdDuplicates);
        QVERIFY(!window.repairLink()->isVisibleTo(&window));

        // A search that finds nobody says so and counts 0.
        dialogs.searches.enqueue([](kinmap::SearchOptions& o) { o.surname = "Nobody"; });
        window.runCommand(kinmap::cmdSearchPerson);
        QCOMPARE(window.statusText(0), QStringLiteral("No person found"));
        QCOMPARE(window.statusText(1), QStringLiteral("0 persons"));
        QVERIFY(pageText(kinmap::selectionView).startsWith(QStringLiteral("No person found.")));
        window.tabs()->setCurrentIndex(kinmap::treeView);
        QVERIFY(qobject_cast<kinmap::gui::ChartView*>(window.viewWidget(kinmap::treeView)));

        window.runCommand(kinmap::cmdNew);
        QVERIFY(!window.repairLink()->isVisibleTo(&window));
        QVERIFY(!window.startPageShown()); // a new file is being built
        window.showView(kinmap::reportView);
        QVERIFY(pageText(kinmap::reportView).startsWith(QStringLiteral("Nothing to report yet.")));
    }

    void geometryColumnsAndGoneRecentFilesAreHandled()
    {
        ScriptedDialogs dialogs;
        const QString gone = dir.filePath(QStringLiteral("gone.ged"));
        {
            MainWindow window(dialogs);
            QVERIFY(window.minimumSize().width() >= 640 && window.minimumSize().height() >= 400);
            window.resize(760, 560);
            window.show();
            window.importFile(writeGed("geometry.ged", family));
            auto* list = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
            QVERIFY(list);
            // Too narrow for the columns' least widths: the list scrolls sideways.
            window.resize(640, 420);
            QTRY_VERIFY(list->horizontalScrollBar()->maximum() > 0); // laid out after pending events
            window.resize(760, 560);
            list->horizontalHeader()->resizeSection(2, 333);
            QVERIFY(window.close());
            QSettings(QStringLiteral("kinmap"), QStringLiteral("kinmap")).setValue(QStringLiteral("RecentFiles/File2"), gone);
        }
        MainWindow window(dialogs);
        QCOMPARE(window.size(), QSize(760, 560));
        {
            // A size remembered from a larger screen (or scale) fits this one.
            MainWindow larger(dialogs);
            larger.resize(3000, 2000);
            QVERIFY(larger.close());
            MainWindow fitted(dialogs);
            const QRect available = fitted.screen()->availableGeometry();
            QVERIFY(fitted.width() <= available.width() && fitted.height() <= available.height());
            QVERIFY(available.contains(fitted.frameGeometry().topLeft()));
            QSettings(QStringLiteral("kinmap"), QStringLiteral("kinmap")).setValue(QStringLiteral("Window/geometry"),
                                                                                 window.saveGeometry());
        }
        window.show();
        window.importFile(writeGed("geometry.ged", family));
        auto* list = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
        QCOMPARE(list->columnWidth(2), 333);

        // The start page lists it too.
        QVERIFY(window.startPage()->recentList()->text().contains(QStringLiteral("gone.ged")));
        // A recent file that is gone is offered for removal; the loaded data stays.
        QCOMPARE(recentMenuTexts(window), (QStringList{dir.filePath(QStringLiteral("geometry.ged")), gone}));
        dialogs.answers.enqueue(true);
        window.runCommand(kinmap::cmdRecentFile1 + 1);
        QCOMPARE(dialogs.questions.last().title, QStringLiteral("RECENT FILES"));
        QCOMPARE(recentMenuTexts(window), QStringList{dir.filePath(QStringLiteral("geometry.ged"))});
        QCOMPARE(window.session().db.personCount, 2);
    }

    void tabsRefuseToShowWithoutData()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.tabs()->setCurrentIndex(kinmap::branchesView);
        QCOMPARE(window.tabs()->currentIndex(), 0);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("NO DATA"));
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("Please do first\nFILE / Import\nor\nEdit / Add/ New Person"));
        QCOMPARE(dialogs.messages[0].icon, QMessageBox::Information);

        window.importFile(writeGed("guard.ged", family));
        window.tabs()->setCurrentIndex(kinmap::selectionView);
        QCOMPARE(window.tabs()->currentIndex(), 0);
        QCOMPARE(dialogs.messages.last().title, QStringLiteral("NO DATA in SELECTION"));
    }

    void recentFilesKeepTheNewestFirst()
    {
        ScriptedDialogs dialogs;
        {
            MainWindow window(dialogs);
            QCOMPARE(recentMenuTexts(window), QStringList());
            bool placeholder = false;
            for (QAction* a : window.fileMenu()->actions())
                placeholder |= a->text() == QStringLiteral("(recently used files)") && !a->isEnabled();
            QVERIFY(placeholder);

            QStringList paths;
            for (const char* name : {"r1.ged", "r2.ged", "r3.ged", "r4.ged", "r5.ged"})
                paths << writeGed(QString::fromLatin1(name), family);
            for (const QString& p : paths)
                window.importFile(p);
            QCOMPARE(recentMenuTexts(window), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
            window.runCommand(kinmap::cmdRecentFile1 + 2); // r3 again
            QCOMPARE(window.statusText(0), QStringLiteral("r3.ged loaded, read as Latin-1 (default)"));
            QCOMPARE(recentMenuTexts(window), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
        }
        QSettings settings(QStringLiteral("kinmap"), QStringLiteral("kinmap"));
        QCOMPARE(settings.value(QStringLiteral("RecentFiles/File1")).toString(), dir.filePath(QStringLiteral("r3.ged")));
        MainWindow reopened(dialogs);
        QCOMPARE(recentMenuTexts(reopened).size(), 4);
        QCOMPARE(recentMenuTexts(reopened).first(), dir.filePath(QStringLiteral("r3.ged")));
    }

    void exitAsksBeforeChangesAreLost()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.show();
        window.importFile(writeGed("changes.ged", family));
        window.session().counts.mergeCount = 2;
        for (int i = 0; i < 3; ++i)
            window.session().db.addPerson();
        dialogs.answers.enqueue(false);
        window.action(kinmap::cmdExit)->trigger();
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.questions[0].title, QStringLiteral("DISCARD CHANGES"));
        QCOMPARE(dialogs.questions[0].text,
                 QStringLiteral("Changes have not yet been exported!\n( 2 mergers, 3 new )\n\nDiscard all changes?"));
        QCOMPARE(dialogs.questions[0].icon, QMessageBox::Warning);
        QVERIFY(window.isVisible());

        // Import after a yes, then a cancelled file dialog: the data stays.
        dialogs.answers.enqueue(true);
        window.action(kinmap::cmdImportGed)->trigger();
        QCOMPARE(window.session().db.highestRin, 5);

        const std::string journal = window.session().journal.workingPath();
        QVERIFY(QFile::exists(QString::fromStdString(journal)));
        dialogs.answers.enqueue(true);
        window.action(kinmap::cmdExit)->trigger();
        QVERIFY(!window.isVisible());
        QVERIFY(!QFile::exists(QString::fromStdString(journal)));
    }

    void droppedFilesAreImported()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        const QString txt = writeGed("data.txt", "0 HEAD\n");
        drop(window, txt);
        QCOMPARE(dialogs.errors, QStringList{QStringLiteral("\nFile %1 has not extension .ged").arg(txt)});
        drop(window, writeGed("dropped.ged", family));
        QCOMPARE(window.statusText(0), QStringLiteral("dropped.ged loaded, read as Latin-1 (default)"));
    }

    void helpAndAbout()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.action(kinmap::cmdAbout)->trigger();
        QCOMPARE(dialogs.abouts, 1);
        window.action(kinmap::cmdHelp)->trigger();
        QVERIFY(dialogs.errors.isEmpty());
        QCOMPARE(dialogs.urls.size(), 1);
        QVERIFY(dialogs.urls[0].toLocalFile().endsWith(QStringLiteral("manual.html")));
    }

    void exportsThroughTheMenuCommands()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        QVERIFY(!window.action(kinmap::cmdExportGed)->isEnabled());
        QVERIFY(!window.action(kinmap::cmdPartialExport)->isEnabled());
        QCOMPARE(window.action(kinmap::cmdExportGed)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
        const QString input = writeGed("export-in.ged", family);
        window.importFile(input);
        QVERIFY(window.action(kinmap::cmdExportGed)->isEnabled());
        QVERIFY(window.action(kinmap::cmdPartialExport)->isEnabled());

        window.action(kinmap::cmdPartialExport)->trigger();
        QCOMPARE(dialogs.errors, QStringList{QStringLiteral("No persons have been selected")});
        QVERIFY(dialogs.filters.isEmpty()); // no file dialog without a selection

        const QString target = dir.filePath(QStringLiteral("export-out.ged"));
        dialogs.filesToSave.enqueue(target);
        window.action(kinmap::cmdExportGed)->trigger();
        QCOMPARE(dialogs.filters, QStringList{QStringLiteral("GED Dateien (*.ged)")});
        QCOMPARE(dialogs.folders, QStringList{dir.path()}); // the imported file's, not the program's
        QCOMPARE(window.statusText(0), QStringLiteral("export-out.ged exportiert"));
        QCOMPARE(window.windowTitle(), QStringLiteral("kinmap - export-out.ged"));
        QFile written(target);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("1 NAME Eva /Roth/\r\n1 SEX F\r\n1 FAMS @F1@\r\n"));
        QCOMPARE(window.session().gedFile.path, kinmap::gui::toFilePath(target));
        // Without a current file the dialog starts where the last one was.
        window.runCommand(kinmap::cmdNew);
        QVERIFY(window.session().gedFile.path.empty());
        window.action(kinmap::cmdImportGed)->trigger();
        QCOMPARE(dialogs.folders.last(), dir.path());
    }

    void theListSortsTypesAheadAndSelects()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.resize(1000, 600);
        window.show();
        window.importFile(writeGed("list.ged", "0 HEAD\n"
                                               "0 @I1@ INDI\n1 NAME Anna /Meier/\n1 SEX F\n1 BIRT\n2 DATE 1850\n"
                                               "0 @I2@ INDI\n1 NAME Karl /Adler/\n1 SEX M\n"
                                               "0 @I3@ INDI\n1 NAME Zoe /Zander/\n1 SEX F\n"
                                               "0 @I4@ INDI\n1 NAME Jakob /Meier/\n1 SEX M\n"
                                               "0 TRLR\n"));
        QCoreApplication::processEvents(); // lay the window out
        auto* view = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
        QVERIFY(view);
        QAbstractItemModel* model = view->model();
        QCOMPARE(model->rowCount(), 4);
        QCOMPARE(model->headerData(7, Qt::Horizontal).toString(), QStringLiteral("1st Marr"));
        QCOMPARE(model->data(model->index(0, 3)).toString(), QStringLiteral("1850"));
        // Rows are tinted from the theme's base colour: light on a light theme, dark on a dark one.
        QVERIFY(model->data(model->index(1, 0), Qt::BackgroundRole).value<QColor>().lightness() > 200);
        const QPalette light = QGuiApplication::palette();
        QPalette dark = light;
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        QGuiApplication::setPalette(dark);
        QVERIFY(model->data(model->index(1, 0), Qt::BackgroundRole).value<QColor>().lightness() < 60);
        QGuiApplication::setPalette(light);
        QCOMPARE(view->columnWidth(2), 189 * view->viewport()->width() / 1024);

        QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("Zander"));
        QCOMPARE(model->data(model->index(3, 1)).toString(), QStringLiteral("Adler"));

        view->setFocus();
        QTest::keyClicks(view, QStringLiteral("mei"));
        QCOMPARE(window.session().shell.currentPerson, 1); // the nearest Meier upwards from Adler
        QCOMPARE(window.statusText(2), QStringLiteral("RIN: 1"));

        QMenu* menu = view->contextMenu();
        QAction* selectPerson = nullptr;
        for (QAction* entry : menu->actions())
            if (entry->text() == QStringLiteral("&Select"))
                selectPerson = entry->menu()->actions().value(0);
        QVERIFY(selectPerson);
        QCOMPARE(selectPerson->text(), QStringLiteral("&Person"));
        selectPerson->trigger();
        QCOMPARE(window.session().counts.selectedCount, 1);
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::selectionView));
        QCOMPARE(window.statusText(0), QStringLiteral("Selection"));
        auto* selection = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::selectionView));
        QVERIFY(selection);
        QCOMPARE(selection->model()->rowCount(), 1);

        // SEARCH / Person with the surname "mei" adds both Meiers.
        dialogs.searches.enqueue([](kinmap::SearchOptions& o) {
            o.surname = "mei";
            o.action = kinmap::SearchAction::selectAdd;
        });
        window.action(kinmap::cmdSearchPerson)->trigger();
        QCOMPARE(window.session().counts.selectedCount, 2);
        selection = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::selectionView));
        QCOMPARE(selection->model()->rowCount(), 2);

        window.action(kinmap::cmdDeselectAll)->trigger();
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::listView));
        QCOMPARE(window.session().counts.selectedCount, 0);
    }

    void theSearchDialogTakesItsFields()
    {
        kinmap::SearchOptions options;
        options.surname = "Meier";
        options.periodFrom = 0;
        kinmap::gui::SearchDialog dialog(kinmap::gui::SearchDialog::Kind::persons, options);
        QCOMPARE(dialog.field(QStringLiteral("Surname"))->text(), QStringLiteral("Meier"));
        QCOMPARE(dialog.field(QStringLiteral("Period from"))->text(), QString());
        dialog.findChildren<QCheckBox*>().value(1)->click(); // "with children" flips at once
        QCOMPARE(options.extensions, int(kinmap::Extend::children));
        dialog.field(QStringLiteral("Given name"))->setText(QStringLiteral("Jörg"));
        QTest::keyClicks(dialog.field(QStringLiteral("Period from")), QStringLiteral("18x50"));
        dialog.field(QStringLiteral("RIN to"))->setText(QStringLiteral("20"));
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("SEL/ADD"))
                button->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(options.action, kinmap::SearchAction::selectAdd);
        QCOMPARE(options.given, std::string("Jörg"));
        QCOMPARE(options.periodFrom, 1850);
        QCOMPARE(options.rinTo, 20);
        QCOMPARE(options.surname, std::string("Meier"));
    }

    void duplicatesAreListedMergedAndGreyed()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.show();
        window.importFile(writeGed("dup.ged", "0 HEAD\n"
                                              "0 @I1@ INDI\n1 NAME Hans /Schmidt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
                                              "0 @I2@ INDI\n1 NAME Hans /Schmitt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
                                              "0 @I3@ INDI\n1 NAME Eva /Maier/\n1 SEX F\n1 BIRT\n2 DATE 1860\n"
                                              "0 @I4@ INDI\n1 NAME Eva /Meyer/\n1 SEX F\n1 BIRT\n2 DATE 1860\n"
                                              "0 TRLR\n"));
        QAction* duplicates = window.action(kinmap::cmdDuplicates);
        QCOMPARE(duplicates->shortcut(), QKeySequence(Qt::ALT | Qt::Key_D));
        QCOMPARE(window.action(kinmap::cmdSoundex)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
        using namespace kinmap::DuplicateOption;
        dialogs.duplicateAnswers.enqueue(persons | 4 | sameDate | semiautomatic);
        duplicates->trigger();
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::reportView));
        QCOMPARE(window.statusText(1), QStringLiteral("2 possible duplicates"));
        auto* list = qobject_cast<kinmap::gui::CandidateListView*>(window.viewWidget(kinmap::reportView));
        QVERIFY(list);
        QCOMPARE(list->pairCount(), 2);
        QVERIFY(list->personBox(1, 1)->text().startsWith(QStringLiteral("[4] Eva Meyer")));
        QTest::mouseClick(list->personBox(1, 1), Qt::LeftButton);
        QCOMPARE(window.statusText(2), QStringLiteral("RIN: 4"));

        list->press(QStringLiteral("Uncheck all"));
        list->checkBox(1)->click();
        list->press(QStringLiteral("Merge now"));
        QCOMPARE(window.statusText(1), QStringLiteral("1 mergers"));
        QVERIFY(!window.session().db.isPerson(4));
        QVERIFY(window.session().db.isPerson(2));
        QVERIFY(!list->checkBox(1)->isEnabled()); // merged: greyed
        QVERIFY(list->checkBox(0)->isEnabled());

        // The unticked pair is no duplicate for the rest of the run.
        dialogs.duplicateAnswers.enqueue(persons | 4 | sameDate | automatic);
        window.action(kinmap::cmdDuplicates)->trigger();
        QCOMPARE(dialogs.previewSizes, QList<int>{});
        QCOMPARE(window.statusText(1), QStringLiteral("No duplicates found"));
        QVERIFY(window.session().db.isPerson(2));
    }

    void mergeFromTheListContextMenu()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.show();
        window.importFile(writeGed("merge.ged", "0 HEAD\n"
                                                "0 @I1@ INDI\n1 NAME Hans /Schmidt/\n1 SEX M\n"
                                                "0 @I2@ INDI\n1 NAME Hans /Schmitt/\n1 SEX M\n"
                                                "0 TRLR\n"));
        auto* view = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
        QVERIFY(view);
        QCoreApplication::processEvents(); // lay the window out
        for (const int row : {1, 0}) // the person to merge, then the one to keep
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 1)).center());
        QCOMPARE(window.session().shell.previousPerson, 2);
        QAction* merge = nullptr;
        for (QAction* entry : view->contextMenu()->actions())
            if (entry->text() == QStringLiteral("Mer&ge"))
                merge = entry;
        QVERIFY(merge);
        dialogs.mergeAnswers.enqueue(kinmap::MergeAnswer::yes);
        merge->trigger();
        QCOMPARE(dialogs.mergeDialogs, QList<int32_t>{2});
        QVERIFY(!window.session().db.isPerson(2));
        QCOMPARE(window.session().counts.mergeCount, 1);
        view = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
        QCOMPARE(view->model()->rowCount(), 1);
    }

    void duplicateSoundexAndMergeDialogs()
    {
        using namespace kinmap::DuplicateOption;
        uint32_t options = defaults;
        kinmap::gui::DuplicatesDialog dialog(options);
        dialog.button(QStringLiteral("None"))->click(); // not while automatic
        QCOMPARE(options, defaults);
        QVERIFY(dialog.button(QStringLiteral("Same date"))->isChecked());
        dialog.button(QStringLiteral("semiautomatic"))->click();
        dialog.button(QStringLiteral("None"))->click();
        dialog.button(QStringLiteral("Families"))->click();
        dialog.button(QStringLiteral("Other matching"))->click();
        QCOMPARE(options, semiautomatic | noRequirement | 6);
        dialog.button(QStringLiteral("automatic"))->click();
        QVERIFY(dialog.button(QStringLiteral("Same date"))->isChecked());
        QCOMPARE(options, automatic | sameDate | 6);

        kinmap::gui::SoundexDialog soundex;
        type(soundex.findChild<QLineEdit*>(), QStringLiteral("Schmidt"));
        QCOMPARE(soundex.code(), QStringLiteral("S253"));

        kinmap::MergeFields fields;
        fields.keptRin = 1;
        fields.otherRin = 2;
        fields.takeOther[0] = true;
        kinmap::gui::MergePersonsDialog merge(fields);
        for (QPushButton* button : merge.findChildren<QPushButton*>()) // a merge question defaults to No
            QCOMPARE(button->isDefault(), button->text() == QStringLiteral("NO"));
        QVERIFY(merge.takeBox(0)->isChecked());
        merge.takeBox(0)->click();
        merge.takeBox(3)->click();
        merge.press(kinmap::MergeAnswer::yes);
        QCOMPARE(merge.answer(), kinmap::MergeAnswer::yes);
        QVERIFY(!fields.takeOther[0]);
        QVERIFY(fields.takeOther[3]);
    }

    void findErrorsShowsItsFindings()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed("check.ged", "0 HEAD\n"
                                                "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 FAMS @F1@\n"
                                                "0 @I2@ INDI\n1 NAME Eva /Berg/\n1 SEX F\n1 FAMS @F1@\n"
                                                "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1905\n0 TRLR\n"));
        QAction* findErrors = window.action(kinmap::cmdFindErrors);
        QCOMPARE(findErrors->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
        dialogs.checkAnswers.enqueue([](kinmap::CheckOptions&) {});
        findErrors->trigger();
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::reportView));
        QCOMPARE(window.statusText(1), QStringLiteral("1 errors found"));
        auto* list = qobject_cast<kinmap::gui::ErrorListView*>(window.viewWidget(kinmap::reportView));
        QVERIFY(list);
        QCOMPARE(list->model()->rowCount(), 1);
        QCOMPARE(list->model()->data(list->model()->index(0, 2)).toString(),
                 QStringLiteral("with 5 years Hans Berg  *1900 seems too young to marry in 1905"));
        // No indicator before a click; then the column clicked and its direction.
        QCOMPARE(list->horizontalHeader()->sortIndicatorSection(), -1);
        emit list->horizontalHeader()->sectionClicked(1);
        QVERIFY(list->horizontalHeader()->isSortIndicatorShown());
        QCOMPARE(list->horizontalHeader()->sortIndicatorSection(), 1);
        // Remove error: the person's errors are ignored from then on; with no
        // row left, removing again does nothing.
        list->setCurrentIndex(list->model()->index(0, 0));
        list->removeCurrent();
        QCOMPARE(list->model()->rowCount(), 0);
        list->removeCurrent();
        QTest::keyClicks(list, QStringLiteral("bo")); // type-ahead over no rows
        QVERIFY(window.session().db.persons[1].flags & kinmap::Flag::errorsIgnored);

        // The dialog: a switch holds at once, OK takes the ages that are numbers.
        kinmap::CheckOptions options;
        {
            kinmap::gui::CheckOptionsDialog dialog(options);
            dialog.ignoreBox(2)->click();
            dialog.reject();
        }
        QCOMPARE(options.ignore, kinmap::Ignore::checkDate);
        kinmap::gui::CheckOptionsDialog dialog(options);
        dialog.ageField(0)->setText(QStringLiteral("8"));
        dialog.ageField(1)->setText(QStringLiteral("-3"));
        dialog.pressOk();
        QCOMPARE(options.ages[0], 8u);
        QCOMPARE(options.ages[1], 95u);
    }

    void islandsCountsSearchesAndReplaceFromTheMenus()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.show();
        window.importFile(writeGed("islands.ged", "0 HEAD\n"
                                                  "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 FAMS @F1@\n"
                                                  "0 @I2@ INDI\n1 NAME Eva /Roth/\n1 SEX F\n1 FAMS @F1@\n"
                                                  "0 @I3@ INDI\n1 NAME Solo /Berg/\n1 SEX M\n1 BIRT\n2 DATE 1850\n2 PLAC Bonn\n"
                                                  "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n0 TRLR\n"));
        QAction* islands = window.action(kinmap::cmdIslands);
        QCOMPARE(islands->shortcut(), QKeySequence(Qt::ALT | Qt::Key_L));
        islands->trigger();
        auto* list = qobject_cast<kinmap::gui::IslandListView*>(window.viewWidget(kinmap::reportView));
        QVERIFY(list);
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(window.statusText(0), QStringLiteral("Island nr.1 of 2"));
        QCOMPARE(window.statusText(1), QStringLiteral("2 Persons (1 Families). 1st Person: Hans Berg"));
        // By RIN, greatest first, with the header's indicator; a key picks an island.
        list->sortBy(2);
        QCOMPARE(list->horizontalHeader()->sortIndicatorSection(), 2);
        QCOMPARE(list->model()->data(list->model()->index(0, 4)).toString(), QStringLiteral("Solo"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(window.session().shell.currentPerson, 1);
        list->selectCurrentIsland();
        QCOMPARE(window.session().counts.selectedCount, 2);
        // Reversed, then run again: largest first as the list promises; shown
        // again after another person became current, the status bar tells
        // of the row selected.
        list->sortBy(0);
        list->sortBy(0);
        islands->trigger();
        list = qobject_cast<kinmap::gui::IslandListView*>(window.viewWidget(kinmap::reportView));
        QCOMPARE(list->model()->data(list->model()->index(0, 0)).toString().trimmed(), QStringLiteral("2"));
        QCOMPARE(list->currentIndex().row(), 0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(window.statusText(0), QStringLiteral("Island nr.2 of 2"));
        window.session().shell.currentPerson = 2; // the first person of no island
        window.showView(kinmap::reportView);
        list = qobject_cast<kinmap::gui::IslandListView*>(window.viewWidget(kinmap::reportView));
        QCOMPARE(window.statusText(0), QStringLiteral("Island nr.%1 of 2").arg(list->currentIndex().row() + 1));

        // COUNT: the menu, its dialog's mode, the table in the Report tab.
        QStringList menus;
        for (QAction* menu : window.menuBar()->actions())
            if (menu->isVisible())
                menus << menu->text();
        QVERIFY(menus.contains(QStringLiteral("C&OUNT")));
        dialogs.countFilters.enqueue("Ber");
        window.action(kinmap::cmdCountSurnames)->trigger();
        QCOMPARE(dialogs.countModes, QList<int>{1});
        QCOMPARE(viewText(window, kinmap::reportView), QStringLiteral("\nCount\tSurname\n     2\tBerg\n\n     2 \tTotal "));
        QCOMPARE(window.statusText(1), QStringLiteral("2 Surnames"));

        dialogs.searches.enqueue([](kinmap::SearchOptions& o) { o.place = "bo"; });
        window.action(kinmap::cmdSearchBirths)->trigger();
        QCOMPARE(dialogs.eventListTitles, QStringList{QStringLiteral("SEARCH BIRTHS")});
        QVERIFY(viewText(window, kinmap::reportView).contains(QStringLiteral("*        1850\t     3\tSolo Berg")));

        // Two presses of REPLACE in one opening of the dialog.
        dialogs.replacePresses.enqueue([](kinmap::ReplaceOptions& o) { o = {"Bonn", "Bern", 3}; });
        dialogs.replacePresses.enqueue([](kinmap::ReplaceOptions& o) { o = {"Berg", "", 1}; });
        window.action(kinmap::cmdFindReplace)->trigger();
        QCOMPARE(window.session().db.persons[3].birthPlace, std::string("Bern"));
        QCOMPARE(viewText(window, kinmap::reportView), QStringLiteral("Berg \t\nBerg \t\n2 replacements\n"));
        QCOMPARE(window.session().counts.replacementCount, 1);
        QVERIFY(window.action(kinmap::cmdUndo)->isEnabled());

        // Relationship from the list's context menu: the person clicked before and this one.
        window.tabs()->setCurrentIndex(kinmap::listView);
        auto* people = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
        QVERIFY(people);
        QCoreApplication::processEvents();
        for (const int row : {0, 1})
            QTest::mouseClick(people->viewport(), Qt::LeftButton, {}, people->visualRect(people->model()->index(row, 1)).center());
        for (QAction* entry : people->contextMenu()->actions())
            if (entry->text() == QStringLiteral("&Relationship"))
                entry->trigger();
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::reportView));
        QVERIFY(viewText(window, kinmap::reportView).contains(QStringLiteral(" is the ")));
    }

    void countAndReplaceDialogsKeepTheirSwitches()
    {
        bool onlySelection = false;
        {
            kinmap::gui::CountDialog dialog(2, "Bo", onlySelection);
            QCOMPARE(dialog.findChild<QLabel*>()->text(), QStringLiteral("Place names with:"));
            QCOMPARE(dialog.filterField()->text(), QStringLiteral("Bo"));
            dialog.findChild<QCheckBox*>()->click();
            dialog.reject();
        }
        QVERIFY(onlySelection); // the switch flips at once
        kinmap::gui::CountEventsDialog events("", 0);
        QTest::keyClicks(events.periodField(), QStringLiteral("-2x5"));
        QCOMPARE(events.period(), -25);

        kinmap::ReplaceOptions options{"a", "b", 0};
        int runs = 0;
        kinmap::gui::ReplaceDialog dialog(options, [&runs] { ++runs; });
        QCOMPARE(dialog.kindList()->count(), kinmap::ReplaceOptions::kindCount);
        dialog.kindList()->setCurrentIndex(7);
        QCOMPARE(options.kind, 7); // at once
        dialog.findField()->setText(QStringLiteral("Köln"));
        dialog.pressReplace();
        dialog.pressReplace();
        QCOMPARE(runs, 2);
        QCOMPARE(options.find, std::string("Köln"));
        QCOMPARE(dialog.result(), 0); // still open
    }

    void editingFromTheMenusWithUndo()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed("edit.ged", "0 HEAD\n0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n"
                                               "0 @I2@ INDI\n1 NAME Eva /Roth/\n1 SEX F\n0 TRLR\n"));
        QVERIFY(!window.action(kinmap::cmdUndo)->isEnabled());
        QCOMPARE(window.action(kinmap::cmdUndo)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        // Add spouse: the RIN prompt names an existing person.
        dialogs.rinAnswers.enqueue(QStringLiteral("2"));
        window.action(kinmap::cmdAddSpouse)->trigger();
        QCOMPARE(dialogs.rinTitles, QStringList{QStringLiteral("ADD SPOUSE TO: [1] Hans Berg")});
        QCOMPARE(window.session().db.persons[2].fams.count(), 1);
        QVERIFY(window.action(kinmap::cmdUndo)->isEnabled());
        QCOMPARE(window.action(kinmap::cmdUndo)->text(), QStringLiteral("&Undo Add spouse"));
        // Edit person through the dialog.
        dialogs.personAnswers.enqueue([](kinmap::PersonForm& form) {
            form.given = "Johann";
            return true;
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.action(kinmap::cmdEditPerson)->trigger();
        QCOMPARE(std::string(window.session().db.persons[1].given), std::string("Johann"));
        // The keys go on in the list, on the same row, after the dialog.
        QWidget* list = window.viewWidget(kinmap::listView);
        QTRY_VERIFY(list && list->hasFocus());
        window.action(kinmap::cmdUndo)->trigger();
        QCOMPARE(std::string(window.session().db.persons[1].given), std::string("Hans"));
        window.action(kinmap::cmdUndo)->trigger();
        QCOMPARE(window.session().db.persons[2].fams.count(), 0);
        QVERIFY(!window.action(kinmap::cmdUndo)->isEnabled());
        window.action(kinmap::cmdRedo)->trigger();
        QCOMPARE(window.session().db.persons[2].fams.count(), 1);
    }

    // The real, modal EDIT PERSON dialog: Enter in a field saves, and the
    // arrow keys go on in the list, from the same row, without a click.
    void theKeysGoOnInTheListAfterTheRealEditDialog()
    {
        struct RealEditDialog : ScriptedDialogs {
            bool editPerson(QWidget* parent, kinmap::PersonForm& form, kinmap::CompletionLists& completions) override
            {
                pressEnterWhenOpen();
                return kinmap::gui::Dialogs::editPerson(parent, form, completions);
            }
            static void pressEnterWhenOpen()
            {
                QTimer::singleShot(10, [] {
                    QWidget* dialog = QApplication::activeModalWidget();
                    if (!dialog)
                        return pressEnterWhenOpen();
                    auto* field = qobject_cast<QLineEdit*>(dialog->focusWidget());
                    QVERIFY(field);
                    field->setText(QStringLiteral("Johann"));
                    QTest::keyClick(field, Qt::Key_Return);
                });
            }
        } dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed("focus.ged", "0 HEAD\n0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n"
                                                "0 @I2@ INDI\n1 NAME Eva /Roth/\n1 SEX F\n0 TRLR\n"));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.tabs()->setCurrentIndex(kinmap::listView);
        window.viewWidget(kinmap::listView)->setFocus();
        QCOMPARE(window.session().shell.currentPerson, 1);

        window.action(kinmap::cmdEditPerson)->trigger();
        QCOMPARE(std::string(window.session().db.persons[1].given), std::string("Johann"));
        // The window's focus is the list's, whenever the window manager gives
        // the window back its activation (the offscreen platform does not).
        QCOMPARE(window.focusWidget(), window.viewWidget(kinmap::listView));
        window.activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), window.viewWidget(kinmap::listView));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(window.session().shell.currentPerson, 2);
    }

    // Paul's parents are first cousins: the pedigree lists their shared
    // grandparents twice, and a right click on such a row shows both lines.
    void pedigreeAndBranchesTabs()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed(
            "cousins.ged",
            "0 HEAD\n0 @I1@ INDI\n1 NAME Paul /Berg/\n1 SEX M\n1 FAMC @F1@\n"
            "0 @I2@ INDI\n1 NAME Fritz /Berg/\n1 SEX M\n1 FAMS @F1@\n1 FAMC @F2@\n"
            "0 @I3@ INDI\n1 NAME Maria /Lenz/\n1 SEX F\n1 FAMS @F1@\n1 FAMC @F3@\n"
            "0 @I4@ INDI\n1 NAME Karl /Berg/\n1 SEX M\n1 FAMS @F2@\n1 FAMC @F4@\n"
            "0 @I6@ INDI\n1 NAME Otto /Lenz/\n1 SEX M\n1 FAMS @F3@\n"
            "0 @I7@ INDI\n1 NAME Eva /Berg/\n1 SEX F\n1 FAMS @F3@\n1 FAMC @F4@\n"
            "0 @I8@ INDI\n1 NAME Johann /Berg/\n1 SEX M\n1 FAMS @F4@\n"
            "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I3@\n1 CHIL @I1@\n0 @F2@ FAM\n1 HUSB @I4@\n1 CHIL @I2@\n"
            "0 @F3@ FAM\n1 HUSB @I6@\n1 WIFE @I7@\n1 CHIL @I3@\n0 @F4@ FAM\n1 HUSB @I8@\n1 CHIL @I4@\n1 CHIL @I7@\n0 TRLR\n"));
        window.resize(900, 600);
        window.show();
        QVERIFY(!window.action(kinmap::cmdPrint)->isEnabled());
        window.tabs()->setCurrentIndex(kinmap::pedigreeView);
        auto* pedigree = qobject_cast<kinmap::gui::PedigreeView*>(window.viewWidget(kinmap::pedigreeView));
        QVERIFY(pedigree);
        QCOMPARE(window.statusText(1), QStringLiteral("8 Persons in 4 Generations, 1x implex"));
        QCOMPARE(pedigree->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Kekulé"));
        QVERIFY(window.action(kinmap::cmdPrint)->isEnabled());
        QCOMPARE(window.action(kinmap::cmdPrint)->shortcut(), QKeySequence(QKeySequence::Print));

        // A click makes the row's person current, the one before previous.
        const QRect fritz = pedigree->visualRect(pedigree->model()->index(1, 6));
        QTest::mouseClick(pedigree->viewport(), Qt::LeftButton, {}, fritz.center());
        QCOMPARE(window.session().shell.currentPerson, 2);
        QCOMPARE(window.session().shell.previousPerson, 1);
        // A double click edits the person.
        QString caption;
        dialogs.personAnswers.enqueue([&caption](kinmap::PersonForm& form) {
            caption = QString::fromStdString(form.caption);
            return false;
        });
        QTest::mouseDClick(pedigree->viewport(), Qt::LeftButton, {}, fritz.center());
        QCOMPARE(caption, QStringLiteral("EDIT PERSON: [2] Fritz Berg"));

        // Into a PDF file, page by page.
        const QString pdf = dir.filePath(QStringLiteral("pedigree.pdf"));
        dialogs.filesToSave.enqueue(pdf);
        window.runCommand(kinmap::cmdExportPdf);
        QCOMPARE(dialogs.filters.last(), QStringLiteral("PDF (*.pdf)"));
        QFile written(pdf);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF"));
        QVERIFY(bytes.contains("/Type /Page"));
        QVERIFY(dialogs.errors.isEmpty());

        // A right click on the implex row: the two lines side by side.
        window.session().shell.currentPerson = 1;
        window.showView(kinmap::pedigreeView);
        pedigree = qobject_cast<kinmap::gui::PedigreeView*>(window.viewWidget(kinmap::pedigreeView));
        const QRect implexRow = pedigree->visualRect(pedigree->model()->index(7, 6));
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, implexRow.center(), pedigree->viewport()->mapToGlobal(implexRow.center()));
        QCoreApplication::sendEvent(pedigree->viewport(), &rightClick);
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::reportView));
        QCOMPARE(window.statusText(0), QStringLiteral("implex"));
        QCOMPARE(window.statusText(1), QStringLiteral("[2]  Fritz Berg and [3]  Maria Lenz have common ancestors"));
        auto* left = window.viewWidget(kinmap::reportView)->findChild<QListWidget*>(QStringLiteral("implexLeft"));
        auto* right = window.viewWidget(kinmap::reportView)->findChild<QListWidget*>(QStringLiteral("implexRight"));
        QVERIFY(left && right);
        QCOMPARE(left->item(0)->text(), QStringLiteral("[8]  Johann Berg "));
        QCOMPARE(right->item(right->count() - 1)->text(), QStringLiteral("        [2]  Fritz Berg "));

        // Branches: headings collapsed but the current person's, its item selected.
        QCOMPARE(window.session().shell.currentPerson, 8); // the right click was a click
        window.session().shell.currentPerson = 1;
        window.tabs()->setCurrentIndex(kinmap::branchesView);
        auto* branches = qobject_cast<kinmap::gui::BranchesView*>(window.viewWidget(kinmap::branchesView));
        QVERIFY(branches);
        QCOMPARE(window.statusText(0), QStringLiteral("NAME: Berg"));
        QCOMPARE(kinmap::gui::BranchesView::personOf(branches->currentItem()), 1);
        QVERIFY(branches->currentItem()->text(0).startsWith(QStringLiteral("[1] Paul Berg")));
        // Typing finds a name after the RIN; the selection makes it current.
        branches->keyboardSearch(QStringLiteral("eva"));
        QCOMPARE(kinmap::gui::BranchesView::personOf(branches->currentItem()), 7);
        QCOMPARE(window.session().shell.currentPerson, 7);
        QVERIFY(window.action(kinmap::cmdExportPdf)->isEnabled());
        window.tabs()->setCurrentIndex(kinmap::listView);
        QVERIFY(!window.action(kinmap::cmdExportPdf)->isEnabled());
    }

    // The Family tab: three marriages, two parents' families (the first
    // with only a mother), each click and menu through the editing commands.
    void familyTabIsAnEditingSurface()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed(
            "family-tab.ged",
            "0 HEAD\n0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 BIRT\n2 DATE 3 MAR 1870\n2 PLAC Ulm\n"
            "1 FAMS @F1@\n1 FAMS @F2@\n1 FAMS @F3@\n1 FAMC @F4@\n1 FAMC @F5@\n"
            "0 @I2@ INDI\n1 NAME Eva /Roth/\n1 SEX F\n1 FAMS @F1@\n"
            "0 @I3@ INDI\n1 NAME Kurt /Berg/\n1 SEX M\n1 CHR\n2 DATE 1895\n1 FAMC @F1@\n1 FAMS @F6@\n"
            "0 @I5@ INDI\n1 NAME Lea /Lenz/\n1 SEX F\n1 FAMS @F2@\n"
            "0 @I6@ INDI\n1 NAME Ida /Berg/\n1 SEX F\n1 FAMC @F2@\n"
            "0 @I7@ INDI\n1 NAME Ute /Kuhn/\n1 SEX F\n1 FAMS @F3@\n"
            "0 @I8@ INDI\n1 NAME Maria /Berg/\n1 SEX F\n1 FAMS @F4@\n"
            "0 @I9@ INDI\n1 NAME Otto /Berg/\n1 SEX M\n1 FAMS @F5@\n"
            "0 @I11@ INDI\n1 NAME Anna /Ott/\n1 SEX F\n1 FAMS @F6@\n"
            "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n"
            "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I5@\n1 MARR\n2 DATE 1900\n1 CHIL @I6@\n"
            "0 @F3@ FAM\n1 HUSB @I1@\n1 WIFE @I7@\n0 @F4@ FAM\n1 WIFE @I8@\n1 CHIL @I1@\n"
            "0 @F5@ FAM\n1 HUSB @I9@\n1 CHIL @I1@\n0 @F6@ FAM\n1 HUSB @I3@\n1 WIFE @I11@\n0 TRLR\n"));
        window.resize(900, 640);
        window.show();
        window.session().shell.currentPerson = 1;
        window.tabs()->setCurrentIndex(kinmap::familyView);
        auto tab = [&] { return qobject_cast<kinmap::gui::FamilyView*>(window.viewWidget(kinmap::familyView)); };
        QVERIFY(tab());
        QCOMPARE(tab()->box(1)->text(), QStringLiteral(" Hans Berg \n *3 MAR 1870 - Ulm\n "));
        QVERIFY(tab()->box(kinmap::emptyFather)); // the first parents' family has only a mother
        QVERIFY(tab()->box(8));
        QCOMPARE(window.statusText(2), QStringLiteral("RIN: 1   MRIN:1"));
        QTreeWidgetItem* kurt = tab()->childrenList()->topLevelItem(0);
        QCOMPARE(kurt->text(0) + QLatin1Char('|') + kurt->text(1) + QLatin1Char('|') + kurt->text(3),
                 QStringLiteral("1  Kurt Berg|~1895|."));

        // The marriage button goes round the three marriages, the list follows.
        QStringList marriages;
        for (int i = 0; i < 4; ++i) {
            marriages << tab()->marriageButton()->text() + QLatin1Char('/') +
                             QString::number(tab()->childrenList()->topLevelItemCount());
            tab()->marriageButton()->click();
        }
        QCOMPARE(marriages, (QStringList{"1.Marriage: /1", "2.Marriage: 1900/1", "3.Marriage: /0", "1.Marriage: /1"}));
        // "Weitere Eltern" shows the other parents' family, and back.
        QVERIFY(tab()->parentsButton());
        tab()->parentsButton()->click();
        QVERIFY(tab()->box(9) && tab()->box(kinmap::emptyMother));
        // Cancelling the dialog of an empty place creates nobody.
        const int32_t highest = window.session().db.highestRin;
        dialogs.personAnswers.enqueue([](kinmap::PersonForm&) { return false; });
        QTest::mouseClick(tab()->box(kinmap::emptyMother), Qt::LeftButton);
        QCOMPARE(window.session().db.highestRin, highest);
        tab()->parentsButton()->click();
        // The missing father joins the shown family of the mother alone.
        dialogs.personAnswers.enqueue([](kinmap::PersonForm& form) {
            form.given = "Franz";
            return true;
        });
        QTest::mouseClick(tab()->box(kinmap::emptyFather), Qt::LeftButton);
        const int32_t franz = window.session().db.highestRin;
        QCOMPARE(window.session().db.families[4].husband, franz);
        QVERIFY(tab()->box(franz));
        QCOMPARE(window.action(kinmap::cmdUndo)->text(), QStringLiteral("&Undo Add new father"));

        // Enter on the spouse's box moves there; a click on one's own box
        // edits, and the previous person stays another one.
        tab()->box(5)->setFocus(); // the second marriage's wife: the button went round once more
        QTest::keyClick(tab()->box(5), Qt::Key_Return);
        QCOMPARE(window.session().shell.currentPerson, 5);
        QCOMPARE(window.session().shell.previousPerson, 1);
        QString caption;
        dialogs.personAnswers.enqueue([&caption](kinmap::PersonForm& form) {
            caption = QString::fromStdString(form.caption);
            return false;
        });
        QTest::mouseClick(tab()->box(5), Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("PERSON BEARBEITEN: [5] Lea Lenz"));
        QCOMPARE(window.session().shell.previousPerson, 1);

        // Other Parents from the children list, undone with Ctrl+Z.
        QTest::mouseClick(tab()->box(1), Qt::LeftButton); // the husband
        QCOMPARE(window.session().shell.currentPerson, 1);
        dialogs.rinAnswers.enqueue(QStringLiteral("2"));
        QMenu* menu = tab()->childMenu(3);
        QCOMPARE(menu->objectName(), QStringLiteral("Edit Context Menu"));
        menu->actions().value(1)->trigger(); // &Other Parents
        QCOMPARE(dialogs.rinTitles.last(), QStringLiteral("ELTERN ZUORDNEN"));
        QVERIFY(window.session().db.families[2].children.contains(3));
        QVERIFY(!window.session().db.families[1].children.contains(3));
        window.action(kinmap::cmdUndo)->trigger();
        QVERIFY(window.session().db.families[1].children.contains(3));
        QVERIFY(!window.session().db.families[2].children.contains(3));
        // A child's click centres the tab on it, with its own parents.
        QTest::mouseClick(tab()->childrenList()->viewport(), Qt::LeftButton, {},
                          tab()->childrenList()->visualItemRect(tab()->childrenList()->topLevelItem(0)).center());
        QCOMPARE(window.session().shell.currentPerson, 3);
        QVERIFY(tab()->box(1) && tab()->box(2) && tab()->box(11));
    }

    // The Tree and Hourglass drawings as a user drives them.
    void treeAndHourglassDrawings()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed(
            "drawings.ged",
            "0 HEAD\n0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 BIRT\n2 DATE 1870\n1 FAMC @F1@\n1 FAMS @F2@\n1 FAMS @F3@\n"
            "0 @I2@ INDI\n1 NAME Otto /Berg/\n1 SEX M\n1 FAMS @F1@\n0 @I3@ INDI\n1 NAME Anna /Roth/\n1 SEX F\n1 FAMS @F1@\n"
            "0 @I4@ INDI\n1 NAME Eva /Lenz/\n1 SEX F\n1 FAMS @F2@\n0 @I5@ INDI\n1 NAME Ida /Kuhn/\n1 SEX F\n1 FAMS @F3@\n"
            "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I3@\n1 CHIL @I1@\n0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I4@\n"
            "0 @F3@ FAM\n1 HUSB @I1@\n1 WIFE @I5@\n0 TRLR\n"));
        window.resize(1000, 700);
        window.show();
        window.session().shell.currentPerson = 1;
        window.tabs()->setCurrentIndex(kinmap::treeView);
        auto chart = [&](int view) { return qobject_cast<kinmap::gui::ChartView*>(window.viewWidget(view)); };
        QVERIFY(chart(kinmap::treeView));
        const int proband = chart(kinmap::treeView)->chart().boxOf(1);
        QCOMPARE(chart(kinmap::treeView)->focusedBox(), proband);
        QCOMPARE(chart(kinmap::treeView)->item(proband)->toolTip(), QStringLiteral("[1]\nHans Berg\n*1870 \nSpouse:\n Eva Lenz\n Ida Kuhn"));
        QVERIFY(window.action(kinmap::cmdExportImage)->isEnabled());

        // Arrow right reaches the father, Enter makes him the proband, Backspace goes back.
        QTest::keyClick(chart(kinmap::treeView)->graphics(), Qt::Key_Right);
        const int father = chart(kinmap::treeView)->focusedBox();
        QCOMPARE(chart(kinmap::treeView)->chart().boxes[static_cast<size_t>(father)].id, 2);
        QTest::keyClick(chart(kinmap::treeView)->graphics(), Qt::Key_Down);
        QCOMPARE(chart(kinmap::treeView)->chart().boxes[static_cast<size_t>(chart(kinmap::treeView)->focusedBox())].id, 3);
        QTest::keyClick(chart(kinmap::treeView)->graphics(), Qt::Key_Up);
        QTest::keyClick(chart(kinmap::treeView)->graphics(), Qt::Key_Return);
        QCOMPARE(window.session().shell.currentPerson, 2);
        QCOMPARE(window.session().shell.previousPerson, 1);
        QCOMPARE(chart(kinmap::treeView)->chart().proband, 2);
        QTest::keyClick(chart(kinmap::treeView)->graphics(), Qt::Key_Backspace);
        QCOMPARE(window.session().shell.currentPerson, 1);

        // Zoom in, and back to the whole drawing.
        auto* tree = chart(kinmap::treeView);
        const double before = tree->zoom();
        QTest::keyClick(tree->graphics(), Qt::Key_Plus, Qt::ControlModifier);
        QVERIFY(tree->zoom() > before);

        // A placeholder's dialog cancelled adds nobody.
        const int32_t highest = window.session().db.highestRin;
        const int placeholder = [&] {
            for (size_t i = 0; i < tree->chart().boxes.size(); ++i)
                if (tree->chart().boxes[i].id == kinmap::missingFather)
                    return static_cast<int>(i);
            return -1;
        }();
        QVERIFY(placeholder >= 0);
        dialogs.personAnswers.enqueue([](kinmap::PersonForm&) { return false; });
        QTest::mouseClick(tree->graphics()->viewport(), Qt::LeftButton, {},
                          tree->graphics()->mapFromScene(tree->item(placeholder)->sceneBoundingRect().center()));
        QVERIFY(dialogs.personAnswers.isEmpty()); // the dialog was asked
        QCOMPARE(window.session().db.highestRin, highest);

        // The drawing as SVG names the proband; as PDF it is a PDF.
        const QString svg = dir.filePath(QStringLiteral("tree.svg"));
        QVERIFY(chart(kinmap::treeView)->saveImage(svg));
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        const QByteArray drawing = svgFile.readAll();
        QVERIFY(drawing.contains("<svg") && drawing.contains("Hans Berg"));
        const QString pdf = dir.filePath(QStringLiteral("tree.pdf"));
        dialogs.filesToSave.enqueue(pdf);
        window.runCommand(kinmap::cmdExportPdf);
        QFile pdfFile(pdf);
        QVERIFY(pdfFile.open(QIODevice::ReadOnly));
        QVERIFY(pdfFile.readAll().startsWith("%PDF-"));

        // The hourglass shown again for the same person: the next marriage.
        QStringList spouses;
        for (int i = 0; i < 3; ++i) {
            window.tabs()->setCurrentIndex(kinmap::hourglassView);
            spouses << QString::number(chart(kinmap::hourglassView)->chart().spouse);
            window.tabs()->setCurrentIndex(kinmap::listView);
        }
        QCOMPARE(spouses, (QStringList{"4", "5", "4"}));
        QCOMPARE(window.statusText(2), QStringLiteral("RIN: 1"));
    }

    // SEARCH SOURCE lists, sorts, jumps and shows the whole texts; its
    // choice ends ADD SOURCE; Auto-Source asks, then writes the file.
    void sourcesAreBrowsedAndCited()
    {
        const QString path = writeGed("sources.ged", "0 HEAD\n1 CHAR UTF-8\n0 @S2@ SOUR\n1 TITL Zivilstand\n1 AUTH Amt\n"
                                                     "0 @S10@ SOUR\n1 TITL Altes Buch\n2 CONT zweiter Teil\n"
                                                     "0 @I1@ INDI\n1 NAME Hans /Berg/\n0 @I2@ INDI\n1 NAME Eva /Roth/\n0 TRLR\n");
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(path);
        const kinmap::SourceList list = kinmap::readSources(window.session().gedFile);
        kinmap::gui::SearchSourceDialog browser(list);
        QCOMPARE(browser.table()->rowCount(), 2);
        QCOMPARE(browser.table()->item(0, 1)->text(), QStringLiteral("Zivilstand"));
        browser.table()->sortByColumn(1, Qt::AscendingOrder); // a click on "Titel"
        QCOMPARE(browser.table()->item(0, 0)->text(), QStringLiteral("@S10@"));
        QTest::keyClicks(browser.sourceField(), QStringLiteral("2"));
        QCOMPARE(browser.chosen(), QStringLiteral("@S2@"));
        QCOMPARE(browser.details()->toPlainText(), QStringLiteral("SOUR: @S2@\nTITL: Zivilstand\nAUTH: Amt\n"));
        browser.sourceField()->setText(QString());
        QTest::keyClicks(browser.sourceField(), QStringLiteral("@S10@"));
        QVERIFY(browser.details()->toPlainText().contains(QStringLiteral("TITL: Altes Buch\nzweiter Teil")));

        // Search in ADD SOURCE: the source picked ends the dialog with it.
        kinmap::gui::AddSourceDialog add(QString(), list);
        QTimer::singleShot(0, [] {
            auto* picker = qobject_cast<kinmap::gui::SearchSourceDialog*>(QApplication::activeModalWidget());
            QVERIFY(picker);
            picker->table()->setCurrentCell(1, 0);
            picker->accept();
        });
        add.search();
        QCOMPARE(add.sourceField()->text(), QStringLiteral("@S10@"));
        QCOMPARE(add.result(), int(QDialog::Accepted));

        // Auto-Source: nobody selected, then the question, then the file.
        window.runCommand(kinmap::cmdAutoSource);
        QCOMPARE(dialogs.messages.value(0).text, QStringLiteral("Please make a selection of persons first!"));
        window.runCommand(kinmap::cmdSelectAll);
        dialogs.sourceAnswers.enqueue("@S2@");
        dialogs.answers.enqueue(true);
        window.runCommand(kinmap::cmdAutoSource);
        QCOMPARE(dialogs.offeredSources, 2);
        QCOMPARE(dialogs.questions.last().title, QStringLiteral("ATTENTION!"));
        QVERIFY(dialogs.questions.last().text.contains(QStringLiteral("1 SOUR @S2@ to 2 selected persons")));
        QCOMPARE(window.statusText(1), QStringLiteral("2 persons got the source"));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().count("1 SOUR @S2@\n"), 2);
    }

    void outputToFileWritesWhatTheTabShows()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed("out.ged", family));
        // The files as a spreadsheet reads them: UTF-8 after a byte order mark.
        auto written = [&](const QString& name) {
            QFile file(dir.filePath(name));
            file.open(QIODevice::ReadOnly);
            const QByteArray bytes = file.readAll();
            return bytes.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(bytes.mid(3)) : QStringLiteral("<no mark>");
        };
        // List: the template dialog first; cancelled, nothing more is asked.
        window.tabs()->setCurrentIndex(kinmap::listView);
        window.runCommand(kinmap::cmdOutputToFile);
        QVERIFY(dialogs.filters.isEmpty());
        dialogs.templates.enqueue("SEX");
        dialogs.filesToSave.enqueue(dir.filePath("list.csv"));
        window.runCommand(kinmap::cmdOutputToFile);
        QCOMPARE(dialogs.filters.last(), QStringLiteral("Listen Ausgabe (*.txt);;CSV (*.csv)"));
        QCOMPARE(written("list.csv"), QStringLiteral("RIN,SURN,GIVN,1 SEX\r\n1,Müller,Hans,M\r\n2,Roth,Eva,F\r\n"));
        QCOMPARE(window.statusText(0), QStringLiteral("list.csv output"));
        // Family: every person of the list, in the family table.
        window.tabs()->setCurrentIndex(kinmap::familyView);
        dialogs.filesToSave.enqueue(dir.filePath("family.txt"));
        window.runCommand(kinmap::cmdOutputToFile);
        QVERIFY(written("family.txt").startsWith(QStringLiteral("RIN\tNAME\tBIRTH\t")));
        QVERIFY(written("family.txt").contains(QStringLiteral("\r\n2\tRoth, Eva") + QStringLiteral("\t").repeated(13) +
                                               QStringLiteral("Müller, Hans\t\t\t\t50% sure\r\n")));
        QCOMPARE(window.statusText(0), QStringLiteral("family.txt ausgeben"));
        // Pedigree: its table, text only.
        window.tabs()->setCurrentIndex(kinmap::pedigreeView);
        dialogs.filesToSave.enqueue(dir.filePath("pedigree.txt"));
        window.runCommand(kinmap::cmdOutputToFile);
        QCOMPARE(dialogs.filters.last(), QStringLiteral("Listen Ausgabe (*.txt)"));
        QVERIFY(written("pedigree.txt").startsWith(QStringLiteral("Line\tup\tdown\tRIN")));
        // Report: the islands list after Islands.
        window.runCommand(kinmap::cmdIslands);
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::reportView));
        dialogs.filesToSave.enqueue(dir.filePath("islands.txt"));
        window.runCommand(kinmap::cmdOutputToFile);
        QCOMPARE(written("islands.txt"), QString::fromUtf8(kinmap::asSpreadsheetText(
                                                   kinmap::islandListText(window.session().db, window.session().islands)).substr(3)));
        QVERIFY(written("islands.txt").contains(QStringLiteral("\r\n")));
        // Branches has nothing to write.
        window.tabs()->setCurrentIndex(kinmap::branchesView);
        window.runCommand(kinmap::cmdOutputToFile);
        QCOMPARE(dialogs.errors.last(), QStringLiteral("No Output to File possible for View 'Branches'!"));

        // The template dialog shows what it reads.
        kinmap::gui::OutputTemplateDialog templates;
        QVERIFY(templates.columns()->text().startsWith(QStringLiteral("Columns: RIN, SURN, GIVN, 1 BIRT, 2 DATE, 2 SOUR, 3 PAGE")));
        templates.field()->setPlainText(QStringLiteral("date birt foo"));
        QCOMPARE(templates.columns()->text(), QStringLiteral("Columns: RIN, SURN, GIVN, 1 BIRT\nNot read here: DATE, FOO"));
    }

    void inputFromFileShowsItsChangesFirst()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        const QString ged = writeGed("in.ged", family);
        window.importFile(ged);
        const QString table = dir.filePath("in.txt");
        QFile file(table);
        file.open(QIODevice::WriteOnly);
        file.write("RIN\tSURN\tGIVN\t1 OCCU\r\n2\tRoth\tEva\tMagd\r\n7\tX\tY\tZ\r\n");
        file.close();
        // No at the question: no file dialog.
        window.runCommand(kinmap::cmdInputFromFile);
        QCOMPARE(dialogs.questions.last().title, QStringLiteral("DATEN EINLESEN"));
        QVERIFY(dialogs.filters.isEmpty());
        // Cancel in the preview: the file stays as it was.
        dialogs.answers.enqueue(true);
        dialogs.filesToOpen.enqueue(table);
        window.runCommand(kinmap::cmdInputFromFile);
        QCOMPARE(dialogs.inputPreviews.value(0),
                 QStringLiteral("RIN 2 Roth, Eva:\r\n  + 1 OCCU Magd\r\n1 skipped:\r\n  line 3, \"7\": is no RIN of a person of in.ged\r\n"));
        QFile gedFile(ged);
        gedFile.open(QIODevice::ReadOnly);
        QCOMPARE(gedFile.readAll(), family);
        gedFile.close();
        // Apply: the file has the line, the data is read from it again and
        // the report says what changed.
        dialogs.answers.enqueue(true);
        dialogs.filesToOpen.enqueue(table);
        dialogs.inputAnswers.enqueue(true);
        window.runCommand(kinmap::cmdInputFromFile);
        gedFile.open(QIODevice::ReadOnly);
        QVERIFY(gedFile.readAll().contains("1 SEX F\r\n1 OCCU Magd\r\n1 FAMS @F1@\r\n"));
        QCOMPARE(dialogs.cursorsWhileAsked.last(), Qt::ArrowCursor); // not the wait cursor of the command
        QCOMPARE(window.tabs()->currentIndex(), int(kinmap::reportView));
        QVERIFY(viewText(window, kinmap::reportView).contains(QStringLiteral("in.txt input completed: 1 lines of 1 persons changed in in.ged")));
        window.session().shell.currentPerson = 2;
        window.tabs()->setCurrentIndex(kinmap::personView);
        QVERIFY(viewText(window, kinmap::personView).contains(QStringLiteral("1 OCCU Magd")));

        // The real preview: a person with its lines, then the rows skipped.
        std::string reason;
        const kinmap::InputPlan plan = kinmap::planInput(
            window.session(), window.session().gedFile,
            kinmap::readTable("RIN\tSURN\tGIVN\t1 OCCU\r\n1\tMüller\tHans\tBauer\r\n9\tA\tB\tC\r\n"), reason);
        kinmap::gui::InputPreviewDialog preview(window.session().db, plan, QStringLiteral("in.ged"));
        QCOMPARE(preview.summary()->text(), QStringLiteral("1 lines of 1 persons will change in in.ged. 1 rows or cells are skipped."));
        QCOMPARE(preview.changes()->topLevelItemCount(), 2);
        QCOMPARE(preview.changes()->topLevelItem(0)->text(0), QStringLiteral("RIN 1 Müller, Hans"));
        QCOMPARE(preview.changes()->topLevelItem(0)->child(0)->text(1), QStringLiteral("1 OCCU Bauer"));
        QCOMPARE(preview.changes()->topLevelItem(1)->child(0)->text(1), QStringLiteral("is no RIN of a person of in.ged"));
    }

    void theEditPersonDialogMovesCompletesAndReadsDates()
    {
        kinmap::PersonForm form;
        form.caption = "EDIT PERSON: [1] Hans Berg";
        form.sex = 'U';
        form.given = "Hans";
        form.surname = "Berg";
        form.dates[kinmap::formChristening] = "3 FEB 1850";
        kinmap::CompletionLists completions;
        completions.learnPlace("Berlin");
        completions.learnPlace("Bonn");
        completions.learnGiven('M', "Johann");
        kinmap::gui::EditPersonDialog dialog(form, completions);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QCOMPARE(dialog.field(1)->text(), QStringLiteral("U"));
        // Up and Down as in a grid: from the surname down to the birth date,
        // from the marriage place down to the birth place.
        dialog.field(3)->setFocus();
        QTest::keyClick(dialog.field(3), Qt::Key_Down);
        QVERIFY(dialog.field(4)->hasFocus());
        dialog.field(13)->setFocus();
        QTest::keyClick(dialog.field(13), Qt::Key_Down);
        QVERIFY(dialog.field(5)->hasFocus());
        // A place completes from the latest entry that begins with the typing.
        dialog.field(5)->clear();
        QTest::keyClicks(dialog.field(5), QStringLiteral("b"));
        QCOMPARE(dialog.field(5)->text(), QStringLiteral("Bonn"));
        QCOMPARE(dialog.field(5)->selectedText(), QStringLiteral("onn"));
        QTest::keyClicks(dialog.field(5), QStringLiteral("er"));
        QCOMPARE(dialog.field(5)->text(), QStringLiteral("Berlin"));
        // A given name's last word completes, with a capital.
        dialog.field(2)->setFocus();
        dialog.field(2)->setText(QStringLiteral("Hans "));
        dialog.field(2)->setCursorPosition(5);
        QTest::keyClicks(dialog.field(2), QStringLiteral("jo"));
        QCOMPARE(dialog.field(2)->text(), QStringLiteral("Hans Johann "));
        // The death date takes the year from the christening above when left.
        dialog.field(8)->setFocus();
        QTest::keyClicks(dialog.field(8), QStringLiteral("12 mar"));
        dialog.field(10)->setFocus();
        QCOMPARE(dialog.field(8)->text(), QStringLiteral("12 MAR 1850"));
        // The sex field takes one letter; m is male.
        dialog.field(1)->setFocus();
        QTest::keyClick(dialog.field(1), Qt::Key_M);
        QCOMPARE(dialog.field(1)->text(), QStringLiteral("M"));
        QVERIFY(dialog.field(2)->hasFocus());
        // Enter in a field leaves it and saves.
        dialog.field(8)->setFocus();
        dialog.field(8)->setText(QStringLiteral("12 mar"));
        QTest::keyClick(dialog.field(8), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(form.sex, 'M');
        QCOMPARE(form.dates[kinmap::formDeath], std::string("12 MAR 1850"));
        QVERIFY(form.dateEdited[kinmap::formDeath]);
        QVERIFY(!form.dateEdited[kinmap::formChristening]);
    }

    void searchRinFindsByNumberAndName()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed("rin.ged", "0 HEAD\n0 @I1@ INDI\n1 NAME Jakob /Meier/\n1 BIRT\n2 DATE 1850\n"
                                              "0 @I2@ INDI\n1 NAME Anna /Meier/\n0 @I3@ INDI\n1 NAME Karl /Adler/\n0 TRLR\n"));
        kinmap::gui::SearchRinDialog dialog(window.session());
        dialog.searchField()->setText(QStringLiteral("3"));
        QCOMPARE(dialog.chosenRin(), 3);
        dialog.searchField()->setText(QStringLiteral("mei"));
        QCOMPARE(dialog.chosenRin(), 2); // Meier, Anna comes before Meier, Jakob
        dialog.searchField()->setText(QStringLiteral("meier, ja"));
        QCOMPARE(dialog.chosenRin(), 1);
        QVERIFY(dialog.report().startsWith(QStringLiteral("RIN: 1\nJakob Meier\nSex:  \n\n* 1850  \n")));
        // The prompt is wide enough for its title.
        const QString title = QStringLiteral("ADD CHILD TO: [12345] Maximilian Alexander von Hohenberg-Lichtenstein");
        kinmap::gui::RinPromptDialog prompt(window.session(), title);
        QVERIFY(prompt.minimumWidth() > prompt.fontMetrics().horizontalAdvance(title));
    }

    void newEmptiesTheDatabase()
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.importFile(writeGed("new.ged", family));
        window.action(kinmap::cmdNew)->trigger();
        QCOMPARE(window.session().db.highestRin, 0);
        QCOMPARE(window.statusText(0), QStringLiteral("Use Menu:  EDIT / Add New Person"));
        QCOMPARE(window.windowTitle(), QStringLiteral("kinmap"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
