// The command cycle on the station alone: AUTO and MAN, the minimum step, the
// wrap, long path, favourites, STOP, the lamp and the jingle, and what each origin
// sends. Requests come in as the window or a source hands them over; the GO and
// STOP operations are recorded.
#include "StationRig.h"

#include "support/FreePorts.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

namespace {

using Doubles = QList<double>;

const QStringList StopOrder {QStringLiteral("ZENTA"),    QStringLiteral("GS232"),     QStringLiteral("EASYCOMM"),
                             QStringLiteral("DCU1"),     QStringLiteral("PROSISTEL"), QStringLiteral("TRAKBOX"),
                             QStringLiteral("KCT"),      QStringLiteral("M2ORION"),   QStringLiteral("EGIS"),
                             QStringLiteral("HAMLIB")};

const QString Sound = QStringLiteral("sound:information");
const QString Beep = QStringLiteral("beep");

QStringList sounds(int n)
{
    return QStringList(n, Sound);
}

} // namespace

class TestCommandCycle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void requests_data();
    void requests();
    void stopCallsEveryStopInOrder_data();
    void stopCallsEveryStopInOrder();
    void autoFromSettings_data();
    void autoFromSettings();
    void lampBlinksOnceForCloseGos();
};

void TestCommandCycle::requests_data()
{
    // Steps, in order: "type N" the box, "step N" the stepper, "up" the stepper one
    // above what is shown, "hold X" a box holding a real number, "hold text" or
    // "hold empty", "man", "stop", "lp", "fav N", "auto on|off", "last N" (the
    // minimum step's reference), "unplug" (no interface), "datagram X" a KORU
    // request, "start" (the first activation; done before the steps when absent),
    // "activate" (once more), "mark" (forget what was recorded so far).
    QTest::addColumn<QStringList>("ini"); // besides ANT=GS232
    QTest::addColumn<QString>("steps");
    QTest::addColumn<Doubles>("commanded"); // every GO operation called
    QTest::addColumn<Doubles>("sent");      // those the step let through
    QTest::addColumn<int>("shown");
    QTest::addColumn<QStringList>("feedback");
    QTest::addColumn<bool>("lit"); // the lamp right after the last step

    const auto step = [](int n) { return QStringList {QStringLiteral("JINGLE=1"), QStringLiteral("STEP_GS232=%1").arg(n)}; };
    const QStringList jingle {QStringLiteral("JINGLE=1")};
    const QStringList autoOn {QStringLiteral("AUTO=1")};
    const QStringList none;

    // The minimum step, measured from the last sent azimuth; STOP leaves -10.
    QTest::newRow("4 above the last, step 5") << step(5) << "stop, last 100, type 104, man" << Doubles {104} << Doubles {} << 104 << sounds(0) << false;
    QTest::newRow("5 above the last, step 5") << step(5) << "stop, last 100, type 105, man" << Doubles {105} << Doubles {105} << 105 << sounds(1) << true;
    QTest::newRow("4 below the last, step 5") << step(5) << "stop, last 100, type 96, man" << Doubles {96} << Doubles {} << 96 << sounds(0) << false;
    QTest::newRow("5 below the last, step 5") << step(5) << "stop, last 100, type 95, man" << Doubles {95} << Doubles {95} << 95 << sounds(1) << true;
    QTest::newRow("real target just short") << step(5) << "stop, last 100, hold 104.9, man" << Doubles {104.9} << Doubles {} << 0 << sounds(0) << false;
    QTest::newRow("after STOP, 0 with step 5") << step(5) << "stop, type 0, man" << Doubles {0} << Doubles {0} << 0 << sounds(1) << true;
    QTest::newRow("after STOP, 2 with step 15") << step(15) << "stop, type 2, man" << Doubles {2} << Doubles {} << 2 << sounds(0) << false;
    QTest::newRow("after STOP, 5 with step 15") << step(15) << "stop, type 5, man" << Doubles {5} << Doubles {5} << 5 << sounds(1) << true;
    QTest::newRow("same azimuth, step 1") << step(1) << "stop, last 200, type 200, man" << Doubles {200} << Doubles {} << 200 << sounds(0) << false;
    QTest::newRow("successive GOs, then STOP") << step(5) << "stop, type 100, man, type 104, man, type 105, man, stop, man"
                                               << Doubles {100, 104, 105, 105} << Doubles {100, 105, 105} << 105 << sounds(3) << true;
    QTest::newRow("without the jingle, silent") << none << "stop, type 150, man" << Doubles {150} << Doubles {150} << 150 << sounds(0) << true;

    // AUTO: every typed digit is a GO of its own; -10 after start, so 1 is 11 away.
    const QString digits = QStringLiteral("hold empty, type 1, type 12, type 123");
    QTest::newRow("digits, step 1") << autoOn + step(1) << digits << Doubles {1, 12, 123} << Doubles {1, 12, 123} << 123 << sounds(3) << true;
    QTest::newRow("digits, step 15") << autoOn + step(15) << digits << Doubles {1, 12, 123} << Doubles {12, 123} << 123 << sounds(2) << true;
    QTest::newRow("digits, step 11") << autoOn + step(11) << digits << Doubles {1, 12, 123} << Doubles {1, 12, 123} << 123 << sounds(3) << true;
    QTest::newRow("digits, step 23") << autoOn + step(23) << digits << Doubles {1, 12, 123} << Doubles {123} << 123 << sounds(1) << true;
    QTest::newRow("AUTO switched on, then off") << none << "auto on, type 77, auto off, type 88, stop" << Doubles {77} << Doubles {77} << 88 << sounds(0) << false;

    // What a GO finds in the box.
    QTest::newRow("whole") << jingle << "type 45, man" << Doubles {45} << Doubles {45} << 45 << sounds(1) << true;
    QTest::newRow("real") << jingle << "hold 12.5, man" << Doubles {12.5} << Doubles {12.5} << 0 << sounds(1) << true;
    QTest::newRow("just below 360") << jingle << "hold 359.9, man" << Doubles {359.9} << Doubles {359.9} << 0 << sounds(1) << true;
    QTest::newRow("360 and a half") << jingle << "hold 360.5, man" << Doubles {} << Doubles {} << 0 << QStringList {Beep} << false;
    QTest::newRow("below 0") << jingle << "hold -0.5, man" << Doubles {} << Doubles {} << 0 << QStringList {Beep} << false;
    // Letters empty the box: the next GO finds nothing and says nothing.
    QTest::newRow("letters") << jingle << "hold text, man, man" << Doubles {} << Doubles {} << 0 << QStringList {Beep} << false;
    QTest::newRow("empty box") << jingle << "hold empty, man" << Doubles {} << Doubles {} << 0 << sounds(0) << false;
    QTest::newRow("no interface") << jingle << "unplug, type 45, man, man" << Doubles {} << Doubles {} << 45 << QStringList {Beep, Beep} << false;

    // Wrap: one turn at the ends, anything beyond pulled to the nearer end.
    QTest::newRow("typed 360") << none << "type 5, type 360" << Doubles {} << Doubles {} << 0 << sounds(0) << false;
    QTest::newRow("typed 400") << none << "type 5, type 400" << Doubles {} << Doubles {} << 0 << sounds(0) << false;
    QTest::newRow("typed -1") << none << "type -1" << Doubles {} << Doubles {} << 359 << sounds(0) << false;
    QTest::newRow("stepped above 359") << autoOn << "type 359, mark, step 360" << Doubles {0} << Doubles {0} << 0 << sounds(0) << true;
    QTest::newRow("stepped below 0") << autoOn << "type 1, mark, step -1" << Doubles {359} << Doubles {359} << 359 << sounds(0) << true;

    // Long path: a turn to the opposite bearing, not a mode (the next step is not reversed).
    QTest::newRow("LP from 0") << none << "type 0, lp, up" << Doubles {} << Doubles {} << 181 << sounds(0) << false;
    QTest::newRow("LP from 179") << none << "type 179, lp, up" << Doubles {} << Doubles {} << 0 << sounds(0) << false;
    QTest::newRow("LP from 180") << none << "type 180, lp, up" << Doubles {} << Doubles {} << 1 << sounds(0) << false;
    QTest::newRow("LP from 359") << none << "type 359, lp, up" << Doubles {} << Doubles {} << 180 << sounds(0) << false;
    QTest::newRow("LP from 359, AUTO on") << autoOn << "type 359, mark, lp, up" << Doubles {179, 180} << Doubles {179, 180} << 180 << sounds(0) << true;
    QTest::newRow("LP from 180, AUTO on") << autoOn << "type 180, mark, lp, up" << Doubles {0, 1} << Doubles {0, 1} << 1 << sounds(0) << true;

    // Favourites: 16-bit values, wrapped as typed ones; sent only with AUTO on.
    const QStringList favourites {QStringLiteral("FAV1AZ=45"), QStringLiteral("FAV2AZ=270"), QStringLiteral("FAV3AZ=400"),
                                  QStringLiteral("FAV4AZ=-20"), QStringLiteral("FAV5AZ=123"), QStringLiteral("FAV6AZ=65836")};
    QTest::newRow("favourite, AUTO off") << favourites << "type 7, fav 1" << Doubles {} << Doubles {} << 45 << sounds(0) << false;
    QTest::newRow("favourite, AUTO on") << favourites + autoOn << "type 7, mark, fav 2" << Doubles {270} << Doubles {270} << 270 << sounds(0) << true;
    QTest::newRow("favourite above 359") << favourites + autoOn << "type 7, mark, fav 3" << Doubles {0} << Doubles {0} << 0 << sounds(0) << true;
    QTest::newRow("favourite below 0") << favourites + autoOn << "type 7, mark, fav 4" << Doubles {359} << Doubles {359} << 359 << sounds(0) << true;
    QTest::newRow("favourite beyond 16 bits") << favourites + autoOn << "type 7, mark, fav 6" << Doubles {300} << Doubles {300} << 300 << sounds(0) << true;
    QTest::newRow("favourite onto the shown azimuth") << favourites + autoOn << "type 123, stop, mark, fav 5" << Doubles {} << Doubles {} << 123 << sounds(0) << false;
    QTest::newRow("no favourite 7") << favourites + autoOn << "type 7, stop, mark, fav 7" << Doubles {} << Doubles {} << 7 << sounds(0) << false;

    // Nothing is sent before the first activation, which shows the saved azimuth
    // without sending it, and runs once.
    QTest::newRow("before the first activation") << autoOn + QStringList {QStringLiteral("ANGLE=123")} << "step 45, start, activate, up"
                                                 << Doubles {124} << Doubles {124} << 124 << sounds(0) << true;

    // A KORU datagram shows its whole azimuth and sends it only with AUTO on.
    QTest::newRow("datagram, AUTO on") << autoOn << "datagram 123.7" << Doubles {123} << Doubles {123} << 123 << sounds(0) << true;
    QTest::newRow("datagram, AUTO off") << none << "datagram 123.7" << Doubles {} << Doubles {} << 123 << sounds(0) << false;
}

