#include "RecordingLoadActions.h"

#include "config/ConfigurationReader.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// One record value as text, named "ant", "port.GS232", "fav3txt" and so on,
// so that the edge-case table can name what each line should change.
QString fieldText(const Configuration &c, const QString &field)
{
    const qsizetype dot = field.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const auto kind = interfaceKindFromIniValue(field.mid(dot + 1));
        if (!kind)
            return QStringLiteral("<bad field>");
        const InterfaceSettings &s = c.at(*kind);
        const QString name = field.left(dot);
        if (name == QLatin1String("port")) return QString::number(s.port);
        if (name == QLatin1String("stop")) return QString::number(s.stopSide);
        if (name == QLatin1String("step")) return QString::number(s.minimumStep);
        if (name == QLatin1String("offset")) return QString::number(s.azimuthOffset);
        if (name == QLatin1String("baudText")) return s.baudText;
        if (name == QLatin1String("baudIndex")) return QString::number(s.baudIndex);
        if (name == QLatin1String("cal")) return QString::number(s.calibration, 'g', 10);
        if (name == QLatin1String("zero")) return QString::number(s.zero, 'g', 10);
        return QStringLiteral("<bad field>");
    }
    if (field.startsWith(QLatin1String("fav"))) {
        const Favourite &f = c.favourites[field.mid(3, 1).toInt() - 1];
        return field.endsWith(QLatin1String("az")) ? QString::number(f.azimuth) : f.label;
    }
    if (field == QLatin1String("ant")) return iniValue(c.interfaceKind);
    if (field == QLatin1String("parking")) return QString::number(c.parkingInterface);
    if (field == QLatin1String("parkingAzimuth")) return QString::number(c.parkingAzimuth, 'g', 10);
    if (field == QLatin1String("jingle")) return QString::number(c.jingleEnabled);
    if (field == QLatin1String("koruPort")) return QStringLiteral("%1/%2").arg(c.koruPortText).arg(c.koruPort);
    if (field == QLatin1String("listeningPort")) return QString::number(c.koruListeningPort());
    if (field == QLatin1String("koruAntenna")) return QStringLiteral("%1/%2").arg(c.koruAntennaText).arg(c.koruAntenna);
    if (field == QLatin1String("el")) return QString::number(c.gs232Elevation);
    if (field == QLatin1String("tkbHost")) return QString::number(c.trakBoxHostMode);
    if (field == QLatin1String("movenow")) return c.movenowDirectory;
    if (field == QLatin1String("angleDialog")) return QStringLiteral("%1,%2,%3").arg(c.angleTop).arg(c.angleLeft).arg(c.angleShown);
    if (field == QLatin1String("restoreAngle")) return c.restoreAngle ? c.restoreAngleText : QStringLiteral("<none>");
    return QStringLiteral("<bad field>");
}

} // namespace

class ConfigurationReaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readingRules_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("lptUsable");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("conversionErrors");

        QTest::newRow("ANT selects") << QByteArray("ANT=GS232\r\n") << true << "ant" << "GS232" << 0;
        QTest::newRow("ANT empty resets") << QByteArray("ANT=GS232\r\nANT=\r\n") << true << "ant" << "" << 0;
        QTest::newRow("ANT lower case value") << QByteArray("ANT=gs232\r\n") << true << "ant" << "" << 0;
        QTest::newRow("ANT trailing blank") << QByteArray("ANT=GS232 \r\n") << true << "ant" << "" << 0;
        QTest::newRow("lower case key") << QByteArray("ant=GS232\r\n") << true << "ant" << "" << 0;
        QTest::newRow("blank before key") << QByteArray(" ANT=GS232\r\n") << true << "ant" << "" << 0;
        QTest::newRow("line starting with =") << QByteArray("=ANT=GS232\r\n") << true << "ant" << "" << 0;
        QTest::newRow("later line wins") << QByteArray("ANT=KCT\r\nANT=EGIS\r\n") << true << "ant" << "EGIS" << 0;
        QTest::newRow("section header ignored") << QByteArray("[GS-232]\r\nSTEP_GS232=3\r\n") << true << "step.GS232" << "3" << 0;
        QTest::newRow("line without =") << QByteArray("STEP_GS232\r\nSTEP_GS232=4\r\n") << true << "step.GS232" << "4" << 0;

        QTest::newRow("lone CR ends lines") << QByteArray("ANT=DCU1\rSTEP_DCU1=2\r") << true << "step.DCU1" << "2" << 0;
        QTest::newRow("lone CR value clean") << QByteArray("ANT=DCU1\rSTEP_DCU1=2\r") << true << "ant" << "DCU1" << 0;
        QTest::newRow("lone LF ends lines") << QByteArray("STEP_DCU1=2\nANT=DCU1") << true << "ant" << "DCU1" << 0;
        QTest::newRow("no final line end") << QByteArray("STEP_KCT=5") << true << "step.KCT" << "5" << 0;
        QTest::newRow("LF CR is two ends") << QByteArray("STEP_KCT=5\n\rANT=KCT\r\n") << true << "ant" << "KCT" << 0;

        QTest::newRow("STOP N") << QByteArray("STOP_GS232=S\r\nSTOP_GS232=N\r\n") << true << "stop.GS232" << "0" << 0;
        QTest::newRow("STOP lower s is south") << QByteArray("STOP_GS232=s\r\n") << true << "stop.GS232" << "1" << 0;
        QTest::newRow("STOP lower n is south") << QByteArray("STOP_ZENTA=n\r\n") << true << "stop.ZENTA" << "1" << 0;
        QTest::newRow("TrakBox has no stop key") << QByteArray("STOP_TRAKBOX=S\r\n") << true << "stop.TRAKBOX" << "0" << 0;

        QTest::newRow("STEP x falls back") << QByteArray("STEP_EGIS=4\r\nSTEP_EGIS=x\r\n") << true << "step.EGIS" << "1" << 0;
        QTest::newRow("AZOFFSET x falls back") << QByteArray("AZOFFSET_EGIS=4\r\nAZOFFSET_EGIS=x\r\n") << true << "offset.EGIS" << "0" << 0;
        QTest::newRow("AZOFFSET negative") << QByteArray("AZOFFSET_M2ORION=-12\r\n") << true << "offset.M2ORION" << "-12" << 0;
        QTest::newRow("AZOFFSET_GS") << QByteArray("AZOFFSET_GS=3\r\n") << true << "offset.GS232" << "3" << 0;
        QTest::newRow("AZOFFSET_GS232 not a key") << QByteArray("AZOFFSET_GS232=3\r\n") << true << "offset.GS232" << "0" << 0;
        QTest::newRow("AZOFFSET_EASY") << QByteArray("AZOFFSET_EASY=-7\r\n") << true << "offset.EASYCOMM" << "-7" << 0;
        QTest::newRow("AZOFFSET_TKB") << QByteArray("AZOFFSET_TKB=5\r\n") << true << "offset.TRAKBOX" << "5" << 0;
        QTest::newRow("AZOFFSET_KCT") << QByteArray("AZOFFSET_KCT=2\r\n") << true << "offset.KCT" << "2" << 0;

        QTest::newRow("PORT number") << QByteArray("PORT_GS232=3\r\n") << true << "port.GS232" << "2" << 0;
        QTest::newRow("PORT COM name") << QByteArray("PORT_GS232=3\r\nPORT_GS232=COM3\r\n") << true << "port.GS232" << "-1" << 0;
        QTest::newRow("PORT zero") << QByteArray("PORT_EGIS=0\r\n") << true << "port.EGIS" << "-1" << 0;
        QTest::newRow("PORT negative") << QByteArray("PORT_EGIS=-5\r\n") << true << "port.EGIS" << "-1" << 0;
        QTest::newRow("PORT int min") << QByteArray("PORT_EGIS=-2147483648\r\n") << true << "port.EGIS" << "-1" << 0;
        QTest::newRow("PORT high") << QByteArray("PORT_TRAKBOX=256\r\n") << true << "port.TRAKBOX" << "255" << 0;
        QTest::newRow("ZENTA has no port") << QByteArray("PORT_ZENTA=3\r\n") << true << "port.ZENTA" << "-1" << 0;

        QTest::newRow("LPT 0 is none") << QByteArray("LPT_POURSAT=2\r\nLPT_POURSAT=0\r\n") << true << "port.POURSAT" << "-1" << 0;
        QTest::newRow("LPT 2") << QByteArray("LPT_POURSAT=2\r\n") << true << "port.POURSAT" << "1" << 0;
        QTest::newRow("LPT 3") << QByteArray("LPT_FODTRACK=3\r\n") << true << "port.FODTRACK" << "2" << 0;
        QTest::newRow("LPT not usable") << QByteArray("LPT_POURSAT=2\r\n") << false << "port.POURSAT" << "-1" << 0;
        QTest::newRow("LPT 4 is none") << QByteArray("LPT_FODTRACK=4\r\n") << true << "port.FODTRACK" << "-1" << 0;
        QTest::newRow("LPT negative") << QByteArray("LPT_FODTRACK=-3\r\n") << true << "port.FODTRACK" << "-1" << 0;
        QTest::newRow("LPT text") << QByteArray("LPT_FODTRACK=LPT1\r\n") << true << "port.FODTRACK" << "-1" << 0;

        QTest::newRow("BAUD table text") << QByteArray("BAUD_GS232=9600\r\n") << true << "baudIndex.GS232" << "6" << 0;
        QTest::newRow("BAUD 4800 after 9600") << QByteArray("BAUD_GS232=9600\r\nBAUD_GS232=4800\r\n") << true << "baudIndex.GS232" << "5" << 0;
        QTest::newRow("BAUD odd text kept") << QByteArray("BAUD_GS232=1234\r\n") << true << "baudText.GS232" << "1234" << 0;
        QTest::newRow("BAUD odd text keeps index") << QByteArray("BAUD_DCU1=115200\r\nBAUD_DCU1=1234\r\n") << true << "baudIndex.DCU1" << "12" << 0;
        QTest::newRow("BAUD empty ignored") << QByteArray("BAUD_TRAKBOX=9600\r\nBAUD_TRAKBOX=\r\n") << true << "baudText.TRAKBOX" << "9600" << 0;
        QTest::newRow("no BAUD line") << QByteArray("ANT=GS232\r\n") << true << "baudText.GS232" << "4800" << 0;
        QTest::newRow("EGIS has no baud") << QByteArray("BAUD_EGIS=9600\r\n") << true << "baudText.EGIS" << "4800" << 0;

        QTest::newRow("CALAZ point") << QByteArray("CALAZ_POURSAT=0.711\r\n") << true << "cal.POURSAT" << "0.711" << 0;
        QTest::newRow("CALAZ comma") << QByteArray("CALAZ_POURSAT=0,711\r\n") << true << "cal.POURSAT" << "0.711" << 0;
        QTest::newRow("CALAZ empty ignored") << QByteArray("CALAZ_POURSAT=\r\n") << true << "cal.POURSAT" << "0.5138901" << 0;
        QTest::newRow("ZERO FODTrack") << QByteArray("ZERO_FODTRACK=12.5\r\n") << true << "zero.FODTRACK" << "12.5" << 0;
        QTest::newRow("CALAZ both separators refused") << QByteArray("CALAZ_FODTRACK=1,2.3\r\n") << true << "cal.FODTRACK" << "0.711" << 1;

        QTest::newRow("EL_GS232 any value") << QByteArray("EL_GS232=N\r\n") << true << "el" << "1" << 0;
        QTest::newRow("EL_GS232 empty value") << QByteArray("EL_GS232=\r\n") << true << "el" << "1" << 0;
        QTest::newRow("TKB_HOST N after Y") << QByteArray("TKB_HOST=Y\r\nTKB_HOST=N\r\n") << true << "tkbHost" << "1" << 0;
        QTest::newRow("TKB_HOST N") << QByteArray("TKB_HOST=N\r\n") << true << "tkbHost" << "0" << 0;
        QTest::newRow("TKB_HOST lower y") << QByteArray("TKB_HOST=y\r\n") << true << "tkbHost" << "0" << 0;
        QTest::newRow("JINGLE 1") << QByteArray("JINGLE=1\r\n") << true << "jingle" << "1" << 0;
        QTest::newRow("JINGLE 0") << QByteArray("JINGLE=0\r\n") << true << "jingle" << "0" << 0;

        QTest::newRow("MOVENOW cp1252") << QByteArray("MOVENOW=d:\\k\xB0t\xE9\\\r\n") << true << "movenow" << QString::fromUtf16(u"d:\\k\u00B0t\u00E9\\") << 0;
        QTest::newRow("MOVENOW keeps blanks") << QByteArray("MOVENOW= c:\\x \r\n") << true << "movenow" << " c:\\x " << 0;

        QTest::newRow("PORTKORU x keeps integer") << QByteArray("PORTKORU=12000\r\nPORTKORU=x\r\n") << true << "koruPort" << "x/12000" << 0;
        QTest::newRow("PORTKORU x from start") << QByteArray("PORTKORU=x\r\n") << true << "koruPort" << "x/0" << 0;
        QTest::newRow("ANTKORU") << QByteArray("ANTKORU=3\r\n") << true << "koruAntenna" << "3/3" << 0;
        QTest::newRow("listening port 12040 + 16") << QByteArray("PORTKORU=12040\r\nANTKORU=16\r\n") << true
                                                 << "listeningPort" << "12056" << 0;
        // An absent or unusable field counts as its default, never as 0 (a random port).
        QTest::newRow("listening port, no keys") << QByteArray("JINGLE=0\r\n") << true << "listeningPort" << "12056" << 0;
        QTest::newRow("listening port, base not a number")
            << QByteArray("PORTKORU=12x40\r\n") << true << "listeningPort" << "12056" << 0;
        QTest::newRow("listening port, own base, no antenna")
            << QByteArray("PORTKORU=13000\r\n") << true << "listeningPort" << "13016" << 0;
        QTest::newRow("listening port, antenna 0")
            << QByteArray("PORTKORU=13000\r\nANTKORU=0\r\n") << true << "listeningPort" << "13016" << 0;
        QTest::newRow("listening port, base above the dialog's range")
            << QByteArray("PORTKORU=54000\r\nANTKORU=1\r\n") << true << "listeningPort" << "54001" << 0;
        QTest::newRow("listening port past the range")
            << QByteArray("PORTKORU=65530\r\nANTKORU=16\r\n") << true << "listeningPort" << "12056" << 0;
        QTest::newRow("listening port sum past int")
            << QByteArray("PORTKORU=2147483647\r\nANTKORU=1\r\n") << true << "listeningPort" << "12056" << 0;

        QTest::newRow("PARKING") << QByteArray("PARKING=GS232\r\n") << true << "parking" << "4" << 0;
        QTest::newRow("PARKING EGIS") << QByteArray("PARKING=EGIS\r\n") << true << "parking" << "11" << 0;
        QTest::newRow("PARKING unknown unchanged") << QByteArray("PARKING=POURSAT\r\nPARKING=xyz\r\n") << true << "parking" << "1" << 0;
        QTest::newRow("AZIMUT_PARKING real") << QByteArray("AZIMUT_PARKING=12.5\r\n") << true << "parkingAzimuth" << "12.5" << 0;
        QTest::newRow("AZIMUT_PARKING not normalised") << QByteArray("AZIMUT_PARKING=90\r\nAZIMUT_PARKING=12,5\r\n") << true << "parkingAzimuth" << "90" << 1;

        QTest::newRow("angle dialog") << QByteArray("WATOP=100\r\nWALEFT=-20\r\nWANGLE=1\r\n") << true << "angleDialog" << "100,-20,1" << 0;
        QTest::newRow("ANGLE 0") << QByteArray("ANGLE=0\r\n") << true << "restoreAngle" << "<none>" << 0;
        QTest::newRow("ANGLE abc") << QByteArray("ANGLE=abc\r\n") << true << "restoreAngle" << "<none>" << 0;
        QTest::newRow("ANGLE 275") << QByteArray("ANGLE=275\r\n") << true << "restoreAngle" << "275" << 0;
        QTest::newRow("ANGLE 0 after 275") << QByteArray("ANGLE=275\r\nANGLE=0\r\n") << true << "restoreAngle" << "275" << 0;

        QTest::newRow("FAV azimuth unchecked range") << QByteArray("FAV2AZ=-400\r\n") << true << "fav2az" << "-400" << 0;
        QTest::newRow("FAV label with =") << QByteArray("FAV1TXT=a=b\r\n") << true << "fav1txt" << "a=b" << 0;
        QTest::newRow("FAV label empty") << QByteArray("FAV3TXT=\r\n") << true << "fav3txt" << "" << 0;
        QTest::newRow("FAV label untouched") << QByteArray("FAV3TXT=\r\n") << true << "fav4txt" << "Fav.4" << 0;
        QTest::newRow("FAV7 not a key") << QByteArray("FAV7TXT=x\r\n") << true << "fav6txt" << "Fav.6" << 0;
    }

    void readingRules()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, lptUsable);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        QFETCH(int, conversionErrors);
        Configuration config;
        RecordingLoadActions actions;
        const LoadReport report = LoadConfiguration(file, TestFileName, config, actions, lptUsable, QLocale::c());
        QCOMPARE(fieldText(config, field), expected);
        QCOMPARE(report.conversionErrors.size(), conversionErrors);
    }

    void actions_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("calls");

        QTest::newRow("language") << QByteArray("LANGUAGE=FRENCH\r\nLANGUAGE=french\r\nLANGUAGE=ENGLISH\r\n")
                                  << QStringList{"language:FRENCH", "language:ENGLISH"};
        QTest::newRow("AUTO once per line") << QByteArray("AUTO=1\r\nAUTO=0\r\nAUTO=1\r\n") << QStringList{"auto", "auto"};
        QTest::newRow("servers") << QByteArray("SERVER=GEOMUNDO\r\nSERVER=BEAMDX\r\nSERVER=KORU\r\nSERVER=koru\r\nSERVER=\r\n")
                                 << QStringList{"server:GEOMUNDO", "server:BEAMDX", "server:KORU"};
        QTest::newRow("geometry") << QByteArray("WLEFT=10\r\nWTOP=-5\r\nWWIDTH=640\r\nWHEIGHT=480\r\n")
                                  << QStringList{"geometry:left:10", "geometry:top:-5", "geometry:width:640", "geometry:height:480"};
        QTest::newRow("captions") << QByteArray("FAV3TXT=\r\nFAV6TXT=a=b\r\n") << QStringList{"caption:3:", "caption:6:a=b"};
        QTest::newRow("baud only for table texts")
            << QByteArray("BAUD_GS232=4800\r\nBAUD_GS232=1234\r\nBAUD_TRAKBOX=115200\r\nBAUD_EASYCOMM=\r\nBAUD_DCU1=110\r\n")
            << QStringList{"baud:GS232:5", "baud:TRAKBOX:12", "baud:DCU1:0"};
        QTest::newRow("stored keys act on nothing") << QByteArray("ANT=GS232\r\nSTEP_GS232=3\r\nJINGLE=1\r\n") << QStringList{};
    }

    void actions()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, calls);
        Configuration config;
        RecordingLoadActions actions;
        LoadConfiguration(file, TestFileName, config, actions, true, QLocale::c());
        QCOMPARE(actions.calls(), calls);
    }

    void decimalSeparatorUnderCommaLocale_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<double>("calibration");
        QTest::newRow("comma") << QByteArray("CALAZ_FODTRACK=0,711\r\n") << 0.711;
        QTest::newRow("point") << QByteArray("CALAZ_FODTRACK=0.711\r\n") << 0.711;
        QTest::newRow("whole") << QByteArray("CALAZ_FODTRACK=2\r\n") << 2.0;
    }

    void decimalSeparatorUnderCommaLocale()
    {
        QFETCH(QByteArray, line);
        QFETCH(double, calibration);
        Configuration config;
        RecordingLoadActions actions;
        const LoadReport report =
            LoadConfiguration(line, TestFileName, config, actions, true, QLocale(QLocale::French));
        QVERIFY(report.conversionErrors.isEmpty());
        QCOMPARE(config.at(InterfaceKind::FodTrack).calibration, calibration);
    }

    void parkingAzimuthFollowsLocaleWithoutNormalising()
    {
        Configuration config;
        RecordingLoadActions actions;
        const LoadReport report = LoadConfiguration("AZIMUT_PARKING=12,5\r\nAZIMUT_PARKING=7.5\r\n", TestFileName,
                                                    config, actions, true, QLocale(QLocale::French));
        QCOMPARE(config.parkingAzimuth, 12.5);
        QCOMPARE(report.conversionErrors,
                 QStringList{"'7.5' is not a valid floating point value\n"
                             "Key AZIMUT_PARKING, line 2 of /settings/Orvantis.ini: the line is ignored and the "
                             "setting keeps its previous value; Orvantis writes a valid one when it closes."});
    }

    // A bad strict value used to end reading; every later setting must still be read.
    void badStrictValueDoesNotStopReading()
    {
        const QByteArray file = "ANT=EGIS\r\n"
                                "WTOP=100\r\n"
                                "WTOP=abc\r\n"
                                "FAV1AZ=45\r\n"
                                "FAV1AZ=4 5\r\n"
                                "CALAZ_POURSAT=x\r\n"
                                "STEP_EGIS=3\r\n"
                                "FAV2TXT=after\r\n"
                                "LANGUAGE=FRENCH\r\n";
        Configuration config;
        RecordingLoadActions actions;
        const LoadReport report = LoadConfiguration(file, TestFileName, config, actions, true, QLocale::c());
        // In the file's language, though it is named after the bad lines.
        const QString tail = QStringLiteral(" de /settings/Orvantis.ini : la ligne est ignorée et le réglage garde sa "
                                            "valeur précédente ; Orvantis en écrit une valide à sa fermeture.");
        QCOMPARE(report.conversionErrors,
                 (QStringList{"'abc' n'est pas une valeur entière correcte\nClé WTOP, ligne 3" + tail,
                              "'4 5' n'est pas une valeur entière correcte\nClé FAV1AZ, ligne 5" + tail,
                              "'x' n'est pas une valeur en virgule flottante correcte\nClé CALAZ_POURSAT, ligne 6" + tail}));
        QCOMPARE(actions.calls(), (QStringList{"geometry:top:100", "caption:2:after", "language:FRENCH"}));
        QCOMPARE(config.favourites[0].azimuth, 45);
        QCOMPARE(config.at(InterfaceKind::PourSat).calibration, 0.5138901);
        QCOMPARE(config.at(InterfaceKind::Egis).minimumStep, 3);
        QCOMPARE(config.interfaceKind, InterfaceKind::Egis);
        QCOMPARE(config.favourites[1].label, QStringLiteral("after"));
    }

    // The line number a notice names is the one an editor shows.
    void badValueNamesItsLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("located");

        QTest::newRow("CR LF") << QByteArray("[ORVANTIS]\r\n\r\nWLEFT=1O\r\n") << "Key WLEFT, line 3 of";
        QTest::newRow("lone LF and lone CR") << QByteArray("A\nB\rWATOP=x\n") << "Key WATOP, line 3 of";
        QTest::newRow("LF CR is two ends") << QByteArray("A\n\rFAV6AZ=x") << "Key FAV6AZ, line 3 of";
        QTest::newRow("after a UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBFWANGLE=oui\r\n") << "Key WANGLE, line 1 of";
        // A value that looks like a placeholder is shown as written.
        QTest::newRow("placeholder in the value") << QByteArray("X\r\nZERO_FODTRACK=%3%1\r\n")
                                                  << "'%3%1' is not a valid floating point value\nKey ZERO_FODTRACK, line 2 of";
    }

    void badValueNamesItsLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, located);
        Configuration config;
        RecordingLoadActions actions;
        const LoadReport report = LoadConfiguration(file, TestFileName, config, actions, true, QLocale::c());
        QCOMPARE(report.conversionErrors.size(), 1);
        QVERIFY2(report.conversionErrors.first().contains(located + QStringLiteral(" /settings/Orvantis.ini: ")),
                 qPrintable(report.conversionErrors.first()));
    }

    // A UTF-8 byte-order mark is not part of the first key; the text after it is
    // UTF-8, unless it cannot be.
    void utf8ByteOrderMark_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("label");
        QTest::newRow("UTF-8 text") << QByteArray("\xEF\xBB\xBFLANGUAGE=FRENCH\r\nFAV1TXT=\xC3\x89t\xC3\xA9 \xE2\x82\xAC\r\n")
                                    << QString::fromUtf16(u"\u00C9t\u00E9 \u20AC");
        QTest::newRow("Windows-1252 after the mark") << QByteArray("\xEF\xBB\xBFLANGUAGE=FRENCH\r\nFAV1TXT=\xC9t\xE9\r\n")
                                                     << QString::fromUtf16(u"\u00C9t\u00E9");
    }

    void utf8ByteOrderMark()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, label);
        Configuration config;
        RecordingLoadActions actions;
        LoadConfiguration(file, TestFileName, config, actions, true, QLocale::c());
        QCOMPARE(actions.language(), Language::french());
        QCOMPARE(config.favourites[0].label, label);
    }

    void garbage_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");

        QByteArray random(1 << 20, Qt::Uninitialized);
        QRandomGenerator generator(20240611);
        for (char &c : random)
            c = char(generator.bounded(256));
        QTest::newRow("random megabyte") << random + "\r\nANT=KCT\r\n" << "ant" << "KCT";

        static const char nulLines[] = "ANT=\0GS232\r\nSTEP_GS232=\0\r\nAN\0T=KCT\r\n\0\0\0\r\nSTEP_KCT=2";
        QTest::newRow("NUL bytes") << QByteArray(nulLines, sizeof nulLines - 1) << "step.KCT" << "2";
        QTest::newRow("NUL in value") << QByteArray("FAV1TXT=a\0b\r\n", 13) << "fav1txt" << QString::fromUtf16(u"a\0b", 3);

        const QByteArray megabyte(1 << 20, 'x');
        QTest::newRow("megabyte label") << "FAV1TXT=" + megabyte + "\r\nANT=GS232\r\n" << "ant" << "GS232";
        QTest::newRow("megabyte line without =") << megabyte + "\r\nANT=GS232\r\n" << "ant" << "GS232";
        QTest::newRow("megabyte key") << megabyte + "=1\r\nANT=GS232\r\n" << "ant" << "GS232";
        QTest::newRow("megabyte of =") << QByteArray(1 << 20, '=') + "\nANT=KCT" << "ant" << "KCT";
        QTest::newRow("megabyte of line ends") << QByteArray(1 << 20, '\r') + "ANT=KCT" << "ant" << "KCT";

        QByteArray tenMegabytes;
        tenMegabytes.reserve(10 << 20);
        while (tenMegabytes.size() < (10 << 20))
            tenMegabytes += "STEP_GS232=3\r\nAUTO=0\r\nX=\r\n";
        QTest::newRow("ten megabytes") << tenMegabytes + "STEP_GS232=4" << "step.GS232" << "4";
    }

    void garbage()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        Configuration config;
        RecordingLoadActions actions;
        LoadConfiguration(file, TestFileName, config, actions, true, QLocale::c());
        QCOMPARE(fieldText(config, field), expected);
    }

    void megabyteLabelKeptWhole()
    {
        const QByteArray label(1 << 20, 'y');
        Configuration config;
        RecordingLoadActions actions;
        LoadConfiguration("FAV5TXT=" + label, TestFileName, config, actions, true, QLocale::c());
        QCOMPARE(config.favourites[4].label.size(), label.size());
    }

    void emptyFileKeepsDefaults()
    {
        Configuration config;
        RecordingLoadActions actions;
        const LoadReport report =
            LoadConfiguration(QByteArray(), TestFileName, config, actions, true, QLocale::c());
        QVERIFY(report.conversionErrors.isEmpty());
        QVERIFY(actions.calls().isEmpty());
        QCOMPARE(config.interfaceKind, InterfaceKind::None);
        QCOMPARE(config.koruPortText, QStringLiteral("12040"));
        QCOMPARE(config.favourites[5].label, QStringLiteral("Fav.6"));
    }
};

QTEST_GUILESS_MAIN(ConfigurationReaderTest)
#include "ConfigurationReaderTest.moc"
