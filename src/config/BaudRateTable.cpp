#include "config/BaudRateTable.h"

#include <array>

namespace {
constexpr std::array<qint32, BaudRateTable::Count> Rates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200,
};
}

namespace BaudRateTable {

qint32 rate(int index)
{
    return index >= 0 && index < Count ? Rates[index] : 0;
}

QString text(int index)
{
    return index >= 0 && index < Count ? QString::number(Rates[index]) : QString();
}

QStringList texts()
{
    QStringList all;
    for (int i = 0; i < Count; ++i)
        all << text(i);
    return all;
}

QStringList dialogTexts()
{
    return texts().mid(0, DialogCount);
}

std::optional<int> indexOfText(const QString &candidate)
{
    for (int i = 0; i < Count; ++i) {
        if (candidate == text(i))
            return i;
    }
    return std::nullopt;
}

} // namespace BaudRateTable
