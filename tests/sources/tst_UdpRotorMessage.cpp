#include "sources/UdpRotorMessage.h"

#include <QTest>

namespace {

// Literal bytes including embedded NULs.
template<qsizetype N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

} // namespace

class TestUdpRotorMessage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void largestDatagram();
    void echoFormat_data();
    void echoFormat();
    void echoIsCapped();
    void echoShowsEveryByteAsOneCharacter();
};

void TestUdpRotorMessage::parse_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("azimuth");

    QTest::newRow("plain") << QByteArray("<goazi>123</goazi>") << true << "123" << 123;
    QTest::newRow("point fraction truncated") << QByteArray("<goazi>123.7</goazi>") << true << "123" << 123;
    QTest::newRow("comma fraction truncated") << QByteArray("<goazi>123,7</goazi>") << true << "123" << 123;
    QTest::newRow("point then comma") << QByteArray("<goazi>12,5.9</goazi>") << true << "12" << 12;
    QTest::newRow("zero") << QByteArray("<goazi>0</goazi>") << true << "0" << 0;
    QTest::newRow("360 passed on for the box to wrap") << QByteArray("<goazi>360</goazi>") << true << "360" << 360;
    QTest::newRow("leading zeros kept in the text") << QByteArray("<goazi>045</goazi>") << true << "045" << 45;
    QTest::newRow("minus zero") << QByteArray("<goazi>-0</goazi>") << true << "-0" << 0;
    QTest::newRow("logger envelope")
        << QByteArray("<?xml version=\"1.0\"?><RotorCommand><app>KORU</app><antnum>16</antnum>"
                      "<goazi>87.0</goazi></RotorCommand>\r\n")
        << true << "87" << 87;
    QTest::newRow("repeated tags use the first of each")
        << QByteArray("<goazi>10</goazi><goazi>20</goazi>") << true << "10" << 10;
    QTest::newRow("NUL bytes around the tags")
        << bytes("\0\0<goazi>77</goazi>\0") << true << "77" << 77;
    QTest::newRow("invalid UTF-8 around the tags")
        << QByteArray("\xff\xfe\xc3<goazi>200</goazi>\x80\xc0") << true << "200" << 200;

    QTest::newRow("361") << QByteArray("<goazi>361</goazi>") << false << QString() << 0;
    QTest::newRow("negative") << QByteArray("<goazi>-5</goazi>") << false << QString() << 0;
    QTest::newRow("empty value") << QByteArray("<goazi></goazi>") << false << QString() << 0;
    QTest::newRow("only a fraction") << QByteArray("<goazi>.5</goazi>") << false << QString() << 0;
    QTest::newRow("lone minus") << QByteArray("<goazi>-</goazi>") << false << QString() << 0;
    QTest::newRow("tags in wrong order") << QByteArray("</goazi>123<goazi>") << false << QString() << 0;
    QTest::newRow("missing close tag") << QByteArray("<goazi>123") << false << QString() << 0;
    QTest::newRow("missing open tag") << QByteArray("123</goazi>") << false << QString() << 0;
    QTest::newRow("empty datagram") << QByteArray() << false << QString() << 0;
    QTest::newRow("nested open tag") << QByteArray("<goazi><goazi>12</goazi>") << false << QString() << 0;
    QTest::newRow("close before a later open")
        << QByteArray("</goazi><goazi>12</goazi>") << false << QString() << 0;
    QTest::newRow("plus sign") << QByteArray("<goazi>+12</goazi>") << false << QString() << 0;
    QTest::newRow("leading blank") << QByteArray("<goazi> 12</goazi>") << false << QString() << 0;
    QTest::newRow("trailing blank") << QByteArray("<goazi>12 </goazi>") << false << QString() << 0;
    QTest::newRow("exponent") << QByteArray("<goazi>1e2</goazi>") << false << QString() << 0;
    QTest::newRow("hexadecimal") << QByteArray("<goazi>0x10</goazi>") << false << QString() << 0;
    QTest::newRow("letters") << QByteArray("<goazi>north</goazi>") << false << QString() << 0;
    QTest::newRow("NUL inside the value") << bytes("<goazi>1\0" "2</goazi>") << false << QString() << 0;
    QTest::newRow("5000 digits") << ("<goazi>" + QByteArray(5000, '9') + "</goazi>") << false << QString() << 0;
    QTest::newRow("2^32 + 90 does not wrap to 90")
        << QByteArray("<goazi>4294967386</goazi>") << false << QString() << 0;
    QTest::newRow("negative 5000 digits") << ("<goazi>-" + QByteArray(5000, '1') + "</goazi>") << false
                                          << QString() << 0;
}

