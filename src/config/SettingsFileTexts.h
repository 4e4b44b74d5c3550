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
QString linkLoopText(const QString &iniPath);

// Why an Orvantis.ini is left as it was at exit.
enum class LeftAloneReason { Unreadable, NotRegular, Unrecognised, LinkLoop };

// At exit, in the current language: why the run's settings were not saved.
QString leftAloneText(const Language &language, const QString &iniPath, LeftAloneReason reason);

// In the current language: favourite n's name holds characters Orvantis.ini cannot
// keep, and what is written in its place.
QString favouriteNotKeptText(const Language &language, int n, const QString &label);

// The conversion message of a strict value, with where the value stands.
QString badValueText(const Language &language, const QString &conversionMessage, const QString &key, qsizetype line,
                     const QString &iniPath);

} // namespace SettingsFileTexts
