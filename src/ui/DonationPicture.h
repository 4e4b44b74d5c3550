#pragma once

#include <QPixmap>

// The about box's donation button face, 101x100: a gold coin carrying a red heart.
inline constexpr QSize DonationPictureSize(101, 100);

QPixmap donationPicture(qreal devicePixelRatio);
