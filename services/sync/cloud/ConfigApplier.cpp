#include "services/sync/cloud/ConfigApplier.h"

#include "core/AppState.h"
#include "core/CalendarRemoval.h"
#include "core/sync/CalendarIdentity.h"
#include "model/Identifiers.h"
#include "model/JsonText.h"
#include "platform/DataPaths.h"
#include "platform/TokenStore.h"
#include "services/sync/caldav/CalDavClient.h"
#include "services/sync/cloud/ConfigRecords.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "services/sync/webcal/SyncClient.h"
#include "storage/AccountRepository.h"
#include "storage/AllOrNothing.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
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

ConfigApplier::ConfigApplier(AppState *state)
    : m_state(state)
{ }

QDateTime ConfigApplier::now() const
{
    return m_state->database()->currentDateTimeUtc();
}

bool ConfigApplier::applyAccounts(const QJsonArray &changes, const Sections &sections,
                                  QStringList *discover)
{
    if (!sections.accounts)
        return true;
    return stage("config_accounts", [&] {
        for (const QJsonValue &value : changes) {
            const QJsonObject change = value.toObject();
            const QString type = change.value(QStringLiteral("type")).toString();
            const QJsonObject data = change.value(QStringLiteral("data")).toObject();
            QString id;
            bool ok = false;
            if (type == QLatin1String("caldav_accounts"))
                ok = applyCalDavAccount(data, &id);
            else if (type == QLatin1String("oauth_accounts"))
                ok = applyOAuthAccount(data, &id);
            if (ok && !id.isEmpty() && discover)
                *discover << id;
        }
    });
}

bool ConfigApplier::applyRemaining(const QJsonArray &changes, const Sections &sections)
{
    // Preferences first: a calendar they find by its address takes its key, and references to
    // that key then resolve. Every stage runs, so that one refused kind holds back no other.
    bool kept = true;
    if (sections.accounts)
        kept = eachOfType("config_preferences", changes, "calendar_preferences",
                          &ConfigApplier::applyCalendarPreference);
    kept = stage("config_references", [this] { resolveKeptCalendarKeys(); }) && kept;
    if (sections.filters)
        kept = eachOfType("config_rules", changes, "filter_rules", &ConfigApplier::applyFilterRule)
            && kept;
    if (sections.views)
        kept = eachOfType("config_views", changes, "calendar_views",
                          &ConfigApplier::applyCalendarView)
            && kept;
    if (sections.templates)
        kept = eachOfType("config_templates", changes, "event_templates",
                          &ConfigApplier::applyEventTemplate)
            && kept;
    if (sections.settings)
        kept = eachOfType("config_settings", changes, "initial_settings",
                          &ConfigApplier::applyInitialSetting)
            && kept;
    return kept;
}

bool ConfigApplier::eachOfType(const char *name, const QJsonArray &changes, const char *type,
                               Apply apply)
{
    return stage(name, [&] {
        for (const QJsonValue &value : changes) {
            const QJsonObject change = value.toObject();
            if (change.value(QStringLiteral("type")).toString() == QLatin1String(type))
                (this->*apply)(change.value(QStringLiteral("data")).toObject());
        }
    });
}

bool ConfigApplier::stage(const char *name, const std::function<void()> &apply)
{
    m_run = Run();
    const QList<QObject *> quiet {m_state->accounts(),  m_state->calendars(),
                                  m_state->views(),     m_state->filterRules(),
                                  m_state->templates(), m_state->preferences()};
    const bool kept = Sql::applyAllOrNothing(
        m_state->database()->connection(), QString::fromLatin1(name), quiet,
        [&] {
            apply();
            return !m_run.failed;
        },
        [this] {
            const Run written = std::exchange(m_run, Run());
            if (written.accounts)
                emit m_state->accounts()->accountsChanged();
            if (written.calendars)
                emit m_state->calendars()->calendarsChanged();
            if (written.views)
                emit m_state->views()->viewsChanged();
            if (written.rules)
                emit m_state->filterRules()->filterRulesChanged();
            if (written.templates)
                emit m_state->templates()->templatesChanged();
            if (written.weekStart)
                emit m_state->preferences()->changed(Prefs::WeekStartDay);
        });
    m_run = Run();
    if (!kept)
        qWarning().noquote() << "[ConfigSync] pulled" << name
                             << "not applied — the next cycle pulls them again";
    return kept;
}

