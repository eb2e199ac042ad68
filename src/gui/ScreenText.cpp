#include "ScreenText.h"

#include <QFile>

namespace kinmap::gui {

namespace {

QString withLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

QString toScreen(const std::string& utf8)
{
    return withLineFeeds(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::string fromScreen(const QString& text)
{
    return text.toStdString();
}

std::string toFilePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString fromFilePath(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

} // namespace kinmap::gui
