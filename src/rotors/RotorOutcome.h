#pragma once

#include <QDeadlineTimer>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

// What became of one GO or STOP, reported once by the rotor that carried it
// out. Whoever must answer for it (a Hamlib client, the lamp, a notice) answers
// from this, never from state read afterwards.
struct RotorOutcome {
    enum class Kind {
        Sent,    // the bytes left, or the library returned OK
        Held,    // the minimum step kept it back: the antenna is already near enough
        Refused, // never tried, for `reason`
        Failed,  // tried, and the device or library said no (`text` says what)
    };
    enum class Reason {
        None,
        OutOfLimits,  // beyond the rotator's travel
        NoPort,       // no port, device or address to reach it at
        NotAccepted,  // AUTO off, Init open, the program closing
        Overtaken,    // a STOP or a newer GO took its place before it went out
        NotSupported, // the rotator has no such command
        TimedOut,     // the controller did not answer in time
        Device,       // the device or library reported an error
        NoInterface,  // no rotator interface is chosen
    };

    Kind kind = Kind::Sent;
    Reason reason = Reason::None;
    QString text;
    // When the bytes left (milliseconds on the monotonic clock); 0 when nothing left.
    qint64 sentAtMs = 0;

    bool sent() const { return kind == Kind::Sent; }

    static RotorOutcome sentNow() { return {Kind::Sent, Reason::None, {}, QDeadlineTimer::current().deadline()}; }
    static RotorOutcome held() { return {Kind::Held, Reason::None, {}, 0}; }
    static RotorOutcome refused(Reason reason, const QString &text = {}) { return {Kind::Refused, reason, text, 0}; }
    static RotorOutcome failed(Reason reason, const QString &text = {}) { return {Kind::Failed, reason, text, 0}; }
};

// Called exactly once for each GO or STOP, sometimes before the call that
// started it has returned.
using OutcomeReport = std::function<void(const RotorOutcome &)>;

// Makes sure a report is given once: the first outcome counts, later ones
// (a sequence cut short after it was delivered) are dropped.
class ReportOnce {
public:
    explicit ReportOnce(OutcomeReport report) : m_report(std::make_shared<OutcomeReport>(std::move(report))) {}
    void operator()(const RotorOutcome &outcome) const
    {
        if (OutcomeReport report = std::exchange(*m_report, nullptr))
            report(outcome);
    }
    bool given() const { return !*m_report; }

private:
    std::shared_ptr<OutcomeReport> m_report;
};
