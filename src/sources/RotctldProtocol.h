#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "rotors/Pointing.h"

#include <functional>
#include <optional>

struct RotorOutcome;

class RotctldHost;

// The rotctld network protocol as Hamlib clients speak it, one line at a time.
namespace RotctldProtocol {

// Hamlib's status codes as they travel in "RPRT n".
enum Status {
    Ok = 0,
    InvalidArgument = -1, // RIG_EINVAL
    TimedOut = -5,        // RIG_ETIMEOUT
    InputOutput = -6,     // RIG_EIO
    Rejected = -9,        // RIG_ERJCTED
    NotAvailable = -11,   // RIG_ENAVAIL
};

struct Request {
    enum class Command {
        None, SetPosition, GetPosition, Stop, Park, GetInfo, DumpState, DumpCaps, Quit,
        // Hamlib commands this rotator cannot carry out.
        GetStatus, Reset, Move,
        // Hamlib's locator arithmetic, answered without the rotator.
        LonLatToLocator, LocatorToLonLat, Qrb, ShortToLongAzimuth, ShortToLongDistance, DmsToDecimal,
        DecimalToDms,
        Unknown
    };
    Command command = Command::None;
    // The extended reply form's separator ('\n' for "+", or ';', '|', ','); 0 for
    // the default form.
    char separator = 0;
    QList<QByteArray> arguments;
    bool argumentsValid = true;
    // SetPosition: where to point, the azimuth's fraction dropped as for every
    // other source (the elevation as given).
    Pointing pointing;
};

// Hamlib's locator and angle arithmetic, answered without the rotator.
bool isLocatorArithmetic(Request::Command command);

// One line without its terminator. Blank lines give Command::None.
Request parseLine(QByteArrayView line);

// The reply bytes (empty for a blank line or quit), handed over once known.
using Deliver = std::function<void(const QByteArray &reply)>;

// Carries the request out on the host and delivers the reply: at once for a
// question, from the outcome for a command that moves the rotator.
void answer(const Request &request, RotctldHost &host, const Deliver &deliver);
// The reply to a request that moves nothing.
QByteArray answerAtOnce(const Request &request, const RotctldHost &host);
// The status a move's outcome is reported with.
int statusOf(const RotorOutcome &outcome);

// The reply to a line longer than the limit, whose rest is discarded.
QByteArray overlongLineReply();
// The one line a client gets when every place is taken, before it is closed.
QByteArray noRoomReply();

// Splits a byte stream into lines of at most `limit` bytes. A longer line is
// reported once as overlong and its bytes are dropped up to its terminator, so
// the buffer never holds more than `limit` bytes of an unfinished line.
class LineBuffer {
public:
    explicit LineBuffer(qsizetype limit) : m_limit(limit) {}

    struct Line {
        QByteArray text; // without "\n" and a trailing "\r"
        bool overlong = false;
    };

    // Feed it in chunks of at most `limit` bytes, and only once next() has nothing
    // left: it then never holds more than twice the limit.
    void append(QByteArrayView bytes);
    std::optional<Line> next();
    qsizetype buffered() const { return m_pending.size(); }

private:
    qsizetype m_limit;
    QByteArray m_pending;
    bool m_discarding = false;
};

} // namespace RotctldProtocol
