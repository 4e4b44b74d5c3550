#pragma once

#include "ui/UserFeedback.h"

#include <QPointer>
#include <QWidget>

struct ca_context;

// The real feedback on a Linux desktop: the system beep, the sound theme's event
// sounds through libcanberra when it was available at build time, and message
// boxes over the main window.
class DesktopFeedback final : public UserFeedback {
public:
    explicit DesktopFeedback(QWidget *dialogParent = nullptr);
    ~DesktopFeedback() override;
    DesktopFeedback(const DesktopFeedback &) = delete;
    DesktopFeedback &operator=(const DesktopFeedback &) = delete;

    void setDialogParent(QWidget *dialogParent);

    void beep() override;
    void playSound(SystemSound sound) override;
    void warning(const QString &title, const QString &text) override;
    void error(const QString &title, const QString &text) override;
    void conversionNotice(QWidget *near, const QString &text) override;
    void notice(const QString &title, const QString &text) override;

private:
    bool playThemeSound(const char *eventId);

    QPointer<QWidget> m_dialogParent;
    ca_context *m_sounds = nullptr;
};
