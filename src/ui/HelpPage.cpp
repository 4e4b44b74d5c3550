#include "ui/HelpPage.h"

#include "config/ProgramLayout.h"
#include "config/Translation.h"

#include <QFileInfo>

namespace {

QString pathIn(const QString &folder, const QString &page)
{
    const QString separator = folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
    return folder + separator + page;
}

} // namespace

QUrl helpPageUrl(const QString &programFolder, const Language &language)
{
    // Each language names its own page.
    const QString page = Translation::text(language, "HelpPage", QT_TRANSLATE_NOOP("HelpPage", "orvantis_en.htm"));
    const QString beside = pathIn(programFolder, page);
    if (!QFileInfo::exists(beside)) {
        if (const QString data = installedDataFolder(programFolder); !data.isEmpty()) {
            if (const QString installed = pathIn(data, page); QFileInfo::exists(installed))
                return QUrl::fromLocalFile(installed);
        }
    }
    return QUrl::fromLocalFile(beside);
}
