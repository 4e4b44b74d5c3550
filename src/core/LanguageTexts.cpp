#include "core/LanguageTexts.h"

#include "config/Translation.h"

namespace {

QString translated(const Language &language, const char *source)
{
    return Translation::text(language, "LanguageTexts", source);
}

LanguageTexts textsIn(const Language &language)
{
    return {
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Quit")),
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Server")),
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "My Favourites")),
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Azimuth")),
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Language")),
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "About Orvantis")),
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Help")),
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "ARSWIN must be running !")),
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Hamlib rotctld server (TCP %1)")),
        translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Antenna at %1°")),
    };
}

} // namespace

const LanguageTexts &languageTexts(const Language &language)
{
    return Translation::tableIn(language, &textsIn);
}

QString serverMenuCaption(const Language &language, AzimuthSource source, bool withAccelerator)
{
    const QString word = (withAccelerator ? QStringLiteral("&") : QString()) + languageTexts(language).server;
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

QString rotctldFailureText(const Language &language, const QString &address, quint16 port, RotctldFailure failure,
                           const QString &systemReason, bool windowless)
{
    QString reason = systemReason;
    QString remedy = windowless
        ? translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Set another ROTCTLD_PORT in Orvantis.ini."))
        : translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Choose another port under Init (Ctrl+I)."));
    if (failure == RotctldFailure::AddressInUse) {
        reason = translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "another program holds this port"));
        remedy = (windowless ? translated(language, QT_TRANSLATE_NOOP("LanguageTexts",
                                                                      "Close it (ss -tlpn 'sport = :%1' names it), or "
                                                                      "set another ROTCTLD_PORT in Orvantis.ini."))
                             : translated(language, QT_TRANSLATE_NOOP("LanguageTexts",
                                                                      "Close it (ss -tlpn 'sport = :%1' names it), or "
                                                                      "choose another port under Init (Ctrl+I).")))
                     .arg(port);
    } else if (failure == RotctldFailure::NotAnAddress) {
        reason = translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "ROTCTLD_ADDRESS in Orvantis.ini is not an IP "
                                                               "address of this computer"));
        remedy = translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Correct ROTCTLD_ADDRESS in Orvantis.ini: 127.0.0.1 "
                                                               "for this computer only, 0.0.0.0 for the network."));
    } else if (failure == RotctldFailure::AddressMissing) {
        reason = translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "this computer does not have that address (yet)"));
        remedy = translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "If the network is still coming up, nothing needs "
                                                               "doing; otherwise correct ROTCTLD_ADDRESS in Orvantis.ini."));
    }
    // Placeholders: the address, the port, then the reason.
    return translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Orvantis cannot serve Hamlib programs on %1, TCP port "
                                                         "%2: %3.\n"))
               .arg(address, QString::number(port), reason)
        + remedy
        // What is not an address never becomes one: nothing is tried again for it.
        + (failure == RotctldFailure::NotAnAddress
               ? QString()
               : translated(language, QT_TRANSLATE_NOOP("LanguageTexts", " Orvantis tries again every few seconds "
                                                                         "and says when it serves.")));
}

QString koruBindFailureText(const Language &language, quint16 port, const QString &reason, bool addressInUse,
                            bool windowless)
{
    QString remedy = windowless
        ? translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "set PORTKORU and ANTKORU in Orvantis.ini, the same "
                                                         "as in the logger."))
        : translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "choose another port or antenna number under "
                                                         "Init (Ctrl+I), the same as in the logger."));
    if (addressInUse)
        remedy = translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Another program holds the port (ss -ulpn 'sport = "
                                                               ":%1' names it): close it, or "))
                     .arg(port)
            + remedy;
    else
        remedy[0] = remedy[0].toUpper();
    // Placeholders: the port, then the reason.
    return translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "KORU Logger: UDP port %1 cannot be listened on: %2.\n"))
               .arg(port)
               .arg(reason)
        + remedy
        + translated(language, QT_TRANSLATE_NOOP("LanguageTexts", " Orvantis tries again every few seconds and says when "
                                                         "it serves."));
}

QString servingSummaryText(const Language &language, const QString &rotctldAddress, quint16 rotctldPort,
                           quint16 koruPort)
{
    const QString none = translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "not served"));
    // Placeholders: where Hamlib clients connect, then the UDP port of the KORU datagrams.
    return translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Running. Hamlib clients: %1; KORU datagrams: %2."))
        .arg(rotctldPort ? QStringLiteral("%1 TCP %2").arg(rotctldAddress).arg(rotctldPort) : none,
             koruPort ? QStringLiteral("UDP %1").arg(koruPort) : none);
}

QString closedText(const Language &language, bool saved, const QString &iniPath)
{
    return (saved ? translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Closed; settings saved in %1."))
                  : translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Closed; the settings in %1 were not saved.")))
        .arg(iniPath);
}

QString servingText(const Language &language, const QString &what, quint16 port)
{
    // Placeholders: what serves (a protocol and transport), then the port.
    return translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "Orvantis now listens: %1 port %2."))
        .arg(what)
        .arg(port);
}

QString absentPortText(const Language &language, const QString &comName, const QString &device, const QString &interfaceName)
{
    // Placeholders: the COM name, the device it stands for, the interface.
    return translated(language, QT_TRANSLATE_NOOP("LanguageTexts",
                                        "%1 (%2) is not present: %3 is not used in this run, and its port stays "
                                        "saved. Plug the adapter in and start Orvantis again; if it comes back under "
                                        "another name, pick it under Init (Ctrl+I) and use \"Pin to this adapter\"."))
        .arg(comName,
             device.isEmpty() ? translated(language, QT_TRANSLATE_NOOP("LanguageTexts", "no device: dosdevices/%1 is "
                                                                                          "missing"))
                                    .arg(comName.toLower())
                              : device,
             interfaceName);
}
