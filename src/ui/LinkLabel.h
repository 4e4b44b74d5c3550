#pragma once

#include <QLabel>

class UrlOpener;

// A label that opens its address when clicked: blue, underlined, with the hand
// pointer. The owner's handlers on clicked() run before the address is opened.
class TLabelUrl : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString Url READ url WRITE setUrl)

public:
    explicit TLabelUrl(UrlOpener &opener, QWidget *parent = nullptr);

    QString url() const { return m_url; }
    // The caption follows: the label always shows the address it opens.
    void setUrl(const QString &url);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    UrlOpener &m_opener;
    QString m_url;
    bool m_pressed = false;
};
