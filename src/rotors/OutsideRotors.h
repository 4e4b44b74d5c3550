#pragma once

#include "config/Configuration.h"
#include "config/InterfaceKind.h"
#include "rotors/ArswinLink.h"
#include "rotors/CommandState.h"
#include "rotors/MovenowLauncher.h"
#include "rotors/RotorOutcome.h"
#include "core/UserFeedback.h"

#include <QString>

#include <functional>

struct OutsideRotorsContext {
    CommandState &state;
    const Configuration &config;
    UserFeedback &feedback;
    ArswinLink &arswin;
    MovenowLauncher &movenow;
    // "ARSWIN must be running !" in the language shown at the moment.
    std::function<QString()> arswinMissingText;
    // The hidden diagnostic label that shows the last command.
    std::function<void(const QString &)> setInterfaceLabel;
};

// ZENTA and KCT: the interfaces that hand the azimuth to an outside program
// (ARSWIN, Movenow) instead of writing to a port themselves.
class OutsideRotors {
public:
    // The value ARSWIN reads as "stop turning".
    static constexpr quint32 ArswinStop = 65535;

    explicit OutsideRotors(OutsideRotorsContext context);

    void GoZenta(const OutcomeReport &report);
    // Acts only when ARSWIN is running; otherwise nothing is shown.
    void StopZenta(const OutcomeReport &report);
    void GoKct(const OutcomeReport &report);
    // Movenow has no stop command: each run turns to its azimuth and ends.
    void StopKct(const OutcomeReport &report) { report(RotorOutcome::held()); }

    // The outside programs' part of the main window's closing. parkingInterface
    // is 0 for none, otherwise the parked kind's ordinal + 1.
    void closeForShutdown(int parkingInterface, InterfaceKind selected);

    // The parameters Movenow receives for an azimuth: "PA " and three digits.
    static QString kctParameters(double azimuth, int offset);

private:
    OutsideRotorsContext m_context;
};
