#include "services/sync/cloud/ConfigRecords.h"

#include "core/sync/CalendarIdentity.h"
#include "model/JsonText.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonValue>

#include <cmath>

namespace Larkspindle::ConfigRecords {

namespace {

QString nonNull(const QString &value)
{
    return value.isNull() ? QString(QLatin1String("")) : value;
}

QString compact(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QStringList textElements(const QJsonValue &value)
{
    QStringList out;
    const QJsonArray array = value.toArray();
    for (const QJsonValue &element : array)
        out << nonNull(element.toString()); // not a text: the empty key, which resolves nowhere
    return out;
}

// Each entry from one field of the calendars that have a key to another; an entry no calendar
// has stays when it is itself a key and is dropped otherwise.
QStringList throughCalendars(const QStringList &entries, const QList<Calendar> &calendars,
                             QString Calendar::*from, QString Calendar::*to)
{
    QHash<QString, QString> map;
    for (const Calendar &calendar : calendars) {
        if (!calendar.canonical_key.isEmpty())
            map.insert(calendar.*from, calendar.*to);
    }
    QStringList out;
    for (const QString &entry : entries) {
        const QString mapped = map.value(entry);
        if (!mapped.isEmpty())
            out << mapped;
        else if (isCalendarIdentityKey(entry))
            out << entry;
    }
    return out;
}

// The key of one stored calendar id, empty when it has none.
QString keyForStoredId(const QString &id, const QList<Calendar> &calendars)
{
    if (id.isEmpty())
        return {};
    const QStringList keys = keysForStoredIds({id}, calendars);
    return keys.isEmpty() ? QString() : keys.first();
}

QString storedIdForKey(const QString &key, const QList<Calendar> &calendars)
{
    if (key.isEmpty())
        return QString(QLatin1String(""));
    const QStringList ids = storedIdsForKeys({key}, calendars);
    return ids.isEmpty() ? QString(QLatin1String("")) : ids.first();
}

void putTimes(QJsonObject &record, const QDateTime &created, const QDateTime &updated,
              const std::optional<QDateTime> &deleted, const QDateTime &now)
{
    record.insert(QStringLiteral("created_at"), msecsOrNow(created, now));
    record.insert(QStringLiteral("updated_at"), msecsOrNow(updated, now));
    if (deleted)
        record.insert(QStringLiteral("deleted_at"), msecsOrNow(*deleted, now));
}

} // namespace

QString text(const QJsonObject &record, const QString &key, const QString &fallback)
{
    const QJsonValue value = record.value(key);
    return nonNull(value.isString() ? value.toString() : fallback);
}

bool boolean(const QJsonObject &record, const QString &key, bool fallback)
{
    const QJsonValue value = record.value(key);
    return value.isBool() ? value.toBool() : fallback;
}

int integer(const QJsonObject &record, const QString &key, int fallback)
{
    const QJsonValue value = record.value(key);
    return value.isDouble() ? value.toInt(fallback) : fallback;
}

QDateTime jsonDateTime(const QJsonValue &value, const QDateTime &now)
{
    if (value.isDouble()) {
        const double ms = std::trunc(value.toDouble());
        // Beyond the years a date can hold the cast itself would be undefined: such a number is
        // no time, like any other unreadable value.
        constexpr double limit = 8.64e15; // 10^8 days either side of 1970
        if (std::isfinite(ms) && ms >= -limit && ms <= limit)
            return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ms), Qt::UTC);
    } else if (value.isString()) {
        const QDateTime parsed = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
        if (parsed.isValid())
            return parsed.toUTC();
    }
    return now.toUTC();
}

bool isTombstone(const QJsonObject &record)
{
    const QJsonValue value = record.value(QStringLiteral("deleted_at"));
    switch (value.type()) {
    case QJsonValue::Undefined:
    case QJsonValue::Null:
        return false;
    case QJsonValue::String:
        return !value.toString().isEmpty();
    case QJsonValue::Double:
        return value.toDouble() != 0;
    default:
        return true;
    }
}

qint64 msecsOrNow(const QDateTime &time, const QDateTime &now)
{
    return (time.isValid() ? time : now).toMSecsSinceEpoch();
}

QJsonArray toJsonArray(const QStringList &values)
{
    return QJsonArray::fromStringList(values);
}

