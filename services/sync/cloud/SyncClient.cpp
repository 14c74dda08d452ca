#include "services/sync/cloud/SyncClient.h"

#include "core/AppState.h"
#include "core/LocalCalendar.h"
#include "core/sync/CalendarIdentity.h"
#include "core/sync/SyncEngine.h"
#include "model/Clock.h"
#include "model/Identifiers.h"
#include "services/account/ApiClient.h"
#include "services/sync/cloud/CloudSyncProvider.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"

#include <QJsonArray>
#include <QPointer>
#include <QRegularExpression>
#include <QUrl>

namespace Larkspindle {

namespace {

QString stringOr(const QJsonObject &object, QLatin1String key, const QString &fallback)
{
    const QJsonValue value = object.value(key);
    return value.isString() ? value.toString() : fallback;
}

} // namespace

SyncClient::SyncClient(AppState *appState, LarkAccount::ApiClient *api, QObject *parent)
    : Sync::CalendarSyncClient(appState, parent)
    , m_appState(appState)
    , m_api(api)
{ }

QString SyncClient::serverIdFromUrl(const QString &url)
{
    const int marker = url.indexOf(QLatin1String("://"));
    if (marker < 0)
        return url;
    // The host as written: server ids are case-sensitive, and a URL parser lower-cases hosts.
    const QString rest = url.mid(marker + 3);
    QString authority = rest.left(rest.indexOf(QRegularExpression(QStringLiteral("[/?#]"))));
    authority = authority.mid(authority.lastIndexOf(QLatin1Char('@')) + 1);
    const int port = authority.lastIndexOf(QLatin1Char(':'));
    if (port >= 0)
        authority.truncate(port);
    if (!authority.isEmpty())
        return QUrl::fromPercentEncoding(authority.toUtf8());
    return rest;
}

void SyncClient::pullCalendarList()
{
    if (!m_api) {
        emit calendarListPulled(0);
        return;
    }
    const QPointer<SyncClient> self(this);
    m_api->get(QStringLiteral("/calendars"), [self](bool ok, int, const QJsonObject &body) {
        if (!self)
            return;
        emit self->calendarListPulled(ok ? self->insertNewCalendars(body) : 0);
    });
}

AccountSyncRun *SyncClient::newRun(const Account &account, const Calendar &calendar)
{
    auto *provider = new CloudSyncProvider(account, m_api, m_api != nullptr);
    provider->restrictTo(calendar);
    return new Sync::SyncEngine(Sync::SyncStore::of(*m_appState), account, provider, this);
}

int SyncClient::insertNewCalendars(const QJsonObject &body)
{
    AccountRepository *accounts = m_appState ? m_appState->accounts() : nullptr;
    CalendarRepository *calendars = m_appState ? m_appState->calendars() : nullptr;
    if (!accounts || !calendars)
        return 0;

    auto findCloudAccount = [accounts] {
        for (const Account &account : accounts->listActive()) {
            if (account.type == QLatin1String("larkspindle"))
                return account.id;
        }
        return QString();
    };
    // A calendar row needs its account row first. Signed in at start on a fresh store, the
    // list can arrive before the on-device account was made.
    if (!LocalCalendar::ensureCloudCalendarHome(accounts,
                                                m_appState->database()->currentDateTimeUtc()))
        return 0;
    const QString cloudAccountId = findCloudAccount();

    int inserted = 0;
    const QJsonArray entries = body.value(QLatin1String("calendars")).toArray();
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        const QString serverId = entry.value(QLatin1String("id")).toString();
        if (serverId.isEmpty())
            continue;
        const QString url = QStringLiteral("larkspindle://") + serverId;
        const QString key
            = calendarIdentityKey(QStringLiteral("larkspindle"), url).value_or(QString());

        // Read anew for every entry so that a server id listed twice matches the row just added.
        bool known = false;
        for (const Calendar &calendar : calendars->listAll()) {
            if (calendar.url == url || (!key.isEmpty() && calendar.canonical_key == key)
                || (calendar.id == kPersonalCalendarId && serverId == QLatin1String("personal"))) {
                known = true;
                break;
            }
        }
        if (known)
            continue;

        const QDateTime now = Clock::nowUtc();
        Calendar calendar;
        calendar.id = newId();
        calendar.account_id = cloudAccountId;
        calendar.url = url;
        calendar.name = stringOr(entry, QLatin1String("name"), serverId);
        calendar.description = stringOr(entry, QLatin1String("description"), QString());
        calendar.color = stringOr(entry, QLatin1String("color"), QStringLiteral("#4285F4"));
        calendar.timezone = stringOr(entry, QLatin1String("timezone"), QStringLiteral("UTC"));
        calendar.is_visible = true;
        calendar.is_read_only = false;
        calendar.is_default = false;
        calendar.supported_components = QStringLiteral("[\"VEVENT\"]");
        calendar.sort_order = 0;
        calendar.canonical_key = key;
        calendar.sync_enabled = true;
        calendar.created_at = now;
        calendar.updated_at = now;
        if (calendars->insert(calendar))
            ++inserted;
    }
    return inserted;
}

} // namespace Larkspindle
