#pragma once

#include "ui/UrlOpener.h"

#include <QList>

// Keeps every address instead of starting a browser.
class RecordingUrlOpener final : public UrlOpener {
public:
    void open(const QUrl &url) override { m_opened << url; }

    const QList<QUrl> &opened() const { return m_opened; }

private:
    QList<QUrl> m_opened;
};