QStringList keysForStoredIds(const QStringList &ids, const QList<Calendar> &calendars)
{
    return throughCalendars(ids, calendars, &Calendar::id, &Calendar::canonical_key);
}

QStringList storedIdsForKeys(const QStringList &keys, const QList<Calendar> &calendars)
{
    return throughCalendars(keys, calendars, &Calendar::canonical_key, &Calendar::id);
}

QJsonObject filterRuleRecord(const FilterRule &rule, const QList<Calendar> &calendars,
                             const QDateTime &now)
{
    QJsonObject record {{QStringLiteral("id"), rule.id},
                        {QStringLiteral("name"), rule.name},
                        {QStringLiteral("type"), rule.type},
                        {QStringLiteral("action"), rule.action},
                        {QStringLiteral("enabled"), rule.enabled},
                        {QStringLiteral("priority"), rule.priority},
                        {QStringLiteral("suppress_reminders"), rule.suppress_reminders}};
    const QJsonDocument conditions = QJsonDocument::fromJson(rule.conditions.toUtf8());
    record.insert(QStringLiteral("conditions"),
                  conditions.isObject() ? conditions.object() : QJsonObject());
    const QStringList keys = keysForStoredIds(jsonTextList(rule.calendar_ids), calendars);
    if (!keys.isEmpty())
        record.insert(QStringLiteral("calendar_keys"), toJsonArray(keys));
    if (!rule.event_uid.isEmpty())
        record.insert(QStringLiteral("event_uid"), rule.event_uid);
    const QString eventCalendarKey = keyForStoredId(rule.event_calendar_id, calendars);
    if (!eventCalendarKey.isEmpty())
        record.insert(QStringLiteral("event_calendar_key"), eventCalendarKey);
    putTimes(record, rule.created_at, rule.updated_at, rule.deleted_at, now);
    return record;
}

QJsonObject calendarViewRecord(const CalendarView &view, const QList<Calendar> &calendars,
                               const QDateTime &now)
{
    QJsonObject record {{QStringLiteral("id"), view.id},
                        {QStringLiteral("name"), view.name},
                        {QStringLiteral("color"), nonNull(view.color)},
                        {QStringLiteral("calendar_keys"),
                         toJsonArray(keysForStoredIds(jsonTextList(view.calendar_ids), calendars))},
                        {QStringLiteral("is_default"), view.is_default},
                        {QStringLiteral("sort_order"), view.sort_order}};
    putTimes(record, view.created_at, view.updated_at, view.deleted_at, now);
    return record;
}

QJsonObject eventTemplateRecord(const EventTemplate &t, const QList<Calendar> &calendars,
                                const QDateTime &now)
{
    QJsonArray reminders;
    for (int minutes : t.reminders)
        reminders.append(minutes);
    const QString calendarKey = keyForStoredId(t.calendar_id, calendars);
    QJsonObject record {{QStringLiteral("id"), t.id},
                        {QStringLiteral("name"), t.name},
                        {QStringLiteral("title"), t.title},
                        {QStringLiteral("description"), nonNull(t.description)},
                        {QStringLiteral("location"), nonNull(t.location)},
                        {QStringLiteral("color"), nonNull(t.color)},
                        {QStringLiteral("is_all_day"), t.is_all_day},
                        {QStringLiteral("duration_minutes"), t.duration_minutes},
                        {QStringLiteral("recurrence_rule"), nonNull(t.recurrence_rule)},
                        {QStringLiteral("calendar_key"),
                         calendarKey.isEmpty() ? QJsonValue() : QJsonValue(calendarKey)},
                        {QStringLiteral("reminders"), reminders},
                        {QStringLiteral("sort_order"), t.sort_order}};
    putTimes(record, t.created_at, t.updated_at, t.deleted_at, now);
    return record;
}

