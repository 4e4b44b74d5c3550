// The built program in a Wayland session, on a headless weston: Wayland does not
// tell a client where its windows stand, so the places read from Orvantis.ini go
// back unchanged. Without a compositor, the failure is one line and status 1.
#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {
constexpr int StartTimeoutMs = 15000;
constexpr int ExitTimeoutMs = 10000;

// A headless weston serving one socket in a runtime folder of its own.
class HeadlessWeston {
public:
    HeadlessWeston()
    {
        if (!m_runtime.isValid() || !QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner
                                                                                  | QFile::ExeOwner))
            return;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        m_weston.setProcessEnvironment(environment);
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        m_weston.start(QStringLiteral("weston"), {QStringLiteral("--backend=headless-backend.so"),
                                                  QStringLiteral("--socket=orvantis-test"),
                                                  QStringLiteral("--idle-time=0")});
        if (!m_weston.waitForStarted(StartTimeoutMs))
            return;
        // A compositor that cannot start exits, or never opens its socket.
        m_socketOpened = QTest::qWaitFor(
            [this] { return QFileInfo::exists(socketPath()) || m_weston.state() != QProcess::Running; }, StartTimeoutMs);
    }
    ~HeadlessWeston()
    {
        m_weston.terminate();
        if (!m_weston.waitForFinished(ExitTimeoutMs))
            m_weston.kill();
    }
    HeadlessWeston(const HeadlessWeston &) = delete;
    HeadlessWeston &operator=(const HeadlessWeston &) = delete;

    bool isRunning() const
    {
        return m_socketOpened && m_weston.state() == QProcess::Running && QFileInfo::exists(socketPath());
    }
    QString runtimePath() const { return m_runtime.path(); }
    QString socketPath() const { return m_runtime.filePath(QStringLiteral("orvantis-test")); }
    QByteArray output() { return m_weston.readAll(); }

private:
    QTemporaryDir m_runtime;
    QProcess m_weston;
    bool m_socketOpened = false;
};
} // namespace

class TestProgramWayland : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowPlacesReadAreWrittenBack();
    void noCompositorIsOneLine();
};

void TestProgramWayland::windowPlacesReadAreWrittenBack()
{
    HeadlessWeston weston;
    if (!weston.isRunning())
        QSKIP(qPrintable(QStringLiteral("weston cannot start a headless compositor here (scripts/setup --test "
                                        "installs it): ")
                         + QString::fromLocal8Bit(weston.output())));
    ProgramFolder folder(ProgramFolder::Display::None);
    QVERIFY(folder.isValid());
    const quint16 koruPort = ProgramFolder::freeUdpPort();
    QVERIFY(koruPort > 1);
    // Places no X11 start would make up: Wayland's own would be -3 and -30.
    const QByteArray places = "WLEFT=120\r\nWTOP=80\r\n";
    const QByteArray anglePlaces = "WALEFT=300\r\nWATOP=200\r\nWANGLE=1\r\n";
    QVERIFY(folder.writeIni("[ORVANTIS]\r\nSERVER=KORU\r\nPORTKORU=" + QByteArray::number(koruPort - 1)
                            + "\r\nANTKORU=1\r\n" + places + anglePlaces));
    folder.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    folder.setEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), weston.runtimePath());
    folder.setEnvironment(QStringLiteral("WAYLAND_DISPLAY"), weston.socketPath());
    QVERIFY(folder.start());
    // The KORU port is opened at the window's first activation, after which the
    // places would be read from the windows.
    QVERIFY2(folder.waitUntilListening(koruPort, StartTimeoutMs), folder.standardError().constData());
    QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(folder.exitCode(), 0);

    const QByteArray written = folder.readIni();
    QVERIFY2(written.contains(QByteArray("\r\n").append(places)), written.constData());
    QVERIFY2(written.contains(QByteArray("\r\n").append(anglePlaces)), written.constData());
}

void TestProgramWayland::noCompositorIsOneLine()
{
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    ProgramFolder folder(ProgramFolder::Display::None);
    QVERIFY(folder.isValid());
    folder.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    folder.setEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    folder.setEnvironment(QStringLiteral("WAYLAND_DISPLAY"), runtime.filePath(QStringLiteral("nobody-here")));
    QVERIFY(folder.start());
    QTRY_VERIFY_WITH_TIMEOUT(!folder.isRunning(), ExitTimeoutMs);
    QCOMPARE(folder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(folder.exitCode(), 1);
    const QByteArray told = folder.standardError();
    QVERIFY2(told.startsWith("orvantis: the display cannot be used: ") && told.count('\n') == 1
                 && told.endsWith('\n'),
             told.constData());
    QVERIFY2(told.contains("wl_display"), told.constData());
}

QTEST_GUILESS_MAIN(TestProgramWayland)
#include "tst_ProgramWayland.moc"
