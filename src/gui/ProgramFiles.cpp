#include "ProgramFiles.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace kinmap::gui {

QString programFile(const QString& name)
{
    const QString appDir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {appDir + QLatin1Char('/') + name, appDir + QStringLiteral("/../share/kinmap/") + name})
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).canonicalFilePath();
    return {};
}

} // namespace kinmap::gui
