#include "ui/ApplicationIcon.h"
#include "ui/CompassGeometry.h"
#include "ui/CompassRose.h"
#include "ui/CompassView.h"
#include "ui/LampImage.h"

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <QTest>


namespace {

bool isNeedleRed(QRgb pixel)
{
    return qAlpha(pixel) > 200 && qRed(pixel) > 190 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

// Whether a needle-red pixel lies within `radius` logical pixels of `logical`.
bool redNear(const QImage &image, qreal ratio, QPointF logical, qreal radius)
{
    const QPoint centre = (logical * ratio).toPoint();
    const int reach = qCeil(radius * ratio);
    for (int y = centre.y() - reach; y <= centre.y() + reach; ++y) {
        for (int x = centre.x() - reach; x <= centre.x() + reach; ++x) {
            if (image.valid(x, y) && isNeedleRed(image.pixel(x, y)))
                return true;
        }
    }
    return false;
}

int brightness(QRgb pixel)
{
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel);
}

} // namespace

class TestInstrumentImages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void compassSizeFollowsPixelRatio_data();
    void compassSizeFollowsPixelRatio();
    void needleDrawnTowardsAzimuth_data();
    void needleDrawnTowardsAzimuth();
    void roseKeptAcrossNeedleMoves();
    void lettersStayAboveNeedle_data();
    void lettersStayAboveNeedle();
    void lampOnAndOffDiffer_data();
    void lampOnAndOffDiffer();
    void applicationIconShowsTheCompass();
    void applicationIconArrivesAfterFirstPaint();
};

void TestInstrumentImages::compassSizeFollowsPixelRatio_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1") << qreal(1.0);
    QTest::newRow("1.5") << qreal(1.5);
    QTest::newRow("2") << qreal(2.0);
}

void TestInstrumentImages::compassSizeFollowsPixelRatio()
{
    QFETCH(qreal, ratio);
    CompassRose compass;
    const QPixmap image = compass.compassImage(0, ratio);
    QCOMPARE(image.deviceIndependentSize(), QSizeF(68, 68));
    QCOMPARE(image.size(), QSize(qCeil(68 * ratio), qCeil(68 * ratio)));
    QCOMPARE(image.devicePixelRatio(), ratio);
}

void TestInstrumentImages::needleDrawnTowardsAzimuth_data()
{
    QTest::addColumn<int>("azimuth");
    QTest::addColumn<qreal>("ratio");
    for (const qreal ratio : {1.0, 2.0}) {
        for (const int azimuth : {0, 90, 180, 270, 45, 123, 300}) {
            QTest::addRow("%d at %.0fx", azimuth, ratio) << azimuth << ratio;
        }
    }
}

void TestInstrumentImages::needleDrawnTowardsAzimuth()
{
    QFETCH(int, azimuth);
    QFETCH(qreal, ratio);
    CompassRose compass;
    const QImage image = compass.compassImage(azimuth, ratio).toImage();
    const QPointF end = needleEnd(azimuth);
    const QPointF opposite = needleEnd(azimuth + 180);
    const QPointF middle = (QPointF(34, 34) + end) / 2;

    QVERIFY2(redNear(image, ratio, end, 1.5), "no red near the needle's end");
    QVERIFY2(redNear(image, ratio, middle, 1.0), "no red along the needle");
    QVERIFY2(!redNear(image, ratio, opposite, 2.0), "red on the opposite side");
    QVERIFY2(!redNear(image, ratio, (QPointF(34, 34) + opposite) / 2, 2.0), "red on the opposite half");
}

void TestInstrumentImages::roseKeptAcrossNeedleMoves()
{
    // Moving the needle away must erase the old one, whatever the rose cache holds.
    CompassRose compass;
    compass.compassImage(90, 1.0);
    const QImage west = compass.compassImage(270, 1.0).toImage();
    QVERIFY(redNear(west, 1.0, needleEnd(270), 1.5));
    QVERIFY(!redNear(west, 1.0, needleEnd(90), 2.0));

    // Drawing the needle never marks the kept rose.
    const QImage again = compass.compassImage(270, 1.0).toImage();
    QCOMPARE(again, west);
}

