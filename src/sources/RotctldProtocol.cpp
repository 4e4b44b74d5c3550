#include "sources/RotctldProtocol.h"

#include "config/ProgramIdentity.h"
#include "geo/Geodesy.h"
#include "geo/Maidenhead.h"
#include "sources/RotctldHost.h"

#include <cmath>

namespace RotctldProtocol {

namespace {

using Command = Request::Command;

// What the program advertises: any azimuth of the compass, elevation accepted
// and ignored (Hamlib clients refuse a move outside these limits themselves).
constexpr double MinimumAzimuth = 0;
constexpr double MaximumAzimuth = 360;
constexpr double MinimumElevation = 0;
constexpr double MaximumElevation = 90;
// Hamlib's network rotator; Orvantis has no model number of its own there.
constexpr int RotorModel = 2;

struct CommandName {
    Command command;
    char shortName;
    QByteArrayView longName;
    int argumentCount;
};

constexpr CommandName Commands[] = {
    {Command::SetPosition, 'P', "set_pos", 2},
    {Command::GetPosition, 'p', "get_pos", 0},
    {Command::Stop, 'S', "stop", 0},
    {Command::Park, 'K', "park", 0},
    {Command::GetInfo, '_', "get_info", 0},
    {Command::DumpState, 0, "dump_state", 0},
    {Command::DumpCaps, 0, "dump_caps", 0},
    {Command::Quit, 'q', "quit", 0},
    {Command::Quit, 'Q', "quit", 0},
    {Command::GetStatus, 's', "get_status", 0},
    {Command::Reset, 'R', "reset", 1},
    {Command::Move, 'M', "move", 2},
    {Command::LonLatToLocator, 'L', "lonlat2loc", 3},
    {Command::LocatorToLonLat, 'l', "loc2lonlat", 1},
    {Command::Qrb, 'B', "qrb", 4},
    {Command::ShortToLongAzimuth, 'A', "a_sp2a_lp", 1},
    {Command::ShortToLongDistance, 'a', "d_sp2d_lp", 1},
    {Command::DmsToDecimal, 'D', "dms2dec", 4},
    {Command::DecimalToDms, 'd', "dec2dms", 1},
};

const CommandName *findCommand(QByteArrayView word)
{
    for (const CommandName &entry : Commands) {
        if (word.size() == 1 && entry.shortName != 0 && word.at(0) == entry.shortName)
            return &entry;
        if (word.size() > 1 && word.at(0) == '\\' && word.sliced(1) == entry.longName)
            return &entry;
    }
    return nullptr;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QList<QByteArray> words(QByteArrayView line)
{
    QList<QByteArray> result;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line.at(i)))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !isBlank(line.at(i)))
            ++i;
        if (i > start)
            result.append(line.sliced(start, i - start).toByteArray());
    }
    return result;
}

// A finite decimal number in the C locale; one comma stands for the point, as
// trackers running under a comma locale have been known to send.
std::optional<double> number(QByteArray text)
{
    if (!text.contains('.') && text.count(',') == 1)
        text.replace(',', '.');
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QByteArray fixed(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals);
}

const CommandName &entryFor(Command command)
{
    for (const CommandName &entry : Commands) {
        if (entry.command == command)
            return entry;
    }
    Q_UNREACHABLE();
}

// One reply in either form. The default form gives the bare values, one a line,
// and reports the status only where there are no values (or on failure); the
// extended form names the command and every value and always ends with the status.
class Reply {
public:
    explicit Reply(const Request &request) : m_request(request) {}

    void value(QByteArrayView label, const QByteArray &text)
    {
        if (extended())
            m_values.append(label.toByteArray() + ": " + text);
        else
            m_values.append(text);
    }
    // Lines that read the same in both forms.
    void line(const QByteArray &text) { m_values.append(text); }
    // Lines worded differently in the two forms.
    void line(const QByteArray &defaultForm, const QByteArray &extendedForm)
    {
        m_values.append(extended() ? extendedForm : defaultForm);
    }

