#include "storage/QuickAddKeyRepository.h"

#include "storage/Database.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"

bool QuickAddKeyRepository::insert(const QString &key, const QDateTime &storedAt)
{
    return Sql::run(m_db->connection(),
                    QStringLiteral("INSERT INTO quick_add_keys (key, stored_at) VALUES (?, ?)"),
                    {key, storedAt.toUTC().toString(Qt::ISODate)});
}

QSet<QString> QuickAddKeyRepository::storedAmong(const QStringList &keys) const
{
    QSet<QString> stored;
    (void)Sql::forEachChunk(keys, [&](const QStringList &chunk) {
        const QList<QString> found = Sql::readAll<QString>(
            m_db->connection(),
            QStringLiteral("SELECT key FROM quick_add_keys WHERE key ") + Sql::kInJsonList,
            {Sql::jsonList(chunk)}, "QuickAddKeyRepository::storedAmong failed:",
            [](const Sql::Reader &r) { return r.text(0); });
        for (const QString &key : found)
            stored.insert(key);
        return true;
    });
    return stored;
}

void QuickAddKeyRepository::forgetBefore(const QDateTime &time)
{
    (void)Sql::run(m_db->connection(),
                   QStringLiteral("DELETE FROM quick_add_keys WHERE stored_at < ?"),
                   {time.toUTC().toString(Qt::ISODate)});
}
