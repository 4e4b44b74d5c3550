#include "FakeHostRoots.h"

#include <QDir>
#include <QFile>

FakeHostRoots::FakeHostRoots()
{
    for (const char *dir : {"sys/class/tty", "sys/module", "proc/sys/dev/parport", "dev", "dosdevices"})
        makeDir(QString::fromLatin1(dir));
}

void FakeHostRoots::addUart(int n, int type)
{
    const QString dir = QStringLiteral("sys/class/tty/ttyS%1").arg(n);
    makeDir(dir);
    writeFile(dir + QStringLiteral("/type"), QByteArray::number(type) + '\n');
}

void FakeHostRoots::addTty(const QString &name, bool withDevice)
{
    const QString dir = QStringLiteral("sys/class/tty/") + name;
    makeDir(dir);
    if (withDevice)
        makeDir(dir + QStringLiteral("/device"));
}

void FakeHostRoots::addUsbTty(const QString &tty, const QMap<QString, QByteArray> &descriptor)
{
    const QString usbDevice = QStringLiteral("sys/devices/pci0000:00/usb1/1-") + tty;
    const QString interface = usbDevice + QStringLiteral("/1-1:1.0");
    const QString ttyDevice = tty.startsWith(QLatin1String("ttyUSB")) ? interface + QLatin1Char('/') + tty : interface;
    makeDir(ttyDevice);
    for (auto it = descriptor.cbegin(); it != descriptor.cend(); ++it)
        writeFile(usbDevice + QLatin1Char('/') + it.key(), it.value() + '\n');
    makeDir(QStringLiteral("sys/class/tty/") + tty);
    QFile::link(path(ttyDevice), path(QStringLiteral("sys/class/tty/%1/device").arg(tty)));
    addDevNode(tty);
}

void FakeHostRoots::addByIdLink(const QString &name, const QString &tty)
{
    makeDir(QStringLiteral("dev/serial/by-id"));
    QFile::link(QStringLiteral("../../") + tty, path(QStringLiteral("dev/serial/by-id/") + name));
}

void FakeHostRoots::addDevNode(const QString &name)
{
    writeFile(QStringLiteral("dev/") + name, {});
}

void FakeHostRoots::addLink(const QString &linkName, const QString &target)
{
    QFile::link(target, QDir(dosdevices()).filePath(linkName));
}

void FakeHostRoots::addParport(const QString &dirName, const QByteArray &contents)
{
    const QString dir = QStringLiteral("proc/sys/dev/parport/") + dirName;
    makeDir(dir);
    writeFile(dir + QStringLiteral("/base-addr"), contents);
}

void FakeHostRoots::addModule(const QString &name)
{
    makeDir(QStringLiteral("sys/module/") + name);
}

void FakeHostRoots::writeFile(const QString &relative, const QByteArray &contents)
{
    QFile file(path(relative));
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

void FakeHostRoots::makeDir(const QString &relative)
{
    QDir().mkpath(path(relative));
}
