#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The 13 rates a BAUD_ key may name, in index order. The setup dialog's lists
// offer only the first nine; a hand-edited file may hold any of the 13.
namespace BaudRateTable {

inline constexpr int Count = 13;
inline constexpr int DialogCount = 9;

qint32 rate(int index);           // 0 for an index outside the table
QString text(int index);          // empty for an index outside the table
QStringList texts();              // all 13
QStringList dialogTexts();        // the first nine
std::optional<int> indexOfText(const QString &text); // exact match only

} // namespace BaudRateTable
