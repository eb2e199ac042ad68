#include "RinDialogs.h"

#include "Dialogs.h"
#include "ScreenText.h"

#include "app/Session.h"
#include "views/PersonSearch.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kinmap::gui {

SearchRinModel::SearchRinModel(Session& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session), rows_(PersonSearch::rowCount(session.personList))
{
}

int SearchRinModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int SearchRinModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : PersonSearch::columnCount;
}

QVariant SearchRinModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return toScreen(PersonSearch::cellText(session_.db, session_.personList, index.row(), index.column()));
}

QVariant SearchRinModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return QString::fromLatin1(PersonSearch::columnTitle(section));
}

SearchRinDialog::SearchRinDialog(Session& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setWindowTitle(QStringLiteral("SEARCH RIN"));
    resize(720, 480);
    auto* layout = new QVBoxLayout(this);
    search_ = new QLineEdit;
    search_->setPlaceholderText(QStringLiteral("(RIN or name)"));
    layout->addWidget(search_);
    auto* middle = new QHBoxLayout;
    list_ = new QTableView;
    list_->setModel(new SearchRinModel(session, list_));
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setSectionsMovable(true);
    list_->setColumnWidth(0, 80);
    list_->setColumnWidth(1, 250);
    list_->setColumnWidth(2, 80);
    middle->addWidget(list_, 3);
    report_ = new QPlainTextEdit;
    report_->setReadOnly(true);
    report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    middle->addWidget(report_, 2);
    layout->addLayout(middle, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (rin_ != 0)
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const int row = PersonSearch::find(session_.db, session_.personList, fromScreen(text));
        if (row >= 0)
            pick(row);
    });
    connect(list_, &QTableView::clicked, this, [this](const QModelIndex& index) { pick(index.row()); });
    search_->setFocus();
}

void SearchRinDialog::pick(int row)
{
    rin_ = PersonSearch::rinAt(session_.personList, row);
    list_->selectRow(row);
    list_->scrollTo(list_->model()->index(row, 0));
    report_->setPlainText(toScreen(personReport(session_.db, rin_)));
    search_->setFocus();
}

QString SearchRinDialog::report() const
{
    return report_->toPlainText();
}

RinPromptDialog::RinPromptDialog(Session& session, const QString& title, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    rin_ = new QLineEdit;
    rin_->setMaxLength(49);
    form->addRow(QStringLiteral("RIN:"), rin_);
    form->addRow(QString(), new QLabel(QStringLiteral("(leave empty for new)")));
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox;
    QPushButton* search = buttons->addButton(QStringLiteral("Search"), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("PROCEED"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("CANCEL"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(search, &QPushButton::clicked, this, [this, &session] {
        SearchRinDialog dialog(session, this);
        if (dialog.exec() == QDialog::Accepted) {
            rin_->setText(QString::number(dialog.chosenRin()));
            accept();
        }
    });
    layout->addWidget(buttons);
    rin_->setFocus();
    // Wide enough for its title ("ADD CHILD TO: [12] Anna Roth") and the frame's buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(title) + 160);
}

bool Dialogs::askRin(QWidget* parent, Session& session, const QString& title, QString& rin)
{
    RinPromptDialog dialog(session, title, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    rin = dialog.rinField()->text();
    return true;
}

} // namespace kinmap::gui
