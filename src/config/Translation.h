#pragma once

#include "config/Language.h"

#include <QMutex>
#include <QString>

#include <map>

// The program's texts are written in English where they are used, marked with
// QT_TRANSLATE_NOOP(context, text) so that lupdate collects them; every other
// language comes from resources/translations/orvantis_<code>.ts, compiled into
// the program. All languages are at hand at any time: the language follows the
// menu and Orvantis.ini at run time, and some messages are given in two at once.
namespace Translation {

// `source` as it reads in `language`. A text the translation does not hold stays
// English.
QString text(const Language &language, const char *context, const char *source);

// Qt's own texts (standard buttons, the line editors' context menus) follow the
// language: Qt's translation is installed in the application, or removed for
// English. Needs the application object.
void followWithQtTexts(const Language &language);

// A table of texts built once in each language it is asked in (captions ask for
// theirs at every change). The map keeps every table where it was built, so the
// reference stays good.
template <typename Table>
const Table &tableIn(const Language &language, Table (*build)(const Language &))
{
    static QMutex lock;
    static std::map<QString, Table> tables;
    const QMutexLocker locker(&lock);
    auto found = tables.find(language.code());
    if (found == tables.end())
        found = tables.emplace(language.code(), build(language)).first;
    return found->second;
}

} // namespace Translation
