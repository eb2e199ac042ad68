#include "ErrorListView.h"

#include "RowsModel.h"
#include "ScreenText.h"
#include "TableViews.h"
#include "app/ViewCommands.h"

#include "app/Commands.h"
#include "app/Session.h"
#include "views/ErrorListRows.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

namespace kinmap::gui {

namespace {

RowsModel::Source rowsOf(Session& session)
{
    return {ErrorListRows::columnCount, &ErrorListRows::columnTitle, [&session] { return session.errorRows.rowCount(); },
            [&session](int row, int column) { return session.errorRows.cellText(session.errors, row, column); }};
}

} // namespace

ErrorListView::ErrorListView(Session& session, std::function<void(uint32_t)> runCommand, QWidget* parent)
    : QTableView(parent), session_(session), runCommand_(std::move(runCommand)), model_(new RowsModel(rowsOf(session), this))
{
    setModel(model_);
    setUpTableView(this);
    setShowGrid(true);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(true);
    showSortIndicator();
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ErrorListView::sortBy);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) { selectRow(index.row()); });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        selectRow(index.row());
        runCommand_(cmdEditErrorPerson);
    });
    const int row = session_.errorRows.rowOfPerson(session_.errors, session_.shell.currentPerson);
    if (model_->rowCount() > 0)
        QTableView::selectRow(row);
    const ErrorList& list = session_.errors;
    if (list.correctedCount != 0)
        session_.setStatus(1, "%d errors found, %d corrected", static_cast<int>(list.entries.size()), list.correctedCount);
    else
        session_.setStatus(1, "%d errors found", static_cast<int>(list.entries.size()));
    session_.setStatus(0, "%s", "Sort by click on column headers!");
}

void ErrorListView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    const int width = viewport()->width();
    for (int column = 0; column < ErrorListRows::columnCount; ++column)
        setColumnWidth(column, ErrorListRows::columnShare(column) * width / 1024);
}

void ErrorListView::selectRow(int row)
{
    const int entry = session_.errorRows.entryAt(row);
    if (entry < 0)
        return;
    QTableView::selectRow(row);
    clickPerson(session_, session_.errors.entries[static_cast<size_t>(entry)].rin);
}

void ErrorListView::sortBy(int column)
{
    session_.errorRows.clickColumn(session_.errors, column);
    model_->changed();
    showSortIndicator();
    const int row = session_.errorRows.rowOfPerson(session_.errors, session_.shell.currentPerson);
    if (model_->rowCount() > 0)
        QTableView::selectRow(row);
}

void ErrorListView::showSortIndicator()
{
    // Before any click the list is in the order of the run: no indicator.
    const int column = session_.errorRows.sortColumn();
    horizontalHeader()->setSortIndicator(column, session_.errorRows.sortDirection() > 0 ? Qt::AscendingOrder
                                                                                        : Qt::DescendingOrder);
}

void ErrorListView::keyPressEvent(QKeyEvent* event)
{
    if (contextMenuKey(this, event))
        return;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint()) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int current = currentIndex().isValid() ? currentIndex().row() : 0;
    const double now = static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    const int row = session_.errorRows.typeAhead(session_.errors, current, fromScreen(text), now);
    selectRow(row);
    scrollTo(model_->index(row, 0));
}

QMenu* ErrorListView::contextMenu()
{
    delete menu_;
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("Check Context Menu3"));
    menu_->addAction(QStringLiteral("&Edit person"), this, [this] { runCommand_(cmdEditErrorPerson); });
    menu_->addAction(QStringLiteral("&Delete person"), this, [this] { runCommand_(cmdDelete); });
    menu_->addAction(QStringLiteral("&Remove error"), this, [this] { removeCurrent(); });
    return menu_;
}

void ErrorListView::removeCurrent()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !removeErrorRow(session_, current.row()))
        return; // no row: nothing to remove
    const int row = std::min(current.row(), model_->rowCount() - 2);
    model_->changed();
    if (row >= 0)
        selectRow(row);
    session_.setStatus(1, "%d errors found", static_cast<int>(session_.errors.entries.size()));
}

void ErrorListView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) { // the Menu key or Shift+F10: the current row
        if (currentIndex().isValid())
            contextMenu()->popup(keyboardMenuPosition(this));
        return;
    }
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!index.isValid())
        return; // a click beside the rows opens nothing
    selectRow(index.row());
    contextMenu()->popup(event->globalPos());
}

} // namespace kinmap::gui
