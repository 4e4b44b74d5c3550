#include "rotors/HamlibModels.h"

#include "rotors/HamlibBackend.h"
#include "rotors/HamlibLibrary.h"

#include <algorithm>

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

QList<HamlibModel> HamlibModels::all()
{
    HamlibBackend *backend = HamlibLibrary::backend();
    if (!backend)
        return {};
    QList<HamlibModel> models = backend->models();
    std::sort(models.begin(), models.end(), [](const HamlibModel &a, const HamlibModel &b) {
        const int maker = QString::compare(a.maker, b.maker, Qt::CaseInsensitive);
        return maker != 0 ? maker < 0 : QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    return models;
}

std::optional<HamlibModel> HamlibModels::find(int number)
{
    HamlibBackend *backend = number > 0 ? HamlibLibrary::backend() : nullptr;
    return backend ? backend->model(number) : std::nullopt;
}
