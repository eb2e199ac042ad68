#include "MergeDialogs.h"

#include "Dialogs.h"
#include "ScreenText.h"

#include "check/Duplicates.h"
#include "check/Merge.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kinmap::gui {

namespace {

QLabel* valueLabel(const std::string& text)
{
    auto* label = new QLabel(toScreen(text));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(200);
    return label;
}

} // namespace

MergePersonsDialog::MergePersonsDialog(MergeFields& fields, QWidget* parent) : QDialog(parent), fields_(fields)
{
    setWindowTitle(QStringLiteral("MERGE PERSONS"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    auto* headerA = new QLabel(QStringLiteral("A (kept): RIN %1").arg(fields.keptRin));
    auto* headerB = new QLabel(QStringLiteral("B (merged into A): RIN %1").arg(fields.otherRin));
    QFont bold = headerA->font();
    bold.setBold(true);
    headerA->setFont(bold);
    headerB->setFont(bold);
    grid->addWidget(headerA, 0, 1);
    grid->addWidget(headerB, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("take B's")), 0, 3);
    for (int i = 0; i < MergeFields::count; ++i) {
        const auto at = static_cast<size_t>(i);
        grid->addWidget(new QLabel(QString::fromLatin1(MergeFields::labels[i])), i + 1, 0);
        grid->addWidget(valueLabel(fields.kept[at]), i + 1, 1);
        grid->addWidget(valueLabel(fields.other[at]), i + 1, 2);
        boxes_[at] = new QCheckBox;
        boxes_[at]->setChecked(fields.takeOther[at]);
        boxes_[at]->setAccessibleName(QString::fromLatin1(MergeFields::labels[i]));
        grid->addWidget(boxes_[at], i + 1, 3, Qt::AlignCenter);
    }
    static constexpr const char* relatives[5] = {"Father", "Mother", "Spouse", "Spouse", "Spouse"};
    for (int i = 0; i < 5; ++i) {
        const int row = MergeFields::count + 2 + i;
        const auto at = static_cast<size_t>(i);
        grid->addWidget(new QLabel(QString::fromLatin1(relatives[i])), row, 0);
        grid->addWidget(valueLabel(fields.keptRelatives[at]), row, 1);
        grid->addWidget(valueLabel(fields.otherRelatives[at]), row, 2);
    }
    grid->setRowMinimumHeight(MergeFields::count + 1, 12);

    layout->addWidget(new QLabel(QStringLiteral("Merge B into A? B's links move to A; the ticked values replace A's.")));
    auto* buttons = new QDialogButtonBox;
    const std::pair<const char*, MergeAnswer> choices[] = {
        {"YES", MergeAnswer::yes}, {"NO", MergeAnswer::no}, {"CANCEL", MergeAnswer::cancel}};
    for (const auto& [text, answer] : choices) {
        QPushButton* button = buttons->addButton(QString::fromLatin1(text), answer == MergeAnswer::cancel
                                                                                ? QDialogButtonBox::RejectRole
                                                                                : QDialogButtonBox::AcceptRole);
        connect(button, &QPushButton::clicked, this, [this, answer = answer] { press(answer); });
        // Enter merges nothing: a merge cannot be taken back but by undo.
        button->setAutoDefault(false);
        button->setDefault(answer == MergeAnswer::no);
    }
    layout->addWidget(buttons);
}

void MergePersonsDialog::press(MergeAnswer answer)
{
    answer_ = answer;
    if (answer == MergeAnswer::yes)
        for (size_t i = 0; i < boxes_.size(); ++i)
            fields_.takeOther[i] = boxes_[i]->isChecked();
    done(answer == MergeAnswer::cancel ? QDialog::Rejected : QDialog::Accepted);
}

MergePreviewDialog::MergePreviewDialog(const std::vector<CandidatePair>& pairs, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("MERGE DUPLICATES"));
    resize(760, 520);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("%1 pairs were found. Of each pair, the one with the higher number will be merged into the other:")
            .arg(pairs.size())));
    QString text;
    int n = 0;
    for (const CandidatePair& pair : pairs)
        text += QStringLiteral("%1\n%2\n==\n%3\n\n").arg(++n).arg(toScreen(pair.firstText).trimmed(), toScreen(pair.secondText).trimmed());
    auto* list = new QPlainTextEdit(text);
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("Merge all"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

MergeAnswer Dialogs::mergePersons(QWidget* parent, MergeFields& fields)
{
    MergePersonsDialog dialog(fields, parent);
    dialog.exec();
    return dialog.answer();
}

bool Dialogs::confirmMerges(QWidget* parent, const std::vector<CandidatePair>& pairs)
{
    MergePreviewDialog dialog(pairs, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kinmap::gui
