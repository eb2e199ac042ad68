// Times the Pedigree, Branches, Tree and Hourglass tabs of a large file in
// the real window, offscreen: the pedigree of the person with the most
// ancestors and the branches of the most frequent surname, first the core's
// build alone (best of several runs), then the tab shown and painted; the
// tree of that person and the hourglass of the parent with the most
// children in one marriage, built and painted, then zoomed and repainted.
//
//   QT_QPA_PLATFORM=offscreen kinmap-views-benchmark FILE.ged
#include "ChartView.h"
#include "Dialogs.h"
#include "MainWindow.h"

#include "app/Shell.h"
#include "app/Session.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// A message the run would wait for goes to stderr instead.
class QuietDialogs : public kinmap::gui::Dialogs {
public:
    void errorBox(QWidget*, const QString& text) override { fprintf(stderr, "%s\n", qPrintable(text)); }
    void messageBox(QWidget*, const QString&, const QString& text, QMessageBox::Icon) override
    {
        fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool askYesNo(QWidget*, const QString&, const QString&, QMessageBox::Icon) override { return false; }
};

double milliseconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The best of five runs of work, in milliseconds.
template <typename Work>
double best(Work work)
{
    double fastest = 1e30;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        fastest = std::min(fastest, milliseconds(timer));
    }
    return fastest;
}

// The person whose pedigree has the most rows: among the persons with the
// longest lines of fathers and mothers, the one whose table is longest.
int32_t mostAncestors(const kinmap::Database& db, kinmap::Pedigree& pedigree)
{
    std::vector<int> depth(static_cast<size_t>(db.highestRin) + 1, 0);
    // Parents have smaller RINs in most files; a few sweeps settle the rest.
    for (int sweep = 0; sweep < 3; ++sweep)
        for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
            const kinmap::PersonRecord& p = db.persons[rin];
            if (!p.exists() || p.famc.empty() || !db.isFamily(p.famc[0]))
                continue;
            const kinmap::FamilyRecord& f = db.families[p.famc[0]];
            int above = 0;
            for (const int32_t parent : {f.husband, f.wife})
                if (db.isPerson(parent))
                    above = std::max(above, depth[static_cast<size_t>(parent)] + 1);
            depth[static_cast<size_t>(rin)] = std::min(above, 254);
        }
    std::vector<int32_t> deepest;
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        if (db.isPerson(rin))
            deepest.push_back(rin);
    std::partial_sort(deepest.begin(), deepest.begin() + std::min<ptrdiff_t>(300, std::ssize(deepest)), deepest.end(),
                      [&](int32_t a, int32_t b) { return depth[static_cast<size_t>(a)] > depth[static_cast<size_t>(b)]; });
    deepest.resize(std::min<size_t>(300, deepest.size()));
    int32_t found = 1;
    int rows = 0;
    for (const int32_t rin : deepest)
        if (pedigree.build(db, rin) == kinmap::Pedigree::Outcome::built && pedigree.rowCount() > rows) {
            rows = pedigree.rowCount();
            found = rin;
        }
    return found;
}

int32_t firstBearerOfTheMostFrequentSurname(const kinmap::Database& db)
{
    std::map<std::string, std::pair<int, int32_t>> surnames;
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        if (db.isPerson(rin) && db.persons[rin].surname && *db.persons[rin].surname) {
            auto& [count, first] = surnames[db.persons[rin].surname];
            if (count++ == 0)
                first = rin;
        }
    std::pair<int, int32_t> most{0, 1};
    for (const auto& [name, entry] : surnames)
        most = std::max(most, entry);
    return most.second;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        fputs("usage: kinmap-views-benchmark FILE.ged\n", stderr);
        return 2;
    }
    QuietDialogs dialogs;
    kinmap::gui::MainWindow window(dialogs);
    window.resize(1200, 800);
    window.show();
    window.importFile(QString::fromLocal8Bit(argv[1]));
    kinmap::Session& session = window.session();
    const kinmap::Database& db = session.db;

    const int32_t proband = mostAncestors(db, session.pedigree);
    const double pedigreeBuild = best([&] { session.pedigree.build(db, proband); });
    printf("pedigree of RIN %d      %s\n", proband, session.pedigree.countText().c_str());
    printf("pedigree built          %8.2f ms (best of 5)\n", pedigreeBuild);
    const double pedigreeText = best([&] { session.pedigree.fileText(db); });
    printf("pedigree as text        %8.2f ms (best of 5)\n", pedigreeText);
    session.shell.currentPerson = proband;
    QElapsedTimer timer;
    timer.start();
    kinmap::showView(session, kinmap::pedigreeView);
    QCoreApplication::processEvents();
    window.viewWidget(kinmap::pedigreeView)->repaint();
    printf("Pedigree tab painted    %8.2f ms\n", milliseconds(timer));

    const int32_t bearer = firstBearerOfTheMostFrequentSurname(db);
    const std::string surname = db.persons[bearer].surname;
    const double branchesBuild = best([&] { session.branches.build(db, surname); });
    printf("branches of %s       %s, %zu items\n", surname.c_str(), session.branches.countText().c_str(),
           session.branches.items().size());
    printf("branches built          %8.2f ms (best of 5)\n", branchesBuild);
    session.shell.currentPerson = bearer;
    timer.restart();
    kinmap::showView(session, kinmap::branchesView);
    QCoreApplication::processEvents();
    window.viewWidget(kinmap::branchesView)->repaint();
    printf("Branches tab painted    %8.2f ms\n", milliseconds(timer));

    // The parent of the largest family, shown with that marriage.
    int32_t parent = proband, most = 0;
    int familyIndex = 0;
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin)
        if (db.isFamily(mrin) && db.isPerson(db.families[mrin].husband) && db.families[mrin].children.count() > most) {
            most = db.families[mrin].children.count();
            parent = db.families[mrin].husband;
            const kinmap::IdList& fams = db.persons[parent].fams;
            familyIndex = static_cast<int>(std::find(fams.begin(), fams.end(), mrin) - fams.begin());
        }
    const QSize size = window.viewWidget(kinmap::branchesView)->size();
    for (const auto& [kind, rin] : {std::pair{kinmap::ChartKind::tree, proband}, std::pair{kinmap::ChartKind::hourglass, parent}}) {
        session.shell.currentPerson = rin;
        session.shell.lastHourglassProband = rin; // the marriage chosen stays
        session.shell.currentFamilyIndex = familyIndex;
        const char* name = kind == kinmap::ChartKind::tree ? "tree" : "hourglass";
        // grab() paints the whole widget into a picture, as the screen would.
        const double built = best([&] {
            kinmap::gui::ChartView chart(session, kind, size, kind == kinmap::ChartKind::tree ? 5 : 4);
            chart.resize(size);
            chart.grab();
        });
        kinmap::gui::ChartView chart(session, kind, size);
        chart.resize(size);
        chart.grab();
        printf("%-9s of RIN %-7d %zu boxes%s\n", name, rin, chart.chart().boxes.size(),
               kind == kinmap::ChartKind::hourglass ? qPrintable(QStringLiteral(", %1 children").arg(most)) : "");
        printf("%-9s built, painted %8.2f ms (best of 5)\n", name, built);
        const double zoomed = best([&] {
            chart.zoomBy(1.25);
            chart.grab();
        });
        printf("%-9s zoomed, painted%8.2f ms (best of 5)\n", name, zoomed);
    }
    return 0;
}
