#pragma once

#include <QPixmap>

#include <optional>

class QPainter;

// The main window's compass: our own 68x68 rose with north up and the red needle
// on top. Everything is drawn in logical coordinates, so it stays sharp at any
// device pixel ratio.
class CompassRose {
public:
    // The rose plus the needle for `azimuth`, ready for a label showing 68x68;
    // with `reported`, also the needle of the antenna's real position.
    QPixmap compassImage(int azimuth, qreal devicePixelRatio, std::optional<double> reported = std::nullopt);

    // Both paint into the 68x68 logical square of `painter`; scale the painter to
    // draw the compass at another size.
    static void paintRose(QPainter &painter);
    static void paintNeedle(QPainter &painter, int azimuth);
    // Where the controller says the antenna is: a thin cyan needle with a round
    // tip, under the red one, so the target and the antenna never look alike.
    static void paintReportedNeedle(QPainter &painter, double azimuth);

private:
    // The rose alone, kept between needle moves like a background bitmap.
    const QPixmap &rose(qreal devicePixelRatio);

    QPixmap m_rose;
};
