// The whole road through the built program: KORU datagrams on loopback in, GS-232
// bytes out on a pseudo-terminal standing in for COM5, settings written at exit.
#include "ProgramFolder.h"
#include "support/PseudoTerminal.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QUdpSocket>

#include <csignal>

namespace {

constexpr int StartTimeoutMs = 15000;
constexpr int ExitTimeoutMs = 15000;

// A GS-232 controller on COM5 with AUTO and the KORU listener on, as an operator
// steering from the logger would have it.
class RunningProgram {
public:
    explicit RunningProgram(const QByteArray &extraIniLines = {})
        : m_port(ProgramFolder::freeUdpPort())
    {
        const QByteArray ini = "[ORVANTIS]\r\nAUTO=1\r\nSERVER=KORU\r\nPORTKORU=" + QByteArray::number(m_port - 1)
            + "\r\nANTKORU=1\r\nANT=GS232\r\n[GS-232]\r\nPORT_GS232=5\r\n" + extraIniLines;
        m_ready = m_port > 1 && m_folder.isValid() && m_pty.isValid()
            && m_folder.linkComPort(5, m_pty.slavePath()) && m_folder.writeIni(ini) && m_folder.start()
            && m_folder.waitUntilListening(m_port, StartTimeoutMs);
    }

    bool isReady() const { return m_ready; }
    ProgramFolder &folder() { return m_folder; }
    PseudoTerminal &com5() { return m_pty; }
    quint16 port() const { return m_port; }

    bool send(const QByteArray &datagram)
    {
        return m_sender.writeDatagram(datagram, QHostAddress::LocalHost, m_port) == datagram.size();
    }

    // Sends without ever overrunning the program's receive buffer, so that no
    // datagram, the last above all, is lost on the way. False when the program
    // stops reading its socket.
    bool sendPaced(const QByteArray &datagram)
    {
        const QDeadlineTimer deadline(5000);
        while (ProgramFolder::udpReceiveQueueBytes(m_port) > 64 * 1024) {
            if (deadline.hasExpired())
                return false;
            QTest::qWait(1);
        }
        return send(datagram);
    }

private:
    ProgramFolder m_folder;
    PseudoTerminal m_pty;
    QUdpSocket m_sender;
    quint16 m_port;
    bool m_ready = false;
};

QByteArray koru(const QByteArray &azimuth)
{
    return "<goazi>" + azimuth + "</goazi>";
}

} // namespace

class ProgramRotorRoadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void datagramToControllerToSettings();
    void closingStopsThenParks_data();
    void closingStopsThenParks();
    void survivesMalformedAndFloodingDatagrams();
};

