// The station without any window: requests as numbers, bytes on real
// pseudo-terminals, the settings file on disk.
#include "StationRig.h"

#include "support/FreePorts.h"

#include <QSignalSpy>

#include <unistd.h>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <functional>

Q_DECLARE_METATYPE(std::function<void(Station &)>)

namespace {

using Request = std::function<void(Station &)>;

// A GS-232 or DCU-1 on COM5 with AUTO on, showing 359 and already sent there.
std::unique_ptr<StationRig> runningStation(const QString &interfaceName)
{
    auto rig = std::make_unique<StationRig>(
        QStringList {QStringLiteral("ANT=") + interfaceName, QStringLiteral("AUTO=1"),
                     QStringLiteral("PORT_%1=5").arg(interfaceName),
                     QStringLiteral("FAV1AZ=500")},
        QStringList {QStringLiteral("com5")});
    if (!rig->startStation())
        return nullptr;
    rig->station().enter(359, EntryOrigin::Stepper);
    rig->terminal(QStringLiteral("com5")).readAll(100);
    return rig;
}

} // namespace

class TestStation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void stopIsFinal_data();
    void stopIsFinal();
    void requestsDuringAPause_data();
    void requestsDuringAPause();
    void repeatedTargetMeasuredFromTheAntenna_data();
    void repeatedTargetMeasuredFromTheAntenna();
    void startCutShortWritesBackWhatWasRead();
    void closeBeforeTheFirstActivationStillParks();
    void absentAdapterIsToldAndKept();
};

void TestStation::stopIsFinal_data()
{
    QTest::addColumn<QString>("interfaceName");
    QTest::addColumn<Request>("request");
    QTest::addColumn<QByteArray>("written");

    const QByteArray gs232 = QByteArray("W000\r") + "S\r";
    // The STOP lands in the pause between the target and the order to move.
    const QByteArray dcu1 = QByteArray("AP1000;\r") + ";\r";
    const std::pair<QString, QByteArray> interfaces[] = {{QStringLiteral("GS232"), gs232},
                                                         {QStringLiteral("DCU1"), dcu1}};
    for (const auto &[name, written] : interfaces) {
        QTest::addRow("%s, stepped 359 to 360", qPrintable(name))
            << name << Request([](Station &s) { s.enter(360, EntryOrigin::Stepper); }) << written;
        QTest::addRow("%s, typed 400", qPrintable(name))
            << name << Request([](Station &s) { s.enter(400, EntryOrigin::Typed); }) << written;
        QTest::addRow("%s, favourite 500", qPrintable(name))
            << name << Request([](Station &s) { s.enterFavourite(1); }) << written;
        QTest::addRow("%s, angle window with AUTO on", qPrintable(name))
            << name << Request([](Station &s) { s.enterAndGo(0, EntryOrigin::AngleWindow); }) << written;
    }
}

void TestStation::stopIsFinal()
{
    // A STOP ends the request that was being sent: nothing of it is written
    // after the STOP, whatever the request would still have done.
    QFETCH(QString, interfaceName);
    QFETCH(Request, request);
    QFETCH(QByteArray, written);
    const auto rig = runningStation(interfaceName);
    QVERIFY(rig);
    Station &station = rig->station();
    QTimer::singleShot(1, &station, [&station] { station.StopAll(); });
    request(station);
    QCOMPARE(rig->terminal(QStringLiteral("com5")).readAll(300), written);
    QCOMPARE(station.shownAzimuth(), 0);
    QVERIFY(!station.lampOn());

    // Only a new request moves again.
    station.enter(90, EntryOrigin::Stepper);
    QVERIFY(rig->terminal(QStringLiteral("com5")).readAll(150).startsWith(interfaceName == QLatin1String("GS232")
                                                                              ? QByteArray("W090\r")
                                                                              : QByteArray("AP1090;\r")));
}

