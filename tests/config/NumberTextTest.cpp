#include "config/NumberText.h"
#include "config/Windows1252.h"

#include <QTest>

#include <bit>
#include <limits>

using namespace NumberText;

class NumberTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wholeNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("zero") << "0" << true << 0;
        QTest::newRow("minus zero") << "-0" << true << 0;
        QTest::newRow("plus sign") << "+5" << true << 5;
        QTest::newRow("leading zeros") << "007" << true << 7;
        QTest::newRow("negative") << "-30" << true << -30;
        QTest::newRow("int max") << "2147483647" << true << std::numeric_limits<int>::max();
        QTest::newRow("int min") << "-2147483648" << true << std::numeric_limits<int>::min();
        QTest::newRow("above int max") << "2147483648" << false << 0;
        QTest::newRow("below int min") << "-2147483649" << false << 0;
        QTest::newRow("huge") << "99999999999999999999999" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("plus only") << "+" << false << 0;
        QTest::newRow("double sign") << "--1" << false << 0;
        QTest::newRow("leading blank") << " 5" << false << 0;
        QTest::newRow("trailing blank") << "5 " << false << 0;
        QTest::newRow("hexadecimal") << "0x10" << false << 0;
        QTest::newRow("pascal hexadecimal") << "$10" << false << 0;
        QTest::newRow("exponent") << "1e3" << false << 0;
        QTest::newRow("decimal") << "1.0" << false << 0;
        QTest::newRow("group separator") << "1,000" << false << 0;
        QTest::newRow("com name") << "COM3" << false << 0;
        QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << false << 0;
        QTest::newRow("fullwidth digit") << QString(QChar(0xFF15)) << false << 0;
    }

    void wholeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::optional<int> result = toWholeNumber(text);
        QCOMPARE(result.has_value(), valid);
        if (valid)
            QCOMPARE(*result, value);
    }

    void reals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("french");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("point under C") << "0.711" << false << true << 0.711;
        QTest::newRow("comma under French") << "0,711" << true << true << 0.711;
        QTest::newRow("comma under C") << "0,711" << false << false << 0.0;
        QTest::newRow("point under French") << "0.711" << true << false << 0.0;
        QTest::newRow("whole") << "12" << false << true << 12.0;
        QTest::newRow("whole under French") << "359" << true << true << 359.0;
        QTest::newRow("negative zero") << "-0" << false << true << -0.0;
        QTest::newRow("positive zero") << "+0" << false << true << 0.0;
        QTest::newRow("leading zeros") << "007" << false << true << 7.0;
        QTest::newRow("15 digits") << "999999999999999" << false << true << 999999999999999.0;
        QTest::newRow("16 digits, rounded") << "9999999999999999" << false << true << 9999999999999999.0;
        QTest::newRow("30 digits") << "123456789012345678901234567890" << false << true
                                   << 123456789012345678901234567890.0;
        QTest::newRow("sign alone") << "-" << false << false << 0.0;
        QTest::newRow("negative") << "-3.5" << false << true << -3.5;
        QTest::newRow("plus sign") << "+3.5" << false << true << 3.5;
        QTest::newRow("no whole part") << ".5" << false << true << 0.5;
        QTest::newRow("no fraction") << "5." << false << true << 5.0;
        QTest::newRow("exponent") << "1e3" << false << true << 1000.0;
        QTest::newRow("written exponent") << "1.5E+020" << false << true << 1.5e20;
        QTest::newRow("negative exponent") << "2E-007" << false << true << 2e-7;
        QTest::newRow("separator alone") << "." << false << false << 0.0;
        QTest::newRow("empty") << "" << false << false << 0.0;
        QTest::newRow("exponent without digits") << "1e" << false << false << 0.0;
        QTest::newRow("exponent sign only") << "1e+" << false << false << 0.0;
        QTest::newRow("leading blank") << " 1" << false << false << 0.0;
        QTest::newRow("trailing blank") << "1 " << false << false << 0.0;
        QTest::newRow("infinity") << "inf" << false << false << 0.0;
        QTest::newRow("nan") << "nan" << false << false << 0.0;
        QTest::newRow("too large") << "1e400" << false << false << 0.0;
        QTest::newRow("two separators") << "1.2.3" << false << false << 0.0;
        QTest::newRow("double sign") << "--1" << false << false << 0.0;
        QTest::newRow("hexadecimal float") << "0x1p3" << false << false << 0.0;
    }

    void reals()
    {
        QFETCH(QString, text);
        QFETCH(bool, french);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const std::optional<double> result = toReal(text, french ? QLocale(QLocale::French) : QLocale::c());
        QCOMPARE(result.has_value(), valid);
        // The very double, to the last bit and the sign of a zero, not just a close one.
        if (valid)
            QCOMPARE(std::bit_cast<quint64>(*result), std::bit_cast<quint64>(value));
    }

    // Without a locale named, the process's own decides the separator.
    void realsUnderTheProcessLocale()
    {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::French));
        const std::optional<double> comma = toReal(QStringLiteral("0,711"));
        const std::optional<double> point = toReal(QStringLiteral("0.711"));
        const std::optional<double> whole = toReal(QStringLiteral("-12"));
        QLocale::setDefault(before);
        QCOMPARE(comma, std::optional<double>(0.711));
        QCOMPARE(point, std::nullopt);
        QCOMPARE(whole, std::optional<double>(-12.0));
    }

    void conversionMessages()
    {
        QCOMPARE(integerConversionMessage(QStringLiteral("abc"), Language::english()),
                 QStringLiteral("'abc' is not a valid integer value"));
        QCOMPARE(integerConversionMessage(QStringLiteral("abc"), Language::french()),
                 QStringLiteral("'abc' n'est pas une valeur entière correcte"));
        QCOMPARE(realConversionMessage(QStringLiteral("1,2.3"), Language::english()),
                 QStringLiteral("'1,2.3' is not a valid floating point value"));
        QCOMPARE(realConversionMessage(QStringLiteral("1,2.3"), Language::french()),
                 QStringLiteral("'1,2.3' n'est pas une valeur en virgule flottante correcte"));
        // The value is data, never a placeholder of the message.
        QCOMPARE(integerConversionMessage(QStringLiteral("%1%2"), Language::french()),
                 QStringLiteral("'%1%2' n'est pas une valeur entière correcte"));
        // A long value is cut, so the notice stays a short line.
        const QString exact(ShownValueLength, QLatin1Char('7'));
        QCOMPARE(elidedValue(exact), exact);
        QCOMPARE(elidedValue(exact + QLatin1Char('8')), QString(ShownValueLength - 1, QLatin1Char('7')) + QChar(0x2026));
        QCOMPARE(integerConversionMessage(QString(20000, QLatin1Char('x')), Language::english()).size(),
                 ShownValueLength + QStringLiteral("'' is not a valid integer value").size());
    }

    void halfEvenRounding_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("rounded");
        QTest::newRow("12.5") << 12.5 << qint64(12);
        QTest::newRow("13.5") << 13.5 << qint64(14);
        QTest::newRow("0.5") << 0.5 << qint64(0);
        QTest::newRow("1.5") << 1.5 << qint64(2);
        QTest::newRow("-0.5") << -0.5 << qint64(0);
        QTest::newRow("-1.5") << -1.5 << qint64(-2);
        QTest::newRow("below half") << 2.4999 << qint64(2);
        QTest::newRow("above half") << 2.5001 << qint64(3);
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
        QTest::newRow("huge") << 1e300 << qint64(std::numeric_limits<long long>::max());
        QTest::newRow("huge negative") << -1e300 << qint64(std::numeric_limits<long long>::min());
    }

    void halfEvenRounding()
    {
        QFETCH(double, value);
        QFETCH(qint64, rounded);
        QCOMPARE(qint64(roundHalfEven(value)), rounded);
    }

    void general7_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("french");
        QTest::addColumn<QString>("text");
        QTest::newRow("PourSat default") << 0.5138901 << false << "0.5138901";
        QTest::newRow("FODTrack default") << 0.711 << false << "0.711";
        QTest::newRow("comma locale") << 0.711 << true << "0,711";
        QTest::newRow("zero") << 0.0 << false << "0";
        QTest::newRow("negative zero") << -0.0 << false << "0";
        QTest::newRow("whole") << 100.0 << false << "100";
        QTest::newRow("half") << 12.5 << false << "12.5";
        QTest::newRow("negative") << -2.5 << false << "-2.5";
        QTest::newRow("eighth digit rounded") << 0.12345678 << false << "0.1234568";
        QTest::newRow("seven whole digits") << 1234567.0 << false << "1234567";
        QTest::newRow("eight whole digits") << 12345678.0 << false << "1.234568E+007";
        QTest::newRow("small fixed") << 0.0001 << false << "0.0001";
        QTest::newRow("small scientific") << 0.00001 << false << "1E-005";
        QTest::newRow("small scientific French") << 0.0000125 << true << "1,25E-005";
        QTest::newRow("very large") << 1e300 << false << "1E+300";
        QTest::newRow("very small") << 1e-20 << false << "1E-020";
    }

    void general7()
    {
        QFETCH(double, value);
        QFETCH(bool, french);
        QFETCH(QString, text);
        const QLocale locale = french ? QLocale(QLocale::French) : QLocale::c();
        QCOMPARE(formatGeneral7(value, locale), text);
        // Whatever is written reads back under the same locale.
        const std::optional<double> back = toReal(text, locale);
        QVERIFY(back.has_value());
    }

    void decimalSeparatorNormalised_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("comma to point") << "0,711" << QChar('.') << "0.711";
        QTest::newRow("point to comma") << "0.711" << QChar(',') << "0,711";
        QTest::newRow("already right") << "0.711" << QChar('.') << "0.711";
        QTest::newRow("no separator") << "12" << QChar(',') << "12";
        QTest::newRow("empty") << "" << QChar('.') << "";
        QTest::newRow("only the first of several") << "1.2.3" << QChar(',') << "1,2.3";
        QTest::newRow("both kinds kept") << "1,2.3" << QChar('.') << "1,2.3";
    }

    void decimalSeparatorNormalised()
    {
        QFETCH(QString, text);
        QFETCH(QChar, separator);
        QFETCH(QString, normalised);
        QCOMPARE(NormaliseDecimalSeparator(text, separator), normalised);
    }

    void codePageDecoding()
    {
        QCOMPARE(Windows1252::decode(QByteArray("\x80\x9F\xE9\xB0\x81", 5)),
                 QString::fromUtf16(u"\u20AC\u0178\u00E9\u00B0\u0081"));
        QCOMPARE(Windows1252::decode(QByteArray("a\0b", 3)), QString::fromUtf16(u"a\u0000b", 3));
    }

    void codePageEncoding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "FAV1TXT=a=b" << QByteArray("FAV1TXT=a=b");
        QTest::newRow("latin-1 letters") << QString::fromUtf16(u"R\u00E9\u00B0") << QByteArray("R\xE9\xB0");
        QTest::newRow("euro") << QString::fromUtf16(u"\u20AC") << QByteArray("\x80");
        QTest::newRow("curly quotes") << QString::fromUtf16(u"\u2018\u201D") << QByteArray("\x91\x94");
        QTest::newRow("undefined byte kept") << QString::fromUtf16(u"\u008D") << QByteArray("\x8D");
        QTest::newRow("C1 control of a defined byte") << QString::fromUtf16(u"\u0085") << QByteArray("?");
        QTest::newRow("greek") << QString::fromUtf16(u"\u03A9x") << QByteArray("?x");
        QTest::newRow("outside the BMP") << QString::fromUtf16(u"a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    }

    void codePageEncoding()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Windows1252::encode(text), bytes);
    }

    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Windows1252::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Windows1252::encode(text), all);
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "NumberTextTest.moc"
