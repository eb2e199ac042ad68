#include "ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace kinmap::gui {

namespace {

QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setBrush(QColor(0x2E, 0x6B, 0x4F));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setPen(QPen(QColor(0xF4, 0xEE, 0xDC), 3));
    p.drawLine(QPointF(32, 22), QPointF(32, 32));
    p.drawLine(QPointF(16, 32), QPointF(48, 32));
    p.drawLine(QPointF(16, 32), QPointF(16, 42));
    p.drawLine(QPointF(48, 32), QPointF(48, 42));
    p.setBrush(QColor(0xF4, 0xEE, 0xDC));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(32, 16), 7, 7);
    p.drawEllipse(QPointF(16, 48), 7, 7);
    p.drawEllipse(QPointF(48, 48), 7, 7);
    return pixmap;
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(drawIcon(size));
    return icon;
}

} // namespace kinmap::gui
