#pragma once

#include <QIcon>

// The window icon: the compass with its needle at north-east, drawn at every
// size a desktop asks for.
QIcon applicationIcon();
