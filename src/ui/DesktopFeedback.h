#pragma once

#include "ui/ThemeSounds.h"
#include "core/UserFeedback.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class TransientNotice;

// The real feedback on a Linux desktop: the system beep, the sound theme's event
// sounds through libcanberra when it is installed, and message
// boxes over the main window. Every box's text is also written to standard
// error; once nobody is waiting to answer, that is all a box becomes.
class DesktopFeedback final : public UserFeedback {
public:
    explicit DesktopFeedback(QWidget *dialogParent = nullptr);
    ~DesktopFeedback() override;
    DesktopFeedback(const DesktopFeedback &) = delete;
    DesktopFeedback &operator=(const DesktopFeedback &) = delete;

    void setDialogParent(QWidget *dialogParent);
    // Where a box that is not shown leaves its text for the user to see.
    void setDiagnosticLine(std::function<void(const QString &)> show);

    void beep() override;
    void playSound(SystemSound sound) override;
    void warning(const QString &title, const QString &text) override;
    void error(const QString &title, const QString &text) override;
    void stopWaitingForUser() override;
    void conversionNotice(QObject *near, const QString &text) override;
    void notice(const QString &title, const QString &text) override;

private:
    void showBox(int icon, const QString &title, const QString &text);

    QPointer<QWidget> m_dialogParent;
    std::function<void(const QString &)> m_diagnosticLine;
    QList<QPointer<QDialog>> m_openBoxes;
    bool m_unattended = false;
    std::unique_ptr<TransientNotice> m_notice;
    ThemeSounds m_sounds;
};
