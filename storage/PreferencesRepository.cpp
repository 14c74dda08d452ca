#include "storage/PreferencesRepository.h"

#include "storage/AllOrNothing.h"
#include "storage/Database.h"
#include "storage/SqlReader.h"

#include <QSqlDatabase>
#include <QSqlQuery>

PreferencesRepository::PreferencesRepository(Database *db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{ }

std::optional<QString> PreferencesRepository::get(const QString &key) const
{
    return Sql::readOne<QString>(
        m_db->connection(), QStringLiteral("SELECT value FROM settings WHERE key = ?"), {key},
        "PreferencesRepository::get failed:", [](const Sql::Reader &r) { return r.text(0); });
}

QString PreferencesRepository::getString(const QString &key, const QString &defaultValue) const
{
    return get(key).value_or(defaultValue);
}

bool PreferencesRepository::getBool(const QString &key, bool defaultValue) const
{
    const std::optional<QString> v = get(key);
    if (!v)
        return defaultValue;
    return *v == QLatin1String("1") || *v == QLatin1String("true");
}

int PreferencesRepository::getInt(const QString &key, int defaultValue) const
{
    const std::optional<QString> v = get(key);
    if (!v)
        return defaultValue;
    bool ok = false;
    const int n = v->toInt(&ok, 10);
    return ok ? n : defaultValue;
}

bool PreferencesRepository::set(const QString &key, const QString &value)
{
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("INSERT INTO settings (key, value) VALUES (?, ?) "
                             "ON CONFLICT(key) DO UPDATE SET value = excluded.value"));
    q.addBindValue(key);
    // A null text would bind as NULL and fail on the NOT NULL column.
    q.addBindValue(value.isNull() ? QStringLiteral("") : value);
    if (!q.exec())
        return false;
    emit changed(key);
    return true;
}

bool PreferencesRepository::setBool(const QString &key, bool value)
{
    return set(key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool PreferencesRepository::setInt(const QString &key, int value)
{
    return set(key, QString::number(value));
}

bool PreferencesRepository::remove(const QString &key)
{
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("DELETE FROM settings WHERE key = ?"));
    q.addBindValue(key);
    return q.exec();
}

QHash<QString, QString> PreferencesRepository::readFromFile(const QString &path,
                                                            const QStringList &keys)
{
    QHash<QString, QString> values;
    const QString name = QStringLiteral("preferences-read-only");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Read-only, SQLite neither makes a missing file nor changes one that is there.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT key, value FROM settings"))) {
                while (q.next()) {
                    if (keys.contains(q.value(0).toString()))
                        values.insert(q.value(0).toString(), q.value(1).toString());
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return values;
}

PreferencesRepository::Stored PreferencesRepository::setTogether(const QString &name,
                                                                 const QStringList &keys,
                                                                 const std::function<bool()> &write)
{
    const auto announce = [&] {
        for (const QString &key : keys)
            emit changed(key);
    };
    if (Sql::applyAllOrNothing(m_db->connection(), name, {this}, write, announce))
        return Stored::All;
    return m_db->lastFailureWasBusy() ? Stored::NoneBusy : Stored::None;
}
