#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString AppId = QStringLiteral("org.example.orvantis");

struct Finished {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program to its end; an exit code of -1 when it could not start or crashed.
Finished run(const QString &program, const QStringList &arguments,
             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Finished result;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace

// `cmake --install` into a temporary prefix, as a packager or `sudo cmake --install`
// would, and the installed program used as a desktop user would.
class TestProgramInstall : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void filesPassTheirValidators_data();
    void filesPassTheirValidators();
    void answersWithoutDisplay_data();
    void answersWithoutDisplay();
    void keepsSettingsInUserConfigFolder();
    void serviceRunsTheInstalledProgram();
    void runPathsNameOnlyFixedFolders_data();
    void runPathsNameOnlyFixedFolders();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }

    ProgramFolder m_folder;
    QDir m_prefix;
};

void TestProgramInstall::initTestCase()
{
    QVERIFY(m_folder.isValid());
    m_prefix = QDir(m_folder.path() + QStringLiteral("/prefix"));
    const Finished install = run(QStringLiteral(CMAKE_COMMAND),
                                 {QStringLiteral("--install"), QStringLiteral(ORVANTIS_BUILD_DIR),
                                  QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY2(install.exitCode == 0, install.err.constData());
}

void TestProgramInstall::installedFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("side"); // of a PNG icon; 0 for other files
    QTest::newRow("window program") << "bin/orvantis" << 0;
    QTest::newRow("service program") << "bin/orvantis-service" << 0;
    // Where the installed program looks for its help pages.
    QTest::newRow("English help") << "bin/" ORVANTIS_DATA_FROM_BIN "/orvantis_en.htm" << 0;
    QTest::newRow("French help") << "bin/" ORVANTIS_DATA_FROM_BIN "/orvantis_fr.htm" << 0;
    QTest::newRow("manual page") << "share/man/man1/orvantis.1" << 0;
    QTest::newRow("service's manual page") << "share/man/man1/orvantis-service.1" << 0;
    QTest::newRow("headless service") << "lib/systemd/user/orvantis-headless.service" << 0;
    QTest::newRow("scalable icon") << QString("share/icons/hicolor/scalable/apps/" + AppId + ".svg") << 0;
    for (const int side : {48, 64, 128, 256})
        QTest::addRow("icon %d", side) << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(side).arg(AppId)
                                       << side;
}

void TestProgramInstall::installedFiles()
{
    QFETCH(QString, file);
    QFETCH(int, side);
    const QFileInfo info(installed(file));
    QVERIFY2(info.isFile() && info.size() > 0, qPrintable(info.filePath()));
    if (file.startsWith(QLatin1String("bin/orvantis")))
        QVERIFY(info.isExecutable());
    if (side > 0)
        QCOMPARE(QImageReader(info.filePath()).size(), QSize(side, side));
}

void TestProgramInstall::filesPassTheirValidators_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList {}
                                   << QString("share/applications/" + AppId + ".desktop");
    QTest::newRow("metainfo") << "appstreamcli" << QStringList {"validate", "--no-net", "--pedantic"}
                              << QString("share/metainfo/" + AppId + ".metainfo.xml");
    QTest::newRow("manual page") << "groff" << QStringList {"-man", "-ww", "-z"} << "share/man/man1/orvantis.1";
    QTest::newRow("service's manual page") << "groff" << QStringList {"-man", "-ww", "-z"}
                                           << "share/man/man1/orvantis-service.1";
}

// Each validator says nothing on standard error and accepts the file; appstreamcli
// fails even on warnings, and with --pedantic prints every remark it has.
void TestProgramInstall::filesPassTheirValidators()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    const Finished check = run(program, arguments << installed(file));
    QVERIFY2(check.exitCode == 0, QByteArray(check.out + check.err).constData());
    QVERIFY2(check.err.isEmpty(), check.err.constData());
    QVERIFY2(!check.out.contains("P: ") && !check.out.contains("I: "), check.out.constData());
}

void TestProgramInstall::answersWithoutDisplay_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("answerStart");
    QTest::addColumn<bool>("qtOptionsListed");
    QTest::addColumn<bool>("headlessListed");
    const QString window = QStringLiteral("bin/orvantis");
    const QString service = QStringLiteral("bin/orvantis-service");
    const QString usage = "Usage: " + installed(window) + " [options]\n";
    const QString serviceUsage = "Usage: " + installed(service) + " [options]\n";
    QTest::newRow("version") << window << "--version" << "Orvantis " ORVANTIS_VERSION "\n" << false << false;
    QTest::newRow("help") << window << "--help" << usage << false << true;
    QTest::newRow("help with Qt's options") << window << "--help-all" << usage << true << true;
    QTest::newRow("service's version") << service << "--version" << "Orvantis " ORVANTIS_VERSION "\n" << false
                                       << false;
    // The service is headless whatever it is told, and takes no display options.
    QTest::newRow("service's help") << service << "--help" << serviceUsage << false << false;
    QTest::newRow("service's help-all") << service << "--help-all" << serviceUsage << false << false;
}

