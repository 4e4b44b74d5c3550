#include "sources/DdeValue.h"

std::optional<QString> cleanDdeValue(const QString &itemText)
{
    QString text = itemText;
    // Only the space is a blank here: the servers end their value with one
    // control character (often CR), and that one must be what gets dropped.
    text.remove(QLatin1Char(' '));
    text.chop(1);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}
