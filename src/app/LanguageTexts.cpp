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
    if (french) {
        const QString head = QStringLiteral("KORU Logger : le port UDP %1 ne peut pas être écouté : %2.\n").arg(port).arg(reason);
        return head
            + (addressInUse ? QStringLiteral("Un autre programme tient ce port (ss -ulpn 'sport = :%1' le nomme) : "
                                             "fermez-le, ou choisissez un autre port ou numéro d'antenne dans Init "
                                             "(Ctrl+I), le même que dans le logger.")
                                  .arg(port)
                            : QStringLiteral("Choisissez un autre port ou numéro d'antenne dans Init (Ctrl+I), "
                                             "le même que dans le logger."));
    }
    const QString head = QStringLiteral("KORU Logger: UDP port %1 cannot be listened on: %2.\n").arg(port).arg(reason);
    return head
        + (addressInUse ? QStringLiteral("Another program holds the port (ss -ulpn 'sport = :%1' names it): close "
                                         "it, or choose another port or antenna number under Init (Ctrl+I), the "
                                         "same as in the logger.")
                              .arg(port)
                        : QStringLiteral("Choose another port or antenna number under Init (Ctrl+I), the same as "
                                         "in the logger."));
}
