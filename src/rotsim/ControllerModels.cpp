// The seven controllers Orvantis drives, each as far as Orvantis uses it plus
// the position query where the device has one.
#include "rotsim/ControllerModel.h"

#include <QRegularExpression>

namespace {

constexpr char Cr = '\r';
constexpr char Stx = '\x02';

// A whole match of `pattern` against the command, captures and all.
QRegularExpressionMatch matchWhole(const QString &pattern, const QByteArray &command)
{
    const QRegularExpression expression(QRegularExpression::anchoredPattern(pattern));
    return expression.match(QString::fromLatin1(command));
}

// A bearing a controller accepts: within one turn from its end stop.
bool withinTurn(double azimuth)
{
    return azimuth >= 0 && azimuth <= 360;
}

QByteArray threeDigits(int value)
{
    return QByteArray::number(value).rightJustified(3, '0');
}

// Yaesu GS-232: one command per CR-ended line; "?>" answers what it does not know.
class Gs232Model : public ControllerModel {
public:
    Gs232Model(double azimuth, double rate) : ControllerModel(QByteArray(1, Cr), azimuth, rate) {}

protected:
    QByteArray handle(const QByteArray &raw) override
    {
        const QByteArray command = raw.trimmed();
        if (command.isEmpty())
            return {};
        if (command == "S" || command == "A") {
            stop();
            return {};
        }
        if (command == "C")
            return "+0" + threeDigits(wholeDegrees()) + "\r\n";
        if (command == "C2")
            return "+0" + threeDigits(wholeDegrees()) + "+0000\r\n";
        if (const auto go = matchWhole(QStringLiteral("[WM](\\d{3})(?: (\\d{3}))?"), command); go.hasMatch()) {
            const int azimuth = go.captured(1).toInt();
            const bool withElevation = go.hasCaptured(2);
            // M carries the azimuth alone; W takes it alone or with an elevation.
            if (withinTurn(azimuth) && !(command.startsWith('M') && withElevation)
                && (!withElevation || go.captured(2).toInt() <= 180)) {
                turnTo(azimuth, withElevation ? QStringLiteral(" el %1").arg(go.captured(2).toInt()) : QString());
                return {};
            }
        }
        ignore(command);
        return "?>\r\n";
    }
};

// EasyComm II: blank-separated commands; a bare AZ or EL asks for the position.
// Both at once ("AZ EL", as Hamlib asks) are answered on one line, "AZ123.0 EL0.0".
class EasyCommModel : public ControllerModel {
public:
    EasyCommModel(double azimuth, double rate) : ControllerModel("\r\n", azimuth, rate) {}

protected:
    QByteArray handle(const QByteArray &line) override
    {
        const QByteArray commands = line.simplified();
        if (commands == "AZ EL")
            return "AZ" + QByteArray::number(m_rotator.azimuth(), 'f', 1) + " EL0.0\n";
        QByteArray reply;
        for (const QByteArray &command : commands.split(' ')) {
            if (command.isEmpty() || command == "SE" || (command.startsWith("EL") && command.size() > 2))
                continue; // no elevation axis to move or stop
            if (command == "AZ")
                reply += "AZ" + QByteArray::number(m_rotator.azimuth(), 'f', 1) + "\n";
            else if (command == "EL")
                reply += "EL0.0\n";
            else if (command == "SA")
                stop();
            else if (const auto go = matchWhole(QStringLiteral("AZ(\\d{1,3}(?:\\.\\d+)?)"), command);
                     go.hasMatch() && withinTurn(go.captured(1).toDouble()))
                turnTo(go.captured(1).toDouble());
            else
                ignore(command);
        }
        return reply;
    }
};

// TrakBox: a menu in terminal mode ("7" enters host mode), "AZnnn ELnn" and a
// blank to stop in host mode, "Q" back to the terminal. It is met in host mode,
// where Orvantis leaves it when told to.
class TrakBoxModel : public ControllerModel {
public:
    TrakBoxModel(double azimuth, double rate) : ControllerModel(QByteArray(1, Cr), azimuth, rate) {}

protected:
    QByteArray handle(const QByteArray &command) override
    {
        if (command == "Q") {
            setHostMode(false);
            return {};
        }
        if (!m_hostMode) {
            if (command == "7")
                setHostMode(true);
            else if (!command.isEmpty())
                ignore(command);
            return {};
        }
        if (command == " ") {
            stop();
            return {};
        }
        if (const auto go = matchWhole(QStringLiteral("AZ(\\d{3}) EL(\\d{2})"), command);
            go.hasMatch() && withinTurn(go.captured(1).toInt())) {
            turnTo(go.captured(1).toInt(), QStringLiteral(" el %1").arg(go.captured(2).toInt()));
            return {};
        }
        if (!command.isEmpty())
            ignore(command);
        return {};
    }

private:
    void setHostMode(bool on)
    {
        if (m_hostMode == on)
            return;
        m_hostMode = on;
        note(on ? QStringLiteral("host mode on") : QStringLiteral("host mode off"));
    }

