#include "MainWindowRig.h"

#include "config/NumberText.h"
#include "dialogs/AngleDialog.h"

#include <QElapsedTimer>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUdpSocket>
#include <QtTest>

// GO, STOP, long path, AUTO, the track lamp and the hidden shortcuts, driven
// through the main window's buttons and keys.
class TestCommandCycle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void stepRuleDecidesLampAndSound_data();
    void stepRuleDecidesLampAndSound();
    void stepRuleThroughSuccessiveGos();
    void goTargets_data();
    void goTargets();
    void goWithoutInterfaceOnlyBeeps();
    void longPath_data();
    void longPath();
    void lampBlinksOnceForCloseGos();
    void stopCallsEveryStopInOrder();
    void autoButton();
    void autoFromSettings_data();
    void autoFromSettings();
    void diagnosticView();
    void hiddenShortcuts();
    void koruDatagramSteersWhenAutoIsOn_data();
    void koruDatagramSteersWhenAutoIsOn();
};

namespace {

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// The window as the user sees it: the azimuth box, the buttons and the lamp.
struct Panel {
    explicit Panel(MainWindowRig &rig)
        : rig(rig),
          edit(rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))),
          man(rig.widget<QPushButton>(QStringLiteral("ButtonTrack"))),
          autoButton(rig.widget<QPushButton>(QStringLiteral("BitBtnAuto"))),
          stop(rig.widget<QPushButton>(QStringLiteral("BitBtnStop"))),
          lp(rig.widget<QPushButton>(QStringLiteral("BitBtnLP"))),
          ledOff(rig.widget<QLabel>(QStringLiteral("ImageLEDOff"))),
          ledOn(rig.widget<QLabel>(QStringLiteral("ImageLedOn")))
    {
    }
    bool complete() const { return edit && man && autoButton && stop && lp && ledOff && ledOn; }
    void go(const QString &azimuth)
    {
        retype(edit, azimuth);
        QTest::mouseClick(man, Qt::LeftButton);
        // As the user sees it: once the window has caught up.
        QVERIFY(rig.caughtUp());
    }
    // Exactly one of the two lamp images is shown; lit means the lit picture is
    // there, not only its label.
    bool lampShowsOn() const { return ledOn->isVisible() && !ledOn->pixmap().isNull() && !ledOff->isVisible(); }
    bool lampShowsOff() const { return !ledOn->isVisible() && ledOff->isVisible(); }

    MainWindowRig &rig;
    QLineEdit *edit;
    QPushButton *man;
    QPushButton *autoButton;
    QPushButton *stop;
    QPushButton *lp;
    QLabel *ledOff;
    QLabel *ledOn;
};

const QStringList StopOrder{QStringLiteral("ZENTA"),     QStringLiteral("GS232"),   QStringLiteral("EASYCOMM"),
                            QStringLiteral("DCU1"),      QStringLiteral("PROSISTEL"), QStringLiteral("TRAKBOX"),
                            QStringLiteral("KCT"),       QStringLiteral("M2ORION"), QStringLiteral("EGIS"),
                            QStringLiteral("HAMLIB")};

bool makeActive(QWidget &window)
{
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void keypad(QWidget &window, Qt::Key key)
{
    QTest::keyClick(&window, key, Qt::ControlModifier | Qt::KeypadModifier);
}

} // namespace

void TestCommandCycle::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestCommandCycle::stepRuleDecidesLampAndSound_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<double>("lastSent"); // -10 is the state STOP leaves
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("sent");

    QTest::newRow("4 above the last, step 5") << 5 << 100.0 << "104" << false;
    QTest::newRow("5 above the last, step 5") << 5 << 100.0 << "105" << true;
    QTest::newRow("4 below the last, step 5") << 5 << 100.0 << "96" << false;
    QTest::newRow("5 below the last, step 5") << 5 << 100.0 << "95" << true;
    QTest::newRow("real target just short") << 5 << 100.0 << "104.9" << false;
    QTest::newRow("after STOP, 0 with step 5") << 5 << -10.0 << "0" << true;
    QTest::newRow("after STOP, 2 with step 15") << 15 << -10.0 << "2" << false;
    QTest::newRow("after STOP, 5 with step 15") << 15 << -10.0 << "5" << true;
    QTest::newRow("same azimuth, step 1") << 1 << 200.0 << "200" << false;
}

