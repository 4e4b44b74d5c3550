#include "config/ConfigurationReader.h"

#include "config/BaudRateTable.h"
#include "config/ConfigurationKey.h"
#include "config/NumberText.h"
#include "config/SettingsFileTexts.h"
#include "config/Windows1252.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace {

struct KeyTarget {
    ConfigurationKey key;
    InterfaceKind kind = InterfaceKind::None;
    int favourite = 0;
};

class KeyIndex {
public:
    KeyIndex()
    {
        for (auto key : {ConfigurationKey::Lpt, ConfigurationKey::Port, ConfigurationKey::Baud,
                         ConfigurationKey::Stop, ConfigurationKey::Step, ConfigurationKey::AzOffset,
                         ConfigurationKey::Calibration, ConfigurationKey::Zero, ConfigurationKey::ReadPosition}) {
            for (InterfaceKind kind : AllInterfaceKinds)
                add(keyName(key, kind), {key, kind, 0});
        }
        for (int n = 1; n <= FavouriteCount; ++n) {
            add(keyName(ConfigurationKey::FavouriteAzimuth, n), {ConfigurationKey::FavouriteAzimuth, InterfaceKind::None, n});
            add(keyName(ConfigurationKey::FavouriteLabel, n), {ConfigurationKey::FavouriteLabel, InterfaceKind::None, n});
        }
        for (int k = int(FirstSingleKey); k <= int(LastSingleKey); ++k) {
            const auto key = static_cast<ConfigurationKey>(k);
            add(keyName(key), {key});
        }
    }

    // The key text includes its "=", as every key in the file does.
    const KeyTarget *find(QStringView keyWithEquals) const
    {
        if (keyWithEquals.size() > m_longest)
            return nullptr;
        const auto it = m_targets.constFind(keyWithEquals.toString());
        return it == m_targets.constEnd() ? nullptr : &it.value();
    }

    qsizetype longest() const { return m_longest; }

private:
    void add(const QString &name, KeyTarget target)
    {
        if (name.isEmpty())
            return;
        const QString key = name + QLatin1Char('=');
        m_targets.insert(key, target);
        m_longest = std::max(m_longest, key.size());
    }

    QHash<QString, KeyTarget> m_targets;
    qsizetype m_longest = 0;
};

const KeyIndex &knownKeys()
{
    static const KeyIndex keys;
    return keys;
}

class LineApplier {
public:
    LineApplier(Configuration &config, LoadActions &actions, bool lptUsable, const QLocale &locale,
                const QString &fileName)
        : m_config(config), m_actions(actions), m_lptUsable(lptUsable), m_locale(locale), m_fileName(fileName)
    {
    }

    void apply(const KeyTarget &target, QStringView key, const QString &value, qsizetype lineNumber)
    {
        if (target.kind == InterfaceKind::Hamlib || target.key == ConfigurationKey::HamlibModel
            || target.key == ConfigurationKey::HamlibAddress)
            m_config.extensions.hamlibSection = true;
        m_key = key;
        m_lineNumber = lineNumber;
        switch (target.key) {
        case ConfigurationKey::Lpt: case ConfigurationKey::Port: case ConfigurationKey::Baud:
        case ConfigurationKey::Stop: case ConfigurationKey::Step: case ConfigurationKey::AzOffset:
        case ConfigurationKey::Calibration: case ConfigurationKey::Zero:
            applyInterface(target.key, m_config.at(target.kind), target.kind, value);
            break;
        case ConfigurationKey::ReadPosition:
            m_config.extensions.readPosition[ordinal(target.kind)] = value;
            break;
        case ConfigurationKey::FavouriteAzimuth:
            if (const auto azimuth = strictWhole(value))
                m_config.favourites[target.favourite - 1].azimuth = *azimuth;
            break;
        case ConfigurationKey::FavouriteLabel:
            m_config.favourites[target.favourite - 1].label = value;
            m_actions.setFavouriteCaption(target.favourite, value);
            break;
        default:
            applySingle(target.key, value);
            break;
        }
    }

