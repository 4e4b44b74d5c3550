#include "MainWindowRig.h"

#include "config/NumberText.h"
#include "dialogs/AngleDialog.h"
#include "support/FreePorts.h"

#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUdpSocket>
#include <QtTest>

// What the main window shows of the command cycle and which of its buttons, menu
// items and keys reach it. The cycle's rules are the station's (tests/core).
class TestCommandCycle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void lampImagesFollowTheStation();
    void goShowsTheBox_data();
    void goShowsTheBox();
    void longPathButton();
    void stopButtonAndMenus();
    void autoButton();
    void autoCaptionFromSettings_data();
    void autoCaptionFromSettings();
    void diagnosticView();
    void hiddenShortcuts();
    void datagramEcho();
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

void TestCommandCycle::lampImagesFollowTheStation()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    // STOP also ends the lamp timer that runs from start.
    QTest::mouseClick(panel.stop, Qt::LeftButton);
    QVERIFY(rig.caughtUp());
    QVERIFY(panel.lampShowsOff());

    panel.go(QStringLiteral("10"));
    QCOMPARE(rotors.sent, QList<double> {10});
    QVERIFY(panel.lampShowsOn());
    // Blinking: exactly one image at a time, both in turn.
    bool seenOn = false;
    bool seenOff = false;
    bool oneAtATime = true;
    QVERIFY(QTest::qWaitFor(
        [&] {
            oneAtATime = oneAtATime && (panel.lampShowsOn() || panel.lampShowsOff());
            (panel.lampShowsOn() ? seenOn : seenOff) = true;
            return seenOn && seenOff;
        },
        3000));
    QVERIFY(oneAtATime);
    QTest::mouseClick(panel.stop, Qt::LeftButton);
    QVERIFY(rig.caughtUp());
    QVERIFY(panel.lampShowsOff());
}

void TestCommandCycle::goShowsTheBox_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<QStringList>("feedback");

    const QString emptyNotice = QStringLiteral("notice:") + NumberText::integerConversionMessage(QString(), Language::english());
    QTest::newRow("real") << "12.5" << "12.5" << QStringList {QStringLiteral("sound:information")};
    QTest::newRow("360 and a half") << "360.5" << "360.5" << QStringList {QStringLiteral("beep")};
    QTest::newRow("letters") << "abc" << "" << QStringList {emptyNotice, QStringLiteral("beep")};
    QTest::newRow("empty box") << "" << "" << QStringList {};
}

void TestCommandCycle::goShowsTheBox()
{
    QFETCH(QString, pasted);
    QFETCH(QString, boxAfter);
    QFETCH(QStringList, feedback);

    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("JINGLE=1")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    // Set as a paste would: typed key by key, "360" would already wrap to 0.
    panel.edit->setText(pasted);
    rig.feedback().clear();

    QTest::mouseClick(panel.man, Qt::LeftButton);
    QVERIFY(rig.caughtUp());
    QCOMPARE(panel.edit->text(), boxAfter);
    QCOMPARE(rig.feedback().events(), feedback);
    // What the box held reached the station as a number.
    QCOMPARE(rotors.sent, pasted == QLatin1String("12.5") ? QList<double> {12.5} : QList<double> {});
}

void TestCommandCycle::longPathButton()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232")});
    QVERIFY(rig.start());
    Panel panel(rig);
    retype(panel.edit, QStringLiteral("359"));

    QTest::mouseClick(panel.lp, Qt::LeftButton);
    QVERIFY(rig.caughtUp());
    QCOMPARE(panel.edit->text(), QStringLiteral("179"));
    QCOMPARE(rig.widget<QLCDNumber>(QStringLiteral("LCDAzi"))->intValue(), 179);
    QTest::keyClick(panel.edit, Qt::Key_Up);
    QCOMPARE(panel.edit->text(), QStringLiteral("180"));
}

