#include "SearchDialogs.h"

#include "ScreenText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace kinmap::gui {

namespace {

constexpr int maxNumberLength = 7;

int numberIn(const QLineEdit* field)
{
    return field && !field->text().isEmpty() ? field->text().toInt() : 0;
}

} // namespace

SearchDialog::SearchDialog(Kind kind, SearchOptions& options, QWidget* parent)
    : QDialog(parent), kind_(kind), options_(options)
{
    setWindowTitle(kind == Kind::persons ? QStringLiteral("SEARCH PERSONS") : QStringLiteral("SEARCH EVENTS"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    if (kind == Kind::persons) {
        addField(form, QStringLiteral("Given name"), options.given, false);
        addField(form, QStringLiteral("Surname"), options.surname, false);
        addField(form, QStringLiteral("Spouse given name"), options.spouseGiven, false);
        addField(form, QStringLiteral("Spouse surname"), options.spouseSurname, false);
        addField(form, QStringLiteral("Place"), options.place, false);
        addField(form, QStringLiteral("Period from"), {}, true);
        addField(form, QStringLiteral("Period to"), {}, true);
        addField(form, QStringLiteral("RIN from"), {}, true);
        addField(form, QStringLiteral("RIN to"), {}, true);
    } else {
        auto* event = new QComboBox;
        event->addItems({QStringLiteral("Birth"), QStringLiteral("Death"), QStringLiteral("Marriage")});
        event->setCurrentIndex(static_cast<int>(options.eventKind));
        connect(event, &QComboBox::currentIndexChanged, this,
                [this](int index) { options_.eventKind = static_cast<EventKind>(index); });
        form->addRow(QStringLiteral("Event"), event);
        addField(form, QStringLiteral("Place"), options.place, false);
        addField(form, QStringLiteral("Period from"), {}, true);
        addField(form, QStringLiteral("Period to"), {}, true);
        addField(form, QStringLiteral("Name"), options.surname, false);
    }

    auto* switches = new QHBoxLayout;
    const std::pair<const char*, int> boxes[] = {
        {"with spouses", Extend::spouses}, {"with children", Extend::children}, {"with parents", Extend::parents}};
    for (const auto& [text, bit] : boxes) {
        auto* box = new QCheckBox(QString::fromLatin1(text));
        box->setChecked((options.extensions & bit) != 0);
        connect(box, &QCheckBox::toggled, this, [this, bit = bit] { options_.extensions ^= bit; });
        switches->addWidget(box);
    }
    layout->addLayout(switches);

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, SearchAction> actions[] = {
        {"SELECT", SearchAction::select}, {"SEL/ADD", SearchAction::selectAdd}, {"DESELECT", SearchAction::deselect}};
    for (const auto& [text, action] : actions) {
        auto* button = new QPushButton(QString::fromLatin1(text));
        connect(button, &QPushButton::clicked, this, [this, action = action] { press(action); });
        buttons->addWidget(button);
    }
    auto* cancel = new QPushButton(QStringLiteral("CANCEL"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

QLineEdit* SearchDialog::addField(QFormLayout* form, const QString& label, const std::string& value, bool number)
{
    auto* field = new QLineEdit(toScreen(value));
    field->setObjectName(label);
    if (number) {
        field->setMaxLength(maxNumberLength);
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), field));
    } else {
        field->setMaxLength(static_cast<int>(SearchOptions::maxPatternLength));
    }
    form->addRow(label, field);
    fields_ << field;
    return field;
}

QLineEdit* SearchDialog::field(const QString& label) const
{
    for (QLineEdit* f : fields_)
        if (f->objectName() == label)
            return f;
    return nullptr;
}

void SearchDialog::press(SearchAction action)
{
    auto text = [this](const char* label) { return fromScreen(field(QString::fromLatin1(label))->text()); };
    options_.action = action;
    options_.place = text("Place");
    options_.periodFrom = numberIn(field(QStringLiteral("Period from")));
    options_.periodTo = numberIn(field(QStringLiteral("Period to")));
    if (kind_ == Kind::persons) {
        options_.given = text("Given name");
        options_.surname = text("Surname");
        options_.spouseGiven = text("Spouse given name");
        options_.spouseSurname = text("Spouse surname");
        options_.rinFrom = numberIn(field(QStringLiteral("RIN from")));
        options_.rinTo = numberIn(field(QStringLiteral("RIN to")));
    } else {
        options_.surname = text("Name");
    }
    accept();
}

GenerationsDialog::GenerationsDialog(const QString& title, bool withFollowing, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    auto* form = new QFormLayout(this);
    auto numberField = [] {
        auto* field = new QLineEdit;
        field->setMaxLength(maxNumberLength);
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), field));
        return field;
    };
    generations_ = numberField();
    form->addRow(QStringLiteral("Nr of Generations:"), generations_);
    if (withFollowing) {
        following_ = numberField();
        form->addRow(QStringLiteral("Following Generations:"), following_);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

int GenerationsDialog::generations() const
{
    return numberIn(generations_);
}

int GenerationsDialog::following() const
{
    return numberIn(following_);
}

} // namespace kinmap::gui
