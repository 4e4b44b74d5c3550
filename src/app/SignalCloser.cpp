#include "app/SignalCloser.h"

#include <QSocketNotifier>

#include <csignal>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The closing sequence hurries after a few seconds; this is the last word when
// even that is stuck (a call that never returns), so a signal always ends us.
constexpr unsigned HardDeadlineSeconds = 4;
constexpr int ClosingSignals[] = {SIGTERM, SIGINT, SIGHUP};

int signalPipe[2] = {-1, -1};
volatile sig_atomic_t deadlineArmed = 0;

void onTerminationSignal(int)
{
    // Only async-signal-safe work here: wake the event loop through the pipe.
    if (!deadlineArmed) {
        deadlineArmed = 1;
        ::alarm(HardDeadlineSeconds);
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void onCloseDeadline(int)
{
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
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : ClosingSignals)
        sigaction(signal, &action, nullptr);
    action.sa_handler = onCloseDeadline;
    sigaction(SIGALRM, &action, nullptr);
    // Standard error may be a pipe whose reader went with the terminal; telling
    // what happened must not end the program before its settings are saved.
    std::signal(SIGPIPE, SIG_IGN);
}

SignalCloser::~SignalCloser()
{
    for (int signal : ClosingSignals)
        std::signal(signal, SIG_DFL);
    for (int &end : signalPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}
