#include "model/Clock.h"
#include "storage/FilterRuleRepository.h"
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

FilterRule rule(const QString &id, const QString &name, int priority = 100, bool enabled = true)
{
    FilterRule r;
    r.id = id;
    r.name = name;
    r.type = QStringLiteral("pattern");
    r.conditions = QStringLiteral("{\"runtimeType\":\"pattern\",\"pattern\":\"lunch\"}");
    r.priority = priority;
    r.enabled = enabled;
    r.created_at = utc(1);
    r.updated_at = utc(1);
    return r;
}

} // namespace

class TestFilterRuleRepository : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void priorityOrderAndLists();
    void roundTripAndUpdate();
    void setEnabledMarksPending();
    void insertRefusesEmptyId();
    void reorder();
    void failedReorderChangesNothing_data();
    void failedReorderChangesNothing();

private:
    std::unique_ptr<LarkTest::TestDatabase> m_t;
    std::unique_ptr<FilterRuleRepository> m_repo;
    LarkTest::TestClock m_clock {utc(6, 12)};
    // The repositories stamp their writes with the program clock.
    Clock::Override m_pinned {[this] {
        return m_clock.now();
    }};
};

void TestFilterRuleRepository::init()
{
    m_t = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_t->isValid());
    m_repo = std::make_unique<FilterRuleRepository>(m_t->db());
}

void TestFilterRuleRepository::cleanup()
{
    m_repo.reset();
    m_t.reset();
}

void TestFilterRuleRepository::priorityOrderAndLists()
{
    for (const FilterRule &r : {rule(QStringLiteral("late"), QStringLiteral("Late"), 100),
                                rule(QStringLiteral("early"), QStringLiteral("Early"), 20),
                                rule(QStringLiteral("tie-b"), QStringLiteral("Beta"), 50),
                                rule(QStringLiteral("tie-a"), QStringLiteral("Alpha"), 50),
                                rule(QStringLiteral("off"), QStringLiteral("Off"), 10, false),
                                rule(QStringLiteral("gone"), QStringLiteral("Gone"), 1)})
        QVERIFY(m_repo->insert(r));
    QVERIFY(m_repo->remove(QStringLiteral("gone")));

    QCOMPARE(idsOf(m_repo->listEnabled()), strings({"early", "tie-a", "tie-b", "late"}));
    QCOMPARE(idsOf(m_repo->listActive()), strings({"off", "early", "tie-a", "tie-b", "late"}));
    QCOMPARE(idsOf(m_repo->listAll()), strings({"gone", "off", "early", "tie-a", "tie-b", "late"}));
    const std::optional<FilterRule> gone = m_repo->byId(QStringLiteral("gone"));
    QVERIFY(gone);
    QCOMPARE(gone->deleted_at, std::optional<QDateTime>(m_clock.now()));
    QCOMPARE(gone->sync_status, QStringLiteral("pending"));
}

void TestFilterRuleRepository::roundTripAndUpdate()
{
    QSignalSpy changed(m_repo.get(), &FilterRuleRepository::filterRulesChanged);
    FilterRule r = rule(QStringLiteral("r"), QStringLiteral("Rule"));
    r.calendar_ids = QStringLiteral("[\"A\"]");
    r.action = QStringLiteral("dim");
    r.event_uid = QStringLiteral("ev@uid");
    r.event_calendar_id = QStringLiteral("A");
    r.suppress_reminders = true;
    r.sync_status = QStringLiteral("synced");
    QVERIFY(m_repo->insert(r));
    QCOMPARE(changed.count(), 1);

    FilterRule read = *m_repo->byId(QStringLiteral("r"));
    QCOMPARE(read.calendar_ids, r.calendar_ids);
    QCOMPARE(read.conditions, r.conditions);
    QCOMPARE(read.action, QStringLiteral("dim"));
    QCOMPARE(read.event_uid, QStringLiteral("ev@uid"));
    QCOMPARE(read.event_calendar_id, QStringLiteral("A"));
    QVERIFY(read.suppress_reminders);
    QCOMPARE(read.sync_status, QStringLiteral("synced"));
    QCOMPARE(read.created_at, utc(1));
    QVERIFY(!read.deleted_at);

    read.name = QStringLiteral("Renamed");
    read.sync_status = QStringLiteral("pending");
    QVERIFY(m_repo->update(read));
    read = *m_repo->byId(QStringLiteral("r"));
    QCOMPARE(read.name, QStringLiteral("Renamed"));
    QCOMPARE(read.sync_status, QStringLiteral("pending"));
    QCOMPARE(read.updated_at, m_clock.now());
    QCOMPARE(read.created_at, utc(1));
    QCOMPARE(changed.count(), 2);

    // A rule needs its condition text: the failure is reported and announces nothing.
    FilterRule bad = rule(QStringLiteral("bad"), QStringLiteral("Bad"));
    bad.conditions = QString();
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("^FilterRuleRepository::insert failed:")));
    QVERIFY(!m_repo->insert(bad));
    QCOMPARE(changed.count(), 2);

    QVERIFY(m_repo->hardDelete(QStringLiteral("r")));
    QVERIFY(!m_repo->byId(QStringLiteral("r")));
    QCOMPARE(changed.count(), 3);
}

