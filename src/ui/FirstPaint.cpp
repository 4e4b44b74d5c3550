#include "ui/FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace {

constexpr int UnpaintedFallbackMs = 1000;

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget &window, std::function<void()> action)
        : QObject(&window), m_window(window), m_action(std::move(action))
    {
        m_fallback.setSingleShot(true);
        m_fallback.setInterval(UnpaintedFallbackMs);
        connect(&m_fallback, &QTimer::timeout, this, &FirstPaintWatch::fire);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !m_fallback.isActive()) {
            m_fallback.start();
        } else if (event->type() == QEvent::Paint) {
            m_window.removeEventFilter(this);
            m_fallback.stop();
            // Posted: it runs once this paint has been flushed to the screen.
            QTimer::singleShot(0, this, &FirstPaintWatch::fire);
        }
        return false;
    }

private:
    void fire()
    {
        m_window.removeEventFilter(this);
        m_fallback.stop();
        const std::function<void()> action = std::exchange(m_action, {});
        deleteLater();
        if (action)
            action();
    }

    QWidget &m_window;
    std::function<void()> m_action;
    QTimer m_fallback;
};

} // namespace

void afterFirstPaint(QWidget &window, std::function<void()> action)
{
    new FirstPaintWatch(window, std::move(action));
}
