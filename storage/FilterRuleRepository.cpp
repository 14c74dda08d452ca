#include "storage/FilterRuleRepository.h"

#include "storage/Database.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>

namespace {

const QString kColumns = QStringLiteral(
    "id, name, type, enabled, calendar_ids, conditions, action, priority, event_uid, "
    "event_calendar_id, suppress_reminders, sync_status, created_at, updated_at, deleted_at");

FilterRule readRow(const Sql::Reader &row)
{
    FilterRule r;
    r.id = row.text(0);
    r.name = row.text(1);
    r.type = row.text(2);
    r.enabled = row.integer(3) != 0;
    r.calendar_ids = row.text(4);
    r.conditions = row.text(5);
    r.action = row.text(6);
    r.priority = row.integer(7);
    r.event_uid = row.text(8);
    r.event_calendar_id = row.text(9);
    r.suppress_reminders = row.integer(10) != 0;
    r.sync_status = row.text(11);
    r.created_at = row.dateTime(12);
    r.updated_at = row.dateTime(13);
    r.deleted_at = row.optionalDateTime(14);
    return r;
}

// The values shared by insert and update, from name to sync status.
QVariantList ruleValues(const FilterRule &r)
{
    return {Sql::text(r.name),
            Sql::text(r.type),
            r.enabled ? 1 : 0,
            Sql::text(r.calendar_ids),
            Sql::text(r.conditions),
            Sql::text(r.action),
            r.priority,
            Sql::text(r.event_uid),
            Sql::text(r.event_calendar_id),
            r.suppress_reminders ? 1 : 0,
            Sql::text(r.sync_status)};
}

} // namespace

FilterRuleRepository::FilterRuleRepository(Database *db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{ }

QList<FilterRule> FilterRuleRepository::list(const QString &sql, const char *logName) const
{
    return Sql::readAll<FilterRule>(m_db->connection(), sql.arg(kColumns), {}, logName, &readRow);
}

QList<FilterRule> FilterRuleRepository::listActive() const
{
    return list(QStringLiteral(
                    "SELECT %1 FROM filter_rules WHERE deleted_at IS NULL ORDER BY priority, name"),
                "FilterRuleRepository::listActive failed:");
}

QList<FilterRule> FilterRuleRepository::listEnabled() const
{
    return list(QStringLiteral("SELECT %1 FROM filter_rules WHERE deleted_at IS NULL AND enabled "
                               "= 1 ORDER BY priority, name"),
                "FilterRuleRepository::listEnabled failed:");
}

QList<FilterRule> FilterRuleRepository::listAll() const
{
    return list(QStringLiteral("SELECT %1 FROM filter_rules ORDER BY priority, name"),
                "FilterRuleRepository::listAll failed:");
}

std::optional<FilterRule> FilterRuleRepository::byId(const QString &id) const
{
    return Sql::readOne<FilterRule>(
        m_db->connection(),
        QStringLiteral("SELECT %1 FROM filter_rules WHERE id = ?").arg(kColumns), {id},
        "FilterRuleRepository::byId failed:", &readRow);
}

bool FilterRuleRepository::insert(const FilterRule &rule)
{
    if (rule.id.isEmpty()) {
        // SQLite would accept the empty key, and the rule could not be told apart.
        qWarning() << "FilterRuleRepository::insert failed:"
                   << "the rule has no id";
        return false;
    }
    const QVariantList values = QVariantList {rule.id} + ruleValues(rule)
        + QVariantList {Sql::dateTime(rule.created_at), Sql::dateTime(rule.updated_at)};
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("INSERT INTO filter_rules (id, name, type, enabled, calendar_ids, "
                                 "conditions, action, priority, event_uid, event_calendar_id, "
                                 "suppress_reminders, sync_status, created_at, updated_at) VALUES "
                                 "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  values, &error)) {
        qWarning() << "FilterRuleRepository::insert failed:" << error;
        return false;
    }
    emit filterRulesChanged();
    return true;
}

bool FilterRuleRepository::storeSynced(const FilterRule &rule)
{
    if (rule.id.isEmpty())
        return false;
    const QVariantList values = QVariantList {rule.id} + ruleValues(rule)
        + QVariantList {Sql::dateTime(rule.created_at), Sql::dateTime(rule.updated_at),
                        Sql::dateTime(rule.deleted_at)};
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("INSERT OR REPLACE INTO filter_rules (%1) VALUES (?, ?, ?, ?, ?, "
                                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(kColumns),
                  values, &error)) {
        qWarning() << "FilterRuleRepository::storeSynced failed:" << error;
        return false;
    }
    emit filterRulesChanged();
    return true;
}

bool FilterRuleRepository::update(const FilterRule &rule)
{
    const QVariantList values
        = ruleValues(rule) + QVariantList {Sql::dateTime(m_db->currentDateTimeUtc()), rule.id};
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("UPDATE filter_rules SET name = ?, type = ?, enabled = ?, "
                                 "calendar_ids = ?, conditions = ?, action = ?, priority = ?, "
                                 "event_uid = ?, event_calendar_id = ?, suppress_reminders = ?, "
                                 "sync_status = ?, updated_at = MAX(?, updated_at) WHERE id = ?"),
                  values, &error)) {
        qWarning() << "FilterRuleRepository::update failed:" << error;
        return false;
    }
    emit filterRulesChanged();
    return true;
}

bool FilterRuleRepository::setEnabled(const QString &id, bool enabled)
{
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("UPDATE filter_rules SET enabled = ?, sync_status = 'pending', "
                                 "updated_at = MAX(?, updated_at) WHERE id = ?"),
                  {enabled ? 1 : 0, Sql::dateTime(m_db->currentDateTimeUtc()), id}))
        return false;
    emit filterRulesChanged();
    return true;
}

bool FilterRuleRepository::remove(const QString &id)
{
    if (!Sql::markDeleted(m_db->connection(), QStringLiteral("filter_rules"), id,
                          Sql::dateTime(m_db->currentDateTimeUtc())))
        return false;
    emit filterRulesChanged();
    return true;
}

bool FilterRuleRepository::hardDelete(const QString &id)
{
    if (!Sql::run(m_db->connection(), QStringLiteral("DELETE FROM filter_rules WHERE id = ?"),
                  {id}))
        return false;
    emit filterRulesChanged();
    return true;
}

bool FilterRuleRepository::reorder(const QStringList &ids)
{
    if (ids.isEmpty())
        return true;
    if (!Sql::renumber(m_db->connection(),
                       QStringLiteral("UPDATE filter_rules SET priority = ?, sync_status = "
                                      "'pending', updated_at = MAX(?, updated_at) WHERE id = ?"),
                       ids, Sql::dateTime(m_db->currentDateTimeUtc())))
        return false;
    emit filterRulesChanged();
    return true;
}
