#pragma once

#include <QAbstractSpinBox>

class UserFeedback;

// A whole-degree spin field (0..359) that, unlike QSpinBox, keeps whatever the user
// typed on display: a text that is not a whole number ("-", "12.5") reads as the
// minimum but is never rewritten, and only a whole number outside the range is
// pulled to the nearest limit when the field loses the focus.
class AzimuthSpinField : public QAbstractSpinBox {
    Q_OBJECT

public:
    static constexpr int Minimum = 0;
    static constexpr int Maximum = 359;

    explicit AzimuthSpinField(UserFeedback &feedback, QWidget *parent = nullptr);

    // The typed whole number, unclamped; the minimum when the text is not one.
    int value() const;
    // Shows the value pulled into 0..359.
    void setValue(int value);
    // Pulls a whole number outside 0..359 to the nearest limit; other texts stay.
    void pullIntoRange();

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool isTypable(QChar c) const;

    UserFeedback &m_feedback;
};
