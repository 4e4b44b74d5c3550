#include "host/PortDriverCheck.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

bool CheckPortDriver(const QString &sysRoot, const QString &devRoot)
{
    if (QFileInfo::exists(sysRoot + QStringLiteral("/module/ppdev")))
        return true;
    // Compared by hand: a wildcard filter would compile a regular expression at
    // start, and sorting all of /dev is not needed to find one name.
    QDirIterator entries(devRoot, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        if (entries.fileName().startsWith(QLatin1String("parport")))
            return true;
    }
    return false;
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
    // Linux text: a CR would show as a stray character in a terminal or a log.
    return lines.join(QLatin1Char('\n'));
}
