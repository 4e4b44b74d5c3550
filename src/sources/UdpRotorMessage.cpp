#include "sources/UdpRotorMessage.h"

#include "config/Windows1252.h"
#include "sources/SourceAzimuth.h"

#include <limits>

namespace {

// Longest part of a datagram shown in the echo; a full 64 KB datagram would
// otherwise make the label slow to lay out.
constexpr qsizetype EchoLimit = 512;

QChar visibleChar(uchar byte)
{
    // Control bytes become their Unicode control pictures (NUL shows as ␀) so that
    // line breaks and terminal escapes cannot reshape the label.
    if (byte < 0x20)
        return QChar(char16_t(0x2400 + byte));
    if (byte == 0x7F)
        return QChar(char16_t(0x2421));
    // Every byte shows as one character of the settings file's code page; the
    // bytes it leaves undefined, and the soft hyphen, would vanish from the label.
    const QChar c = Windows1252::decode(QByteArray(1, char(byte))).at(0);
    return c.isPrint() ? c : QChar(QChar::ReplacementCharacter);
}

QString visibleText(const QByteArray &bytes)
{
    const qsizetype shown = qMin(bytes.size(), EchoLimit);
    QString text;
    text.reserve(shown + 1);
    for (qsizetype i = 0; i < shown; ++i)
        text.append(visibleChar(uchar(bytes.at(i))));
    if (bytes.size() > EchoLimit)
        text.append(QChar(char16_t(0x2026)));
    return text;
}

QString dottedAddress(quint32 ipv4)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(QString::number(ipv4 >> 24), QString::number((ipv4 >> 16) & 0xFF), QString::number((ipv4 >> 8) & 0xFF),
             QString::number(ipv4 & 0xFF));
}

// Strict whole-number conversion: an optional minus sign and decimal digits, nothing
// else. Values beyond the int range fail instead of wrapping.
std::optional<int> wholeNumber(const QByteArray &text)
{
    qsizetype i = 0;
    const bool negative = text.startsWith('-');
    if (negative)
        i = 1;
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

} // namespace

QString receivedEcho(const QByteArray &datagram, quint32 sender, quint16 port)
{
    // One multi-argument arg(): a "%2" inside the datagram must stay as it is.
    return QStringLiteral("Received \"%1\" from %2 on port %3")
        .arg(visibleText(datagram), dottedAddress(sender), QString::number(port));
}

std::optional<RotorRequest> parseRotorDatagram(const QByteArray &datagram)
{
    static constexpr QByteArrayView Open("<goazi>");
    static constexpr QByteArrayView Close("</goazi>");

    // Searching the raw bytes keeps NULs and broken UTF-8 around the tags harmless.
    const qsizetype open = datagram.indexOf(Open);
    const qsizetype close = datagram.indexOf(Close);
    if (open < 0 || close <= open)
        return std::nullopt;

    QByteArray value = datagram.mid(open + Open.size(), close - open - Open.size());
    const qsizetype point = value.indexOf('.');
    if (point >= 0)
        value.truncate(point);
    const qsizetype comma = value.indexOf(',');
    if (comma >= 0)
        value.truncate(comma);

    const std::optional<int> azimuth = wholeNumber(value);
    if (!azimuth || !isSourceAzimuth(*azimuth))
        return std::nullopt;
    return RotorRequest{QString::fromLatin1(value), *azimuth};
}
