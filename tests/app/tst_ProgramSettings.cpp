// The built program started in a folder of its own and closed by a signal: what it
// leaves in Orvantis.ini.
#include "ProgramFolder.h"
#include "support/PseudoTerminal.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QUdpSocket>

#include <csignal>
#include <memory>
#include <vector>

namespace {

constexpr int StartTimeoutMs = 15000;
constexpr int ExitTimeoutMs = 15000;
// However it closes, the program is gone this soon after the signal.
constexpr int PromptExitMs = 5000;

QByteArray crlfLines(std::initializer_list<QByteArray> lines)
{
    QByteArray text;
    for (const QByteArray &line : lines)
        text += line + "\r\n";
    return text;
}

// The mode bits only: WriteUser would say whether we may write, and root always may.
bool hasWriteBits(const QString &path)
{
    return QFileInfo(path).permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

// Line by line, so a failure names the first line that differs.
void compareLines(const QByteArray &actual, const QByteArray &expected)
{
    const QList<QByteArray> got = actual.split('\n');
    const QList<QByteArray> want = expected.split('\n');
    for (qsizetype i = 0; i < qMin(got.size(), want.size()); ++i)
        QCOMPARE(got.at(i), want.at(i));
    QCOMPARE(got.size(), want.size());
    QCOMPARE(actual, expected);
}

// A file as the program itself writes it, with `settings` (KEY=VALUE) in place of
// the defaults. Lines marked '?' are written only when set, as the writer does.
QByteArray writerLayout(const QByteArrayList &settings)
{
    QByteArrayList lines = QByteArray(
        "[ORVANTIS]|LANGUAGE=ENGLISH|?AUTO=|?SERVER=|PORTKORU=12040|ANTKORU=16|ANT=|"
        "[POURSAT]|LPT_POURSAT=0|STOP_POURSAT=N|STEP_POURSAT=1|CALAZ_POURSAT=0.5138901|ZERO_POURSAT=0|"
        "[FODTRACK]|LPT_FODTRACK=0|STOP_FODTRACK=N|STEP_FODTRACK=1|CALAZ_FODTRACK=0.711|ZERO_FODTRACK=0|"
        "[ZENTA]|STOP_ZENTA=N|STEP_ZENTA=1|"
        "[GS-232]|?PORT_GS232=|BAUD_GS232=4800|STOP_GS232=N|STEP_GS232=1|AZOFFSET_GS=0|"
        "[EASYCOMM]|BAUD_EASYCOMM=4800|STOP_EASYCOMM=N|AZOFFSET_EASY=0|STEP_EASYCOMM=1|"
        "[DCU-1]|BAUD_DCU1=4800|STOP_DCU1=N|AZOFFSET_DCU1=0|STEP_DCU1=1|"
        "[PROSISTEL]|STOP_PROSISTEL=N|AZOFFSET_PROSISTEL=0|STEP_PROSISTEL=1|"
        "[TRAKBOX]|BAUD_TRAKBOX=4800|AZOFFSET_TKB=0|STEP_TRAKBOX=1|TKB_HOST=N|"
        "[M2ORION]|STOP_M2ORION=N|AZOFFSET_M2ORION=0|STEP_M2ORION=1|"
        "[EGIS]|STOP_EGIS=N|AZOFFSET_EGIS=0|STEP_EGIS=1|"
        "[KCT]|STOP_KCT=N|AZOFFSET_KCT=0|STEP_KCT=1|MOVENOW=c:\\radio\\kct\\|AZIMUT_PARKING=0|?PARKING=|"
        "WLEFT=40|WTOP=30|WWIDTH=520|WHEIGHT=160|WALEFT=600|WATOP=200|ANGLE=123|"
        "FAV1AZ=0|FAV1TXT=Fav.1|FAV2AZ=0|FAV2TXT=Fav.2|FAV3AZ=0|FAV3TXT=Fav.3|"
        "FAV4AZ=0|FAV4TXT=Fav.4|FAV5AZ=0|FAV5TXT=Fav.5|FAV6AZ=0|FAV6TXT=Fav.6").split('|');
    for (const QByteArray &setting : settings) {
        const QByteArray key = setting.left(setting.indexOf('=') + 1);
        for (QByteArray &line : lines) {
            if (line.startsWith(key) || line.startsWith(QByteArray('?' + key)))
                line = setting;
        }
    }
    QByteArray text;
    for (const QByteArray &line : lines) {
        if (!line.startsWith('?'))
            text += line + "\r\n";
    }
    return text;
}

// The reader skips it and the writer never writes it: still there afterwards,
// it shows the file was left as it was.
const QByteArray KeptOnlyIfUntouched = "; left by hand\r\n";

// The faults a close may meet, besides the boxes the settings themselves cause.
enum class Fault {
    None,
    AdapterPulled,   // the GS-232 adapter goes away after a GO
    DiskFull,        // nothing more can be written
    UnreadableFile,  // Orvantis.ini exists but its owner may not read it
    LinkedFile,      // Orvantis.ini is a symbolic link to a file elsewhere
};

} // namespace

class ProgramSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyKeyKeptInTheWriterLayout();
    void missingFileIsCreatedWithDefaults_data();
    void missingFileIsCreatedWithDefaults();
    void badStrictValueKeepsTheLaterLines();
    void unpluggedAdapterKeepsItsPort_data();
    void unpluggedAdapterKeepsItsPort();
    void closingNeverWaitsAndKeepsTheFile_data();
    void closingNeverWaitsAndKeepsTheFile();
    void twoCopiesClosingTogether();
    void windowPlacementWithinReason_data();
    void windowPlacementWithinReason();

private:
    // The main window's placement lines (WLEFT, WTOP, WWIDTH, WHEIGHT) that a run
    // leaves after starting with `placement`; empty if the run went wrong.
    QByteArrayList placementAfterRun(const QByteArrayList &placement);
};

