#include "DuplicatesDialog.h"

#include "Dialogs.h"
#include "ScreenText.h"

#include "check/Duplicates.h"
#include "check/NameMatching.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kinmap::gui {

using namespace DuplicateOption;

DuplicatesDialog::DuplicatesDialog(uint32_t& options, QWidget* parent) : QDialog(parent), options_(options)
{
    setWindowTitle(QStringLiteral("DUPLICATES"));
    auto* layout = new QVBoxLayout(this);
    auto group = [&](const char* title) {
        auto* box = new QGroupBox(QString::fromLatin1(title));
        box->setLayout(new QHBoxLayout);
        layout->addWidget(box);
        new QButtonGroup(box);
        return box;
    };
    auto set = [](uint32_t mask, uint32_t value) {
        return [mask, value](uint32_t o) { return (o & ~mask) | value; };
    };
    QGroupBox* among = group("Search among");
    addChoice(among, "Persons", persons, persons, set(persons, persons));
    addChoice(among, "Families", persons, 0, set(persons, 0));
    QGroupBox* names = group("Names");
    addChoice(names, "Exact spelling", methodMask, 2, set(methodMask, 2));
    addChoice(names, "Soundex", methodMask, 4, set(methodMask, 4));
    addChoice(names, "Other matching", methodMask, 6, set(methodMask, 6));
    QGroupBox* also = group("Must also agree");
    for (const auto& [text, value] : {std::pair{"Same date", sameDate}, {"Same spouse", sameSpouse},
                                      {"Same parents", sameParents}, {"None", noRequirement}})
        addChoice(also, text, requirementMask, value, [value = value](uint32_t o) { return withRequirement(o, value); });
    QGroupBox* mode = group("Merge");
    for (const auto& [text, value] : {std::pair{"automatic", automatic}, {"semiautomatic", semiautomatic}, {"manual", manual}})
        addChoice(mode, text, modeMask, value, [value = value](uint32_t o) { return withMode(o, value); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    options_ = withMethod(options_);
    showOptions();
}

void DuplicatesDialog::addChoice(QWidget* group, const char* text, uint32_t mask, uint32_t value,
                                 std::function<uint32_t(uint32_t)> click)
{
    auto* button = new QRadioButton(QString::fromLatin1(text));
    group->layout()->addWidget(button);
    group->findChild<QButtonGroup*>()->addButton(button);
    connect(button, &QRadioButton::clicked, this, [this, click = std::move(click)] {
        options_ = click(options_);
        showOptions();
    });
    choices_.push_back({button, mask, value});
}

void DuplicatesDialog::showOptions()
{
    for (const Choice& c : choices_) {
        const QSignalBlocker quiet(c.button);
        if ((options_ & c.mask) == c.value)
            c.button->setChecked(true);
    }
}

QRadioButton* DuplicatesDialog::button(const QString& text) const
{
    for (const Choice& c : choices_)
        if (c.button->text() == text)
            return c.button;
    return nullptr;
}

SoundexDialog::SoundexDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("CALCULATE SOUNDEX"));
    auto* form = new QFormLayout(this);
    auto* name = new QLineEdit;
    name->setObjectName(QStringLiteral("Name"));
    name->setMaxLength(49);
    code_ = new QLabel;
    code_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("Name"), name);
    form->addRow(QStringLiteral("Soundex"), code_);
    auto* back = new QPushButton(QStringLiteral("RETURN"));
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    form->addRow(back);
    connect(name, &QLineEdit::textChanged, this,
            [this](const QString& text) { code_->setText(QString::fromStdString(soundexCode(fromScreen(text)))); });
}

QString SoundexDialog::code() const
{
    return code_->text();
}

bool Dialogs::duplicateOptions(QWidget* parent, uint32_t& options)
{
    DuplicatesDialog dialog(options, parent);
    return dialog.exec() == QDialog::Accepted;
}

void Dialogs::soundex(QWidget* parent)
{
    SoundexDialog dialog(parent);
    dialog.exec();
}

} // namespace kinmap::gui
