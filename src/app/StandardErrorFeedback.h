#pragma once

#include "ui/UserFeedback.h"

#include <cstdio>

// The feedback of a program nobody watches on a screen: every box and notice is
// one line on standard error, and nothing ever waits for an answer.
class StandardErrorFeedback final : public UserFeedback {
public:
    explicit StandardErrorFeedback(std::FILE *out = stderr) : m_out(out) {}

    void beep() override {}
    void playSound(SystemSound) override {}
    void warning(const QString &title, const QString &text) override { line(title, text); }
    void error(const QString &title, const QString &text) override { line(title, text); }
    void stopWaitingForUser() override {}
    void conversionNotice(QWidget *, const QString &text) override { line(QString(), text); }
    void notice(const QString &title, const QString &text) override { line(title, text); }

private:
    void line(const QString &title, const QString &text);

    std::FILE *m_out;
};
