#include "host/PortReconciliation.h"

SavedPortMatch reconcileSavedPort(const QStringList &names, int savedIndex)
{
    if (savedIndex < 0)
        return {};
    for (int i = 0; i < names.size(); ++i) {
        bool ok = false;
        const int number = names[i].mid(3).toInt(&ok);
        if (ok && number - 1 == savedIndex)
            return {SavedPortMatch::Status::Present, i};
    }
    return {SavedPortMatch::Status::Absent, -1};
}

int matchSavedPort(const QStringList &names, int savedIndex)
{
    return reconcileSavedPort(names, savedIndex).item;
}
