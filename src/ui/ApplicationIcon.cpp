#include "ui/ApplicationIcon.h"

QIcon applicationIcon()
{
    // A picture kept in the program rather than drawn at start: drawing the
    // compass at every icon size held up the first paint of the window.
    return QIcon(QStringLiteral(":/icons/orvantis.png"));
}
