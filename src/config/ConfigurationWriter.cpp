#include "config/ConfigurationWriter.h"

#include "config/ConfigurationKey.h"
#include "config/NumberText.h"
#include "config/Windows1252.h"

#include <QStringList>

#include <initializer_list>
#include <utility>

namespace {

class LineBuilder {
public:
    LineBuilder(const Configuration &config, const WriterInputs &inputs, const QLocale &locale)
        : m_config(config), m_inputs(inputs), m_locale(locale)
    {
    }

    QStringList build()
    {
        m_lines << QStringLiteral("[ORVANTIS]");
        add(ConfigurationKey::Language, m_inputs.language.settingsValue());
        if (m_inputs.autoOn)
            add(ConfigurationKey::Auto, QStringLiteral("1"));
        if (const QString server = serverValue(m_inputs.source); !server.isEmpty())
            add(ConfigurationKey::Server, server);
        add(ConfigurationKey::PortKoru, m_inputs.koruPortText);
        add(ConfigurationKey::AntKoru, m_inputs.koruAntennaText);
        add(ConfigurationKey::Ant, iniValue(m_config.interfaceKind));

        using K = ConfigurationKey;
        using I = InterfaceKind;
        interfaceGroup(I::PourSat, {K::Lpt, K::Stop, K::Step, K::Calibration, K::Zero});
        interfaceGroup(I::FodTrack, {K::Lpt, K::Stop, K::Step, K::Calibration, K::Zero});
        interfaceGroup(I::Zenta, {K::Stop, K::Step});
        interfaceGroup(I::Gs232, {K::Port, K::Baud, K::Stop, K::Step, K::AzOffset});
        if (m_inputs.gs232Elevation)
            add(K::ElGs232, QStringLiteral("Y"));
        interfaceGroup(I::EasyComm, {K::Port, K::Baud, K::Stop, K::AzOffset, K::Step});
        interfaceGroup(I::Dcu1, {K::Port, K::Baud, K::Stop, K::AzOffset, K::Step});
        interfaceGroup(I::ProSisTel, {K::Port, K::Stop, K::AzOffset, K::Step});
        interfaceGroup(I::TrakBox, {K::Port, K::Baud, K::AzOffset, K::Step});
        add(K::TkbHost, m_config.trakBoxHostMode ? QStringLiteral("Y") : QStringLiteral("N"));
        interfaceGroup(I::M2Orion, {K::Port, K::Stop, K::AzOffset, K::Step});
        interfaceGroup(I::Egis, {K::Port, K::Stop, K::AzOffset, K::Step});
        interfaceGroup(I::Kct, {K::Stop, K::AzOffset, K::Step});

        add(K::Movenow, m_config.movenowDirectory);
        add(K::AzimutParking, QString::number(NumberText::roundHalfEven(m_config.parkingAzimuth)));
        if (const QString parking = iniValue(interfaceKindFromOrdinal(m_config.parkingInterface - 1)); !parking.isEmpty())
            add(K::Parking, parking);
        if (m_config.jingleEnabled)
            add(K::Jingle, QStringLiteral("1"));
        add(K::WLeft, QString::number(m_inputs.windowLeft));
        add(K::WTop, QString::number(m_inputs.windowTop));
        add(K::WWidth, QString::number(m_inputs.windowWidth));
        add(K::WHeight, QString::number(m_inputs.windowHeight));
        add(K::WALeft, QString::number(m_inputs.angleLeft));
        add(K::WATop, QString::number(m_inputs.angleTop));
        if (m_inputs.angleVisible)
            add(K::WAngle, QStringLiteral("1"));
        add(K::Angle, m_inputs.angleText);
        for (int n = 1; n <= FavouriteCount; ++n) {
            const Favourite &favourite = m_config.favourites[n - 1];
            m_lines << keyName(K::FavouriteAzimuth, n) + QLatin1Char('=') + QString::number(favourite.azimuth);
            m_lines << keyName(K::FavouriteLabel, n) + QLatin1Char('=') + favourite.label;
        }
        extensionSections();
        return m_lines;
    }

private:
    static QString serverValue(AzimuthSource source)
    {
        switch (source) {
        case AzimuthSource::Geomundo: return QStringLiteral("GEOMUNDO");
        case AzimuthSource::BeamDx: return QStringLiteral("BEAMDX");
        case AzimuthSource::Koru: return QStringLiteral("KORU");
        case AzimuthSource::None: break;
        }
        return QString();
    }

    void add(ConfigurationKey key, const QString &value)
    {
        m_lines << keyName(key) + QLatin1Char('=') + value;
    }

