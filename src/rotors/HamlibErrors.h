#pragma once

#include "config/Language.h"

#include <QString>

// Hamlib's status codes turned into what happened and what to do, in the
// language shown. `where` is the COM name or the host:port the rotator is at.
namespace HamlibErrors {

QString failureText(int code, const QString &where, const Language &language);

// A GO whose azimuth no turn brings within the model's limits.
QString beyondLimitsText(const QString &where, double azimuth, double minAzimuth, double maxAzimuth, const Language &language);

QString noModelText(const Language &language);
// The library itself could not be loaded; reason is the loader's.
QString libraryMissingText(const QString &reason, const Language &language);
QString noAddressText(const Language &language);

} // namespace HamlibErrors