QJsonObject calDavAccountRecord(const Account &a, const std::optional<QString> &password,
                                const QDateTime &now)
{
    QJsonObject record {{QStringLiteral("id"), a.id},
                        {QStringLiteral("account_type"), a.type},
                        {QStringLiteral("server_url"), nonNull(a.server_url)},
                        {QStringLiteral("username"), nonNull(a.username)},
                        {QStringLiteral("display_name"), nonNull(a.name)},
                        {QStringLiteral("calendar_home_set"), nonNull(a.calendar_home_set)},
                        {QStringLiteral("principal_url"), nonNull(a.principal_url)},
                        {QStringLiteral("sync_interval_minutes"), a.sync_interval_minutes},
                        {QStringLiteral("color"), nonNull(a.color)},
                        {QStringLiteral("exclude_from_sync"), a.exclude_from_sync},
                        {QStringLiteral("password"),
                         password && !password->isEmpty() ? QJsonValue(*password) : QJsonValue()}};
    putTimes(record, a.created_at, a.updated_at, a.deleted_at, now);
    return record;
}

QJsonObject oauthAccountRecord(const Account &a, const QDateTime &now)
{
    QJsonObject record {{QStringLiteral("id"), a.id},
                        {QStringLiteral("provider"), a.type},
                        {QStringLiteral("user_email"), nonNull(a.username)},
                        {QStringLiteral("display_name"), nonNull(a.name)},
                        {QStringLiteral("color"), nonNull(a.color)},
                        {QStringLiteral("exclude_from_sync"), a.exclude_from_sync}};
    putTimes(record, a.created_at, a.updated_at, a.deleted_at, now);
    return record;
}

QJsonObject webcalSubscriptionRecord(const Calendar &c, const Account &owner, const QDateTime &now)
{
    QJsonObject record {{QStringLiteral("id"), QString(QStringLiteral("webcal-calendar-") + c.id)},
                        {QStringLiteral("account_type"), QStringLiteral("webcal_calendar")},
                        {QStringLiteral("server_url"), nonNull(c.url)},
                        {QStringLiteral("username"), QJsonValue()},
                        {QStringLiteral("display_name"), nonNull(c.name)},
                        {QStringLiteral("calendar_home_set"), QJsonValue()},
                        {QStringLiteral("principal_url"), QJsonValue()},
                        {QStringLiteral("sync_interval_minutes"), owner.sync_interval_minutes},
                        {QStringLiteral("color"), nonNull(c.color)},
                        {QStringLiteral("exclude_from_sync"), false},
                        {QStringLiteral("password"), QJsonValue()}};
    putTimes(record, c.created_at, c.updated_at, std::nullopt, now);
    return record;
}

QJsonObject calendarPreferenceRecord(const Calendar &c, const std::optional<Account> &owner,
                                     const QDateTime &now)
{
    const bool cloudSync = owner && owner->type == QLatin1String("larkspindle") && c.sync_enabled;
    QJsonObject record {
        {QStringLiteral("canonical_key"), c.canonical_key},
        {QStringLiteral("is_visible"), c.is_visible},
        {QStringLiteral("color_override"), nonNull(c.color)},
        {QStringLiteral("display_name_override"), nonNull(c.name)},
        {QStringLiteral("sort_order"), c.sort_order},
        {QStringLiteral("sync_enabled"), cloudSync},
        {QStringLiteral("account_id"), nonNull(c.account_id)},
        {QStringLiteral("calendar_url"), nonNull(c.url)},
        {QStringLiteral("provider"), owner ? QJsonValue(owner->type) : QJsonValue()}};
    putTimes(record, c.created_at, c.preferences_changed_at.value_or(c.created_at), std::nullopt,
             now);
    return record;
}

QJsonObject initialSettingRecord(int weekStartDay, const std::optional<QDateTime> &chosenAt)
{
    return QJsonObject {
        {QStringLiteral("key"), QStringLiteral("ui/weekStartDay")},
        {QStringLiteral("value"), QString::number(weekStartDay)},
        {QStringLiteral("type"), QStringLiteral("int")},
        {QStringLiteral("updated_at"), QJsonValue(chosenAt ? chosenAt->toMSecsSinceEpoch() : 0)}};
}

std::optional<QDateTime> weekStartChosenAt(const PreferencesRepository &preferences)
{
    bool ok = false;
    const qint64 ms
        = preferences.get(Prefs::WeekStartDayChangedAt).value_or(QString()).toLongLong(&ok);
    return ok ? std::optional(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC)) : std::nullopt;
}

