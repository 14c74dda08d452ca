#include "storage/ViewRepository.h"

#include "storage/Database.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>

namespace {

const QString kColumns = QStringLiteral("id, name, color, calendar_ids, is_default, sort_order, "
                                        "sync_status, created_at, updated_at, deleted_at");

CalendarView readRow(const Sql::Reader &r)
{
    CalendarView v;
    v.id = r.text(0);
    v.name = r.text(1);
    v.color = r.text(2);
    v.calendar_ids = r.text(3);
    v.is_default = r.integer(4) != 0;
    v.sort_order = r.integer(5);
    v.sync_status = r.text(6);
    v.created_at = r.dateTime(7);
    v.updated_at = r.dateTime(8);
    v.deleted_at = r.optionalDateTime(9);
    return v;
}

} // namespace

ViewRepository::ViewRepository(Database *db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{ }

QList<CalendarView> ViewRepository::list(const QString &sql, const QStringList &values,
                                         const char *logName) const
{
    return Sql::readAll<CalendarView>(m_db->connection(), sql.arg(kColumns), values, logName,
                                      &readRow);
}

QList<CalendarView> ViewRepository::listActive() const
{
    return list(QStringLiteral("SELECT %1 FROM calendar_views WHERE deleted_at IS NULL ORDER BY "
                               "is_default DESC, sort_order, name"),
                {}, "ViewRepository::listActive failed:");
}

QList<CalendarView> ViewRepository::listAll() const
{
    return list(
        QStringLiteral("SELECT %1 FROM calendar_views ORDER BY is_default DESC, sort_order, name"),
        {}, "ViewRepository::listAll failed:");
}

std::optional<CalendarView> ViewRepository::byId(const QString &id) const
{
    return Sql::readOne<CalendarView>(
        m_db->connection(),
        QStringLiteral("SELECT %1 FROM calendar_views WHERE id = ?").arg(kColumns), {id},
        "ViewRepository::byId failed:", &readRow);
}

bool ViewRepository::insert(const CalendarView &v)
{
    if (v.id.isEmpty()) {
        // SQLite would accept the empty key, and the group could not be told apart.
        qWarning() << "ViewRepository::insert failed:"
                   << "the group has no id";
        return false;
    }
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("INSERT INTO calendar_views (id, name, color, calendar_ids, "
                                 "is_default, sort_order, sync_status, created_at, updated_at) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {v.id, Sql::text(v.name), Sql::text(v.color), Sql::text(v.calendar_ids),
                   v.is_default ? 1 : 0, v.sort_order, Sql::text(v.sync_status),
                   Sql::dateTime(v.created_at), Sql::dateTime(v.updated_at)},
                  &error)) {
        qWarning() << "ViewRepository::insert failed:" << error;
        return false;
    }
    emit viewsChanged();
    return true;
}

bool ViewRepository::storeSynced(const CalendarView &v)
{
    if (v.id.isEmpty())
        return false;
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("INSERT OR REPLACE INTO calendar_views (%1) VALUES (?, ?, ?, ?, "
                                 "?, ?, ?, ?, ?, ?)")
                      .arg(kColumns),
                  {v.id, Sql::text(v.name), Sql::text(v.color), Sql::text(v.calendar_ids),
                   v.is_default ? 1 : 0, v.sort_order, Sql::text(v.sync_status),
                   Sql::dateTime(v.created_at), Sql::dateTime(v.updated_at),
                   Sql::dateTime(v.deleted_at)},
                  &error)) {
        qWarning() << "ViewRepository::storeSynced failed:" << error;
        return false;
    }
    emit viewsChanged();
    return true;
}

bool ViewRepository::update(const CalendarView &v)
{
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("UPDATE calendar_views SET name = ?, color = ?, calendar_ids = ?, "
                                 "is_default = ?, sort_order = ?, sync_status = ?, "
                                 "updated_at = MAX(?, updated_at) WHERE id = ?"),
                  {Sql::text(v.name), Sql::text(v.color), Sql::text(v.calendar_ids),
                   v.is_default ? 1 : 0, v.sort_order, Sql::text(v.sync_status),
                   Sql::dateTime(m_db->currentDateTimeUtc()), v.id},
                  &error)) {
        qWarning() << "ViewRepository::update failed:" << error;
        return false;
    }
    emit viewsChanged();
    return true;
}

bool ViewRepository::remove(const QString &id)
{
    if (!Sql::markDeleted(m_db->connection(), QStringLiteral("calendar_views"), id,
                          Sql::dateTime(m_db->currentDateTimeUtc())))
        return false;
    emit viewsChanged();
    return true;
}

bool ViewRepository::hardDelete(const QString &id)
{
    if (!Sql::run(m_db->connection(), QStringLiteral("DELETE FROM calendar_views WHERE id = ?"),
                  {id}))
        return false;
    emit viewsChanged();
    return true;
}

bool ViewRepository::reorder(const QStringList &ids)
{
    if (ids.isEmpty())
        return true;
    if (!Sql::renumber(m_db->connection(),
                       QStringLiteral("UPDATE calendar_views SET sort_order = ?, sync_status = "
                                      "'pending', updated_at = MAX(?, updated_at) WHERE id = ?"),
                       ids, Sql::dateTime(m_db->currentDateTimeUtc())))
        return false;
    emit viewsChanged();
    return true;
}
