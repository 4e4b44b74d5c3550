#include "ui/CompassView.h"

#include "ui/CompassGeometry.h"

#include <QPainter>

#include <chrono>
#include <utility>

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

void CompassView::usePreparedLayers(std::shared_future<CompassLayers> layers)
{
    m_preparedLayers = std::move(layers);
}

void CompassView::paintEvent(QPaintEvent *)
{
    if (m_preparedLayers.valid()) {
        // Let go of at once: the rose keeps its own copy.
        const std::shared_future<CompassLayers> layers = std::exchange(m_preparedLayers, {});
        if (layers.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
            m_rose.adoptLayers(layers.get());
    }
    const qreal ratio = devicePixelRatioF();
    if (m_imageStale || m_image.devicePixelRatio() != ratio) {
        m_image = m_rose.compassImage(m_azimuth, ratio, m_reported);
        m_imageStale = false;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_image);
}
