#include "rotors/MovenowLauncher.h"
#include "rotors/OutsideRotors.h"
#include "support/RecordingFeedback.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &content, bool executable)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    QVERIFY(file.setPermissions(permissions));
}

// Writes its arguments, one a line, beside itself once the test creates "release",
// so the test can tell that starting it did not wait for its run.
const QByteArray RecordingScript = R"(#!/bin/sh
dir=$(dirname "$0")
n=0
while [ ! -e "$dir/release" ] && [ $n -lt 200 ]; do sleep 0.05; n=$((n + 1)); done
printf '%s\n' "$@" > "$dir/args.tmp" && mv "$dir/args.tmp" "$dir/args"
)";

class NoArswin final : public ArswinLink {
public:
    bool findWindow() override { return false; }
    bool post(quint32) override { return false; }
};

} // namespace

// Finding and starting Movenow in real folders, with real processes.
class TestMovenowLauncher : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void resolution_data()
    {
        QTest::addColumn<QStringList>("executables");
        QTest::addColumn<QStringList>("plainFiles");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("resolved");
        QTest::addColumn<int>("error");
        const QStringList none;
        QTest::newRow("nothing there") << none << none << none << QString() << ShellError::FileNotFound;
        QTest::newRow("wrapper without extension") << QStringList{"Movenow"} << none << none << "Movenow" << 0;
        QTest::newRow(".com") << QStringList{"Movenow.com"} << none << none << "Movenow.com" << 0;
        QTest::newRow(".com before .exe") << QStringList{"Movenow.exe", "Movenow.com"} << none << none
                                          << "Movenow.com" << 0;
        QTest::newRow(".exe before .bat") << QStringList{"Movenow.bat", "Movenow.exe"} << none << none
                                          << "Movenow.exe" << 0;
        QTest::newRow(".cmd last") << QStringList{"Movenow.cmd"} << none << none << "Movenow.cmd" << 0;
        QTest::newRow("name as given first") << QStringList{"Movenow", "Movenow.com"} << none << none << "Movenow"
                                             << 0;
        QTest::newRow("folder of that name passed over") << QStringList{"Movenow.bat"} << none
                                                         << QStringList{"Movenow"} << "Movenow.bat" << 0;
        QTest::newRow("not executable .com") << none << QStringList{"Movenow.com"} << none << QString()
                                             << ShellError::AccessDenied;
        QTest::newRow("not executable bare name") << QStringList{"Movenow.com"} << QStringList{"Movenow"} << none
                                                  << QString() << ShellError::NoProgramToRunIt;
        QTest::newRow("other case is another file") << QStringList{"MOVENOW.COM"} << none << none << QString()
                                                    << ShellError::FileNotFound;
    }
    void resolution()
    {
        QFETCH(QStringList, executables);
        QFETCH(QStringList, plainFiles);
        QFETCH(QStringList, folders);
        QFETCH(QString, resolved);
        QFETCH(int, error);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString &name : executables)
            writeFile(dir.filePath(name), "#!/bin/sh\n", true);
        for (const QString &name : plainFiles)
            writeFile(dir.filePath(name), "#!/bin/sh\n", false);
        for (const QString &name : folders)
            QVERIFY(QDir(dir.path()).mkdir(name));

        const ShellProgram program = resolveShellProgram(dir.filePath(QStringLiteral("Movenow")));
        QCOMPARE(program.error, error);
        QCOMPARE(program.path, resolved.isEmpty() ? QString() : dir.filePath(resolved));
    }

    // A directory written without its final separator runs into the file name.
    void directoryWithoutSeparator()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("Movenow.com")), "#!/bin/sh\n", true);
        QCOMPARE(resolveShellProgram(dir.path() + QStringLiteral("Movenow")).error, ShellError::FileNotFound);
    }

    // GoKct all the way to a started program that records its command line.
    void goKctStartsMovenow()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        writeFile(dir.filePath(QStringLiteral("Movenow.bat")), RecordingScript, true);

        CommandState state;
        Configuration config;
        config.movenowDirectory = dir.path() + QLatin1Char('/');
        config.at(InterfaceKind::Kct).azimuthOffset = -30;
        RecordingFeedback feedback;
        NoArswin arswin;
        ProcessMovenowLauncher launcher;
        QString label;
        OutsideRotors rotors({state, config, feedback, arswin, launcher, [] { return QString(); },
                              [&label](const QString &text) { label = text; }});

        state.commandedAzimuth = 340;
        std::optional<RotorOutcome> outcome;
        rotors.GoKct([&outcome](const RotorOutcome &o) { outcome = o; });
        QVERIFY(outcome && outcome->sent());
        QCOMPARE(feedback.events(), QStringList());
        QCOMPARE(label, QStringLiteral("PA 010"));
        // The script cannot have written anything yet: GoKct did not wait for it.
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("args"))));

        writeFile(dir.filePath(QStringLiteral("release")), {}, false);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath(QStringLiteral("args"))), 20000);
        QFile args(dir.filePath(QStringLiteral("args")));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), QByteArray("PA\n010\n"));
    }

    void startFailures_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("error");
        QTest::newRow("Windows directory") << QStringLiteral("c:\\radio\\kct\\") << QByteArray() << 2;
        // A DOS program with no runner registered for it on this system.
        QTest::newRow("nothing can run it") << QString() << QByteArray("MZ\x90\0\x03\0\0\0", 8) << 31;
    }
    void startFailures()
    {
        QFETCH(QString, directory);
        QFETCH(QByteArray, content);
        QFETCH(int, error);
        QTemporaryDir dir;
        if (directory.isEmpty()) {
            directory = dir.path() + QLatin1Char('/');
            writeFile(directory + QStringLiteral("Movenow.com"), content, true);
        }
        ProcessMovenowLauncher launcher;
        QCOMPARE(launcher.start(directory + QStringLiteral("Movenow"), QStringLiteral("PA 045")), error);
    }
};

QTEST_GUILESS_MAIN(TestMovenowLauncher)
#include "tst_MovenowLauncher.moc"
