#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

// A throw-away sys, proc and dev tree plus a dosdevices folder, shaped like the
// parts of the real ones that host discovery reads.
class FakeHostRoots {
public:
    FakeHostRoots();

    bool isValid() const { return m_dir.isValid(); }
    QString sysRoot() const { return path(QStringLiteral("sys")); }
    QString procRoot() const { return path(QStringLiteral("proc")); }
    QString devRoot() const { return path(QStringLiteral("dev")); }
    QString dosdevices() const { return path(QStringLiteral("dosdevices")); }

    // /sys/class/tty/ttyS<n> with its UART type.
    void addUart(int n, int type);
    // /sys/class/tty/<name>, with a device entry when it belongs to real hardware.
    void addTty(const QString &name, bool withDevice);
    // A USB serial adapter as the kernel shows it: a USB device folder under sys/devices
    // holding the descriptor files given ("idVendor", "manufacturer", ...), and
    // class/tty/<tty>/device linked to its interface (ttyACM) or to a port below the
    // interface (ttyUSB); plus the node /dev/<tty>.
    void addUsbTty(const QString &tty, const QMap<QString, QByteArray> &descriptor);
    // dev/serial/by-id/<name> -> ../../<tty>, a relative link as udev makes it.
    void addByIdLink(const QString &name, const QString &tty);
    // An empty file standing for the device node /dev/<name>.
    void addDevNode(const QString &name);
    // dosdevices/<linkName> -> target.
    void addLink(const QString &linkName, const QString &target);
    // /proc/sys/dev/parport/<dirName>/base-addr holding `contents`.
    void addParport(const QString &dirName, const QByteArray &contents);
    // /sys/module/<name>.
    void addModule(const QString &name);

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    void writeFile(const QString &relative, const QByteArray &contents);
    void makeDir(const QString &relative);

    QTemporaryDir m_dir;
};
