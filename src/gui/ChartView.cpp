#include "ChartView.h"

#include "PersonBox.h"
#include "PersonContextMenu.h"
#include "ScreenText.h"

#include "app/ChartCommands.h"
#include "app/Commands.h"
#include "app/EditCommands.h"
#include "app/Session.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QToolButton>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace kinmap::gui {

namespace {

QString settingsKey(ChartKind kind)
{
    return kind == ChartKind::tree ? QStringLiteral("Chart/treeGenerations") : QStringLiteral("Chart/hourglassGenerations");
}

QFont chartFont(const QFont& base, int pixels)
{
    QFont font = base;
    font.setPixelSize(pixels);
    return font;
}

} // namespace

// One box of the drawing: painted with the box look of every view, focusable,
// with the person's tooltip.
class ChartBoxItem : public QGraphicsItem {
public:
    ChartBoxItem(ChartView* view, int index, const QStringList& lines, const BoxLook& look)
        : view_(view), index_(index), text_(lines.join(QLatin1Char('\n'))), look_(look)
    {
        const ChartBox& box = view->chart_.boxes[static_cast<size_t>(index)];
        setPos(box.x, box.y);
        size_ = QSizeF(box.w, box.h);
        setFlag(ItemIsFocusable);
        setAcceptHoverEvents(true);
    }

    QRectF boundingRect() const override { return {QPointF(0, 0), size_}; }
    QString text() const { return text_; }
    int index() const { return index_; }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        painter->setFont(chartFont(view_->font(), view_->chart_.fontHeight));
        BoxLook look = look_;
        look.focused = hasFocus();
        paintPersonBox(*painter, boundingRect().toRect(), text_, look, view_->palette());
    }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && boundingRect().contains(event->pos()))
            view_->boxClicked(index_);
    }
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override
    {
        view_->boxMenuRequested(index_, event->screenPos());
    }
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }

private:
    ChartView* view_;
    int index_;
    QString text_;
    BoxLook look_;
    QSizeF size_;
};

int ChartView::savedGenerations(ChartKind kind)
{
    return QSettings(QStringLiteral("kinmap"), QStringLiteral("kinmap"))
        .value(settingsKey(kind), kind == ChartKind::tree ? 5 : 4)
        .toInt();
}

ChartView::ChartView(Session& session, ChartKind kind, QSize size, int generations, QWidget* parent)
    : QWidget(parent), session_(session), kind_(kind), scene_(new QGraphicsScene(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 0);
    back_ = new QToolButton(this);
    back_->setText(QStringLiteral("<"));
    back_->setToolTip(QStringLiteral("Back to the person before (Backspace)"));
    back_->setFocusPolicy(Qt::NoFocus);
    connect(back_, &QToolButton::clicked, this, [this] { chartBack(session_); });
    bar->addWidget(back_);
    auto* label = new QLabel(QStringLiteral("&Generations:"), this);
    generations_ = new QSpinBox(this);
    generations_->setRange(3, 8);
    generations_->setValue(std::clamp(generations > 0 ? generations : savedGenerations(kind), 3, 8));
    label->setBuddy(generations_);
    bar->addWidget(label);
    bar->addWidget(generations_);
    for (const auto& [text, tip, factor] : {std::tuple{"−", "Zoom out (Ctrl+-)", 1 / 1.25}, std::tuple{"+", "Zoom in (Ctrl++)", 1.25},
                                            std::tuple{"Fit", "Fit the drawing into the window (Ctrl+0)", 0.0}}) {
        auto* button = new QToolButton(this);
        button->setText(QString::fromUtf8(text));
        button->setToolTip(QString::fromUtf8(tip));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, factor = factor] { factor > 0 ? zoomBy(factor) : fitToView(); });
        bar->addWidget(button);
    }
    bar->addStretch();
    layout->addLayout(bar);
    view_ = new QGraphicsView(scene_, this);
    view_->setObjectName(kind == ChartKind::tree ? QStringLiteral("tree") : QStringLiteral("hourglass"));
    view_->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    view_->setDragMode(QGraphicsView::ScrollHandDrag);
    view_->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view_->setBackgroundBrush(palette().color(QPalette::Base));
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    layout->addWidget(view_);
    setFocusProxy(view_);
    connect(generations_, &QSpinBox::valueChanged, this, [this](int value) {
        QSettings(QStringLiteral("kinmap"), QStringLiteral("kinmap")).setValue(settingsKey(kind_), value);
        build(builtFor_);
    });
    // The drawing is laid out for the room the view will have below the bar.
    build(QSize(size.width(), std::max(200, size.height() - generations_->sizeHint().height() - 8)));
}

