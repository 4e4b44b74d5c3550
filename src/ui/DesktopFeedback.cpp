#include "ui/DesktopFeedback.h"

#include "process/StandardError.h"
#include "ui/TransientNotice.h"

#include <QApplication>
#include <QMessageBox>

DesktopFeedback::DesktopFeedback(QWidget *dialogParent)
    : m_dialogParent(dialogParent)
{
}

DesktopFeedback::~DesktopFeedback() = default;

void DesktopFeedback::setDialogParent(QWidget *dialogParent)
{
    m_dialogParent = dialogParent;
}

void DesktopFeedback::setDiagnosticLine(std::function<void(const QString &)> show)
{
    m_diagnosticLine = std::move(show);
}

void DesktopFeedback::beep()
{
    QApplication::beep();
}

void DesktopFeedback::playSound(SystemSound sound)
{
    const char *eventId = sound == SystemSound::Information ? "dialog-information" : "dialog-warning";
    // Without a sound theme (no libcanberra, no sound server) the user still hears
    // that something happened.
    if (!m_sounds.play(eventId))
        beep();
}

void DesktopFeedback::warning(const QString &title, const QString &text)
{
    showBox(QMessageBox::Warning, title, text);
}

void DesktopFeedback::error(const QString &title, const QString &text)
{
    showBox(QMessageBox::Critical, title, text);
}

void DesktopFeedback::stopWaitingForUser()
{
    m_unattended = true;
    // Each box's exec() returns once its own loop runs again.
    for (const QPointer<QDialog> &box : std::as_const(m_openBoxes)) {
        if (box)
            box->done(QMessageBox::Ok);
    }
}

void DesktopFeedback::showBox(int icon, const QString &title, const QString &text)
{
    // The title is the box's caption ("Orvantis", "Erreur"), not part of the message.
    writeStandardErrorLine(text);
    if (m_unattended) {
        if (m_diagnosticLine)
            m_diagnosticLine(text);
        return;
    }
    QMessageBox box(QMessageBox::Icon(icon), title, text, QMessageBox::Ok, m_dialogParent);
    box.setTextFormat(Qt::PlainText); // texts carry values from files and peers
    m_openBoxes.append(&box);
    box.exec();
    m_openBoxes.removeLast();
}

void DesktopFeedback::conversionNotice(QObject *near, const QString &text)
{
    // Not a dialog: it fires on every keystroke that leaves the box without a
    // number, and must neither steal the keyboard nor catch a click.
    if (!m_notice)
        m_notice = std::make_unique<TransientNotice>();
    m_notice->showFor(qobject_cast<QWidget *>(near), text);
    beep();
}

void DesktopFeedback::notice(const QString &title, const QString &text)
{
    // Also for a user who started the program from a terminal, or whose desktop
    // shows no window at the moment.
    writeStandardErrorLine(text);
    // Not modal: the command that failed has already ended, and the program
    // carries on while the box is shown.
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, m_dialogParent);
    box->setTextFormat(Qt::PlainText); // addresses and device paths come from files and peers
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->show();
}