void TestCommandCycle::stepRuleDecidesLampAndSound()
{
    QFETCH(int, step);
    QFETCH(double, lastSent);
    QFETCH(QString, target);
    QFETCH(bool, sent);

    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("JINGLE=1"), QStringLiteral("STEP_GS232=%1").arg(step)});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    QVERIFY(panel.complete());

    QTest::mouseClick(panel.stop, Qt::LeftButton);
    QCOMPARE(rig.station().commandState().lastSentAzimuth, -10.0);
    rig.station().commandState().lastSentAzimuth = lastSent;
    retype(panel.edit, target);
    rig.feedback().clear();

    QTest::mouseClick(panel.man, Qt::LeftButton);
    QCOMPARE(rotors.commanded, QList<double>{target.toDouble()});
    QCOMPARE(rotors.sent.size(), sent ? 1 : 0);
    QVERIFY(rig.caughtUp());
    QCOMPARE(panel.lampShowsOn(), sent);
    QCOMPARE(panel.lampShowsOff(), !sent);
    QCOMPARE(rig.station().blinking(), sent);
    QCOMPARE(rig.feedback().events(), sent ? QStringList{QStringLiteral("sound:information")} : QStringList{});
    QCOMPARE(rig.station().commandState().lastSentAzimuth, sent ? target.toDouble() : lastSent);
}

void TestCommandCycle::stepRuleThroughSuccessiveGos()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("JINGLE=1"), QStringLiteral("STEP_GS232=5")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    rig.feedback().clear();

    panel.go(QStringLiteral("100"));
    panel.go(QStringLiteral("104"));
    panel.go(QStringLiteral("105"));
    QCOMPARE(rotors.commanded, (QList<double>{100, 104, 105}));
    QCOMPARE(rotors.sent, (QList<double>{100, 105}));
    QCOMPARE(rig.feedback().count(QStringLiteral("sound:information")), 2);

    QTest::mouseClick(panel.stop, Qt::LeftButton);
    panel.go(QStringLiteral("105"));
    QCOMPARE(rotors.sent, (QList<double>{100, 105, 105}));
}

void TestCommandCycle::goTargets_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<QList<double>>("sent");
    QTest::addColumn<QStringList>("feedback");

    const QString emptyNotice = QStringLiteral("notice:") + NumberText::integerConversionMessage(QString(), Language::english());
    QTest::newRow("whole") << "45" << "45" << QList<double>{45} << QStringList{};
    QTest::newRow("real") << "12.5" << "12.5" << QList<double>{12.5} << QStringList{};
    QTest::newRow("just below 360") << "359.9" << "359.9" << QList<double>{359.9} << QStringList{};
    QTest::newRow("360 and a half") << "360.5" << "360.5" << QList<double>{} << QStringList{QStringLiteral("beep")};
    QTest::newRow("below 0") << "-0.5" << "-0.5" << QList<double>{} << QStringList{QStringLiteral("beep")};
    QTest::newRow("letters") << "abc" << "" << QList<double>{} << QStringList{emptyNotice, QStringLiteral("beep")};
    QTest::newRow("empty box") << "" << "" << QList<double>{} << QStringList{};
}

