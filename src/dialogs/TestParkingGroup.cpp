#include "dialogs/TestParkingGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

TestParkingGroup::Names TestParkingGroup::namesFor(const QString &suffix)
{
    return {QStringLiteral("GroupBoxTest") + suffix, QStringLiteral("SpinEditAzTest") + suffix,
            QStringLiteral("BitBtnTest") + suffix, QStringLiteral("CheckBoxPark") + suffix,
            QStringLiteral("LabelPark") + suffix};
}

TestParkingGroup::TestParkingGroup(const Names &names, int azimuthStep, QWidget *parent)
    : QGroupBox(QStringLiteral("Test && Parking"), parent),
      m_azimuth(new QSpinBox(this)),
      m_go(new QPushButton(QStringLiteral("GO"), this)),
      m_park(new QCheckBox(this)),
      m_parkLabel(new QLabel(this))
{
    // The doubled ampersand shows as one, as it does in a group box title.
    setObjectName(names.group);
    m_azimuth->setObjectName(names.azimuth);
    m_azimuth->setRange(0, 450);
    m_azimuth->setSingleStep(azimuthStep);
    m_go->setObjectName(names.button);
    m_park->setObjectName(names.parkBox);
    m_parkLabel->setObjectName(names.parkLabel);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->addWidget(new QLabel(QStringLiteral("Az:"), this), 0, 0);
    grid->addWidget(m_azimuth, 0, 1);
    grid->addWidget(m_go, 0, 2);
    grid->addWidget(m_park, 2, 0, Qt::AlignRight);
    grid->addWidget(m_parkLabel, 2, 1, 1, 2);
}

void TestParkingGroup::addExtra(QWidget *label, QWidget *field)
{
    auto *grid = static_cast<QGridLayout *>(layout());
    grid->addWidget(label, 1, 0);
    grid->addWidget(field, 1, 1);
}
