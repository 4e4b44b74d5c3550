#include "MainWindowRig.h"

#include "core/StatusCaption.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The title bar as status line, the language menu, and the window's start and
// close around them.
class TestCaptionLanguage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void caption_data();
    void caption();
    void captionOfTheRunningWindow_data();
    void captionOfTheRunningWindow();
    void languageSwitchesMenuCaptions();
    void serverMenuCaption_data();
    void serverMenuCaption();
    void movenowMissingAtStart_data();
    void movenowMissingAtStart();
    void closingStopsParksAndSaves();
    void diagnosticStripLeavesTheSavedSize();
};

namespace {

const QString Head = QStringLiteral("ORVANTIS V2.4.1 - ");
const QString Degree = QString(QChar(0x00B0));

struct MenuCaptions {
    QString quit, server, favourites, azimuth, language, help, about;
    QString boxMenuFirst; // Qt's own: the first item of the azimuth box's context menu
    friend bool operator==(const MenuCaptions &, const MenuCaptions &) = default;
};

MenuCaptions menuCaptions(MainWindowRig &rig)
{
    auto menu = [&](const char *name) { return rig.window().findChild<QMenu *>(QLatin1String(name))->title(); };
    auto item = [&](const char *name) { return rig.action(QLatin1String(name))->text(); };
    const std::unique_ptr<QMenu> boxMenu(
        rig.window().findChild<QLineEdit *>(QStringLiteral("EditAzimut"))->createStandardContextMenu());
    const QString boxMenuFirst = boxMenu->actions().constFirst()->text().section(QLatin1Char('\t'), 0, 0);
    return {item("MenuQuitter"), menu("MenuServer"), item("MenuFav"),     item("MenuAzimut"),
            menu("MenuLangue"),  item("MenuAide"),   item("MenuAPropos"), boxMenuFirst};
}

const MenuCaptions English{QStringLiteral("Quit"),     QStringLiteral("Server"),   QStringLiteral("My Favourites"),
                           QStringLiteral("Azimuth"),  QStringLiteral("Language"), QStringLiteral("Help"),
                           QStringLiteral("About Orvantis"), QStringLiteral("&Undo")};
const MenuCaptions French{QStringLiteral("Quitter"), QStringLiteral("Serveur"), QStringLiteral("Mes Favoris"),
                          QStringLiteral("Azimut"),  QStringLiteral("Langue"),  QStringLiteral("Aide"),
                          QStringLiteral("A propos de Orvantis"), QStringLiteral("&Annuler")};

} // namespace

