#pragma once

// Runs one account sync to its end, the way the coordinator does, for tests and benchmarks.

#include <QString>

class AccountSyncRun;

namespace LarkTest {

struct SyncRunResult
{
    int finished = 0;
    int failed = 0;
    QString calendarId; // of the first failed signal
    QString reason;
};

// Starts the run, waits up to timeoutMs for its end and a moment longer, so that a second
// terminal signal would be counted too, then deletes it.
SyncRunResult runToEnd(AccountSyncRun *run, int timeoutMs = 20000);

} // namespace LarkTest
