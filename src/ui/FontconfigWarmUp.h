#pragma once

#include <thread>

// Reads the system's font configuration on a second core while Qt loads the
// window-system plugin and connects to the display. Parsing the configuration
// files is the largest single cost of a window's first text, and Qt's own call
// to initialise fontconfig finds it done. Qt must not touch fonts before wait().
class FontconfigWarmUp {
public:
    FontconfigWarmUp();
    ~FontconfigWarmUp();
    FontconfigWarmUp(const FontconfigWarmUp &) = delete;
    FontconfigWarmUp &operator=(const FontconfigWarmUp &) = delete;

    // Returns once the configuration is loaded (or its loading failed, which
    // Qt then meets and reports itself).
    void wait();

private:
    std::thread m_reader;
};
