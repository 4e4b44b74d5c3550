// Measures the built program from outside, side by side with a Python UDP receiver
// that writes the same bytes (the floor) and with Hamlib's rotctld when installed:
// the latency from a datagram or a rotctld P to the controller's first byte read by
// a separate process, CPU per datagram in a burst, whether the newest target of a
// flood is the last command, start-up time to the first paint and resident memory
// against a Qt window with one line of text (and gpredict when installed), the
// service program's start to serving against rotctld, and idle CPU. The load
// average is printed around each part. Figures are printed with their targets,
// never asserted. Run under an X server:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_program
#include "support/PseudoTerminal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#ifdef BENCH_HAVE_XCB_DAMAGE
#include <xcb/damage.h>
#include <xcb/xcb.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// What a controller receives, with arrival times. The pseudo-terminal is read by a
// process of its own blocked in read(), as a simulator or a serial bridge reads it,
// so a program that keeps the core busy after its write delays the reader as it
// would delay them; the arrivals reach the bench through a pipe.
class Line {
public:
    Line()
    {
        int pipeFds[2];
        if (!m_pty.isValid() || ::pipe2(pipeFds, O_CLOEXEC) != 0)
            return;
        m_reader = ::fork();
        if (m_reader == 0) {
            ::close(pipeFds[0]);
            readForever(m_pty.masterFd(), pipeFds[1]);
        }
        ::close(pipeFds[1]);
        m_pipe = pipeFds[0];
        m_thread = std::thread([this] { collect(); });
    }
    ~Line()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_reader > 0) {
            ::kill(m_reader, SIGKILL);
            ::waitpid(m_reader, nullptr, 0);
        }
        if (m_pipe >= 0)
            ::close(m_pipe);
    }
    bool isValid() const { return m_pty.isValid() && m_reader > 0; }
    QString devicePath() const { return m_pty.slavePath(); }

    qsizetype size() const
    {
        std::lock_guard lock(m_mutex);
        return m_bytes.size();
    }
    QByteArray bytes() const
    {
        std::lock_guard lock(m_mutex);
        return m_bytes;
    }
    // When the first byte after `offset` arrived, waiting up to `timeoutMs` for it.
    std::optional<Clock::time_point> arrivalAfter(qsizetype offset, int timeoutMs) const
    {
        std::unique_lock lock(m_mutex);
        m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_bytes.size() > offset; });
        const auto it = std::lower_bound(m_arrivals.begin(), m_arrivals.end(), offset,
                                         [](const auto &arrival, qsizetype at) { return arrival.first < at; });
        if (it == m_arrivals.end())
            return std::nullopt;
        return it->second;
    }
    // Waits until the line ends with `tail` and has then been quiet for `quietMs`.
    bool settlesOn(const QByteArray &tail, int quietMs, int timeoutMs) const
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            {
                std::lock_guard lock(m_mutex);
                if (m_bytes.endsWith(tail) && msBetween(m_arrivals.back().second, Clock::now()) >= quietMs)
                    return true;
            }
            sleepMs(5);
        }
        return false;
    }

private:
    // One record per read(): its time on the monotonic clock, its length, its bytes.
    struct Record {
        qint64 ns;
        qint64 length;
    };

    // The reader process: nothing but blocking reads and writes, safe after fork().
    [[noreturn]] static void readForever(int master, int out)
    {
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) & ~O_NONBLOCK);
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                ::_exit(0);
            const Record record {Clock::now().time_since_epoch().count(), n};
            if (::write(out, &record, sizeof record) != sizeof record || ::write(out, buffer, size_t(n)) != n)
                ::_exit(0);
        }
    }

    bool readFully(void *into, size_t size)
    {
        char *at = static_cast<char *>(into);
        while (size > 0) {
            const ssize_t n = ::read(m_pipe, at, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            at += n;
            size -= size_t(n);
        }
        return true;
    }

    void collect()
    {
        while (!m_stop) {
            pollfd pfd {m_pipe, POLLIN, 0};
            if (::poll(&pfd, 1, 20) <= 0)
                continue;
            Record record {};
            if (!readFully(&record, sizeof record))
                return;
            QByteArray bytes(record.length, Qt::Uninitialized);
            if (!readFully(bytes.data(), size_t(record.length)))
                return;
            std::lock_guard lock(m_mutex);
            m_arrivals.emplace_back(m_bytes.size(), Clock::time_point(Clock::duration(record.ns)));
            m_bytes.append(bytes);
            m_arrived.notify_all();
        }
    }

    PseudoTerminal m_pty;
    pid_t m_reader = -1;
    int m_pipe = -1;
    std::atomic<bool> m_stop = false;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    QByteArray m_bytes;
    std::vector<std::pair<qsizetype, Clock::time_point>> m_arrivals;
    std::thread m_thread;
};

