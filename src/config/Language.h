#pragma once

#include <QList>
#include <QString>

#include <optional>

// A language the program speaks. English is the language its texts are written
// in; every other one is a translation, resources/translations/orvantis_<code>.ts,
// compiled and embedded at build time. Dropping in a new .ts file is all it takes
// to add one: the language menu, Orvantis.ini's LANGUAGE and the help page all
// follow from the file's code.
class Language {
public:
    Language() = default; // English
    explicit Language(QString code);

    static Language english() { return {}; }
    static Language french() { return Language(QStringLiteral("fr")); }

    // English first, then every embedded translation in the order of its code.
    static QList<Language> available();
    // The available language a LANGUAGE= value names, if any: exactly as
    // settingsValue() writes it, as ever for ENGLISH and FRENCH.
    static std::optional<Language> fromSettingsValue(const QString &value);

    const QString &code() const { return m_code; } // "en", "fr", "pt_BR"
    bool isEnglish() const { return m_code == QLatin1String("en"); }
    // LANGUAGE= in Orvantis.ini: ENGLISH, FRENCH, GERMAN… or the code of a regional
    // variant (pt_BR), whose English name alone would not tell it apart.
    QString settingsValue() const;
    // The language menu's item: the language's name in its own words.
    QString nativeName() const;

    friend bool operator==(const Language &, const Language &) = default;

private:
    QString m_code = QStringLiteral("en");
};
