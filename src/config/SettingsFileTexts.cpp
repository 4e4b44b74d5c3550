#include "config/SettingsFileTexts.h"

namespace SettingsFileTexts {

namespace {

QString kindName(OddFileKind kind, bool french)
{
    switch (kind) {
    case OddFileKind::Fifo: return french ? QStringLiteral("un tube nommé (FIFO)") : QStringLiteral("a named pipe (FIFO)");
    case OddFileKind::Device: return french ? QStringLiteral("un périphérique") : QStringLiteral("a device");
    case OddFileKind::Socket: return french ? QStringLiteral("une socket") : QStringLiteral("a socket");
    case OddFileKind::Folder: break;
    }
    return french ? QStringLiteral("un dossier") : QStringLiteral("a folder");
}

QString bothLanguages(const QString &english, const QString &french)
{
    return english + QStringLiteral("\n\n") + french;
}

} // namespace

QString notRegularText(const QString &iniPath, OddFileKind kind)
{
    return bothLanguages(
        QStringLiteral("%1 is not an ordinary file but %2, so Orvantis neither reads nor replaces it: it starts "
                       "with its default settings, and this session's settings are not saved. Remove it, or put "
                       "an ordinary Orvantis.ini in its place, before starting Orvantis again.")
            .arg(iniPath, kindName(kind, false)),
        QStringLiteral("%1 n'est pas un fichier ordinaire mais %2 : Orvantis ne le lit pas et ne le remplace pas. "
                       "Il démarre avec ses réglages par défaut, et les réglages de cette session ne sont pas "
                       "enregistrés. Supprimez-le, ou mettez à sa place un fichier Orvantis.ini ordinaire, avant "
                       "de relancer Orvantis.")
            .arg(iniPath, kindName(kind, true)));
}

QString unrecognisedText(const QString &iniPath)
{
    return bothLanguages(
        QStringLiteral("%1 holds no setting that Orvantis knows: it may have been saved in another encoding "
                       "(such as Notepad's \"Unicode\", which is UTF-16) or belong to another program. Orvantis "
                       "starts with its default settings and leaves the file as it is. To keep its settings, save "
                       "it again as ANSI or UTF-8; to start afresh, delete it.")
            .arg(iniPath),
        QStringLiteral("%1 ne contient aucun réglage connu d'Orvantis : il a peut-être été enregistré dans un autre "
                       "codage (comme « Unicode » du Bloc-notes, c'est-à-dire UTF-16) ou appartient à un autre "
                       "programme. Orvantis démarre avec ses réglages par défaut et laisse le fichier tel quel. "
                       "Pour garder ses réglages, enregistrez-le de nouveau en ANSI ou en UTF-8 ; pour repartir "
                       "de zéro, supprimez-le.")
            .arg(iniPath));
}

QString leftAloneText(bool french, const QString &iniPath, LeftAloneReason reason)
{
    struct Words {
        QString what, remedy;
    };
    // Per reason, in the order of LeftAloneReason; English, then French.
    static const Words english[] = {
        {QStringLiteral("could not be read at start"),
         QStringLiteral("Make it readable (check its permissions) before starting Orvantis again.")},
        {QStringLiteral("is not an ordinary file"),
         QStringLiteral("Remove it, or put an ordinary file in its place, before starting Orvantis again.")},
        {QStringLiteral("holds no setting that Orvantis knows"),
         QStringLiteral("Save it again as ANSI or UTF-8, or delete it, before starting Orvantis again.")},
    };
    static const Words frenchWords[] = {
        {QStringLiteral("n'a pas pu être lu au démarrage"),
         QStringLiteral("Rendez-le lisible (droits d'accès) avant de relancer Orvantis.")},
        {QStringLiteral("n'est pas un fichier ordinaire"),
         QStringLiteral("Supprimez-le, ou mettez à sa place un fichier ordinaire, avant de relancer Orvantis.")},
        {QStringLiteral("ne contient aucun réglage connu d'Orvantis"),
         QStringLiteral("Enregistrez-le de nouveau en ANSI ou en UTF-8, ou supprimez-le, avant de relancer Orvantis.")},
    };
    const Words &words = (french ? frenchWords : english)[static_cast<int>(reason)];
    return french ? QStringLiteral("%1 %2 ; il est laissé tel quel et les réglages de cette session ne sont pas "
                                   "enregistrés. %3")
                        .arg(iniPath, words.what, words.remedy)
                  : QStringLiteral("%1 %2, so it is left as it was and this session's settings are not saved. %3")
                        .arg(iniPath, words.what, words.remedy);
}

QString badValueText(bool french, const QString &conversionMessage, const QString &key, qsizetype line,
                     const QString &iniPath)
{
    // One multi-argument call: a value holding "%3" must stay as it was written.
    return french ? QStringLiteral("%1\nClé %2, ligne %3 de %4 : la ligne est ignorée et le réglage garde sa valeur "
                                   "précédente ; Orvantis en écrit une valide à sa fermeture.")
                        .arg(conversionMessage, key, QString::number(line), iniPath)
                  : QStringLiteral("%1\nKey %2, line %3 of %4: the line is ignored and the setting keeps its "
                                   "previous value; Orvantis writes a valid one when it closes.")
                        .arg(conversionMessage, key, QString::number(line), iniPath);
}

} // namespace SettingsFileTexts
