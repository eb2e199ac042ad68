#include "SourceDialogs.h"

#include "Dialogs.h"
#include "ScreenText.h"
#include "TableViews.h"

#include "ged/Sources.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kinmap::gui {

SearchSourceDialog::SearchSourceDialog(const SourceList& sources, QWidget* parent)
    : QDialog(parent), sources_(sources), table_(new QTableWidget(static_cast<int>(sources.sources.size()), 3, this)),
      field_(new QLineEdit(this)), details_(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("SEARCH SOURCE"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Quelle"), QStringLiteral("Titel"), QStringLiteral("Autor")});
    setUpTableView(table_);
    table_->verticalHeader()->hide();
    table_->setShowGrid(true);
    for (int row = 0; row < table_->rowCount(); ++row) {
        const SourceRecord& s = sources.sources[static_cast<size_t>(row)];
        const QString cells[] = {toScreen(s.identifier), toScreen(s.title).section(QLatin1Char('\n'), 0, 0).trimmed(),
                                 toScreen(s.author).section(QLatin1Char('\n'), 0, 0).trimmed()};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setData(Qt::UserRole, row); // the source, whatever the order shown
            table_->setItem(row, column, item);
        }
    }
    table_->setSortingEnabled(true); // a click on a column sorts by it
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("@S0000@")) + 16);
    table_->setColumnWidth(1, fontMetrics().averageCharWidth() * 40);
    details_->setReadOnly(true);
    details_->setObjectName(QStringLiteral("details"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout;
    auto* label = new QLabel(QStringLiteral("&SOURCE:"), this);
    label->setBuddy(field_);
    form->addRow(label, field_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 3);
    layout->addLayout(form);
    layout->addWidget(details_, 2);
    layout->addWidget(buttons);
    resize(640, 520);
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int row) { showSource(row >= 0 ? table_->item(row, 0)->data(Qt::UserRole).toInt() : -1); });
    connect(field_, &QLineEdit::textEdited, this, &SearchSourceDialog::jump);
    field_->setFocus();
}

void SearchSourceDialog::showSource(int index)
{
    shown_ = index;
    details_->setPlainText(index >= 0 ? toScreen(sourceDetails(sources_.sources[static_cast<size_t>(index)])) : QString());
}

void SearchSourceDialog::jump(const QString& typed)
{
    const int found = findSource(sources_.sources, fromScreen(typed.trimmed()));
    if (found < 0)
        return;
    for (int row = 0; row < table_->rowCount(); ++row)
        if (table_->item(row, 0)->data(Qt::UserRole).toInt() == found) {
            table_->setCurrentCell(row, 0);
            table_->scrollToItem(table_->item(row, 0));
            break;
        }
    field_->setFocus(); // typing goes on in the field
}

QString SearchSourceDialog::chosen() const
{
    return shown_ >= 0 ? toScreen(sources_.sources[static_cast<size_t>(shown_)].identifier) : QString();
}

AddSourceDialog::AddSourceDialog(const QString& source, const SourceList& sources, QWidget* parent)
    : QDialog(parent), sources_(sources), field_(new QLineEdit(source, this))
{
    setWindowTitle(QStringLiteral("ADD SOURCE"));
    field_->setMaxLength(50);
    auto* label = new QLabel(QStringLiteral("&SOURCE:"), this);
    label->setBuddy(field_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* search = buttons->addButton(QStringLiteral("S&earch"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton(QStringLiteral("CANCEL"), QDialogButtonBox::RejectRole);
    connect(search, &QPushButton::clicked, this, &AddSourceDialog::search);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Add Source for Selection"), this));
    auto* row = new QFormLayout;
    row->addRow(label, field_);
    layout->addLayout(row);
    layout->addWidget(buttons);
    field_->selectAll();
}

void AddSourceDialog::search()
{
    SearchSourceDialog browser(sources_, this);
    if (browser.exec() != QDialog::Accepted || browser.chosen().isEmpty())
        return;
    field_->setText(browser.chosen());
    accept();
}

bool Dialogs::addSource(QWidget* parent, std::string& source, const SourceList& sources)
{
    AddSourceDialog dialog(toScreen(source), sources, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    source = fromScreen(dialog.sourceField()->text().trimmed());
    return !source.empty();
}

void Dialogs::showSources(QWidget* parent, const SourceList& sources)
{
    SearchSourceDialog browser(sources, parent);
    browser.exec();
}

} // namespace kinmap::gui
