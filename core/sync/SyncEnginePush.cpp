// The sync engine's push step: a calendar's outbox sent row by row, and what each answer
// does to the row that was sent.

#include "core/sync/SyncEngine.h"

#include "core/sync/ConflictMerge.h"
#include "core/sync/ConflictResolutionService.h"
#include "core/sync/SyncEngineRows.h"
#include "model/JsonText.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

#include <QtDebug>

namespace Sync {

using namespace EngineRows;

void SyncEngine::startPush()
{
    if (isHeld(m_calendar.id))
        return leftAlone();
    m_outbox.clear();
    for (const Event &e : m_store.events->listPending(m_calendar.id))
        m_outbox.append({false, e.id});
    if (m_provider->syncsTasks()) {
        for (const Task &t : m_store.tasks->listPending(m_calendar.id))
            m_outbox.append({true, t.id});
    }
    pushNext();
}

void SyncEngine::pushNext()
{
    if (!m_outbox.isEmpty() && isHeld(m_calendar.id))
        return leftAlone();
    while (!m_outbox.isEmpty()) {
        const Outbox next = m_outbox.takeFirst();
        if (next.isTask ? push<Task>(next.id) : push<Event>(next.id))
            return;
    }
    finishCalendar();
}

template<typename Row> bool SyncEngine::push(const QString &id)
{
    auto *repository = repositoryOf<Row>(m_store);
    const std::optional<Row> row = repository->byId(id);
    if (!row || !isPending(row->sync_status))
        return false;
    const bool known = !((*row).*remoteIdField<Row>()).isEmpty();
    if (row->deleted_at && !known) {
        // Never reached the source: nothing to tell it.
        repository->hardDelete(row->id);
        return false;
    }
    const ChangeKind kind = row->deleted_at ? ChangeKind::Delete
        : known                             ? ChangeKind::Update
                                            : ChangeKind::Create;
    QPointer<SyncEngine> self(this);
    Reply<PushReceipt> done = [self, sent = *row, kind](const Outcome<PushReceipt> &outcome) {
        if (self)
            self->onPushed(sent, kind, outcome);
    };
    if constexpr (std::is_same_v<Row, Event>)
        m_provider->pushEvent(m_calendar, kind, *row, std::move(done));
    else
        m_provider->pushTask(m_calendar, kind, *row, std::move(done));
    return true;
}

namespace {

// What a push outcome asks of the row that was sent.
enum class PushStep { Done, Recreate, Failed };

PushStep stepFor(ChangeKind kind, const Outcome<PushReceipt> &outcome)
{
    if (outcome.ok())
        return PushStep::Done;
    const bool remoteHasNone
        = outcome.error().kind == ErrorKind::NotFound || outcome.error().kind == ErrorKind::Gone;
    if (remoteHasNone && kind == ChangeKind::Delete)
        return PushStep::Done;
    if (remoteHasNone && kind == ChangeKind::Update)
        return PushStep::Recreate;
    return PushStep::Failed;
}

// The row after a push the source accepted; nullopt when it is to be removed.
template<typename Row>
std::optional<Row> afterPush(const Row &sent, const Row &current, ChangeKind kind,
                             const PushReceipt &receipt)
{
    // An edit made meanwhile keeps the row pending, with the remote identity it now has.
    const bool unchanged = sameLocalContent(sent, current);
    if (kind == ChangeKind::Delete) {
        if (unchanged)
            return std::nullopt;
        // Restored meanwhile: the source no longer has it.
        return current.deleted_at ? current : withoutRemoteCopy(current);
    }
    Row next = current;
    if (!receipt.remoteId.isEmpty())
        next.*remoteIdField<Row>() = receipt.remoteId;
    next.etag = receipt.etag;
    if (!receipt.href.isEmpty() && remoteIdField<Row>() != &Row::href)
        next.href = receipt.href;
    if (!receipt.text.isEmpty())
        next.raw_icalendar = receipt.text;
    if constexpr (std::is_same_v<Row, Event>) {
        if (receipt.exceptionDates && unchanged)
            next.exception_dates = *receipt.exceptionDates;
    }
    if (unchanged)
        next.sync_status = kSynced;
    return next;
}

} // namespace

template<typename Row>
void SyncEngine::onPushed(const Row &sent, ChangeKind kind, const Outcome<PushReceipt> &outcome)
{
    emit progressed();
    auto *repository = repositoryOf<Row>(m_store);
    const std::optional<Row> current = repository->byId(sent.id);
    const PushStep step = stepFor(kind, outcome);
    if (step == PushStep::Failed) {
        if constexpr (std::is_same_v<Row, Event>) {
            if (outcome.error().kind == ErrorKind::Conflict && current && m_store.conflicts) {
                // The source did not say what it holds; the record names the row and the refusal.
                Event remote;
                remote.id = sent.id;
                remote.uid = sent.uid;
                remote.calendar_id = sent.calendar_id;
                m_store.conflicts->recordConflict(*current, remote);
            }
        }
        if (outcome.error().kind == ErrorKind::Unsupported && current && kind == ChangeKind::Create
            && sameLocalContent(sent, *current)) {
            Row kept = *current;
            kept.sync_status = kSynced;
            if (!repository->update(kept))
                qWarning().noquote() << "[Sync] could not keep" << sent.id << "on this device";
        }
        if (outcome.error().kind == ErrorKind::Unsupported && kind != ChangeKind::Create) {
            // The edit stays here, waiting, so no pull writes over it; the calendar says why,
            // and one such event does not fail every run.
            qWarning().noquote() << "[Sync]" << sent.id << "kept here:" << outcome.error().reason;
            if (m_calendarNotice.isEmpty())
                m_calendarNotice = outcome.error().reason;
            return pushNext();
        }
        if (!notePushFailure(outcome.error()))
            return finishCalendar();
        return pushNext();
    }
    if (!current) {
        qWarning().noquote() << "[Sync] pushed" << sent.id << "but the local row is gone";
        return pushNext();
    }
    if (step == PushStep::Recreate) {
        qInfo().noquote() << "[Sync]" << sent.id << "is gone at the source: created afresh next";
        repository->update(withoutRemoteCopy(*current));
        return pushNext();
    }
    const std::optional<Row> next
        = afterPush(sent, *current, kind, outcome.ok() ? outcome.value() : PushReceipt());
    const bool stored = next ? repository->update(*next) : repository->hardDelete(sent.id);
    if (!stored)
        qWarning().noquote() << "[Sync] pushed" << sent.id << "but could not record it";
    pushNext();
}

bool SyncEngine::notePushFailure(const Error &error)
{
    ++m_pushFailures;
    noteRetryAfter(error);
    if (!m_firstPushError)
        m_firstPushError = error;
    qWarning().noquote() << "[Sync] push to" << m_calendar.id << "failed:" << error.reason;
    if (!stopsAccount(error.kind))
        return true;
    m_accountStopped = true;
    return false;
}

Reply<PushReceipt> withCancelledDates(Reply<PushReceipt> done, const Event &row,
                                      const QString &sent)
{
    if (jsonTextList(sent) == jsonTextList(row.exception_dates))
        return done;
    return [done, sent](const Outcome<PushReceipt> &outcome) {
        if (!outcome.ok())
            return done(outcome);
        PushReceipt receipt = outcome.value();
        receipt.exceptionDates = sent;
        done(Outcome<PushReceipt>::success(receipt));
    };
}

} // namespace Sync
