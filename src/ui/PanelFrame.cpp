#include "ui/PanelFrame.h"

#include <QLinearGradient>
#include <QPainter>

void PanelFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0, QColor(0x1b, 0x1b, 0x1b));
    shade.setColorAt(1, QColor(0x05, 0x05, 0x05));
    painter.fillRect(rect(), shade);
    painter.fillRect(0, height() - 1, width(), 1, QColor(0x33, 0x33, 0x33));
}
