#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// Where and how one Hamlib rotator is reached.
struct HamlibConnection {
    int model = 0;
    QString port;    // a device path, or host:port for a network model
    int baudRate = 0; // 0 keeps the model's own speed
    bool readPosition = false; // ask for the position about once a second
    friend bool operator==(const HamlibConnection &, const HamlibConnection &) = default;
};

// One open Hamlib rotator. The library's calls block (a dead controller costs
// its timeout on every call), so they run on a worker thread of their own; the
// caller's thread never waits on the library, except for at most the close's
// limit. Requests are a mailbox, not a queue: the newest GO replaces one still
// waiting, and a STOP overtakes any waiting GO and is never dropped.
class HamlibRotor : public QObject {
    Q_OBJECT

public:
    // The library's steps, to tell what failed.
    enum class Step { Open, Go, Stop, Read };

    explicit HamlibRotor(const HamlibConnection &connection, QObject *parent = nullptr);
    ~HamlibRotor() override;
    HamlibRotor(const HamlibRotor &) = delete;
    HamlibRotor &operator=(const HamlibRotor &) = delete;

    const HamlibConnection &connection() const { return m_connection; }

    void go(double azimuth, double elevation);
    void stop();
    // Asks for the position once, opening the rotator if need be.
    void read();
    // Lets the worker finish what is waiting and close the rotator, waiting for it
    // at most waitMs; a worker still blocked in the library then is left to end
    // on its own, and nothing it reports arrives any more. True when it ended.
    bool close(int waitMs);

    static constexpr int CloseLimitMs = 3000;

Q_SIGNALS:
    // Hamlib's status code (negative) at a step.
    void failed(HamlibRotor::Step step, int code);
    void succeeded(HamlibRotor::Step step);
    // The azimuth the library reports, in its own terms; none when a read failed.
    void positionRead(std::optional<double> azimuth);

private:
    struct Shared;
    static void run(std::shared_ptr<Shared> shared, HamlibConnection connection);

    HamlibConnection m_connection;
    std::shared_ptr<Shared> m_shared;
};
