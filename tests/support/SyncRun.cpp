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

Event occurrenceMovedHere(const Event &master, const QString &id, const QString &recurrenceId,
                          const QDateTime &start, const QDateTime &end)
{
    Event moved = master;
    moved.id = id;
    moved.master_event_uid = master.uid;
    moved.recurrence_id = recurrenceId;
    moved.recurrence_rule.clear();
    moved.exception_dates.clear();
    moved.recurrence_dates.clear();
    moved.provider_event_id.clear();
    moved.etag.clear();
    moved.raw_icalendar = QStringLiteral("");
    moved.start_time = start;
    moved.end_time = end;
    moved.sync_status = QStringLiteral("pending");
    return moved;
}

Event madeHere(const QString &calendarId, const QString &id, const QString &title,
               const QDateTime &start, int minutes, const QDateTime &made)
{
    Event e = Event::newLocal();
    e.id = e.uid = id;
    e.calendar_id = calendarId;
    e.title = title;
    e.start_time = start;
    e.end_time = start.addSecs(minutes * 60);
    e.raw_icalendar = QStringLiteral("");
    e.created = e.last_modified = made;
    return e;
}

} // namespace LarkTest
