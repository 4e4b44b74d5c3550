#pragma once

#include "ui/CompassRose.h"

#include <QWidget>

#include <future>
#include <optional>

// `Image1`: shows the compass for the last azimuth given. Setting an azimuth only
// asks for a repaint, so a stream of changes costs one drawing per shown frame.
class CompassView : public QWidget {
    Q_OBJECT

public:
    explicit CompassView(QWidget *parent = nullptr);

    void setAzimuth(int azimuth);
    // Where the controller says the antenna is: a second needle, or none.
    void setReportedAzimuth(std::optional<double> azimuth);
    // Layers being drawn beside the main thread: the first paint uses them if
    // they are done by then, and draws its own rather than wait.
    void usePreparedLayers(std::shared_future<CompassLayers> layers);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CompassRose m_rose;
    std::shared_future<CompassLayers> m_preparedLayers;
    int m_azimuth = 0;
    std::optional<double> m_reported;
    QPixmap m_image;
    bool m_imageStale = true;
};