void TestProgramInstall::answersWithoutDisplay()
{
    QFETCH(QString, program);
    QFETCH(QString, option);
    QFETCH(QString, answerStart);
    QFETCH(bool, qtOptionsListed);
    QFETCH(bool, headlessListed);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    const Finished answer = run(installed(program), {option}, environment);
    QCOMPARE(answer.exitCode, 0);
    QVERIFY2(answer.out.startsWith(answerStart.toUtf8()), answer.out.constData());
    QVERIFY2(answer.err.isEmpty(), answer.err.constData());
    // The options QApplication takes, next to the program's own.
    for (const char *qtOption : {"--platform <platformName[:options]>", "--reverse"})
        QVERIFY2(answer.out.contains(qtOption) == qtOptionsListed, answer.out.constData());
    QCOMPARE(answer.out.contains("--headless"), headlessListed);
}

// The installed program is not portable even where it may write beside itself.
void TestProgramInstall::keepsSettingsInUserConfigFolder()
{
    const QString config = m_folder.path() + QStringLiteral("/xdg");
    m_folder.setProgram(installed(QStringLiteral("bin/orvantis")));
    m_folder.setEnvironment(QStringLiteral("XDG_CONFIG_HOME"), config);
    QVERIFY(m_folder.start());
    QVERIFY(m_folder.waitUntilSignalsHandled(20000));
    QVERIFY(m_folder.stop(SIGTERM, 20000));
    QCOMPARE(m_folder.exitCode(), 0);
    QVERIFY(QFileInfo(config + QStringLiteral("/Orvantis/Orvantis.ini")).isFile());
    QVERIFY(!QFileInfo::exists(installed(QStringLiteral("bin/Orvantis.ini"))));
    QVERIFY(!QFileInfo::exists(m_folder.iniPath()));
}

// The build was configured for /usr/local; the unit must name the service program
// of the prefix it was installed to, or the service cannot start.
void TestProgramInstall::serviceRunsTheInstalledProgram()
{
    const QString unit = installed(QStringLiteral("lib/systemd/user/orvantis-headless.service"));
    QFile file(unit);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray execStart = "ExecStart=" + QFile::encodeName(installed(QStringLiteral("bin/orvantis-service")));
    const QByteArray text = file.readAll();
    QVERIFY2(text.split('\n').contains(execStart), text.constData());

    if (QStandardPaths::findExecutable(QStringLiteral("systemd-analyze")).isEmpty())
        QSKIP("systemd-analyze is missing (Debian's systemd package)");
    // The checks of a user manager, without one running.
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    const Finished verify = run(QStringLiteral("systemd-analyze"),
                                {QStringLiteral("--user"), QStringLiteral("verify"), QStringLiteral("--man=no"), unit},
                                environment);
    QVERIFY2(verify.exitCode == 0, QByteArray(verify.out + verify.err).constData());
}

void TestProgramInstall::runPathsNameOnlyFixedFolders_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("built window program") << QStringLiteral(ORVANTIS_EXECUTABLE);
    QTest::newRow("built service program") << QStringLiteral(ORVANTIS_SERVICE_EXECUTABLE);
    QTest::newRow("installed window program") << installed(QStringLiteral("bin/orvantis"));
    QTest::newRow("installed service program") << installed(QStringLiteral("bin/orvantis-service"));
}

// An empty or relative element of a run path is searched from the current
// directory, so a library planted wherever the program is started would load.
void TestProgramInstall::runPathsNameOnlyFixedFolders()
{
    QFETCH(QString, program);
    const Finished dynamic = run(QStringLiteral("readelf"), {QStringLiteral("-d"), QStringLiteral("-W"), program});
    QVERIFY2(dynamic.exitCode == 0 && dynamic.out.contains("(NEEDED)"), dynamic.err.constData());
    for (const QByteArray &line : dynamic.out.split('\n')) {
        if (!line.contains("(RUNPATH)") && !line.contains("(RPATH)"))
            continue;
        const QByteArray path = line.mid(line.indexOf('[') + 1, line.lastIndexOf(']') - line.indexOf('[') - 1);
        for (const QByteArray &element : path.split(':'))
            QVERIFY2(element.startsWith('/'), line.constData());
    }
}

QTEST_GUILESS_MAIN(TestProgramInstall)
#include "tst_ProgramInstall.moc"
