// The Branches tab: every branch of the current person's surname as a tree,
// the branch headings collapsed and the current person's item selected.
// Selecting an item makes its person current, a double click edits it, the
// context menu is the person menu with Expand all and Collapse all; typing
// finds the next item whose text holds what was typed.
#pragma once

#include "TableViews.h"
#include "ViewPrinter.h"

#include <QTreeWidget>

#include <functional>

class QMenu;

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class BranchesView : public QTreeWidget, public PrintableView {
    Q_OBJECT

public:
    BranchesView(Session& session, std::function<void(uint32_t)> runCommand, QWidget* parent = nullptr);
    QMenu* contextMenu();
    QString printName() const override { return QStringLiteral("Branches"); }
    bool print(QPagedPaintDevice& device, const QString& header) const override;
    // The person of an item; 0 for the surname, headings and counts.
    static int32_t personOf(const QTreeWidgetItem* item);
    void keyboardSearch(const QString& search) override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void selectPersonItem(int32_t rin);

    Session& session_;
    std::function<void(uint32_t)> runCommand_;
    QList<QTreeWidgetItem*> items_; // in the order of the core's items
    QMenu* menu_ = nullptr;
    TypeAheadAnywhere typeAhead_;
};

} // namespace kinmap::gui
