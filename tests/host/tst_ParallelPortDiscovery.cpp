#include "FakeHostRoots.h"
#include "host/LptPortTable.h"
#include "host/ParallelPortDiscovery.h"

#include <QtTest>

class ParallelPortDiscoveryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void baseAddressFile_data();
    void baseAddressFile();
    void portsFillTheirOwnSlots();
    void noParallelPort();
    void oddEntriesAreSkipped();
    void startUpFillsBothAddressTables();
    void badAddressTextZeroesEverything();
    void listItemsUseTheInterfaceTable();
    void savedLptSelection_data();
    void savedLptSelection();
    void ppdevNodeForBase();
};

void ParallelPortDiscoveryTest::baseAddressFile_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("address");
    QTest::newRow("kernel form") << QByteArray("888\t1912\n") << "LPT1 [0378h]" << 0x378;
    QTest::newRow("base only") << QByteArray("632\n") << "LPT1 [0278h]" << 0x278;
    QTest::newRow("leading blanks") << QByteArray("  956 1980") << "LPT1 [03BCh]" << 0x3BC;
    QTest::newRow("PCI card") << QByteArray("53248\t53256\n") << "LPT1 [D000h]" << 0xD000;
    QTest::newRow("hex text") << QByteArray("0x378\t0x778\n") << "          [0000h]" << 0;
    QTest::newRow("garbage") << QByteArray("parport\n") << "          [0000h]" << 0;
    QTest::newRow("empty") << QByteArray() << "          [0000h]" << 0;
    QTest::newRow("negative") << QByteArray("-1\t-1\n") << "          [0000h]" << 0;
    QTest::newRow("zero") << QByteArray("0\t0\n") << "          [0000h]" << 0;
    QTest::newRow("above 16 bits") << QByteArray("65536\t0\n") << "          [0000h]" << 0;
    QTest::newRow("binary") << QByteArray("\xff\xfe\x00\x01", 4) << "          [0000h]" << 0;
}

void ParallelPortDiscoveryTest::baseAddressFile()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, item);
    QFETCH(int, address);
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addParport(QStringLiteral("parport0"), contents);

    const ParallelPortStartup startup = startParallelPorts(roots.sysRoot(), roots.procRoot(), roots.devRoot());
    QCOMPARE(lptListItemText(startup.lptPorts[0], startup.pourSatAddresses[0]), item);
    QCOMPARE(int(startup.lptPorts[0].address), address);
    QCOMPARE(int(parportBaseAddress(roots.procRoot(), 0)), address);
}

void ParallelPortDiscoveryTest::portsFillTheirOwnSlots()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addParport(QStringLiteral("parport2"), "632\t1656\n");
    roots.addParport(QStringLiteral("parport0"), "888\t1912\n");

    const LptPortTable table = DiscoverParallelPorts(roots.procRoot());
    QCOMPARE(table[0].name, QStringLiteral("LPT1"));
    QCOMPARE(table[0].addressText, QStringLiteral("0378"));
    QCOMPARE(table[1].name, QString());
    QCOMPARE(table[1].addressText, QStringLiteral("0000"));
    QCOMPARE(table[2].name, QStringLiteral("LPT3"));
    QCOMPARE(table[2].addressText, QStringLiteral("0278"));
}

void ParallelPortDiscoveryTest::noParallelPort()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    const ParallelPortStartup startup = startParallelPorts(roots.sysRoot(), roots.procRoot(), roots.devRoot());

    const QStringList blank(3, QStringLiteral("          [0000h]"));
    QCOMPARE(lptListItems(startup.lptPorts, startup.pourSatAddresses), blank);
    QCOMPARE(lptListItems(startup.lptPorts, startup.fodTrackAddresses), blank);
    for (const LptPort &port : startup.lptPorts) {
        QCOMPARE(port.addressText, QStringLiteral("0000"));
        QCOMPARE(port.address, quint16(0));
    }
    QCOMPARE(startup.pourSatAddresses, (ParallelAddressTable{0, 0, 0}));
    QVERIFY(!startup.PortDriverPresent);
    QVERIFY(!startup.portsUsable());
}

void ParallelPortDiscoveryTest::oddEntriesAreSkipped()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addParport(QStringLiteral("parport99"), "888\t1912\n"); // no fourth slot
    roots.addParport(QStringLiteral("parportx"), "632\n");
    roots.addParport(QStringLiteral("default"), "632\n");
    roots.addParport(QStringLiteral("parport1"), "nonsense");
    QDir().mkpath(roots.procRoot() + QStringLiteral("/sys/dev/parport/parport2/base-addr")); // a folder, not a file

    const LptPortTable table = DiscoverParallelPorts(roots.procRoot());
    for (const LptPort &port : table) {
        QCOMPARE(port.name, QString());
        QCOMPARE(port.addressText, QStringLiteral("0000"));
    }
}

