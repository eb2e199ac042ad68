// COUNT (given names, surnames or places, with a filter and the switch
// "only in selection") and COUNT EVENTS (place and period in years).
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace kinmap::gui {

class CountDialog : public QDialog {
    Q_OBJECT

public:
    // The switch flips at once, also when the dialog is cancelled.
    CountDialog(int mode, const std::string& filter, bool& onlySelection, QWidget* parent = nullptr);
    std::string filter() const;
    QLineEdit* filterField() const { return filter_; }

private:
    QLineEdit* filter_;
};

class CountEventsDialog : public QDialog {
    Q_OBJECT

public:
    CountEventsDialog(const std::string& place, int period, QWidget* parent = nullptr);
    std::string place() const;
    int period() const; // 0 when empty
    QLineEdit* placeField() const { return place_; }
    QLineEdit* periodField() const { return period_; }

private:
    QLineEdit* place_;
    QLineEdit* period_;
};

} // namespace kinmap::gui
