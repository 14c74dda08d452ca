#include "model/Clock.h"
#include "storage/ViewRepository.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

using LarkTest::idsOf;
using LarkTest::strings;

namespace {

QDateTime utc(int d, int h = 0)
{
    return QDateTime(QDate(2024, 3, d), QTime(h, 0), Qt::UTC);
}

CalendarView group(const QString &id, const QString &name, int sortOrder = 0)
{
    CalendarView v;
    v.id = id;
    v.name = name;
    v.sort_order = sortOrder;
    v.calendar_ids = QStringLiteral("[\"A\"]");
    v.created_at = utc(1);
    v.updated_at = utc(1);
    return v;
}

} // namespace

class TestViewRepository : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void builtInGroupComesFirst();
    void writesAndTombstones();
    void insertRefusesEmptyIdAndDuplicates();
    void reorder();
    void failedReorderChangesNothing_data();
    void failedReorderChangesNothing();

private:
    std::unique_ptr<LarkTest::TestDatabase> m_t;
    std::unique_ptr<ViewRepository> m_repo;
    LarkTest::TestClock m_clock {utc(6, 12)};
    // The repositories stamp their writes with the program clock.
    Clock::Override m_pinned {[this] {
        return m_clock.now();
    }};
};

void TestViewRepository::init()
{
    m_t = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_t->isValid());
    m_repo = std::make_unique<ViewRepository>(m_t->db());
}

void TestViewRepository::cleanup()
{
    m_repo.reset();
    m_t.reset();
}

void TestViewRepository::builtInGroupComesFirst()
{
    const QList<CalendarView> fresh = m_repo->listActive();
    QCOMPARE(fresh.size(), 1);
    QCOMPARE(fresh.first().id, QStringLiteral("all-calendars"));
    QCOMPARE(fresh.first().name, QStringLiteral("All Calendars"));
    QVERIFY(fresh.first().is_default);
    QCOMPARE(fresh.first().calendar_ids, QStringLiteral("[]"));
    QCOMPARE(fresh.first().sync_status, QStringLiteral("synced"));

    QVERIFY(m_repo->insert(group(QStringLiteral("z"), QStringLiteral("Zeta"), 0)));
    QVERIFY(m_repo->insert(group(QStringLiteral("w"), QStringLiteral("Work"), 0)));
    QVERIFY(m_repo->insert(group(QStringLiteral("h"), QStringLiteral("Home"), -5)));
    QCOMPARE(idsOf(m_repo->listActive()), strings({"all-calendars", "h", "w", "z"}));
}

void TestViewRepository::writesAndTombstones()
{
    QSignalSpy changed(m_repo.get(), &ViewRepository::viewsChanged);
    CalendarView v = group(QStringLiteral("w"), QStringLiteral("Work"));
    v.color = QStringLiteral("#112233");
    QVERIFY(m_repo->insert(v));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_repo->byId(QStringLiteral("w"))->sync_status, QStringLiteral("pending"));

    v.name = QStringLiteral("Office");
    v.sync_status = QStringLiteral("synced");
    v.calendar_ids = QStringLiteral("[\"A\",\"B\"]");
    QVERIFY(m_repo->update(v));
    CalendarView read = *m_repo->byId(QStringLiteral("w"));
    QCOMPARE(read.name, QStringLiteral("Office"));
    QCOMPARE(read.calendar_ids, QStringLiteral("[\"A\",\"B\"]"));
    QCOMPARE(read.color, QStringLiteral("#112233"));
    QCOMPARE(read.sync_status, QStringLiteral("synced"));
    QCOMPARE(read.created_at, utc(1));
    QCOMPARE(read.updated_at, m_clock.now());
    QVERIFY(!read.deleted_at);

    m_clock.advanceSecs(60);
    QVERIFY(m_repo->remove(QStringLiteral("w")));
    read = *m_repo->byId(QStringLiteral("w"));
    QCOMPARE(read.deleted_at, std::optional<QDateTime>(m_clock.now()));
    QCOMPARE(read.updated_at, m_clock.now());
    QCOMPARE(read.sync_status, QStringLiteral("pending"));
    QCOMPARE(idsOf(m_repo->listActive()), strings({"all-calendars"}));
    QCOMPARE(idsOf(m_repo->listAll()), strings({"all-calendars", "w"}));
    QCOMPARE(changed.count(), 3);

    // Success means the statement ran, also for an id that matches nothing.
    QVERIFY(m_repo->remove(QStringLiteral("nothing")));
    QCOMPARE(changed.count(), 4);

    QVERIFY(m_repo->hardDelete(QStringLiteral("w")));
    QVERIFY(!m_repo->byId(QStringLiteral("w")));
    QCOMPARE(changed.count(), 5);
    // A group another device dated ahead of this clock: an edit here is not dated before that.
    CalendarView ahead = group(QStringLiteral("ahead"), QStringLiteral("Ahead"));
    ahead.updated_at = QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC);
    QVERIFY(m_repo->insert(ahead));
    QVERIFY(m_repo->update(ahead));
    QVERIFY(m_repo->reorder({ahead.id}));
    QCOMPARE(m_repo->byId(ahead.id)->updated_at, ahead.updated_at);
}

