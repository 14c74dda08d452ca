#include "storage/Database.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using LarkTest::TestDatabase;

namespace {

const char *const kCrashChildEnv = "LARK_MIGRATION_CRASH_CHILD";

// The schema version the built-in migrations reach.
constexpr int kLatestVersion = 17;

QStringList dumpSchema(QSqlDatabase &db)
{
    QStringList out;
    QSqlQuery tables(db);
    tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                               "LIKE 'sqlite_%' ORDER BY name"));
    QStringList tableNames;
    while (tables.next())
        tableNames << tables.value(0).toString();

    for (const QString &t : std::as_const(tableNames)) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t));
        while (q.next()) {
            out << QStringList {t,
                                q.value(0).toString(),
                                q.value(1).toString(),
                                q.value(2).toString(),
                                q.value(3).toString(),
                                q.value(4).toString(),
                                q.value(5).toString()}
                       .join(QLatin1Char('|'));
        }
    }

    QSqlQuery idx(db);
    idx.exec(QStringLiteral("SELECT name, tbl_name FROM sqlite_master WHERE type = 'index' AND "
                            "name NOT LIKE 'sqlite_%' ORDER BY name"));
    QStringList wheres;
    while (idx.next()) {
        const QString name = idx.value(0).toString();
        const QString table = idx.value(1).toString();
        QSqlQuery list(db);
        list.exec(QStringLiteral("PRAGMA index_list(%1)").arg(table));
        QString unique, partial;
        while (list.next()) {
            if (list.value(1).toString() == name) {
                unique = list.value(2).toString();
                partial = list.value(4).toString();
            }
        }
        QSqlQuery info(db);
        info.exec(QStringLiteral("PRAGMA index_info(%1)").arg(name));
        QStringList cols;
        while (info.next())
            cols << (info.value(1).toInt() == -2 ? QStringLiteral("<expr>")
                                                 : info.value(2).toString());
        out << QStringList {QStringLiteral("index"),    name, table, unique, partial,
                            cols.join(QLatin1Char(','))}
                   .join(QLatin1Char('|'));
        if (partial == QLatin1String("1")) {
            QSqlQuery sql(db);
            sql.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = '%1'").arg(name));
            sql.next();
            const QString text = sql.value(0).toString().simplified();
            wheres << QStringLiteral("where|%1|%2")
                          .arg(name, text.mid(text.indexOf(QLatin1String("WHERE ")) + 6));
        }
    }

    for (const QString &t : std::as_const(tableNames)) {
        QSqlQuery fk(db);
        fk.exec(QStringLiteral("PRAGMA foreign_key_list(%1)").arg(t));
        while (fk.next()) {
            out << QStringList {QStringLiteral("fk"),   t,
                                fk.value(3).toString(), fk.value(2).toString(),
                                fk.value(4).toString(), fk.value(6).toString()}
                       .join(QLatin1Char('|'));
        }
    }
    out << wheres;

    // Every row of every data table; the seed group is the only one expected.
    static const QRegularExpression sqliteNow(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    for (const QString &t : std::as_const(tableNames)) {
        if (t == QLatin1String("schema_version"))
            continue;
        QSqlQuery rows(db);
        rows.exec(QStringLiteral("SELECT * FROM %1").arg(t));
        while (rows.next()) {
            QStringList fields {QStringLiteral("row"), t};
            for (int i = 0; i < rows.record().count(); ++i) {
                const QVariant v = rows.value(i);
                if (v.isNull())
                    fields << QStringLiteral("<null>");
                else if (sqliteNow.match(v.toString()).hasMatch())
                    fields << QStringLiteral("<now>");
                else
                    fields << v.toString();
            }
            out << fields.join(QLatin1Char('|'));
        }
    }
    return out;
}

QStringList goldenLines()
{
    QStringList lines;
    const QString text
        = QString::fromUtf8(LarkTest::readData(QStringLiteral("storage/schema.golden")));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            lines << line;
    }
    return lines;
}

