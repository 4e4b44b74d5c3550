// The built program against the built simulator, for every serial controller: a
// KORU datagram turns the simulated antenna, SIGTERM stops it mid-turn and the
// program's close-out is whatever the controller understands it to be. Checked
// by the simulator's own understanding of each command, not by bytes alone.
#include "ProgramFolder.h"
#include "support/FreePorts.h"
#include "support/PseudoTerminal.h"
#include "support/ReportingProcess.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

#include <csignal>

namespace {

constexpr int StartTimeoutMs = 15000;
constexpr int MoveTimeoutMs = 20000;
constexpr int ExitTimeoutMs = 15000;

// orvantis-rotsim on dosdevices/com5 of a program folder, its report read line by line.
class SimulatedController : public ReportingProcess {
public:
    SimulatedController(const ProgramFolder &folder, const QString &protocol, int degreesPerSecond,
                        int startAzimuth = 0)
        : ReportingProcess(QStringLiteral(ORVANTIS_ROTSIM_EXECUTABLE),
                           {QStringLiteral("--protocol"), protocol, QStringLiteral("--link"),
                            folder.path() + QStringLiteral("/dosdevices/com5"), QStringLiteral("--rate"),
                            QString::number(degreesPerSecond), QStringLiteral("--start"),
                            QString::number(startAzimuth)})
    {
    }
};

QByteArray iniFor(quint16 port, const QByteArray &ant, const QByteArray &section, const QByteArray &extra = {})
{
    return "[ORVANTIS]\r\nAUTO=1\r\nSERVER=KORU\r\nPORTKORU=" + QByteArray::number(port - 1)
        + "\r\nANTKORU=1\r\nANT=" + ant + "\r\n" + section + "\r\nPORT_" + ant + "=5\r\n" + extra;
}

bool sendKoru(quint16 port, int azimuth)
{
    const QByteArray datagram = "<goazi>" + QByteArray::number(azimuth) + "</goazi>";
    return QUdpSocket().writeDatagram(datagram, QHostAddress::LocalHost, port) == datagram.size();
}

} // namespace

class ProgramSimulatedRotorsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void turnsStopsAndClosesOut_data();
    void turnsStopsAndClosesOut();
    void readBackFollowsTheAntenna();
    void hamlibClientsSeeOnlyReportedPositions();
    void silentHamlibControllerNeverHoldsTheClose();
};

void ProgramSimulatedRotorsTest::turnsStopsAndClosesOut_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<QByteArray>("ant");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QString>("understoodGo");    // for a GO to 40
    QTest::addColumn<QStringList>("closeOut");    // what SIGTERM leaves the controller told

    const QStringList stop {QStringLiteral("stop")};
    QTest::newRow("gs232") << "gs232" << QByteArray("GS232") << QByteArray("[GS-232]") << "go 40" << stop;
    QTest::newRow("easycomm") << "easycomm" << QByteArray("EASYCOMM") << QByteArray("[EASYCOMM]") << "go 40" << stop;
    QTest::newRow("trakbox") << "trakbox" << QByteArray("TRAKBOX") << QByteArray("[TRAKBOX]") << "go 40 el 0"
                             << QStringList {"stop", "host mode off"};
    QTest::newRow("prosistel") << "prosistel" << QByteArray("PROSISTEL") << QByteArray("[PROSISTEL]") << "go 40"
                               << stop;
    QTest::newRow("dcu1") << "dcu1" << QByteArray("DCU1") << QByteArray("[DCU-1]") << "go 40" << stop;
    QTest::newRow("m2orion") << "m2orion" << QByteArray("M2ORION") << QByteArray("[M2ORION]") << "go 40" << stop;
    QTest::newRow("egis") << "egis" << QByteArray("EGIS") << QByteArray("[EGIS]") << "go 40" << stop;
}

