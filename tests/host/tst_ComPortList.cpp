#include "FakeHostRoots.h"
#include "host/ComPortList.h"
#include "host/ComPortNames.h"
#include "host/ComPortPin.h"
#include "support/PseudoTerminal.h"

#include <QFile>
#include <QtTest>

class ComPortListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nameFilterAndTextOrder_data();
    void nameFilterAndTextOrder();
    void uartPlaceholdersAreNotPorts();
    void usbAndAcmNumbering();
    void overridesWinAndOddLinksAreSkipped();
    void danglingOverrideHidesItsDefault();
    void mixedSourcesSortAsText();
    void missingRootsGiveNoPorts();
    void listedPathsAreTheOnesOpened();
    void adapterDetails_data();
    void adapterDetails();
    void pinning_data();
    void pinning();
};

static QStringList namesOf(const QList<ComPort> &ports)
{
    QStringList names;
    for (const ComPort &port : ports)
        names.append(port.name);
    return names;
}

void ComPortListTest::nameFilterAndTextOrder_data()
{
    QTest::addColumn<QStringList>("candidates");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("text order") << QStringList{"COM3", "COM1", "COM10"} << QStringList{"COM1", "COM10", "COM3"};
    QTest::newRow("COM0 and COMx dropped")
        << QStringList{"COM0", "COMx", "COM12", "COM1x"} << QStringList{"COM12"};
    QTest::newRow("other names dropped")
        << QStringList{"LPT1", "com2", "ttyS0", "COM2"} << QStringList{"COM2"};
    QTest::newRow("duplicates once") << QStringList{"COM2", "COM2", "COM1"} << QStringList{"COM1", "COM2"};
    QTest::newRow("none") << QStringList{} << QStringList{};
}

void ComPortListTest::nameFilterAndTextOrder()
{
    QFETCH(QStringList, candidates);
    QFETCH(QStringList, expected);
    QCOMPARE(sortedComNames(candidates), expected);
}

void ComPortListTest::uartPlaceholdersAreNotPorts()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addUart(0, 0);
    roots.addUart(1, 4);
    roots.addUart(2, 0);
    roots.addTty(QStringLiteral("ttyS3"), true); // no type file: not a UART we can use

    const QList<ComPort> ports = EnumerateComPorts(roots.sysRoot(), roots.dosdevices(), roots.devRoot());
    QCOMPARE(namesOf(ports), QStringList{"COM2"});
    QCOMPARE(ports[0].devicePath, roots.devRoot() + QStringLiteral("/ttyS1"));
}

void ComPortListTest::usbAndAcmNumbering()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addTty(QStringLiteral("ttyUSB0"), true);
    roots.addTty(QStringLiteral("ttyUSB1"), false); // left over, no hardware behind it
    roots.addTty(QStringLiteral("ttyUSB31"), true);
    roots.addTty(QStringLiteral("ttyUSB32"), true); // beyond the named range
    roots.addTty(QStringLiteral("ttyACM2"), true);
    roots.addTty(QStringLiteral("tty0"), true);
    roots.addTty(QStringLiteral("console"), true);

    const QList<ComPort> ports = EnumerateComPorts(roots.sysRoot(), roots.dosdevices(), roots.devRoot());
    QCOMPARE(namesOf(ports), (QStringList{"COM33", "COM64", "COM67"}));
    QCOMPARE(ports[0].devicePath, roots.devRoot() + QStringLiteral("/ttyUSB0"));
    QCOMPARE(ports[1].devicePath, roots.devRoot() + QStringLiteral("/ttyUSB31"));
    QCOMPARE(ports[2].devicePath, roots.devRoot() + QStringLiteral("/ttyACM2"));
}

