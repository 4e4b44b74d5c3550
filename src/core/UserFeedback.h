#pragma once

#include <QString>

class QObject;

enum class SystemSound {
    Information, // the confirmation sound after a GO that was sent
    Exclamation, // accompanies warnings such as "ARSWIN must be running !"
};

// Every beep, sound and message box goes through this service, so that tests can
// record them instead of blocking on a modal dialog.
class UserFeedback {
public:
    virtual ~UserFeedback() = default;

    // The plain system beep for refused input.
    virtual void beep() = 0;
    virtual void playSound(SystemSound sound) = 0;
    // Modal boxes with one OK button; their text also goes to standard error.
    virtual void warning(const QString &title, const QString &text) = 0;
    virtual void error(const QString &title, const QString &text) = 0;
    // Nobody is there to answer any more (a signal, the session's end): boxes
    // already open are dismissed, and later ones are only written out, never shown.
    virtual void stopWaitingForUser() = 0;
    // A text that failed a number conversion: shown beside `near` without
    // blocking, because it fires while the user is still typing.
    virtual void conversionNotice(QObject *near, const QString &text) = 0;
    // A failure the program goes on after (a device that will not open, a port
    // that cannot be bound): shown without waiting for an answer, and always
    // written to standard error.
    virtual void notice(const QString &title, const QString &text) = 0;
};
