#include "host/LptPortTable.h"

QString hexAddressText(quint16 address)
{
    return QStringLiteral("%1").arg(address, 4, 16, QLatin1Char('0')).toUpper();
}

ParallelAddressTables convertAddressTexts(LptPortTable &table)
{
    ParallelAddressTables tables;
    for (int i = 0; i < LptSlotCount; ++i) {
        bool ok = false;
        const quint16 address = table[i].addressText.toUShort(&ok, 16);
        if (!ok) {
            for (LptPort &port : table) {
                port.address = 0;
                port.addressText = hexAddressText(0);
            }
            return {};
        }
        tables.pourSat[i] = address;
        tables.fodTrack[i] = address;
    }
    for (int i = 0; i < LptSlotCount; ++i)
        table[i].address = tables.pourSat[i];
    return tables;
}

QString lptListItemText(const LptPort &port, quint16 address)
{
    if (port.name.isEmpty())
        return QStringLiteral("          [0000h]");
    return QStringLiteral("%1 [%2h]").arg(port.name, hexAddressText(address));
}

QStringList lptListItems(const LptPortTable &table, const ParallelAddressTable &addresses)
{
    QStringList items;
    for (int i = 0; i < LptSlotCount; ++i)
        items.append(lptListItemText(table[i], addresses[i]));
    return items;
}

int lptSelection(const LptPortTable &table, int savedIndex)
{
    if (savedIndex < 0 || savedIndex >= LptSlotCount || table[savedIndex].name.isEmpty())
        return -1;
    return savedIndex;
}