void ProgramSettingsTest::everyKeyKeptInTheWriterLayout()
{
    ProgramFolder folder;
    QVERIFY(folder.isValid());
    // Every serial interface's port is present, so every PORT_ line comes from a
    // real selection in the port lists, not from the absent-port rule.
    std::vector<std::unique_ptr<PseudoTerminal>> ports;
    for (int com = 5; com <= 11; ++com) {
        ports.push_back(std::make_unique<PseudoTerminal>());
        QVERIFY(ports.back()->isValid());
        QVERIFY(folder.linkComPort(com, ports.back()->slavePath()));
    }
    const quint16 port = ProgramFolder::freeUdpPort();
    QVERIFY(port > 1);
    const QByteArray base = QByteArray::number(port - 1);

    // Hand-made: other key order than the writer's, lone LF line ends, junk lines,
    // lower-case and unknown values, a comma decimal, a 0xB0 degree sign.
    const QByteArray input = "; hand-edited\n"
                             "[GS-232]\n"
                             "PORT_GS232=5\nBAUD_GS232=9600\nSTOP_GS232=s\nSTEP_GS232=2\nAZOFFSET_GS=-7\nEL_GS232=Y\n"
                             "[ORVANTIS]\n"
                             "LANGUAGE=FRENCH\nAUTO=1\nSERVER=KORU\nPORTKORU=" + base + "\nANTKORU=1\nANT=GS232\n"
                             "=5\nno equals sign\nant=POURSAT\n"
                             "LPT_POURSAT=0\nSTOP_POURSAT=S\nSTEP_POURSAT=3\nCALAZ_POURSAT=0.5\nZERO_POURSAT=12.25\n"
                             "LPT_FODTRACK=0\nSTOP_FODTRACK=x\nSTEP_FODTRACK=0\nCALAZ_FODTRACK=0,711\nZERO_FODTRACK=-3.5\n"
                             "STOP_ZENTA=S\nSTEP_ZENTA=5\n"
                             "PORT_EASYCOMM=6\nBAUD_EASYCOMM=1234\nSTOP_EASYCOMM=N\nAZOFFSET_EASY=30\nSTEP_EASYCOMM=4\n"
                             "PORT_DCU1=7\nBAUD_DCU1=115200\nSTOP_DCU1=S\nAZOFFSET_DCU1=-30\nSTEP_DCU1=0\n"
                             "PORT_PROSISTEL=8\nSTOP_PROSISTEL=S\nAZOFFSET_PROSISTEL=12\nSTEP_PROSISTEL=3\n"
                             "PORT_TRAKBOX=9\nBAUD_TRAKBOX=110\nAZOFFSET_TKB=-1\nSTEP_TRAKBOX=2\nTKB_HOST=Y\n"
                             "PORT_M2ORION=10\nSTOP_M2ORION=S\nAZOFFSET_M2ORION=5\nSTEP_M2ORION=1\n"
                             "PORT_EGIS=11\nSTOP_EGIS=N\nAZOFFSET_EGIS=x\nSTEP_EGIS=x\n"
                             "STOP_KCT=S\nAZOFFSET_KCT=-12\nSTEP_KCT=5\nMOVENOW=/opt/kct/\n"
                             "AZIMUT_PARKING=90\nPARKING=EASYCOMM\nJINGLE=1\n"
                             "WLEFT=40\nWTOP=30\nWWIDTH=520\nWHEIGHT=160\nWALEFT=600\nWATOP=200\nWANGLE=1\nANGLE=123\n"
                             "FAV1AZ=10\nFAV1TXT=a=b\nFAV2AZ=-20\nFAV2TXT=\nFAV3AZ=400\nFAV3TXT=N\xb0 3\n"
                             "FAV4AZ=90\nFAV4TXT=Est\nFAV5AZ=180\nFAV5TXT=Sud\nFAV6AZ=359\nFAV6TXT=Fav.6\n";
    QVERIFY(folder.writeIni(input));

    QVERIFY(folder.start());
    QVERIFY2(folder.waitUntilListening(port, StartTimeoutMs), "the program never listened on its KORU port");
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(folder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(folder.exitCode(), 0);

    // ANGLE=90: the parking GO at closing moved the azimuth box, whose echo the
    // angle field shows when the settings are written.
    const QByteArray expected = crlfLines({
        "[ORVANTIS]", "LANGUAGE=FRENCH", "AUTO=1", "SERVER=KORU", "PORTKORU=" + base, "ANTKORU=1", "ANT=GS232",
        "[POURSAT]", "LPT_POURSAT=0", "STOP_POURSAT=S", "STEP_POURSAT=3", "CALAZ_POURSAT=0.5", "ZERO_POURSAT=12.25",
        "[FODTRACK]", "LPT_FODTRACK=0", "STOP_FODTRACK=S", "STEP_FODTRACK=0", "CALAZ_FODTRACK=0.711",
        "ZERO_FODTRACK=-3.5",
        "[ZENTA]", "STOP_ZENTA=S", "STEP_ZENTA=5",
        "[GS-232]", "PORT_GS232=5", "BAUD_GS232=9600", "STOP_GS232=S", "STEP_GS232=2", "AZOFFSET_GS=-7", "EL_GS232=Y",
        "[EASYCOMM]", "PORT_EASYCOMM=6", "BAUD_EASYCOMM=1234", "STOP_EASYCOMM=N", "AZOFFSET_EASY=30",
        "STEP_EASYCOMM=4",
        "[DCU-1]", "PORT_DCU1=7", "BAUD_DCU1=115200", "STOP_DCU1=S", "AZOFFSET_DCU1=-30", "STEP_DCU1=0",
        "[PROSISTEL]", "PORT_PROSISTEL=8", "STOP_PROSISTEL=S", "AZOFFSET_PROSISTEL=12", "STEP_PROSISTEL=3",
        "[TRAKBOX]", "PORT_TRAKBOX=9", "BAUD_TRAKBOX=110", "AZOFFSET_TKB=-1", "STEP_TRAKBOX=2", "TKB_HOST=Y",
        "[M2ORION]", "PORT_M2ORION=10", "STOP_M2ORION=S", "AZOFFSET_M2ORION=5", "STEP_M2ORION=1",
        "[EGIS]", "PORT_EGIS=11", "STOP_EGIS=N", "AZOFFSET_EGIS=0", "STEP_EGIS=1",
        "[KCT]", "STOP_KCT=S", "AZOFFSET_KCT=-12", "STEP_KCT=5", "MOVENOW=/opt/kct/",
        "AZIMUT_PARKING=90", "PARKING=EASYCOMM", "JINGLE=1",
        "WLEFT=40", "WTOP=30", "WWIDTH=520", "WHEIGHT=160", "WALEFT=600", "WATOP=200", "WANGLE=1", "ANGLE=90",
        "FAV1AZ=10", "FAV1TXT=a=b", "FAV2AZ=-20", "FAV2TXT=", "FAV3AZ=400", "FAV3TXT=N\xb0 3",
        "FAV4AZ=90", "FAV4TXT=Est", "FAV5AZ=180", "FAV5TXT=Sud", "FAV6AZ=359", "FAV6TXT=Fav.6",
    });
    compareLines(folder.readIni(), expected);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(!hasWriteBits(folder.iniPath()), "Orvantis.ini is left writable");
    QVERIFY(!QFileInfo::exists(folder.temporaryIniPath()));
}

void ProgramSettingsTest::missingFileIsCreatedWithDefaults_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    // The terminal that started the program was closed.
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void ProgramSettingsTest::missingFileIsCreatedWithDefaults()
{
    QFETCH(int, signal);
    ProgramFolder folder;
    QVERIFY(folder.isValid());
    QVERIFY(folder.start());
    QVERIFY2(folder.waitUntilSignalsHandled(StartTimeoutMs), "the program never installed its signal handlers");
    // Nothing outside tells when the first activation has run; it follows the
    // handlers within a few event-loop turns.
    QTest::qWait(1500);
    QVERIFY(folder.stop(signal, ExitTimeoutMs));
    QCOMPARE(folder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(folder.exitCode(), 0);

    // The window geometry and the angle field are the program's designed ones,
    // so only their form is checked.
    const QByteArray expected = crlfLines({
        "[ORVANTIS]", "LANGUAGE=ENGLISH", "PORTKORU=12040", "ANTKORU=16", "ANT=",
        "[POURSAT]", "LPT_POURSAT=0", "STOP_POURSAT=N", "STEP_POURSAT=1", "CALAZ_POURSAT=0.5138901", "ZERO_POURSAT=0",
        "[FODTRACK]", "LPT_FODTRACK=0", "STOP_FODTRACK=N", "STEP_FODTRACK=1", "CALAZ_FODTRACK=0.711",
        "ZERO_FODTRACK=0",
        "[ZENTA]", "STOP_ZENTA=N", "STEP_ZENTA=1",
        "[GS-232]", "BAUD_GS232=4800", "STOP_GS232=N", "STEP_GS232=1", "AZOFFSET_GS=0",
        "[EASYCOMM]", "BAUD_EASYCOMM=4800", "STOP_EASYCOMM=N", "AZOFFSET_EASY=0", "STEP_EASYCOMM=1",
        "[DCU-1]", "BAUD_DCU1=4800", "STOP_DCU1=N", "AZOFFSET_DCU1=0", "STEP_DCU1=1",
        "[PROSISTEL]", "STOP_PROSISTEL=N", "AZOFFSET_PROSISTEL=0", "STEP_PROSISTEL=1",
        "[TRAKBOX]", "BAUD_TRAKBOX=4800", "AZOFFSET_TKB=0", "STEP_TRAKBOX=1", "TKB_HOST=N",
        "[M2ORION]", "STOP_M2ORION=N", "AZOFFSET_M2ORION=0", "STEP_M2ORION=1",
        "[EGIS]", "STOP_EGIS=N", "AZOFFSET_EGIS=0", "STEP_EGIS=1",
        "[KCT]", "STOP_KCT=N", "AZOFFSET_KCT=0", "STEP_KCT=1", "MOVENOW=c:\\radio\\kct\\",
        "AZIMUT_PARKING=0",
        "WLEFT=#", "WTOP=#", "WWIDTH=#", "WHEIGHT=#", "WALEFT=#", "WATOP=#", "ANGLE=#",
        "FAV1AZ=0", "FAV1TXT=Fav.1", "FAV2AZ=0", "FAV2TXT=Fav.2", "FAV3AZ=0", "FAV3TXT=Fav.3",
        "FAV4AZ=0", "FAV4TXT=Fav.4", "FAV5AZ=0", "FAV5TXT=Fav.5", "FAV6AZ=0", "FAV6TXT=Fav.6",
    });
    QByteArray actual = folder.readIni();
    // '#' stands for any integer in the placement lines.
    static const QRegularExpression placement(QStringLiteral("^(W[A-Z]+|ANGLE)=-?\\d+\\r$"),
                                              QRegularExpression::MultilineOption);
    actual = QString::fromLatin1(actual).replace(placement, QStringLiteral("\\1=#\r")).toLatin1();
    compareLines(actual, expected);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(!hasWriteBits(folder.iniPath()), "Orvantis.ini is left writable");
    QVERIFY(!QFileInfo::exists(folder.temporaryIniPath()));
}

void ProgramSettingsTest::badStrictValueKeepsTheLaterLines()
{
    ProgramFolder folder;
    QVERIFY(folder.isValid());
    const quint16 port = ProgramFolder::freeUdpPort();
    QVERIFY(port > 1);
    const QByteArray base = QByteArray::number(port - 1);
    // The KORU lines come last, so the listener doubles as proof that they were read.
    QVERIFY(folder.writeIni(crlfLines({"LANGUAGE=FRENCH", "WTOP=abc", "FAV2TXT=after the bad line",
                                       "PORTKORU=" + base, "ANTKORU=1", "SERVER=KORU"})));
    QVERIFY(folder.start());
    // The error box waits for the event loop, so start-up goes on behind it.
    if (!folder.waitUntilListening(port, 4000)) {
        const bool blocked = folder.isRunning();
        folder.kill();
        QFAIL(blocked ? "start-up is held up by the conversion error box" : "the program ended during start-up");
    }
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(folder.exitCode(), 0);
    const QByteArray written = folder.readIni();
    QVERIFY(written.contains("\r\nLANGUAGE=FRENCH\r\n"));
    QVERIFY(written.contains("\r\nFAV2TXT=after the bad line\r\n"));
    QVERIFY(written.contains(QByteArray("\r\nPORTKORU=" + base + "\r\nANTKORU=1\r\n")));
    QVERIFY(written.contains("\r\nSERVER=KORU\r\n"));
}

void ProgramSettingsTest::unpluggedAdapterKeepsItsPort_data()
{
    QTest::addColumn<bool>("danglingLink");
    // A by-id link whose device went away with the adapter, and no link at all.
    QTest::newRow("link to a vanished device") << true;
    QTest::newRow("no link, no device") << false;
}

void ProgramSettingsTest::unpluggedAdapterKeepsItsPort()
{
    QFETCH(bool, danglingLink);
    // COM7 is the kernel's ttyS6 unless a link says otherwise.
    if (!danglingLink && QFileInfo::exists(QStringLiteral("/sys/class/tty/ttyS6/device")))
        QSKIP("this machine has a ttyS6, so COM7 cannot be absent without a link");
    ProgramFolder folder;
    QVERIFY(folder.isValid());
    if (danglingLink)
        QVERIFY(folder.linkComPort(7, QStringLiteral("/dev/serial/by-id/usb-Orvantis_test_adapter-if00-port0")));
    const quint16 port = ProgramFolder::freeUdpPort();
    QVERIFY(port > 1);
    QVERIFY(folder.writeIni(crlfLines({"PORTKORU=" + QByteArray::number(port - 1), "ANTKORU=1", "SERVER=KORU",
                                       "ANT=GS232", "PORT_GS232=7", "PORT_EGIS=7"})));
    QVERIFY(folder.start());
    QVERIFY(folder.waitUntilListening(port, StartTimeoutMs));
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(folder.exitCode(), 0);
    const QByteArray written = folder.readIni();
    QVERIFY(written.contains("\r\nANT=GS232\r\n"));
    QVERIFY(written.contains("\r\n[GS-232]\r\nPORT_GS232=7\r\n"));
    // Not the selected interface, absent all the same: kept too.
    QVERIFY(written.contains("\r\n[EGIS]\r\nPORT_EGIS=7\r\n"));
}

void ProgramSettingsTest::closingNeverWaitsAndKeepsTheFile_data()
{
    QTest::addColumn<QByteArrayList>("settings");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("signal");
    QTest::addColumn<QByteArray>("told");       // what would have been a box, on standard error
    QTest::addColumn<QByteArrayList>("changed"); // what the run itself changes
    QTest::addColumn<bool>("untouched");

    // "%KCT%" is a folder holding a Movenow.com that cannot be run; "%BASE%" the
    // KORU base port that makes the listener take a free port.
    QTest::newRow("ZENTA parking without ARSWIN")
        << QByteArrayList {"ANT=ZENTA", "PARKING=ZENTA", "AZIMUT_PARKING=90", "ANGLE=90"} << Fault::None
        << int(SIGTERM) << QByteArray("ARSWIN must be running !") << QByteArrayList {} << false;
    QTest::newRow("KCT parking, Movenow cannot start")
        << QByteArrayList {"LANGUAGE=FRENCH", "ANT=KCT", "PARKING=KCT", "AZIMUT_PARKING=45", "ANGLE=45", "MOVENOW=%KCT%"}
        << Fault::None << int(SIGINT) << QByteArray("movenow.com error #5") << QByteArrayList {} << false;
    QTest::newRow("closing STOP on a pulled adapter")
        << QByteArrayList {"AUTO=1", "SERVER=KORU", "PORTKORU=%BASE%", "ANTKORU=1", "ANT=GS232", "PORT_GS232=5"}
        << Fault::AdapterPulled << int(SIGTERM) << QByteArray("Input/output error") << QByteArrayList {"ANGLE=234"}
        << false;
    QTest::newRow("disk full") << QByteArrayList {} << Fault::DiskFull << int(SIGHUP)
                               << QByteArray("Can't create Orvantis.ini") << QByteArrayList {} << true;
    // The start-up box about the file is still open when the signal comes.
    QTest::newRow("unreadable file") << QByteArrayList {"LANGUAGE=FRENCH"} << Fault::UnreadableFile << int(SIGTERM)
                                     << QByteArray("could not be read at start") << QByteArrayList {} << true;
    QTest::newRow("KCT folder on an unmounted drive")
        << QByteArrayList {"ANT=KCT", "MOVENOW=/media/unmounted/kct/"} << Fault::None << int(SIGTERM)
        << QByteArray("Cannot find Movenow.com !") << QByteArrayList {} << false;
    // Without the ppdev driver, or without these ports, nothing may be chosen.
    QTest::newRow("LPT choices while unavailable")
        << QByteArrayList {"LPT_POURSAT=2", "LPT_FODTRACK=3"} << Fault::None << int(SIGINT) << QByteArray()
        << QByteArrayList {} << false;
    QTest::newRow("settings file linked elsewhere") << QByteArrayList {"STEP_EGIS=4"} << Fault::LinkedFile
                                                    << int(SIGHUP) << QByteArray() << QByteArrayList {} << false;
}

void ProgramSettingsTest::closingNeverWaitsAndKeepsTheFile()
{
    QFETCH(QByteArrayList, settings);
    QFETCH(Fault, fault);
    QFETCH(int, signal);
    QFETCH(QByteArray, told);
    QFETCH(QByteArrayList, changed);
    QFETCH(bool, untouched);

    ProgramFolder folder;
    QVERIFY(folder.isValid());
    if (fault == Fault::UnreadableFile && !folder.runUnprivileged())
        QSKIP("no unprivileged user to run the program as, so file permissions cannot apply");

    const QString kct = folder.path() + QStringLiteral("/kct/");
    QVERIFY(QDir().mkpath(kct));
    QFile movenow(kct + QStringLiteral("Movenow.com"));
    QVERIFY(movenow.open(QIODevice::WriteOnly)); // not executable, and no runner for .com
    movenow.close();
    const quint16 port = ProgramFolder::freeUdpPort();
    QVERIFY(port > 1);
    for (QByteArrayList *list : {&settings, &changed}) {
        for (QByteArray &setting : *list)
            setting.replace("%KCT%", QFile::encodeName(kct)).replace("%BASE%", QByteArray::number(port - 1));
    }
    const QByteArray input = KeptOnlyIfUntouched + writerLayout(settings);
    const QByteArray expected = untouched ? input : writerLayout(settings + changed);

    // The file the program reads and writes: Orvantis.ini, or what it links to.
    QTemporaryDir elsewhere;
    QString settingsFile = folder.iniPath();
    if (fault == Fault::LinkedFile) {
        settingsFile = elsewhere.filePath(QStringLiteral("shared.ini"));
        QVERIFY(QFile::link(settingsFile, folder.iniPath()));
    }
    {
        QFile file(settingsFile);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(input) == input.size());
    }
    if (fault == Fault::UnreadableFile)
        QVERIFY(QFile::setPermissions(settingsFile, {}));
    if (fault == Fault::DiskFull)
        folder.limitFileSize(16);
    PseudoTerminal adapter;
    QVERIFY(adapter.isValid());
    QVERIFY(folder.linkComPort(5, adapter.slavePath()));

    QVERIFY(folder.start());
    if (settings.contains("SERVER=KORU")) {
        QVERIFY(folder.waitUntilListening(port, StartTimeoutMs));
    } else {
        QVERIFY(folder.waitUntilSignalsHandled(StartTimeoutMs));
        QTest::qWait(1500); // the first activation follows within a few event-loop turns
    }
    if (fault == Fault::AdapterPulled) {
        QUdpSocket logger;
        QCOMPARE(logger.writeDatagram("<goazi>234</goazi>", QHostAddress::LocalHost, port), qint64(18));
        QCOMPARE(adapter.readAtLeast(5, 5000), QByteArray("W234\r"));
        adapter.hangUp();
    }

    const bool ended = folder.stop(signal, PromptExitMs);
    folder.kill();
    QVERIFY2(ended, "still running 5 s after the signal");
    QCOMPARE(folder.exitStatus(), QProcess::NormalExit);
    // A save that failed is a failed close, for whoever sent the signal (a service manager).
    QCOMPARE(folder.exitCode(), fault == Fault::DiskFull ? 1 : 0);
    const QByteArray standardError = folder.standardError();
    QVERIFY2(standardError.contains(told), standardError.constData());

    QVERIFY(QFile::setPermissions(settingsFile, QFileDevice::ReadOwner));
    QFile file(settingsFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    compareLines(file.readAll(), expected);
    if (fault == Fault::LinkedFile)
        QCOMPARE(QFileInfo(folder.iniPath()).symLinkTarget(), settingsFile);
    QVERIFY(!QFileInfo::exists(folder.temporaryIniPath()));
}

// Both copies save at the same moment; whichever is last, the file is one whole
// version and neither reports a failure.
void ProgramSettingsTest::twoCopiesClosingTogether()
{
    ProgramFolder folder;
    QVERIFY(folder.isValid());
    const QByteArray expected = writerLayout({});
    for (int round = 0; round < 6; ++round) {
        QVERIFY(folder.writeIni(KeptOnlyIfUntouched + expected));
        QVERIFY(folder.start());
        QVERIFY(folder.startAnotherCopy());
        QVERIFY(folder.waitUntilSignalsHandled(StartTimeoutMs));
        QTest::qWait(1500);
        const bool clean = folder.stopAll(SIGTERM, PromptExitMs);
        folder.kill();
        const QByteArray standardError = folder.standardError();
        QVERIFY2(clean, qPrintable(QStringLiteral("round %1: a copy did not end well").arg(round)));
        QVERIFY2(!standardError.contains("Can't create"), standardError.constData());
        compareLines(folder.readIni(), expected);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!QFileInfo::exists(folder.temporaryIniPath()));
    }
}

QByteArrayList ProgramSettingsTest::placementAfterRun(const QByteArrayList &placement)
{
    ProgramFolder folder;
    QByteArray input;
    for (const QByteArray &line : writerLayout({}).split('\n')) {
        if (!QRegularExpression(QStringLiteral("^W(LEFT|TOP|WIDTH|HEIGHT)=")).match(QString::fromLatin1(line)).hasMatch())
            input += line + '\n';
    }
    input.chop(1);
    for (const QByteArray &line : placement)
        input += line + "\r\n";
    if (!folder.isValid() || !folder.writeIni(input) || !folder.start()
        || !folder.waitUntilSignalsHandled(StartTimeoutMs))
        return {};
    QTest::qWait(1500);
    if (!folder.stop(SIGTERM, PromptExitMs))
        return {};
    QByteArrayList written;
    for (const QByteArray &line : folder.readIni().split('\n')) {
        if (QRegularExpression(QStringLiteral("^W(LEFT|TOP|WIDTH|HEIGHT)=")).match(QString::fromLatin1(line)).hasMatch())
            written << line.trimmed();
    }
    return written;
}

void ProgramSettingsTest::windowPlacementWithinReason_data()
{
    QTest::addColumn<QByteArrayList>("placement");
    // Index into the written WLEFT, WTOP, WWIDTH, WHEIGHT, and the line expected
    // there; the others stay the designed ones.
    QTest::addColumn<int>("kept");
    QTest::newRow("height alone") << QByteArrayList {"WHEIGHT=200"} << 3;
    QTest::newRow("width alone") << QByteArrayList {"WWIDTH=520"} << 2;
    QTest::newRow("height no screen shows") << QByteArrayList {"WHEIGHT=16777215"} << -1;
    QTest::newRow("width no screen shows") << QByteArrayList {"WWIDTH=-30"} << -1;
    QTest::newRow("beyond every screen") << QByteArrayList {"WLEFT=100000", "WTOP=-5000"} << -1;
    QTest::newRow("partly off the screen") << QByteArrayList {"WLEFT=600"} << 0;
}

void ProgramSettingsTest::windowPlacementWithinReason()
{
    QFETCH(QByteArrayList, placement);
    QFETCH(int, kept);
    static const QByteArrayList designed = placementAfterRun({});
    QCOMPARE(designed.size(), 4);
    QByteArrayList expected = designed;
    if (kept >= 0)
        expected[kept] = placement.first();
    // The program must not have died on the way either.
    QCOMPARE(placementAfterRun(placement), expected);
}

QTEST_GUILESS_MAIN(ProgramSettingsTest)
#include "tst_ProgramSettings.moc"
