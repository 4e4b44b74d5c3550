#pragma once

#include <QIcon>

class QWidget;

// The window icon: the compass with its needle at north-east (resources/orvantis.png).
QIcon applicationIcon();

// Gives every window the icon once `window` has first been painted: nothing needs
// it before, and decoding it would hold up that first paint.
void setApplicationIconAfterFirstPaint(QWidget &window);
