#include "sources/UdpListener.h"

#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

namespace {

constexpr int ArrivalTimeoutMs = 5000;

// A port nobody listens on right now. Another process could take it before the
// test binds it, which is unlikely enough on a test machine.
quint16 freePort()
{
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::LocalHost, 0, QUdpSocket::DontShareAddress))
        return 0;
    return probe.localPort();
}

DatagramTurn turnAt(const QSignalSpy &spy, int i)
{
    return spy.at(i).at(0).value<DatagramTurn>();
}

int datagramsIn(const QSignalSpy &spy)
{
    int count = 0;
    for (int i = 0; i < spy.count(); ++i)
        count += turnAt(spy, i).datagramCount;
    return count;
}

} // namespace

class TestUdpListener : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void aTurnHandsOnTheNewestRequest_data();
    void aTurnHandsOnTheNewestRequest();
    void burstIsReadCompletelyUpToTheNewest();
    void deactivateStopsSignals();
    void deactivateFromTheReceiverStopsAtOnce();
    void secondListenerOnSamePortFails();
    void portChangeWaitsForNextActivation();

private:
    quint16 m_port = 0;
    QUdpSocket m_sender;
};

void TestUdpListener::init()
{
    m_port = freePort();
    QVERIFY(m_port != 0);
    m_sender.close();
    QVERIFY(m_sender.bind(QHostAddress::LocalHost, 0));
}

void TestUdpListener::aTurnHandsOnTheNewestRequest_data()
{
    QTest::addColumn<QByteArrayList>("datagrams");
    QTest::addColumn<QString>("requestText"); // empty: no request

    QTest::newRow("one") << QByteArrayList {"<goazi>42</goazi>"} << QStringLiteral("42");
    QTest::newRow("newest of three") << QByteArrayList {"<goazi>1</goazi>", "<goazi>2</goazi>", "<goazi>3</goazi>"}
                                     << QStringLiteral("3");
    QTest::newRow("newest valid before garbage")
        << QByteArrayList {"<goazi>7</goazi>", "<goazi>8,5</goazi>", "garbage", "<goazi>400</goazi>"}
        << QStringLiteral("8");
    QTest::newRow("empty last") << QByteArrayList {"<goazi>5</goazi>", ""} << QStringLiteral("5");
    QTest::newRow("nothing valid") << QByteArrayList {"x", "</goazi>9<goazi>", "<goazi>-1</goazi>"} << QString();

    QByteArray largest(65507, '\0');
    for (int i = 0; i < largest.size(); ++i)
        largest[i] = char(i * 7);
    largest.replace(largest.size() - 17, 17, "<goazi>12</goazi>");
    QTest::newRow("largest") << QByteArrayList {largest} << QStringLiteral("12");
}

void TestUdpListener::aTurnHandsOnTheNewestRequest()
{
    QFETCH(QByteArrayList, datagrams);
    QFETCH(QString, requestText);

    UdpListener listener;
    listener.setPort(m_port);
    QCOMPARE(listener.port(), m_port);
    QVERIFY(!listener.isActive());
    QVERIFY(listener.activate());
    QVERIFY(listener.isActive());
    QSignalSpy spy(&listener, &UdpListener::datagramsReceived);

    // All are queued before the event loop runs, so one read sees them all.
    for (const QByteArray &d : datagrams)
        QCOMPARE(m_sender.writeDatagram(d, QHostAddress::LocalHost, m_port), d.size());
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, ArrivalTimeoutMs);
    QTest::qWait(50);
    QCOMPARE(spy.count(), 1);

    const DatagramTurn turn = turnAt(spy, 0);
    QCOMPARE(turn.datagramCount, datagrams.size());
    QCOMPARE(turn.lastDatagram, datagrams.last());
    QCOMPARE(QHostAddress(turn.sender), QHostAddress(QHostAddress::LocalHost));
    QCOMPARE(turn.senderPort, m_sender.localPort());
    QCOMPARE(turn.request.has_value(), !requestText.isEmpty());
    if (turn.request) {
        QCOMPARE(turn.request->text, requestText);
        QCOMPARE(turn.request->azimuth, requestText.toInt());
    }
}

