#pragma once

#include "rotors/HamlibModels.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// One rotator of the library, opened or not. Every call blocks for as long as
// the library takes, and returns Hamlib's status: 0, or a negative RIG_E* code.
class HamlibDevice {
public:
    virtual ~HamlibDevice() = default;
    virtual int open() = 0;
    virtual int setPosition(double azimuth, double elevation) = 0;
    virtual int stop() = 0;
    virtual int position(double *azimuth) = 0;
    // Closes it if open; the device may be opened again.
    virtual void close() = 0;
};

// Hamlib's rotator library as Orvantis uses it. It lives in a module of its own
// (liborvantis-hamlib.so.<version>), loaded at the first use: linking the library
// and the dozen it needs into the programs cost every window start about 3-4 ms and
// 4 MB (scripts/bench), for an interface few stations use.
class HamlibBackend {
public:
    virtual ~HamlibBackend() = default;
    virtual QList<HamlibModel> models() = 0;
    virtual std::optional<HamlibModel> model(int number) = 0;
    // path is a device or host:port; baudRate 0 keeps the model's own. Null for
    // a model the library does not know.
    virtual std::unique_ptr<HamlibDevice> device(int model, const QByteArray &path, int baudRate, int timeoutMs,
                                                 int retries) = 0;
    // The library's own words for a status code.
    virtual QString statusText(int status) = 0;
    // Where the library's chatter goes, and whether it chatters at all.
    virtual void routeMessages(std::function<void(const QByteArray &)> sink, bool verbose) = 0;
};

// The module's entry points, looked up by name: the backend, and the version of
// Orvantis it was built with (a module of another version is refused).
#define ORVANTIS_HAMLIB_ENTRY "orvantisHamlibBackend"
#define ORVANTIS_HAMLIB_VERSION_ENTRY "orvantisHamlibModuleVersion"
using HamlibBackendEntry = HamlibBackend *(*)();
using HamlibVersionEntry = const char *(*)();
