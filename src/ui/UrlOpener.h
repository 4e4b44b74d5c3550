#pragma once

#include <QUrl>

// Hands an address or a file to whatever the desktop opens it with. Widgets hold a
// reference so tests can record the addresses instead of starting a browser.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QUrl &url) = 0;
};