void TestUdpListener::burstIsReadCompletelyUpToTheNewest()
{
    UdpListener listener;
    listener.setPort(m_port);
    QVERIFY(listener.activate());
    QSignalSpy spy(&listener, &UdpListener::datagramsReceived);

    // Small enough for the default loopback receive buffer, so none may be dropped;
    // sent while the loop reads, so they arrive over several turns.
    constexpr int Count = 200;
    for (int i = 0; i < Count; ++i) {
        const QByteArray d = "<goazi>" + QByteArray::number(i % 361) + "</goazi>#" + QByteArray::number(i);
        QCOMPARE(m_sender.writeDatagram(d, QHostAddress::LocalHost, m_port), d.size());
        if (i % 20 == 0)
            QCoreApplication::processEvents();
    }
    QTRY_COMPARE_WITH_TIMEOUT(datagramsIn(spy), Count, ArrivalTimeoutMs);
    QVERIFY(spy.count() > 1);

    // Each turn hands on its own newest, so the requests only ever move forward.
    int previous = -1;
    for (int i = 0; i < spy.count(); ++i) {
        const DatagramTurn turn = turnAt(spy, i);
        QVERIFY(turn.request);
        QVERIFY(turn.request->azimuth > previous);
        previous = turn.request->azimuth;
        QVERIFY(turn.lastDatagram.endsWith(QByteArray("#" + QByteArray::number(previous))));
    }
    QCOMPARE(previous, Count - 1);
}

void TestUdpListener::deactivateStopsSignals()
{
    UdpListener listener;
    listener.setPort(m_port);
    QVERIFY(listener.activate());
    QSignalSpy spy(&listener, &UdpListener::datagramsReceived);

    m_sender.writeDatagram("first", QHostAddress::LocalHost, m_port);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, ArrivalTimeoutMs);

    listener.deactivate();
    QVERIFY(!listener.isActive());
    m_sender.writeDatagram("ignored", QHostAddress::LocalHost, m_port);
    QTest::qWait(300);
    QCOMPARE(spy.count(), 1);

    // The port is free again: the same listener binds it once more.
    QVERIFY(listener.activate());
    m_sender.writeDatagram("again", QHostAddress::LocalHost, m_port);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, ArrivalTimeoutMs);
    QCOMPARE(turnAt(spy, 1).lastDatagram, QByteArray("again"));
    QCOMPARE(turnAt(spy, 1).datagramCount, 1);
}

void TestUdpListener::deactivateFromTheReceiverStopsAtOnce()
{
    UdpListener listener;
    listener.setPort(m_port);
    QVERIFY(listener.activate());
    QSignalSpy spy(&listener, &UdpListener::datagramsReceived);
    connect(&listener, &UdpListener::datagramsReceived, &listener, &UdpListener::deactivate);

    m_sender.writeDatagram("one", QHostAddress::LocalHost, m_port);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, ArrivalTimeoutMs);
    QVERIFY(!listener.isActive());
    for (const char *d : {"two", "three"})
        m_sender.writeDatagram(d, QHostAddress::LocalHost, m_port);
    QTest::qWait(300);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(turnAt(spy, 0).lastDatagram, QByteArray("one"));
}

void TestUdpListener::secondListenerOnSamePortFails()
{
    UdpListener first;
    first.setPort(m_port);
    QVERIFY(first.activate());

    UdpListener second;
    second.setPort(m_port);
    QVERIFY(!second.activate());
    QVERIFY(!second.isActive());
    QVERIFY(second.addressInUse());
    QCOMPARE(second.errorString(), QStringLiteral("Address already in use"));

    // The first keeps every datagram.
    QSignalSpy firstSpy(&first, &UdpListener::datagramsReceived);
    QSignalSpy secondSpy(&second, &UdpListener::datagramsReceived);
    for (int i = 0; i < 4; ++i)
        m_sender.writeDatagram(QByteArray::number(i), QHostAddress::LocalHost, m_port);
    QTRY_COMPARE_WITH_TIMEOUT(datagramsIn(firstSpy), 4, ArrivalTimeoutMs);
    QCOMPARE(secondSpy.count(), 0);
}

void TestUdpListener::portChangeWaitsForNextActivation()
{
    const quint16 otherPort = freePort();
    QVERIFY(otherPort != 0 && otherPort != m_port);

    UdpListener listener;
    listener.setPort(m_port);
    QVERIFY(listener.activate());
    QSignalSpy spy(&listener, &UdpListener::datagramsReceived);

    listener.setPort(otherPort);
    QCOMPARE(listener.port(), otherPort);
    m_sender.writeDatagram("old port", QHostAddress::LocalHost, m_port);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, ArrivalTimeoutMs);

    listener.deactivate();
    QVERIFY(listener.activate());
    m_sender.writeDatagram("stale", QHostAddress::LocalHost, m_port);
    m_sender.writeDatagram("new port", QHostAddress::LocalHost, otherPort);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, ArrivalTimeoutMs);
    QTest::qWait(100);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(turnAt(spy, 1).lastDatagram, QByteArray("new port"));
}

QTEST_GUILESS_MAIN(TestUdpListener)
#include "tst_UdpListener.moc"
