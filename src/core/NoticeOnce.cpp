#include "core/NoticeOnce.h"

#include "process/StandardError.h"

namespace {

// How often the failure came back after it was told, for the journal.
void countRepeats(const QString &text, int repeats)
{
    if (repeats > 0)
        writeStandardErrorLine(
            QStringLiteral("%1 (and %2 more like it)").arg(text.section(QLatin1Char('\n'), 0, 0)).arg(repeats));
}

} // namespace

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
    for (const Told &told : std::as_const(m_told))
        countRepeats(told.text, told.repeats);
    m_told.clear();
}

bool NoticeOnce::recovered(const QString &key)
{
    const auto told = m_told.constFind(key);
    if (told == m_told.cend())
        return false;
    countRepeats(told->text, told->repeats);
    m_told.erase(told);
    return true;
}
