#pragma once

#include <QtGlobal>

struct xcb_connection_t;

// The road to the outside rotator program ARSWIN: its main window, found afresh
// for every command, and a message carrying one whole number.
class ArswinLink {
public:
    virtual ~ArswinLink() = default;

    // Whether ARSWIN's window is there now; post() goes to the window found last.
    virtual bool findWindow() = 0;
    // Hands value to ARSWIN without waiting for it. False when it cannot be delivered.
    virtual bool post(quint32 value) = 0;
};

// ARSWIN on the X display: the top-level window of class "ThunderForm" titled
// "ARSWIN" receives a ClientMessage of type "AZIMUTH" with the value in its
// first 32-bit field. Without a display (or without xcb at build time) there
// is never a window.
class XcbArswinLink final : public ArswinLink {
public:
    XcbArswinLink() = default;
    ~XcbArswinLink() override;
    XcbArswinLink(const XcbArswinLink &) = delete;
    XcbArswinLink &operator=(const XcbArswinLink &) = delete;

    bool findWindow() override;
    bool post(quint32 value) override;

private:
    // Connects on first use, and again after the display went away.
    bool connected();
    void disconnect();

    xcb_connection_t *m_connection = nullptr;
    quint32 m_root = 0;
    quint32 m_window = 0;
};
