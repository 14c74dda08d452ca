// Range reads find series and long rows through an index on the latest end of their
// occurrences, a bound written in SQL apart from the recurrence code that makes the occurrences.
// These tests hold the two together: SQLite must search the indexes the range statements name,
// and the bound must never fall before the end of a series' last occurrence.
#include "model/Clock.h"
#include "model/Recurrence.h"
#include "storage/EventRepository.h"
#include "storage/SqlReader.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QTimeZone>
#include <QtTest>

#include <sqlite3.h>

namespace {

QDateTime utc(int y, int mo, int d, int h, int mi = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
}

int noteStatement(unsigned, void *texts, void *statement, void *)
{
    static_cast<QStringList *>(texts)->append(
        QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt *>(statement))));
    return 0;
}

} // namespace

class TestRangeBounds : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void rangeStatementsSearchTheirIndexes();
    void boundKeepsTheLastOccurrence_data();
    void boundKeepsTheLastOccurrence();

private:
    std::unique_ptr<LarkTest::TestDatabase> m_t;
    std::unique_ptr<EventRepository> m_repo;
    Clock::Override m_pinned {[] {
        return utc(2024, 1, 1, 12);
    }};
};

void TestRangeBounds::init()
{
    m_t = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_t->isValid());
    QVERIFY(m_t->addCalendar(QStringLiteral("A")));
    m_repo = std::make_unique<EventRepository>(m_t->db());
}

void TestRangeBounds::cleanup()
{
    m_repo.reset();
    m_t.reset();
}

// Every statement a range read runs over the events table, with and without a calendar filter,
// searches an index: short rows by their start, the others by the bound. A bound written unlike
// the index's key, or a dropped index, leaves SQLite reading every row (or nothing at all).
void TestRangeBounds::rangeStatementsSearchTheirIndexes()
{
    sqlite3 *connection = Sql::handleOf(m_t->sql());
    QVERIFY(connection);
    QStringList texts;
    sqlite3_trace_v2(connection, SQLITE_TRACE_STMT, noteStatement, &texts);
    const QDateTime from = utc(2024, 3, 4, 0);
    (void)m_repo->listInRange(from, from.addDays(7));
    (void)m_repo->listInRange(from, from.addDays(7), {QStringLiteral("A")});
    sqlite3_trace_v2(connection, 0, nullptr, nullptr);
    texts.removeDuplicates();

    QStringList plans;
    for (const QString &text : std::as_const(texts)) {
        if (!text.contains(QLatin1String(" FROM events ")))
            continue;
        // Straight to SQLite: the statements' parameters stay unbound.
        sqlite3_stmt *plan = nullptr;
        const QByteArray explain = "EXPLAIN QUERY PLAN " + text.toUtf8();
        QVERIFY2(
            sqlite3_prepare_v2(connection, explain.constData(), int(explain.size()), &plan, nullptr)
                == SQLITE_OK,
            sqlite3_errmsg(connection));
        while (sqlite3_step(plan) == SQLITE_ROW) {
            const QString detail
                = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(plan, 3)));
            if (detail.contains(QLatin1String(" events ")))
                plans.append(detail);
        }
        sqlite3_finalize(plan);
    }
    plans.sort();
    const QString byBound
        = QStringLiteral("SEARCH events USING INDEX idx_events_series_end (<expr>>?)");
    const QString byStart = QStringLiteral(
        "SEARCH events USING INDEX idx_events_start_end (start_time>? AND start_time<?)");
    QCOMPARE(plans, QStringList({byBound, byBound, byStart, byStart}));
}

