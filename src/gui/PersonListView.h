// The List and Selection tabs: a table whose cells are asked of the core's
// person list when they are painted, never stored.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

class QMenu;

#include <functional>

#include "views/PersonList.h"

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class PersonListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit PersonListModel(Session& session, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The rows changed order: every cell is asked again.
    void orderChanged();

private:
    Session& session_;
};

class PersonListView : public QTableView {
    Q_OBJECT

public:
    // runCommand carries the context menu's commands to the window.
    PersonListView(Session& session, std::function<void(uint32_t)> runCommand, QWidget* parent = nullptr);
    // Selects the row of the current person (the first row when it is not
    // listed) with some rows below it in sight.
    void showCurrentPerson();
    // "List Context Menu4" for the current row: Select and Deselect with
    // their entries, and Merge. The menu belongs to the view.
    QMenu* contextMenu();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void sortByColumn(int column);
    void selectRow(int row);
    void showSortIndicator();
    void saveHeader();

    Session& session_;
    std::function<void(uint32_t)> runCommand_;
    PersonListModel* model_;
    QMenu* menu_ = nullptr;
    TypeAhead typeAhead_;
    bool typing_ = false; // a row selected by typing goes on with the typed text
    bool userWidths_ = false; // the user has set column widths: they are kept
    bool fitting_ = false;    // the view is sharing the width out itself
};

} // namespace kinmap::gui
