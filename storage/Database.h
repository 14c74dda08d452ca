#pragma once

#include "storage/SqlReader.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

// Owns a connection to "calendar.db" and brings its schema up to date with the embedded
// migration scripts. The program's is Qt's default connection, on the GUI thread only; an import
// writes from a thread of its own through another, opened and used there alone.
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

    // How long a statement waits for another connection's write lock before it fails. The
    // connection lives on the GUI thread, so only a moment: a write the user made is kept by
    // its caller and tried again later (QuickAddQueue), not waited for here.
    static constexpr int kBusyTimeoutMs = 200;
    // Migrations run at start-up, before any window. A start waits for another program's write
    // before it opens the database (anotherWriterHolds), saying so; one that begins meanwhile
    // fails the migration soon, as busy, and the start waits for it the same way.
    static constexpr int kMigrationBusyTimeoutMs = 1000;

    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    // A connection name other than Qt's default is for a connection of another thread.
    [[nodiscard]] bool open(const QString &path,
                            const QString &connectionName
                            = QString::fromLatin1(QSqlDatabase::defaultConnection));
    [[nodiscard]] bool migrate();
    QSqlDatabase &connection() { return m_db; }
    // Replace the waits above (tests scale them down); the statements' wait applies at once.
    void setBusyTimeouts(int statementMs, int migrationMs);
    // Sets the statements' wait alone, for a while; answers the wait it replaced.
    int setStatementWait(int ms);
    // The last statement failed because another connection holds the write lock: the same
    // write may succeed later.
    [[nodiscard]] bool lastFailureWasBusy();
    // The last statement failed because the disk (or the database's size limit) is full.
    [[nodiscard]] bool lastFailureWasFull();
    // A writer that works through many short transactions from a thread of its own (an import)
    // ends its transaction early and lets these go first: another connection of this program
    // has been waiting for the write lock just now.
    [[nodiscard]] static bool anotherConnectionWaits();
    // This connection is such a writer: its own waits are not counted above, and while it is
    // open it alone copies the log into the database, so that no write of the window pays for
    // a copy of what it wrote.
    void setBackgroundWriter(bool background);
    // Copies what is in the log into the database, without waiting for anyone: true when all of
    // it is copied, so that the next write starts the log again from its head. A reader that
    // began before the last commit keeps that commit's pages in the log until it ends.
    [[nodiscard]] bool copyLog();
    // What the last commit of this connection had written into the log since it was last
    // copied into the database. A commit that leaves more than SQLite's usual 1000 pages there
    // copies it (its automatic checkpoint), so the log starts again from its head.
    [[nodiscard]] qint64 logBytesAtLastCommit() const { return m_logBytes; }
    bool isOpen() const { return m_opened; }
    // Why the last open() or migrate() failed, in SQLite's words; empty after a success.
    QString openFailure() const { return m_openFailure; }
    // That failure was another connection's write lock, not a database that refuses writes.
    bool openFailureWasBusy() const { return m_openFailureBusy; }
    // Another connection holds the write lock of the database at path right now. False where
    // the file cannot be opened for writing or is no database: opening it says why.
    [[nodiscard]] static bool anotherWriterHolds(const QString &path);

    // The built-in migrations in version order.
    static const QList<Migration> &builtinMigrations();
    // Replaces the migrations that migrate() applies (tests build older schema versions).
    void setMigrations(const QList<Migration> &migrations) { m_migrations = migrations; }

    // "Now" for the time stamps the repositories write: the program clock, in UTC.
    QDateTime currentDateTimeUtc() const;

    // Splits a migration script into statements, line by line: drops "--" lines, ends a
    // statement at a line ending in ";" outside BEGIN ... END blocks.
    static QStringList splitStatements(const QString &script);

    // Tells the watcher of every row this connection inserts, updates or deletes in the main
    // database (table and rowid, as SQLite reports them, also for writes later rolled back),
    // for as long as owner lives.
    void watchRowWrites(QObject *owner,
                        std::function<void(QByteArrayView table, qint64 rowid)> watcher);
    // Where the data stands for readers that keep records of rows and hear of this
    // connection's row writes through watchRowWrites: it stays put across commits of this
    // connection that wrote rows, and moves with anything else that can change rows (a commit
    // of another connection once this one has read since, a commit that wrote no row, such as
    // a VACUUM). Invalid while the connection is closed or inside a transaction.
    Sql::DataVersion rowVersion();

signals:
    void migrationApplied(int version, const QString &name);
    void migrationError(int version, const QString &error);

private:
    bool migrateSchema();
    void applyBusyTimeout(int ms);
    bool applyMigration(int version, const QString &name, const QString &script);
    bool checkWritable();
    // Notes why opening or migrating failed, while the connection still tells whether it was
    // another connection's write lock.
    void noteOpenFailure(const QString &error);

    static void onRowWrite(void *self, int op, const char *database, const char *table,
                           qint64 rowid);
    static int onCommit(void *self);
    static int onBusy(void *self, int count);
    static int onLogWritten(void *self, struct sqlite3 *handle, const char *database, int pages);
    // The program calls SQLite itself on the handle Qt's driver opened: sound only while both
    // use one SQLite library. An empty text when they do, else why not.
    QString librarySharedWithDriver();
    static void onRollback(void *self);

    QSqlDatabase m_db;
    bool m_opened = false;
    std::vector<std::pair<QObject *, std::function<void(QByteArrayView, qint64)>>> m_watchers;
    bool m_rowsWritten = false; // in the transaction under way
    unsigned m_rowCommits = 0; // commits that wrote rows
    QList<Migration> m_migrations;
    QString m_openFailure;
    bool m_openFailureBusy = false;
    bool m_backgroundWriter = false;
    qint64 m_pageSize = 4096;
    qint64 m_logBytes = 0;
    QElapsedTimer m_busySince; // since the first try of the current wait for the write lock
    int m_waitMs = kBusyTimeoutMs; // the wait in force
    int m_busyTimeoutMs = kBusyTimeoutMs;
    int m_migrationBusyTimeoutMs = kMigrationBusyTimeoutMs;
};