QByteArray readResource(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Writes a migration script into dir and returns a migration entry pointing at it.
Database::Migration scriptMigration(const QString &dir, int version, const QByteArray &script)
{
    const QString path = dir + QStringLiteral("/m%1.sql").arg(version);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(script);
    return {version, QStringLiteral("test_%1").arg(version), path};
}

int schemaVersion(TestDatabase &t)
{
    return t.scalar(QStringLiteral("SELECT MAX(version) FROM schema_version")).toInt();
}

bool hasColumn(TestDatabase &t, const QString &table, const QString &column)
{
    return t.scalar(QStringLiteral("SELECT COUNT(*) FROM pragma_table_info(?) WHERE name = ?"),
                    {table, column})
               .toInt()
        == 1;
}

// Event rows with only the columns of the first schema version, so any fixture can take them.
bool addEventV1(TestDatabase &t, const QString &id, const QString &calendar, const QString &uid,
                const QVariant &recurrenceId, const QString &created)
{
    return t.exec(QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, start_time, "
                                 "raw_icalendar, recurrence_id, created) VALUES (?, ?, ?, ?, "
                                 "'2024-05-01T10:00:00Z', 'BEGIN:VEVENT', ?, ?)"),
                  QVariantList {id, calendar, uid, id, recurrenceId, created})
        && t.exec(
            QStringLiteral("INSERT INTO attendees (id, event_id, email) VALUES (?, ?, 'a@x')"),
            QVariantList {QString(id + QStringLiteral("-att")), id})
        && t.exec(
            QStringLiteral("INSERT INTO attachments (id, event_id, filename) VALUES (?, ?, 'f')"),
            QVariantList {QString(id + QStringLiteral("-file")), id})
        && t.exec(QStringLiteral(
                      "INSERT INTO reminders (id, event_id, minutes_before) VALUES (?, ?, 15)"),
                  QVariantList {QString(id + QStringLiteral("-rem")), id});
}

QStringList column(TestDatabase &t, const QString &statement)
{
    QStringList out;
    QSqlQuery q(t.sql());
    q.exec(statement);
    while (q.next())
        out << q.value(0).toString();
    return out;
}

// A migration 7 that adds its columns and then writes for as long as it is allowed to.
QByteArray endlessMigration7()
{
    QByteArray script = readResource(Database::builtinMigrations().at(6).resourcePath);
    script += "CREATE TABLE crash_filler (x INTEGER, pad BLOB);\r\n"
              "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c LIMIT 100000000)\r\n"
              "INSERT INTO crash_filler SELECT x, randomblob(200) FROM c;\r\n";
    return script;
}

int runCrashChild()
{
    const QString dir = qEnvironmentVariable(kCrashChildEnv);
    Database db;
    if (!db.open(dir + QStringLiteral("/calendar.db")))
        return 2;
    QList<Database::Migration> migrations = LarkTest::migrationsUpTo(6);
    migrations << scriptMigration(dir, 7, endlessMigration7());
    db.setMigrations(migrations);
    return db.migrate() ? 0 : 1;
}

} // namespace

class TestDatabase_ : public QObject
{
    Q_OBJECT
private slots:
    void freshDatabaseMatchesGoldenSchema();
    void secondMigrateAppliesNothing();
    void splitsEveryScript_data();
    void splitsEveryScript();
    void splitterRules_data();
    void splitterRules();
    void upgradesFromOlderVersion_data();
    void upgradesFromOlderVersion();
    void migration6KeepsOneRowPerKey();
    void uniqueKeyAndForeignKeysAreEnforced();
    void failureInsideMigration6RollsBack();
    void missingMigrationResource();
    void failedCommitIsRolledBack();
    void transactionThatCannotBeginRunsNothing();
    void crashDuringMigrationKeepsPreviousVersion();
    void garbageFileFailsWithoutChange();
    void lockedFileFailsWithoutChange();
    void readOnlyDatabaseFails_data();
    void readOnlyDatabaseFails();
};

