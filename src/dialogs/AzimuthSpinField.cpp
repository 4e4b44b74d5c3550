#include "dialogs/AzimuthSpinField.h"

#include "core/UserFeedback.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>

AzimuthSpinField::AzimuthSpinField(UserFeedback &feedback, QWidget *parent)
    : QAbstractSpinBox(parent), m_feedback(feedback)
{
    setAccelerated(false);
    setWrapping(false);
    setValue(Minimum);
}

int AzimuthSpinField::value() const
{
    bool ok = false;
    const int number = text().toInt(&ok, 10);
    return ok ? number : Minimum;
}

void AzimuthSpinField::setValue(int value)
{
    lineEdit()->setText(QString::number(std::clamp(value, Minimum, Maximum)));
}

void AzimuthSpinField::pullIntoRange()
{
    bool ok = false;
    const int number = text().toInt(&ok, 10);
    if (ok && (number < Minimum || number > Maximum))
        setValue(number);
}

void AzimuthSpinField::stepBy(int steps)
{
    setValue(value() + steps);
}

QAbstractSpinBox::StepEnabled AzimuthSpinField::stepEnabled() const
{
    const int current = value();
    StepEnabled enabled = StepNone;
    if (current < Maximum)
        enabled |= StepUpEnabled;
    if (current > Minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State AzimuthSpinField::validate(QString &input, int &) const
{
    // Guards pasted text the same way as typed keys; any mix of the allowed
    // characters is acceptable because reading decides what it is worth.
    return std::all_of(input.cbegin(), input.cend(), [this](QChar c) { return isTypable(c); })
        ? QValidator::Acceptable
        : QValidator::Invalid;
}

QSize AzimuthSpinField::sizeHint() const
{
    // The base class sizes itself from texts only QSpinBox knows; the style adds
    // its own frame and buttons, which some styles (Adwaita) put side by side.
    ensurePolished();
    const QFontMetrics metrics = fontMetrics();
    int widest = 0;
    for (const QChar digit : QStringLiteral("0123456789"))
        widest = std::max(widest, metrics.horizontalAdvance(QString(3, digit)));
    // The line edit keeps two pixels beside its text and one for the cursor.
    const QSize text(widest + 5 + metrics.horizontalAdvance(QLatin1Char(' ')), lineEdit()->sizeHint().height());
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
}

QSize AzimuthSpinField::minimumSizeHint() const
{
    return sizeHint();
}

void AzimuthSpinField::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const bool isCommand = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!isCommand && typed.size() == 1 && typed.at(0).isPrint() && !isTypable(typed.at(0))) {
        m_feedback.beep();
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void AzimuthSpinField::focusOutEvent(QFocusEvent *event)
{
    pullIntoRange();
    QAbstractSpinBox::focusOutEvent(event);
}

bool AzimuthSpinField::isTypable(QChar c) const
{
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || locale().decimalPoint() == QString(c);
}
