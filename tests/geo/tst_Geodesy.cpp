#include "geo/Geodesy.h"

#include <QTest>

#include <cmath>

namespace {

// WGS84 figures published with the ellipsoid: the equatorial radius, and the
// quarter meridian (equator to pole) of 10 001 965.729 m.
constexpr double EquatorialRadius = 6378.137;
constexpr double QuarterMeridian = 10001.965729;
constexpr double Pi = 3.14159265358979323846;

constexpr double AzimuthTolerance = 0.1; // degrees
constexpr double DistanceTolerance = 1;  // km

double degrees(double d, double m, double s)
{
    return d + m / 60 + s / 3600;
}

// The smaller angle between two azimuths, so 359.95 and 0.02 are close.
double azimuthGap(double a, double b)
{
    const double gap = std::fmod(std::abs(a - b), 360.0);
    return std::min(gap, 360 - gap);
}

} // namespace

class TestGeodesy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paths_data();
    void paths();
    void longPathNeverShorter_data();
    void longPathNeverShorter();
    void longPathAzimuth_data();
    void longPathAzimuth();
    void meanCircumference();
};

// Reference values from outside this program: GeographicLib's published example
// (JFK to Singapore in its GeodSolve manual), and the ellipsoid's own figures for
// paths along the equator and the meridians, where a long path is the rest of the
// equator or of the meridian ellipse. A negative long distance is not checked.
void TestGeodesy::paths_data()
{
    QTest::addColumn<double>("homeLatitude");
    QTest::addColumn<double>("homeLongitude");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("shortAzimuth");
    QTest::addColumn<double>("shortDistance");
    QTest::addColumn<double>("longAzimuth");
    QTest::addColumn<double>("longDistance");

    const double equator = 2 * Pi * EquatorialRadius;
    const double meridian = 4 * QuarterMeridian;

    // 003:18:29.9, 15 347 628 m.
    QTest::newRow("JFK to Singapore") << degrees(40, 38, 23) << -degrees(73, 46, 44) << degrees(1, 21, 33)
                                      << degrees(103, 59, 22) << degrees(3, 18, 29.9) << 15347.628
                                      << 180 + degrees(3, 18, 29.9) << -1.0;
    QTest::newRow("quarter of the equator, east") << 0.0 << 0.0 << 0.0 << 90.0 << 90.0 << equator / 4 << 270.0
                                                  << equator * 3 / 4;
    QTest::newRow("along the equator, west") << 0.0 << 10.0 << 0.0 << -20.0 << 270.0 << equator * 30 / 360 << 90.0
                                             << equator * 330 / 360;
    QTest::newRow("equator to the north pole") << 0.0 << 0.0 << 90.0 << 0.0 << 0.0 << QuarterMeridian << 180.0
                                               << meridian * 3 / 4;
    QTest::newRow("due south, pole to pole") << 90.0 << 0.0 << -90.0 << 0.0 << 180.0 << 2 * QuarterMeridian << 0.0
                                             << 2 * QuarterMeridian;
    // Antipodes on the equator: the shortest way is over a pole (half the
    // meridian ellipse is shorter than half the equator); GeographicLib takes north.
    QTest::newRow("antipodes on the equator") << 0.0 << 0.0 << 0.0 << 180.0 << 0.0 << 2 * QuarterMeridian << 180.0
                                              << 2 * QuarterMeridian;
    // Home on the north pole: every way is south; the azimuth is counted from the
    // home's own meridian (0°), so the 90°E meridian leaves at 90°.
    QTest::newRow("from the pole down 0°") << 90.0 << 0.0 << 0.0 << 0.0 << 180.0 << QuarterMeridian << 0.0
                                           << meridian * 3 / 4;
    QTest::newRow("from the pole down 90°E") << 90.0 << 0.0 << 0.0 << 90.0 << 90.0 << QuarterMeridian << 270.0
                                             << meridian * 3 / 4;
    // Two points 0.1° from the pole on opposite meridians: straight over it, about
    // 0.2° of the meridian where its radius of curvature is a²/b (6 399 593.6 m).
    QTest::newRow("across the pole") << 89.9 << 0.0 << 89.9 << 180.0 << 0.0 << 0.2 * Pi / 180 * 6399.5936 << 180.0
                                     << meridian - 0.2 * Pi / 180 * 6399.5936;
    QTest::newRow("the same place") << 48.85 << 2.35 << 48.85 << 2.35 << 0.0 << 0.0 << 180.0 << meridian;
}

