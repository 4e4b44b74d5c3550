#include "core/NoticeOnce.h"

#include "process/StandardError.h"

void NoticeOnce::tell(const QString &key, const QString &title, const QString &text)
{
    const auto told = m_told.find(key);
    if (told != m_told.end()) {
        ++told->repeats;
        return;
    }
    m_told.insert(key, {text, 0});
    m_feedback.notice(title, text);
}

void NoticeOnce::recovered()
{
    for (const Told &told : std::as_const(m_told)) {
        if (told.repeats > 0)
            writeStandardErrorLine(QStringLiteral("%1 (and %2 more like it)").arg(told.text.section(QLatin1Char('\n'), 0, 0))
                                   .arg(told.repeats));
    }
    m_told.clear();
}

bool NoticeOnce::recovered(const QString &key)
{
    const auto told = m_told.constFind(key);
    if (told == m_told.cend())
        return false;
    if (told->repeats > 0)
        writeStandardErrorLine(QStringLiteral("%1 (and %2 more like it)").arg(told->text.section(QLatin1Char('\n'), 0, 0))
                                   .arg(told->repeats));
    m_told.erase(told);
    return true;
}
