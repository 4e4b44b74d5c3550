#pragma once

#include "sources/RotctldHost.h"

#include <QStringList>

#include <functional>

// A host that keeps every request as one line of calls(), for checking what a
// client's commands did to the program.
class RecordingRotctldHost final : public RotctldHost {
public:
    MoveAnswer requestMove(int azimuth) override
    {
        m_calls << QStringLiteral("enter %1").arg(azimuth);
        if (duringEnter)
            duringEnter();
        if (closing)
            return MoveAnswer::Refused;
        azimuthShown = azimuth;
        return moveAnswer;
    }
    bool stopMoving() override
    {
        m_calls << QStringLiteral("stop");
        return !closing;
    }
    bool moveToParking() override
    {
        m_calls << QStringLiteral("park");
        return parkingSet && !closing;
    }
    std::optional<double> knownAzimuth() const override { return azimuthShown; }
    bool readsBack() const override { return controllerAsked; }
    QString rotatorInfo() const override { return info; }

    const QStringList &calls() const { return m_calls; }

    // Runs inside every requestMove(), as a GO that pauses runs the event loop.
    std::function<void()> duringEnter;
    bool closing = false;
    bool parkingSet = true;
    MoveAnswer moveAnswer = MoveAnswer::Moving;
    std::optional<double> azimuthShown = 0;
    bool controllerAsked = false;
    QString info = QStringLiteral("ORVANTIS V2.4.1 - GS232 / COM5");

private:
    QStringList m_calls;
};
