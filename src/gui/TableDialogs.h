// The dialogs of Output to File and Input from File: OUTPUT TO FILE asks
// for the columns of a person table and shows how it reads them; the
// preview of Input from File lists what a table changes, per person, and the
// rows it skips, before anything is written.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QTreeWidget;

namespace kinmap {
class Database;
struct InputPlan;
}

namespace kinmap::gui {

class OutputTemplateDialog : public QDialog {
    Q_OBJECT

public:
    explicit OutputTemplateDialog(QWidget* parent = nullptr);
    QPlainTextEdit* field() const { return field_; }
    // The columns the text gives, and the words it skips.
    QLabel* columns() const { return columns_; }

private:
    void showColumns();

    QPlainTextEdit* field_;
    QLabel* columns_;
};

class InputPreviewDialog : public QDialog {
    Q_OBJECT

public:
    InputPreviewDialog(const Database& db, const InputPlan& plan, const QString& fileName, QWidget* parent = nullptr);
    QTreeWidget* changes() const { return changes_; }
    QLabel* summary() const { return summary_; }

private:
    QTreeWidget* changes_;
    QLabel* summary_;
};

} // namespace kinmap::gui
