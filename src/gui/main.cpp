// kinmap: the desktop window. A GED file named on the command line is
// imported at once.
#include "Dialogs.h"
#include "MainWindow.h"

#include "app/Session.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("kinmap"));
    QApplication::setApplicationName(QStringLiteral("kinmap"));
    QApplication::setApplicationVersion(QString::fromLatin1(kinmap::programVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor and checker for genealogical data in GED files"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a picture of the window once it is shown, then quit."),
                                        QStringLiteral("file.png"));
    parser.addOption(screenshot);
    const QCommandLineOption person(QStringLiteral("person"), QStringLiteral("Make RIN the current person after the import."),
                                    QStringLiteral("RIN"));
    parser.addOption(person);
    const QCommandLineOption view(QStringLiteral("view"),
                                  QStringLiteral("Show the tab of this number after the import (0 List ... 8 Report)."),
                                  QStringLiteral("tab"));
    parser.addOption(view);
    parser.addPositionalArgument(QStringLiteral("file.ged"), QStringLiteral("GED file to import at start"));
    parser.process(app);

    kinmap::gui::Dialogs dialogs;
    kinmap::gui::MainWindow window(dialogs);
    window.show();
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty())
        QTimer::singleShot(0, &window, [&] {
            window.importFile(files.first());
            if (parser.isSet(person))
                window.session().shell.currentPerson = parser.value(person).toInt();
            if (parser.isSet(view))
                window.tabs()->setCurrentIndex(parser.value(view).toInt());
        });
    if (parser.isSet(screenshot)) {
        QTimer::singleShot(800, &window, [&window, path = parser.value(screenshot)] {
            if (window.grab().save(path)) {
                QApplication::quit();
                return;
            }
            std::fprintf(stderr, "kinmap: cannot write the screenshot %s\n", qPrintable(path));
            QApplication::exit(1);
        });
    }
    return QApplication::exec();
}
