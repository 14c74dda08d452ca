#include "model/Clock.h"
#include "storage/CalendarRepository.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

Calendar calendar(const QString &id, const QString &name, int sortOrder = 0)
{
    Calendar c;
    c.id = id;
    c.account_id = QStringLiteral("acc");
    c.url = QStringLiteral("/cal/") + id;
    c.name = name;
    c.sort_order = sortOrder;
    c.created_at = QDateTime(QDate(2024, 1, 1), QTime(9, 0), Qt::UTC);
    c.updated_at = c.created_at;
    return c;
}

} // namespace

class TestCalendarRepository : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void colourNormalisation_data();
    void colourNormalisation();
    void colourIsNormalisedOnReadingOnly();
    void roundTripAndOrdering();
    void setDefault();
    void setDefaultFailureKeepsPreviousDefault();
    void removal();
    void failedReadIsLoggedAndReadsAsNone();

private:
    std::unique_ptr<LarkTest::TestDatabase> m_t;
    std::unique_ptr<CalendarRepository> m_repo;
    LarkTest::TestClock m_clock {QDateTime(QDate(2024, 6, 1), QTime(12, 0), Qt::UTC)};
    // The repositories stamp their writes with the program clock.
    Clock::Override m_pinned {[this] {
        return m_clock.now();
    }};
};

void TestCalendarRepository::init()
{
    m_t = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_t->isValid());
    QVERIFY(m_t->exec(
        QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc', 'A', 'caldav')")));
    QVERIFY(m_t->exec(
        QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc2', 'B', 'caldav')")));
    m_repo = std::make_unique<CalendarRepository>(m_t->db());
}

void TestCalendarRepository::cleanup()
{
    m_repo.reset();
    m_t.reset();
}

void TestCalendarRepository::colourNormalisation_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("three digits with blanks") << QStringLiteral("  3a7 ") << QStringLiteral("#3a7");
    QTest::newRow("eight digits") << QStringLiteral("#FF000080") << QStringLiteral("#FF000080");
    QTest::newRow("six digits, no hash") << QStringLiteral("00ff00") << QStringLiteral("#00ff00");
    QTest::newRow("colour name") << QStringLiteral("red") << QStringLiteral("#4285F4");
    QTest::newRow("five digits") << QStringLiteral("#12345") << QStringLiteral("#4285F4");
    QTest::newRow("four digits") << QStringLiteral("#1234") << QStringLiteral("#4285F4");
    QTest::newRow("seven digits") << QStringLiteral("1234567") << QStringLiteral("#4285F4");
    QTest::newRow("hash only") << QStringLiteral("#") << QStringLiteral("#4285F4");
    QTest::newRow("two hashes") << QStringLiteral("##123") << QStringLiteral("#4285F4");
    QTest::newRow("non-hex digit") << QStringLiteral("#12345g") << QStringLiteral("#4285F4");
    QTest::newRow("empty") << QStringLiteral("") << QStringLiteral("#4285F4");
}

void TestCalendarRepository::colourNormalisation()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QCOMPARE(normalizeCalendarColor(stored), expected);
}

void TestCalendarRepository::colourIsNormalisedOnReadingOnly()
{
    Calendar c = calendar(QStringLiteral("c1"), QStringLiteral("Work"));
    c.color = QStringLiteral(" 3a7 ");
    QVERIFY(m_repo->insert(c));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT color FROM calendars")).toString(),
             QStringLiteral(" 3a7 "));
    QCOMPARE(m_repo->byId(QStringLiteral("c1"))->color, QStringLiteral("#3a7"));
}

void TestCalendarRepository::roundTripAndOrdering()
{
    Calendar work = calendar(QStringLiteral("w"), QStringLiteral("Work"), 1);
    work.sync_token = QStringLiteral("tok");
    work.is_read_only = true;
    work.shared_with_me = true;
    work.supported_components = QStringLiteral("[\"VEVENT\",\"VTODO\"]");
    QSignalSpy changed(m_repo.get(), &CalendarRepository::calendarsChanged);
    QVERIFY(m_repo->insert(work));
    QVERIFY(m_repo->insert(calendar(QStringLiteral("b"), QStringLiteral("Birthdays"), 1)));
    QVERIFY(m_repo->insert(calendar(QStringLiteral("h"), QStringLiteral("Home"), 0)));
    Calendar other = calendar(QStringLiteral("o"), QStringLiteral("Other"), 0);
    other.account_id = QStringLiteral("acc2");
    QVERIFY(m_repo->insert(other));
    QCOMPARE(changed.count(), 4);

    QCOMPARE(LarkTest::idsOf(m_repo->listAll()), LarkTest::strings({"h", "o", "b", "w"}));
    QCOMPARE(LarkTest::idsOf(m_repo->listByAccount(QStringLiteral("acc"))),
             LarkTest::strings({"h", "b", "w"}));

    std::optional<Calendar> read = m_repo->byId(QStringLiteral("w"));
    QVERIFY(read);
    QCOMPARE(read->sync_token, QStringLiteral("tok"));
    QCOMPARE(read->is_read_only, true);
    QCOMPARE(read->shared_with_me, true);
    QCOMPARE(read->is_visible, true);
    QCOMPARE(read->supported_components, work.supported_components);
    QCOMPARE(read->created_at, work.created_at);

    read->name = QStringLiteral("Job");
    read->account_id = QStringLiteral("acc2");
    QVERIFY(m_repo->update(*read));
    read = m_repo->byId(QStringLiteral("w"));
    QCOMPARE(read->name, QStringLiteral("Job"));
    QCOMPARE(read->account_id, QStringLiteral("acc2"));
    QCOMPARE(read->created_at, work.created_at);
    QCOMPARE(read->updated_at, m_clock.now());
    QCOMPARE(read->preferences_changed_at, std::optional(m_clock.now()));
    // A choice another device dated ahead of this clock: one made here is not dated before it.
    const QDateTime ahead(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC);
    read->preferences_changed_at = ahead;
    QVERIFY(m_repo->storeSynced(*read));
    read->name = QStringLiteral("Office");
    QVERIFY(m_repo->update(*read));
    QCOMPARE(m_repo->byId(read->id)->preferences_changed_at, std::optional(ahead));

    // A calendar of an unknown account violates the foreign key.
    Calendar orphan = calendar(QStringLiteral("x"), QStringLiteral("X"));
    orphan.account_id = QStringLiteral("nobody");
    changed.clear();
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^CalendarRepository::insert failed:.*FOREIGN KEY")));
    QVERIFY(!m_repo->insert(orphan));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^CalendarRepository::insert failed:")));
    QVERIFY(!m_repo->insert(calendar(QString(), QStringLiteral("no id"))));
    QCOMPARE(changed.count(), 0);
}