    QByteArray finish(int status, bool statusInDefaultForm) const
    {
        if (!extended()) {
            if (status != Ok)
                return "RPRT " + QByteArray::number(status) + '\n';
            QByteArray out;
            for (const QByteArray &v : m_values)
                out += v + '\n';
            if (statusInDefaultForm)
                out += "RPRT 0\n";
            return out;
        }
        const char separator = m_request.separator;
        QByteArray out = entryFor(m_request.command).longName.toByteArray() + ':';
        for (const QByteArray &argument : m_request.arguments)
            out += ' ' + argument;
        out += separator;
        if (status == Ok) {
            for (const QByteArray &v : m_values)
                out += v + separator;
        }
        out += "RPRT " + QByteArray::number(status) + '\n';
        return out;
    }

private:
    bool extended() const { return m_request.separator != 0; }

    const Request &m_request;
    QList<QByteArray> m_values;
};

QByteArray statusLine(int status)
{
    return "RPRT " + QByteArray::number(status) + '\n';
}


QByteArray singleLine(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    for (char &c : bytes) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return bytes;
}

void dumpState(Reply &reply)
{
    // The default form is what Hamlib's network backend reads when it connects.
    const auto setting = [&reply](QByteArrayView key, QByteArrayView label, const QByteArray &text) {
        reply.line(key.toByteArray() + '=' + text, label.toByteArray() + ": " + text);
    };
    reply.value("rotctld Protocol Ver", "1");
    reply.value("Rotor Model", QByteArray::number(RotorModel));
    setting("min_az", "Minimum Azimuth", fixed(MinimumAzimuth, 6));
    setting("max_az", "Maximum Azimuth", fixed(MaximumAzimuth, 6));
    setting("min_el", "Minimum Elevation", fixed(MinimumElevation, 6));
    setting("max_el", "Maximum Elevation", fixed(MaximumElevation, 6));
    setting("south_zero", "South Zero", "0");
    reply.line("rot_type=Az");
    reply.line("done");
}

std::optional<int> wholeNumber(const QByteArray &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<GeoPoint> place(const QByteArray &longitude, const QByteArray &latitude)
{
    const auto lon = number(longitude);
    const auto lat = number(latitude);
    if (!lon || !lat)
        return std::nullopt;
    const GeoPoint point {*lat, *lon};
    return isValidPoint(point) ? std::optional<GeoPoint>(point) : std::nullopt;
}

// Hamlib's locator commands, in the layout of its rotctld: six decimals, longitude
// before latitude. Hamlib answers some nonsense with a number; these refuse it:
// coordinates beyond ±180°/±90° (Hamlib wraps them into some square), a locator
// of odd length or over 12 characters (Hamlib drops the last character), a short
// path longer than half the Earth or negative (Hamlib gives a negative long path),
// minutes beyond 59, seconds beyond 60 or a S/W flag other than 0 and 1 (Hamlib
// adds them up or reads 2 as north). Its dec2dms also gives 60 seconds where
// rounding reaches a whole minute (48.85 -> 48 50 60); here the minute carries.
int locatorArithmetic(const Request &request, Reply &reply)
{
    const QList<QByteArray> &args = request.arguments;
    switch (request.command) {
    case Command::LonLatToLocator: {
        const auto point = place(args.at(0), args.at(1));
        const auto length = wholeNumber(args.at(2));
        if (!point || !length)
            return InvalidArgument;
        const Maidenhead::Encoded encoded = Maidenhead::encode(*point, *length);
        if (!encoded.ok())
            return InvalidArgument;
        reply.value("Locator", encoded.locator.toUpper().toLatin1());
        return Ok;
    }
    case Command::LocatorToLonLat: {
        const Maidenhead::Decoded decoded = Maidenhead::decode(QString::fromLatin1(args.at(0)));
        if (!decoded.ok())
            return InvalidArgument;
        reply.value("Longitude", fixed(decoded.centre.longitude, 6));
        reply.value("Latitude", fixed(decoded.centre.latitude, 6));
        return Ok;
    }
    case Command::Qrb: {
        const auto from = place(args.at(0), args.at(1));
        const auto to = place(args.at(2), args.at(3));
        if (!from || !to)
            return InvalidArgument;
        const Geodesy::Paths paths = Geodesy::solve(*from, *to);
        reply.value("QRB Distance", fixed(paths.shortDistance, 6));
        reply.value("QRB Azimuth", fixed(paths.shortAzimuth, 6));
        return Ok;
    }
    case Command::ShortToLongAzimuth: {
        const auto azimuth = number(args.at(0));
        if (!azimuth || *azimuth < 0 || *azimuth > 360)
            return InvalidArgument;
        reply.value("Long Path Deg", fixed(Geodesy::longPathAzimuth(*azimuth), 6));
        return Ok;
    }
    case Command::ShortToLongDistance: {
        const auto distance = number(args.at(0));
        if (!distance || *distance < 0 || *distance > Geodesy::meanCircumference() / 2)
            return InvalidArgument;
        reply.value("Long Path km", fixed(Geodesy::longPathDistance(*distance), 6));
        return Ok;
    }
    case Command::DmsToDecimal: {
        const auto degrees = wholeNumber(args.at(0));
        const auto minutes = wholeNumber(args.at(1));
        const auto seconds = number(args.at(2));
        const auto southOrWest = wholeNumber(args.at(3));
        if (!degrees || !minutes || !seconds || !southOrWest || *degrees < 0 || *minutes < 0 || *minutes > 59
            || *seconds < 0 || *seconds >= 60 || (*southOrWest != 0 && *southOrWest != 1))
            return InvalidArgument;
        const double value = *degrees + *minutes / 60.0 + *seconds / 3600.0;
        if (value > 180)
            return InvalidArgument;
        reply.value("Dec Degrees", fixed(*southOrWest && value != 0 ? -value : value, 6));
        return Ok;
    }
    case Command::DecimalToDms: {
        const auto value = number(args.at(0));
        if (!value || std::abs(*value) > 180)
            return InvalidArgument;
        // Whole microseconds of arc, so rounding the seconds carries into the minutes.
        constexpr long long PerSecond = 1000000;
        const long long total = std::llround(std::abs(*value) * 3600 * PerSecond);
        const long long seconds = total % (60 * PerSecond);
        reply.value("Degrees", QByteArray::number(total / (3600 * PerSecond)));
        reply.value("Minutes", QByteArray::number(total / (60 * PerSecond) % 60));
        reply.value("Seconds", fixed(double(seconds) / PerSecond, 6));
        reply.value("S/W", *value < 0 ? "1" : "0");
        return Ok;
    }
    default:
        Q_UNREACHABLE();
    }
}

} // namespace

