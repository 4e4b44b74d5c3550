#include "geo/Maidenhead.h"

#include <QTest>

using Maidenhead::Problem;

Q_DECLARE_METATYPE(Maidenhead::Problem)

namespace {

constexpr double Tolerance = 1e-6;

} // namespace

class TestMaidenhead : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void centres_data();
    void centres();
    void refusals_data();
    void refusals();
    void encoding_data();
    void encoding();
    void encodingRefusals_data();
    void encodingRefusals();
    void everyCentreComesBack();
};

// Centres worked out by hand from the grid: a field is 20° by 10°, a square 2° by
// 1°, a subsquare 5' by 2.5', an extended square 30" by 15".
void TestMaidenhead::centres_data()
{
    QTest::addColumn<QString>("locator");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");

    QTest::newRow("field") << "JN" << 45.0 << 10.0;
    QTest::newRow("square") << "JN18" << 48.5 << 3.0;
    // J: 0°E, 1: +2°, d: +15'; N: 40°N, 8: +8°, u: +50'; plus half a subsquare.
    QTest::newRow("subsquare") << "JN18du" << 48.0 + 50.0 / 60 + 1.25 / 60 << 2.0 + 15.0 / 60 + 2.5 / 60;
    QTest::newRow("case does not matter") << "jn18DU" << 48.0 + 51.25 / 60 << 2.0 + 17.5 / 60;
    // 1 and 2 more: +30" east, +30" north, plus half of 30" by 15".
    QTest::newRow("extended square") << "JN18du12" << 48.0 + 50.0 / 60 + 30.0 / 3600 + 7.5 / 3600
                                     << 2.0 + 15.0 / 60 + 30.0 / 3600 + 15.0 / 3600;
    // Berlin: J 0°, 6 +12°, q +80'; O 50°N, 2 +2°, m +30'.
    QTest::newRow("JO62qm") << "JO62qm" << 52.5 + 1.25 / 60 << 12.0 + 80.0 / 60 + 2.5 / 60;
    // Newington, Connecticut (west and north): F -80°, 3 +6°, p +75'; N 40°, 1, r +42.5'.
    QTest::newRow("FN31pr") << "FN31pr" << 41.0 + 42.5 / 60 + 1.25 / 60 << -74.0 + 75.0 / 60 + 2.5 / 60;
    // South and west: G -60°, F -40°S; 1 +2°, 5 +5°; a +0, a +0.
    QTest::newRow("GF15aa") << "GF15aa" << -35.0 + 1.25 / 60 << -58.0 + 2.5 / 60;
    QTest::newRow("first square") << "AA00aa" << -90.0 + 1.25 / 60 << -180.0 + 2.5 / 60;
    QTest::newRow("last square") << "RR99xx" << 90.0 - 1.25 / 60 << 180.0 - 2.5 / 60;
    // Hamlib's tenth and twelfth characters: 24 letters, then 10 digits.
    QTest::newRow("ten characters") << "AA00aa00aa" << -90.0 + 7.5 / 3600 / 24 << -180.0 + 15.0 / 3600 / 24;
    QTest::newRow("twelve characters") << "AA00aa00aa00" << -90.0 + 7.5 / 3600 / 240
                                       << -180.0 + 15.0 / 3600 / 240;
}

void TestMaidenhead::centres()
{
    QFETCH(QString, locator);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    const Maidenhead::Decoded decoded = Maidenhead::decode(locator);
    QVERIFY2(decoded.ok(), qPrintable(Maidenhead::describe(decoded, locator)));
    QVERIFY2(qAbs(decoded.centre.latitude - latitude) < Tolerance, qPrintable(QString::number(decoded.centre.latitude, 'f', 8)));
    QVERIFY2(qAbs(decoded.centre.longitude - longitude) < Tolerance, qPrintable(QString::number(decoded.centre.longitude, 'f', 8)));
}

void TestMaidenhead::refusals_data()
{
    QTest::addColumn<QString>("locator");
    QTest::addColumn<Problem>("problem");
    QTest::addColumn<int>("position");

    QTest::newRow("empty") << "" << Problem::Empty << -1;
    QTest::newRow("one letter") << "J" << Problem::OddLength << -1;
    QTest::newRow("square cut short") << "JN1" << Problem::OddLength << -1;
    QTest::newRow("subsquare cut short") << "JN18d" << Problem::OddLength << -1;
    QTest::newRow("extended cut short") << "JN18du1" << Problem::OddLength << -1;
    QTest::newRow("too long") << "JN18du12ab34cd" << Problem::TooLong << -1;
    QTest::newRow("Z in the field pair") << "JZ18" << Problem::BadField << 1;
    QTest::newRow("Y in the field pair") << "YN18" << Problem::BadField << 0;
    QTest::newRow("S, just beyond R") << "SA00" << Problem::BadField << 0;
    QTest::newRow("digit for a field") << "1N18" << Problem::BadField << 0;
    QTest::newRow("letter for a square") << "JNA8" << Problem::BadDigit << 2;
    QTest::newRow("Y subsquare") << "JN18dy" << Problem::BadSubsquare << 5;
    QTest::newRow("Z subsquare") << "JN18zu" << Problem::BadSubsquare << 4;
    QTest::newRow("digit for a subsquare") << "JN1812" << Problem::BadSubsquare << 4;
    QTest::newRow("letter for an extended square") << "JN18duA2" << Problem::BadDigit << 6;
    QTest::newRow("blank inside") << "JN 8" << Problem::BadDigit << 2;
    QTest::newRow("accented letter") << "JÑ18" << Problem::BadField << 1;
}

