#include "support/SyncRun.h"

#include "core/sync/SyncClientRegistry.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace LarkTest {

SyncOutcome runToEnd(AccountSyncRun *run, int timeoutMs, int graceMs)
{
    std::unique_ptr<AccountSyncRun> owned(run);
    if (!run)
        return {};
    QSignalSpy finished(run, &AccountSyncRun::finished);
    QSignalSpy failed(run, &AccountSyncRun::failed);
    run->start();
    if (!QTest::qWaitFor([&] { return finished.size() + failed.size() > 0; }, timeoutMs))
        qWarning("the sync run did not end");
    if (graceMs > 0)
        QTest::qWait(graceMs);
    SyncOutcome outcome {int(finished.size()), int(failed.size()), QString(), QString()};
    if (!failed.isEmpty()) {
        outcome.calendarId = failed.first().at(0).toString();
        outcome.reason = failed.first().at(1).toString();
    }
    return outcome;
}

} // namespace LarkTest