bool isLocatorArithmetic(Request::Command command)
{
    switch (command) {
    case Command::LonLatToLocator:
    case Command::LocatorToLonLat:
    case Command::Qrb:
    case Command::ShortToLongAzimuth:
    case Command::ShortToLongDistance:
    case Command::DmsToDecimal:
    case Command::DecimalToDms:
        return true;
    default:
        return false;
    }
}

Request parseLine(QByteArrayView line)
{
    Request request;
    QList<QByteArray> parts = words(line);
    if (parts.isEmpty())
        return request;

    QByteArray word = parts.takeFirst();
    const char first = word.at(0);
    if (first == '+' || first == ';' || first == '|' || first == ',') {
        request.separator = first == '+' ? '\n' : first;
        word.remove(0, 1);
        if (word.isEmpty()) {
            if (parts.isEmpty()) {
                request.command = Command::Unknown;
                return request;
            }
            word = parts.takeFirst();
        }
    }

    const CommandName *entry = findCommand(word);
    if (!entry) {
        request.command = Command::Unknown;
        return request;
    }
    request.command = entry->command;
    request.arguments = parts;
    request.argumentsValid = parts.size() == entry->argumentCount;
    if (request.argumentsValid && request.command == Command::SetPosition) {
        const auto azimuth = number(parts.at(0));
        const auto elevation = number(parts.at(1));
        // The fraction is dropped, as for every other azimuth source.
        request.argumentsValid = azimuth && elevation && *azimuth >= MinimumAzimuth && *azimuth <= MaximumAzimuth;
        if (request.argumentsValid)
            request.pointing = {double(int(*azimuth)), *elevation};
    }
    return request;
}

int statusOf(const RotorOutcome &outcome)
{
    using Reason = RotorOutcome::Reason;
    switch (outcome.kind) {
    case RotorOutcome::Kind::Sent:
    case RotorOutcome::Kind::Held: // the antenna is already where it was asked, within the step
        return Ok;
    case RotorOutcome::Kind::Refused:
    case RotorOutcome::Kind::Failed:
        break;
    }
    switch (outcome.reason) {
    case Reason::OutOfLimits:
        return InvalidArgument;
    case Reason::NoPort:
    case Reason::Device:
    case Reason::None:
        return InputOutput;
    case Reason::NotAccepted:
    case Reason::Overtaken:
        return Rejected;
    case Reason::NotSupported:
    case Reason::NoInterface:
        return NotAvailable;
    case Reason::TimedOut:
        return TimedOut;
    }
    Q_UNREACHABLE();
}

