#include "storage/CalendarRepository.h"

#include "storage/Database.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

const QString kColumns = QStringLiteral(
    "id, account_id, url, name, description, color, timezone, is_visible, is_read_only, "
    "is_default, ctag, sync_token, delta_sync_token, supported_components, sort_order, "
    "canonical_key, sync_enabled, is_shared, shared_with_me, last_sync_error, created_at, "
    "updated_at, preferences_changed_at");

const QString kDefaultColor = QStringLiteral("#4285F4");

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// Account to last sync error, in column order: the fields insert and update both write.
void bindFields(QSqlQuery &q, const Calendar &c)
{
    q.addBindValue(Sql::text(c.account_id));
    q.addBindValue(Sql::text(c.url));
    q.addBindValue(Sql::text(c.name));
    q.addBindValue(Sql::text(c.description));
    q.addBindValue(Sql::text(c.color));
    q.addBindValue(Sql::text(c.timezone));
    q.addBindValue(c.is_visible ? 1 : 0);
    q.addBindValue(c.is_read_only ? 1 : 0);
    q.addBindValue(c.is_default ? 1 : 0);
    q.addBindValue(Sql::text(c.ctag));
    q.addBindValue(Sql::text(c.sync_token));
    q.addBindValue(Sql::text(c.delta_sync_token));
    q.addBindValue(Sql::text(c.supported_components));
    q.addBindValue(c.sort_order);
    q.addBindValue(Sql::text(c.canonical_key));
    q.addBindValue(c.sync_enabled ? 1 : 0);
    q.addBindValue(c.is_shared ? 1 : 0);
    q.addBindValue(c.shared_with_me ? 1 : 0);
    q.addBindValue(Sql::text(c.last_sync_error));
}

} // namespace

QString normalizeCalendarColor(const QString &color)
{
    const QString t = color.trimmed();
    if (t.isEmpty())
        return kDefaultColor;
    const bool hashed = t.startsWith(QLatin1Char('#'));
    const QString hex = hashed ? t.mid(1) : t;
    if (hex.size() != 3 && hex.size() != 6 && hex.size() != 8)
        return kDefaultColor;
    for (QChar c : hex) {
        if (!isHexDigit(c))
            return kDefaultColor;
    }
    return hashed ? t : QLatin1Char('#') + t;
}

CalendarRepository::CalendarRepository(Database *db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{ }

Calendar CalendarRepository::readRow(const Sql::Reader &r)
{
    Calendar c;
    c.id = r.text(0);
    c.account_id = r.text(1);
    c.url = r.text(2);
    c.name = r.text(3);
    c.description = r.text(4);
    c.color = normalizeCalendarColor(r.text(5));
    c.timezone = r.text(6);
    c.is_visible = r.integer(7) != 0;
    c.is_read_only = r.integer(8) != 0;
    c.is_default = r.integer(9) != 0;
    c.ctag = r.text(10);
    c.sync_token = r.text(11);
    c.delta_sync_token = r.text(12);
    c.supported_components = r.text(13);
    c.sort_order = r.integer(14);
    c.canonical_key = r.text(15);
    c.sync_enabled = r.integer(16) != 0;
    c.is_shared = r.integer(17) != 0;
    c.shared_with_me = r.integer(18) != 0;
    c.last_sync_error = r.text(19);
    c.created_at = r.dateTime(20);
    c.updated_at = r.dateTime(21);
    c.preferences_changed_at = r.optionalDateTime(22);
    return c;
}

QList<Calendar> CalendarRepository::list(const QString &sql, const QStringList &values,
                                         const char *logName) const
{
    return Sql::readAll<Calendar>(m_db->connection(), sql.arg(kColumns), values, logName, &readRow);
}

QList<Calendar> CalendarRepository::listAll() const
{
    return list(QStringLiteral("SELECT %1 FROM calendars ORDER BY sort_order, name"), {},
                "CalendarRepository::listAll failed:");
}

QList<Calendar> CalendarRepository::listByAccount(const QString &accountId) const
{
    return list(
        QStringLiteral("SELECT %1 FROM calendars WHERE account_id = ? ORDER BY sort_order, name"),
        {accountId}, "CalendarRepository::listByAccount failed:");
}

std::optional<Calendar> CalendarRepository::byId(const QString &id) const
{
    return Sql::readOne<Calendar>(
        m_db->connection(), QStringLiteral("SELECT %1 FROM calendars WHERE id = ?").arg(kColumns),
        {id}, "CalendarRepository::byId failed:", &readRow);
}

bool CalendarRepository::insert(const Calendar &c)
{
    if (c.id.isEmpty()) {
        qWarning() << "CalendarRepository::insert failed:"
                   << "the calendar has no id";
        return false;
    }
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("INSERT INTO calendars (") + kColumns + QStringLiteral(") VALUES (")
              + Sql::placeholders(23) + QStringLiteral(")"));
    q.addBindValue(c.id);
    bindFields(q, c);
    q.addBindValue(Sql::dateTime(c.created_at));
    q.addBindValue(Sql::dateTime(c.updated_at));
    q.addBindValue(Sql::dateTime(c.preferences_changed_at));
    if (!q.exec()) {
        qWarning() << "CalendarRepository::insert failed:" << q.lastError().text();
        return false;
    }
    emit calendarsChanged();
    return true;
}

