#include "app/CatchUpView.h"

#include <QWidget>

#include <utility>

CatchUpView::CatchUpView(QWidget *widget, std::function<void()> bringUpToDate)
    : QObject(widget), m_bringUpToDate(std::move(bringUpToDate))
{
    widget->installEventFilter(this);
}

void CatchUpView::catchUp()
{
    // Bringing the widget up to date may run code that changes what it shows
    // again (a slot on its own change signal): caught up as well, in turn.
    while (std::exchange(m_behind, false))
        m_bringUpToDate();
}

bool CatchUpView::eventFilter(QObject *, QEvent *)
{
    if (m_behind)
        catchUp();
    return false;
}