void ComPortListTest::overridesWinAndOddLinksAreSkipped()
{
    FakeHostRoots roots;
    PseudoTerminal pty;
    QVERIFY(roots.isValid());
    QVERIFY(pty.isValid());
    roots.addUart(0, 4);
    roots.addLink(QStringLiteral("com1"), pty.slavePath());
    roots.addLink(QStringLiteral("com12"), pty.slavePath());
    roots.addLink(QStringLiteral("com0"), pty.slavePath());
    roots.addLink(QStringLiteral("comx"), pty.slavePath());
    roots.addLink(QStringLiteral("com1x"), pty.slavePath());
    roots.addLink(QStringLiteral("com05"), pty.slavePath());
    roots.addLink(QStringLiteral("lpt1"), pty.slavePath());
    roots.addLink(QStringLiteral("com7"), roots.devRoot() + QStringLiteral("/gone"));
    QFile plainFile(roots.dosdevices() + QStringLiteral("/com8"));
    QVERIFY(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();

    const QList<ComPort> ports = EnumerateComPorts(roots.sysRoot(), roots.dosdevices(), roots.devRoot());
    QCOMPARE(namesOf(ports), (QStringList{"COM1", "COM12"}));
    QCOMPARE(ports[0].devicePath, pty.slavePath());
    QCOMPARE(ports[1].devicePath, pty.slavePath());
}

void ComPortListTest::danglingOverrideHidesItsDefault()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addTty(QStringLiteral("ttyUSB0"), true);
    roots.addTty(QStringLiteral("ttyUSB1"), true);
    roots.addLink(QStringLiteral("com33"), QStringLiteral("/nonexistent/serial/by-id/usb-rotator"));

    const QList<ComPort> ports = EnumerateComPorts(roots.sysRoot(), roots.dosdevices(), roots.devRoot());
    QCOMPARE(namesOf(ports), QStringList{"COM34"});
}

void ComPortListTest::mixedSourcesSortAsText()
{
    FakeHostRoots roots;
    PseudoTerminal pty;
    QVERIFY(roots.isValid());
    QVERIFY(pty.isValid());
    roots.addUart(2, 4);
    roots.addUart(0, 4);
    roots.addLink(QStringLiteral("com10"), pty.slavePath());

    QCOMPARE(namesOf(EnumerateComPorts(roots.sysRoot(), roots.dosdevices(), roots.devRoot())),
             (QStringList{"COM1", "COM10", "COM3"}));
}

void ComPortListTest::missingRootsGiveNoPorts()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const QString nowhere = empty.filePath(QStringLiteral("missing"));
    QVERIFY(EnumerateComPorts(nowhere, nowhere, nowhere).isEmpty());
    QVERIFY(EnumerateComPorts(nowhere, QString(), nowhere).isEmpty());
}

// The setup dialog shows a port's path from the list; the channel opens the
// path it resolves from the name. Both must agree.
void ComPortListTest::listedPathsAreTheOnesOpened()
{
    FakeHostRoots roots;
    PseudoTerminal pty;
    QVERIFY(roots.isValid());
    QVERIFY(pty.isValid());
    roots.addUart(0, 4);
    roots.addDevNode(QStringLiteral("ttyS0"));
    roots.addTty(QStringLiteral("ttyACM0"), true);
    roots.addDevNode(QStringLiteral("ttyACM0"));
    roots.addUart(4, 4);
    roots.addDevNode(QStringLiteral("ttyS4"));
    roots.addLink(QStringLiteral("com5"), pty.slavePath());

    const QList<ComPort> ports = EnumerateComPorts(roots.sysRoot(), roots.dosdevices(), roots.devRoot());
    QCOMPARE(namesOf(ports), (QStringList{"COM1", "COM5", "COM65"}));
    for (const ComPort &port : ports)
        QCOMPARE(devicePathForComName(port.name, roots.dosdevices(), roots.devRoot()), port.devicePath);
}

static const QString FtdiById = QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

// One machine with two USB adapters of the same kind would be told apart by their
// serial numbers; here a few kinds show each way the details are found.
void ComPortListTest::adapterDetails_data()
{
    QTest::addColumn<QString>("comName");
    QTest::addColumn<QString>("adapter");
    QTest::addColumn<QString>("byId"); // relative to the dev root; empty for none
    const QString ftdiId = QStringLiteral("serial/by-id/") + FtdiById;
    QTest::newRow("ttyUSB, port below the interface") << "COM33" << "FTDI FT232R USB UART A50285BI" << ftdiId;
    QTest::newRow("ttyACM, the interface itself") << "COM65" << "Arduino (www.arduino.cc) Uno"
                                                  << "serial/by-id/usb-Arduino__www.arduino.cc__Uno-if00";
    QTest::newRow("no descriptor strings") << "COM34" << "USB 067b:2303" << "";
    QTest::newRow("built-in UART") << "COM1" << "" << "";
    QTest::newRow("pinned to its by-id link") << "COM5" << "FTDI FT232R USB UART A50285BI" << ftdiId;
    QTest::newRow("pseudo-terminal override") << "COM7" << "" << "";
}