void TestDatabase_::freshDatabaseMatchesGoldenSchema()
{
    QTemporaryDir dir;
    Database db;
    QVERIFY(db.open(dir.filePath(QStringLiteral("calendar.db"))));
    QSignalSpy applied(&db, &Database::migrationApplied);
    QVERIFY(db.migrate());

    QCOMPARE(applied.count(), kLatestVersion);
    QStringList names;
    for (int i = 0; i < applied.count(); ++i) {
        QCOMPARE(applied.at(i).at(0).toInt(), i + 1);
        names << applied.at(i).at(1).toString();
    }
    QCOMPARE(
        names,
        LarkTest::strings({"initial", "event_sync", "tasks_sync", "accounts_sort_order",
                           "provider_event_idx", "events_uid_unique", "tasks_dateonly_repeat",
                           "accounts_soft_delete", "event_related_to", "task_reminders",
                           "task_item_type", "reminder_schedule", "events_range_indexes",
                           "reminder_triggers_utc", "calendar_preference_time", "import_log",
                           "quick_add_keys"}));

    QSqlQuery versions(db.connection());
    QVERIFY(versions.exec(
        QStringLiteral("SELECT version, name, applied_at FROM schema_version ORDER BY version")));
    QStringList stored;
    while (versions.next()) {
        stored << versions.value(1).toString();
        QVERIFY(!versions.value(2).toString().isEmpty());
    }
    QCOMPARE(stored, names);

    QSqlQuery pragma(db.connection());
    QVERIFY(pragma.exec(QStringLiteral("PRAGMA journal_mode")) && pragma.next());
    QCOMPARE(pragma.value(0).toString(), QStringLiteral("wal"));
    QVERIFY(pragma.exec(QStringLiteral("PRAGMA foreign_keys")) && pragma.next());
    QCOMPARE(pragma.value(0).toInt(), 1);
    QCOMPARE(db.connection().connectionName(),
             QString::fromLatin1(QSqlDatabase::defaultConnection));

    const QStringList golden = goldenLines();
    QVERIFY(!golden.isEmpty());
    const QStringList actual = dumpSchema(db.connection());
    for (const QString &line : golden)
        QVERIFY2(actual.contains(line), qPrintable(QStringLiteral("missing: ") + line));
    for (const QString &line : actual)
        QVERIFY2(golden.contains(line), qPrintable(QStringLiteral("unexpected: ") + line));
    QCOMPARE(actual, golden);
}

void TestDatabase_::secondMigrateAppliesNothing()
{
    TestDatabase t;
    QVERIFY(t.isValid());
    Database *db = t.reopen();
    QSignalSpy applied(db, &Database::migrationApplied);
    QSignalSpy failed(db, &Database::migrationError);
    QVERIFY(db->migrate());
    QCOMPARE(applied.count(), 0);
    QCOMPARE(failed.count(), 0);
    QCOMPARE(t.scalar(QStringLiteral("SELECT COUNT(*) FROM schema_version")).toInt(),
             kLatestVersion);

    // A database written by a newer build is left alone.
    QVERIFY(
        t.exec(QStringLiteral("INSERT INTO schema_version (version, name) VALUES (?, 'future')"),
               {kLatestVersion + 1}));
    QVERIFY(db->migrate());
    QCOMPARE(applied.count(), 0);
}

void TestDatabase_::splitsEveryScript_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("crlf");
    QTest::addColumn<int>("count");
    const int counts[] = {28, 4, 4, 1, 1, 5, 3, 1, 2, 3, 2, 4, 2, 4, 1, 8, 1};
    const QList<Database::Migration> &migrations = Database::builtinMigrations();
    QCOMPARE(migrations.size(), kLatestVersion);
    for (int i = 0; i < migrations.size(); ++i) {
        const Database::Migration &m = migrations.at(i);
        QTest::addRow("%d %s CR LF", m.version, qPrintable(m.name))
            << m.resourcePath << true << counts[i];
        QTest::addRow("%d %s LF", m.version, qPrintable(m.name))
            << m.resourcePath << false << counts[i];
    }
}

