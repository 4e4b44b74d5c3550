#include "app/FramePacer.h"

#include <QCoreApplication>
#include <QEvent>

FramePacer::FramePacer(QObject *parent, std::function<void()> catchUp)
    : QObject(parent), m_catchUp(std::move(catchUp))
{
    m_frame.setSingleShot(true);
    m_frame.setInterval(FrameMs);
    connect(&m_frame, &QTimer::timeout, this, &FramePacer::catchUp);
    QCoreApplication::instance()->installEventFilter(this);
}

FramePacer::~FramePacer()
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

void FramePacer::request()
{
    m_due = true;
    if (!m_frame.isActive())
        m_frame.start();
}

void FramePacer::catchUp()
{
    if (!m_due)
        return;
    m_due = false;
    m_frame.stop();
    m_catchUp();
}

bool FramePacer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
        catchUp();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
