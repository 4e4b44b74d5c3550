#include "ui/LinkLabel.h"

#include "ui/ReadableText.h"
#include "ui/UrlOpener.h"

#include <QMouseEvent>

TLabelUrl::TLabelUrl(UrlOpener &opener, QWidget *parent)
    : QLabel(parent)
    , m_opener(opener)
{
    // An address is shown as typed, never interpreted as markup.
    setTextFormat(Qt::PlainText);
    new ReadableText(this, Qt::blue);
    QFont underlined = font();
    underlined.setBold(false);
    underlined.setItalic(false);
    underlined.setStrikeOut(false);
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    setUrl(QString());
    // Until an address is given, the caption invites one.
    setText(QStringLiteral("Http://"));
}

void TLabelUrl::setUrl(const QString &url)
{
    m_url = url;
    setText(url);
}

void TLabelUrl::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->setAccepted(m_pressed);
}

void TLabelUrl::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->setAccepted(click);
    if (!click)
        return;
    Q_EMIT clicked();
    // The address goes over exactly as given: no scheme is guessed for it.
    m_opener.open(QUrl(m_url));
}