void TestCaptionLanguage::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestCaptionLanguage::caption_data()
{
    QTest::addColumn<InterfaceKind>("kind");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<InterfaceKind>("parking");
    QTest::addColumn<double>("parkingAzimuth");
    QTest::addColumn<QString>("expected");

    using K = InterfaceKind;
    const K none = K::None;
    QTest::newRow("no interface") << none << -1 << "4800" << none << 0.0 << "ORVANTIS V2.4.1";
    QTest::newRow("PourSat LPT2") << K::PourSat << 1 << "" << none << 0.0 << Head + "PourSat / LPT2";
    QTest::newRow("PourSat parked") << K::PourSat << 0 << "" << K::PourSat << 90.0
                                    << Head + "PourSat / LPT1 / Parking=90" + Degree;
    QTest::newRow("PourSat no LPT") << K::PourSat << -1 << "" << K::PourSat << 90.0 << Head + "PourSat / no LPT";
    QTest::newRow("FODTrack parked, half to even") << K::FodTrack << 0 << "" << K::FodTrack << 45.5
                                                   << Head + "FODTrack / LPT1 / Parking=46" + Degree;
    QTest::newRow("FODTrack no LPT") << K::FodTrack << -1 << "" << none << 0.0 << Head + "FODTrack / no LPT";
    QTest::newRow("ZENTA") << K::Zenta << -1 << "" << none << 0.0 << Head + "ZENTA /ARSWIN";
    QTest::newRow("ZENTA parked") << K::Zenta << -1 << "" << K::Zenta << 270.0
                                  << Head + "ZENTA /ARSWIN / Parking=270" + Degree;
    QTest::newRow("GS232 COM3 parked") << K::Gs232 << 2 << "4800" << K::Gs232 << 180.0
                                       << Head + "GS232 / COM3 / 4800 / Parking=180" + Degree;
    QTest::newRow("GS232 no COM, parked") << K::Gs232 << -1 << "4800" << K::Gs232 << 180.0
                                          << Head + "GS232 / no COM";
    QTest::newRow("GS232, parking elsewhere") << K::Gs232 << 0 << "9600" << K::EasyComm << 180.0
                                              << Head + "GS232 / COM1 / 9600";
    QTest::newRow("EasyComm") << K::EasyComm << 1 << "19200" << none << 0.0 << Head + "EasyComm / COM2 / 19200";
    QTest::newRow("EasyComm no COM") << K::EasyComm << -1 << "19200" << none << 0.0 << Head + "EasyComm / no COM";
    QTest::newRow("TrakBox parked, half to even") << K::TrakBox << 3 << "2400" << K::TrakBox << 12.5
                                                  << Head + "TrakBox / COM4 / 2400 / Parking=12" + Degree;
    QTest::newRow("KCT") << K::Kct << -1 << "" << none << 0.0 << Head + "KCT";
    QTest::newRow("KCT parked") << K::Kct << -1 << "" << K::Kct << 13.5 << Head + "KCT / Parking=14" + Degree;
    QTest::newRow("ProSisTel always 9600") << K::ProSisTel << 4 << "4800" << K::ProSisTel << 0.0
                                           << Head + "ProSisTel / COM5 / 9600 / Parking=0" + Degree;
    QTest::newRow("ProSisTel no COM") << K::ProSisTel << -1 << "4800" << none << 0.0 << Head + "ProSisTel / no COM";
    QTest::newRow("DCU-1") << K::Dcu1 << 5 << "1200" << K::Dcu1 << 359.0
                           << Head + "DCU1 / COM6 / 1200 / Parking=359" + Degree;
    QTest::newRow("DCU-1 no COM") << K::Dcu1 << -1 << "1200" << none << 0.0 << Head + "DCU1 / no COM";
    QTest::newRow("M2-ORION always 9600") << K::M2Orion << 6 << "4800" << K::M2Orion << 1.0
                                          << Head + "M2ORION / COM7 / 9600 / Parking=1" + Degree;
    QTest::newRow("M2-ORION no COM") << K::M2Orion << -1 << "4800" << none << 0.0 << Head + "M2ORION / no COM";
    QTest::newRow("EGIS always 9600") << K::Egis << 7 << "4800" << K::Egis << 200.0
                                      << Head + "EGIS / COM8 / 9600 / Parking=200" + Degree;
    QTest::newRow("EGIS no COM") << K::Egis << -1 << "4800" << none << 0.0 << Head + "EGIS / no COM";
}

void TestCaptionLanguage::caption()
{
    QFETCH(InterfaceKind, kind);
    QFETCH(int, port);
    QFETCH(QString, baud);
    QFETCH(InterfaceKind, parking);
    QFETCH(double, parkingAzimuth);
    QFETCH(QString, expected);

    Configuration config;
    config.interfaceKind = kind;
    if (kind != InterfaceKind::None) {
        config.at(kind).port = port;
        config.at(kind).baudText = baud;
    }
    config.parkingInterface = parking == InterfaceKind::None ? 0 : ordinal(parking) + 1;
    config.parkingAzimuth = parkingAzimuth;
    QCOMPARE(BuildStatusCaption(config, {QStringLiteral("LPT1"), QStringLiteral("LPT2"), QString()}), expected);
}

