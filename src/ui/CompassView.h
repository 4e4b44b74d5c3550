#pragma once

#include "ui/CompassRose.h"

#include <QWidget>

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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CompassRose m_rose;
    int m_azimuth = 0;
    std::optional<double> m_reported;
    QPixmap m_image;
    bool m_imageStale = true;
};
