// The Family tab: the current person's box with the marriage button and the
// spouse's box below it, the parents' boxes bracketed on the right, and the
// children of the shown marriage in a list. Sized from the tab; every click
// and menu goes to the core's family commands, which build the tab again.
#pragma once

#include "views/FamilyView.h"

#include <QWidget>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class PersonBoxWidget;
class ChildrenList;

class FamilyView : public QWidget {
    Q_OBJECT

public:
    FamilyView(Session& session, const FamilyPicture& picture, QWidget* parent = nullptr);

    PersonBoxWidget* box(int32_t id) const; // by RIN or empty place
    QPushButton* marriageButton() const { return marriage_; }
    QPushButton* parentsButton() const { return parents_; }
    QTreeWidget* childrenList() const;
    // The box menu ("Tree Context Menu") for the person in a box.
    QMenu* boxMenu(int32_t id);
    // The children list's menu ("Edit Context Menu") for a child.
    QMenu* childMenu(int32_t child);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void boxMenuRequested(int32_t id, const QPoint& at);

    Session& session_;
    QList<PersonBoxWidget*> boxes_; // person, spouse, father, mother
    QPushButton* marriage_;
    QPushButton* parents_ = nullptr;
    ChildrenList* children_;
    QMenu* menu_ = nullptr;
    QList<QLine> lines_;
};

} // namespace kinmap::gui
