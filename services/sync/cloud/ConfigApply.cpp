// Writing pulled configuration records into the store. Every step runs inside one transaction
// of ConfigSyncService::applyInTransaction; a write that fails marks the run failed, and the
// whole stage is rolled back. A record that would change nothing writes nothing.

#include "services/sync/cloud/ConfigSyncService.h"

#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "model/Identifiers.h"
#include "model/JsonText.h"
#include "platform/DataPaths.h"
#include "platform/TokenStore.h"
#include "services/sync/caldav/CalDavClient.h"
#include "services/sync/cloud/ConfigRecords.h"
#include "services/sync/webcal/SyncClient.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "storage/TemplateRepository.h"
#include "storage/ViewRepository.h"

#include <QHash>
#include <QJsonDocument>
#include <QtDebug>

#include <cmath>

namespace Larkspindle {

using namespace ConfigRecords;

namespace {

QString compactText(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

qint64 updatedSecs(const QJsonObject &record)
{
    return static_cast<qint64>(
        std::floor(record.value(QStringLiteral("updated_at")).toDouble() / 1000.0));
}

// Whether an incoming copy of a group, rule or template replaces the local one: never when both
// say the same; otherwise the later update time wins (to the second, as the store keeps it), and
// equal times go to the greater content, so that every device keeps the same copy.
bool incomingWins(const QJsonObject &incoming, const QJsonObject &local)
{
    const QJsonObject theirs = contentOf(incoming);
    const QJsonObject ours = contentOf(local);
    if (theirs == ours)
        return false;
    const qint64 theirTime = updatedSecs(incoming);
    const qint64 ourTime = updatedSecs(local);
    if (theirTime != ourTime)
        return theirTime > ourTime;
    return compactText(theirs) > compactText(ours);
}

bool hasTombstone(const QList<Account> &accounts, const QString &id)
{
    return std::any_of(accounts.cbegin(), accounts.cend(),
                       [&](const Account &a) { return a.id == id && a.deleted_at; });
}

bool sameAccountFields(const Account &a, const Account &b)
{
    return a.name == b.name && a.server_url == b.server_url && a.username == b.username
        && a.calendar_home_set == b.calendar_home_set && a.principal_url == b.principal_url
        && a.sync_interval_minutes == b.sync_interval_minutes && a.color == b.color
        && a.exclude_from_sync == b.exclude_from_sync;
}

// A stored id, or the calendar's id when it is a kept key that now resolves.
QString resolved(const QString &stored, const QHash<QString, QString> &idByKey)
{
    return isCalendarIdentityKey(stored) ? idByKey.value(stored, stored) : stored;
}

QString resolvedList(const QString &json, const QHash<QString, QString> &idByKey)
{
    QStringList ids = jsonTextList(json);
    for (QString &id : ids)
        id = resolved(id, idByKey);
    return jsonTextArray(ids);
}

} // namespace

bool ConfigSyncService::applyCalDavAccount(const QJsonObject &record, QString *discoveryId)
{
    const QString id = text(record, QStringLiteral("id"));
    if (id.isEmpty())
        return false;
    const QString type = text(record, QStringLiteral("account_type"), QStringLiteral("caldav"));
    if (type == QLatin1String("webcal_calendar")) {
        applyWebcalCalendar(record);
        return true;
    }
    AccountRepository *accounts = m_appState->accounts();
    std::optional<Account> local = accounts->byId(id);
    if (!local && type != QLatin1String("larkspindle") && type != QLatin1String("webcal")) {
        local = accounts->byIdentity(type, text(record, QStringLiteral("server_url")),
                                     text(record, QStringLiteral("username")));
        if (local)
            qCDebug(lcConfigSync) << "[ConfigSync] Matched incoming account" << id << "to local"
                                  << local->id << "by (type, serverUrl, username)";
    }
    const QString localId = local ? local->id : id;
    if (isTombstone(record)) {
        if (local)
            noteWrite(accounts->remove(localId), &ApplyRun::accounts);
        return true;
    }
    // Deleted here and not yet pushed: the deletion is the newer word and goes out next.
    if (!local && hasTombstone(accounts->listAll(), id))
        return true;

    Account incoming = local.value_or(Account());
    incoming.name = text(record, QStringLiteral("display_name"), QStringLiteral("CalDAV"));
    incoming.server_url = text(record, QStringLiteral("server_url"));
    incoming.username = text(record, QStringLiteral("username"));
    incoming.calendar_home_set = text(record, QStringLiteral("calendar_home_set"));
    incoming.principal_url = text(record, QStringLiteral("principal_url"));
    incoming.sync_interval_minutes = integer(record, QStringLiteral("sync_interval_minutes"), 15);
    incoming.color = text(record, QStringLiteral("color"), QStringLiteral("#4285F4"));
    incoming.exclude_from_sync = boolean(record, QStringLiteral("exclude_from_sync"), false);
    incoming.updated_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now());
    bool isNew = false;
    if (local) {
        if (!sameAccountFields(incoming, *local))
            noteWrite(accounts->update(incoming), &ApplyRun::accounts);
    } else {
        incoming.id = id;
        incoming.type = type;
        incoming.enabled = true;
        incoming.created_at = jsonDateTime(record.value(QStringLiteral("created_at")), now());
        isNew = noteWrite(accounts->insert(incoming), &ApplyRun::accounts);
    }

