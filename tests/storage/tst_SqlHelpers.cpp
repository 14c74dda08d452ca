#include "storage/SqlHelpers.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QSqlQuery>
#include <QtTest>

class TestSqlHelpers : public QObject
{
    Q_OBJECT
private slots:
    void parsesLikeQt_data();
    void parsesLikeQt();
    void writesTheValueItself_data();
    void writesTheValueItself();
    void formatsLikeQt_data();
    void formatsLikeQt();
    void jsonListRoundTrip();
    void chunks_data();
    void chunks();
    void savepointRollsBackUnlessReleased();
    void failedReleaseIsRolledBack();
    void readerReadsLikeQt_data();
    void readerReadsLikeQt();
    void readerLogsAFailedStatement();
    void childrenGoToTheirOwners();
};

void TestSqlHelpers::parsesLikeQt_data()
{
    QTest::addColumn<QString>("text");
    for (const char *text :
         {"2024-03-05T10:00:00Z", "2024-03-05T10:00:00+01:00", "2024-03-05T10:00:00-05:30",
          "2024-03-05T10:00:00+00:00", "2024-03-05T10:00:00", "2024-03-31T02:30:00",
          "2024-11-03T01:30:00", "2024-03-05T10:00:00.250Z", "2024-03-05 10:00:00", "2024-03-05",
          "2024-02-30T10:00:00Z", "2024-03-05T24:00:00Z", "2024-03-05T10:00:60Z",
          "2024-03-05T1a:00:00Z", "2024-03-05T10:00:00+0100", "2024-03-05T10:00:00+14:00",
          "garbage"}) {
        QTest::newRow(text) << QString::fromLatin1(text);
    }
}

void TestSqlHelpers::parsesLikeQt()
{
    QFETCH(QString, text);
    const QDateTime expected = QDateTime::fromString(text, Qt::ISODate);
    const QDateTime actual = Sql::parseDateTime(text);
    QCOMPARE(actual.isValid(), expected.isValid());
    QCOMPARE(actual, expected);
    QCOMPARE(actual.timeSpec(), expected.timeSpec());
    QCOMPARE(actual.offsetFromUtc(), expected.offsetFromUtc());
    QCOMPARE(actual.toString(Qt::ISODate), expected.toString(Qt::ISODate));
    QCOMPARE(Sql::parseOptionalDateTime(QString()), std::nullopt);
}

void TestSqlHelpers::writesTheValueItself_data()
{
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("text");
    const QDate d(2024, 3, 5);
    const QTime t(10, 0);
    QTest::newRow("UTC") << QDateTime(d, t, Qt::UTC) << QStringLiteral("2024-03-05T10:00:00Z");
    QTest::newRow("offset") << QDateTime(d, t, Qt::OffsetFromUTC, -18000)
                            << QStringLiteral("2024-03-05T10:00:00-05:00");
    QTest::newRow("named zone") << QDateTime(d, t, QTimeZone("Asia/Tokyo"))
                                << QStringLiteral("2024-03-05T10:00:00+09:00");
    QTest::newRow("local") << QDateTime(d, t, Qt::LocalTime)
                           << QStringLiteral("2024-03-05T10:00:00");
    QTest::newRow("invalid") << QDateTime() << QString();
}

void TestSqlHelpers::writesTheValueItself()
{
    QFETCH(QDateTime, value);
    QFETCH(QString, text);
    const QVariant bound = Sql::dateTime(value);
    QCOMPARE(bound.toString(), text);
    QCOMPARE(bound.toString().isNull(), text.isNull());
    if (value.isValid())
        QCOMPARE(Sql::parseDateTime(bound), value);
}

void TestSqlHelpers::formatsLikeQt_data()
{
    QTest::addColumn<QDateTime>("value");
    const QDate d(2024, 3, 5);
    const QTime t(7, 8, 9, 250);
    QTest::newRow("UTC with milliseconds") << QDateTime(d, t, Qt::UTC);
    QTest::newRow("zero offset") << QDateTime(d, t, Qt::OffsetFromUTC, 0);
    QTest::newRow("negative offset with minutes") << QDateTime(d, t, Qt::OffsetFromUTC, -9000);
    QTest::newRow("offset with seconds") << QDateTime(d, t, Qt::OffsetFromUTC, 19815);
    QTest::newRow("fourteen hours") << QDateTime(d, t, Qt::OffsetFromUTC, 14 * 3600);
    QTest::newRow("local") << QDateTime(d, t, Qt::LocalTime);
    QTest::newRow("local in a DST gap")
        << QDateTime(QDate(2024, 3, 31), QTime(2, 30), Qt::LocalTime);
    QTest::newRow("named zone") << QDateTime(d, t, QTimeZone("America/St_Johns"));
    QTest::newRow("year 1") << QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    QTest::newRow("year 9999") << QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
    QTest::newRow("year 10000") << QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC);
    QTest::newRow("before year 1") << QDateTime(QDate(-5, 6, 7), QTime(0, 0), Qt::UTC);
}

