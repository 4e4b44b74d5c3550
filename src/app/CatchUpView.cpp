#include "app/CatchUpView.h"

#include <QAbstractEventDispatcher>
#include <QWidget>

#include <utility>

CatchUpView::CatchUpView(QWidget *widget, std::function<void()> bringUpToDate)
    : QObject(widget), m_bringUpToDate(std::move(bringUpToDate))
{
    widget->installEventFilter(this);
    // A loop nested in the work (a command's pause right after its bytes are
    // written, a message box) shows the widget up to date from its first turn on.
    // Each kind of dispatcher tells one of these two before it handles anything.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, &CatchUpView::catchUp);
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CatchUpView::catchUp);
    }
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
