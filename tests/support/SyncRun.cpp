#include "support/SyncRun.h"

#include "core/sync/SyncClientRegistry.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace LarkTest {

SyncOutcome runToEnd(AccountSyncRun *run, int timeoutMs, int graceMs)
{
    std::unique_ptr<AccountSyncRun> owned(run);
    if (!run)
        return {};
    QSignalSpy finished(run, &AccountSyncRun::finished);
    QSignalSpy failed(run, &AccountSyncRun::failed);
    // A loop of its own rather than polling, so that each reply is taken the moment it comes.
    QEventLoop loop;
    QObject::connect(run, &AccountSyncRun::finished, &loop, &QEventLoop::quit);
    QObject::connect(run, &AccountSyncRun::failed, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    run->start();
    if (finished.isEmpty() && failed.isEmpty())
        loop.exec();
    if (finished.isEmpty() && failed.isEmpty())
        qWarning("the sync run did not end");
    if (graceMs > 0)
        QTest::qWait(graceMs);
    SyncOutcome outcome {int(finished.size()), int(failed.size()), QString(), QString(),
                         run->retryAfter()};
    if (!failed.isEmpty()) {
        outcome.calendarId = failed.first().at(0).toString();
        outcome.reason = failed.first().at(1).toString();
    }
    return outcome;
}

} // namespace LarkTest
