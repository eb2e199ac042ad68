#include "ScreenText.h"

#include <QFile>
#include <QStringDecoder>

namespace kinmap::gui {

namespace {

QString withLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

QString toScreen(const std::string& latin1)
{
    return withLineFeeds(QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size())));
}

QString decodeGed(const std::string& bytes, Encoding encoding)
{
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    switch (encoding) {
    case Encoding::utf8: {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return withLineFeeds(decoder.decode(data));
    }
    case Encoding::utf16le: {
        QStringDecoder decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        return withLineFeeds(decoder.decode(data));
    }
    case Encoding::ansi:
    case Encoding::unknown:
        break;
    }
    return withLineFeeds(QString::fromLatin1(data));
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
