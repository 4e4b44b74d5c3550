// A language beyond English and French comes from its .ts file alone: this test
// carries a small German one (translations/orvantis_de.ts) and nothing else.
#include "MainWindowRig.h"

#include "config/Translation.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

#include <memory>

class TestThirdLanguage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void languagesFollowTheTranslationFiles();
    void menuFileAndQtTextsFollowTheNewLanguage();
};

namespace {

QStringList menuWords(MainWindowRig &rig)
{
    auto menu = [&](const char *name) { return rig.window().findChild<QMenu *>(QLatin1String(name))->title(); };
    auto item = [&](const char *name) { return rig.action(QLatin1String(name))->text(); };
    return {item("MenuQuitter"), item("MenuFav"), menu("MenuLangue"), item("MenuAide"), item("MenuAzimut")};
}

// Qt's own first item of the azimuth box's context menu.
QString boxMenuFirst(MainWindowRig &rig)
{
    const std::unique_ptr<QMenu> menu(
        rig.window().findChild<QLineEdit *>(QStringLiteral("EditAzimut"))->createStandardContextMenu());
    return menu->actions().constFirst()->text().section(QLatin1Char('\t'), 0, 0);
}

QByteArray languageLine(const QString &folder)
{
    QFile ini(QDir(folder).filePath(QStringLiteral("Orvantis.ini")));
    if (!ini.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : ini.readAll().split('\n')) {
        if (line.startsWith("LANGUAGE="))
            return line.trimmed();
    }
    return {};
}

} // namespace

void TestThirdLanguage::languagesFollowTheTranslationFiles()
{
    QStringList codes;
    for (const Language &language : Language::available())
        codes << language.code();
    QCOMPARE(codes, (QStringList {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr")}));

    struct Row {
        QString code, settingsValue, nativeName;
    };
    for (const Row &row : {Row {QStringLiteral("en"), QStringLiteral("ENGLISH"), QStringLiteral("English")},
                           Row {QStringLiteral("fr"), QStringLiteral("FRENCH"), QStringLiteral("Français")},
                           Row {QStringLiteral("de"), QStringLiteral("GERMAN"), QStringLiteral("Deutsch")}}) {
        const Language language(row.code);
        QCOMPARE(language.settingsValue(), row.settingsValue);
        QCOMPARE(language.nativeName(), row.nativeName);
        QCOMPARE(Language::fromSettingsValue(row.settingsValue), std::optional<Language>(language));
    }
    // A variant's English name would not tell it apart: its code stands in the file.
    QCOMPARE(Language(QStringLiteral("pt_BR")).settingsValue(), QStringLiteral("pt_BR"));
    // Values that name no language built into the program leave the choice as it was.
    for (const char *value : {"german", "SPANISH", "de", ""})
        QVERIFY2(!Language::fromSettingsValue(QLatin1String(value)), value);

    // A text the new translation does not hold stays English.
    const Language german(QStringLiteral("de"));
    QCOMPARE(Translation::text(german, "LanguageTexts", "Quit"), QStringLiteral("Beenden"));
    QCOMPARE(Translation::text(german, "LanguageTexts", "Azimuth"), QStringLiteral("Azimuth"));
    QCOMPARE(Translation::text(Language::french(), "LanguageTexts", "Azimuth"), QStringLiteral("Azimut"));
}

void TestThirdLanguage::menuFileAndQtTextsFollowTheNewLanguage()
{
    MainWindowRig rig({QStringLiteral("LANGUAGE=GERMAN")});
    QVERIFY(rig.start());
    QAction *deutsch = rig.action(QStringLiteral("MenuLanguage_de"));
    QVERIFY(deutsch);
    QCOMPARE(deutsch->text(), QStringLiteral("Deutsch"));
    QVERIFY(deutsch->isChecked());
    const QStringList german {QStringLiteral("Beenden"), QStringLiteral("Meine Favoriten"), QStringLiteral("Sprache"),
                              QStringLiteral("Hilfe"), QStringLiteral("Azimuth")};
    QCOMPARE(menuWords(rig), german);
    QCOMPARE(boxMenuFirst(rig), QStringLiteral("&Rückgängig"));

    rig.action(QStringLiteral("MenuFrancais"))->trigger();
    QVERIFY(!deutsch->isChecked());
    QCOMPARE(menuWords(rig).constFirst(), QStringLiteral("Quitter"));
    QCOMPARE(boxMenuFirst(rig), QStringLiteral("&Annuler"));
    rig.action(QStringLiteral("MenuEnglish"))->trigger();
    QCOMPARE(boxMenuFirst(rig), QStringLiteral("&Undo"));
    deutsch->trigger();
    QCOMPARE(menuWords(rig), german);

    rig.action(QStringLiteral("MenuQuitter"))->trigger();
    QCOMPARE(languageLine(rig.folder()), QByteArray("LANGUAGE=GERMAN"));
}

QTEST_MAIN(TestThirdLanguage)
#include "tst_third_language.moc"
