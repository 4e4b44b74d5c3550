#pragma once

#include <QSize>
#include <QString>

class QLineEdit;

// The size a line edit needs to show `text` whole in its own font, frame and
// margins: QLineEdit's size hint is a fixed width of 17 characters, not its text's.
QSize lineEditSizeFor(const QLineEdit &edit, const QString &text);
