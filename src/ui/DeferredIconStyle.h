#pragma once

#include <QProxyStyle>

// The application's style, with its standard icons read from their image files
// only when first drawn. Reading one asks every image-format plugin whether it
// reads PNG, which loads them all; the menu bar asks for one it shows only when
// its items do not fit, and asked while the window was being built.
class DeferredIconStyle : public QProxyStyle {
    Q_OBJECT

public:
    // Over the style named `baseKey`: the one the application would use otherwise.
    explicit DeferredIconStyle(const QString &baseKey);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