void TestCalendarRepository::setDefault()
{
    Calendar a = calendar(QStringLiteral("a"), QStringLiteral("A"));
    a.is_default = true;
    QVERIFY(m_repo->insert(a));
    QVERIFY(m_repo->insert(calendar(QStringLiteral("b"), QStringLiteral("B"))));
    QVERIFY(m_repo->insert(calendar(QStringLiteral("c"), QStringLiteral("C"))));

    QSignalSpy changed(m_repo.get(), &CalendarRepository::calendarsChanged);
    QVERIFY(m_repo->setDefault(QStringLiteral("b")));
    QCOMPARE(changed.count(), 1);
    QList<Calendar> all = m_repo->listAll();
    QCOMPARE(all.at(0).is_default, false);
    QCOMPARE(all.at(1).is_default, true);
    QCOMPARE(all.at(2).is_default, false);
    QCOMPARE(all.at(0).updated_at, m_clock.now());
    QCOMPARE(all.at(1).updated_at, m_clock.now());
    // Only rows whose flag changes get a new time.
    QCOMPARE(all.at(2).updated_at, a.created_at);

    // An unknown id clears every default.
    QVERIFY(m_repo->setDefault(QStringLiteral("nobody")));
    QCOMPARE(
        m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM calendars WHERE is_default = 1")).toInt(),
        0);
    QCOMPARE(changed.count(), 2);

    // Inside a transaction the caller holds it joins that transaction.
    QVERIFY(m_t->sql().transaction());
    QVERIFY(m_repo->setDefault(QStringLiteral("c")));
    QVERIFY(m_t->sql().commit());
    QCOMPARE(
        m_t->scalar(QStringLiteral("SELECT id FROM calendars WHERE is_default = 1")).toString(),
        QStringLiteral("c"));
}

void TestCalendarRepository::setDefaultFailureKeepsPreviousDefault()
{
    Calendar a = calendar(QStringLiteral("a"), QStringLiteral("A"));
    a.is_default = true;
    QVERIFY(m_repo->insert(a));
    QVERIFY(m_repo->insert(calendar(QStringLiteral("b"), QStringLiteral("B"))));
    QVERIFY(
        m_t->exec(QStringLiteral("CREATE TRIGGER refuse_b BEFORE UPDATE OF is_default ON calendars "
                                 "WHEN NEW.id = 'b' BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    QSignalSpy changed(m_repo.get(), &CalendarRepository::calendarsChanged);
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^CalendarRepository::setDefault set failed:.*refused")));
    QVERIFY(!m_repo->setDefault(QStringLiteral("b")));
    QCOMPARE(changed.count(), 0);
    // The first statement's clearing was rolled back with it.
    QCOMPARE(
        m_t->scalar(QStringLiteral("SELECT id FROM calendars WHERE is_default = 1")).toString(),
        QStringLiteral("a"));
    // And no transaction is left open.
    QVERIFY(m_t->sql().transaction());
    QVERIFY(m_t->sql().rollback());
}

void TestCalendarRepository::removal()
{
    QVERIFY(m_repo->insert(calendar(QStringLiteral("a"), QStringLiteral("A"))));
    QVERIFY(m_t->exec(QStringLiteral(
        "INSERT INTO events (id, calendar_id, uid, title, start_time, raw_icalendar) "
        "VALUES ('e', 'a', 'u', 't', '2024-01-01T00:00:00Z', 'x')")));
    QSignalSpy changed(m_repo.get(), &CalendarRepository::calendarsChanged);
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^CalendarRepository::remove failed:.*FOREIGN KEY")));
    QVERIFY(!m_repo->remove(QStringLiteral("a")));
    QCOMPARE(changed.count(), 0);
    QVERIFY(m_t->exec(QStringLiteral("DELETE FROM events")));
    QVERIFY(m_repo->remove(QStringLiteral("a")));
    QCOMPARE(m_repo->byId(QStringLiteral("a")), std::nullopt);
    QVERIFY(m_repo->remove(QStringLiteral("nobody")));
    QCOMPARE(changed.count(), 2);
}

void TestCalendarRepository::failedReadIsLoggedAndReadsAsNone()
{
    QVERIFY(m_repo->insert(calendar(QStringLiteral("a"), QStringLiteral("A"))));
    QVERIFY(m_t->exec(QStringLiteral("ALTER TABLE calendars RENAME COLUMN ctag TO gone")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral(
                             "^CalendarRepository::listAll failed: .*no such column: ctag")));
    QVERIFY(m_repo->listAll().isEmpty());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^CalendarRepository::byId failed: ")));
    QCOMPARE(m_repo->byId(QStringLiteral("a")), std::nullopt);
}

QTEST_GUILESS_MAIN(TestCalendarRepository)
#include "tst_CalendarRepository.moc"
