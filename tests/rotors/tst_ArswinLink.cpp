#include "rotors/ArswinLink.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>

namespace {

enum class Placement { TopLevel, InsideFrame };
enum class TitleProperty { WmName, NetWmName };

} // namespace

// The X side of ZENTA against a stand-in ARSWIN window made by the test on the
// display the tests run on.
class TestArswinLink : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display (scripts/test runs the tests under xvfb-run)");
        m_x = xcb_connect(nullptr, &m_screenNumber);
        QVERIFY2(!xcb_connection_has_error(m_x), "cannot connect to $DISPLAY");
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_x));
        for (int n = 0; n < m_screenNumber; ++n)
            xcb_screen_next(&screens);
        m_root = screens.data->root;
    }

    void cleanupTestCase()
    {
        if (m_x)
            xcb_disconnect(m_x);
    }

    void cleanup()
    {
        for (xcb_window_t window : std::as_const(m_windows))
            xcb_destroy_window(m_x, window);
        m_windows.clear();
        sync();
    }

    void deliversValue_data()
    {
        QTest::addColumn<Placement>("placement");
        QTest::addColumn<TitleProperty>("title");
        QTest::addColumn<quint32>("value");
        QTest::newRow("top-level window, azimuth") << Placement::TopLevel << TitleProperty::WmName << 123u;
        QTest::newRow("reparented by a window manager, 360") << Placement::InsideFrame << TitleProperty::WmName
                                                              << 360u;
        QTest::newRow("title in _NET_WM_NAME, STOP") << Placement::TopLevel << TitleProperty::NetWmName << 65535u;
    }
    void deliversValue()
    {
        QFETCH(Placement, placement);
        QFETCH(TitleProperty, title);
        QFETCH(quint32, value);
        // Some other program's window comes first, as on any desktop.
        createWindow(m_root, "xterm", "ARSWIN", TitleProperty::WmName);
        const xcb_window_t parent = placement == Placement::TopLevel ? m_root : createWindow(m_root, {}, {}, title);
        const xcb_window_t arswin = createWindow(parent, "ThunderForm", "ARSWIN", title);

        XcbArswinLink link;
        QVERIFY(link.findWindow());
        QVERIFY(link.post(value));

        const std::optional<xcb_client_message_event_t> message = nextClientMessage();
        QVERIFY2(message, "ARSWIN received nothing");
        QCOMPARE(message->window, arswin);
        QCOMPARE(message->type, atom("AZIMUTH"));
        QCOMPARE(int(message->format), 32);
        QCOMPARE(message->data.data32[0], value);
        QCOMPARE(message->data.data32[1], 0u);
    }

    void ignoresOtherWindows_data()
    {
        QTest::addColumn<QByteArray>("windowClass");
        QTest::addColumn<QByteArray>("windowTitle");
        QTest::newRow("no window at all") << QByteArray() << QByteArray();
        QTest::newRow("other class") << QByteArray("ThunderRT6Form") << QByteArray("ARSWIN");
        QTest::newRow("other title") << QByteArray("ThunderForm") << QByteArray("ARSWIN - COM1");
    }
    void ignoresOtherWindows()
    {
        QFETCH(QByteArray, windowClass);
        QFETCH(QByteArray, windowTitle);
        if (!windowClass.isEmpty())
            createWindow(m_root, windowClass, windowTitle, TitleProperty::WmName);
        XcbArswinLink link;
        QVERIFY(!link.findWindow());
        QVERIFY(!link.post(0));
    }

    // Each command looks for the window again: ARSWIN may have been closed since.
    void closedArswinIsNotFound()
    {
        XcbArswinLink link;
        const xcb_window_t arswin = createWindow(m_root, "ThunderForm", "ARSWIN", TitleProperty::WmName);
        QVERIFY(link.findWindow());
        xcb_destroy_window(m_x, arswin);
        m_windows.removeOne(arswin);
        sync();
        QVERIFY(!link.findWindow());
        QVERIFY(!link.post(65535));
    }

    void noDisplayNoWindow()
    {
        createWindow(m_root, "ThunderForm", "ARSWIN", TitleProperty::WmName);
        const QByteArray display = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
        XcbArswinLink link;
        const bool found = link.findWindow();
        qputenv("DISPLAY", display);
        QVERIFY(!found);
        QVERIFY(!link.post(0));
    }

private:
    xcb_atom_t atom(const QByteArray &name)
    {
        xcb_intern_atom_reply_t *reply =
            xcb_intern_atom_reply(m_x, xcb_intern_atom(m_x, false, uint16_t(name.size()), name.constData()), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    }

    void setText(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, const QByteArray &text)
    {
        xcb_change_property(m_x, XCB_PROP_MODE_REPLACE, window, property, type, 8, uint32_t(text.size()),
                            text.constData());
    }

    // An unmapped window is enough: nothing but its place in the tree and its
    // properties is looked at. Empty class and title leave them unset (a frame).
    xcb_window_t createWindow(xcb_window_t parent, const QByteArray &windowClass, const QByteArray &title,
                              TitleProperty titleProperty)
    {
        const xcb_window_t window = xcb_generate_id(m_x);
        xcb_create_window(m_x, XCB_COPY_FROM_PARENT, window, parent, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (!windowClass.isEmpty())
            setText(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, "arswin" + QByteArray(1, '\0') + windowClass + '\0');
        if (!title.isEmpty()) {
            if (titleProperty == TitleProperty::WmName)
                setText(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title);
            else
                setText(window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), title);
        }
        m_windows << window;
        sync();
        return window;
    }

    // A round trip, so that everything asked before has been done by the server.
    void sync() { std::free(xcb_get_input_focus_reply(m_x, xcb_get_input_focus(m_x), nullptr)); }

    std::optional<xcb_client_message_event_t> nextClientMessage()
    {
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            xcb_generic_event_t *event = xcb_poll_for_event(m_x);
            if (!event) {
                QTest::qWait(10);
                continue;
            }
            std::optional<xcb_client_message_event_t> message;
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE)
                message = *reinterpret_cast<xcb_client_message_event_t *>(event);
            std::free(event);
            if (message)
                return message;
        }
        return std::nullopt;
    }

    xcb_connection_t *m_x = nullptr;
    int m_screenNumber = 0;
    xcb_window_t m_root = 0;
    QList<xcb_window_t> m_windows;
};

QTEST_GUILESS_MAIN(TestArswinLink)
#include "tst_ArswinLink.moc"
