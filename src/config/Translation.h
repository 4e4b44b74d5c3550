#pragma once

#include <QString>

// The program's texts are written in English where they are used, marked with
// QT_TRANSLATE_NOOP(context, text) so that lupdate collects them; the French ones
// come from resources/translations/orvantis_fr.ts, compiled into the program.
// Both languages are at hand at any time: the language follows the menu and
// Orvantis.ini at run time, and some messages are given in both at once.
namespace Translation {

// `source` as it reads in French, or `source` itself for English. A text the
// translation does not hold stays English.
QString text(bool french, const char *context, const char *source);

// Qt's own texts (standard buttons, the line editors' context menus) follow the
// language: Qt's French translation is installed in the application, or removed
// for English. Needs the application object.
void followWithQtTexts(bool french);

} // namespace Translation
