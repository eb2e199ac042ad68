#include "StartPage.h"

#include "ProgramFiles.h"
#include "ProgramIcon.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kinmap::gui {

namespace {

const QString manualLink = QStringLiteral("kinmap:manual");

QLabel* linkLabel()
{
    auto* label = new QLabel;
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction); // links reachable with Tab
    label->setWordWrap(true);
    return label;
}

QString fileLink(const QString& path, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(QUrl::fromLocalFile(path).toString().toHtmlEscaped(), text.toHtmlEscaped());
}

} // namespace

StartPage::StartPage(Actions actions, QWidget* parent)
    : QWidget(parent), actions_(std::move(actions)), import_(new QPushButton(QStringLiteral("&Import GED file…"))),
      recent_(linkLabel()), links_(linkLabel())
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    // A column of readable width in the middle of the page.
    auto* outer = new QVBoxLayout(this);
    auto* middle = new QWidget;
    middle->setFixedWidth(fontMetrics().averageCharWidth() * 72);
    auto* column = new QVBoxLayout(middle);
    column->setSpacing(14);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(middle);
    row->addStretch();
    outer->addStretch(1);
    outer->addLayout(row);
    outer->addStretch(2);

    auto* icon = new QLabel;
    icon->setPixmap(programIcon().pixmap(64, 64));
    column->addWidget(icon, 0, Qt::AlignHCenter);
    auto* title = new QLabel(QStringLiteral("kinmap"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);
    column->addWidget(title, 0, Qt::AlignHCenter);
    auto* purpose = new QLabel(QStringLiteral(
        "kinmap opens a genealogy file (GED), repairs its broken links, shows, counts and searches its persons, "
        "finds implausible data and duplicates, and writes the file back without losing a line of it."));
    purpose->setWordWrap(true);
    purpose->setAlignment(Qt::AlignHCenter);
    column->addWidget(purpose);
    import_->setDefault(true);
    connect(import_, &QPushButton::clicked, this, [this] { actions_.import(); });
    column->addWidget(import_, 0, Qt::AlignHCenter);
    for (QLabel* label : {recent_, links_}) {
        label->setAlignment(Qt::AlignHCenter);
        connect(label, &QLabel::linkActivated, this, &StartPage::follow);
        column->addWidget(label);
    }

    QStringList links;
    if (const QString sample = programFile(QStringLiteral("sample.ged")); !sample.isEmpty())
        links << fileLink(sample, QStringLiteral("Open the sample file"));
    links << QStringLiteral("<a href=\"%1\">Read the manual</a>").arg(manualLink);
    links_->setText(links.join(QStringLiteral(" &nbsp;·&nbsp; ")));
    setRecentFiles({});
}

void StartPage::setRecentFiles(const QStringList& paths)
{
    if (paths.isEmpty()) {
        recent_->setText(QStringLiteral("No recently used files yet."));
        return;
    }
    QStringList lines{QStringLiteral("Recently used files:")};
    for (const QString& path : paths) {
        const QFileInfo file(path);
        lines << fileLink(path, file.fileName()) + QStringLiteral(" &nbsp;<small>%1</small>").arg(file.path().toHtmlEscaped());
    }
    recent_->setText(lines.join(QStringLiteral("<br>")));
}

void StartPage::follow(const QString& link)
{
    if (link == manualLink)
        actions_.manual();
    else
        actions_.open(QUrl(link).toLocalFile());
}

} // namespace kinmap::gui
