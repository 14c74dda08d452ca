#include "storage/AccountRepository.h"

#include "storage/Database.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

const QString kColumns = QStringLiteral(
    "id, name, type, server_url, username, calendar_home_set, principal_url, "
    "sync_interval_minutes, last_sync_time, last_sync_error, enabled, color, "
    "exclude_from_sync, trusted_cert_sha256, pending_cert_sha256, created_at, updated_at, "
    "deleted_at");

bool isCalDavFamily(const QString &type)
{
    return type == QLatin1String("caldav") || type == QLatin1String("icloud")
        || type == QLatin1String("zoho");
}

// Name to pending certificate, in column order: the fields insert and update both write.
void bindFields(QSqlQuery &q, const Account &a)
{
    q.addBindValue(Sql::text(a.name));
    q.addBindValue(Sql::text(a.type));
    q.addBindValue(Sql::text(a.server_url));
    q.addBindValue(Sql::text(a.username));
    q.addBindValue(Sql::text(a.calendar_home_set));
    q.addBindValue(Sql::text(a.principal_url));
    q.addBindValue(a.sync_interval_minutes);
    q.addBindValue(Sql::dateTime(a.last_sync_time));
    q.addBindValue(Sql::text(a.last_sync_error));
    q.addBindValue(a.enabled ? 1 : 0);
    q.addBindValue(Sql::text(a.color));
    q.addBindValue(a.exclude_from_sync ? 1 : 0);
    q.addBindValue(Sql::text(a.trusted_cert_sha256));
    q.addBindValue(Sql::text(a.pending_cert_sha256));
}

} // namespace

