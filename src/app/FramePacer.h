#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Lets a window follow the station at the screen's pace: the first change of a
// frame holds the window's painting back, and the frame's end paints every change
// of it at once. Widgets take their new values at once (keys and readers see
// them); only the drawing waits, so a command's bytes leave and the program is
// back in its event loop before anything is drawn.
class FramePacer : public QObject {
    Q_OBJECT

public:
    static constexpr int FrameMs = 16;

    explicit FramePacer(QWidget *window);

    // Called before a view changes what the window shows.
    void hold();

private:
    void release();

    QPointer<QWidget> m_window;
    QTimer m_frame;
};