FilterRule filterRuleFrom(const QJsonObject &record, const QList<Calendar> &calendars,
                          const QDateTime &now)
{
    FilterRule rule;
    rule.id = text(record, QStringLiteral("id"));
    rule.name = text(record, QStringLiteral("name"));
    rule.type = text(record, QStringLiteral("type"));
    rule.action = text(record, QStringLiteral("action"));
    rule.enabled = boolean(record, QStringLiteral("enabled"), false);
    rule.priority = integer(record, QStringLiteral("priority"), 0);
    const QJsonValue conditions = record.value(QStringLiteral("conditions"));
    if (conditions.isObject())
        rule.conditions = compact(conditions.toObject());
    else if (conditions.isString())
        rule.conditions = conditions.toString();
    else
        rule.conditions = QStringLiteral("{}");
    rule.calendar_ids = jsonTextArray(
        storedIdsForKeys(textElements(record.value(QStringLiteral("calendar_keys"))), calendars));
    rule.event_uid = text(record, QStringLiteral("event_uid"));
    rule.event_calendar_id
        = storedIdForKey(text(record, QStringLiteral("event_calendar_key")), calendars);
    rule.suppress_reminders = boolean(record, QStringLiteral("suppress_reminders"), false);
    rule.created_at = jsonDateTime(record.value(QStringLiteral("created_at")), now);
    rule.updated_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now);
    return rule;
}

CalendarView calendarViewFrom(const QJsonObject &record, const QList<Calendar> &calendars,
                              const QDateTime &now)
{
    CalendarView view;
    view.id = text(record, QStringLiteral("id"));
    view.name = text(record, QStringLiteral("name"));
    view.color = text(record, QStringLiteral("color"));
    view.calendar_ids = jsonTextArray(
        storedIdsForKeys(textElements(record.value(QStringLiteral("calendar_keys"))), calendars));
    view.is_default = boolean(record, QStringLiteral("is_default"), false);
    view.sort_order = integer(record, QStringLiteral("sort_order"), 0);
    view.created_at = jsonDateTime(record.value(QStringLiteral("created_at")), now);
    view.updated_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now);
    return view;
}

EventTemplate eventTemplateFrom(const QJsonObject &record, const QList<Calendar> &calendars,
                                const QDateTime &now)
{
    EventTemplate t;
    t.id = text(record, QStringLiteral("id"));
    t.name = text(record, QStringLiteral("name"));
    t.title = text(record, QStringLiteral("title"));
    t.description = text(record, QStringLiteral("description"));
    t.location = text(record, QStringLiteral("location"));
    t.color = text(record, QStringLiteral("color"));
    t.recurrence_rule = text(record, QStringLiteral("recurrence_rule"));
    t.is_all_day = boolean(record, QStringLiteral("is_all_day"), false);
    t.duration_minutes = integer(record, QStringLiteral("duration_minutes"), 60);
    t.sort_order = integer(record, QStringLiteral("sort_order"), 0);
    const QJsonArray reminders = record.value(QStringLiteral("reminders")).toArray();
    for (const QJsonValue &minutes : reminders)
        t.reminders << (minutes.isDouble() ? minutes.toInt(0) : 0);
    t.calendar_id = storedIdForKey(text(record, QStringLiteral("calendar_key")), calendars);
    t.created_at = jsonDateTime(record.value(QStringLiteral("created_at")), now);
    t.updated_at = jsonDateTime(record.value(QStringLiteral("updated_at")), now);
    return t;
}

QJsonObject contentOf(QJsonObject record)
{
    record.remove(QStringLiteral("created_at"));
    record.remove(QStringLiteral("updated_at"));
    return record;
}

QJsonObject preferenceContent(const QJsonObject &record)
{
    QJsonObject content;
    for (const char *key : {"is_visible", "color_override", "display_name_override", "sort_order",
                            "sync_enabled", "updated_at"}) {
        const QString name = QString::fromLatin1(key);
        if (record.contains(name))
            content.insert(name, record.value(name));
    }
    return content;
}

bool incomingWins(const QJsonObject &incoming, const QJsonObject &local)
{
    if (contentOf(incoming) == contentOf(local))
        return false;
    // The cloud keeps the later of two copies and, of two with the same time, the one pushed
    // last; what a pull brings is that copy. Deciding as the cloud does, at the precision the
    // times are kept, makes every device end with the same one.
    const auto time = [](const QJsonObject &record) {
        return record.value(QStringLiteral("updated_at")).toDouble();
    };
    return time(incoming) >= time(local);
}

} // namespace Larkspindle::ConfigRecords
