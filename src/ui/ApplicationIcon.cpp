#include "ui/ApplicationIcon.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

QIcon applicationIcon()
{
    // A picture kept in the program rather than drawn at start: drawing the
    // compass at every icon size held up the first paint of the window.
    return QIcon(QStringLiteral(":/icons/orvantis.png"));
}

namespace {

// Waits for the window's first paint; what it posts runs once that paint is done.
class FirstPaintWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, [] { QApplication::setWindowIcon(applicationIcon()); });
            deleteLater();
        }
        return false;
    }
};

} // namespace

void setApplicationIconAfterFirstPaint(QWidget &window)
{
    window.installEventFilter(new FirstPaintWatch(&window));
}
