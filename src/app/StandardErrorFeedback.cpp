#include "app/StandardErrorFeedback.h"

void StandardErrorFeedback::line(const QString &title, const QString &text)
{
    // One line per message, so a journal or a log reader keeps each one whole.
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString shown = title.isEmpty() ? flat : QStringLiteral("%1: %2").arg(title, flat);
    std::fprintf(m_out, "orvantis: %s\n", qUtf8Printable(shown));
    std::fflush(m_out);
}
