#pragma once

#include <QPushButton>

// A push button whose caption, when wider than the button, is cut at its end with
// an ellipsis instead of being clipped on both sides. text() stays the whole caption.
class ElidingButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};
