#include "FakeAzimuthServer.h"
#include "sources/DdeLink.h"

#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int busTimeoutMs = 10000;

// Everything a link tells, in order.
class LinkLog {
public:
    explicit LinkLog(DdeLink &link)
    {
        QObject::connect(&link, &DdeLink::conversationOpened, [this] { events << QStringLiteral("open"); });
        QObject::connect(&link, &DdeLink::conversationClosed, [this] { events << QStringLiteral("close"); });
        QObject::connect(&link, &DdeLink::itemChanged, [this](const QString &value) { events << value; });
        QObject::connect(&link, &DdeLink::itemRead,
                         [this](const QString &value) { events << QStringLiteral("read ") + value; });
    }
    QStringList events;
};

void follow(DdeLink &link, const QString &service)
{
    link.setLink(service, QStringLiteral("Data"));
    link.setItem(QStringLiteral("Azimuth"));
}

// Pushes a value and returns once a link opened afresh has received it. By then
// every other link of this process has had its chance to see the push and any
// change of the name's owner before it, if it was listening.
void pushPastProbe(FakeAzimuthServer &server, const QString &service, const QString &value)
{
    DdeLink probe;
    QSignalSpy opening(&probe, &DdeLink::itemRead);
    QSignalSpy values(&probe, &DdeLink::itemChanged);
    follow(probe, service);
    QTRY_COMPARE_WITH_TIMEOUT(opening.count(), 1, busTimeoutMs);
    server.push(value);
    QTRY_COMPARE_WITH_TIMEOUT(values.count(), 1, busTimeoutMs);
    QCOMPARE(values.last().at(0).toString(), value);
    QCoreApplication::processEvents();
}

// dde.Geomundo held by a server, and a link that has opened on it and read its first value.
struct OpenLink {
    explicit OpenLink(const QString &first) : first(first) {}
    bool open()
    {
        if (!geomundo.claimName())
            return false;
        follow(link, QStringLiteral("Geomundo"));
        return QTest::qWaitFor([this] { return log.events.size() >= 2; }, busTimeoutMs)
            && log.events == QStringList({"open", "read " + first});
    }

    QString first;
    FakeAzimuthServer geomundo {QStringLiteral("dde.Geomundo"), first};
    DdeLink link;
    LinkLog log {link};
};

} // namespace

class TestDdeLink : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void readsOnceThenFollowsTheServer();
    void serverLeavingClosesForGood();
    void newLinkClosesTheOldOne();
    void nameWithoutOwnerStaysClosed();
    void closingBeforeTheAnswerKeepsItClosed();
};

void TestDdeLink::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        QSKIP("no session bus; scripts/test runs this under dbus-run-session");
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void TestDdeLink::readsOnceThenFollowsTheServer()
{
    OpenLink open(QStringLiteral("123\r"));
    QVERIFY(open.open());
    auto &[first, geomundo, link, log] = open;
    QVERIFY(link.isOpen());

    geomundo.push(QStringLiteral(" 2 7 0\r"));
    QTRY_COMPARE_WITH_TIMEOUT(log.events.count(), 3, busTimeoutMs);
    QCOMPARE(log.events.last(), QStringLiteral(" 2 7 0\r"));
    QCOMPARE(geomundo.reads(), 1);

    // A change announced without its value is fetched.
    geomundo.invalidate(QStringLiteral("45\r"));
    QTRY_COMPARE_WITH_TIMEOUT(log.events.count(), 4, busTimeoutMs);
    QCOMPARE(log.events.last(), QStringLiteral("45\r"));
    QCOMPARE(geomundo.reads(), 2);

    link.closeLink();
    link.closeLink();
    QVERIFY(!link.isOpen());
    pushPastProbe(geomundo, QStringLiteral("Geomundo"), QStringLiteral("300\r"));
    QCOMPARE(log.events, QStringList({"open", "read 123\r", " 2 7 0\r", "45\r", "close"}));
}

void TestDdeLink::serverLeavingClosesForGood()
{
    OpenLink open(QStringLiteral("10\r"));
    QVERIFY(open.open());
    auto &[first, geomundo, link, log] = open;

    QVERIFY(geomundo.releaseName());
    QTRY_COMPARE_WITH_TIMEOUT(log.events, QStringList({"open", "read 10\r", "close"}), busTimeoutMs);
    QVERIFY(!link.isOpen());

    // The same server, with the same connection, comes back and pushes.
    QVERIFY(geomundo.claimName());
    pushPastProbe(geomundo, QStringLiteral("Geomundo"), QStringLiteral("20\r"));
    QCOMPARE(log.events, QStringList({"open", "read 10\r", "close"}));
    QVERIFY(!link.isOpen());
}

void TestDdeLink::newLinkClosesTheOldOne()
{
    FakeAzimuthServer beamDx(QStringLiteral("dde.Beam_DX"), QStringLiteral("20\r"));
    QVERIFY(beamDx.claimName());
    OpenLink open(QStringLiteral("10\r"));
    QVERIFY(open.open());
    auto &[first, geomundo, link, log] = open;

    link.setLink(QStringLiteral("Beam_DX"), QStringLiteral("Data"));
    QTRY_COMPARE_WITH_TIMEOUT(log.events, QStringList({"open", "read 10\r", "close", "open", "read 20\r"}),
                              busTimeoutMs);

    pushPastProbe(geomundo, QStringLiteral("Geomundo"), QStringLiteral("30\r"));
    beamDx.push(QStringLiteral("40\r"));
    QTRY_COMPARE_WITH_TIMEOUT(log.events.count(), 6, busTimeoutMs);
    QCOMPARE(log.events.last(), QStringLiteral("40\r"));
}

void TestDdeLink::nameWithoutOwnerStaysClosed()
{
    // The server of the test before lets its name go on a connection of its own:
    // the bus may still list it for a moment.
    QTRY_VERIFY_WITH_TIMEOUT(
        !QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("dde.Geomundo")), busTimeoutMs);
    DdeLink link;
    LinkLog log(link);
    follow(link, QStringLiteral("Geomundo"));
    // Answered in order on this connection: the link's question has been answered too.
    QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("dde.Geomundo")));

    FakeAzimuthServer late(QStringLiteral("dde.Geomundo"), QStringLiteral("50\r"));
    QVERIFY(late.claimName());
    pushPastProbe(late, QStringLiteral("Geomundo"), QStringLiteral("60\r"));
    QVERIFY(log.events.isEmpty());
    QVERIFY(!link.isOpen());
}

void TestDdeLink::closingBeforeTheAnswerKeepsItClosed()
{
    FakeAzimuthServer geomundo(QStringLiteral("dde.Geomundo"), QStringLiteral("10\r"));
    QVERIFY(geomundo.claimName());
    DdeLink link;
    LinkLog log(link);
    follow(link, QStringLiteral("Geomundo"));
    link.closeLink();

    pushPastProbe(geomundo, QStringLiteral("Geomundo"), QStringLiteral("20\r"));
    QVERIFY(log.events.isEmpty());
    QVERIFY(!link.isOpen());
}

QTEST_GUILESS_MAIN(TestDdeLink)
#include "tst_DdeLink.moc"
