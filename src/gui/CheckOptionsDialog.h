// ERROR CHECK OPTIONS: the eight age limits and the switches that leave
// groups of rules out. A switch changes the kept options at once (also when
// the dialog is then cancelled); OK takes the ages, each field that holds a
// whole number.
#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;

namespace kinmap {
struct CheckOptions;
}

namespace kinmap::gui {

class CheckOptionsDialog : public QDialog {
    Q_OBJECT

public:
    CheckOptionsDialog(CheckOptions& options, QWidget* parent = nullptr);
    QLineEdit* ageField(int i) const { return ages_[static_cast<size_t>(i)]; }
    QCheckBox* ignoreBox(int i) const { return boxes_[static_cast<size_t>(i)]; }
    void pressOk();

private:
    CheckOptions& options_;
    std::array<QLineEdit*, 8> ages_{};
    std::array<QCheckBox*, 7> boxes_{};
};

} // namespace kinmap::gui
