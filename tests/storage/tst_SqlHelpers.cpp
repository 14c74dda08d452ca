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
    void jsonListRoundTrip();
    void chunks_data();
    void chunks();
    void savepointRollsBackUnlessReleased();
    void failedReleaseIsRolledBack();
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

QTEST_GUILESS_MAIN(TestSqlHelpers)
#include "tst_SqlHelpers.moc"
