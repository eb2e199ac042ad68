#include "CountDialogs.h"

#include "ScreenText.h"

#include "query/Counts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace kinmap::gui {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("CANCEL"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLineEdit* textField(const std::string& value)
{
    auto* field = new QLineEdit(toScreen(value));
    field->setMaxLength(static_cast<int>(CountOptions::maxFilterLength));
    return field;
}

} // namespace

CountDialog::CountDialog(int mode, const std::string& filter, bool& onlySelection, QWidget* parent)
    : QDialog(parent), filter_(textField(filter))
{
    setWindowTitle(QStringLiteral("COUNT"));
    setMinimumWidth(340);
    static constexpr const char* labels[] = {"Givn name with:", "Surname with:", "Place names with:"};
    auto* form = new QFormLayout(this);
    auto* label = new QLabel(QString::fromLatin1(labels[mode]));
    label->setBuddy(filter_);
    form->addRow(label, filter_);
    auto* selection = new QCheckBox(QStringLiteral("only in selection"));
    selection->setChecked(onlySelection);
    connect(selection, &QCheckBox::toggled, this, [&onlySelection](bool on) { onlySelection = on; });
    form->addRow(selection);
    form->addRow(okCancel(this));
}

std::string CountDialog::filter() const
{
    return fromScreen(filter_->text());
}

CountEventsDialog::CountEventsDialog(const std::string& place, int period, QWidget* parent)
    : QDialog(parent), place_(textField(place)), period_(new QLineEdit)
{
    setWindowTitle(QStringLiteral("COUNT EVENTS"));
    setMinimumWidth(340);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Place"), place_);
    period_->setMaxLength(7);
    period_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d*")), period_));
    if (period != 0)
        period_->setText(QString::number(period));
    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(period_);
    periodRow->addWidget(new QLabel(QStringLiteral("years")));
    form->addRow(QStringLiteral("Period"), periodRow);
    form->addRow(okCancel(this));
}

std::string CountEventsDialog::place() const
{
    return fromScreen(place_->text());
}

int CountEventsDialog::period() const
{
    return period_->text().toInt(); // 0 when empty or no number
}

} // namespace kinmap::gui
