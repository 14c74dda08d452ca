#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "support/TestDatabase.h"

#include <QSqlQuery>
#include <QtTest>

class TestSqlHelpers : public QObject
{
    Q_OBJECT
private slots:
    void jsonListRoundTrip();
    void chunks_data();
    void chunks();
};

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

    // The UTF-8 list, bound as it is, names the same ids.
    Sql::Reader r(t.sql(), QStringLiteral("SELECT value FROM json_each(?)"), "test failed:");
    r.bindUtf8(Sql::jsonListUtf8(ids));
    back.clear();
    while (r.next())
        back << r.text(0);
    QCOMPARE(back, ids);
    QCOMPARE(Sql::jsonListUtf8({}), QByteArray("[]"));
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

QTEST_GUILESS_MAIN(TestSqlHelpers)
#include "tst_SqlHelpers.moc"
