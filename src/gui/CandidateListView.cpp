#include "CandidateListView.h"

#include "ScreenText.h"
#include "app/ExtrasCommands.h"
#include "app/ViewCommands.h"

#include "app/Session.h"
#include "check/Duplicates.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace kinmap::gui {

namespace {

QLabel* personLabel(const std::string& text)
{
    auto* label = new QLabel(toScreen(text).trimmed());
    label->setFrameShape(QFrame::StyledPanel);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    label->setCursor(Qt::PointingHandCursor);
    label->setContentsMargins(4, 2, 4, 2);
    return label;
}

} // namespace

CandidateListView::CandidateListView(Session& session, QWidget* parent) : QWidget(parent), session_(session)
{
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    for (const char* text : {"Check all", "Uncheck all", "Merge now", "Cancel"}) {
        auto* button = new QPushButton(QString::fromLatin1(text));
        button->setMinimumWidth(150);
        connect(button, &QPushButton::clicked, this, [this, text] { press(QString::fromLatin1(text)); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    grid->setColumnStretch(2, 1);
    int row = 0;
    int n = 0;
    for (CandidatePair& pair : session_.duplicates.candidates) {
        Row r;
        r.box = new QCheckBox;
        r.box->setAccessibleName(QStringLiteral("pair %1").arg(n + 1));
        r.box->setChecked(pair.checked);
        connect(r.box, &QCheckBox::toggled, this, [&pair](bool on) { pair.checked = on; });
        r.first = personLabel(pair.firstText);
        r.second = personLabel(pair.secondText);
        for (QLabel* label : {r.first, r.second})
            label->installEventFilter(this);
        grid->addWidget(new QLabel(QString::number(++n)), row, 0, 2, 1, Qt::AlignTop);
        grid->addWidget(r.box, row, 1, 2, 1, Qt::AlignTop);
        grid->addWidget(r.first, row, 2);
        grid->addWidget(r.second, row + 1, 2);
        grid->setRowMinimumHeight(row + 2, 10);
        row += 3;
        rows_.push_back(r);
    }
    grid->setRowStretch(row, 1);
    scroll_ = new QScrollArea;
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(content);
    layout->addWidget(scroll_, 1);
    showStates();
}

void CandidateListView::press(const QString& button)
{
    if (button == QStringLiteral("Check all") || button == QStringLiteral("Uncheck all")) {
        for (const Row& r : rows_)
            if (r.box->isEnabled())
                r.box->setChecked(button == QStringLiteral("Check all"));
    } else if (button == QStringLiteral("Merge now")) {
        mergeCheckedCandidates(session_);
        showStates();
    } else if (button == QStringLiteral("Cancel")) {
        closeCandidates(session_); // shows another view: this one goes
    }
}

void CandidateListView::showStates()
{
    const auto& pairs = session_.duplicates.candidates;
    for (size_t i = 0; i < rows_.size() && i < pairs.size(); ++i) {
        const bool open = !pairs[i].merged;
        rows_[i].box->setEnabled(open);
        rows_[i].first->setEnabled(open);
        rows_[i].second->setEnabled(open);
    }
}

// A click into a person's box makes the person the current one.
bool CandidateListView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto& pairs = session_.duplicates.candidates;
        for (size_t i = 0; i < rows_.size() && i < pairs.size(); ++i) {
            if (watched == rows_[i].first || watched == rows_[i].second) {
                if (!pairs[i].families)
                    clickPerson(session_, watched == rows_[i].first ? pairs[i].first : pairs[i].second);
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kinmap::gui
