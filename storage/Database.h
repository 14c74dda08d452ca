#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

// Owns the one connection to "calendar.db" (Qt's default connection, GUI thread only) and
// brings its schema up to date with the embedded migration scripts.
class Database : public QObject
{
    Q_OBJECT
public:
    struct Migration
    {
        int version = 0;
        QString name;
        QString resourcePath;
    };

    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    [[nodiscard]] bool open(const QString &path);
    [[nodiscard]] bool migrate();
    QSqlDatabase &connection() { return m_db; }
    bool isOpen() const { return m_opened; }

    // The built-in migrations in version order.
    static const QList<Migration> &builtinMigrations();
    // Replaces the migrations that migrate() applies (tests build older schema versions).
    void setMigrations(const QList<Migration> &migrations) { m_migrations = migrations; }

    // "Now" for the time stamps the repositories write; the wall clock unless replaced.
    QDateTime currentDateTimeUtc() const;
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // Splits a migration script into statements, line by line: drops "--" lines, ends a
    // statement at a line ending in ";" outside BEGIN ... END blocks.
    static QStringList splitStatements(const QString &script);

signals:
    void migrationApplied(int version, const QString &name);
    void migrationError(int version, const QString &error);

private:
    bool applyMigration(int version, const QString &name, const QString &script);
    bool checkWritable();

    QSqlDatabase m_db;
    bool m_opened = false;
    QList<Migration> m_migrations;
    std::function<QDateTime()> m_clock;
};
