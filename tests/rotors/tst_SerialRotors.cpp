#include "SerialRig.h"

#include "rotors/SerialFailure.h"

#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

Q_DECLARE_METATYPE(InterfaceKind)

namespace {
constexpr int SettleMs = 150;
}

// The serial GO and STOP operations, observed as bytes on a pseudo-terminal.
class TestSerialRotors : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void goBytes_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("stopSide");
        QTest::addColumn<bool>("elevation");
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QString>("label");
        using K = InterfaceKind;
        QTest::newRow("GS-232 45") << K::Gs232 << 45.0 << 0 << 0 << false << QByteArray("57 30 34 35 0D")
                                   << QStringLiteral("W045\r COM3");
        QTest::newRow("GS-232 45 + el=0") << K::Gs232 << 45.0 << 0 << 0 << true
                                          << QByteArray("57 30 34 35 20 30 30 30 0D")
                                          << QStringLiteral("W045 000\r COM3");
        QTest::newRow("EasyComm 45") << K::EasyComm << 45.0 << 0 << 0 << false
                                     << QByteArray("41 5A 30 34 35 2E 30 0D") << QStringLiteral("AZ045.0\r COM3");
        QTest::newRow("ProSisTel 45") << K::ProSisTel << 45.0 << 0 << 0 << false << QByteArray("02 41 47 30 34 35 0D")
                                      << QStringLiteral("\x02" "AG045\r COM3");
        QTest::newRow("TrakBox 45") << K::TrakBox << 45.0 << 0 << 0 << false
                                    << QByteArray("41 5A 30 34 35 20 45 4C 30 30 0D")
                                    << QStringLiteral("AZ045 EL00\r COM3");
        QTest::newRow("DCU-1 45") << K::Dcu1 << 45.0 << 0 << 0 << false
                                  << QByteArray("41 50 31 30 34 35 3B 0D 41 4D 31 3B 0D")
                                  << QStringLiteral("AP1045;\r COM3");
        QTest::newRow("M2-ORION 45") << K::M2Orion << 45.0 << 0 << 0 << false << QByteArray("41 34 35 2E 30 0D")
                                     << QStringLiteral("A45.0\r COM3");
        QTest::newRow("EGIS 45") << K::Egis << 45.0 << 0 << 0 << false
                                 << QByteArray("26 2A 20 41 5A 3D 30 34 35 2E 30 30 0D")
                                 << QStringLiteral("&* AZ=045.00\r COM3");
        // 7.4 with offset 2 and the end stop in the south.
        QTest::newRow("GS-232 south") << K::Gs232 << 7.4 << 2 << 1 << false << QByteArray("W185\r").toHex()
                                      << QStringLiteral("W185\r COM3");
        QTest::newRow("EasyComm south") << K::EasyComm << 7.4 << 2 << 1 << false
                                        << QByteArray("AZ185.0\r").toHex() << QStringLiteral("AZ185.0\r COM3");
        QTest::newRow("ProSisTel south") << K::ProSisTel << 7.4 << 2 << 1 << false
                                         << QByteArray("\x02" "AG185\r").toHex()
                                         << QStringLiteral("\x02" "AG185\r COM3");
        QTest::newRow("TrakBox ignores the stop side") << K::TrakBox << 7.4 << 2 << 1 << false
                                                       << QByteArray("AZ005 EL00\r").toHex()
                                                       << QStringLiteral("AZ005 EL00\r COM3");
        QTest::newRow("DCU-1 south") << K::Dcu1 << 7.4 << 2 << 1 << false << QByteArray("AP1185;\rAM1;\r").toHex()
                                     << QStringLiteral("AP1185;\r COM3");
        QTest::newRow("M2-ORION south") << K::M2Orion << 7.4 << 2 << 1 << false << QByteArray("A185.4\r").toHex()
                                        << QStringLiteral("A185.4\r COM3");
        QTest::newRow("EGIS south") << K::Egis << 7.4 << 2 << 1 << false << QByteArray("&* AZ=185.40\r").toHex()
                                    << QStringLiteral("&* AZ=185.40\r COM3");
        QTest::newRow("GS-232 south 180") << K::Gs232 << 180.0 << 0 << 1 << false << QByteArray("W000\r").toHex()
                                          << QStringLiteral("W000\r COM3");
    }
    void goBytes()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(double, azimuth);
        QFETCH(int, offset);
        QFETCH(int, stopSide);
        QFETCH(bool, elevation);
        QFETCH(QByteArray, hex);
        QFETCH(QString, label);

        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        SerialRig rig;
        rig.attach(kind, pty, QStringLiteral("COM3"));
        rig.config.at(kind).azimuthOffset = offset;
        rig.config.at(kind).stopSide = stopSide;
        rig.config.gs232Elevation = elevation;

        rig.go(kind, azimuth);

        QCOMPARE(pty.readAll(SettleMs), QByteArray::fromHex(hex));
        QTRY_VERIFY(rig.sent());
        QVERIFY(rig.rotors.isOpen(kind));
        QCOMPARE(rig.rotors.channelPortName(kind), QStringLiteral("COM3"));
        QCOMPARE(rig.labels, QStringList {label});
        QVERIFY(rig.feedback.events().isEmpty());
    }

    void lastSentIsTheValueAsReceived()
    {
        auto [pty, rig] = SerialLine::on(InterfaceKind::Gs232, QStringLiteral("COM1"));
        rig.config.at(InterfaceKind::Gs232).stopSide = 1;
        rig.go(InterfaceKind::Gs232, 7.4);
        QCOMPARE(rig.state.lastSentAzimuth, 7.4);
        QCOMPARE(rig.state.commandedAzimuth, 187.4);

    }

    // The fractional controllers too compare what is asked with what was asked
    // before, not with the turned and offset field they sent.
    void stepRuleIgnoresStopSideAndOffset_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("M2-ORION") << InterfaceKind::M2Orion << QByteArray("A185.4\r");
        QTest::newRow("EGIS") << InterfaceKind::Egis << QByteArray("&* AZ=185.40\r");
    }
    void stepRuleIgnoresStopSideAndOffset()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(QByteArray, sent);
        auto [pty, rig] = SerialLine::on(kind, QStringLiteral("COM2"));
        rig.config.at(kind).stopSide = 1;
        rig.config.at(kind).azimuthOffset = 2;
        rig.config.at(kind).minimumStep = 5;
        rig.go(kind, 7.4);
        QCOMPARE(rig.state.lastSentAzimuth, 7.4);
        QCOMPARE(pty.readAll(SettleMs), sent);

        rig.go(kind, 9);
        QTRY_VERIFY(rig.notSent());
        QCOMPARE(pty.readAll(SettleMs), QByteArray());
    }

    void minimumStepHoldsBackWithoutOpening()
    {
        auto [pty, rig] = SerialLine::on(InterfaceKind::Gs232, QStringLiteral("COM2"));
        rig.state.lastSentAzimuth = 100;

        rig.go(InterfaceKind::Gs232, 100.5);
        QTRY_VERIFY(rig.notSent());
        QVERIFY(!rig.rotors.isOpen(InterfaceKind::Gs232));
        QCOMPARE(rig.state.lastSentAzimuth, 100.0);
        QVERIFY(rig.feedback.events().isEmpty()); // no beep for a held-back GO
        rig.go(InterfaceKind::Gs232, 101);
        QTRY_VERIFY(rig.sent());
        QCOMPARE(pty.readAll(SettleMs), QByteArray("W101\r"));
    }

    void secondGoReusesTheOpenChannel()
    {
        auto [pty, rig] = SerialLine::on(InterfaceKind::Gs232, QStringLiteral("COM4"));
        rig.go(InterfaceKind::Gs232, 10);
        QCOMPARE(pty.readAll(SettleMs), QByteArray("W010\r"));

        // Were the port reopened, this GO would fail: the name no longer maps.
        rig.devices.clear();
        rig.go(InterfaceKind::Gs232, 20);
        QTRY_VERIFY(rig.sent());
        QCOMPARE(pty.readAll(SettleMs), QByteArray("W020\r"));
    }

    void proSisTelCpmOffOnFreshChannelOnly()
    {
        auto [pty, rig] = SerialLine::on(InterfaceKind::ProSisTel, QStringLiteral("COM5"));
        rig.config.proSisTelCpmOff = true;
        ArrivalLog log(pty);

        rig.go(InterfaceKind::ProSisTel, 45);
        rig.go(InterfaceKind::ProSisTel, 90);
        rig.stop(InterfaceKind::ProSisTel);
        rig.go(InterfaceKind::ProSisTel, 10);
        QVERIFY(rig.settle());
        QTest::qWait(SettleMs);
        log.collect();

        const QByteArray cpm("\x02" "AS\r");
        QCOMPARE(log.all(), cpm + "\x02" "AG045\r" "\x02" "AG090\r" "\x02" "AG977\r" + cpm + "\x02" "AG010\r");
        QVERIFY(log.arrivalOf(cpm.size()) - log.arrivalOf(0) >= 30); // the pause after "CPM off"
    }

    // Every way a port can fail gives the beep and the not-sent flag, and tells
    // the user once what happened and what to do: the COM name, the device, the
    // system's reason and the remedy.
    void failuresAreToldOnce_data()
    {
        QTest::addColumn<QString>("com");
        QTest::addColumn<QString>("device"); // "pty", "locked pty", "held pty", "directory" or a path
        QTest::addColumn<bool>("french");
        QTest::addColumn<QStringList>("told");
        const QString init = QStringLiteral("pick another port under Init (Ctrl+I).");
        QTest::newRow("no port selected")
            << QString() << QString() << false << QStringList {QStringLiteral("EasyComm has no COM port.\nPick one under Init (Ctrl+I).")};
        QTest::newRow("no port selected, French")
            << QString() << QString() << true << QStringList {QStringLiteral("EasyComm n'a pas de port COM.")};
        QTest::newRow("COM name without device")
            << QStringLiteral("COM9") << QString() << false
            << QStringList {QStringLiteral("COM9 (no device) cannot be opened: No such file or directory.\n"),
                            QStringLiteral("Plug the adapter in (or correct the link com9 in the dosdevices folder"),
                            init};
        QTest::newRow("device path gone")
            << QStringLiteral("COM9") << QStringLiteral("/dev/pts/does-not-exist") << false
            << QStringList {QStringLiteral("COM9 (/dev/pts/does-not-exist) cannot be opened: No such file or directory.\n")};
        QTest::newRow("a folder, not a device")
            << QStringLiteral("COM4") << QStringLiteral("directory") << false
            << QStringList {QStringLiteral("COM4 ("), QStringLiteral(") cannot be opened: "),
                            QStringLiteral("This is not a serial port: correct the link com4 in the dosdevices folder")};
        QTest::newRow("a folder, French")
            << QStringLiteral("COM4") << QStringLiteral("directory") << true
            << QStringList {QStringLiteral(") ne peut pas être ouvert : "),
                            QStringLiteral("Ce n'est pas un port série : corrigez le lien com4 du dossier dosdevices")};
        // A pty whose slave is locked refuses even root, as a dead adapter would.
        QTest::newRow("refused by the device")
            << QStringLiteral("COM6") << QStringLiteral("locked pty") << false
            << QStringList {QStringLiteral("COM6 (/dev/pts/"), QStringLiteral(") cannot be opened: "),
                            QStringLiteral("Unplug the adapter and plug it in again, or ") + init};
        // Held by another serial program (here this process): the holder is named.
        QTest::newRow("held by another program")
            << QStringLiteral("COM8") << QStringLiteral("held pty") << false
            << QStringList {QStringLiteral("COM8 (/dev/pts/"), QStringLiteral("It is held by "),
                            QStringLiteral("(%1)").arg(QCoreApplication::applicationPid()),
                            QStringLiteral(": close that program, or ") + init};
    }
    void failuresAreToldOnce()
    {
        QFETCH(QString, com);
        QFETCH(QString, device);
        QFETCH(bool, french);
        QFETCH(QStringList, told);
        PseudoTerminal pty;
        QTemporaryDir folder;
        QSerialPort holder(pty.slavePath());
        SerialRig rig;
        rig.french = french;
        rig.selected[InterfaceKind::EasyComm] = com;
        if (device == QLatin1String("pty") || device == QLatin1String("held pty")) {
            rig.devices[com] = pty.slavePath();
            if (device == QLatin1String("held pty"))
                QVERIFY(holder.open(QIODevice::ReadWrite));
        } else if (device == QLatin1String("locked pty")) {
            rig.devices[com] = pty.slavePath();
            int lock = 1;
            QCOMPARE(::ioctl(pty.masterFd(), TIOCSPTLCK, &lock), 0);
        } else if (device == QLatin1String("directory")) {
            rig.devices[com] = folder.path();
        } else if (!device.isEmpty()) {
            rig.devices[com] = device;
        }

        for (int attempt = 0; attempt < 2; ++attempt) {
            rig.state.lastSentAzimuth = -10;
            rig.go(InterfaceKind::EasyComm, 45);
            QTRY_VERIFY(rig.notSent());
            QVERIFY(rig.labels.isEmpty());
        }
        // Beep, notice, beep: the second failure is not told again.
        const QStringList events = rig.feedback.events();
        QCOMPARE(events.size(), 3);
        QCOMPARE(events.at(0), QStringLiteral("beep"));
        QCOMPARE(events.at(2), QStringLiteral("beep"));
        QVERIFY2(events.at(1).startsWith(QStringLiteral("note:Orvantis:")), qPrintable(events.at(1)));
        for (const QString &part : told)
            QVERIFY2(events.at(1).contains(part), qPrintable(events.at(1) + QStringLiteral("\n  lacks: ") + part));
    }

    // The user, not the program, decides which port: the texts name the exact
    // command for the missing group and the way to find the holder.
    void remedies_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("french");
        QTest::addColumn<QString>("text");
        QTest::newRow("permission") << int(SerialFailure::Kind::Permission) << false
                                    << QStringLiteral("COM33 (/dev/ttyUSB0) cannot be opened: Permission denied.\n"
                                                      "Your user may not use serial ports. Run\n"
                                                      "    sudo usermod -aG dialout $USER\n"
                                                      "then log out and in again.");
        QTest::newRow("permission, French")
            << int(SerialFailure::Kind::Permission) << true
            << QStringLiteral("COM33 (/dev/ttyUSB0) ne peut pas être ouvert : Permission denied.\n"
                              "Votre utilisateur n'a pas accès aux ports série. Lancez\n"
                              "    sudo usermod -aG dialout $USER\n"
                              "puis fermez la session et reconnectez-vous.");
        QTest::newRow("busy, holder unknown")
            << int(SerialFailure::Kind::Busy) << false
            << QStringLiteral("COM33 (/dev/ttyUSB0) cannot be opened: Permission denied.\n"
                              "Another program holds it (fuser -v /dev/ttyUSB0 names it): close that program, "
                              "or pick another port under Init (Ctrl+I).");
        QTest::newRow("write failed")
            << int(SerialFailure::Kind::WriteFailed) << false
            << QStringLiteral("COM33 (/dev/ttyUSB0): the command could not be sent: Permission denied.\n"
                              "The adapter stopped answering or was unplugged: check it and its cable; the next "
                              "command opens the port again.");
    }
    void remedies()
    {
        QFETCH(int, kind);
        QFETCH(bool, french);
        QFETCH(QString, text);
        SerialFailure failure;
        failure.kind = SerialFailure::Kind(kind);
        failure.comName = QStringLiteral("COM33");
        failure.devicePath = QStringLiteral("/dev/ttyUSB0");
        failure.reason = QStringLiteral("Permission denied");
        QCOMPARE(serialFailureText(failure, french ? Language::french() : Language::english()), text);
    }

    void stopBytes_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("labels");
        using K = InterfaceKind;
        const QString go = QStringLiteral("go");
        QTest::newRow("GS-232") << K::Gs232 << QByteArray("S\r") << QStringList {go, QStringLiteral("S\r COM6")};
        QTest::newRow("EasyComm") << K::EasyComm << QByteArray("SA\r") << QStringList {go, QStringLiteral("SA\r COM6")};
        QTest::newRow("ProSisTel") << K::ProSisTel << QByteArray("\x02" "AG977\r")
                                   << QStringList {go, QStringLiteral("\x02" "AG977\r COM6")};
        QTest::newRow("TrakBox leaves the label") << K::TrakBox << QByteArray(" \r") << QStringList {go};
        QTest::newRow("DCU-1") << K::Dcu1 << QByteArray(";\r") << QStringList {go, QStringLiteral("; COM6")};
        QTest::newRow("M2-ORION") << K::M2Orion << QByteArray("A\rS\rN\r")
                                  << QStringList {go, QStringLiteral("A\rS\rN\r COM6")};
        QTest::newRow("EGIS") << K::Egis << QByteArray("&* AZ=S\r") << QStringList {go, QStringLiteral("&* AZ=S\r COM6")};
    }
    void stopBytes()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, labels);
        auto [pty, rig] = SerialLine::on(kind, QStringLiteral("COM6"));

        rig.stop(kind); // closed: nothing at all
        QVERIFY(pty.readAll(SettleMs).isEmpty());
        QVERIFY(rig.labels.isEmpty());

        rig.go(kind, 45);
        pty.readAll(SettleMs);
        rig.labels = QStringList {QStringLiteral("go")};
        rig.stop(kind);
        QCOMPARE(pty.readAll(SettleMs), bytes);
        QVERIFY(!rig.rotors.isOpen(kind));
        QCOMPARE(rig.labels, labels);
    }

    void trakBoxProbeSpacing()
    {
        PseudoTerminal pty;
        SerialRig rig;
        rig.devices[QStringLiteral("COM7")] = pty.slavePath();
        ArrivalLog log(pty);

        QVERIFY(rig.rotors.ProbePort(InterfaceKind::TrakBox, QStringLiteral("COM7")));
        QTRY_VERIFY(!rig.sequencer.busy());
        QTest::qWait(SettleMs);
        log.collect();

        QCOMPARE(log.all(), QByteArray("Q\r7\r"));
        const qint64 gap = log.arrivalOf(2) - log.arrivalOf(0);
        QVERIFY2(gap >= 250 && gap < 3000, qPrintable(QStringLiteral("gap %1 ms").arg(gap)));
        QCOMPARE(rig.config.at(InterfaceKind::TrakBox).port, 6);
        QVERIFY(!rig.rotors.isOpen(InterfaceKind::TrakBox));
    }

    void probeStopsAnOpenChannelFirst()
    {
        PseudoTerminal first;
        PseudoTerminal second;
        SerialRig rig;
        rig.attach(InterfaceKind::Gs232, first, QStringLiteral("COM1"));
        rig.devices[QStringLiteral("COM12")] = second.slavePath();
        rig.go(InterfaceKind::Gs232, 45);
        QCOMPARE(first.readAll(SettleMs), QByteArray("W045\r"));

        QVERIFY(rig.rotors.ProbePort(InterfaceKind::Gs232, QStringLiteral("COM12")));
        QCOMPARE(first.readAll(SettleMs), QByteArray("S\r"));
        QVERIFY(second.readAll(SettleMs).isEmpty()); // only TrakBox is spoken to when probed
        QCOMPARE(rig.config.at(InterfaceKind::Gs232).port, 11);
        QVERIFY(!rig.rotors.isOpen(InterfaceKind::Gs232));
    }

    void busyPortFailsTheProbeAndTheGo()
    {
        PseudoTerminal pty;
        SerialRig rig;
        rig.devices[QStringLiteral("COM8")] = pty.slavePath();
        rig.config.at(InterfaceKind::Egis).port = 7;
        QSerialPort holder(pty.slavePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));

        QVERIFY(!rig.rotors.ProbePort(InterfaceKind::Egis, QStringLiteral("COM8")));
        QCOMPARE(rig.config.at(InterfaceKind::Egis).port, -1);
        QCOMPARE(rig.feedback.count(QStringLiteral("note:Orvantis:COM8 (")), 1);

        // Told once: the GO that fails the same way only beeps.
        rig.feedback.clear();
        rig.selected[InterfaceKind::Egis] = QStringLiteral("COM8");
        rig.go(InterfaceKind::Egis, 45);
        QTRY_VERIFY(rig.notSent());
        QCOMPARE(rig.feedback.events(), QStringList {QStringLiteral("beep")});

        holder.close();
        rig.state.lastSentAzimuth = -10;
        rig.go(InterfaceKind::Egis, 45);
        QTRY_VERIFY(rig.sent());
        QCOMPARE(pty.readAll(SettleMs), QByteArray("&* AZ=045.00\r"));
    }

    void baudChangeClosesTheChannel()
    {
        auto [pty, rig] = SerialLine::on(InterfaceKind::Dcu1, QStringLiteral("COM2"));
        rig.go(InterfaceKind::Dcu1, 45);
        QVERIFY(rig.settle());
        QVERIFY(rig.rotors.isOpen(InterfaceKind::Dcu1));
        rig.rotors.SetChannelBaud(InterfaceKind::Dcu1, 8);
        QVERIFY(!rig.rotors.isOpen(InterfaceKind::Dcu1));
        rig.state.lastSentAzimuth = -10;
        rig.go(InterfaceKind::Dcu1, 46);
        QTRY_VERIFY(rig.sent());
        QCOMPARE(pty.readAll(SettleMs), QByteArray("AP1045;\rAM1;\rAP1046;\rAM1;\r"));
        // The line really runs at the new rate.
        const int slave = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        if (slave < 0 && errno == EBUSY)
            QSKIP("the channel holds the line exclusively and only root may look past that");
        QVERIFY(slave >= 0);
        termios tio {};
        QCOMPARE(tcgetattr(slave, &tio), 0);
        ::close(slave);
        QCOMPARE(cfgetospeed(&tio), speed_t(B19200));
    }

    void closeAllClosesEveryChannel()
    {
        SerialRig rig;
        std::vector<std::unique_ptr<PseudoTerminal>> ptys;
        int n = 1;
        for (InterfaceKind kind : SerialInterfaceKinds) {
            ptys.push_back(std::make_unique<PseudoTerminal>());
            rig.attach(kind, *ptys.back(), QStringLiteral("COM%1").arg(n++));
            QVERIFY(rig.rotors.EnsurePortOpen(kind));
        }
        rig.rotors.closeAll();
        for (InterfaceKind kind : SerialInterfaceKinds)
            QVERIFY(!rig.rotors.isOpen(kind));
        for (const auto &pty : ptys)
            QVERIFY(pty->readAll(20).isEmpty());
    }

    void closing_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<int>("parking");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("hostMode");
        QTest::addColumn<QByteArray>("bytes");
        using K = InterfaceKind;
        const int parkGs = ordinal(K::Gs232) + 1;
        const int parkEasy = ordinal(K::EasyComm) + 1;
        const int parkTkb = ordinal(K::TrakBox) + 1;
        QTest::newRow("GS232 not parked") << K::Gs232 << 0 << true << false << QByteArray("S\r");
        QTest::newRow("GS232 parked on it") << K::Gs232 << parkGs << true << false << QByteArray();
        QTest::newRow("GS232 parked elsewhere") << K::Gs232 << parkEasy << true << false << QByteArray("S\r");
        QTest::newRow("GS232 closed") << K::Gs232 << 0 << false << false << QByteArray();
        QTest::newRow("EasyComm") << K::EasyComm << 0 << true << false << QByteArray("SA SE\r");
        QTest::newRow("EasyComm parked") << K::EasyComm << parkEasy << true << false << QByteArray();
        QTest::newRow("DCU-1") << K::Dcu1 << 0 << true << false << QByteArray(";\r");
        QTest::newRow("ProSisTel") << K::ProSisTel << 0 << true << false << QByteArray("\x02" "AG977\r");
        QTest::newRow("M2-ORION") << K::M2Orion << 0 << true << false << QByteArray("A\rS\rN\r");
        QTest::newRow("EGIS") << K::Egis << 0 << true << false << QByteArray("&* AZ=S\r");
        QTest::newRow("EGIS parked") << K::Egis << ordinal(K::Egis) + 1 << true << false << QByteArray();
        QTest::newRow("TrakBox open, terminal") << K::TrakBox << 0 << true << false << QByteArray("Q\r");
        QTest::newRow("TrakBox parked, host") << K::TrakBox << parkTkb << true << true << QByteArray(" \r");
        QTest::newRow("TrakBox closed is reopened") << K::TrakBox << 0 << false << false << QByteArray("Q\r");
    }
    void closing()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(int, parking);
        QFETCH(bool, open);
        QFETCH(bool, hostMode);
        QFETCH(QByteArray, bytes);
        auto [pty, rig] = SerialLine::on(kind, QStringLiteral("COM3"));
        rig.config.at(kind).port = 2;
        rig.config.trakBoxHostMode = hostMode;
        if (open)
            QVERIFY(rig.rotors.EnsurePortOpen(kind));
        rig.selected.clear(); // the reopened TrakBox must come from its saved index

        rig.rotors.closeForShutdown(parking, kind);
        QCOMPARE(pty.readAll(SettleMs), bytes);
        QVERIFY(!rig.rotors.isOpen(kind));
    }

    void closingOnlyConcernsTheSelectedInterface()
    {
        auto [pty, rig] = SerialLine::on(InterfaceKind::Gs232, QStringLiteral("COM3"));
        QVERIFY(rig.rotors.EnsurePortOpen(InterfaceKind::Gs232));
        rig.rotors.closeForShutdown(0, InterfaceKind::EasyComm);
        QVERIFY(pty.readAll(SettleMs).isEmpty());
    }

    // Parking on the selected GS-232: STOP, the parking GO, then no second "S".
    void parkingOnGs232()
    {
        auto [pty, rig] = SerialLine::on(InterfaceKind::Gs232, QStringLiteral("COM3"));
        rig.go(InterfaceKind::Gs232, 200);
        rig.sequencer.runStop([&] { rig.stop(InterfaceKind::Gs232); });
        rig.state.lastSentAzimuth = -10;
        rig.go(InterfaceKind::Gs232, 90);
        rig.sequencer.whenIdle(
            [&] { rig.rotors.closeForShutdown(ordinal(InterfaceKind::Gs232) + 1, InterfaceKind::Gs232); });
        QVERIFY(rig.settle());
        QCOMPARE(pty.readAll(SettleMs), QByteArray("W200\rS\rW090\r"));
        QVERIFY(!rig.rotors.isOpen(InterfaceKind::Gs232));
    }

    void adapterVanishingMidRun()
    {
        auto pty = std::make_unique<PseudoTerminal>();
        SerialRig rig;
        rig.attach(InterfaceKind::Gs232, *pty, QStringLiteral("COM3"));
        rig.go(InterfaceKind::Gs232, 45);
        QCOMPARE(pty->readAll(SettleMs), QByteArray("W045\r"));

        pty.reset(); // the adapter is pulled out
        rig.go(InterfaceKind::Gs232, 90);
        QTRY_VERIFY(rig.notSent());
        QVERIFY(!rig.rotors.isOpen(InterfaceKind::Gs232));
        // Not a box that waits: the beep of a GO not sent, and a notice that
        // names the port, the device and what to check.
        QCOMPARE(rig.feedback.events().size(), 2);
        QCOMPARE(rig.feedback.events().first(), QStringLiteral("beep"));
        const QString notice = rig.feedback.events().last();
        QVERIFY2(notice.startsWith(QStringLiteral("note:Orvantis:COM3 (%1): the command could not be sent: ")
                                       .arg(rig.devices.value(QStringLiteral("COM3"))))
                     && notice.contains(QStringLiteral("check it and its cable")),
                 qPrintable(notice));

        // Plugged back in (as a new device behind the same COM name).
        PseudoTerminal again;
        rig.attach(InterfaceKind::Gs232, again, QStringLiteral("COM3"));
        rig.go(InterfaceKind::Gs232, 180);
        QTRY_VERIFY(rig.sent());
        QCOMPARE(again.readAll(SettleMs), QByteArray("W180\r"));
    }
};

QTEST_GUILESS_MAIN(TestSerialRotors)
#include "tst_SerialRotors.moc"
