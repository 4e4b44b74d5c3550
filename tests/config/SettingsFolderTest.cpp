#include "config/ProgramLayout.h"
#include "config/SettingsFolder.h"
#include "support/ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class SettingsFolderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rule_data();
    void rule();
    void onDisk_data();
    void onDisk();
    void withoutXdgConfigHomeUsesDotConfig();
};

void SettingsFolderTest::rule_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("copied folder: portable") << "" << true << false << "program";
    QTest::newRow("copied, read-only") << "" << false << false << "config";
    QTest::newRow("installed, root may write there") << "" << true << true << "config";
    QTest::newRow("installed, read-only") << "" << false << true << "config";
    QTest::newRow("chosen beats portable") << "/srv/chosen" << true << false << "/srv/chosen";
    QTest::newRow("chosen beats installed") << "/srv/chosen" << false << true << "/srv/chosen";
}

void SettingsFolderTest::rule()
{
    QFETCH(QString, chosen);
    QFETCH(bool, writable);
    QFETCH(bool, installed);
    QFETCH(QString, expected);
    const SettingsFolderFacts facts {chosen, QStringLiteral("program"), writable, installed, QStringLiteral("config")};
    QCOMPARE(decideSettingsFolder(facts), expected);
}

// Real folders, with XDG_CONFIG_HOME pointed at <root>/xdg. Paths are relative to
// a temporary root; "/..." ones are the machine's own.
void SettingsFolderTest::onDisk_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expected");
    QTest::newRow("copied folder") << "copied" << "" << "copied";
    QTest::newRow("installed into a prefix") << "prefix/bin" << "" << "xdg/Orvantis";
    QTest::newRow("system program folder") << "/usr/local/bin" << "" << "xdg/Orvantis";
    QTest::newRow("missing folder") << "missing/program" << "" << "xdg/Orvantis";
    QTest::newRow("a file, not a folder") << "plainfile" << "" << "xdg/Orvantis";
    QTest::newRow("read-only folder") << "readonly" << "" << "xdg/Orvantis";
    QTest::newRow("chosen folder, created") << "copied" << "chosen/new" << "chosen/new";
}

void SettingsFolderTest::onDisk()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    if (programFolder == QLatin1String("readonly") && ::geteuid() == 0)
        QSKIP("root writes into a read-only folder");

    QTemporaryDir root;
    const auto inRoot = [&root](const QString &path) {
        return path.isEmpty() || path.startsWith(QLatin1Char('/')) ? path : root.filePath(path);
    };
    QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("copied"))));
    QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("prefix/bin"))));
    QVERIFY(QDir(root.filePath(QStringLiteral("prefix/bin"))).mkpath(QStringLiteral(ORVANTIS_DATA_FROM_BIN)));
    QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("readonly"))));
    QVERIFY(QFile::setPermissions(root.filePath(QStringLiteral("readonly")), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QFile plain(root.filePath(QStringLiteral("plainfile")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    ScopedEnvironment environment;
    environment.set("XDG_CONFIG_HOME", root.filePath(QStringLiteral("xdg")));

    // A relative folder on the command line counts from the working folder.
    const QString workingFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root.path()));
    const QString folder = chooseSettingsFolder(chosen, inRoot(programFolder));
    QDir::setCurrent(workingFolder);
    QFile::setPermissions(root.filePath(QStringLiteral("readonly")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QCOMPARE(folder, inRoot(expected));
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("missing"))));
}

void SettingsFolderTest::withoutXdgConfigHomeUsesDotConfig()
{
    QTemporaryDir home;
    ScopedEnvironment environment;
    environment.unset("XDG_CONFIG_HOME");
    environment.set("HOME", home.path());
    const QString folder = chooseSettingsFolder(QString(), QStringLiteral("/usr/bin"));
    QCOMPARE(folder, home.filePath(QStringLiteral(".config/Orvantis")));
    QVERIFY(QFileInfo(folder).isDir());
}

QTEST_GUILESS_MAIN(SettingsFolderTest)
#include "SettingsFolderTest.moc"
