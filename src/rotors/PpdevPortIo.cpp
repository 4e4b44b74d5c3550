#include "rotors/PpdevPortIo.h"

#include "process/LogCategories.h"
#include "host/LptPortTable.h"
#include "host/ParallelPortDiscovery.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

namespace {

constexpr quint16 ControlOffset = 2;

} // namespace

PpdevPortIo::PpdevPortIo(QString procRoot, QString devRoot)
    : m_procRoot(std::move(procRoot)), m_devRoot(std::move(devRoot))
{
}

PpdevPortIo::~PpdevPortIo()
{
    while (!m_claimed.empty())
        release(m_claimed.begin()->first);
}

quint16 PpdevPortIo::GetLPTPortAddress(int n)
{
    return n >= 1 && n <= LptSlotCount ? parportBaseAddress(m_procRoot, n - 1) : 0;
}

void PpdevPortIo::EnablePorts(quint16 first, quint16)
{
    if (isEnabled(first))
        return;
    const QString device = ppdevDeviceForBase(first, m_procRoot, m_devRoot);
    if (device.isEmpty()) {
        fail(ENODEV, QStringLiteral("No parallel port at address %1h").arg(hexAddressText(first)));
        return;
    }
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        failWithErrno(device);
        return;
    }
    if (::ioctl(fd, PPCLAIM) != 0) {
        failWithErrno(device);
        ::close(fd);
        return;
    }
    m_claimed.emplace(first, ClaimedPort {fd, device});
    qCDebug(parallelLog).noquote() << device << "claimed for" << hexAddressText(first) + QLatin1Char('h');
}

void PpdevPortIo::DisablePorts(quint16 first, quint16)
{
    // Releasing a port that was never claimed is harmless, as it always was.
    if (isEnabled(first))
        release(first);
}

void PpdevPortIo::release(quint16 base)
{
    const auto it = m_claimed.find(base);
    const ClaimedPort port = it->second;
    m_claimed.erase(it);
    if (::ioctl(port.fd, PPRELEASE) != 0)
        failWithErrno(port.device);
    ::close(port.fd);
    qCDebug(parallelLog).noquote() << port.device << "released";
}

void PpdevPortIo::Outport(quint16 address, quint16 value)
{
    unsigned char byte = static_cast<unsigned char>(value & 0xFF);
    unsigned long request = 0;
    const ClaimedPort *port = nullptr;
    if (const auto data = m_claimed.find(address); data != m_claimed.end()) {
        request = PPWDATA;
        port = &data->second;
    } else if (const auto control = m_claimed.find(quint16(address - ControlOffset)); control != m_claimed.end()) {
        // The raw register value: ppdev writes the control bits as given, the
        // inversion at the connector included.
        request = PPWCONTROL;
        port = &control->second;
    }
    if (!port) {
        fail(EACCES, QStringLiteral("I/O address %1h is not enabled").arg(hexAddressText(address)));
        return;
    }
    qCDebug(parallelLog, "%s %s %02X", qUtf8Printable(port->device), request == PPWDATA ? "data" : "control",
            unsigned(byte));
    if (::ioctl(port->fd, request, &byte) != 0)
        failWithErrno(port->device);
}

int PpdevPortIo::GetLastState(QString *text)
{
    const int state = std::exchange(m_state, 0);
    const QString stateText = std::exchange(m_stateText, QString());
    if (text)
        *text = stateText;
    return state;
}

void PpdevPortIo::fail(int code, const QString &text)
{
    if (m_state != 0)
        return;
    qCDebug(parallelLog).noquote() << text;
    m_state = code != 0 ? code : EIO;
    m_stateText = text;
}

void PpdevPortIo::failWithErrno(const QString &device)
{
    const int code = errno;
    fail(code, QStringLiteral("%1: %2").arg(device, qt_error_string(code)));
}
