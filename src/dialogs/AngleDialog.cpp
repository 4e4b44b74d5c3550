#include "dialogs/AngleDialog.h"

#include "dialogs/AngleDialogHost.h"
#include "core/UserFeedback.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
const QSize DesignedClientSize(117, 83);
constexpr int MaximumAzimuth = 359;
constexpr int AngleLength = 3;
constexpr int AnglePixelHeight = 37;

QFont angleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(AnglePixelHeight);
    return font;
}
} // namespace

AngleDialog::AngleDialog(AngleDialogHost &host, UserFeedback &feedback, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_host(host),
      m_feedback(feedback)
{
    setObjectName(QStringLiteral("FormAngle"));
    setWindowTitle(QStringLiteral("Angle"));

    m_edit = new QLineEdit(QStringLiteral("0"), this);
    m_edit->setObjectName(QStringLiteral("EditAngle"));
    m_edit->setMaxLength(AngleLength);
    m_edit->setFont(angleFont());
    m_edit->installEventFilter(this);
    // Whoever gives this window the keyboard gives it to the field, so the next
    // azimuth can be typed at once.
    setFocusProxy(m_edit);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);

    setFixedSize(minimumSizeHint().expandedTo(DesignedClientSize));
    move(DesignedLeft, DesignedTop);
}

void AngleDialog::showAzimuth(int azimuth)
{
    // A hidden window only keeps the value: laying out its text for every azimuth
    // of a stream would be work nobody sees.
    if (!isVisible()) {
        m_unshownAzimuth = azimuth;
        return;
    }
    m_unshownAzimuth.reset();
    m_edit->setText(QString::number(azimuth));
    m_edit->selectAll();
}

QString AngleDialog::angleText() const
{
    return m_unshownAzimuth ? QString::number(*m_unshownAzimuth) : m_edit->text();
}

void AngleDialog::showEvent(QShowEvent *event)
{
    if (m_unshownAzimuth) {
        m_edit->setText(QString::number(*m_unshownAzimuth));
        m_edit->selectAll();
        m_unshownAzimuth.reset();
    }
    QWidget::showEvent(event);
}

void AngleDialog::applyPlacement(int top, int left, int shown)
{
    if (top != 0)
        move(x(), top);
    if (left != 0)
        move(left, y());
    if (shown == 1)
        show();
}

void AngleDialog::ApplyAngle()
{
    bool ok = false;
    const int azimuth = m_edit->text().toInt(&ok, 10);
    if (!ok || azimuth < 0 || azimuth > MaximumAzimuth) {
        refuse();
        return;
    }
    m_edit->selectAll();
    m_host.takeAngle(azimuth);
}

bool AngleDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress)
        return EditAngleKeyDown(static_cast<QKeyEvent *>(event));
    if (watched == m_edit && event->type() == QEvent::FocusIn) {
        // The keyboard arrives with the whole text selected, as it does after each
        // entry, so the azimuth typed next replaces what is shown.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason)
            m_edit->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}

bool AngleDialog::EditAngleKeyDown(QKeyEvent *event)
{
    // Enter is taken whole here, so the field never sees a character from it.
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    ApplyAngle();
    return true;
}

void AngleDialog::refuse()
{
    m_feedback.beep();
    m_edit->setText(QStringLiteral("0"));
    m_edit->selectAll();
}
