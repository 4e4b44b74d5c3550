#include "FakeAzimuthServer.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

FakeAzimuthServer::FakeAzimuthServer(const QString &busName, const QString &value)
    : m_connectionName(QStringLiteral("fake %1 %2").arg(busName).arg(quintptr(this), 0, 16))
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName))
    , m_busName(busName)
    , m_value(value)
{
    m_bus.registerObject(QStringLiteral("/Data"), this, QDBusConnection::ExportAllProperties);
}

FakeAzimuthServer::~FakeAzimuthServer()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
}

bool FakeAzimuthServer::claimName()
{
    return m_bus.registerService(m_busName);
}

bool FakeAzimuthServer::releaseName()
{
    return m_bus.unregisterService(m_busName);
}

void FakeAzimuthServer::push(const QString &value)
{
    m_value = value;
    announce({{QStringLiteral("Azimuth"), value}}, {});
}

void FakeAzimuthServer::invalidate(const QString &value)
{
    m_value = value;
    announce({}, {QStringLiteral("Azimuth")});
}

QString FakeAzimuthServer::azimuth() const
{
    ++m_reads;
    return m_value;
}

void FakeAzimuthServer::announce(const QVariantMap &changed, const QStringList &invalidated)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/Data"), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("dde.Topic") << changed << invalidated;
    m_bus.send(signal);
    // A call to the bus after the signal returns only once the bus has routed the
    // signal: afterwards it reaches every listener ahead of anything sent later.
    m_bus.interface()->isServiceRegistered(m_busName);
}