void TestCommandCycle::requests()
{
    QFETCH(QStringList, ini);
    QFETCH(QString, steps);
    QFETCH(Doubles, commanded);
    QFETCH(Doubles, sent);
    QFETCH(int, shown);
    QFETCH(QStringList, feedback);
    QFETCH(bool, lit);

    const QList<quint16> ports = freeUdpPorts(1);
    QVERIFY(!ports.isEmpty());
    StationRig rig(QStringList {QStringLiteral("ANT=GS232"), QStringLiteral("SERVER=KORU"),
                                QStringLiteral("PORTKORU=%1").arg(ports.first() - 1), QStringLiteral("ANTKORU=1")}
                   + ini);
    Station &station = rig.station();
    RecordingRotors rotors(station);
    QSignalSpy datagrams(&station, &Station::datagramReceived);
    QUdpSocket logger;
    const QStringList script = steps.split(QStringLiteral(", "));
    if (!script.contains(QStringLiteral("start")))
        QVERIFY(rig.startStation());
    rig.feedback().clear();

    for (const QString &text : script) {
        const QString verb = text.section(QLatin1Char(' '), 0, 0);
        const QString value = text.section(QLatin1Char(' '), 1);
        if (verb == QLatin1String("type"))
            station.enter(value.toInt(), EntryOrigin::Typed);
        else if (verb == QLatin1String("step"))
            station.enter(value.toInt(), EntryOrigin::Stepper);
        else if (verb == QLatin1String("up"))
            station.enter(station.shownAzimuth() + 1, EntryOrigin::Stepper);
        else if (text == QLatin1String("hold text"))
            station.holdEntry({AzimuthEntry::Kind::NotANumber, 0});
        else if (text == QLatin1String("hold empty"))
            station.holdEntry({AzimuthEntry::Kind::Empty, 0});
        else if (verb == QLatin1String("hold"))
            station.holdEntry({AzimuthEntry::Kind::Number, value.toDouble()});
        else if (verb == QLatin1String("man"))
            station.ButtonTrackClick();
        else if (verb == QLatin1String("stop"))
            station.StopAll();
        else if (verb == QLatin1String("lp"))
            station.longPath();
        else if (verb == QLatin1String("fav"))
            station.enterFavourite(value.toInt());
        else if (verb == QLatin1String("auto"))
            station.setAuto(value == QLatin1String("on"));
        else if (verb == QLatin1String("last"))
            station.commandState().lastSentAzimuth = value.toDouble();
        else if (verb == QLatin1String("unplug"))
            station.configuration().interfaceKind = InterfaceKind::None;
        else if (verb == QLatin1String("start"))
            QVERIFY(rig.startStation());
        else if (verb == QLatin1String("activate"))
            station.FormActivate();
        else if (verb == QLatin1String("mark")) {
            rotors.clear();
            rig.feedback().clear();
        } else if (verb == QLatin1String("datagram")) {
            QVERIFY(logger.writeDatagram("<goazi>" + value.toLatin1() + "</goazi>", QHostAddress::LocalHost,
                                         ports.first())
                    > 0);
            QTRY_COMPARE(datagrams.size(), 1);
        } else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + text));
    }
    const bool litAfter = station.lampOn();
    QCOMPARE(rotors.commanded, commanded);
    QCOMPARE(rotors.sent, sent);
    QCOMPARE(station.shownAzimuth(), shown);
    QCOMPARE(rig.feedback().events(), feedback);
    QCOMPARE(litAfter, lit);
}