void ProgramSimulatedRotorsTest::turnsStopsAndClosesOut()
{
    QFETCH(QString, protocol);
    QFETCH(QByteArray, ant);
    QFETCH(QByteArray, section);
    QFETCH(QString, understoodGo);
    QFETCH(QStringList, closeOut);

    ProgramFolder folder;
    const quint16 port = ProgramFolder::freeUdpPort();
    QVERIFY(folder.isValid() && port > 1);
    QVERIFY(folder.writeIni(iniFor(port, ant, section)));
    // Slow enough that SIGTERM finds the antenna still turning towards 300 on a busy machine.
    SimulatedController controller(folder, protocol, 30);
    QVERIFY2(controller.waitFor(QStringLiteral("ready .*"), StartTimeoutMs), "the simulator did not come up");
    QVERIFY(folder.start());
    QVERIFY2(folder.waitUntilListening(port, StartTimeoutMs), "the program did not come up listening");

    // The TrakBox is woken before the first activation ends, and a request that
    // lands before then is only shown; let the wake-up finish first.
    if (protocol == QLatin1String("trakbox")) {
        QVERIFY(controller.waitFor(QStringLiteral("host mode on"), StartTimeoutMs));
        controller.lines(500);
    }
    QVERIFY(sendKoru(port, 40));
    QVERIFY2(controller.waitFor(understoodGo, MoveTimeoutMs), qPrintable(controller.lines(0).join(u'|')));
    QVERIFY(controller.waitFor(QStringLiteral("arrived 40"), MoveTimeoutMs));

    QVERIFY(sendKoru(port, 300));
    QVERIFY(controller.waitFor(understoodGo.replace(QStringLiteral("40"), QStringLiteral("300")), MoveTimeoutMs));
    QVERIFY(controller.waitFor(QStringLiteral("position \\d+"), MoveTimeoutMs));
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(folder.exitCode(), 0);

    const QStringList lines = controller.lines(500);
    const qsizetype goAt = lines.lastIndexOf(understoodGo);
    QVERIFY(goAt >= 0);
    QStringList afterGo;
    for (const QString &line : lines.mid(goAt + 1)) {
        if (!line.startsWith(QLatin1String("position ")))
            afterGo.append(line);
    }
    // Stopped mid-turn, never arrived, and told nothing it did not understand.
    QCOMPARE(afterGo, closeOut);
    QVERIFY2(lines.filter(QRegularExpression(QStringLiteral("^(ignored|overflow)"))).isEmpty(),
             qPrintable(lines.join(u'|')));
    QVERIFY(controller.stop());
}

void ProgramSimulatedRotorsTest::readBackFollowsTheAntenna()
{
    ProgramFolder folder;
    const quint16 port = ProgramFolder::freeUdpPort();
    QVERIFY(folder.isValid() && port > 1);
    // A south stop and an offset: the controller counts from its own zero, and the
    // program turns its count back into the antenna's azimuth.
    QVERIFY(folder.writeIni(iniFor(port, "GS232", "[GS-232]",
                                   "STOP_GS232=S\r\nAZOFFSET_GS=10\r\n[READ POSITION]\r\nREADPOS_GS232=1\r\n")));
    SimulatedController controller(folder, QStringLiteral("gs232"), 40);
    QVERIFY(controller.waitFor(QStringLiteral("ready .*"), StartTimeoutMs));
    folder.setEnvironment(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("orvantis.position.debug=true"));
    QVERIFY(folder.start());
    QVERIFY(folder.waitUntilListening(port, StartTimeoutMs));

    // 120 with the stop in the south and 10 off: the controller turns from 0 to 290.
    QVERIFY(sendKoru(port, 120));
    QVERIFY(controller.waitFor(QStringLiteral("go 290"), MoveTimeoutMs));
    QVERIFY(controller.waitFor(QStringLiteral("arrived 290"), MoveTimeoutMs));

    QList<double> readings;
    const QRegularExpression reading(QStringLiteral("antenna at (\\d+(?:\\.\\d+)?)"));
    const QDeadlineTimer deadline(MoveTimeoutMs);
    while (!deadline.hasExpired() && (readings.isEmpty() || readings.last() != 120)) {
        QTest::qWait(100);
        readings.clear();
        for (const QString &line : QString::fromUtf8(folder.standardError()).split(u'\n')) {
            if (const auto match = reading.match(line); match.hasMatch())
                readings.append(match.captured(1).toDouble());
        }
    }
    QVERIFY2(!readings.isEmpty() && readings.last() == 120, qPrintable(QString::fromUtf8(folder.standardError())));
    // Seen on the way too: the needle follows the antenna rather than jumping.
    QVERIFY2(readings.size() >= 3, qPrintable(QString::fromUtf8(folder.standardError())));
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(folder.exitCode(), 0);

    const QStringList lines = controller.lines(300);
    QVERIFY2(lines.filter(QRegularExpression(QStringLiteral("^(ignored|overflow)"))).isEmpty(),
             qPrintable(lines.join(u'|')));
    // The setting comes back as it was read.
    QVERIFY(folder.readIni().contains("\r\nREADPOS_GS232=1\r\n"));
}

