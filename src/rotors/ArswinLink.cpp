#include "rotors/ArswinLink.h"

#ifdef ORVANTIS_HAVE_XCB

#include <QByteArray>
#include <QList>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

const QByteArray WindowClass = QByteArrayLiteral("ThunderForm");
const QByteArray WindowTitle = QByteArrayLiteral("ARSWIN");
const QByteArray MessageName = QByteArrayLiteral("AZIMUTH");
// Enough 32-bit units for any class or title worth comparing.
constexpr uint32_t PropertyLength = 256;

struct FreeDeleter {
    void operator()(void *memory) const { std::free(memory); }
};
template <typename Reply>
using Freed = std::unique_ptr<Reply, FreeDeleter>;

// The reply to one request. A window may vanish while it is being looked at;
// its error is freed here rather than left to pile up among the events nobody
// reads on this connection.
template <typename Reply, typename Cookie>
Freed<Reply> take(Reply *(*replyTo)(xcb_connection_t *, Cookie, xcb_generic_error_t **), xcb_connection_t *c,
                  Cookie cookie)
{
    xcb_generic_error_t *error = nullptr;
    Freed<Reply> reply(replyTo(c, cookie, &error));
    std::free(error);
    return reply;
}

// Registers the name on the display if nobody has yet; the same atom every time.
xcb_atom_t internAtom(xcb_connection_t *c, const QByteArray &name)
{
    const auto reply =
        take(xcb_intern_atom_reply, c, xcb_intern_atom(c, false, uint16_t(name.size()), name.constData()));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::vector<xcb_window_t> childrenOf(xcb_connection_t *c, xcb_query_tree_cookie_t cookie)
{
    const auto reply = take(xcb_query_tree_reply, c, cookie);
    if (!reply)
        return {};
    const xcb_window_t *first = xcb_query_tree_children(reply.get());
    return {first, first + xcb_query_tree_children_length(reply.get())};
}

QByteArray propertyValue(xcb_connection_t *c, xcb_get_property_cookie_t cookie)
{
    const auto reply = take(xcb_get_property_reply, c, cookie);
    if (!reply || reply->format != 8)
        return {};
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

// WM_CLASS holds the instance name and the class name, each ended by a NUL.
bool hasArswinClass(const QByteArray &wmClass)
{
    const QList<QByteArray> names = wmClass.split('\0');
    return names.size() >= 2 && names.at(1) == WindowClass;
}

struct Probe {
    xcb_window_t window;
    xcb_get_property_cookie_t wmClass;
    xcb_get_property_cookie_t wmName;
    xcb_get_property_cookie_t netWmName;
};

xcb_get_property_cookie_t askProperty(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property)
{
    return xcb_get_property(c, false, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, PropertyLength);
}

xcb_window_t findArswin(xcb_connection_t *c, xcb_window_t root)
{
    const xcb_atom_t netWmNameAtom = internAtom(c, QByteArrayLiteral("_NET_WM_NAME"));

    std::vector<xcb_window_t> candidates = childrenOf(c, xcb_query_tree(c, root));
    // Window managers reparent each client window into a frame of their own, so
    // the program's window may sit one level below the root's children.
    std::vector<xcb_query_tree_cookie_t> frames;
    for (xcb_window_t window : candidates)
        frames.push_back(xcb_query_tree(c, window));
    for (xcb_query_tree_cookie_t cookie : frames) {
        const std::vector<xcb_window_t> inner = childrenOf(c, cookie);
        candidates.insert(candidates.end(), inner.begin(), inner.end());
    }

    // Every request goes out before the first reply is read: one round trip.
    std::vector<Probe> probes;
    probes.reserve(candidates.size());
    for (xcb_window_t window : candidates)
        probes.push_back({window, askProperty(c, window, XCB_ATOM_WM_CLASS), askProperty(c, window, XCB_ATOM_WM_NAME),
                          askProperty(c, window, netWmNameAtom)});

    xcb_window_t found = XCB_WINDOW_NONE;
    for (const Probe &probe : probes) {
        // Every reply is read, match or not, so none is left queued.
        const QByteArray wmClass = propertyValue(c, probe.wmClass);
        const QByteArray wmName = propertyValue(c, probe.wmName);
        const QByteArray netWmName = propertyValue(c, probe.netWmName);
        const bool isTitled = wmName == WindowTitle || netWmName == WindowTitle;
        if (found == XCB_WINDOW_NONE && hasArswinClass(wmClass) && isTitled)
            found = probe.window;
    }
    return found;
}

} // namespace

XcbArswinLink::~XcbArswinLink()
{
    disconnect();
}

bool XcbArswinLink::connected()
{
    if (m_connection && xcb_connection_has_error(m_connection))
        disconnect();
    if (m_connection)
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;

    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        disconnect();
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int n = 0; n < screenNumber && screens.rem > 0; ++n)
        xcb_screen_next(&screens);
    if (screens.rem == 0) {
        disconnect();
        return false;
    }
    m_root = screens.data->root;
    return true;
}

void XcbArswinLink::disconnect()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    m_connection = nullptr;
    m_window = XCB_WINDOW_NONE;
}

bool XcbArswinLink::findWindow()
{
    // Errors of earlier unchecked requests (a message to a window closed
    // meanwhile) arrive as events; nothing else does, as none are selected.
    if (m_connection)
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    m_window = connected() ? findArswin(m_connection, m_root) : xcb_window_t(XCB_WINDOW_NONE);
    return m_window != XCB_WINDOW_NONE;
}

bool XcbArswinLink::post(quint32 value)
{
    // A connection that broke since findWindow() is made anew without a window.
    if (!connected() || m_window == XCB_WINDOW_NONE)
        return false;
    const xcb_atom_t type = internAtom(m_connection, MessageName);
    if (type == XCB_ATOM_NONE)
        return false;

    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = m_window;
    event.type = type;
    event.data.data32[0] = value;
    event.data.data32[1] = 0;
    // An empty event mask delivers the message to the window's own program.
    xcb_send_event(m_connection, false, m_window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    return xcb_flush(m_connection) > 0 && !xcb_connection_has_error(m_connection);
}

#else

XcbArswinLink::~XcbArswinLink() = default;

bool XcbArswinLink::findWindow()
{
    return false;
}

bool XcbArswinLink::post(quint32)
{
    return false;
}

#endif