void TestViewRepository::insertRefusesEmptyIdAndDuplicates()
{
    QSignalSpy changed(m_repo.get(), &ViewRepository::viewsChanged);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^ViewRepository::insert failed:")));
    QVERIFY(!m_repo->insert(group(QString(), QStringLiteral("Nameless"))));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^ViewRepository::insert failed:")));
    QVERIFY(!m_repo->insert(group(QStringLiteral("all-calendars"), QStringLiteral("Again"))));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM calendar_views")).toInt(), 1);
}

void TestViewRepository::reorder()
{
    for (const char *id : {"a", "b", "c"})
        QVERIFY(m_repo->insert(group(QString::fromLatin1(id), QString::fromLatin1(id))));
    QVERIFY(m_t->exec(QStringLiteral("UPDATE calendar_views SET sync_status = 'synced'")));
    QSignalSpy changed(m_repo.get(), &ViewRepository::viewsChanged);

    QVERIFY(m_repo->reorder({}));
    QCOMPARE(changed.count(), 0);

    QVERIFY(m_repo->reorder(strings({"c", "a", "b"})));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(idsOf(m_repo->listActive()), strings({"all-calendars", "c", "a", "b"}));
    QCOMPARE(m_repo->byId(QStringLiteral("c"))->sort_order, 10);
    QCOMPARE(m_repo->byId(QStringLiteral("a"))->sort_order, 20);
    QCOMPARE(m_repo->byId(QStringLiteral("b"))->sort_order, 30);
    QCOMPARE(m_t->scalar(QStringLiteral(
                             "SELECT COUNT(*) FROM calendar_views WHERE sync_status = 'pending'"))
                 .toInt(),
             3);

    // Inside a transaction the caller holds, reorder joins it.
    QVERIFY(m_t->sql().transaction());
    QVERIFY(m_repo->reorder(strings({"b", "c", "a"})));
    QVERIFY(m_t->sql().rollback());
    QCOMPARE(m_repo->byId(QStringLiteral("b"))->sort_order, 30);
}

void TestViewRepository::failedReorderChangesNothing_data()
{
    QTest::addColumn<QString>("failAt");
    QTest::newRow("an update fails") << QStringLiteral("update");
    QTest::newRow("the commit fails") << QStringLiteral("commit");
}

void TestViewRepository::failedReorderChangesNothing()
{
    QFETCH(QString, failAt);
    for (const char *id : {"a", "b", "c"})
        QVERIFY(m_repo->insert(group(QString::fromLatin1(id), QString::fromLatin1(id), 5)));
    QVERIFY(m_t->failUpdatesOf(QStringLiteral("calendar_views"), QStringLiteral("b"), failAt));
    QSignalSpy changed(m_repo.get(), &ViewRepository::viewsChanged);

    QVERIFY(!m_repo->reorder(strings({"a", "b", "c"})));
    QCOMPARE(changed.count(), 0);
    for (const char *id : {"a", "b", "c"})
        QCOMPARE(m_repo->byId(QString::fromLatin1(id))->sort_order, 5);
    // No transaction was left open: a later write stands on its own.
    QVERIFY(m_t->sql().transaction());
    QVERIFY(m_t->sql().rollback());
    QVERIFY(m_repo->reorder(strings({"c", "a"})));
    QCOMPARE(m_repo->byId(QStringLiteral("a"))->sort_order, 20);
}

QTEST_GUILESS_MAIN(TestViewRepository)
#include "tst_ViewRepository.moc"
