#include "rotors/CommandSequencer.h"
#include "rotors/ParallelRotors.h"
#include "rotors/RecordingPortIo.h"
#include "support/RecordingFeedback.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(InterfaceKind)

namespace {

using Record = RecordingPortIo::Record;

Record out(quint16 address, quint16 value)
{
    return {RecordingPortIo::Call::Out, address, value};
}

// Everything a ParallelRotors needs, with the register writes recorded.
struct ParallelRig {
    CommandState state;
    Configuration config;
    RecordingFeedback feedback;
    RecordingPortIo portIo;
    CommandSequencer sequencer;
    ParallelAddressTable addresses {0x378, 0x278, 0};
    QStringList labels;
    ParallelRotors rotors {ParallelRotorsContext {state, config, feedback, portIo, addresses, addresses,
                                                  [this](const QString &text) { labels << text; },
                                                  [] { return Language::english(); }},
                           sequencer};

    // Both ports claimed, as the first activation does for the selected box.
    ParallelRig()
    {
        portIo.EnablePorts(0x378, 0x378);
        portIo.EnablePorts(0x278, 0x278);
        portIo.clear();
    }

    void go(InterfaceKind kind, double azimuth)
    {
        state.commandedAzimuth = azimuth;
        rotors.go(kind, [this](const RotorOutcome &outcome) { outcomes << outcome; });
        // The handshake runs from timers; a STOP a test set up may land in it.
        QVERIFY(QTest::qWaitFor([this] { return !sequencer.busy(); }));
    }
    bool sent() const { return !outcomes.isEmpty() && outcomes.last().sent(); }
    bool notSent() const { return !outcomes.isEmpty() && !outcomes.last().sent(); }

    QList<RotorOutcome> outcomes;
};

} // namespace

