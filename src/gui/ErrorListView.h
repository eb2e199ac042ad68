// The Report tab after Find Errors: the findings in three columns (error,
// RIN, description), sorted by a click on a header, searched by typing. A
// click makes a finding's person the current one, a double click edits it;
// the context menu edits or deletes the person or removes the finding.
#pragma once

#include <QTableView>

#include <functional>

class QMenu;

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class RowsModel;

class ErrorListView : public QTableView {
    Q_OBJECT

public:
    ErrorListView(Session& session, std::function<void(uint32_t)> runCommand, QWidget* parent = nullptr);
    // "Check Context Menu3": Edit person, Delete person, Remove error.
    QMenu* contextMenu();
    void showSortIndicator();
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
    RowsModel* model_;
    QMenu* menu_ = nullptr;
};

} // namespace kinmap::gui
