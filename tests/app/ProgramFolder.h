#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

// A throw-away program folder: a copy of the built program, its Orvantis.ini and a
// dosdevices folder, and the running program started from there. The program keeps
// its settings beside itself because the folder is writable.
class ProgramFolder {
public:
    // Offscreen needs no display; X11 shows the windows on $DISPLAY, for tests
    // that drive them with real key and mouse events; None leaves the program no
    // display at all (the headless mode).
    enum class Display { Offscreen, X11, None };

    explicit ProgramFolder(Display display = Display::Offscreen);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString iniPath() const;
    QString temporaryIniPath() const;

    // Replaces whatever is there, a read-only file the program left included.
    bool writeIni(const QByteArray &bytes) const;
    QByteArray readIni() const;
    // dosdevices/com<n> -> target; the target need not exist (an unplugged adapter).
    bool linkComPort(int number, const QString &target) const;

    // Starts `program` instead of the copy (an installed one, say).
    void setProgram(const QString &program) { m_program = program; }
    // The command line of the copies started after the call.
    void setArguments(const QStringList &arguments) { m_arguments = arguments; }
    // Where the copies started after the call run; the program folder by default.
    void setWorkingDirectory(const QString &folder) { m_workingDirectory = folder; }
    // Adds `name`=`value` to the environment of the copies started after the call.
    void setEnvironment(const QString &name, const QString &value) { m_extraEnvironment.insert(name, value); }
    // Applies to the copies started after the call. The program then runs as an
    // unprivileged user, so file permissions apply even when the tests run as
    // root; false when there is no way to drop to one.
    bool runUnprivileged();
    // Writes beyond `bytes` fail (EFBIG), as on a full disk.
    void limitFileSize(qint64 bytes) { m_fileSizeLimit = bytes; }

    bool start();
    // Another copy of the program in the same folder, started like the first.
    bool startAnotherCopy();
    // Signals every running copy at once; true when all of them exited, each
    // with status 0, within the time.
    bool stopAll(int signal, int timeoutMs);
    // What the copies wrote to standard error so far, all of them together.
    QByteArray standardError();
    // True once the first copy's standard error holds text; false if time runs out.
    bool waitForStandardError(const QByteArray &text, int timeoutMs);
    // True once the program holds `port` on UDP; false if it exits or time runs out.
    bool waitUntilListening(quint16 port, int timeoutMs);
    // True once every copy has its SIGTERM and SIGINT handlers in place.
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

private:
    void prepare(QProcess &process);

    const Display m_display;
    QTemporaryDir m_dir;
    QProcess m_process;
    std::vector<std::unique_ptr<QProcess>> m_copies;
    QByteArray m_standardError;
    std::optional<qint64> m_fileSizeLimit;
    bool m_unprivileged = false;
    bool m_valid = false;
    QString m_program;
    QStringList m_arguments;
    QString m_workingDirectory;
    QProcessEnvironment m_extraEnvironment;
};
