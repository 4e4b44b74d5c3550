#pragma once

#include <QWidget>

class QTextBrowser;
class QUrl;

// Shows a help page in a window of Orvantis's own, for a desktop that has no
// program to open it with. Pages that cannot be shown here (a web address, a
// missing file) are named with what to do instead.
class HelpWindow final : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    void showPage(const QUrl &url);
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};
