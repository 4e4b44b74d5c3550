#include "FakeHostRoots.h"
#include "rotors/PpdevPortIo.h"

#include <QTest>

// The ppdev backend without hardware: port lookup in fake proc and dev trees,
// and every way a call can fail being reported once through GetLastState.
class TestPpdevPortIo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_roots = std::make_unique<FakeHostRoots>();
        QVERIFY(m_roots->isValid());
        m_roots->addParport(QStringLiteral("parport0"), "888\t1912\n");
        m_roots->addParport(QStringLiteral("parport1"), "632\t1656\n");
    }

    void lptAddressesFromProc()
    {
        PpdevPortIo io(m_roots->procRoot(), m_roots->devRoot());
        QCOMPARE(io.GetLPTPortAddress(1), quint16(0x378));
        QCOMPARE(io.GetLPTPortAddress(2), quint16(0x278));
        QCOMPARE(io.GetLPTPortAddress(3), quint16(0));
        QCOMPARE(io.GetLPTPortAddress(0), quint16(0));
        QCOMPARE(io.GetLPTPortAddress(4), quint16(0));
        QVERIFY(io.IsWinNT());
    }

    void enableFailures_data()
    {
        QTest::addColumn<bool>("withNode");
        QTest::addColumn<int>("base");
        QTest::addColumn<QString>("textPart");
        QTest::newRow("no port at that address") << true << 0x3BC << QStringLiteral("03BC");
        QTest::newRow("no device node") << false << 0x278 << QStringLiteral("/parport1: ");
        // A plain file opens but refuses the claim, as a node of another driver would.
        QTest::newRow("not a ppdev node") << true << 0x278 << QStringLiteral("/parport1: ");
    }

    void enableFailures()
    {
        QFETCH(bool, withNode);
        QFETCH(int, base);
        QFETCH(QString, textPart);
        if (withNode)
            m_roots->addDevNode(QStringLiteral("parport1"));
        PpdevPortIo io(m_roots->procRoot(), m_roots->devRoot());
        io.EnablePorts(quint16(base), quint16(base));
        QVERIFY(!io.isEnabled(quint16(base)));

        QString text;
        QVERIFY(io.GetLastState(&text) != 0);
        QVERIFY2(text.contains(textPart), qPrintable(text));
        // Reported once: the next query starts clean.
        QCOMPARE(io.GetLastState(&text), 0);
        QVERIFY(text.isEmpty());
    }

    void writesNeedAnEnabledPort()
    {
        PpdevPortIo io(m_roots->procRoot(), m_roots->devRoot());
        io.Outport(0x37A, 0);
        QString text;
        QVERIFY(io.GetLastState(&text) != 0);
        QVERIFY2(text.contains(QStringLiteral("037A")), qPrintable(text));
    }

    void disablingAPortNeverEnabledIsHarmless()
    {
        PpdevPortIo io(m_roots->procRoot(), m_roots->devRoot());
        io.DisablePorts(0x378, 0x378);
        QString text;
        QCOMPARE(io.GetLastState(&text), 0);
    }

private:
    std::unique_ptr<FakeHostRoots> m_roots;
};

QTEST_GUILESS_MAIN(TestPpdevPortIo)
#include "tst_PpdevPortIo.moc"
