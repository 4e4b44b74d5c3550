#include "host/PortDriverCheck.h"

#include "config/Translation.h"

#include <QDirIterator>
#include <QFileInfo>

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

QString driverMissingMessage(const Language &language)
{
    // Linux text: a CR would show as a stray character in a terminal or a log.
    return Translation::text(language, "PortDriverCheck",
                             QT_TRANSLATE_NOOP("PortDriverCheck", "The ppdev driver is not loaded.\nIt is mandatory "
                                                                  "when controlling an LPT port.\nPlease load the "
                                                                  "ppdev module (modprobe ppdev), join the group "
                                                                  "lp\nand restart ORVANTIS."));
}
