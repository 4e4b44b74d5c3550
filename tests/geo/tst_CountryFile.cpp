#include "geo/CountryFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Refusal = CountryFile::Refusal;

Q_DECLARE_METATYPE(CountryFile::Refusal)

namespace {

// Parsed once: the packaged file has some 350 entities and 25 000 calls.
const CountryFile *installedFile()
{
    static const CountryFile::Loaded loaded = CountryFile::load(CountryFile::defaultPath());
    return loaded.file ? &*loaded.file : nullptr;
}

} // namespace

class TestCountryFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void resolvesOnThePackagedFile_data();
    void resolvesOnThePackagedFile();
    void refusesOnThePackagedFile_data();
    void refusesOnThePackagedFile();
    void overrides_data();
    void overrides();
    void damagedFiles_data();
    void damagedFiles();
    void missingFileSaysWhereToGetIt();
};

void TestCountryFile::initTestCase()
{
    const CountryFile::Loaded loaded = CountryFile::load(CountryFile::defaultPath());
    QVERIFY2(loaded.file, qPrintable(loaded.error + " (scripts/setup installs hamradio-files)"));
}

// Expected entities, zones and places read by eye from the file's records
// (/usr/share/hamradio-files/cty.dat, 2023-05): the file's longitudes are west
// positive, so England's 1.47 is 1.47°W here.
void TestCountryFile::resolvesOnThePackagedFile_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("entity");
    QTest::addColumn<QString>("matched");
    QTest::addColumn<bool>("wholeCall");
    QTest::addColumn<int>("cqZone");
    QTest::addColumn<int>("ituZone");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");

    const QString usa = QStringLiteral("United States of America");
    QTest::newRow("England, west of Greenwich") << "G4ABC" << "England" << "G" << false << 14 << 27 << 52.77 << -1.47;
    QTest::newRow("Japan, east") << "JA1XYZ" << "Japan" << "JA" << false << 25 << 45 << 36.40 << 138.38;
    QTest::newRow("USA, west") << "W1AW" << usa << "W" << false << 5 << 8 << 37.60 << -91.87;
    QTest::newRow("lower case") << "w1aw" << usa << "W" << false << 5 << 8 << 37.60 << -91.87;
    QTest::newRow("blanks around") << "  G4ABC " << "England" << "G" << false << 14 << 27 << 52.77 << -1.47;
    QTest::newRow("a prefix alone") << "KH6" << "Hawaii" << "KH6" << false << 31 << 61 << 21.12 << -157.48;
    QTest::newRow("longest prefix with its zones") << "W6XYZ" << usa << "W6" << false << 3 << 6 << 37.60 << -91.87;
    QTest::newRow("ITU zone override only") << "VE2ABC" << "Canada" << "VE2" << false << 5 << 4 << 44.35 << -78.75;
    QTest::newRow("whole call elsewhere") << "AA2TT" << "Hawaii" << "AA2TT" << true << 31 << 61 << 21.12 << -157.48;
    QTest::newRow("its neighbour is not") << "AA2TU" << usa << "AA" << false << 5 << 8 << 37.60 << -91.87;
    QTest::newRow("whole call with a slash") << "F5JSD/BY4AA" << "China" << "F5JSD/BY4AA" << true << 24 << 44 << 36.00
                                             << 102.00;
    QTest::newRow("prefix after the call") << "W1AW/KH6" << "Hawaii" << "KH6" << false << 31 << 61 << 21.12 << -157.48;
    QTest::newRow("prefix before the call") << "KH6/W1AW" << "Hawaii" << "KH6" << false << 31 << 61 << 21.12
                                            << -157.48;
    QTest::newRow("one-letter prefix") << "F/DL1ABC" << "France" << "F" << false << 14 << 27 << 46.00 << 2.00;
    QTest::newRow("portable") << "DL1ABC/P" << "Fed. Rep. of Germany" << "DL" << false << 14 << 28 << 51.00 << 10.00;
    QTest::newRow("mobile") << "G4ABC/M" << "England" << "G" << false << 14 << 27 << 52.77 << -1.47;
    QTest::newRow("low power") << "JA1XYZ/QRP" << "Japan" << "JA" << false << 25 << 45 << 36.40 << 138.38;
    QTest::newRow("portable abroad") << "DL/G4ABC/P" << "Fed. Rep. of Germany" << "DL" << false << 14 << 28 << 51.00
                                     << 10.00;
    QTest::newRow("another call area") << "VE3ABC/2" << "Canada" << "VE2" << false << 5 << 4 << 44.35 << -78.75;
    QTest::newRow("WAE entity by its call") << "4U1VIC" << "Vienna Intl Ctr" << "4U1VIC" << true << 15 << 28 << 48.20
                                            << 16.30;
}

