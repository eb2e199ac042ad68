#include "CheckOptionsDialog.h"

#include "Dialogs.h"

#include "check/Plausibility.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kinmap::gui {

CheckOptionsDialog::CheckOptionsDialog(CheckOptions& options, QWidget* parent) : QDialog(parent), options_(options)
{
    setWindowTitle(QStringLiteral("ERROR CHECK OPTIONS"));
    auto* layout = new QVBoxLayout(this);
    auto* agesBox = new QGroupBox(QStringLiteral("Ages (years)"));
    auto* form = new QFormLayout(agesBox);
    for (int i = 0; i < CheckOptions::ageCount; ++i) {
        const auto at = static_cast<size_t>(i);
        ages_[at] = new QLineEdit(QString::number(options.ages[at]));
        ages_[at]->setMaximumWidth(80);
        form->addRow(QString::fromLatin1(CheckOptions::ageLabels[i]), ages_[at]);
    }
    layout->addWidget(agesBox);
    auto* ignoreBox = new QGroupBox(QStringLiteral("Do not check"));
    auto* switches = new QVBoxLayout(ignoreBox);
    for (int i = 0; i < 7; ++i) {
        const uint32_t bit = 1u << i;
        boxes_[static_cast<size_t>(i)] = new QCheckBox(QString::fromLatin1(CheckOptions::ignoreLabels[i]));
        boxes_[static_cast<size_t>(i)]->setChecked(options.ignores(bit));
        connect(boxes_[static_cast<size_t>(i)], &QCheckBox::toggled, this, [this, bit] { options_.ignore ^= bit; });
        switches->addWidget(boxes_[static_cast<size_t>(i)]);
    }
    layout->addWidget(ignoreBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CheckOptionsDialog::pressOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CheckOptionsDialog::pressOk()
{
    for (size_t i = 0; i < ages_.size(); ++i) {
        bool ok = false;
        const uint value = ages_[i]->text().trimmed().toUInt(&ok);
        if (ok)
            options_.ages[i] = value;
    }
    accept();
}

bool Dialogs::checkOptions(QWidget* parent, CheckOptions& options)
{
    CheckOptionsDialog dialog(options, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kinmap::gui
