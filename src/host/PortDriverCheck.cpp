#include "host/PortDriverCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

bool CheckPortDriver(const QString &sysRoot, const QString &devRoot)
{
    if (QFileInfo::exists(sysRoot + QStringLiteral("/module/ppdev")))
        return true;
    return !QDir(devRoot)
                .entryList({QStringLiteral("parport*")},
                           QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::CaseSensitive)
                .isEmpty();
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