void TestDatabase_::splitsEveryScript()
{
    QFETCH(QString, path);
    QFETCH(bool, crlf);
    QFETCH(int, count);
    QByteArray raw = readResource(path);
    QVERIFY(!raw.isEmpty());
    QVERIFY(raw.contains("\r\n"));
    if (!crlf)
        raw.replace("\r\n", "\n");
    const QStringList statements = Database::splitStatements(QString::fromUtf8(raw));
    QCOMPARE(statements.size(), count);
    for (const QString &s : statements) {
        QVERIFY(!s.endsWith(QLatin1Char(';')));
        QVERIFY(!s.contains(QLatin1String("--")));
    }
}

void TestDatabase_::splitterRules_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("last statement without semicolon")
        << QStringLiteral("CREATE TABLE a (x);\nCREATE TABLE b (y)")
        << LarkTest::strings({"CREATE TABLE a (x)", "CREATE TABLE b (y)"});
    QTest::newRow("line holding only a semicolon")
        << QStringLiteral("CREATE TABLE a (x);\n;\n  ;  \n")
        << LarkTest::strings({"CREATE TABLE a (x)"});
    QTest::newRow("trigger block is one statement")
        << QStringLiteral("CREATE TRIGGER t AFTER INSERT ON a BEGIN\n  UPDATE a SET x = 1;\nEND;\n")
        << LarkTest::strings(
               {"CREATE TRIGGER t AFTER INSERT ON a BEGIN\n  UPDATE a SET x = 1;\nEND"});
    QTest::newRow("comment lines dropped")
        << QStringLiteral("-- heading\nCREATE TABLE a (\n    -- inside\n    x\n);\n")
        << LarkTest::strings({"CREATE TABLE a (\n    x\n)"});
    QTest::newRow("end_time column keeps depth at zero")
        << QStringLiteral("CREATE TABLE e (\n    end_time TEXT\n);\nCREATE TABLE f (x);")
        << LarkTest::strings({"CREATE TABLE e (\n    end_time TEXT\n)", "CREATE TABLE f (x)"});
    QTest::newRow("semicolon before inline comment does not split")
        << QStringLiteral("SELECT 1; -- one\nSELECT 2;")
        << LarkTest::strings({"SELECT 1; -- one\nSELECT 2"});
    QTest::newRow("CR LF line ends") << QStringLiteral("SELECT 1;\r\n\r\nSELECT 2;\r\n")
                                     << LarkTest::strings({"SELECT 1", "SELECT 2"});
    QTest::newRow("empty script") << QString() << QStringList();
}

void TestDatabase_::splitterRules()
{
    QFETCH(QString, script);
    QFETCH(QStringList, expected);
    QCOMPARE(Database::splitStatements(script), expected);
}

void TestDatabase_::upgradesFromOlderVersion_data()
{
    QTest::addColumn<int>("fixtureVersion");
    QTest::newRow("version 1") << 1;
    QTest::newRow("version 5") << 5;
    QTest::newRow("version 6") << 6;
}

