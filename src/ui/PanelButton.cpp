#include "ui/PanelButton.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

PanelButton::PanelButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
}

void PanelButton::setLetteringColour(const QColor &colour)
{
    m_lettering = colour;
    update();
}

void PanelButton::setLit(bool lit)
{
    m_lit = lit;
    update();
}

void PanelButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    QBrush face;
    if (m_lit) {
        face = QColor(0x1c, 0x1c, 0x1c);
    } else if (isDown()) {
        face = QColor(0x1e, 0x1e, 0x1e);
    } else {
        QLinearGradient shade(0, 0, 0, height());
        shade.setColorAt(0, QColor(0x4a, 0x4a, 0x4a));
        shade.setColorAt(1, QColor(0x2a, 0x2a, 0x2a));
        face = shade;
    }
    painter.setBrush(face);
    painter.setPen(m_lit ? QColor(Qt::black) : QColor(0x11, 0x11, 0x11));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    painter.setPen(m_lit ? QColor(0xff, 0x2a, 0x1a) : m_lettering);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
