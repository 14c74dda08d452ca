#include "core/sync/SyncEngine.h"

#include "core/sync/ConflictMerge.h"
#include "core/sync/ConflictResolutionService.h"
#include "core/sync/RunGate.h"
#include "core/sync/SyncEngineRows.h"
#include "model/Identifiers.h"
#include "storage/AllOrNothing.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/SqlHelpers.h"
#include "storage/TaskRepository.h"

#include <QtDebug>

#include <algorithm>
#include <type_traits>

namespace Sync {

using namespace EngineRows;

SyncEngine::SyncEngine(const SyncStore &store, const Account &account, SyncProvider *provider,
                       QObject *parent)
    : AccountSyncRun(parent)
    , m_store(store)
    , m_account(account)
    , m_provider(provider)
{
    Q_ASSERT(m_store.gate);
    m_provider->setParent(this);
    m_provider->setContext(ProviderContext(store));
    connect(m_provider, &SyncProvider::heard, this, &AccountSyncRun::progressed);
}

void SyncEngine::start()
{
    if (m_started)
        return;
    m_started = true;
    qInfo().noquote() << "[Sync] run of account" << m_account.id << "started";
    QPointer<SyncEngine> self(this);
    m_provider->prepare([self](const Outcome<> &outcome) {
        if (!self)
            return;
        emit self->progressed();
        if (!self->endedBy(outcome))
            self->listCalendars();
    });
}

template<typename T> bool SyncEngine::endedBy(const Outcome<T> &outcome)
{
    if (outcome.ok())
        return false;
    // Before any calendar: nothing of the account can sync.
    noteRetryAfter(outcome.error());
    noteFailure(QString(), outcome.error().reason, true);
    finish();
    return true;
}

void SyncEngine::listCalendars()
{
    QPointer<SyncEngine> self(this);
    m_provider->listCalendars([self](const Outcome<QList<Calendar>> &outcome) {
        if (!self)
            return;
        emit self->progressed();
        if (self->endedBy(outcome))
            return;
        self->adoptCalendars(outcome.value());
        self->startNextCalendar();
    });
}

void SyncEngine::adoptCalendars(const QList<Calendar> &listed)
{
    CalendarRepository *calendars = m_store.calendars;
    const QStringList only = calendarFilter();
    QList<Calendar> known = calendars->listByAccount(m_account.id);
    QStringList matched;
    auto queue = [&](const Calendar &c) {
        // A source that lists a calendar twice syncs it once; a calendar switched off here or
        // left out of this run is not synced.
        if (c.sync_enabled && (only.isEmpty() || only.contains(c.id))
            && std::none_of(m_toSync.cbegin(), m_toSync.cend(),
                            [&](const Calendar &q) { return q.id == c.id; }))
            m_toSync.append(c);
    };
    for (const Calendar &remote : listed) {
        const auto match = std::find_if(known.cbegin(), known.cend(), [&](const Calendar &c) {
            return m_provider->sameCalendar(c, remote);
        });
        if (match != known.cend()) {
            matched << match->id;
            if (match->canonical_key.isEmpty() && !remote.canonical_key.isEmpty()) {
                // Added before its source named keys: other devices find it by this one.
                Calendar keyed = *match;
                keyed.canonical_key = remote.canonical_key;
                if (!calendars->update(keyed))
                    qWarning().noquote() << "[Sync] could not store the key of" << keyed.id;
            }
            queue(*match);
            continue;
        }
        Calendar row = remote;
        row.id = newId();
        row.account_id = m_account.id;
        row.sync_token.clear();
        row.delta_sync_token.clear();
        row.sync_enabled = true;
        row.created_at = row.updated_at = m_store.database->currentDateTimeUtc();
        if (!calendars->insert(row)) {
            noteFailure(QString(),
                        tr("The calendar \"%1\" could not be added on this device.").arg(row.name),
                        false);
            continue;
        }
        known.append(row);
        matched << row.id;
        queue(row);
    }
    // Gone at the source: said by name where the source has words for it; its rows stay here.
    for (const Calendar &c : std::as_const(known)) {
        if (matched.contains(c.id) || !c.sync_enabled || (!only.isEmpty() && !only.contains(c.id))
            || c.url.startsWith(QLatin1String("local://")))
            continue;
        const QString reason = m_provider->missingCalendarReason(c);
        if (reason.isEmpty())
            continue;
        qWarning().noquote() << "[Sync] calendar" << c.id << "is no longer listed by its source";
        noteFailure(c.id, reason, false);
        emit calendarSyncFailed(c.id, reason);
    }
}

void SyncEngine::startNextCalendar()
{
    if (m_toSync.isEmpty()) {
        finish();
        return;
    }
    // The row as it is now, not as it was listed: tokens may have moved since.
    const Calendar listed = m_toSync.takeFirst();
    if (!m_store.gate->claim(listed.id, this)) {
        // Kept back for the run after the import or the other run.
        qInfo().noquote() << "[Sync] calendar" << listed.id << "left alone: held";
        m_store.gate->hold(m_account.id, {listed.id});
        emit calendarSyncHeld(listed.id);
        startNextCalendar();
        return;
    }
    m_calendar = m_store.calendars->byId(listed.id).value_or(listed);
    m_request = FetchRequest {m_provider->storedToken(m_calendar), QString()};
    m_restarted = false;
    m_pages.restart();
    m_outbox.clear();
    m_pushFailures = 0;
    m_firstPushError.reset();
    m_pulledItems = 0;
    m_calendarFailure.clear();
    m_calendarNotice.clear();
    m_calendarHeld = false;
    emit calendarSyncStarted(m_calendar.id);
    fetchPage();
}

void SyncEngine::fetchPage()
{
    QPointer<SyncEngine> self(this);
    m_provider->fetchChanges(m_calendar, m_request, [self](const Outcome<ChangePage> &outcome) {
        if (self)
            self->onPage(outcome);
    });
}

void SyncEngine::onPage(const Outcome<ChangePage> &outcome)
{
    emit progressed();
    if (!outcome.ok()) {
        const Error &error = outcome.error();
        if (error.kind == ErrorKind::Gone && !m_restarted) {
            // Once per calendar and run: a source that rejects a fresh listing too is broken.
            m_restarted = true;
            Calendar fresh = m_store.calendars->byId(m_calendar.id).value_or(m_calendar);
            m_provider->clearStoredTokens(fresh);
            if (!m_store.calendars->update(fresh))
                qWarning().noquote() << "[Sync] could not clear the token of" << fresh.id;
            m_calendar = fresh;
            m_request = FetchRequest();
            m_pages.restart();
            qInfo().noquote() << "[Sync] token of" << m_calendar.id << "expired: full fetch";
            fetchPage();
            return;
        }
        noteRetryAfter(error);
        return pullFailed(error.reason, stopsAccount(error.kind));
    }
    if (isHeld(m_calendar.id))
        return leftAlone();
    const ChangePage &page = outcome.value();
    m_pulledItems += int(page.events.size() + page.tasks.size());
    const QString failure = applyPage(page);
    if (!failure.isEmpty())
        return pullFailed(failure, false);
    if (page.nextPageToken.isEmpty()) {
        startPush();
        return;
    }
    if (!m_pages.follow(page.nextPageToken))
        return pullFailed(tr("The changes of \"%1\" never end (a page came again, or more than "
                             "%Ln page(s)); the sync stopped.",
                             nullptr, PageChain::limit())
                              .arg(m_calendar.name),
                          false);
    m_request.pageToken = page.nextPageToken;
    fetchPage();
}

void SyncEngine::pullFailed(const QString &reason, bool stopAccount)
{
    // Its changes were not all seen: a push now would be measured against an older remote copy
    // and refused, or undo what the remote changed. The outbox waits for a run that pulls.
    qWarning().noquote() << "[Sync] pull of" << m_calendar.id
                         << "failed, nothing pushed:" << reason;
    noteFailure(m_calendar.id, reason, stopAccount);
    finishCalendar();
}

QString SyncEngine::applyPage(const ChangePage &page)
{
    const QString failure
        = tr("Changes to \"%1\" could not be saved on this device; they are fetched again at the "
             "next sync.")
              .arg(m_calendar.name);
    m_pageConflicts.clear();
    QString reason = failure;
    bool changed = false;
    Calendar withToken = m_calendar;
    const auto write = [&] {
        // A failed write undoes the whole page.
        const EventRepository::WholeStep whole(m_store.events);
        for (const RemoteEvent &item : page.events) {
            reason = item.unreadable.isEmpty() ? failure : item.unreadable;
            if (!item.unreadable.isEmpty() || !applyChange(item, changed))
                return false;
        }
        for (const RemoteTask &item : page.tasks) {
            reason = item.unreadable.isEmpty() ? failure : item.unreadable;
            if (!item.unreadable.isEmpty() || !applyChange(item, changed))
                return false;
        }
        reason = failure;
        if (page.token.isEmpty())
            return true;
        // Written on the row as it is now, inside the page: both or neither are kept.
        withToken = m_store.calendars->byId(m_calendar.id).value_or(m_calendar);
        m_provider->setStoredToken(withToken, page.token);
        return m_store.calendars->update(withToken);
    };
    const auto announce = [&] {
        m_calendar = withToken;
        if (changed)
            m_store.events->notifyChanged(m_calendar.id);
        if (ConflictResolutionService *conflicts = m_store.conflicts) {
            for (const auto &[local, remote] : std::as_const(m_pageConflicts))
                conflicts->recordConflict(local, remote);
        }
    };
    const bool kept = Sql::applyAllOrNothing(
        m_store.database->connection(), QStringLiteral("sync_page"),
        {m_store.events, m_store.tasks, m_store.calendars}, write, announce);
    m_pageConflicts.clear();
    return kept ? QString() : reason;
}

std::optional<Event> SyncEngine::localRowFor(const RemoteEvent &item) const
{
    EventRepository *events = m_store.events;
    const QString uid = item.row.uid.isEmpty() ? item.remoteId : item.row.uid;
    // Without the child rows: most changes replace the row by the remote copy, and a row
    // written back from this record gets them first (withChildRows).
    const auto without = EventRepository::WithChildRows::No;
    std::optional<Event> found = events->byProviderId(m_calendar.id, item.remoteId, without);
    if (!found && !uid.isEmpty())
        found = events->byUidAndRecurrenceId(uid, m_calendar.id, item.row.recurrence_id, without);
    return found;
}

std::optional<bool> SyncEngine::adoptCreate(const RemoteEvent &item, bool &changed)
{
    std::optional<Event> row;
    if (!item.createdFrom.isEmpty())
        row = m_store.events->byId(item.createdFrom);
    else if (!item.createdFromUid.isEmpty())
        row = m_store.events->byUidAndRecurrenceId(item.createdFromUid, m_calendar.id, QString());
    if (!row || row->calendar_id != m_calendar.id || !isPending(row->sync_status)
        || !row->provider_event_id.isEmpty())
        return std::nullopt;
    // Our own create, whose answer never came: the row takes its identity and stays pending, so
    // its push sends the local version (or its deletion) over it.
    qInfo().noquote() << "[Sync] adopted the remote copy of" << row->id << "created earlier";
    row->provider_event_id = item.remoteId;
    row->etag = item.etag;
    if (!item.row.raw_icalendar.isEmpty())
        row->raw_icalendar = item.row.raw_icalendar;
    changed = true;
    return m_store.events->update(*row);
}

void SyncEngine::withChildRows(Event &local) const
{
    m_store.events->loadChildRows(local);
}

std::optional<Task> SyncEngine::localRowFor(const RemoteTask &item) const
{
    TaskRepository *tasks = m_store.tasks;
    const QString uid = item.row.uid.isEmpty() ? item.remoteId : item.row.uid;
    // With its reminders, which an update rewrites from the record.
    return uid.isEmpty() ? std::nullopt : tasks->byUidInCalendar(uid, m_calendar.id);
}

void SyncEngine::withChildRows(Task &) const
{
    // Looked up with its reminders already.
}

void SyncEngine::keepLocal(const Event &local, const Event &remote)
{
    m_pageConflicts.append({local, remote});
}

void SyncEngine::keepLocal(const Task &local, const Task &)
{
    // Conflict records hold events; the task keeps its edit all the same.
    qInfo().noquote() << "[Sync] kept the local edit of task" << local.id
                      << "changed at the source too";
}

template<typename Row> Row SyncEngine::settled(const Row &local, const Row &remote) const
{
    if constexpr (std::is_same_v<Row, Event>) {
        // A row with no tag was written over wholesale here (an import): what it keeps of the
        // remote copy is not the version the edit started from.
        std::optional<Event> agreed
            = local.etag.isEmpty() ? std::nullopt : m_provider->agreedVersion(local);
        if (agreed)
            agreed = m_provider->mergeRemote(local, *agreed);
        return settledEdit(local, m_provider->mergeRemote(local, remote), agreed);
    } else {
        return settledEdit(local, remote, std::nullopt);
    }
}

template<typename Row> bool SyncEngine::applyChange(const RemoteChange<Row> &item, bool &changed)
{
    auto *repository = repositoryOf<Row>(m_store);
    std::optional<Row> local = localRowFor(item);
    const QDateTime now = m_store.database->currentDateTimeUtc();

    if (item.deleted) {
        if (!local)
            return true;
        changed = true;
        if (isPending(local->sync_status) && !local->deleted_at) {
            // The local edit is kept and pushed as a new item; the deletion is on record.
            withChildRows(*local);
            Row removed = *local;
            removed.etag = item.etag;
            removed.deleted_at = now;
            keepLocal(*local, removed);
            return repository->update(withoutRemoteCopy(*local));
        }
        return repository->hardDelete(local->id);
    }

    if constexpr (std::is_same_v<Row, Event>) {
        if (const std::optional<bool> adopted = local ? std::nullopt : adoptCreate(item, changed))
            return *adopted;
    }
    Row remote = item.row;
    remote.calendar_id = m_calendar.id;
    if (remote.uid.isEmpty())
        remote.uid = item.remoteId;
    remote.*remoteIdField<Row>() = item.remoteId;
    remote.etag = item.etag;
    remote.sync_status = kSynced;
    remote.deleted_at.reset();
    // The column takes no NULL: a source without a text of its own must not block the page.
    if (remote.raw_icalendar.isNull())
        remote.raw_icalendar = QStringLiteral("");
    if (!local) {
        remote.id = newId();
        if (!remote.created.isValid())
            remote.created = now;
        if (!remote.last_modified.isValid())
            remote.last_modified = now;
        changed = true;
        return repository->insert(remote);
    }
    // The remote copy is the one this row was last written from or pushed as.
    if (!item.etag.isEmpty() && item.etag == local->etag)
        return true;
    remote.id = local->id;
    if (isPending(local->sync_status)) {
        withChildRows(*local);
        keepLocal(*local, remote);
        changed = true;
        // A deletion here of a version the source no longer holds may give way to the newer
        // edit, as an edit here outlives a deletion there.
        if (!local->deleted_at || item.etag.isEmpty() || !m_provider->keepsEditOverDeletion())
            return repository->update(settled(*local, remote));
    }
    Row merged = remote;
    if constexpr (std::is_same_v<Row, Event>) {
        if (m_provider->mergesChildRows())
            withChildRows(*local);
        merged = m_provider->mergeRemote(*local, remote);
        merged.id = local->id;
        merged.calendar_id = m_calendar.id;
        merged.sync_status = kSynced;
    }
    if (!merged.created.isValid())
        merged.created = local->created;
    changed = true;
    return repository->update(merged);
}

bool SyncEngine::isHeld(const QString &calendarId) const
{
    return m_store.gate->holds(calendarId, this);
}

void SyncEngine::leftAlone()
{
    // An import began while this calendar was under way: what is left of it, its stored token
    // included, waits for the run after the import.
    qInfo().noquote() << "[Sync] calendar" << m_calendar.id << "left alone: an import began";
    m_outbox.clear();
    m_store.gate->hold(m_account.id, {m_calendar.id});
    m_calendarHeld = true;
    finishCalendar();
}

void SyncEngine::finishCalendar()
{
    m_store.gate->release(m_calendar.id);
    if (m_pushFailures > 0)
        noteFailure(m_calendar.id, m_provider->pushFailureReason(m_pushFailures, *m_firstPushError),
                    m_accountStopped);
    // Held: neither synced nor failed; what it showed before stays.
    if (m_calendarHeld)
        emit calendarSyncHeld(m_calendar.id);
    else if (!m_calendarFailure.isEmpty())
        emit calendarSyncFailed(m_calendar.id, m_calendarFailure);
    else if (!m_calendarNotice.isEmpty())
        emit calendarSyncFailed(m_calendar.id, m_calendarNotice);
    else
        emit calendarSyncCompleted(m_calendar.id, m_pulledItems);
    if (m_accountStopped)
        finish();
    else
        startNextCalendar();
}

void SyncEngine::noteFailure(const QString &calendarId, const QString &reason, bool stopAccount)
{
    if (!m_failure)
        m_failure = std::make_pair(calendarId, reason);
    if (calendarId == m_calendar.id && m_calendarFailure.isEmpty())
        m_calendarFailure = reason;
    if (stopAccount)
        m_accountStopped = true;
}

void SyncEngine::noteRetryAfter(const Error &error)
{
    // The latest time any request named: earlier runs would only be refused again.
    if (error.retryAfter.isValid() && !(retryAfter().isValid() && retryAfter() >= error.retryAfter))
        setRetryAfter(error.retryAfter);
}

void SyncEngine::finish()
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_failure) {
        qInfo().noquote() << "[Sync] run of account" << m_account.id << "failed";
        emit failed(m_failure->first, m_failure->second);
    } else {
        qInfo().noquote() << "[Sync] run of account" << m_account.id << "finished";
        emit finished();
    }
}

