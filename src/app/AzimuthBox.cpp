#include "app/AzimuthBox.h"

#include "app/CatchUpView.h"

#include <QLineEdit>

AzimuthBox::AzimuthBox(QLineEdit *lineEdit)
    : QObject(lineEdit), m_lineEdit(lineEdit), m_text(lineEdit->text()),
      m_view(new CatchUpView(lineEdit, [this] { m_lineEdit->setText(m_text); }))
{
    connect(m_lineEdit, &QLineEdit::textChanged, this, &AzimuthBox::takeEdit);
}

void AzimuthBox::setText(const QString &text)
{
    m_view->fallBehind();
    if (text != m_text) {
        m_text = text;
        handleChange();
    }
    endChange();
}

void AzimuthBox::clear()
{
    m_view->catchUp();
    m_lineEdit->clear();
}

void AzimuthBox::takeEdit(const QString &text)
{
    // The line edit catching up reports what the box already holds.
    if (text == m_text)
        return;
    m_text = text;
    handleChange();
    endChange();
}

void AzimuthBox::handleChange()
{
    ++m_handling;
    Q_EMIT textChanged();
    --m_handling;
}

void AzimuthBox::endChange()
{
    m_view->catchUp();
    Q_EMIT changeEnded();
}
