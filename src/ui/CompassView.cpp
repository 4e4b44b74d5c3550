#include "ui/CompassView.h"

#include "ui/CompassGeometry.h"

#include <QPainter>


CompassView::CompassView(QWidget *parent) : QWidget(parent)
{
    setFixedSize(CompassSize, CompassSize);
}

void CompassView::setAzimuth(int azimuth)
{
    if (azimuth == m_azimuth)
        return;
    m_azimuth = azimuth;
    m_imageStale = true;
    update();
}

void CompassView::setReportedAzimuth(std::optional<double> azimuth)
{
    if (azimuth == m_reported)
        return;
    m_reported = azimuth;
    m_imageStale = true;
    update();
}

void CompassView::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (m_imageStale || m_image.devicePixelRatio() != ratio) {
        m_image = m_rose.compassImage(m_azimuth, ratio, m_reported);
        m_imageStale = false;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_image);
}
