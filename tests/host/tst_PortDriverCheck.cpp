#include "FakeHostRoots.h"
#include "host/PortDriverCheck.h"

#include <QtTest>

class PortDriverCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void driverPresence_data();
    void driverPresence();
    void missingDriverMessage_data();
    void missingDriverMessage();
};

void PortDriverCheckTest::driverPresence_data()
{
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("devNode");
    QTest::addColumn<bool>("present");
    QTest::newRow("module loaded") << "ppdev" << "" << true;
    QTest::newRow("parport node") << "" << "parport0" << true;
    QTest::newRow("both") << "ppdev" << "parport1" << true;
    QTest::newRow("nothing") << "" << "" << false;
    QTest::newRow("only parport_pc") << "parport_pc" << "lp0" << false;
    QTest::newRow("similar names") << "ppdevx" << "Parport0" << false;
}

void PortDriverCheckTest::driverPresence()
{
    QFETCH(QString, module);
    QFETCH(QString, devNode);
    QFETCH(bool, present);
    FakeHostRoots roots;
    QVERIFY(roots.isValid());
    if (!module.isEmpty())
        roots.addModule(module);
    if (!devNode.isEmpty())
        roots.addDevNode(devNode);
    QCOMPARE(CheckPortDriver(roots.sysRoot(), roots.devRoot()), present);
}

void PortDriverCheckTest::missingDriverMessage_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("mandatoryLine");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("English") << false << "It is mandatory when controlling an LPT port."
                             << "and restart ORVANTIS.";
    QTest::newRow("French") << true << QString::fromUtf8("Il est nécessaire lors du contrôle d'un port LPT.")
                            << QString::fromUtf8("et redémarrez ORVANTIS.");
}

void PortDriverCheckTest::missingDriverMessage()
{
    QFETCH(bool, french);
    QFETCH(QString, mandatoryLine);
    QFETCH(QString, lastLine);
    const QString message = driverMissingMessage(french ? Language::french() : Language::english());
    const QStringList lines = message.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4);
    QVERIFY(!message.contains(QLatin1Char('\r')));
    QVERIFY(lines[0].contains(QLatin1String("ppdev")));
    QCOMPARE(lines[1], mandatoryLine);
    QVERIFY(lines[2].contains(QLatin1String("modprobe ppdev")));
    QVERIFY(lines[2].contains(QLatin1String(" lp")));
    QCOMPARE(lines[3], lastLine);
    QVERIFY(driverMissingMessage(french ? Language::english() : Language::french()) != message);
}

QTEST_GUILESS_MAIN(PortDriverCheckTest)
#include "tst_PortDriverCheck.moc"
