#include "core/StatusCaption.h"

#include "config/NumberText.h"
#include "rotors/HamlibModels.h"
#include "rotors/HamlibRotors.h"

using namespace NumberText;

namespace {

QString parkingSuffix(const Configuration &config)
{
    if (config.parkingInterface != ordinal(config.interfaceKind) + 1)
        return QString();
    return QStringLiteral(" / Parking=%1").arg(roundHalfEven(config.parkingAzimuth)) + QChar(0x00B0);
}

// The name shown in the caption differs from the INI value for some kinds.
QString captionName(InterfaceKind kind)
{
    switch (kind) {
    case InterfaceKind::Dcu1:
        return QStringLiteral("DCU1");
    case InterfaceKind::M2Orion:
        return QStringLiteral("M2ORION");
    default:
        return dialogCaption(kind);
    }
}

QString baudText(const Configuration &config, InterfaceKind kind)
{
    switch (kind) {
    case InterfaceKind::ProSisTel:
    case InterfaceKind::M2Orion:
    case InterfaceKind::Egis:
        return QStringLiteral("9600");
    default:
        return config.at(kind).baudText;
    }
}

// "Hamlib SPID Rot2Prog / COM5 / 600", or the address of a network model.
QString hamlibCaption(const Configuration &config, const QString &head)
{
    const std::optional<HamlibModel> model = HamlibModels::find(config.extensions.hamlibModelNumber());
    if (!model)
        return head + QStringLiteral("Hamlib / no model");
    const QString where = HamlibRotors::where(config, *model);
    if (model->portless)
        return head + model->caption() + parkingSuffix(config);
    if (model->network)
        return head + model->caption() + QStringLiteral(" / ") + (where.isEmpty() ? QStringLiteral("no address") : where)
            + parkingSuffix(config);
    if (where.isEmpty())
        return head + model->caption() + QStringLiteral(" / no COM");
    const QString baud = config.at(InterfaceKind::Hamlib).baudText;
    return head + model->caption() + QStringLiteral(" / ") + where + QStringLiteral(" / ")
        + (baud.isEmpty() ? QString::number(model->defaultRate) : baud) + parkingSuffix(config);
}

} // namespace

QString BuildStatusCaption(const Configuration &config, const std::array<QString, 3> &lptNames)
{
    const InterfaceKind kind = config.interfaceKind;
    const QString head = ProductWord + VersionText + QStringLiteral(" - ");
    switch (kind) {
    case InterfaceKind::None:
        return ProductWord + VersionText;
    case InterfaceKind::Zenta:
        return head + QStringLiteral("ZENTA /ARSWIN") + parkingSuffix(config);
    case InterfaceKind::Kct:
        return head + QStringLiteral("KCT") + parkingSuffix(config);
    case InterfaceKind::Hamlib:
        return hamlibCaption(config, head);
    case InterfaceKind::PourSat:
    case InterfaceKind::FodTrack: {
        const int port = config.at(kind).port;
        const QString name = captionName(kind);
        if (port < 0 || port > 2)
            return head + name + QStringLiteral(" / no LPT");
        return head + name + QStringLiteral(" / ") + lptNames[port] + parkingSuffix(config);
    }
    default: {
        const int port = config.at(kind).port;
        const QString name = captionName(kind);
        if (port < 0)
            return head + name + QStringLiteral(" / no COM");
        return head + name + QStringLiteral(" / COM%1 / ").arg(port + 1) + baudText(config, kind)
            + parkingSuffix(config);
    }
    }
}
