// The dialogs of the selection: SEARCH PERSONS, SEARCH EVENTS and the
// number of generations for Select Ancestors and Descendants.
#pragma once

#include "query/Selection.h"

#include <QDialog>

class QFormLayout;
class QLineEdit;

namespace kinmap::gui {

// SEARCH PERSONS and SEARCH EVENTS: the fields show the kept patterns; a
// check box flips its switch at once; SELECT, SEL/ADD and DESELECT take the
// fields into the options and close the dialog accepted.
class SearchDialog : public QDialog {
    Q_OBJECT

public:
    enum class Kind { persons, events };
    SearchDialog(Kind kind, SearchOptions& options, QWidget* parent = nullptr);

    // The field of a name ("Given name", "Surname", "Place", "Period from",
    // ...), for tests.
    QLineEdit* field(const QString& label) const;
    void press(SearchAction action);

private:
    QLineEdit* addField(QFormLayout* form, const QString& label, const std::string& value, bool number);

    Kind kind_;
    SearchOptions& options_;
    QList<QLineEdit*> fields_;
};

// "SELECT ANCESTORS" (two numbers) or "SELECT DESCENDANTS" (one).
class GenerationsDialog : public QDialog {
    Q_OBJECT

public:
    GenerationsDialog(const QString& title, bool withFollowing, QWidget* parent = nullptr);
    int generations() const;
    int following() const;

private:
    QLineEdit* generations_;
    QLineEdit* following_ = nullptr;
};

} // namespace kinmap::gui