void answer(const Request &request, RotctldHost &host, const Deliver &deliver)
{
    // Commands that move the rotator are answered from their outcome.
    const auto fromOutcome = [request, deliver](const RotorOutcome &outcome) {
        deliver(Reply(request).finish(statusOf(outcome), true));
    };
    if (request.argumentsValid) {
        switch (request.command) {
        case Command::SetPosition:
            host.requestMove(request.pointing, fromOutcome);
            return;
        case Command::Stop:
            host.stopMoving(fromOutcome);
            return;
        case Command::Park:
            host.moveToParking(fromOutcome);
            return;
        default:
            break;
        }
    }
    deliver(answerAtOnce(request, host));
}

QByteArray answerAtOnce(const Request &request, const RotctldHost &host)
{
    switch (request.command) {
    case Command::None:
    case Command::Quit:
        return {};
    case Command::Unknown:
        return statusLine(InvalidArgument);
    default:
        break;
    }

    Reply reply(request);
    // Not available whatever its arguments, as Hamlib's own backends without it answer.
    if (request.command == Command::GetStatus || request.command == Command::Reset
        || request.command == Command::Move)
        return reply.finish(NotAvailable, false);
    if (!request.argumentsValid)
        return reply.finish(InvalidArgument, false);

    switch (request.command) {
    case Command::GetPosition: {
        // Never a guess: a controller asked that has not answered yet timed out,
        // and without read-back nothing is known before the first azimuth sent.
        const std::optional<double> azimuth = host.knownAzimuth();
        if (!azimuth)
            return reply.finish(host.readsBack() ? TimedOut : NotAvailable, false);
        reply.value("Azimuth", fixed(*azimuth, 2));
        reply.value("Elevation", fixed(0, 2));
        return reply.finish(Ok, false);
    }
    case Command::GetInfo:
        reply.value("Info", singleLine(host.rotatorInfo()));
        return reply.finish(Ok, false);
    case Command::DumpState:
        dumpState(reply);
        return reply.finish(Ok, false);
    case Command::DumpCaps:
        reply.line("Caps dump for model:\t" + QByteArray::number(RotorModel));
        reply.line("Model name:\t\tOrvantis");
        reply.line("Mfg name:\t\tOrvantis");
        reply.line("Backend version:\t" + VersionText.trimmed().mid(1).toLatin1());
        reply.line("Backend status:\t\tStable");
        reply.line("Rot type:\t\tAz");
        reply.line("Port type:\t\tNetwork link");
        reply.line("Min Azimuth:\t\t" + fixed(MinimumAzimuth, 2));
        reply.line("Max Azimuth:\t\t" + fixed(MaximumAzimuth, 2));
        reply.line("Min Elevation:\t\t" + fixed(MinimumElevation, 2));
        reply.line("Max Elevation:\t\t" + fixed(MaximumElevation, 2));
        reply.line("Can set Position:\tY");
        reply.line("Can get Position:\tY");
        reply.line("Can Stop:\t\tY");
        reply.line("Can Park:\t\tY");
        reply.line("Can get Info:\t\tY");
        return reply.finish(Ok, true);
    default:
        if (isLocatorArithmetic(request.command))
            return reply.finish(locatorArithmetic(request, reply), false);
        Q_UNREACHABLE();
    }
}

QByteArray overlongLineReply()
{
    return statusLine(InvalidArgument);
}

QByteArray noRoomReply()
{
    return statusLine(Rejected);
}

void LineBuffer::append(QByteArrayView bytes)
{
    m_pending.append(bytes);
}

std::optional<LineBuffer::Line> LineBuffer::next()
{
    for (;;) {
        const qsizetype end = m_pending.indexOf('\n');
        if (end < 0) {
            if (m_discarding) {
                m_pending.clear();
                return std::nullopt;
            }
            if (m_pending.size() <= m_limit)
                return std::nullopt;
            m_pending.clear();
            m_discarding = true;
            return Line {{}, true};
        }
        QByteArray text = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (m_discarding) {
            // The tail of a line already answered as overlong.
            m_discarding = false;
            continue;
        }
        if (text.endsWith('\r'))
            text.chop(1);
        if (text.size() > m_limit)
            return Line {{}, true};
        return Line {text, false};
    }
}

} // namespace RotctldProtocol