void TestDatabase_::upgradesFromOlderVersion()
{
    QFETCH(int, fixtureVersion);
    TestDatabase t(fixtureVersion);
    QVERIFY(t.isValid());
    QCOMPARE(schemaVersion(t), fixtureVersion);
    QVERIFY(t.addCalendar(QStringLiteral("cal")));
    QVERIFY(addEventV1(t, QStringLiteral("e1"), QStringLiteral("cal"), QStringLiteral("u1"),
                       QVariant(), QStringLiteral("2024-01-01T00:00:00Z")));
    QVERIFY(addEventV1(t, QStringLiteral("e2"), QStringLiteral("cal"), QStringLiteral("u2"),
                       QVariant(), QStringLiteral("2024-01-01T00:00:00Z")));
    const bool duplicates = fixtureVersion < 6;
    if (duplicates) {
        QVERIFY(addEventV1(t, QStringLiteral("e1-copy"), QStringLiteral("cal"),
                           QStringLiteral("u1"), QString(),
                           QStringLiteral("2024-02-01T00:00:00Z")));
    }
    QVERIFY(t.exec(
        QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, raw_icalendar, due_date) "
                       "VALUES ('t1', 'cal', 'tu1', 'Task', 'BEGIN:VTODO', '2024-05-01')")));

    Database *db = t.reopen();
    QVERIFY(db);
    QSignalSpy applied(db, &Database::migrationApplied);
    QVERIFY(db->migrate());
    QCOMPARE(applied.count(), kLatestVersion - fixtureVersion);
    QCOMPARE(applied.first().at(0).toInt(), fixtureVersion + 1);
    QCOMPARE(schemaVersion(t), kLatestVersion);

    QCOMPARE(column(t, QStringLiteral("SELECT id FROM events ORDER BY id")),
             LarkTest::strings({"e1", "e2"}));
    QCOMPARE(
        column(t,
               QStringLiteral("SELECT sync_status || '/' || IFNULL(deleted_at, '-') FROM events")),
        LarkTest::strings({"synced/-", "synced/-"}));
    QCOMPARE(column(t, QStringLiteral("SELECT event_id FROM attendees ORDER BY event_id")),
             LarkTest::strings({"e1", "e2"}));
    QCOMPARE(column(t,
                    QStringLiteral("SELECT sync_status || '/' || due_is_date_only || '/' || "
                                   "start_is_date_only || '/' || repeat_mode || '/' || item_type "
                                   "FROM tasks")),
             LarkTest::strings({"synced/1/1/fromDueDate/task"}));
    QCOMPARE(
        column(t,
               QStringLiteral("SELECT sort_order || '/' || IFNULL(deleted_at, '-') FROM accounts")),
        LarkTest::strings({"0/-"}));
    QCOMPARE(t.scalar(QStringLiteral("SELECT COUNT(*) FROM calendar_views")).toInt(), 1);
}

void TestDatabase_::migration6KeepsOneRowPerKey()
{
    TestDatabase t(5);
    QVERIFY(t.isValid());
    QVERIFY(t.addCalendar(QStringLiteral("cal")));
    QVERIFY(t.addCalendar(QStringLiteral("other")));
    const QString jan = QStringLiteral("2024-01-01T00:00:00Z");
    const QString feb = QStringLiteral("2024-02-01T00:00:00Z");
    // Three copies: the oldest survives, the smaller id on a tie.
    QVERIFY(addEventV1(t, QStringLiteral("a3"), QStringLiteral("cal"), QStringLiteral("A"),
                       QVariant(), feb));
    QVERIFY(addEventV1(t, QStringLiteral("a2"), QStringLiteral("cal"), QStringLiteral("A"),
                       QVariant(), jan));
    QVERIFY(addEventV1(t, QStringLiteral("a1"), QStringLiteral("cal"), QStringLiteral("A"),
                       QString(), jan));
    // An overridden instance forms its own group; so does the same UID in another calendar.
    QVERIFY(addEventV1(t, QStringLiteral("a-inst"), QStringLiteral("cal"), QStringLiteral("A"),
                       QStringLiteral("20240501T100000Z"), feb));
    QVERIFY(addEventV1(t, QStringLiteral("a-other"), QStringLiteral("other"), QStringLiteral("A"),
                       QVariant(), feb));
    // The oldest copy is a tombstone: the live copy is kept instead.
    QVERIFY(addEventV1(t, QStringLiteral("b1"), QStringLiteral("cal"), QStringLiteral("B"),
                       QVariant(), jan));
    QVERIFY(addEventV1(t, QStringLiteral("b2"), QStringLiteral("cal"), QStringLiteral("B"),
                       QVariant(), feb));
    QVERIFY(t.exec(
        QStringLiteral("UPDATE events SET deleted_at = ?, sync_status = 'pending' WHERE id = 'b1'"),
        {jan}));
    // Only tombstones: the oldest of them stays.
    QVERIFY(addEventV1(t, QStringLiteral("c1"), QStringLiteral("cal"), QStringLiteral("C"),
                       QVariant(), feb));
    QVERIFY(addEventV1(t, QStringLiteral("c2"), QStringLiteral("cal"), QStringLiteral("C"),
                       QVariant(), jan));
    QVERIFY(t.exec(QStringLiteral("UPDATE events SET deleted_at = ? WHERE uid = 'C'"), {jan}));

    QVERIFY(t.reopen()->migrate());
    const QStringList kept = LarkTest::strings({"a-inst", "a-other", "a1", "b2", "c2"});
    QCOMPARE(column(t, QStringLiteral("SELECT id FROM events ORDER BY id")), kept);
    for (const char *child : {"attendees", "attachments", "reminders"}) {
        QCOMPARE(column(t,
                        QStringLiteral("SELECT event_id FROM %1 ORDER BY event_id")
                            .arg(QLatin1String(child))),
                 kept);
    }
}

