#include "sources/DdeLink.h"

#include "process/LogCategories.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace {

constexpr QLatin1String topicInterface("dde.Topic");
constexpr QLatin1String propertiesInterface("org.freedesktop.DBus.Properties");

} // namespace

DdeLink::DdeLink(QObject *parent) : QObject(parent) {}

QDBusConnection &DdeLink::bus()
{
    if (!m_bus) {
        m_bus = QDBusConnection::sessionBus();
        m_watcher = new QDBusServiceWatcher(this);
        m_watcher->setConnection(*m_bus);
        m_watcher->setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
        connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString &, const QString &oldOwner, const QString &) { onOwnerChanged(oldOwner); });
    }
    return *m_bus;
}

DdeLink::~DdeLink()
{
    forgetLink();
}

void DdeLink::setLink(const QString &service, const QString &topic)
{
    closeLink();
    m_busName = QLatin1String("dde.") + service;
    m_path = QLatin1Char('/') + topic;
    if (!bus().isConnected())
        return;

    // Watch before asking, so that an owner leaving right after the answer is seen.
    m_watcher->setWatchedServices({m_busName});
    QDBusMessage getOwner = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
    getOwner << m_busName;
    // An error answer means no server runs: the link stays closed, and nothing is said.
    ask(getOwner, [this](const QDBusMessage &answer) { opened(answer.arguments().value(0).toString()); });
}

void DdeLink::setItem(const QString &item)
{
    m_item = item;
    readItem(Reading::Opening);
}

void DdeLink::closeLink()
{
    const bool wasOpen = m_open;
    forgetLink();
    if (wasOpen)
        Q_EMIT conversationClosed();
}

void DdeLink::opened(const QString &owner)
{
    // The unique name, not the well-known one: a later owner of the name is
    // another server, and the conversation does not carry over to it.
    m_owner = owner;
    if (!watchChanges(true)) {
        m_owner.clear();
        return;
    }
    m_open = true;
    Q_EMIT conversationOpened();
    readItem(Reading::Opening);
}

void DdeLink::onOwnerChanged(const QString &oldOwner)
{
    if (m_open && oldOwner == m_owner)
        closeLink();
}

void DdeLink::readItem(Reading reading)
{
    if (!m_open || m_item.isEmpty())
        return;
    QDBusMessage get = QDBusMessage::createMethodCall(m_owner, m_path, propertiesInterface,
                                                      QStringLiteral("Get"));
    get << QString(topicInterface) << m_item;
    ask(get, [this, item = m_item, reading](const QDBusMessage &answer) {
        if (item == m_item)
            takeValue(answer.arguments().value(0).value<QDBusVariant>().variant(), reading);
    });
}

void DdeLink::onPropertiesChanged(const QString &interfaceName, const QVariantMap &changed,
                                  const QStringList &invalidated)
{
    if (!m_open || interfaceName != topicInterface)
        return;
    const auto value = changed.constFind(m_item);
    if (value != changed.cend())
        takeValue(*value, Reading::Update);
    else if (invalidated.contains(m_item))
        readItem(Reading::Update);
}

void DdeLink::takeValue(const QVariant &value, Reading reading)
{
    qCDebug(dbusLog).noquote() << m_owner << m_path << m_item << (reading == Reading::Opening ? "read:" : "changed:")
                               << value;
    // The item is text; a number here would lose its last digit to the
    // terminator that the cleaning drops, so anything else is not taken.
    if (value.metaType() != QMetaType::fromType<QString>())
        return;
    if (reading == Reading::Opening)
        Q_EMIT itemRead(value.toString());
    else
        Q_EMIT itemChanged(value.toString());
}

void DdeLink::forgetLink()
{
    ++m_linkSerial;
    if (m_open)
        watchChanges(false);
    m_open = false;
    m_owner.clear();
    if (m_watcher)
        m_watcher->setWatchedServices({});
}

bool DdeLink::watchChanges(bool watch)
{
    const QString member = QStringLiteral("PropertiesChanged");
    const char *slot = SLOT(onPropertiesChanged(QString, QVariantMap, QStringList));
    return watch ? bus().connect(m_owner, m_path, propertiesInterface, member, this, slot)
                 : bus().disconnect(m_owner, m_path, propertiesInterface, member, this, slot);
}

void DdeLink::ask(const QDBusMessage &call, std::function<void(const QDBusMessage &answer)> onAnswer)
{
    auto *pending = new QDBusPendingCallWatcher(bus().asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, serial = m_linkSerial, onAnswer = std::move(onAnswer)](QDBusPendingCallWatcher *done) {
                done->deleteLater();
                const QDBusMessage answer = done->reply();
                if (serial == m_linkSerial && answer.type() == QDBusMessage::ReplyMessage)
                    onAnswer(answer);
            });
}
