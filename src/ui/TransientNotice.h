#pragma once

#include <QLabel>
#include <QTimer>

// A tooltip-like line that never stands in the user's way: shown under the window
// it speaks about (above it when the screen ends there), so it covers none of its
// buttons; transparent to the mouse; gone at the next key or click anywhere in the
// program, or after a while. The text is shown as plain text.
class TransientNotice : public QLabel {
    Q_OBJECT

public:
    TransientNotice();

    // Shows `text` by `near`'s window, or at the mouse pointer without a widget.
    void showFor(QWidget *near, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QPoint placement(QWidget *near) const;

    QTimer m_expiry;
};
