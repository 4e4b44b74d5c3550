#include "MainWindowRig.h"

#include "app/AzimuthStepper.h"
#include "dialogs/AngleDialog.h"
#include "dialogs/FavouritesEditor.h"
#include "support/FreePorts.h"
#include "ui/CompassView.h"

#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QUdpSocket>
#include <QtTest>

#include <unistd.h>

// Giving an azimuth through the main window's real widgets: the box, the
// stepper, the favourites and the angle dialog; what is shown and what is sent.
class TestAzimuthEntry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void stepperWrapsAtTheEnds_data();
    void stepperWrapsAtTheEnds();
    void heldStepperAccelerates();
    void typedDigitsAreSentOneByOne();
    void firstActivationFollowsTheFirstPaint_data();
    void firstActivationFollowsTheFirstPaint();
    void favourites_data();
    void favourites();
    void needleFollowsAzimuth();
    void angleDialogEcho();
    void angleDialogGoesWhenAutoIsOn();
    void requestsWhileACommandPauses_data();
    void requestsWhileACommandPauses();
};

namespace {

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QPoint upperHalf(QWidget *stepper)
{
    return {stepper->width() / 2, stepper->height() / 4};
}

QPoint lowerHalf(QWidget *stepper)
{
    return {stepper->width() / 2, stepper->height() * 3 / 4};
}

// Calls `seen` for every event the watched object receives.
class EventWatch : public QObject {
public:
    EventWatch(QObject *watched, std::function<void(QEvent *)> seen) : m_seen(std::move(seen))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_seen(event);
        return false;
    }

private:
    std::function<void(QEvent *)> m_seen;
};

// What a compass of its own shows for `azimuth`, drawn the way the window draws it.
QImage compassFor(int azimuth)
{
    CompassView reference;
    reference.setAzimuth(azimuth);
    return reference.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage shown(QWidget *compass)
{
    return compass->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// What the window has painted of `widget` so far, as the screen holds it; unlike
// grab(), this draws nothing anew.
QImage onScreen(QWidget *widget)
{
    QWidget *window = widget->window();
    const QRect area(widget->mapTo(window, QPoint(0, 0)), widget->size());
    return window->screen()
        ->grabWindow(window->winId(), area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

void TestAzimuthEntry::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestAzimuthEntry::stepperWrapsAtTheEnds_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("expected");

    QTest::newRow("click up from 359") << "359" << "click up" << 0;
    QTest::newRow("click down from 0") << "0" << "click down" << 359;
    QTest::newRow("key up from 359") << "359" << "key up" << 0;
    QTest::newRow("key down from 0") << "0" << "key down" << 359;
    QTest::newRow("click up mid-range") << "123" << "click up" << 124;
    QTest::newRow("key down mid-range") << "123" << "key down" << 122;
    // The box shows the wrapped azimuth, not what was typed.
    QTest::newRow("typed 400") << "5" << "type 400" << 0;
}

void TestAzimuthEntry::stepperWrapsAtTheEnds()
{
    QFETCH(QString, start);
    QFETCH(QString, how);
    QFETCH(int, expected);

    MainWindowRig rig({QStringLiteral("ANT=GS232")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    auto *edit = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));
    auto *stepper = rig.widget<AzimuthStepper>(QStringLiteral("UpDownAzi"));
    auto *lcd = rig.widget<QLCDNumber>(QStringLiteral("LCDAzi"));
    QVERIFY(edit && stepper && lcd);

    retype(edit, start);
    if (how == QLatin1String("click up"))
        QTest::mouseClick(stepper, Qt::LeftButton, {}, upperHalf(stepper));
    else if (how == QLatin1String("click down"))
        QTest::mouseClick(stepper, Qt::LeftButton, {}, lowerHalf(stepper));
    else if (how == QLatin1String("key up"))
        QTest::keyClick(edit, Qt::Key_Up);
    else if (how == QLatin1String("key down"))
        QTest::keyClick(edit, Qt::Key_Down);
    else
        retype(edit, how.mid(5));

    QCOMPARE(edit->text(), QString::number(expected));
    QCOMPARE(lcd->intValue(), expected);
    QCOMPARE(stepper->position(), expected);
    // AUTO is off: stepping and typing only show the azimuth.
    QVERIFY(rotors.commanded.isEmpty());
}

void TestAzimuthEntry::heldStepperAccelerates()
{
    MainWindowRig rig;
    QVERIFY(rig.start());
    auto *edit = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));
    auto *stepper = rig.widget<AzimuthStepper>(QStringLiteral("UpDownAzi"));
    QVERIFY(edit && stepper);
    stepper->setRepeatTiming(5, 5);
    retype(edit, QStringLiteral("3"));

    // The button is let go the moment 30 is asked for, so the sequence does not
    // depend on how fast the repeats come.
    QList<int> values;
    const auto connection = connect(edit, &QLineEdit::textChanged, this, [&](const QString &text) {
        values << text.toInt();
    });
    const auto release = connect(&rig.station(), &Station::targetChanged, this, [&](int azimuth) {
        if (azimuth == 30)
            QTest::mouseRelease(stepper, Qt::LeftButton, {}, upperHalf(stepper));
    });
    QTest::mousePress(stepper, Qt::LeftButton, {}, upperHalf(stepper));
    QTRY_VERIFY_WITH_TIMEOUT(values.contains(30), 10000);
    QTest::qWait(50); // no repeat may follow the release
    QCOMPARE(values, (QList<int>{4, 5, 6, 7, 8, 9, 10, 20, 30}));

    values.clear();
    QTest::mouseClick(stepper, Qt::LeftButton, {}, upperHalf(stepper));
    QTest::mouseClick(stepper, Qt::LeftButton, {}, lowerHalf(stepper));
    QVERIFY(rig.caughtUp());
    disconnect(connection);
    disconnect(release);
    QCOMPARE(values, (QList<int>{31, 30}));
}

void TestAzimuthEntry::typedDigitsAreSentOneByOne()
{
    // Each key reaches the station as it is typed; which of them are sent is the
    // minimum step's (tests/core).
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("AUTO=1")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    auto *edit = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));
    rig.feedback().clear();

    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(rig.feedback().count(QStringLiteral("notice:")), 1);
    QVERIFY(rotors.commanded.isEmpty());

    QTest::keyClicks(edit, QStringLiteral("123"));
    QCOMPARE(rotors.commanded, (QList<double>{1, 12, 123}));
    QCOMPARE(rig.feedback().count(QStringLiteral("notice:")), 1);
    QCOMPARE(rig.feedback().count(QStringLiteral("beep")), 0);
}

