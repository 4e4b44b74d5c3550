#pragma once

#include <functional>
#include <future>
#include <optional>
#include <thread>

// Fills the font database beside the main thread. Reading the system's font
// configuration and listing its fonts is the largest cost of a window's first
// text. The configuration is read at low priority while Qt connects to the
// display, on whatever core the main thread and the display server leave idle;
// the fonts are then listed while the main thread waits on round trips of its
// own, and the first paint's drawings made while it builds the windows.
class FontconfigWarmUp {
public:
    FontconfigWarmUp(); // before the application object: starts reading the configuration
    ~FontconfigWarmUp(); // calls finish()
    FontconfigWarmUp(const FontconfigWarmUp &) = delete;
    FontconfigWarmUp &operator=(const FontconfigWarmUp &) = delete;

    // Once the application object exists and before anything uses fonts: runs
    // `work` on this thread while the reader lists the fonts, and returns once
    // they are listed; the reader then runs `then`. Should the low-priority reader
    // be held up (a busy machine), this thread waits for it only a few
    // milliseconds: Qt then reads the configuration itself if it must, and
    // fontconfig keeps whichever copy is done first.
    void listFontsWhile(const std::function<void()> &work, std::function<void()> then);
    // Before the application object goes, on every path: waits for the reader, or
    // tells one that was never needed to stop.
    void finish();

private:
    // What the reader does once the configuration is read: nothing (the program
    // gave up before its window), or list the fonts and run the drawing handed over.
    std::promise<std::optional<std::function<void()>>> m_listFontsThen;
    bool m_listFontsThenSet = false;
    std::promise<void> m_fontsListed;
    std::thread m_reader;
};
