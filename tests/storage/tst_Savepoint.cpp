#include "storage/Savepoint.h"
#include "support/TestDatabase.h"

#include <QtTest>

class TestSavepoint : public QObject
{
    Q_OBJECT
private slots:
    void savepointRollsBackUnlessReleased();
    void failedReleaseIsRolledBack();
};

void TestSavepoint::savepointRollsBackUnlessReleased()
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

void TestSavepoint::failedReleaseIsRolledBack()
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

QTEST_GUILESS_MAIN(TestSavepoint)
#include "tst_Savepoint.moc"
