#include "core/SetupTexts.h"

#include "config/Translation.h"

namespace {

SetupTexts textsIn(const Language &language)
{
    const auto translated = [language](const char *source) { return Translation::text(language, "SetupTexts", source); };
    return {
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Check to quit in Host mode")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Enter the path of the directory of Movenow.com")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Stop")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Use for parking")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Min Step°")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "CAUTION : ARSWIN must be running")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "If using ARSVCOM, choose GS232, the virtual COM port created by ARSVCOM "
                                           "and check the box \"+el=0\"")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Check to play an audio signal when a command is sent to rotator")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Cannot find Movenow.com !")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Please choose a COM port for this interface")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Warning")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Error")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Let Hamlib programs (gpredict, rotctl) steer the antenna")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "TCP port:")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Read position")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Pin to this adapter")),
        translated(QT_TRANSLATE_NOOP("SetupTexts", "Keep this COM name for this adapter whatever order adapters are plugged "
                                           "in: links dosdevices/comN, beside Orvantis.ini, to its /dev/serial/by-id "
                                           "name")),
        translated(QT_TRANSLATE_NOOP("SetupTexts",
                             "Cannot pin %1 to %2: %3.\nCheck that the folder of Orvantis.ini is writable.")),
    };
}

} // namespace

const SetupTexts &setupTexts(const Language &language)
{
    return Translation::tableIn(language, &textsIn);
}
