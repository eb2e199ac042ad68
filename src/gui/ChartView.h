// The Tree and Hourglass tabs: the core's drawing in a QGraphicsScene, box
// items and lines, zoomed with Ctrl + wheel or Ctrl++ / Ctrl+- / Ctrl+0,
// panned by dragging. Clicks, the box menu, "<" and the keys go to the
// core's chart commands; arrow keys move between boxes along the lines.
#pragma once

#include "ViewPrinter.h"
#include "views/Chart.h"

#include <QGraphicsView>
#include <QWidget>

class QGraphicsItem;
class QGraphicsScene;
class QPagedPaintDevice;
class QToolButton;
class QSpinBox;

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class ChartBoxItem;

class ChartView : public QWidget, public PrintableView {
    Q_OBJECT

public:
    // generations: 3 to 8, 0 for the choice remembered in the settings.
    ChartView(Session& session, ChartKind kind, QSize size, int generations = 0, QWidget* parent = nullptr);

    const Chart& chart() const { return chart_; }
    QGraphicsView* graphics() const { return view_; }
    QGraphicsScene* scene() const { return scene_; }
    QGraphicsItem* item(int box) const;
    // The box with the keyboard focus, -1 for none.
    int focusedBox() const;
    void focusBox(int box);
    double zoom() const;
    void zoomBy(double factor);
    void fitToView();
    QMenu* boxMenu(int box);

    // The drawing as it stands on the pages of a printer or PDF writer, or
    // into a PNG or SVG file (by the extension); false when it cannot be
    // written.
    QString printName() const override;
    bool printsAcross() const override { return true; }
    bool print(QPagedPaintDevice& device, const QString& header = {}) const override;
    bool saveImage(const QString& path) const;

    static int savedGenerations(ChartKind kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class ChartBoxItem;
    void build(QSize size);
    void boxClicked(int box);
    void boxMenuRequested(int box, const QPoint& at);
    // The box an arrow key leads to from box, -1 for none.
    int neighbour(int box, int key) const;

    Session& session_;
    ChartKind kind_;
    Chart chart_;
    QGraphicsScene* scene_;
    QGraphicsView* view_;
    QSpinBox* generations_;
    QToolButton* back_;
    QList<ChartBoxItem*> items_;
    QMenu* menu_ = nullptr;
    QSize builtFor_;
};

} // namespace kinmap::gui