void ChartView::build(QSize size)
{
    builtFor_ = size;
    const int focused = focusedBox();
    const int32_t focusedRin = focused >= 0 ? chart_.boxes[static_cast<size_t>(focused)].id : 0;
    menu_ = nullptr;
    scene_->clear();
    items_.clear();
    chart_ = prepareChart(session_, kind_, std::max(size.width(), 320), std::max(size.height(), 200), generations_->value());
    back_->setEnabled(canGoBack(session_));
    const QPen pen(palette().color(QPalette::Text), 0); // cosmetic: one pixel at any zoom
    for (const ChartLine& l : chart_.lines)
        scene_->addLine(l.x1, l.y1, l.x2, l.y2, pen);
    const QFont font = chartFont(this->font(), chart_.fontHeight);
    for (const ChartLabel& l : chart_.labels) {
        auto* label = scene_->addSimpleText(toScreen(l.text), font);
        label->setBrush(palette().color(QPalette::Text));
        label->setPos(l.x, l.y);
    }
    const Database& db = session_.db;
    for (int i = 0; i < static_cast<int>(chart_.boxes.size()); ++i) {
        const ChartBox& box = chart_.boxes[static_cast<size_t>(i)];
        QStringList lines;
        for (const std::string& line : chartBoxLines(db, chart_, box))
            lines << toScreen(line);
        BoxLook look;
        look.sex = box.placeholder() ? 0 : (db.persons[box.id].sex ? db.persons[box.id].sex : 'U');
        look.current = box.id == chart_.proband && !box.child;
        look.centred = true;
        auto* item = new ChartBoxItem(this, i, lines, look);
        if (box.placeholder())
            item->setToolTip(box.id == missingFather   ? QStringLiteral("Click to add the father")
                             : box.id == missingMother ? QStringLiteral("Click to add the mother")
                                                       : QStringLiteral("Click to add a spouse"));
        else
            item->setToolTip(toScreen(chartTooltip(db, box.id)).remove(QLatin1Char('\r')).trimmed());
        scene_->addItem(item);
        items_ << item;
    }
    // The whole drawing, also where a small view pushes boxes past its left or top.
    scene_->setSceneRect(scene_->itemsBoundingRect().united(QRectF(0, 0, chart_.width, chart_.height)));
    const int again = focusedRin ? chart_.boxOf(focusedRin) : -1;
    focusBox(again >= 0 ? again : chart_.boxOf(chart_.proband));
}

QGraphicsItem* ChartView::item(int box) const
{
    return items_.value(box);
}

int ChartView::focusedBox() const
{
    // The scene's focus item, also while the window is not the active one.
    return static_cast<int>(items_.indexOf(static_cast<ChartBoxItem*>(scene_->focusItem())));
}

void ChartView::focusBox(int box)
{
    if (box < 0 || box >= items_.size())
        return;
    scene_->setFocus();
    items_[box]->setFocus();
    view_->ensureVisible(items_[box], 20, 20);
}

double ChartView::zoom() const
{
    return view_->transform().m11();
}

void ChartView::zoomBy(double factor)
{
    const double next = std::clamp(zoom() * factor, 0.1, 8.0);
    view_->setTransform(QTransform::fromScale(next, next));
}

void ChartView::fitToView()
{
    view_->fitInView(scene_->itemsBoundingRect().adjusted(-10, -10, 10, 10), Qt::KeepAspectRatio);
}


void ChartView::boxClicked(int box)
{
    chartBoxClicked(session_, chart_, box); // shows the tab again, with a new view
}

QMenu* ChartView::boxMenu(int box)
{
    const int32_t rin = chart_.boxes[static_cast<size_t>(box)].id;
    delete menu_;
    menu_ = boxContextMenu(this, [this, rin](uint32_t command) { personMenuCommand(session_, command, rin); });
    return menu_;
}

void ChartView::boxMenuRequested(int box, const QPoint& at)
{
    if (box < 0 || box >= static_cast<int>(chart_.boxes.size()))
        return;
    if (chart_.boxes[static_cast<size_t>(box)].placeholder()) { // as a left click
        boxClicked(box);
        return;
    }
    boxMenu(box)->popup(at);
}

