#pragma once

#include <QWidget>

class QLabel;
class UrlOpener;

// The about box (`FormInfo`): program name and version, who makes it, their web
// page and a donation button. Created once, hidden, and shown on demand without
// holding up the main window.
class AboutBox : public QWidget {
    Q_OBJECT

public:
    explicit AboutBox(UrlOpener &opener, QWidget *parent = nullptr);

    // Shows the current name and version; an open box is brought to the front.
    void showAbout();

private:
    void BitBtn1Click();
    void SpeedButton1Click();

    QWidget *createPanel1();
    QWidget *createTitleRow();
    QWidget *createSpeedButton1();
    QWidget *createBitBtn1();

    UrlOpener &m_opener;
    QLabel *m_label1 = nullptr;
};
