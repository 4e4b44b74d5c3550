#include "ui/CompassRose.h"

#include "ui/CompassGeometry.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace {

constexpr QPointF Centre(CompassCentre, CompassCentre);
constexpr qreal BezelRadius = 33.0;
constexpr qreal FaceRadius = 30.0;
constexpr qreal TickOuterRadius = 29.0;
constexpr qreal LetterRadius = 19.5;

void paintBezel(QPainter &painter)
{
    QLinearGradient metal(QPointF(10, 4), QPointF(58, 64));
    metal.setColorAt(0.0, QColor(236, 239, 242));
    metal.setColorAt(0.45, QColor(150, 157, 165));
    metal.setColorAt(1.0, QColor(62, 67, 74));
    painter.setPen(QPen(QColor(40, 44, 50), 0.8));
    painter.setBrush(metal);
    painter.drawEllipse(Centre, BezelRadius, BezelRadius);

    QRadialGradient face(QPointF(29, 27), FaceRadius * 1.3);
    face.setColorAt(0.0, QColor(58, 68, 80));
    face.setColorAt(1.0, QColor(12, 16, 22));
    painter.setPen(QPen(QColor(20, 22, 26), 0.8));
    painter.setBrush(face);
    painter.drawEllipse(Centre, FaceRadius, FaceRadius);
}

void paintTicks(QPainter &painter)
{
    // Every 10 degrees, longer and bolder every 30; two strokes for all of them
    // rather than a rotated painter per tick.
    QLineF major[12];
    QLineF minor[24];
    int majors = 0;
    int minors = 0;
    for (int degrees = 0; degrees < 360; degrees += 10) {
        const bool isMajor = degrees % 30 == 0;
        const qreal r = qDegreesToRadians(qreal(degrees));
        const QPointF outwards(qSin(r), -qCos(r));
        const QLineF tick(Centre + outwards * TickOuterRadius,
                          Centre + outwards * (TickOuterRadius - (isMajor ? 4.0 : 2.2)));
        if (isMajor)
            major[majors++] = tick;
        else
            minor[minors++] = tick;
    }
    const QColor tickColour(200, 208, 216);
    painter.setPen(QPen(tickColour, 1.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLines(major, majors);
    painter.setPen(QPen(tickColour, 0.7, Qt::SolidLine, Qt::FlatCap));
    painter.drawLines(minor, minors);
}

void drawLetters(QPainter &painter)
{
    struct Mark {
        const char *letter;
        int degrees;
    };
    static constexpr Mark Marks[] = {{"N", 0}, {"E", 90}, {"S", 180}, {"W", 270}};

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    for (const Mark &mark : Marks) {
        const qreal r = qDegreesToRadians(qreal(mark.degrees));
        const QPointF at(Centre.x() + LetterRadius * qSin(r), Centre.y() - LetterRadius * qCos(r));
        const QRectF box(at.x() - 6, at.y() - 6, 12, 12);
        // North in amber, never in the needle's red, so the needle stays unmistakable.
        painter.setPen(mark.degrees == 0 ? QColor(255, 184, 28) : QColor(226, 232, 238));
        painter.drawText(box, Qt::AlignCenter, QString::fromLatin1(mark.letter));
    }
}

void paintHub(QPainter &painter)
{
    QRadialGradient cap(QPointF(33.2, 33.2), 3.2);
    cap.setColorAt(0.0, QColor(240, 240, 240));
    cap.setColorAt(1.0, QColor(90, 94, 100));
    painter.setPen(QPen(QColor(30, 30, 30), 0.6));
    painter.setBrush(cap);
    painter.drawEllipse(Centre, 2.6, 2.6);
}

} // namespace

void CompassRose::paintRose(QPainter &painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    paintBezel(painter);
    paintTicks(painter);
    painter.restore();
}

void CompassRose::paintLetters(QPainter &painter)
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawLetters(painter);
    painter.restore();
}

void CompassRose::paintNeedle(QPainter &painter, int azimuth)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 0, 0), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPoint(CompassCentre, CompassCentre), needleEnd(azimuth));
    paintHub(painter);
    painter.restore();
}

void CompassRose::paintReportedNeedle(QPainter &painter, double azimuth)
{
    constexpr qreal Length = 26.0;
    const qreal r = qDegreesToRadians(azimuth);
    const QPointF tip(Centre.x() + Length * qSin(r), Centre.y() - Length * qCos(r));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor cyan(64, 214, 255);
    painter.setPen(QPen(cyan, 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(Centre, tip);
    painter.setPen(Qt::NoPen);
    painter.setBrush(cyan);
    painter.drawEllipse(tip, 2.0, 2.0);
    painter.restore();
}

QImage CompassRose::drawLayer(qreal devicePixelRatio, void (*paint)(QPainter &))
{
    const int side = qCeil(CompassSize * devicePixelRatio);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter);
    return image;
}

const QPixmap &CompassRose::layer(QPixmap &cache, qreal devicePixelRatio, void (*paint)(QPainter &))
{
    if (cache.isNull() || cache.devicePixelRatio() != devicePixelRatio)
        cache = QPixmap::fromImage(drawLayer(devicePixelRatio, paint));
    return cache;
}

QPixmap CompassRose::compassImage(int azimuth, qreal devicePixelRatio, std::optional<double> reported)
{
    // The needle goes between the rose and its letters, so it never hides one.
    QPixmap image = layer(m_rose, devicePixelRatio, paintRose).copy();
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&image);
    if (reported)
        paintReportedNeedle(painter, *reported);
    paintNeedle(painter, azimuth);
    painter.drawPixmap(0, 0, layer(m_letters, devicePixelRatio, paintLetters));
    return image;
}
