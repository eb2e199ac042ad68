// The edit person dialog: sex, names, the dates and places of the events
// and the current marriage. Up and Down move between the fields as in a
// grid; places and given names complete from earlier entries; a date field
// the user changed is read when it is left and shown as it was read.
#pragma once

#include "edit/PersonForm.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;

namespace kinmap::gui {

class EditPersonDialog : public QDialog {
    Q_OBJECT

public:
    EditPersonDialog(PersonForm& form, CompletionLists& completions, QWidget* parent = nullptr);

    // The fields by their place in the grid: 1 sex, 2 given names, 3
    // surname, 4/5 birth date/place, 6/7 christening, 8/9 death, 10/11
    // burial, 12/13 marriage.
    QLineEdit* field(int index) const { return fields_[static_cast<size_t>(index)]; }
    QCheckBox* divorced() const { return divorced_; }
    // SAVE: takes the fields into the form when it can be saved.
    void save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOf(QObject* widget) const;
    void takeFields();
    void dateLeft(int index);
    void complete(int index);
    void learn(int index);

    PersonForm& form_;
    CompletionLists& completions_;
    std::array<QLineEdit*, 14> fields_{};
    QCheckBox* divorced_ = nullptr;
    bool keyTyped_ = false; // the last key pressed adds a character: completion may follow
};

} // namespace kinmap::gui
