#pragma once

#include <QIcon>

// The window icon: the compass with its needle at north-east (resources/orvantis.png).
QIcon applicationIcon();
