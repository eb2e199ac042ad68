// DUPLICATES: where to search, how names are compared, what else must agree
// and what happens with a pair found. Every click changes the kept option
// word at once (also when the dialog is then cancelled); the buttons always
// show the word, so a click the rules refuse shows as no change.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

class QLabel;
class QRadioButton;

namespace kinmap::gui {

class DuplicatesDialog : public QDialog {
    Q_OBJECT

public:
    DuplicatesDialog(uint32_t& options, QWidget* parent = nullptr);
    // The button with this text ("Persons", "Soundex", "None", ...).
    QRadioButton* button(const QString& text) const;

private:
    struct Choice {
        QRadioButton* button;
        uint32_t mask, value;
    };
    void addChoice(QWidget* group, const char* text, uint32_t mask, uint32_t value,
                   std::function<uint32_t(uint32_t)> click);
    void showOptions();

    uint32_t& options_;
    std::vector<Choice> choices_;
};

// CALCULATE SOUNDEX: the code of the name typed, shown while it is typed.
class SoundexDialog : public QDialog {
    Q_OBJECT

public:
    explicit SoundexDialog(QWidget* parent = nullptr);
    QString code() const;

private:
    QLabel* code_;
};

} // namespace kinmap::gui
