#pragma once

#include <functional>
#include <future>
#include <thread>

// Fills the font database on a second core. Reading the system's font
// configuration and listing its fonts is the largest cost of a window's first
// text: the configuration is read while Qt loads the window-system plugin and
// connects to the display, and the fonts are listed while the main thread waits
// on round trips of its own.
class FontconfigWarmUp {
public:
    FontconfigWarmUp(); // before the application object: starts reading the configuration
    ~FontconfigWarmUp();
    FontconfigWarmUp(const FontconfigWarmUp &) = delete;
    FontconfigWarmUp &operator=(const FontconfigWarmUp &) = delete;

    // Once the application object exists and before anything uses fonts: runs
    // `work` on this thread while the fonts are listed on the other, and returns
    // when both are done.
    void listFontsWhile(const std::function<void()> &work);

private:
    std::promise<bool> m_listFonts; // false when the program ends before its window
    bool m_listFontsSet = false;
    std::future<void> m_configurationRead;
    std::thread m_reader;
};
