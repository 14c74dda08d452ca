#include "services/sync/cloud/CloudSyncProvider.h"

#include "core/sync/CalendarIdentity.h"
#include "model/ICalendar.h"
#include "services/account/ApiClient.h"
#include "services/net/SyncError.h"
#include "services/sync/cloud/CloudItems.h"
#include "services/sync/cloud/SyncClient.h"

#include <QJsonArray>
#include <QUrlQuery>
#include <QtDebug>

#include <algorithm>

namespace Larkspindle {

using Sync::ChangeKind;
using Sync::ErrorKind;
using Sync::Outcome;

namespace {

const QString cloudScheme = QStringLiteral("larkspindle://");
const QString personalCalendarId = QStringLiteral("larkspindle-personal-default");

// The service answers 409 as well as 412 when a write meets a newer copy.
ErrorKind kindFor(int status)
{
    return Net::syncErrorKind(status,
                              status == 409 ? std::optional(ErrorKind::Conflict) : std::nullopt);
}

// A request that got no answer or an unreadable one says itself why; an answer is named by its
// status.
QString failureText(const QString &httpText, int status, const QJsonObject &body)
{
    return LarkAccount::ApiClient::failureText(httpText, status, body);
}

QString text(const QJsonObject &object, QLatin1String key, const QString &fallback = QString())
{
    const QJsonValue value = object.value(key);
    return value.isString() ? value.toString() : fallback;
}

// Null, false or no member at all: the entry is live.
bool isTombstone(const QJsonObject &entry)
{
    const QJsonValue deletedAt = entry.value(QLatin1String("deleted_at"));
    return !(deletedAt.isUndefined() || deletedAt.isNull()
             || (deletedAt.isBool() && !deletedAt.toBool()));
}

template<typename Change, typename Parse>
std::optional<Change> remoteChange(const QJsonObject &entry, Parse parse)
{
    const QString uid = text(entry, QLatin1String("uid"));
    if (uid.isEmpty())
        return std::nullopt;
    Change change;
    change.remoteId = text(entry, QLatin1String("id"));
    change.etag = text(entry, QLatin1String("etag"));
    change.deleted = isTombstone(entry);
    const auto parsed = parse(text(entry, QLatin1String("raw_icalendar")));
    if (!parsed.isEmpty())
        change.row = parsed.first();
    else if (!change.deleted)
        return std::nullopt;
    change.row.uid = uid;
    return change;
}

} // namespace

CloudSyncProvider::CloudSyncProvider(const Account &account, LarkAccount::ApiClient *api,
                                     bool signedIn, QObject *parent)
    : Sync::SyncProvider(parent)
    , m_account(account)
    , m_api(api)
    , m_signedIn(signedIn)
{
    if (api)
        connect(api, &LarkAccount::ApiClient::answered, this, &Sync::SyncProvider::heard);
}

std::optional<Sync::RemoteEvent> CloudSyncProvider::remoteEvent(const QJsonObject &entry)
{
    // The series stands for the item, wherever its component comes in the text.
    const auto seriesFirst = [](const QString &text) {
        QList<Event> events = parseICalendarEvents(text);
        std::stable_partition(events.begin(), events.end(),
                              [](const Event &e) { return e.recurrence_id.isEmpty(); });
        return events;
    };
    std::optional<Sync::RemoteEvent> change = remoteChange<Sync::RemoteEvent>(entry, seriesFirst);
    // The row keeps the whole item, so that its next push hands back what other clients wrote.
    if (change && !change->deleted)
        change->row.raw_icalendar = text(entry, QLatin1String("raw_icalendar"));
    return change;
}

std::optional<Sync::RemoteTask> CloudSyncProvider::remoteTask(const QJsonObject &entry)
{
    std::optional<Sync::RemoteTask> change
        = remoteChange<Sync::RemoteTask>(entry, parseICalendarTodo);
    // As an event's: the whole item, for its next push to hand back what other clients wrote.
    if (change && !change->deleted)
        change->row.raw_icalendar = text(entry, QLatin1String("raw_icalendar"));
    return change;
}

void CloudSyncProvider::listCalendars(Sync::Reply<QList<Calendar>> done)
{
    using Listing = Outcome<QList<Calendar>>;
    if (m_only) {
        done(Listing::success({*m_only}));
        return;
    }
    const QList<Calendar> known = context().calendars();
    if (!m_api || !m_signedIn) {
        const bool hasCloudCalendars
            = std::any_of(known.cbegin(), known.cend(), [&](const Calendar &c) {
                  return c.account_id == m_account.id && c.url.startsWith(cloudScheme);
              });
        if (m_api && hasCloudCalendars)
            done(Listing::failure(ErrorKind::Auth,
                                  tr("Sign in to the cloud account to sync its calendars")));
        else
            done(Listing::success({})); // nothing of this account lives in the cloud here
        return;
    }
    const QPointer<CloudSyncProvider> self(this);
    m_api->get(
        QStringLiteral("/calendars"), [self, done](bool ok, int status, const QJsonObject &body) {
            if (!self)
                return;
            if (!ok) {
                done(Listing::failure(
                    kindFor(status),
                    failureText(tr("Larkspindle calendar list failed (HTTP %1)"), status, body)));
                return;
            }
            const QList<Calendar> known = self->context().calendars();
            QList<Calendar> listed;
            for (const QJsonValue &value : body.value(QLatin1String("calendars")).toArray()) {
                const QJsonObject entry = value.toObject();
                const QString serverId = text(entry, QLatin1String("id"));
                if (serverId.isEmpty())
                    continue;
                Calendar calendar;
                calendar.url = cloudCalendarUrl(serverId);
                calendar.canonical_key
                    = calendarIdentityKey(QStringLiteral("larkspindle"), calendar.url)
                          .value_or(QString());
                calendar.name = text(entry, QLatin1String("name"), serverId);
                calendar.description = text(entry, QLatin1String("description"));
                calendar.color = text(entry, QLatin1String("color"), QStringLiteral("#4285F4"));
                calendar.timezone = text(entry, QLatin1String("timezone"), QStringLiteral("UTC"));
                // Known here as something this run does not sync (the on-device Personal calendar
                // stands for the service's "personal"; another account's row): left alone.
                const bool keptElsewhere
                    = std::any_of(known.cbegin(), known.cend(), [&](const Calendar &c) {
                          const bool same = self->sameCalendar(c, calendar);
                          return same
                              && (c.account_id != self->m_account.id
                                  || !c.url.startsWith(cloudScheme));
                      });
                if (!keptElsewhere)
                    listed.append(calendar);
            }
            done(Listing::success(listed));
        });
}

bool CloudSyncProvider::sameCalendar(const Calendar &local, const Calendar &listed) const
{
    return Sync::SyncProvider::sameCalendar(local, listed)
        || (local.id == personalCalendarId
            && listed.url == cloudCalendarUrl(QStringLiteral("personal")));
}

void CloudSyncProvider::fetchChanges(const Calendar &calendar, const Sync::FetchRequest &request,
                                     Sync::Reply<Sync::ChangePage> done)
{
    using Page = Outcome<Sync::ChangePage>;
    if (!m_api || !m_signedIn) {
        done(Page::failure(ErrorKind::Auth,
                           tr("Sign in to the cloud account to sync its calendars")));
        return;
    }
    const QString serverId = SyncClient::serverIdFromUrl(calendar.url);
    QUrlQuery query;
    if (!request.token.isEmpty())
        query.addQueryItem(QStringLiteral("since"), request.token);
    const QPointer<CloudSyncProvider> self(this);
    m_api->get(
        cloudEventsPath(serverId),
        [self, done, calendar, since = request.token](bool ok, int status,
                                                      const QJsonObject &body) {
            if (!self)
                return;
            if (!ok) {
                done(Page::failure(
                    kindFor(status),
                    failureText(tr("Larkspindle pull failed (HTTP %1)"), status, body)));
                return;
            }
            Sync::ChangePage page;
            for (const QJsonValue &value : body.value(QLatin1String("events")).toArray()) {
                if (const auto change = remoteEvent(value.toObject())) {
                    page.events.append(*change);
                } else {
                    qWarning().noquote()
                        << "[Sync] skipped an unusable cloud event entry of" << calendar.id;
                }
            }
            // The cursor of the events' answer: tasks changed after it come again next time.
            page.token = text(body, QLatin1String("timestamp"));
            self->fetchTasks(calendar, since, page, done);
        },
        query);
}

void CloudSyncProvider::fetchTasks(const Calendar &calendar, const QString &since,
                                   Sync::ChangePage page, Sync::Reply<Sync::ChangePage> done)
{
    using Page = Outcome<Sync::ChangePage>;
    QUrlQuery query;
    if (!since.isEmpty())
        query.addQueryItem(QStringLiteral("since"), since);
    const QPointer<CloudSyncProvider> self(this);
    m_api->get(
        cloudTasksPath(SyncClient::serverIdFromUrl(calendar.url)),
        [self, done, page](bool ok, int status, const QJsonObject &body) mutable {
            if (!self)
                return;
            // The calendar's events were just listed, so a 404 here means a service that keeps
            // no tasks: nothing to take in, and no failed run.
            if (!ok && status == 404) {
                done(Page::success(page));
                return;
            }
            if (!ok) {
                done(Page::failure(
                    kindFor(status),
                    failureText(tr("Larkspindle pull failed (HTTP %1)"), status, body)));
                return;
            }
            for (const QJsonValue &value : body.value(QLatin1String("tasks")).toArray()) {
                if (const auto change = remoteTask(value.toObject()))
                    page.tasks.append(*change);
            }
            done(Page::success(page));
        },
        query);
}

void CloudSyncProvider::pushEvent(const Calendar &calendar, ChangeKind kind, const Event &event,
                                  Sync::Reply<Sync::PushReceipt> done)
{
    const QString remoteId = kind == ChangeKind::Create ? event.id : event.provider_event_id;
    const QString serverId = SyncClient::serverIdFromUrl(calendar.url);
    const QJsonObject object = cloudEventObject(event, remoteId);
    // A moved series' cancelled dates went in their new form: the row takes them too.
    Event sent = event;
    sent.raw_icalendar = text(object, QLatin1String("raw_icalendar"));
    const std::optional<Event> held = cloudHeldEvent(sent);
    push(serverId, cloudEventsPath(serverId), kind, remoteId, object, event.etag,
         Sync::withCancelledDates(std::move(done), event,
                                  held ? held->exception_dates : event.exception_dates));
}

void CloudSyncProvider::pushTask(const Calendar &calendar, ChangeKind kind, const Task &task,
                                 Sync::Reply<Sync::PushReceipt> done)
{
    const QString remoteId = kind == ChangeKind::Create ? task.id : task.href;
    const QString serverId = SyncClient::serverIdFromUrl(calendar.url);
    push(serverId, cloudTasksPath(serverId), kind, remoteId, cloudTaskObject(task, remoteId),
         task.etag, std::move(done));
}

void CloudSyncProvider::push(const QString &serverId, const QString &collectionPath,
                             ChangeKind kind, const QString &remoteId, QJsonObject object,
                             const QString &etag, Sync::Reply<Sync::PushReceipt> done)
{
    using Receipt = Outcome<Sync::PushReceipt>;
    if (!m_api || !m_signedIn) {
        done(Receipt::failure(ErrorKind::Auth,
                              tr("Sign in to the cloud account to sync its calendars")));
        return;
    }
    const QString itemPath
        = collectionPath + QLatin1Char('/') + LarkAccount::ApiClient::pathSegment(remoteId);
    const QPointer<CloudSyncProvider> self(this);
    // The text sent is what the service holds from now on: the version both sides agree on.
    auto answer = [self, done, kind, remoteId, serverId,
                   sent = text(object, QLatin1String("raw_icalendar"))](bool ok, int status,
                                                                        const QJsonObject &body) {
        if (!self)
            return;
        if (ok) {
            Sync::PushReceipt receipt;
            receipt.remoteId = text(body, QLatin1String("id"), remoteId);
            receipt.etag = text(body, QLatin1String("etag"));
            if (kind != ChangeKind::Delete)
                receipt.text = sent;
            done(Receipt::success(receipt));
        } else if (kind == ChangeKind::Delete && status == 404) {
            self->confirmGone(serverId, done);
        } else {
            done(Receipt::failure(
                kindFor(status),
                failureText(tr("Larkspindle push failed (HTTP %1)"), status, body)));
        }
    };
    switch (kind) {
    case ChangeKind::Create:
        m_api->post(collectionPath, object, answer);
        break;
    case ChangeKind::Update:
        if (!etag.isEmpty())
            object.insert(QStringLiteral("etag"), etag);
        m_api->put(itemPath, object, answer);
        break;
    case ChangeKind::Delete:
        // Only the version this device knew: a newer edit made elsewhere is not deleted unseen.
        m_api->deleteResource(itemPath, answer, etag);
        break;
    }
}

void CloudSyncProvider::confirmGone(const QString &serverId, Sync::Reply<Sync::PushReceipt> done)
{
    using Receipt = Outcome<Sync::PushReceipt>;
    // The service answers 404 for an unknown calendar too; only a listed calendar makes the
    // item's 404 mean that the item is gone.
    const QPointer<CloudSyncProvider> self(this);
    m_api->get(QStringLiteral("/calendars"),
               [self, done, serverId](bool ok, int status, const QJsonObject &body) {
                   if (!self)
                       return;
                   bool listed = false;
                   for (const QJsonValue &value : body.value(QLatin1String("calendars")).toArray())
                       listed = listed || text(value.toObject(), QLatin1String("id")) == serverId;
                   if (!ok) {
                       // The check went wrong, not the deletion: its own answer says why.
                       done(Receipt::failure(
                           kindFor(status),
                           failureText(tr("Larkspindle calendar list failed (HTTP %1)"), status,
                                       body)));
                       return;
                   }
                   done(Receipt::failure(listed ? ErrorKind::NotFound : ErrorKind::Server,
                                         tr("Larkspindle push failed (HTTP %1)").arg(404)));
               });
}

Event CloudSyncProvider::mergeRemote(const Event &local, const Event &remote) const
{
    Event merged = remote;
    if (merged.reminders.isEmpty())
        merged.reminders = local.reminders;
    if (merged.attendees.isEmpty())
        merged.attendees = local.attendees;
    return merged;
}

std::optional<Event> CloudSyncProvider::agreedVersion(const Event &row) const
{
    return cloudHeldEvent(row);
}

QString CloudSyncProvider::pushFailureReason(int failedRows, const Sync::Error &) const
{
    return tr("Larkspindle push: %Ln event(s) failed", nullptr, failedRows);
}

} // namespace Larkspindle