void TestUdpRotorMessage::parse()
{
    QFETCH(QByteArray, datagram);
    QFETCH(bool, accepted);
    QFETCH(QString, text);
    QFETCH(int, azimuth);

    const std::optional<RotorRequest> request = parseRotorDatagram(datagram);
    QCOMPARE(request.has_value(), accepted);
    if (accepted) {
        QCOMPARE(request->text, text);
        QCOMPARE(request->azimuth, azimuth);
    }
}

void TestUdpRotorMessage::largestDatagram()
{
    // The largest payload UDP over IPv4 can carry, with the request at its very end.
    const QByteArray tail("<goazi>359.99</goazi>");
    QByteArray datagram(65507 - tail.size(), 'x');
    datagram.append(tail);
    QCOMPARE(datagram.size(), 65507);

    const std::optional<RotorRequest> request = parseRotorDatagram(datagram);
    QVERIFY(request.has_value());
    QCOMPARE(request->azimuth, 359);
    QCOMPARE(request->text, QStringLiteral("359"));
}

void TestUdpRotorMessage::echoFormat_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<quint32>("sender");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("echo");

    QTest::newRow("plain")
        << QByteArray("<goazi>123</goazi>") << quint32(0xC0A80114) << 12056
        << QStringLiteral("Received \"<goazi>123</goazi>\" from 192.168.1.20 on port 12056");
    QTest::newRow("empty datagram")
        << QByteArray() << quint32(0x7F000001) << 1
        << QStringLiteral("Received \"\" from 127.0.0.1 on port 1");
    QTest::newRow("every octet at its place")
        << QByteArray("a") << quint32(0xFF000A07) << 65535
        << QStringLiteral("Received \"a\" from 255.0.10.7 on port 65535");
    QTest::newRow("placeholders in the datagram stay literal")
        << QByteArray("%1 %2 %3") << quint32(0x0A010203) << 40000
        << QStringLiteral("Received \"%1 %2 %3\" from 10.1.2.3 on port 40000");
    QTest::newRow("control bytes made visible")
        << bytes("a\0b\r\n\x1b[2J\x7f") << quint32(0x7F000001) << 5
        << QStringLiteral("Received \"a\u2400b\u240d\u240a\u241b[2J\u2421\" from 127.0.0.1 on port 5");
    QTest::newRow("high bytes as Windows-1252")
        << QByteArray("\x80\x81\x9f\xe9\xff") << quint32(0x7F000001) << 5
        << QStringLiteral("Received \"\u20ac\ufffd\u0178\u00e9\u00ff\" from 127.0.0.1 on port 5");
}

void TestUdpRotorMessage::echoFormat()
{
    QFETCH(QByteArray, datagram);
    QFETCH(quint32, sender);
    QFETCH(int, port);
    QFETCH(QString, echo);

    QCOMPARE(receivedEcho(datagram, sender, quint16(port)), echo);
}

void TestUdpRotorMessage::echoIsCapped()
{
    const QByteArray datagram(65507, 'z');
    const QString echo = receivedEcho(datagram, quint32(0x7F000001), 9);
    const QString expected = QStringLiteral("Received \"%1\u2026\" from 127.0.0.1 on port 9")
                                 .arg(QString(512, QLatin1Char('z')));
    QCOMPARE(echo, expected);

    // Exactly at the limit nothing is cut, so no ellipsis either.
    const QString atLimit = receivedEcho(QByteArray(512, 'z'), quint32(0x7F000001), 9);
    QVERIFY(!atLimit.contains(QChar(0x2026)));
    QCOMPARE(atLimit.size(), echo.size() - 1);
}

void TestUdpRotorMessage::echoShowsEveryByteAsOneCharacter()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString echo = receivedEcho(all, quint32(0x7F000001), 1);
    const QString prefix = QStringLiteral("Received \"");
    const QString shown = echo.mid(prefix.size(), 256);

    QVERIFY(echo.startsWith(prefix));
    QCOMPARE(echo.mid(prefix.size() + 256), QStringLiteral("\" from 127.0.0.1 on port 1"));
    for (const QChar c : shown) {
        QVERIFY2(c.isPrint() || c == QChar(0xFFFD),
                 qPrintable(QStringLiteral("U+%1 is not printable").arg(c.unicode(), 4, 16, QLatin1Char('0'))));
    }
}

QTEST_GUILESS_MAIN(TestUdpRotorMessage)
#include "tst_UdpRotorMessage.moc"
