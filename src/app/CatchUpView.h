#pragma once

#include <QObject>

#include <functional>

class QWidget;

// A widget that shows what the program holds, brought up to date after the
// program's work instead of in the middle of it: when its owner says so, before
// the widget handles any event of its own (a paint, a key, a click, focus, an
// input method's query), and before an event loop handles anything, so nobody
// ever sees or edits what it held before.
class CatchUpView : public QObject {
    Q_OBJECT

public:
    // Lives as long as `widget`; `bringUpToDate` shows what the program holds now.
    CatchUpView(QWidget *widget, std::function<void()> bringUpToDate);

    // What the program holds has changed; the widget follows at the next catch-up.
    void fallBehind() { m_behind = true; }
    void catchUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_bringUpToDate;
    bool m_behind = false;
};
