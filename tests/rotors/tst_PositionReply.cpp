// What Orvantis makes of a controller's answers: position replies among
// acknowledgements, garbage, torn reads and floods.
#include "rotors/PositionReply.h"

#include <QRandomGenerator>
#include <QTest>

using Reading = std::optional<double>;
Q_DECLARE_METATYPE(Reading)

namespace QTest {
template <>
char *toString(const Reading &reading)
{
    return qstrdup(reading ? QByteArray::number(*reading).constData() : "none");
}
} // namespace QTest

class PositionReplyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newestWellFormedReply_data();
    void newestWellFormedReply();
    void floodsAndEndlessLinesPassOver_data();
    void floodsAndEndlessLinesPassOver();
    void antennaAzimuthUndoesStopSideAndOffset();
};

void PositionReplyTest::newestWellFormedReply_data()
{
    using K = InterfaceKind;
    QTest::addColumn<InterfaceKind>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Reading>("expected");

    QTest::newRow("gs232a") << K::Gs232 << QByteArray("+0123\r\n") << Reading(123);
    QTest::newRow("gs232a C2") << K::Gs232 << QByteArray("+0123+0045\r\n") << Reading(123);
    QTest::newRow("gs232b") << K::Gs232 << QByteArray("AZ=045\r") << Reading(45);
    QTest::newRow("gs232 overlap") << K::Gs232 << QByteArray("+0400\r\n") << Reading(40);
    QTest::newRow("gs232 beyond overlap") << K::Gs232 << QByteArray("+0451\r\n") << Reading();
    QTest::newRow("gs232 error") << K::Gs232 << QByteArray("?>\r\n") << Reading();
    QTest::newRow("gs232 torn") << K::Gs232 << QByteArray("+01") << Reading();
    QTest::newRow("gs232 newest") << K::Gs232 << QByteArray("+0010\r\n?>\r\n+0020\r\n+00") << Reading(20);
    QTest::newRow("gs232 signed junk") << K::Gs232 << QByteArray("+0-12\r") << Reading();
    QTest::newRow("easycomm") << K::EasyComm << QByteArray("AZ123.4\n") << Reading(123.4);
    QTest::newRow("easycomm with el") << K::EasyComm << QByteArray("AZ7.0 EL0.0\r\n") << Reading(7);
    QTest::newRow("easycomm out of turn") << K::EasyComm << QByteArray("AZ361.0\n") << Reading();
    QTest::newRow("easycomm negative") << K::EasyComm << QByteArray("AZ-1.0\n") << Reading();
    QTest::newRow("easycomm huge") << K::EasyComm << QByteArray("AZ99999999999999999999\n") << Reading();
    QTest::newRow("prosistel") << K::ProSisTel << QByteArray("\x02" "A,G,R\r\x02" "A,?,290,R\r") << Reading(290);
    QTest::newRow("prosistel moving") << K::ProSisTel << QByteArray("\x02" "A,?,006,B\r") << Reading(6);
    QTest::newRow("prosistel elevation") << K::ProSisTel << QByteArray("\x02" "B,?,045,R\r") << Reading();
    QTest::newRow("prosistel error") << K::ProSisTel << QByteArray("\x02" "A,?,E,00003\r") << Reading();
    QTest::newRow("dcu1") << K::Dcu1 << QByteArray(";123") << Reading(123);
    QTest::newRow("dcu1 after noise") << K::Dcu1 << QByteArray("\r\n;;x;12;045") << Reading(45);
    QTest::newRow("dcu1 torn") << K::Dcu1 << QByteArray(";04") << Reading();
    QTest::newRow("dcu1 out of turn") << K::Dcu1 << QByteArray(";999") << Reading();
    QTest::newRow("no query for egis") << K::Egis << QByteArray("AZ=123.00\r") << Reading();
}

void PositionReplyTest::newestWellFormedReply()
{
    QFETCH(InterfaceKind, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(Reading, expected);

    PositionReply::Reader whole(kind);
    QCOMPARE(whole.feed(bytes), expected);

    // Byte by byte, as a slow line delivers it: the newest reply completed wins.
    PositionReply::Reader pieces(kind);
    Reading newest;
    for (const char byte : std::as_const(bytes)) {
        if (const Reading value = pieces.feed(QByteArrayView(&byte, 1)))
            newest = value;
    }
    QCOMPARE(newest, expected);
}

void PositionReplyTest::floodsAndEndlessLinesPassOver_data()
{
    QTest::addColumn<InterfaceKind>("kind");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("gs232") << InterfaceKind::Gs232 << QByteArray("+0123\r\n");
    QTest::newRow("easycomm") << InterfaceKind::EasyComm << QByteArray("AZ123.0\n");
    QTest::newRow("prosistel") << InterfaceKind::ProSisTel << QByteArray("\x02" "A,?,123,R\r");
    QTest::newRow("dcu1") << InterfaceKind::Dcu1 << QByteArray(";123");
}

void PositionReplyTest::floodsAndEndlessLinesPassOver()
{
    QFETCH(InterfaceKind, kind);
    QFETCH(QByteArray, reply);

    PositionReply::Reader reader(kind);
    // A device that never ends its line: a valid reply hidden at its tail is
    // part of the noise, not a reply.
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(reader.feed(QByteArray(1000, 'x')), Reading());
    QCOMPARE(reader.feed(QByteArray(QByteArray(1000, 'x') + reply.chopped(1))), Reading());
    reader.clear();

    // Random bytes by the megabyte never yield an azimuth outside one turn, and
    // the first reply after them is read.
    QRandomGenerator random(14);
    for (int round = 0; round < 64; ++round) {
        QByteArray noise(16 * 1024, Qt::Uninitialized);
        for (char &byte : noise)
            byte = char(random.bounded(256));
        if (const Reading value = reader.feed(noise))
            QVERIFY(*value >= 0 && *value <= 360);
    }
    QCOMPARE(reader.feed(QByteArray("\r\n" + reply)), Reading(123));
}

void PositionReplyTest::antennaAzimuthUndoesStopSideAndOffset()
{
    // GO 90 with offset 2 and the stop in the south sends 268; 268 reads back as 90.
    QCOMPARE(PositionReply::antennaAzimuth(268, 2, 1), 90.0);
    QCOMPARE(PositionReply::antennaAzimuth(0, -30, 0), 330.0);
    QCOMPARE(PositionReply::antennaAzimuth(350, 30, 0), 20.0);
    QCOMPARE(PositionReply::antennaAzimuth(359.5, 0, 1), 179.5);
}

QTEST_GUILESS_MAIN(PositionReplyTest)
#include "tst_PositionReply.moc"
