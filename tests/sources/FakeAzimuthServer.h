#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

// An azimuth server as the desktop programs publish it: the bus name given,
// object "/Data", a string property "Azimuth" of interface "dde.Topic" whose
// changes are announced by PropertiesChanged. It has a bus connection of its
// own, so it is a separate peer on the session bus even inside the test process.
class FakeAzimuthServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "dde.Topic")
    Q_PROPERTY(QString Azimuth READ azimuth)

public:
    FakeAzimuthServer(const QString &busName, const QString &value);
    ~FakeAzimuthServer() override;

    bool claimName();
    bool releaseName();
    // Announce a new value with it, or only as changed (the client reads it).
    // Both return once the bus has taken the announcement.
    void push(const QString &value);
    void invalidate(const QString &value);

    QString azimuth() const;
    int reads() const { return m_reads; }

private:
    void announce(const QVariantMap &changed, const QStringList &invalidated);

    QString m_connectionName;
    QDBusConnection m_bus;
    QString m_busName;
    QString m_value;
    mutable int m_reads = 0;
};
