#pragma once

#include "config/Language.h"

#include <QString>

// What the user is told about an Orvantis.ini that cannot be used as it is:
// what happened, and what to do about it.
namespace SettingsFileTexts {

// What a settings path names when it is not an ordinary file.
enum class OddFileKind { Fifo, Device, Socket, Folder };

// At start, before the file could say which language it wants: both languages,
// English first.
QString notRegularText(const QString &iniPath, OddFileKind kind);
QString unrecognisedText(const QString &iniPath);

// Why an Orvantis.ini is left as it was at exit.
enum class LeftAloneReason { Unreadable, NotRegular, Unrecognised };

// At exit, in the current language: why the run's settings were not saved.
QString leftAloneText(const Language &language, const QString &iniPath, LeftAloneReason reason);

// The conversion message of a strict value, with where the value stands.
QString badValueText(const Language &language, const QString &conversionMessage, const QString &key, qsizetype line,
                     const QString &iniPath);

} // namespace SettingsFileTexts