void TestCaptionLanguage::captionOfTheRunningWindow_data()
{
    QTest::addColumn<QStringList>("comLinks");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<InterfaceKind>("selected");

    QTest::newRow("COM3 present") << QStringList{QStringLiteral("com3")}
                                  << Head + "GS232 / COM3 / 4800 / Parking=180" + Degree << InterfaceKind::Gs232;
    // An absent port drops the interface for this run.
    QTest::newRow("COM3 absent") << QStringList{QStringLiteral("com4")} << QStringLiteral("ORVANTIS V2.4.1")
                                 << InterfaceKind::None;
}

void TestCaptionLanguage::captionOfTheRunningWindow()
{
    QFETCH(QStringList, comLinks);
    QFETCH(QString, expected);
    QFETCH(InterfaceKind, selected);

    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("PORT_GS232=3"), QStringLiteral("BAUD_GS232=4800"),
                       QStringLiteral("PARKING=GS232"), QStringLiteral("AZIMUT_PARKING=180")},
                      comLinks);
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    QCOMPARE(rig.window().windowTitle(), expected);
    QCOMPARE(rig.station().configuration().interfaceKind, selected);

    rig.feedback().clear();
    rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->setText(QStringLiteral("33"));
    QTest::mouseClick(rig.widget<QPushButton>(QStringLiteral("ButtonTrack")), Qt::LeftButton);
    if (selected == InterfaceKind::None) {
        QCOMPARE(rig.feedback().events(), QStringList{QStringLiteral("beep")});
        QVERIFY(rotors.commanded.isEmpty());
    } else {
        QCOMPARE(rotors.sent, QList<double>{33});
    }
}

void TestCaptionLanguage::languageSwitchesMenuCaptions()
{
    MainWindowRig rig;
    QCOMPARE(menuCaptions(rig), English);
    QVERIFY(rig.action(QStringLiteral("MenuEnglish"))->isChecked());

    rig.action(QStringLiteral("MenuFrancais"))->trigger();
    QCOMPARE(menuCaptions(rig), French);
    QVERIFY(rig.action(QStringLiteral("MenuFrancais"))->isChecked());
    QVERIFY(!rig.action(QStringLiteral("MenuEnglish"))->isChecked());
    QCOMPARE(rig.station().language(), Language::french());

    rig.action(QStringLiteral("MenuEnglish"))->trigger();
    QCOMPARE(menuCaptions(rig), English);
    QVERIFY(!rig.action(QStringLiteral("MenuFrancais"))->isChecked());

    // The caption is a status line, not a translated text.
    QVERIFY(rig.start());
    const QString title = rig.window().windowTitle();
    rig.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window()));
    QTest::keyClick(&rig.window(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(rig.station().language(), Language::french());
    QCOMPARE(menuCaptions(rig), French);
    QCOMPARE(rig.window().windowTitle(), title);
}

void TestCaptionLanguage::serverMenuCaption_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("switchTo");
    QTest::addColumn<QString>("expected");

    QTest::newRow("French file, KORU") << QStringList{QStringLiteral("LANGUAGE=FRENCH"), QStringLiteral("SERVER=KORU")}
                                       << QString() << "Serveur (KORU)";
    QTest::newRow("KORU, then English") << QStringList{QStringLiteral("LANGUAGE=FRENCH"), QStringLiteral("SERVER=KORU")}
                                        << "MenuEnglish" << "Server (KORU)";
    QTest::newRow("Beam_DX, then French") << QStringList{QStringLiteral("SERVER=BEAMDX")} << "MenuFrancais"
                                          << "Serveur (Beam_DX)";
    QTest::newRow("Geomundo, then French") << QStringList{QStringLiteral("SERVER=GEOMUNDO")} << "MenuFrancais"
                                           << "Serveur (Geomundo)";
    QTest::newRow("no source, French") << QStringList{QStringLiteral("SERVER=OTHER")} << "MenuFrancais"
                                       << "Serveur";
}