bool ConfigApplier::noteWrite(bool ok, bool Run::*what)
{
    if (!ok) {
        m_run.failed = true;
        return false;
    }
    m_run.*what = true;
    if (what == &Run::calendars)
        m_run.calendarsLoaded = false;
    return true;
}

const QList<Calendar> &ConfigApplier::calendarList()
{
    if (!m_run.calendarsLoaded) {
        m_run.calendarList = m_state->calendars()->listAll();
        m_run.calendarsLoaded = true;
    }
    return m_run.calendarList;
}

bool ConfigApplier::applyCalDavAccount(const QJsonObject &record, QString *discoveryId)
{
    const QString id = text(record, QStringLiteral("id"));
    if (id.isEmpty())
        return false;
    const QString type = text(record, QStringLiteral("account_type"), QStringLiteral("caldav"));
    if (type == QLatin1String("webcal_calendar")) {
        applyWebcalCalendar(record);
        return true;
    }
    AccountRepository *accounts = m_state->accounts();
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
            noteWrite(accounts->remove(localId), &Run::accounts);
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
    const bool isNew = storeAccount(record, incoming, local, id, type);

    const QString password = text(record, QStringLiteral("password"));
    if (!password.isEmpty())
        storePassword(localId, password);

    if (discoveryId && type != QLatin1String("larkspindle")
        && m_state->calendars()->listByAccount(localId).isEmpty()) {
        qCDebug(lcConfigSync) << "[ConfigSync] caldav account" << incoming.name
                              << (isNew ? "(new)" : "(existing, no calendars)")
                              << "→ scheduling discovery";
        *discoveryId = localId;
    }
    return true;
}

bool ConfigApplier::storeAccount(const QJsonObject &record, Account incoming,
                                 const std::optional<Account> &local, const QString &id,
                                 const QString &type)
{
    incoming.color = text(record, QStringLiteral("color"), QStringLiteral("#4285F4"));
    incoming.exclude_from_sync = boolean(record, QStringLiteral("exclude_from_sync"), false);
    incoming.updated_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now());
    AccountRepository *accounts = m_state->accounts();
    if (local) {
        if (!sameAccountFields(incoming, *local))
            noteWrite(accounts->update(incoming), &Run::accounts);
        return false;
    }
    incoming.id = id;
    incoming.type = type;
    incoming.enabled = true;
    incoming.created_at = jsonDateTime(record.value(QStringLiteral("created_at")), now());
    return noteWrite(accounts->insert(incoming), &Run::accounts);
}

bool ConfigApplier::storePassword(const QString &accountId, const QString &password)
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

