#include "TableViews.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QDateTime>
#include <QToolTip>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace kinmap::gui {

bool CutTextTooltips::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (sizeHint(option, index).width() > view->visualRect(index).width())
        QToolTip::showText(event->globalPos(), text, view, view->visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

QColor sexTint(bool man)
{
    const QColor base = QApplication::palette().color(QPalette::Base);
    const QColor tint = man ? QColor(0, 150, 150) : QColor(170, 0, 170);
    constexpr double share = 0.08;
    return QColor::fromRgbF(static_cast<float>(base.redF() * (1 - share) + tint.redF() * share),
                            static_cast<float>(base.greenF() * (1 - share) + tint.greenF() * share),
                            static_cast<float>(base.blueF() * (1 - share) + tint.blueF() * share));
}

void TypeAheadAnywhere::search(QTreeWidget* tree, const QString& key)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const bool fresh = now - typedAt_ > QApplication::keyboardInputInterval();
    typed_ = fresh ? key : typed_ + key;
    typedAt_ = now;
    QList<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        items << *it;
    if (items.isEmpty())
        return;
    const qsizetype current = std::max<qsizetype>(0, items.indexOf(tree->currentItem()));
    const qsizetype first = fresh ? current + 1 : current;
    for (qsizetype step = 0; step < items.size(); ++step) {
        QTreeWidgetItem* item = items[(first + step) % items.size()];
        if (item->text(0).contains(typed_, Qt::CaseInsensitive)) {
            for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
                up->setExpanded(true);
            tree->setCurrentItem(item);
            tree->scrollToItem(item);
            return;
        }
    }
}

void setUpTableView(QAbstractItemView* view)
{
    view->setItemDelegate(new CutTextTooltips(view));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QPoint keyboardMenuPosition(QAbstractItemView* view)
{
    const QRect row = view->visualRect(view->currentIndex());
    const QPoint local = row.isValid() ? QPoint(row.left() + 20, row.bottom()) : QPoint(20, 20);
    return view->viewport()->mapToGlobal(local);
}

bool contextMenuKey(QAbstractItemView* view, QKeyEvent* event)
{
    if (event->key() != Qt::Key_F10 || event->modifiers() != Qt::ShiftModifier)
        return false;
    const QPoint global = keyboardMenuPosition(view);
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, view->viewport()->mapFromGlobal(global), global);
    QApplication::sendEvent(view->viewport(), &menu);
    return true;
}

} // namespace kinmap::gui
