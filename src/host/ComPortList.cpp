#include "host/ComPortList.h"

#include "host/ComPortNames.h"

#include <QDir>
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
    const QStringList entries = QDir(classDir).entryList(
        {QStringLiteral("ttyS*"), QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
        QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : entries) {
        const QString comName = comNameForDevice(name);
        if (!comName.isEmpty() && isPresentSerialDevice(classDir + QLatin1Char('/') + name, name))
            ports.insert(comName, devRoot + QLatin1Char('/') + name);
    }
    return ports;
}

void applyOverrides(QMap<QString, QString> &ports, const QString &dosdevicesDir)
{
    if (dosdevicesDir.isEmpty())
        return;
    const QDir dir(dosdevicesDir);
    const QStringList links = dir.entryList({QStringLiteral("com*")},
                                            QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot
                                                | QDir::CaseSensitive);
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
        result.append({name, ports.value(name)});
    return result;
}
