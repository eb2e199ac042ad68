// The RIN prompt of the add commands ("leave empty for new"), and SEARCH
// RIN, which its Search button opens: the persons of the last list build
// in surname order, found by RIN or name as typed, with a short report of
// the person picked.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QTableView;

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class SearchRinModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit SearchRinModel(Session& session, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    Session& session_;
    int rows_;
};

class SearchRinDialog : public QDialog {
    Q_OBJECT

public:
    explicit SearchRinDialog(Session& session, QWidget* parent = nullptr);
    QLineEdit* searchField() const { return search_; }
    int32_t chosenRin() const { return rin_; }
    QString report() const;

private:
    void pick(int row);

    Session& session_;
    QLineEdit* search_;
    QTableView* list_;
    QPlainTextEdit* report_;
    int32_t rin_ = 0;
};

class RinPromptDialog : public QDialog {
    Q_OBJECT

public:
    RinPromptDialog(Session& session, const QString& title, QWidget* parent = nullptr);
    QLineEdit* rinField() const { return rin_; }

private:
    QLineEdit* rin_;
};

} // namespace kinmap::gui
