#include "FamilyView.h"

#include "PersonBox.h"
#include "PersonContextMenu.h"
#include "ScreenText.h"
#include "TableViews.h"

#include "app/Commands.h"
#include "app/FamilyCommands.h"
#include "app/Session.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

namespace kinmap::gui {

// The children of the shown marriage; a click on empty space adds one, a
// right click there asks for a RIN; typing finds a name anywhere in a row.
class ChildrenList : public QTreeWidget {
public:
    ChildrenList(Session& session, FamilyView* view) : QTreeWidget(view), session_(session), view_(view)
    {
        setColumnCount(4);
        setHeaderHidden(true);
        setRootIsDecorated(false);
        setUniformRowHeights(true);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setObjectName(QStringLiteral("children"));
        connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { open(item); });
    }

    void keyboardSearch(const QString& search) override { typeAhead_.search(this, search); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return QTreeWidget::mouseReleaseEvent(event);
        QTreeWidgetItem* item = itemAt(event->position().toPoint());
        if (item)
            open(item);
        else
            familyAddChildren(session_, false);
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        QTreeWidgetItem* item = event->reason() == QContextMenuEvent::Keyboard ? currentItem() : itemAt(event->pos());
        if (!item) {
            familyAddChildren(session_, true);
            return;
        }
        setCurrentItem(item);
        const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? keyboardMenuPosition(this) : event->globalPos();
        view_->childMenu(item->data(0, Qt::UserRole).toInt())->popup(at);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!contextMenuKey(this, event))
            QTreeWidget::keyPressEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QTreeWidget::focusOutEvent(event);
        if (!view_->findChild<QMenu*>()) // the list's own menu keeps the row
            clearSelection();
    }

private:
    void open(QTreeWidgetItem* item) { familyChildClicked(session_, item->data(0, Qt::UserRole).toInt()); }

    Session& session_;
    FamilyView* view_;
    TypeAheadAnywhere typeAhead_;
};

namespace {

QString boxTip(int32_t id)
{
    switch (id) {
    case emptyFather:
        return QStringLiteral("Click to add the father");
    case emptyMother:
        return QStringLiteral("Click to add the mother");
    case emptySpouse:
        return QStringLiteral("Click to add a spouse");
    default:
        return {};
    }
}

} // namespace

FamilyView::FamilyView(Session& session, const FamilyPicture& picture, QWidget* parent)
    : QWidget(parent), session_(session)
{
    setObjectName(QStringLiteral("FContainer"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    const Database& db = session.db;
    for (const FamilyBox* b : {&picture.person, &picture.spouse, &picture.father, &picture.mother}) {
        BoxLook look;
        if (b->id > 0)
            look.sex = db.persons[b->id].sex ? db.persons[b->id].sex : 'U';
        look.current = b == &picture.person;
        auto* box = new PersonBoxWidget(b->id, toScreen(b->text), look, this);
        if (b->id < 0)
            box->setToolTip(boxTip(b->id));
        connect(box, &PersonBoxWidget::clicked, this, [this](int32_t id) { familyBoxClicked(session_, id); });
        connect(box, &PersonBoxWidget::menuRequested, this, &FamilyView::boxMenuRequested);
        boxes_ << box;
    }
    marriage_ = new QPushButton(toScreen(picture.marriageText), this);
    marriage_->setObjectName(QStringLiteral("marriage"));
    connect(marriage_, &QPushButton::clicked, this, [this] { showNextMarriage(session_); });
    if (picture.moreParents) {
        parents_ = new QPushButton(QStringLiteral("Weitere Eltern"), this);
        connect(parents_, &QPushButton::clicked, this, [this] { showNextParents(session_); });
    }
    children_ = new ChildrenList(session, this);
    for (const FamilyChild& child : picture.children) {
        auto* item = new QTreeWidgetItem(children_, toScreen(child.text).split(QLatin1Char('\t')));
        item->setData(0, Qt::UserRole, child.rin);
    }
    // Tab goes person, marriage, spouse, father, mother, parents, children.
    QList<QWidget*> order{boxes_[0], marriage_, boxes_[1], boxes_[2], boxes_[3]};
    if (parents_)
        order << parents_;
    order << children_;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    setFocusProxy(boxes_[0]);
}

PersonBoxWidget* FamilyView::box(int32_t id) const
{
    for (PersonBoxWidget* b : boxes_)
        if (b->id() == id)
            return b;
    return nullptr;
}

QTreeWidget* FamilyView::childrenList() const
{
    return children_;
}

void FamilyView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int W = width(), H = height();
    const int B = 2 * W / 5, h = H / 8, s = h / 2, R = W - B - 50;
    boxes_[0]->setGeometry(15, 30, B, h);
    marriage_->setGeometry(15, 30 + h + 4, 6 * B / 7, s);
    boxes_[1]->setGeometry(15, s + 40 + h, B, h);
    boxes_[2]->setGeometry(R, 7, B, h);
    boxes_[3]->setGeometry(R, h + 12, B, h);
    if (parents_)
        parents_->setGeometry(R, 2 * h + 17, B / 3, s);
    const int top = s + 2 * (h + 25);
    children_->setGeometry(15, top, W - 60, std::max(h, H - 60 - top));
    const int M = (R + B + 15) / 2;
    lines_ = {QLine(B + 15, h / 2 + 30, M, h / 2 + 30), QLine(M, 30, M, 2 * h - 10), QLine(M, 30, R, 30),
              QLine(M, 2 * h - 10, R, 2 * h - 10)};
    QFont font = this->font();
    // Three lines fit the box at any size; not larger than a reading size.
    font.setPixelSize(std::clamp(h / 5, 10, 16));
    for (PersonBoxWidget* b : boxes_)
        b->setFont(font);
    const int column = (W - 60) * 200 / 400;
    children_->setColumnWidth(0, column);
    children_->setColumnWidth(1, (W - 60) * 70 / 400);
    children_->setColumnWidth(2, (W - 60) * 50 / 400 + 40);
}

void FamilyView::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Text), 1));
    painter.drawLines(lines_);
}

QMenu* FamilyView::boxMenu(int32_t id)
{
    delete menu_;
    menu_ = boxContextMenu(this, [this, id](uint32_t command) { familyBoxCommand(session_, command, id); });
    return menu_;
}

void FamilyView::boxMenuRequested(int32_t id, const QPoint& at)
{
    if (id < 0) { // an empty place: its relative is added at once
        familyBoxCommand(session_, 0, id);
        return;
    }
    boxMenu(id)->popup(at);
}

QMenu* FamilyView::childMenu(int32_t child)
{
    delete menu_;
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("Edit Context Menu"));
    static constexpr std::pair<const char*, uint32_t> entries[] = {
        {"&Edit", cmdEditPerson}, {"&Other Parents", cmdOtherParents}, {"&Unlink", cmdUnlinkParents}, {"&Delete", cmdDelete}};
    for (const auto& [text, command] : entries)
        menu_->addAction(QString::fromUtf8(text), this, [this, child, command = command] { familyChildCommand(session_, command, child); });
    return menu_;
}

} // namespace kinmap::gui
