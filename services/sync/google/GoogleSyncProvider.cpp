#include "services/sync/google/GoogleSyncProvider.h"

#include "core/sync/CalendarIdentity.h"
#include "model/Recurrence.h"
#include "services/net/SyncError.h"
#include "services/oauth/ProviderSession.h"
#include "services/sync/google/AuthService.h"
#include "services/sync/google/CalendarClient.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QtDebug>

namespace Google {

namespace {

// The resource a row was last read as, when it came from Google.
QJsonObject storedResource(const Event &event)
{
    if (!event.raw_icalendar.startsWith(QLatin1Char('{')))
        return {};
    return QJsonDocument::fromJson(event.raw_icalendar.toUtf8()).object();
}

} // namespace

GoogleSyncProvider::GoogleSyncProvider(const Account &account, QObject *parent)
    : Sync::SyncProvider(parent)
    , m_account(account)
    , m_session(OAuth::newProviderSession<AuthService>(account.id, refreshMarginSecs, this))
    , m_network(new QNetworkAccessManager(this))
{ }

CalendarClient *GoogleSyncProvider::newClient()
{
    auto *client = new CalendarClient(m_network, this);
    connect(client, &CalendarClient::answered, this, &Sync::SyncProvider::heard);
    client->accessToken = m_session->tokens().access;
    if (std::exchange(m_resending, false))
        m_resentClient = client;
    return client;
}

void GoogleSyncProvider::prepare(Sync::Reply<> done)
{
    const StoredTokens tokens = AuthService::loadTokens(m_account.id);
    if (tokens.refreshToken.isEmpty()) {
        done(Sync::Outcome<>::failure(Sync::ErrorKind::Auth,
                                      tr("No saved Google credentials. Sign in again.")));
        return;
    }
    m_session->setTokens({tokens.accessToken, tokens.refreshToken, tokens.expiresAt});
    m_session->ensureFresh(context().now(), [this, done](OAuth::Renewal renewal) {
        done(renewal == OAuth::Renewal::Renewed ? Sync::Outcome<>::success()
                                                : Sync::Outcome<>::failure(renewalFailure()));
    });
}

Sync::Error GoogleSyncProvider::renewalFailure() const
{
    return {Sync::ErrorKind::Auth,
            tr("Google token refresh failed: %1").arg(m_session->failureReason()), QDateTime()};
}

template<typename T>
void GoogleSyncProvider::failed(const CalendarClient *client, int status, const QString &reason,
                                const Sync::Reply<T> &done, const std::function<void()> &again)
{
    if (status == 401 && client != m_resentClient.data()) {
        qInfo().noquote() << "[Google] access token refused: renewing it once";
        m_session->refused(client->accessToken, [this, done, again](OAuth::Renewal renewal) {
            if (renewal != OAuth::Renewal::Renewed) {
                done(Sync::Outcome<T>::failure(renewalFailure()));
                return;
            }
            m_resending = true;
            again();
        });
        return;
    }
    // A 403 that says the quota ran out is a rate limit too: the whole account waits, since
    // every further request would be refused alike.
    const std::optional<Sync::ErrorKind> own
        = client->rateLimited() ? std::optional(Sync::ErrorKind::RateLimited) : std::nullopt;
    done(Sync::Outcome<T>::failure(
        Net::syncError(status, reason, own, client->retryAfter(), context().now())));
}

Calendar GoogleSyncProvider::calendarRow(const QString &id, const QString &summary,
                                         const QString &description, const QString &color,
                                         const QString &accessRole)
{
    Calendar c;
    c.url = id;
    c.name = summary.isEmpty() ? id : summary;
    c.description = description;
    if (!color.isEmpty())
        c.color = color;
    c.is_read_only = accessRole != QLatin1String("owner") && accessRole != QLatin1String("writer");
    c.canonical_key = calendarIdentityKey(QStringLiteral("google"), id).value_or(QString());
    return c;
}

void GoogleSyncProvider::listCalendars(Sync::Reply<QList<Calendar>> done)
{
    CalendarClient *client = newClient();
    connect(client, &CalendarClient::calendarsListed, this,
            [client, done](const QList<DiscoveredCalendar> &found) {
                client->deleteLater();
                QList<Calendar> rows;
                for (const DiscoveredCalendar &d : found) {
                    if (!d.id.isEmpty())
                        rows.append(calendarRow(d.id, d.summary, d.description, d.backgroundColor,
                                                d.accessRole));
                }
                done(Sync::Outcome<QList<Calendar>>::success(rows));
            });
    connect(client, &CalendarClient::requestFailed, this,
            [this, client, done](const QString &reason, int status) {
                client->deleteLater();
                failed(client, status, reason, done, [this, done] { listCalendars(done); });
            });
    client->listCalendars();
}

Sync::ChangePage GoogleSyncProvider::changePage(const QList<QJsonObject> &items,
                                                const QString &nextPageToken,
                                                const QString &nextSyncToken)
{
    Sync::ChangePage page;
    page.nextPageToken = nextPageToken;
    // Only the last page carries a token; the ones before it cannot be resumed
    // from.
    page.token = nextPageToken.isEmpty() ? nextSyncToken : QString();
    page.events.reserve(items.size());
    for (const QJsonObject &item : items) {
        Sync::RemoteEvent change;
        change.remoteId = item.value(QLatin1String("id")).toString();
        if (change.remoteId.isEmpty())
            continue;
        change.etag = item.value(QLatin1String("etag")).toString();
        const bool cancelled
            = item.value(QLatin1String("status")).toString() == QLatin1String("cancelled");
        const bool instance = !item.value(QLatin1String("recurringEventId")).toString().isEmpty();
        // Which of our rows it may have been made from: creates carry the row's uid.
        const QString iCalUid = item.value(QLatin1String("iCalUID")).toString();
        if (!instance && !iCalUid.endsWith(QLatin1String("@google.com")))
            change.createdFromUid = iCalUid;
        if (cancelled && !instance) {
            change.deleted = true;
            change.row.uid = change.remoteId;
        } else {
            // A cancelled instance stays as an override that takes its occurrence
            // away.
            change.row = CalendarClient::eventFromJson(item, QString());
            if (!change.row.start_time.isValid())
                change.unreadable = tr("Google sent an event without a start; the changes of "
                                       "this calendar were not saved.");
        }
        page.events.append(change);
    }
    return page;
}

void GoogleSyncProvider::fetchChanges(const Calendar &calendar, const Sync::FetchRequest &request,
                                      Sync::Reply<Sync::ChangePage> done)
{
    CalendarClient *client = newClient();
    connect(client, &CalendarClient::eventsPageListed, this,
            [this, client, done](const QString &, const QList<QJsonObject> &items,
                                 const QString &nextPageToken, const QString &nextSyncToken) {
                client->deleteLater();
                done(Sync::Outcome<Sync::ChangePage>::success(
                    changePage(items, nextPageToken, nextSyncToken)));
            });
    connect(client, &CalendarClient::syncTokenExpired, this, [client, done](const QString &) {
        client->deleteLater();
        done(Sync::Outcome<Sync::ChangePage>::failure(
            Sync::ErrorKind::Gone, tr("Google no longer accepts the calendar's sync token.")));
    });
    connect(client, &CalendarClient::requestFailed, this,
            [this, client, calendar, request, done](const QString &reason, int status) {
                client->deleteLater();
                failed(client, status, reason, done,
                       [this, calendar, request, done] { fetchChanges(calendar, request, done); });
            });
    client->listEventsPage(calendar.url, request.token, request.pageToken);
}

void GoogleSyncProvider::pushEvent(const Calendar &calendar, Sync::ChangeKind kind,
                                   const Event &event, Sync::Reply<Sync::PushReceipt> done)
{
    std::optional<std::pair<QString, QJsonObject>> instance;
    if (kind == Sync::ChangeKind::Create && !event.master_event_uid.isEmpty()) {
        instance = instanceWrite(calendar, event);
        if (!instance) {
            const QString reason = tr("The series of \"%1\" is not in the Google calendar yet; "
                                      "the changed occurrence is sent at a later sync.")
                                       .arg(event.title);
            QMetaObject::invokeMethod(
                this,
                [done, reason] {
                    done(
                        Sync::Outcome<Sync::PushReceipt>::failure(Sync::ErrorKind::Server, reason));
                },
                Qt::QueuedConnection);
            return;
        }
    }
    QJsonObject body;
    if (instance) {
        body = instance->second;
    } else if (kind == Sync::ChangeKind::Create) {
        body = CalendarClient::eventToJson(event);
        // Google keeps one event per iCalendar UID in a calendar: a create sent twice (its
        // answer lost) is refused the second time, and a later listing names the row it came from.
        if (!event.uid.isEmpty())
            body.insert(QStringLiteral("iCalUID"), event.uid);
    } else if (kind == Sync::ChangeKind::Update) {
        const QJsonObject stored = storedResource(event);
        body = stored.isEmpty() ? CalendarClient::eventToJson(event)
                                : CalendarClient::eventToJson(event, stored);
        // A moved series' cancelled dates went in their new form: the row takes them too.
        if (!event.recurrence_rule.isEmpty())
            done = Sync::withCancelledDates(
                std::move(done), event,
                CalendarClient::eventFromJson(body, calendar.id).exception_dates);
    }
    CalendarClient *client = newClient();
    connect(
        client, &CalendarClient::eventWritten, this,
        [client, done, body](const QString &, const QString &providerEventId, const QString &etag) {
            client->deleteLater();
            // What Google now holds: the resource sent, under its id and new tag.
            QJsonObject written = body;
            written.insert(QStringLiteral("id"), providerEventId);
            written.insert(QStringLiteral("etag"), etag);
            const QString text
                = QString::fromUtf8(QJsonDocument(written).toJson(QJsonDocument::Compact));
            done(Sync::Outcome<Sync::PushReceipt>::success(
                {providerEventId, etag, QString(), text}));
        });
    connect(client, &CalendarClient::eventDeleted, this, [client, done](const QString &) {
        client->deleteLater();
        done(Sync::Outcome<Sync::PushReceipt>::success());
    });
    connect(client, &CalendarClient::eventWriteFailed, this,
            [this, client, calendar, kind, event, done](const QString &, const QString &reason,
                                                        int status) {
                client->deleteLater();
                if (status == 409 && kind == Sync::ChangeKind::Create
                    && event.master_event_uid.isEmpty()) {
                    adoptExisting(calendar, event, reason, done);
                    return;
                }
                failed(client, status, reason, done, [this, calendar, kind, event, done] {
                    pushEvent(calendar, kind, event, done);
                });
            });

    switch (kind) {
    case Sync::ChangeKind::Create:
        if (instance) {
            client->updateEvent(event.id, calendar.url, instance->first, body, QString());
            break;
        }
        client->insertEvent(event.id, calendar.url, body);
        break;
    case Sync::ChangeKind::Update:
        client->updateEvent(event.id, calendar.url, event.provider_event_id, body, event.etag);
        break;
    case Sync::ChangeKind::Delete:
        client->deleteEvent(event.id, calendar.url, event.provider_event_id, event.etag);
        break;
    }
}

// The calendar already holds an event under the row's UID: a create of ours whose answer was
// lost, or an event deleted at Google that keeps its UID there (the row was made here again).
// The row takes it over and writes its own version over it, which brings a deleted one back.
void GoogleSyncProvider::adoptExisting(const Calendar &calendar, const Event &event,
                                       const QString &refusal, Sync::Reply<Sync::PushReceipt> done)
{
    CalendarClient *client = newClient();
    connect(
        client, &CalendarClient::eventsPageListed, this,
        [this, client, calendar, event, refusal,
         done](const QString &, const QList<QJsonObject> &items, const QString &, const QString &) {
            client->deleteLater();
            const auto cancelled = [](const QJsonObject &item) {
                return item.value(QLatin1String("status")).toString() == QLatin1String("cancelled");
            };
            std::optional<QJsonObject> found;
            for (const QJsonObject &item : items) {
                // A live event before a deleted one.
                if (item.value(QLatin1String("recurringEventId")).toString().isEmpty()
                    && (!found || cancelled(*found)))
                    found = item;
            }
            if (!found) {
                done(Sync::Outcome<Sync::PushReceipt>::failure(Sync::ErrorKind::Server, refusal));
                return;
            }
            Event adopted = event;
            adopted.provider_event_id = found->value(QLatin1String("id")).toString();
            adopted.etag = found->value(QLatin1String("etag")).toString();
            adopted.raw_icalendar
                = QString::fromUtf8(QJsonDocument(*found).toJson(QJsonDocument::Compact));
            // The row is shown here: at Google it must not stay deleted.
            if (cancelled(*found) && adopted.status != QLatin1String("tentative"))
                adopted.status = QStringLiteral("confirmed");
            pushEvent(calendar, Sync::ChangeKind::Update, adopted, done);
        });
    connect(client, &CalendarClient::requestFailed, this,
            [this, client, calendar, event, refusal, done](const QString &reason, int status) {
                client->deleteLater();
                failed(client, status, reason, done, [this, calendar, event, refusal, done] {
                    adoptExisting(calendar, event, refusal, done);
                });
            });
    client->findByICalUid(calendar.url, event.uid);
}

// A changed occurrence is written as the instance Google keeps for that slot of the series: its
// id is the series' id and the original start in basic form, and it names both. Empty when the
// series has not reached Google yet.
std::optional<std::pair<QString, QJsonObject>>
GoogleSyncProvider::instanceWrite(const Calendar &calendar, const Event &event) const
{
    const std::optional<Event> master
        = context().eventByUid(event.master_event_uid, calendar.id, QString());
    const QDateTime slot = dateEntryInstant(event.recurrence_id);
    if (!master || master->provider_event_id.isEmpty() || !slot.isValid())
        return std::nullopt;
    const QString original = master->is_all_day
        ? slot.toUTC().toString(QStringLiteral("yyyyMMdd"))
        : slot.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QJsonObject body = CalendarClient::eventToJson(event);
    body.insert(QStringLiteral("recurringEventId"), master->provider_event_id);
    body.insert(QStringLiteral("originalStartTime"),
                CalendarClient::writeEventTime(slot, master->is_all_day,
                                               CalendarClient::zoneNameOf(*master)));
    return std::make_pair(master->provider_event_id + QLatin1Char('_') + original, body);
}

QString GoogleSyncProvider::storedToken(const Calendar &calendar) const
{
    return calendar.sync_token;
}

void GoogleSyncProvider::setStoredToken(Calendar &calendar, const QString &token) const
{
    calendar.sync_token = token;
}

void GoogleSyncProvider::clearStoredTokens(Calendar &calendar) const
{
    calendar.sync_token.clear();
    calendar.delta_sync_token.clear();
}

Event GoogleSyncProvider::mergeRemote(const Event &local, const Event &remote) const
{
    Event merged = remote;
    merged.color = local.color;
    merged.related_to_uid = local.related_to_uid;
    merged.geo_location = local.geo_location;
    return merged;
}

std::optional<Event> GoogleSyncProvider::agreedVersion(const Event &row) const
{
    const QJsonObject stored = storedResource(row);
    if (stored.isEmpty())
        return std::nullopt;
    return CalendarClient::eventFromJson(stored, row.calendar_id);
}

QString GoogleSyncProvider::pushFailureReason(int failedRows, const Sync::Error &first) const
{
    return tr("%Ln change(s) could not be sent to Google and will be sent again at the next sync: "
              "%1",
              "", failedRows)
        .arg(first.reason);
}

QString GoogleSyncProvider::missingCalendarReason(const Calendar &calendar) const
{
    return tr("\"%1\" is no longer available at Google; its changes stay on this device.")
        .arg(calendar.name);
}

} // namespace Google
