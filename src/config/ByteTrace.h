#pragma once

#include <QByteArray>
#include <QString>

// Bytes as a trace shows them: each in hex, then the printable ones as text and
// the others as dots ("57 31 32 33 0D  W123."), so control bytes such as CR and
// STX are seen exactly.
QString byteTrace(const QByteArray &bytes);
