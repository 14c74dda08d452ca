#include "storage/ChildRows.h"
#include "storage/StatementCache.h"
#include "support/TestDatabase.h"

#include <QtTest>

class TestChildRows : public QObject
{
    Q_OBJECT
private slots:
    void childrenGoToTheirOwners();
};

void TestChildRows::childrenGoToTheirOwners()
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
    Sql::StatementCache statements(&t.sql());
    Sql::loadChildrenFor(
        statements, owners, QStringLiteral("SELECT id, owner FROM kids WHERE owner %1 ORDER BY n"),
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

QTEST_GUILESS_MAIN(TestChildRows)
#include "tst_ChildRows.moc"
