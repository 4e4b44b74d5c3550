#pragma once

#include <QPixmap>

// The 31x31 track lamp: a panel LED, dark when off, glowing green when on.
inline constexpr int LampSize = 31;

QPixmap lampImage(bool on, qreal devicePixelRatio);
