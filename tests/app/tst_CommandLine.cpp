#include "app/CommandLine.h"

#include <QTest>

Q_DECLARE_METATYPE(CommandLine::Action)

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLine::Action>("action");
    QTest::addColumn<QString>("settingsFolder");
    QTest::addColumn<QString>("textStart"); // the text begins with this
    QTest::addColumn<QString>("textHolds"); // and holds this
    using A = CommandLine::Action;
    QTest::newRow("nothing") << QStringList {} << A::Run << "" << "" << "";
    QTest::newRow("long folder") << QStringList {"--settings-folder", "/srv/o"} << A::Run << "/srv/o" << "" << "";
    QTest::newRow("long folder with =") << QStringList {"--settings-folder=a b"} << A::Run << "a b" << "" << "";
    QTest::newRow("short folder") << QStringList {"-s", "rel"} << A::Run << "rel" << "" << "";
    QTest::newRow("last folder wins") << QStringList {"-s", "first", "--settings-folder", "second"} << A::Run
                                      << "second" << "" << "";
    QTest::newRow("help") << QStringList {"--help"} << A::ShowHelp << "" << "Usage: "
                          << "-s, --settings-folder <folder>";
    QTest::newRow("short help") << QStringList {"-h"} << A::ShowHelp << "" << "Usage:" << "XDG_CONFIG_HOME";
    QTest::newRow("help with Qt's options") << QStringList {"--help-all"} << A::ShowHelpAll << "" << "" << "";
    QTest::newRow("version") << QStringList {"--version"} << A::ShowVersion << "" << "Orvantis 2.4.1\n" << "";
    QTest::newRow("help beats a folder") << QStringList {"-s", "x", "--help"} << A::ShowHelp << "" << "Usage:" << "";
    QTest::newRow("unknown option") << QStringList {"--bogus"} << A::Fail << ""
                                    << "Unknown option 'bogus'." << "orvantis --help";
    QTest::newRow("folder missing") << QStringList {"--settings-folder"} << A::Fail << ""
                                    << "Missing value after '--settings-folder'." << "";
    QTest::newRow("stray argument") << QStringList {"Orvantis.ini"} << A::Fail << ""
                                    << "unexpected argument 'Orvantis.ini'" << "";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Action, action);
    QFETCH(QString, settingsFolder);
    QFETCH(QString, textStart);
    QFETCH(QString, textHolds);
    const CommandLine line = parseCommandLine(QStringList {QStringLiteral("orvantis")} + arguments);
    QCOMPARE(line.action, action);
    QCOMPARE(line.settingsFolder, settingsFolder);
    QVERIFY2(textStart.isEmpty() || line.text.startsWith(textStart), qPrintable(line.text));
    QVERIFY2(line.text.contains(textHolds), qPrintable(line.text));
    QCOMPARE(line.text.isEmpty(), action == CommandLine::Action::Run || action == CommandLine::Action::ShowHelpAll);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
