#pragma once

#include "core/Station.h"

// What the setup dialog's pages work on: the station, and the parts of it they
// edit in place.
struct SetupDialogContext {
    Station &station;
    Configuration &config;
    SetupChoices &choices;
    UserFeedback &feedback;

    explicit SetupDialogContext(Station &s)
        : station(s), config(s.configuration()), choices(s.setupChoices()), feedback(s.feedback())
    {
    }
};