// A Hamlib client asking where the antenna is, before, during and after a turn:
// every answer is what the controller reported, never the target.
void ProgramSimulatedRotorsTest::hamlibClientsSeeOnlyReportedPositions()
{
    ProgramFolder folder;
    const quint16 port = freeTcpPort();
    QVERIFY(folder.isValid() && port != 0);
    QVERIFY(folder.writeIni("[ORVANTIS]\r\nAUTO=1\r\nANT=GS232\r\n[GS-232]\r\nPORT_GS232=5\r\n"
                            "[READ POSITION]\r\nREADPOS_GS232=1\r\n[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_PORT="
                            + QByteArray::number(port) + "\r\n"));
    SimulatedController controller(folder, QStringLiteral("gs232"), 20, 30);
    QVERIFY(controller.waitFor(QStringLiteral("ready .*"), StartTimeoutMs));
    QVERIFY(folder.start());
    QTcpSocket client;
    const QDeadlineTimer connecting(StartTimeoutMs);
    do {
        client.abort();
        client.connectToHost(QHostAddress::LocalHost, port);
    } while (!client.waitForConnected(200) && !connecting.hasExpired());
    QCOMPARE(client.state(), QAbstractSocket::ConnectedState);
    const auto ask = [&client](const QByteArray &line) {
        client.write(line + '\n');
        QByteArray reply;
        const QDeadlineTimer deadline(5000);
        while (!reply.endsWith('\n') && !deadline.hasExpired()) {
            client.waitForReadyRead(50);
            reply += client.readAll();
        }
        return reply;
    };
    const auto azimuth = [&ask] {
        const QByteArray reply = ask("p");
        return reply.startsWith("RPRT") ? -1.0 : reply.split('\n').first().toDouble();
    };

    // Whether the controller has said it points at `azimuth`: where it started, or
    // a whole degree it has passed since (it reports each one as it goes).
    const auto controllerSaid = [&](double azimuth) {
        const QString line = QStringLiteral("position %1").arg(azimuth);
        return azimuth == 30 || QTest::qWaitFor([&] { return controller.lines(20).contains(line); }, 3000);
    };

    // Asked at start: known before any move.
    QTRY_COMPARE_WITH_TIMEOUT(azimuth(), 30.0, MoveTimeoutMs);
    QCOMPARE(ask("P 150.00 0.00"), QByteArray("RPRT 0\n"));
    QVERIFY(controller.waitFor(QStringLiteral("go 150"), MoveTimeoutMs));
    // However late the answer comes, it is a place the antenna has been, never the target.
    const double early = azimuth();
    QVERIFY2(early >= 30 && early < 150 && controllerSaid(early), qPrintable(QString::number(early)));

    // Stopped on its way: the antenna stands where the controller last said it was
    // when the stop arrived (the simulator moves in ticks and reports each degree).
    QVERIFY(controller.waitFor(QStringLiteral("position \\d+"), MoveTimeoutMs));
    QCOMPARE(ask("S"), QByteArray("RPRT 0\n"));
    QVERIFY(controller.waitFor(QStringLiteral("stop"), MoveTimeoutMs));
    const QStringList reported = controller.lines(0);
    const QStringList beforeStop = reported.mid(0, reported.lastIndexOf(QStringLiteral("stop")))
                                       .filter(QRegularExpression(QStringLiteral("^position ")));
    QVERIFY(!beforeStop.isEmpty());
    const double stoppedAt = beforeStop.last().mid(9).toDouble();
    QVERIFY2(stoppedAt < 150, qPrintable(reported.join(u'|')));
    // Asked once more as the port is let go, and standing from then on.
    QTRY_COMPARE_WITH_TIMEOUT(azimuth(), stoppedAt, 3000);
    QTest::qWait(1500);
    QCOMPARE(azimuth(), stoppedAt);
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QVERIFY(controller.stop());
}

// Hamlib's GS-232A back end on a line nobody answers: each call waits out its
// time-out in the library, and SIGTERM still ends the program with its settings
// written, the worker given its few seconds and then left behind.
void ProgramSimulatedRotorsTest::silentHamlibControllerNeverHoldsTheClose()
{
    ProgramFolder folder;
    PseudoTerminal silent;
    const quint16 port = ProgramFolder::freeUdpPort();
    QVERIFY(folder.isValid() && silent.isValid() && port > 1);
    QVERIFY(folder.linkComPort(5, silent.slavePath()));
    QVERIFY(folder.writeIni(iniFor(port, "HAMLIB", "[HAMLIB]", "HAMLIB_MODEL=601\r\nREADPOS_HAMLIB=1\r\n")));
    QVERIFY(folder.start());
    QVERIFY(folder.waitUntilListening(port, StartTimeoutMs));
    // The position asked at start goes unanswered, and the user is told.
    QTRY_VERIFY_WITH_TIMEOUT(folder.standardError().contains("COM5: the controller did not answer (timeout)"),
                             MoveTimeoutMs);
    QVERIFY(sendKoru(port, 90));
    // Behind whatever the unanswered queries left on the line.
    QByteArray heard;
    QVERIFY(QTest::qWaitFor([&] { return (heard += silent.readAll(20)).contains("W090"); }, MoveTimeoutMs));
    // The worker now waits on the library for the position after the GO.
    QVERIFY(sendKoru(port, 200));
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(folder.exitCode(), 0);
    const QByteArray ini = folder.readIni();
    QVERIFY2(ini.contains("ANT=HAMLIB\r\n") && ini.contains("[HAMLIB]\r\nHAMLIB_MODEL=601\r\n"), ini.constData());
}

QTEST_GUILESS_MAIN(ProgramSimulatedRotorsTest)
#include "tst_ProgramSimulatedRotors.moc"
