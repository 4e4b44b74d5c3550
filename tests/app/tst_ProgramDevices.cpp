// The built program with devices that answer, refuse or are taken: what reaches
// the controllers at start, what the user is told, and what the settings keep.
#include "ProgramFolder.h"
#include "support/PseudoTerminal.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QUdpSocket>

#include <csignal>

namespace {

constexpr int StartTimeoutMs = 15000;
constexpr int ExitTimeoutMs = 15000;

QByteArray crlfLines(const QList<QByteArray> &lines)
{
    QByteArray text;
    for (const QByteArray &line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

class ProgramDevicesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savedPortsAreProbedAtStart();
    void takenKoruPortIsTold();
};

// Each saved port is selected at start as a click would select it, so it is
// probed: a TrakBox wakes up with "Q" CR and, 300 ms later, "7" CR. A port that
// will not open is told about, and kept in the settings with its interface.
void ProgramDevicesTest::savedPortsAreProbedAtStart()
{
    ProgramFolder folder;
    PseudoTerminal trakBox;
    QVERIFY(folder.isValid() && trakBox.isValid());
    const QString notADevice = QDir(folder.path()).filePath(QStringLiteral("not-a-device"));
    QVERIFY(QDir().mkpath(notADevice));
    QVERIFY(folder.linkComPort(3, trakBox.slavePath()));
    QVERIFY(folder.linkComPort(4, notADevice));
    const quint16 port = ProgramFolder::freeUdpPort();
    QVERIFY(port > 1);
    QVERIFY(folder.writeIni(crlfLines({"SERVER=KORU", "PORTKORU=" + QByteArray::number(port - 1), "ANTKORU=1",
                                       "ANT=GS232", "PORT_GS232=4", "PORT_TRAKBOX=3"})));
    QVERIFY(folder.start());

    // Read in short slices, each chunk stamped on one clock.
    QByteArray bytes;
    QList<qint64> arrivals;
    QElapsedTimer clock;
    clock.start();
    while (bytes.size() < 4 && clock.elapsed() < StartTimeoutMs) {
        for (const PseudoTerminal::Chunk &chunk : trakBox.readChunks(5)) {
            arrivals << clock.elapsed();
            bytes += chunk.bytes;
        }
    }
    QCOMPARE(bytes, QByteArray("Q\r7\r"));
    // The controller needs its time between the two texts.
    QVERIFY(arrivals.size() >= 2);
    QVERIFY2(arrivals.last() - arrivals.first() >= 250, qPrintable(QString::number(arrivals.last() - arrivals.first())));

    const QByteArray told = "COM4 (" + notADevice.toUtf8() + ") cannot be opened: ";
    QVERIFY2(folder.waitForStandardError(told, StartTimeoutMs), folder.standardError().constData());
    QVERIFY(folder.standardError().contains("This is not a serial port: correct the link com4 in the dosdevices "
                                            "folder beside Orvantis.ini, or pick another port under Init (Ctrl+I)."));
    QVERIFY(folder.waitUntilListening(port, StartTimeoutMs));
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(folder.exitCode(), 0);

    const QByteArray written = folder.readIni();
    QVERIFY(written.contains("\r\nANT=GS232\r\n"));
    QVERIFY(written.contains("\r\n[GS-232]\r\nPORT_GS232=4\r\n"));
    QVERIFY(written.contains("PORT_TRAKBOX=3\r\n"));
    // Told once, though the port was refused at every turn.
    QCOMPARE(folder.standardError().count(told), 1);
}

// Another program holds the KORU port: the program runs on and says which port,
// why, and what to do, once.
void ProgramDevicesTest::takenKoruPortIsTold()
{
    ProgramFolder folder;
    QVERIFY(folder.isValid());
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress));
    const quint16 port = holder.localPort();
    QVERIFY(folder.writeIni(crlfLines({"SERVER=KORU", "PORTKORU=" + QByteArray::number(port - 1), "ANTKORU=1"})));
    QVERIFY(folder.start());

    const QByteArray told = "KORU Logger: UDP port " + QByteArray::number(port) + " cannot be listened on: ";
    QVERIFY2(folder.waitForStandardError(told, StartTimeoutMs), folder.standardError().constData());
    const QByteArray remedy = "Another program holds the port (ss -ulpn 'sport = :" + QByteArray::number(port)
        + "' names it)";
    QVERIFY(folder.standardError().contains(remedy));
    QVERIFY(folder.isRunning());
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(folder.exitCode(), 0);
    QCOMPARE(folder.standardError().count(told), 1);
}

QTEST_GUILESS_MAIN(ProgramDevicesTest)
#include "tst_ProgramDevices.moc"
