#include "EditPersonDialog.h"

#include "Dialogs.h"
#include "ScreenText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kinmap::gui {

namespace {

// Up and Down by field index; 0 for none.
constexpr int upOf[14] = {0, 13, 1, 2, 3, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr int downOf[14] = {0, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 13, 5};

bool isDateField(int index)
{
    return index >= 4 && index % 2 == 0;
}

bool isPlaceField(int index)
{
    return index >= 5 && index % 2 == 1;
}

int eventOf(int index)
{
    return (index - 4) / 2;
}

} // namespace

EditPersonDialog::EditPersonDialog(PersonForm& form, CompletionLists& completions, QWidget* parent)
    : QDialog(parent), form_(form), completions_(completions)
{
    setWindowTitle(toScreen(form.caption));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    grid->addWidget(new QLabel(QStringLiteral("RIN")), 0, 0);
    grid->addWidget(new QLabel(form.rin ? QString::number(form.rin) : QStringLiteral("(new)")), 0, 1);
    for (size_t i = 1; i < fields_.size(); ++i) {
        fields_[i] = new QLineEdit;
        fields_[i]->installEventFilter(this);
    }
    fields_[1]->setMaxLength(1);
    fields_[1]->setMaximumWidth(40);
    fields_[1]->setToolTip(QStringLiteral("M, F or U (not known)"));
    grid->addWidget(new QLabel(QStringLiteral("Sex")), 1, 0);
    grid->addWidget(fields_[1], 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Given names")), 2, 0);
    grid->addWidget(fields_[2], 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Surname")), 3, 0);
    grid->addWidget(fields_[3], 3, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Date")), 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Place")), 4, 2);
    static constexpr const char* events[formEventCount] = {"Birth", "Christening", "Death", "Burial", "Marriage"};
    for (int e = 0; e < formEventCount; ++e) {
        grid->addWidget(new QLabel(QString::fromLatin1(events[e])), 5 + e, 0);
        grid->addWidget(fields_[static_cast<size_t>(4 + 2 * e)], 5 + e, 1);
        grid->addWidget(fields_[static_cast<size_t>(5 + 2 * e)], 5 + e, 2);
    }
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Spouse")), 10, 0);
    auto* spouse = new QLabel(toScreen(form.spouse));
    spouse->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(spouse, 10, 1, 1, 2);
    divorced_ = new QCheckBox(QStringLiteral("DIV"));
    divorced_->setChecked(form.divorced);
    grid->addWidget(divorced_, 11, 1);

    fields_[1]->setText(QString(QChar::fromLatin1(form.sex)));
    fields_[2]->setText(toScreen(form.given));
    fields_[3]->setText(toScreen(form.surname));
    for (int e = 0; e < formEventCount; ++e) {
        fields_[static_cast<size_t>(4 + 2 * e)]->setText(toScreen(form.dates[static_cast<size_t>(e)]));
        fields_[static_cast<size_t>(5 + 2 * e)]->setText(toScreen(form.places[static_cast<size_t>(e)]));
    }
    for (size_t i = 1; i < fields_.size(); ++i) {
        const int index = static_cast<int>(i);
        connect(fields_[i], &QLineEdit::textEdited, this, [this, index] {
            if (isDateField(index))
                form_.dateEdited[static_cast<size_t>(eventOf(index))] = true;
            else if ((isPlaceField(index) || index == 2) && keyTyped_)
                complete(index);
        });
        if (isDateField(index))
            connect(fields_[i], &QLineEdit::editingFinished, this, [this, index] { dateLeft(index); });
    }

    auto* buttons = new QDialogButtonBox;
    QPushButton* saveButton = buttons->addButton(QStringLiteral("SAVE"), QDialogButtonBox::AcceptRole);
    QPushButton* cancelButton = buttons->addButton(QStringLiteral("CANCEL"), QDialogButtonBox::RejectRole);
    // Enter in a field saves, as the default button says (see eventFilter).
    saveButton->setDefault(true);
    connect(saveButton, &QPushButton::clicked, this, &EditPersonDialog::save);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(620, sizeHint().height());
    fields_[2]->setFocus();
}

int EditPersonDialog::indexOf(QObject* widget) const
{
    for (size_t i = 1; i < fields_.size(); ++i)
        if (fields_[i] == widget)
            return static_cast<int>(i);
    return 0;
}

bool EditPersonDialog::eventFilter(QObject* watched, QEvent* event)
{
    const int index = indexOf(watched);
    if (index == 0)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        QLineEdit* field = fields_[static_cast<size_t>(index)];
        QTimer::singleShot(0, field, [field] { field->selectAll(); });
    } else if (event->type() == QEvent::FocusOut) {
        if (isPlaceField(index) || index == 2)
            learn(index);
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        keyTyped_ = !key->text().isEmpty() && key->text().at(0).isPrint();
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            const int next = key->key() == Qt::Key_Up ? upOf[index] : downOf[index];
            fields_[static_cast<size_t>(next)]->setFocus();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // The field is left as by Tab, then the form is saved.
            if (isDateField(index))
                dateLeft(index);
            else if (index == 2 || isPlaceField(index))
                learn(index);
            save();
            return true;
        }
        if (index == 1 && !key->text().isEmpty() && key->text().at(0).isPrint()) {
            // The sex field takes one letter.
            const char sex = sexOfKey(key->text().at(0).toLatin1());
            if (sex == 0)
                QMessageBox::warning(this, QStringLiteral("ERROR"), QStringLiteral("Sex must be M, F or U"));
            else
                fields_[1]->setText(QString(QChar::fromLatin1(sex)));
            fields_[2]->setFocus();
            return true;
        }
        if (index == 2 && key->text() == QStringLiteral(" "))
            learn(index);
    }
    return QDialog::eventFilter(watched, event);
}

