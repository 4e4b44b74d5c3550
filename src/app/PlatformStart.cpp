#include "app/PlatformStart.h"

#include "process/StandardError.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

// They name the cause of a failure ("could not connect to display", "Failed to
// create wl_display") that Qt's fatal message leaves out.
struct PlatformRemark {
    QString message;
    QString line;
};
QList<PlatformRemark> platformRemarks;

void platformFailure(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        platformRemarks.append({message, qtMessageLine(type, context, message)});
        return;
    }
    QStringList causes;
    for (const PlatformRemark &remark : std::as_const(platformRemarks))
        causes << remark.message;
    causes << message;
    for (QString &cause : causes) {
        cause = cause.trimmed();
        if (!cause.endsWith(QLatin1Char('.')))
            cause += QLatin1Char('.');
    }
    writeStandardErrorLine(QStringLiteral("the display cannot be used: %1 Check DISPLAY and WAYLAND_DISPLAY (a "
                                          "Wayland session needs the package qt6-wayland), or run without a "
                                          "window: orvantis --headless")
                               .arg(causes.join(QLatin1Char(' '))));
    std::_Exit(EXIT_FAILURE);
}

} // namespace

void watchPlatformStart()
{
    qInstallMessageHandler(platformFailure);
}

void endPlatformWatch()
{
    routeQtMessagesToStandardError();
    for (const PlatformRemark &remark : std::as_const(platformRemarks))
        std::fputs(remark.line.toUtf8().constData(), stderr);
    std::fflush(stderr);
    platformRemarks.clear();
}
