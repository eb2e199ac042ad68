#include "RowsModel.h"

#include "ScreenText.h"

namespace kinmap::gui {

RowsModel::RowsModel(Source source, QObject* parent) : QAbstractTableModel(parent), source_(std::move(source)) {}

int RowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : source_.rows();
}

int RowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : source_.columns;
}

QVariant RowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::BackgroundRole && source_.background)
        return source_.background(index.row());
    if (role != Qt::DisplayRole)
        return {};
    return toScreen(source_.cell(index.row(), index.column()));
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return QString::fromUtf8(source_.title(section));
}

void RowsModel::changed()
{
    beginResetModel();
    endResetModel();
}

} // namespace kinmap::gui
