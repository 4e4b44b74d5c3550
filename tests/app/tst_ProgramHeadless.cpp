// `orvantis --headless` with no display at all: steered by a Hamlib client and a
// KORU datagram, GS-232 bytes checked on a pseudo-terminal standing in for COM5,
// and a SIGTERM that stops, parks and saves.
#include "ProgramFolder.h"
#include "support/FreePorts.h"
#include "support/PseudoTerminal.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

#include <csignal>

namespace {
constexpr int StartTimeoutMs = 15000;
constexpr int ReplyTimeoutMs = 5000;

QByteArray ask(QTcpSocket &client, const QByteArray &line)
{
    client.write(line);
    QByteArray reply;
    const QDeadlineTimer deadline(ReplyTimeoutMs);
    while (!reply.contains("RPRT") && !deadline.hasExpired() && client.waitForReadyRead(100))
        reply += client.readAll();
    return reply + client.readAll();
}
} // namespace

class TestProgramHeadless : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runsTheStationWithoutADisplay();
    void displayChoicesAtStart();
    void signalsIgnoredAtStartStayIgnored_data();
    void signalsIgnoredAtStartStayIgnored();
};

void TestProgramHeadless::runsTheStationWithoutADisplay()
{
    ProgramFolder folder(ProgramFolder::Display::None);
    PseudoTerminal com5;
    const quint16 rotctldPort = freeTcpPort();
    const quint16 koruPort = ProgramFolder::freeUdpPort();
    QVERIFY(folder.isValid() && com5.isValid() && rotctldPort != 0 && koruPort != 0);
    QVERIFY(folder.linkComPort(5, com5.slavePath()));
    QVERIFY(folder.writeIni("[ORVANTIS]\r\nAUTO=1\r\nSERVER=KORU\r\nPORTKORU=" + QByteArray::number(koruPort - 1)
                            + "\r\nANTKORU=1\r\nANT=GS232\r\nPARKING=GS232\r\nAZIMUT_PARKING=90\r\n"
                              "[GS-232]\r\nPORT_GS232=5\r\n[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_PORT="
                            + QByteArray::number(rotctldPort) + "\r\n"));
    folder.setArguments({QStringLiteral("--headless")});
    QVERIFY(folder.start());
    QVERIFY2(folder.waitUntilListening(koruPort, StartTimeoutMs), folder.standardError().constData());
    // What a window would show in its caption is a line on standard error.
    QVERIFY(folder.waitForStandardError("GS232", StartTimeoutMs));

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, rotctldPort);
    QVERIFY(client.waitForConnected(ReplyTimeoutMs));
    QCOMPARE(ask(client, "P 150 0\n"), QByteArray("RPRT 0\n"));
    QCOMPARE(com5.readAtLeast(5, ReplyTimeoutMs), QByteArray("W150\r"));

    QUdpSocket logger;
    QVERIFY(logger.writeDatagram("<goazi>210.4</goazi>", QHostAddress::LocalHost, koruPort) > 0);
    QCOMPARE(com5.readAtLeast(5, ReplyTimeoutMs), QByteArray("W210\r"));

    // Closing: STOP, then the parking GO on the port STOP closed, without a second STOP.
    QVERIFY(folder.stop(SIGTERM, 10000));
    QCOMPARE(folder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(folder.exitCode(), 0);
    QCOMPARE(com5.readAll(500), QByteArray("S\rW090\r"));
    const QByteArray saved = folder.readIni();
    QVERIFY2(saved.contains("PORT_GS232=5\r\n"), saved.constData());
    QVERIFY(saved.contains("ANT=GS232\r\n"));
    QVERIFY(saved.contains("SERVER=KORU\r\n"));
    const QByteArray servedPort = "ROTCTLD_PORT=" + QByteArray::number(rotctldPort) + "\r\n";
    QVERIFY(saved.contains(servedPort));
}

// Qt's -platform option is a display of its own; a display that is named but gone
// is one line and status 1, not an abort.
void TestProgramHeadless::displayChoicesAtStart()
{
    ProgramFolder offscreen(ProgramFolder::Display::None);
    QVERIFY(offscreen.isValid());
    offscreen.setArguments({QStringLiteral("-platform"), QStringLiteral("offscreen")});
    QVERIFY(offscreen.start());
    QVERIFY2(offscreen.waitUntilSignalsHandled(StartTimeoutMs), offscreen.standardError().constData());
    QVERIFY(offscreen.stop(SIGTERM, 10000));
    QCOMPARE(offscreen.exitCode(), 0);
    QVERIFY(offscreen.readIni().contains("[ORVANTIS]"));

    ProgramFolder gone(ProgramFolder::Display::None);
    QVERIFY(gone.isValid());
    gone.setEnvironment(QStringLiteral("DISPLAY"), QStringLiteral(":987"));
    QVERIFY(gone.start());
    QTRY_VERIFY_WITH_TIMEOUT(!gone.isRunning(), 10000);
    QCOMPARE(gone.exitStatus(), QProcess::NormalExit);
    QCOMPARE(gone.exitCode(), 1);
    QVERIFY2(gone.standardError().contains("orvantis: the display cannot be used:"), gone.standardError().constData());
}

