#pragma once

#include <QPixmap>

class QPainter;

// The main window's compass: our own 68x68 rose with north up and the red needle
// on top. Everything is drawn in logical coordinates, so it stays sharp at any
// device pixel ratio.
class CompassRose {
public:
    // The rose plus the needle for `azimuth`, ready for a label showing 68x68.
    QPixmap compassImage(int azimuth, qreal devicePixelRatio);

    // Both paint into the 68x68 logical square of `painter`; scale the painter to
    // draw the compass at another size.
    static void paintRose(QPainter &painter);
    static void paintNeedle(QPainter &painter, int azimuth);

private:
    // The rose alone, kept between needle moves like a background bitmap.
    const QPixmap &rose(qreal devicePixelRatio);

    QPixmap m_rose;
};
