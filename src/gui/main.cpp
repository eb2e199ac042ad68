// kinmap: the desktop window. A GED file named on the command line is
// imported at once; --render draws the Tree or Hourglass of a person into a
// picture without showing a window.
#include "ChartView.h"
#include "Dialogs.h"
#include "MainWindow.h"
#include "ScreenText.h"

#include "app/Session.h"

#include <QApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>
#include <string_view>

namespace {

// What would be a message box goes to stderr: a drawing run asks nobody.
class TerminalDialogs : public kinmap::gui::Dialogs {
public:
    void errorBox(QWidget*, const QString& text) override { std::fprintf(stderr, "kinmap: %s\n", qPrintable(text)); }
    void messageBox(QWidget*, const QString&, const QString& text, QMessageBox::Icon) override
    {
        std::fprintf(stderr, "kinmap: %s\n", qPrintable(text));
    }
    bool askYesNo(QWidget*, const QString&, const QString&, QMessageBox::Icon) override { return false; }
};

// kinmap FILE --render tree|hourglass --rin N --output PICTURE [--size WxH] [--generations G]
int render(const QCommandLineParser& parser, const QString& kind, const QString& file)
{
    const QString output = parser.value(QStringLiteral("output"));
    const QStringList size = parser.value(QStringLiteral("size")).split(QLatin1Char('x'));
    const int width = size.value(0).toInt(), height = size.value(1).toInt();
    bool numbers = true;
    const int rin = parser.value(QStringLiteral("rin")).toInt(&numbers);
    if ((kind != QLatin1String("tree") && kind != QLatin1String("hourglass")) || output.isEmpty() || !numbers ||
        size.size() != 2 || width < 100 || height < 100 || file.isEmpty()) {
        std::fprintf(stderr, "usage: kinmap FILE --render tree|hourglass --rin N --output PICTURE.png|svg|pdf "
                             "[--size WxH] [--generations 3-8]\n");
        return 2;
    }
    TerminalDialogs dialogs;
    kinmap::gui::MainWindow window(dialogs);
    window.importFile(file);
    kinmap::Session& session = window.session();
    if (!session.db.isPerson(rin)) {
        std::fprintf(stderr, "kinmap: %s has no person with RIN %d\n", qPrintable(file), rin);
        return 1;
    }
    session.shell.currentPerson = rin;
    const kinmap::ChartKind chartKind = kind == QLatin1String("tree") ? kinmap::ChartKind::tree : kinmap::ChartKind::hourglass;
    const int generations = parser.isSet(QStringLiteral("generations")) ? parser.value(QStringLiteral("generations")).toInt()
                                                                        : kinmap::gui::ChartView::savedGenerations(chartKind);
    kinmap::gui::ChartView chart(session, chartKind, QSize(width, height), generations);
    chart.resize(width, height);
    bool written = false;
    if (output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        QPdfWriter writer(output);
        writer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        written = chart.print(writer);
    } else {
        written = chart.saveImage(output);
    }
    if (!written) {
        std::fprintf(stderr, "kinmap: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A drawing needs no screen.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--render" && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
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
    parser.addOption({QStringLiteral("render"), QStringLiteral("Draw the Tree or the Hourglass into a picture and quit."),
                      QStringLiteral("tree|hourglass")});
    parser.addOption({QStringLiteral("rin"), QStringLiteral("The person the drawing is of."), QStringLiteral("N")});
    parser.addOption({QStringLiteral("output"), QStringLiteral("The picture: .png, .svg or .pdf."), QStringLiteral("file")});
    parser.addOption({QStringLiteral("size"), QStringLiteral("The drawing's size in pixels (default 1200x800)."),
                      QStringLiteral("WxH"), QStringLiteral("1200x800")});
    parser.addOption({QStringLiteral("generations"), QStringLiteral("Generations drawn, 3 to 8."), QStringLiteral("G")});
    parser.addPositionalArgument(QStringLiteral("file.ged"), QStringLiteral("GED file to import at start"));
    parser.process(app);
    if (parser.isSet(QStringLiteral("render")))
        return render(parser, parser.value(QStringLiteral("render")), parser.positionalArguments().value(0));

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
