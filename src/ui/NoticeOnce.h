#pragma once

#include "ui/UserFeedback.h"

#include <QSet>
#include <QString>

// Tells each failure once per run: a device that keeps refusing would otherwise
// repeat the same notice at every GO.
class NoticeOnce {
public:
    explicit NoticeOnce(UserFeedback &feedback) : m_feedback(feedback) {}

    // key names the failure (a port and its reason); a key already told is skipped.
    void tell(const QString &key, const QString &title, const QString &text)
    {
        if (m_told.contains(key))
            return;
        m_told.insert(key);
        m_feedback.notice(title, text);
    }

private:
    UserFeedback &m_feedback;
    QSet<QString> m_told;
};
