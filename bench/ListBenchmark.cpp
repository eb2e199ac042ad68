// Times the List tab of a large file in the real window, offscreen: from
// showing the tab to the first painted rows, the background sort of every
// column's order, and column clicks afterwards.
//
//   QT_QPA_PLATFORM=offscreen kinmap-list-benchmark FILE.ged
#include "Dialogs.h"
#include "MainWindow.h"
#include "PersonListView.h"

#include "app/Shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTest>

#include <cstdio>

namespace {

double milliseconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        fputs("usage: kinmap-list-benchmark FILE.ged\n", stderr);
        return 2;
    }
    kinmap::gui::Dialogs dialogs;
    kinmap::gui::MainWindow window(dialogs);
    window.resize(1200, 800);
    window.show();
    QElapsedTimer timer;
    timer.start();
    window.importFile(QString::fromLocal8Bit(argv[1]));
    const double import = milliseconds(timer);
    kinmap::Session& session = window.session();
    session.personList.waitForWorker();

    // Show the List tab anew: rows built, worker started, view created and painted.
    session.personList.invalidate();
    timer.restart();
    kinmap::showView(session, kinmap::listView);
    auto* view = qobject_cast<kinmap::gui::PersonListView*>(window.viewWidget(kinmap::listView));
    if (!view) {
        fputs("no list shown\n", stderr);
        return 1;
    }
    QCoreApplication::processEvents(); // lay out and paint, as the event loop would
    view->viewport()->repaint();
    const double firstPaint = milliseconds(timer);
    while (session.personList.workerRunning())
        QTest::qWait(1);
    const double worker = milliseconds(timer);

    printf("persons                 %d\n", session.personList.rowCount());
    printf("import                  %8.1f ms\n", import);
    printf("show List, first paint  %8.1f ms\n", firstPaint);
    printf("every order sorted      %8.1f ms (from showing the tab)\n", worker);
    QHeaderView* header = view->horizontalHeader();
    for (int column : {1, 2, 4, 6, 8, 1, 3, 5, 7}) {
        timer.restart();
        emit header->sectionClicked(column); // what a click on the header does
        view->viewport()->repaint();
        printf("click column %d, painted %8.1f ms (now sorted by column %d)\n", column, milliseconds(timer),
               session.personList.sortColumn());
    }
    return 0;
}