bool stopsAccount(ErrorKind kind)
{
    return kind == ErrorKind::Auth || kind == ErrorKind::RateLimited || kind == ErrorKind::Network;
}

SyncClientRegistry::Factory engineFactory(ProviderFactory makeProvider)
{
    return [makeProvider = std::move(makeProvider)](AppState *state, const Account &account,
                                                    QObject *parent) -> AccountSyncRun * {
        SyncProvider *provider = makeProvider ? makeProvider(state, account) : nullptr;
        return provider ? new SyncEngine(SyncStore::of(*state), account, provider, parent)
                        : nullptr;
    };
}

void SyncProvider::prepare(Reply<> done)
{
    done(Outcome<>::success());
}

bool SyncProvider::sameCalendar(const Calendar &local, const Calendar &listed) const
{
    return (!listed.url.isEmpty() && local.url == listed.url)
        || (!listed.canonical_key.isEmpty() && local.canonical_key == listed.canonical_key);
}

void SyncProvider::pushTask(const Calendar &, ChangeKind, const Task &, Reply<PushReceipt> done)
{
    done(Outcome<PushReceipt>::failure(ErrorKind::Server, tr("This source keeps no tasks.")));
}

QString SyncProvider::storedToken(const Calendar &calendar) const
{
    return calendar.delta_sync_token;
}

void SyncProvider::setStoredToken(Calendar &calendar, const QString &token) const
{
    calendar.delta_sync_token = token;
}

Event SyncProvider::mergeRemote(const Event &, const Event &remote) const
{
    return remote;
}

std::optional<Event> SyncProvider::agreedVersion(const Event &) const
{
    return std::nullopt;
}

QString SyncProvider::pushFailureReason(int, const Error &first) const
{
    return first.reason;
}

QString SyncProvider::missingCalendarReason(const Calendar &) const
{
    return QString();
}

} // namespace Sync
