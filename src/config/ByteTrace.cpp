#include "config/ByteTrace.h"

QString byteTrace(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes)
        text += QLatin1Char(byte >= 0x20 && byte < 0x7f ? byte : '.');
    return QStringLiteral("%1  %2").arg(QString::fromLatin1(bytes.toHex(' ').toUpper()), text);
}