int ChartView::neighbour(int box, int key) const
{
    if (box < 0)
        return -1;
    const auto centre = [this](int i) {
        const ChartBox& b = chart_.boxes[static_cast<size_t>(i)];
        return QPointF(b.x + b.w / 2.0, b.y + b.h / 2.0);
    };
    const ChartBox& from = chart_.boxes[static_cast<size_t>(box)];
    // Boxes joined by a line come first: the child, the parents, the other parent.
    auto joined = [&](int i) {
        const ChartBox& b = chart_.boxes[static_cast<size_t>(i)];
        return i == from.hangsOn || b.hangsOn == box || (from.hangsOn >= 0 && b.hangsOn == from.hangsOn) ||
               (b.child && from.child);
    };
    const QPointF here = centre(box);
    int best = -1;
    double bestScore = 0;
    for (int i = 0; i < static_cast<int>(chart_.boxes.size()); ++i) {
        if (i == box)
            continue;
        const QPointF d = centre(i) - here;
        const double along = key == Qt::Key_Right ? d.x() : key == Qt::Key_Left ? -d.x() : key == Qt::Key_Down ? d.y() : -d.y();
        const double across = key == Qt::Key_Left || key == Qt::Key_Right ? std::abs(d.y()) : std::abs(d.x());
        if (along <= 1)
            continue;
        const double score = along + 2 * across - (joined(i) ? 1e6 : 0);
        if (best < 0 || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

bool ChartView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == view_->viewport()) {
        // A new size lays the drawing out anew, as the view's size gives it.
        const QSize room = view_->viewport()->size();
        if (room.width() > 50 && (std::abs(room.width() - builtFor_.width()) > 8 || std::abs(room.height() - builtFor_.height()) > 8))
            build(room);
        return false;
    }
    if (event->type() == QEvent::Wheel && watched == view_->viewport()) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            return false;
        zoomBy(std::pow(1.25, wheel->angleDelta().y() / 120.0));
        return true;
    }
    if (event->type() != QEvent::KeyPress || watched != view_)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const int box = focusedBox();
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Left:
        if (key->modifiers() & Qt::AltModifier) {
            chartBack(session_);
            return true;
        }
        [[fallthrough]];
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (ctrl)
            return false;
        focusBox(neighbour(box, key->key()));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (box >= 0)
            boxClicked(box);
        return true;
    case Qt::Key_Backspace:
        chartBack(session_);
        return true;
    case Qt::Key_Menu:
        if (box >= 0)
            boxMenuRequested(box, view_->viewport()->mapToGlobal(view_->mapFromScene(items_[box]->sceneBoundingRect().center())));
        return true;
    case Qt::Key_F10:
        if (box >= 0 && key->modifiers() == Qt::ShiftModifier) {
            boxMenuRequested(box, view_->viewport()->mapToGlobal(view_->mapFromScene(items_[box]->sceneBoundingRect().center())));
            return true;
        }
        return false;
    case Qt::Key_F2:
        if (box >= 0 && !chart_.boxes[static_cast<size_t>(box)].placeholder())
            personMenuCommand(session_, cmdEditPerson, chart_.boxes[static_cast<size_t>(box)].id);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (!ctrl)
            return false;
        zoomBy(1.25);
        return true;
    case Qt::Key_Minus:
        if (!ctrl)
            return false;
        zoomBy(1 / 1.25);
        return true;
    case Qt::Key_0:
        if (!ctrl)
            return false;
        fitToView();
        return true;
    default:
        return false;
    }
}

QString ChartView::printName() const
{
    return kind_ == ChartKind::tree ? QStringLiteral("Tree") : QStringLiteral("Hourglass");
}

// The drawing as it stands, fitted to the page; it needs no header.
bool ChartView::print(QPagedPaintDevice& device, const QString& /*header*/) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF source = scene_->itemsBoundingRect().adjusted(-10, -10, 10, 10);
    scene_->render(&painter, QRectF(painter.viewport()), source, Qt::KeepAspectRatio);
    return painter.end();
}

bool ChartView::saveImage(const QString& path) const
{
    const QRectF source = scene_->itemsBoundingRect().adjusted(-10, -10, 10, 10);
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(source.size().toSize());
        svg.setViewBox(QRectF(QPointF(0, 0), source.size()));
        svg.setTitle(QStringLiteral("kinmap"));
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        scene_->render(&painter, QRectF(QPointF(0, 0), source.size()), source);
        return painter.end();
    }
    // Twice the drawing's size: sharp on high-density screens and in print.
    QImage image((source.size() * 2).toSize(), QImage::Format_ARGB32);
    image.fill(palette().color(QPalette::Base));
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    scene_->render(&painter, QRectF(image.rect()), source);
    painter.end();
    return image.save(path);
}

} // namespace kinmap::gui
