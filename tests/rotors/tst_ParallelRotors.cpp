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
using Call = RecordingPortIo::Call;

Record out(quint16 address, quint16 value)
{
    return {Call::Out, address, value};
}

// Everything a ParallelRotors needs, with the register writes recorded.
struct ParallelRig {
    CommandState state;
    Configuration config;
    RecordingFeedback feedback;
    RecordingPortIo portIo;
    CommandSequencer sequencer;
    ParallelAddressTable pourSatAddresses {0x378, 0x278, 0};
    ParallelAddressTable fodTrackAddresses {0x378, 0x278, 0};
    QStringList labels;
    ParallelRotors rotors {ParallelRotorsContext {state, config, feedback, portIo, pourSatAddresses,
                                                  fodTrackAddresses, [this](const QString &text) { labels << text; }},
                           sequencer};

    explicit ParallelRig(InterfaceKind kind, int lpt = 0) { config.at(kind).port = lpt; }

    void go(InterfaceKind kind, double azimuth)
    {
        state.commandedAzimuth = azimuth;
        if (kind == InterfaceKind::PourSat)
            rotors.GoPourSat();
        else
            rotors.GoFodTrack();
    }

    // The values that reached the data register, in order.
    QList<quint16> dataBytes(quint16 base) const
    {
        QList<quint16> bytes;
        for (const Record &r : portIo.records()) {
            if (r.address == base)
                bytes << r.value;
        }
        return bytes;
    }
};

} // namespace

// The parallel boxes' GO, observed as register writes and as what the user hears.
class TestParallelRotors : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pourSatHandshake()
    {
        ParallelRig rig(InterfaceKind::PourSat, 1);
        rig.state.notSentFlag = true;
        rig.go(InterfaceKind::PourSat, 45);
        const QList<Record> expected = {
            out(0x27A, 0), out(0x27A, 8), out(0x278, 23), out(0x27A, 10),
            out(0x27A, 1), out(0x278, 1), out(0x27A, 3),  out(0x27A, 0),
        };
        QCOMPARE(rig.portIo.records(), expected);
        QCOMPARE(rig.labels, QStringList {QStringLiteral("23")});
        QVERIFY(!rig.state.notSentFlag);
        QCOMPARE(rig.state.lastSentAzimuth, 45.0);
        QVERIFY(rig.feedback.events().isEmpty());
    }

    void fodTrackHandshake()
    {
        ParallelRig rig(InterfaceKind::FodTrack);
        QElapsedTimer elapsed;
        elapsed.start();
        rig.go(InterfaceKind::FodTrack, 359);
        // The box needs 80 ms of pauses between its line changes; only a lower
        // bound is checked, a loaded machine may take longer.
        QVERIFY2(elapsed.elapsed() >= 70, qPrintable(QString::number(elapsed.elapsed())));
        const QList<Record> expected = {
            out(0x37A, 2), out(0x378, 255), out(0x37A, 2), out(0x37A, 3), out(0x37A, 2),
            out(0x37A, 0), out(0x378, 1),   out(0x37A, 0), out(0x37A, 1), out(0x37A, 0),
        };
        QCOMPARE(rig.portIo.records(), expected);
        QCOMPARE(rig.labels, QStringList {QStringLiteral("255")});
        QVERIFY(!rig.state.notSentFlag);
    }

    void goValue_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<double>("zero");
        QTest::addColumn<int>("stopSide");
        QTest::addColumn<int>("expected");
        using K = InterfaceKind;
        QTest::newRow("PourSat 359") << K::PourSat << 359.0 << 0.0 << 0 << 184;
        QTest::newRow("PourSat zero 10, 5") << K::PourSat << 5.0 << 10.0 << 0 << 182;
        QTest::newRow("FODTrack 45") << K::FodTrack << 45.0 << 0.0 << 0 << 32;
        QTest::newRow("FODTrack 359.9") << K::FodTrack << 359.9 << 0.0 << 0 << 255;
        QTest::newRow("FODTrack zero -10, 355") << K::FodTrack << 355.0 << -10.0 << 0 << 4;
        QTest::newRow("PourSat south 200 as 20") << K::PourSat << 200.0 << 0.0 << 1 << 10;
        QTest::newRow("FODTrack south 200 as 20") << K::FodTrack << 200.0 << 0.0 << 1 << 14;
        QTest::newRow("FODTrack south 100 as 280") << K::FodTrack << 100.0 << 0.0 << 1 << 199;
    }

    void goValue()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(double, azimuth);
        QFETCH(double, zero);
        QFETCH(int, stopSide);
        QFETCH(int, expected);
        ParallelRig rig(kind);
        rig.config.at(kind).zero = zero;
        rig.config.at(kind).stopSide = stopSide;
        rig.go(kind, azimuth);
        QCOMPARE(rig.dataBytes(0x378), (QList<quint16> {quint16(expected), 1}));
        QCOMPARE(rig.labels, QStringList {QString::number(expected)});
        // The step rule remembers the azimuth asked for, not the one converted.
        QCOMPARE(rig.state.lastSentAzimuth, azimuth);
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
        ParallelRig rig(kind, lpt);
        rig.go(kind, 45);
        QVERIFY(rig.state.notSentFlag);
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
        ParallelRig rig(kind);
        rig.portIo.failNextState(13);
        rig.go(kind, 90);
        QCOMPARE(rig.portIo.records().size(), writes);
        QVERIFY(rig.state.notSentFlag);
        QCOMPARE(rig.feedback.events(), QStringList {QStringLiteral("beep")});

        // The failure was one GO's: the next one is sent.
        rig.feedback.clear();
        rig.go(kind, 180);
        QVERIFY(!rig.state.notSentFlag);
        QVERIFY(rig.feedback.events().isEmpty());
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
        ParallelRig rig(InterfaceKind::PourSat);
        rig.config.at(InterfaceKind::PourSat).minimumStep = step;
        rig.state.lastSentAzimuth = 40;
        rig.go(InterfaceKind::PourSat, azimuth);
        QCOMPARE(!rig.state.notSentFlag, sent);
        QCOMPARE(rig.portIo.records().isEmpty(), !sent);
        QCOMPARE(rig.state.lastSentAzimuth, sent ? azimuth : 40.0);
        // Held back by the step rule is silent.
        QVERIFY(rig.feedback.events().isEmpty());
    }

    void stopDuringFodTrackHandshake()
    {
        ParallelRig rig(InterfaceKind::FodTrack);
        QTimer::singleShot(15, &rig.sequencer, [&rig] { rig.sequencer.runStop([] {}); });
        rig.go(InterfaceKind::FodTrack, 45);
        const QList<Record> &records = rig.portIo.records();
        // Cut short, with the control lines released as the last write.
        QVERIFY2(records.size() < 10, qPrintable(QString::number(records.size())));
        QCOMPARE(records.mid(0, 2), (QList<Record> {out(0x37A, 2), out(0x378, 32)}));
        QCOMPARE(records.last(), out(0x37A, 0));
        QVERIFY(rig.state.notSentFlag);
        QVERIFY(rig.feedback.events().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestParallelRotors)
#include "tst_ParallelRotors.moc"
