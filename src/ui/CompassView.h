#pragma once

#include "ui/CompassRose.h"

#include <QWidget>

// `Image1`: shows the compass for the last azimuth given. Setting an azimuth only
// asks for a repaint, so a stream of changes costs one drawing per shown frame.
class CompassView : public QWidget {
    Q_OBJECT

public:
    explicit CompassView(QWidget *parent = nullptr);

    void setAzimuth(int azimuth);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CompassRose m_rose;
    int m_azimuth = 0;
    QPixmap m_image;
    int m_imageAzimuth = -1;
};