void TestCommandCycle::stopCallsEveryStopInOrder_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("STOP") << "stop";
    // The same dispatcher runs whatever interface is selected, or none.
    QTest::newRow("STOP without an interface") << "stop, no interface";
    // Init stops before it frees the ports.
    QTest::newRow("Init") << "init";
}

void TestCommandCycle::stopCallsEveryStopInOrder()
{
    QFETCH(QString, how);
    StationRig rig({QStringLiteral("ANT=EASYCOMM")});
    Station &station = rig.station();
    RecordingRotors rotors(station);
    QVERIFY(rig.startStation());
    station.enter(150, EntryOrigin::Typed);
    station.ButtonTrackClick();
    QCOMPARE(rotors.sent, Doubles {150});
    QVERIFY(station.blinking());
    QCOMPARE(station.commandState().lastSentAzimuth, 150.0);

    if (how.endsWith(QLatin1String("no interface")))
        station.configuration().interfaceKind = InterfaceKind::None;
    if (how == QLatin1String("init"))
        station.prepareSetup();
    else
        station.StopAll();
    QCOMPARE(rotors.stops, StopOrder);
    QVERIFY(!station.blinking());
    QVERIFY(!station.lampOn());
    QCOMPARE(station.commandState().lastSentAzimuth, -10.0);
}

