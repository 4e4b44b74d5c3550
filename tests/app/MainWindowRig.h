#pragma once

#include "app/MainWindow.h"
#include "core/StationRig.h"

#include <QAction>

// The main window over a station in a temporary program folder.
class MainWindowRig : public StationRig {
public:
    explicit MainWindowRig(const QStringList &iniLines = {}, const QStringList &comLinks = {},
                           bool withLpt1 = false);
    ~MainWindowRig() override;

    // What main() does after creating the windows, then waits for the first activation.
    bool start();

    MainWindow &window() { return *m_window; }
    // Waits for the window to show what the station said: it follows at the
    // screen's pace, not inside the request.
    bool caughtUp();

    template <typename T>
    T *widget(const QString &name)
    {
        return m_window->findChild<T *>(name);
    }
    QAction *action(const QString &name) { return m_window->findChild<QAction *>(name); }

private:
    std::unique_ptr<MainWindow> m_window;
};
