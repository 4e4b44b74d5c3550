#include "rotors/HamlibRotors.h"

#include "config/ProgramIdentity.h"
#include "rotors/HamlibErrors.h"
#include "rotors/HamlibLibrary.h"
#include "rotors/PositionReply.h"

#include <hamlib/rig.h>
#include "rotors/SerialFailure.h"
#include "rotors/SerialProtocol.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

#include <cerrno>
#include <unistd.h>

HamlibRotors::HamlibRotors(HamlibRotorsContext context, QObject *parent)
    : QObject(parent), m_context(std::move(context)), m_notices(m_context.feedback)
{
}

HamlibRotors::~HamlibRotors() = default;

QString HamlibRotors::where(const Configuration &config, const HamlibModel &model)
{
    if (model.network)
        return config.extensions.hamlibAddress.value_or(QString()).trimmed();
    const int port = config.at(InterfaceKind::Hamlib).port;
    return port >= 0 ? QStringLiteral("COM%1").arg(port + 1) : QString();
}

std::optional<HamlibConnection> HamlibRotors::wantedConnection(const HamlibModel &model, QString *told)
{
    const auto tellFailure = [this, told](const QString &reason, const QString &text) {
        const QString said = tell(reason, text);
        if (told)
            *told = said;
    };
    const Configuration &config = m_context.config;
    const Language language = m_context.language();
    m_where = where(config, model);
    HamlibConnection connection;
    connection.model = model.number;
    connection.readPosition = config.extensions.readsPosition(InterfaceKind::Hamlib);
    // The dummy rotator, which users try first, is reached through no port at all.
    if (model.portless) {
        m_where = QStringLiteral("Hamlib");
        return connection;
    }
    if (model.network) {
        if (m_where.isEmpty()) {
            tellFailure(QStringLiteral("no address"), HamlibErrors::noAddressText(language));
            return std::nullopt;
        }
        connection.port = m_where;
        return connection;
    }
    SerialFailure failure;
    failure.interfaceName = iniValue(InterfaceKind::Hamlib);
    failure.comName = m_where;
    if (m_where.isEmpty()) {
        failure.kind = SerialFailure::Kind::NoPort;
        tellFailure(QStringLiteral("no port"), serialFailureText(failure, language));
        return std::nullopt;
    }
    connection.port = m_context.devicePath(m_where);
    connection.baudRate = config.at(InterfaceKind::Hamlib).baudText.toInt();
    // Told as for the other serial controllers: the library would only say "I/O error".
    failure.devicePath = connection.port;
    if (connection.port.isEmpty() || !QFileInfo::exists(connection.port)) {
        failure.kind = SerialFailure::Kind::Missing;
        failure.reason = QString::fromLocal8Bit(strerror(ENOENT));
    } else if (::access(QFile::encodeName(connection.port).constData(), R_OK | W_OK) != 0) {
        failure.kind = errno == EACCES ? SerialFailure::Kind::Permission : SerialFailure::Kind::Refused;
        failure.reason = QString::fromLocal8Bit(strerror(errno));
    } else {
        return connection;
    }
    tellFailure(QStringLiteral("open %1").arg(int(failure.kind)), serialFailureText(failure, language));
    return std::nullopt;
}