void TestCommandCycle::goTargets()
{
    QFETCH(QString, pasted);
    QFETCH(QString, boxAfter);
    QFETCH(QList<double>, sent);
    QFETCH(QStringList, feedback);

    MainWindowRig rig({QStringLiteral("ANT=GS232")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    // Set as a paste would: typed key by key, "360" would already wrap to 0.
    panel.edit->setText(pasted);
    rig.feedback().clear();

    QTest::mouseClick(panel.man, Qt::LeftButton);
    QVERIFY(rig.caughtUp());
    QCOMPARE(panel.edit->text(), boxAfter);
    QCOMPARE(rotors.sent, sent);
    QCOMPARE(rig.feedback().events(), feedback);
    QCOMPARE(panel.lampShowsOn(), !sent.isEmpty());
}

void TestCommandCycle::goWithoutInterfaceOnlyBeeps()
{
    MainWindowRig rig;
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    QCOMPARE(rig.station().configuration().interfaceKind, InterfaceKind::None);
    Panel panel(rig);
    retype(panel.edit, QStringLiteral("45"));
    rig.feedback().clear();

    QTest::mouseClick(panel.man, Qt::LeftButton);
    rig.action(QStringLiteral("MenuManuel"))->trigger();
    QCOMPARE(rig.feedback().events(), (QStringList{QStringLiteral("beep"), QStringLiteral("beep")}));
    QVERIFY(rotors.commanded.isEmpty());
    QVERIFY(panel.lampShowsOff());
    QCOMPARE(panel.edit->text(), QStringLiteral("45"));
}

void TestCommandCycle::longPath_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("autoOn");
    QTest::addColumn<int>("expected");

    QTest::newRow("0") << "0" << false << 180;
    QTest::newRow("179") << "179" << false << 359;
    QTest::newRow("180") << "180" << false << 0;
    QTest::newRow("359") << "359" << false << 179;
    QTest::newRow("359, AUTO on") << "359" << true << 179;
    QTest::newRow("180, AUTO on") << "180" << true << 0;
}

void TestCommandCycle::longPath()
{
    QFETCH(QString, shown);
    QFETCH(bool, autoOn);
    QFETCH(int, expected);

    QStringList lines{QStringLiteral("ANT=GS232")};
    if (autoOn)
        lines << QStringLiteral("AUTO=1");
    MainWindowRig rig(lines);
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    retype(panel.edit, shown);
    rotors.clear();

    QTest::mouseClick(panel.lp, Qt::LeftButton);
    QVERIFY(rig.caughtUp());
    QCOMPARE(panel.edit->text(), QString::number(expected));
    QCOMPARE(rig.widget<QLCDNumber>(QStringLiteral("LCDAzi"))->intValue(), expected);
    QCOMPARE(rotors.sent, autoOn ? QList<double>{double(expected)} : QList<double>{});
    // A turn, not a mode: the next change is not reversed.
    QTest::keyClick(panel.edit, Qt::Key_Up);
    QCOMPARE(panel.edit->text(), QString::number((expected + 1) % 360));
}

void TestCommandCycle::lampBlinksOnceForCloseGos()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("JINGLE=1")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    // STOP also ends the lamp timer that runs from start.
    QTest::mouseClick(panel.stop, Qt::LeftButton);
    rig.feedback().clear();

    QElapsedTimer sinceFirstGo;
    panel.go(QStringLiteral("10"));
    sinceFirstGo.start();
    QVERIFY(panel.lampShowsOn());

    // Blinking: both images take turns while the lamp is lit.
    bool seenOn = false;
    bool seenOff = false;
    while (sinceFirstGo.elapsed() < 2000) {
        QTest::qWait(20);
        QVERIFY(panel.lampShowsOn() || panel.lampShowsOff());
        (panel.lampShowsOn() ? seenOn : seenOff) = true;
    }
    QVERIFY(seenOn && seenOff);

    panel.go(QStringLiteral("20"));
    QCOMPARE(rotors.sent, (QList<double>{10, 20}));
    QCOMPARE(rig.feedback().count(QStringLiteral("sound:information")), 2);
    QVERIFY(panel.lampShowsOn());

    // 3.6 s after the first GO, not after the second (which would be 5.6 s).
    QTRY_VERIFY_WITH_TIMEOUT(!rig.station().blinking(), 15000);
    const qint64 litFor = sinceFirstGo.elapsed();
    QVERIFY(panel.lampShowsOff());
    QVERIFY2(litFor >= 3000 && litFor < 5300, qPrintable(QString::number(litFor)));
    QTest::qWait(400);
    QVERIFY(panel.lampShowsOff());
}

