#pragma once

#include "core/UserFeedback.h"

#include <QHash>
#include <QString>

// Tells each failure once per episode: a device that keeps refusing would
// otherwise repeat the same notice at every GO. The episode ends when the
// device has worked again (recovered()), so a second outage is told again;
// how often a failure repeated meanwhile is written to standard error then.
class NoticeOnce {
public:
    explicit NoticeOnce(UserFeedback &feedback) : m_feedback(feedback) {}
    ~NoticeOnce() { recovered(); }
    NoticeOnce(const NoticeOnce &) = delete;
    NoticeOnce &operator=(const NoticeOnce &) = delete;

    // key names the failure (a port and its reason); a key already told in this
    // episode is only counted.
    void tell(const QString &key, const QString &title, const QString &text);
    // The device worked: the failures told so far may be told again.
    void recovered();
    // That one failure is over; true when it had been told.
    bool recovered(const QString &key);

private:
    struct Told {
        QString text;
        int repeats = 0;
    };
    UserFeedback &m_feedback;
    QHash<QString, Told> m_told;
};