void TestAzimuthEntry::firstActivationFollowsTheFirstPaint_data()
{
    QTest::addColumn<bool>("exposed");
    QTest::newRow("shown") << true;
    // Started minimised or otherwise never drawn: it is activated all the same.
    QTest::newRow("never exposed") << false;
}

// The first activation's work (probes, listener, links) does not hold up the
// window's first paint; the restored azimuth then shows.
void TestAzimuthEntry::firstActivationFollowsTheFirstPaint()
{
    QFETCH(bool, exposed);
    MainWindowRig rig({QStringLiteral("ANGLE=123")});
    // A window whose updates are off is never painted, as one never exposed.
    rig.window().setUpdatesEnabled(exposed);
    std::optional<bool> activatedAtFirstPaint;
    auto *watch = new EventWatch(&rig.window(), [&](QEvent *event) {
        if (event->type() == QEvent::Paint && !activatedAtFirstPaint)
            activatedAtFirstPaint = rig.station().activatedOnce();
    });
    QVERIFY(rig.start());
    QCOMPARE(rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->text(), QStringLiteral("123"));
    QCOMPARE(rig.widget<QLCDNumber>(QStringLiteral("LCDAzi"))->intValue(), 123);
    QCOMPARE(activatedAtFirstPaint.has_value(), exposed);
    if (exposed)
        QVERIFY(!*activatedAtFirstPaint);
    delete watch;
}

void TestAzimuthEntry::favourites_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QList<double>>("sent");

    // AUTO is on: a trigger that presses the favourite sends it.
    QTest::newRow("left") << "left" << 1 << "45" << QList<double>{45};
    QTest::newRow("middle") << "middle" << 2 << "270" << QList<double>{270};
    QTest::newRow("right opens the editor") << "right" << 2 << "7" << QList<double>{};
    QTest::newRow("space") << "space" << 6 << "300" << QList<double>{300};
    QTest::newRow("other key") << "key a" << 6 << "7" << QList<double>{};
    QTest::newRow("Enter key") << "key enter" << 6 << "7" << QList<double>{};
    QTest::newRow("hidden item") << "menu" << 5 << "123" << QList<double>{123};
}

