#include "config/ExtensionSettings.h"

#include "config/NumberText.h"

bool ExtensionSettings::rotctldEnabled() const
{
    return rotctld == QLatin1String("1");
}

quint16 ExtensionSettings::rotctldListenPort() const
{
    const std::optional<int> port = rotctldPort ? NumberText::toWholeNumber(*rotctldPort) : std::nullopt;
    return port && *port >= 1 && *port <= 65535 ? quint16(*port) : DefaultRotctldPort;
}

QString ExtensionSettings::rotctldListenAddress() const
{
    const QString address = rotctldAddress.value_or(QString()).trimmed();
    return address.isEmpty() ? QStringLiteral("127.0.0.1") : address;
}

bool ExtensionSettings::readsPosition(InterfaceKind kind) const
{
    return kind != InterfaceKind::None && readPosition[ordinal(kind)] == QLatin1String("1");
}

int ExtensionSettings::hamlibModelNumber() const
{
    const std::optional<int> model = hamlibModel ? NumberText::toWholeNumber(*hamlibModel) : std::nullopt;
    return model && *model > 0 ? *model : 0;
}