    bool m_hostMode = true;
};

// ProSisTel: STX, the unit letter A, the command, CR. Targets 977, 997 and 999
// are stops. With continuous position monitoring (CPM, on from power-up) the
// controller reports every move by itself until told "AS".
class ProSisTelModel : public ControllerModel {
public:
    ProSisTelModel(double azimuth, double rate) : ControllerModel(QByteArray(1, Cr), azimuth, rate) {}

protected:
    QByteArray handle(const QByteArray &command) override
    {
        if (command == Stx + QByteArray("A?"))
            return positionReport();
        if (command == Stx + QByteArray("AS")) {
            if (m_cpm)
                note(QStringLiteral("cpm off"));
            m_cpm = false;
            return Stx + QByteArray("A,S,R\r");
        }
        if (const auto go = matchWhole(QStringLiteral("\\x02AG(\\d{1,3})"), command); go.hasMatch()) {
            const int target = go.captured(1).toInt();
            if (target == 977 || target == 997 || target == 999) {
                stop();
                return Stx + QByteArray("A,G,R\r");
            }
            if (withinTurn(target)) {
                turnTo(target);
                return Stx + QByteArray("A,G,R\r");
            }
        }
        if (!command.isEmpty())
            ignore(command);
        return {};
    }

    QByteArray announcePosition() override { return m_cpm ? positionReport() : QByteArray(); }

private:
    QByteArray positionReport() const
    {
        return QByteArray(1, Stx) + "A,?," + threeDigits(wholeDegrees()) + (m_rotator.isMoving() ? ",B\r" : ",R\r");
    }

    bool m_cpm = true;
};

// Hy-Gain DCU-1 family: commands end with ";" (a CR or blank around them does
// not matter); "AP1nnn;" presets, "AM1;" turns, a bare ";" stops, "AI1;" is
// answered with ";nnn".
class Dcu1Model : public ControllerModel {
public:
    Dcu1Model(double azimuth, double rate) : ControllerModel(";", azimuth, rate) {}

protected:
    QByteArray handle(const QByteArray &raw) override
    {
        const QByteArray command = raw.trimmed();
        if (command.isEmpty() || command == "AS1") {
            stop();
            return {};
        }
        if (command == "AI1")
            return ";" + threeDigits(wholeDegrees());
        if (command == "AM1" && m_preset) {
            turnTo(*m_preset);
            return {};
        }
        if (const auto preset = matchWhole(QStringLiteral("AP1(\\d{3})"), command);
            preset.hasMatch() && withinTurn(preset.captured(1).toInt())) {
            m_preset = preset.captured(1).toInt();
            note(QStringLiteral("preset %1").arg(*m_preset));
            return {};
        }
        ignore(command);
        return {};
    }

private:
    std::optional<int> m_preset;
};

// A controller with a single stop command and a single turn command carrying
// the bearing; some commands are taken without any effect, the rest ignored.
class StopAndTurnModel : public ControllerModel {
public:
    StopAndTurnModel(double azimuth, double rate, QByteArray stopCommand, QString turnPattern,
                     QList<QByteArray> quietCommands)
        : ControllerModel(QByteArray(1, Cr), azimuth, rate), m_stop(std::move(stopCommand)),
          m_turn(std::move(turnPattern)), m_quiet(std::move(quietCommands))
    {
    }

protected:
    QByteArray handle(const QByteArray &raw) override
    {
        const QByteArray command = raw.trimmed();
        if (command.isEmpty() || m_quiet.contains(command))
            return {};
        if (command == m_stop) {
            stop();
            return {};
        }
        if (const auto go = matchWhole(m_turn, command); go.hasMatch() && withinTurn(go.captured(1).toDouble())) {
            turnTo(go.captured(1).toDouble());
            return {};
        }
        ignore(command);
        return {};
    }

private:
    QByteArray m_stop;
    QString m_turn;
    QList<QByteArray> m_quiet;
};

// M2 RC2800-style controllers: "A" with a bearing turns; a bare "A" selects the
// azimuth axis, "S" stops it and "N" ends the exchange.
std::unique_ptr<ControllerModel> m2Orion(double azimuth, double rate)
{
    return std::make_unique<StopAndTurnModel>(azimuth, rate, "S", QStringLiteral("A ?(\\d{1,3}(?:\\.\\d)?)"),
                                              QList<QByteArray> {"A", "N"});
}

// EGIS: "&* " leads each command; "AZ=ddd.dd" turns and "AZ=S" stops.
std::unique_ptr<ControllerModel> egis(double azimuth, double rate)
{
    return std::make_unique<StopAndTurnModel>(azimuth, rate, "&* AZ=S", QStringLiteral("&\\* AZ=(\\d{3}\\.\\d{2})"),
                                              QList<QByteArray> {});
}

} // namespace

QStringList ControllerModel::protocols()
{
    return {QStringLiteral("gs232"),     QStringLiteral("easycomm"), QStringLiteral("trakbox"),
            QStringLiteral("prosistel"), QStringLiteral("dcu1"),     QStringLiteral("m2orion"),
            QStringLiteral("egis")};
}

std::unique_ptr<ControllerModel> ControllerModel::create(const QString &protocol, double azimuth,
                                                         double degreesPerSecond)
{
    if (protocol == QLatin1String("gs232"))
        return std::make_unique<Gs232Model>(azimuth, degreesPerSecond);
    if (protocol == QLatin1String("easycomm"))
        return std::make_unique<EasyCommModel>(azimuth, degreesPerSecond);
    if (protocol == QLatin1String("trakbox"))
        return std::make_unique<TrakBoxModel>(azimuth, degreesPerSecond);
    if (protocol == QLatin1String("prosistel"))
        return std::make_unique<ProSisTelModel>(azimuth, degreesPerSecond);
    if (protocol == QLatin1String("dcu1"))
        return std::make_unique<Dcu1Model>(azimuth, degreesPerSecond);
    if (protocol == QLatin1String("m2orion"))
        return m2Orion(azimuth, degreesPerSecond);
    if (protocol == QLatin1String("egis"))
        return egis(azimuth, degreesPerSecond);
    return nullptr;
}
