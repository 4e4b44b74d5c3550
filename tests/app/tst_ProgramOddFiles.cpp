// The built program with a settings file it cannot understand, and closed by a
// signal while it is stopped: what it tells and what it leaves on disk.
#include "ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int StartTimeoutMs = 15000;
constexpr int ExitTimeoutMs = 15000;
// However it closes, the program is gone this soon after the signal.
constexpr int PromptExitMs = 5000;

QByteArray utf16LittleEndianWithBom(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

bool isFifo(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// The state letter of /proc/<pid>/stat: 'T' once a SIGSTOP has taken hold.
char processState(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return '?';
    const QByteArray line = stat.readAll();
    // The command name in parentheses may hold blanks; the state follows it.
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() ? line.at(close + 2) : '?';
}

// Holds the advisory lock the program takes on its folder while it saves, as
// another copy of it saving at that moment would.
class FolderLockHolder {
public:
    explicit FolderLockHolder(const QString &folder)
        : m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        m_held = m_fd >= 0 && ::flock(m_fd, LOCK_EX) == 0;
    }
    ~FolderLockHolder() { release(); }
    FolderLockHolder(const FolderLockHolder &) = delete;
    FolderLockHolder &operator=(const FolderLockHolder &) = delete;

    bool held() const { return m_held; }
    void release()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_held = false;
    }

private:
    int m_fd = -1;
    bool m_held = false;
};

// What stands at Orvantis.ini instead of a file with the row's content.
enum class Special { None, Fifo, LinkLoop };

} // namespace

class ProgramOddFilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void settingsFileNotUnderstood_data();
    void settingsFileNotUnderstood();
    void stoppedWhileClosingStillSaves();
    void signalDuringStartKeepsEverySetting();
};

void ProgramOddFilesTest::settingsFileNotUnderstood_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Special>("special");
    QTest::addColumn<QByteArrayList>("told");    // on standard error, where unshown boxes go
    QTest::addColumn<QByteArrayList>("written"); // lines of the file written back; none: left as it was

    const QString settings = QStringLiteral("[ORVANTIS]\r\nLANGUAGE=FRENCH\r\nANT=GS232\r\nFAV1TXT=Été\r\n");
    const QByteArrayList unrecognised {"holds no setting that Orvantis knows",
                                       "ne contient aucun réglage connu d'Orvantis",
                                       "holds no setting that Orvantis knows, so it is left as it was"};
    QTest::newRow("UTF-16 with BOM") << utf16LittleEndianWithBom(settings) << Special::None << unrecognised
                                     << QByteArrayList {};
    QTest::newRow("random bytes") << QByteArray("\x8F\x01\xFE\xB3=\x7F\x00\x9D\xC4\xD2\x11\x80\xFF", 14) << Special::None
                                  << unrecognised << QByteArrayList {};
    QTest::newRow("FIFO") << QByteArray() << Special::Fifo
                          << QByteArrayList {"is not an ordinary file but a named pipe (FIFO)",
                                             "n'est pas un fichier ordinaire mais un tube nommé (FIFO)",
                                             "is not an ordinary file, so it is left as it was"}
                          << QByteArrayList {};
    // Orvantis.ini -> shared.ini -> Orvantis.ini: no file to read, and none to replace.
    QTest::newRow("symbolic link loop") << QByteArray() << Special::LinkLoop
                                        << QByteArrayList {"is a symbolic link that leads back to itself and never to a file",
                                                           "est un lien symbolique qui ramène à lui-même",
                                                           "is a symbolic link that leads back to itself, so it is left as it was"}
                                        << QByteArrayList {};
    // Read as UTF-8 after its mark, written back as every file is: Windows-1252.
    QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF" + settings.toUtf8() << Special::None << QByteArrayList {}
                                    << QByteArrayList {"[ORVANTIS]\r\nLANGUAGE=FRENCH\r\n", "\r\nANT=GS232\r\n",
                                                       "\r\nFAV1TXT=\xC9t\xE9\r\n"};
    // A name the code page cannot hold is saved as far as it goes, and told.
    QTest::newRow("favourite beyond Windows-1252")
        << "\xEF\xBB\xBF" + settings.toUtf8() + "FAV2TXT=\xCE\xA9mega\r\n" << Special::None
        << QByteArrayList {"favori 2, \xC2\xAB \xCE\xA9mega \xC2\xBB", "\xC2\xAB ?mega \xC2\xBB"} << QByteArrayList {"\r\nFAV2TXT=?mega\r\n"};
}

