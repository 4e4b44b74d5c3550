#include "SetupDialogRig.h"
#include "host/PortDriverCheck.h"
#include "rotors/SerialRotors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(InterfaceKind)
Q_DECLARE_METATYPE(std::optional<QString>)


class TestSetupDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void calibrationShownWithSevenDigits()
    {
        DialogRig rig;
        rig.config.at(InterfaceKind::PourSat).calibration = 0.51389012345;
        rig.dialog.show();
        QCOMPARE(rig.find<QLineEdit>(QStringLiteral("EditPourSatCalAz"))->text(), QStringLiteral("0.5138901"));
        QCOMPARE(rig.config.at(InterfaceKind::PourSat).calibration, 0.5138901);

        rig.find<QLineEdit>(QStringLiteral("EditFODCalAz"))->setText(QStringLiteral("x"));
        QCOMPARE(rig.config.at(InterfaceKind::FodTrack).calibration, 0.0);
    }

    void zeroField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::newRow("90 accepted") << "90" << 90.0 << "90" << 0;
        QTest::newRow("-90 accepted") << "-90" << -90.0 << "-90" << 0;
        QTest::newRow("90.5 refused") << "90.5" << 0.0 << "" << 1;
        QTest::newRow("-91 refused") << "-91" << 0.0 << "" << 1;
        QTest::newRow("garbage is 0") << "1,5x" << 0.0 << "1,5x" << 0;
    }
    void zeroField()
    {
        QFETCH(QString, typed);
        QFETCH(double, stored);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        DialogRig rig;
        rig.dialog.show();
        QLineEdit *zero = rig.find<QLineEdit>(QStringLiteral("EditFODZero"));
        zero->clear();
        rig.config.at(InterfaceKind::FodTrack).zero = 12;
        QTest::keyClicks(zero, typed);
        QCOMPARE(rig.config.at(InterfaceKind::FodTrack).zero, stored);
        QCOMPARE(zero->text(), shown);
        QCOMPARE(rig.feedback.count(QStringLiteral("beep")), beeps);
    }

    void serialInterfaceWithoutPortIsRefused()
    {
        DialogRig rig;
        rig.config.interfaceKind = InterfaceKind::EasyComm;
        rig.choices.interfaceAbsentAtStart = InterfaceKind::Gs232;
        rig.dialog.show();
        rig.feedback.clear();
        const qsizetype captions = rig.captions.size();

        rig.choose(InterfaceKind::Gs232);
        QCOMPARE(rig.feedback.events(),
                 QStringList {QStringLiteral("warning:Warning:Please choose a COM port for this interface")});
        QCOMPARE(rig.config.interfaceKind, InterfaceKind::None);
        QCOMPARE(rig.find<RadioGroup>(QStringLiteral("RadioGroupRotor"))->selectedIndex(), -1);
        QCOMPARE(rig.find<QTabWidget>(QStringLiteral("PageControlAntenne"))->currentWidget()->objectName(),
                 QStringLiteral("TabSheetGS"));
        QCOMPARE(rig.captions.size(), captions + 1);
        // The user chose: the interface that was absent at start is forgotten.
        QVERIFY(!rig.choices.interfaceAbsentAtStart);
    }

    void kctNeedsMovenow()
    {
        DialogRig rig;
        rig.config.interfaceKind = InterfaceKind::Zenta;
        QTemporaryDir folder;
        rig.config.movenowDirectory = folder.path() + QLatin1Char('/');
        rig.dialog.show();
        rig.feedback.clear();
        const qsizetype captions = rig.captions.size();

        rig.choose(InterfaceKind::Kct);
        QCOMPARE(rig.feedback.events(), QStringList {QStringLiteral("warning:Warning:Cannot find Movenow.com !")});
        QCOMPARE(rig.config.interfaceKind, InterfaceKind::Zenta);
        QCOMPARE(rig.captions.size(), captions);

        QFile movenow(folder.filePath(QStringLiteral("Movenow.com")));
        QVERIFY(movenow.open(QIODevice::WriteOnly));
        movenow.close();
        rig.choose(InterfaceKind::Kct);
        QCOMPARE(rig.config.interfaceKind, InterfaceKind::Kct);
        QCOMPARE(rig.state.lastSentAzimuth, -10.0);

        // Closing with Movenow gone again is refused and leaves no interface.
        QVERIFY(QFile::remove(movenow.fileName()));
        QVERIFY(!rig.dialog.close());
        QVERIFY(rig.dialog.isVisible());
        QCOMPARE(rig.config.interfaceKind, InterfaceKind::None);
    }

    void testAndParkingOnPageNotChosen()
    {
        DialogRig rig;
        rig.dialog.show();
        rig.feedback.clear();
        rig.find<QPushButton>(QStringLiteral("BitBtnTestZENTA"))->click();
        QCOMPARE(rig.feedback.events(), QStringList {QStringLiteral("beep")});
        QVERIFY(rig.rotors.commanded.isEmpty());

        QCheckBox *park = rig.find<QCheckBox>(QStringLiteral("CheckBoxParkEGI"));
        park->click();
        QVERIFY(!park->isChecked());
        QCOMPARE(rig.feedback.count(QStringLiteral("beep")), 3);
        QCOMPARE(rig.config.parkingInterface, 0);
    }

    void testGoOnChosenPage()
    {
        DialogRig rig;
        rig.config.interfaceKind = InterfaceKind::Zenta;
        rig.dialog.show();
        rig.state.lastSentAzimuth = 120;
        rig.find<QSpinBox>(QStringLiteral("SpinEditAzTestZENTA"))->setValue(45);
        rig.find<QPushButton>(QStringLiteral("BitBtnTestZENTA"))->click();
        // Sent with AUTO off: the step rule starts again from -10.
        QCOMPARE(rig.rotors.sent, QList<double> {45});
        QVERIFY(rig.dialog.close());
    }

    void parkingSettledAtClosing()
    {
        DialogRig rig;
        rig.config.interfaceKind = InterfaceKind::Zenta;
        rig.config.parkingInterface = ordinal(InterfaceKind::Zenta) + 1;
        rig.config.parkingAzimuth = 92.5;
        rig.dialog.show();
        rig.dialog.FormActivate();
        QSpinBox *azimuth = rig.find<QSpinBox>(QStringLiteral("SpinEditAzTestZENTA"));
        QCheckBox *park = rig.find<QCheckBox>(QStringLiteral("CheckBoxParkZENTA"));
        QCOMPARE(azimuth->value(), 92);
        QVERIFY(park->isChecked());

        azimuth->setValue(185);
        QVERIFY(rig.dialog.close());
        QCOMPARE(rig.config.parkingInterface, ordinal(InterfaceKind::Zenta) + 1);
        QCOMPARE(rig.config.parkingAzimuth, 185.0);

        rig.dialog.show();
        park->click();
        QVERIFY(!park->isChecked());
        QVERIFY(rig.dialog.close());
        QCOMPARE(rig.config.parkingInterface, 0);
    }

    void koruFields_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("antenna");
        QTest::addColumn<int>("listening"); // 0: the close is refused
        QTest::addColumn<QString>("refused");
        QTest::newRow("antenna 0") << "12040" << "0" << 0 << "EditAntKORU";
        QTest::newRow("antenna 17") << "12040" << "17" << 0 << "EditAntKORU";
        QTest::newRow("antenna not a number") << "12040" << "x" << 0 << "EditAntKORU";
        QTest::newRow("port 0") << "0" << "16" << 0 << "EditPortKORU";
        QTest::newRow("port 50001") << "50001" << "16" << 0 << "EditPortKORU";
        QTest::newRow("port with a blank") << "12040 " << "16" << 0 << "EditPortKORU";
        QTest::newRow("port 50000") << "50000" << "16" << 50016 << "";
        QTest::newRow("default") << "12040" << "16" << 12056 << "";
    }
    void koruFields()
    {
        QFETCH(QString, port);
        QFETCH(QString, antenna);
        QFETCH(int, listening);
        QFETCH(QString, refused);
        DialogRig rig;
        QSignalSpy labelRefreshes(&rig.station, &Station::koruPortChanged);
        rig.dialog.show();
        rig.find<QLineEdit>(QStringLiteral("EditPortKORU"))->setText(port);
        rig.find<QLineEdit>(QStringLiteral("EditAntKORU"))->setText(antenna);
        rig.feedback.clear();
        const bool closed = rig.dialog.close();
        QCOMPARE(closed, listening != 0);
        QCOMPARE(rig.dialog.isVisible(), !closed);
        QCOMPARE(rig.choices.koruPortText, port);
        QCOMPARE(rig.choices.koruAntennaText, antenna);
        if (closed) {
            QCOMPARE(int(rig.station.koruPort()), listening);
            QCOMPARE(rig.config.koruListeningPort(), listening);
            QCOMPARE(labelRefreshes.size(), 1);
        } else {
            QCOMPARE(rig.feedback.events(), QStringList {QStringLiteral("beep")});
            const QLineEdit *field = rig.find<QLineEdit>(refused);
            QCOMPARE(field->selectedText(), field->text());
        }
    }

    void rotctldFields_data()
    {
        using Text = std::optional<QString>;
        QTest::addColumn<Text>("fileServe");
        QTest::addColumn<Text>("filePort");
        QTest::addColumn<int>("tick"); // -1 untouched, 0 cleared, 1 ticked
        QTest::addColumn<QString>("port"); // typed; empty leaves the field alone
        QTest::addColumn<bool>("closes");
        QTest::addColumn<Text>("serve");
        QTest::addColumn<Text>("savedPort");
        const Text none;
        const QString untouched;
        QTest::newRow("file without the keys, nothing changed") << none << none << -1 << untouched << true << none << none;
        QTest::newRow("same port typed again") << none << none << -1 << "4533" << true << none << none;
        QTest::newRow("ticked") << none << none << 1 << untouched << true << Text("1") << none;
        QTest::newRow("ticked then cleared") << none << none << 0 << untouched << true << none << none;
        QTest::newRow("cleared") << Text("1") << Text("4600") << 0 << untouched << true << Text("0") << Text("4600");
        QTest::newRow("new port") << Text("1") << none << -1 << "4600" << true << Text("1") << Text("4600");
        QTest::newRow("unusable port in the file kept") << none << Text("x9") << -1 << untouched << true << none
                                                        << Text("x9");
        QTest::newRow("port 0") << none << none << 1 << "0" << false << none << none;
        QTest::newRow("port 65536") << none << none << 1 << "65536" << false << none << none;
        QTest::newRow("port with a blank") << none << none << 1 << "4600 " << false << none << none;
        QTest::newRow("port not a number") << none << none << 1 << "rot" << false << none << none;
    }
    void rotctldFields()
    {
        using Text = std::optional<QString>;
        QFETCH(Text, fileServe);
        QFETCH(Text, filePort);
        QFETCH(int, tick);
        QFETCH(QString, port);
        QFETCH(bool, closes);
        QFETCH(Text, serve);
        QFETCH(Text, savedPort);
        DialogRig rig;
        rig.config.extensions.rotctld = fileServe;
        rig.config.extensions.rotctldPort = filePort;
        QSignalSpy rotctldApplied(&rig.station, &Station::rotctldChanged);
        rig.dialog.show();
        auto *box = rig.find<QCheckBox>(QStringLiteral("CheckBoxRotctld"));
        auto *field = rig.find<QLineEdit>(QStringLiteral("EditPortRotctld"));
        QCOMPARE(box->isChecked(), fileServe == QStringLiteral("1"));
        if (tick == 0 && !box->isChecked())
            box->click();
        if (tick != -1)
            box->click();
        QCOMPARE(box->isChecked(), tick == -1 ? fileServe == QStringLiteral("1") : tick == 1);
        if (!port.isNull()) {
            field->selectAll();
            QTest::keyClicks(field, port);
        }
        rig.feedback.clear();

        QCOMPARE(rig.dialog.close(), closes);
        QCOMPARE(rig.config.extensions.rotctld, serve);
        QCOMPARE(rig.config.extensions.rotctldPort, savedPort);
        QCOMPARE(rotctldApplied.size(), serve != fileServe || savedPort != filePort ? 1 : 0);
        if (!closes) {
            QCOMPARE(rig.feedback.events(), QStringList {QStringLiteral("beep")});
            QCOMPARE(field->selectedText(), port);
        }
    }

    void closeOutBytes_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("GS232") << InterfaceKind::Gs232 << QByteArray("SA\r");
        QTest::newRow("EasyComm") << InterfaceKind::EasyComm << QByteArray("SA\r");
        QTest::newRow("ProSisTel") << InterfaceKind::ProSisTel << QByteArray("\x02" "AG977\r");
        QTest::newRow("TrakBox") << InterfaceKind::TrakBox << QByteArray();
        QTest::newRow("DCU-1") << InterfaceKind::Dcu1 << QByteArray(";\r");
        QTest::newRow("M2-ORION") << InterfaceKind::M2Orion << QByteArray("A\rS\rN\r");
        QTest::newRow("EGIS") << InterfaceKind::Egis << QByteArray("AZ=S\r");
    }
    void closeOutBytes()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(QByteArray, bytes);
        DialogRig rig;
        QVERIFY(rig.terminal.isValid());
        rig.config.interfaceKind = kind;
        rig.choices.comSelection[ordinal(kind)] = 0;
        rig.choices.comSelection[ordinal(InterfaceKind::Egis)] = 0;
        QVERIFY(rig.station.serialRotors().EnsurePortOpen(kind));
        rig.terminal.readAll(50);
        // A channel of an interface that is not the selected one is only closed.
        const InterfaceKind other = kind == InterfaceKind::Egis ? InterfaceKind::Gs232 : InterfaceKind::Egis;
        PseudoTerminal otherTerminal;
        rig.choices.comPorts.append({QStringLiteral("COM4"), otherTerminal.slavePath(), {}, {}});
        QVERIFY(QFile::link(otherTerminal.slavePath(), rig.stationRig.folder() + QStringLiteral("/dosdevices/com4")));
        rig.choices.comSelection[ordinal(other)] = 2;
        QVERIFY(rig.station.serialRotors().EnsurePortOpen(other));

        QVERIFY(rig.dialog.FormClose());
        QCOMPARE(rig.terminal.readAll(300), bytes);
        QCOMPARE(otherTerminal.readAll(100), QByteArray());
        QVERIFY(!rig.station.serialRotors().isOpen(kind));
        QVERIFY(!rig.station.serialRotors().isOpen(other));
    }

    // Showing the saved choice is not choosing it: no STOP, no probe, the port kept.
    void firstShowingTouchesNothing()
    {
        DialogRig rig;
        rig.config.interfaceKind = InterfaceKind::TrakBox;
        rig.config.at(InterfaceKind::TrakBox).port = 2;
        rig.choices.comSelection[ordinal(InterfaceKind::TrakBox)] = 0;
        rig.dialog.show();
        QCOMPARE(rig.find<RadioGroup>(QStringLiteral("RadioGroupRotor"))->selectedIndex(),
                 ordinal(InterfaceKind::TrakBox));
        QCOMPARE(rig.terminal.readAll(200), QByteArray());
        QCOMPARE(rig.rotors.stops, QStringList());
        QCOMPARE(rig.config.at(InterfaceKind::TrakBox).port, 2);
        QCOMPARE(rig.choices.comSelection[ordinal(InterfaceKind::TrakBox)], 0);
    }

    void comPortPickProbes()
    {
        DialogRig rig;
        QVERIFY(rig.terminal.isValid());
        rig.config.at(InterfaceKind::TrakBox).port = 40;
        rig.choices.comAbsentAtStart[ordinal(InterfaceKind::TrakBox)] = true;
        rig.dialog.show();
        auto *ports = rig.find<RadioGroup>(QStringLiteral("RadioGroupPortTKB"));
        QCOMPARE(ports->item(0)->text(), QStringLiteral("COM3  %1").arg(rig.terminal.slavePath()));
        QCOMPARE(ports->selectedIndex(), -1);

        ports->item(0)->click();
        QCOMPARE(rig.terminal.readAtLeast(4, 2000), QByteArray("Q\r7\r"));
        QCOMPARE(rig.config.at(InterfaceKind::TrakBox).port, 2);
        QCOMPARE(rig.choices.comSelection[ordinal(InterfaceKind::TrakBox)], 0);
        QVERIFY(!rig.choices.comAbsentAtStart[ordinal(InterfaceKind::TrakBox)]);
        QTRY_VERIFY(!rig.station.serialRotors().isOpen(InterfaceKind::TrakBox));

        // A port that does not open clears the choice.
        const qsizetype captions = rig.captions.size();
        ports->item(1)->click();
        QCOMPARE(ports->selectedIndex(), -1);
        QCOMPARE(rig.choices.comSelection[ordinal(InterfaceKind::TrakBox)], -1);
        QCOMPARE(rig.config.at(InterfaceKind::TrakBox).port, -1);
        QCOMPARE(rig.captions.size(), captions + 1);
    }

    // Two adapters of one kind are told apart by what the list shows of them; the
    // chosen one is pinned to its by-id name, on every page at once.
    void comPortsShowTheirAdapterAndPinToIt_data()
    {
        QTest::addColumn<QString>("pinError");
        QTest::newRow("pinned") << QString();
        QTest::newRow("refused") << QStringLiteral("Not a directory");
    }

    void comPortsShowTheirAdapterAndPinToIt()
    {
        QFETCH(QString, pinError);
        DialogRig rig;
        QVERIFY(rig.terminal.isValid());
        const QString byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0");
        rig.choices.comPorts = {{QStringLiteral("COM1"), QStringLiteral("/nonexistent/ttyS0"), {}, {}},
                                {QStringLiteral("COM33"), rig.terminal.slavePath(), QStringLiteral("FTDI FT232R A5"), byId},
                                {QStringLiteral("COM34"), QStringLiteral("/nonexistent/ttyUSB1"),
                                 QStringLiteral("FTDI FT232R B7"), QString()}};
        const QString dosdevices = rig.stationRig.folder() + QStringLiteral("/dosdevices");
        QVERIFY(QFile::link(rig.terminal.slavePath(), dosdevices + QStringLiteral("/com33")));
        rig.dialog.show();
        auto *ports = rig.find<RadioGroup>(QStringLiteral("RadioGroupPortEasy"));
        auto *pin = rig.find<QPushButton>(QStringLiteral("ButtonPinEasy"));
        QCOMPARE(ports->item(0)->text(), QStringLiteral("COM1  /nonexistent/ttyS0"));
        QCOMPARE(ports->item(1)->text(), QStringLiteral("COM33  %1  (FTDI FT232R A5)").arg(rig.terminal.slavePath()));
        QCOMPARE(ports->item(2)->text(), QStringLiteral("COM34  /nonexistent/ttyUSB1  (FTDI FT232R B7)"));
        QCOMPARE(ports->item(1)->toolTip(), byId);
        QCOMPARE(pin->text(), QStringLiteral("Pin to this adapter"));
        QVERIFY(!pin->isEnabled());

        ports->item(1)->click();
        QVERIFY(pin->isEnabled());
        if (!pinError.isEmpty()) {
            // A file where the folder of links should be: no link can be made in it.
            QVERIFY(QDir(dosdevices).removeRecursively());
            QFile blocker(dosdevices);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        pin->click();
        if (pinError.isEmpty()) {
            QCOMPARE(QFileInfo(dosdevices + QStringLiteral("/com33")).symLinkTarget(), byId);
            QCOMPARE(rig.feedback.events(), QStringList {});
        } else {
            QVERIFY(pin->isEnabled());
            QCOMPARE(rig.feedback.count(QStringLiteral("warning:Warning:Cannot pin COM33 to %1:").arg(byId)), 1);
        }
    }

    void lptChoice()
    {
        DialogRig rig;
        rig.config.interfaceKind = InterfaceKind::PourSat;
        rig.config.at(InterfaceKind::PourSat).port = 1; // no port at LPT2
        rig.dialog.show();
        auto *lpt = rig.find<RadioGroup>(QStringLiteral("RadioGroupPourSatLPT"));
        QCOMPARE(lpt->selectedIndex(), -1);
        QCOMPARE(rig.config.at(InterfaceKind::PourSat).port, -1);

        rig.stationRig.portIo().clear();
        lpt->item(0)->click();
        QCOMPARE(rig.config.at(InterfaceKind::PourSat).port, 0);
        QCOMPARE(rig.stationRig.portIo().records(),
                 (QList<RecordingPortIo::Record> {{RecordingPortIo::Call::Enable, 0x378, 0x378}}));

        // Without the driver the choice is refused and nothing is claimed.
        DialogRig noDriver(false);
        noDriver.dialog.show();
        noDriver.feedback.clear();
        noDriver.stationRig.portIo().clear();
        auto *lptWithoutDriver = noDriver.find<RadioGroup>(QStringLiteral("RadioGroupPourSatLPT"));
        lptWithoutDriver->item(2)->click();
        QCOMPARE(noDriver.feedback.events(),
                 (QStringList {QStringLiteral("beep"), QStringLiteral("error:Error:") + driverMissingMessage(Language::english())}));
        QCOMPARE(lptWithoutDriver->selectedIndex(), -1);

        // No selection in either list: nothing is released at closing.
        QVERIFY(noDriver.dialog.close());
        QVERIFY(noDriver.stationRig.portIo().records().isEmpty());
    }

    void readPositionBox_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("offered"); // only where the controller answers a position query
        QTest::newRow("GS-232") << InterfaceKind::Gs232 << QStringLiteral("GS") << true;
        QTest::newRow("EasyComm") << InterfaceKind::EasyComm << QStringLiteral("Easy") << true;
        QTest::newRow("ProSisTel") << InterfaceKind::ProSisTel << QStringLiteral("Pro") << true;
        QTest::newRow("DCU-1") << InterfaceKind::Dcu1 << QStringLiteral("DCU") << true;
        QTest::newRow("TrakBox") << InterfaceKind::TrakBox << QStringLiteral("TKB") << false;
        QTest::newRow("M2-ORION") << InterfaceKind::M2Orion << QStringLiteral("M2") << false;
        QTest::newRow("EGIS") << InterfaceKind::Egis << QStringLiteral("EGI") << false;
    }

    void readPositionBox()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(QString, suffix);
        QFETCH(bool, offered);
        const QString name = QStringLiteral("CheckBoxReadPosition") + suffix;
        DialogRig rig;
        std::optional<QString> &text = rig.config.extensions.readPosition[ordinal(kind)];
        rig.dialog.show();
        auto *box = rig.dialog.findChild<QCheckBox *>(name);
        QCOMPARE(box != nullptr, offered);
        if (!box)
            return;
        QCOMPARE(box->text(), QStringLiteral("Read position"));
        // Shown, even shown again, but never touched: nothing to write back.
        QVERIFY(!box->isChecked());
        rig.dialog.close();
        rig.dialog.show();
        QVERIFY(!text);
        box->click();
        QCOMPARE(text.value_or(QStringLiteral("none")), QStringLiteral("1"));
        QVERIFY(rig.config.extensions.readsPosition(kind));
        box->click();
        QCOMPARE(text.value_or(QStringLiteral("none")), QStringLiteral("0"));

        // A file that asked for it shows it ticked and keeps its text as read.
        DialogRig asked;
        asked.config.extensions.readPosition[ordinal(kind)] = QStringLiteral("1");
        asked.dialog.show();
        QVERIFY(asked.find<QCheckBox>(name)->isChecked());
        QCOMPARE(asked.config.extensions.readPosition[ordinal(kind)].value_or(QStringLiteral("none")),
                 QStringLiteral("1"));
    }

    // The Hamlib page: the library's own models by maker, the saved one chosen,
    // a filter that narrows the list, and a pick that reaches the settings and
    // the caption at once.
    void hamlibPageFromTheLibrarysList()
    {
        DialogRig rig;
        rig.config.interfaceKind = InterfaceKind::Hamlib;
        rig.config.extensions.hamlibModel = QStringLiteral("603");
        rig.config.at(InterfaceKind::Hamlib).port = 2;
        rig.dialog.show();
        auto *model = rig.find<QComboBox>(QStringLiteral("ComboBoxHamlibModel"));
        QCOMPARE(model->currentData().toInt(), 603);
        QVERIFY2(model->currentText().contains(QStringLiteral("GS-232B")), qPrintable(model->currentText()));
        const int everything = model->count();
        QVERIFY2(everything > 40, qPrintable(QString::number(everything)));
        auto *port = rig.find<QComboBox>(QStringLiteral("ComboBoxHamlibPort"));
        QCOMPARE(port->currentData().toString(), QStringLiteral("COM3"));
        // The speed's first choice is the model's own.
        QCOMPARE(rig.find<QComboBox>(QStringLiteral("ComboBoxHamlibBaud"))->itemText(0), QStringLiteral("(9600)"));

        QTest::keyClicks(rig.find<QLineEdit>(QStringLiteral("EditHamlibFilter")), QStringLiteral("spid"));
        QVERIFY(model->count() > 1 && model->count() < everything / 4);
        QCOMPARE(model->currentData().toInt(), 603); // the saved model stays listed
        const int rot2prog = model->findText(QStringLiteral("Rot2Prog"), Qt::MatchContains);
        QVERIFY(rot2prog > 0);
        model->setCurrentIndex(rot2prog);
        Q_EMIT model->activated(rot2prog);
        QCOMPARE(rig.config.extensions.hamlibModelNumber(), model->itemData(rot2prog).toInt());
        QVERIFY(rig.config.extensions.hamlibSection);
        QVERIFY2(rig.captions.last().first().toString().contains(QStringLiteral("Hamlib SPID Rot2Prog / COM3")),
                 qPrintable(rig.captions.last().first().toString()));
    }

    void frenchCaptions()
    {
        DialogRig rig;
        rig.station.setLanguage(Language::french());
        rig.dialog.show();
        QCOMPARE(rig.find<QLabel>(QStringLiteral("LabelStepGS"))->text(), QStringLiteral("Pas mini°"));
        QCOMPARE(rig.find<RadioGroup>(QStringLiteral("RadioGroupKCTbutee"))->title(), QStringLiteral("Butée"));
        QCOMPARE(rig.find<QLabel>(QStringLiteral("LabelParkZENTA"))->text(), QStringLiteral("use for parking"));
        QCOMPARE(rig.find<QLabel>(QStringLiteral("labelParkM2"))->text(), QStringLiteral("Position parking"));
        QCOMPARE(rig.find<QCheckBox>(QStringLiteral("CheckBoxTKBHost"))->text(),
                 QStringLiteral("Cocher pour quitter en mode Host"));
        QCOMPARE(rig.find<QCheckBox>(QStringLiteral("CheckBoxRotctld"))->text(),
                 QStringLiteral("Laisser les programmes Hamlib (gpredict, rotctl) orienter l'antenne"));
        QCOMPARE(rig.find<QCheckBox>(QStringLiteral("CheckBoxReadPositionGS"))->text(),
                 QStringLiteral("Lire la position"));
    }
};

QTEST_MAIN(TestSetupDialog)
#include "tst_setup_dialog.moc"
