#include "config/NumberText.h"
#include "config/Translation.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

// Advances over decimal digits; returns how many there were.
qsizetype skipDigits(const QString &text, qsizetype &pos)
{
    const qsizetype start = pos;
    while (pos < text.size() && isDigit(text.at(pos)))
        ++pos;
    return pos - start;
}

std::optional<double> readReal(const QString &text, const QLocale *locale)
{
    qsizetype pos = 0;
    if (pos < text.size() && isSign(text.at(pos)))
        ++pos;
    qsizetype mantissaDigits = skipDigits(text, pos);
    // An azimuth is nearly always a few digits: read without the locale or a copy.
    // Up to 15 digits every step is a whole number below 2^53, so the value is
    // exact, as from_chars would give it; a "-0" stays a negative zero.
    if (pos == text.size() && mantissaDigits > 0 && mantissaDigits <= 15) {
        double value = 0;
        for (qsizetype i = pos - mantissaDigits; i < pos; ++i)
            value = value * 10 + (text.at(i).unicode() - '0');
        return text.at(0) == QLatin1Char('-') ? -value : value;
    }
    const QChar separator = NumberText::decimalSeparator(locale ? *locale : QLocale());
    const qsizetype separatorPos = pos < text.size() && text.at(pos) == separator ? pos : -1;
    if (separatorPos >= 0) {
        ++pos;
        mantissaDigits += skipDigits(text, pos);
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('E') || text.at(pos) == QLatin1Char('e'))) {
        ++pos;
        if (pos < text.size() && isSign(text.at(pos)))
            ++pos;
        if (skipDigits(text, pos) == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;

    // The text is now ASCII apart from the separator. from_chars ignores the
    // process locale and refuses a leading "+", so hand it a plain form.
    QByteArray plain = text.toLatin1();
    if (separatorPos >= 0)
        plain[separatorPos] = '.';
    const qsizetype start = plain.startsWith('+') ? 1 : 0;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.constData() + start, plain.constData() + plain.size(), value);
    if (error != std::errc() || end != plain.constData() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

namespace NumberText {

std::optional<double> toReal(const QString &text, const QLocale &locale)
{
    return readReal(text, &locale);
}

std::optional<double> toReal(const QString &text)
{
    return readReal(text, nullptr);
}

std::optional<int> toWholeNumber(const QString &text)
{
    qsizetype pos = 0;
    const bool negative = !text.isEmpty() && text.at(0) == QLatin1Char('-');
    if (!text.isEmpty() && isSign(text.at(0)))
        ++pos;
    if (pos == text.size())
        return std::nullopt;
    // Accumulate towards the negative side, which has room for INT_MIN.
    long long value = 0;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 - (c.unicode() - '0');
        if (value < std::numeric_limits<int>::min())
            return std::nullopt;
    }
    if (!negative) {
        value = -value;
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
    }
    return static_cast<int>(value);
}

QString integerConversionMessage(const QString &value, const Language &language)
{
    return Translation::text(language, "NumberText", QT_TRANSLATE_NOOP("NumberText", "'%1' is not a valid integer value"))
        .arg(elidedValue(value));
}

QString realConversionMessage(const QString &value, const Language &language)
{
    return Translation::text(language, "NumberText",
                             QT_TRANSLATE_NOOP("NumberText", "'%1' is not a valid floating point value"))
        .arg(elidedValue(value));
}

QString elidedValue(const QString &value)
{
    if (value.size() <= ShownValueLength)
        return value;
    return value.left(ShownValueLength - 1) + QChar(0x2026);
}

long long roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit)
        return std::numeric_limits<long long>::max();
    if (value < -limit)
        return std::numeric_limits<long long>::min();
    // The default floating-point rounding mode is to nearest, ties to even.
    return static_cast<long long>(std::nearbyint(value));
}

QString formatGeneral7(double value, const QLocale &locale)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    // to_chars, unlike printf, does not follow the process locale.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer).toUpper();

    // Widen the exponent to three digits: "1.5E+20" -> "1.5E+020".
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    if (e >= 0) {
        const qsizetype digitsStart = e + 2; // after "E" and its sign
        const qsizetype digits = text.size() - digitsStart;
        if (digits < 3)
            text.insert(digitsStart, QString(3 - digits, QLatin1Char('0')));
    }
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0)
        text[point] = decimalSeparator(locale);
    return text;
}

QString NormaliseDecimalSeparator(const QString &text, QChar localeSeparator)
{
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (comma >= 0 && point >= 0)
        return text;
    const qsizetype at = comma >= 0 ? comma : point;
    if (at < 0)
        return text;
    QString normalised = text;
    normalised[at] = localeSeparator;
    return normalised;
}

QChar decimalSeparator(const QLocale &locale)
{
    const QString point = locale.decimalPoint();
    return point.size() == 1 ? point.at(0) : QLatin1Char('.');
}

} // namespace NumberText
