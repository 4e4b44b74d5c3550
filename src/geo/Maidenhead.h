#pragma once

#include "geo/GeoPoint.h"

#include <QString>
#include <QStringView>

// Maidenhead locators: pairs of a field (A-R), a square (0-9), a subsquare (A-X),
// an extended square (0-9), then again 24 letters and 10 digits, as Hamlib extends
// them. Every even length from 2 to 12 characters is a locator; what the users type
// is 4, 6 or 8.
namespace Maidenhead {

constexpr int MinimumLength = 2;
constexpr int MaximumLength = 12;

enum class Problem {
    None,
    Empty,
    OddLength,       // a pair cut short
    TooLong,
    BadField,        // beyond R (S-Z) or not a letter
    BadDigit,        // a square or extended square that is not a digit
    BadSubsquare,    // beyond X (Y, Z) or not a letter
    BadLength,       // asked for a length that is no locator
    OutOfRange,      // a latitude beyond ±90 or a longitude beyond ±180
};

struct Decoded {
    Problem problem = Problem::None;
    int position = -1; // the offending character, for the bad letters and digits
    GeoPoint centre;   // of the square the locator names
    // The square's size, so a caller can say how precise the place is.
    double latitudeSpan = 0;
    double longitudeSpan = 0;
    bool ok() const { return problem == Problem::None; }
};

// Case is not significant; blanks around are not allowed (callers trim).
Decoded decode(QStringView locator);

struct Encoded {
    Problem problem = Problem::None;
    QString locator; // fields upper case, subsquares lower case: "JN18eu24"
    bool ok() const { return problem == Problem::None; }
};

// The locator of the square that holds `point`. A point on the north pole or the
// 180th meridian is placed in the last square (R, 9, X …), where the grid ends.
Encoded encode(const GeoPoint &point, int length);

// Why a locator was refused, in English: "JZ18 has a field letter beyond R (Z)".
QString describe(const Decoded &decoded, QStringView locator);

} // namespace Maidenhead
