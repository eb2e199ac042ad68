#include "TableDialogs.h"

#include "Dialogs.h"
#include "ScreenText.h"

#include "exchange/Columns.h"
#include "exchange/TableInput.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kinmap::gui {

OutputTemplateDialog::OutputTemplateDialog(QWidget* parent)
    : QDialog(parent), field_(new QPlainTextEdit(QString::fromLatin1(defaultTemplate), this)), columns_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("OUTPUT TO FILE"));
    auto* label = new QLabel(QStringLiteral("Please choose columns like in example"), this);
    label->setBuddy(field_);
    field_->setTabChangesFocus(true);
    field_->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    columns_->setWordWrap(true);
    columns_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(field_, &QPlainTextEdit::textChanged, this, &OutputTemplateDialog::showColumns);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(field_);
    layout->addWidget(columns_);
    layout->addWidget(buttons);
    resize(520, 260);
    showColumns();
    field_->selectAll();
    field_->setFocus();
}

// What the template gives, as the table's header will name it.
void OutputTemplateDialog::showColumns()
{
    const ParsedTemplate parsed = parseTemplate(fromScreen(field_->toPlainText()));
    QStringList names;
    for (const TableColumn& column : parsed.columns)
        names << QStringLiteral("%1 %2").arg(column.level).arg(toScreen(column.tag));
    QString text = QStringLiteral("Columns: RIN, SURN, GIVN") + (names.isEmpty() ? QString() : QStringLiteral(", ") + names.join(QStringLiteral(", ")));
    if (!parsed.skipped.empty()) {
        QStringList skipped;
        for (const std::string& token : parsed.skipped)
            skipped << toScreen(token);
        text += QStringLiteral("\nNot read here: ") + skipped.join(QStringLiteral(", "));
    }
    columns_->setText(text);
}

bool Dialogs::outputTemplate(QWidget* parent, std::string& templateText)
{
    OutputTemplateDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    templateText = fromScreen(dialog.field()->toPlainText());
    return true;
}

InputPreviewDialog::InputPreviewDialog(const Database& db, const InputPlan& plan, const QString& fileName, QWidget* parent)
    : QDialog(parent), changes_(new QTreeWidget(this)), summary_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("INPUT FROM FILE"));
    summary_->setText(QStringLiteral("%1 lines of %2 persons will change in %3.%4")
                          .arg(plan.changedLines())
                          .arg(plan.persons.size())
                          .arg(fileName, plan.skipped.empty() ? QString()
                                                              : QStringLiteral(" %1 rows or cells are skipped.").arg(plan.skipped.size())));
    summary_->setWordWrap(true);
    changes_->setColumnCount(2);
    changes_->setHeaderLabels({QStringLiteral("In the file"), QStringLiteral("After the input")});
    changes_->setUniformRowHeights(true);
    for (size_t i = 0; i < plan.persons.size(); ++i) {
        const int32_t rin = plan.persons[i].rin;
        auto* item = new QTreeWidgetItem(changes_, {QStringLiteral("RIN %1 %2").arg(rin).arg(toScreen(previewName(db, rin)))});
        item->setFirstColumnSpanned(true);
        for (const LineChange& change : plan.changesOf(i))
            new QTreeWidgetItem(item, {change.before.empty() ? QStringLiteral("(new)") : toScreen(change.before),
                                       change.after.empty() ? QStringLiteral("(removed)") : toScreen(change.after)});
        item->setExpanded(true);
    }
    if (!plan.skipped.empty()) {
        auto* skipped = new QTreeWidgetItem(changes_, {QStringLiteral("Skipped")});
        skipped->setFirstColumnSpanned(true);
        for (const SkippedInput& s : plan.skipped)
            new QTreeWidgetItem(skipped, {QStringLiteral("line %1, %2").arg(s.line).arg(toScreen(s.where)), toScreen(s.reason)});
        skipped->setExpanded(true);
    }
    changes_->header()->setSectionResizeMode(QHeaderView::Interactive);
    changes_->setColumnWidth(0, 300);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply = buttons->addButton(QStringLiteral("&Apply"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("CANCEL"), QDialogButtonBox::RejectRole);
    apply->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(changes_);
    layout->addWidget(buttons);
    resize(720, 480);
}

bool Dialogs::confirmInput(QWidget* parent, const Database& db, const InputPlan& plan, const QString& fileName)
{
    InputPreviewDialog dialog(db, plan, fileName, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kinmap::gui
