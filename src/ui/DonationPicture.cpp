#include "ui/DonationPicture.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr QPointF CoinCentre(50.5, 50.0);
constexpr qreal CoinRadius = 44.0;

void paintCoin(QPainter &painter)
{
    QRadialGradient gold(CoinCentre - QPointF(12, 14), CoinRadius * 1.5);
    gold.setColorAt(0.0, QColor(255, 240, 160));
    gold.setColorAt(0.5, QColor(236, 184, 48));
    gold.setColorAt(1.0, QColor(150, 100, 10));
    painter.setPen(QPen(QColor(110, 70, 0), 2.0));
    painter.setBrush(gold);
    painter.drawEllipse(CoinCentre, CoinRadius, CoinRadius);
    // The raised rim of a struck coin.
    painter.setPen(QPen(QColor(255, 230, 140, 180), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(CoinCentre, CoinRadius - 6, CoinRadius - 6);
}

void paintHeart(QPainter &painter)
{
    QPainterPath heart;
    heart.moveTo(50.5, 78);
    heart.cubicTo(22, 58, 20, 36, 34, 29);
    heart.cubicTo(42, 25, 49, 30, 50.5, 38);
    heart.cubicTo(52, 30, 59, 25, 67, 29);
    heart.cubicTo(81, 36, 79, 58, 50.5, 78);
    QLinearGradient red(QPointF(30, 28), QPointF(70, 78));
    red.setColorAt(0.0, QColor(255, 96, 96));
    red.setColorAt(1.0, QColor(170, 0, 20));
    painter.setPen(QPen(QColor(100, 0, 10), 1.5));
    painter.setBrush(red);
    painter.drawPath(heart);
}

} // namespace

QPixmap donationPicture(qreal devicePixelRatio)
{
    QPixmap picture(DonationPictureSize * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paintCoin(painter);
    paintHeart(painter);
    return picture;
}
