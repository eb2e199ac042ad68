// FIND AND REPLACE: the text to find, its replacement and the kind of
// field; REPLACE runs and the dialog stays open for the next one.
#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;

namespace kinmap {
struct ReplaceOptions;
}

namespace kinmap::gui {

class ReplaceDialog : public QDialog {
    Q_OBJECT

public:
    ReplaceDialog(ReplaceOptions& options, std::function<void()> replace, QWidget* parent = nullptr);
    QLineEdit* findField() const { return find_; }
    QLineEdit* byField() const { return by_; }
    QComboBox* kindList() const { return kind_; }
    void pressReplace();

private:
    ReplaceOptions& options_;
    std::function<void()> replace_;
    QLineEdit* find_;
    QLineEdit* by_;
    QComboBox* kind_;
};

} // namespace kinmap::gui
