#pragma once

#include <functional>
#include <future>
#include <thread>

// Fills the font database beside the main thread. Reading the system's font
// configuration and listing its fonts is the largest cost of a window's first
// text. The configuration is read at low priority while Qt loads the
// window-system plugin and connects to the display, on whatever core the main
// thread and the display server leave idle; the fonts are then listed while the
// main thread waits on round trips of its own.
class FontconfigWarmUp {
public:
    FontconfigWarmUp(); // before the application object: starts reading the configuration
    ~FontconfigWarmUp();
    FontconfigWarmUp(const FontconfigWarmUp &) = delete;
    FontconfigWarmUp &operator=(const FontconfigWarmUp &) = delete;

    // Once the application object exists and before anything uses fonts: runs
    // `work` on this thread. If the configuration has been read by then, the
    // fonts are listed meanwhile and this returns when both are done; if not (a
    // busy machine), this thread never waits on the low-priority reader and Qt
    // reads the configuration itself when it first needs fonts.
    void listFontsWhile(const std::function<void()> &work);

private:
    std::promise<bool> m_listFonts;
    bool m_listFontsSet = false;
    std::future<void> m_configurationRead;
    std::thread m_reader;
};
