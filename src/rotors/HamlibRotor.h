#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Where and how one Hamlib rotator is reached.
struct HamlibConnection {
    int model = 0;
    QString port;    // a device path, host:port for a network model, empty for none
    int baudRate = 0; // 0 keeps the model's own speed
    bool readPosition = false; // ask for the position about once a second
    friend bool operator==(const HamlibConnection &, const HamlibConnection &) = default;
};

// The Hamlib rotator's worker. The library's calls block (a dead controller
// costs its timeout on every call), so they run on one thread of their own, in
// the order they were asked: the caller's thread never waits on the library.
// Requests are a mailbox: the newest GO replaces one still waiting, a STOP
// overtakes a waiting GO, and each is answered once, with Hamlib's status, on
// the caller's thread. One worker serves every connection in turn, so two never
// share a port, and one stuck in the library sends nothing it was asked before
// a release once it comes back.
class HamlibRotor : public QObject {
    Q_OBJECT

public:
    // Hamlib's status (0 or a negative RIG_E* code).
    using Done = std::function<void(int status)>;

    explicit HamlibRotor(QObject *parent = nullptr);
    ~HamlibRotor() override;
    HamlibRotor(const HamlibRotor &) = delete;
    HamlibRotor &operator=(const HamlibRotor &) = delete;

    void go(const HamlibConnection &connection, double azimuth, double elevation, Done done);
    void stop(const HamlibConnection &connection, Done done);
    // Asks for the position once, opening the rotator if need be.
    void read(const HamlibConnection &connection);
    // Closes the rotator once what waits is done, and stops polling it.
    void release();
    // Nothing waits and nothing is under way.
    bool idle() const;

    // A request dropped before it reached the library.
    static constexpr int Overtaken = 1;

Q_SIGNALS:
    // Hamlib's status code (negative) when a position read failed.
    void readFailed(int code);
    // The azimuth the library reports, in its own terms; none when a read failed.
    void positionRead(std::optional<double> azimuth);
    // The worker has nothing left to do.
    void becameIdle();

private:
    struct Shared;
    static void run(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> m_shared;
};