void TestDatabase_::uniqueKeyAndForeignKeysAreEnforced()
{
    TestDatabase t;
    QVERIFY(t.isValid());
    QVERIFY(t.addCalendar(QStringLiteral("cal")));
    QVERIFY(addEventV1(t, QStringLiteral("e1"), QStringLiteral("cal"), QStringLiteral("u"),
                       QVariant(), QStringLiteral("2024-01-01T00:00:00Z")));
    QSqlQuery q(t.sql());
    // A NULL and an empty recurrence id are the same key.
    q.prepare(QStringLiteral(
        "INSERT INTO events (id, calendar_id, uid, title, start_time, raw_icalendar, "
        "recurrence_id) VALUES ('e2', 'cal', 'u', 't', 'x', 'x', '')"));
    QVERIFY(!q.exec());
    QVERIFY(q.lastError().text().contains(QLatin1String("UNIQUE")));
    QVERIFY(!q.exec(QStringLiteral("DELETE FROM calendars WHERE id = 'cal'")));
    QVERIFY(q.lastError().text().contains(QLatin1String("FOREIGN KEY")));
    QVERIFY(!q.exec(QStringLiteral("DELETE FROM events WHERE id = 'e1'")));

    QVERIFY(t.exec(QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, raw_icalendar) "
                                  "VALUES ('t1', 'cal', 'tu', 'T', 'x')")));
    QVERIFY(t.exec(QStringLiteral(
        "INSERT INTO task_reminders (id, task_id, minutes_before) VALUES ('r', 't1', 5)")));
    QVERIFY(t.exec(QStringLiteral("DELETE FROM tasks WHERE id = 't1'")));
    QCOMPARE(t.scalar(QStringLiteral("SELECT COUNT(*) FROM task_reminders")).toInt(), 0);
}

void TestDatabase_::failureInsideMigration6RollsBack()
{
    TestDatabase t(5);
    QVERIFY(t.isValid());
    QVERIFY(t.addCalendar(QStringLiteral("cal")));
    QVERIFY(addEventV1(t, QStringLiteral("e1"), QStringLiteral("cal"), QStringLiteral("u"),
                       QVariant(), QStringLiteral("2024-01-01T00:00:00Z")));
    QVERIFY(addEventV1(t, QStringLiteral("e2"), QStringLiteral("cal"), QStringLiteral("u"),
                       QVariant(), QStringLiteral("2024-02-01T00:00:00Z")));

    // The real script, with a statement after the four deletions that fails.
    QByteArray script = readResource(Database::builtinMigrations().at(5).resourcePath);
    const int indexAt = script.indexOf("CREATE UNIQUE INDEX");
    QVERIFY(indexAt > 0);
    script.insert(indexAt, "INSERT INTO no_such_table VALUES (1);\r\n");
    QList<Database::Migration> migrations = Database::builtinMigrations();
    migrations[5] = scriptMigration(t.dir(), 6, script);

    Database *db = t.reopen();
    db->setMigrations(migrations);
    QSignalSpy failed(db, &Database::migrationError);
    QTest::ignoreMessage(
        QtCriticalMsg, QRegularExpression(QStringLiteral("^Migration 6 failed: .*no_such_table")));
    QVERIFY(!db->migrate());
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).toInt(), 6);
    QVERIFY(failed.first().at(1).toString().contains(QLatin1String("no_such_table")));
    QCOMPARE(schemaVersion(t), 5);
    QCOMPARE(column(t, QStringLiteral("SELECT id FROM events ORDER BY id")),
             LarkTest::strings({"e1", "e2"}));
    QCOMPARE(column(t, QStringLiteral("SELECT event_id FROM reminders ORDER BY event_id")),
             LarkTest::strings({"e1", "e2"}));
    QCOMPARE(
        t.scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM sqlite_master WHERE name = 'idx_events_uid_unique'"))
            .toInt(),
        0);

    db->setMigrations(Database::builtinMigrations());
    QVERIFY(db->migrate());
    QCOMPARE(schemaVersion(t), kLatestVersion);
    QCOMPARE(column(t, QStringLiteral("SELECT id FROM events")), LarkTest::strings({"e1"}));
}

