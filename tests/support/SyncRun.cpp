#include "support/SyncRun.h"

#include "core/sync/SyncClientRegistry.h"

#include <QSignalSpy>
#include <QTest>

namespace LarkTest {

SyncRunResult runToEnd(AccountSyncRun *run, int timeoutMs)
{
    QSignalSpy finished(run, &AccountSyncRun::finished);
    QSignalSpy failed(run, &AccountSyncRun::failed);
    run->start();
    if (!QTest::qWaitFor([&] { return finished.size() + failed.size() > 0; }, timeoutMs))
        qWarning("the run did not end");
    QTest::qWait(20);
    SyncRunResult result {int(finished.size()), int(failed.size()), QString(), QString()};
    if (!failed.isEmpty()) {
        result.calendarId = failed.first().at(0).toString();
        result.reason = failed.first().at(1).toString();
    }
    delete run;
    return result;
}

} // namespace LarkTest
