#include "FakeHostRoots.h"
#include "host/ComPortNames.h"
#include "support/PseudoTerminal.h"

#include <QFile>
#include <QtTest>

class ComPortNamesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void comNumberParsing_data();
    void comNumberParsing();
    void defaultNames_data();
    void defaultNames();
    void devicePathOfDefaultName();
    void unusableNamesGiveNoDevice_data();
    void unusableNamesGiveNoDevice();
    void overrideOpensThePseudoTerminal();
    void overrideBeyondTheDefaultRange();
    void danglingOverrideNeverFallsBackToDefault();
};

void ComPortNamesTest::comNumberParsing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::newRow("COM1") << "COM1" << 1;
    QTest::newRow("COM12") << "COM12" << 12;
    QTest::newRow("COM256") << "COM256" << 256;
    QTest::newRow("COM257") << "COM257" << 0;
    QTest::newRow("COM0") << "COM0" << 0;
    QTest::newRow("COMx") << "COMx" << 0;
    QTest::newRow("COM1x") << "COM1x" << 0;
    QTest::newRow("COM01") << "COM01" << 0;
    QTest::newRow("COM-1") << "COM-1" << 0;
    QTest::newRow("COM+1") << "COM+1" << 0;
    QTest::newRow("COM 1") << "COM 1" << 0;
    QTest::newRow("com1") << "com1" << 0;
    QTest::newRow("COM") << "COM" << 0;
    QTest::newRow("huge") << "COM99999999999" << 0;
    QTest::newRow("empty") << "" << 0;
}

void ComPortNamesTest::comNumberParsing()
{
    QFETCH(QString, name);
    QFETCH(int, number);
    QCOMPARE(comNumber(name), number);
    // The dosdevices links follow the same rules in lower case.
    if (name.startsWith(QLatin1String("COM")))
        QCOMPARE(comNumberFromLinkName(QString(QStringLiteral("com") + name.mid(3))), number);
}

void ComPortNamesTest::defaultNames_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("comName");
    QTest::newRow("ttyS0") << "ttyS0" << "COM1";
    QTest::newRow("ttyS31") << "ttyS31" << "COM32";
    QTest::newRow("ttyS32") << "ttyS32" << "";
    QTest::newRow("ttyUSB0") << "ttyUSB0" << "COM33";
    QTest::newRow("/dev/ttyUSB31") << "/dev/ttyUSB31" << "COM64";
    QTest::newRow("ttyACM0") << "ttyACM0" << "COM65";
    QTest::newRow("ttyACM31") << "ttyACM31" << "COM96";
    QTest::newRow("ttyACM32") << "ttyACM32" << "";
    QTest::newRow("ttyUSB") << "ttyUSB" << "";
    QTest::newRow("ttyS00") << "ttyS00" << "";
    QTest::newRow("ttyS-1") << "ttyS-1" << "";
    QTest::newRow("tty0") << "tty0" << "";
    QTest::newRow("ttyAMA0") << "ttyAMA0" << "";
}

void ComPortNamesTest::defaultNames()
{
    QFETCH(QString, device);
    QFETCH(QString, comName);
    QCOMPARE(comNameForDevice(device), comName);
}

void ComPortNamesTest::devicePathOfDefaultName()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addDevNode(QStringLiteral("ttyS0"));
    roots.addDevNode(QStringLiteral("ttyUSB1"));
    roots.addDevNode(QStringLiteral("ttyACM31"));

    QCOMPARE(devicePathForComName(QStringLiteral("COM1"), roots.dosdevices(), roots.devRoot()),
             roots.devRoot() + QStringLiteral("/ttyS0"));
    QCOMPARE(devicePathForComName(QStringLiteral("COM34"), roots.dosdevices(), roots.devRoot()),
             roots.devRoot() + QStringLiteral("/ttyUSB1"));
    QCOMPARE(devicePathForComName(QStringLiteral("COM96"), roots.dosdevices(), roots.devRoot()),
             roots.devRoot() + QStringLiteral("/ttyACM31"));
    // No node, no device; and no dosdevices folder at all is fine.
    QCOMPARE(devicePathForComName(QStringLiteral("COM2"), roots.dosdevices(), roots.devRoot()), QString());
    QCOMPARE(devicePathForComName(QStringLiteral("COM1"), QString(), roots.devRoot()),
             roots.devRoot() + QStringLiteral("/ttyS0"));
}

void ComPortNamesTest::unusableNamesGiveNoDevice_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("COM0") << "COM0";
    QTest::newRow("COMx") << "COMx";
    QTest::newRow("LPT1") << "LPT1";
    QTest::newRow("path escape") << "COM1/../../ttyS0";
    QTest::newRow("leading zero") << "COM01";
    QTest::newRow("lower case") << "com1";
}

void ComPortNamesTest::unusableNamesGiveNoDevice()
{
    QFETCH(QString, name);
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addDevNode(QStringLiteral("ttyS0"));
    QCOMPARE(devicePathForComName(name, roots.dosdevices(), roots.devRoot()), QString());
}

void ComPortNamesTest::overrideOpensThePseudoTerminal()
{
    FakeHostRoots roots;
    PseudoTerminal pty;
    QVERIFY(roots.isValid());
    QVERIFY(pty.isValid());
    roots.addDevNode(QStringLiteral("ttyS2"));
    roots.addLink(QStringLiteral("com3"), pty.slavePath());

    const QString path = devicePathForComName(QStringLiteral("COM3"), roots.dosdevices(), roots.devRoot());
    QCOMPARE(path, pty.slavePath());

    // Opening what the name resolves to reaches the controller's end of the line.
    QFile port(path);
    QVERIFY(port.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QCOMPARE(port.write("W123\r"), qint64(5));
    port.close();
    QCOMPARE(pty.readAtLeast(5, 2000), QByteArray("W123\r"));
}

void ComPortNamesTest::overrideBeyondTheDefaultRange()
{
    FakeHostRoots roots;
    PseudoTerminal pty;
    QVERIFY(roots.isValid());
    QVERIFY(pty.isValid());
    roots.addLink(QStringLiteral("com200"), pty.slavePath());
    roots.addLink(QStringLiteral("com257"), pty.slavePath());

    QCOMPARE(devicePathForComName(QStringLiteral("COM200"), roots.dosdevices(), roots.devRoot()),
             pty.slavePath());
    QCOMPARE(devicePathForComName(QStringLiteral("COM257"), roots.dosdevices(), roots.devRoot()), QString());
}

void ComPortNamesTest::danglingOverrideNeverFallsBackToDefault()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addDevNode(QStringLiteral("ttyUSB0"));
    roots.addLink(QStringLiteral("com33"), roots.devRoot() + QStringLiteral("/serial/by-id/unplugged"));

    QCOMPARE(devicePathForComName(QStringLiteral("COM33"), roots.dosdevices(), roots.devRoot()), QString());
}

QTEST_GUILESS_MAIN(ComPortNamesTest)
#include "tst_ComPortNames.moc"
