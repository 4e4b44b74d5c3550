#include "rotors/HamlibErrors.h"

#include <hamlib/rig.h>

#include <cstdlib>

namespace {

struct ErrorText {
    int code;
    const char *english;
    const char *french;
};

// %1 is where the rotator is.
constexpr ErrorText Texts[] = {
    {RIG_ETIMEOUT, "%1: the controller did not answer (timeout) — check the cable, the speed and the model.",
     "%1 : le contrôleur n'a pas répondu (délai dépassé) — vérifiez le câble, la vitesse et le modèle."},
    {RIG_EIO,
     "%1: the connection failed (input/output error) — check that the controller is plugged in and switched on, "
     "or that the address is right and its server running.",
     "%1 : la connexion a échoué (erreur d'entrée/sortie) — vérifiez que le contrôleur est branché et allumé, "
     "ou que l'adresse est juste et son serveur lancé."},
    {RIG_EPROTO, "%1: the controller's answer was not understood (protocol error) — check the model and the speed.",
     "%1 : la réponse du contrôleur n'a pas été comprise (erreur de protocole) — vérifiez le modèle et la vitesse."},
    {RIG_ERJCTED, "%1: the controller refused the command — check the model and the controller's settings.",
     "%1 : le contrôleur a refusé la commande — vérifiez le modèle et les réglages du contrôleur."},
    {RIG_ENAVAIL, "%1: this model cannot do that — pick the model of your controller under Init (Ctrl+I).",
     "%1 : ce modèle ne sait pas le faire — choisissez le modèle de votre contrôleur dans Init (Ctrl+I)."},
    {RIG_ENIMPL, "%1: this model cannot do that — pick the model of your controller under Init (Ctrl+I).",
     "%1 : ce modèle ne sait pas le faire — choisissez le modèle de votre contrôleur dans Init (Ctrl+I)."},
    {RIG_ECONF, "%1: the port settings were refused (configuration error) — check the port and the speed.",
     "%1 : les réglages du port ont été refusés (erreur de configuration) — vérifiez le port et la vitesse."},
    {RIG_EINVAL, "%1: the controller was given a value it does not accept — check the model and the offset.",
     "%1 : le contrôleur a reçu une valeur qu'il n'accepte pas — vérifiez le modèle et le décalage."},
    {RIG_EPOWER, "%1: the controller is switched off — switch it on.",
     "%1 : le contrôleur est éteint — allumez-le."},
};

} // namespace

QString HamlibErrors::failureText(int code, const QString &where, bool french)
{
    const int status = std::abs(code);
    for (const ErrorText &text : Texts) {
        if (text.code == status)
            return QString::fromUtf8(french ? text.french : text.english).arg(where);
    }
    const QString library = QString::fromUtf8(rigerror(-status)).trimmed();
    return (french ? QStringLiteral("%1 : erreur Hamlib %2 (%3) — vérifiez le modèle, le port et la vitesse.")
                   : QStringLiteral("%1: Hamlib error %2 (%3) — check the model, the port and the speed."))
        .arg(where, QString::number(status), library);
}

QString HamlibErrors::beyondLimitsText(const QString &where, double azimuth, double minAzimuth, double maxAzimuth,
                                       bool french)
{
    return (french ? QStringLiteral("%1 : l'azimut %2° est hors des limites du rotor (%3° à %4°) ; rien n'a été "
                                    "envoyé. Vérifiez le modèle, le décalage et le côté de la butée.")
                   : QStringLiteral("%1: the azimuth %2° lies beyond the rotator's limits (%3° to %4°); nothing was "
                                    "sent. Check the model, the offset and the stop side."))
        .arg(where, QString::number(azimuth), QString::number(minAzimuth), QString::number(maxAzimuth));
}

QString HamlibErrors::noModelText(bool french)
{
    return french ? QStringLiteral("Hamlib n'a pas de modèle de rotor.\nChoisissez-en un dans Init (Ctrl+I).")
                  : QStringLiteral("Hamlib has no rotator model.\nPick one under Init (Ctrl+I).");
}

QString HamlibErrors::noAddressText(bool french)
{
    return french ? QStringLiteral("Hamlib n'a pas d'adresse (hôte:port) pour ce modèle réseau.\n"
                                   "Indiquez-la dans Init (Ctrl+I).")
                  : QStringLiteral("Hamlib has no address (host:port) for this network model.\n"
                                   "Enter it under Init (Ctrl+I).");
}
