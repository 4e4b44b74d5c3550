#pragma once

#include "rotsim/ControllerModel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTextStream>
#include <QTimer>

#include <memory>

class QSocketNotifier;

// A simulated controller on the master side of a pseudo-terminal whose slave is
// linked where a program expects its serial device (e.g. dosdevices/com5). It
// reads what the program writes, answers as the model says, moves the antenna
// in real time and prints every change, one line each.
class PseudoTerminalController : public QObject {
    Q_OBJECT

public:
    PseudoTerminalController(std::unique_ptr<ControllerModel> model, QString linkPath, QTextStream &out);
    ~PseudoTerminalController() override;

    // Opens the pseudo-terminal and links it; false with `error` set otherwise.
    bool start(QString &error);

private:
    void readHost();
    void tick();
    void send(const QByteArray &bytes);
    void printEvents();

    std::unique_ptr<ControllerModel> m_model;
    QString m_linkPath;
    QString m_slavePath;
    QTextStream &m_out;
    int m_master = -1;
    int m_slave = -1; // held open so the line stays up between the program's opens
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_motion;
    QElapsedTimer m_clock;
};
