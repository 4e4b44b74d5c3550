#pragma once

#include <QFrame>

// The dark instrument panel behind the display and the command buttons. Painted by
// hand rather than through a style sheet: a style sheet would route every widget on
// the panel through the slower style-sheet style for each repaint and relayout.
class PanelFrame : public QFrame {
    Q_OBJECT

public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent *event) override;
};
