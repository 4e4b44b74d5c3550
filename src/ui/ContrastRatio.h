#pragma once

#include <QColor>

// WCAG 2 contrast between two colours, from 1 (the same) to 21 (black on white).
// Body text needs 4.5 to be read comfortably.
double contrastRatio(const QColor &first, const QColor &second);

constexpr double ReadableContrast = 4.5;