    // The notices speak the language the file chose, wherever its line stood.
    LoadReport takeReport()
    {
        for (const Failure &failure : m_failures) {
            const QString conversion = failure.real ? NumberText::realConversionMessage(failure.value, m_language)
                                                    : NumberText::integerConversionMessage(failure.value, m_language);
            m_report.conversionErrors << SettingsFileTexts::badValueText(m_language, conversion, failure.key,
                                                                         failure.lineNumber, m_fileName);
        }
        return std::move(m_report);
    }

private:
    void applyInterface(ConfigurationKey key, InterfaceSettings &settings, InterfaceKind kind, const QString &value)
    {
        const std::optional<int> whole = NumberText::toWholeNumber(value);
        switch (key) {
        case ConfigurationKey::Lpt:
            // Only LPT1..LPT3 exist; anything else would index past the port tables.
            settings.port = m_lptUsable && whole && *whole >= 1 && *whole <= 3 ? *whole - 1 : -1;
            settings.unusableLptText = m_lptUsable ? std::nullopt : std::optional(value);
            break;
        case ConfigurationKey::Port:
            // COM numbers start at 1; a smaller number names no port.
            settings.port = whole && *whole >= 1 ? *whole - 1 : -1;
            break;
        case ConfigurationKey::Baud:
            if (value.isEmpty())
                break;
            settings.baudText = value;
            if (const auto index = BaudRateTable::indexOfText(value)) {
                settings.baudIndex = *index;
                m_actions.setChannelBaud(kind, *index);
            }
            break;
        case ConfigurationKey::Stop:
            settings.stopSide = value == QLatin1String("N") ? 0 : 1;
            break;
        case ConfigurationKey::Step:
            settings.minimumStep = whole.value_or(1);
            break;
        case ConfigurationKey::AzOffset:
            settings.azimuthOffset = whole.value_or(0);
            break;
        case ConfigurationKey::Calibration:
        case ConfigurationKey::Zero: {
            if (value.isEmpty())
                break;
            const QString normalised =
                NumberText::NormaliseDecimalSeparator(value, NumberText::decimalSeparator(m_locale));
            if (const auto real = strictReal(normalised, value))
                (key == ConfigurationKey::Calibration ? settings.calibration : settings.zero) = *real;
            break;
        }
        default:
            break;
        }
    }

    void applySingle(ConfigurationKey key, const QString &value)
    {
        switch (key) {
        case ConfigurationKey::Language:
            if (const auto language = Language::fromSettingsValue(value)) {
                m_language = *language;
                m_actions.applyLanguage(m_language);
            }
            break;
        case ConfigurationKey::Auto:
            if (value == QLatin1String("1"))
                m_actions.pressAuto();
            break;
        case ConfigurationKey::Server:
            if (value == QLatin1String("GEOMUNDO"))
                m_actions.chooseServer(AzimuthSource::Geomundo);
            else if (value == QLatin1String("BEAMDX"))
                m_actions.chooseServer(AzimuthSource::BeamDx);
            else if (value == QLatin1String("KORU"))
                m_actions.chooseServer(AzimuthSource::Koru);
            break;
        case ConfigurationKey::PortKoru:
            m_config.koruPortText = value;
            m_config.koruPort = NumberText::toWholeNumber(value).value_or(m_config.koruPort);
            break;
        case ConfigurationKey::AntKoru:
            m_config.koruAntennaText = value;
            m_config.koruAntenna = NumberText::toWholeNumber(value).value_or(m_config.koruAntenna);
            break;
        case ConfigurationKey::Ant:
            m_config.interfaceKind = interfaceKindFromIniValue(value).value_or(InterfaceKind::None);
            break;
        case ConfigurationKey::ElGs232:
            m_config.gs232Elevation = true;
            break;
        case ConfigurationKey::TkbHost:
            if (value == QLatin1String("Y"))
                m_config.trakBoxHostMode = true;
            break;
        case ConfigurationKey::Movenow:
            m_config.movenowDirectory = value;
            break;
        case ConfigurationKey::AzimutParking:
            if (const auto real = strictReal(value, value))
                m_config.parkingAzimuth = *real;
            break;
        case ConfigurationKey::Parking:
            if (const auto kind = interfaceKindFromIniValue(value))
                m_config.parkingInterface = ordinal(*kind) + 1;
            break;
        case ConfigurationKey::Jingle:
            if (value == QLatin1String("1"))
                m_config.jingleEnabled = true;
            break;
        case ConfigurationKey::WTop: geometry(WindowField::Top, value); break;
        case ConfigurationKey::WLeft: geometry(WindowField::Left, value); break;
        case ConfigurationKey::WWidth: geometry(WindowField::Width, value); break;
        case ConfigurationKey::WHeight: geometry(WindowField::Height, value); break;
        case ConfigurationKey::WATop:
            m_config.angleTop = strictWhole(value).value_or(m_config.angleTop);
            break;
        case ConfigurationKey::WALeft:
            m_config.angleLeft = strictWhole(value).value_or(m_config.angleLeft);
            break;
        case ConfigurationKey::WAngle:
            m_config.angleShown = strictWhole(value).value_or(m_config.angleShown);
            break;
        case ConfigurationKey::Rotctld:
            m_config.extensions.rotctld = value;
            break;
        case ConfigurationKey::RotctldPort:
            m_config.extensions.rotctldPort = value;
            break;
        case ConfigurationKey::RotctldAddress:
            m_config.extensions.rotctldAddress = value;
            break;
        case ConfigurationKey::HamlibModel:
            m_config.extensions.hamlibModel = value;
            break;
        case ConfigurationKey::HamlibAddress:
            m_config.extensions.hamlibAddress = value;
            break;
        case ConfigurationKey::Angle:
            if (NumberText::toWholeNumber(value).value_or(0) != 0) {
                m_config.restoreAngleText = value;
                m_config.restoreAngle = true;
            }
            break;
        default:
            break;
        }
    }

