// The Report tab after Find Errors: the findings in three columns (error,
// RIN, description), sorted by a click on a header, searched by typing. A
// click makes a finding's person the current one, a double click edits it;
// the context menu edits or deletes the person or removes the finding.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <functional>

class QMenu;

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class ErrorListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ErrorListModel(Session& session, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void changed();

private:
    Session& session_;
};

class ErrorListView : public QTableView {
    Q_OBJECT

public:
    ErrorListView(Session& session, std::function<void(uint32_t)> runCommand, QWidget* parent = nullptr);
    // "Check Context Menu3": Edit person, Delete person, Remove error.
    QMenu* contextMenu();
    void removeCurrent();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void selectRow(int row);
    void sortBy(int column);

    Session& session_;
    std::function<void(uint32_t)> runCommand_;
    ErrorListModel* model_;
    QMenu* menu_ = nullptr;
};

} // namespace kinmap::gui
