// Measures the road of one request inside one process: start-up time, the latency
// from a rotor datagram to the controller's first byte, and what a burst of
// datagrams turns into on the serial line. The controller side is read on a
// thread of its own, so the GUI thread's pauses do not distort the timings.
#include "app/MainWindow.h"
#include "config/SettingsFiles.h"
#include "rotors/RecordingPortIo.h"
#include "support/PseudoTerminal.h"
#include "support/RecordingFeedback.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Collects what the controller receives, with arrival times.
class LineWatcher {
public:
    explicit LineWatcher(int fd) : m_fd(fd), m_thread([this] { run(); }) {}
    ~LineWatcher()
    {
        m_stop = true;
        m_thread.join();
    }

    QByteArray bytes() const
    {
        std::lock_guard lock(m_mutex);
        return m_bytes;
    }
    // Arrival time of the first byte after `offset`, if any arrived.
    bool arrivalAfter(qsizetype offset, Clock::time_point *when) const
    {
        std::lock_guard lock(m_mutex);
        for (const auto &[start, time] : m_arrivals) {
            if (start >= offset) {
                *when = time;
                return true;
            }
        }
        return false;
    }

private:
    void run()
    {
        while (!m_stop) {
            pollfd pfd {m_fd, POLLIN, 0};
            if (::poll(&pfd, 1, 20) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            std::lock_guard lock(m_mutex);
            m_arrivals.emplace_back(m_bytes.size(), Clock::now());
            m_bytes.append(buffer, n);
        }
    }

    int m_fd;
    std::atomic<bool> m_stop = false;
    mutable std::mutex m_mutex;
    QByteArray m_bytes;
    std::vector<std::pair<qsizetype, Clock::time_point>> m_arrivals;
    std::thread m_thread;
};

quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

void spin(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir folder;
    PseudoTerminal controller;
    QDir(folder.path()).mkpath(QStringLiteral("dosdevices"));
    QFile::link(controller.slavePath(), folder.filePath(QStringLiteral("dosdevices/com5")));
    const quint16 port = freePort();
    QFile ini(folder.filePath(QStringLiteral("Orvantis.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write(QStringLiteral("ANT=GS232\r\nPORT_GS232=5\r\nSTEP_GS232=0\r\nAUTO=1\r\nSERVER=KORU\r\n"
                             "PORTKORU=%1\r\nANTKORU=0\r\n").arg(port).toLatin1());
    ini.close();

    SettingsFiles files(folder.path());
    RecordingFeedback feedback;
    RecordingPortIo portIo;
    QTemporaryDir emptyRoot;
    HostRoots roots {emptyRoot.path(), emptyRoot.path(), emptyRoot.path()};
    LineWatcher line(controller.masterFd());

    QElapsedTimer startUp;
    startUp.start();
    MainWindow window({files, feedback, portIo, roots});
    window.EnumerateComPorts();
    window.placeAngleDialog();
    window.show();
    while (!window.activatedOnce())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("start-up to first activation: %.1f ms\n", startUp.nsecsElapsed() / 1e6);

    QUdpSocket sender;
    const auto send = [&](int azimuth) {
        const QByteArray datagram = QStringLiteral("<goazi>%1</goazi>").arg(azimuth).toLatin1();
        sender.writeDatagram(datagram, QHostAddress::LocalHost, port);
    };

    std::vector<double> latencies;
    for (int i = 0; i < 50; ++i) {
        spin(80); // let the previous command's pause end
        const qsizetype offset = line.bytes().size();
        const Clock::time_point sent = Clock::now();
        send(i % 2 == 0 ? 100 + i : 200 + i);
        Clock::time_point arrived;
        QElapsedTimer wait;
        wait.start();
        while (!line.arrivalAfter(offset, &arrived) && wait.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (line.arrivalAfter(offset, &arrived))
            latencies.push_back(std::chrono::duration<double, std::milli>(arrived - sent).count());
    }
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        std::printf("datagram to first controller byte: median %.3f ms, worst %.3f ms (%zu samples)\n",
                    latencies[latencies.size() / 2], latencies.back(), latencies.size());
    }

    spin(100);
    const qsizetype before = line.bytes().size();
    QElapsedTimer burst;
    burst.start();
    constexpr int BurstSize = 2000;
    for (int i = 0; i < BurstSize; ++i) {
        send(i % 360);
        if (i % 50 == 0)
            QCoreApplication::processEvents(); // as a logger on the network would, not all at once
    }
    const QByteArray expectedEnd =
        QStringLiteral("W%1\r").arg((BurstSize - 1) % 360, 3, 10, QLatin1Char('0')).toLatin1();
    while (!line.bytes().endsWith(expectedEnd) && burst.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const QByteArray written = line.bytes().mid(before);
    std::printf("burst of %d datagrams: newest target %s after %.0f ms, %lld commands written, last %s\n",
                BurstSize, written.endsWith(expectedEnd) ? "on the line" : "NOT on the line",
                burst.nsecsElapsed() / 1e6, static_cast<long long>(written.count('\r')),
                written.right(60).replace("\r", " ").constData());

    window.close();
    return 0;
}