void TestCommandCycle::stopCallsEveryStopInOrder()
{
    MainWindowRig rig({QStringLiteral("ANT=EASYCOMM")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    panel.go(QStringLiteral("150"));
    QVERIFY(panel.lampShowsOn());
    QCOMPARE(rig.station().commandState().lastSentAzimuth, 150.0);
    // Without JINGLE=1 a sent GO plays nothing.
    QCOMPARE(rig.feedback().count(QStringLiteral("sound:")), 0);

    QTest::mouseClick(panel.stop, Qt::LeftButton);
    QCOMPARE(rotors.stops, StopOrder);
    QVERIFY(rig.caughtUp());
    QVERIFY(panel.lampShowsOff());
    QVERIFY(!rig.station().blinking());
    QCOMPARE(rig.station().commandState().lastSentAzimuth, -10.0);

    // The same dispatcher runs whatever interface is selected, or none.
    rotors.clear();
    rig.station().configuration().interfaceKind = InterfaceKind::None;
    rig.action(QStringLiteral("MenuStop"))->trigger();
    QCOMPARE(rotors.stops, StopOrder);

    // Init stops the same way before freeing the ports.
    rig.station().configuration().interfaceKind = InterfaceKind::EasyComm;
    panel.go(QStringLiteral("200"));
    QVERIFY(panel.lampShowsOn());
    rotors.clear();
    rig.action(QStringLiteral("MenuInit"))->trigger();
    // Init stops first; the setup dialog it then shows selects the saved interface,
    // which stops once more.
    QVERIFY(rotors.stops.size() >= StopOrder.size());
    QCOMPARE(rotors.stops.mid(0, StopOrder.size()), StopOrder);
    QVERIFY(rig.caughtUp());
    QVERIFY(panel.lampShowsOff());
    QCOMPARE(rig.station().commandState().lastSentAzimuth, -10.0);
}

void TestCommandCycle::autoButton()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    const QRect released = panel.autoButton->geometry();
    QCOMPARE(panel.autoButton->text(), QStringLiteral("AUTO   OFF"));
    QVERIFY(!rig.station().isAutoOn());

    QTest::mouseClick(panel.autoButton, Qt::LeftButton);
    QCOMPARE(panel.autoButton->text(), QStringLiteral("AUTO ON"));
    QCOMPARE(panel.autoButton->geometry(),
             QRect(released.left() + 2, released.top() + 2, released.width(), released.height() - 2));
    panel.edit->setText(QStringLiteral("77"));
    QCOMPARE(rotors.sent, QList<double>{77});

    QTest::mouseClick(panel.autoButton, Qt::LeftButton);
    QCOMPARE(panel.autoButton->text(), QStringLiteral("AUTO OFF"));
    QCOMPARE(panel.autoButton->geometry(), released);
    panel.edit->setText(QStringLiteral("88"));
    QCOMPARE(rotors.sent, QList<double>{77});

    // The hidden item only ever turns AUTO on.
    QAction *menuAuto = rig.action(QStringLiteral("MenuAuto"));
    menuAuto->trigger();
    menuAuto->trigger();
    QVERIFY(rig.station().isAutoOn());
    QCOMPARE(panel.autoButton->text(), QStringLiteral("AUTO ON"));
    QCOMPARE(panel.autoButton->geometry().top(), released.top() + 2);
}

void TestCommandCycle::autoFromSettings_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("autoOn");
    QTest::addColumn<QString>("caption");

    QTest::newRow("absent") << QStringList{} << false << "AUTO   OFF";
    QTest::newRow("AUTO=0") << QStringList{QStringLiteral("AUTO=0")} << false << "AUTO   OFF";
    QTest::newRow("AUTO=1") << QStringList{QStringLiteral("AUTO=1")} << true << "AUTO ON";
    QTest::newRow("AUTO=1 twice") << QStringList{QStringLiteral("AUTO=1"), QStringLiteral("AUTO=1")} << false
                                  << "AUTO OFF";
}

void TestCommandCycle::autoFromSettings()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, autoOn);
    QFETCH(QString, caption);

    MainWindowRig rig(QStringList{QStringLiteral("ANT=GS232")} + lines);
    QVERIFY(rig.start());
    QCOMPARE(rig.station().isAutoOn(), autoOn);
    QCOMPARE(rig.widget<QPushButton>(QStringLiteral("BitBtnAuto"))->text(), caption);
}

