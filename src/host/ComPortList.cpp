#include "host/ComPortList.h"

#include "host/ComPortNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace {

// Type of a ttyS UART as the kernel reports it; 0 (no UART) when unreadable.
int uartType(const QString &ttyDir)
{
    QFile file(ttyDir + QStringLiteral("/type"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return QString::fromLatin1(file.read(32)).trimmed().toInt();
}

bool isPresentSerialDevice(const QString &ttyDir, const QString &name)
{
    if (name.startsWith(QLatin1String("ttyS")))
        return uartType(ttyDir) != 0;
    return QFileInfo::exists(ttyDir + QStringLiteral("/device"));
}

// COM name -> device path of the kernel's serial devices under their default names.
QMap<QString, QString> defaultPorts(const QString &sysRoot, const QString &devRoot)
{
    QMap<QString, QString> ports;
    const QString classDir = sysRoot + QStringLiteral("/class/tty");
    // comNameForDevice picks the serial families: wildcard filters would compile
    // regular expressions at start. The map sorts; the listing need not.
    QDirIterator entries(classDir, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        const QString comName = comNameForDevice(name);
        if (!comName.isEmpty() && isPresentSerialDevice(classDir + QLatin1Char('/') + name, name))
            ports.insert(comName, devRoot + QLatin1Char('/') + name);
    }
    return ports;
}

QString firstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine(256)).trimmed();
}

// The USB device a tty belongs to is the first folder above its device entry that
// holds a USB descriptor: one level up for ttyACM (an interface), two for ttyUSB
// (a port below the interface).
QString usbAdapter(const QString &sysRoot, const QString &tty)
{
    const QString top = QFileInfo(sysRoot).canonicalFilePath() + QLatin1Char('/');
    QString dir = QFileInfo(sysRoot + QStringLiteral("/class/tty/") + tty + QStringLiteral("/device")).canonicalFilePath();
    for (int level = 0; level < 4 && dir.startsWith(top); ++level, dir = QFileInfo(dir).path()) {
        const QString vendor = firstLine(dir + QStringLiteral("/idVendor"));
        if (vendor.isEmpty())
            continue;
        QStringList words;
        for (const char *field : {"/manufacturer", "/product", "/serial"}) {
            if (const QString text = firstLine(dir + QLatin1String(field)); !text.isEmpty())
                words << text;
        }
        if (words.isEmpty())
            words << QStringLiteral("USB %1:%2").arg(vendor, firstLine(dir + QStringLiteral("/idProduct")));
        return words.join(QLatin1Char(' '));
    }
    return {};
}

// Canonical device path -> its link in <devRoot>/serial/by-id.
QMap<QString, QString> byIdLinks(const QString &devRoot)
{
    QMap<QString, QString> links;
    const QFileInfoList entries = QDir(devRoot + QStringLiteral("/serial/by-id"))
                                      .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink() && !entry.canonicalFilePath().isEmpty())
            links.insert(entry.canonicalFilePath(), entry.absoluteFilePath());
    }
    return links;
}

// Adds what the system knows of the device each port opens, wherever its path
// leads (a default name, a by-id link, a dosdevices target).
void describeAdapters(QList<ComPort> &ports, const QString &sysRoot, const QString &devRoot)
{
    const QString devFolder = QFileInfo(devRoot).canonicalFilePath();
    const QMap<QString, QString> byId = byIdLinks(devRoot);
    for (ComPort &port : ports) {
        const QFileInfo device(QFileInfo(port.devicePath).canonicalFilePath());
        if (device.filePath().isEmpty() || device.path() != devFolder)
            continue;
        port.adapter = usbAdapter(sysRoot, device.fileName());
        port.byIdPath = byId.value(device.filePath());
    }
}

void applyOverrides(QMap<QString, QString> &ports, const QString &dosdevicesDir)
{
    if (dosdevicesDir.isEmpty())
        return;
    const QDir dir(dosdevicesDir);
    // comNumberFromLinkName picks the com links; no wildcard filter and its regular expression.
    const QStringList links = dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &link : links) {
        const int number = comNumberFromLinkName(link);
        const QFileInfo info(dir.filePath(link));
        if (number == 0 || !info.isSymLink())
            continue;
        const QString comName = QStringLiteral("COM%1").arg(number);
        if (info.exists())
            ports.insert(comName, info.symLinkTarget());
        else
            ports.remove(comName);
    }
}

} // namespace

QStringList sortedComNames(const QStringList &candidates)
{
    QStringList names;
    for (const QString &candidate : candidates) {
        if (comNumber(candidate) > 0 && !names.contains(candidate))
            names.append(candidate);
    }
    names.sort(Qt::CaseSensitive);
    return names;
}

QList<ComPort> EnumerateComPorts(const QString &sysRoot, const QString &dosdevicesDir,
                                 const QString &devRoot)
{
    QMap<QString, QString> ports = defaultPorts(sysRoot, devRoot);
    applyOverrides(ports, dosdevicesDir);

    QList<ComPort> result;
    for (const QString &name : sortedComNames(ports.keys()))
        result.append({name, ports.value(name), {}, {}});
    describeAdapters(result, sysRoot, devRoot);
    return result;
}
