#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

// The up-down stepper beside the azimuth box. Like a buddy up-down control it
// reads the box's number before each step, so typing 123 and stepping gives 124,
// and it writes each new position back into the box through positionWritten().
class AzimuthStepper : public QWidget {
    Q_OBJECT

public:
    static constexpr int Minimum = -1;
    static constexpr int Maximum = 360;

    explicit AzimuthStepper(QWidget *parent = nullptr);

    int position() const { return m_position; }
    // Clamps to Minimum..Maximum and writes the position into the box.
    void setPosition(int position);
    // Follows a position given elsewhere without writing it anywhere.
    void showPosition(int position) { m_position = position; }
    int increment() const { return m_increment; }
    void setIncrement(int increment) { m_increment = increment; }
    // Where the stepper reads the box's current number; nullopt-like false when the
    // box holds no whole number and the stepper should use its own position.
    void setValueReader(std::function<bool(int *)> reader) { m_reader = std::move(reader); }

    void stepUp() { stepBy(+1); }
    void stepDown() { stepBy(-1); }
    // Auto-repeat timing of a held button.
    void setRepeatTiming(int firstDelayMs, int intervalMs);

    QSize sizeHint() const override { return {17, 24}; }

Q_SIGNALS:
    void positionWritten(int position);
    void mouseDown();
    void mouseUp();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void stepBy(int direction);
    void repeat();

    int m_position = 0;
    int m_increment = 1;
    int m_heldDirection = 0;
    int m_firstDelayMs = 350;
    int m_intervalMs = 80;
    QTimer m_repeatTimer;
    std::function<bool(int *)> m_reader;
};