void TestDatabase_::missingMigrationResource()
{
    QTemporaryDir dir;
    Database db;
    QVERIFY(db.open(dir.filePath(QStringLiteral("calendar.db"))));
    QList<Database::Migration> migrations = Database::builtinMigrations();
    const QString missing = QStringLiteral(":/sql/sql/migrations/003_missing.sql");
    migrations[2].resourcePath = missing;
    db.setMigrations(migrations);
    QSignalSpy applied(&db, &Database::migrationApplied);
    QSignalSpy failed(&db, &Database::migrationError);
    QTest::ignoreMessage(QtCriticalMsg,
                         qPrintable(QStringLiteral("Cannot read migration file: ") + missing));
    QVERIFY(!db.migrate());
    QCOMPARE(applied.count(), 2);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).toInt(), 3);
    QCOMPARE(failed.first().at(1).toString(),
             QStringLiteral("Cannot read migration file: ") + missing);
    QSqlQuery q(db.connection());
    QVERIFY(q.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) && q.next());
    QCOMPARE(q.value(0).toInt(), 2);
}

void TestDatabase_::failedCommitIsRolledBack()
{
    TestDatabase t;
    QVERIFY(t.isValid());
    // The foreign key is checked only at commit, so the statements succeed and COMMIT fails.
    QList<Database::Migration> migrations = Database::builtinMigrations();
    migrations << scriptMigration(t.dir(), kLatestVersion + 1,
                                  "PRAGMA defer_foreign_keys = ON;\r\n"
                                  "INSERT INTO calendars (id, account_id, url, name) "
                                  "VALUES ('orphan', 'nobody', 'u', 'n');\r\n");
    Database *db = t.reopen();
    db->setMigrations(migrations);
    QSignalSpy failed(db, &Database::migrationError);
    QTest::ignoreMessage(
        QtCriticalMsg,
        QRegularExpression(
            QStringLiteral("^Migration %1 failed: commit failed").arg(kLatestVersion + 1)));
    QVERIFY(!db->migrate());
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).toInt(), kLatestVersion + 1);
    QCOMPARE(schemaVersion(t), kLatestVersion);
    QCOMPARE(t.scalar(QStringLiteral("SELECT COUNT(*) FROM calendars")).toInt(), 0);
    // No transaction is left open: a new one can begin.
    QVERIFY(db->connection().transaction());
    QVERIFY(db->connection().rollback());
}

void TestDatabase_::transactionThatCannotBeginRunsNothing()
{
    TestDatabase t(5);
    QVERIFY(t.isValid());
    Database *db = t.reopen();
    QVERIFY(db->connection().transaction());
    QSignalSpy failed(db, &Database::migrationError);
    QTest::ignoreMessage(QtCriticalMsg,
                         QRegularExpression(QStringLiteral("^Migration 6 failed: cannot begin")));
    QVERIFY(!db->migrate());
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).toInt(), 6);
    QVERIFY(db->connection().rollback());
    QCOMPARE(schemaVersion(t), 5);
    QCOMPARE(
        t.scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM sqlite_master WHERE name = 'idx_events_uid_unique'"))
            .toInt(),
        0);
}

