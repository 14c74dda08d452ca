#pragma once

// Runs one account's sync to its end, as "Sync Now" would, for tests and benchmarks.

#include "model/Records.h"

#include <QDateTime>
#include <QString>

class AccountSyncRun;

namespace LarkTest {

struct SyncOutcome
{
    int finished = 0;
    int failed = 0;
    QString calendarId; // of the first failure
    QString reason;
    QDateTime retryAfter; // what the run kept of the source's wish to be left alone
};

// Starts the run, waits for its terminal signal (and graceMs longer, so that a second one would
// be counted) and deletes it. A null run counts as neither.
SyncOutcome runToEnd(AccountSyncRun *run, int timeoutMs = 20000, int graceMs = 20);

// One occurrence of a synced series moved on this device, as an import brings it: a new row,
// waiting to be sent, that names the master and the slot it replaces.
Event occurrenceMovedHere(const Event &master, const QString &id, const QString &recurrenceId,
                          const QDateTime &start, const QDateTime &end);

// An event made on this device, waiting for its first push: its id is its UID too, it lasts
// `minutes` from `start`, and it was made (and last changed) at `made`.
Event madeHere(const QString &calendarId, const QString &id, const QString &title,
               const QDateTime &start, int minutes, const QDateTime &made);

} // namespace LarkTest
