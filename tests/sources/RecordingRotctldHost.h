#pragma once

#include "sources/RotctldHost.h"

#include <QList>
#include <QStringList>

#include <functional>

// A host that keeps every request as one line of calls(), for checking what a
// client's commands did to the program. Moves are answered with moveOutcome, at
// once, or when the test says so (deferMoves) as a rotator busy in its pause.
class RecordingRotctldHost final : public RotctldHost {
public:
    void requestMove(const Pointing &pointing, OutcomeReport answer) override
    {
        const int azimuth = int(pointing.azimuth);
        m_calls << QStringLiteral("enter %1").arg(azimuth);
        if (closing) {
            answer(RotorOutcome::refused(RotorOutcome::Reason::NotAccepted));
            return;
        }
        azimuthShown = azimuth;
        reply(std::move(answer), moveOutcome);
    }
    void stopMoving(OutcomeReport answer) override
    {
        m_calls << QStringLiteral("stop");
        answer(closing ? RotorOutcome::refused(RotorOutcome::Reason::NotAccepted) : RotorOutcome::sentNow());
    }
    void moveToParking(OutcomeReport answer) override
    {
        m_calls << QStringLiteral("park");
        answer(parkingSet && !closing ? RotorOutcome::sentNow()
                                      : RotorOutcome::refused(RotorOutcome::Reason::NotSupported));
    }
    std::optional<double> knownAzimuth() const override { return azimuthShown; }
    bool readsBack() const override { return controllerAsked; }
    QString rotatorInfo() const override { return info; }

    const QStringList &calls() const { return m_calls; }
    // Gives every deferred move its outcome, oldest first.
    void answerDeferredMoves()
    {
        for (const auto &answer : std::exchange(m_deferred, {}))
            answer();
    }
    qsizetype deferredMoves() const { return m_deferred.size(); }

    bool deferMoves = false;
    bool closing = false;
    bool parkingSet = true;
    RotorOutcome moveOutcome = RotorOutcome::sentNow();
    std::optional<double> azimuthShown = 0;
    bool controllerAsked = false;
    QString info = QStringLiteral("ORVANTIS V2.4.1 - GS232 / COM5");

private:
    void reply(OutcomeReport answer, const RotorOutcome &outcome)
    {
        if (deferMoves)
            m_deferred.append([answer, outcome] { answer(outcome); });
        else
            answer(outcome);
    }

    QStringList m_calls;
    QList<std::function<void()>> m_deferred;
};
