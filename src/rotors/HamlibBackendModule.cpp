// The module that holds every call into Hamlib's library; the program loads it
// only when a Hamlib rotator or the list of models is wanted.
#include "rotors/HamlibBackend.h"

#include <hamlib/rotator.h>

#include <cstdarg>
#include <cstdio>

namespace {

HamlibModel fromCaps(const rot_caps &caps)
{
    HamlibModel model;
    model.number = int(caps.rot_model);
    model.maker = QString::fromUtf8(caps.mfg_name).trimmed();
    model.name = QString::fromUtf8(caps.model_name).trimmed();
    model.network = caps.port_type == RIG_PORT_NETWORK;
    model.portless = caps.port_type == RIG_PORT_NONE;
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

std::function<void(const QByteArray &)> messageSink;

int passLibraryLine(enum rig_debug_level_e, rig_ptr_t, const char *format, va_list arguments)
{
    char line[512];
    std::vsnprintf(line, sizeof line, format, arguments);
    if (messageSink)
        messageSink(QByteArray(line).trimmed());
    return 0;
}

class LibraryDevice final : public HamlibDevice {
public:
    explicit LibraryDevice(ROT *rot) : m_rot(rot) {}
    ~LibraryDevice() override
    {
        close();
        rot_cleanup(m_rot);
    }

    int open() override
    {
        const int status = rot_open(m_rot);
        m_open = status == RIG_OK;
        return status;
    }
    int setPosition(double azimuth, double elevation) override
    {
        return rot_set_position(m_rot, azimuth_t(azimuth), elevation_t(elevation));
    }
    int stop() override { return rot_stop(m_rot); }
    int position(double *azimuth) override
    {
        azimuth_t read = 0;
        elevation_t elevation = 0;
        const int status = rot_get_position(m_rot, &read, &elevation);
        *azimuth = read;
        return status;
    }
    void close() override
    {
        if (m_open)
            rot_close(m_rot);
        m_open = false;
    }

private:
    ROT *m_rot;
    bool m_open = false;
};

class LibraryBackend final : public HamlibBackend {
public:
    LibraryBackend()
    {
        rig_set_debug(RIG_DEBUG_NONE);
        rig_set_debug_callback(passLibraryLine, nullptr);
        rot_load_all_backends();
    }

    QList<HamlibModel> models() override
    {
        QList<HamlibModel> all;
        rot_list_foreach(collect, &all);
        return all;
    }
    std::optional<HamlibModel> model(int number) override
    {
        const rot_caps *caps = number > 0 ? rot_get_caps(rot_model_t(number)) : nullptr;
        return caps ? std::optional(fromCaps(*caps)) : std::nullopt;
    }
    std::unique_ptr<HamlibDevice> device(int model, const QByteArray &path, int baudRate, int timeoutMs,
                                         int retries) override
    {
        ROT *rot = rot_init(rot_model_t(model));
        if (!rot)
            return nullptr;
        if (!path.isEmpty())
            rot_set_conf(rot, rot_token_lookup(rot, "rot_pathname"), path.constData());
        rot_set_conf(rot, rot_token_lookup(rot, "timeout"), QByteArray::number(timeoutMs).constData());
        rot_set_conf(rot, rot_token_lookup(rot, "retry"), QByteArray::number(retries).constData());
        if (baudRate > 0)
            rot_set_conf(rot, rot_token_lookup(rot, "serial_speed"), QByteArray::number(baudRate).constData());
        return std::make_unique<LibraryDevice>(rot);
    }
    QString statusText(int status) override { return QString::fromUtf8(rigerror(status)).trimmed(); }
    void routeMessages(std::function<void(const QByteArray &)> sink, bool verbose) override
    {
        messageSink = std::move(sink);
        rig_set_debug(verbose ? RIG_DEBUG_TRACE : RIG_DEBUG_NONE);
    }
};

} // namespace

extern "C" Q_DECL_EXPORT HamlibBackend *orvantisHamlibBackend()
{
    static LibraryBackend backend;
    return &backend;
}

extern "C" Q_DECL_EXPORT const char *orvantisHamlibModuleVersion()
{
    return ORVANTIS_VERSION;
}
