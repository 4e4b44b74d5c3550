#pragma once

#include <QString>

#include <optional>

// The text an azimuth server's item value leaves for the azimuth box: every
// blank removed, then the last character (the server's terminator) dropped.
// Nothing when no text is left. The rest is not checked here: the main window
// converts it and reports a value that is not a whole number.
std::optional<QString> cleanDdeValue(const QString &itemText);
