#pragma once

#include <QString>
#include <QStringList>

// The processes that have devicePath open, as "name (pid)", found through the
// fd links under procRoot as fuser does. Processes of other users stay hidden
// from an unprivileged caller, so the list may be short of the truth.
QStringList processesHolding(const QString &devicePath, const QString &procRoot = QStringLiteral("/proc"));