void HamlibRotors::GoHamlib(OutcomeReport report)
{
    CommandState &state = m_context.state;
    const InterfaceSettings &settings = m_context.config.at(InterfaceKind::Hamlib);
    const std::optional<HamlibModel> model = HamlibModels::find(m_context.config.extensions.hamlibModelNumber());
    const auto refused = [this, &report](RotorOutcome::Reason reason, const QString &text) {
        m_context.feedback.beep();
        report(RotorOutcome::refused(reason, text));
    };
    if (!HamlibLibrary::backend()) {
        refused(RotorOutcome::Reason::NoPort,
                tell(QStringLiteral("no library"),
                     HamlibErrors::libraryMissingText(HamlibLibrary::loadError(), m_context.language())));
        return;
    }
    if (!model) {
        refused(RotorOutcome::Reason::NoPort, tell(QStringLiteral("no model"), HamlibErrors::noModelText(m_context.language())));
        return;
    }
    if (state.heldByStep(settings.minimumStep)) {
        report(RotorOutcome::held());
        return;
    }
    const double turned = SerialProtocol::applyStopSide(state.commandedAzimuth, settings.stopSide);
    double azimuth = std::fmod(turned - settings.azimuthOffset, 360.0);
    if (azimuth < 0)
        azimuth += 360;
    const std::optional<double> target = model->withinLimits(azimuth);
    if (!target) {
        // Refused before the library sees it: nothing moves, the minimum step keeps
        // its reference. One notice for the episode, however many targets follow.
        refused(RotorOutcome::Reason::OutOfLimits,
                tell(QStringLiteral("limits"),
                     HamlibErrors::beyondLimitsText(where(m_context.config, *model), azimuth, model->minAzimuth,
                                                    model->maxAzimuth, m_context.language())));
        return;
    }
    QString failure;
    const std::optional<HamlibConnection> connection = wantedConnection(*model, &failure);
    if (!connection) {
        refused(RotorOutcome::Reason::NoPort, failure);
        return;
    }
    const double previous = state.lastSentAzimuth;
    m_connection = connection;
    state.lastSentAzimuth = state.commandedAzimuth;
    state.commandedAzimuth = turned;
    m_context.setInterfaceLabel(QStringLiteral("AZ%1 EL%2 %3").arg(*target).arg(model->goElevation()).arg(m_where));
    rotor().go(*connection, *target, model->goElevation(), [this, report, previous](int status) {
        const RotorOutcome outcome = outcomeOf(status);
        // A GO that never reached the rotator leaves the same target free to be asked again.
        if (!outcome.sent() && m_context.state.lastSentAzimuth != -10)
            m_context.state.lastSentAzimuth = previous;
        report(outcome);
    });
}

HamlibRotor &HamlibRotors::rotor()
{
    if (!m_rotor) {
        m_rotor = std::make_unique<HamlibRotor>();
        connect(m_rotor.get(), &HamlibRotor::readFailed, this, [this](int code) { outcomeOf(code); });
        connect(m_rotor.get(), &HamlibRotor::positionRead, this, &HamlibRotors::positionRead);
        connect(m_rotor.get(), &HamlibRotor::becameIdle, this, &HamlibRotors::becameIdle);
    }
    return *m_rotor;
}

RotorOutcome HamlibRotors::outcomeOf(int status)
{
    using Reason = RotorOutcome::Reason;
    if (status == RIG_OK) {
        m_notices.recovered();
        return RotorOutcome::sentNow();
    }
    if (status == HamlibRotor::Overtaken)
        return RotorOutcome::refused(Reason::Overtaken);
    const QString text =
        tell(QStringLiteral("code %1").arg(status), HamlibErrors::failureText(status, m_where, m_context.language()));
    switch (-status) {
    case RIG_ENIMPL:
    case RIG_ENAVAIL:
        return RotorOutcome::refused(Reason::NotSupported, text);
    case RIG_EINVAL:
        return RotorOutcome::refused(Reason::OutOfLimits, text);
    case RIG_ETIMEOUT:
        return RotorOutcome::failed(Reason::TimedOut, text);
    default:
        return RotorOutcome::failed(Reason::Device, text);
    }
}

void HamlibRotors::readPosition()
{
    const std::optional<HamlibModel> model = HamlibModels::find(m_context.config.extensions.hamlibModelNumber());
    if (!model || !m_context.config.extensions.readsPosition(InterfaceKind::Hamlib))
        return;
    if (const std::optional<HamlibConnection> connection = wantedConnection(*model)) {
        m_connection = connection;
        rotor().read(*connection);
    }
}

void HamlibRotors::StopHamlib(OutcomeReport report)
{
    // Nothing of ours is turning a rotator that was never reached.
    if (!m_connection) {
        report(RotorOutcome::held());
        return;
    }
    rotor().stop(*m_connection, [this, report](int status) { report(outcomeOf(status)); });
    m_context.setInterfaceLabel(QStringLiteral("STOP %1").arg(m_where));
}

void HamlibRotors::close()
{
    if (!m_rotor)
        return;
    m_rotor->release();
    m_connection.reset();
    if (m_context.reportPosition)
        m_context.reportPosition(std::nullopt);
}

void HamlibRotors::positionRead(std::optional<double> azimuth)
{
    // A read that was under way as the rotator was let go tells nothing any more.
    if (!m_context.reportPosition || !m_connection)
        return;
    const InterfaceSettings &settings = m_context.config.at(InterfaceKind::Hamlib);
    m_context.reportPosition(azimuth ? std::optional(PositionReply::antennaAzimuth(*azimuth, settings.azimuthOffset,
                                                                                   settings.stopSide))
                                     : std::nullopt);
}

QString HamlibRotors::tell(const QString &reason, const QString &text)
{
    m_notices.tell(m_where + QLatin1Char(' ') + reason, ProductWord, text);
    return text;
}
