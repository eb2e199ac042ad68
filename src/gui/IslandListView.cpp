#include "IslandListView.h"

#include "RowsModel.h"
#include "ScreenText.h"
#include "TableViews.h"
#include "app/ExtrasCommands.h"

#include "app/Session.h"
#include "relations/Islands.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

namespace kinmap::gui {

namespace {

RowsModel::Source rowsOf(Session& session)
{
    return {IslandRows::columnCount, &IslandRows::columnTitle, [&session] { return session.islands.rowCount(); },
            [&session](int row, int column) { return session.islands.cellText(session.db, row, column); }};
}

} // namespace

IslandListView::IslandListView(Session& session, QWidget* parent)
    : QTableView(parent), session_(session), model_(new RowsModel(rowsOf(session), this))
{
    setModel(model_);
    setUpTableView(this);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(true);
    showSortIndicator();
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &IslandListView::sortBy);
    const int row = session_.islands.rowOfPerson(session_.shell.currentPerson);
    if (model_->rowCount() > 0) {
        selectRow(row);
        showIslandStatus(session_, row);
    }
    // A click or the arrow keys pick an island.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { pickRow(current.row()); });
}

void IslandListView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    const int width = viewport()->width();
    for (int column = 0; column < IslandRows::columnCount; ++column)
        setColumnWidth(column, IslandRows::columnShare(column) * width / 1024);
}

void IslandListView::sortBy(int column)
{
    session_.islands.clickColumn(session_.db, column);
    model_->changed();
    showSortIndicator();
    if (model_->rowCount() > 0)
        selectRow(session_.islands.rowOfPerson(session_.shell.currentPerson));
}

void IslandListView::showSortIndicator()
{
    // Numbers sort largest first, texts greatest first: descending unless reversed.
    horizontalHeader()->setSortIndicator(session_.islands.sortColumn(),
                                         session_.islands.sortDirection() > 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void IslandListView::pickRow(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    if (currentIndex().row() != row)
        selectRow(row);
    pickIsland(session_, row);
}

void IslandListView::selectCurrentIsland()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    const int selected = selectIsland(session_, session_.islands, current.row());
    session_.setStatus(1, "%d persons selected", selected);
}

QMenu* IslandListView::contextMenu()
{
    delete menu_;
    menu_ = new QMenu(this);
    menu_->addAction(QStringLiteral("&Select island"), this, [this] { selectCurrentIsland(); });
    return menu_;
}

void IslandListView::contextMenuEvent(QContextMenuEvent* event)
{
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard; // the Menu key or Shift+F10
    const QModelIndex index = keyboard ? currentIndex() : indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!index.isValid())
        return;
    pickRow(index.row());
    contextMenu()->popup(keyboard ? keyboardMenuPosition(this) : event->globalPos());
}

void IslandListView::keyPressEvent(QKeyEvent* event)
{
    if (!contextMenuKey(this, event))
        QTableView::keyPressEvent(event);
}

} // namespace kinmap::gui