void TestCommandCycle::diagnosticView()
{
    MainWindowRig rig({QStringLiteral("PORTKORU=12040"), QStringLiteral("ANTKORU=16")});
    QVERIFY(rig.start());
    auto *state = rig.widget<QLabel>(QStringLiteral("LabelEtatInterface"));
    auto *data = rig.widget<QLineEdit>(QStringLiteral("EditdataString"));
    auto *label1 = rig.widget<QLabel>(QStringLiteral("Label1"));
    QVERIFY(state && data && label1);
    QVERIFY(!state->isVisible() && !data->isVisible() && !label1->isVisible());
    QCOMPARE(state->text(), QStringLiteral("commande"));
    QCOMPARE(label1->text(), QStringLiteral("Defaultport=12056"));

    QVERIFY(makeActive(rig.window()));
    QTest::keyClick(&rig.window(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    QVERIFY(state->isVisible() && data->isVisible() && label1->isVisible());
    rig.action(QStringLiteral("MenuVoirCommande"))->trigger();
    QVERIFY(state->isVisible());
}

void TestCommandCycle::hiddenShortcuts()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("FAV1AZ=10"), QStringLiteral("FAV6AZ=60")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    QVERIFY(makeActive(rig.window()));
    MainWindow &window = rig.window();
    Panel panel(rig);

    // The digits of the main keyboard are not the keypad's.
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    QVERIFY(!rig.station().isAutoOn());

    keypad(window, Qt::Key_0);
    QVERIFY(rig.station().isAutoOn());
    keypad(window, Qt::Key_0);
    QVERIFY(rig.station().isAutoOn());

    keypad(window, Qt::Key_1);
    QCOMPARE(panel.edit->text(), QStringLiteral("10"));
    keypad(window, Qt::Key_6);
    QCOMPARE(panel.edit->text(), QStringLiteral("60"));
    keypad(window, Qt::Key_8);
    QCOMPARE(panel.edit->text(), QStringLiteral("240"));
    QCOMPARE(rotors.sent, (QList<double>{10, 60, 240}));
    QVERIFY(panel.lampShowsOn());

    keypad(window, Qt::Key_9);
    QCOMPARE(rotors.stops, StopOrder);
    QVERIFY(panel.lampShowsOff());
    // With Num Lock off the same key arrives as PageUp: STOP still acts.
    keypad(window, Qt::Key_PageUp);
    QCOMPARE(rotors.stops, StopOrder + StopOrder);

    QVERIFY(!window.angleDialog().isVisible());
    keypad(window, Qt::Key_7);
    QVERIFY(window.angleDialog().isVisible());
}

void TestCommandCycle::koruDatagramSteersWhenAutoIsOn_data()
{
    QTest::addColumn<bool>("autoOn");
    QTest::newRow("AUTO on") << true;
    QTest::newRow("AUTO off") << false;
}

void TestCommandCycle::koruDatagramSteersWhenAutoIsOn()
{
    QFETCH(bool, autoOn);

    quint16 port = 0;
    {
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
        port = probe.localPort();
    }
    QStringList lines{QStringLiteral("ANT=GS232"), QStringLiteral("SERVER=KORU"),
                      QStringLiteral("PORTKORU=%1").arg(port - 16), QStringLiteral("ANTKORU=16")};
    if (autoOn)
        lines << QStringLiteral("AUTO=1");
    MainWindowRig rig(lines);
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    QCOMPARE(rig.widget<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("Defaultport=%1").arg(port));

    QUdpSocket logger;
    QVERIFY(logger.writeDatagram("<goazi>123.7</goazi>", QHostAddress::LocalHost, port) > 0);
    auto *edit = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));
    QTRY_COMPARE_WITH_TIMEOUT(edit->text(), QStringLiteral("123"), 10000);
    QCOMPARE(rig.widget<QLCDNumber>(QStringLiteral("LCDAzi"))->intValue(), 123);
    // The echo is written when the diagnostic strip is shown, not for every datagram.
    auto *echo = rig.widget<QLineEdit>(QStringLiteral("EditdataString"));
    QVERIFY(echo->text().isEmpty());
    rig.action(QStringLiteral("MenuVoirCommande"))->trigger();
    QVERIFY(echo->text().startsWith(QStringLiteral("Received \"<goazi>123.7</goazi>\" from 127.0.0.1 on port ")));
    QVERIFY(logger.writeDatagram("no tags", QHostAddress::LocalHost, port) > 0);
    QTRY_COMPARE_WITH_TIMEOUT(echo->text().left(18), QStringLiteral("Received \"no tags\""), 10000);
    QCOMPARE(rotors.sent, autoOn ? QList<double>{123} : QList<double>{});
}

QTEST_MAIN(TestCommandCycle)
#include "tst_command_cycle.moc"
