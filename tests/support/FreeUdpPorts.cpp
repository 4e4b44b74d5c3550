#include "support/FreeUdpPorts.h"

#include <QUdpSocket>

#include <memory>
#include <vector>

QList<quint16> freeUdpPorts(int count)
{
    // All held at once, so the kernel cannot give the same port twice.
    std::vector<std::unique_ptr<QUdpSocket>> probes;
    QList<quint16> ports;
    for (int i = 0; i < count; ++i) {
        auto probe = std::make_unique<QUdpSocket>();
        if (!probe->bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress))
            return {};
        ports.append(probe->localPort());
        probes.push_back(std::move(probe));
    }
    return ports;
}
