#include "geo/Maidenhead.h"

#include <algorithm>
#include <array>
#include <cmath>

bool isValidPoint(const GeoPoint &point)
{
    return std::isfinite(point.latitude) && std::isfinite(point.longitude) && std::abs(point.latitude) <= 90
        && std::abs(point.longitude) <= 180;
}

namespace Maidenhead {

namespace {

// How many parts each pair divides its parent into: 18 fields, then squares and
// subsquares alternately.
constexpr std::array<int, MaximumLength / 2> Divisions {18, 10, 24, 10, 24, 10};
constexpr double LongitudeRange = 360;
constexpr double LatitudeRange = 180;

bool isLetterPair(int pair)
{
    return Divisions[pair] != 10;
}

// The digit or letter's place within its pair, or -1.
int indexOf(QChar c, int pair)
{
    if (isLetterPair(pair)) {
        const char16_t upper = c.toUpper().unicode();
        if (upper < u'A' || upper > u'Z')
            return -1;
        const int index = upper - u'A';
        return index < Divisions[pair] ? index : -1;
    }
    const char16_t digit = c.unicode();
    return digit >= u'0' && digit <= u'9' ? digit - u'0' : -1;
}

Problem problemAt(int pair)
{
    if (!isLetterPair(pair))
        return Problem::BadDigit;
    return pair == 0 ? Problem::BadField : Problem::BadSubsquare;
}

long long cellsFor(int pairs)
{
    long long cells = 1;
    for (int pair = 0; pair < pairs; ++pair)
        cells *= Divisions[pair];
    return cells;
}

} // namespace

Decoded decode(QStringView locator)
{
    Decoded result;
    if (locator.isEmpty()) {
        result.problem = Problem::Empty;
        return result;
    }
    if (locator.size() > MaximumLength) {
        result.problem = Problem::TooLong;
        return result;
    }
    if (locator.size() % 2 != 0) {
        result.problem = Problem::OddLength;
        return result;
    }
    const int pairs = int(locator.size() / 2);
    // Each coordinate as a whole number of the smallest cells, so the centre is
    // found without adding up rounded fractions.
    long long longitudeIndex = 0;
    long long latitudeIndex = 0;
    for (int pair = 0; pair < pairs; ++pair) {
        const int lonDigit = indexOf(locator.at(2 * pair), pair);
        const int latDigit = indexOf(locator.at(2 * pair + 1), pair);
        if (lonDigit < 0 || latDigit < 0) {
            result.position = lonDigit < 0 ? 2 * pair : 2 * pair + 1;
            result.problem = problemAt(pair);
            return result;
        }
        longitudeIndex = longitudeIndex * Divisions[pair] + lonDigit;
        latitudeIndex = latitudeIndex * Divisions[pair] + latDigit;
    }
    const double cells = double(cellsFor(pairs));
    result.longitudeSpan = LongitudeRange / cells;
    result.latitudeSpan = LatitudeRange / cells;
    result.centre.longitude = -180 + (double(longitudeIndex) + 0.5) * result.longitudeSpan;
    result.centre.latitude = -90 + (double(latitudeIndex) + 0.5) * result.latitudeSpan;
    return result;
}

Encoded encode(const GeoPoint &point, int length)
{
    Encoded result;
    if (length < MinimumLength || length > MaximumLength || length % 2 != 0) {
        result.problem = Problem::BadLength;
        return result;
    }
    if (!isValidPoint(point)) {
        result.problem = Problem::OutOfRange;
        return result;
    }
    const int pairs = length / 2;
    const long long cells = cellsFor(pairs);
    const auto cellOf = [cells](double offset, double range) {
        // Multiplied first, so a point on a grid line falls exactly on it.
        const auto index = static_cast<long long>(std::floor(offset * double(cells) / range));
        return std::clamp(index, 0LL, cells - 1);
    };
    long long longitudeIndex = cellOf(point.longitude + 180, LongitudeRange);
    long long latitudeIndex = cellOf(point.latitude + 90, LatitudeRange);

    result.locator.resize(length);
    for (int pair = pairs - 1; pair >= 0; --pair) {
        const int base = Divisions[pair];
        const int lonDigit = int(longitudeIndex % base);
        const int latDigit = int(latitudeIndex % base);
        longitudeIndex /= base;
        latitudeIndex /= base;
        const char16_t first = !isLetterPair(pair) ? u'0' : pair == 0 ? u'A' : u'a';
        result.locator[2 * pair] = QChar(char16_t(first + lonDigit));
        result.locator[2 * pair + 1] = QChar(char16_t(first + latDigit));
    }
    return result;
}

QString describe(const Decoded &decoded, QStringView locator)
{
    const QString text = locator.toString();
    const QString bad = decoded.position >= 0 ? QString(locator.at(decoded.position)) : QString();
    switch (decoded.problem) {
    case Problem::None:
        return {};
    case Problem::Empty:
        return QStringLiteral("A locator has 4, 6 or 8 characters, like JN18eu.");
    case Problem::OddLength:
        return QStringLiteral("%1 is cut short: a locator has an even number of characters, like JN18eu.").arg(text);
    case Problem::TooLong:
        return QStringLiteral("%1 is too long for a locator (12 characters at most).").arg(text);
    case Problem::BadField:
        return QStringLiteral("%1 has a field letter beyond R (%2).").arg(text, bad);
    case Problem::BadDigit:
        return QStringLiteral("%1 has %2 where a digit belongs.").arg(text, bad);
    case Problem::BadSubsquare:
        return QStringLiteral("%1 has a subsquare letter beyond X (%2).").arg(text, bad);
    case Problem::BadLength:
        return QStringLiteral("A locator has an even number of characters from 2 to 12.");
    case Problem::OutOfRange:
        return QStringLiteral("A latitude lies within ±90° and a longitude within ±180°.");
    }
    return {};
}

} // namespace Maidenhead