void TestSqlHelpers::formatsLikeQt()
{
    QFETCH(QDateTime, value);
    QCOMPARE(Sql::isoText(value), value.toString(Qt::ISODate));
}

void TestSqlHelpers::jsonListRoundTrip()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    const QStringList ids {QStringLiteral("plain"),
                           QStringLiteral("with \"quotes\""),
                           QStringLiteral("back\\slash"),
                           QStringLiteral("tab\tnew\nline"),
                           QStringLiteral("\u00e9t\u00e9 \u65e5\u672c"),
                           QStringLiteral("")};
    QSqlQuery q(t.sql());
    QVERIFY(q.prepare(QStringLiteral("SELECT value FROM json_each(?)")));
    q.addBindValue(Sql::jsonList(ids));
    QVERIFY(q.exec());
    QStringList back;
    while (q.next())
        back << q.value(0).toString();
    QCOMPARE(back, ids);
    QCOMPARE(Sql::jsonList({}), QStringLiteral("[]"));
}

void TestSqlHelpers::chunks_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("sizes");
    QTest::newRow("none") << 0 << QList<int> {};
    QTest::newRow("one") << 1 << QList<int> {1};
    QTest::newRow("exactly one chunk") << 500 << QList<int> {500};
    QTest::newRow("one more") << 501 << QList<int> {500, 1};
    QTest::newRow("forty thousand") << 40000 << QList<int>(80, 500);
}

void TestSqlHelpers::chunks()
{
    QFETCH(int, count);
    QFETCH(QList<int>, sizes);
    QStringList ids;
    for (int i = 0; i < count; ++i)
        ids << QString::number(i);
    QList<int> seen;
    QStringList joined;
    QVERIFY(Sql::forEachChunk(ids, [&](const QStringList &chunk) {
        seen << int(chunk.size());
        joined << chunk;
        return true;
    }));
    QCOMPARE(seen, sizes);
    QCOMPARE(joined, ids);
    // A failing chunk stops the walk.
    int calls = 0;
    QCOMPARE(Sql::forEachChunk(ids, [&](const QStringList &) { return ++calls > 1; }), count == 0);
    QCOMPARE(calls, count == 0 ? 0 : 1);
}

void TestSqlHelpers::savepointRollsBackUnlessReleased()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    {
        Sql::Savepoint sp(t.sql(), QStringLiteral("outer"));
        QVERIFY(sp.isActive());
        QVERIFY(t.exec(QStringLiteral("INSERT INTO settings (key, value) VALUES ('a', '1')")));
        {
            Sql::Savepoint inner(t.sql(), QStringLiteral("inner"));
            QVERIFY(t.exec(QStringLiteral("INSERT INTO settings (key, value) VALUES ('b', '1')")));
        }
        QVERIFY(sp.release());
    }
    QCOMPARE(t.scalar(QStringLiteral("SELECT group_concat(key) FROM settings")).toString(),
             QStringLiteral("a"));

    // Inside a caller's transaction a released savepoint still goes with that transaction.
    QVERIFY(t.sql().transaction());
    {
        Sql::Savepoint sp(t.sql(), QStringLiteral("joined"));
        QVERIFY(t.exec(QStringLiteral("INSERT INTO settings (key, value) VALUES ('c', '1')")));
        QVERIFY(sp.release());
    }
    QVERIFY(t.sql().rollback());
    QCOMPARE(t.scalar(QStringLiteral("SELECT COUNT(*) FROM settings")).toInt(), 1);
}

void TestSqlHelpers::failedReleaseIsRolledBack()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    Sql::Savepoint sp(t.sql(), QStringLiteral("deferred"));
    QVERIFY(t.exec(QStringLiteral("PRAGMA defer_foreign_keys = ON")));
    QVERIFY(t.exec(QStringLiteral(
        "INSERT INTO calendars (id, account_id, url, name) VALUES ('c', 'nobody', 'u', 'n')")));
    QVERIFY(!sp.release());
    QVERIFY(sp.errorText().contains(QLatin1String("FOREIGN KEY")));
    QCOMPARE(t.scalar(QStringLiteral("SELECT COUNT(*) FROM calendars")).toInt(), 0);
    QVERIFY(t.sql().transaction());
    QVERIFY(t.sql().rollback());
}

