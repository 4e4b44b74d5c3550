#include "ui/ReadableText.h"

#include "ui/ContrastRatio.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace {

// A little above the bar, so the shade a style lays over the background (tab
// pages, group boxes) cannot push the text back under it.
constexpr double AimedContrast = ReadableContrast + 0.4;
constexpr int MixSteps = 20;
constexpr int LighterShadePercent = 130;

QColor mixed(const QColor &from, const QColor &to, double share)
{
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * share),
                            float(a.greenF() + (b.greenF() - a.greenF()) * share),
                            float(a.blueF() + (b.blueF() - a.blueF()) * share));
}

} // namespace

ReadableText::ReadableText(QWidget *widget, const QColor &designed)
    : QObject(widget)
    , m_widget(widget)
    , m_designed(designed)
{
    widget->installEventFilter(this);
    apply();
}

QColor ReadableText::readableOn(const QColor &designed, std::initializer_list<QColor> backgrounds)
{
    const auto weakest = [&backgrounds](const QColor &text) {
        double lowest = 21;
        for (const QColor &background : backgrounds)
            lowest = std::min(lowest, contrastRatio(text, background));
        return lowest;
    };
    // Towards whichever of black and white stands out more from the backgrounds.
    const QColor extreme = weakest(Qt::white) >= weakest(Qt::black) ? QColor(Qt::white) : QColor(Qt::black);
    for (int step = 0; step <= MixSteps; ++step) {
        const QColor candidate = mixed(designed, extreme, double(step) / MixSteps);
        if (weakest(candidate) >= AimedContrast)
            return candidate;
    }
    return extreme;
}

bool ReadableText::eventFilter(QObject *watched, QEvent *event)
{
    // Setting the same colour again changes nothing, so this does not recur.
    if (watched == m_widget && event->type() == QEvent::PaletteChange)
        apply();
    return QObject::eventFilter(watched, event);
}

void ReadableText::apply()
{
    QPalette colours = m_widget->palette();
    // Styles paint tab pages and frames a shade lighter than the window.
    const QColor window = colours.color(QPalette::Window);
    const QColor text = readableOn(m_designed, {window, window.lighter(LighterShadePercent), colours.color(QPalette::Button)});
    if (colours.color(QPalette::WindowText) == text)
        return;
    colours.setColor(QPalette::WindowText, text);
    m_widget->setPalette(colours);
}
