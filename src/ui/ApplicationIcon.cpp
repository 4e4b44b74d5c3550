#include "ui/ApplicationIcon.h"

#include "ui/FirstPaint.h"

#include <QApplication>
#include <QImageReader>
#include <QPixmap>

QIcon applicationIcon()
{
    // A picture kept in the program rather than drawn at start: drawing the
    // compass at every icon size held up the first paint of the window. Read as
    // the PNG it is: left to guess, the reader first asks every image-format
    // plugin whether it reads PNG, which loads them all.
    QImageReader reader(QStringLiteral(":/icons/orvantis.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

void setApplicationIconAfterFirstPaint(QWidget &window)
{
    afterFirstPaint(window, [] { QApplication::setWindowIcon(applicationIcon()); });
}
