#include "SerialRig.h"

#include <QTest>

namespace {
constexpr int SettleMs = 150;

// A sequence of writes into `log`, each followed by pauseMs.
CommandSequencer::Sequence writes(QStringList &log, const QStringList &names, int pauseMs)
{
    CommandSequencer::Sequence sequence;
    for (const QString &name : names)
        sequence.steps.append([&log, name, pauseMs] {
            log << name;
            return pauseMs;
        });
    sequence.delivered = [&log] { log << QStringLiteral("delivered"); };
    sequence.cut = [&log] { log << QStringLiteral("cut"); };
    sequence.ended = [&log] { log << QStringLiteral("ended"); };
    return sequence;
}
} // namespace

// Command sequences run one after another from timers; a STOP cuts in at once.
class TestCommandSequencer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What arrives while a two-write sequence (40 ms pauses) is under way, and when.
    void arrivalsDuringASequence_data()
    {
        QTest::addColumn<int>("atMs");
        QTest::addColumn<QString>("arrival");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("GO waits, newest only")
            << 10 << "go go" << QStringList {"a", "overtaken", "b", "delivered", "ended", "go 2"};
        QTest::newRow("STOP in the first pause") << 10 << "stop" << QStringList {"a", "cut", "ended", "stop"};
        QTest::newRow("STOP in the last pause") << 60 << "stop"
                                                << QStringList {"a", "b", "delivered", "ended", "stop"};
        QTest::newRow("waiting GO dropped by STOP")
            << 10 << "go stop" << QStringList {"a", "cut", "ended", "overtaken", "stop"};
        QTest::newRow("sequence queued behind") << 10 << "play" << QStringList {"a", "b", "delivered", "ended", "c",
                                                                                 "delivered", "ended"};
        QTest::newRow("idle waiter after everything")
            << 10 << "idle go" << QStringList {"a", "b", "delivered", "ended", "go 1", "idle"};
    }
    void arrivalsDuringASequence()
    {
        QFETCH(int, atMs);
        QFETCH(QString, arrival);
        QFETCH(const QStringList, log);
        CommandSequencer sequencer;
        QStringList seen;
        int gos = 0;
        sequencer.play(writes(seen, {"a", "b"}, 40));
        QTimer::singleShot(atMs, [&] {
            for (const QString &what : arrival.split(QLatin1Char(' '))) {
                if (what == QLatin1String("go")) {
                    const int n = ++gos;
                    sequencer.requestGo([&seen, n] { seen << QStringLiteral("go %1").arg(n); },
                                        [&seen] { seen << QStringLiteral("overtaken"); });
                } else if (what == QLatin1String("stop")) {
                    sequencer.runStop([&seen] { seen << QStringLiteral("stop"); });
                } else if (what == QLatin1String("play")) {
                    sequencer.play(writes(seen, {"c"}, 0));
                } else if (what == QLatin1String("idle")) {
                    sequencer.whenIdle([&seen] { seen << QStringLiteral("idle"); });
                }
            }
        });
        QTRY_COMPARE(seen, log);
        QVERIFY(!sequencer.busy());
    }

    void hurryRunsTheRestAtOnce()
    {
        CommandSequencer sequencer;
        QStringList seen;
        sequencer.play(writes(seen, {"a", "b", "c"}, 1000));
        sequencer.whenIdle([&seen] { seen << QStringLiteral("idle"); });
        sequencer.hurry();
        QCOMPARE(seen, (QStringList {"a", "b", "c", "delivered", "ended", "idle"}));
    }

    // DCU-1 is told its target, then (10 ms later) to move. A STOP in between
    // must leave the order to move unsent.
    void interruptedGoWritesNothingMore()
    {
        auto [pty, rig] = SerialLine::on(InterfaceKind::Dcu1, QStringLiteral("COM3"));
        QTimer::singleShot(2, [&] { rig.sequencer.runStop([&] { rig.stop(InterfaceKind::Dcu1); }); });
        rig.sequencer.requestGo([&] { rig.go(InterfaceKind::Dcu1, 45); });
        QCOMPARE(pty.readAll(SettleMs), QByteArray("AP1045;\r;\r"));
        // The lamp must not blink for a stopped move.
        QCOMPARE(rig.outcomes.first().reason, RotorOutcome::Reason::Overtaken);
        QVERIFY(!rig.rotors.isOpen(InterfaceKind::Dcu1));
    }

    void burstOfTenThousandGos()
    {
        auto [pty, rig] = SerialLine::on(InterfaceKind::Gs232, QStringLiteral("COM3"));
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
        // Each request is handed on as an event of its own, as a datagram would arrive.
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
        QVERIFY(rig.sent());
    }
};

QTEST_GUILESS_MAIN(TestCommandSequencer)
#include "tst_CommandSequencer.moc"
