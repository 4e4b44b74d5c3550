#include "rotors/HamlibErrors.h"

#include "config/Translation.h"
#include "rotors/HamlibBackend.h"
#include "rotors/HamlibLibrary.h"

#include <hamlib/rig.h>

#include <cstdlib>

namespace {

QString translated(const Language &language, const char *source)
{
    return Translation::text(language, "HamlibErrors", source);
}

struct ErrorText {
    int code;
    const char *text; // %1 is where the rotator is
};

constexpr ErrorText Texts[] = {
    {RIG_ETIMEOUT, QT_TRANSLATE_NOOP("HamlibErrors", "%1: the controller did not answer (timeout) — check the cable, "
                                                     "the speed and the model.")},
    {RIG_EIO, QT_TRANSLATE_NOOP("HamlibErrors",
                                "%1: the connection failed (input/output error) — check that the controller is "
                                "plugged in and switched on, or that the address is right and its server running.")},
    {RIG_EPROTO, QT_TRANSLATE_NOOP("HamlibErrors", "%1: the controller's answer was not understood (protocol error) — "
                                                   "check the model and the speed.")},
    {RIG_ERJCTED, QT_TRANSLATE_NOOP("HamlibErrors", "%1: the controller refused the command — check the model and the "
                                                    "controller's settings.")},
    {RIG_ENAVAIL, QT_TRANSLATE_NOOP("HamlibErrors", "%1: this model cannot do that — pick the model of your "
                                                    "controller under Init (Ctrl+I).")},
    {RIG_ENIMPL, QT_TRANSLATE_NOOP("HamlibErrors", "%1: this model cannot do that — pick the model of your "
                                                   "controller under Init (Ctrl+I).")},
    {RIG_ECONF, QT_TRANSLATE_NOOP("HamlibErrors", "%1: the port settings were refused (configuration error) — check "
                                                  "the port and the speed.")},
    {RIG_EINVAL, QT_TRANSLATE_NOOP("HamlibErrors", "%1: the controller was given a value it does not accept — check "
                                                   "the model and the offset.")},
    {RIG_EPOWER, QT_TRANSLATE_NOOP("HamlibErrors", "%1: the controller is switched off — switch it on.")},
};

} // namespace

QString HamlibErrors::failureText(int code, const QString &where, const Language &language)
{
    const int status = std::abs(code);
    for (const ErrorText &text : Texts) {
        if (text.code == status)
            return translated(language, text.text).arg(where);
    }
    HamlibBackend *backend = HamlibLibrary::backend();
    const QString library = backend ? backend->statusText(-status) : QString();
    return translated(language, QT_TRANSLATE_NOOP("HamlibErrors",
                                                "%1: Hamlib error %2 (%3) — check the model, the port and the speed."))
        .arg(where, QString::number(status), library);
}

QString HamlibErrors::beyondLimitsText(const QString &where, double azimuth, double minAzimuth, double maxAzimuth,
                                       const Language &language)
{
    return translated(language, QT_TRANSLATE_NOOP("HamlibErrors",
                                                "%1: the azimuth %2° lies beyond the rotator's limits (%3° to %4°); "
                                                "nothing was sent. Check the model, the offset and the stop side."))
        .arg(where, QString::number(azimuth), QString::number(minAzimuth), QString::number(maxAzimuth));
}

QString HamlibErrors::noModelText(const Language &language)
{
    return translated(language,
                      QT_TRANSLATE_NOOP("HamlibErrors", "Hamlib has no rotator model.\nPick one under Init (Ctrl+I)."));
}

QString HamlibErrors::noAddressText(const Language &language)
{
    return translated(language, QT_TRANSLATE_NOOP("HamlibErrors", "Hamlib has no address (host:port) for this network "
                                                                "model.\nEnter it under Init (Ctrl+I)."));
}

QString HamlibErrors::libraryMissingText(const QString &reason, const Language &language)
{
    return translated(language, QT_TRANSLATE_NOOP("HamlibErrors",
                                                "Hamlib's library could not be loaded (%1).\nInstall it (sudo apt "
                                                "install libhamlib4), or choose another interface under Init (Ctrl+I)."))
        .arg(reason);
}
