#include "process/StandardError.h"

#include <QRegularExpression>

#include <cstdio>

namespace {

const QString Prefix = QStringLiteral("orvantis: ");

} // namespace

QString standardErrorLine(const QString &message)
{
    QString flat = message;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    // A writer that already named the program ("orvantis: ", "Orvantis: ") is not
    // named twice.
    static const QRegularExpression named(QStringLiteral("^(?:\\s*orvantis:\\s*)+"),
                                          QRegularExpression::CaseInsensitiveOption);
    flat.remove(named);
    return Prefix + flat.trimmed() + QLatin1Char('\n');
}

void writeStandardErrorLine(const QString &message)
{
    std::fputs(standardErrorLine(message).toUtf8().constData(), stderr);
    std::fflush(stderr);
}

QString qtMessageLine(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    return standardErrorLine(qFormatLogMessage(type, context, message));
}

void routeQtMessagesToStandardError()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        std::fputs(qtMessageLine(type, context, message).toUtf8().constData(), stderr);
        std::fflush(stderr);
    });
}