// Typing on completes from the lists; what was completed stays selected,
// so that typing on overwrites it.
void EditPersonDialog::complete(int index)
{
    QLineEdit* field = fields_[static_cast<size_t>(index)];
    const QString text = field->text();
    if (field->cursorPosition() != text.size())
        return; // typing inside the text
    QString found;
    if (index == 2) {
        const qsizetype blank = text.lastIndexOf(QLatin1Char(' '));
        const QString word = text.mid(blank + 1);
        if (word.isEmpty())
            return;
        found = toScreen(completions_.completeGiven(fields_[1]->text() == QStringLiteral("F") ? 'F' : 'M', fromScreen(word)));
        if (found.isEmpty())
            return;
        if (word.at(0).isLower())
            found[0] = found.at(0).toUpper();
        found = text.left(blank + 1) + found + QLatin1Char(' ');
    } else {
        found = toScreen(completions_.completePlace(fromScreen(text)));
    }
    if (found.size() <= text.size())
        return;
    field->setText(found);
    field->setSelection(static_cast<int>(text.size()), static_cast<int>(found.size() - text.size()));
}

void EditPersonDialog::learn(int index)
{
    QLineEdit* field = fields_[static_cast<size_t>(index)];
    if (index == 2) {
        const QString text = field->text().trimmed();
        const QString word = text.mid(text.lastIndexOf(QLatin1Char(' ')) + 1);
        completions_.learnGiven(fields_[1]->text() == QStringLiteral("F") ? 'F' : 'M', fromScreen(word));
    } else {
        field->setText(field->text().trimmed());
        completions_.learnPlace(fromScreen(field->text()));
    }
}

// A date field the user changed is shown as it was read; what is no date
// is said at once and stays for correcting.
void EditPersonDialog::dateLeft(int index)
{
    const int e = eventOf(index);
    if (!form_.dateEdited[static_cast<size_t>(e)])
        return;
    takeFields();
    const DateField read = readDateField(form_, e, form_.dates[static_cast<size_t>(e)]);
    if (!read.problem.empty()) {
        QMessageBox::warning(this, QStringLiteral("ERROR"), toScreen(read.problem));
        return;
    }
    fields_[static_cast<size_t>(index)]->setText(toScreen(read.text));
}

void EditPersonDialog::takeFields()
{
    const QString sex = fields_[1]->text();
    form_.sex = sex.isEmpty() ? 'U' : sexOfKey(sex.at(0).toLatin1());
    if (form_.sex == 0)
        form_.sex = 'U';
    form_.given = fromScreen(fields_[2]->text());
    form_.surname = fromScreen(fields_[3]->text());
    for (int e = 0; e < formEventCount; ++e) {
        form_.dates[static_cast<size_t>(e)] = fromScreen(fields_[static_cast<size_t>(4 + 2 * e)]->text());
        form_.places[static_cast<size_t>(e)] = fromScreen(fields_[static_cast<size_t>(5 + 2 * e)]->text());
    }
    form_.divorced = divorced_->isChecked();
}

void EditPersonDialog::save()
{
    takeFields();
    const std::string problem = checkPersonForm(form_);
    if (!problem.empty()) {
        QMessageBox::warning(this, QStringLiteral("ERROR"), toScreen(problem));
        return;
    }
    accept();
}

bool Dialogs::editPerson(QWidget* parent, PersonForm& form, CompletionLists& completions)
{
    EditPersonDialog dialog(form, completions, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kinmap::gui
