// Texts between the core (Latin-1 bytes with CR LF line ends) and the
// screen.
#pragma once

#include "ged/GedLineIO.h"

#include <QString>
#include <string>

namespace kinmap::gui {

// Latin-1 bytes as screen text, with CR LF and lone CR turned into line feeds.
QString toScreen(const std::string& latin1);
// Bytes of a GED file in its encoding as screen text.
QString decodeGed(const std::string& bytes, Encoding encoding);
// A file path as the core passes it to the file system.
std::string toFilePath(const QString& path);
QString fromFilePath(const std::string& path);

} // namespace kinmap::gui
