#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

class QDBusMessage;
class QDBusServiceWatcher;

// The client side of one azimuth-server conversation, carried on the D-Bus
// session bus: service S and topic T are the bus name "dde.S" and the object
// "/T"; the item is a string property of interface "dde.Topic" that the server
// announces through PropertiesChanged.
//
// Setting the link opens the conversation when the name has an owner; then the
// current value is read once and every value the owner pushes follows. The
// conversation closes when that owner goes away, and it is never re-opened by
// itself: only a new setLink() tries again. Without a session bus the link
// stays closed. The bus is joined at the first setLink(), not before: a program
// that never links does not wait for it at start. Everything else is
// asynchronous: no call here waits for the bus.
class DdeLink : public QObject {
    Q_OBJECT

public:
    explicit DdeLink(QObject *parent = nullptr);
    ~DdeLink() override;

    // Closes any open conversation first, then tries to open the new one.
    void setLink(const QString &service, const QString &topic);
    void setItem(const QString &item);
    void closeLink();
    bool isOpen() const { return m_open; }

Q_SIGNALS:
    void conversationOpened();
    void conversationClosed();
    // The item's text as the server holds it, before any cleaning: pushed by the
    // server, or read again after the server invalidated it.
    void itemChanged(const QString &value);
    // The same, read once when the conversation opens.
    void itemRead(const QString &value);

private Q_SLOTS:
    void onPropertiesChanged(const QString &interfaceName, const QVariantMap &changed,
                             const QStringList &invalidated);

private:
    void opened(const QString &owner);
    void onOwnerChanged(const QString &oldOwner);
    enum class Reading { Opening, Update };
    void readItem(Reading reading);
    void takeValue(const QVariant &value, Reading reading);
    void forgetLink();
    bool watchChanges(bool watch);
    // Sends a call and hands its answer on, unless the link has changed since.
    void ask(const QDBusMessage &call, std::function<void(const QDBusMessage &answer)> onAnswer);

    // The session bus, joined at the first link.
    QDBusConnection &bus();

    std::optional<QDBusConnection> m_bus;
    QDBusServiceWatcher *m_watcher = nullptr;
    QString m_busName;
    QString m_path;
    QString m_item;
    QString m_owner;
    // Tells the answers of an earlier link from those of the current one.
    quint64 m_linkSerial = 0;
    bool m_open = false;
};