    const QString password = text(record, QStringLiteral("password"));
    if (!password.isEmpty())
        storePassword(localId, password);

    if (discoveryId && type != QLatin1String("larkspindle")
        && m_appState->calendars()->listByAccount(localId).isEmpty()) {
        qCDebug(lcConfigSync) << "[ConfigSync] caldav account" << incoming.name
                              << (isNew ? "(new)" : "(existing, no calendars)")
                              << "→ scheduling discovery";
        *discoveryId = localId;
    }
    return true;
}

bool ConfigSyncService::storePassword(const QString &accountId, const QString &password)
{
    const std::unique_ptr<LarkAccount::TokenStore> secrets
        = LarkAccount::createTokenStore(applicationIdentifier());
    const QString key = caldavPasswordKey(accountId);
    if (secrets->get(key) == password)
        return true;
    if (secrets->set(key, password))
        return true;
    qWarning().noquote() << "[ConfigSync] the password of account" << accountId
                         << "could not be stored";
    return false;
}

void ConfigSyncService::applyWebcalCalendar(const QJsonObject &record)
{
    const QString url = text(record, QStringLiteral("server_url"));
    if (url.isEmpty())
        return;
    const bool hadAccount
        = m_appState->accounts()->byId(Webcal::SyncClient::subscriptionsAccountId).has_value();
    const std::optional<Account> owner = Webcal::SyncClient::ensureSubscriptionsAccount(m_appState);
    if (!owner) {
        m_apply.failed = true;
        return;
    }
    if (!hadAccount)
        m_apply.accounts = true;

    const QList<Calendar> &calendars = calendarList();
    const auto existing = std::find_if(calendars.cbegin(), calendars.cend(),
                                       [&](const Calendar &c) { return c.url == url; });
    if (isTombstone(record)) {
        if (existing != calendars.cend())
            noteWrite(removeCalendarWithItems(existing->id), &ApplyRun::calendars);
        return;
    }
    if (existing != calendars.cend())
        return;
    Calendar c;
    c.id = newId();
    c.account_id = owner->id;
    c.url = url;
    c.name = text(record, QStringLiteral("display_name"), QStringLiteral("Subscription"));
    c.color = text(record, QStringLiteral("color"), QStringLiteral("#4285F4"));
    c.is_read_only = true;
    c.canonical_key = calendarIdentityKey(QStringLiteral("webcal"), url).value_or(QString());
    c.created_at = jsonDateTime(record.value(QStringLiteral("created_at")), now());
    c.updated_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now());
    noteWrite(m_appState->calendars()->insert(c), &ApplyRun::calendars);
}

