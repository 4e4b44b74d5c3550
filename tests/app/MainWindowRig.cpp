#include "MainWindowRig.h"

#include "app/FramePacer.h"

#include <QtTest>

MainWindowRig::MainWindowRig(const QStringList &iniLines, const QStringList &comLinks, bool withLpt1)
    : StationRig(iniLines, comLinks, withLpt1), m_window(std::make_unique<MainWindow>(station()))
{
}

MainWindowRig::~MainWindowRig() = default;

bool MainWindowRig::start()
{
    m_window->placeAngleDialog();
    m_window->show();
    return QTest::qWaitFor([this] { return station().activatedOnce(); }, 5000) && caughtUp();
}

bool MainWindowRig::caughtUp()
{
    const auto *pacer = m_window->findChild<FramePacer *>();
    return pacer && QTest::qWaitFor([pacer] { return !pacer->isDue(); }, 2000);
}
