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
    // Offscreen needs no display; X11 shows the windows on $DISPLAY, for tests
    // that drive them with real key and mouse events.
    enum class Display { Offscreen, X11 };

    explicit ProgramFolder(Display display = Display::Offscreen);
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

    // Starts `program` instead of the copy (an installed one, say), with `name`=`value`
    // added to its environment.
    void setProgram(const QString &program) { m_process.setProgram(program); }
    void setEnvironment(const QString &name, const QString &value);

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
    qint64 pid() const { return m_process.processId(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }

    // A UDP port nobody holds right now (ask for it as PORTKORU=port-1, ANTKORU=1).
    static quint16 freeUdpPort();
    // Bytes waiting in the receive buffer of whoever holds `port`; -1 if nobody does.
    static int udpReceiveQueueBytes(quint16 port);

    // Before start(): the program's standard error is kept for standardError()
    // instead of shown, with Qt's logging set to `loggingRules`.
    void captureStandardError(const QString &loggingRules);
    // All the program has written to standard error so far.
    QByteArray standardError();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    bool m_valid = false;
    QByteArray m_standardError;
};