bool ConfigSyncService::applyOAuthAccount(const QJsonObject &record, QString *discoveryId)
{
    const QString id = text(record, QStringLiteral("id"));
    if (id.isEmpty())
        return false;
    AccountRepository *accounts = m_appState->accounts();
    const std::optional<Account> local = accounts->byId(id);
    if (isTombstone(record)) {
        if (local)
            noteWrite(accounts->remove(id), &ApplyRun::accounts);
        return true;
    }
    if (!local && hasTombstone(accounts->listAll(), id))
        return true;

    const QString provider = text(record, QStringLiteral("provider"), QStringLiteral("google"));
    const QString displayName = text(record, QStringLiteral("display_name"));
    Account incoming = local.value_or(Account());
    if (!displayName.isEmpty())
        incoming.name = displayName;
    incoming.username = text(record, QStringLiteral("user_email"));
    incoming.color = text(record, QStringLiteral("color"), QStringLiteral("#4285F4"));
    incoming.exclude_from_sync = boolean(record, QStringLiteral("exclude_from_sync"), false);
    incoming.updated_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now());
    bool isNew = false;
    if (local) {
        if (!sameAccountFields(incoming, *local))
            noteWrite(accounts->update(incoming), &ApplyRun::accounts);
    } else {
        incoming.id = id;
        incoming.name = displayName.isEmpty() ? provider : displayName;
        incoming.type = provider;
        incoming.enabled = true;
        incoming.created_at = jsonDateTime(record.value(QStringLiteral("created_at")), now());
        isNew = noteWrite(accounts->insert(incoming), &ApplyRun::accounts);
    }

    const QString type = local ? local->type : provider;
    if (discoveryId && type != QLatin1String("larkspindle")) {
        const QList<Calendar> calendars = m_appState->calendars()->listByAccount(id);
        const bool hasReal
            = std::any_of(calendars.cbegin(), calendars.cend(),
                          [](const Calendar &c) { return c.sync_enabled && !c.is_read_only; });
        if (isNew || !hasReal) {
            qCDebug(lcConfigSync) << "[ConfigSync] oauth account" << incoming.name
                                  << "type=" << type
                                  << (isNew ? "(new)" : "(existing, no real cals)")
                                  << "→ scheduling discovery";
            *discoveryId = id;
        }
    }
    return true;
}

void ConfigSyncService::applyRemainingChanges(const QJsonArray &changes)
{
    for (const QJsonValue &value : changes) {
        const QJsonObject change = value.toObject();
        if (change.value(QStringLiteral("type")).toString() == QLatin1String("calendar_preferences")
            && syncAccountsEnabled())
            applyCalendarPreference(change.value(QStringLiteral("data")).toObject());
    }
    for (const QJsonValue &value : changes) {
        const QJsonObject change = value.toObject();
        const QString type = change.value(QStringLiteral("type")).toString();
        const QJsonObject data = change.value(QStringLiteral("data")).toObject();
        if (type == QLatin1String("filter_rules") && syncFiltersEnabled())
            applyFilterRule(data);
        else if (type == QLatin1String("calendar_views") && syncViewsEnabled())
            applyCalendarView(data);
        else if (type == QLatin1String("event_templates") && syncTemplatesEnabled())
            applyEventTemplate(data);
        else if (type == QLatin1String("initial_settings") && syncSettingsEnabled())
            applyInitialSetting(data);
    }
}