void TestCountryFile::resolvesOnThePackagedFile()
{
    QFETCH(QString, call);
    QFETCH(QString, entity);
    QFETCH(QString, matched);
    QFETCH(bool, wholeCall);
    QFETCH(int, cqZone);
    QFETCH(int, ituZone);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    const CountryFile *file = installedFile();
    QVERIFY(file);
    const CountryFile::Resolution resolution = file->resolve(call);
    QVERIFY2(resolution.ok(), qPrintable(CountryFile::describe(resolution.refusal, call)));
    const CountryDetails &details = resolution.match.details;
    QCOMPARE(file->entityOf(resolution.match).name, entity);
    QCOMPARE(resolution.match.matched, matched);
    QCOMPARE(resolution.match.wholeCall, wholeCall);
    QCOMPARE(details.cqZone, cqZone);
    QCOMPARE(details.ituZone, ituZone);
    QCOMPARE(details.location.latitude, latitude);
    QCOMPARE(details.location.longitude, longitude);
}

void TestCountryFile::refusesOnThePackagedFile_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<Refusal>("refusal");

    // Q is kept for the Q code and given to no country.
    QTest::newRow("prefix of no country") << "Q1ABC" << Refusal::NoMatch;
    QTest::newRow("portable prefix of no country") << "Q/W1AW" << Refusal::NoMatch;
    QTest::newRow("maritime mobile") << "W1AW/MM" << Refusal::MaritimeMobile;
    QTest::newRow("aeronautical mobile") << "G4ABC/AM" << Refusal::MaritimeMobile;
    QTest::newRow("nothing") << "" << Refusal::Empty;
    QTest::newRow("blanks") << "   " << Refusal::Empty;
    QTest::newRow("not a call") << "W1-AW" << Refusal::NotACall;
    QTest::newRow("blank inside") << "W1 AW" << Refusal::NotACall;
    QTest::newRow("slashes only") << "//" << Refusal::NotACall;
    QTest::newRow("only what portables add") << "/P" << Refusal::NotACall;
}

void TestCountryFile::refusesOnThePackagedFile()
{
    QFETCH(QString, call);
    QFETCH(Refusal, refusal);
    const CountryFile *file = installedFile();
    QVERIFY(file);
    const CountryFile::Resolution resolution = file->resolve(call);
    QCOMPARE(resolution.refusal, refusal);
    QVERIFY(!CountryFile::describe(refusal, call).isEmpty());
}

// The override fields the packaged file does not use at present, on a record
// written here in the file's own layout.
void TestCountryFile::overrides_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("cqZone");
    QTest::addColumn<int>("ituZone");
    QTest::addColumn<QString>("continent");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("utcOffset");

    QTest::newRow("the record's own") << "XX1A" << 5 << 8 << "NA" << 40.0 << -90.0 << -5.0;
    QTest::newRow("zones") << "XX2A" << 4 << 7 << "NA" << 40.0 << -90.0 << -5.0;
    QTest::newRow("place, west positive") << "XX3A" << 5 << 8 << "NA" << 21.5 << -158.0 << -5.0;
    QTest::newRow("place, east") << "XX4A" << 5 << 8 << "NA" << -33.9 << 151.2 << -5.0;
    QTest::newRow("continent and offset") << "XX5A" << 5 << 8 << "OC" << 40.0 << -90.0 << -10.0;
    QTest::newRow("all on a whole call") << "XX9ZZ" << 31 << 61 << "OC" << 21.5 << -158.0 << -10.0;
}

