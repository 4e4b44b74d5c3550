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

QByteArray dataAt(const QSignalSpy &spy, int i)
{
    return spy.at(i).at(0).toByteArray();
}

} // namespace

class TestUdpListener : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void datagramsArriveInOrderWithSender();
    void emptyAndLargestDatagramsArriveIntact();
    void burstArrivesCompleteAndInOrder();
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

void TestUdpListener::datagramsArriveInOrderWithSender()
{
    UdpListener listener;
    listener.setPort(m_port);
    QCOMPARE(listener.port(), m_port);
    QVERIFY(!listener.isActive());
    QVERIFY(listener.activate());
    QVERIFY(listener.isActive());
    QSignalSpy spy(&listener, &UdpListener::datagramReceived);

    const QByteArrayList sent = {"<goazi>1</goazi>", "<goazi>2</goazi>", "<goazi>3</goazi>"};
    for (const QByteArray &d : sent)
        QCOMPARE(m_sender.writeDatagram(d, QHostAddress::LocalHost, m_port), d.size());

    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 3, ArrivalTimeoutMs);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(dataAt(spy, i), sent.at(i));
        const QHostAddress sender = spy.at(i).at(1).value<QHostAddress>();
        QVERIFY2(sender.isEqual(QHostAddress::LocalHost, QHostAddress::TolerantConversion),
                 qPrintable(sender.toString()));
        QCOMPARE(spy.at(i).at(2).value<quint16>(), m_sender.localPort());
    }
}

void TestUdpListener::emptyAndLargestDatagramsArriveIntact()
{
    UdpListener listener;
    listener.setPort(m_port);
    QVERIFY(listener.activate());
    QSignalSpy spy(&listener, &UdpListener::datagramReceived);

    QByteArray largest(65507, '\0');
    for (int i = 0; i < largest.size(); ++i)
        largest[i] = char(i * 7);
    QCOMPARE(m_sender.writeDatagram(QByteArray(), QHostAddress::LocalHost, m_port), 0);
    QCOMPARE(m_sender.writeDatagram(largest, QHostAddress::LocalHost, m_port), largest.size());
    QCOMPARE(m_sender.writeDatagram("after", QHostAddress::LocalHost, m_port), 5);

    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 3, ArrivalTimeoutMs);
    QCOMPARE(dataAt(spy, 0), QByteArray());
    QCOMPARE(dataAt(spy, 1), largest);
    QCOMPARE(dataAt(spy, 2), QByteArray("after"));
}

void TestUdpListener::burstArrivesCompleteAndInOrder()
{
    UdpListener listener;
    listener.setPort(m_port);
    QVERIFY(listener.activate());
    QSignalSpy spy(&listener, &UdpListener::datagramReceived);

    // Small enough for the default loopback receive buffer, so none may be dropped.
    constexpr int Count = 200;
    for (int i = 0; i < Count; ++i) {
        const QByteArray d = QByteArray("<goazi>") + QByteArray::number(i % 361) + "</goazi>#" + QByteArray::number(i);
        QCOMPARE(m_sender.writeDatagram(d, QHostAddress::LocalHost, m_port), d.size());
    }

    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), Count, ArrivalTimeoutMs);
    for (int i = 0; i < Count; ++i)
        QVERIFY(dataAt(spy, i).endsWith(QByteArray("#" + QByteArray::number(i))));
}

void TestUdpListener::deactivateStopsSignals()
{
    UdpListener listener;
    listener.setPort(m_port);
    QVERIFY(listener.activate());
    QSignalSpy spy(&listener, &UdpListener::datagramReceived);

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
    QCOMPARE(dataAt(spy, 1), QByteArray("again"));
}

void TestUdpListener::deactivateFromTheReceiverStopsAtOnce()
{
    UdpListener listener;
    listener.setPort(m_port);
    QVERIFY(listener.activate());
    QSignalSpy spy(&listener, &UdpListener::datagramReceived);
    connect(&listener, &UdpListener::datagramReceived, &listener, &UdpListener::deactivate);

    // All three are queued before the event loop runs, so one read pass sees them all.
    for (const char *d : {"one", "two", "three"})
        m_sender.writeDatagram(d, QHostAddress::LocalHost, m_port);

    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, ArrivalTimeoutMs);
    QTest::qWait(300);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(dataAt(spy, 0), QByteArray("one"));
    QVERIFY(!listener.isActive());
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

    // The first keeps every datagram.
    QSignalSpy firstSpy(&first, &UdpListener::datagramReceived);
    QSignalSpy secondSpy(&second, &UdpListener::datagramReceived);
    for (int i = 0; i < 4; ++i)
        m_sender.writeDatagram(QByteArray::number(i), QHostAddress::LocalHost, m_port);
    QTRY_COMPARE_WITH_TIMEOUT(firstSpy.count(), 4, ArrivalTimeoutMs);
    QCOMPARE(secondSpy.count(), 0);
}

void TestUdpListener::portChangeWaitsForNextActivation()
{
    const quint16 otherPort = freePort();
    QVERIFY(otherPort != 0 && otherPort != m_port);

    UdpListener listener;
    listener.setPort(m_port);
    QVERIFY(listener.activate());
    QSignalSpy spy(&listener, &UdpListener::datagramReceived);

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
    QCOMPARE(dataAt(spy, 1), QByteArray("new port"));
}

QTEST_GUILESS_MAIN(TestUdpListener)
#include "tst_UdpListener.moc"