void TestFilterRuleRepository::setEnabledMarksPending()
{
    FilterRule r = rule(QStringLiteral("r"), QStringLiteral("Rule"));
    r.sync_status = QStringLiteral("synced");
    QVERIFY(m_repo->insert(r));
    QSignalSpy changed(m_repo.get(), &FilterRuleRepository::filterRulesChanged);

    // Also when the flag does not change.
    QVERIFY(m_repo->setEnabled(QStringLiteral("r"), true));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_repo->byId(QStringLiteral("r"))->sync_status, QStringLiteral("pending"));

    m_clock.advanceSecs(30);
    QVERIFY(m_repo->setEnabled(QStringLiteral("r"), false));
    QCOMPARE(changed.count(), 2);
    const FilterRule off = *m_repo->byId(QStringLiteral("r"));
    QVERIFY(!off.enabled);
    QCOMPARE(off.updated_at, m_clock.now());
    QVERIFY(m_repo->listEnabled().isEmpty());
    QCOMPARE(idsOf(m_repo->listActive()), strings({"r"}));

    // A rule another device dated ahead of this clock: an edit here is not dated before it.
    FilterRule ahead = rule(QStringLiteral("ahead"), QStringLiteral("Ahead"));
    ahead.updated_at = QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC);
    QVERIFY(m_repo->insert(ahead));
    ahead.name = QStringLiteral("Renamed");
    QVERIFY(m_repo->update(ahead));
    QVERIFY(m_repo->setEnabled(ahead.id, false));
    QVERIFY(m_repo->reorder({ahead.id}));
    QCOMPARE(m_repo->byId(ahead.id)->name, QStringLiteral("Renamed"));
    QCOMPARE(m_repo->byId(ahead.id)->updated_at, ahead.updated_at);
}

void TestFilterRuleRepository::insertRefusesEmptyId()
{
    QSignalSpy changed(m_repo.get(), &FilterRuleRepository::filterRulesChanged);
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("^FilterRuleRepository::insert failed:")));
    QVERIFY(!m_repo->insert(rule(QString(), QStringLiteral("Nameless"))));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM filter_rules")).toInt(), 0);
}

void TestFilterRuleRepository::reorder()
{
    for (const char *id : {"a", "b", "c"})
        QVERIFY(m_repo->insert(rule(QString::fromLatin1(id), QString::fromLatin1(id))));
    const FilterRule fresh = rule(QStringLiteral("fresh"), QStringLiteral("fresh"));
    QVERIFY(m_repo->insert(fresh));
    QVERIFY(m_t->exec(QStringLiteral("UPDATE filter_rules SET sync_status = 'synced'")));
    QSignalSpy changed(m_repo.get(), &FilterRuleRepository::filterRulesChanged);

    QVERIFY(m_repo->reorder({}));
    QCOMPARE(changed.count(), 0);

    QVERIFY(m_repo->reorder(strings({"c", "a", "b"})));
    QCOMPARE(changed.count(), 1);
    // The untouched rule keeps the default priority 100 and sorts after them.
    QCOMPARE(idsOf(m_repo->listEnabled()), strings({"c", "a", "b", "fresh"}));
    QCOMPARE(m_repo->byId(QStringLiteral("b"))->priority, 30);
    QCOMPARE(m_repo->byId(QStringLiteral("b"))->sync_status, QStringLiteral("pending"));
    QCOMPARE(m_repo->byId(QStringLiteral("b"))->updated_at, m_clock.now());
    QCOMPARE(m_repo->byId(QStringLiteral("fresh"))->sync_status, QStringLiteral("synced"));
}

void TestFilterRuleRepository::failedReorderChangesNothing_data()
{
    QTest::addColumn<QString>("failAt");
    QTest::newRow("an update fails") << QStringLiteral("update");
    QTest::newRow("the commit fails") << QStringLiteral("commit");
}

void TestFilterRuleRepository::failedReorderChangesNothing()
{
    QFETCH(QString, failAt);
    for (const char *id : {"a", "b", "c"})
        QVERIFY(m_repo->insert(rule(QString::fromLatin1(id), QString::fromLatin1(id), 5)));
    QVERIFY(m_t->failUpdatesOf(QStringLiteral("filter_rules"), QStringLiteral("b"), failAt));
    QSignalSpy changed(m_repo.get(), &FilterRuleRepository::filterRulesChanged);

    QVERIFY(!m_repo->reorder(strings({"a", "b", "c"})));
    QCOMPARE(changed.count(), 0);
    for (const char *id : {"a", "b", "c"})
        QCOMPARE(m_repo->byId(QString::fromLatin1(id))->priority, 5);
    // No transaction was left open.
    QVERIFY(m_t->sql().transaction());
    QVERIFY(m_t->sql().rollback());
}

QTEST_GUILESS_MAIN(TestFilterRuleRepository)
#include "tst_FilterRuleRepository.moc"
