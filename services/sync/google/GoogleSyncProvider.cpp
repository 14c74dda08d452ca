#include "services/sync/google/GoogleSyncProvider.h"

#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "model/Recurrence.h"
#include "services/sync/google/AuthService.h"
#include "services/sync/google/CalendarClient.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"

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

GoogleSyncProvider::GoogleSyncProvider(AppState *state, const Account &account, QObject *parent)
    : Sync::SyncProvider(parent)
    , m_state(state)
    , m_account(account)
    , m_network(new QNetworkAccessManager(this))
{ }

CalendarClient *GoogleSyncProvider::newClient()
{
    auto *client = new CalendarClient(m_network, this);
    client->accessToken = m_accessToken;
    return client;
}

void GoogleSyncProvider::prepare(Sync::Reply<> done)
{
    const StoredTokens tokens = AuthService::loadTokens(m_account.id);
    m_accessToken = tokens.accessToken;
    m_refreshToken = tokens.refreshToken;
    if (m_refreshToken.isEmpty()) {
        done(Sync::Outcome<>::failure(Sync::ErrorKind::Auth,
                                      tr("No saved Google credentials. Sign in again.")));
        return;
    }
    const QDateTime now = m_state->database()->currentDateTimeUtc();
    if (m_accessToken.isEmpty() || !tokens.expiresAt.isValid()
        || tokens.expiresAt < now.addSecs(refreshMarginSecs)) {
        refresh(std::move(done));
        return;
    }
    done(Sync::Outcome<>::success());
}

void GoogleSyncProvider::refresh(Sync::Reply<> done)
{
    auto *auth = new AuthService(this);
    Database *database = m_state->database();
    auth->setClock([database] { return database->currentDateTimeUtc(); });
    connect(auth, &AuthService::refreshSucceeded, this,
            [this, auth, done](const QString &accessToken, const QDateTime &expiresAt,
                               const QString &rotatedRefreshToken) {
                auth->deleteLater();
                m_accessToken = accessToken;
                if (!rotatedRefreshToken.isEmpty())
                    m_refreshToken = rotatedRefreshToken;
                // The run goes on with the new token; the next one refreshes again.
                if (!AuthService::saveRefreshedTokens(m_account.id, accessToken, expiresAt,
                                                      rotatedRefreshToken))
                    qWarning().noquote()
                        << "[Google] refreshed tokens of" << m_account.id << "could not be stored";
                done(Sync::Outcome<>::success());
            });
    connect(auth, &AuthService::refreshFailed, this, [auth, done](const QString &reason) {
        auth->deleteLater();
        done(Sync::Outcome<>::failure(Sync::ErrorKind::Auth,
                                      tr("Google token refresh failed: %1").arg(reason)));
    });
    auth->refreshAccessToken(m_refreshToken);
}

template<typename T>
void GoogleSyncProvider::failed(const CalendarClient *client, int status, const QString &reason,
                                const Sync::Reply<T> &done, const std::function<void()> &again)
{
    if (client->rateLimited()) {
        // The whole account waits: every further request would be refused alike.
        Sync::Error error {Sync::ErrorKind::RateLimited, reason, QDateTime()};
        error.retryAfter = client->retryAfter().from(m_state->database()->currentDateTimeUtc());
        error.reason = Net::withNextTry(reason, error.retryAfter);
        done(Sync::Outcome<T>::failure(error));
        return;
    }
    if (status == 401 && !m_refreshedAfterRefusal) {
        m_refreshedAfterRefusal = true;
        qInfo().noquote() << "[Google] access token refused: refreshing once";
        refresh([done, again](const Sync::Outcome<> &refreshed) {
            if (refreshed.ok())
                again();
            else
                done(Sync::Outcome<T>::failure(refreshed.error()));
        });
        return;
    }
    done(Sync::Outcome<T>::failure(errorKind(status), reason));
}

Sync::ErrorKind GoogleSyncProvider::errorKind(int httpStatus)
{
    switch (httpStatus) {
    case 0:
        return Sync::ErrorKind::Network;
    case 401:
        return Sync::ErrorKind::Auth;
    case 404:
        return Sync::ErrorKind::NotFound;
    case 410:
        return Sync::ErrorKind::Gone;
    case 412:
        return Sync::ErrorKind::Conflict;
    case 429:
        return Sync::ErrorKind::RateLimited;
    default:
        return httpStatus >= 200 && httpStatus <= 299 ? Sync::ErrorKind::Malformed
                                                      : Sync::ErrorKind::Server;
    }
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
            [client, done](const QString &, const QList<QJsonObject> &items,
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
    } else if (kind == Sync::ChangeKind::Update) {
        const QJsonObject stored = storedResource(event);
        body = stored.isEmpty() ? CalendarClient::eventToJson(event)
                                : CalendarClient::eventToJson(event, stored);
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

// A changed occurrence is written as the instance Google keeps for that slot of the series: its
// id is the series' id and the original start in basic form, and it names both. Empty when the
// series has not reached Google yet.
std::optional<std::pair<QString, QJsonObject>>
GoogleSyncProvider::instanceWrite(const Calendar &calendar, const Event &event) const
{
    const std::optional<Event> master
        = m_state->events()->byUidAndRecurrenceId(event.master_event_uid, calendar.id, QString());
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
    return tr("%n change(s) could not be sent to Google and will be sent again at the next sync: "
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
