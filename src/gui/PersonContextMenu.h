// "List Context Menu4", the context menu of every view that lists persons:
// Select and Deselect with their entries, the edits, Merge and Relationship,
// all acting on the current person.
#pragma once

#include <cstdint>
#include <functional>

class QMenu;
class QWidget;

namespace kinmap::gui {

// A new menu owned by parent; its entries run their commands through runCommand.
QMenu* personContextMenu(QWidget* parent, const std::function<void(uint32_t)>& runCommand);
// "Tree Context Menu", the menu of a person's box (Family, Tree, Hourglass):
// Edit, Select and Deselect, Add a relative, Unlink (not offered), Delete.
QMenu* boxContextMenu(QWidget* parent, const std::function<void(uint32_t)>& runCommand);

} // namespace kinmap::gui
