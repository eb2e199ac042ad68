#include "PersonBox.h"

#include "TableViews.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace kinmap::gui {

void paintPersonBox(QPainter& painter, const QRect& rect, const QString& text, const BoxLook& look, const QPalette& palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect).adjusted(1.5, 1.5, -1.5, -1.5);
    QPen pen(palette.color(QPalette::Text), look.current ? 2.5 : 1.0);
    if (look.sex == 0)
        pen.setStyle(Qt::DashLine);
    if (look.focused)
        pen.setColor(palette.color(QPalette::Highlight));
    painter.setPen(pen);
    painter.setBrush(look.sex == 0 ? palette.color(QPalette::Base) : sexTint(look.sex == 'M' || look.sex == 'm'));
    painter.drawRoundedRect(frame, 6, 6);
    painter.setPen(palette.color(QPalette::Text));
    // Line by line, each cut to the box with an ellipsis; the tooltip has it whole.
    const QRectF inner = frame.adjusted(4, 2, -4, -2);
    const QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    const qreal lineHeight = painter.fontMetrics().height();
    qreal y = inner.center().y() - lineHeight * static_cast<qreal>(lines.size()) / 2;
    for (const QString& line : lines) {
        painter.drawText(QRectF(inner.left(), y, inner.width(), lineHeight),
                         (look.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(line, Qt::ElideRight, static_cast<int>(inner.width())));
        y += lineHeight;
    }
    painter.restore();
}

PersonBoxWidget::PersonBoxWidget(int32_t id, const QString& text, const BoxLook& look, QWidget* parent)
    : QWidget(parent), id_(id), text_(text), look_(look)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(text.simplified());
    if (!text.trimmed().isEmpty())
        setToolTip(QString(text).remove(QLatin1Char('\r')).trimmed());
}

void PersonBoxWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    BoxLook look = look_;
    look.focused = hasFocus();
    paintPersonBox(painter, rect(), text_, look, palette());
}

void PersonBoxWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(id_);
}

void PersonBoxWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        emit clicked(id_);
        return;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        emit menuRequested(id_, mapToGlobal(rect().center()));
        return;
    }
    QWidget::keyPressEvent(event);
}

void PersonBoxWidget::contextMenuEvent(QContextMenuEvent* event)
{
    emit menuRequested(id_, event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(rect().center()) : event->globalPos());
}

} // namespace kinmap::gui
