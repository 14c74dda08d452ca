#pragma once

// What "Sync Now" tells the user once it has started what it can, in the words users know:
// account types by their service's name, and nothing about accounts that have nothing to sync.

#include "model/Records.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace SyncNowReport {

// An account whose calendars all live on this device (or that has none): there is nothing to
// sync for it, so it is neither synced nor reported.
[[nodiscard]] bool isOnDeviceOnly(const Account &account, const QList<Calendar> &calendars);

// "CalDAV", "iCloud", "Google Calendar"...; an unknown type stands as it is.
[[nodiscard]] QString accountTypeName(const QString &type);

// The status line after `started` account runs began; typesWithoutClient are the stored account
// types of accounts that would sync but have no sync client yet (each named once, in order);
// waits say of each account kept back for now when it follows.
[[nodiscard]] QString message(int started, const QStringList &typesWithoutClient,
                              const QStringList &waits = {});

} // namespace SyncNowReport
