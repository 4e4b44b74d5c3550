#include "ProgramFolder.h"

#include "support/FreePorts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <grp.h>
#include <optional>
#include <sys/resource.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

// The kernel's own tables of UDP sockets: looking there does not disturb the
// program, whereas binding the port ourselves to probe it could steal it from the
// program at the very moment it binds. Each line reads
// "sl local_address rem_address st tx_queue:rx_queue ..." with addresses as HEX:PORT.
std::optional<QList<QByteArray>> udpSocketFields(quint16 port)
{
    const QByteArray wanted = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const char *table : {"/proc/net/udp", "/proc/net/udp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = file.readAll().split('\n');
        for (const QByteArray &line : lines) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 4 && fields.at(1).endsWith(wanted))
                return fields;
        }
    }
    return std::nullopt;
}

// Bit n-1 of SigCgt says whether signal n has a handler.
bool catchesSignal(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const quint64 mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask & (quint64(1) << (signal - 1)));
        }
    }
    return false;
}

// The traditional unprivileged account, present on every Debian system.
constexpr uid_t NobodyId = 65534;

void pause(int ms)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
    QThread::msleep(ms);
}

} // namespace

ProgramFolder::ProgramFolder(Display display) : m_display(display)
{
    if (!m_dir.isValid())
        return;
    // Both programs, as an installation has them side by side: --headless runs the other.
    m_valid = QDir(m_dir.path()).mkdir(QStringLiteral("dosdevices"));
    for (const char *program : {ORVANTIS_EXECUTABLE, ORVANTIS_SERVICE_EXECUTABLE}) {
        const QString original = QString::fromLocal8Bit(program);
        m_valid = m_valid && QFile::copy(original, m_dir.filePath(QFileInfo(original).fileName()));
    }
}

ProgramFolder::~ProgramFolder()
{
    kill();
}

void ProgramFolder::prepare(QProcess &process)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (m_display == Display::None) {
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
    } else {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           m_display == Display::X11 ? QStringLiteral("xcb") : QStringLiteral("offscreen"));
    }
    // A fixed locale keeps the decimal separator of the written reals known.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    if (m_unprivileged) {
        environment.insert(QStringLiteral("HOME"), m_dir.path());
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    }
    environment.insert(m_extraEnvironment);
    process.setProcessEnvironment(environment);
    process.setProgram(m_program.isEmpty() ? m_dir.filePath(QFileInfo(QStringLiteral(ORVANTIS_EXECUTABLE)).fileName())
                                           : m_program);
    process.setArguments(m_arguments);
    process.setWorkingDirectory(m_workingDirectory.isEmpty() ? m_dir.path() : m_workingDirectory);
    // Standard error is kept for the checks; it is where unshown boxes go.
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    const bool unprivileged = m_unprivileged;
    const std::optional<qint64> fileSizeLimit = m_fileSizeLimit;
    process.setChildProcessModifier([unprivileged, fileSizeLimit] {
        if (fileSizeLimit) {
            // Ignored, SIGXFSZ turns into a failed write, which is what a full disk gives.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit {rlim_t(*fileSizeLimit), rlim_t(*fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (unprivileged && (::setgroups(0, nullptr) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0))
            ::_exit(127);
    });
}

bool ProgramFolder::runUnprivileged()
{
    if (::geteuid() != 0)
        return true; // permissions apply already
    // The folder becomes the unprivileged user's, as a program folder of one's own is.
    for (const QString &path : {m_dir.path(), m_dir.filePath(QStringLiteral("dosdevices")),
                                m_dir.filePath(QFileInfo(QStringLiteral(ORVANTIS_EXECUTABLE)).fileName()),
                                m_dir.filePath(QFileInfo(QStringLiteral(ORVANTIS_SERVICE_EXECUTABLE)).fileName())}) {
        if (::chown(QFile::encodeName(path).constData(), NobodyId, NobodyId) != 0)
            return false;
    }
    m_unprivileged = true;
    return true;
}

QString ProgramFolder::iniPath() const
{
    return m_dir.filePath(QStringLiteral("Orvantis.ini"));
}

QString ProgramFolder::temporaryIniPath() const
{
    return m_dir.filePath(QStringLiteral("Orvantis.~in"));
}

bool ProgramFolder::writeIni(const QByteArray &bytes) const
{
    QFile::remove(iniPath());
    QFile file(iniPath());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray ProgramFolder::readIni() const
{
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ProgramFolder::linkComPort(int number, const QString &target) const
{
    return QFile::link(target, m_dir.filePath(QStringLiteral("dosdevices/com%1").arg(number)));
}

bool ProgramFolder::waitForStandardError(const QByteArray &text, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!standardError().contains(text)) {
        if (deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(20);
    }
    return true;
}

bool ProgramFolder::start()
{
    prepare(m_process);
    m_process.start();
    return m_process.waitForStarted(10000);
}

bool ProgramFolder::startAnotherCopy()
{
    auto copy = std::make_unique<QProcess>();
    prepare(*copy);
    copy->start();
    const bool started = copy->waitForStarted(10000);
    m_copies.push_back(std::move(copy));
    return started;
}

bool ProgramFolder::stopAll(int signal, int timeoutMs)
{
    std::vector<QProcess *> running;
    if (isRunning())
        running.push_back(&m_process);
    for (const auto &copy : m_copies) {
        if (copy->state() != QProcess::NotRunning)
            running.push_back(copy.get());
    }
    for (QProcess *process : running)
        ::kill(static_cast<pid_t>(process->processId()), signal);
    const QDeadlineTimer deadline(timeoutMs);
    bool clean = !running.empty();
    for (QProcess *process : running) {
        clean = process->waitForFinished(int(qMax<qint64>(deadline.remainingTime(), 1))) && clean;
        clean = clean && process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    }
    return clean;
}

QByteArray ProgramFolder::standardError()
{
    m_standardError += m_process.readAllStandardError();
    for (const auto &copy : m_copies)
        m_standardError += copy->readAllStandardError();
    return m_standardError;
}

bool ProgramFolder::waitUntilListening(quint16 port, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && isRunning()) {
        if (udpSocketFields(port))
            return true;
        pause(10);
    }
    return false;
}

bool ProgramFolder::waitUntilSignalsHandled(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    const auto ready = [](const QProcess &process) {
        return catchesSignal(process.processId(), SIGTERM) && catchesSignal(process.processId(), SIGINT);
    };
    while (!deadline.hasExpired() && isRunning()) {
        if (ready(m_process) && std::all_of(m_copies.cbegin(), m_copies.cend(), [&](const auto &copy) { return ready(*copy); }))
            return true;
        pause(10);
    }
    return false;
}

bool ProgramFolder::stop(int signal, int timeoutMs)
{
    if (!isRunning())
        return false;
    ::kill(static_cast<pid_t>(pid()), signal);
    return m_process.waitForFinished(timeoutMs);
}

void ProgramFolder::kill()
{
    for (const auto &copy : m_copies) {
        copy->kill();
        copy->waitForFinished(5000);
    }
    m_copies.clear();
    if (!isRunning())
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

quint16 ProgramFolder::freeUdpPort()
{
    const QList<quint16> ports = freeUdpPorts(1);
    return ports.isEmpty() ? 0 : ports.constFirst();
}

int ProgramFolder::udpReceiveQueueBytes(quint16 port)
{
    const auto fields = udpSocketFields(port);
    if (!fields)
        return -1;
    const QList<QByteArray> queues = fields->at(4).split(':');
    return queues.size() == 2 ? queues.at(1).toInt(nullptr, 16) : -1;
}
