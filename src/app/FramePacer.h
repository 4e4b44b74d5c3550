#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// Lets a window follow the station at the screen's pace. A change is only noted
// when the station says it; the frame's end brings the widgets up to date, all
// changes of the frame at once, and they paint in that same pass. So after a
// command the program is back in its event loop at once, and the kernel delivers
// the bytes while nothing else of ours wants the core.
//
// Input cannot wait for the frame: a key, a click or a wheel turn must start from
// what the station holds (the azimuth being sent, not the one before), so any
// input event brings the view up to date before it is delivered.
class FramePacer : public QObject {
    Q_OBJECT

public:
    static constexpr int FrameMs = 16;

    FramePacer(QObject *parent, std::function<void()> catchUp);
    ~FramePacer() override;

    // Something changed: the view catches up at the frame's end.
    void request();
    // Brings the view up to date now, if anything waits.
    void catchUp();
    bool isDue() const { return m_due; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_catchUp;
    QTimer m_frame;
    bool m_due = false;
};
