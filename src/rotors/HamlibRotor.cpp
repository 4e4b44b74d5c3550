#include "rotors/HamlibRotor.h"

#include "process/LogCategories.h"
#include "rotors/HamlibBackend.h"
#include "rotors/HamlibLibrary.h"

#include <hamlib/rig.h>

#include <QMetaObject>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Short enough that a dead controller answers a request within about a second.
constexpr int TimeoutMs = 1000;
constexpr int Retries = 0;
constexpr auto PollInterval = std::chrono::seconds(1);

struct Job {
    bool stop = false;
    HamlibConnection connection;
    double azimuth = 0;
    double elevation = 0;
    HamlibRotor::Done done;
};

} // namespace

struct HamlibRotor::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::optional<Job> waitingStop;
    std::optional<Job> waitingGo;
    std::optional<HamlibConnection> waitingRead;
    bool releasing = false;
    bool quitting = false;
    bool working = false;
    // Null once the owner is gone: nothing is reported any more.
    HamlibRotor *owner = nullptr;
    std::thread worker;

    bool waiting() const { return waitingStop || waitingGo || waitingRead || releasing || quitting; }

    // Hands a report to the owner's thread; called with the mutex held.
    template <typename Report>
    void report(Report deliver)
    {
        if (owner)
            QMetaObject::invokeMethod(owner, [target = owner, deliver] { deliver(*target); }, Qt::QueuedConnection);
    }
    void answer(HamlibRotor::Done done, int status)
    {
        if (done)
            report([done, status](HamlibRotor &) { done(status); });
    }
};

HamlibRotor::HamlibRotor(QObject *parent) : QObject(parent), m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    m_shared->worker = std::thread(&HamlibRotor::run, m_shared);
}

HamlibRotor::~HamlibRotor()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->owner = nullptr;
    m_shared->quitting = true;
    m_shared->wake.notify_one();
    const bool stuck = m_shared->working;
    lock.unlock();
    // A worker blocked in the library is not waited for: the process may end
    // under it, and the owner it would report to is gone.
    if (stuck) {
        qCWarning(hamlibLog, "the library has not returned; its worker is left behind");
        m_shared->worker.detach();
    } else {
        m_shared->worker.join();
    }
}

void HamlibRotor::go(const HamlibConnection &connection, double azimuth, double elevation, Done done)
{
    const std::lock_guard lock(m_shared->mutex);
    if (m_shared->waitingGo)
        m_shared->answer(m_shared->waitingGo->done, Overtaken);
    m_shared->waitingGo = Job {false, connection, azimuth, elevation, std::move(done)};
    m_shared->releasing = false;
    m_shared->wake.notify_one();
}

void HamlibRotor::stop(const HamlibConnection &connection, Done done)
{
    const std::lock_guard lock(m_shared->mutex);
    if (m_shared->waitingGo)
        m_shared->answer(std::exchange(m_shared->waitingGo, std::nullopt)->done, Overtaken);
    if (m_shared->waitingStop)
        m_shared->answer(m_shared->waitingStop->done, Overtaken);
    m_shared->waitingStop = Job {true, connection, 0, 0, std::move(done)};
    m_shared->releasing = false;
    m_shared->wake.notify_one();
}

void HamlibRotor::read(const HamlibConnection &connection)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->waitingRead = connection;
    m_shared->releasing = false;
    m_shared->wake.notify_one();
}

void HamlibRotor::release()
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->waitingRead.reset();
    m_shared->releasing = true;
    m_shared->wake.notify_one();
}

bool HamlibRotor::idle() const
{
    const std::lock_guard lock(m_shared->mutex);
    return !m_shared->working && !m_shared->waiting();
}

void HamlibRotor::run(std::shared_ptr<Shared> shared)
{
    std::unique_ptr<HamlibDevice> device;
    std::optional<HamlibConnection> current;
    bool opened = false;
    auto nextPoll = std::chrono::steady_clock::now();

    const auto closeDevice = [&] {
        device.reset();
        current.reset();
        opened = false;
    };
    // Opens on the first request for a connection, and again after a failed open
    // or a lost link; another connection closes the one open first.
    const auto ensureOpen = [&](const HamlibConnection &connection) -> int {
        if (current != connection)
            closeDevice();
        current = connection;
        if (opened)
            return RIG_OK;
        HamlibBackend *backend = HamlibLibrary::backend();
        if (!device && backend)
            device = backend->device(connection.model, connection.port.toUtf8(), connection.baudRate, TimeoutMs,
                                     Retries);
        if (!device)
            return -RIG_ENIMPL;
        const int status = device->open();
        opened = status == RIG_OK;
        return status;
    };
    const auto afterCall = [&](int status) {
        qCDebug(hamlibLog, "%s: gave %d", current ? qUtf8Printable(current->port) : "-", status);
        // A link that broke (an unplugged adapter, a server gone) is opened afresh
        // by the next request.
        if (status == -RIG_EIO && opened) {
            device->close();
            opened = false;
        }
    };

    std::unique_lock lock(shared->mutex);
    for (;;) {
        const bool polling = current && current->readPosition && opened && !shared->releasing;
        if (polling)
            shared->wake.wait_until(lock, nextPoll, [&] { return shared->waiting(); });
        else
            shared->wake.wait(lock, [&] { return shared->waiting(); });
        if (shared->quitting)
            break;

        // A STOP asked after a GO that still waits has dropped it already.
        std::optional<Job> job = shared->waitingStop ? std::exchange(shared->waitingStop, std::nullopt)
                                                     : std::exchange(shared->waitingGo, std::nullopt);
        std::optional<HamlibConnection> reading;
        if (!job) {
            reading = std::exchange(shared->waitingRead, std::nullopt);
            if (!reading && polling && std::chrono::steady_clock::now() >= nextPoll)
                reading = current;
        }
        if (!job && !reading) {
            if (shared->releasing) {
                shared->releasing = false;
                lock.unlock();
                closeDevice();
                lock.lock();
                shared->report([](HamlibRotor &owner) { Q_EMIT owner.becameIdle(); });
            }
            continue;
        }
        shared->working = true;
        lock.unlock();

        std::optional<double> position;
        int status = ensureOpen(job ? job->connection : *reading);
        if (status == RIG_OK) {
            if (job && job->stop) {
                status = device->stop();
            } else if (job) {
                status = device->setPosition(job->azimuth, job->elevation);
            } else {
                double azimuth = 0;
                status = device->position(&azimuth);
                // A controller that answers nonsense has not told where it is.
                if (status == RIG_OK && std::isfinite(azimuth))
                    position = azimuth;
            }
        }
        afterCall(status);
        // Where it came to rest, or where it starts from, is asked at once.
        nextPoll = std::chrono::steady_clock::now() + (job ? std::chrono::seconds(0) : PollInterval);

        lock.lock();
        shared->working = false;
        if (job)
            shared->answer(job->done, status);
        else
            shared->report([position](HamlibRotor &owner) { Q_EMIT owner.positionRead(position); });
        if (!job && status != RIG_OK)
            shared->report([status](HamlibRotor &owner) { Q_EMIT owner.readFailed(status); });
        if (!shared->waiting())
            shared->report([](HamlibRotor &owner) { Q_EMIT owner.becameIdle(); });
    }
    lock.unlock();
    closeDevice();
}
