#pragma once

#include <QObject>

#include <array>
#include <optional>

class QAction;
class QKeyEvent;
class QWidget;

// The main window's shortcuts as the user meets them from every Orvantis window:
// - Ctrl with a digit of the numeric keypad acts on its own. Qt's shortcut map
//   looks such a key up without its keypad flag on X11, so a keypad sequence never
//   matches there; and with Num Lock off the same keys arrive as Home, PageUp, ...
//   The keys are therefore read here, before any widget sees them.
// - A key bound to one of the owner's actions wins over a text field's own binding
//   (Ctrl+E is "end of line" in a line edit on X11).
class KeyboardShortcuts : public QObject {
    Q_OBJECT

public:
    // Watches the whole application for the keys of `owner`'s actions.
    explicit KeyboardShortcuts(QWidget *owner);
    ~KeyboardShortcuts() override;

    void bindKeypadDigit(int digit, QAction *item);

    // The keypad digit of Ctrl + a numeric-keypad key, whatever the Num Lock state.
    static std::optional<int> ctrlKeypadDigit(const QKeyEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOwnersShortcut(const QKeyEvent &event) const;

    QWidget *m_owner;
    std::array<QAction *, 10> m_keypad {};
};