void TestCaptionLanguage::serverMenuCaption()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, switchTo);
    QFETCH(QString, expected);

    // Never shown: the KORU listener only starts at the first activation.
    MainWindowRig rig(lines);
    if (!switchTo.isEmpty())
        rig.action(switchTo)->trigger();
    QCOMPARE(rig.window().findChild<QMenu *>(QStringLiteral("MenuServer"))->title(), expected);
}

void TestCaptionLanguage::movenowMissingAtStart_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("text");

    QTest::newRow("English") << "ENGLISH" << "Cannot find Movenow.com !";
    QTest::newRow("French") << "FRENCH" << QString::fromUtf8("Movenow.com pas trouvé !");
}

void TestCaptionLanguage::movenowMissingAtStart()
{
    QFETCH(QString, language);
    QFETCH(QString, text);

    MainWindowRig rig({QStringLiteral("LANGUAGE=") + language, QStringLiteral("ANT=KCT"),
                       QStringLiteral("MOVENOW=/nonexistent/kct/")});
    QTRY_COMPARE(rig.feedback().events(), QStringList{QStringLiteral("warning:Avertissement:") + text});
    QCOMPARE(rig.station().configuration().interfaceKind, InterfaceKind::None);
}

void TestCaptionLanguage::closingStopsParksAndSaves()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("PARKING=EASYCOMM"),
                       QStringLiteral("AZIMUT_PARKING=90.5"), QStringLiteral("STEP_GS232=5")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->setText(QStringLiteral("93"));
    QTest::mouseClick(rig.widget<QPushButton>(QStringLiteral("ButtonTrack")), Qt::LeftButton);
    QCOMPARE(rotors.sent, QList<double>{93});
    QFile::remove(QDir(rig.folder()).filePath(QStringLiteral("Orvantis.ini")));
    QSignalSpy closed(&rig.station(), &Station::closed);

    rig.action(QStringLiteral("MenuQuitter"))->trigger();
    QCOMPARE(closed.size(), 1);
    QVERIFY(!rig.window().isVisible());
    // STOP first, so the parking GO (90.5 rounded half to even) passes a step of 5
    // even though it is 3 from the last sent azimuth; it goes to the selected interface.
    QCOMPARE(rotors.stops, (QStringList{QStringLiteral("ZENTA"), QStringLiteral("GS232"), QStringLiteral("EASYCOMM"),
                                        QStringLiteral("DCU1"), QStringLiteral("PROSISTEL"), QStringLiteral("TRAKBOX"),
                                        QStringLiteral("KCT"), QStringLiteral("M2ORION"), QStringLiteral("EGIS"),
                                        QStringLiteral("HAMLIB")}));
    QCOMPARE(rotors.sent, (QList<double>{93, 90}));

    QFile ini(QDir(rig.folder()).filePath(QStringLiteral("Orvantis.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QList<QByteArray> written = ini.readAll().split('\n');
    QVERIFY(written.contains("ANT=GS232\r"));
    QVERIFY(written.contains("PARKING=EASYCOMM\r"));
    QVERIFY(written.contains("STEP_GS232=5\r"));
}

void TestCaptionLanguage::diagnosticStripLeavesTheSavedSize()
{
    MainWindowRig rig({QStringLiteral("WWIDTH=480"), QStringLiteral("WHEIGHT=140")});
    QVERIFY(rig.start());
    const int chosen = rig.window().height();
    rig.action(QStringLiteral("MenuVoirCommande"))->trigger();
    QVERIFY2(rig.window().height() > chosen, "the strip found room without growing the window");

    rig.action(QStringLiteral("MenuQuitter"))->trigger();
    QFile ini(QDir(rig.folder()).filePath(QStringLiteral("Orvantis.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QList<QByteArray> written = ini.readAll().split('\n');
    QVERIFY(written.contains("WWIDTH=480\r"));
    QVERIFY(written.contains("WHEIGHT=" + QByteArray::number(chosen) + '\r'));
}

QTEST_MAIN(TestCaptionLanguage)
#include "tst_caption_language.moc"
