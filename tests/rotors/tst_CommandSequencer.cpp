#include "SerialRig.h"

#include "rotors/PauseWithEvents.h"

#include <QTest>

namespace {
constexpr int SettleMs = 150;
}

// Command sequences must not run inside one another's pauses, except STOP.
class TestCommandSequencer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void goWaitsAndOnlyTheNewestRuns()
    {
        CommandSequencer sequencer;
        QStringList order;
        sequencer.requestGo([&] {
            order << QStringLiteral("first begins");
            QTimer::singleShot(0, [&] { sequencer.requestGo([&] { order << QStringLiteral("older"); }); });
            QTimer::singleShot(5, [&] { sequencer.requestGo([&] { order << QStringLiteral("newest"); }); });
            PauseWithEvents(40);
            order << QStringLiteral("first ends");
        });
        QCOMPARE(order, (QStringList {QStringLiteral("first begins"), QStringLiteral("first ends"),
                                      QStringLiteral("newest")}));
        QVERIFY(!sequencer.busy());
        QCOMPARE(sequencer.deepestNesting(), 1);
    }

    void stopRunsAtOnceAndDropsTheWaitingGo()
    {
        CommandSequencer sequencer;
        QStringList order;
        bool interruptedSeen = false;
        sequencer.requestGo([&] {
            CommandSequencer::Sequence sequence(sequencer);
            QTimer::singleShot(0, [&] { sequencer.requestGo([&] { order << QStringLiteral("waiting go"); }); });
            QTimer::singleShot(10, [&] { sequencer.runStop([&] { order << QStringLiteral("stop"); }); });
            PauseWithEvents(60);
            interruptedSeen = sequence.interrupted();
            order << QStringLiteral("go resumes");
        });
        QCOMPARE(order, (QStringList {QStringLiteral("stop"), QStringLiteral("go resumes")}));
        QVERIFY(interruptedSeen);
    }

    void goAfterAProbeRunsOnceItEnds()
    {
        CommandSequencer sequencer;
        QStringList order;
        {
            CommandSequencer::Sequence probe(sequencer);
            QTimer::singleShot(0, [&] { sequencer.requestGo([&] { order << QStringLiteral("go"); }); });
            PauseWithEvents(20);
            order << QStringLiteral("probe ends");
        }
        QTRY_COMPARE(order, (QStringList {QStringLiteral("probe ends"), QStringLiteral("go")}));
    }

    // DCU-1 is told its target, then (10 ms later) to move. A STOP in between
    // must leave the order to move unsent.
    void interruptedGoWritesNothingMore()
    {
        PseudoTerminal pty;
        SerialRig rig;
        rig.attach(InterfaceKind::Dcu1, pty, QStringLiteral("COM3"));
        QTimer::singleShot(2, [&] { rig.sequencer.runStop([&] { rig.rotors.StopDcu1(); }); });
        rig.sequencer.requestGo([&] { rig.go(InterfaceKind::Dcu1, 45); });
        QCOMPARE(pty.readAll(SettleMs), QByteArray("AP1045;\r;\r"));
        QVERIFY(rig.state.notSentFlag); // the lamp must not blink for a stopped move
        QVERIFY(!rig.rotors.isOpen(InterfaceKind::Dcu1));
    }

    void burstOfTenThousandGos()
    {
        PseudoTerminal pty;
        SerialRig rig;
        rig.attach(InterfaceKind::Gs232, pty, QStringLiteral("COM3"));
        rig.config.at(InterfaceKind::Gs232).minimumStep = 0;
        ArrivalLog log(pty);
        QElapsedTimer clock;
        clock.start();
        QList<qint64> goStarts;

        constexpr int Requests = 10000;
        constexpr int PerTick = 20;
        int fired = 0;
        QTimer burst;
        burst.setInterval(1);
        // Each request is handed on as an event of its own, as a datagram would
        // arrive: a timer cannot fire again while its own slot is still running.
        QObject::connect(&burst, &QTimer::timeout, [&] {
            for (int n = 0; n < PerTick && fired < Requests; ++n, ++fired) {
                const int target = fired % 360;
                QMetaObject::invokeMethod(
                    &burst,
                    [&, target] {
                        rig.sequencer.requestGo([&, target] {
                            goStarts << clock.elapsed();
                            rig.go(InterfaceKind::Gs232, target);
                        });
                    },
                    Qt::QueuedConnection);
            }
            if (fired == Requests)
                burst.stop();
        });
        burst.start();
        QTRY_VERIFY_WITH_TIMEOUT(fired == Requests && !rig.sequencer.busy() && !rig.sequencer.hasWaitingGo(),
                                 60000);
        QTest::qWait(SettleMs); // lets the last queued request run
        log.collect();

        const QByteArray newest = "W" + QByteArray::number((Requests - 1) % 360).rightJustified(3, '0') + "\r";
        const QByteArray all = log.all();
        QVERIFY2(all.endsWith(newest), all.right(40).constData());
        QCOMPARE(all.size(), goStarts.size() * 5); // whole commands only, never interleaved
        QVERIFY(goStarts.size() > 2);
        QVERIFY(goStarts.size() < Requests / PerTick);
        for (qsizetype i = 1; i < goStarts.size(); ++i)
            QVERIFY2(goStarts[i] - goStarts[i - 1] >= 40, "each GO waits for the previous one's pause");
        QVERIFY(rig.sequencer.deepestNesting() <= 2);
        QVERIFY(!rig.state.notSentFlag);
    }
};

QTEST_GUILESS_MAIN(TestCommandSequencer)
#include "tst_CommandSequencer.moc"
