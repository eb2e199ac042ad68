// Times editing on a large file in the real window, offscreen: opening the
// edit person dialog until it is painted, saving an edit with its journal
// line, building the completion lists, and undoing the edit.
//
//   QT_QPA_PLATFORM=offscreen kinmap-edit-benchmark FILE.ged
#include "Dialogs.h"
#include "EditPersonDialog.h"
#include "MainWindow.h"
#include "app/EditCommands.h"

#include "base/EditHistory.h"
#include "edit/LinkEdits.h"
#include "edit/PersonForm.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
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
        fputs("usage: kinmap-edit-benchmark FILE.ged\n", stderr);
        return 2;
    }
    kinmap::gui::Dialogs dialogs;
    kinmap::gui::MainWindow window(dialogs);
    window.show();
    window.importFile(QString::fromLocal8Bit(argv[1]));
    kinmap::Session& session = window.session();
    session.personList.waitForWorker();
    const int32_t rin = session.db.highestRin / 2;
    constexpr int runs = 20;
    double open = 1e9, save = 1e9, undo = 1e9, lists = 1e9;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.restart();
        kinmap::PersonForm form = kinmap::openPersonForm(session, rin, "EDIT PERSON:");
        {
            kinmap::gui::EditPersonDialog dialog(form, session.completions, &window);
            dialog.show();
            QCoreApplication::processEvents();
            dialog.repaint();
            open = std::min(open, milliseconds(timer));
        }
        form.given = i % 2 ? "Johann" : "Johannes";
        form.dates[kinmap::formDeath] = "12.3.1890";
        form.dateEdited[kinmap::formDeath] = true;
        timer.restart();
        if (!kinmap::savePersonEdit(session, form).empty())
            return 1;
        save = std::min(save, milliseconds(timer));
        timer.restart();
        session.history.undo(session);
        undo = std::min(undo, milliseconds(timer));
        timer.restart();
        session.completions.build(session);
        lists = std::min(lists, milliseconds(timer));
    }
    printf("persons                  %8d\n", session.db.highestRin);
    printf("edit dialog open, painted %8.2f ms\n", open);
    printf("edit saved with journal   %8.2f ms\n", save);
    printf("undo of the edit          %8.2f ms\n", undo);
    printf("completion lists built    %8.2f ms\n", lists);
    return 0;
}