void TestProgramHeadless::signalsIgnoredAtStartStayIgnored_data()
{
    QTest::addColumn<QStringList>("launcher"); // runs the program's command line with a signal ignored
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("survives");
    // Logging out of the SSH session that started it must not park the antenna.
    QTest::newRow("nohup, then SIGHUP") << QStringList {"nohup"} << int(SIGHUP) << true;
    // What a non-interactive shell does for a job started with `&`.
    QTest::newRow("background job, then SIGINT")
        << QStringList {"sh", "-c", "trap '' INT; exec \"$0\" \"$@\""} << int(SIGINT) << true;
    QTest::newRow("started plainly, then SIGHUP") << QStringList {} << int(SIGHUP) << false;
}

void TestProgramHeadless::signalsIgnoredAtStartStayIgnored()
{
    QFETCH(QStringList, launcher);
    QFETCH(int, signal);
    QFETCH(bool, survives);
    ProgramFolder folder(ProgramFolder::Display::None);
    PseudoTerminal com5;
    const quint16 rotctldPort = freeTcpPort();
    const quint16 koruPort = ProgramFolder::freeUdpPort();
    QVERIFY(folder.isValid() && com5.isValid() && rotctldPort != 0 && koruPort != 0);
    QVERIFY(folder.linkComPort(5, com5.slavePath()));
    QVERIFY(folder.writeIni("; by hand\r\n[ORVANTIS]\r\nAUTO=1\r\nSERVER=KORU\r\nPORTKORU="
                            + QByteArray::number(koruPort - 1)
                            + "\r\nANTKORU=1\r\nANT=GS232\r\nPARKING=GS232\r\nAZIMUT_PARKING=90\r\n"
                              "[GS-232]\r\nPORT_GS232=5\r\n[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_PORT="
                            + QByteArray::number(rotctldPort) + "\r\n"));
    if (launcher.isEmpty()) {
        folder.setArguments({QStringLiteral("--headless")});
    } else {
        folder.setProgram(launcher.takeFirst());
        folder.setArguments(launcher << QFileInfo(QStringLiteral(ORVANTIS_EXECUTABLE)).fileName().prepend(folder.path() + '/')
                                     << QStringLiteral("--headless"));
    }
    QVERIFY(folder.start());
    QVERIFY2(folder.waitUntilListening(koruPort, StartTimeoutMs), folder.standardError().constData());
    // The caption comes with the first activation, which starts the rotctld server.
    QVERIFY(folder.waitForStandardError("GS232", StartTimeoutMs));

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, rotctldPort);
    QVERIFY(client.waitForConnected(ReplyTimeoutMs));
    QCOMPARE(ask(client, "P 150 0\n"), QByteArray("RPRT 0\n"));
    QCOMPARE(com5.readAtLeast(5, ReplyTimeoutMs), QByteArray("W150\r"));

    QCOMPARE(::kill(pid_t(folder.pid()), signal), 0);
    if (survives) {
        // An ignored signal is dropped when sent, so the program still steering the
        // rotator afterwards shows it was not taken as the start of closing.
        QCOMPARE(ask(client, "P 210 0\n"), QByteArray("RPRT 0\n"));
        QCOMPARE(com5.readAtLeast(5, ReplyTimeoutMs), QByteArray("W210\r"));
        QVERIFY(folder.isRunning());
        QVERIFY(folder.stop(SIGTERM, 10000));
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(!folder.isRunning(), 10000);
    }
    QCOMPARE(folder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(folder.exitCode(), 0);
    QCOMPARE(com5.readAll(500), QByteArray("S\rW090\r"));
    const QByteArray saved = folder.readIni();
    QVERIFY2(!saved.startsWith("; by hand") && saved.contains("\r\nPORT_GS232=5\r\n"), saved.constData());
}

QTEST_GUILESS_MAIN(TestProgramHeadless)
#include "tst_ProgramHeadless.moc"
