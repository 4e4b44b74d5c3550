#pragma once

#include <QString>
#include <QtGlobal>

// Every line the program writes to standard error goes through here, so a journal
// or a terminal sees one form: "orvantis: " once, the message on one line, LF.

// The line for `message`: its own line breaks (LF or CR LF) become spaces, and a
// prefix the message already carries is not repeated.
QString standardErrorLine(const QString &message);

// Writes standardErrorLine(message) at once (standard error may be a pipe that
// outlives the program).
void writeStandardErrorLine(const QString &message);

// Qt's own warnings and the logging categories' traces take the same form, laid
// out by Qt's message pattern (QT_MESSAGE_PATTERN; by default the category, when
// there is one, then the message).
void routeQtMessagesToStandardError();

// The line a Qt message becomes, as routeQtMessagesToStandardError writes it.
QString qtMessageLine(QtMsgType type, const QMessageLogContext &context, const QString &message);
