#include "config/Translation.h"

#include "config/StandardError.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// The program's French, embedded at build time; loaded at the first French text.
const QTranslator &programFrench()
{
    static QTranslator translator;
    static const bool loaded = [] {
        const bool found = translator.load(QStringLiteral(":/i18n/orvantis_fr.qm"));
        // Said in French too, which is exactly what cannot come from the translation.
        if (!found)
            writeStandardErrorLine(QStringLiteral("the French texts are missing from this build (orvantis_fr.qm): "
                                                  "texts stay in English. Rebuild Orvantis with Qt's Linguist "
                                                  "tools (package qt6-l10n-tools). / Les textes français manquent "
                                                  "dans cette version : les textes restent en anglais."));
        return found;
    }();
    Q_UNUSED(loaded)
    return translator;
}

} // namespace

QString Translation::text(bool french, const char *context, const char *source)
{
    const QString english = QString::fromUtf8(source);
    if (!french)
        return english;
    const QString translated = programFrench().translate(context, source);
    return translated.isEmpty() ? english : translated;
}

void Translation::followWithQtTexts(bool french)
{
    static QTranslator qtFrench;
    static bool told = false;
    if (!french) {
        QCoreApplication::removeTranslator(&qtFrench);
        return;
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (qtFrench.isEmpty() && !qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                                             folder)) {
        if (!told)
            writeStandardErrorLine(text(true, "Translation",
                                        QT_TRANSLATE_NOOP("Translation",
                                                          "Qt's own French texts (qtbase_fr.qm) are not in %1: "
                                                          "standard buttons and menus stay in English. Install "
                                                          "the package qt6-translations-l10n."))
                                       .arg(folder));
        told = true;
        return;
    }
    // Installed once: a second installation would be searched twice.
    QCoreApplication::removeTranslator(&qtFrench);
    QCoreApplication::installTranslator(&qtFrench);
}
