#include "EventListDialog.h"

#include "ScreenText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace kinmap::gui {

namespace {

QLineEdit* yearField(int year)
{
    auto* field = new QLineEdit(year != 0 ? QString::number(year) : QString());
    field->setMaxLength(7);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), field));
    return field;
}

} // namespace

EventListDialog::EventListDialog(const QString& title, SearchOptions& options, QWidget* parent)
    : QDialog(parent), options_(options), place_(new QLineEdit(toScreen(options.place))), from_(yearField(options.periodFrom)),
      to_(yearField(options.periodTo))
{
    setWindowTitle(title);
    setMinimumWidth(340);
    place_->setMaxLength(static_cast<int>(SearchOptions::maxPatternLength));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Place"), place_);
    form->addRow(QStringLiteral("Between year"), from_);
    form->addRow(QStringLiteral("and"), to_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        takeFields();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void EventListDialog::takeFields()
{
    options_.place = fromScreen(place_->text());
    options_.periodFrom = from_->text().toInt();
    options_.periodTo = to_->text().toInt();
}

} // namespace kinmap::gui
