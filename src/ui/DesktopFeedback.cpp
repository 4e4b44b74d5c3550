#include "ui/DesktopFeedback.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QToolTip>

#include <cstdio>

#ifdef ORVANTIS_HAVE_CANBERRA
#include <canberra.h>
#endif

DesktopFeedback::DesktopFeedback(QWidget *dialogParent)
    : m_dialogParent(dialogParent)
{
}

DesktopFeedback::~DesktopFeedback()
{
#ifdef ORVANTIS_HAVE_CANBERRA
    if (m_sounds)
        ca_context_destroy(m_sounds);
#endif
}

void DesktopFeedback::setDialogParent(QWidget *dialogParent)
{
    m_dialogParent = dialogParent;
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
    if (!playThemeSound(eventId))
        beep();
}

void DesktopFeedback::warning(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, m_dialogParent);
    box.exec();
}

void DesktopFeedback::error(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, m_dialogParent);
    box.exec();
}

void DesktopFeedback::conversionNotice(QWidget *near, const QString &text)
{
    // A tooltip under the box rather than a dialog: it fires on every keystroke
    // that leaves the box without a number, and must not steal the focus.
    const QPoint at = near ? near->mapToGlobal(QPoint(0, near->height())) : QCursor::pos();
    QToolTip::showText(at, text, near);
    beep();
}

void DesktopFeedback::notice(const QString &title, const QString &text)
{
    // Also for a user who started the program from a terminal, or whose desktop
    // shows no window at the moment.
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    std::fflush(stderr);
    // Not modal: the command that failed has already ended, and the program
    // carries on while the box is shown.
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, m_dialogParent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->show();
}

bool DesktopFeedback::playThemeSound(const char *eventId)
{
#ifdef ORVANTIS_HAVE_CANBERRA
    if (!m_sounds) {
        if (ca_context_create(&m_sounds) != CA_SUCCESS) {
            m_sounds = nullptr;
            return false;
        }
        ca_context_change_props(m_sounds, CA_PROP_APPLICATION_NAME, "Orvantis", nullptr);
    }
    return ca_context_play(m_sounds, 0, CA_PROP_EVENT_ID, eventId, nullptr) == CA_SUCCESS;
#else
    Q_UNUSED(eventId);
    return false;
#endif
}
