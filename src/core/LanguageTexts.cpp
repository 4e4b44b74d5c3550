#include "core/LanguageTexts.h"

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

QString rotctldFailureText(bool french, const QString &address, quint16 port, RotctldFailure failure,
                           const QString &systemReason)
{
    // Placeholders: the address, the port, then the reason.
    static const QString head[] = {
        QStringLiteral("Orvantis cannot serve Hamlib programs on %1, TCP port %2: %3.\n"),
        QStringLiteral("Orvantis ne peut pas servir les programmes Hamlib sur %1, port TCP %2 : %3.\n"),
    };
    static const QString inUse[][2] = {
        {QStringLiteral("another program holds this port"),
         QStringLiteral("Close it (ss -tlpn 'sport = :%1' names it), or choose another port under Init (Ctrl+I).")},
        {QStringLiteral("un autre programme occupe ce port"),
         QStringLiteral("Fermez-le (ss -tlpn 'sport = :%1' le nomme), ou choisissez un autre port dans Init (Ctrl+I).")},
    };
    static const QString notAnAddress[][2] = {
        {QStringLiteral("ROTCTLD_ADDRESS in Orvantis.ini is not an IP address of this computer"),
         QStringLiteral("Correct ROTCTLD_ADDRESS in Orvantis.ini: 127.0.0.1 for this computer only, 0.0.0.0 for "
                        "the network.")},
        {QStringLiteral("ROTCTLD_ADDRESS dans Orvantis.ini n'est pas une adresse IP de cet ordinateur"),
         QStringLiteral("Corrigez ROTCTLD_ADDRESS dans Orvantis.ini : 127.0.0.1 pour cet ordinateur seul, 0.0.0.0 "
                        "pour le réseau.")},
    };
    static const QString otherRemedy[] = {
        QStringLiteral("Choose another port under Init (Ctrl+I)."),
        QStringLiteral("Choisissez un autre port dans Init (Ctrl+I)."),
    };
    const int language = french ? 1 : 0;
    QString reason = systemReason;
    QString remedy = otherRemedy[language];
    if (failure == RotctldFailure::AddressInUse) {
        reason = inUse[language][0];
        remedy = inUse[language][1].arg(port);
    } else if (failure == RotctldFailure::NotAnAddress) {
        reason = notAnAddress[language][0];
        remedy = notAnAddress[language][1];
    }
    return head[language].arg(address, QString::number(port), reason) + remedy;
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

QString absentPortText(bool french, const QString &comName, const QString &device, const QString &interfaceName)
{
    // Placeholders: the COM name, the device it stands for, the interface.
    static const QString text[] = {
        QStringLiteral("%1 (%2) is not present: %3 is not used in this run, and its port stays saved. "
                       "Plug the adapter in and start Orvantis again; if it comes back under another name, "
                       "pick it under Init (Ctrl+I) and use \"Pin to this adapter\"."),
        QStringLiteral("%1 (%2) est absent : %3 n'est pas utilisé pour cette fois, et son port reste enregistré. "
                       "Branchez l'adaptateur et relancez Orvantis ; s'il revient sous un autre nom, "
                       "choisissez-le dans Init (Ctrl+I) et utilisez « Attacher à cet adaptateur »."),
    };
    return text[french ? 1 : 0].arg(comName, device.isEmpty() ? QStringLiteral("?") : device, interfaceName);
}