void TestRangeBounds::boundKeepsTheLastOccurrence_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<int>("hours");
    QTest::addColumn<bool>("bounded");
    const QDateTime monday(QDate(2024, 1, 8), QTime(9, 0));
    const QString utcZone = QStringLiteral("Z");
    // The forms the bound reads: UNTIL in each of its forms, and COUNT for each frequency
    // without day filters (DAILY also with weekdays), several times a day included.
    QTest::newRow("until, UTC") << "FREQ=DAILY;UNTIL=20240110T090000Z" << utcZone << monday << 1
                                << true;
    QTest::newRow("until a date, west of UTC")
        << "FREQ=DAILY;UNTIL=20240201"
        << "America/Los_Angeles" << QDateTime(QDate(2024, 1, 8), QTime(20, 0)) << 2 << true;
    QTest::newRow("until without Z, east of UTC")
        << "FREQ=DAILY;UNTIL=20240110T230000"
        << "Pacific/Kiritimati" << QDateTime(QDate(2024, 1, 8), QTime(23, 0)) << 1 << true;
    QTest::newRow("count, daily") << "FREQ=DAILY;COUNT=10" << utcZone << monday << 1 << true;
    QTest::newRow("count, daily on two weekdays") << "FREQ=DAILY;BYDAY=MO,FR;COUNT=7"
                                                  << "Asia/Tokyo" << monday << 1 << true;
    QTest::newRow("count, weekly from Sunday weeks")
        << "FREQ=WEEKLY;BYDAY=SA,SU;WKST=SU;COUNT=5" << utcZone << monday << 1 << true;
    QTest::newRow("count, every other week") << "FREQ=WEEKLY;INTERVAL=2;COUNT=6"
                                             << "offset -11" << monday << 3 << true;
    QTest::newRow("count, monthly on the 31st")
        << "FREQ=MONTHLY;COUNT=5" << utcZone << QDateTime(QDate(2024, 1, 31), QTime(22, 0)) << 4
        << true;
    QTest::newRow("count, yearly on 29 February")
        << "FREQ=YEARLY;COUNT=3"
        << "Europe/Berlin" << QDateTime(QDate(2024, 2, 29), QTime(23, 30)) << 1 << true;
    QTest::newRow("count, twice a day")
        << "FREQ=DAILY;BYHOUR=9,17;COUNT=9" << utcZone << monday << 1 << true;
    QTest::newRow("count, lower case")
        << "freq=monthly;interval=3;count=4" << utcZone << monday << 1 << true;
    QTest::newRow("count before until")
        << "FREQ=DAILY;COUNT=3;UNTIL=20250101" << utcZone << monday << 1 << true;
    QTest::newRow("count across a DST change")
        << "FREQ=WEEKLY;COUNT=12"
        << "Europe/Berlin" << QDateTime(QDate(2024, 3, 1), QTime(0, 30)) << 1 << true;
    QTest::newRow("count, floating local time") << "FREQ=DAILY;COUNT=4"
                                                << "local" << monday << 1 << true;
    QTest::newRow("count, each a week long")
        << "FREQ=WEEKLY;COUNT=8" << utcZone << monday << 24 * 7 << true;
    // Forms the bound leaves open, though the rule ends.
    QTest::newRow("count with month days")
        << "FREQ=MONTHLY;BYMONTHDAY=1,15;COUNT=6" << utcZone << monday << 1 << false;
    QTest::newRow("count with a leading zero")
        << "FREQ=DAILY;COUNT=05" << utcZone << monday << 1 << false;
    QTest::newRow("interval too long to read")
        << "FREQ=DAILY;COUNT=3;INTERVAL=3000000000" << utcZone << monday << 1 << false;
    QTest::newRow("count of none") << "FREQ=DAILY;COUNT=0" << utcZone << monday << 1 << false;
}

// The last occurrence the recurrence code makes is found by a range read that begins just before
// it ends; a series the bound reads is left out of a range long after it.
void TestRangeBounds::boundKeepsTheLastOccurrence()
{
    QFETCH(QString, rule);
    QFETCH(QString, zone);
    QFETCH(QDateTime, start);
    QFETCH(int, hours);
    QFETCH(bool, bounded);
    const QDateTime wall = zone == QLatin1String("Z") || zone.startsWith(QLatin1String("offset "))
            || zone == QLatin1String("local")
        ? start
        : QDateTime(start.date(), start.time(), QTimeZone(zone.toUtf8()));
    Event series;
    series.id = QStringLiteral("series");
    series.calendar_id = QStringLiteral("A");
    series.uid = QStringLiteral("series@uid");
    series.title = QStringLiteral("Series");
    series.start_time = LarkTest::expressed(wall, zone);
    if (wall.timeSpec() == Qt::TimeZone)
        series.timezone = zone;
    series.end_time = series.start_time.addSecs(3600 * hours);
    series.recurrence_rule = rule;
    series.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR");
    series.created = Clock::now();
    series.last_modified = series.created;
    QVERIFY(m_repo->insert(series));

    const QList<Event> all = expandRecurringMaster(
        series, series.start_time, QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC));
    QVERIFY(!all.isEmpty());
    const Event &last = all.last();
    QVERIFY(last.end_time);
    const QDateTime from = last.end_time->addSecs(-60);
    const QDateTime to = *last.end_time;
    const QList<Event> occurrences = expandOccurrences(m_repo->listInRange(from, to), from, to);
    QCOMPARE(occurrences.size(), 1);
    QCOMPARE(occurrences.first().start_time, last.start_time);

    const QDateTime later(QDate(9000, 1, 1), QTime(0, 0), Qt::UTC);
    QCOMPARE(m_repo->listInRange(later, later.addDays(7)).isEmpty(), bounded);
}

QTEST_GUILESS_MAIN(TestRangeBounds)
#include "tst_RangeBounds.moc"