void ParallelPortDiscoveryTest::startUpFillsBothAddressTables()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addParport(QStringLiteral("parport0"), "888\t1912\n");
    roots.addParport(QStringLiteral("parport1"), "956\t1980\n");
    roots.addModule(QStringLiteral("ppdev"));

    const ParallelPortStartup startup = startParallelPorts(roots.sysRoot(), roots.procRoot(), roots.devRoot());
    QVERIFY(startup.PortDriverPresent);
    QVERIFY(startup.NtFamily);
    QVERIFY(startup.portsUsable());
    QVERIFY(startup.portRangesEnabled());
    const ParallelAddressTable expected{0x378, 0x3BC, 0};
    QCOMPARE(startup.pourSatAddresses, expected);
    QCOMPARE(startup.fodTrackAddresses, expected);
    QCOMPARE(startup.lptPorts[1].address, quint16(0x3BC));
    QCOMPARE(lptListItems(startup.lptPorts, startup.fodTrackAddresses),
             (QStringList{"LPT1 [0378h]", "LPT2 [03BCh]", "          [0000h]"}));
}

void ParallelPortDiscoveryTest::badAddressTextZeroesEverything()
{
    LptPortTable table;
    table[0] = {QStringLiteral("LPT1"), QStringLiteral("0378"), 0};
    table[1] = {QStringLiteral("LPT2"), QStringLiteral("03ZZ"), 0};
    table[2] = {QStringLiteral("LPT3"), QStringLiteral("0278"), 0x278};

    const ParallelAddressTables tables = convertAddressTexts(table);
    QCOMPARE(tables.pourSat, (ParallelAddressTable{0, 0, 0}));
    QCOMPARE(tables.fodTrack, (ParallelAddressTable{0, 0, 0}));
    for (const LptPort &port : table) {
        QCOMPARE(port.addressText, QStringLiteral("0000"));
        QCOMPARE(port.address, quint16(0));
    }
    // Names stay: the dialog still lists the ports, with address 0000.
    QCOMPARE(lptListItemText(table[0], tables.pourSat[0]), QStringLiteral("LPT1 [0000h]"));
}

void ParallelPortDiscoveryTest::listItemsUseTheInterfaceTable()
{
    LptPortTable table;
    table[0] = {QStringLiteral("LPT1"), QStringLiteral("0378"), 0x378};
    QCOMPARE(lptListItems(table, {0x3BC, 0x278, 0}),
             (QStringList{"LPT1 [03BCh]", "          [0000h]", "          [0000h]"}));
}

void ParallelPortDiscoveryTest::savedLptSelection_data()
{
    QTest::addColumn<int>("savedIndex");
    QTest::addColumn<int>("selected");
    QTest::newRow("LPT1 found") << 0 << 0;
    QTest::newRow("LPT2 missing") << 1 << -1;
    QTest::newRow("LPT3 found") << 2 << 2;
    QTest::newRow("none") << -1 << -1;
    QTest::newRow("LPT4 out of range") << 3 << -1;
    QTest::newRow("huge") << 1000 << -1;
    QTest::newRow("negative") << -7 << -1;
}

void ParallelPortDiscoveryTest::savedLptSelection()
{
    QFETCH(int, savedIndex);
    QFETCH(int, selected);
    LptPortTable table;
    table[0] = {QStringLiteral("LPT1"), QStringLiteral("0378"), 0x378};
    table[2] = {QStringLiteral("LPT3"), QStringLiteral("0278"), 0x278};
    QCOMPARE(lptSelection(table, savedIndex), selected);
}

void ParallelPortDiscoveryTest::ppdevNodeForBase()
{
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    roots.addParport(QStringLiteral("parport0"), "888\t1912\n");
    roots.addParport(QStringLiteral("parport1"), "garbage");
    roots.addParport(QStringLiteral("parport3"), "632\t1656\n");
    roots.addParport(QStringLiteral("parportx"), "956\n");

    QCOMPARE(ppdevDeviceForBase(0x378, roots.procRoot(), roots.devRoot()),
             roots.devRoot() + QStringLiteral("/parport0"));
    QCOMPARE(ppdevDeviceForBase(0x278, roots.procRoot(), roots.devRoot()),
             roots.devRoot() + QStringLiteral("/parport3"));
    QCOMPARE(ppdevDeviceForBase(0x3BC, roots.procRoot(), roots.devRoot()), QString());
    QCOMPARE(ppdevDeviceForBase(0, roots.procRoot(), roots.devRoot()), QString());
}

QTEST_GUILESS_MAIN(ParallelPortDiscoveryTest)
#include "tst_ParallelPortDiscovery.moc"
