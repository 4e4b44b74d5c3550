#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the GUI thread, so a session
// ending or a `kill` closes the main window exactly as Quit does.
class SignalCloser : public QObject {
    Q_OBJECT

public:
    explicit SignalCloser(QObject *parent = nullptr);
    ~SignalCloser() override;

Q_SIGNALS:
    void closeRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
