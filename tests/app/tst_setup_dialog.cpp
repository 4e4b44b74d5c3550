#include "MainWindowRig.h"

#include "dialogs/RadioGroup.h"
#include "dialogs/SetupDialog.h"
#include "rotors/SerialRotors.h"
#include "sources/UdpListener.h"
#include "support/FreePorts.h"
#include "support/PseudoTerminal.h"

Q_DECLARE_METATYPE(InterfaceKind)

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

// The setup dialog inside the running program: opened by Init, sending test moves
// through the azimuth box, handing the KORU port to the listener.
class TestSetupDialogWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initOpensTheDialogFilledAtFirstActivation();
    void savedTrakBoxIsWokenOnceWithoutTheDialog();
    void sameTestAzimuthTwiceSendsOnce();
    void closingHandsTheKoruPortToTheListener();
    void closingAfterGs232TestWritesCloseOut();
    void quitEndsWhileTheDialogRefusesToClose();
    void parallelBoxKeepsItsPortAfterTheDialog_data();
    void parallelBoxKeepsItsPortAfterTheDialog();
};

namespace {

template <typename T>
T *dialogChild(MainWindowRig &rig, const QString &name)
{
    return rig.window().setupDialog().findChild<T *>(name);
}

// The port must open for real: the showing probes the selected interface's port.
bool linkTerminal(MainWindowRig &rig, const PseudoTerminal &terminal, const QString &link)
{
    QDir(rig.folder()).mkpath(QStringLiteral("dosdevices"));
    return terminal.isValid() && QFile::link(terminal.slavePath(), rig.folder() + QStringLiteral("/dosdevices/") + link);
}

void openSetup(MainWindowRig &rig)
{
    rig.action(QStringLiteral("MenuInit"))->trigger();
    QVERIFY(rig.window().setupDialog().isVisible());
}

} // namespace

void TestSetupDialogWindow::initOpensTheDialogFilledAtFirstActivation()
{
    MainWindowRig rig({QStringLiteral("ANT=GS232"), QStringLiteral("PORT_GS232=3"), QStringLiteral("EL_GS232=1"),
                       QStringLiteral("PORTKORU=12100"), QStringLiteral("ANTKORU=3")},
                      {QStringLiteral("com5")});
    PseudoTerminal terminal;
    QVERIFY(linkTerminal(rig, terminal, QStringLiteral("com3")));
    QVERIFY(rig.start());
    QCOMPARE(rig.station().setupChoices().comSelection[ordinal(InterfaceKind::Gs232)], 0);

    openSetup(rig);
    QCOMPARE(rig.window().setupDialog().objectName(), QStringLiteral("FormInit"));
    QCOMPARE(rig.window().setupDialog().windowTitle(), QStringLiteral("ORVANTIS"));
    auto *ports = dialogChild<RadioGroup>(rig, QStringLiteral("RadioGroupPortGS"));
    QVERIFY(ports->item(0)->text().startsWith(QStringLiteral("COM3  ")));
    QVERIFY(ports->item(1)->text().startsWith(QStringLiteral("COM5  ")));
    QCOMPARE(ports->selectedIndex(), 0);
    QCOMPARE(dialogChild<RadioGroup>(rig, QStringLiteral("RadioGroupRotor"))->selectedIndex(),
             ordinal(InterfaceKind::Gs232));
    QVERIFY(dialogChild<QCheckBox>(rig, QStringLiteral("CheckBoxGSel"))->isChecked());
    QCOMPARE(dialogChild<QLineEdit>(rig, QStringLiteral("EditPortKORU"))->text(), QStringLiteral("12100"));
    QCOMPARE(dialogChild<QLineEdit>(rig, QStringLiteral("EditAntKORU"))->text(), QStringLiteral("3"));
    // The main window stays usable: nothing waits for the dialog.
    QVERIFY(!rig.window().setupDialog().isModal());
}

// The first activation wakes a saved TrakBox without building the dialog; the
// dialog opened later shows the port that woke, and does not wake it again.
void TestSetupDialogWindow::savedTrakBoxIsWokenOnceWithoutTheDialog()
{
    MainWindowRig rig({QStringLiteral("PORT_TRAKBOX=3")}, {QStringLiteral("com3")});
    QVERIFY(rig.start());
    QCOMPARE(rig.terminal(QStringLiteral("com3")).readAtLeast(4, 2000), QByteArray("Q\r7\r"));
    QVERIFY(!rig.window().findChild<SetupDialog *>());
    QCOMPARE(rig.station().setupChoices().comSelection[ordinal(InterfaceKind::TrakBox)], 0);

    // Another program takes the port meanwhile (as if it were gone): opening the
    // dialog shows the choice without trying the port, so nothing drops it.
    QVERIFY(QFile::remove(QDir(rig.folder()).filePath(QStringLiteral("dosdevices/com3"))));
    openSetup(rig);
    QCOMPARE(dialogChild<RadioGroup>(rig, QStringLiteral("RadioGroupPortTKB"))->selectedIndex(), 0);
    QCOMPARE(rig.terminal(QStringLiteral("com3")).readAll(500), QByteArray());
    QCOMPARE(rig.station().setupChoices().comSelection[ordinal(InterfaceKind::TrakBox)], 0);
    rig.station().runClosingSequence();
    QVERIFY(rig.savedIni().contains("PORT_TRAKBOX=3\r\n"));
}