quint16 freePort(int type)
{
    const int fd = ::socket(AF_INET, type, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

sockaddr_in loopback(quint16 port)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

QByteArray goazi(int azimuth)
{
    return "<goazi>" + QByteArray::number(azimuth) + "</goazi>";
}

// /proc/net/udp: "sl local rem st tx:rx tr:when retrnsmt uid timeout inode ref pointer drops".
std::optional<QList<QByteArray>> udpSocket(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/udp"));
    if (!table.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray wanted = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 12 && fields.at(1).endsWith(wanted))
            return fields;
    }
    return std::nullopt;
}

qint64 udpDrops(quint16 port)
{
    const auto fields = udpSocket(port);
    return fields ? fields->last().toLongLong() : -1;
}

// Time on a CPU of every thread of the process, in nanoseconds.
qint64 cpuNs(qint64 pid)
{
    qint64 total = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (stat.open(QIODevice::ReadOnly))
            total += stat.readAll().split(' ').value(0).toLongLong();
    }
    return total;
}

qint64 rssKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

struct Stats {
    double p10 = 0;
    double p90 = 0;
    double median = 0;
    double p99 = 0;
    int samples = 0;
};

Stats statsOf(std::vector<double> values)
{
    Stats stats;
    stats.samples = int(values.size());
    if (values.empty())
        return stats;
    std::sort(values.begin(), values.end());
    stats.median = values[values.size() / 2];
    stats.p10 = values[values.size() / 10];
    stats.p90 = values[values.size() * 9 / 10];
    stats.p99 = values[std::min(values.size() - 1, size_t(double(values.size()) * 0.99))];
    return stats;
}

void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

// The Python floor: receive, cut out the azimuth, write the GS-232 command.
const char *const PythonFloor = R"(
import os, socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", int(sys.argv[1])))
fd = os.open(sys.argv[2], os.O_WRONLY | os.O_NOCTTY)
print("ready", flush=True)
while True:
    d = s.recv(65536)
    a = d.find(b"<goazi>")
    b = d.find(b"</goazi>")
    if 0 <= a < b:
        v = d[a + 7:b].split(b".")[0].split(b",")[0]
        os.write(fd, b"W%03d\r" % int(v))
)";

// One program that turns requests into controller bytes.
struct Subject {
    QString name;
    Line line;
    QProcess process;
    quint16 port = 0;
    int socketFd = -1; // UDP sender, or the TCP connection to rotctld
    bool tcp = false;
    std::vector<double> latencies;
    std::vector<double> replies; // a Hamlib client's P to its RPRT

    ~Subject()
    {
        if (socketFd >= 0)
            ::close(socketFd);
        stopProcess(process);
    }

    bool send(const QByteArray &udpRequest, const QByteArray &tcpRequest) const
    {
        if (tcp) {
            char discard[4096];
            while (::recv(socketFd, discard, sizeof discard, MSG_DONTWAIT) > 0) {
            }
            return ::send(socketFd, tcpRequest.constData(), tcpRequest.size(), 0) == tcpRequest.size();
        }
        const sockaddr_in to = loopback(port);
        return ::sendto(socketFd, udpRequest.constData(), udpRequest.size(), 0,
                        reinterpret_cast<const sockaddr *>(&to), sizeof to) == udpRequest.size();
    }
};

bool waitFor(const std::function<bool()> &ready, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        if (ready())
            return true;
        sleepMs(10);
    }
    return false;
}

int udpSender()
{
    return ::socket(AF_INET, SOCK_DGRAM, 0);
}

