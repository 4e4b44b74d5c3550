#include "config/SettingsFileTexts.h"

#include "config/Translation.h"
#include "config/Windows1252.h"

namespace SettingsFileTexts {

namespace {

QString translated(const Language &language, const char *source)
{
    return Translation::text(language, "SettingsFileTexts", source);
}

QString kindName(OddFileKind kind, const Language &language)
{
    switch (kind) {
    case OddFileKind::Fifo: return translated(language, QT_TRANSLATE_NOOP("SettingsFileTexts", "a named pipe (FIFO)"));
    case OddFileKind::Device: return translated(language, QT_TRANSLATE_NOOP("SettingsFileTexts", "a device"));
    case OddFileKind::Socket: return translated(language, QT_TRANSLATE_NOOP("SettingsFileTexts", "a socket"));
    case OddFileKind::Folder: break;
    }
    return translated(language, QT_TRANSLATE_NOOP("SettingsFileTexts", "a folder"));
}

// English first, then French: nothing has said yet which one the user reads.
QString bothLanguages(const char *source, const QString &iniPath, const QString &englishKind = QString(),
                      const QString &frenchKind = QString())
{
    const auto in = [source, &iniPath](const Language &language, const QString &kind) {
        const QString text = translated(language, source);
        return kind.isEmpty() ? text.arg(iniPath) : text.arg(iniPath, kind);
    };
    return in(Language::english(), englishKind) + QStringLiteral("\n\n") + in(Language::french(), frenchKind);
}

} // namespace

QString notRegularText(const QString &iniPath, OddFileKind kind)
{
    return bothLanguages(QT_TRANSLATE_NOOP("SettingsFileTexts",
                                           "%1 is not an ordinary file but %2, so Orvantis neither reads nor "
                                           "replaces it: it starts with its default settings, and this session's "
                                           "settings are not saved. Remove it, or put an ordinary Orvantis.ini in "
                                           "its place, before starting Orvantis again."),
                         iniPath, kindName(kind, Language::english()), kindName(kind, Language::french()));
}

QString unrecognisedText(const QString &iniPath)
{
    return bothLanguages(QT_TRANSLATE_NOOP("SettingsFileTexts",
                                           "%1 holds no setting that Orvantis knows: it may have been saved in "
                                           "another encoding (such as Notepad's \"Unicode\", which is UTF-16) or "
                                           "belong to another program. Orvantis starts with its default settings "
                                           "and leaves the file as it is. To keep its settings, save it again as "
                                           "ANSI or UTF-8; to start afresh, delete it."),
                         iniPath);
}

QString linkLoopText(const QString &iniPath)
{
    return bothLanguages(QT_TRANSLATE_NOOP("SettingsFileTexts",
                                           "%1 is a symbolic link that leads back to itself and never to a file, so "
                                           "Orvantis neither reads nor replaces it: it starts with its default "
                                           "settings, and this session's settings are not saved. Point the link at "
                                           "a file, or remove it, before starting Orvantis again."),
                         iniPath);
}

QString leftAloneText(const Language &language, const QString &iniPath, LeftAloneReason reason)
{
    struct Words {
        const char *what, *remedy;
    };
    // Per reason, in the order of LeftAloneReason.
    static const Words words[] = {
        {QT_TRANSLATE_NOOP("SettingsFileTexts", "could not be read at start"),
         QT_TRANSLATE_NOOP("SettingsFileTexts",
                           "Make it readable (check its permissions) before starting Orvantis again.")},
        {QT_TRANSLATE_NOOP("SettingsFileTexts", "is not an ordinary file"),
         QT_TRANSLATE_NOOP("SettingsFileTexts",
                           "Remove it, or put an ordinary file in its place, before starting Orvantis again.")},
        {QT_TRANSLATE_NOOP("SettingsFileTexts", "holds no setting that Orvantis knows"),
         QT_TRANSLATE_NOOP("SettingsFileTexts",
                           "Save it again as ANSI or UTF-8, or delete it, before starting Orvantis again.")},
        {QT_TRANSLATE_NOOP("SettingsFileTexts", "is a symbolic link that leads back to itself"),
         QT_TRANSLATE_NOOP("SettingsFileTexts", "Point the link at a file, or remove it, before starting Orvantis again.")},
    };
    const Words &chosen = words[static_cast<int>(reason)];
    return translated(language, QT_TRANSLATE_NOOP("SettingsFileTexts",
                                        "%1 %2, so it is left as it was and this session's settings are not saved. "
                                        "%3"))
        .arg(iniPath, translated(language, chosen.what), translated(language, chosen.remedy));
}

QString favouriteNotKeptText(const Language &language, int n, const QString &label)
{
    const QString written = Windows1252::decode(Windows1252::encode(label));
    return translated(language, QT_TRANSLATE_NOOP("SettingsFileTexts",
                                        "The name of favourite %1, \"%2\", holds characters that Orvantis.ini "
                                        "(Windows-1252) cannot keep: it is saved as \"%3\". Choose a name without "
                                        "them to keep it as you wrote it."))
        .arg(QString::number(n), label, written);
}

QString badValueText(const Language &language, const QString &conversionMessage, const QString &key, qsizetype line,
                     const QString &iniPath)
{
    // One multi-argument call: a value holding "%3" must stay as it was written.
    return translated(language, QT_TRANSLATE_NOOP("SettingsFileTexts",
                                        "%1\nKey %2, line %3 of %4: the line is ignored and the setting keeps its "
                                        "previous value; Orvantis writes a valid one when it closes."))
        .arg(conversionMessage, key, QString::number(line), iniPath);
}

} // namespace SettingsFileTexts
