#include "ui/ApplicationIcon.h"

#include "ui/CompassGeometry.h"
#include "ui/CompassRose.h"

#include <QPainter>
#include <QPixmap>

QIcon applicationIcon()
{
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.scale(qreal(side) / CompassSize, qreal(side) / CompassSize);
        CompassRose::paintRose(painter);
        CompassRose::paintNeedle(painter, 45);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
