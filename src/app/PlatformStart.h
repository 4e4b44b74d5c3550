#pragma once

// Around the construction of QApplication. A platform that cannot start (a display
// that went away, no compositor, a missing plugin) is a fatal message inside Qt,
// which would abort: the user gets one line, with Qt's reasons, and status 1.

// Before the construction: Qt's remarks are held back, and a fatal one ends the
// program with that line.
void watchPlatformStart();

// After it: the remarks held back are written as they came, and Qt's messages go
// to standard error as everywhere else.
void endPlatformWatch();
