#pragma once

#include <QString>

// When the module's calls into other libraries are bound: all at once as it is
// loaded (a library that does not fit is then told at once, not at some call), or
// each at its first call, as the program file's own are.
enum class SymbolBinding { AtLoad, AtFirstCall };

// Opens one of the program's own modules (liborvantis-*.so). Installed, a module
// lies at a fixed place relative to the program; built, the program's run path
// leads to it. Null when it cannot be opened, with the loader's own words in
// `error`.
void *openProgramModule(const char *fileName, SymbolBinding binding, QString *error);
