#pragma once

#include <QByteArray>
#include <QString>

// Orvantis.ini is Windows-1252 text, so a file moves between Windows and Linux
// unchanged. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 controls of the same value and back, so any byte
// sequence survives decode() then encode() unchanged.
namespace Windows1252 {

QString decode(const QByteArray &bytes);
// A character the code page cannot hold becomes '?' (one per code point).
QByteArray encode(const QString &text);
// Whether encode() keeps every character of `text`.
bool holds(const QString &text);

} // namespace Windows1252
