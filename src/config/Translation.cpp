#include "config/Translation.h"

#include "process/StandardError.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QMutex>
#include <QTranslator>

#include <memory>

namespace {

// The program's translations, embedded at build time; each is loaded at its
// first text. Rotator workers may ask for texts too, hence the lock.
const QTranslator &programTranslation(const Language &language)
{
    static QMutex lock;
    static QHash<QString, std::shared_ptr<QTranslator>> loaded;
    const QMutexLocker locker(&lock);
    std::shared_ptr<QTranslator> &translator = loaded[language.code()];
    if (!translator) {
        translator = std::make_shared<QTranslator>();
        const QString file = QStringLiteral("orvantis_%1.qm").arg(language.code());
        // Said in French too, which is exactly what cannot come from the translation.
        if (!translator->load(QStringLiteral(":/i18n/") + file))
            writeStandardErrorLine(QStringLiteral("the %1 texts are missing from this build (%2): texts stay in English. "
                                                  "Rebuild Orvantis with Qt's Linguist tools (package "
                                                  "qt6-l10n-tools). / Les textes de cette langue (%2) manquent dans "
                                                  "cette version : les textes restent en anglais.")
                                       .arg(language.settingsValue(), file));
    }
    return *translator;
}

} // namespace

QString Translation::text(const Language &language, const char *context, const char *source)
{
    const QString english = QString::fromUtf8(source);
    if (language.isEnglish())
        return english;
    const QString translated = programTranslation(language).translate(context, source);
    return translated.isEmpty() ? english : translated;
}

void Translation::followWithQtTexts(const Language &language)
{
    static QTranslator qtTexts;
    static QString installedCode;
    static QString toldCode;
    if (language.code() == installedCode && !qtTexts.isEmpty())
        return;
    QCoreApplication::removeTranslator(&qtTexts);
    installedCode.clear();
    if (language.isEnglish())
        return;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!qtTexts.load(QLocale(language.code()), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        if (toldCode != language.code())
            writeStandardErrorLine(text(language, "Translation",
                                        QT_TRANSLATE_NOOP("Translation",
                                                          "Qt's own texts for this language (qtbase_%2.qm) are not "
                                                          "in %1: "
                                                          "standard buttons and menus stay in English. Install "
                                                          "the package qt6-translations-l10n."))
                                       .arg(folder, language.code()));
        toldCode = language.code();
        return;
    }
    installedCode = language.code();
    QCoreApplication::installTranslator(&qtTexts);
}
