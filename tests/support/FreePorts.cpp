#include "support/FreePorts.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QUdpSocket>

#include <memory>
#include <vector>

QList<quint16> freeUdpPorts(int count, quint16 highest)
{
    // Without a limit the kernel picks from its ephemeral range (32768 and up);
    // below one, the search starts where test processes running side by side differ.
    const bool kernelPicks = highest == 65535;
    int next = kernelPicks ? 0 : 20000 + int(QCoreApplication::applicationPid() % 10000);
    // All held at once, so no port is given twice.
    std::vector<std::unique_ptr<QUdpSocket>> probes;
    QList<quint16> ports;
    while (ports.size() < count) {
        if (next > highest)
            return {};
        auto probe = std::make_unique<QUdpSocket>();
        if (probe->bind(QHostAddress::AnyIPv4, quint16(next), QUdpSocket::DontShareAddress)) {
            ports.append(probe->localPort());
            probes.push_back(std::move(probe));
        } else if (kernelPicks) {
            return {};
        }
        if (!kernelPicks)
            ++next;
    }
    return ports;
}

quint16 freeTcpPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}
