#pragma once

#include "ui/UrlOpener.h"

#include <functional>
#include <memory>

class HelpWindow;

// Opens through the desktop's default handler (xdg-open and its kin). When the
// desktop has none, help pages are shown in a window of our own instead of nothing.
class DesktopUrlOpener final : public UrlOpener {
public:
    // False from systemOpen means the desktop could not take the address.
    using SystemOpen = std::function<bool(const QUrl &)>;
    explicit DesktopUrlOpener(SystemOpen systemOpen = {});
    ~DesktopUrlOpener() override;

    void open(const QUrl &url) override;
    // The window of the last fallback, or none.
    HelpWindow *helpWindow() const { return m_helpWindow.get(); }

private:
    SystemOpen m_systemOpen;
    std::unique_ptr<HelpWindow> m_helpWindow;
};
