#include "services/sync/microsoft/MicrosoftSyncProvider.h"

#include "core/sync/CalendarIdentity.h"
#include "model/ICalendar.h"
#include "model/Recurrence.h"
#include "services/net/SyncError.h"
#include "services/oauth/ProviderSession.h"
#include "services/sync/microsoft/AuthService.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <functional>

namespace Microsoft {

using Sync::ChangePage;
using Sync::ErrorKind;
using Sync::Outcome;
using Sync::PushReceipt;
using Sync::RemoteEvent;

namespace {

bool sameCode(const QString &a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

template<typename T> void answerLater(QObject *context, Sync::Reply<T> done, Outcome<T> outcome)
{
    QMetaObject::invokeMethod(
        context, [done = std::move(done), outcome = std::move(outcome)] { done(outcome); },
        Qt::QueuedConnection);
}

QJsonObject jsonObject(const QString &text)
{
    if (!text.startsWith(QLatin1Char('{')))
        return {}; // an iCalendar text, for rows made on this device
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

} // namespace

struct MicrosoftSyncProvider::Fetch
{
    Calendar calendar;
    Sync::Reply<ChangePage> done;
    ChangePage page;
    QStringList series; // masters still to fetch for this page
    bool wholeWindow = false; // a page of a listing of the whole window
    Sync::PageChain instancePages; // of the series being read
};

MicrosoftSyncProvider::MicrosoftSyncProvider(const Account &account, QObject *parent)
    : Sync::SyncProvider(parent)
    , m_account(account)
    , m_client(new CalendarClient(this))
    , m_session(OAuth::newProviderSession<AuthService>(account.id, renewMarginSecs, this))
{
    connect(m_client, &CalendarClient::answered, this, &Sync::SyncProvider::heard);
    // The client sends a refused request once more after this renewal.
    m_client->renewToken = [this](const CalendarClient::Renewed &renewed) {
        m_session->refused(m_client->accessToken, [this, renewed](OAuth::Renewal renewal) {
            if (renewal != OAuth::Renewal::Renewed) {
                renewed(renewalFailure());
                return;
            }
            m_client->accessToken = m_session->tokens().access;
            renewed(QString());
        });
    };
}

QString MicrosoftSyncProvider::renewalFailure() const
{
    return tr("Microsoft token refresh failed: %1").arg(m_session->failureReason());
}

void MicrosoftSyncProvider::setServiceRoot(const QUrl &root)
{
    m_client->setServiceRoot(root);
}

void MicrosoftSyncProvider::prepare(Sync::Reply<> done)
{
    const QDateTime now = context().now();
    m_windowStart = now.addMonths(-monthsBack);
    m_windowEnd = now.addMonths(monthsAhead);
    const StoredTokens tokens = AuthService::loadTokens(m_account.id);
    if (tokens.refreshToken.isEmpty()) {
        answerLater(this, std::move(done),
                    Outcome<>::failure(ErrorKind::Auth,
                                       tr("No saved Microsoft credentials. Sign in again.")));
        return;
    }
    m_session->setTokens({tokens.accessToken, tokens.refreshToken, tokens.expiresAt});
    if (!m_session->needsRenewal(now)) {
        m_client->accessToken = tokens.accessToken;
        answerLater(this, std::move(done), Outcome<>::success());
        return;
    }
    m_session->renew([this, done](OAuth::Renewal renewal) {
        if (renewal != OAuth::Renewal::Renewed) {
            done(Outcome<>::failure(ErrorKind::Auth, renewalFailure()));
            return;
        }
        m_client->accessToken = m_session->tokens().access;
        done(Outcome<>::success());
    });
}

Sync::Error MicrosoftSyncProvider::errorOf(const GraphReply &reply)
{
    std::optional<ErrorKind> own;
    switch (reply.failure) {
    case GraphReply::Failure::None:
    case GraphReply::Failure::Http:
        break;
    case GraphReply::Failure::NoToken:
        own = ErrorKind::Auth;
        break;
    case GraphReply::Failure::Network:
        own = ErrorKind::Network;
        break;
    case GraphReply::Failure::Malformed:
    case GraphReply::Failure::ForeignLink:
        own = ErrorKind::Malformed;
        break;
    }
    if (own)
        return Net::syncError(reply.status, reply.reason, own);
    if (reply.status == 401) {
        // Refused before it ran out: the next run renews it instead of trying it again.
        StoredTokens tokens = AuthService::loadTokens(m_account.id);
        tokens.expiresAt = QDateTime();
        if (!AuthService::saveTokens(m_account.id, tokens))
            qCWarning(lcGraph).noquote() << "[Microsoft] could not mark the sign-in for renewal";
    } else if (sameCode(reply.errorCode, "syncStateNotFound")
               || sameCode(reply.errorCode, "resyncRequired")) {
        own = ErrorKind::Gone; // Graph dropped the delta state, whatever the status
    } else if (reply.status == 503 && reply.retryAfter.isValid()) {
        own = ErrorKind::RateLimited; // busy, and it named when to come back
    }
    return Net::syncError(reply.status, reply.reason, own, reply.retryAfter, context().now());
}

void MicrosoftSyncProvider::listCalendars(Sync::Reply<QList<Calendar>> done)
{
    m_client->listCalendars(
        [this, done](const QList<DiscoveredCalendar> &found, const GraphReply &reply) {
            if (!reply.ok()) {
                done(Outcome<QList<Calendar>>::failure(errorOf(reply)));
                return;
            }
            QList<Calendar> calendars;
            for (const DiscoveredCalendar &d : found) {
                if (d.id.isEmpty())
                    continue;
                Calendar c;
                c.url = d.id;
                c.name = d.name;
                c.color = d.color;
                c.is_read_only = !d.canEdit;
                c.is_default = d.isDefault;
                c.canonical_key
                    = calendarIdentityKey(QStringLiteral("microsoft"), d.id).value_or(QString());
                calendars.append(c);
            }
            done(Outcome<QList<Calendar>>::success(calendars));
        });
}

void MicrosoftSyncProvider::fetchChanges(const Calendar &calendar,
                                         const Sync::FetchRequest &request,
                                         Sync::Reply<ChangePage> done)
{
    auto fetch = std::make_shared<Fetch>();
    fetch->calendar = calendar;
    fetch->done = std::move(done);
    fetch->wholeWindow = request.token.isEmpty();
    if (fetch->wholeWindow && request.pageToken.isEmpty())
        m_seen.clear();
    QUrl url;
    if (!request.pageToken.isEmpty())
        url = QUrl::fromEncoded(request.pageToken.toUtf8());
    else if (!request.token.isEmpty())
        url = m_client->deltaTokenUrl(calendar.url, request.token);
    else
        url = m_client->calendarViewDeltaUrl(calendar.url, m_windowStart, m_windowEnd);
    m_client->fetchPage(url, [this, fetch](const GraphReply &reply) { onPage(fetch, reply); });
}

void MicrosoftSyncProvider::onPage(const std::shared_ptr<Fetch> &fetch, const GraphReply &reply)
{
    if (!reply.ok()) {
        fetch->done(Outcome<ChangePage>::failure(errorOf(reply)));
        return;
    }
    const CalendarClient::EventListPage page = CalendarClient::pageFromJson(reply.body);
    if (page.nextLink.isEmpty() && page.deltaLink.isEmpty()) {
        fetch->done(Outcome<ChangePage>::failure(
            ErrorKind::Malformed,
            tr("Microsoft Graph sent a page of changes that leads nowhere.")));
        return;
    }
    fetch->page.nextPageToken = page.nextLink;
    // Kept only with the last page: the listing resumes from its start otherwise.
    if (page.nextLink.isEmpty())
        fetch->page.token = CalendarClient::deltaTokenOf(page.deltaLink);

    bool unplaced = false;
    for (const QJsonObject &item : page.items) {
        const QString id = item.value(QStringLiteral("id")).toString();
        if (id.isEmpty())
            continue;
        if (item.contains(QStringLiteral("@removed"))) {
            RemoteEvent removed;
            removed.remoteId = id;
            removed.deleted = true;
            fetch->page.events.append(removed);
            unplaced = unplaced || !context().eventByProviderId(fetch->calendar.id, id);
            continue;
        }
        const QString master = item.value(QStringLiteral("seriesMasterId")).toString();
        if (fetch->wholeWindow) {
            m_seen.insert(master.isEmpty() ? id : master);
            m_seen.unite(m_seriesIds.value(master));
        }
        if (!master.isEmpty()) {
            // The series brings this occurrence along, with every other one in the window.
            if (!m_seriesDone.contains(master) && !fetch->series.contains(master))
                fetch->series.append(master);
            continue;
        }
        RemoteEvent changed;
        changed.remoteId = id;
        changed.row = CalendarClient::eventFromJson(item, fetch->calendar.id);
        changed.etag = changed.row.etag;
        changed.createdFrom = item.value(QStringLiteral("transactionId")).toString();
        fetch->page.events.append(changed);
    }
    if (unplaced) {
        // A cancelled occurrence, or a deleted series: only the series themselves can tell.
        for (const QString &master : localSeries(fetch->calendar.id)) {
            if (!m_seriesDone.contains(master) && !fetch->series.contains(master))
                fetch->series.append(master);
        }
    }
    refreshNextSeries(fetch);
}

QStringList MicrosoftSyncProvider::localSeries(const QString &calendarId) const
{
    QStringList ids;
    for (const Event &e : context().eventsOf(calendarId)) {
        if (!e.recurrence_rule.isEmpty() && e.master_event_uid.isEmpty()
            && !e.provider_event_id.isEmpty())
            ids << e.provider_event_id;
    }
    return ids;
}

void MicrosoftSyncProvider::refreshNextSeries(const std::shared_ptr<Fetch> &fetch)
{
    while (!fetch->series.isEmpty() && m_seriesDone.contains(fetch->series.first()))
        fetch->series.removeFirst();
    if (fetch->series.isEmpty()) {
        if (fetch->wholeWindow && fetch->page.nextPageToken.isEmpty())
            addUnseen(fetch);
        fetch->done(Outcome<ChangePage>::success(fetch->page));
        return;
    }
    const QString id = fetch->series.takeFirst();
    m_seriesDone.insert(id);
    m_client->getEvent(id, [this, fetch, id](const GraphReply &reply) {
        if (!reply.ok()) {
            const Sync::Error error = errorOf(reply);
            if (error.kind != ErrorKind::NotFound && error.kind != ErrorKind::Gone) {
                fetch->done(Outcome<ChangePage>::failure(error));
                return;
            }
            RemoteEvent removed;
            removed.remoteId = id;
            removed.deleted = true;
            fetch->page.events.append(removed);
            refreshNextSeries(fetch);
            return;
        }
        const Event master = CalendarClient::eventFromJson(reply.body, fetch->calendar.id);
        if (master.recurrence_rule.isEmpty()) {
            // No longer a series, or one whose pattern cannot be read: kept as it stands.
            RemoteEvent single;
            single.remoteId = id;
            single.etag = master.etag;
            single.row = master;
            fetch->page.events.append(single);
            refreshNextSeries(fetch);
            return;
        }
        fetch->instancePages.restart();
        fetchInstances(fetch, master, m_client->instancesUrl(id, m_windowStart, m_windowEnd), {});
    });
}

void MicrosoftSyncProvider::fetchInstances(const std::shared_ptr<Fetch> &fetch, const Event &master,
                                           const QUrl &url, QList<QJsonObject> found)
{
    m_client->fetchPage(
        url, [this, fetch, master, found = std::move(found)](const GraphReply &reply) mutable {
            if (!reply.ok()) {
                fetch->done(Outcome<ChangePage>::failure(errorOf(reply)));
                return;
            }
            const CalendarClient::EventListPage page = CalendarClient::pageFromJson(reply.body);
            found.append(page.items);
            if (!page.nextLink.isEmpty()) {
                if (!fetch->instancePages.follow(page.nextLink)) {
                    fetch->done(
                        Outcome<ChangePage>::failure(errorOf(CalendarClient::endless(reply))));
                    return;
                }
                fetchInstances(fetch, master, QUrl::fromEncoded(page.nextLink.toUtf8()),
                               std::move(found));
                return;
            }
            addSeries(fetch, master, found);
            refreshNextSeries(fetch);
        });
}

namespace {

// The entries of a stored date list (exception or added dates) that lie outside a window.
QStringList datesOutside(const QString &stored, const std::function<bool(qint64)> &inWindow)
{
    QStringList kept;
    for (const QJsonValue &v : QJsonDocument::fromJson(stored.toUtf8()).array()) {
        const QString entry = v.toString();
        const QDateTime at = dateEntryInstant(entry);
        if (at.isValid() && !inWindow(at.toMSecsSinceEpoch()))
            kept << entry;
    }
    return kept;
}

QString dateList(QStringList dates)
{
    std::sort(dates.begin(), dates.end());
    dates.removeDuplicates();
    return dates.isEmpty()
        ? QString()
        : QString::fromUtf8(
            QJsonDocument(QJsonArray::fromStringList(dates)).toJson(QJsonDocument::Compact));
}

} // namespace

void MicrosoftSyncProvider::addSeries(const std::shared_ptr<Fetch> &fetch, Event master,
                                      const QList<QJsonObject> &instances)
{
    const auto inWindow = [this](qint64 ms) {
        return ms >= m_windowStart.toMSecsSinceEpoch() && ms < m_windowEnd.toMSecsSinceEpoch();
    };
    const auto slotEntry = [&master](const QString &recurrenceId) {
        return master.is_all_day ? recurrenceId.left(8) : recurrenceId;
    };
    QHash<QString, qint64> ruleSlots; // recurrence id -> start
    for (const Event &slot : expandRecurringMaster(master, m_windowStart, m_windowEnd))
        ruleSlots.insert(slot.recurrence_id, slot.start_time.toMSecsSinceEpoch());

    // What the service lists wins over what the rule makes of the series here: a listed slot
    // the rule lacks is added, a slot of the rule it does not list was cancelled.
    QSet<QString> present;
    QStringList added;
    QList<RemoteEvent> overrides;
    QSet<QString> &ids = m_seriesIds[master.provider_event_id];
    for (const QJsonObject &item : instances) {
        const Event occurrence = CalendarClient::eventFromJson(item, fetch->calendar.id);
        present.insert(occurrence.recurrence_id);
        if (!ruleSlots.contains(occurrence.recurrence_id)
            && inWindow(dateEntryInstant(occurrence.recurrence_id).toMSecsSinceEpoch()))
            added << slotEntry(occurrence.recurrence_id);
        if (item.value(QStringLiteral("type")).toString() != QLatin1String("exception"))
            continue;
        ids.insert(occurrence.provider_event_id);
        RemoteEvent moved;
        moved.remoteId = occurrence.provider_event_id;
        moved.etag = occurrence.etag;
        moved.row = occurrence;
        overrides.append(moved);
    }

    // Dates changed earlier and outside this window stay as they were.
    QStringList exdates;
    if (const std::optional<Event> local
        = context().eventByProviderId(fetch->calendar.id, master.provider_event_id)) {
        exdates = datesOutside(local->exception_dates, inWindow);
        added << datesOutside(local->recurrence_dates, inWindow);
    }
    for (auto it = ruleSlots.constBegin(); it != ruleSlots.constEnd(); ++it) {
        if (!present.contains(it.key()) && inWindow(it.value()))
            exdates << slotEntry(it.key());
    }
    master.exception_dates = dateList(exdates);
    master.recurrence_dates = dateList(added);

    if (fetch->wholeWindow)
        m_seen.unite(ids);
    RemoteEvent series;
    series.remoteId = master.provider_event_id;
    series.etag = master.etag;
    series.createdFrom
        = jsonObject(master.raw_icalendar).value(QStringLiteral("transactionId")).toString();
    series.row = master;
    fetch->page.events.append(series);
    fetch->page.events.append(overrides);
}

void MicrosoftSyncProvider::addUnseen(const std::shared_ptr<Fetch> &fetch)
{
    for (const Event &e : context().eventsOf(fetch->calendar.id)) {
        if (e.provider_event_id.isEmpty() || m_seen.contains(e.provider_event_id))
            continue;
        // Outside the window the listing says nothing either way.
        const bool series = !e.recurrence_rule.isEmpty() && e.master_event_uid.isEmpty();
        const QDateTime end = e.end_time.value_or(e.start_time);
        const bool inWindow = series
            ? !expandRecurringMaster(e, m_windowStart, m_windowEnd).isEmpty()
            : e.start_time < m_windowEnd && end > m_windowStart;
        if (!inWindow)
            continue;
        RemoteEvent gone;
        gone.remoteId = e.provider_event_id;
        gone.deleted = true;
        fetch->page.events.append(gone);
    }
}

void MicrosoftSyncProvider::pushEvent(const Calendar &calendar, Sync::ChangeKind kind,
                                      const Event &event, Sync::Reply<PushReceipt> done)
{
    const auto fail = [this, done](ErrorKind kind, const QString &reason) {
        answerLater(this, done, Outcome<PushReceipt>::failure(kind, reason));
    };
    const auto receiptOf = [this, done](const GraphReply &reply) {
        if (!reply.ok()) {
            done(Outcome<PushReceipt>::failure(errorOf(reply)));
            return;
        }
        PushReceipt receipt;
        receipt.remoteId = reply.body.value(QStringLiteral("id")).toString();
        receipt.etag = CalendarClient::etagOf(reply.body);
        // The event as Graph now holds it: what the next change is measured against.
        if (!receipt.remoteId.isEmpty())
            receipt.text
                = QString::fromUtf8(QJsonDocument(reply.body).toJson(QJsonDocument::Compact));
        done(Outcome<PushReceipt>::success(receipt));
    };
    switch (kind) {
    case Sync::ChangeKind::Delete:
        m_client->deleteEvent(calendar.url, event.provider_event_id, event.etag,
                              [receiptOf](const GraphReply &reply) { receiptOf(reply); });
        return;
    case Sync::ChangeKind::Create: {
        if (!event.master_event_uid.isEmpty()) {
            pushOccurrence(calendar, event, done);
            return;
        }
        QString error;
        QJsonObject body = CalendarClient::eventToJson(event, &error);
        if (!error.isEmpty()) {
            fail(ErrorKind::Unsupported, error);
            return;
        }
        // Graph creates one event per transaction id: a create sent again (its answer lost)
        // answers the event made the first time, and a later listing names the row it came from.
        body.insert(QStringLiteral("transactionId"), event.id);
        m_client->insertEvent(
            calendar.url, body, [this, calendar, event, receiptOf](const GraphReply &reply) {
                const QString id = reply.body.value(QStringLiteral("id")).toString();
                if (reply.ok() && id.isEmpty())
                    return receiptOf(CalendarClient::unreadable(reply));
                if (!reply.ok())
                    return receiptOf(reply);
                cancelAddedDates(calendar, event, id, receiptOf, reply);
            });
        return;
    }
    case Sync::ChangeKind::Update:
        break;
    }
    // The change is measured against what the service holds as this row's version: the copy
    // it was read from, or, after a push of ours, the service's own copy.
    const auto patchFrom = [this, calendar, event, done, receiptOf](const QJsonObject &base) {
        QString error;
        const QJsonObject patch = CalendarClient::eventPatch(event, base, &error);
        if (!error.isEmpty()) {
            done(Outcome<PushReceipt>::failure(ErrorKind::Unsupported, error));
            return;
        }
        if (patch.isEmpty()) {
            PushReceipt unchanged;
            unchanged.etag = event.etag;
            done(Outcome<PushReceipt>::success(unchanged));
            return;
        }
        m_client->updateEvent(calendar.url, event.provider_event_id, patch, event.etag,
                              [this, calendar, event, patch, receiptOf](const GraphReply &reply) {
                                  // A new pattern brings every date of it back.
                                  if (reply.ok() && patch.contains(QStringLiteral("recurrence")))
                                      cancelAddedDates(calendar, event, event.provider_event_id,
                                                       receiptOf, reply);
                                  else
                                      receiptOf(reply);
                              });
    };
    const QJsonObject base = jsonObject(event.raw_icalendar);
    if (!base.isEmpty() && CalendarClient::etagOf(base) == event.etag) {
        QMetaObject::invokeMethod(
            this, [patchFrom, base] { patchFrom(base); }, Qt::QueuedConnection);
        return;
    }
    m_client->getEvent(event.provider_event_id, [this, done, patchFrom](const GraphReply &reply) {
        if (!reply.ok()) {
            done(Outcome<PushReceipt>::failure(errorOf(reply)));
            return;
        }
        patchFrom(reply.body);
    });
}

// Graph puts a day that shorter months lack on their last day, where the rule skips those
// months: those occurrences are cancelled, so that the series holds the rule's dates alone. The
// answer is the series as it stands afterwards.
void MicrosoftSyncProvider::cancelAddedDates(const Calendar &calendar, const Event &event,
                                             const QString &seriesId, const Done &answer,
                                             const GraphReply &written)
{
    const QList<QDate> added = event.recurrence_rule.isEmpty()
        ? QList<QDate>()
        : CalendarClient::graphOnlyDates(event.recurrence_rule, event.start_time, event.is_all_day);
    if (added.isEmpty()) {
        answer(written);
        return;
    }
    const QTimeZone zone = event.start_time.timeSpec() == Qt::TimeZone ? event.start_time.timeZone()
                                                                       : QTimeZone::utc();
    const QUrl url
        = m_client->instancesUrl(seriesId, QDateTime(added.first(), QTime(0, 0), zone).addDays(-1),
                                 QDateTime(added.last(), QTime(0, 0), zone).addDays(2));
    auto ids = std::make_shared<QStringList>();
    auto pages = std::make_shared<Sync::PageChain>();
    auto step = std::make_shared<std::function<void(const GraphReply &)>>();
    // Pages of instances first, then one cancellation after another, then the series read back.
    *step = [this, calendar, event, seriesId, answer, added, zone, ids, pages,
             step](const GraphReply &reply) {
        if (!reply.ok()) {
            *step = nullptr; // the step holds itself: this ends the cycle
            answer(reply);
            return;
        }
        const CalendarClient::EventListPage page = CalendarClient::pageFromJson(reply.body);
        for (const QJsonObject &item : page.items) {
            const QDateTime slot
                = dateEntryInstant(CalendarClient::eventFromJson(item, calendar.id).recurrence_id);
            const QDate date
                = event.is_all_day ? slot.toUTC().date() : slot.toTimeZone(zone).date();
            if (added.contains(date))
                ids->append(item.value(QStringLiteral("id")).toString());
        }
        if (!page.nextLink.isEmpty() && !pages->follow(page.nextLink)) {
            *step = nullptr;
            answer(CalendarClient::endless(reply));
            return;
        }
        if (!page.nextLink.isEmpty()) {
            m_client->fetchPage(QUrl::fromEncoded(page.nextLink.toUtf8()), *step);
            return;
        }
        if (!ids->isEmpty()) {
            // A cancellation answers no page: the next one follows.
            m_client->deleteEvent(calendar.url, ids->takeFirst(), QString(), *step);
            return;
        }
        *step = nullptr;
        m_client->getEvent(seriesId, answer);
    };
    m_client->fetchPage(url, *step);
}

std::optional<Event> MicrosoftSyncProvider::agreedVersion(const Event &row) const
{
    const QJsonObject stored = jsonObject(row.raw_icalendar);
    if (stored.isEmpty())
        return std::nullopt;
    return CalendarClient::eventFromJson(stored, row.calendar_id);
}

QString MicrosoftSyncProvider::missingCalendarReason(const Calendar &calendar) const
{
    return tr("\"%1\" is no longer available at Microsoft; its changes stay on this device.")
        .arg(calendar.name);
}

// A changed occurrence is a change of the instance Graph keeps for that slot of the series: the
// series' instances around the slot name it, and it is patched (or deleted, when the occurrence
// was cancelled here).
void MicrosoftSyncProvider::pushOccurrence(const Calendar &calendar, const Event &event,
                                           Sync::Reply<PushReceipt> done)
{
    const std::optional<Event> master
        = context().eventByUid(event.master_event_uid, calendar.id, QString());
    const QDateTime slot = dateEntryInstant(event.recurrence_id);
    if (!master || master->provider_event_id.isEmpty() || !slot.isValid()) {
        answerLater(this, std::move(done),
                    Outcome<PushReceipt>::failure(
                        ErrorKind::Server,
                        tr("The series of \"%1\" is not in the Microsoft calendar yet; the "
                           "changed occurrence is sent at a later sync.")
                            .arg(event.title)));
        return;
    }
    const QUrl url
        = m_client->instancesUrl(master->provider_event_id, slot.addDays(-1), slot.addDays(2));
    m_client->fetchPage(url, [this, calendar, event, slot, done](const GraphReply &reply) {
        if (!reply.ok()) {
            done(Outcome<PushReceipt>::failure(errorOf(reply)));
            return;
        }
        QJsonObject instance;
        for (const QJsonObject &item : CalendarClient::pageFromJson(reply.body).items) {
            if (dateEntryInstant(CalendarClient::eventFromJson(item, calendar.id).recurrence_id)
                == slot)
                instance = item;
        }
        const QString id = instance.value(QStringLiteral("id")).toString();
        if (id.isEmpty()) {
            done(Outcome<PushReceipt>::failure(
                ErrorKind::Server,
                tr("The occurrence of \"%1\" changed here is no longer in its series at "
                   "Microsoft.")
                    .arg(event.title)));
            return;
        }
        const auto receiptOf = [this, id, done](const GraphReply &written) {
            if (!written.ok()) {
                done(Outcome<PushReceipt>::failure(errorOf(written)));
                return;
            }
            PushReceipt receipt;
            receipt.remoteId = id;
            receipt.etag = CalendarClient::etagOf(written.body);
            done(Outcome<PushReceipt>::success(receipt));
        };
        const QString etag = CalendarClient::etagOf(instance);
        if (event.status == QLatin1String("cancelled")) {
            m_client->deleteEvent(calendar.url, id, etag, receiptOf);
            return;
        }
        QString error;
        const QJsonObject patch = CalendarClient::eventPatch(event, instance, &error);
        if (!error.isEmpty()) {
            done(Outcome<PushReceipt>::failure(ErrorKind::Server, error));
            return;
        }
        m_client->updateEvent(calendar.url, id, patch, etag, receiptOf);
    });
}

} // namespace Microsoft
