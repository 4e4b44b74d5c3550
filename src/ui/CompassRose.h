#pragma once

#include <QImage>
#include <QPixmap>

#include <optional>

class QPainter;

// The main window's compass: our own 68x68 rose with north up, the red needle,
// and the cardinal letters above the needle. Everything is drawn in logical
// coordinates, so it stays sharp at any device pixel ratio.
class CompassRose {
public:
    // The rose plus the needle for `azimuth`, ready for a label showing 68x68;
    // with `reported`, also the needle of the antenna's real position.
    QPixmap compassImage(int azimuth, qreal devicePixelRatio, std::optional<double> reported = std::nullopt);

    // Each paints into the 68x68 logical square of `painter`; scale the painter to
    // draw the compass at another size.
    static void paintRose(QPainter &painter);
    static void paintLetters(QPainter &painter);
    static void paintNeedle(QPainter &painter, int azimuth);
    // Where the controller says the antenna is: a thin cyan needle with a round
    // tip, under the red one, so the target and the antenna never look alike.
    static void paintReportedNeedle(QPainter &painter, double azimuth);

private:
    // A layer kept between needle moves like a background bitmap.
    static const QPixmap &layer(QPixmap &cache, qreal devicePixelRatio, void (*paint)(QPainter &));
    static QImage drawLayer(qreal devicePixelRatio, void (*paint)(QPainter &));

    QPixmap m_rose;    // bezel and ticks
    QPixmap m_letters; // N, E, S, W on a clear ground
};