void TestInstrumentImages::lettersStayAboveNeedle_data()
{
    QTest::addColumn<QPointF>("letterCentre");
    QTest::addColumn<int>("onLetter");
    QTest::addColumn<int>("awayFromLetter");
    QTest::addColumn<qreal>("ratio");
    for (const qreal ratio : {1.0, 2.0}) {
        QTest::addRow("N at %.0fx", ratio) << QPointF(34, 14.5) << 0 << 180 << ratio;
        QTest::addRow("E at %.0fx", ratio) << QPointF(53.5, 34) << 90 << 270 << ratio;
        QTest::addRow("S at %.0fx", ratio) << QPointF(34, 53.5) << 180 << 0 << ratio;
        QTest::addRow("W at %.0fx", ratio) << QPointF(14.5, 34) << 270 << 90 << ratio;
    }
}

void TestInstrumentImages::lettersStayAboveNeedle()
{
    // Where the letter is drawn, the needle running under it never shows red.
    QFETCH(QPointF, letterCentre);
    QFETCH(int, onLetter);
    QFETCH(int, awayFromLetter);
    QFETCH(qreal, ratio);
    CompassRose compass;
    const QImage covered = compass.compassImage(onLetter, ratio).toImage();
    const QImage clear = compass.compassImage(awayFromLetter, ratio).toImage();
    QVERIFY(redNear(covered, ratio, letterCentre, 3.0));

    const QRect box = QRectF((letterCentre - QPointF(6, 6)) * ratio, QSizeF(12, 12) * ratio).toRect();
    int strokePixels = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            // Amber north or white letters, never the dark face.
            const QRgb pixel = clear.pixel(x, y);
            if (qRed(pixel) < 200 || qGreen(pixel) < 150)
                continue;
            ++strokePixels;
            QVERIFY2(!isNeedleRed(covered.pixel(x, y)),
                     qPrintable(QStringLiteral("needle over the letter at %1,%2").arg(x).arg(y)));
        }
    }
    QVERIFY(strokePixels > 5 * ratio * ratio);
}

void TestInstrumentImages::lampOnAndOffDiffer_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1") << qreal(1.0);
    QTest::newRow("2") << qreal(2.0);
}

void TestInstrumentImages::lampOnAndOffDiffer()
{
    QFETCH(qreal, ratio);
    const QPixmap on = lampImage(true, ratio);
    const QPixmap off = lampImage(false, ratio);
    QCOMPARE(on.deviceIndependentSize(), QSizeF(31, 31));
    QCOMPARE(off.deviceIndependentSize(), QSizeF(31, 31));
    QCOMPARE(on.size(), QSize(qCeil(31 * ratio), qCeil(31 * ratio)));

    const QImage onImage = on.toImage();
    const QImage offImage = off.toImage();
    QVERIFY(onImage != offImage);

    // Just off the highlight, the lit lens is clearly brighter and green.
    const QPoint lens = (QPointF(18.5, 18.5) * ratio).toPoint();
    const QRgb lit = onImage.pixel(lens);
    const QRgb dark = offImage.pixel(lens);
    QVERIFY2(brightness(lit) > brightness(dark) + 200,
             qPrintable(QStringLiteral("lit %1, dark %2").arg(brightness(lit)).arg(brightness(dark))));
    QVERIFY(qGreen(lit) > qRed(lit) && qGreen(lit) > qBlue(lit));
    QVERIFY(brightness(dark) < 200);

    // The lit lamp glows beyond its bezel; the dark one leaves the corners clear.
    const QPoint rim = (QPointF(15.5, 2.0) * ratio).toPoint();
    QVERIFY(qAlpha(onImage.pixel(rim)) > 0);
    QCOMPARE(qAlpha(offImage.pixel(rim)), 0);
}

void TestInstrumentImages::applicationIconShowsTheCompass()
{
    const QIcon icon = applicationIcon();
    QVERIFY(icon.availableSizes().contains(QSize(64, 64)));

    // The needle points north-east.
    const QImage image = icon.pixmap(QSize(64, 64)).toImage();
    const QPointF end = QPointF(needleEnd(45)) * (64.0 / 68.0);
    QVERIFY(redNear(image, 1.0, end, 2.0));
    QVERIFY(!redNear(image, 1.0, QPointF(needleEnd(225)) * (64.0 / 68.0), 2.0));
}

void TestInstrumentImages::applicationIconArrivesAfterFirstPaint()
{
    QVERIFY(QApplication::windowIcon().isNull());
    QWidget window;
    setApplicationIconAfterFirstPaint(window);
    QTest::qWait(50);
    QVERIFY(QApplication::windowIcon().isNull());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(!QApplication::windowIcon().isNull());
    QVERIFY(QApplication::windowIcon().availableSizes().contains(QSize(64, 64)));
}

QTEST_MAIN(TestInstrumentImages)
#include "tst_InstrumentImages.moc"