void ConfigApplier::applyWebcalCalendar(const QJsonObject &record)
{
    const QString url = text(record, QStringLiteral("server_url"));
    if (url.isEmpty())
        return;
    const bool hadAccount
        = m_state->accounts()->byId(Webcal::SyncClient::subscriptionsAccountId).has_value();
    const std::optional<Account> owner = Webcal::SyncClient::ensureSubscriptionsAccount(m_state);
    if (!owner) {
        m_run.failed = true;
        return;
    }
    if (!hadAccount)
        m_run.accounts = true;

    const QList<Calendar> &calendars = calendarList();
    const auto existing = std::find_if(calendars.cbegin(), calendars.cend(),
                                       [&](const Calendar &c) { return c.url == url; });
    if (isTombstone(record)) {
        if (existing != calendars.cend())
            noteWrite(CalendarRemoval::removeCalendar(m_state->store(), existing->id),
                      &Run::calendars);
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
    noteWrite(m_state->calendars()->insert(c), &Run::calendars);
}

bool ConfigApplier::applyOAuthAccount(const QJsonObject &record, QString *discoveryId)
{
    const QString id = text(record, QStringLiteral("id"));
    if (id.isEmpty())
        return false;
    AccountRepository *accounts = m_state->accounts();
    const std::optional<Account> local = accounts->byId(id);
    if (isTombstone(record)) {
        if (local)
            noteWrite(accounts->remove(id), &Run::accounts);
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
    if (!local)
        incoming.name = displayName.isEmpty() ? provider : displayName;
    const bool isNew = storeAccount(record, incoming, local, id, provider);

    const QString type = local ? local->type : provider;
    if (discoveryId && type != QLatin1String("larkspindle")) {
        const QList<Calendar> calendars = m_state->calendars()->listByAccount(id);
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

void ConfigApplier::applyCalendarPreference(const QJsonObject &record)
{
    const QString key = text(record, QStringLiteral("canonical_key"));
    if (key.isEmpty())
        return;
    const std::optional<Calendar> current = preferenceTarget(record, key);
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
    const std::optional<Account> owner = m_state->accounts()->byId(c.account_id);
    if (record.contains(QStringLiteral("sync_enabled")) && owner
        && owner->type == QLatin1String("larkspindle"))
        c.sync_enabled = boolean(record, QStringLiteral("sync_enabled"), c.sync_enabled);
    if (c.is_visible == current->is_visible && c.color == current->color && c.name == current->name
        && c.sort_order == current->sort_order && c.sync_enabled == current->sync_enabled)
        return;
    // A choice never made here gives way; otherwise the later one stays, as for rules.
    if (current->preferences_changed_at) {
        const QJsonObject ours = calendarPreferenceRecord(*current, owner, now());
        if (!incomingWins(preferenceContent(record), preferenceContent(ours)))
            return;
    }
    c.preferences_changed_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now());
    noteWrite(m_state->calendars()->storeSynced(c), &Run::calendars);
}

// The calendar a preference is for: found by its key, else by its account and address (which
// then takes the key); a calendar discovery has not found yet gets a placeholder that holds the
// preference meanwhile, and the record has nothing more to do.
std::optional<Calendar> ConfigApplier::preferenceTarget(const QJsonObject &record,
                                                        const QString &key)
{
    CalendarRepository *repo = m_state->calendars();
    const QString byKey = resolveCalendarKeys({key}, calendarList()).first.value(0);
    if (!byKey.isEmpty())
        return repo->byId(byKey);
    const QString accountId = text(record, QStringLiteral("account_id"));
    const QString url = text(record, QStringLiteral("calendar_url"));
    if (accountId.isEmpty() || url.isEmpty() || !m_state->accounts()->byId(accountId))
        return std::nullopt;
    const QList<Calendar> own = repo->listByAccount(accountId);
    const auto match
        = std::find_if(own.cbegin(), own.cend(), [&](const Calendar &c) { return c.url == url; });
    if (match != own.cend()) {
        if (!match->canonical_key.isEmpty())
            return *match;
        Calendar keyed = *match;
        keyed.canonical_key = key;
        return noteWrite(repo->storeSynced(keyed), &Run::calendars) ? std::optional(keyed)
                                                                    : std::nullopt;
    }
    Calendar c;
    c.id = newId();
    c.account_id = accountId;
    c.url = url;
    c.name = text(record, QStringLiteral("display_name_override"), QStringLiteral("Pending"));
    c.color = text(record, QStringLiteral("color_override"), QStringLiteral("#4285F4"));
    c.is_visible = boolean(record, QStringLiteral("is_visible"), true);
    c.is_read_only = true;
    c.sort_order = integer(record, QStringLiteral("sort_order"), 0);
    c.canonical_key = key;
    c.created_at = jsonDateTime(record.value(QStringLiteral("created_at")), now());
    c.updated_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now());
    c.preferences_changed_at = c.updated_at;
    if (noteWrite(repo->insert(c), &Run::calendars))
        qCDebug(lcConfigSync) << "[ConfigSync] Stubbed calendar" << key << "under" << accountId
                              << "(" << c.name << ")";
    return std::nullopt;
}

// Groups, rules and templates: a tombstone deletes the row whatever its time; otherwise the
// later copy is kept.
template<typename Row, typename Repo>
void ConfigApplier::applyLastWriter(
    Repo *repo, bool Run::*written, const QJsonObject &record, const std::optional<Row> &local,
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

void ConfigApplier::applyCalendarView(const QJsonObject &record)
{
    const QString id = text(record, QStringLiteral("id"));
    if (id.isEmpty() || id == QLatin1String("all-calendars"))
        return;
    ViewRepository *repo = m_state->views();
    applyLastWriter(repo, &Run::views, record, repo->byId(id), &calendarViewFrom,
                    &calendarViewRecord);
}

void ConfigApplier::applyFilterRule(const QJsonObject &record)
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
    FilterRuleRepository *repo = m_state->filterRules();
    applyLastWriter(repo, &Run::rules, record, repo->byId(id), &filterRuleFrom, &filterRuleRecord);
}

void ConfigApplier::applyEventTemplate(const QJsonObject &record)
{
    const QString id = text(record, QStringLiteral("id"));
    if (id.isEmpty())
        return;
    // Tombstones count too: a template deleted here is brought back only by a later edit.
    TemplateRepository *repo = m_state->templates();
    std::optional<EventTemplate> local;
    const QList<EventTemplate> all = repo->listAll();
    for (const EventTemplate &t : all) {
        if (t.id == id)
            local = t;
    }
    applyLastWriter(repo, &Run::templates, record, local, &eventTemplateFrom, &eventTemplateRecord);
}

void ConfigApplier::applyInitialSetting(const QJsonObject &record)
{
    const QString key = text(record, QStringLiteral("key"));
    const QString value = text(record, QStringLiteral("value"));
    if (key.isEmpty() || value.isEmpty() || key != Prefs::WeekStartDay)
        return;
    PreferencesRepository *prefs = m_state->preferences();
    bool ok = false;
    const int day = value.toInt(&ok, 10);
    if (!ok || day < 1 || day > 7 || prefs->getInt(Prefs::WeekStartDay, -1) == day)
        return;
    const std::optional<QDateTime> chosenAt = weekStartChosenAt(*prefs);
    // A choice made here before its time was kept stays this device's own.
    if (!chosenAt
        && prefs->getBool(Prefs::WeekStartDayCustomized, Prefs::WeekStartDayCustomizedDefault))
        return;
    if (chosenAt
        && !incomingWins(record,
                         initialSettingRecord(prefs->getInt(Prefs::WeekStartDay, -1), chosenAt)))
        return;
    const qint64 at
        = jsonDateTime(record.value(QStringLiteral("updated_at")), now()).toMSecsSinceEpoch();
    if (prefs->setInt(Prefs::WeekStartDay, day)
        && prefs->set(Prefs::WeekStartDayChangedAt, QString::number(at)))
        m_run.weekStart = true;
    else
        m_run.failed = true;
}

// References to calendars this device had not found when they arrived wait in the rows as keys;
// once such a calendar is here, the key becomes its id. The row's update time stays: nobody
// edited it.
void ConfigApplier::resolveKeptCalendarKeys()
{
    QHash<QString, QString> idByKey;
    for (const Calendar &c : calendarList()) {
        if (!c.canonical_key.isEmpty())
            idByKey.insert(c.canonical_key, c.id);
    }
    if (idByKey.isEmpty())
        return;
    const QList<FilterRule> rules = m_state->filterRules()->listAll();
    for (const FilterRule &rule : rules) {
        FilterRule r = rule;
        r.calendar_ids = resolvedList(rule.calendar_ids, idByKey);
        r.event_calendar_id = resolved(rule.event_calendar_id, idByKey);
        if (r.calendar_ids != jsonTextArray(jsonTextList(rule.calendar_ids))
            || r.event_calendar_id != rule.event_calendar_id)
            noteWrite(m_state->filterRules()->storeSynced(r), &Run::rules);
    }
    const QList<CalendarView> views = m_state->views()->listAll();
    for (const CalendarView &view : views) {
        CalendarView v = view;
        v.calendar_ids = resolvedList(view.calendar_ids, idByKey);
        if (v.calendar_ids != jsonTextArray(jsonTextList(view.calendar_ids)))
            noteWrite(m_state->views()->storeSynced(v), &Run::views);
    }
    const QList<EventTemplate> templates = m_state->templates()->listAll();
    for (const EventTemplate &t : templates) {
        EventTemplate copy = t;
        copy.calendar_id = resolved(t.calendar_id, idByKey);
        if (copy.calendar_id != t.calendar_id)
            noteWrite(m_state->templates()->storeSynced(copy), &Run::templates);
    }
}

} // namespace Larkspindle
