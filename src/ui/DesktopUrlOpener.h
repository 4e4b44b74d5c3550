#pragma once

#include "ui/UrlOpener.h"

// Opens through the desktop's default handler (xdg-open and its kin). Whether a
// browser was found is not our concern: a failed opening is ignored.
class DesktopUrlOpener final : public UrlOpener {
public:
    void open(const QUrl &url) override;
};