void TestDatabase_::crashDuringMigrationKeepsPreviousVersion()
{
    TestDatabase t(6);
    QVERIFY(t.isValid());
    QVERIFY(t.addCalendar(QStringLiteral("cal")));
    QVERIFY(t.exec(QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, raw_icalendar) "
                                  "VALUES ('t1', 'cal', 'tu', 'T', 'x')")));
    t.close();

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kCrashChildEnv), t.dir());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    // Uncommitted pages spill into the write-ahead log once the page cache is full: the child
    // is then inside migration 7's transaction.
    const QString wal = t.path() + QStringLiteral("-wal");
    QTRY_VERIFY_WITH_TIMEOUT(
        QFileInfo(wal).size() > 8 * 1024 * 1024 || child.state() == QProcess::NotRunning, 60000);
    QCOMPARE(child.state(), QProcess::Running);
    child.kill();
    QVERIFY(child.waitForFinished());

    Database *db = t.reopen();
    QVERIFY(db);
    QCOMPARE(schemaVersion(t), 6);
    QVERIFY(!hasColumn(t, QStringLiteral("tasks"), QStringLiteral("due_is_date_only")));
    QCOMPARE(
        t.scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'crash_filler'"))
            .toInt(),
        0);
    QCOMPARE(column(t, QStringLiteral("SELECT id FROM tasks")), LarkTest::strings({"t1"}));
    QVERIFY(db->migrate());
    QCOMPARE(schemaVersion(t), kLatestVersion);
    QVERIFY(hasColumn(t, QStringLiteral("tasks"), QStringLiteral("due_is_date_only")));
}

void TestDatabase_::garbageFileFailsWithoutChange()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("calendar.db"));
    QByteArray garbage(64 * 1024, Qt::Uninitialized);
    QRandomGenerator rng(42);
    for (char &c : garbage)
        c = char(rng.bounded(256));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    }
    {
        Database db;
        QSignalSpy applied(&db, &Database::migrationApplied);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("not a database")));
        const bool ok = db.open(path) && db.migrate();
        QVERIFY(!ok);
        QCOMPARE(applied.count(), 0);
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), garbage);
}

void TestDatabase_::lockedFileFailsWithoutChange()
{
    TestDatabase t(6);
    QVERIFY(t.isValid());
    t.close();
    {
        QSqlDatabase locker
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        locker.setDatabaseName(t.path());
        QVERIFY(locker.open());
        QSqlQuery q(locker);
        QVERIFY(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO settings (key, value) VALUES ('held', '1')")));

        Database *db = t.reopen();
        QVERIFY(db);
        // Scaled down from the seconds a start waits for another program's write.
        db->setBusyTimeouts(Database::kBusyTimeoutMs, 300);
        QElapsedTimer waited;
        waited.start();
        QSignalSpy failed(db, &Database::migrationError);
        QTest::ignoreMessage(QtCriticalMsg,
                             QRegularExpression(QStringLiteral("^Migration 7 failed: .*locked")));
        QVERIFY(!db->migrate());
        // It did wait for the lock, as long as it was told to.
        QVERIFY(waited.elapsed() >= 300);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.first().at(0).toInt(), 7);
        QCOMPARE(schemaVersion(t), 6);
        QVERIFY(!hasColumn(t, QStringLiteral("tasks"), QStringLiteral("due_is_date_only")));

        QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
        q.finish();
        locker.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    QVERIFY(t.db()->migrate());
    QCOMPARE(schemaVersion(t), kLatestVersion);
}

void TestDatabase_::readOnlyDatabaseFails_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("current schema") << kLatestVersion;
    QTest::newRow("schema to upgrade") << 6;
}

void TestDatabase_::readOnlyDatabaseFails()
{
    QFETCH(int, version);
    TestDatabase t(version);
    QVERIFY(t.isValid());
    Database *db = t.reopen();
    QVERIFY(t.exec(QStringLiteral("PRAGMA query_only = 1")));
    QSignalSpy failed(db, &Database::migrationError);
    if (version == kLatestVersion)
        QTest::ignoreMessage(
            QtCriticalMsg,
            QRegularExpression(QStringLiteral("^Database is not writable: .*readonly")));
    else
        QTest::ignoreMessage(QtCriticalMsg,
                             QRegularExpression(QStringLiteral("^Migration 7 failed: .*readonly")));
    QVERIFY(!db->migrate());
    QCOMPARE(failed.count(), version == kLatestVersion ? 0 : 1);
    QCOMPARE(schemaVersion(t), version);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kCrashChildEnv))
        return runCrashChild();
    TestDatabase_ test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Database.moc"