void ComPortListTest::adapterDetails()
{
    QFETCH(QString, comName);
    QFETCH(QString, adapter);
    QFETCH(QString, byId);
    FakeHostRoots roots;
    PseudoTerminal pty;
    QVERIFY(roots.isValid());
    QVERIFY(pty.isValid());
    roots.addUart(0, 4);
    roots.addDevNode(QStringLiteral("ttyS0"));
    roots.addUsbTty(QStringLiteral("ttyUSB0"), {{"idVendor", "0403"}, {"idProduct", "6001"}, {"manufacturer", "FTDI"},
                                                {"product", "FT232R USB UART"}, {"serial", "A50285BI"}});
    roots.addUsbTty(QStringLiteral("ttyUSB1"), {{"idVendor", "067b"}, {"idProduct", "2303"}});
    roots.addUsbTty(QStringLiteral("ttyACM0"), {{"idVendor", "2341"}, {"idProduct", "0043"},
                                                {"manufacturer", "Arduino (www.arduino.cc)"}, {"product", "Uno"}});
    roots.addByIdLink(FtdiById, QStringLiteral("ttyUSB0"));
    roots.addByIdLink(QStringLiteral("usb-Arduino__www.arduino.cc__Uno-if00"), QStringLiteral("ttyACM0"));
    roots.addByIdLink(QStringLiteral("usb-gone-if00"), QStringLiteral("ttyUSB9"));
    roots.addLink(QStringLiteral("com5"), roots.devRoot() + QStringLiteral("/serial/by-id/") + FtdiById);
    roots.addLink(QStringLiteral("com7"), pty.slavePath());

    const QList<ComPort> ports = EnumerateComPorts(roots.sysRoot(), roots.dosdevices(), roots.devRoot());
    const int index = namesOf(ports).indexOf(comName);
    QVERIFY2(index >= 0, qPrintable(namesOf(ports).join(QLatin1Char(' '))));
    QCOMPARE(ports[index].adapter, adapter);
    QCOMPARE(ports[index].byIdPath, byId.isEmpty() ? QString() : roots.devRoot() + QLatin1Char('/') + byId);
}

// COM33 pinned to the adapter's by-id link is then listed through it, with the
// adapter's details; whatever stood in dosdevices before is replaced or reported.
void ComPortListTest::pinning_data()
{
    QTest::addColumn<QString>("before"); // "none", "folder", "link" (com33 -> ttyUSB0), "file" (dosdevices a file)
    QTest::addColumn<bool>("pinned");
    QTest::newRow("no dosdevices folder yet") << "none" << true;
    QTest::newRow("empty folder") << "folder" << true;
    QTest::newRow("link replaced") << "link" << true;
    QTest::newRow("dosdevices is a file") << "file" << false;
}

void ComPortListTest::pinning()
{
    QFETCH(QString, before);
    QFETCH(bool, pinned);
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addUsbTty(QStringLiteral("ttyUSB0"), {{"idVendor", "0403"}, {"manufacturer", "FTDI"}, {"serial", "A5"}});
    roots.addByIdLink(FtdiById, QStringLiteral("ttyUSB0"));
    const QString byId = roots.devRoot() + QStringLiteral("/serial/by-id/") + FtdiById;
    const QString dosdevices = roots.dosdevices() + QStringLiteral("/../settings/dosdevices");
    QVERIFY(QDir().mkpath(roots.dosdevices() + QStringLiteral("/../settings")));
    if (before == QLatin1String("folder") || before == QLatin1String("link"))
        QVERIFY(QDir().mkpath(dosdevices));
    if (before == QLatin1String("link"))
        QVERIFY(QFile::link(roots.devRoot() + QStringLiteral("/ttyUSB0"), dosdevices + QStringLiteral("/com33")));
    if (before == QLatin1String("file")) {
        QFile file(dosdevices);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QString error;
    QCOMPARE(pinComName(dosdevices, 33, byId, &error), pinned);
    QCOMPARE(error.isEmpty(), pinned);
    const QList<ComPort> ports = EnumerateComPorts(roots.sysRoot(), dosdevices, roots.devRoot());
    QCOMPARE(namesOf(ports), QStringList {"COM33"});
    QCOMPARE(ports[0].devicePath, pinned ? byId : roots.devRoot() + QStringLiteral("/ttyUSB0"));
    QCOMPARE(ports[0].adapter, QStringLiteral("FTDI A5"));
    if (pinned)
        QCOMPARE(QDir(dosdevices).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList {"com33"});
}

QTEST_GUILESS_MAIN(ComPortListTest)
#include "tst_ComPortList.moc"
