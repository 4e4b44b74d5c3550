#include "host/PortDriverCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

bool CheckPortDriver(const QString &sysRoot, const QString &devRoot)
{
    if (QFileInfo::exists(sysRoot + QStringLiteral("/module/ppdev")))
        return true;
    // Compared by hand: a wildcard filter would compile a regular expression at start.
    const QStringList entries = QDir(devRoot).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(entries.cbegin(), entries.cend(),
                       [](const QString &name) { return name.startsWith(QLatin1String("parport")); });
}

QString driverMissingMessage(bool french)
{
    const QStringList lines = french
        ? QStringList{QStringLiteral("Le pilote ppdev n'est pas chargé."),
                      QStringLiteral("Il est nécessaire lors du contrôle d'un port LPT."),
                      QStringLiteral("SVP charger le module ppdev (modprobe ppdev), rejoindre le groupe lp"),
                      QStringLiteral("et redémarrez ORVANTIS.")}
        : QStringList{QStringLiteral("The ppdev driver is not loaded."),
                      QStringLiteral("It is mandatory when controlling an LPT port."),
                      QStringLiteral("Please load the ppdev module (modprobe ppdev), join the group lp"),
                      QStringLiteral("and restart ORVANTIS.")};
    return lines.join(QStringLiteral("\r\n"));
}
