#include "config/StandardError.h"

#include <QRegularExpression>

#include <cstdio>
#include <cstring>

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

QString qtMessageLine(const char *category, const QString &message)
{
    // Qt's unnamed messages come as the category "default", which says nothing.
    if (category == nullptr || std::strcmp(category, "default") == 0)
        return standardErrorLine(message);
    return standardErrorLine(QString::fromLatin1(category) + QLatin1String(": ") + message);
}

void routeQtMessagesToStandardError()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &message) {
        std::fputs(qtMessageLine(context.category, message).toUtf8().constData(), stderr);
        std::fflush(stderr);
    });
}
