#include "BranchesView.h"

#include "PersonContextMenu.h"
#include "ScreenText.h"
#include "TableViews.h"

#include "app/Commands.h"
#include "app/Session.h"
#include "app/ViewCommands.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

namespace kinmap::gui {

BranchesView::BranchesView(Session& session, std::function<void(uint32_t)> runCommand, QWidget* parent)
    : QTreeWidget(parent), session_(session), runCommand_(std::move(runCommand))
{
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true); // fast on long branches
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    // Each item's parent is the last item one level up.
    QList<QTreeWidgetItem*> parents;
    for (const BranchItem& b : session_.branches.items()) {
        QTreeWidgetItem* item = b.level == 0 ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parents.value(b.level - 1));
        item->setText(0, toScreen(b.text));
        item->setData(0, Qt::UserRole, b.rin);
        parents.resize(b.level);
        parents << item;
        items_ << item;
    }
    // Wide enough for the longest item, so that deep branches scroll sideways
    // instead of being cut (measuring here is far cheaper than letting the
    // header size itself to every item).
    int widest = 0;
    for (int i = 0; i < items_.size(); ++i)
        widest = std::max(widest, fontMetrics().horizontalAdvance(items_[i]->text(0)) +
                                      indentation() * (session_.branches.items()[static_cast<size_t>(i)].level + 2));
    header()->setStretchLastSection(false);
    setColumnWidth(0, widest);
    expandAll();
    for (int i = 0; i < items_.size(); ++i)
        if (session_.branches.items()[static_cast<size_t>(i)].heading)
            items_[i]->setExpanded(false);
    selectPersonItem(session_.shell.currentPerson);

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (const int32_t rin = personOf(current))
            clickPerson(session_, rin);
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (personOf(item))
            runCommand_(cmdEditPerson);
    });
}

int32_t BranchesView::personOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

void BranchesView::selectPersonItem(int32_t rin)
{
    const int found = session_.branches.itemOfPerson(rin);
    if (found < 0)
        return;
    QTreeWidgetItem* item = items_[found];
    for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        up->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

QMenu* BranchesView::contextMenu()
{
    delete menu_;
    menu_ = personContextMenu(this, runCommand_);
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("E&xpand all"), this, &QTreeView::expandAll);
    menu_->addAction(QStringLiteral("C&ollapse all"), this, [this] {
        collapseAll();
        if (!items_.isEmpty())
            items_.first()->setExpanded(true); // the branches stay in sight
    });
    return menu_;
}

void BranchesView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        contextMenu()->popup(keyboardMenuPosition(this));
        return;
    }
    // The menu acts on the item under the cursor.
    if (QTreeWidgetItem* item = itemAt(viewport()->mapFromGlobal(event->globalPos())))
        setCurrentItem(item);
    contextMenu()->popup(event->globalPos());
}

void BranchesView::keyPressEvent(QKeyEvent* event)
{
    if (!contextMenuKey(this, event))
        QTreeWidget::keyPressEvent(event);
}

void BranchesView::keyboardSearch(const QString& search)
{
    typeAhead_.search(this, search);
}

bool BranchesView::print(QPagedPaintDevice& device, const QString& header) const
{
    PrintTable table;
    table.shares << 1024;
    for (const BranchItem& b : session_.branches.items())
        table.rows << QStringList{QString(b.level * 4, QLatin1Char(' ')) + toScreen(b.text)};
    return printTable(device, header, table);
}

} // namespace kinmap::gui
