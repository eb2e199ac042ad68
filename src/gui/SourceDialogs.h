// SEARCH SOURCE, the browser over the current file's sources (sortable by
// any column, a typed number or identifier jumps to its source, the whole
// texts of the one selected), and ADD SOURCE, which asks Auto-Source for
// its source and offers the browser through its Search button.
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace kinmap {
struct SourceList;
}

namespace kinmap::gui {

class SearchSourceDialog : public QDialog {
    Q_OBJECT

public:
    SearchSourceDialog(const SourceList& sources, QWidget* parent = nullptr);
    QTableWidget* table() const { return table_; }
    QLineEdit* sourceField() const { return field_; }
    QPlainTextEdit* details() const { return details_; }
    // The identifier of the source selected, empty for none.
    QString chosen() const;

private:
    void showSource(int index);
    void jump(const QString& typed);

    const SourceList& sources_;
    QTableWidget* table_;
    QLineEdit* field_;
    QPlainTextEdit* details_;
    int shown_ = -1;
};

class AddSourceDialog : public QDialog {
    Q_OBJECT

public:
    AddSourceDialog(const QString& source, const SourceList& sources, QWidget* parent = nullptr);
    QLineEdit* sourceField() const { return field_; }
    // Search: the browser; a source picked there ends this dialog with it.
    void search();

private:
    const SourceList& sources_;
    QLineEdit* field_;
};

} // namespace kinmap::gui
