#include "ui/DeferredIconStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>

#include <optional>

namespace {

// Stands for a standard icon of the base style until something needs its pixels.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(QPointer<QStyle> style, QStyle::StandardPixmap which) : m_style(style), m_which(which) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    QIcon &icon()
    {
        if (!m_icon)
            m_icon = m_style ? m_style->standardIcon(m_which) : QIcon();
        return *m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    std::optional<QIcon> m_icon;
};

} // namespace

DeferredIconStyle::DeferredIconStyle(const QString &baseKey) : QProxyStyle(baseKey) {}

QIcon DeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                      const QWidget *widget) const
{
    // An icon drawn for an option's state and direction is read at once: the
    // option does not outlive this call. The widget only says where the icon
    // will be shown, which its pixels do not depend on.
    if (option)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    return QIcon(new DeferredIconEngine(baseStyle(), standardIcon));
}