bool CalendarRepository::update(const Calendar &c)
{
    // A change of what the user chooses is dated now (or at the stored date when another
    // device dated it ahead of this clock); any other write keeps the stored date.
    const std::optional<Calendar> stored = byId(c.id);
    std::optional<QDateTime> chosen = stored ? stored->preferences_changed_at : std::nullopt;
    if (stored
        && (stored->name != c.name || stored->color != c.color || stored->is_visible != c.is_visible
            || stored->sort_order != c.sort_order || stored->sync_enabled != c.sync_enabled)) {
        const QDateTime now = m_db->currentDateTimeUtc();
        if (!chosen || *chosen < now)
            chosen = now;
    }
    return write(c, chosen);
}

bool CalendarRepository::storeSynced(const Calendar &c)
{
    return write(c, c.preferences_changed_at);
}

bool CalendarRepository::write(const Calendar &c, const std::optional<QDateTime> &chosen)
{
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral(
        "UPDATE calendars SET account_id = ?, url = ?, name = ?, description = ?, color = ?, "
        "timezone = ?, is_visible = ?, is_read_only = ?, is_default = ?, ctag = ?, "
        "sync_token = ?, delta_sync_token = ?, supported_components = ?, sort_order = ?, "
        "canonical_key = ?, sync_enabled = ?, is_shared = ?, shared_with_me = ?, "
        "last_sync_error = ?, updated_at = ?, preferences_changed_at = ? WHERE id = ?"));
    bindFields(q, c);
    q.addBindValue(Sql::dateTime(m_db->currentDateTimeUtc()));
    q.addBindValue(Sql::dateTime(chosen));
    q.addBindValue(c.id);
    if (!q.exec()) {
        qWarning() << "CalendarRepository::update failed:" << q.lastError().text();
        return false;
    }
    emit calendarsChanged();
    return true;
}

bool CalendarRepository::remove(const QString &id)
{
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("DELETE FROM calendars WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec()) {
        qWarning() << "CalendarRepository::remove failed:" << q.lastError().text();
        return false;
    }
    emit calendarsChanged();
    return true;
}

bool CalendarRepository::setDefault(const QString &id)
{
    const QVariant now = Sql::dateTime(m_db->currentDateTimeUtc());
    Sql::Savepoint sp(m_db->connection(), QStringLiteral("calendar_set_default"));
    if (!sp.isActive())
        return false;

    QSqlQuery clear(m_db->connection());
    clear.prepare(QStringLiteral(
        "UPDATE calendars SET is_default = 0, updated_at = ? WHERE is_default = 1 AND id != ?"));
    clear.addBindValue(now);
    clear.addBindValue(id);
    if (!clear.exec()) {
        qWarning() << "CalendarRepository::setDefault clear failed:" << clear.lastError().text();
        return false;
    }

    QSqlQuery set(m_db->connection());
    set.prepare(QStringLiteral("UPDATE calendars SET is_default = 1, updated_at = ? WHERE id = ?"));
    set.addBindValue(now);
    set.addBindValue(id);
    if (!set.exec()) {
        qWarning() << "CalendarRepository::setDefault set failed:" << set.lastError().text();
        return false;
    }

    if (!sp.release()) {
        qWarning() << "CalendarRepository::setDefault commit failed:" << sp.errorText();
        return false;
    }
    emit calendarsChanged();
    return true;
}

int CalendarRepository::purgeByIdPrefix(const QString &prefix)
{
    const int removed = Sql::runCounting(
        m_db->connection(), QStringLiteral("DELETE FROM calendars WHERE id LIKE ? ESCAPE '\\'"),
        {Sql::likePrefix(prefix)}, "CalendarRepository::purgeByIdPrefix failed:");
    emit calendarsChanged();
    return std::max(0, removed);
}
