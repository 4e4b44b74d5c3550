#include "app/LanguageTexts.h"

const LanguageTexts &languageTexts(bool french)
{
    static const LanguageTexts english {
        QStringLiteral("Quit"),
        QStringLiteral("Server"),
        QStringLiteral("My Favourites"),
        QStringLiteral("Azimuth"),
        QStringLiteral("Language"),
        QStringLiteral("About Orvantis"),
        QStringLiteral("Help"),
        QStringLiteral("ARSWIN must be running !"),
        QStringLiteral("Hamlib rotctld server (TCP %1)"),
        QStringLiteral("Orvantis cannot serve Hamlib programs on %1, TCP port %2: %3.\n"
                       "Choose another port under Init, or close the program that holds this one."),
        QStringLiteral("another program holds this port"),
        QStringLiteral("ROTCTLD_ADDRESS in Orvantis.ini is not an IP address of this computer"),
        QStringLiteral("Antenna at %1°"),
    };
    static const LanguageTexts frenchTexts {
        QStringLiteral("Quitter"),
        QStringLiteral("Serveur"),
        QStringLiteral("Mes Favoris"),
        QStringLiteral("Azimut"),
        QStringLiteral("Langue"),
        QStringLiteral("A propos de Orvantis"),
        QStringLiteral("Aide"),
        QStringLiteral("ARSWIN doit s'exécuter !"),
        QStringLiteral("Serveur rotctld Hamlib (TCP %1)"),
        QStringLiteral("Orvantis ne peut pas servir les programmes Hamlib sur %1, port TCP %2 : %3.\n"
                       "Choisissez un autre port dans Init, ou fermez le programme qui occupe celui-ci."),
        QStringLiteral("un autre programme occupe ce port"),
        QStringLiteral("ROTCTLD_ADDRESS dans Orvantis.ini n'est pas une adresse IP de cet ordinateur"),
        QStringLiteral("Antenne à %1°"),
    };
    return french ? frenchTexts : english;
}

QString serverMenuCaption(bool french, AzimuthSource source, bool withAccelerator)
{
    const QString word = (withAccelerator ? QStringLiteral("&") : QString()) + languageTexts(french).server;
    switch (source) {
    case AzimuthSource::Geomundo:
        return word + QStringLiteral(" (Geomundo)");
    case AzimuthSource::BeamDx:
        return word + QStringLiteral(" (Beam_DX)");
    case AzimuthSource::Koru:
        return word + QStringLiteral(" (KORU)");
    case AzimuthSource::None:
        break;
    }
    return word;
}

QString koruBindFailureText(bool french, quint16 port, const QString &reason, bool addressInUse)
{
    // Placeholders: the port, then the reason.
    static const QString head[] = {
        QStringLiteral("KORU Logger: UDP port %1 cannot be listened on: %2.\n"),
        QStringLiteral("KORU Logger : le port UDP %1 ne peut pas être écouté : %2.\n"),
    };
    static const QString holder[] = {
        QStringLiteral("Another program holds the port (ss -ulpn 'sport = :%1' names it): close it, or "),
        QStringLiteral("Un autre programme tient ce port (ss -ulpn 'sport = :%1' le nomme) : fermez-le, ou "),
    };
    static const QString choose[] = {
        QStringLiteral("choose another port or antenna number under Init (Ctrl+I), the same as in the logger."),
        QStringLiteral("choisissez un autre port ou numéro d'antenne dans Init (Ctrl+I), le même que dans le logger."),
    };
    const int language = french ? 1 : 0;
    QString remedy = choose[language];
    if (addressInUse)
        remedy = holder[language].arg(port) + remedy;
    else
        remedy[0] = remedy[0].toUpper();
    return head[language].arg(port).arg(reason) + remedy;
}
