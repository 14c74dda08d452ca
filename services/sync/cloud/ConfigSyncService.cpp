#include "services/sync/cloud/ConfigSyncService.h"

#include "core/AppState.h"
#include "core/CalendarRemoval.h"
#include "model/Clock.h"
#include "platform/DataPaths.h"
#include "platform/TokenStore.h"
#include "services/account/ApiClient.h"
#include "services/sync/caldav/CalDavClient.h"
#include "services/sync/cloud/ConfigRecords.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "storage/TaskRepository.h"
#include "storage/TemplateRepository.h"
#include "storage/ViewRepository.h"

#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QTimer>
#include <QUrlQuery>
#include <QtDebug>

#include <cmath>

Q_LOGGING_CATEGORY(lcConfigSync, "calendar.configsync", QtWarningMsg)

namespace Larkspindle {

namespace {

const QString kAllCalendars = QStringLiteral("all-calendars");

QHash<QString, int> countByType(const QJsonArray &changes)
{
    QHash<QString, int> counts;
    for (const QJsonValue &change : changes)
        ++counts[change.toObject().value(QStringLiteral("type")).toString()];
    return counts;
}

std::optional<Account> accountIn(const QList<Account> &accounts, const QString &id)
{
    for (const Account &a : accounts) {
        if (a.id == id)
            return a;
    }
    return std::nullopt;
}

bool isCalDavFamilyOrCloud(const QString &type)
{
    return type == QLatin1String("caldav") || type == QLatin1String("icloud")
        || type == QLatin1String("zoho") || type == QLatin1String("larkspindle");
}

} // namespace

ConfigSyncService::ConfigSyncService(AppState *appState, LarkAccount::ApiClient *api,
                                     QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_api(api)
    , m_autoSyncTimer(new QTimer(this))
    , m_mutationDebounceTimer(new QTimer(this))
    , m_applier(appState)
    , m_discovery(new ConfigDiscovery(appState, this))
{
    m_autoSyncTimer->setInterval(autoSyncIntervalMs);
    m_mutationDebounceTimer->setInterval(mutationDebounceMs);
    m_mutationDebounceTimer->setSingleShot(true);
    connect(m_autoSyncTimer, &QTimer::timeout, this, &ConfigSyncService::syncNow);
    connect(m_mutationDebounceTimer, &QTimer::timeout, this, &ConfigSyncService::syncNow);
}

ConfigSyncService::~ConfigSyncService() = default;

QDateTime ConfigSyncService::now() const
{
    return m_appState && m_appState->database() ? m_appState->database()->currentDateTimeUtc()
                                                : Clock::nowUtc();
}

bool ConfigSyncService::signedIn() const
{
    return !m_signedIn || m_signedIn();
}

void ConfigSyncService::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void ConfigSyncService::setProviderCalendarLister(ProviderCalendarLister lister)
{
    m_discovery->setProviderCalendarLister(std::move(lister));
}

void ConfigSyncService::setDiscoveryTimeout(int ms)
{
    m_discovery->setTimeout(ms);
}

void ConfigSyncService::noteFailure(State state, const QString &reason)
{
    if (m_failure != Idle)
        return;
    m_failure = state;
    m_failureReason = reason;
    setState(state);
}

void ConfigSyncService::endCycle()
{
    // Listeners of the last state change see the cycle ended.
    m_running = false;
    setState(m_failure);
    if (m_runAgain) {
        m_runAgain = false;
        QTimer::singleShot(0, this, &ConfigSyncService::syncNow);
    }
}

void ConfigSyncService::syncNow()
{
    if (m_running) {
        // The cycle running now may have read the store before the change that asks for this.
        qInfo() << "[ConfigSync] syncNow during a cycle — one more cycle follows it";
        m_runAgain = true;
        return;
    }
    if (!m_api) {
        qInfo() << "[ConfigSync] syncNow skipped — no api client";
        return;
    }
    if (!m_appState || !m_appState->database()) {
        qInfo() << "[ConfigSync] syncNow skipped — no store";
        return;
    }
    if (!signedIn()) {
        qInfo() << "[ConfigSync] syncNow skipped — signed out";
        return;
    }
    qInfo() << "[ConfigSync] syncNow → running";
    m_running = true;
    m_failure = Idle;
    m_failureReason.clear();
    setState(Syncing);
    // The cloud keeps, of two copies with the same time, the one pushed last: a device that
    // pushed first would put its copy back over the other device's at every cycle and neither
    // would ever take the other's. Pulling first, each device takes the copy the cloud holds
    // before it sends its own. A device that has not taken in the bucket yet (new, or its last
    // pull was not applied) does not push when the pull did not arrive: it would send its
    // defaults over the user's configuration.
    m_pushWithoutPull = !m_applyFailed && m_appState->preferences()->get(Prefs::ConfigSyncSince);
    runPull();
}

void ConfigSyncService::syncOnMutation()
{
    m_mutationDebounceTimer->start();
}

void ConfigSyncService::startAutoSync()
{
    if (!m_autoSyncTimer->isActive())
        m_autoSyncTimer->start();
}

void ConfigSyncService::stopAutoSync()
{
    m_autoSyncTimer->stop();
    m_mutationDebounceTimer->stop();
    m_runAgain = false;
}

ConfigApplier::Sections ConfigSyncService::sections() const
{
    return {syncAccountsEnabled(), syncFiltersEnabled(), syncViewsEnabled(), syncTemplatesEnabled(),
            syncSettingsEnabled()};
}

bool ConfigSyncService::syncAccountsEnabled() const
{
    return m_appState->preferences()->getBool(Prefs::ConfigSyncAccounts, Prefs::ConfigSyncDefault);
}

bool ConfigSyncService::syncFiltersEnabled() const
{
    return m_appState->preferences()->getBool(Prefs::ConfigSyncFilters, Prefs::ConfigSyncDefault);
}

bool ConfigSyncService::syncViewsEnabled() const
{
    return m_appState->preferences()->getBool(Prefs::ConfigSyncViews, Prefs::ConfigSyncDefault);
}

bool ConfigSyncService::syncTemplatesEnabled() const
{
    return m_appState->preferences()->getBool(Prefs::ConfigSyncTemplates, Prefs::ConfigSyncDefault);
}

bool ConfigSyncService::syncSettingsEnabled() const
{
    return m_appState->preferences()->getBool(Prefs::ConfigSyncSettings, Prefs::ConfigSyncDefault);
}

// --- push -----------------------------------------------------------------------------------

// CalDAV passwords go into the bucket because the user's other devices need them to reach the
// server, but never in clear text over the network.
bool ConfigSyncService::secretsMayTravel() const
{
    if (!m_api)
        return false;
    const QUrl base = m_api->baseUrl();
    if (base.scheme() == QLatin1String("https"))
        return true;
    const QString host = base.host();
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

ConfigSyncService::Bucket ConfigSyncService::buildBucket() const
{
    using namespace ConfigRecords;
    Bucket bucket;
    const QDateTime at = now();
    const QList<Calendar> calendars = m_appState->calendars()->listAll();
    const QList<Account> accounts = m_appState->accounts()->listAll();
    auto append = [&bucket](const char *type, const QJsonObject &record) {
        bucket.changes.append(QJsonObject {{QStringLiteral("type"), QString::fromLatin1(type)},
                                           {QStringLiteral("data"), record}});
    };

    if (syncFiltersEnabled()) {
        const QList<FilterRule> rules = m_appState->filterRules()->listAll();
        for (const FilterRule &rule : rules)
            append("filter_rules", filterRuleRecord(rule, calendars, at));
    }
    if (syncViewsEnabled()) {
        const QList<CalendarView> views = m_appState->views()->listAll();
        for (const CalendarView &view : views) {
            if (view.id != kAllCalendars)
                append("calendar_views", calendarViewRecord(view, calendars, at));
        }
    }
    if (syncTemplatesEnabled()) {
        const QList<EventTemplate> templates = m_appState->templates()->listAll();
        for (const EventTemplate &t : templates)
            append("event_templates", eventTemplateRecord(t, calendars, at));
    }
    if (syncAccountsEnabled()) {
        const std::unique_ptr<LarkAccount::TokenStore> secrets
            = secretsMayTravel() ? LarkAccount::createTokenStore(applicationIdentifier()) : nullptr;
        for (const Account &a : accounts) {
            if (!isCalDavFamilyOrCloud(a.type))
                continue;
            std::optional<QString> password;
            if (secrets && !a.exclude_from_sync && !a.deleted_at
                && a.type != QLatin1String("larkspindle"))
                password = secrets->get(caldavPasswordKey(a.id));
            append("caldav_accounts", calDavAccountRecord(a, password, at));
            if (a.deleted_at)
                bucket.accountTombstones << a.id;
        }
        for (const Account &a : accounts) {
            if (a.type != QLatin1String("google") && a.type != QLatin1String("microsoft"))
                continue;
            append("oauth_accounts", oauthAccountRecord(a, at));
            if (a.deleted_at)
                bucket.accountTombstones << a.id;
        }
        for (const Calendar &c : calendars) {
            const std::optional<Account> owner = accountIn(accounts, c.account_id);
            if (owner && owner->type == QLatin1String("webcal") && !owner->exclude_from_sync)
                append("caldav_accounts", webcalSubscriptionRecord(c, *owner, at));
        }
        for (const Calendar &c : calendars) {
            if (c.canonical_key.isEmpty())
                continue;
            const std::optional<Account> owner = accountIn(accounts, c.account_id);
            if (!owner || !owner->exclude_from_sync)
                append("calendar_preferences", calendarPreferenceRecord(c, owner, at));
        }
    }
    if (syncSettingsEnabled()) {
        const int day = m_appState->preferences()->getInt(Prefs::WeekStartDay, -1);
        if (day >= 1 && day <= 7)
            append("initial_settings",
                   initialSettingRecord(day, weekStartChosenAt(*m_appState->preferences())));
    }
    return bucket;
}

void ConfigSyncService::runPush()
{
    if (!signedIn()) {
        noteFailure(SignInRequired, tr("Sign in to the cloud account to sync the settings"));
        endCycle();
        return;
    }
    const Bucket bucket = buildBucket();
    if (bucket.changes.isEmpty()) {
        qCDebug(lcConfigSync) << "[ConfigSync] push: no local changes, skipping";
        endCycle();
        return;
    }
    qCDebug(lcConfigSync) << "[ConfigSync] push:" << bucket.changes.size() << "changes"
                          << countByType(bucket.changes);
    QPointer<ConfigSyncService> self(this);
    const QStringList ids = bucket.accountTombstones;
    m_api->post(QStringLiteral("/sync/push"),
                QJsonObject {{QStringLiteral("changes"), bucket.changes}},
                [self, ids](bool ok, int status, const QJsonObject &body) {
                    if (self)
                        self->handlePush(ok, status, body, ids);
                });
}

void ConfigSyncService::handlePush(bool ok, int status, const QJsonObject &body,
                                   const QStringList &pushedIds)
{
    if (ok) {
        qCDebug(lcConfigSync) << "[ConfigSync] push ok";
        reapAccountTombstones(pushedIds);
    } else {
        // Only the server's own error text: a body that echoed the request would carry secrets.
        qWarning().noquote() << "[ConfigSync] push FAILED status=" << status << "error="
                             << body.value(QStringLiteral("error")).toString().left(200);
        if (status == 401)
            noteFailure(SignInRequired, tr("Sign in to the cloud account to sync the settings"));
        else
            noteFailure(Failed,
                        LarkAccount::ApiClient::failureText(
                            tr("The settings could not be sent (HTTP %1)"), status, body));
    }
    endCycle();
}

// An account deleted here goes for good once the server has its tombstone, with its calendars
// and everything in them.
void ConfigSyncService::reapAccountTombstones(const QStringList &ids)
{
    QStringList done;
    for (const QString &id : ids) {
        if (id.isEmpty() || done.contains(id))
            continue;
        done << id;
        if (!CalendarRemoval::reapAccount(m_appState->store(), id))
            qWarning().noquote() << "[ConfigSync] deleted account" << id
                                 << "kept as a tombstone: its rows could not be removed";
    }
}

// --- pull -----------------------------------------------------------------------------------

void ConfigSyncService::runPull()
{
    if (!signedIn()) {
        noteFailure(SignInRequired, tr("Sign in to the cloud account to sync the settings"));
        endCycle();
        return;
    }
    const std::optional<QString> stored = m_appState->preferences()->get(Prefs::ConfigSyncSince);
    const QString cursor = stored ? *stored : QStringLiteral("0");
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("since"), cursor);
    qCDebug(lcConfigSync) << "[ConfigSync] pull since=" << cursor;
    QPointer<ConfigSyncService> self(this);
    m_api->get(
        QStringLiteral("/sync/pull"),
        [self](bool ok, int status, const QJsonObject &body) {
            if (self)
                self->handlePull(ok, status, body);
        },
        query);
}

void ConfigSyncService::handlePull(bool ok, int status, const QJsonObject &body)
{
    if (!ok) {
        qWarning() << "[ConfigSync] pull FAILED status=" << status;
        if (status == 401)
            noteFailure(SignInRequired, tr("Sign in to the cloud account to sync the settings"));
        else
            noteFailure(Failed,
                        LarkAccount::ApiClient::failureText(
                            tr("The settings could not be fetched (HTTP %1)"), status, body));
        if (m_pushWithoutPull)
            runPush();
        else
            endCycle();
        return;
    }
    const QJsonArray changes = body.value(QStringLiteral("changes")).toArray();
    if (lcConfigSync().isDebugEnabled())
        qCDebug(lcConfigSync) << "[ConfigSync] pull received" << changes.size() << "changes"
                              << countByType(changes)
                              << "ts=" << body.value(QStringLiteral("timestamp"));

    QStringList newAccounts;
    const bool accountsKept = m_applier.applyAccounts(changes, sections(), &newAccounts);
    if (!accountsKept || newAccounts.isEmpty()) {
        finishPull(changes, body, accountsKept, false);
        return;
    }
    runPostAccountDiscovery(newAccounts, changes, body);
}

void ConfigSyncService::runPostAccountDiscovery(const QStringList &accountIds,
                                                const QJsonArray &changes, const QJsonObject &reply)
{
    // The other records may name the calendars these accounts bring: they wait for them.
    QPointer<ConfigSyncService> self(this);
    m_discovery->run(accountIds, [self, changes, reply] {
        if (self)
            self->finishPull(changes, reply, true, true);
    });
}

bool ConfigSyncService::applyRemainingChanges(const QJsonArray &changes)
{
    return m_applier.applyRemaining(changes, sections());
}

void ConfigSyncService::finishPull(const QJsonArray &changes, const QJsonObject &reply,
                                   bool accountsKept, bool discovered)
{
    const bool kept = applyRemainingChanges(changes) && accountsKept && storeCursor(reply);
    if (discovered)
        emit m_appState->syncNowRequested();
    m_applyFailed = !kept;
    if (!kept)
        noteFailure(Failed, tr("Settings from your other devices could not be saved here"));
    runPush();
}

bool ConfigSyncService::storeCursor(const QJsonObject &reply)
{
    const QJsonValue timestamp = reply.value(QStringLiteral("timestamp"));
    QString value;
    if (timestamp.isDouble() && std::isfinite(timestamp.toDouble()))
        value = QString::number(static_cast<qint64>(std::trunc(timestamp.toDouble())));
    else if (timestamp.isString())
        value = timestamp.toString();
    if (value.isEmpty())
        return true;
    return m_appState->preferences()->set(Prefs::ConfigSyncSince, value);
}

} // namespace Larkspindle
