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
    parser.addPositionalArgument(QStringLiteral("file.ged"), QStringLiteral("GED file to import at start"));
    parser.process(app);

    kinmap::gui::Dialogs dialogs;
    kinmap::gui::MainWindow window(dialogs);
    window.show();
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty())
        QTimer::singleShot(0, &window, [&window, path = files.first()] { window.importFile(path); });
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
