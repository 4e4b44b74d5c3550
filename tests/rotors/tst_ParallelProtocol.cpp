#include "rotors/ParallelProtocol.h"

#include <QTest>

// The azimuth as the parallel boxes' output step: calibration, zero point, and
// what happens at both ends of the scale.
class TestParallelProtocol : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void outputValue_data()
    {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<double>("zero");
        QTest::addColumn<double>("calibration");
        QTest::addColumn<int>("expected");
        constexpr double PourSat = 0.5138901;
        constexpr double FodTrack = 0.711;
        QTest::newRow("PourSat 45 (23.125)") << 45.0 << 0.0 << PourSat << 23;
        QTest::newRow("PourSat 359") << 359.0 << 0.0 << PourSat << 184;
        QTest::newRow("FODTrack 45 (31.995)") << 45.0 << 0.0 << FodTrack << 32;
        QTest::newRow("FODTrack 359 (255.249)") << 359.0 << 0.0 << FodTrack << 255;
        QTest::newRow("FODTrack 359.9 (256, clamped)") << 359.9 << 0.0 << FodTrack << 255;
        QTest::newRow("zero 10, 5 wraps to the top") << 5.0 << 10.0 << PourSat << 182;
        QTest::newRow("zero -10, 355 wraps to the bottom") << 355.0 << -10.0 << FodTrack << 4;
        QTest::newRow("zero -10, 100 stays") << 100.0 << -10.0 << FodTrack << 78;
        QTest::newRow("zero 0, negative product") << 10.0 << 0.0 << -1.0 << 0;
        QTest::newRow("zero 20, at the zero point") << 20.0 << 20.0 << FodTrack << 0;
        QTest::newRow("half to even, down") << 5.0 << 0.0 << 0.5 << 2;
        QTest::newRow("half to even, up") << 7.0 << 0.0 << 0.5 << 4;
        // Calibrations wider than the scale: never wrapped through 16 bits nor
        // past either end of the byte.
        QTest::newRow("product beyond 16 bits") << 300.0 << 0.0 << 200.0 << 255;
        QTest::newRow("wrap to the bottom falls below 0") << 300.0 << -10.0 << 3.0 << 0;
        QTest::newRow("wrap to the top still too high") << 5.0 << 10.0 << 3.0 << 255;
    }

    void outputValue()
    {
        QFETCH(double, azimuth);
        QFETCH(double, zero);
        QFETCH(double, calibration);
        QFETCH(int, expected);
        QCOMPARE(int(ParallelProtocol::outputValue(azimuth, zero, calibration)), expected);
    }
};

QTEST_GUILESS_MAIN(TestParallelProtocol)
#include "tst_ParallelProtocol.moc"
