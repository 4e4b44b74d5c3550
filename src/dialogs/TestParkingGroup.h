#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

// "Test && Parking": a test azimuth, its GO button and the parking box of one
// interface page. suffix names the controls: SpinEditAzTest<suffix>, ...
class TestParkingGroup : public QGroupBox {
    Q_OBJECT

public:
    struct Names {
        QString group, azimuth, button, parkBox, parkLabel;
    };
    static Names namesFor(const QString &suffix);

    TestParkingGroup(const Names &names, int azimuthStep, QWidget *parent = nullptr);

    QSpinBox *azimuth() const { return m_azimuth; }
    QPushButton *goButton() const { return m_go; }
    QCheckBox *parkBox() const { return m_park; }
    QLabel *parkLabel() const { return m_parkLabel; }
    // Room for a page's extra field (KCT's elevation).
    void addExtra(QWidget *label, QWidget *field);

private:
    QSpinBox *m_azimuth;
    QPushButton *m_go;
    QCheckBox *m_park;
    QLabel *m_parkLabel;
};