    // Keys older files lack come last, each only when present, so such a file
    // is written back exactly as it was.
    void extensionSections()
    {
        const ExtensionSettings &ext = m_config.extensions;
        if (ext.rotctld || ext.rotctldPort || ext.rotctldAddress) {
            m_lines << QStringLiteral("[ROTCTLD]");
            addPresent(ConfigurationKey::Rotctld, ext.rotctld);
            addPresent(ConfigurationKey::RotctldPort, ext.rotctldPort);
            addPresent(ConfigurationKey::RotctldAddress, ext.rotctldAddress);
        }
        bool sectionStarted = false;
        for (InterfaceKind kind : SerialInterfaceKinds) {
            const std::optional<QString> &value = ext.readPosition[ordinal(kind)];
            if (!value)
                continue;
            if (!std::exchange(sectionStarted, true))
                m_lines << QStringLiteral("[READ POSITION]");
            m_lines << keyName(ConfigurationKey::ReadPosition, kind) + QLatin1Char('=') + *value;
        }
        hamlibSection();
    }

    void hamlibSection()
    {
        const ExtensionSettings &ext = m_config.extensions;
        if (!ext.hamlibSection)
            return;
        using K = ConfigurationKey;
        const InterfaceKind hamlib = InterfaceKind::Hamlib;
        const InterfaceSettings &settings = m_config.at(hamlib);
        m_lines << iniSection(hamlib);
        addPresent(K::HamlibModel, ext.hamlibModel);
        if (settings.port >= 0)
            addInterfaceKey(K::Port, QString::number(settings.port + 1));
        addPresent(K::HamlibAddress, ext.hamlibAddress);
        // No speed means the model's own, which the library knows better than a file.
        if (!settings.baudText.isEmpty())
            addInterfaceKey(K::Baud, settings.baudText);
        for (K key : {K::Stop, K::Step, K::AzOffset})
            addInterfaceKey(key, *interfaceValue(key, hamlib, settings));
        if (const std::optional<QString> &readPosition = ext.readPosition[ordinal(hamlib)])
            addInterfaceKey(K::ReadPosition, *readPosition);
    }

    void addInterfaceKey(ConfigurationKey key, const QString &value)
    {
        m_lines << keyName(key, InterfaceKind::Hamlib) + QLatin1Char('=') + value;
    }

    void addPresent(ConfigurationKey key, const std::optional<QString> &value)
    {
        if (value)
            add(key, *value);
    }

    // The section header, then the interface's keys in the order given.
    void interfaceGroup(InterfaceKind kind, std::initializer_list<ConfigurationKey> keys)
    {
        m_lines << iniSection(kind);
        const InterfaceSettings &settings = m_config.at(kind);
        for (ConfigurationKey key : keys) {
            if (const std::optional<QString> value = interfaceValue(key, kind, settings))
                m_lines << keyName(key, kind) + QLatin1Char('=') + *value;
        }
    }

    // nullopt leaves the line out.
    std::optional<QString> interfaceValue(ConfigurationKey key, InterfaceKind kind, const InterfaceSettings &settings) const
    {
        switch (key) {
        case ConfigurationKey::Lpt:
            if (settings.port < 0 && settings.unusableLptText)
                return settings.unusableLptText;
            return QString::number(settings.port >= 0 ? settings.port + 1 : 0);
        case ConfigurationKey::Port: {
            const std::optional<int> number = m_inputs.comPortNumber[ordinal(kind)];
            return number ? std::optional(QString::number(*number)) : std::nullopt;
        }
        case ConfigurationKey::Baud:
            return settings.baudText;
        case ConfigurationKey::Stop:
            return settings.stopSide == 1 ? QStringLiteral("S") : QStringLiteral("N");
        case ConfigurationKey::Step:
            return QString::number(settings.minimumStep);
        case ConfigurationKey::AzOffset:
            return QString::number(settings.azimuthOffset);
        case ConfigurationKey::Calibration:
            return NumberText::formatGeneral7(settings.calibration, m_locale);
        case ConfigurationKey::Zero:
            return NumberText::formatGeneral7(settings.zero, m_locale);
        default:
            return std::nullopt;
        }
    }

    const Configuration &m_config;
    const WriterInputs &m_inputs;
    const QLocale m_locale;
    QStringList m_lines;
};

} // namespace

QByteArray writeConfiguration(const Configuration &config, const WriterInputs &inputs, const QLocale &locale)
{
    const QStringList lines = LineBuilder(config, inputs, locale).build();
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    return Windows1252::encode(text);
}

QList<int> favouritesNotKept(const Configuration &config)
{
    QList<int> numbers;
    for (int n = 1; n <= FavouriteCount; ++n) {
        if (!Windows1252::holds(config.favourites[n - 1].label))
            numbers << n;
    }
    return numbers;
}
