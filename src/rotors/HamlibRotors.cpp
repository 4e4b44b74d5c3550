#include "rotors/HamlibRotors.h"

#include "config/ProgramIdentity.h"
#include "rotors/HamlibErrors.h"
#include "rotors/HamlibLibrary.h"
#include "rotors/PositionReply.h"
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

HamlibRotors::~HamlibRotors()
{
    close();
}

QString HamlibRotors::where(const Configuration &config, const HamlibModel &model)
{
    if (model.network)
        return config.extensions.hamlibAddress.value_or(QString()).trimmed();
    const int port = config.at(InterfaceKind::Hamlib).port;
    return port >= 0 ? QStringLiteral("COM%1").arg(port + 1) : QString();
}

std::optional<HamlibConnection> HamlibRotors::wantedConnection(const HamlibModel &model)
{
    const Configuration &config = m_context.config;
    const Language language = m_context.language();
    m_where = where(config, model);
    HamlibConnection connection;
    connection.model = model.number;
    connection.readPosition = config.extensions.readsPosition(InterfaceKind::Hamlib);
    if (model.network) {
        if (m_where.isEmpty()) {
            tell(QStringLiteral("no address"), HamlibErrors::noAddressText(language));
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
        tell(QStringLiteral("no port"), serialFailureText(failure, language));
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
    tell(QStringLiteral("open %1").arg(int(failure.kind)), serialFailureText(failure, language));
    return std::nullopt;
}

void HamlibRotors::GoHamlib()
{
    CommandState &state = m_context.state;
    const InterfaceSettings &settings = m_context.config.at(InterfaceKind::Hamlib);
    const std::optional<HamlibModel> model = HamlibModels::find(m_context.config.extensions.hamlibModelNumber());
    const auto notSent = [this, &state] {
        state.notSentFlag = true;
        m_context.feedback.beep();
    };
    if (!HamlibLibrary::backend()) {
        tell(QStringLiteral("no library"), HamlibErrors::libraryMissingText(HamlibLibrary::loadError(), m_context.language()));
        notSent();
        return;
    }
    if (!model) {
        tell(QStringLiteral("no model"), HamlibErrors::noModelText(m_context.language()));
        notSent();
        return;
    }
    if (!SerialProtocol::passesMinimumStep(settings.minimumStep, state.commandedAzimuth, state.lastSentAzimuth)) {
        state.holdWithinStep();
        return;
    }
    const double turned = SerialProtocol::applyStopSide(state.commandedAzimuth, settings.stopSide);
    double azimuth = std::fmod(turned - settings.azimuthOffset, 360.0);
    if (azimuth < 0)
        azimuth += 360;
    const std::optional<double> target = model->withinLimits(azimuth);
    if (!target) {
        // Refused before the library sees it: nothing moves, the minimum step keeps its reference.
        tell(QStringLiteral("limits %1").arg(azimuth),
             HamlibErrors::beyondLimitsText(where(m_context.config, *model), azimuth, model->minAzimuth,
                                            model->maxAzimuth, m_context.language()));
        notSent();
        return;
    }
    const std::optional<HamlibConnection> connection = wantedConnection(*model);
    if (!connection) {
        notSent();
        return;
    }
    state.lastSentAzimuth = state.commandedAzimuth;
    state.commandedAzimuth = turned;
    openRotor(*connection);
    m_rotor->go(*target, model->goElevation());
    m_context.setInterfaceLabel(QStringLiteral("AZ%1 EL%2 %3").arg(*target).arg(model->goElevation()).arg(m_where));
}

void HamlibRotors::openRotor(const HamlibConnection &connection)
{
    if (m_rotor && m_rotor->connection() != connection)
        close();
    if (!m_rotor) {
        m_rotor = std::make_unique<HamlibRotor>(connection);
        connect(m_rotor.get(), &HamlibRotor::failed, this, &HamlibRotors::failed);
        connect(m_rotor.get(), &HamlibRotor::positionRead, this, &HamlibRotors::positionRead);
    }
}

void HamlibRotors::readPosition()
{
    const std::optional<HamlibModel> model = HamlibModels::find(m_context.config.extensions.hamlibModelNumber());
    if (!model || !m_context.config.extensions.readsPosition(InterfaceKind::Hamlib))
        return;
    if (const std::optional<HamlibConnection> connection = wantedConnection(*model)) {
        openRotor(*connection);
        m_rotor->read();
    }
}

void HamlibRotors::StopHamlib()
{
    if (!m_rotor)
        return;
    m_rotor->stop();
    m_context.setInterfaceLabel(QStringLiteral("STOP %1").arg(m_where));
}

void HamlibRotors::close()
{
    if (!m_rotor)
        return;
    m_rotor->close(HamlibRotor::CloseLimitMs);
    m_rotor.reset();
    if (m_context.reportPosition)
        m_context.reportPosition(std::nullopt);
}

void HamlibRotors::failed(HamlibRotor::Step, int code)
{
    tell(QStringLiteral("code %1").arg(code), HamlibErrors::failureText(code, m_where, m_context.language()));
}

void HamlibRotors::positionRead(std::optional<double> azimuth)
{
    if (!m_context.reportPosition)
        return;
    const InterfaceSettings &settings = m_context.config.at(InterfaceKind::Hamlib);
    m_context.reportPosition(azimuth ? std::optional(PositionReply::antennaAzimuth(*azimuth, settings.azimuthOffset,
                                                                                   settings.stopSide))
                                     : std::nullopt);
}

void HamlibRotors::tell(const QString &reason, const QString &text)
{
    m_notices.tell(m_where + QLatin1Char(' ') + reason, ProductWord, text);
}
