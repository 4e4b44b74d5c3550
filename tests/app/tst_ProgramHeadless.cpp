// The service program, started as `orvantis-service` or as `orvantis --headless`,
// with no display at all: steered by a Hamlib client and a KORU datagram, GS-232
// bytes checked on a pseudo-terminal standing in for COM5, and a SIGTERM that
// stops, parks and saves. Neither program takes code from the current directory,
// PATH or a folder beside a portable copy.
#include "ProgramFolder.h"
#include "support/FreePorts.h"
#include "support/PseudoTerminal.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTcpSocket>
#include <QTest>
#include <QProcess>
#include <QScopeGuard>
#include <QUdpSocket>

#include <csignal>

namespace {
constexpr int StartTimeoutMs = 15000;
constexpr int ReplyTimeoutMs = 5000;

const QString WindowProgram = QFileInfo(QStringLiteral(ORVANTIS_EXECUTABLE)).fileName();
const QString ServiceProgram = QFileInfo(QStringLiteral(ORVANTIS_SERVICE_EXECUTABLE)).fileName();

// How the station without a window is started: the service itself, or the window
// program handing over to it.
struct Headless {
    QString program;
    QStringList arguments;
};
const Headless AsService {ServiceProgram, {}};
const Headless AsWindowOption {WindowProgram, {QStringLiteral("--headless")}};

// Every file the process has mapped: its program, the libraries, the fonts.
QStringList mappedFiles(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    QStringList files;
    if (!maps.open(QIODevice::ReadOnly))
        return files;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const int slash = line.indexOf(" /");
        if (slash > 0 && !files.contains(QString::fromLocal8Bit(line.mid(slash + 1))))
            files << QString::fromLocal8Bit(line.mid(slash + 1));
    }
    return files;
}

// A copy of a real library under `name`: were it searched for, it would load.
bool plantLibrary(const QString &folder, const QString &name)
{
    const QString real = QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Core.so.6");
    return QDir().mkpath(folder) && QFile::copy(real, folder + QLatin1Char('/') + name);
}

// An executable that leaves `marker` behind if it is ever run.
bool plantProgram(const QString &path, const QString &marker)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.write("#!/bin/sh\ntouch '" + QFile::encodeName(marker) + "'\n") > 0
        && file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther);
}

QByteArray ask(QTcpSocket &client, const QByteArray &line)
{
    client.write(line);
    QByteArray reply;
    const QDeadlineTimer deadline(ReplyTimeoutMs);
    while (!reply.contains("RPRT") && !deadline.hasExpired() && client.waitForReadyRead(100))
        reply += client.readAll();
    return reply + client.readAll();
}

// A station without a display in a program folder: a GS-232 on COM5 (a pseudo-
// terminal), AUTO on, KORU and rotctld listeners, parking at 90, and a comment in
// its settings that only a save drops.
struct SteeredStation {
    ProgramFolder folder {ProgramFolder::Display::None};
    PseudoTerminal com5;
    const quint16 rotctldPort = freeTcpPort();
    const quint16 koruPort = ProgramFolder::freeUdpPort();
    QTcpSocket client;

    // Started (through launcher, a command line that runs it, when given), and
    // steered once by a Hamlib client.
    void start(const Headless &headless, QStringList launcher = {})
    {
        QVERIFY(folder.isValid() && com5.isValid() && rotctldPort != 0 && koruPort != 0);
        QVERIFY(folder.linkComPort(5, com5.slavePath()));
        QVERIFY(folder.writeIni("; by hand\r\n[ORVANTIS]\r\nAUTO=1\r\nSERVER=KORU\r\nPORTKORU="
                                + QByteArray::number(koruPort - 1)
                                + "\r\nANTKORU=1\r\nANT=GS232\r\nPARKING=GS232\r\nAZIMUT_PARKING=90\r\n"
                                  "[GS-232]\r\nPORT_GS232=5\r\n[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_PORT="
                                + QByteArray::number(rotctldPort) + "\r\n"));
        const QString program = folder.path() + QLatin1Char('/') + headless.program;
        if (launcher.isEmpty()) {
            folder.setProgram(program);
            folder.setArguments(headless.arguments);
        } else {
            folder.setProgram(launcher.takeFirst());
            folder.setArguments(launcher << program << headless.arguments);
        }
        QVERIFY(folder.start());
        QVERIFY2(folder.waitUntilListening(koruPort, StartTimeoutMs), folder.standardError().constData());
        // What a window would show in its caption is a line on standard error; it
        // comes with the first activation, which starts the rotctld server.
        QVERIFY(folder.waitForStandardError("GS232", StartTimeoutMs));
        client.connectToHost(QHostAddress::LocalHost, rotctldPort);
        QVERIFY(client.waitForConnected(ReplyTimeoutMs));
        QCOMPARE(ask(client, "P 150 0\n"), QByteArray("RPRT 0\n"));
        QCOMPARE(com5.readAtLeast(5, ReplyTimeoutMs), QByteArray("W150\r"));
    }
};
} // namespace