void TestSetupDialogWindow::sameTestAzimuthTwiceSendsOnce()
{
    MainWindowRig rig;
    QVERIFY(rig.start());
    RecordingRotors rotors(rig.station());
    rig.station().configuration().interfaceKind = InterfaceKind::Zenta;
    openSetup(rig);
    QVERIFY(!rig.station().isAutoOn());

    dialogChild<QSpinBox>(rig, QStringLiteral("SpinEditAzTestZENTA"))->setValue(135);
    auto *go = dialogChild<QPushButton>(rig, QStringLiteral("BitBtnTestZENTA"));
    go->click();
    QCOMPARE(rotors.sent, QList<double> {135});
    QVERIFY(rig.caughtUp());
    QCOMPARE(rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->text(), QStringLiteral("135"));

    go->click();
    QCOMPARE(rotors.sent, QList<double> {135});
    QCOMPARE(rotors.commanded.size(), 1);

    // The request is lowered at closing, so a later change is not forced.
    QVERIFY(rig.window().setupDialog().close());
    rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->setText(QStringLiteral("140"));
    QCOMPARE(rotors.commanded.size(), 1);
}

void TestSetupDialogWindow::closingHandsTheKoruPortToTheListener()
{
    // The dialog takes a base port up to 50000 and an antenna up to 16.
    const QList<quint16> ports = freeUdpPorts(2, 50000);
    QCOMPARE(ports.size(), 2);
    MainWindowRig rig;
    QVERIFY(rig.start());
    openSetup(rig);
    dialogChild<QLineEdit>(rig, QStringLiteral("EditPortKORU"))->setText(QString::number(ports[0] - 16));
    dialogChild<QLineEdit>(rig, QStringLiteral("EditAntKORU"))->setText(QStringLiteral("16"));
    QVERIFY(rig.window().setupDialog().close());
    QCOMPARE(rig.station().udpListener().port(), ports[0]);
    QCOMPARE(rig.widget<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("Defaultport=%1").arg(ports[0]));
    QVERIFY(!rig.station().udpListener().isActive());

    // With KORU as the source the listener pauses while the dialog is open and
    // listens on the new port once it closes.
    rig.action(QStringLiteral("MenuServerKORU"))->trigger();
    QVERIFY(rig.station().udpListener().isActive());
    openSetup(rig);
    QVERIFY(!rig.station().udpListener().isActive());
    dialogChild<QLineEdit>(rig, QStringLiteral("EditPortKORU"))->setText(QString::number(ports[1] - 7));
    dialogChild<QLineEdit>(rig, QStringLiteral("EditAntKORU"))->setText(QStringLiteral("7"));
    QVERIFY(rig.window().setupDialog().close());
    QVERIFY(rig.station().udpListener().isActive());
    QCOMPARE(rig.station().udpListener().port(), ports[1]);
}

void TestSetupDialogWindow::closingAfterGs232TestWritesCloseOut()
{
    PseudoTerminal terminal;
    MainWindowRig rig;
    QVERIFY(linkTerminal(rig, terminal, QStringLiteral("com3")));
    QVERIFY(rig.start());
    openSetup(rig);

    dialogChild<RadioGroup>(rig, QStringLiteral("RadioGroupPortGS"))->item(0)->click();
    dialogChild<RadioGroup>(rig, QStringLiteral("RadioGroupRotor"))->item(ordinal(InterfaceKind::Gs232))->click();
    QCOMPARE(rig.station().configuration().interfaceKind, InterfaceKind::Gs232);
    QCOMPARE(rig.window().windowTitle(), QStringLiteral("ORVANTIS V2.4.1 - GS232 / COM3 / 4800"));
    // A new speed shows in the status line at once.
    QTest::keyClick(dialogChild<QComboBox>(rig, QStringLiteral("ComboBoxBaudGS")), Qt::Key_Down);
    QCOMPARE(rig.window().windowTitle(), QStringLiteral("ORVANTIS V2.4.1 - GS232 / COM3 / 9600"));

    dialogChild<QSpinBox>(rig, QStringLiteral("SpinEditAzTestGS"))->setValue(100);
    dialogChild<QPushButton>(rig, QStringLiteral("BitBtnTestGS"))->click();
    QCOMPARE(terminal.readAtLeast(5, 2000), QByteArray("W100\r"));
    QVERIFY(rig.station().serialRotors().isOpen(InterfaceKind::Gs232));

    QVERIFY(rig.window().setupDialog().close());
    QCOMPARE(terminal.readAll(300), QByteArray("SA\r"));
    QVERIFY(!rig.station().serialRotors().isOpen(InterfaceKind::Gs232));
}

