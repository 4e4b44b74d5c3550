#pragma once

#include <QString>

// Opens one of the program's own modules (liborvantis-*.so). Installed, a module
// lies at a fixed place relative to the program; built, the program's run path
// leads to it. Null when it cannot be opened, with the loader's own words in
// `error`.
void *openProgramModule(const char *fileName, QString *error);
