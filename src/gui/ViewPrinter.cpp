#include "ViewPrinter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace kinmap::gui {

bool printTable(QPagedPaintDevice& device, const QString& header, const PrintTable& table)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8.5);
    QFont bold = font;
    bold.setBold(true);
    painter.setFont(font);
    const QRect page = painter.viewport();
    const int lineHeight = QFontMetrics(font, &device).height();
    const int rowsPerPage = std::max(1, page.height() / lineHeight - 3); // header, titles and a gap

    // Column edges from the shares, the last column taking what is left.
    QList<int> left{0};
    int shareSum = 0;
    for (const int share : table.shares)
        shareSum += share;
    for (int i = 0, sum = 0; i + 1 < table.shares.size(); ++i) {
        sum += table.shares[i];
        left << page.width() * sum / std::max(1, shareSum);
    }
    auto drawRow = [&](const QStringList& cells, int y) {
        for (int c = 0; c < cells.size() && c < left.size(); ++c) {
            const int width = (c + 1 < left.size() ? left[c + 1] : page.width()) - left[c] - lineHeight / 3;
            const QString text = painter.fontMetrics().elidedText(cells[c], Qt::ElideRight, width);
            painter.drawText(QRect(left[c], y, width, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    };

    const int pages = static_cast<int>(std::max<qsizetype>(1, (table.rows.size() + rowsPerPage - 1) / rowsPerPage));
    for (int number = 0; number < pages; ++number) {
        if (number > 0)
            device.newPage();
        painter.setFont(bold);
        painter.drawText(QRect(0, 0, page.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter, header);
        painter.drawText(QRect(0, 0, page.width(), lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Page %1 of %2").arg(number + 1).arg(pages));
        int y = lineHeight * 2;
        if (!table.titles.isEmpty()) {
            drawRow(table.titles, y);
            painter.drawLine(0, y + lineHeight, page.width(), y + lineHeight);
        }
        y += lineHeight;
        painter.setFont(font);
        const qsizetype end = std::min<qsizetype>(table.rows.size(), qsizetype(number + 1) * rowsPerPage);
        for (qsizetype r = qsizetype(number) * rowsPerPage; r < end; ++r, y += lineHeight)
            drawRow(table.rows[r], y);
    }
    return painter.end();
}

} // namespace kinmap::gui
