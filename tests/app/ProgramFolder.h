#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A throw-away program folder: a copy of the built program, its Orvantis.ini and a
// dosdevices folder, and the running program started from there. The program keeps
// its settings beside itself because the folder is writable.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString iniPath() const;
    QString temporaryIniPath() const;

    bool writeIni(const QByteArray &bytes) const;
    QByteArray readIni() const;
    // dosdevices/com<n> -> target; the target need not exist (an unplugged adapter).
    bool linkComPort(int number, const QString &target) const;

    // Keeps what the program writes to standard error for standardError()
    // instead of passing it on; call before start().
    void captureStandardError() { m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel); }
    // Everything captured so far.
    QByteArray standardError();
    // True once the captured standard error holds text; false if time runs out.
    bool waitForStandardError(const QByteArray &text, int timeoutMs);

    bool start();
    // True once the program holds `port` on UDP; false if it exits or time runs out.
    bool waitUntilListening(quint16 port, int timeoutMs);
    // True once the program has its SIGTERM and SIGINT handlers in place.
    bool waitUntilSignalsHandled(int timeoutMs);
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // Sends `signal` and waits for the exit; false if the program is still running.
    bool stop(int signal, int timeoutMs);
    // Ends a program that no longer answers signals, so no test leaves it behind.
    void kill();
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }

    // A UDP port nobody holds right now (ask for it as PORTKORU=port-1, ANTKORU=1).
    static quint16 freeUdpPort();
    // Bytes waiting in the receive buffer of whoever holds `port`; -1 if nobody does.
    static int udpReceiveQueueBytes(quint16 port);

private:
    qint64 pid() const { return m_process.processId(); }

    QTemporaryDir m_dir;
    QProcess m_process;
    QByteArray m_standardError;
    bool m_valid = false;
};
