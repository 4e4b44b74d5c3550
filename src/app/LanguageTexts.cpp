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
