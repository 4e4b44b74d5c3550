#include "ui/DesktopUrlOpener.h"

#include <QDesktopServices>

void DesktopUrlOpener::open(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}
