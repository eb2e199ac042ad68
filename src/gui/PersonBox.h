// The one look of a person's box wherever persons are drawn as boxes: a
// rounded frame tinted by sex from the palette, the current person's frame
// stronger, an empty place dashed; and a focusable box widget that acts on
// a click, Enter and the Menu key.
#pragma once

#include <QWidget>

class QPainter;
class QPalette;
class QRect;
class QString;

namespace kinmap::gui {

struct BoxLook {
    unsigned char sex = 0;  // 'M', 'F', anything else; 0 for an empty place
    bool current = false;   // the person the view is centred on
    bool focused = false;   // has the keyboard focus
    bool centred = false;   // lines centred (the drawings), else from the left
};

void paintPersonBox(QPainter& painter, const QRect& rect, const QString& text, const BoxLook& look, const QPalette& palette);

class PersonBoxWidget : public QWidget {
    Q_OBJECT

public:
    PersonBoxWidget(int32_t id, const QString& text, const BoxLook& look, QWidget* parent = nullptr);
    int32_t id() const { return id_; }
    QString text() const { return text_; }

signals:
    void clicked(int32_t id);
    void menuRequested(int32_t id, const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int32_t id_;
    QString text_;
    BoxLook look_;
};

} // namespace kinmap::gui