void TestAzimuthEntry::favourites()
{
    QFETCH(QString, trigger);
    QFETCH(int, n);
    QFETCH(QString, box);
    QFETCH(QList<double>, sent);

    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("AUTO=1"), QStringLiteral("FAV1AZ=45"),
                       QStringLiteral("FAV2AZ=270"), QStringLiteral("FAV5AZ=123"), QStringLiteral("FAV6AZ=300"),
                       QStringLiteral("FAV3TXT=Home")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    auto *edit = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));
    retype(edit, QStringLiteral("7"));
    rotors.clear();
    auto *button = rig.widget<QPushButton>(QStringLiteral("Button%1").arg(n));
    QVERIFY(button);
    QCOMPARE(rig.widget<QPushButton>(QStringLiteral("Button3"))->text(), QStringLiteral("Home"));

    if (trigger == QLatin1String("left"))
        QTest::mouseClick(button, Qt::LeftButton);
    else if (trigger == QLatin1String("middle"))
        QTest::mouseClick(button, Qt::MiddleButton);
    else if (trigger == QLatin1String("right"))
        QTest::mouseClick(button, Qt::RightButton);
    else if (trigger == QLatin1String("space"))
        QTest::keyClick(button, Qt::Key_Space);
    else if (trigger == QLatin1String("key a"))
        QTest::keyClick(button, Qt::Key_A);
    else if (trigger == QLatin1String("key enter"))
        QTest::keyClick(button, Qt::Key_Return);
    else
        rig.action(QStringLiteral("MenuFav%1").arg(n))->trigger();

    QVERIFY(rig.caughtUp());
    QCOMPARE(edit->text(), box);
    QCOMPARE(rig.widget<QLCDNumber>(QStringLiteral("LCDAzi"))->intValue(), box.toInt());
    QCOMPARE(rotors.commanded, sent);
    QCOMPARE(rig.window().favouritesEditor().isVisible(), trigger == QLatin1String("right"));
}

void TestAzimuthEntry::needleFollowsAzimuth()
{
    MainWindowRig rig;
    QVERIFY(rig.start());
    auto *edit = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));
    auto *compass = rig.widget<QWidget>(QStringLiteral("Image1"));
    QVERIFY(compass);

    QCOMPARE(shown(compass), compassFor(0));
    retype(edit, QStringLiteral("90"));
    QCOMPARE(shown(compass), compassFor(90));
    QVERIFY(shown(compass) != compassFor(0));

    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(shown(compass), compassFor(91));

    // A text that is not a whole number leaves the needle where it was.
    retype(edit, QStringLiteral("9x"));
    QCOMPARE(shown(compass), compassFor(9));
}

void TestAzimuthEntry::angleDialogEcho()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("FAV2AZ=45")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    AngleDialog &dialog = rig.window().angleDialog();
    auto *angle = dialog.findChild<QLineEdit *>(QStringLiteral("EditAngle"));
    auto *edit = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));
    QVERIFY(angle);

    // A hidden dialog keeps the echo for when it shows; its text is saved meanwhile.
    QTest::mouseClick(rig.widget<QPushButton>(QStringLiteral("Button2")), Qt::LeftButton);
    QVERIFY(rig.caughtUp());
    QCOMPARE(dialog.angleText(), QStringLiteral("45"));
    dialog.show();
    QCOMPARE(angle->text(), QStringLiteral("45"));
    QCOMPARE(angle->selectedText(), QStringLiteral("45"));

    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(angle->text(), QStringLiteral("46"));

    // A value the dialog pushes is not written back into it: "045" stays as typed.
    angle->selectAll();
    QTest::keyClicks(angle, QStringLiteral("045"));
    QTest::keyClick(angle, Qt::Key_Return);
    QCOMPARE(edit->text(), QStringLiteral("45"));
    QCOMPARE(angle->text(), QStringLiteral("045"));
    QVERIFY(rotors.commanded.isEmpty());

    // The suppression lasts for that one push only.
    QTest::keyClick(edit, Qt::Key_Down);
    QCOMPARE(angle->text(), QStringLiteral("44"));
}

void TestAzimuthEntry::angleDialogGoesWhenAutoIsOn()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("AUTO=1")});
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.start());
    auto *angle = rig.window().angleDialog().findChild<QLineEdit *>(QStringLiteral("EditAngle"));
    rig.window().angleDialog().show();

    angle->selectAll();
    QTest::keyClicks(angle, QStringLiteral("210"));
    QTest::keyClick(angle, Qt::Key_Return);
    QCOMPARE(rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->text(), QStringLiteral("210"));
    QCOMPARE(rotors.sent, (QList<double>{210}));
    QVERIFY(rig.station().lampOn());
}

