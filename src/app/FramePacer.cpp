#include "app/FramePacer.h"

FramePacer::FramePacer(QWidget *window) : QObject(window), m_window(window)
{
    m_frame.setSingleShot(true);
    m_frame.setInterval(FrameMs);
    connect(&m_frame, &QTimer::timeout, this, &FramePacer::release);
}

void FramePacer::hold()
{
    if (m_frame.isActive() || !m_window || !m_window->isVisible())
        return;
    m_window->setUpdatesEnabled(false);
    m_frame.start();
}

void FramePacer::release()
{
    // Enabling updates again repaints the window once, with everything changed meanwhile.
    if (m_window)
        m_window->setUpdatesEnabled(true);
}
