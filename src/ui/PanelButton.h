#pragma once

#include <QColor>
#include <QPushButton>

// A command button of the dark instrument panel: bold lettering on a rounded grey
// gradient, darker while pressed. "Lit" shows a latched state (red lettering on a
// sunken face). Painted by hand for the same reason as PanelFrame.
class PanelButton : public QPushButton {
    Q_OBJECT

public:
    explicit PanelButton(const QString &caption, QWidget *parent = nullptr);

    void setLetteringColour(const QColor &colour);
    void setLit(bool lit);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_lettering {0xe8, 0xe8, 0xe8};
    bool m_lit = false;
};
