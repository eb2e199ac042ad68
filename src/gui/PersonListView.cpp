#include "PersonListView.h"

#include "PersonContextMenu.h"
#include "ScreenText.h"
#include "TableViews.h"
#include "app/ViewCommands.h"

#include "app/Commands.h"
#include "app/Session.h"

#include <QSettings>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>
#include <chrono>

namespace kinmap::gui {

namespace {
constexpr const char* headerKey = "PersonList/header";
}

PersonListModel::PersonListModel(Session& session, QObject* parent) : QAbstractTableModel(parent), session_(session) {}

int PersonListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : session_.personList.rowCount();
}

int PersonListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : PersonList::columnCount;
}

QVariant PersonListModel::data(const QModelIndex& index, int role) const
{
    const PersonList& list = session_.personList;
    if (role == Qt::DisplayRole)
        return toScreen(list.cellText(index.row(), index.column()));
    if (role == Qt::BackgroundRole) {
        const int32_t rin = list.rinAt(index.row());
        return sexTint(session_.db.validRin(rin) && session_.db.persons[rin].sex == 'M');
    }
    return {};
}

QVariant PersonListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < PersonList::columnCount)
        return QString::fromLatin1(PersonList::columnTitle(section));
    return {};
}

void PersonListModel::orderChanged()
{
    beginResetModel();
    endResetModel();
}

PersonListView::PersonListView(Session& session, std::function<void(uint32_t)> runCommand, QWidget* parent)
    : QTableView(parent), session_(session), runCommand_(std::move(runCommand)), model_(new PersonListModel(session, this))
{
    setModel(model_);
    setUpTableView(this);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setMinimumSectionSize(fontMetrics().averageCharWidth() * 5);
    // Widths the user set are kept, also for the next start; until then
    // the columns share the width.
    userWidths_ = header->restoreState(
        QSettings(QStringLiteral("kinmap"), QStringLiteral("kinmap")).value(QLatin1String(headerKey)).toByteArray());
    showSortIndicator();
    connect(header, &QHeaderView::sectionResized, this, [this] {
        if (fitting_)
            return;
        userWidths_ = true;
        saveHeader();
    });
    connect(header, &QHeaderView::sectionMoved, this, &PersonListView::saveHeader);
    connect(header, &QHeaderView::sectionClicked, this, &PersonListView::sortByColumn);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (!current.isValid())
            return;
        if (!typing_)
            typeAhead_.clear();
        clickPerson(session_, session_.personList.rinAt(current.row()));
    });
}

void PersonListView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (userWidths_)
        return;
    // Below the minimum widths the list scrolls sideways.
    fitting_ = true;
    const int width = viewport()->width();
    const int letter = fontMetrics().averageCharWidth();
    for (int column = 0; column < PersonList::columnCount; ++column) {
        // The title with room for the sort indicator; names and places a dozen letters.
        const QString title = QString::fromLatin1(PersonList::columnTitle(column));
        const bool text = PersonList::columnShare(column) >= 100;
        const int least = std::max(fontMetrics().horizontalAdvance(title) + 4 * letter, text ? 12 * letter : 0);
        setColumnWidth(column, std::max(least, PersonList::columnShare(column) * width / 1024));
    }
    fitting_ = false;
}

void PersonListView::saveHeader()
{
    QSettings(QStringLiteral("kinmap"), QStringLiteral("kinmap")).setValue(QLatin1String(headerKey), horizontalHeader()->saveState());
}

void PersonListView::showSortIndicator()
{
    const PersonList& list = session_.personList;
    horizontalHeader()->setSortIndicator(list.sortColumn(), list.sortDirection() > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void PersonListView::selectRow(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    const QModelIndex index = model_->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void PersonListView::showCurrentPerson()
{
    const int found = session_.personList.rowOf(session_.shell.currentPerson);
    const int row = found < 0 ? 0 : found;
    if (model_->rowCount() == 0)
        return;
    scrollTo(model_->index(std::min(row + 10, model_->rowCount() - 1), 0));
    selectRow(row);
    setFocus();
}

void PersonListView::sortByColumn(int column)
{
    session_.personList.clickColumn(column);
    typeAhead_.clear();
    model_->orderChanged();
    showSortIndicator();
    showCurrentPerson();
}

void PersonListView::keyPressEvent(QKeyEvent* event)
{
    if (contextMenuKey(this, event))
        return;
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!typed) {
        QTableView::keyPressEvent(event);
        return;
    }
    const double now = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    const int current = currentIndex().isValid() ? currentIndex().row() : 0;
    const int row = typeAhead_.key(session_.personList, current, fromScreen(text), now);
    typing_ = true;
    selectRow(row);
    typing_ = false;
}

QMenu* PersonListView::contextMenu()
{
    delete menu_;
    menu_ = personContextMenu(this, runCommand_);
    return menu_;
}

void PersonListView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) { // the Menu key or Shift+F10: the current row
        contextMenu()->popup(keyboardMenuPosition(this));
        return;
    }
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (index.isValid())
        selectRow(index.row()); // as a click
    contextMenu()->popup(event->globalPos());
}

} // namespace kinmap::gui
