#pragma once

#include <QIcon>

namespace kinmap::gui {

// The program's icon: a small family tree, drawn so that no image file has
// to be found at run time.
QIcon programIcon();

} // namespace kinmap::gui
