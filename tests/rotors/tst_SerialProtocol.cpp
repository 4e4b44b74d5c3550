#include "rotors/SerialProtocol.h"

#include <QTest>

Q_DECLARE_METATYPE(InterfaceKind)

// The controllers' fields and command texts, checked without a port.
class TestSerialProtocol : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void threeDigitField_data()
    {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("359.6 rounds up into the next turn") << 359.6 << 0 << QByteArray("000");
        QTest::newRow("44.5 halves to even below") << 44.5 << 0 << QByteArray("044");
        QTest::newRow("45.5 halves to even above") << 45.5 << 0 << QByteArray("046");
        QTest::newRow("0.5 halves to zero") << 0.5 << 0 << QByteArray("000");
        QTest::newRow("one digit padded") << 7.0 << 0 << QByteArray("007");
        QTest::newRow("two digits padded") << 45.0 << 0 << QByteArray("045");
        QTest::newRow("offset +30 wraps below zero") << 10.0 << 30 << QByteArray("340");
        QTest::newRow("offset -30 wraps past 359") << 350.0 << -30 << QByteArray("020");
        QTest::newRow("offset lands exactly on 360") << 330.0 << -30 << QByteArray("000");
        QTest::newRow("offset lands exactly on 0") << 30.0 << 30 << QByteArray("000");
        // Offsets from a hand-edited file, beyond one turn.
        QTest::newRow("offset 500") << 45.0 << 500 << QByteArray("265");
        QTest::newRow("offset -1000") << 45.0 << -1000 << QByteArray("325");
        QTest::newRow("359.4 stays") << 359.4 << 0 << QByteArray("359");
    }
    void threeDigitField()
    {
        QFETCH(double, azimuth);
        QFETCH(int, offset);
        QFETCH(QByteArray, field);
        QCOMPARE(SerialProtocol::threeDigitField(azimuth, offset), field);
    }

    void stopSide_data()
    {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<int>("stopSide");
        QTest::addColumn<double>("turned");
        QTest::newRow("north leaves it") << 90.0 << 0 << 90.0;
        QTest::newRow("south 180 -> 0") << 180.0 << 1 << 0.0;
        QTest::newRow("south 90 -> 270") << 90.0 << 1 << 270.0;
        QTest::newRow("south 7.4 -> 187.4") << 7.4 << 1 << 187.4;
        QTest::newRow("south 359 -> 179") << 359.0 << 1 << 179.0;
    }
    void stopSide()
    {
        QFETCH(double, azimuth);
        QFETCH(int, stopSide);
        QFETCH(double, turned);
        QCOMPARE(SerialProtocol::applyStopSide(azimuth, stopSide), turned);
    }

    void minimumStep_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("commanded");
        QTest::addColumn<double>("lastSent");
        QTest::addColumn<bool>("passes");
        QTest::newRow("half a degree under step 1") << 1 << 100.5 << 100.0 << false;
        QTest::newRow("equal to the step passes") << 1 << 101.0 << 100.0 << true;
        QTest::newRow("downwards counts too") << 5 << 95.0 << 100.0 << true;
        QTest::newRow("step 5, 104 held") << 5 << 104.0 << 100.0 << false;
        QTest::newRow("step 0 lets a repeat through") << 0 << 100.0 << 100.0 << true;
        QTest::newRow("after STOP, 0 with step 5") << 5 << 0.0 << -10.0 << true;
        QTest::newRow("after STOP, 2 with step 15") << 15 << 2.0 << -10.0 << false;
    }
    void minimumStep()
    {
        QFETCH(int, step);
        QFETCH(double, commanded);
        QFETCH(double, lastSent);
        QFETCH(bool, passes);
        QCOMPARE(SerialProtocol::passesMinimumStep(step, commanded, lastSent), passes);
    }

    void fractionalFields_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("M2 359.96 wraps to 0") << InterfaceKind::M2Orion << 359.96 << 0 << QByteArray("A0.0\r");
        QTest::newRow("M2 0") << InterfaceKind::M2Orion << 0.0 << 0 << QByteArray("A0.0\r");
        QTest::newRow("M2 5.5") << InterfaceKind::M2Orion << 5.5 << 0 << QByteArray("A5.5\r");
        QTest::newRow("M2 359.9") << InterfaceKind::M2Orion << 359.9 << 0 << QByteArray("A359.9\r");
        QTest::newRow("M2 offset wraps") << InterfaceKind::M2Orion << 1.0 << 2 << QByteArray("A359.0\r");
        QTest::newRow("M2 187.4 offset 2") << InterfaceKind::M2Orion << 187.4 << 2 << QByteArray("A185.4\r");
        QTest::newRow("EGIS 0.04") << InterfaceKind::Egis << 0.04 << 0 << QByteArray("&* AZ=000.04\r");
        QTest::newRow("EGIS 0") << InterfaceKind::Egis << 0.0 << 0 << QByteArray("&* AZ=000.00\r");
        QTest::newRow("EGIS 4.5") << InterfaceKind::Egis << 4.5 << 0 << QByteArray("&* AZ=004.50\r");
        QTest::newRow("EGIS 123.45") << InterfaceKind::Egis << 123.45 << 0 << QByteArray("&* AZ=123.45\r");
        QTest::newRow("EGIS 359.996 wraps") << InterfaceKind::Egis << 359.996 << 0 << QByteArray("&* AZ=000.00\r");
        QTest::newRow("EGIS 187.4 offset 2") << InterfaceKind::Egis << 187.4 << 2 << QByteArray("&* AZ=185.40\r");
    }
    void fractionalFields()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(double, azimuth);
        QFETCH(int, offset);
        QFETCH(QByteArray, text);
        const SerialCommand go = SerialProtocol::goCommand(kind, azimuth, offset, false);
        QCOMPARE(go.writes.size(), 1);
        QCOMPARE(go.writes.first().bytes, text);
    }

    // The controllers are paced by these pauses; they are the contract, not detail.
    void pacing()
    {
        const SerialCommand dcu = SerialProtocol::goCommand(InterfaceKind::Dcu1, 45, 0, false);
        QCOMPARE(dcu.writes, (QList<SerialWrite> {{"AP1045;\r", 10}, {"AM1;\r", 50}}));
        QCOMPARE(dcu.label, QByteArray("AP1045;\r"));

        const SerialCommand m2Stop = SerialProtocol::stopCommand(InterfaceKind::M2Orion);
        QCOMPARE(m2Stop.writes, (QList<SerialWrite> {{"A\r", 50}, {"S\r", 50}, {"N\r", 0}}));

        QCOMPARE(SerialProtocol::trakBoxProbe().writes, (QList<SerialWrite> {{"Q\r", 300}, {"7\r", 50}}));
        QCOMPARE(SerialProtocol::proSisTelOpening(true).writes, (QList<SerialWrite> {{"\x02" "AS\r", 50}}));
        QCOMPARE(SerialProtocol::proSisTelOpening(false).writes, (QList<SerialWrite> {{QByteArray(), 50}}));
    }

    void closingCommands_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<bool>("hostMode");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("GS232") << InterfaceKind::Gs232 << false << QByteArray("S\r");
        QTest::newRow("EasyComm differs from its STOP") << InterfaceKind::EasyComm << false << QByteArray("SA SE\r");
        QTest::newRow("DCU-1") << InterfaceKind::Dcu1 << false << QByteArray(";\r");
        QTest::newRow("ProSisTel") << InterfaceKind::ProSisTel << false << QByteArray("\x02" "AG977\r");
        QTest::newRow("TrakBox host mode") << InterfaceKind::TrakBox << true << QByteArray(" \r");
        QTest::newRow("TrakBox terminal mode") << InterfaceKind::TrakBox << false << QByteArray("Q\r");
        QTest::newRow("M2-ORION") << InterfaceKind::M2Orion << false << QByteArray("A\rS\rN\r");
        QTest::newRow("EGIS") << InterfaceKind::Egis << false << QByteArray("&* AZ=S\r");
    }
    void closingCommands()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(bool, hostMode);
        QFETCH(QByteArray, bytes);
        QByteArray all;
        for (const SerialWrite &write : SerialProtocol::closingCommand(kind, hostMode).writes)
            all += write.bytes;
        QCOMPARE(all, bytes);
    }
};

QTEST_GUILESS_MAIN(TestSerialProtocol)
#include "tst_SerialProtocol.moc"
