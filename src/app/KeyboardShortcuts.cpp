#include "app/KeyboardShortcuts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// The keypad's keys as they arrive with Num Lock off, in digit order.
constexpr std::array<Qt::Key, 10> KeypadNavigation {
    Qt::Key_Insert, Qt::Key_End,  Qt::Key_Down,  Qt::Key_PageDown, Qt::Key_Left,
    Qt::Key_Clear,  Qt::Key_Right, Qt::Key_Home, Qt::Key_Up,       Qt::Key_PageUp,
};

} // namespace

KeyboardShortcuts::KeyboardShortcuts(QWidget *owner)
    : QObject(owner),
      m_owner(owner)
{
    qApp->installEventFilter(this);
}

KeyboardShortcuts::~KeyboardShortcuts()
{
    qApp->removeEventFilter(this);
}

void KeyboardShortcuts::bindKeypadDigit(int digit, QAction *item)
{
    if (digit >= 0 && digit < int(m_keypad.size()))
        m_keypad[digit] = item;
}

std::optional<int> KeyboardShortcuts::ctrlKeypadDigit(const QKeyEvent &event)
{
    if (event.modifiers() != (Qt::ControlModifier | Qt::KeypadModifier))
        return std::nullopt;
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key - Qt::Key_0;
    for (int digit = 0; digit < int(KeypadNavigation.size()); ++digit) {
        if (key == KeypadNavigation[digit])
            return digit;
    }
    return std::nullopt;
}

bool KeyboardShortcuts::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // A modal box keeps the keyboard to itself, as it does for every other shortcut.
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || QApplication::activeModalWidget())
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);

    if (type == QEvent::KeyPress) {
        const auto digit = ctrlKeypadDigit(*key);
        QAction *item = digit ? m_keypad[*digit] : nullptr;
        if (!item || !item->isEnabled())
            return QObject::eventFilter(watched, event);
        item->trigger();
        return true;
    }
    // Left unaccepted, the override lets the shortcut map act instead of the field.
    if (isOwnersShortcut(*key)) {
        key->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool KeyboardShortcuts::isOwnersShortcut(const QKeyEvent &event) const
{
    const QKeySequence pressed(event.keyCombination());
    const QList<QAction *> items = m_owner->findChildren<QAction *>();
    for (const QAction *item : items) {
        if (item->isEnabled() && item->shortcut() == pressed)
            return true;
    }
    return false;
}
