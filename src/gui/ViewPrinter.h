// Printing a view on paper or into a PDF file: a table of texts in columns,
// page after page, each page headed by the file, the person and the date
// and, when the table has titles, the column titles.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace kinmap::gui {

struct PrintTable {
    QStringList titles;       // none: the rows are lines of text
    QList<int> shares;        // each column's part of 1024 of the width
    QList<QStringList> rows;
};

// Paints the table on the device's pages; false when painting could not
// start (a printer or file that cannot be opened).
bool printTable(QPagedPaintDevice& device, const QString& header, const PrintTable& table);

// A view that FILE / Print and Export as PDF can put on pages.
class PrintableView {
public:
    virtual ~PrintableView() = default;
    // What the pages show, for their header: "Pedigree".
    virtual QString printName() const = 0;
    // A drawing goes across the page, a table down it.
    virtual bool printsAcross() const { return false; }
    // False when painting could not start.
    virtual bool print(QPagedPaintDevice& device, const QString& header) const = 0;
};

} // namespace kinmap::gui