void ProgramRotorRoadTest::datagramToControllerToSettings()
{
    RunningProgram program;
    QVERIFY2(program.isReady(), "the program did not come up listening");

    QVERIFY(program.send(koru("123.7")));
    QCOMPARE(program.com5().readAtLeast(5, 5000), QByteArray("W123\r"));

    QVERIFY(program.folder().stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(program.folder().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.folder().exitCode(), 0);
    QCOMPARE(program.com5().readAll(300), QByteArray("S\r"));

    const QByteArray written = program.folder().readIni();
    QVERIFY(written.contains("\r\nAUTO=1\r\n"));
    QVERIFY(written.contains("\r\nSERVER=KORU\r\n"));
    QVERIFY(written.contains("\r\nANT=GS232\r\n"));
    QVERIFY(written.contains("\r\nPORT_GS232=5\r\n"));
}

void ProgramRotorRoadTest::closingStopsThenParks_data()
{
    QTest::addColumn<QByteArray>("parking");
    QTest::addColumn<QByteArray>("closingBytes");
    // The parking GO goes to the selected interface whatever PARKING names; only
    // parking on GS-232 itself spares the rotator the closing stop.
    QTest::newRow("parking on GS232") << QByteArray("GS232") << QByteArray("S\rW090\r");
    QTest::newRow("parking on EasyComm") << QByteArray("EASYCOMM") << QByteArray("S\rW090\rS\r");
}

void ProgramRotorRoadTest::closingStopsThenParks()
{
    QFETCH(QByteArray, parking);
    QFETCH(QByteArray, closingBytes);
    RunningProgram program("[KCT]\r\nAZIMUT_PARKING=90\r\nPARKING=" + parking + "\r\n");
    QVERIFY2(program.isReady(), "the program did not come up listening");

    // An open port, as the rotator has been driven during the run.
    QVERIFY(program.send(koru("45")));
    QCOMPARE(program.com5().readAtLeast(5, 5000), QByteArray("W045\r"));

    QVERIFY(program.folder().stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(program.folder().exitCode(), 0);
    QCOMPARE(program.com5().readAll(300), closingBytes);
}

void ProgramRotorRoadTest::survivesMalformedAndFloodingDatagrams()
{
    RunningProgram program;
    QVERIFY2(program.isReady(), "the program did not come up listening");

    // Nothing here holds an azimuth the program may accept.
    QList<QByteArray> garbage = {
        QByteArray(),
        QByteArray(1, '\0'),
        koru(QByteArray(1, '\0')),
        koru(QByteArray("1\0" "2", 3)),
        QByteArray("<goazi>12\0</goazi>", 18),
        koru("99999999999999999999"),
        koru("2147483648"),
        koru("-2147483649"),
        koru("361"),
        koru("-5"),
        koru("-1.5"),
        koru(""),
        koru("."),
        koru("abc"),
        koru("1e2"),
        koru("0x10"),
        "</goazi>45<goazi>",
        "</goazi><goazi>45",
        "<goazi>45",
        "45</goazi>",
        "<GOAZI>45</GOAZI>",
        "%1%2<goazi>%n</goazi>",
        "<goazi>" + QByteArray(65000, '9') + "</goazi>",
        "<goazi>" + QByteArray(65000, 'A'),
    };
    QRandomGenerator random(20240501);
    for (int i = 0; i < 250; ++i) {
        QByteArray bytes(random.bounded(1, 400), Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(random.bounded(256));
        garbage.append(bytes);
    }
    for (const QByteArray &datagram : std::as_const(garbage))
        QVERIFY(program.sendPaced(datagram));
    // Every garbage datagram has been taken in and dropped by now.
    QCOMPARE(program.com5().readAll(500), QByteArray());
    QVERIFY2(program.folder().isRunning(), "garbage datagrams ended the program");

    // 0.1, 0.2 ... 200.0 degrees: a logger sweeping the antenna faster than any
    // controller can follow.
    QByteArray received;
    for (int tenths = 1; tenths <= 2000; ++tenths) {
        QVERIFY(program.sendPaced(koru(QByteArray::number(tenths / 10) + '.' + QByteArray::number(tenths % 10))));
        if (tenths % 100 == 0)
            received += program.com5().readAll(1);
    }
    // Until the newest target has gone out and the line falls quiet.
    for (int round = 0; round < 50 && !received.endsWith("W200\r"); ++round)
        received += program.com5().readAll(200);
    received += program.com5().readAll(300);
    QVERIFY2(program.folder().isRunning(), "the burst ended the program");

    QVERIFY(program.folder().stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(program.folder().exitCode(), 0);
    received += program.com5().readAll(300);

    static const QRegularExpression wellFormed(QStringLiteral("^(W\\d{3}\\r)+S\\r$"));
    QVERIFY2(wellFormed.match(QString::fromLatin1(received)).hasMatch(), received.toPercentEncoding().constData());
    QList<int> azimuths;
    for (const QByteArray &command : received.chopped(2).split('\r')) {
        if (!command.isEmpty())
            azimuths.append(command.mid(1).toInt());
    }
    QCOMPARE(azimuths.last(), 200);
    for (qsizetype i = 0; i < azimuths.size(); ++i) {
        QVERIFY(azimuths.at(i) >= 0 && azimuths.at(i) <= 359);
        // Only ever a newer target than the one before: no stale GO ran late.
        if (i > 0)
            QVERIFY2(azimuths.at(i) > azimuths.at(i - 1), qPrintable(QStringLiteral("command %1").arg(i)));
    }
    // A command takes its 50 ms on the line while datagrams keep coming; waiting
    // GOs collapse into the newest instead of each being sent in turn.
    QVERIFY2(azimuths.size() < 1000, qPrintable(QStringLiteral("%1 commands sent").arg(azimuths.size())));
}

QTEST_GUILESS_MAIN(ProgramRotorRoadTest)
#include "tst_ProgramRotorRoad.moc"
