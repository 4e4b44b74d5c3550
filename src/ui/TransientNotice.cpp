#include "ui/TransientNotice.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QToolTip>

namespace {
constexpr int ShownMs = 10000;
}

TransientNotice::TransientNotice()
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                          | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("ConversionNotice"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::PlainText);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(3);
    m_expiry.setSingleShot(true);
    m_expiry.setInterval(ShownMs);
    connect(&m_expiry, &QTimer::timeout, this, &QWidget::hide);
}

void TransientNotice::showFor(QWidget *near, const QString &text)
{
    setText(text);
    adjustSize();
    move(placement(near));
    show();
    m_expiry.start();
    qApp->installEventFilter(this);
}

QPoint TransientNotice::placement(QWidget *near) const
{
    if (!near)
        return QCursor::pos() + QPoint(0, 20);
    const QRect window = near->window()->frameGeometry();
    const QScreen *screen = near->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    QPoint at(near->mapToGlobal(QPoint(0, 0)).x(), window.bottom() + 1);
    if (available.isValid()) {
        if (at.y() + height() > available.bottom())
            at.setY(window.top() - height());
        at.setX(std::clamp(at.x(), available.left(), std::max(available.left(), available.right() - width())));
    }
    return at;
}

bool TransientNotice::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        hide();
        break;
    default:
        break;
    }
    return QLabel::eventFilter(watched, event);
}

void TransientNotice::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    m_expiry.stop();
    QLabel::hideEvent(event);
}
