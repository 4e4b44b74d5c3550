#include "rotors/HamlibRotor.h"

#include "config/LogCategories.h"
#include "rotors/HamlibBackend.h"
#include "rotors/HamlibLibrary.h"

#include <hamlib/rig.h>

#include <QMetaObject>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Short enough that a dead controller lets the close end within its limit.
constexpr int TimeoutMs = 1000;
constexpr int Retries = 0;
constexpr auto PollInterval = std::chrono::seconds(1);

struct Target {
    double azimuth;
    double elevation;
};

} // namespace

struct HamlibRotor::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable ended;
    std::optional<Target> waitingGo;
    bool waitingStop = false;
    bool waitingRead = false;
    bool closing = false;
    bool finished = false;
    // Null once the owner has let go: a worker abandoned in the library reports nothing.
    HamlibRotor *owner = nullptr;
    std::thread worker;

    // Hands a report to the owner's thread; called from the worker.
    template <typename Report>
    void report(Report deliver)
    {
        const std::lock_guard lock(mutex);
        if (owner)
            QMetaObject::invokeMethod(owner, [target = owner, deliver] { deliver(*target); }, Qt::QueuedConnection);
    }
};

HamlibRotor::HamlibRotor(const HamlibConnection &connection, QObject *parent)
    : QObject(parent), m_connection(connection), m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    m_shared->worker = std::thread(&HamlibRotor::run, m_shared, connection);
}

HamlibRotor::~HamlibRotor()
{
    close(CloseLimitMs);
}

void HamlibRotor::go(double azimuth, double elevation)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->waitingGo = Target {azimuth, elevation};
    m_shared->wake.notify_one();
}

void HamlibRotor::read()
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->waitingRead = true;
    m_shared->wake.notify_one();
}

void HamlibRotor::stop()
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->waitingGo.reset();
    m_shared->waitingStop = true;
    m_shared->wake.notify_one();
}

bool HamlibRotor::close(int waitMs)
{
    std::unique_lock lock(m_shared->mutex);
    if (!m_shared->worker.joinable())
        return m_shared->finished;
    m_shared->closing = true;
    m_shared->wake.notify_one();
    const bool ended = m_shared->ended.wait_for(lock, std::chrono::milliseconds(waitMs),
                                                [this] { return m_shared->finished; });
    m_shared->owner = nullptr;
    lock.unlock();
    if (ended) {
        m_shared->worker.join();
    } else {
        qCWarning(hamlibLog, "%s: the library did not return within %d ms; left behind",
                  qUtf8Printable(m_connection.port), waitMs);
        m_shared->worker.detach();
    }
    return ended;
}

void HamlibRotor::run(std::shared_ptr<Shared> shared, HamlibConnection connection)
{
    std::unique_ptr<HamlibDevice> device;
    bool opened = false;

    const auto outcome = [&](Step step, int status) {
        qCDebug(hamlibLog, "%s: step %d gave %d", qUtf8Printable(connection.port), int(step), status);
        if (status == RIG_OK) {
            shared->report([step](HamlibRotor &owner) { Q_EMIT owner.succeeded(step); });
            return true;
        }
        shared->report([step, status](HamlibRotor &owner) { Q_EMIT owner.failed(step, status); });
        // A link that broke (an unplugged adapter, a server gone) is opened afresh
        // by the next request.
        if (status == -RIG_EIO && opened) {
            device->close();
            opened = false;
        }
        return false;
    };
    // Opens on the first request, and again after a failed open or a lost link.
    const auto ensureOpen = [&]() {
        if (opened)
            return true;
        HamlibBackend *backend = HamlibLibrary::backend();
        if (!device && backend)
            device = backend->device(connection.model, connection.port.toUtf8(), connection.baudRate, TimeoutMs, Retries);
        if (!device)
            return outcome(Step::Open, -RIG_ENIMPL);
        opened = outcome(Step::Open, device->open());
        return opened;
    };

    std::unique_lock lock(shared->mutex);
    auto nextPoll = std::chrono::steady_clock::now() + PollInterval;
    for (;;) {
        const auto requested = [&] {
            return shared->waitingStop || shared->waitingGo || shared->waitingRead || shared->closing;
        };
        if (connection.readPosition && opened)
            shared->wake.wait_until(lock, nextPoll, requested);
        else
            shared->wake.wait(lock, requested);

        // What waits is done before closing: a parking GO must still reach the rotator.
        const bool stopping = std::exchange(shared->waitingStop, false);
        const std::optional<Target> target = stopping ? std::nullopt : std::exchange(shared->waitingGo, std::nullopt);
        const bool asked = !stopping && !target && std::exchange(shared->waitingRead, false);
        const bool polling = !stopping && !target && !shared->closing
            && (asked || (connection.readPosition && opened && std::chrono::steady_clock::now() >= nextPoll));
        if (!stopping && !target && !polling && shared->closing)
            break;
        lock.unlock();

        if (stopping && ensureOpen()) {
            outcome(Step::Stop, device->stop());
            // Where it came to rest, and where it starts from, are asked at once.
            nextPoll = std::chrono::steady_clock::now();
        } else if (target && ensureOpen()) {
            outcome(Step::Go, device->setPosition(target->azimuth, target->elevation));
            nextPoll = std::chrono::steady_clock::now();
        } else if (polling && ensureOpen()) {
            double azimuth = 0;
            const int status = device->position(&azimuth);
            const std::optional<double> read = status == RIG_OK ? std::optional(azimuth) : std::nullopt;
            outcome(Step::Read, status);
            shared->report([read](HamlibRotor &owner) { Q_EMIT owner.positionRead(read); });
            nextPoll = std::chrono::steady_clock::now() + PollInterval;
        }
        lock.lock();
    }
    lock.unlock();

    device.reset();
    const std::lock_guard done(shared->mutex);
    shared->finished = true;
    shared->ended.notify_all();
}