// What comes in while a GO sits in its pause, each from its real source, and
// what the controller then receives: a STOP is final for everything before it.
void TestStation::requestsDuringAPause_data()
{
    QTest::addColumn<QString>("script"); // what happens, in order, once "W100" is on the line
    QTest::addColumn<QList<QByteArray>>("allowed"); // what may follow "W100"

    using Bytes = QList<QByteArray>;
    QTest::newRow("datagram, then STOP") << "datagram 200, stop" << Bytes {"S\r", "W200\rS\r"};
    QTest::newRow("Hamlib client, then STOP") << "rotctld 200, stop" << Bytes {"S\r", "W200\rS\r"};
    QTest::newRow("two datagrams: the newest runs") << "datagram 200, datagram 250" << Bytes {"W250\r"};
    QTest::newRow("favourite onto the shown azimuth") << "stop, favourite" << Bytes {"S\r"};
    QTest::newRow("MAN after STOP sends again") << "stop, man" << Bytes {"S\rW100\r"};
}

void TestStation::requestsDuringAPause()
{
    QFETCH(QString, script);
    QFETCH(QList<QByteArray>, allowed);
    const QList<quint16> ports = freeUdpPorts(1);
    const quint16 tcpPort = freeTcpPort();
    QVERIFY(!ports.isEmpty() && tcpPort);
    StationRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("AUTO=1"), QStringLiteral("PORT_GS232=5"),
                    QStringLiteral("SERVER=KORU"), QStringLiteral("PORTKORU=%1").arg(ports.first() - 1),
                    QStringLiteral("ANTKORU=1"), QStringLiteral("FAV1AZ=100"), QStringLiteral("[ROTCTLD]"),
                    QStringLiteral("ROTCTLD=1"), QStringLiteral("ROTCTLD_PORT=%1").arg(tcpPort)},
                   {QStringLiteral("com5")});
    QVERIFY(rig.startStation());
    Station &station = rig.station();
    QSignalSpy datagrams(&station, &Station::datagramReceived);
    QUdpSocket sender;
    const auto datagram = [&](int azimuth) {
        const qsizetype before = datagrams.size();
        sender.writeDatagram(QByteArray("<goazi>%1</goazi>").replace("%1", QByteArray::number(azimuth)),
                             QHostAddress::LocalHost, ports.first());
        // Read by the station before anything else happens.
        QTRY_VERIFY(datagrams.size() > before);
    };
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, tcpPort);
    QVERIFY(client.waitForConnected(2000));

    datagram(100);
    QCOMPARE(rig.terminal(QStringLiteral("com5")).readAtLeast(5, 2000), QByteArray("W100\r"));
    for (const QString &step : script.split(QStringLiteral(", "))) {
        const QStringList words = step.split(QLatin1Char(' '));
        if (words.first() == QLatin1String("datagram"))
            datagram(words.at(1).toInt());
        else if (words.first() == QLatin1String("rotctld")) {
            client.write("P " + words.at(1).toLatin1() + " 0\n");
            // Taken in by the station (it shows the target) before anything else.
            QTRY_COMPARE(station.shownAzimuth(), words.at(1).toInt());
        }
        else if (words.first() == QLatin1String("stop"))
            station.StopAll();
        else if (words.first() == QLatin1String("favourite"))
            station.enterFavourite(1);
        else if (words.first() == QLatin1String("man"))
            station.ButtonTrackClick();
    }
    const QByteArray after = rig.terminal(QStringLiteral("com5")).readAll(300);
    QVERIFY2(allowed.contains(after), after.constData());
}

// A Hamlib client asks again for the target last sent, the controller having
// reported where its antenna stands (stopped at its front panel, or there).
void TestStation::repeatedTargetMeasuredFromTheAntenna_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("sentAgain");
    QTest::newRow("stopped elsewhere") << QByteArray("AZ=164\r\n") << QByteArray("W100\r");
    QTest::newRow("already there") << QByteArray("AZ=100\r\n") << QByteArray();
}

