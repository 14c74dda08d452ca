#pragma once

#include "storage/Database.h"

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

namespace LarkTest {

// A database file in its own temporary folder, opened on the default connection and migrated
// up to a version (all migrations by default).
class TestDatabase
{
public:
    explicit TestDatabase(int upToVersion = -1);
    ~TestDatabase();

    bool isValid() const { return m_valid; }
    Database *db() const { return m_db.get(); }
    QSqlDatabase &sql() const { return m_db->connection(); }
    QString path() const;
    QString dir() const { return m_dir.path(); }

    // Closes and reopens the file with a new Database object (migrations not applied).
    Database *reopen();
    void close();

    // Runs one statement with positional values; false (with a test warning) on failure.
    bool exec(const QString &statement, const QVariantList &values = {}) const;
    // The first column of the first row, or an invalid variant.
    QVariant scalar(const QString &statement, const QVariantList &values = {}) const;

    // Inserts an account and a calendar with these ids through plain SQL.
    bool addCalendar(const QString &calendarId, const QString &accountId = QStringLiteral("acc"));

    // Makes an update of the row with this id in table fail (failAt "update") or makes the
    // commit of the transaction that updated it fail (failAt "commit", through a deferred
    // foreign key that the update leaves broken).
    bool failUpdatesOf(const QString &table, const QString &id, const QString &failAt);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    bool m_valid = false;
};

// The first n built-in migrations.
QList<Database::Migration> migrationsUpTo(int n);

} // namespace LarkTest
