#include "process/SignalCloser.h"

#include <QSocketNotifier>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The closing sequence hurries after a few seconds; this is the last word when
// even that is stuck (a call that never returns), so a signal always ends us.
// The time is counted in ticks of a timer, not read from a clock: while the
// process is stopped (SIGSTOP, a debugger) the timer's expirations collapse
// into one pending signal, so time spent stopped does not use up the deadline.
constexpr long TickMs = 500;
constexpr int DeadlineTicks = 8;
constexpr unsigned DeadlineSeconds = TickMs * DeadlineTicks / 1000;
constexpr int ClosingSignals[] = {SIGTERM, SIGINT, SIGHUP};

int signalPipe[2] = {-1, -1};
// A signal ignored when we start was ignored on purpose by whoever started us
// (`nohup` ignores SIGHUP, a shell's background job SIGINT): it stays ignored.
bool handled[NSIG] = {};
timer_t tickTimer {};
bool tickTimerCreated = false;
volatile sig_atomic_t deadlineArmed = 0;
volatile sig_atomic_t ticksLeft = DeadlineTicks;

void armDeadline()
{
    if (tickTimerCreated) {
        constexpr timespec tick {0, TickMs * 1000000};
        const itimerspec ticking {tick, tick};
        ::timer_settime(tickTimer, 0, &ticking, nullptr);
    } else {
        // Without a timer of our own the plain alarm still ends a stuck close,
        // though it counts time spent stopped.
        ticksLeft = 1;
        ::alarm(DeadlineSeconds);
    }
}

void onTerminationSignal(int)
{
    // Only async-signal-safe work here: wake the event loop through the pipe.
    if (!deadlineArmed) {
        deadlineArmed = 1;
        armDeadline();
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void onDeadlineTick(int)
{
    ticksLeft = ticksLeft - 1;
    if (ticksLeft > 0)
        return;
    static const char message[] = "orvantis: closing did not end in time and was cut short"
                                  " / la fermeture n'a pas abouti à temps et a été interrompue\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(EXIT_FAILURE);
}

} // namespace

SignalCloser::SignalCloser(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[0], &byte, 1);
        Q_EMIT closeRequested();
    });
    sigevent tick {};
    tick.sigev_notify = SIGEV_SIGNAL;
    tick.sigev_signo = SIGALRM;
    tickTimerCreated = ::timer_create(CLOCK_MONOTONIC, &tick, &tickTimer) == 0;
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : ClosingSignals) {
        struct sigaction before {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        handled[signal] = sigaction(signal, &action, nullptr) == 0;
    }
    action.sa_handler = onDeadlineTick;
    sigaction(SIGALRM, &action, nullptr);
    // Standard error may be a pipe whose reader went with the terminal; telling
    // what happened must not end the program before its settings are saved.
    std::signal(SIGPIPE, SIG_IGN);
}

SignalCloser::~SignalCloser()
{
    for (int signal : ClosingSignals) {
        if (handled[signal])
            std::signal(signal, SIG_DFL);
        handled[signal] = false;
    }
    // The deadline's timer keeps ticking through the rest of the way out: what
    // follows (the application's teardown) may hang too.
    for (int &end : signalPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}
