#pragma once

#include <QString>

class HamlibBackend;

namespace HamlibLibrary {

// Hamlib's library, loaded at the first call (its chatter then goes to the
// "orvantis.hamlib" logging category); null when it cannot be loaded.
HamlibBackend *backend();

// Why backend() is null: the loader's own words.
QString loadError();

} // namespace HamlibLibrary
