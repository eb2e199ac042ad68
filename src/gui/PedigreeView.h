// The Pedigree tab: the ancestor table of the current person, rows tinted
// by sex. A click makes a row's person current, a double click edits it; a
// right click on an implex row opens the implex view, on any other row the
// person menu.
#pragma once

#include "ViewPrinter.h"

#include <QTableView>

#include <functional>

class QMenu;

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class RowsModel;

class PedigreeView : public QTableView, public PrintableView {
    Q_OBJECT

public:
    // runCommand carries the menu's commands to the window, showImplex a
    // right click on an implex row.
    PedigreeView(Session& session, std::function<void(uint32_t)> runCommand, std::function<void(int row)> showImplex,
                 QWidget* parent = nullptr);
    QMenu* contextMenu();
    QString printName() const override { return QStringLiteral("Pedigree"); }
    bool print(QPagedPaintDevice& device, const QString& header) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Session& session_;
    std::function<void(uint32_t)> runCommand_;
    std::function<void(int)> showImplex_;
    RowsModel* model_;
    QMenu* menu_ = nullptr;
};

// The implex view: the two lines of descent side by side.
class ImplexView : public QWidget {
    Q_OBJECT

public:
    ImplexView(const QStringList& left, const QStringList& right, QWidget* parent = nullptr);
};

} // namespace kinmap::gui