void ProgramOddFilesTest::settingsFileNotUnderstood()
{
    QFETCH(QByteArray, content);
    QFETCH(Special, special);
    QFETCH(QByteArrayList, told);
    QFETCH(QByteArrayList, written);

    ProgramFolder folder;
    QVERIFY(folder.isValid());
    const QString ringMate = folder.path() + QStringLiteral("/shared.ini");
    if (special == Special::Fifo) {
        QCOMPARE(::mkfifo(QFile::encodeName(folder.iniPath()).constData(), 0644), 0);
    } else if (special == Special::LinkLoop) {
        QVERIFY(QFile::link(ringMate, folder.iniPath()));
        QVERIFY(QFile::link(folder.iniPath(), ringMate));
    } else {
        QVERIFY(folder.writeIni(content));
    }

    QVERIFY(folder.start());
    QVERIFY2(folder.waitUntilSignalsHandled(StartTimeoutMs), "the program never installed its signal handlers");
    QTest::qWait(1500); // the first activation follows within a few event-loop turns
    const bool ended = folder.stop(SIGTERM, PromptExitMs);
    folder.kill();
    const QByteArray standardError = folder.standardError();
    QVERIFY2(ended, standardError.constData());
    QCOMPARE(folder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(folder.exitCode(), 0);
    for (const QByteArray &text : told)
        QVERIFY2(standardError.contains(text), standardError.constData());

    QVERIFY(!QFile::exists(folder.temporaryIniPath()));
    if (special == Special::Fifo) {
        QVERIFY(isFifo(folder.iniPath())); // and not to be opened here either
        return;
    }
    if (special == Special::LinkLoop) {
        QCOMPARE(QFileInfo(folder.iniPath()).symLinkTarget(), ringMate);
        QCOMPARE(QFileInfo(ringMate).symLinkTarget(), folder.iniPath());
        QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/shared.~in")));
        return;
    }
    const QByteArray saved = folder.readIni();
    if (written.isEmpty())
        QCOMPARE(saved, content);
    for (const QByteArray &lines : written)
        QVERIFY2(saved.contains(lines), saved.constData());
    QVERIFY(!saved.startsWith("\xEF\xBB\xBF"));
}

// Stopped in the middle of its close, for longer than the close may take, then
// continued: the time it stood still does not count against it.
void ProgramOddFilesTest::stoppedWhileClosingStillSaves()
{
    ProgramFolder folder;
    QVERIFY(folder.isValid());
    // The parking GO to ZENTA tells, without ARSWIN, that the close is under way;
    // the lock then holds the close at its save until the program is stopped.
    QVERIFY(folder.writeIni("; left by hand\r\nANT=ZENTA\r\nPARKING=ZENTA\r\nAZIMUT_PARKING=90\r\n"));
    QVERIFY(folder.start());
    QVERIFY2(folder.waitUntilSignalsHandled(StartTimeoutMs), "the program never installed its signal handlers");
    QTest::qWait(1500);

    FolderLockHolder lock(folder.path());
    QVERIFY(lock.held());
    QCOMPARE(::kill(pid_t(folder.pid()), SIGTERM), 0);
    QVERIFY2(folder.waitForStandardError("ARSWIN must be running !", ExitTimeoutMs), folder.standardError().constData());
    QCOMPARE(::kill(pid_t(folder.pid()), SIGSTOP), 0);
    while (processState(folder.pid()) != 'T' && folder.isRunning())
        QThread::msleep(5);
    QVERIFY2(!folder.standardError().contains("Can't create"), "the save gave up before the program was stopped");
    QThread::sleep(6);
    lock.release();

    const bool ended = folder.stop(SIGCONT, ExitTimeoutMs);
    folder.kill();
    const QByteArray standardError = folder.standardError();
    QVERIFY2(ended, standardError.constData());
    QVERIFY2(!standardError.contains("did not end in time"), standardError.constData());
    QCOMPARE(folder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(folder.exitCode(), 0);
    const QByteArray saved = folder.readIni();
    QVERIFY2(!saved.contains("; left by hand"), saved.constData());
    QVERIFY2(saved.contains("\r\nANT=ZENTA\r\n") && saved.contains("\r\nPARKING=ZENTA\r\n"), saved.constData());
}

void ProgramOddFilesTest::signalDuringStartKeepsEverySetting()
{
    // A session that ends, or a terminal closed, right after the launch: whenever
    // the signal lands, every setting the user had comes back as it was. A large
    // file widens the time before the first activation.
    QByteArray settings = "[ORVANTIS]\r\nLANGUAGE=FRENCH\r\nAUTO=1\r\nSERVER=KORU\r\nPORTKORU=13000\r\n"
                          "ANTKORU=7\r\nANT=GS232\r\nANGLE=123\r\nWLEFT=40\r\nWTOP=60\r\n"
                          "[GS-232]\r\nPORT_GS232=5\r\n[EGIS]\r\nPORT_EGIS=12\r\n";
    for (int i = 0; i < 20000; ++i)
        settings += "; note " + QByteArray::number(i) + "\r\n";
    const QList<QByteArray> kept = settings.left(settings.indexOf("; note")).split('\n');
    for (int delayMs = 0; delayMs <= 150; delayMs += 10) {
        ProgramFolder folder;
        QVERIFY(folder.isValid() && folder.writeIni(settings));
        QVERIFY(folder.start());
        QThread::msleep(delayMs);
        QVERIFY(folder.stop(SIGTERM, 10000));
        const QByteArray saved = folder.readIni();
        if (saved == settings)
            continue; // closed before it had read anything: untouched
        for (const QByteArray &line : kept) {
            if (line.contains('='))
                QVERIFY2(saved.contains(QByteArray(line).append('\n')), qPrintable(QStringLiteral("%1 ms: %2 lost")
                                                                     .arg(delayMs)
                                                                     .arg(QString::fromLatin1(line.trimmed()))));
        }
    }
}

QTEST_GUILESS_MAIN(ProgramOddFilesTest)
#include "tst_ProgramOddFiles.moc"
