#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the GUI thread, so a
// session ending, a `kill` or the closing of the starting terminal closes the
// main window exactly as Quit does. From the first of them the process ends
// within a few seconds, whatever the closing is waiting for. Those of them the
// process was started with ignored (under `nohup`, say) are left ignored.
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