class TestProgramHeadless : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runsTheStationWithoutADisplay_data();
    void runsTheStationWithoutADisplay();
    void displayChoicesAtStart();
    void serviceFoundOnlyBesideTheWindowProgram_data();
    void serviceFoundOnlyBesideTheWindowProgram();
    void plantedLibrariesAreNeverLoaded_data();
    void plantedLibrariesAreNeverLoaded();
    void signalsIgnoredAtStartStayIgnored_data();
    void signalsIgnoredAtStartStayIgnored();
    void listenerAddressThatAppearsLater();
};

Q_DECLARE_METATYPE(Headless)

void TestProgramHeadless::runsTheStationWithoutADisplay_data()
{
    QTest::addColumn<Headless>("headless");
    QTest::newRow("orvantis-service") << AsService;
    QTest::newRow("orvantis --headless") << AsWindowOption;
}

void TestProgramHeadless::runsTheStationWithoutADisplay()
{
    QFETCH(Headless, headless);
    SteeredStation station;
    station.start(headless);
    if (QTest::currentTestFailed())
        return;
    auto &[folder, com5, rotctldPort, koruPort, client] = station;

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
    // The journal's account: what served, and how it closed.
    const QByteArray journal = folder.standardError();
    const QByteArray running = "Running. Hamlib clients: 127.0.0.1 TCP " + QByteArray::number(rotctldPort)
        + "; KORU datagrams: UDP " + QByteArray::number(koruPort) + ".\n";
    const QByteArray closed = "Closed; settings saved in " + QFile::encodeName(folder.iniPath()) + ".\n";
    QVERIFY2(journal.contains(running) && journal.contains(closed), journal.constData());
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
    QTest::addColumn<Headless>("headless");
    QTest::addColumn<QStringList>("launcher"); // runs the program's command line with a signal ignored
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("survives");
    // Logging out of the SSH session that started it must not park the antenna.
    QTest::newRow("nohup, then SIGHUP") << AsWindowOption << QStringList {"nohup"} << int(SIGHUP) << true;
    // The window program hands its ignored signals over to the service it runs.
    QTest::newRow("service under nohup, then SIGHUP") << AsService << QStringList {"nohup"} << int(SIGHUP) << true;
    // What a non-interactive shell does for a job started with `&`.
    QTest::newRow("background job, then SIGINT")
        << AsWindowOption << QStringList {"sh", "-c", "trap '' INT; exec \"$0\" \"$@\""} << int(SIGINT) << true;
    QTest::newRow("started plainly, then SIGHUP") << AsWindowOption << QStringList {} << int(SIGHUP) << false;
    QTest::newRow("service started plainly, then SIGHUP") << AsService << QStringList {} << int(SIGHUP) << false;
}

