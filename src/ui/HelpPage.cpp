#include "ui/HelpPage.h"

QUrl helpPageUrl(const QString &programFolder, bool french)
{
    const QString page = french ? QStringLiteral("orvantis_fr.htm") : QStringLiteral("orvantis_en.htm");
    const QString separator = programFolder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
    return QUrl::fromLocalFile(programFolder + separator + page);
}
