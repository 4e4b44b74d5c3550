#include "config/NumberText.h"
#include "ui/CompassGeometry.h"

#include <QTest>

class TestCompassGeometry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void needleEnd_data();
    void needleEnd();
};

void TestCompassGeometry::roundsHalfToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");

    QTest::newRow("10.5 down to even") << 10.5 << 10;
    QTest::newRow("11.5 up to even") << 11.5 << 12;
    QTest::newRow("55.5 up to even") << 55.5 << 56;
    QTest::newRow("12.5 down to even") << 12.5 << 12;
    QTest::newRow("0.5 to zero") << 0.5 << 0;
    QTest::newRow("-2.5 to -2") << -2.5 << -2;
    QTest::newRow("-3.5 to -4") << -3.5 << -4;
    QTest::newRow("just above a half") << 12.5000001 << 13;
    QTest::newRow("just below a half") << 11.4999999 << 11;
    QTest::newRow("whole") << 34.0 << 34;
}

void TestCompassGeometry::roundsHalfToEven()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(int(NumberText::roundHalfEven(value)), rounded);
}

void TestCompassGeometry::needleEnd_data()
{
    QTest::addColumn<int>("azimuth");
    QTest::addColumn<QPoint>("end");

    QTest::newRow("north") << 0 << QPoint(34, 12);
    QTest::newRow("east") << 90 << QPoint(56, 34);
    QTest::newRow("south") << 180 << QPoint(34, 56);
    QTest::newRow("west") << 270 << QPoint(12, 34);
    // Values near a half, where rounding down or truncating would show.
    QTest::newRow("45") << 45 << QPoint(50, 18);
    QTest::newRow("12") << 12 << QPoint(39, 12);
    QTest::newRow("78") << 78 << QPoint(56, 29);
    QTest::newRow("168") << 168 << QPoint(39, 56);
    QTest::newRow("200") << 200 << QPoint(26, 55);
    QTest::newRow("290") << 290 << QPoint(13, 26);
    QTest::newRow("348") << 348 << QPoint(29, 12);
    QTest::newRow("359") << 359 << QPoint(34, 12);
    QTest::newRow("30") << 30 << QPoint(45, 15);
    QTest::newRow("135") << 135 << QPoint(50, 50);
    QTest::newRow("360 as north") << 360 << QPoint(34, 12);
}

void TestCompassGeometry::needleEnd()
{
    QFETCH(int, azimuth);
    QFETCH(QPoint, end);
    QCOMPARE(::needleEnd(azimuth), end);
}

QTEST_GUILESS_MAIN(TestCompassGeometry)
#include "tst_CompassGeometry.moc"
