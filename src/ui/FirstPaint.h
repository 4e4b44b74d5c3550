#pragma once

#include <functional>

class QWidget;

// Runs `action` once `window` has first been painted, in the next turn of the
// event loop, so that paint reaches the screen before the action's work. A
// window shown but not painted within a second (started minimised, never
// exposed) gets the action then.
void afterFirstPaint(QWidget &window, std::function<void()> action);
