#include "ui/ElidingButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

void ElidingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int room = contents.width() - style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
    option.text = option.fontMetrics.elidedText(text(), Qt::ElideRight, room);
    painter.drawControl(QStyle::CE_PushButton, option);
}
