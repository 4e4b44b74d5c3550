// A Maidenhead locator as a user or a rotctld client types it, and the rotctld
// locator commands whose arguments come from a client: decoded locators encode back
// to themselves, encoded places lie in their square, and a reply is either numbers
// or an error code, never "nan", "inf" or 60 seconds.
#include "FuzzCheck.h"

#include "geo/Maidenhead.h"
#include "sources/RotctldHost.h"
#include "sources/RotctldProtocol.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// The locator commands never move the rotator or ask about it.
class NoRotator : public RotctldHost {
public:
    void requestMove(const Pointing &, OutcomeReport) override { std::abort(); }
    void stopMoving(OutcomeReport) override { std::abort(); }
    void moveToParking(OutcomeReport) override { std::abort(); }
    std::optional<double> knownAzimuth() const override { return 0.0; }
    bool readsBack() const override { return false; }
    QString rotatorInfo() const override { return QStringLiteral("fuzz"); }
};

void checkLocator(const QString &text)
{
    const Maidenhead::Decoded decoded = Maidenhead::decode(text);
    if (!decoded.ok()) {
        FUZZ_CHECK(!Maidenhead::describe(decoded, text).isEmpty());
        return;
    }
    FUZZ_CHECK(isValidPoint(decoded.centre));
    const Maidenhead::Encoded again = Maidenhead::encode(decoded.centre, int(text.size()));
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.locator.compare(text, Qt::CaseInsensitive) == 0);
}

void checkPlace(double latitude, double longitude, int length)
{
    const Maidenhead::Encoded encoded = Maidenhead::encode({latitude, longitude}, length);
    if (!encoded.ok())
        return;
    FUZZ_CHECK(encoded.locator.size() == length);
    const Maidenhead::Decoded square = Maidenhead::decode(encoded.locator);
    FUZZ_CHECK(square.ok());
    // Inside the square, its edges included (the last square holds the pole and 180°).
    const double slack = 1e-9;
    FUZZ_CHECK(std::abs(square.centre.latitude - latitude) <= square.latitudeSpan / 2 + slack);
    FUZZ_CHECK(std::abs(square.centre.longitude - longitude) <= square.longitudeSpan / 2 + slack);
}

void checkReply(const QByteArray &line)
{
    using namespace RotctldProtocol;
    const Request request = parseLine(line);
    using Command = Request::Command;
    if (!isLocatorArithmetic(request.command))
        return;
    NoRotator host;
    const QByteArray reply = answerAtOnce(request, host);
    FUZZ_CHECK(reply.endsWith('\n'));
    // The extended form first repeats the command and its arguments as given.
    qsizetype echoed = 0;
    if (request.separator != 0) {
        echoed = reply.indexOf(':') + 1;
        for (const QByteArray &argument : request.arguments)
            echoed += 1 + argument.size();
        FUZZ_CHECK(reply.at(echoed) == request.separator);
        ++echoed;
    }
    const QByteArray values = reply.mid(echoed);
    FUZZ_CHECK(!values.contains("nan") && !values.contains("inf"));
    if (request.command == Command::DecimalToDms && !values.contains("RPRT -1")) {
        const QList<QByteArray> parts = values.split(request.separator ? request.separator : '\n');
        FUZZ_CHECK(parts.size() >= 4);
        QByteArray seconds = parts.at(2);
        if (seconds.startsWith("Seconds: "))
            seconds.remove(0, 9);
        bool ok = false;
        const double value = seconds.toDouble(&ok);
        FUZZ_CHECK(ok && value >= 0 && value < 60);
    }
    if (request.separator == 0 && reply.startsWith("RPRT"))
        FUZZ_CHECK(reply == "RPRT -1\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkLocator(QString::fromLatin1(bytes));
    checkReply(bytes.toByteArray());
    if (size >= 2 * sizeof(double) + 1) {
        double latitude, longitude;
        std::memcpy(&latitude, data, sizeof latitude);
        std::memcpy(&longitude, data + sizeof latitude, sizeof longitude);
        checkPlace(latitude, longitude, data[2 * sizeof(double)] % 16);
    }
    return 0;
}
