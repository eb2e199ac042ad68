// The Report tab after Islands: one row per island (persons, families,
// first person's RIN and names), largest first. A header click sorts by a
// column, a second click reverses; picking a row makes the island's first
// person current; the context menu selects every person of the island.
#pragma once

#include <QTableView>

class QMenu;

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class RowsModel;

class IslandListView : public QTableView {
    Q_OBJECT

public:
    explicit IslandListView(Session& session, QWidget* parent = nullptr);
    QMenu* contextMenu();
    void sortBy(int column);
    void pickRow(int row);
    void selectCurrentIsland();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showSortIndicator();

    Session& session_;
    RowsModel* model_;
    QMenu* menu_ = nullptr;
};

} // namespace kinmap::gui
