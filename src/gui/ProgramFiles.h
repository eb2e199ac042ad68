// The files that come with the program (the manual, the sample GED file),
// found beside the program in the build tree or where `cmake --install`
// puts them (share/kinmap beside bin).
#pragma once

#include <QString>

namespace kinmap::gui {

// The full path of such a file; empty when it is in neither place.
QString programFile(const QString& name);

} // namespace kinmap::gui
