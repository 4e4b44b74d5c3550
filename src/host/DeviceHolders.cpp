#include "host/DeviceHolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QStringList processesHolding(const QString &devicePath, const QString &procRoot)
{
    const QString target = QFileInfo(devicePath).canonicalFilePath();
    if (target.isEmpty())
        return {};
    QStringList holders;
    const QDir proc(procRoot);
    for (const QString &pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        pid.toLongLong(&isPid);
        if (!isPid)
            continue;
        const QDir fds(proc.filePath(pid + QStringLiteral("/fd")));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() != target)
                continue;
            QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
            const QString name =
                comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
            holders << QStringLiteral("%1 (%2)").arg(name.isEmpty() ? QStringLiteral("?") : name, pid);
            break;
        }
    }
    return holders;
}
