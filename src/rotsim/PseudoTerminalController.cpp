#include "rotsim/PseudoTerminalController.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int MotionIntervalMs = 100;

} // namespace

PseudoTerminalController::PseudoTerminalController(std::unique_ptr<ControllerModel> model, QString linkPath,
                                                   QTextStream &out)
    : m_model(std::move(model)), m_linkPath(std::move(linkPath)), m_out(out)
{
    m_motion.setInterval(MotionIntervalMs);
    connect(&m_motion, &QTimer::timeout, this, &PseudoTerminalController::tick);
}

PseudoTerminalController::~PseudoTerminalController()
{
    // Only our own link goes: someone may have pointed it elsewhere meanwhile.
    if (!m_slavePath.isEmpty() && QFileInfo(m_linkPath).symLinkTarget() == m_slavePath)
        QFile::remove(m_linkPath);
    for (int fd : {m_slave, m_master}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool PseudoTerminalController::start(QString &error)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        error = QStringLiteral("cannot open a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // A serial line passes bytes unchanged: no echo, no CR/LF translation.
    termios tio {};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slavePath = QString::fromLocal8Bit(name);

    // A stale link from an earlier run is replaced; anything else is left alone.
    const QFileInfo existing(m_linkPath);
    if (existing.isSymLink())
        QFile::remove(m_linkPath);
    if (!QFile::link(m_slavePath, m_linkPath)) {
        error = QStringLiteral("cannot link %1 to %2 (does its folder exist, and is the name free?)")
                    .arg(m_linkPath, m_slavePath);
        m_slavePath.clear();
        return false;
    }

    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PseudoTerminalController::readHost);
    m_clock.start();
    m_motion.start();
    m_out << "ready " << m_slavePath << " linked at " << m_linkPath << ", antenna at "
          << QString::number(m_model->rotator().azimuth()) << Qt::endl;
    return true;
}

void PseudoTerminalController::readHost()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        send(m_model->receive(QByteArrayView(buffer, n)));
    }
    printEvents();
}

void PseudoTerminalController::tick()
{
    const double seconds = m_clock.restart() / 1000.0;
    send(m_model->advance(seconds));
    printEvents();
}

void PseudoTerminalController::send(const QByteArray &bytes)
{
    // Like a device with nobody listening, a full line drops what does not fit.
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + sent, size_t(bytes.size() - sent));
        if (n <= 0)
            return;
        sent += n;
    }
}

void PseudoTerminalController::printEvents()
{
    const QStringList events = m_model->takeEvents();
    for (const QString &event : events)
        m_out << event << Qt::endl;
}
