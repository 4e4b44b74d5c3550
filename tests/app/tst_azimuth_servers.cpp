#include "MainWindowRig.h"

#include "sources/FakeAzimuthServer.h"

#include <QLineEdit>
#include <QtTest>

// A desktop azimuth server steering the running window over the session bus.
class TestAzimuthServers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startValueIsSentOnlyToRestore_data();
    void startValueIsSentOnlyToRestore();
    void valuesOutsideATurnAreIgnored();
};

namespace {

constexpr int BusTimeoutMs = 10000;

QString azimuthText(MainWindowRig &rig)
{
    return rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->text();
}

} // namespace

void TestAzimuthServers::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        QSKIP("no session bus; scripts/test runs this under dbus-run-session");
}

// The bus answers the link set at start after the first activation has run; the
// value is then handled as the first activation would have handled it: shown,
// and sent only when the last azimuth is to be restored.
void TestAzimuthServers::startValueIsSentOnlyToRestore_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<double>>("sent");
    QTest::newRow("shown only") << QStringList {} << QList<double> {};
    QTest::newRow("restoring the last azimuth") << QStringList {QStringLiteral("ANGLE=200")} << QList<double> {123};
}

void TestAzimuthServers::startValueIsSentOnlyToRestore()
{
    QFETCH(QStringList, lines);
    QFETCH(QList<double>, sent);
    FakeAzimuthServer server(QStringLiteral("dde.Geomundo"), QStringLiteral("123\r"));
    QVERIFY(server.claimName());
    MainWindowRig rig(QStringList {QStringLiteral("ANT=GS232"), QStringLiteral("AUTO=1"),
                                   QStringLiteral("SERVER=GEOMUNDO")}
                      + lines);
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    QTRY_COMPARE_WITH_TIMEOUT(azimuthText(rig), QStringLiteral("123"), BusTimeoutMs);
    QCOMPARE(rotors.sent, sent);

    // What the server pushes later is followed as always.
    server.push(QStringLiteral("150\r"));
    QTRY_COMPARE_WITH_TIMEOUT(azimuthText(rig), QStringLiteral("150"), BusTimeoutMs);
    QCOMPARE(rotors.sent, sent + QList<double> {150});
}

// Like a datagram's, a value the rotator cannot be given is not wrapped onto
// another bearing: -5 would turn it to 359, 400 to 0.
void TestAzimuthServers::valuesOutsideATurnAreIgnored()
{
    FakeAzimuthServer server(QStringLiteral("dde.Beam_DX"), QStringLiteral("90\r"));
    QVERIFY(server.claimName());
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("AUTO=1"), QStringLiteral("SERVER=BEAMDX")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    QTRY_COMPARE_WITH_TIMEOUT(azimuthText(rig), QStringLiteral("90"), BusTimeoutMs);

    for (const QString &value : {QStringLiteral("-5\r"), QStringLiteral("400\r"), QStringLiteral("361\r"),
                                 QStringLiteral("45\r")})
        server.push(value);
    QTRY_COMPARE_WITH_TIMEOUT(azimuthText(rig), QStringLiteral("45"), BusTimeoutMs);
    QCOMPARE(rotors.sent, QList<double> {45});
    QVERIFY(rig.feedback().events().isEmpty());
}

QTEST_MAIN(TestAzimuthServers)
#include "tst_azimuth_servers.moc"
