#include "rotors/HamlibModels.h"

#include "config/LogCategories.h"

#include <hamlib/rotator.h>

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <mutex>

namespace {

HamlibModel fromCaps(const rot_caps &caps)
{
    HamlibModel model;
    model.number = int(caps.rot_model);
    model.maker = QString::fromUtf8(caps.mfg_name).trimmed();
    model.name = QString::fromUtf8(caps.model_name).trimmed();
    model.network = caps.port_type == RIG_PORT_NETWORK;
    model.defaultRate = caps.serial_rate_max > 0 ? caps.serial_rate_max : caps.serial_rate_min;
    model.minAzimuth = caps.min_az;
    model.maxAzimuth = caps.max_az;
    model.minElevation = caps.min_el;
    return model;
}

int collect(const rot_caps *caps, rig_ptr_t data)
{
    static_cast<QList<HamlibModel> *>(data)->append(fromCaps(*caps));
    return 1; // go on
}

int logLibraryLine(enum rig_debug_level_e, rig_ptr_t, const char *format, va_list arguments)
{
    char line[512];
    std::vsnprintf(line, sizeof line, format, arguments);
    qCDebug(hamlibLog, "%s", QByteArray(line).trimmed().constData());
    return 0;
}

} // namespace

QString HamlibModel::caption() const
{
    return QStringLiteral("Hamlib %1 %2").arg(maker, name);
}

std::optional<double> HamlibModel::withinLimits(double azimuth) const
{
    for (double turn : {0.0, -360.0, 360.0}) {
        const double candidate = azimuth + turn;
        if (candidate >= minAzimuth && candidate <= maxAzimuth)
            return candidate;
    }
    return std::nullopt;
}

void HamlibModels::prepareLibrary()
{
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        rig_set_debug_callback(logLibraryLine, nullptr);
        rig_set_debug(hamlibLog().isDebugEnabled() ? RIG_DEBUG_TRACE : RIG_DEBUG_NONE);
        rot_load_all_backends();
    });
}

QList<HamlibModel> HamlibModels::all()
{
    prepareLibrary();
    QList<HamlibModel> models;
    rot_list_foreach(collect, &models);
    std::sort(models.begin(), models.end(), [](const HamlibModel &a, const HamlibModel &b) {
        const int maker = QString::compare(a.maker, b.maker, Qt::CaseInsensitive);
        return maker != 0 ? maker < 0 : QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    return models;
}

std::optional<HamlibModel> HamlibModels::find(int number)
{
    if (number <= 0)
        return std::nullopt;
    prepareLibrary();
    const rot_caps *caps = rot_get_caps(rot_model_t(number));
    return caps ? std::optional(fromCaps(*caps)) : std::nullopt;
}
