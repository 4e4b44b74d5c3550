#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUdpSocket>

#include <csignal>
#include <optional>
#include <sys/types.h>

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

void pause(int ms)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
    QThread::msleep(ms);
}

} // namespace

ProgramFolder::ProgramFolder()
{
    if (!m_dir.isValid())
        return;
    const QString copy = m_dir.filePath(QFileInfo(QStringLiteral(ORVANTIS_EXECUTABLE)).fileName());
    m_valid = QFile::copy(QStringLiteral(ORVANTIS_EXECUTABLE), copy) && QDir(m_dir.path()).mkdir(QStringLiteral("dosdevices"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A fixed locale keeps the decimal separator of the written reals known.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    m_process.setProcessEnvironment(environment);
    m_process.setProgram(copy);
    m_process.setWorkingDirectory(m_dir.path());
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
}

ProgramFolder::~ProgramFolder()
{
    kill();
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

QByteArray ProgramFolder::standardError()
{
    m_standardError += m_process.readAllStandardError();
    return m_standardError;
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
    m_process.start();
    return m_process.waitForStarted(10000);
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
    while (!deadline.hasExpired() && isRunning()) {
        if (catchesSignal(pid(), SIGTERM) && catchesSignal(pid(), SIGINT))
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
    if (!isRunning())
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

quint16 ProgramFolder::freeUdpPort()
{
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress))
        return 0;
    return probe.localPort();
}

int ProgramFolder::udpReceiveQueueBytes(quint16 port)
{
    const auto fields = udpSocketFields(port);
    if (!fields)
        return -1;
    const QList<QByteArray> queues = fields->at(4).split(':');
    return queues.size() == 2 ? queues.at(1).toInt(nullptr, 16) : -1;
}