void TestAzimuthEntry::requestsWhileACommandPauses_data()
{
    // Each step happens while the GS-232 command for a first datagram (123) pauses
    // after its bytes: "udp:N" is a datagram asking for N, "up" and "backspace"
    // keys in the box, "frame" the window catching up with the station. After each
    // key and frame, the box and the display are read as "box/display" (once the
    // window has caught up). A key that comes before the frame starts from the
    // azimuth being sent all the same.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shownInPause");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("nothing") << QStringList{"frame"} << QStringList{"123/123"} << "123" << QByteArray("W123\r");
    // Read during the pause or after it, only the newest is sent.
    QTest::newRow("newer datagrams") << QStringList{"frame", "udp:200", "udp:250"} << QStringList{"123/123"} << "250"
                                     << QByteArray("W123\rW250\r");
    QTest::newRow("a key") << QStringList{"backspace"} << QStringList{"12/12"} << "12" << QByteArray("W123\rW012\r");
    QTest::newRow("a step, then a key") << QStringList{"up", "backspace"} << QStringList{"124/124", "12/12"} << "12"
                                        << QByteArray("W123\rW012\r");
    QTest::newRow("two steps") << QStringList{"up", "up"} << QStringList{"124/124", "125/125"} << "125"
                               << QByteArray("W123\rW125\r");
    QTest::newRow("a frame, then a key") << QStringList{"frame", "backspace"} << QStringList{"123/123", "12/12"}
                                         << "12" << QByteArray("W123\rW012\r");
}

void TestAzimuthEntry::requestsWhileACommandPauses()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shownInPause);
    QFETCH(QString, box);
    QFETCH(QByteArray, wire);

    const QList<quint16> ports = freeUdpPorts(1);
    QVERIFY(!ports.isEmpty());
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("AUTO=1"), QStringLiteral("STEP_GS232=0"),
                       QStringLiteral("PORT_GS232=5"), QStringLiteral("SERVER=KORU"),
                       QStringLiteral("PORTKORU=%1").arg(ports.first() - 16), QStringLiteral("ANTKORU=16")},
                      {QStringLiteral("com5")});
    QVERIFY(rig.start());
    auto *edit = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));
    auto *lcd = rig.widget<QLCDNumber>(QStringLiteral("LCDAzi"));
    auto *compass = rig.widget<QWidget>(QStringLiteral("Image1"));
    QVERIFY(edit && lcd && compass);
    QUdpSocket sender;
    const auto request = [&](const QString &azimuth) {
        return sender.writeDatagram("<goazi>" + azimuth.toLatin1() + "</goazi>", QHostAddress::LocalHost,
                                    ports.first()) > 0;
    };
    const auto shown = [&]() -> QString {
        return edit->text() + QLatin1Char('/') + QString::number(lcd->intValue());
    };

    // The controller's side: the first bytes to arrive find the program in the
    // pause after the first command, where the steps then happen.
    const int controller = rig.terminal(QStringLiteral("com5")).masterFd();
    QByteArray received;
    QStringList seen;
    bool stepsDone = false;
    QSocketNotifier arrivals(controller, QSocketNotifier::Read);
    connect(&arrivals, &QSocketNotifier::activated, this, [&] {
        char buffer[256];
        for (ssize_t n; (n = ::read(controller, buffer, sizeof buffer)) > 0;)
            received.append(buffer, n);
        if (std::exchange(stepsDone, true))
            return;
        for (const QString &step : steps) {
            if (step.startsWith(QLatin1String("udp:"))) {
                if (!request(step.mid(4)))
                    seen << QStringLiteral("%1 not sent").arg(step);
                continue;
            }
            if (step != QLatin1String("frame"))
                QTest::keyClick(edit, step == QLatin1String("up") ? Qt::Key_Up : Qt::Key_Backspace);
            seen << (rig.caughtUp() ? shown() : QStringLiteral("never caught up"));
        }
    });

    QVERIFY(request(QStringLiteral("123")));
    QTRY_VERIFY_WITH_TIMEOUT(received.endsWith(wire.right(5)), 10000);
    QTest::qWait(200); // nothing else may follow
    QCOMPARE(received, wire);
    QCOMPARE(seen, shownInPause);
    QCOMPARE(edit->text(), box);
    QCOMPARE(lcd->intValue(), box.toInt());
    // What the screen shows, not a fresh drawing: the needle has been drawn where
    // the last command sent the antenna.
    QTRY_COMPARE_WITH_TIMEOUT(onScreen(compass), compassFor(box.toInt()), 5000);
}

QTEST_MAIN(TestAzimuthEntry)
#include "tst_azimuth_entry.moc"
