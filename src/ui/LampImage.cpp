#include "ui/LampImage.h"

#include <QPainter>
#include <QRadialGradient>

namespace {

constexpr QPointF Centre(LampSize / 2.0, LampSize / 2.0);
constexpr qreal BezelRadius = 10.5;
constexpr qreal LensRadius = 8.0;

void paintGlow(QPainter &painter)
{
    QRadialGradient glow(Centre, LampSize / 2.0);
    glow.setColorAt(0.0, QColor(90, 255, 110, 200));
    glow.setColorAt(0.55, QColor(40, 230, 70, 90));
    glow.setColorAt(1.0, QColor(40, 230, 70, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(Centre, LampSize / 2.0, LampSize / 2.0);
}

void paintBezel(QPainter &painter)
{
    QLinearGradient metal(QPointF(5, 5), QPointF(26, 26));
    metal.setColorAt(0.0, QColor(200, 204, 210));
    metal.setColorAt(0.5, QColor(96, 100, 108));
    metal.setColorAt(1.0, QColor(36, 38, 42));
    painter.setPen(QPen(QColor(10, 10, 12), 0.8));
    painter.setBrush(metal);
    painter.drawEllipse(Centre, BezelRadius, BezelRadius);
}

void paintLens(QPainter &painter, bool on)
{
    QRadialGradient lens(Centre - QPointF(1.5, 1.5), LensRadius * 1.2);
    if (on) {
        lens.setColorAt(0.0, QColor(236, 255, 236));
        lens.setColorAt(0.35, QColor(90, 255, 110));
        lens.setColorAt(1.0, QColor(10, 150, 35));
    } else {
        lens.setColorAt(0.0, QColor(40, 74, 46));
        lens.setColorAt(1.0, QColor(6, 22, 10));
    }
    painter.setPen(QPen(QColor(0, 0, 0, 160), 0.8));
    painter.setBrush(lens);
    painter.drawEllipse(Centre, LensRadius, LensRadius);

    // A soft reflection on the dome, the same whether lit or not.
    QRadialGradient shine(Centre - QPointF(2.8, 3.2), 4.0);
    shine.setColorAt(0.0, QColor(255, 255, 255, on ? 200 : 110));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawEllipse(Centre - QPointF(2.8, 3.2), 4.0, 3.0);
}

} // namespace

QPixmap lampImage(bool on, qreal devicePixelRatio)
{
    const int side = qCeil(LampSize * devicePixelRatio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (on)
        paintGlow(painter);
    paintBezel(painter);
    paintLens(painter, on);
    return pixmap;
}