AccountRepository::AccountRepository(Database *db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{ }

Account AccountRepository::readRow(const Sql::Reader &r)
{
    Account a;
    a.id = r.text(0);
    a.name = r.text(1);
    a.type = r.text(2);
    a.server_url = r.text(3);
    a.username = r.text(4);
    a.calendar_home_set = r.text(5);
    a.principal_url = r.text(6);
    a.sync_interval_minutes = r.integer(7);
    a.last_sync_time = r.optionalDateTime(8);
    a.last_sync_error = r.text(9);
    a.enabled = r.integer(10) != 0;
    a.color = r.text(11);
    a.exclude_from_sync = r.integer(12) != 0;
    a.trusted_cert_sha256 = r.text(13);
    a.pending_cert_sha256 = r.text(14);
    a.created_at = r.dateTime(15);
    a.updated_at = r.dateTime(16);
    a.deleted_at = r.optionalDateTime(17);
    return a;
}

QList<Account> AccountRepository::list(const QString &sql, const QStringList &values,
                                       const char *logName) const
{
    return Sql::readAll<Account>(m_db->connection(), sql.arg(kColumns), values, logName, &readRow);
}

QList<Account> AccountRepository::listActive() const
{
    return list(QStringLiteral(
                    "SELECT %1 FROM accounts WHERE deleted_at IS NULL ORDER BY sort_order, name"),
                {}, "AccountRepository::listActive failed:");
}

QList<Account> AccountRepository::listAll() const
{
    return list(QStringLiteral("SELECT %1 FROM accounts ORDER BY sort_order, name"), {},
                "AccountRepository::listAll failed:");
}

std::optional<Account> AccountRepository::byId(const QString &id) const
{
    const QList<Account> rows
        = list(QStringLiteral("SELECT %1 FROM accounts WHERE id = ? AND deleted_at IS NULL"), {id},
               "AccountRepository::byId failed:");
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<Account> AccountRepository::byIdentity(const QString &type, const QString &serverUrl,
                                                     const QString &username) const
{
    if (serverUrl.isEmpty() || username.isEmpty())
        return std::nullopt;
    const QList<Account> rows
        = list(QStringLiteral("SELECT %1 FROM accounts WHERE type = ? AND server_url = ? AND "
                              "username = ? AND deleted_at IS NULL"),
               {type, serverUrl, username}, "AccountRepository::byIdentity failed:");
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

bool AccountRepository::insert(const Account &a)
{
    if (a.id.isEmpty()) {
        qWarning() << "AccountRepository::insert failed:"
                   << "the account has no id";
        return false;
    }
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral(
        "INSERT INTO accounts (id, name, type, server_url, username, calendar_home_set, "
        "principal_url, sync_interval_minutes, last_sync_time, last_sync_error, enabled, "
        "color, exclude_from_sync, trusted_cert_sha256, pending_cert_sha256, created_at, "
        "updated_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(a.id);
    bindFields(q, a);
    q.addBindValue(Sql::dateTime(a.created_at));
    q.addBindValue(Sql::dateTime(a.updated_at));
    if (!q.exec()) {
        qWarning() << "AccountRepository::insert failed:" << q.lastError().text();
        return false;
    }
    emit accountsChanged();
    return true;
}

bool AccountRepository::update(const Account &a)
{
    QSqlQuery q(m_db->connection());
    q.prepare(
        QStringLiteral("UPDATE accounts SET name = ?, type = ?, server_url = ?, username = ?, "
                       "calendar_home_set = ?, principal_url = ?, sync_interval_minutes = ?, "
                       "last_sync_time = ?, last_sync_error = ?, enabled = ?, color = ?, "
                       "exclude_from_sync = ?, trusted_cert_sha256 = ?, pending_cert_sha256 = ?, "
                       "updated_at = ? WHERE id = ?"));
    bindFields(q, a);
    q.addBindValue(Sql::dateTime(m_db->currentDateTimeUtc()));
    q.addBindValue(a.id);
    if (!q.exec()) {
        qWarning() << "AccountRepository::update failed:" << q.lastError().text();
        return false;
    }
    emit accountsChanged();
    return true;
}

bool AccountRepository::softRemove(const QString &id)
{
    const QVariant now = Sql::dateTime(m_db->currentDateTimeUtc());
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("UPDATE accounts SET deleted_at = ?, updated_at = ? WHERE id = ?"));
    q.addBindValue(now);
    q.addBindValue(now);
    q.addBindValue(id);
    if (!q.exec()) {
        qWarning() << "AccountRepository::remove failed:" << q.lastError().text();
        return false;
    }
    return true;
}

bool AccountRepository::remove(const QString &id)
{
    if (!softRemove(id))
        return false;
    emit accountsChanged();
    return true;
}

bool AccountRepository::reapTombstone(const QString &id)
{
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("DELETE FROM accounts WHERE id = ? AND deleted_at IS NOT NULL"));
    q.addBindValue(id);
    if (!q.exec()) {
        qWarning() << "AccountRepository::reapTombstone failed:" << q.lastError().text();
        return false;
    }
    return true;
}

bool AccountRepository::restore(const QString &id)
{
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("UPDATE accounts SET deleted_at = NULL, updated_at = ? "
                             "WHERE id = ? AND deleted_at IS NOT NULL"));
    q.addBindValue(Sql::dateTime(m_db->currentDateTimeUtc()));
    q.addBindValue(id);
    if (!q.exec() || q.numRowsAffected() != 1) {
        qWarning() << "AccountRepository::restore failed:" << q.lastError().text();
        return false;
    }
    emit accountsChanged();
    return true;
}

int AccountRepository::purge(const QString &id)
{
    const int removed
        = Sql::runCounting(m_db->connection(), QStringLiteral("DELETE FROM accounts WHERE id = ?"),
                           {id}, "AccountRepository::purge failed:");
    if (removed > 0)
        emit accountsChanged();
    return std::max(0, removed);
}

bool AccountRepository::reorder(const QStringList &ids)
{
    if (ids.isEmpty())
        return true;
    if (!Sql::renumber(
            m_db->connection(),
            QStringLiteral("UPDATE accounts SET sort_order = ?, updated_at = ? WHERE id = ?"), ids,
            Sql::dateTime(m_db->currentDateTimeUtc())))
        return false;
    emit accountsChanged();
    return true;
}

int AccountRepository::dedupeAccounts()
{
    const QList<Account> all = listAll();

    // Groups keep the order of the full list so that equal creation times fall back to it.
    QHash<QString, QList<Account>> groups;
    QStringList keys;
    for (const Account &a : all) {
        if (a.deleted_at || !isCalDavFamily(a.type) || a.server_url.isEmpty()
            || a.username.isEmpty())
            continue;
        const QString key
            = a.type + QLatin1Char('|') + a.server_url + QLatin1Char('|') + a.username;
        if (!groups.contains(key))
            keys.append(key);
        groups[key].append(a);
    }

    int merged = 0;
    for (const QString &key : std::as_const(keys)) {
        QList<Account> members = groups.value(key);
        if (members.size() < 2)
            continue;
        std::stable_sort(members.begin(), members.end(), [](const Account &x, const Account &y) {
            return x.created_at < y.created_at;
        });
        const QString survivor = members.first().id;
        for (qsizetype i = 1; i < members.size(); ++i) {
            const QString id = members.at(i).id;
            // Moving the calendars and tombstoning the duplicate go together or not at all.
            Sql::Savepoint sp(m_db->connection(), QStringLiteral("account_dedupe"));
            if (!sp.isActive())
                continue;
            QSqlQuery q(m_db->connection());
            q.prepare(QStringLiteral("UPDATE calendars SET account_id = ? WHERE account_id = ?"));
            q.addBindValue(survivor);
            q.addBindValue(id);
            if (!q.exec()) {
                qWarning() << "AccountRepository::dedupeAccounts failed:" << q.lastError().text();
                continue;
            }
            if (!softRemove(id) || !sp.release())
                continue;
            emit accountsChanged();
            ++merged;
        }
    }
    return merged;
}
