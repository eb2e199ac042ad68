#include "ReplaceDialog.h"

#include "ScreenText.h"

#include "query/Replace.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kinmap::gui {

ReplaceDialog::ReplaceDialog(ReplaceOptions& options, std::function<void()> replace, QWidget* parent)
    : QDialog(parent), options_(options), replace_(std::move(replace)), find_(new QLineEdit(toScreen(options.find))),
      by_(new QLineEdit(toScreen(options.by))), kind_(new QComboBox)
{
    setWindowTitle(QStringLiteral("FIND AND REPLACE"));
    setMinimumWidth(380); // room for 49 characters of a place
    for (QLineEdit* field : {find_, by_})
        field->setMaxLength(static_cast<int>(ReplaceOptions::maxTextLength));
    for (int kind = 0; kind < ReplaceOptions::kindCount; ++kind)
        kind_->addItem(QString::fromLatin1(replaceKindName(kind)));
    kind_->setMaxVisibleItems(ReplaceOptions::kindCount);
    kind_->setCurrentIndex(options.kind);
    connect(kind_, &QComboBox::currentIndexChanged, this, [this](int kind) { options_.kind = kind; });

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Find text"), find_);
    form->addRow(QStringLiteral("Replace by"), by_);
    form->addRow(QStringLiteral("in"), kind_);
    auto* buttons = new QHBoxLayout;
    auto* replaceButton = new QPushButton(QStringLiteral("REPLACE"));
    replaceButton->setDefault(true);
    connect(replaceButton, &QPushButton::clicked, this, &ReplaceDialog::pressReplace);
    auto* cancel = new QPushButton(QStringLiteral("CANCEL"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(replaceButton);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    find_->setFocus();
}

void ReplaceDialog::pressReplace()
{
    options_.find = fromScreen(find_->text());
    options_.by = fromScreen(by_->text());
    replace_();
}

} // namespace kinmap::gui