void ConfigSyncService::applyCalendarPreference(const QJsonObject &record)
{
    const QString key = text(record, QStringLiteral("canonical_key"));
    if (key.isEmpty())
        return;
    CalendarRepository *repo = m_appState->calendars();
    QString targetId = resolveCalendarKeys({key}, calendarList()).first.value(0);
    if (targetId.isEmpty()) {
        const QString accountId = text(record, QStringLiteral("account_id"));
        const QString url = text(record, QStringLiteral("calendar_url"));
        if (accountId.isEmpty() || url.isEmpty() || !m_appState->accounts()->byId(accountId))
            return;
        const QList<Calendar> own = repo->listByAccount(accountId);
        const auto match = std::find_if(own.cbegin(), own.cend(),
                                        [&](const Calendar &c) { return c.url == url; });
        if (match == own.cend()) {
            // Holds the preference until discovery finds the calendar itself.
            Calendar c;
            c.id = newId();
            c.account_id = accountId;
            c.url = url;
            c.name
                = text(record, QStringLiteral("display_name_override"), QStringLiteral("Pending"));
            c.color = text(record, QStringLiteral("color_override"), QStringLiteral("#4285F4"));
            c.is_visible = boolean(record, QStringLiteral("is_visible"), true);
            c.is_read_only = true;
            c.sort_order = integer(record, QStringLiteral("sort_order"), 0);
            c.canonical_key = key;
            c.created_at = jsonDateTime(record.value(QStringLiteral("created_at")), now());
            c.updated_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now());
            if (noteWrite(repo->insert(c), &ApplyRun::calendars))
                qCDebug(lcConfigSync) << "[ConfigSync] Stubbed calendar" << key << "under"
                                      << accountId << "(" << c.name << ")";
            return;
        }
        targetId = match->id;
        if (match->canonical_key.isEmpty()) {
            Calendar keyed = *match;
            keyed.canonical_key = key;
            if (!noteWrite(repo->update(keyed), &ApplyRun::calendars))
                return;
        }
    }

    const std::optional<Calendar> current = repo->byId(targetId);
    if (!current)
        return;
    Calendar c = *current;
    c.is_visible = boolean(record, QStringLiteral("is_visible"), c.is_visible);
    const QString color = text(record, QStringLiteral("color_override"));
    if (!color.isEmpty())
        c.color = color;
    const QString name = text(record, QStringLiteral("display_name_override"));
    if (!name.isEmpty())
        c.name = name;
    c.sort_order = integer(record, QStringLiteral("sort_order"), c.sort_order);
    if (record.contains(QStringLiteral("sync_enabled"))) {
        const std::optional<Account> owner = m_appState->accounts()->byId(c.account_id);
        if (owner && owner->type == QLatin1String("larkspindle"))
            c.sync_enabled = boolean(record, QStringLiteral("sync_enabled"), c.sync_enabled);
    }
    if (c.is_visible == current->is_visible && c.color == current->color && c.name == current->name
        && c.sort_order == current->sort_order && c.sync_enabled == current->sync_enabled)
        return;
    noteWrite(repo->update(c), &ApplyRun::calendars);
}

// Groups, rules and templates: a tombstone deletes the row whatever its time; otherwise the
// later copy is kept.
template<typename Row, typename Repo>
void ConfigSyncService::applyLastWriter(
    Repo *repo, bool ApplyRun::*written, const QJsonObject &record, const std::optional<Row> &local,
    Row (*from)(const QJsonObject &, const QList<Calendar> &, const QDateTime &),
    QJsonObject (*toRecord)(const Row &, const QList<Calendar> &, const QDateTime &))
{
    if (isTombstone(record)) {
        if (local)
            noteWrite(repo->hardDelete(local->id), written);
        return;
    }
    const Row incoming = from(record, calendarList(), now());
    if (local
        && !incomingWins(toRecord(incoming, calendarList(), now()),
                         toRecord(*local, calendarList(), now())))
        return;
    noteWrite(repo->storeSynced(incoming), written);
}

void ConfigSyncService::applyCalendarView(const QJsonObject &record)
{
    const QString id = text(record, QStringLiteral("id"));
    if (id.isEmpty() || id == QLatin1String("all-calendars"))
        return;
    ViewRepository *repo = m_appState->views();
    applyLastWriter(repo, &ApplyRun::views, record, repo->byId(id), &calendarViewFrom,
                    &calendarViewRecord);
}