void TestProgramHeadless::signalsIgnoredAtStartStayIgnored()
{
    QFETCH(Headless, headless);
    QFETCH(QStringList, launcher);
    QFETCH(int, signal);
    QFETCH(bool, survives);
    SteeredStation station;
    station.start(headless, launcher);
    if (QTest::currentTestFailed())
        return;
    auto &[folder, com5, rotctldPort, koruPort, client] = station;

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

void TestProgramHeadless::serviceFoundOnlyBesideTheWindowProgram_data()
{
    QTest::addColumn<QString>("besideProgram"); // what lies beside orvantis under the service's name
    QTest::addColumn<QByteArray>("said");
    QTest::newRow("missing") << "" << QByteArray("which is missing");
    QTest::newRow("not a program") << "garbage" << QByteArray("cannot be started: Exec format error");
    QTest::newRow("not executable") << "unexecutable" << QByteArray("cannot be started: Permission denied");
}

// Whatever lies in the current directory or on PATH under the service's name is
// never run in its place; what cannot be run is one line and status 1.
void TestProgramHeadless::serviceFoundOnlyBesideTheWindowProgram()
{
    QFETCH(QString, besideProgram);
    QFETCH(QByteArray, said);
    ProgramFolder folder(ProgramFolder::Display::None);
    QVERIFY(folder.isValid());
    const QString beside = folder.path() + QLatin1Char('/') + ServiceProgram;
    QVERIFY(QFile::remove(beside));
    if (!besideProgram.isEmpty()) {
        QFile file(beside);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\x7f" "ELF\x02\x01 truncated") > 0);
        QVERIFY(file.setPermissions(besideProgram == QLatin1String("garbage")
                                        ? file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeOther
                                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
    const QString cwd = folder.path() + QStringLiteral("/cwd");
    const QString onPath = folder.path() + QStringLiteral("/path");
    const QString marker = folder.path() + QStringLiteral("/planted-ran");
    QVERIFY(QDir().mkpath(cwd) && QDir().mkpath(onPath));
    QVERIFY(plantProgram(cwd + QLatin1Char('/') + ServiceProgram, marker));
    QVERIFY(plantProgram(onPath + QLatin1Char('/') + ServiceProgram, marker));
    folder.setWorkingDirectory(cwd);
    folder.setEnvironment(QStringLiteral("PATH"), onPath + QStringLiteral(":/usr/bin:/bin"));
    folder.setArguments({QStringLiteral("--headless")});

    QVERIFY(folder.start());
    QTRY_VERIFY_WITH_TIMEOUT(!folder.isRunning(), StartTimeoutMs);
    QCOMPARE(folder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(folder.exitCode(), 1);
    const QByteArray error = folder.standardError();
    QVERIFY2(error.contains(QFile::encodeName(beside)) && error.contains(said), error.constData());
    QCOMPARE(error.count('\n'), 1);
    QVERIFY(!QFileInfo::exists(marker));
}

void TestProgramHeadless::plantedLibrariesAreNeverLoaded_data()
{
    QTest::addColumn<Headless>("headless");
    QTest::addColumn<int>("display");
    QTest::newRow("orvantis-service") << AsService << int(ProgramFolder::Display::None);
    QTest::newRow("orvantis --headless") << AsWindowOption << int(ProgramFolder::Display::None);
    QTest::newRow("orvantis, window") << Headless {WindowProgram, {}} << int(ProgramFolder::Display::Offscreen);
}

// Copies of a real library planted where a loader that searched the current
// directory, or a folder relative to a portable copy, would take them. The program
// steers a Hamlib rotator first, so whatever it loads at the first use is loaded.
void TestProgramHeadless::plantedLibrariesAreNeverLoaded()
{
    QFETCH(Headless, headless);
    QFETCH(int, display);
    ProgramFolder folder(static_cast<ProgramFolder::Display>(display));
    const quint16 rotctldPort = freeTcpPort();
    QVERIFY(folder.isValid() && rotctldPort != 0);
    const QString cwd = folder.path() + QStringLiteral("/cwd");
    for (const QString &name : {QStringLiteral("libQt6Core.so.6"), QStringLiteral("libQt6Gui.so.6"),
                                QStringLiteral("libQt6Widgets.so.6"), QStringLiteral("libhamlib.so.4"),
                                QStringLiteral("liborvantis-window.so"), QStringLiteral("liborvantis-hamlib.so")})
        QVERIFY(plantLibrary(cwd, name));
    // The portable copy lies one level down, so ../lib/orvantis is inside the test's folder.
    const QString bin = folder.path() + QStringLiteral("/bin");
    QVERIFY(QDir().mkpath(bin));
    for (const QString &program : {WindowProgram, ServiceProgram})
        QVERIFY(QFile::copy(folder.path() + QLatin1Char('/') + program, bin + QLatin1Char('/') + program));
    for (const QString &beside : {bin, QString(folder.path() + QStringLiteral("/lib/orvantis"))}) {
        for (const QString &name : {QStringLiteral("liborvantis-window.so"), QStringLiteral("liborvantis-hamlib.so")})
            QVERIFY(plantLibrary(beside, name));
    }
    QVERIFY(folder.writeIni("[ORVANTIS]\r\nAUTO=1\r\nANT=HAMLIB\r\n[HAMLIB]\r\nHAMLIB_MODEL=1\r\nSTEP_HAMLIB=0\r\n"
                            "[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_PORT="
                            + QByteArray::number(rotctldPort) + "\r\n"));
    folder.setWorkingDirectory(cwd);
    folder.setProgram(bin + QLatin1Char('/') + headless.program);
    folder.setArguments(QStringList {QStringLiteral("--settings-folder"), folder.path()} + headless.arguments);
    QVERIFY(folder.start());
    QVERIFY2(folder.waitUntilSignalsHandled(StartTimeoutMs), folder.standardError().constData());

    QTcpSocket client;
    QTRY_VERIFY_WITH_TIMEOUT((client.abort(), client.connectToHost(QHostAddress::LocalHost, rotctldPort),
                              client.waitForConnected(100)),
                             StartTimeoutMs);
    QCOMPARE(ask(client, "P 150 0\n"), QByteArray("RPRT 0\n"));
    const QStringList mapped = mappedFiles(folder.pid());
    // `orvantis --headless` has become the service beside it.
    const QString running = headless.arguments.isEmpty() ? headless.program : ServiceProgram;
    QVERIFY2(mapped.contains(bin + QLatin1Char('/') + running), qPrintable(mapped.join(QLatin1Char('\n'))));
    // Hamlib's module comes from the build tree's absolute path, the one place a
    // built program takes it from.
    const QString builtModules = qEnvironmentVariable("ORVANTIS_BUILD_DIR") + QStringLiteral("/modules/");
    QVERIFY2(mapped.filter(builtModules + QStringLiteral("liborvantis-hamlib.so.")).size() == 1,
             qPrintable(mapped.join(QLatin1Char('\n'))));
    for (const QString &file : mapped) {
        QVERIFY2(!file.startsWith(folder.path() + QLatin1Char('/')) || file == bin + QLatin1Char('/') + running,
                 qPrintable(file));
        QVERIFY2(!file.contains(QLatin1String("liborvantis-")) || file.startsWith(builtModules), qPrintable(file));
    }
    QVERIFY(folder.stop(SIGTERM, 10000));
    QCOMPARE(folder.exitCode(), 0);
}

// The tower computer's LAN address comes up after the service (DHCP at boot): the
// service says why it cannot serve yet, and serves once the address is there.
void TestProgramHeadless::listenerAddressThatAppearsLater()
{
    const QString address = QStringLiteral("fd00:%1::1").arg(QCoreApplication::applicationPid() % 0xffff, 0, 16);
    const auto ip = [&address](const char *verb) {
        return QProcess::execute(QStringLiteral("ip"), {QStringLiteral("-6"), QStringLiteral("addr"),
                                                        QString::fromLatin1(verb), address + QStringLiteral("/128"),
                                                        QStringLiteral("dev"), QStringLiteral("lo"),
                                                        QStringLiteral("nodad")});
    };
    // Taken and let go again first: only a test that may change the addresses runs.
    if (ip("add") != 0 || ip("del") != 0)
        QSKIP("adding an address to lo needs root and the ip command (iproute2)");
    const auto removeAddress = qScopeGuard([&ip] { ip("del"); });

    ProgramFolder folder(ProgramFolder::Display::None);
    const quint16 port = freeTcpPort();
    QVERIFY(folder.isValid() && port != 0);
    QVERIFY(folder.writeIni("[ORVANTIS]\r\n[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_ADDRESS=" + address.toLatin1()
                            + "\r\nROTCTLD_PORT=" + QByteArray::number(port) + "\r\n"));
    folder.setProgram(folder.path() + QLatin1Char('/') + ServiceProgram);
    QVERIFY(folder.start());
    QVERIFY2(folder.waitForStandardError("does not have that address", StartTimeoutMs),
             folder.standardError().constData());

    QCOMPARE(ip("add"), 0);
    QTcpSocket client;
    QVERIFY(QTest::qWaitFor(
        [&] {
            client.abort();
            client.connectToHost(QHostAddress(address), port);
            return client.waitForConnected(200);
        },
        StartTimeoutMs));
    QCOMPARE(ask(client, "_\n").left(8), QByteArray("ORVANTIS"));
    QVERIFY2(folder.waitForStandardError("Orvantis now listens", ReplyTimeoutMs), folder.standardError().constData());
    QVERIFY(folder.stop(SIGTERM, StartTimeoutMs));
    QCOMPARE(folder.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestProgramHeadless)
#include "tst_ProgramHeadless.moc"
