#pragma once

#include "config/Language.h"

#include <QChar>
#include <QLocale>
#include <QString>

#include <optional>

// The strict number conversions the whole program shares, and the texts of the
// notices shown when one fails.
namespace NumberText {

// An optional "+" or "-" followed by decimal digits, nothing else: no blanks
// around it, no hexadecimal, no group separators. nullopt when the text is not
// such a number or does not fit in an int. Blanks are refused because settings
// values are compared untrimmed everywhere else too.
std::optional<int> toWholeNumber(const QString &text);

// An optional sign, decimal digits with at most one decimal separator of the
// locale (digits may be missing on one side of it, not on both) and an
// optional exponent ("E" or "e", optional sign, digits). No blanks, no group
// separators; infinities, NaN and values too large for a double are refused.
std::optional<double> toReal(const QString &text, const QLocale &locale);
// The same under the process's locale, looked up only for a text that is not
// digits alone.
std::optional<double> toReal(const QString &text);

// The notices of a failed conversion, in English or French. The value is cut to
// ShownValueLength characters (see elidedValue), so a pasted page or a hostile
// peer cannot fill the screen.
QString integerConversionMessage(const QString &value, const Language &language);
QString realConversionMessage(const QString &value, const Language &language);

constexpr qsizetype ShownValueLength = 24;
// The value itself when it is at most ShownValueLength characters long, otherwise
// its beginning and an ellipsis, ShownValueLength characters in all.
QString elidedValue(const QString &value);

// Nearest whole number, halves to the even neighbour (12.5 -> 12, 13.5 -> 14).
// NaN gives 0; values beyond the range of long long are clamped to it.
long long roundHalfEven(double value);

// General format with at most 7 significant digits and trailing zeros removed:
// fixed notation for decimal exponents -4..6, otherwise scientific with "E",
// a sign and at least three exponent digits (1.5E+020, 2E-007).
QString formatGeneral7(double value, const QLocale &locale = QLocale());

// Replaces the first "," or "." by the locale's separator, so that a real
// written under one locale reads under another. A text holding both "," and
// "." is returned unchanged: it has no single meaning, and the strict
// conversion then reports it.
QString NormaliseDecimalSeparator(const QString &text, QChar localeSeparator);

// The locale's decimal separator as one character.
QChar decimalSeparator(const QLocale &locale);

} // namespace NumberText
