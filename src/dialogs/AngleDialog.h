#pragma once

#include <QWidget>

#include <optional>

class AngleDialogHost;
class QKeyEvent;
class QLineEdit;
class UserFeedback;

// The window `FormAngle`: one large field to type an azimuth and press Enter, which
// also echoes every azimuth the main window takes from elsewhere.
class AngleDialog : public QWidget {
    Q_OBJECT

public:
    static constexpr int DesignedLeft = 485;
    static constexpr int DesignedTop = 116;

    AngleDialog(AngleDialogHost &host, UserFeedback &feedback, QWidget *parent = nullptr);

    // The echo: shows the azimuth with the whole text selected, so the next one
    // typed replaces it.
    void showAzimuth(int azimuth);
    QString angleText() const;
    // Start-up placement from the settings: a top or left of 0 keeps the designed
    // position, and shown == 1 shows the window.
    void applyPlacement(int top, int left, int shown);

    void ApplyAngle();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool EditAngleKeyDown(QKeyEvent *event);
    void refuse();

    AngleDialogHost &m_host;
    UserFeedback &m_feedback;
    QLineEdit *m_edit = nullptr;
    std::optional<int> m_unshownAzimuth; // the echo waiting for the window to show
};