bool startPython(Subject &subject)
{
    subject.name = QStringLiteral("python floor");
    subject.port = freePort(SOCK_DGRAM);
    subject.socketFd = udpSender();
    subject.process.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(PythonFloor),
                                                      QString::number(subject.port), subject.line.devicePath()});
    return subject.process.waitForReadyRead(10000);
}

// A TCP connection to port on loopback, or -1 while nobody listens there.
int connectTcp(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in to = loopback(port);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

bool connectSubject(Subject &subject)
{
    subject.tcp = true;
    return waitFor(
        [&] {
            subject.socketFd = connectTcp(subject.port);
            return subject.socketFd >= 0;
        },
        20000);
}

// Hamlib's GS-232A azimuth-only model: one write per position, nothing read back.
constexpr int HamlibModel = 609;

bool startRotctld(Subject &subject)
{
    subject.name = QStringLiteral("rotctld");
    subject.port = freePort(SOCK_STREAM);
    subject.process.start(QStringLiteral("rotctld"),
                          {QStringLiteral("-m"), QString::number(HamlibModel), QStringLiteral("-r"),
                           subject.line.devicePath(), QStringLiteral("-T"), QStringLiteral("127.0.0.1"),
                           QStringLiteral("-t"), QString::number(subject.port)});
    return subject.process.waitForStarted(5000) && connectSubject(subject);
}

// The program measured: this build's, or another one named by BENCH_PROGRAM (a
// build of an earlier version, to compare the two in the same conditions).
QString programUnderTest()
{
    return qEnvironmentVariable("BENCH_PROGRAM", QStringLiteral(ORVANTIS_EXECUTABLE));
}

// The service program built beside the program measured; empty for a build that
// has none (one from before the two programs, where --headless ran in the program).
QString serviceUnderTest()
{
    const QString service = QFileInfo(programUnderTest()).dir().filePath(QStringLiteral("orvantis-service"));
    return QFileInfo(service).isExecutable() ? service : QString();
}

// A folder holding a copy of the program and of its service, its Orvantis.ini and
// dosdevices/com5.
struct ProgramFolder {
    QTemporaryDir dir;
    QString program;
    QString service; // empty when the build has none

    // rotctldPort 0 leaves the rotctld server off; hamlibModel 0 drives the GS-232
    // itself, another number drives it through that model of Hamlib's library.
    bool prepare(const QString &controllerDevice, quint16 udpPort, quint16 rotctldPort = 0, int hamlibModel = 0)
    {
        program = dir.filePath(QStringLiteral("orvantis"));
        QFile::remove(program);
        if (!QFile::copy(programUnderTest(), program))
            return false;
        if (!serviceUnderTest().isEmpty()) {
            service = dir.filePath(QStringLiteral("orvantis-service"));
            QFile::remove(service);
            if (!QFile::copy(serviceUnderTest(), service))
                return false;
        }
        QDir(dir.path()).mkpath(QStringLiteral("dosdevices"));
        QFile::link(controllerDevice, dir.filePath(QStringLiteral("dosdevices/com5")));
        QFile ini(dir.filePath(QStringLiteral("Orvantis.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return false;
        // The program listens on PORTKORU + ANTKORU, and an antenna below 1 counts as 16.
        ini.write((hamlibModel ? "ANT=HAMLIB\r\n" : "ANT=GS232\r\nPORT_GS232=5\r\nSTEP_GS232=0\r\n")
                  + QByteArray("AUTO=1\r\nSERVER=KORU\r\nPORTKORU=") + QByteArray::number(udpPort - 1)
                  + "\r\nANTKORU=1\r\n");
        if (hamlibModel != 0)
            ini.write("[HAMLIB]\r\nHAMLIB_MODEL=" + QByteArray::number(hamlibModel)
                      + "\r\nPORT_HAMLIB=5\r\nSTEP_HAMLIB=0\r\n");
        if (rotctldPort != 0)
            ini.write("[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_PORT=" + QByteArray::number(rotctldPort) + "\r\n");
        return true;
    }
};

// Starts the copy of the program in the folder, with the folder's settings.
bool launchInFolder(Subject &subject, ProgramFolder &folder)
{
    subject.process.setWorkingDirectory(folder.dir.path());
    subject.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    subject.process.start(folder.program, {});
    return subject.process.waitForStarted(5000);
}

// The program steered by datagrams; through Hamlib's library when hamlibModel is set.
bool startOrvantis(Subject &subject, ProgramFolder &folder, int hamlibModel = 0)
{
    subject.name = hamlibModel ? QStringLiteral("orvantis H") : QStringLiteral("orvantis");
    subject.port = freePort(SOCK_DGRAM);
    subject.socketFd = udpSender();
    return folder.prepare(subject.line.devicePath(), subject.port, 0, hamlibModel) && launchInFolder(subject, folder)
        && waitFor([&] { return udpSocket(subject.port).has_value(); }, 20000);
}

// The same program steered as a Hamlib client steers it, through its rotctld server.
bool startOrvantisRotctld(Subject &subject, ProgramFolder &folder)
{
    subject.name = QStringLiteral("orvantis P");
    subject.port = freePort(SOCK_STREAM);
    return folder.prepare(subject.line.devicePath(), freePort(SOCK_DGRAM), subject.port)
        && launchInFolder(subject, folder) && connectSubject(subject);
}

// What else runs: the load average, and the cores this bench and its children may use.
void printLoad(const char *when)
{
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QList<QByteArray> fields =
        loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll().split(' ') : QList<QByteArray>();
    std::printf("[load average %s: %s %s %s]\n", when, fields.value(0).constData(), fields.value(1).constData(),
                fields.value(2).constData());
}

int usableCores()
{
    cpu_set_t set;
    return ::sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
}

// Start to serving Hamlib clients, and resident memory a second later.
struct ServerStart {
    double listeningMs = -1;
    qint64 rssKb = -1;
};

ServerStart measureServerStart(const QString &program, const QStringList &arguments, const QString &folder,
                               quint16 port)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ServerStart result;
    const Clock::time_point start = Clock::now();
    process.start(program, arguments);
    const auto deadline = start + std::chrono::seconds(20);
    while (Clock::now() < deadline && process.state() != QProcess::NotRunning) {
        if (const int fd = connectTcp(port); fd >= 0) {
            result.listeningMs = msBetween(start, Clock::now());
            ::close(fd);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    sleepMs(1000);
    result.rssKb = rssKb(process.processId());
    stopProcess(process);
    return result;
}

// A burst of datagrams sent as fast as the sender can, never waiting for the
// receiver. The last one asks for `finalAzimuth`, which no earlier one does.
void blast(const Subject &subject, int count, int finalAzimuth)
{
    std::vector<QByteArray> datagrams;
    datagrams.reserve(count);
    for (int i = 0; i < count - 1; ++i)
        datagrams.push_back(goazi(i % 350));
    datagrams.push_back(goazi(finalAzimuth));
    const sockaddr_in to = loopback(subject.port);
    for (const QByteArray &d : datagrams)
        ::sendto(subject.socketFd, d.constData(), d.size(), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to);
}

struct BurstResult {
    double cpuUsPerDatagram = 0;
    qint64 drops = 0;
    bool newestLast = false;
};

BurstResult burst(Subject &subject, int count, int finalAzimuth)
{
    const qint64 pid = subject.process.processId();
    const qint64 drops = udpDrops(subject.port);
    const qint64 cpu = cpuNs(pid);
    blast(subject, count, finalAzimuth);
    const QByteArray tail = QStringLiteral("W%1\r").arg(finalAzimuth, 3, 10, QLatin1Char('0')).toLatin1();
    BurstResult result;
    result.newestLast = subject.line.settlesOn(tail, 300, 20000);
    // Whatever came after the final command would have shown up in the quiet time.
    result.drops = udpDrops(subject.port) - drops;
    result.cpuUsPerDatagram = double(cpuNs(pid) - cpu) / 1000.0 / double(count - result.drops);
    return result;
}

// Start-ups of each program: one start-up varies by several milliseconds on a
// virtual machine, so a median of few would move the ratio by tenths.
constexpr int StartupRuns = 21;

#ifdef BENCH_HAVE_XCB_DAMAGE

// Start-up from exec to the first drawing into any of the program's top-level
// windows, seen through the X Damage extension; resident memory a second later.
class StartupWatcher {
public:
    StartupWatcher()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_query_extension_reply_t *damage = xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            return;
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_ready = true;
    }
    ~StartupWatcher()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
    }
    bool isReady() const { return m_ready; }

    struct Figures {
        double firstPaintMs = -1;
        qint64 rssKb = -1;
    };

    Figures measure(const QString &program, const QStringList &arguments, const QString &workingDirectory)
    {
        drain();
        QProcess process;
        process.setWorkingDirectory(workingDirectory);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        std::vector<xcb_window_t> windows;
        Figures figures;
        const Clock::time_point start = Clock::now();
        process.start(program, arguments);
        const auto deadline = start + std::chrono::seconds(20);
        while (figures.firstPaintMs < 0 && Clock::now() < deadline) {
            pollfd pfd {xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&pfd, 1, 10);
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const uint8_t type = event->response_type & 0x7f;
                if (type == XCB_CREATE_NOTIFY) {
                    const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
                    const xcb_damage_damage_t damage = xcb_generate_id(m_connection);
                    xcb_damage_create(m_connection, damage, created->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                    xcb_flush(m_connection);
                    windows.push_back(created->window);
                } else if (type == m_damageEvent && figures.firstPaintMs < 0) {
                    const auto *damaged = reinterpret_cast<xcb_damage_notify_event_t *>(event);
                    if (std::find(windows.begin(), windows.end(), damaged->drawable) != windows.end())
                        figures.firstPaintMs = msBetween(start, Clock::now());
                }
                free(event);
            }
        }
        sleepMs(1000);
        figures.rssKb = rssKb(process.processId());
        stopProcess(process);
        return figures;
    }

private:
    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            free(event);
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    uint8_t m_damageEvent = 0;
    bool m_ready = false;
};
#endif

// Figures from a program that has gone are worthless; say why it went.
bool stillRunning(const Subject &subject)
{
    if (subject.process.state() != QProcess::NotRunning)
        return true;
    std::printf("  %s has exited (%s, code %d): the figures after this are not valid\n", qPrintable(subject.name),
                subject.process.exitStatus() == QProcess::CrashExit ? "crashed or killed" : "normal exit",
                subject.process.exitCode());
    return false;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

const char *verdict(bool met)
{
    return met ? "met" : "MISSED";
}

// BENCH_PARTS (start-up, headless, latency, bursts; comma-separated) picks the parts
// to run, all of them by default: one part alone is quicker to repeat.
bool wanted(const char *part)
{
    const QString parts = qEnvironmentVariable("BENCH_PARTS");
    return parts.isEmpty() || parts.split(QLatin1Char(',')).contains(QLatin1String(part));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_program: needs an X display; run it under xvfb-run -a\n");
        return 1;
    }
    const int rounds = argc > 1 ? std::max(10, atoi(argv[1])) : 200;
    // The programs measured want a runtime folder of their own.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }
    const int cores = usableCores();
    // Sharing one core, the reader and the program take turns: the targets allow for it.
    const double floorTarget = cores > 1 ? 1.3 : 1.5;
    std::printf("Orvantis measured from outside: %s\n", qPrintable(programUnderTest()));
    std::printf("cores usable by every process of this run: %d%s\n\n", cores,
                qEnvironmentVariableIsSet("BENCH_LOAD") ? qPrintable(QStringLiteral(", beside ") +
                                                                     qEnvironmentVariable("BENCH_LOAD"))
                                                        : "");

    // Start-up and memory first, while nothing else of ours runs.
#ifdef BENCH_HAVE_XCB_DAMAGE
    if (wanted("start-up")) {
        printLoad("before start-up");
        StartupWatcher watcher;
        Line controller;
        ProgramFolder folder;
        if (watcher.isReady() && folder.prepare(controller.devicePath(), freePort(SOCK_DGRAM))) {
            const QString gpredict = QStandardPaths::findExecutable(QStringLiteral("gpredict"));
            std::vector<double> ours, worded, paired, peer, oursRss, wordedRss, peerRss;
            const QString yardstick = QStringLiteral(BARE_WINDOW_EXECUTABLE);
            for (int run = 0; run < StartupRuns; ++run) {
                // Who starts first changes every run: the first start after a pause
                // finds the machine in another state than the second.
                StartupWatcher::Figures o, w;
                if (run % 2 == 0) {
                    o = watcher.measure(folder.program, {}, folder.dir.path());
                    w = watcher.measure(yardstick, {QStringLiteral("--text")}, folder.dir.path());
                } else {
                    w = watcher.measure(yardstick, {QStringLiteral("--text")}, folder.dir.path());
                    o = watcher.measure(folder.program, {}, folder.dir.path());
                }
                if (o.firstPaintMs > 0 && w.firstPaintMs > 0) {
                    ours.push_back(o.firstPaintMs);
                    worded.push_back(w.firstPaintMs);
                    paired.push_back(o.firstPaintMs / w.firstPaintMs);
                    oursRss.push_back(double(o.rssKb));
                    wordedRss.push_back(double(w.rssKb));
                }
                if (!gpredict.isEmpty()) {
                    const auto g = watcher.measure(gpredict, {}, folder.dir.path());
                    if (g.firstPaintMs > 0) {
                        peer.push_back(g.firstPaintMs);
                        peerRss.push_back(double(g.rssKb));
                    }
                }
            }
            // The median of the runs' own ratios: each pair shares the machine's mood.
            const double startRatio = median(paired);
            const double rssRatio = median(oursRss) / median(wordedRss);
            std::printf("start-up, exec to first paint (median of %zu): orvantis %.1f ms, a Qt window with one line"
                        " of text %.1f ms\n",
                        ours.size(), median(ours), median(worded));
            std::printf("  ratio %.2f (target <= 1.2: %s)\n", startRatio, verdict(startRatio <= 1.2));
            std::printf("resident memory 1 s after first paint: orvantis %.0f KB, the one-line window %.0f KB\n",
                        median(oursRss), median(wordedRss));
            std::printf("  ratio %.2f (target <= 1.2: %s)\n", rssRatio, verdict(rssRatio <= 1.2));
            if (!peer.empty()) {
                std::printf("  gpredict %.1f ms, %.0f KB: orvantis takes %.2f of its time (target <= 0.4: %s),"
                            " %.2f of its memory\n",
                            median(peer), median(peerRss), median(ours) / median(peer),
                            verdict(median(ours) <= 0.4 * median(peer)), median(oursRss) / median(peerRss));
            } else {
                std::printf("  gpredict not installed: not compared\n");
            }
        } else {
            std::printf("start-up: the X server offers no Damage extension; not measured\n");
        }
        printLoad("after start-up");
        std::printf("\n");
    }
#else
    std::printf("start-up: built without xcb-damage (libxcb-damage0-dev); not measured\n\n");
#endif

    const bool haveRotctld = !QStandardPaths::findExecutable(QStringLiteral("rotctld")).isEmpty();
    if (haveRotctld && wanted("headless")) {
        // The tower's server: orvantis-service (what the user unit runs) against
        // Hamlib's rotctld with its dummy rotator.
        printLoad("before headless");
        Line controller;
        ProgramFolder folder;
        std::vector<double> ours, peer, oursRss, peerRss;
        for (int run = 0; run < StartupRuns; ++run) {
            const quint16 port = freePort(SOCK_STREAM);
            if (!folder.prepare(controller.devicePath(), freePort(SOCK_DGRAM), port))
                break;
            const ServerStart o =
                folder.service.isEmpty()
                    ? measureServerStart(folder.program, {QStringLiteral("--headless")}, folder.dir.path(), port)
                    : measureServerStart(folder.service, {}, folder.dir.path(), port);
            const quint16 peerPort = freePort(SOCK_STREAM);
            const ServerStart r = measureServerStart(
                QStringLiteral("rotctld"),
                {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"), QStringLiteral("127.0.0.1"),
                 QStringLiteral("-t"), QString::number(peerPort)},
                folder.dir.path(), peerPort);
            if (o.listeningMs > 0 && r.listeningMs > 0) {
                ours.push_back(o.listeningMs);
                peer.push_back(r.listeningMs);
                oursRss.push_back(double(o.rssKb));
                peerRss.push_back(double(r.rssKb));
            }
        }
        if (!ours.empty()) {
            std::printf("headless, start to serving rotctld (median of %zu): %s %.1f ms, "
                        "rotctld -m 1 %.1f ms\n",
                        ours.size(), serviceUnderTest().isEmpty() ? "orvantis --headless" : "orvantis-service",
                        median(ours), median(peer));
            std::printf("  ratio %.2f (target <= 2: %s)\n", median(ours) / median(peer),
                        verdict(median(ours) <= 2 * median(peer)));
            std::printf("  resident memory %.0f KB against %.0f KB, ratio %.2f (target <= 3: %s)\n", median(oursRss),
                        median(peerRss), median(oursRss) / median(peerRss),
                        verdict(median(oursRss) <= 3 * median(peerRss)));
        } else {
            std::printf("headless: did not come up serving; not measured\n");
        }
        printLoad("after headless");
        std::printf("\n");
    }

    // The folders outlive the programs: each one saves its settings there as it stops.
    ProgramFolder folder, rotctldFolder, hamlibFolder;
    Subject python, rotctld, orvantis, orvantisRotctld, orvantisHamlib;
    if (!python.line.isValid() || !startPython(python)) {
        std::fprintf(stderr, "bench_program: the Python floor did not start\n");
        return 1;
    }
    if (haveRotctld && !startRotctld(rotctld)) {
        std::fprintf(stderr, "bench_program: rotctld did not start\n");
        return 1;
    }
    if (!haveRotctld)
        std::printf("rotctld not installed (Debian: libhamlib-utils); compared with the floor only\n");
    if (!startOrvantis(orvantis, folder) || !startOrvantisRotctld(orvantisRotctld, rotctldFolder)
        || !startOrvantis(orvantisHamlib, hamlibFolder, HamlibModel)) {
        std::fprintf(stderr, "bench_program: orvantis did not start\n");
        return 1;
    }

    // Idle: after start-up has settled (the track lamp's first 3.6 s tick is over).
    sleepMs(4500);
    const qint64 idleStart = cpuNs(orvantis.process.processId());
    sleepMs(3000);
    const double idleUs = double(cpuNs(orvantis.process.processId()) - idleStart) / 1000.0;
    std::printf("idle CPU over 3 s: %.0f us (target zero: %s)\n\n", idleUs, verdict(idleUs < 1.0));

    if (wanted("latency")) {
        // Latency, one request each in turn, so all of them share the machine's moods;
        // who goes first changes every round, since the first one after the gap
        // wakes an idle machine. The gap outlasts Orvantis's 50 ms pause after a command.
        printLoad("before latency");
        std::vector<Subject *> subjects {&orvantis, &orvantisRotctld, &orvantisHamlib, &python};
        if (haveRotctld)
            subjects.push_back(&rotctld);
        for (int round = 0; round < rounds; ++round) {
            const int azimuth = 100 + (round % 2) * 100 + round % 50;
            for (size_t turn = 0; turn < subjects.size(); ++turn) {
                Subject *subject = subjects[(size_t(round) + turn) % subjects.size()];
                const qsizetype offset = subject->line.size();
                const Clock::time_point sent = Clock::now();
                if (!subject->send(goazi(azimuth), "P " + QByteArray::number(azimuth) + " 0\n"))
                    continue;
                if (const auto arrived = subject->line.arrivalAfter(offset, 1000))
                    subject->latencies.push_back(msBetween(sent, *arrived));
                pollfd reply {subject->socketFd, POLLIN, 0};
                if (subject->tcp && ::poll(&reply, 1, 1000) == 1)
                    subject->replies.push_back(msBetween(sent, Clock::now()));
            }
            sleepMs(70);
        }
        printLoad("after latency");
        std::printf("latency, request sent to the first byte read by a separate process (%d rounds):\n", rounds);
        for (const Subject *subject : subjects) {
            const Stats s = statsOf(subject->latencies);
            std::printf("  %-13s median %.3f ms  p99 %.3f ms  (p10 %.3f, p90 %.3f; %d answered)\n",
                        qPrintable(subject->name), s.median, s.p99, s.p10, s.p90, s.samples);
        }
        if (!stillRunning(orvantis) || !stillRunning(orvantisRotctld) || !stillRunning(orvantisHamlib))
            return 1;
        const Stats floor = statsOf(python.latencies);
        for (const Subject *subject : {&orvantis, &orvantisRotctld}) {
            const Stats ours = statsOf(subject->latencies);
            std::printf("  %s: %.2f x the floor (target <= %.1f: %s)", qPrintable(subject->name),
                        ours.median / floor.median, floorTarget, verdict(ours.median <= floorTarget * floor.median));
            if (haveRotctld) {
                const Stats peer = statsOf(rotctld.latencies);
                std::printf(", %.2f x rotctld (target <= 0.25: %s)", ours.median / peer.median,
                            verdict(ours.median <= 0.25 * peer.median));
            }
            std::printf(", p99 %.3f ms (target <= 1 ms: %s)\n", ours.p99, verdict(ours.p99 <= 1.0));
        }
        if (haveRotctld) {
            // Answered from the outcome: once the bytes have left, not after the pause.
            const Stats ours = statsOf(orvantisRotctld.replies);
            const Stats peer = statsOf(rotctld.replies);
            std::printf("  P to its reply: orvantis P median %.3f ms, rotctld %.3f ms: %.3f x rotctld (target <= 0.1: %s)\n",
                        ours.median, peer.median, ours.median / peer.median, verdict(ours.median <= 0.1 * peer.median));
            const double ratio = statsOf(orvantisHamlib.latencies).median / statsOf(rotctld.latencies).median;
            std::printf("  orvantis H, the same Hamlib model driven by Orvantis's worker: %.2f x rotctld (target <= 1.1: "
                        "%s)\n",
                        ratio, verdict(ratio <= 1.1));
        }
        // The floor receives, parses and writes too, and does nothing after its write:
        // what Orvantis takes beyond it is its own part, including anything it does
        // after its write while the reader waits for the core.
        std::printf("  the program's own part, orvantis minus the floor: %.0f us\n\n",
                    (statsOf(orvantis.latencies).median - floor.median) * 1000);
    }
    if (!wanted("bursts"))
        return 0;

    // Bursts of 10 000 datagrams, sent without regard for the receiver.
    printLoad("before bursts");
    constexpr int BurstSize = 10000;
    constexpr int Floods = 5;
    const BurstResult floorBurst = burst(python, BurstSize, 355);
    std::printf("burst of %d datagrams, python floor: %.1f us CPU per datagram read, %lld dropped\n", BurstSize,
                floorBurst.cpuUsPerDatagram, static_cast<long long>(floorBurst.drops));
    int newestLast = 0;
    std::optional<double> losslessCpu;
    for (int run = 0; run < Floods; ++run) {
        const int finalAzimuth = 351 + run % 9;
        const BurstResult r = burst(orvantis, BurstSize, finalAzimuth);
        newestLast += r.newestLast ? 1 : 0;
        if (r.drops == 0)
            losslessCpu = std::min(losslessCpu.value_or(r.cpuUsPerDatagram), r.cpuUsPerDatagram);
        std::printf("  flood %d: %.1f us CPU per datagram read, %lld dropped by the kernel, newest target %s\n",
                    run + 1, r.cpuUsPerDatagram, static_cast<long long>(r.drops),
                    r.newestLast ? "last on the line" : "NOT last");
        if (!stillRunning(orvantis))
            return 1;
        sleepMs(200);
    }
    if (losslessCpu) {
        std::printf("  CPU per datagram in a lossless burst (best run): %.1f us, %.2f x the floor (target <= 50 us: "
                    "%s)\n",
                    *losslessCpu, *losslessCpu / floorBurst.cpuUsPerDatagram, verdict(*losslessCpu <= 50));
    } else {
        std::printf("  no burst was lossless (target: lossless at <= 50 us per datagram: MISSED)\n");
    }
    std::printf("  newest target last in %d of %d floods (target every one: %s)\n", newestLast, Floods,
                verdict(newestLast == Floods));
    printLoad("after bursts");
    return 0;
}
