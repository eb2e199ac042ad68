// SEARCH BIRTHS, SEARCH DEATHS and SEARCH MARRIAGES: a place and the years
// between which the events are listed.
#pragma once

#include "query/Selection.h"

#include <QDialog>

class QLineEdit;

namespace kinmap::gui {

class EventListDialog : public QDialog {
    Q_OBJECT

public:
    // The fields show the kept place and years; OK takes them back.
    EventListDialog(const QString& title, SearchOptions& options, QWidget* parent = nullptr);
    QLineEdit* placeField() const { return place_; }
    QLineEdit* fromField() const { return from_; }
    QLineEdit* toField() const { return to_; }

private:
    void takeFields();

    SearchOptions& options_;
    QLineEdit* place_;
    QLineEdit* from_;
    QLineEdit* to_;
};

} // namespace kinmap::gui
