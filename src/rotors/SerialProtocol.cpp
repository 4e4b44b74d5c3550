#include "rotors/SerialProtocol.h"

#include "config/NumberText.h"

#include <cmath>

namespace {

constexpr char Cr = '\r';
constexpr char Stx = '\x02';
constexpr int CommandPauseMs = 50;
constexpr int Dcu1InnerPauseMs = 10;
constexpr int TrakBoxProbePauseMs = 300;

QByteArray line(const QByteArray &text)
{
    return text + Cr;
}

// A one-write command whose label is the text itself.
SerialCommand single(const QByteArray &bytes)
{
    return {{{bytes, CommandPauseMs}}, bytes};
}

QByteArray zeroPadded(int value, int width)
{
    return QByteArray::number(value).rightJustified(width, '0');
}

} // namespace

namespace SerialProtocol {

bool passesMinimumStep(int minimumStep, double commanded, double lastSent)
{
    return !(minimumStep > std::fabs(commanded - lastSent));
}

double applyStopSide(double azimuth, int stopSide)
{
    if (stopSide != 1)
        return azimuth;
    const double turned = azimuth - 180;
    return turned < 0 ? turned + 360 : turned;
}

int scaledField(double azimuth, int offset, int scale)
{
    const int turn = 360 * scale;
    // For offsets within the setup dialog's -30..30 this is the usual one-turn
    // correction; a hand-edited offset beyond a turn still gives a valid field.
    const long long n = NumberText::roundHalfEven((azimuth - offset) * scale);
    return int(((n % turn) + turn) % turn);
}

QByteArray threeDigitField(double azimuth, int offset)
{
    return zeroPadded(scaledField(azimuth, offset, 1), 3);
}

SerialCommand goCommand(InterfaceKind kind, double azimuth, int offset, bool gs232Elevation)
{
    switch (kind) {
    case InterfaceKind::Gs232: {
        const QByteArray field = threeDigitField(azimuth, offset);
        return single(line("W" + field + (gs232Elevation ? " 000" : "")));
    }
    case InterfaceKind::EasyComm:
        return single(line("AZ" + threeDigitField(azimuth, offset) + ".0"));
    case InterfaceKind::ProSisTel:
        return single(line(Stx + QByteArray("AG") + threeDigitField(azimuth, offset)));
    case InterfaceKind::TrakBox:
        return single(line("AZ" + threeDigitField(azimuth, offset) + " EL00"));
    case InterfaceKind::Dcu1: {
        const QByteArray position = line("AP1" + threeDigitField(azimuth, offset) + ";");
        // The controller needs a moment between the target and the order to move.
        return {{{position, Dcu1InnerPauseMs}, {line("AM1;"), CommandPauseMs}}, position};
    }
    case InterfaceKind::M2Orion: {
        const int tenths = scaledField(azimuth, offset, 10);
        const QByteArray text = "A" + QByteArray::number(tenths / 10) + "." + QByteArray::number(tenths % 10);
        return single(line(text));
    }
    case InterfaceKind::Egis: {
        const int hundredths = scaledField(azimuth, offset, 100);
        const QByteArray text =
            "&* AZ=" + zeroPadded(hundredths / 100, 3) + "." + zeroPadded(hundredths % 100, 2);
        return single(line(text));
    }
    default:
        return {};
    }
}

SerialCommand proSisTelOpening(bool cpmOff)
{
    // The controller needs the pause after opening whether or not it is told anything.
    return {{{cpmOff ? line(Stx + QByteArray("AS")) : QByteArray(), CommandPauseMs}}, std::nullopt};
}

SerialCommand stopCommand(InterfaceKind kind)
{
    switch (kind) {
    case InterfaceKind::Gs232:
        return single(line("S"));
    case InterfaceKind::EasyComm:
        return single(line("SA"));
    case InterfaceKind::ProSisTel:
        // A target of 977 is the controller's "stop where you are".
        return single(line(Stx + QByteArray("AG977")));
    case InterfaceKind::TrakBox:
        return {{{line(" "), CommandPauseMs}}, std::nullopt};
    case InterfaceKind::Dcu1:
        // The label has always shown the stop without its CR.
        return {{{line(";"), CommandPauseMs}}, QByteArray(";")};
    case InterfaceKind::M2Orion: {
        const QByteArray all = line("A") + line("S") + line("N");
        return {{{line("A"), CommandPauseMs}, {line("S"), CommandPauseMs}, {line("N"), 0}}, all};
    }
    case InterfaceKind::Egis:
        return single(line("&* AZ=S"));
    default:
        return {};
    }
}

SerialCommand closingCommand(InterfaceKind kind, bool trakBoxHostMode)
{
    SerialCommand command;
    switch (kind) {
    case InterfaceKind::EasyComm:
        command = single(line("SA SE"));
        break;
    case InterfaceKind::TrakBox:
        command = single(line(trakBoxHostMode ? " " : "Q"));
        break;
    default:
        command = stopCommand(kind);
        break;
    }
    command.label.reset();
    return command;
}

SerialCommand setupCloseOutCommand(InterfaceKind kind)
{
    switch (kind) {
    case InterfaceKind::Gs232:
    case InterfaceKind::EasyComm:
        return {{{line("SA"), CommandPauseMs}}, std::nullopt};
    case InterfaceKind::Egis:
        return {{{line("AZ=S"), CommandPauseMs}}, std::nullopt};
    case InterfaceKind::TrakBox:
        return {};
    default:
        return {stopCommand(kind).writes, std::nullopt};
    }
}

SerialCommand trakBoxProbe()
{
    return {{{line("Q"), TrakBoxProbePauseMs}, {line("7"), CommandPauseMs}}, std::nullopt};
}

} // namespace SerialProtocol