void TestStation::repeatedTargetMeasuredFromTheAntenna()
{
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, sentAgain);
    const quint16 tcpPort = freeTcpPort();
    QVERIFY(tcpPort);
    StationRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("AUTO=1"), QStringLiteral("PORT_GS232=5"),
                    QStringLiteral("READPOS_GS232=1"), QStringLiteral("[ROTCTLD]"), QStringLiteral("ROTCTLD=1"),
                    QStringLiteral("ROTCTLD_PORT=%1").arg(tcpPort)},
                   {QStringLiteral("com5")});
    QVERIFY(rig.startStation());
    PseudoTerminal &controller = rig.terminal(QStringLiteral("com5"));
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, tcpPort);
    QVERIFY(client.waitForConnected(2000));
    const auto ask = [&client](const QByteArray &line) {
        client.write(line + '\n');
        QByteArray got;
        return QTest::qWaitFor([&] { return (got += client.readAll()).endsWith('\n'); }) ? got : QByteArray();
    };

    QCOMPARE(ask("P 100 0"), QByteArray("RPRT 0\n"));
    // The controller is asked where it points right after the GO, and answers.
    QByteArray heard;
    QTRY_VERIFY2((heard += controller.readAll(50)).endsWith("C\r"), heard.constData());
    QCOMPARE(::write(controller.masterFd(), reply.constData(), size_t(reply.size())), reply.size());
    QTRY_VERIFY(rig.station().reportedAzimuth().has_value());

    QCOMPARE(ask("P 100 0"), QByteArray("RPRT 0\n"));
    QCOMPARE(controller.readAll(100).replace("C\r", ""), sentAgain);
}

void TestStation::startCutShortWritesBackWhatWasRead()
{
    // Closed before its first activation (a signal during start-up), the station
    // writes back every choice as it was read, though it never reconciled them.
    const QStringList lines {QStringLiteral("PORTKORU=13000"), QStringLiteral("ANTKORU=7"),
                             QStringLiteral("ANT=GS232"),      QStringLiteral("PORT_GS232=5"),
                             QStringLiteral("PORT_EGIS=12"),   QStringLiteral("WLEFT=40"),
                             QStringLiteral("WTOP=60"),        QStringLiteral("ANGLE=123")};
    StationRig rig(lines);
    rig.station().runClosingSequence();
    QTRY_VERIFY(rig.station().closingFinished());
    const QByteArray saved = rig.savedIni();
    for (const QString &line : lines)
        QVERIFY2(saved.contains(QByteArray(line.toLatin1()).append("\r\n")), qPrintable(line));
}

void TestStation::closeBeforeTheFirstActivationStillParks()
{
    // A signal that lands before the ports were matched to those present.
    StationRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("PORT_GS232=5"), QStringLiteral("PARKING=GS232"),
                    QStringLiteral("AZIMUT_PARKING=90")},
                   {QStringLiteral("com5")});
    rig.station().runClosingSequence();
    QTRY_VERIFY(rig.station().closingFinished());
    QCOMPARE(rig.terminal(QStringLiteral("com5")).readAll(100), QByteArray("W090\r"));
    QCOMPARE(rig.feedback().events().filter(QStringLiteral("note:")), QStringList());
    QVERIFY(rig.savedIni().contains("PORT_GS232=5\r\n"));
}

void TestStation::absentAdapterIsToldAndKept()
{
    // An unplugged adapter: no interface this run, a word on why, the choice kept.
    StationRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("PORT_GS232=5")});
    QVERIFY(rig.startStation());
    QCOMPARE(rig.station().configuration().interfaceKind, InterfaceKind::None);
    const QStringList told = rig.feedback().events().filter(QStringLiteral("note:"));
    QCOMPARE(told.size(), 1);
    // Named by the device it stands for, the one to plug in.
    QVERIFY2(told.first().contains(QStringLiteral("COM5 (%1/dev/ttyS4)").arg(rig.folder()))
                 && told.first().contains(QStringLiteral("GS232"))
                 && told.first().contains(QStringLiteral("Plug the adapter in")),
             qPrintable(told.first()));
    rig.station().runClosingSequence();
    QTRY_VERIFY(rig.station().closingFinished());
    const QByteArray saved = rig.savedIni();
    QVERIFY(saved.contains("PORT_GS232=5\r\n"));
    QVERIFY(saved.contains("ANT=GS232\r\n"));
}

QTEST_GUILESS_MAIN(TestStation)
#include "tst_Station.moc"
