#pragma once

#include <QString>

class HamlibBackend;

namespace HamlibLibrary {

// Hamlib's library, loaded at the first call from Orvantis's module for it (its
// chatter then goes to the "orvantis.hamlib" logging category); null when the
// module or Hamlib's library is missing. A module that is there but damaged, or of
// another version, ends the program: one line on standard error, status 1.
HamlibBackend *backend();

// Why backend() is null: the loader's own words.
QString loadError();

} // namespace HamlibLibrary