void ConfigSyncService::applyFilterRule(const QJsonObject &record)
{
    const QString id = text(record, QStringLiteral("id"));
    if (id.isEmpty())
        return;
    if (lcConfigSync().isDebugEnabled()) {
        QStringList keys;
        const QJsonArray given = record.value(QStringLiteral("calendar_keys")).toArray();
        for (const QJsonValue &key : given)
            keys << key.toString();
        const auto found = resolveCalendarKeys(keys, calendarList());
        const QString eventKey = text(record, QStringLiteral("event_calendar_key"));
        qCDebug(lcConfigSync)
            << "[ConfigSync] filter_rule" << text(record, QStringLiteral("name"))
            << "type=" << text(record, QStringLiteral("type")) << "canonical_keys=" << keys.size()
            << "resolved=" << found.first.size() << "unresolved=" << found.second.size()
            << "event_uid=" << text(record, QStringLiteral("event_uid"))
            << "event_cal_key_resolved="
            << (!eventKey.isEmpty()
                && !resolveCalendarKeys({eventKey}, calendarList()).first.isEmpty())
            << "conditions_len=" << filterRuleFrom(record, calendarList(), now()).conditions.size();
    }
    FilterRuleRepository *repo = m_appState->filterRules();
    applyLastWriter(repo, &ApplyRun::rules, record, repo->byId(id), &filterRuleFrom,
                    &filterRuleRecord);
}

void ConfigSyncService::applyEventTemplate(const QJsonObject &record)
{
    const QString id = text(record, QStringLiteral("id"));
    if (id.isEmpty())
        return;
    // Tombstones count too: a template deleted here is brought back only by a later edit.
    TemplateRepository *repo = m_appState->templates();
    std::optional<EventTemplate> local;
    const QList<EventTemplate> all = repo->listAll();
    for (const EventTemplate &t : all) {
        if (t.id == id)
            local = t;
    }
    applyLastWriter(repo, &ApplyRun::templates, record, local, &eventTemplateFrom,
                    &eventTemplateRecord);
}

void ConfigSyncService::applyInitialSetting(const QJsonObject &record)
{
    const QString key = text(record, QStringLiteral("key"));
    const QString value = text(record, QStringLiteral("value"));
    if (key.isEmpty() || value.isEmpty() || key != Prefs::WeekStartDay)
        return;
    PreferencesRepository *prefs = m_appState->preferences();
    if (prefs->getBool(Prefs::WeekStartDayCustomized, Prefs::WeekStartDayCustomizedDefault))
        return;
    bool ok = false;
    const int day = value.toInt(&ok, 10);
    if (!ok || day < 1 || day > 7 || prefs->getInt(Prefs::WeekStartDay, -1) == day)
        return;
    if (prefs->setInt(Prefs::WeekStartDay, day))
        m_apply.preferences << Prefs::WeekStartDay;
    else
        m_apply.failed = true;
}

// References to calendars this device had not found when they arrived wait in the rows as keys;
// once such a calendar is here, the key becomes its id. The row's update time stays: nobody
// edited it.
void ConfigSyncService::resolveKeptCalendarKeys()
{
    QHash<QString, QString> idByKey;
    for (const Calendar &c : calendarList()) {
        if (!c.canonical_key.isEmpty())
            idByKey.insert(c.canonical_key, c.id);
    }
    if (idByKey.isEmpty())
        return;
    const QList<FilterRule> rules = m_appState->filterRules()->listAll();
    for (const FilterRule &rule : rules) {
        FilterRule r = rule;
        r.calendar_ids = resolvedList(rule.calendar_ids, idByKey);
        r.event_calendar_id = resolved(rule.event_calendar_id, idByKey);
        if (r.calendar_ids != jsonTextArray(jsonTextList(rule.calendar_ids))
            || r.event_calendar_id != rule.event_calendar_id)
            noteWrite(m_appState->filterRules()->storeSynced(r), &ApplyRun::rules);
    }
    const QList<CalendarView> views = m_appState->views()->listAll();
    for (const CalendarView &view : views) {
        CalendarView v = view;
        v.calendar_ids = resolvedList(view.calendar_ids, idByKey);
        if (v.calendar_ids != jsonTextArray(jsonTextList(view.calendar_ids)))
            noteWrite(m_appState->views()->storeSynced(v), &ApplyRun::views);
    }
    const QList<EventTemplate> templates = m_appState->templates()->listAll();
    for (const EventTemplate &t : templates) {
        EventTemplate copy = t;
        copy.calendar_id = resolved(t.calendar_id, idByKey);
        if (copy.calendar_id != t.calendar_id)
            noteWrite(m_appState->templates()->storeSynced(copy), &ApplyRun::templates);
    }
}

} // namespace Larkspindle
