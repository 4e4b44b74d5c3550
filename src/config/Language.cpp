#include "config/Language.h"

#include <QDir>
#include <QLocale>

namespace {

const QString TranslationFolder = QStringLiteral(":/i18n");
const QString TranslationPrefix = QStringLiteral("orvantis_");

bool hasRegion(const QString &code)
{
    return code.contains(QLatin1Char('_'));
}

} // namespace

Language::Language(QString code) : m_code(std::move(code)) {}

QList<Language> Language::available()
{
    static const QList<Language> languages = [] {
        QList<Language> found {english()};
        const QStringList files =
            QDir(TranslationFolder).entryList({TranslationPrefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
        for (const QString &file : files)
            found << Language(file.mid(TranslationPrefix.size()).chopped(3));
        return found;
    }();
    return languages;
}

std::optional<Language> Language::fromSettingsValue(const QString &value)
{
    for (const Language &language : available()) {
        if (value == language.settingsValue())
            return language;
    }
    return std::nullopt;
}

QString Language::settingsValue() const
{
    if (hasRegion(m_code))
        return m_code;
    return QLocale::languageToString(QLocale(m_code).language()).toUpper();
}

QString Language::nativeName() const
{
    // English and French keep the menu's words of old; QLocale would say
    // "American English" and "français".
    if (isEnglish())
        return QStringLiteral("English");
    const QLocale locale(m_code);
    QString name = locale.nativeLanguageName();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    if (hasRegion(m_code))
        name += QStringLiteral(" (%1)").arg(locale.nativeTerritoryName());
    return name.isEmpty() ? m_code : name;
}
