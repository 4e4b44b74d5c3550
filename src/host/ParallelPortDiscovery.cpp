#include "host/ParallelPortDiscovery.h"

#include "host/PortDriverCheck.h"

#include <QDir>
#include <QFile>

namespace {

QString parportDir(const QString &procRoot)
{
    return procRoot + QStringLiteral("/sys/dev/parport");
}

// The file holds "<base> <high base>" (e.g. "888\t1912"); only the base matters.
quint16 readBaseAddress(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QString first = QString::fromLatin1(file.read(64)).simplified().section(QLatin1Char(' '), 0, 0);
    bool ok = false;
    const uint value = first.toUInt(&ok, 10);
    return ok && value <= 0xFFFF ? quint16(value) : 0;
}

// "parport<N>" with N a plain number: the kernel's name for port N and its ppdev node.
bool isParportName(const QString &name)
{
    const QStringView digits = QStringView(name).mid(7);
    if (!name.startsWith(QLatin1String("parport")) || digits.isEmpty() || digits.size() > 4)
        return false;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

quint16 parportBaseAddress(const QString &procRoot, int number)
{
    return readBaseAddress(parportDir(procRoot) + QStringLiteral("/parport%1/base-addr").arg(number));
}

LptPortTable DiscoverParallelPorts(const QString &procRoot)
{
    LptPortTable table;
    for (int i = 0; i < LptSlotCount; ++i) {
        const quint16 base = parportBaseAddress(procRoot, i);
        if (base == 0)
            continue;
        table[i].name = QStringLiteral("LPT%1").arg(i + 1);
        table[i].addressText = hexAddressText(base);
    }
    return table;
}

QString ppdevDeviceForBase(quint16 base, const QString &procRoot, const QString &devRoot)
{
    if (base == 0)
        return {};
    const QDir dir(parportDir(procRoot));
    // isParportName below picks the entries; no wildcard filter and its regular expression.
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (isParportName(entry) && readBaseAddress(dir.filePath(entry + QStringLiteral("/base-addr"))) == base)
            return devRoot + QLatin1Char('/') + entry;
    }
    return {};
}

ParallelPortStartup startParallelPorts(const QString &sysRoot, const QString &procRoot,
                                       const QString &devRoot)
{
    ParallelPortStartup startup;
    startup.PortDriverPresent = CheckPortDriver(sysRoot, devRoot);
    startup.lptPorts = DiscoverParallelPorts(procRoot);
    const ParallelAddressTables tables = convertAddressTexts(startup.lptPorts);
    startup.pourSatAddresses = tables.pourSat;
    startup.fodTrackAddresses = tables.fodTrack;
    return startup;
}
