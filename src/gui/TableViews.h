// What the table views share: cells cut by their column show their whole
// text as a tooltip, and Shift+F10 opens the context menu as the Menu key
// does, at the current row.
#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;
class QColor;
class QTreeWidget;
class QKeyEvent;

namespace kinmap::gui {

class CutTextTooltips : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

// Gives the view the delegate above and the selection of whole rows.
void setUpTableView(QAbstractItemView* view);
// The background of a person's row: a faint tint of the theme's base
// colour by sex, readable on light and dark themes alike.
QColor sexTint(bool man);
// Type-ahead in a tree whose items begin with numbers ("[12] Hans Berg",
// "1  Hans Berg"): the keys typed within the keyboard interval form one text,
// found anywhere in an item, in every item (collapsed or not) from the
// current one on; a new text starts after the current item. The item found
// is made current and visible.
class TypeAheadAnywhere {
public:
    void search(QTreeWidget* tree, const QString& key);

private:
    QString typed_;
    qint64 typedAt_ = 0;
};

// True when the key opened the context menu (Shift+F10).
bool contextMenuKey(QAbstractItemView* view, QKeyEvent* event);
// Where a context menu opened from the keyboard appears: at the current row.
QPoint keyboardMenuPosition(QAbstractItemView* view);

} // namespace kinmap::gui