void TestCommandCycle::autoFromSettings_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("autoOn");
    QTest::addColumn<bool>("toggled"); // tells the two captions of AUTO off apart

    QTest::newRow("absent") << QStringList {} << false << false;
    QTest::newRow("AUTO=0") << QStringList {QStringLiteral("AUTO=0")} << false << false;
    QTest::newRow("AUTO=1") << QStringList {QStringLiteral("AUTO=1")} << true << true;
    // Each line presses the button.
    QTest::newRow("AUTO=1 twice") << QStringList {QStringLiteral("AUTO=1"), QStringLiteral("AUTO=1")} << false << true;
}

void TestCommandCycle::autoFromSettings()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, autoOn);
    QFETCH(bool, toggled);
    StationRig rig(QStringList {QStringLiteral("ANT=GS232")} + lines);
    QVERIFY(rig.startStation());
    QCOMPARE(rig.station().isAutoOn(), autoOn);
    QCOMPARE(rig.station().autoToggled(), toggled);
}

void TestCommandCycle::lampBlinksOnceForCloseGos()
{
    StationRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("JINGLE=1")});
    Station &station = rig.station();
    RecordingRotors rotors(station);
    QVERIFY(rig.startStation());
    // STOP also ends the lamp timer that runs from start.
    station.StopAll();
    QList<bool> lamp;
    connect(&station, &Station::lampChanged, this, [&lamp](bool on) { lamp << on; });

    QElapsedTimer sinceFirstGo;
    station.enter(10, EntryOrigin::Typed);
    station.ButtonTrackClick();
    sinceFirstGo.start();
    QVERIFY(station.lampOn());
    // Blinking: lit and dark take turns.
    QTRY_VERIFY(lamp.contains(false));

    station.enter(20, EntryOrigin::Typed);
    station.ButtonTrackClick();
    QCOMPARE(rotors.sent, (Doubles {10, 20}));
    QCOMPARE(rig.feedback().count(Sound), 2);
    QVERIFY(station.lampOn());

    // 3.6 s after the first GO, not after the second.
    QTRY_VERIFY_WITH_TIMEOUT(!station.blinking(), 15000);
    const qint64 litFor = sinceFirstGo.elapsed();
    QVERIFY(!station.lampOn());
    QVERIFY2(litFor >= 3000 && litFor < 5300, qPrintable(QString::number(litFor)));
    const qsizetype changes = lamp.size();
    QTest::qWait(400);
    QCOMPARE(lamp.size(), changes);
}

QTEST_GUILESS_MAIN(TestCommandCycle)
#include "tst_CommandCycle.moc"
