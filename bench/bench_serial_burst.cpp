// Serial command timing on a pseudo-terminal: how long a GO takes to put its
// first byte on the line, and what a burst of GO requests turns into.
// Measured and printed, never asserted.
#include "rotors/CommandSequencer.h"
#include "rotors/SerialRotors.h"
#include "support/PseudoTerminal.h"
#include "support/RecordingFeedback.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

struct Bench {
    PseudoTerminal pty;
    CommandState state;
    Configuration config;
    RecordingFeedback feedback;
    CommandSequencer sequencer;
    SerialRotors rotors {SerialRotorsContext {state, config, feedback,
                                              [](InterfaceKind) { return QStringLiteral("COM1"); },
                                              [this](const QString &) { return pty.slavePath(); },
                                              [](const QString &) {},
                                              [] { return Language::english(); }},
                         sequencer};
};

void firstByteLatency(Bench &bench)
{
    constexpr int Runs = 30;
    QList<qint64> latencies;
    bench.config.at(InterfaceKind::Gs232).minimumStep = 0;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        qint64 firstByte = -1;
        bench.state.commandedAzimuth = run;
        clock.start();
        bench.rotors.GoGs232([](const RotorOutcome &) {});
        if (!bench.pty.readAtLeast(1, 1000).isEmpty())
            firstByte = clock.nsecsElapsed() / 1000;
        // The GO's pause ends before the next run.
        while (bench.sequencer.busy())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        bench.pty.readAll(5);
        latencies << firstByte;
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("GO to first byte (us, channel already open after run 1): min %lld  median %lld  max %lld\n",
                latencies.first(), latencies[latencies.size() / 2], latencies.last());
}

void burst(Bench &bench)
{
    constexpr int Requests = 10000;
    int fired = 0;
    int goes = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const int target = fired % 360;
        QMetaObject::invokeMethod(
            &timer,
            [&, target] {
                bench.sequencer.requestGo([&, target] {
                    ++goes;
                    bench.state.commandedAzimuth = target;
                    bench.rotors.GoGs232([](const RotorOutcome &) {});
                });
            },
            Qt::QueuedConnection);
        if (++fired == Requests)
            timer.stop();
    });
    QElapsedTimer clock;
    clock.start();
    timer.start();
    while (fired < Requests || bench.sequencer.busy() || bench.sequencer.hasWaitingGo())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const QByteArray bytes = bench.pty.readAll(100);
    std::printf("burst of %d GO requests: %lld ms, %d GOs run, %lld bytes\n", Requests, clock.elapsed(), goes,
                qint64(bytes.size()));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Bench bench;
    if (!bench.pty.isValid()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    firstByteLatency(bench);
    burst(bench);
    return 0;
}
