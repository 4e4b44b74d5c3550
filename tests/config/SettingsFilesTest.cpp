#include "config/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <QRandomGenerator>

#include <chrono>
#include <csignal>
#include <cstring>
#include <future>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

mode_t fileMode(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 07777;
}

} // namespace

class SettingsFilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pathsAndExistenceTestedOnce()
    {
        QTemporaryDir folder;
        const SettingsFiles files(folder.path());
        QCOMPARE(files.folder(), folder.path());
        QCOMPARE(files.iniPath(), folder.filePath(QStringLiteral("Orvantis.ini")));
        QCOMPARE(files.temporaryPath(), folder.filePath(QStringLiteral("Orvantis.~in")));
        QCOMPARE(files.dosdevicesPath(), folder.filePath(QStringLiteral("dosdevices")));
        QVERIFY(!files.existedAtStart());
        QVERIFY(writeFile(files.iniPath(), "ANT=GS232\r\n"));
        QVERIFY(!files.existedAtStart());
        QVERIFY(SettingsFiles(folder.path()).existedAtStart());
    }

    void readsWholeFile()
    {
        QTemporaryDir folder;
        const QByteArray bytes("ANT=GS232\r\nFAV1TXT=R\xE9\0x\r\n", 26);
        QVERIFY(writeFile(folder.filePath(QStringLiteral("Orvantis.ini")), bytes));
        QByteArray read;
        QString error;
        QVERIFY(SettingsFiles(folder.path()).read(&read, &error));
        QCOMPARE(read, bytes);
        QVERIFY(error.isEmpty());
    }

    void unreadableFileReportsOpenError()
    {
        QTemporaryDir folder;
        SettingsFiles files(folder.path());
        // A path through an ordinary file cannot be opened, even by root.
        QVERIFY(writeFile(folder.filePath(QStringLiteral("plain")), "x"));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("plain/Orvantis.ini")), files.iniPath()));
        QByteArray read("untouched");
        QString error;
        QVERIFY(!files.read(&read, &error));
        const QString start = QStringLiteral("Impossible d'ouvrir le fichier \"%1\". ").arg(files.iniPath());
        QVERIFY2(error.startsWith(start), qPrintable(error));
        QVERIFY2(error.size() > start.size(), "the system's error text is missing");
        QVERIFY(files.readFailed());
        QVERIFY(files.leftUnreadText(Language::english()).contains(QStringLiteral("could not be read at start")));
    }

    void linkLoopToldAndLeftAsItIs_data()
    {
        QTest::addColumn<QStringList>("chain"); // each name links to the next, the last to the first
        QTest::newRow("link to itself") << QStringList {"Orvantis.ini"};
        QTest::newRow("two links in a ring") << QStringList {"Orvantis.ini", "shared.ini"};
    }

    void linkLoopToldAndLeftAsItIs()
    {
        QFETCH(QStringList, chain);
        QTemporaryDir folder;
        const QDir dir(folder.path());
        for (qsizetype i = 0; i < chain.size(); ++i)
            QVERIFY(QFile::link(dir.filePath(chain.at((i + 1) % chain.size())), dir.filePath(chain.at(i))));
        SettingsFiles files(folder.path());
        QVERIFY(files.existedAtStart());

        QByteArray read("untouched");
        QString error;
        QVERIFY(!files.read(&read, &error));
        QCOMPARE(read, QByteArray("untouched"));
        QVERIFY(files.readFailed());
        QVERIFY2(error.startsWith(files.iniPath() + QStringLiteral(" is a symbolic link that leads back to itself")),
                 qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("est un lien symbolique qui ramène à lui-même")), qPrintable(error));
        QVERIFY(files.leftUnreadText(Language::french())
                    .contains(QStringLiteral("est un lien symbolique qui ramène à lui-même ; il est laissé tel quel")));

        QVERIFY(!files.replace("[ORVANTIS]\r\n"));
        QStringList names = chain;
        names.sort();
        QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name), names);
        for (qsizetype i = 0; i < chain.size(); ++i)
            QCOMPARE(QFileInfo(dir.filePath(chain.at(i))).symLinkTarget(), dir.filePath(chain.at((i + 1) % chain.size())));
    }

    // Content that holds no known key was never understood, so it must be left
    // alone; a byte-order mark or blank lines are not such content.
    void contentWithoutKnownKey_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("understood");

        const QString settings = QStringLiteral("LANGUAGE=FRENCH\r\nANT=GS232\r\n");
        QByteArray utf16le("\xFF\xFE");
        QByteArray utf16be("\xFE\xFF");
        for (const QChar c : settings) {
            utf16le += char(c.unicode() & 0xFF);
            utf16le += char(c.unicode() >> 8);
            utf16be += char(c.unicode() >> 8);
            utf16be += char(c.unicode() & 0xFF);
        }
        QByteArray noise(4096, Qt::Uninitialized);
        QRandomGenerator generator(26);
        for (char &c : noise)
            c = char(generator.bounded(256));

        QTest::newRow("UTF-16 LE with BOM (Notepad \"Unicode\")") << utf16le << false;
        QTest::newRow("UTF-16 BE with BOM") << utf16be << false;
        QTest::newRow("random bytes") << noise << false;
        QTest::newRow("another program's file") << QByteArray("[Desktop Entry]\nName=Orvantis\nExec=orvantis\n") << false;
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBFLANGUAGE=FRENCH\r\n") << true;
        QTest::newRow("one key after noise") << noise + "\r\nSTEP_KCT=2\r\n" << true;
        QTest::newRow("blank lines") << QByteArray("\r\n \t\r\n") << true;
        QTest::newRow("byte-order mark alone") << QByteArray("\xEF\xBB\xBF") << true;
    }

    void contentWithoutKnownKey()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, understood);
        QTemporaryDir folder;
        SettingsFiles files(folder.path());
        QVERIFY(writeFile(files.iniPath(), bytes));
        QByteArray read;
        QString error;
        QCOMPARE(files.read(&read, &error), understood);
        QCOMPARE(files.readFailed(), !understood);
        QCOMPARE(read, bytes);
        if (understood) {
            QVERIFY(error.isEmpty());
            return;
        }
        // Told at start in both languages, since the file could not say which.
        for (const QString &told : {QStringLiteral("%1 holds no setting that Orvantis knows"),
                                    QStringLiteral("%1 ne contient aucun réglage connu d'Orvantis")})
            QVERIFY2(error.contains(told.arg(files.iniPath())), qPrintable(error));
        QVERIFY(files.leftUnreadText(Language::english()).contains(QStringLiteral("holds no setting that Orvantis knows, so it is left as it was")));
        QVERIFY(files.leftUnreadText(Language::french()).contains(QStringLiteral("il est laissé tel quel")));
    }

    // Refused from a look at the path alone: opening a FIFO would wait for a
    // writer, and opening a device may act on it.
    void notRegularFileRefusedUnopened_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("french");
        QTest::newRow("FIFO") << "fifo" << "a named pipe (FIFO)" << "un tube nommé (FIFO)";
        QTest::newRow("socket") << "socket" << "a socket" << "une socket";
        QTest::newRow("device") << "device" << "a device" << "un périphérique";
        QTest::newRow("folder") << "folder" << "a folder" << "un dossier";
    }

    void notRegularFileRefusedUnopened()
    {
        QFETCH(QString, kind);
        QFETCH(QString, english);
        QFETCH(QString, french);
        QTemporaryDir folder;
        SettingsFiles files(folder.path());
        const QByteArray path = QFile::encodeName(files.iniPath());
        // The test holds both ends of the FIFO, with settings waiting in it: a
        // reader would neither block on opening it nor leave them there.
        int fifo = -1;
        const QByteArray waiting("ANT=GS232\r\n");
        int socket = -1;
        if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(path.constData(), 0644), 0);
            fifo = ::open(path.constData(), O_RDWR | O_NONBLOCK);
            QVERIFY(fifo >= 0);
            QCOMPARE(::write(fifo, waiting.constData(), size_t(waiting.size())), ssize_t(waiting.size()));
        } else if (kind == QLatin1String("socket")) {
            socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            QVERIFY(size_t(path.size()) < sizeof address.sun_path);
            std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
            QCOMPARE(::bind(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
        } else if (kind == QLatin1String("device")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), files.iniPath()));
        } else {
            QVERIFY(QDir().mkpath(files.iniPath()));
        }

        QByteArray read("untouched");
        QString error;
        auto reading = std::async(std::launch::async, [&] { return files.read(&read, &error); });
        // Only a reader that opened the FIFO is still reading: closing the test's
        // end gives it the end of the file, so a fault fails instead of hanging.
        const bool hung = reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready;
        int unread = -1;
        if (fifo >= 0) {
            ::ioctl(fifo, FIONREAD, &unread);
            ::close(fifo);
        }
        const bool ok = reading.get();
        QVERIFY2(!hung, "read() opened the FIFO and waited on it");
        if (socket >= 0)
            ::close(socket);

        QVERIFY(!ok);
        QVERIFY(files.readFailed());
        QCOMPARE(read, QByteArray("untouched"));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(unread, int(waiting.size()));
        QVERIFY2(error.contains(QStringLiteral("%1 is not an ordinary file but %2").arg(files.iniPath(), english)),
                 qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("%1 n'est pas un fichier ordinaire mais %2").arg(files.iniPath(), french)),
                 qPrintable(error));
        QVERIFY(files.leftUnreadText(Language::english()).contains(QStringLiteral("is not an ordinary file, so it is left as it was")));
    }

    // The link stays a link; its target gets the new settings, written through a
    // temporary file beside it so the rename stays within one file system.
    void linkedFileReplacedThroughItsTarget()
    {
        QTemporaryDir folder;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("shared.ini"));
        const SettingsFiles files(folder.path());
        QVERIFY(writeFile(target, "old\r\n"));
        QVERIFY(QFile::link(target, files.iniPath()));
        QVERIFY(files.replace("new\r\n"));
        QCOMPARE(QFileInfo(files.iniPath()).symLinkTarget(), target);
        QCOMPARE(fileBytes(target), QByteArray("new\r\n"));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files), QStringList {QStringLiteral("shared.ini")});
        QVERIFY(!QFileInfo::exists(files.temporaryPath()));
    }

    // Another copy saving holds the folder's lock: its temporary file is left
    // alone, and the save that could not take its turn says so.
    void saveWaitsForAnotherCopy()
    {
        QTemporaryDir folder;
        const SettingsFiles files(folder.path());
        QVERIFY(files.replace("first\r\n"));
        const int other = ::open(QFile::encodeName(folder.path()).constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(other >= 0);
        QCOMPARE(::flock(other, LOCK_EX), 0);
        QVERIFY(writeFile(files.temporaryPath(), "the other copy, half written"));
        const bool replaced = files.replace("second\r\n");
        ::close(other);
        QVERIFY(!replaced);
        QCOMPARE(fileBytes(files.temporaryPath()), QByteArray("the other copy, half written"));
        QCOMPARE(fileBytes(files.iniPath()), QByteArray("first\r\n"));
        // Its turn come, a temporary file nobody owns any more is replaced.
        QVERIFY(files.replace("second\r\n"));
        QCOMPARE(fileBytes(files.iniPath()), QByteArray("second\r\n"));
        QVERIFY(!QFileInfo::exists(files.temporaryPath()));
    }

    void firstReplaceLeavesReadOnlyFileAndNoTemporary()
    {
        QTemporaryDir folder;
        const SettingsFiles files(folder.path());
        QVERIFY(files.replace("[ORVANTIS]\r\nANT=\r\n"));
        QCOMPARE(fileBytes(files.iniPath()), QByteArray("[ORVANTIS]\r\nANT=\r\n"));
        QCOMPARE(fileMode(files.iniPath()) & 0222, mode_t(0));
        QVERIFY(fileMode(files.iniPath()) & 0400);
        QVERIFY(!QFileInfo::exists(files.temporaryPath()));
    }

    void replaceOverReadOnlyFile()
    {
        QTemporaryDir folder;
        const SettingsFiles files(folder.path());
        QVERIFY(files.replace("first\r\n"));
        QVERIFY(files.replace("second\r\n"));
        QCOMPARE(fileBytes(files.iniPath()), QByteArray("second\r\n"));
        QCOMPARE(fileMode(files.iniPath()) & 0222, mode_t(0));
    }

    // The file that existed at start need not exist any more, and one created
    // during the run is replaced too: rename() does not care.
    void replaceIgnoresStartupExistence()
    {
        QTemporaryDir folder;
        const SettingsFiles files(folder.path());
        QVERIFY(writeFile(files.iniPath(), "made by someone else\r\n"));
        QVERIFY(files.replace("ours\r\n"));
        QCOMPARE(fileBytes(files.iniPath()), QByteArray("ours\r\n"));
    }

    void staleReadOnlyTemporaryRemoved()
    {
        QTemporaryDir folder;
        const SettingsFiles files(folder.path());
        QVERIFY(writeFile(files.temporaryPath(), "stale, and longer than what replaces it\r\n"));
        QVERIFY(QFile::setPermissions(files.temporaryPath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QVERIFY(files.replace("new\r\n"));
        QCOMPARE(fileBytes(files.iniPath()), QByteArray("new\r\n"));
        QVERIFY(!QFileInfo::exists(files.temporaryPath()));
    }

    void replaceIntoMissingFolderFails()
    {
        QTemporaryDir root;
        const SettingsFiles files(root.filePath(QStringLiteral("gone")));
        QVERIFY(!files.replace("x\r\n"));
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("gone"))));
    }

    void failedWriteKeepsOldFile()
    {
        QTemporaryDir folder;
        const SettingsFiles files(folder.path());
        const QByteArray old("ANT=GS232\r\nSTEP_GS232=3\r\n");
        QVERIFY(files.replace(old));

        // A file size limit stands in for a full disk: the write stops part way.
        struct rlimit saved {};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 16;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
        const bool replaced = files.replace(QByteArray(4096, 'n'));
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!replaced);
        QCOMPARE(fileBytes(files.iniPath()), old);
        QVERIFY(!QFileInfo::exists(files.temporaryPath()));
    }

    void failedRenameKeepsNoTemporary()
    {
        QTemporaryDir folder;
        const SettingsFiles files(folder.path());
        QVERIFY(QDir().mkpath(files.iniPath() + QStringLiteral("/inside")));
        QVERIFY(!files.replace("x\r\n"));
        QVERIFY(QFileInfo(files.iniPath()).isDir());
        QVERIFY(!QFileInfo::exists(files.temporaryPath()));
    }

    void readOnlyFolderFails()
    {
        if (::geteuid() == 0)
            QSKIP("root may write into a read-only folder; failedWriteKeepsOldFile covers the failure");
        QTemporaryDir folder;
        const SettingsFiles files(folder.path());
        QVERIFY(files.replace("old\r\n"));
        QVERIFY(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const bool replaced = files.replace("new\r\n");
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!replaced);
        QCOMPARE(fileBytes(files.iniPath()), QByteArray("old\r\n"));
    }

    void createErrorTexts()
    {
        QCOMPARE(SettingsFiles::createErrorText(Language::english()), QStringLiteral("Can't create Orvantis.ini"));
        QCOMPARE(SettingsFiles::createErrorText(Language::french()), QStringLiteral("Ne peut créer Orvantis.ini"));
    }
};

QTEST_GUILESS_MAIN(SettingsFilesTest)
#include "SettingsFilesTest.moc"
