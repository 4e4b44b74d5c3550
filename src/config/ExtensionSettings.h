#pragma once

#include "config/InterfaceKind.h"

#include <QString>

#include <array>
#include <optional>

// Settings that older Orvantis.ini files do not have. Each keeps the text it was
// read with (or the user set) and is written back only when present, so a file
// without them comes back byte for byte.
struct ExtensionSettings {
    std::optional<QString> rotctld;        // ROTCTLD: "1" serves the rotctld protocol
    std::optional<QString> rotctldPort;    // ROTCTLD_PORT
    std::optional<QString> rotctldAddress; // ROTCTLD_ADDRESS
    // READPOS_<interface>: "1" polls the controller for the antenna's position.
    std::array<std::optional<QString>, InterfaceKindCount> readPosition;
    // The Hamlib interface: written, as a whole section, only once a file had one
    // of its keys or the user set it up.
    bool hamlibSection = false;
    std::optional<QString> hamlibModel;   // HAMLIB_MODEL: the library's model number
    std::optional<QString> hamlibAddress; // HAMLIB_ADDRESS: host:port of a network model

    static constexpr quint16 DefaultRotctldPort = 4533;

    bool rotctldEnabled() const;
    // A missing or unusable port text gives the port Hamlib clients expect.
    quint16 rotctldListenPort() const;
    // Loopback unless the user asks for more, so nothing is exposed by default.
    QString rotctldListenAddress() const;
    bool readsPosition(InterfaceKind kind) const;
    // The model number; 0 (no model) when absent or not a number.
    int hamlibModelNumber() const;
};
