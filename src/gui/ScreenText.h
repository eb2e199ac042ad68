// Texts between the core (UTF-8 with CR LF line ends) and the screen.
#pragma once

#include <QString>
#include <string>

namespace kinmap::gui {

// Core text as screen text, with CR LF and lone CR turned into line feeds.
QString toScreen(const std::string& utf8);
// Screen text for the core.
std::string fromScreen(const QString& text);
// A file path as the core passes it to the file system.
std::string toFilePath(const QString& path);
QString fromFilePath(const std::string& path);

} // namespace kinmap::gui