    void geometry(WindowField field, const QString &value)
    {
        if (const auto pixels = strictWhole(value))
            m_actions.setWindowGeometry(field, *pixels);
    }

    // A strict value that fails is reported, and the key keeps what it had.
    std::optional<int> strictWhole(const QString &value)
    {
        const auto whole = NumberText::toWholeNumber(value);
        if (!whole)
            m_failures.push_back({value, false, m_key.toString(), m_lineNumber});
        return whole;
    }

    std::optional<double> strictReal(const QString &text, const QString &asWritten)
    {
        const auto real = NumberText::toReal(text, m_locale);
        if (!real)
            m_failures.push_back({asWritten, true, m_key.toString(), m_lineNumber});
        return real;
    }

    Configuration &m_config;
    LoadActions &m_actions;
    const bool m_lptUsable;
    const QLocale m_locale;
    const QString m_fileName;
    // Where the line being applied stands, for the notice of a bad value.
    QStringView m_key;
    qsizetype m_lineNumber = 0;
    LoadReport m_report;
    struct Failure {
        QString value;
        bool real;
        QString key;
        qsizetype lineNumber;
    };
    QList<Failure> m_failures;
    Language m_language;
};

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Calls visit(target, key, value, lineNumber) for every line whose key is known,
// in file order, while visit returns true. Lines are numbered from 1 as the
// reader splits them: CR LF, lone CR and lone LF each end one line.
template <typename Visit>
void forEachKnownLine(const QString &text, Visit visit)
{
    const KeyIndex &keys = knownKeys();
    const qsizetype size = text.size();
    qsizetype lineNumber = 0;
    qsizetype start = 0;
    while (start < size) {
        ++lineNumber;
        qsizetype end = start;
        while (end < size && !isLineEnd(text.at(end)))
            ++end;

        // A key is never longer than the longest known one, so the search for
        // its "=" can stop there even on a huge line.
        const QStringView line = QStringView(text).mid(start, end - start);
        const qsizetype equals = line.left(keys.longest()).indexOf(QLatin1Char('='));
        if (equals > 0) {
            if (const KeyTarget *target = keys.find(line.left(equals + 1))) {
                if (!visit(*target, line.left(equals), line.mid(equals + 1), lineNumber))
                    return;
            }
        }

        if (end < size && text.at(end) == QLatin1Char('\r') && end + 1 < size && text.at(end + 1) == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
}

// A UTF-8 byte-order mark (Notepad's "UTF-8 with BOM", PowerShell) says how the
// rest was saved: read as UTF-8, accented labels survive, and the writer puts
// them back in Windows-1252 like every file. Without the mark, or when what
// follows it is not UTF-8 after all, the bytes are Windows-1252.
QString settingsText(const QByteArray &fileBytes)
{
    static constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");
    if (!fileBytes.startsWith(Utf8Bom))
        return Windows1252::decode(fileBytes);
    const QByteArray rest = fileBytes.sliced(Utf8Bom.size());
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(rest);
    return utf8.hasError() ? Windows1252::decode(rest) : text;
}

} // namespace

LoadReport LoadConfiguration(const QByteArray &fileBytes, const QString &fileName, Configuration &config,
                             LoadActions &actions, bool lptUsable, const QLocale &locale)
{
    LineApplier applier(config, actions, lptUsable, locale, fileName);
    forEachKnownLine(settingsText(fileBytes),
                     [&applier](const KeyTarget &target, QStringView key, QStringView value, qsizetype lineNumber) {
                         applier.apply(target, key, value.toString(), lineNumber);
                         return true;
                     });
    return applier.takeReport();
}

bool holdsSettings(const QByteArray &fileBytes)
{
    const QString text = settingsText(fileBytes);
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); }))
        return true;
    bool known = false;
    forEachKnownLine(text, [&known](const KeyTarget &, QStringView, QStringView, qsizetype) {
        known = true;
        return false;
    });
    return known;
}
