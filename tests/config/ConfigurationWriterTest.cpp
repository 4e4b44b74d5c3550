#include "RecordingLoadActions.h"

#include "config/ConfigurationReader.h"
#include "config/ConfigurationWriter.h"
#include "config/SettingsFileTexts.h"
#include "config/Windows1252.h"

#include <QTest>

namespace {

// A record and live state with every optional line present and no default left.
Configuration fullRecord()
{
    Configuration c;
    c.interfaceKind = InterfaceKind::Gs232;
    auto set = [&c](InterfaceKind kind, int port, int stop, int step, int offset) {
        InterfaceSettings &s = c.at(kind);
        s.port = port;
        s.stopSide = stop;
        s.minimumStep = step;
        s.azimuthOffset = offset;
    };
    set(InterfaceKind::PourSat, 1, 1, 2, 0);
    c.at(InterfaceKind::PourSat).zero = 12.5;
    set(InterfaceKind::FodTrack, -1, 0, 1, 0);
    set(InterfaceKind::Zenta, -1, 1, 3, 0);
    set(InterfaceKind::Gs232, 3, 0, 1, -5);
    c.at(InterfaceKind::Gs232).baudText = QStringLiteral("9600");
    set(InterfaceKind::EasyComm, 0, 1, 0, 10);
    set(InterfaceKind::Dcu1, -1, 0, 5, 0);
    c.at(InterfaceKind::Dcu1).baudText = QStringLiteral("1234");
    set(InterfaceKind::ProSisTel, -1, 1, 2, 3);
    set(InterfaceKind::TrakBox, 11, 0, 4, -30);
    c.at(InterfaceKind::TrakBox).baudText = QStringLiteral("115200");
    c.trakBoxHostMode = true;
    set(InterfaceKind::M2Orion, -1, 0, 1, 7);
    set(InterfaceKind::Egis, -1, 1, 1, 30);
    set(InterfaceKind::Kct, -1, 1, 3, -2);
    c.parkingAzimuth = 13.5;
    c.parkingInterface = ordinal(InterfaceKind::ProSisTel) + 1;
    c.jingleEnabled = true;
    c.favourites = {{{10, QStringLiteral("Fav.1")}, {45, QStringLiteral("EU")}, {-3, QString()},
                     {180, QStringLiteral("a=b")}, {270, QString::fromUtf16(u"R\u00E9\u00B0")}, {359, QStringLiteral("Fav.6")}}};
    return c;
}

WriterInputs fullInputs()
{
    WriterInputs in;
    in.language = Language::french();
    in.autoOn = true;
    in.source = AzimuthSource::Koru;
    in.koruPortText = QStringLiteral("12040");
    in.koruAntennaText = QStringLiteral("16");
    in.comPortNumber[ordinal(InterfaceKind::Gs232)] = 4;
    in.comPortNumber[ordinal(InterfaceKind::EasyComm)] = 1;
    in.comPortNumber[ordinal(InterfaceKind::TrakBox)] = 12;
    in.gs232Elevation = true;
    in.windowLeft = 10;
    in.windowTop = 20;
    in.windowWidth = 640;
    in.windowHeight = 480;
    in.angleLeft = 300;
    in.angleTop = 400;
    in.angleVisible = true;
    in.angleText = QStringLiteral("123");
    return in;
}

// The live state a main window would hold after reading, turned back into
// what it hands the writer.
WriterInputs inputsAfterReading(const Configuration &c, const RecordingLoadActions &a)
{
    WriterInputs in;
    in.language = a.language();
    in.autoOn = a.autoOn();
    in.source = a.source();
    in.koruPortText = c.koruPortText;
    in.koruAntennaText = c.koruAntennaText;
    for (InterfaceKind kind : SerialInterfaceKinds) {
        if (c.at(kind).port >= 0)
            in.comPortNumber[ordinal(kind)] = c.at(kind).port + 1;
    }
    in.gs232Elevation = c.gs232Elevation;
    in.windowLeft = a.geometry(WindowField::Left);
    in.windowTop = a.geometry(WindowField::Top);
    in.windowWidth = a.geometry(WindowField::Width);
    in.windowHeight = a.geometry(WindowField::Height);
    in.angleLeft = c.angleLeft;
    in.angleTop = c.angleTop;
    in.angleVisible = c.angleShown == 1;
    in.angleText = c.restoreAngleText;
    return in;
}

QByteArray readAndWriteAgain(const QByteArray &file, const QLocale &locale, bool lptUsable = true)
{
    Configuration config;
    RecordingLoadActions actions;
    const LoadReport report = LoadConfiguration(file, TestFileName, config, actions, lptUsable, locale);
    if (!report.conversionErrors.isEmpty())
        return "conversion errors: " + report.conversionErrors.join(u'|').toUtf8();
    return writeConfiguration(config, inputsAfterReading(config, actions), locale);
}

const char FullFile[] =
    "[ORVANTIS]\r\n"
    "LANGUAGE=FRENCH\r\n"
    "AUTO=1\r\n"
    "SERVER=KORU\r\n"
    "PORTKORU=12040\r\n"
    "ANTKORU=16\r\n"
    "ANT=GS232\r\n"
    "[POURSAT]\r\n"
    "LPT_POURSAT=2\r\n"
    "STOP_POURSAT=S\r\n"
    "STEP_POURSAT=2\r\n"
    "CALAZ_POURSAT=0.5138901\r\n"
    "ZERO_POURSAT=12.5\r\n"
    "[FODTRACK]\r\n"
    "LPT_FODTRACK=0\r\n"
    "STOP_FODTRACK=N\r\n"
    "STEP_FODTRACK=1\r\n"
    "CALAZ_FODTRACK=0.711\r\n"
    "ZERO_FODTRACK=0\r\n"
    "[ZENTA]\r\n"
    "STOP_ZENTA=S\r\n"
    "STEP_ZENTA=3\r\n"
    "[GS-232]\r\n"
    "PORT_GS232=4\r\n"
    "BAUD_GS232=9600\r\n"
    "STOP_GS232=N\r\n"
    "STEP_GS232=1\r\n"
    "AZOFFSET_GS=-5\r\n"
    "EL_GS232=Y\r\n"
    "[EASYCOMM]\r\n"
    "PORT_EASYCOMM=1\r\n"
    "BAUD_EASYCOMM=4800\r\n"
    "STOP_EASYCOMM=S\r\n"
    "AZOFFSET_EASY=10\r\n"
    "STEP_EASYCOMM=0\r\n"
    "[DCU-1]\r\n"
    "BAUD_DCU1=1234\r\n"
    "STOP_DCU1=N\r\n"
    "AZOFFSET_DCU1=0\r\n"
    "STEP_DCU1=5\r\n"
    "[PROSISTEL]\r\n"
    "STOP_PROSISTEL=S\r\n"
    "AZOFFSET_PROSISTEL=3\r\n"
    "STEP_PROSISTEL=2\r\n"
    "[TRAKBOX]\r\n"
    "PORT_TRAKBOX=12\r\n"
    "BAUD_TRAKBOX=115200\r\n"
    "AZOFFSET_TKB=-30\r\n"
    "STEP_TRAKBOX=4\r\n"
    "TKB_HOST=Y\r\n"
    "[M2ORION]\r\n"
    "STOP_M2ORION=N\r\n"
    "AZOFFSET_M2ORION=7\r\n"
    "STEP_M2ORION=1\r\n"
    "[EGIS]\r\n"
    "STOP_EGIS=S\r\n"
    "AZOFFSET_EGIS=30\r\n"
    "STEP_EGIS=1\r\n"
    "[KCT]\r\n"
    "STOP_KCT=S\r\n"
    "AZOFFSET_KCT=-2\r\n"
    "STEP_KCT=3\r\n"
    "MOVENOW=c:\\radio\\kct\\\r\n"
    "AZIMUT_PARKING=14\r\n"
    "PARKING=PROSISTEL\r\n"
    "JINGLE=1\r\n"
    "WLEFT=10\r\n"
    "WTOP=20\r\n"
    "WWIDTH=640\r\n"
    "WHEIGHT=480\r\n"
    "WALEFT=300\r\n"
    "WATOP=400\r\n"
    "WANGLE=1\r\n"
    "ANGLE=123\r\n"
    "FAV1AZ=10\r\n"
    "FAV1TXT=Fav.1\r\n"
    "FAV2AZ=45\r\n"
    "FAV2TXT=EU\r\n"
    "FAV3AZ=-3\r\n"
    "FAV3TXT=\r\n"
    "FAV4AZ=180\r\n"
    "FAV4TXT=a=b\r\n"
    "FAV5AZ=270\r\n"
    "FAV5TXT=R\xE9\xB0\r\n"
    "FAV6AZ=359\r\n"
    "FAV6TXT=Fav.6\r\n";

} // namespace

class ConfigurationWriterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fullRecordExactBytes()
    {
        const QByteArray written = writeConfiguration(fullRecord(), fullInputs(), QLocale::c());
        const QByteArray expected(FullFile);
        // Line by line first, so a difference names its line.
        QCOMPARE(written.split('\n'), expected.split('\n'));
        QCOMPARE(written, expected);
    }

    void defaultsLeaveOptionalLinesOut()
    {
        const QByteArray written = writeConfiguration(Configuration(), WriterInputs(), QLocale::c());
        QVERIFY(written.startsWith("[ORVANTIS]\r\nLANGUAGE=ENGLISH\r\nPORTKORU=\r\nANTKORU=\r\nANT=\r\n[POURSAT]\r\n"));
        QVERIFY(written.endsWith("FAV6AZ=0\r\nFAV6TXT=Fav.6\r\n"));
        for (const char *absent : {"LANGUAGE=FRENCH", "AUTO=", "SERVER=", "PORT_", "EL_GS232", "\r\nPARKING=", "JINGLE=",
                                   "WANGLE="})
            QVERIFY2(!written.contains(absent), absent);
        for (const char *present : {"\r\nBAUD_GS232=4800\r\n", "\r\nLPT_POURSAT=0\r\n", "\r\nTKB_HOST=N\r\n",
                                    "\r\nAZIMUT_PARKING=0\r\n", "\r\nANGLE=\r\n", "\r\nCALAZ_POURSAT=0.5138901\r\n"})
            QVERIFY2(written.contains(present), present);
        // Every line ends in CR LF and no bare LF or CR appears anywhere else.
        QCOMPARE(written.count("\r\n"), written.count('\n'));
        QCOMPARE(written.count("\r\n"), written.count('\r'));
    }

    void parkingRoundsHalfToEven_data()
    {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("12.5") << 12.5 << QByteArray("\r\nAZIMUT_PARKING=12\r\n");
        QTest::newRow("13.5") << 13.5 << QByteArray("\r\nAZIMUT_PARKING=14\r\n");
        QTest::newRow("359.7") << 359.7 << QByteArray("\r\nAZIMUT_PARKING=360\r\n");
        QTest::newRow("-0.5") << -0.5 << QByteArray("\r\nAZIMUT_PARKING=0\r\n");
    }

    void parkingRoundsHalfToEven()
    {
        QFETCH(double, azimuth);
        QFETCH(QByteArray, line);
        Configuration config;
        config.parkingAzimuth = azimuth;
        QVERIFY(writeConfiguration(config, WriterInputs(), QLocale::c()).contains(line));
    }

    void commaLocaleWritesComma()
    {
        const QByteArray written = writeConfiguration(Configuration(), WriterInputs(), QLocale(QLocale::French));
        QVERIFY(written.contains("\r\nCALAZ_FODTRACK=0,711\r\n"));
        QVERIFY(written.contains("\r\nCALAZ_POURSAT=0,5138901\r\n"));
        // Read back under a point locale, the value is the same.
        Configuration config;
        RecordingLoadActions actions;
        const LoadReport report = LoadConfiguration(written, TestFileName, config, actions, true, QLocale::c());
        QVERIFY(report.conversionErrors.isEmpty());
        QCOMPARE(config.at(InterfaceKind::FodTrack).calibration, 0.711);
        QCOMPARE(config.at(InterfaceKind::PourSat).calibration, 0.5138901);
    }

    void unrepresentableLabelBecomesQuestionMark_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<bool>("kept");
        QTest::newRow("Greek and the euro") << QString::fromUtf16(u"\u03A9 \u20AC") << QByteArray("? \x80") << false;
        QTest::newRow("outside the BMP, one mark") << QString::fromUtf16(u"DX\U0001F4E1") << QByteArray("DX?") << false;
        QTest::newRow("Cyrillic call area") << QString::fromUtf16(u"\u0420\u0430\u0434\u0438\u043E") << QByteArray("?????")
                                             << false;
        QTest::newRow("degree sign and accents") << QString::fromUtf16(u"N\u00B0 3 \u00E9t\u00E9") << QByteArray("N\xB0 3 \xE9t\xE9")
                                                 << true;
        QTest::newRow("undefined byte read from a file") << QString::fromUtf16(u"a\u0081b") << QByteArray("a\x81" "b") << true;
        QTest::newRow("a question mark of its own") << QStringLiteral("QRV?") << QByteArray("QRV?") << true;
    }

    // Written as far as the code page goes, and named so the user can be told.
    void unrepresentableLabelBecomesQuestionMark()
    {
        QFETCH(QString, label);
        QFETCH(QByteArray, written);
        QFETCH(bool, kept);
        Configuration config;
        config.favourites[3].label = label;
        const QByteArray bytes = writeConfiguration(config, WriterInputs(), QLocale::c());
        QVERIFY2(bytes.contains(QByteArray("\r\nFAV4TXT=" + written + "\r\n")), bytes.constData());
        QCOMPARE(favouritesNotKept(config), kept ? QList<int> {} : QList<int> {4});
        if (!kept) {
            const QString told = SettingsFileTexts::favouriteNotKeptText(Language::english(), 4, label);
            QCOMPARE(told, QStringLiteral("The name of favourite 4, \"%1\", holds characters that Orvantis.ini "
                                          "(Windows-1252) cannot keep: it is saved as \"%2\". Choose a name without "
                                          "them to keep it as you wrote it.")
                               .arg(label, Windows1252::decode(written)));
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("french");
        QTest::addColumn<bool>("lptUsable");
        QTest::newRow("full record") << QByteArray(FullFile) << false << true;
        QTest::newRow("full record, comma locale")
            << writeConfiguration(fullRecord(), fullInputs(), QLocale(QLocale::French)) << true << true;
        QTest::newRow("Hamlib selected and parked")
            << QByteArray(FullFile).replace("ANT=GS232", "ANT=HAMLIB").replace("PARKING=PROSISTEL", "PARKING=HAMLIB")
                   + "[HAMLIB]\r\nHAMLIB_MODEL=202\r\nPORT_HAMLIB=33\r\nBAUD_HAMLIB=9600\r\nSTOP_HAMLIB=N\r\n"
                     "STEP_HAMLIB=0\r\nAZOFFSET_HAMLIB=12\r\n"
            << false << true;
        QTest::newRow("defaults") << writeConfiguration(Configuration(), WriterInputs(), QLocale::c()) << false << true;
        // Without the parallel-port driver the LPT choices are unavailable, not changed.
        QTest::newRow("full record, no parallel ports") << QByteArray(FullFile) << false << false;
        QTest::newRow("odd LPT texts, no parallel ports")
            << QByteArray(FullFile).replace("LPT_POURSAT=2", "LPT_POURSAT=7").replace("LPT_FODTRACK=0", "LPT_FODTRACK=")
            << false << false;

        Configuration odd = fullRecord();
        odd.interfaceKind = InterfaceKind::None;
        odd.parkingInterface = ordinal(InterfaceKind::Egis) + 1;
        odd.at(InterfaceKind::FodTrack).calibration = 1.234568e-20;
        odd.at(InterfaceKind::FodTrack).zero = -359.25;
        odd.movenowDirectory = QString::fromUtf16(u"d:\\k\u00E9t \u00B0\\");
        odd.favourites[0].label = QStringLiteral("==");
        WriterInputs oddInputs = fullInputs();
        oddInputs.language = Language::english();
        oddInputs.source = AzimuthSource::BeamDx;
        oddInputs.koruPortText = QStringLiteral("x");
        oddInputs.comPortNumber = {};
        oddInputs.angleVisible = false;
        QTest::newRow("odd values") << writeConfiguration(odd, oddInputs, QLocale::c()) << false << true;
        oddInputs.source = AzimuthSource::Geomundo;
        oddInputs.autoOn = false;
        QTest::newRow("Geomundo, manual") << writeConfiguration(odd, oddInputs, QLocale::c()) << false << true;
    }

    // Written, read and written again: the second file is the first, byte for byte.
    void roundTrip()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, french);
        QFETCH(bool, lptUsable);
        const QLocale locale = french ? QLocale(QLocale::French) : QLocale::c();
        QCOMPARE(readAndWriteAgain(file, locale, lptUsable).split('\n'), file.split('\n'));
    }

    // Keys an older file lacks: kept as read, written last and only when present,
    // and read through defaults that never expose the server beyond this machine.
    void extensionKeys_data()
    {
        QTest::addColumn<QByteArray>("extraLines");
        QTest::addColumn<QByteArray>("writtenTail");
        QTest::addColumn<bool>("serving");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QList<InterfaceKind>>("polled");

        const QByteArray fav6 = "FAV6TXT=Fav.6\r\n";
        QTest::newRow("none") << QByteArray() << fav6 << false << 4533 << "127.0.0.1" << QList<InterfaceKind>();
        QTest::newRow("server on") << QByteArray("ROTCTLD=1\r\n") << fav6 + "[ROTCTLD]\r\nROTCTLD=1\r\n"
                                   << true << 4533 << "127.0.0.1" << QList<InterfaceKind>();
        QTest::newRow("mixed order, odd values")
            << QByteArray("ROTCTLD_ADDRESS=0.0.0.0\r\nREADPOS_EGIS=1\r\nROTCTLD_PORT=12x40\r\nREADPOS_GS232=0\r\n"
                          "READPOS_POURSAT=1\r\nROTCTLD=yes\r\n")
            << fav6 + "[ROTCTLD]\r\nROTCTLD=yes\r\nROTCTLD_PORT=12x40\r\nROTCTLD_ADDRESS=0.0.0.0\r\n"
                      "[READ POSITION]\r\nREADPOS_GS232=0\r\nREADPOS_EGIS=1\r\n"
            << false << 4533 << "0.0.0.0" << QList<InterfaceKind>{InterfaceKind::Egis};
        QTest::newRow("port out of range, blank address")
            << QByteArray("ROTCTLD_PORT=65536\r\nROTCTLD_ADDRESS= \r\nREADPOS_TRAKBOX=1\r\n")
            << fav6 + "[ROTCTLD]\r\nROTCTLD_PORT=65536\r\nROTCTLD_ADDRESS= \r\n[READ POSITION]\r\nREADPOS_TRAKBOX=1\r\n"
            << false << 4533 << "127.0.0.1" << QList<InterfaceKind>{InterfaceKind::TrakBox};
        QTest::newRow("chosen port") << QByteArray("ROTCTLD=1\r\nROTCTLD_PORT=4600\r\n")
                                     << fav6 + "[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_PORT=4600\r\n"
                                     << true << 4600 << "127.0.0.1" << QList<InterfaceKind>();
        const QByteArray hamlib = "[HAMLIB]\r\nHAMLIB_MODEL=601\r\nPORT_HAMLIB=5\r\nHAMLIB_ADDRESS=localhost:4533\r\n"
                                  "BAUD_HAMLIB=600\r\nSTOP_HAMLIB=S\r\nSTEP_HAMLIB=2\r\nAZOFFSET_HAMLIB=-5\r\n"
                                  "READPOS_HAMLIB=1\r\n";
        QTest::newRow("Hamlib, every key") << hamlib << fav6 + hamlib << false << 4533 << "127.0.0.1"
                                           << QList<InterfaceKind>{InterfaceKind::Hamlib};
        // One key brings the section; the model's own speed is not written for it.
        QTest::newRow("Hamlib model only, before the server")
            << QByteArray("HAMLIB_MODEL=2\r\nROTCTLD=1\r\n")
            << fav6 + "[ROTCTLD]\r\nROTCTLD=1\r\n[HAMLIB]\r\nHAMLIB_MODEL=2\r\nSTOP_HAMLIB=N\r\nSTEP_HAMLIB=1\r\n"
                      "AZOFFSET_HAMLIB=0\r\n"
            << true << 4533 << "127.0.0.1" << QList<InterfaceKind>();
    }

    void extensionKeys()
    {
        QFETCH(QByteArray, extraLines);
        QFETCH(QByteArray, writtenTail);
        QFETCH(bool, serving);
        QFETCH(int, port);
        QFETCH(QString, address);
        QFETCH(QList<InterfaceKind>, polled);

        const QByteArray older = writeConfiguration(Configuration(), WriterInputs(), QLocale::c());
        Configuration config;
        RecordingLoadActions actions;
        QVERIFY(LoadConfiguration(older + extraLines, TestFileName, config, actions, true, QLocale::c())
                    .conversionErrors.isEmpty());
        const QByteArray written = writeConfiguration(config, inputsAfterReading(config, actions), QLocale::c());
        QVERIFY2(written.endsWith(writtenTail), written.right(200).constData());
        QVERIFY(written.startsWith(older.left(older.size() - fav6Length())));
        QCOMPARE(config.extensions.rotctldEnabled(), serving);
        QCOMPARE(int(config.extensions.rotctldListenPort()), port);
        QCOMPARE(config.extensions.rotctldListenAddress(), address);
        for (InterfaceKind kind : AllInterfaceKinds)
            QCOMPARE(config.extensions.readsPosition(kind), polled.contains(kind));
    }

private:
    static qsizetype fav6Length() { return qsizetype(sizeof("FAV6TXT=Fav.6\r\n") - 1); }
};

QTEST_GUILESS_MAIN(ConfigurationWriterTest)
#include "ConfigurationWriterTest.moc"