void TestGeodesy::paths()
{
    QFETCH(double, homeLatitude);
    QFETCH(double, homeLongitude);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, shortAzimuth);
    QFETCH(double, shortDistance);
    QFETCH(double, longAzimuth);
    QFETCH(double, longDistance);
    const Geodesy::Paths paths = Geodesy::solve({homeLatitude, homeLongitude}, {latitude, longitude});
    const QByteArray got = QByteArray::number(paths.shortAzimuth, 'f', 4) + "° " + QByteArray::number(paths.shortDistance, 'f', 3)
        + " km, " + QByteArray::number(paths.longAzimuth, 'f', 4) + "° " + QByteArray::number(paths.longDistance, 'f', 3) + " km";
    QVERIFY2(azimuthGap(paths.shortAzimuth, shortAzimuth) < AzimuthTolerance, got.constData());
    QVERIFY2(std::abs(paths.shortDistance - shortDistance) < DistanceTolerance, got.constData());
    QVERIFY2(azimuthGap(paths.longAzimuth, longAzimuth) < AzimuthTolerance, got.constData());
    if (longDistance >= 0)
        QVERIFY2(std::abs(paths.longDistance - longDistance) < DistanceTolerance, got.constData());
    QVERIFY(paths.shortAzimuth >= 0 && paths.shortAzimuth < 360);
    QVERIFY(paths.longAzimuth >= 0 && paths.longAzimuth < 360);
}

// Where no published figure exists, the two paths together go once round the
// Earth: between the meridian ellipse (shortest way round) and the equator
// (longest), and the long path is never the shorter.
void TestGeodesy::longPathNeverShorter_data()
{
    QTest::addColumn<double>("homeLatitude");
    QTest::addColumn<double>("homeLongitude");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");

    QTest::newRow("JFK to Singapore") << 40.64 << -73.78 << 1.36 << 103.99;
    QTest::newRow("Berlin to Wellington") << 52.52 << 13.41 << -41.29 << 174.78;
    QTest::newRow("Tokyo to Buenos Aires") << 35.68 << 139.69 << -34.60 << -58.38;
    QTest::newRow("nearly antipodal") << 40.0 << -3.7 << -40.0 << 176.2;
    QTest::newRow("neighbours") << 48.85 << 2.35 << 48.86 << 2.36;
    QTest::newRow("near the south pole") << -89.99 << 45.0 << -60.0 << -120.0;
}

void TestGeodesy::longPathNeverShorter()
{
    QFETCH(double, homeLatitude);
    QFETCH(double, homeLongitude);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    const Geodesy::Paths paths = Geodesy::solve({homeLatitude, homeLongitude}, {latitude, longitude});
    const double around = paths.shortDistance + paths.longDistance;
    QVERIFY2(around >= 4 * QuarterMeridian - DistanceTolerance, qPrintable(QString::number(around)));
    QVERIFY2(around <= 2 * Pi * EquatorialRadius + DistanceTolerance, qPrintable(QString::number(around)));
    QVERIFY(paths.longDistance >= paths.shortDistance);
    QVERIFY(paths.shortDistance <= 2 * QuarterMeridian + DistanceTolerance);
}

void TestGeodesy::longPathAzimuth_data()
{
    QTest::addColumn<double>("shortAzimuth");
    QTest::addColumn<double>("longAzimuth");
    QTest::newRow("north") << 0.0 << 180.0;
    QTest::newRow("east") << 90.0 << 270.0;
    QTest::newRow("south") << 180.0 << 0.0;
    QTest::newRow("wraps") << 200.5 << 20.5;
    QTest::newRow("full circle") << 360.0 << 180.0;
    QTest::newRow("just below north") << 359.9 << 179.9;
    QTest::newRow("tiny below south") << 180.0 - 1e-15 << 0.0;
}

void TestGeodesy::longPathAzimuth()
{
    QFETCH(double, shortAzimuth);
    QFETCH(double, longAzimuth);
    const double result = Geodesy::longPathAzimuth(shortAzimuth);
    QVERIFY2(azimuthGap(result, longAzimuth) < 1e-9, qPrintable(QString::number(result, 'g', 17)));
    QVERIFY(result >= 0 && result < 360);
}

// The mean radius of WGS84 is (2a + b) / 3 = 6 371 008.8 m.
void TestGeodesy::meanCircumference()
{
    QVERIFY(std::abs(Geodesy::meanCircumference() - 2 * Pi * 6371.0088) < 0.01);
    QVERIFY(std::abs(Geodesy::longPathDistance(1000) - (2 * Pi * 6371.0088 - 1000)) < 0.01);
}

QTEST_GUILESS_MAIN(TestGeodesy)
#include "tst_Geodesy.moc"
