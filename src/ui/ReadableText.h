#pragma once

#include <QColor>
#include <QObject>

#include <initializer_list>

class QWidget;

// Keeps a widget's text in its designed colour (the link's blue, the banner's
// grey) where that colour reads well on the palette's background, and moves it
// towards white on dark palettes or black on light ones just far enough where it
// does not. Follows palette changes, so a theme switched while Orvantis runs is
// honoured too. Owned by the widget.
class ReadableText final : public QObject {
    Q_OBJECT

public:
    ReadableText(QWidget *widget, const QColor &designed);

    // The designed colour, or the nearest one that reads on every background given.
    static QColor readableOn(const QColor &designed, std::initializer_list<QColor> backgrounds);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QWidget *m_widget;
    QColor m_designed;
};