void TestCommandCycle::stopButtonAndMenus()
{
    MainWindowRig rig({QStringLiteral("ANT=EASYCOMM")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    Panel panel(rig);
    for (const QString &how : {QStringLiteral("button"), QStringLiteral("MenuStop"), QStringLiteral("MenuInit")}) {
        panel.go(QStringLiteral("100"));
        QVERIFY2(panel.lampShowsOn(), qPrintable(how));
        rotors.clear();
        if (how == QLatin1String("button"))
            QTest::mouseClick(panel.stop, Qt::LeftButton);
        else
            rig.action(how)->trigger();
        // Init stops first; the setup dialog it then shows selects the saved
        // interface, which stops once more.
        QVERIFY2(rotors.stops.mid(0, StopOrder.size()) == StopOrder, qPrintable(how));
        QVERIFY(rig.caughtUp());
        QVERIFY2(panel.lampShowsOff(), qPrintable(how));
    }
}

void TestCommandCycle::autoButton()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232")});
    QVERIFY(rig.start());
    Panel panel(rig);
    const QRect released = panel.autoButton->geometry();
    QCOMPARE(panel.autoButton->text(), QStringLiteral("AUTO   OFF"));
    QVERIFY(!rig.station().isAutoOn());

    QTest::mouseClick(panel.autoButton, Qt::LeftButton);
    QCOMPARE(panel.autoButton->text(), QStringLiteral("AUTO ON"));
    QCOMPARE(panel.autoButton->geometry(),
             QRect(released.left() + 2, released.top() + 2, released.width(), released.height() - 2));

    QTest::mouseClick(panel.autoButton, Qt::LeftButton);
    QCOMPARE(panel.autoButton->text(), QStringLiteral("AUTO OFF"));
    QCOMPARE(panel.autoButton->geometry(), released);

    // The hidden item only ever turns AUTO on.
    QAction *menuAuto = rig.action(QStringLiteral("MenuAuto"));
    menuAuto->trigger();
    menuAuto->trigger();
    QVERIFY(rig.station().isAutoOn());
    QCOMPARE(panel.autoButton->text(), QStringLiteral("AUTO ON"));
    QCOMPARE(panel.autoButton->geometry().top(), released.top() + 2);
}

void TestCommandCycle::autoCaptionFromSettings_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("caption");

    QTest::newRow("absent") << QStringList{} << "AUTO   OFF";
    QTest::newRow("AUTO=1") << QStringList{QStringLiteral("AUTO=1")} << "AUTO ON";
    QTest::newRow("AUTO=1 twice") << QStringList{QStringLiteral("AUTO=1"), QStringLiteral("AUTO=1")} << "AUTO OFF";
}

void TestCommandCycle::autoCaptionFromSettings()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, caption);

    MainWindowRig rig(QStringList{QStringLiteral("ANT=GS232")} + lines);
    QVERIFY(rig.start());
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
    // The hidden MAN item sends what the box holds.
    rig.action(QStringLiteral("MenuManuel"))->trigger();
    QCOMPARE(rotors.sent, (QList<double>{10, 60, 240, 240}));

    QVERIFY(!window.angleDialog().isVisible());
    keypad(window, Qt::Key_7);
    QVERIFY(window.angleDialog().isVisible());
}

void TestCommandCycle::datagramEcho()
{
    const QList<quint16> ports = freeUdpPorts(1);
    QVERIFY(!ports.isEmpty());
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("SERVER=KORU"),
                       QStringLiteral("PORTKORU=%1").arg(ports.first() - 16), QStringLiteral("ANTKORU=16")});
    QVERIFY(rig.start());
    QCOMPARE(rig.widget<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("Defaultport=%1").arg(ports.first()));

    QUdpSocket logger;
    QVERIFY(logger.writeDatagram("<goazi>123.7</goazi>", QHostAddress::LocalHost, ports.first()) > 0);
    auto *edit = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));
    QTRY_COMPARE_WITH_TIMEOUT(edit->text(), QStringLiteral("123"), 10000);
    QCOMPARE(rig.widget<QLCDNumber>(QStringLiteral("LCDAzi"))->intValue(), 123);
    // The echo is written when the diagnostic strip is shown, not for every datagram.
    auto *echo = rig.widget<QLineEdit>(QStringLiteral("EditdataString"));
    QVERIFY(echo->text().isEmpty());
    rig.action(QStringLiteral("MenuVoirCommande"))->trigger();
    QVERIFY(echo->text().startsWith(QStringLiteral("Received \"<goazi>123.7</goazi>\" from 127.0.0.1 on port ")));
    QVERIFY(logger.writeDatagram("no tags", QHostAddress::LocalHost, ports.first()) > 0);
    QTRY_COMPARE_WITH_TIMEOUT(echo->text().left(18), QStringLiteral("Received \"no tags\""), 10000);
}

QTEST_MAIN(TestCommandCycle)
#include "tst_command_cycle.moc"