void TestCountryFile::overrides()
{
    QFETCH(QString, call);
    QFETCH(int, cqZone);
    QFETCH(int, ituZone);
    QFETCH(QString, continent);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, utcOffset);
    const CountryFile::Parsed parsed = CountryFile::parse(
        "Testland:                 05:  08:  NA:   40.00:    90.00:     5.0:  XX:\n"
        "    XX1,XX2(4)[7],XX3<21.5/158.0>,\n"
        "    XX4<-33.9/-151.2>,XX5{OC}~10~,=XX9ZZ(31)[61]<21.5/158>{OC}~10.0~;\n");
    QVERIFY2(parsed.file, qPrintable(parsed.error));
    const CountryFile::Resolution resolution = parsed.file->resolve(call);
    QVERIFY(resolution.ok());
    const CountryDetails &details = resolution.match.details;
    QCOMPARE(details.cqZone, cqZone);
    QCOMPARE(details.ituZone, ituZone);
    QCOMPARE(details.continent, continent);
    QCOMPARE(details.location.latitude, latitude);
    QCOMPARE(details.location.longitude, longitude);
    QCOMPARE(details.utcOffset, utcOffset);
}

void TestCountryFile::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");

    const QByteArray good = "Testland: 05: 08: NA: 40.00: 90.00: 5.0: XX:\n    XX;\n";
    QTest::newRow("empty") << QByteArray() << 1;
    QTest::newRow("blank") << QByteArray(" \n\n") << 3;
    QTest::newRow("seven heading fields") << QByteArray("Testland: 05: 08: NA: 40.00: 90.00: 5.0:\n XX;\n") << 1;
    QTest::newRow("list never ended") << good + "Other: 05: 08: NA: 40.00: 90.00: 5.0: YY:\n    YY,\n" << 4;
    QTest::newRow("CQ zone 41") << QByteArray("Testland: 41: 08: NA: 40.00: 90.00: 5.0: XX:\n XX;") << 1;
    QTest::newRow("ITU zone 0") << QByteArray("Testland: 05: 0: NA: 40.00: 90.00: 5.0: XX:\n XX;") << 1;
    QTest::newRow("unknown continent") << QByteArray("Testland: 05: 08: XY: 40.00: 90.00: 5.0: XX:\n XX;") << 1;
    QTest::newRow("latitude 91") << QByteArray("Testland: 05: 08: NA: 91.00: 90.00: 5.0: XX:\n XX;") << 1;
    QTest::newRow("longitude text") << QByteArray("Testland: 05: 08: NA: 40.00: west: 5.0: XX:\n XX;") << 1;
    QTest::newRow("no name") << QByteArray(": 05: 08: NA: 40.00: 90.00: 5.0: XX:\n XX;") << 1;
    QTest::newRow("override never closed") << good + "Other: 05: 08: NA: 40.00: 90.00: 5.0: YY:\n    YY(5;\n" << 4;
    QTest::newRow("override of nothing") << good + "Other: 05: 08: NA: 40.00: 90.00: 5.0: YY:\n    (5);\n" << 4;
    QTest::newRow("place without a slash") << good + "Other: 05: 08: NA: 40.00: 90.00: 5.0: YY:\n  YY<40>;\n" << 4;
    QTest::newRow("unknown override") << good + "Other: 05: 08: NA: 40.00: 90.00: 5.0: YY:\n  YY#1#;\n" << 4;
    QTest::newRow("a stray word after the last record") << good + "\ngarbage" << 4;
}

void TestCountryFile::damagedFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    const CountryFile::Parsed parsed = CountryFile::parse(text);
    QVERIFY(!parsed.file);
    QVERIFY(!parsed.error.isEmpty());
    QCOMPARE(parsed.line, line);
}

void TestCountryFile::missingFileSaysWhereToGetIt()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString missing = folder.filePath(QStringLiteral("cty.dat"));
    const QString damaged = folder.filePath(QStringLiteral("damaged.dat"));
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a country file\n");
    file.close();
    for (const QString &path : {missing, damaged, folder.path()}) {
        const CountryFile::Loaded loaded = CountryFile::load(path);
        QVERIFY(!loaded.file);
        QVERIFY2(loaded.error.contains(path), qPrintable(loaded.error));
        QVERIFY2(loaded.error.contains(QStringLiteral("hamradio-files")), qPrintable(loaded.error));
    }
}

QTEST_GUILESS_MAIN(TestCountryFile)
#include "tst_CountryFile.moc"
