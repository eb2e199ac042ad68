// A read-only table over rows the core keeps (the findings of Find Errors,
// the islands): the view asks for the counts and texts through functions,
// and changed() tells it that everything may differ.
#pragma once

#include <QAbstractTableModel>

#include <functional>
#include <string>

namespace kinmap::gui {

class RowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Source {
        int columns = 0;
        std::function<const char*(int column)> title;
        std::function<int()> rows;
        std::function<std::string(int row, int column)> cell; // UTF-8
        std::function<QVariant(int row)> background = {};      // optional: a colour per row
    };

    explicit RowsModel(Source source, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void changed();

private:
    Source source_;
};

} // namespace kinmap::gui