// The parallel boxes' GO, observed as register writes and as what the user hears.
class TestParallelRotors : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void handshake_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<int>("lpt");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<int>("stopSide");
        QTest::addColumn<QList<Record>>("expected");
        QTest::addColumn<int>("pausesMs");
        QTest::newRow("PourSat LPT2, 45") << InterfaceKind::PourSat << 1 << 45.0 << 0
                                          << QList<Record> {out(0x27A, 0), out(0x27A, 8), out(0x278, 23),
                                                            out(0x27A, 10), out(0x27A, 1), out(0x278, 1),
                                                            out(0x27A, 3), out(0x27A, 0)}
                                          << 0;
        // 200 with the end stop in the south is converted as 20.
        QTest::newRow("FODTrack LPT1, south 200") << InterfaceKind::FodTrack << 0 << 200.0 << 1
                                                  << QList<Record> {out(0x37A, 2), out(0x378, 14), out(0x37A, 2),
                                                                    out(0x37A, 3), out(0x37A, 2), out(0x37A, 0),
                                                                    out(0x378, 1), out(0x37A, 0), out(0x37A, 1),
                                                                    out(0x37A, 0)}
                                                  << 80;
    }

    void handshake()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(int, lpt);
        QFETCH(double, azimuth);
        QFETCH(int, stopSide);
        QFETCH(QList<Record>, expected);
        QFETCH(int, pausesMs);
        ParallelRig rig;
        rig.config.at(kind).port = lpt;
        rig.config.at(kind).stopSide = stopSide;
        QElapsedTimer elapsed;
        elapsed.start();
        rig.go(kind, azimuth);
        // Only a generous lower bound: the box needs its pauses, a loaded machine may add to them.
        QVERIFY(elapsed.elapsed() >= pausesMs * 7 / 8);
        QCOMPARE(rig.portIo.records(), expected);
        const int dataValue = expected.at(kind == InterfaceKind::PourSat ? 2 : 1).value;
        QCOMPARE(rig.labels, QStringList {QString::number(dataValue)});
        QTRY_VERIFY(rig.sent());
        // The step rule remembers the azimuth asked for, not the converted one.
        QCOMPARE(rig.state.lastSentAzimuth, azimuth);
        QVERIFY(rig.feedback.events().isEmpty());
    }

    void noUsablePort_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<int>("lpt");
        QTest::newRow("PourSat none") << InterfaceKind::PourSat << -1;
        QTest::newRow("FODTrack none") << InterfaceKind::FodTrack << -1;
        QTest::newRow("beyond LPT3") << InterfaceKind::PourSat << 3;
        QTest::newRow("port not found") << InterfaceKind::FodTrack << 2;
    }

    void noUsablePort()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(int, lpt);
        ParallelRig rig;
        rig.config.at(kind).port = lpt;
        rig.go(kind, 45);
        QTRY_VERIFY(rig.notSent());
        QCOMPARE(rig.feedback.events(), QStringList {QStringLiteral("beep")});
        QVERIFY(rig.portIo.records().isEmpty());
        QCOMPARE(rig.state.lastSentAzimuth, -10.0);
    }

    void failedPortIsNotSent_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<int>("writes");
        QTest::newRow("PourSat") << InterfaceKind::PourSat << 8;
        QTest::newRow("FODTrack") << InterfaceKind::FodTrack << 10;
    }

    void failedPortIsNotSent()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(int, writes);
        ParallelRig rig;
        rig.config.at(kind).port = 0;
        rig.portIo.failNextState(13);
        rig.go(kind, 90);
        QCOMPARE(rig.portIo.records().size(), writes);
        QTRY_VERIFY(rig.notSent());
        QCOMPARE(rig.feedback.events(),
                 (QStringList {QStringLiteral("beep"),
                               QStringLiteral("note:Orvantis:The parallel port 0378h could not be written: "
                                              "recorded failure 13.\nCheck that the ppdev module is loaded (sudo "
                                              "modprobe ppdev), that no printer service holds the port, and that "
                                              "your user may use it: sudo usermod -aG lp $USER, then log out and "
                                              "in again.")}));

        // The failure was that GO's alone: the next one is sent.
        rig.feedback.clear();
        rig.go(kind, 180);
        QTRY_VERIFY(rig.sent());
        QVERIFY(rig.feedback.events().isEmpty());
    }

    // The driver refuses a port that is not claimed, as ppdev refuses a closed
    // /dev/parportN: nothing reaches the box, and the user learns why once.
    void releasedPortIsRefusedAndTold()
    {
        ParallelRig rig;
        rig.portIo.DisablePorts(0x378, 0x378);
        rig.portIo.clear();
        rig.config.at(InterfaceKind::FodTrack).port = 0;
        rig.go(InterfaceKind::FodTrack, 90);
        QVERIFY(rig.portIo.records().isEmpty());
        QTRY_VERIFY(rig.notSent());
        QCOMPARE(rig.feedback.events().size(), 2);
        QCOMPARE(rig.feedback.events().at(0), QStringLiteral("beep"));
        const QString notice = rig.feedback.events().at(1);
        QVERIFY2(notice.startsWith(QStringLiteral("note:Orvantis:The parallel port 0378h could not be written: "))
                     && notice.contains(QStringLiteral("sudo modprobe ppdev"))
                     && notice.contains(QStringLiteral("sudo usermod -aG lp $USER")),
                 qPrintable(notice));

        rig.feedback.clear();
        rig.go(InterfaceKind::FodTrack, 180);
        QCOMPARE(rig.feedback.events(), QStringList {QStringLiteral("beep")});

        // Claimed again, the port works at once.
        rig.portIo.EnablePorts(0x378, 0x378);
        rig.go(InterfaceKind::FodTrack, 270);
        QTRY_VERIFY(rig.sent());
    }

    void stepRule_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<bool>("sent");
        QTest::newRow("below the step") << 5 << 44.0 << false;
        QTest::newRow("equal to the step") << 5 << 45.0 << true;
        QTest::newRow("below, downwards") << 5 << 36.0 << false;
        QTest::newRow("step 0, same azimuth") << 0 << 40.0 << true;
    }

    void stepRule()
    {
        QFETCH(int, step);
        QFETCH(double, azimuth);
        QFETCH(bool, sent);
        ParallelRig rig;
        rig.config.at(InterfaceKind::PourSat).port = 0;
        rig.config.at(InterfaceKind::PourSat).minimumStep = step;
        rig.state.lastSentAzimuth = 40;
        rig.go(InterfaceKind::PourSat, azimuth);
        QTRY_COMPARE(rig.sent(), sent);
        QCOMPARE(rig.portIo.records().isEmpty(), !sent);
        QCOMPARE(rig.state.lastSentAzimuth, sent ? azimuth : 40.0);
        QVERIFY(rig.feedback.events().isEmpty()); // held back silently
    }

    void stopDuringFodTrackHandshake()
    {
        ParallelRig rig;
        rig.config.at(InterfaceKind::FodTrack).port = 0;
        QTimer::singleShot(15, &rig.sequencer, [&rig] { rig.sequencer.runStop([] {}); });
        rig.go(InterfaceKind::FodTrack, 45);
        const QList<Record> &records = rig.portIo.records();
        // Cut short, with the control lines released as the last write.
        QVERIFY2(records.size() < 10, qPrintable(QString::number(records.size())));
        QCOMPARE(records.mid(0, 2), (QList<Record> {out(0x37A, 2), out(0x378, 32)}));
        QCOMPARE(records.last(), out(0x37A, 0));
        QTRY_VERIFY(rig.notSent());
        QVERIFY(rig.feedback.events().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestParallelRotors)
#include "tst_ParallelRotors.moc"