void TestSqlHelpers::readerReadsLikeQt_data()
{
    QTest::addColumn<QString>("expression");
    const char *expressions[] = {"NULL",
                                 "''",
                                 "'plain'",
                                 "'\u00e9t\u00e9 \u65e5\u672c \U0001F600'",
                                 "42",
                                 "-7",
                                 "'12'",
                                 "' 12 '",
                                 "'12abc'",
                                 "2.5",
                                 "-2.5",
                                 "x'4142'",
                                 "'2024-03-05T10:00:00Z'",
                                 "'2024-03-05T10:00:00-05:30'",
                                 "'2024-03-31T02:30:00'",
                                 "'2024-03-05T10:00:00.250Z'",
                                 "'2024-02-30T10:00:00Z'",
                                 "'2024-03-05'"};
    for (const char *e : expressions)
        QTest::newRow(e) << QString::fromUtf8(e);
}

// The reader replaces QSqlQuery for large reads: every kind of stored value reads the same.
void TestSqlHelpers::readerReadsLikeQt()
{
    QFETCH(QString, expression);
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    const QString sql = QStringLiteral("SELECT ") + expression;
    QSqlQuery q(t.sql());
    QVERIFY(q.exec(sql));
    QVERIFY(q.next());
    const QVariant expected = q.value(0);

    Sql::Reader r(t.sql(), sql, "test failed:");
    QVERIFY(r.next());
    QCOMPARE(r.isNull(0), expected.isNull());
    QCOMPARE(r.text(0), expected.toString());
    QCOMPARE(r.text(0).isNull(), expected.toString().isNull());
    QCOMPARE(r.integer(0), expected.toInt());
    const QDateTime dt = r.dateTime(0);
    QCOMPARE(dt, Sql::parseDateTime(expected));
    QCOMPARE(dt.timeSpec(), Sql::parseDateTime(expected).timeSpec());
    QCOMPARE(r.optionalDateTime(0), Sql::parseOptionalDateTime(expected));
    QVERIFY(!r.next());
    QVERIFY(!r.failed());
}

void TestSqlHelpers::readerLogsAFailedStatement()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Thing::op failed: .*no such table")));
    QList<int> rows
        = Sql::readAll<int>(t.sql(), QStringLiteral("SELECT 1 FROM missing"), {},
                            "Thing::op failed:", [](const Sql::Reader &r) { return r.integer(0); });
    QVERIFY(rows.isEmpty());

    // A step failing after some rows keeps the rows read before it.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Thing::op failed:")));
    rows = Sql::readAll<int>(
        t.sql(),
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                       "5) SELECT CASE WHEN i < 3 THEN i ELSE json('not json') END FROM n"),
        {}, "Thing::op failed:", [](const Sql::Reader &r) { return r.integer(0); });
    QCOMPARE(rows, (QList<int> {1, 2}));
}

void TestSqlHelpers::childrenGoToTheirOwners()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    QVERIFY(t.exec(QStringLiteral("CREATE TABLE kids (id TEXT, owner TEXT, n INTEGER)")));
    QVERIFY(t.exec(QStringLiteral("INSERT INTO kids VALUES ('k1', 'a', 2), ('k2', 'b', 1), "
                                  "('k3', 'a', 1), ('k4', 'stranger', 1)")));
    QList<Event> owners(4);
    owners[0].id = QStringLiteral("a");
    owners[1].id = QStringLiteral("b");
    owners[2].id = QStringLiteral("c");
    owners[3].id = QStringLiteral("a"); // listed twice
    Reminder kept;
    kept.id = QStringLiteral("kept");
    owners[2].reminders = {kept};
    owners[1].reminders = {kept};
    Sql::loadChildrenFor(
        t.sql(), owners, QStringLiteral("SELECT id, owner FROM kids WHERE owner %1 ORDER BY n"),
        "test failed:",
        [](const Sql::Reader &r) {
            Reminder c;
            c.id = r.text(0);
            return c;
        },
        &Event::reminders, &Reminder::event_id);
    const auto ids = [](const Event &e) {
        QStringList out;
        for (const Reminder &r : e.reminders)
            out << r.id + QLatin1Char('/') + r.event_id;
        return out;
    };
    QCOMPARE(ids(owners[0]), (QStringList {QStringLiteral("k3/a"), QStringLiteral("k1/a")}));
    // Loaded rows replace what the owner held; an owner without rows keeps it.
    QCOMPARE(ids(owners[1]), QStringList {QStringLiteral("k2/b")});
    QCOMPARE(ids(owners[2]), QStringList {QStringLiteral("kept/")});
    QCOMPARE(ids(owners[3]), ids(owners[0]));
}

QTEST_GUILESS_MAIN(TestSqlHelpers)
#include "tst_SqlHelpers.moc"
