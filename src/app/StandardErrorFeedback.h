#pragma once

#include "process/StandardError.h"
#include "core/UserFeedback.h"

// The feedback of a program nobody watches on a screen: every box and notice is
// one line on standard error, and nothing ever waits for an answer. A box's title
// ("Orvantis", "Erreur", ...) is its window's caption, not part of the message.
class StandardErrorFeedback final : public UserFeedback {
public:
    void beep() override {}
    void playSound(SystemSound) override {}
    void warning(const QString &, const QString &text) override { writeStandardErrorLine(text); }
    void error(const QString &, const QString &text) override { writeStandardErrorLine(text); }
    void stopWaitingForUser() override {}
    void conversionNotice(QObject *, const QString &text) override { writeStandardErrorLine(text); }
    void notice(const QString &, const QString &text) override { writeStandardErrorLine(text); }
};
