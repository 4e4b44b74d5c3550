#pragma once

#include "config/ConfigurationReader.h"

#include <QStringList>

#include <array>

// Where the bytes the tests read are said to come from.
inline const QString TestFileName = QStringLiteral("/settings/Orvantis.ini");

// Keeps every action the reader performs, as one line each, and the state
// those actions would leave in the main window.
class RecordingLoadActions final : public LoadActions {
public:
    void applyLanguage(const Language &language) override
    {
        m_calls << QStringLiteral("language:") + language.settingsValue();
        m_language = language;
    }
    void pressAuto() override
    {
        m_calls << QStringLiteral("auto");
        m_autoOn = !m_autoOn;
    }
    void chooseServer(AzimuthSource source) override
    {
        static const char *const names[] = {"none", "GEOMUNDO", "BEAMDX", "KORU"};
        m_calls << QStringLiteral("server:%1").arg(QLatin1String(names[int(source)]));
        m_source = source;
    }
    void setFavouriteCaption(int n, const QString &caption) override
    {
        m_calls << QStringLiteral("caption:%1:%2").arg(n).arg(caption);
    }
    void setWindowGeometry(WindowField field, int value) override
    {
        static const char *const names[] = {"top", "left", "width", "height"};
        m_calls << QStringLiteral("geometry:%1:%2").arg(QLatin1String(names[int(field)])).arg(value);
        m_geometry[int(field)] = value;
    }
    void setChannelBaud(InterfaceKind kind, int baudIndex) override
    {
        m_calls << QStringLiteral("baud:%1:%2").arg(iniValue(kind)).arg(baudIndex);
    }

    const QStringList &calls() const { return m_calls; }
    const Language &language() const { return m_language; }
    bool autoOn() const { return m_autoOn; }
    AzimuthSource source() const { return m_source; }
    int geometry(WindowField field) const { return m_geometry[int(field)]; }

private:
    QStringList m_calls;
    Language m_language;
    bool m_autoOn = false;
    AzimuthSource m_source = AzimuthSource::None;
    std::array<int, 4> m_geometry = {};
};