// Quit is never refused: the dialog that will not close is put away with the
// rest, and nothing it holds keeps running.
void TestSetupDialogWindow::quitEndsWhileTheDialogRefusesToClose()
{
    MainWindowRig rig({QStringLiteral("SERVER=KORU"), QStringLiteral("PORTKORU=0"), QStringLiteral("ANTKORU=0")});
    QVERIFY(rig.start());
    openSetup(rig);
    dialogChild<QLineEdit>(rig, QStringLiteral("EditPortKORU"))->setText(QStringLiteral("x"));
    QVERIFY(!rig.window().setupDialog().close());
    QSignalSpy closed(&rig.station(), &Station::closed);

    rig.action(QStringLiteral("MenuQuitter"))->trigger();
    QCOMPARE(closed.size(), 1);
    QVERIFY(!rig.window().isVisible());
    QVERIFY(!rig.window().setupDialog().isVisible());
    QVERIFY(!rig.station().udpListener().isActive());
    QVERIFY(QFileInfo::exists(QDir(rig.folder()).filePath(QStringLiteral("Orvantis.ini"))));
}

// The most natural first use: pick the box and its port, test it, close the
// dialog, then steer. The driver refuses writes to a port that is not claimed, so
// the dialog's closing must leave the box's port claimed.
void TestSetupDialogWindow::parallelBoxKeepsItsPortAfterTheDialog_data()
{
    QTest::addColumn<InterfaceKind>("kind");
    QTest::addColumn<QString>("lptList");
    QTest::addColumn<QString>("testAzimuth");
    QTest::addColumn<QString>("testButton");
    QTest::newRow("PourSat") << InterfaceKind::PourSat << QStringLiteral("RadioGroupPourSatLPT")
                             << QStringLiteral("SpinEditAzTestPourSat") << QStringLiteral("BitBtnTestPourSat");
    QTest::newRow("FODTrack") << InterfaceKind::FodTrack << QStringLiteral("RadioGroupFODLPT")
                              << QStringLiteral("SpinEditAzTestFOD") << QStringLiteral("BitBtntestFOD");
}

void TestSetupDialogWindow::parallelBoxKeepsItsPortAfterTheDialog()
{
    QFETCH(InterfaceKind, kind);
    QFETCH(QString, lptList);
    QFETCH(QString, testAzimuth);
    QFETCH(QString, testButton);
    MainWindowRig rig({}, {}, true);
    QVERIFY(rig.start());
    const auto dataWrites = [&rig] {
        int writes = 0;
        for (const RecordingPortIo::Record &record : rig.portIo().records())
            writes += record.call == RecordingPortIo::Call::Out && record.address == 0x378 ? 1 : 0;
        return writes;
    };
    auto *track = rig.widget<QPushButton>(QStringLiteral("ButtonTrack"));
    auto *azimuth = rig.widget<QLineEdit>(QStringLiteral("EditAzimut"));

    // Any sequence of dialog use: the first showing, then a second one.
    for (int showing = 0; showing < 2; ++showing) {
        openSetup(rig);
        if (showing == 0) {
            dialogChild<RadioGroup>(rig, lptList)->item(0)->click();
            dialogChild<RadioGroup>(rig, QStringLiteral("RadioGroupRotor"))->item(ordinal(kind))->click();
            QCOMPARE(rig.station().configuration().interfaceKind, kind);
            dialogChild<QSpinBox>(rig, testAzimuth)->setValue(90);
            dialogChild<QPushButton>(rig, testButton)->click();
            QTRY_COMPARE(dataWrites(), 2); // the value, then 1
            QTRY_VERIFY(rig.station().blinking());
        }
        QVERIFY(rig.window().setupDialog().close());

        rig.portIo().clear();
        rig.feedback().clear();
        azimuth->setText(QString::number(180 + 45 * showing));
        QTest::mouseClick(track, Qt::LeftButton);
        QTRY_COMPARE(dataWrites(), 2);
        QTRY_VERIFY(rig.station().blinking());
        QVERIFY(rig.feedback().events().isEmpty());
    }

    // Closing the program lets the port go.
    rig.portIo().clear();
    rig.window().close();
    QVERIFY(rig.portIo().records().contains(
        RecordingPortIo::Record {RecordingPortIo::Call::Disable, 0x378, 0x378}));
}

QTEST_MAIN(TestSetupDialogWindow)
#include "tst_setup_dialog.moc"
