#include "app/AzimuthStepper.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

AzimuthStepper::AzimuthStepper(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("UpDownAzi"));
    setCursor(Qt::PointingHandCursor);
    m_repeatTimer.setSingleShot(false);
    connect(&m_repeatTimer, &QTimer::timeout, this, &AzimuthStepper::repeat);
}

void AzimuthStepper::setPosition(int position)
{
    m_position = std::clamp(position, Minimum, Maximum);
    Q_EMIT positionWritten(m_position);
}

void AzimuthStepper::setRepeatTiming(int firstDelayMs, int intervalMs)
{
    m_firstDelayMs = firstDelayMs;
    m_intervalMs = intervalMs;
}

void AzimuthStepper::stepBy(int direction)
{
    int base = m_position;
    int fromBox = 0;
    if (m_reader && m_reader(&fromBox))
        base = fromBox;
    setPosition(base + direction * m_increment);
}

void AzimuthStepper::repeat()
{
    m_repeatTimer.setInterval(m_intervalMs);
    if (m_heldDirection != 0)
        stepBy(m_heldDirection);
}

void AzimuthStepper::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_heldDirection = event->position().y() < height() / 2.0 ? +1 : -1;
    Q_EMIT mouseDown();
    stepBy(m_heldDirection);
    m_repeatTimer.start(m_firstDelayMs);
    update();
}

void AzimuthStepper::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_repeatTimer.stop();
    m_heldDirection = 0;
    Q_EMIT mouseUp();
    update();
}

void AzimuthStepper::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF all = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal half = all.height() / 2.0;
    for (int part = 0; part < 2; ++part) {
        const QRectF box(all.left(), all.top() + part * half, all.width(), half);
        const bool down = (part == 0 && m_heldDirection > 0) || (part == 1 && m_heldDirection < 0);
        QLinearGradient fill(box.topLeft(), box.bottomLeft());
        fill.setColorAt(0, down ? QColor(70, 70, 70) : QColor(96, 96, 96));
        fill.setColorAt(1, down ? QColor(40, 40, 40) : QColor(58, 58, 58));
        painter.setPen(QColor(20, 20, 20));
        painter.setBrush(fill);
        painter.drawRoundedRect(box, 2, 2);
        QPainterPath arrow;
        const QPointF c = box.center();
        const qreal w = std::min(box.width(), box.height()) * 0.28;
        const qreal dir = part == 0 ? -1 : 1;
        arrow.moveTo(c.x() - w, c.y() - dir * w / 2);
        arrow.lineTo(c.x() + w, c.y() - dir * w / 2);
        arrow.lineTo(c.x(), c.y() + dir * w / 2);
        arrow.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(230, 230, 230));
        painter.drawPath(arrow);
    }
}
