#include "PedigreeView.h"

#include "PersonContextMenu.h"
#include "RowsModel.h"
#include "ScreenText.h"
#include "TableViews.h"

#include "app/Commands.h"
#include "app/Session.h"
#include "app/ViewCommands.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>

namespace kinmap::gui {

namespace {

RowsModel::Source rowsOf(Session& session)
{
    return {Pedigree::columnCount, &Pedigree::columnTitle, [&session] { return session.pedigree.rowCount(); },
            [&session](int row, int column) { return session.pedigree.cellText(session.db, row, column); },
            [&session](int row) -> QVariant {
                const int32_t rin = session.pedigree.row(row).rin;
                return sexTint(session.db.persons[rin].sex == 'M');
            }};
}

} // namespace

PedigreeView::PedigreeView(Session& session, std::function<void(uint32_t)> runCommand, std::function<void(int)> showImplex,
                           QWidget* parent)
    : QTableView(parent), session_(session), runCommand_(std::move(runCommand)), showImplex_(std::move(showImplex)),
      model_(new RowsModel(rowsOf(session), this))
{
    setModel(model_);
    setUpTableView(this);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            clickPerson(session_, session_.pedigree.row(current.row()).rin);
    });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            runCommand_(cmdEditPerson);
    });
    if (model_->rowCount() > 0)
        selectRow(0);
}

void PedigreeView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    const int width = viewport()->width();
    const int letter = fontMetrics().averageCharWidth();
    for (int column = 0; column < Pedigree::columnCount; ++column) {
        const int least = fontMetrics().horizontalAdvance(QString::fromUtf8(Pedigree::columnTitle(column))) + 2 * letter;
        setColumnWidth(column, std::max(least, Pedigree::columnShare(column) * width / 1024));
    }
}

QMenu* PedigreeView::contextMenu()
{
    delete menu_;
    menu_ = personContextMenu(this, runCommand_);
    return menu_;
}

void PedigreeView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) { // the Menu key or Shift+F10: the current row
        contextMenu()->popup(keyboardMenuPosition(this));
        return;
    }
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!index.isValid())
        return;
    selectRow(index.row()); // as a click
    if (session_.pedigree.isImplex(index.row()))
        showImplex_(index.row());
    else
        contextMenu()->popup(event->globalPos());
}

void PedigreeView::keyPressEvent(QKeyEvent* event)
{
    if (!contextMenuKey(this, event))
        QTableView::keyPressEvent(event);
}

bool PedigreeView::print(QPagedPaintDevice& device, const QString& header) const
{
    PrintTable table;
    for (int column = 0; column < Pedigree::columnCount; ++column) {
        table.titles << QString::fromUtf8(Pedigree::columnTitle(column));
        table.shares << Pedigree::columnShare(column);
    }
    for (int row = 0; row < session_.pedigree.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < Pedigree::columnCount; ++column)
            cells << toScreen(session_.pedigree.cellText(session_.db, row, column));
        table.rows << cells;
    }
    return printTable(device, header, table);
}

ImplexView::ImplexView(const QStringList& left, const QStringList& right, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* split = new QSplitter(this);
    for (const QStringList* lines : {&left, &right}) {
        auto* list = new QListWidget(split);
        list->setObjectName(lines == &left ? QStringLiteral("implexLeft") : QStringLiteral("implexRight"));
        for (QString line : *lines)
            list->addItem(line.replace(QLatin1Char('\t'), QStringLiteral("    ")));
    }
    layout->addWidget(split);
    setFocusProxy(split->widget(0));
}

} // namespace kinmap::gui
