#pragma once

#include "core/UserFeedback.h"

#include <QStringList>

// Stands in for the desktop feedback: every beep, sound and box becomes one line
// in events(), so tests can check what the user would have seen and heard.
class RecordingFeedback final : public UserFeedback {
public:
    void beep() override { m_events << QStringLiteral("beep"); }
    void playSound(SystemSound sound) override
    {
        m_events << (sound == SystemSound::Information ? QStringLiteral("sound:information")
                                                       : QStringLiteral("sound:exclamation"));
    }
    void warning(const QString &title, const QString &text) override
    {
        m_events << QStringLiteral("warning:%1:%2").arg(title, text);
    }
    void error(const QString &title, const QString &text) override
    {
        m_events << QStringLiteral("error:%1:%2").arg(title, text);
    }
    void stopWaitingForUser() override { m_events << QStringLiteral("stop-waiting"); }
    void conversionNotice(QObject *, const QString &text) override
    {
        m_events << QStringLiteral("notice:%1").arg(text);
    }
    void notice(const QString &title, const QString &text) override
    {
        m_events << QStringLiteral("note:%1:%2").arg(title, text);
    }

    const QStringList &events() const { return m_events; }
    int count(const QString &prefix) const
    {
        int n = 0;
        for (const QString &e : m_events)
            n += e.startsWith(prefix) ? 1 : 0;
        return n;
    }
    void clear() { m_events.clear(); }

private:
    QStringList m_events;
};