void TestMaidenhead::refusals()
{
    QFETCH(QString, locator);
    QFETCH(Problem, problem);
    QFETCH(int, position);
    const Maidenhead::Decoded decoded = Maidenhead::decode(locator);
    QCOMPARE(decoded.problem, problem);
    QCOMPARE(decoded.position, position);
    QVERIFY(!Maidenhead::describe(decoded, locator).isEmpty());
}

void TestMaidenhead::encoding_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("locator");

    // Paris, Notre-Dame: 2.35°E is 2° + 21' (subsquare e: 20'-25'), 48.85°N is
    // 48° + 51' (u: 50'-52.5'); then 1'/30" = 2 and 0.5'/15" = 4.
    QTest::newRow("Paris, 4") << 48.85 << 2.35 << 4 << "JN18";
    QTest::newRow("Paris, 6") << 48.85 << 2.35 << 6 << "JN18eu";
    QTest::newRow("Paris, 8") << 48.85 << 2.35 << 8 << "JN18eu24";
    QTest::newRow("Paris, 2") << 48.85 << 2.35 << 2 << "JN";
    // London: -0.12° is -2° + 1.88° = 112.8' (w: 110'-115'); 51.5° is 51° + 30' (m).
    QTest::newRow("London") << 51.5 << -0.12 << 6 << "IO91wm";
    QTest::newRow("south and west") << -34.9 << -56.2 << 6 << "GF15vc";
    // The grid's edges: the pole and the 180th meridian are in the last square.
    QTest::newRow("north pole, date line") << 90.0 << 180.0 << 6 << "RR99xx";
    QTest::newRow("south pole, date line west") << -90.0 << -180.0 << 4 << "AA00";
    QTest::newRow("on a square's edge") << 50.0 << 2.0 << 4 << "JO10";
    QTest::newRow("origin") << 0.0 << 0.0 << 6 << "JJ00aa";
}

void TestMaidenhead::encoding()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(int, length);
    QFETCH(QString, locator);
    const Maidenhead::Encoded encoded = Maidenhead::encode({latitude, longitude}, length);
    QVERIFY(encoded.ok());
    QCOMPARE(encoded.locator, locator);
}

void TestMaidenhead::encodingRefusals_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<int>("length");

    QTest::newRow("odd length") << 48.0 << 2.0 << 5;
    QTest::newRow("no length") << 48.0 << 2.0 << 0;
    QTest::newRow("too long") << 48.0 << 2.0 << 14;
    QTest::newRow("latitude beyond 90") << 95.0 << 2.0 << 6;
    QTest::newRow("longitude beyond 180") << 48.0 << 200.0 << 6;
    QTest::newRow("longitude beyond -180") << 48.0 << -180.5 << 6;
    QTest::newRow("not a number") << qQNaN() << 2.0 << 6;
    QTest::newRow("infinite") << 48.0 << qInf() << 6;
}

void TestMaidenhead::encodingRefusals()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(int, length);
    const Maidenhead::Encoded encoded = Maidenhead::encode({latitude, longitude}, length);
    QVERIFY(!encoded.ok());
    QVERIFY(encoded.locator.isEmpty());
}

// Every 4-character square and a sweep of subsquares: the centre encodes back to
// the same locator, so decoding and encoding agree on the grid.
void TestMaidenhead::everyCentreComesBack()
{
    int checked = 0;
    for (char16_t lon = u'A'; lon <= u'R'; ++lon) {
        for (char16_t lat = u'A'; lat <= u'R'; ++lat) {
            for (char16_t square = u'0'; square <= u'9'; ++square) {
                const QString four = QString(QChar(lon)) + QChar(lat) + QChar(square) + QChar(char16_t(u'9' - (square - u'0')));
                const QString six = four + QChar(char16_t(u'a' + (lon - u'A'))) + QChar(char16_t(u'x' - (lat - u'A')));
                for (const QString &locator : {four, six}) {
                    const Maidenhead::Decoded decoded = Maidenhead::decode(locator);
                    QVERIFY(decoded.ok());
                    QCOMPARE(Maidenhead::encode(decoded.centre, int(locator.size())).locator, locator);
                    ++checked;
                }
            }
        }
    }
    QCOMPARE(checked, 18 * 18 * 10 * 2);
}

QTEST_GUILESS_MAIN(TestMaidenhead)
#include "tst_Maidenhead.moc"
