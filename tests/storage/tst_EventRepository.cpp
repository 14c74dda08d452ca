#include "model/Clock.h"
#include "storage/EventRepository.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimeZone>
#include <QtTest>

#include <sqlite3.h>

using LarkTest::strings;

using LarkTest::expressed;

namespace {

QDateTime utc(int y, int mo, int d, int h, int mi = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
}

Event makeEvent(const QString &id, const QString &calendar, const QDateTime &start,
                const std::optional<QDateTime> &end)
{
    Event e;
    e.id = id;
    e.calendar_id = calendar;
    e.uid = id + QStringLiteral("@uid");
    e.title = QStringLiteral("Event ") + id;
    e.start_time = start;
    e.end_time = end;
    e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR");
    e.created = utc(2024, 1, 1, 0);
    e.last_modified = e.created;
    return e;
}

Reminder reminder(int minutes)
{
    Reminder r;
    r.minutes_before = minutes;
    return r;
}

Attendee attendee(const QString &email, const QString &name = QString())
{
    Attendee a;
    a.email = email;
    a.name = name;
    return a;
}

} // namespace

class TestEventRepository : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void rangeBoundaries();
    void rangeCalendarFilter();
    void seriesOverBeforeTheRange_data();
    void seriesOverBeforeTheRange();
    void movedOccurrenceOfASeriesThatIsOver();
    void rangeSameInsideTransactionAndAfterChanges();
    void rangeReadsSeeEveryChange();
    void rangeIsExactInEveryZone_data();
    void rangeIsExactInEveryZone();
    void tombstonesAndLookups();
    void search();
    void childRowsAndTriggerTimes();
    void remindersFollowTheirEvent();
    void pulledCopyRewritesOnlyWhatChanged();
    void overdueRemindersAreSettledAsWritten_data();
    void overdueRemindersAreSettledAsWritten();
    void writeBackKeepsChildRows_data();
    void writeBackKeepsChildRows();
    void uniqueKeyRejectsDuplicate();
    void failedChildWriteKeepsPreviousState();
    void copiedChildRowsGetFreshIds();
    void emptyIdIsRefused();
    void manyEventsKeepTheirChildren();
    void timeZoneConversionOnReading_data();
    void timeZoneConversionOnReading();
    void updateRemoveMarkSynced();
    void hardDeleteAndRestore();
    void changeSignalIsCoalesced();
    void writeInsideSlotIsAnnounced();

private:
    std::unique_ptr<LarkTest::TestDatabase> m_t;
    std::unique_ptr<EventRepository> m_repo;
    // Before the events the tests write, so that their reminders are still to come; set anew
    // for each test.
    LarkTest::TestClock m_clock;
    // The repositories stamp their writes with the program clock.
    Clock::Override m_pinned {[this] {
        return m_clock.now();
    }};
};

void TestEventRepository::init()
{
    m_clock.set(utc(2024, 3, 1, 12));
    m_t = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_t->isValid());
    QVERIFY(m_t->addCalendar(QStringLiteral("A")));
    QVERIFY(m_t->addCalendar(QStringLiteral("B")));
    m_repo = std::make_unique<EventRepository>(m_t->db());
}

void TestEventRepository::cleanup()
{
    m_repo.reset();
    m_t.reset();
}

void TestEventRepository::rangeBoundaries()
{
    const QDateTime from = utc(2024, 3, 4, 0);
    const QDateTime to = utc(2024, 3, 11, 0);
    QList<Event> events {
        makeEvent(QStringLiteral("inside"), QStringLiteral("A"), utc(2024, 3, 5, 9),
                  utc(2024, 3, 5, 10)),
        makeEvent(QStringLiteral("no-end-year-before"), QStringLiteral("A"), utc(2023, 3, 1, 9),
                  std::nullopt),
        makeEvent(QStringLiteral("ends-at-from"), QStringLiteral("A"), utc(2024, 3, 3, 23), from),
        makeEvent(QStringLiteral("starts-at-to"), QStringLiteral("A"), to, utc(2024, 3, 11, 1)),
        makeEvent(QStringLiteral("spans-range"), QStringLiteral("B"), utc(2024, 3, 1, 0),
                  utc(2024, 3, 20, 0)),
        makeEvent(QStringLiteral("master-ended-before"), QStringLiteral("B"), utc(2020, 1, 1, 9),
                  utc(2020, 1, 1, 10)),
        makeEvent(QStringLiteral("master-at-to"), QStringLiteral("B"), to, utc(2024, 3, 11, 1)),
        makeEvent(QStringLiteral("tombstone"), QStringLiteral("A"), utc(2024, 3, 5, 9),
                  utc(2024, 3, 5, 10)),
        makeEvent(QStringLiteral("no-end-after"), QStringLiteral("A"), utc(2024, 3, 12, 0),
                  std::nullopt),
    };
    events[5].recurrence_rule = QStringLiteral("FREQ=WEEKLY");
    events[6].recurrence_rule = QStringLiteral("FREQ=DAILY");
    events[7].deleted_at = utc(2024, 3, 1, 0);
    for (const Event &e : std::as_const(events))
        QVERIFY(m_repo->insert(e));

    const QList<Event> found = m_repo->listInRange(from, to, {});
    QCOMPARE(LarkTest::idsOf(found),
             strings({"master-ended-before", "no-end-year-before", "spans-range", "inside"}));
}

// The range query takes short events from the start-time index and long, open-ended and
// recurring ones from the index by their latest end; both follow every change, also inside a
// transaction that is rolled back.
void TestEventRepository::rangeSameInsideTransactionAndAfterChanges()
{
    const QDateTime from = utc(2024, 3, 4, 0);
    const QDateTime to = utc(2024, 3, 11, 0);
    QList<Event> events {
        makeEvent(QStringLiteral("six-days-before"), QStringLiteral("A"), utc(2024, 2, 27, 1),
                  utc(2024, 3, 4, 0, 30)),
        makeEvent(QStringLiteral("eight-days-before"), QStringLiteral("A"), utc(2024, 2, 25, 0),
                  utc(2024, 3, 4, 1)),
        makeEvent(QStringLiteral("local-month"), QStringLiteral("B"),
                  QDateTime(QDate(2024, 2, 1), QTime(9, 0)),
                  QDateTime(QDate(2024, 3, 6), QTime(9, 0))),
        makeEvent(QStringLiteral("offset-long"), QStringLiteral("B"),
                  utc(2024, 2, 1, 0).toOffsetFromUtc(-10 * 3600), utc(2024, 3, 4, 2)),
        makeEvent(QStringLiteral("long-ended-before"), QStringLiteral("B"), utc(2024, 1, 1, 0),
                  utc(2024, 3, 3, 0)),
    };
    for (const Event &e : std::as_const(events))
        QVERIFY(m_repo->insert(e));
    const QStringList expected
        = strings({"offset-long", "local-month", "eight-days-before", "six-days-before"});
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to)), expected);

    QSqlDatabase &db = m_t->db()->connection();
    QVERIFY(db.transaction());
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to)), expected);
    Event master = makeEvent(QStringLiteral("old-master"), QStringLiteral("A"), utc(2010, 1, 1, 9),
                             utc(2010, 1, 1, 10));
    master.recurrence_rule = QStringLiteral("FREQ=DAILY");
    QVERIFY(m_repo->insert(master));
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to)).first(), QStringLiteral("old-master"));
    QVERIFY(db.rollback());
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to)), expected);

    // A change made after the list was built is seen at once.
    QVERIFY(m_repo->insert(master));
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to)).first(), QStringLiteral("old-master"));
    master.recurrence_rule.clear();
    QVERIFY(m_repo->update(master));
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to)), expected);
    Event longer = events[0];
    longer.start_time = utc(2024, 1, 1, 0);
    QVERIFY(m_repo->update(longer));
    QVERIFY(
        LarkTest::idsOf(m_repo->listInRange(from, to)).contains(QStringLiteral("six-days-before")));
}

void TestEventRepository::rangeCalendarFilter()
{
    QVERIFY(m_repo->insert(makeEvent(QStringLiteral("a"), QStringLiteral("A"), utc(2024, 3, 5, 9),
                                     utc(2024, 3, 5, 10))));
    QVERIFY(m_repo->insert(makeEvent(QStringLiteral("b"), QStringLiteral("B"), utc(2024, 3, 5, 8),
                                     utc(2024, 3, 5, 10))));
    const QDateTime from = utc(2024, 3, 4, 0);
    const QDateTime to = utc(2024, 3, 11, 0);
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to, {})), strings({"b", "a"}));
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to, {QStringLiteral("A")})), strings({"a"}));
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to, strings({"B", "A"}))),
             strings({"b", "a"}));
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(from, to, {QStringLiteral("none")})),
             QStringList());
}

void TestEventRepository::seriesOverBeforeTheRange_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("extraDates");
    QTest::addColumn<int>("hours");
    QTest::addColumn<bool>("returned");
    // Every series starts on 8 January 2024 at 09:00 UTC; the range is the week of 4 March.
    const QString none;
    QTest::newRow("until passed") << "FREQ=DAILY;UNTIL=20240110T090000Z" << none << 1 << false;
    QTest::newRow("until date passed") << "FREQ=WEEKLY;UNTIL=20240201" << none << 1 << false;
    QTest::newRow("count used up") << "FREQ=WEEKLY;BYDAY=MO,TH;COUNT=6" << none << 1 << false;
    QTest::newRow("monthly count used up") << "FREQ=MONTHLY;COUNT=1" << none << 1 << false;
    QTest::newRow("until in the range") << "FREQ=DAILY;UNTIL=20240305" << none << 1 << true;
    QTest::newRow("count reaching the range") << "FREQ=DAILY;COUNT=60" << none << 1 << true;
    QTest::newRow("open series") << "FREQ=YEARLY" << none << 1 << true;
    QTest::newRow("until that is no date") << "FREQ=DAILY;UNTIL=20240230" << none << 1 << true;
    QTest::newRow("later count wins") << "FREQ=DAILY;COUNT=3;COUNT=100" << none << 1 << true;
    QTest::newRow("count that is no number") << "FREQ=DAILY;COUNT=3X" << none << 1 << true;
    QTest::newRow("extra date after the end") << "FREQ=DAILY;COUNT=3"
                                              << R"(["20240305T090000Z"])" << 1 << true;
    QTest::newRow("last occurrence still running")
        << "FREQ=WEEKLY;COUNT=8" << none << 24 * 7 << true;
}

void TestEventRepository::seriesOverBeforeTheRange()
{
    QFETCH(QString, rule);
    QFETCH(QString, extraDates);
    QFETCH(int, hours);
    QFETCH(bool, returned);
    Event series = makeEvent(QStringLiteral("series"), QStringLiteral("A"), utc(2024, 1, 8, 9),
                             utc(2024, 1, 8, 9 + hours % 24).addDays(hours / 24));
    series.recurrence_rule = rule;
    series.recurrence_dates = extraDates;
    QVERIFY(m_repo->insert(series));
    const QList<Event> found = m_repo->listInRange(utc(2024, 3, 4, 0), utc(2024, 3, 11, 0));
    QCOMPARE(LarkTest::idsOf(found), returned ? strings({"series"}) : QStringList());
}

// An occurrence moved after the end of its series still shows, with the series it belongs to.
void TestEventRepository::movedOccurrenceOfASeriesThatIsOver()
{
    Event series = makeEvent(QStringLiteral("series"), QStringLiteral("A"), utc(2024, 1, 8, 9),
                             utc(2024, 1, 8, 10));
    series.recurrence_rule = QStringLiteral("FREQ=DAILY;COUNT=3");
    Event moved = makeEvent(QStringLiteral("moved"), QStringLiteral("A"), utc(2024, 3, 5, 9),
                            utc(2024, 3, 5, 10));
    moved.uid = series.uid;
    moved.master_event_uid = series.uid;
    moved.recurrence_id = QStringLiteral("20240109T090000Z");
    Event elsewhere = series;
    elsewhere.id = QStringLiteral("same-uid-other-calendar");
    elsewhere.calendar_id = QStringLiteral("B");
    QVERIFY(m_repo->insert(series));
    QVERIFY(m_repo->insert(moved));
    QVERIFY(m_repo->insert(elsewhere));
    const QList<Event> found = m_repo->listInRange(utc(2024, 3, 4, 0), utc(2024, 3, 11, 0));
    QCOMPARE(LarkTest::idsOf(found), strings({"series", "moved"}));
}

// Range reads reuse the records they built while rows stay as they were; every way a row can
// change under them must show in the next read: a write on the connection outside the
// repository, one not yet committed and then rolled back, and commits of another connection
// (this one has not read since they were made), of the row and of its child rows.
void TestEventRepository::rangeReadsSeeEveryChange()
{
    const QDateTime from = utc(2024, 3, 4, 0);
    const QDateTime to = utc(2024, 3, 11, 0);
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"), utc(2024, 3, 5, 9),
                        utc(2024, 3, 5, 10));
    e.reminders = {reminder(15)};
    e.attendees = {attendee(QStringLiteral("ann@example.org"), QStringLiteral("Ann"))};
    QVERIFY(m_repo->insert(e));
    const auto shown = [&] {
        const QList<Event> week = m_repo->listInRange(from, to);
        if (week.size() != 1 || week[0].reminders.size() != 1 || week[0].attendees.size() != 1)
            return QStringLiteral("%1 events").arg(week.size());
        const Event &x = week[0];
        return QStringList {x.title, x.location, QString::number(x.reminders[0].acknowledged),
                            x.attendees[0].name}
            .join(QLatin1Char('|'));
    };
    QCOMPARE(shown(), QStringLiteral("Event e||0|Ann"));
    QCOMPARE(shown(), QStringLiteral("Event e||0|Ann"));
    // Read again unchanged, the week hands out the records it built before.
    const auto first = m_repo->sharedInRange(from, to);
    QCOMPARE(m_repo->sharedInRange(from, to).value(0).get(), first.value(0).get());

    QVERIFY(m_t->exec(QStringLiteral("UPDATE events SET title = 'Renamed' WHERE id = 'e'")));
    QCOMPARE(shown(), QStringLiteral("Renamed||0|Ann"));
    // Child rows changed, gone and added on this connection make the event's record anew.
    QVERIFY(m_t->exec(QStringLiteral("UPDATE reminders SET acknowledged = 1")));
    QCOMPARE(shown(), QStringLiteral("Renamed||1|Ann"));
    QVERIFY(m_t->exec(QStringLiteral("UPDATE reminders SET acknowledged = 0")));
    QVERIFY(m_t->exec(QStringLiteral("DELETE FROM attendees")));
    QCOMPARE(shown(), QStringLiteral("1 events"));
    QVERIFY(m_t->exec(QStringLiteral("INSERT INTO attendees (id, event_id, email, name, role, "
                                     "status, type, rsvp) VALUES ('a2', 'e', 'ann@example.org', "
                                     "'Ann', 'required', 'needs-action', 'individual', 0)")));
    QCOMPARE(shown(), QStringLiteral("Renamed||0|Ann"));

    QSqlDatabase &db = m_t->db()->connection();
    QVERIFY(db.transaction());
    QVERIFY(m_t->exec(QStringLiteral("UPDATE events SET location = 'Hall' WHERE id = 'e'")));
    QCOMPARE(shown(), QStringLiteral("Renamed|Hall|0|Ann"));
    QVERIFY(db.rollback());
    QCOMPARE(shown(), QStringLiteral("Renamed||0|Ann"));
    QCOMPARE(shown(), QStringLiteral("Renamed||0|Ann"));

    {
        QSqlDatabase other
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(m_t->path());
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec(QStringLiteral("UPDATE events SET title = 'Elsewhere' WHERE id = 'e'")));
        QCOMPARE(shown(), QStringLiteral("Elsewhere||0|Ann"));
        QVERIFY(q.exec(QStringLiteral("UPDATE reminders SET acknowledged = 1")));
        QVERIFY(q.exec(QStringLiteral("UPDATE attendees SET name = 'Bo'")));
        QCOMPARE(shown(), QStringLiteral("Elsewhere||1|Bo"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

void TestEventRepository::rangeIsExactInEveryZone_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("UTC suffix") << QStringLiteral("Z");
    QTest::newRow("offset -05:00") << QStringLiteral("offset -5");
    QTest::newRow("offset +13:00") << QStringLiteral("offset 13");
    QTest::newRow("local time, no suffix") << QStringLiteral("local");
    QTest::newRow("named zone Asia/Tokyo") << QStringLiteral("Asia/Tokyo");
    QTest::newRow("named zone Pacific/Honolulu") << QStringLiteral("Pacific/Honolulu");
}

void TestEventRepository::rangeIsExactInEveryZone()
{
    QFETCH(QString, form);
    // The 4th of March in New York, asked for with New York times.
    const QTimeZone ny("America/New_York");
    const QDateTime from(QDate(2024, 3, 4), QTime(0, 0), ny);
    const QDateTime to(QDate(2024, 3, 5), QTime(0, 0), ny);
    const auto add = [&](const char *id, const QDateTime &start, const QDateTime &end) {
        return m_repo->insert(makeEvent(QString::fromLatin1(id), QStringLiteral("A"),
                                        expressed(start, form), expressed(end, form)));
    };
    // 20:00 in New York is 01:00 UTC of the next day.
    QVERIFY(add("evening", QDateTime(QDate(2024, 3, 4), QTime(20, 0), ny),
                QDateTime(QDate(2024, 3, 4), QTime(21, 0), ny)));
    QVERIFY(add("early", QDateTime(QDate(2024, 3, 4), QTime(0, 30), ny),
                QDateTime(QDate(2024, 3, 4), QTime(1, 0), ny)));
    QVERIFY(add("ends-at-from", QDateTime(QDate(2024, 3, 3), QTime(23, 0), ny), from));
    QVERIFY(add("starts-at-to", to, QDateTime(QDate(2024, 3, 5), QTime(1, 0), ny)));
    QVERIFY(add("previous-evening", QDateTime(QDate(2024, 3, 3), QTime(20, 0), ny),
                QDateTime(QDate(2024, 3, 3), QTime(21, 0), ny)));
    QVERIFY(add("next-morning", QDateTime(QDate(2024, 3, 5), QTime(0, 30), ny),
                QDateTime(QDate(2024, 3, 5), QTime(1, 0), ny)));
    // A second inside at either end is inside.
    QVERIFY(add("last-second", to.addSecs(-1), to.addSecs(3600)));
    QVERIFY(add("first-second", from.addSecs(-7200), from.addSecs(1)));

    const QList<Event> found = m_repo->listInRange(from, to, {});
    QCOMPARE(LarkTest::idsOf(found), strings({"first-second", "early", "evening", "last-second"}));
    // Stored texts keep the suffix they were given.
    const QString stored
        = m_t->scalar(QStringLiteral("SELECT start_time FROM events WHERE id = 'evening'"))
              .toString();
    QCOMPARE(stored,
             expressed(QDateTime(QDate(2024, 3, 4), QTime(20, 0), ny), form).toString(Qt::ISODate));
    QCOMPARE(found.at(2).start_time, QDateTime(QDate(2024, 3, 4), QTime(20, 0), ny));
}

void TestEventRepository::tombstonesAndLookups()
{
    Event master = makeEvent(QStringLiteral("m"), QStringLiteral("A"), utc(2024, 3, 5, 9),
                             utc(2024, 3, 5, 10));
    master.uid = QStringLiteral("series");
    master.related_to_uid = QStringLiteral("task-1");
    Event instance = master;
    instance.id = QStringLiteral("i");
    instance.recurrence_id = QStringLiteral("20240312T090000Z");
    instance.related_to_uid.clear();
    QVERIFY(m_repo->insert(master));
    QVERIFY(m_repo->insert(instance));
    QVERIFY(m_repo->remove(QStringLiteral("m")));

    QVERIFY(m_repo->byId(QStringLiteral("m")));
    QVERIFY(m_repo->byId(QStringLiteral("m"))->deleted_at);
    QCOMPARE(m_repo->byUidInCalendar(QStringLiteral("series"), QStringLiteral("A")).has_value(),
             true);
    QCOMPARE(
        m_repo->byUidAndRecurrenceId(QStringLiteral("series"), QStringLiteral("A"), QString())->id,
        QStringLiteral("m"));
    QCOMPARE(m_repo
                 ->byUidAndRecurrenceId(QStringLiteral("series"), QStringLiteral("A"),
                                        QStringLiteral(""))
                 ->id,
             QStringLiteral("m"));
    QCOMPARE(m_repo
                 ->byUidAndRecurrenceId(QStringLiteral("series"), QStringLiteral("A"),
                                        QStringLiteral("20240312T090000Z"))
                 ->id,
             QStringLiteral("i"));
    QCOMPARE(m_repo->byUidAndRecurrenceId(QStringLiteral("series"), QStringLiteral("B"), QString()),
             std::nullopt);
    QCOMPARE(LarkTest::idsOf(m_repo->listPending(QStringLiteral("A"))), strings({"m"}));

    QCOMPARE(LarkTest::idsOf(m_repo->listByCalendar(QStringLiteral("A"))), strings({"i"}));
    QCOMPARE(LarkTest::idsOf(m_repo->listInRange(utc(2024, 3, 1, 0), utc(2024, 4, 1, 0), {})),
             strings({"i"}));
    QCOMPARE(LarkTest::idsOf(m_repo->search(QStringLiteral("Event"), 10)), strings({"i"}));
    QCOMPARE(LarkTest::idsOf(m_repo->listRelatedTo(QStringLiteral("task-1"))), QStringList());
    QCOMPARE(LarkTest::idsOf(m_repo->listRelatedTo(QString())), QStringList());

    // A row stored with an empty recurrence id is the master as well.
    QVERIFY(m_t->exec(QStringLiteral("UPDATE events SET recurrence_id = '' WHERE id = 'm'")));
    QCOMPARE(
        m_repo->byUidAndRecurrenceId(QStringLiteral("series"), QStringLiteral("A"), QString())->id,
        QStringLiteral("m"));
}

void TestEventRepository::search()
{
    Event a = makeEvent(QStringLiteral("a"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt);
    a.title = QStringLiteral("Dentist");
    Event b = makeEvent(QStringLiteral("b"), QStringLiteral("A"), utc(2024, 3, 4, 9), std::nullopt);
    b.title = QStringLiteral("Lunch");
    b.location = QStringLiteral("Dental clinic");
    Event c = makeEvent(QStringLiteral("c"), QStringLiteral("B"), utc(2024, 3, 6, 9), std::nullopt);
    c.title = QStringLiteral("Review");
    c.description = QStringLiteral("bring the DENTAL notes, 100% done");
    for (const Event &e : {a, b, c})
        QVERIFY(m_repo->insert(e));

    QCOMPARE(LarkTest::idsOf(m_repo->search(QStringLiteral("   "), 10)), QStringList());
    QCOMPARE(LarkTest::idsOf(m_repo->search(QStringLiteral("  dent "), 10)),
             strings({"b", "a", "c"}));
    QCOMPARE(LarkTest::idsOf(m_repo->search(QStringLiteral("dent"), 2)), strings({"b", "a"}));
    QCOMPARE(LarkTest::idsOf(m_repo->search(QStringLiteral("dent"), 0)), strings({"b"}));
    // "%" and "_" act as wildcards.
    QCOMPARE(LarkTest::idsOf(m_repo->search(QStringLiteral("%"), 10)), strings({"b", "a", "c"}));
    QCOMPARE(LarkTest::idsOf(m_repo->search(QStringLiteral("L_nch"), 10)), strings({"b"}));
    // Reads for search carry no child rows.
    QVERIFY(m_repo->search(QStringLiteral("Dentist"), 1).first().reminders.isEmpty());
}

void TestEventRepository::childRowsAndTriggerTimes()
{
    // 10:00 at +01:00: the trigger is kept in UTC.
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"),
                        QDateTime(QDate(2024, 3, 5), QTime(10, 0), Qt::OffsetFromUTC, 3600),
                        std::nullopt);
    e.reminders = {reminder(15), reminder(0)};
    Reminder explicitTrigger = reminder(60);
    explicitTrigger.trigger_time = utc(2024, 3, 5, 7);
    explicitTrigger.action = QStringLiteral("email");
    explicitTrigger.acknowledged = true;
    e.reminders << explicitTrigger;
    e.attendees = {attendee(QStringLiteral("zed@x"), QStringLiteral("Zed")),
                   attendee(QStringLiteral("amy@x"), QStringLiteral("Amy"))};
    e.attendees[0].rsvp = true;
    e.attendees[0].role = QStringLiteral("chair");
    QVERIFY(m_repo->insert(e));

    QSqlQuery q(m_t->sql());
    QVERIFY(q.exec(QStringLiteral("SELECT minutes_before, action, acknowledged, trigger_time FROM "
                                  "reminders ORDER BY minutes_before")));
    QStringList rows;
    while (q.next())
        rows << QStringList {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                             q.value(3).toString()}
                    .join(QLatin1Char('|'));
    QCOMPARE(rows,
             strings({"0|display|0|2024-03-05T09:00:00Z", "15|display|0|2024-03-05T08:45:00Z",
                      "60|email|1|2024-03-05T07:00:00Z"}));

    const std::optional<Event> read = m_repo->byId(QStringLiteral("e"));
    QVERIFY(read);
    QCOMPARE(read->reminders.size(), 3);
    QCOMPARE(read->reminders.at(1).minutes_before, 15);
    QCOMPARE(read->reminders.at(1).event_id, QStringLiteral("e"));
    QVERIFY(!read->reminders.at(1).id.isEmpty());
    QCOMPARE(*read->reminders.at(1).trigger_time,
             QDateTime(QDate(2024, 3, 5), QTime(8, 45), Qt::UTC));
    QCOMPARE(read->attendees.size(), 2);
    QCOMPARE(read->attendees.at(0).name, QStringLiteral("Amy"));
    QCOMPARE(read->attendees.at(0).role, QStringLiteral("required"));
    QCOMPARE(read->attendees.at(0).status, QStringLiteral("needs-action"));
    QCOMPARE(read->attendees.at(1).role, QStringLiteral("chair"));
    QCOMPARE(read->attendees.at(1).rsvp, true);

    // The list reads load the same children in bulk.
    const QList<Event> listed = m_repo->listByCalendar(QStringLiteral("A"));
    QCOMPARE(listed.size(), 1);
    QCOMPARE(listed.first().reminders.size(), 3);
    QCOMPARE(listed.first().reminders.first().minutes_before, 0);
    QCOMPARE(listed.first().attendees.first().email, QStringLiteral("amy@x"));
    QCOMPARE(
        m_repo->listInRange(utc(2024, 3, 1, 0), utc(2024, 3, 8, 0), {}).first().attendees.size(),
        2);

    // Writing back a record from a read without children clears them, as the outbox expects.
    Event pending = m_repo->listPending(QStringLiteral("A")).value(0, *read);
    pending.reminders.clear();
    pending.attendees.clear();
    QVERIFY(m_repo->update(pending));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM reminders")).toInt(), 0);
}

void TestEventRepository::remindersFollowTheirEvent()
{
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"), utc(2024, 3, 5, 10),
                        utc(2024, 3, 5, 11));
    e.reminders = {reminder(15), reminder(60)};
    QVERIFY(m_repo->insert(e));
    const auto acknowledgeAll = [this] {
        return m_t->exec(QStringLiteral("UPDATE reminders SET acknowledged = 1"));
    };
    const auto rows = [this] {
        QSqlQuery q(m_t->sql());
        q.exec(QStringLiteral("SELECT minutes_before, acknowledged, trigger_time FROM reminders "
                              "ORDER BY minutes_before"));
        QStringList out;
        while (q.next())
            out << q.value(0).toString() + QLatin1Char('|') + q.value(1).toString()
                    + QLatin1Char('|') + q.value(2).toString();
        return out;
    };

    // A copy read before the reminders fired changes the title only: they stay fired.
    Event copy = *m_repo->byId(QStringLiteral("e"));
    QVERIFY(acknowledgeAll());
    copy.title = QStringLiteral("Renamed");
    QVERIFY(m_repo->update(copy));
    QCOMPARE(rows(), strings({"15|1|2024-03-05T09:45:00Z", "60|1|2024-03-05T09:00:00Z"}));

    // Moved to 12:00 the next day: both count from the new start and fire again.
    copy.start_time = utc(2024, 3, 6, 12);
    copy.end_time = utc(2024, 3, 6, 13);
    QVERIFY(m_repo->update(copy));
    QCOMPARE(rows(), strings({"15|0|2024-03-06T11:45:00Z", "60|0|2024-03-06T11:00:00Z"}));

    // One offset changed: only that reminder is armed anew.
    QVERIFY(acknowledgeAll());
    copy = *m_repo->byId(QStringLiteral("e"));
    copy.reminders[0].minutes_before = 30;
    QVERIFY(m_repo->update(copy));
    QCOMPARE(rows(), strings({"30|0|2024-03-06T11:30:00Z", "60|1|2024-03-06T11:00:00Z"}));

    // Copied to another event at the same time (a duplicate), the fired ones ring there anew.
    QVERIFY(acknowledgeAll());
    Event duplicate = *m_repo->byId(QStringLiteral("e"));
    duplicate.id = QStringLiteral("f");
    duplicate.uid = QStringLiteral("f@uid");
    QVERIFY(m_repo->insert(duplicate));
    QVERIFY(m_t->exec(QStringLiteral("DELETE FROM reminders WHERE event_id = 'e'")));
    QCOMPARE(rows(), strings({"30|0|2024-03-06T11:30:00Z", "60|0|2024-03-06T11:00:00Z"}));
}

// A sync writes each remote copy over its row. The copy comes without ids for its reminders and
// attendees: where they did not change, their rows stay as they were (fired state, how far a
// series got); a changed one is written anew and armed again.
void TestEventRepository::pulledCopyRewritesOnlyWhatChanged()
{
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"), utc(2024, 3, 5, 10),
                        utc(2024, 3, 5, 11));
    e.description = QStringLiteral("");
    e.reminders = {reminder(15), reminder(60)};
    e.attendees = {attendee(QStringLiteral("amy@x"), QStringLiteral("Amy")),
                   attendee(QStringLiteral("bob@x"), QStringLiteral("Bob"))};
    QVERIFY(m_repo->insert(e));
    QVERIFY(m_t->exec(QStringLiteral("UPDATE reminders SET acknowledged = 1, handled_until = "
                                     "'2024-03-05T09:45:00Z' WHERE minutes_before = 15")));
    const auto rows = [this](const QString &sql) {
        QSqlQuery q(m_t->sql());
        q.exec(sql);
        QStringList out;
        while (q.next()) {
            QStringList values;
            for (int c = 0; c < q.record().count(); ++c)
                values << (q.isNull(c) ? QStringLiteral("NULL") : q.value(c).toString());
            out << values.join(QLatin1Char('|'));
        }
        return out;
    };
    const QString reminderRows
        = QStringLiteral("SELECT id, minutes_before, acknowledged, trigger_time, handled_until "
                         "FROM reminders ORDER BY minutes_before");
    const QString attendeeRows
        = QStringLiteral("SELECT id, email, status FROM attendees ORDER BY email");
    const QStringList reminders = rows(reminderRows);
    const QStringList attendees = rows(attendeeRows);
    const QString writtenRows = QStringLiteral("SELECT total_changes()");
    const QStringList before = rows(writtenRows);

    // e's reminders and attendees carry no ids, as a pulled copy's.
    Event pulled = e;
    pulled.title = QStringLiteral("Renamed");
    pulled.description = QString();
    m_clock.advanceSecs(60);
    QVERIFY(m_repo->update(pulled));
    // The event's row alone.
    QCOMPARE(rows(writtenRows).first().toInt(), before.first().toInt() + 1);
    QCOMPARE(rows(reminderRows), reminders);
    QCOMPARE(rows(attendeeRows), attendees);
    QCOMPARE(rows(QStringLiteral("SELECT title, description IS NULL, last_modified FROM events")),
             strings({"Renamed|1|2024-03-01T12:01:00Z"}));

    // One offset and one reply changed: the other reminder keeps its id and state.
    pulled.reminders[1].minutes_before = 30;
    pulled.attendees[1].status = QStringLiteral("accepted");
    QVERIFY(m_repo->update(pulled));
    const QString kept = reminders.first().section(QLatin1Char('|'), 0, 0);
    QCOMPARE(rows(QStringLiteral("SELECT id = '") + kept
                  + QStringLiteral("', minutes_before, acknowledged, trigger_time, handled_until "
                                   "FROM reminders ORDER BY minutes_before")),
             strings({"1|15|1|2024-03-05T09:45:00Z|2024-03-05T09:45:00Z",
                      "0|30|0|2024-03-05T09:30:00Z|NULL"}));
    QCOMPARE(rows(QStringLiteral("SELECT email, status FROM attendees ORDER BY email")),
             strings({"amy@x|needs-action", "bob@x|accepted"}));
}

void TestEventRepository::writeBackKeepsChildRows_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("importedReminder"); // 0: the imported event brings none
    QTest::addColumn<int>("expectedReminder");
    QTest::newRow("by uid") << QStringLiteral("uid") << 0 << 15;
    QTest::newRow("by uid and recurrence id") << QStringLiteral("recurrence") << 0 << 15;
    QTest::newRow("by provider id") << QStringLiteral("provider") << 0 << 15;
    QTest::newRow("import without alarms") << QStringLiteral("import") << 0 << 15;
    QTest::newRow("import with an alarm") << QStringLiteral("import") << 30 << 30;
}

void TestEventRepository::writeBackKeepsChildRows()
{
    QFETCH(QString, path);
    QFETCH(int, importedReminder);
    QFETCH(int, expectedReminder);
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"), utc(2024, 3, 5, 10),
                        utc(2024, 3, 5, 11));
    e.provider_event_id = QStringLiteral("remote-1");
    e.reminders = {reminder(15)};
    e.attendees = {attendee(QStringLiteral("amy@x"), QStringLiteral("Amy"))};
    QVERIFY(m_repo->insert(e));

    const QString calendar = QStringLiteral("A");
    if (path == QLatin1String("import")) {
        // The file's copy of the event, read afresh: a new id and only what the file says.
        Event imported = makeEvent(QStringLiteral("from-file"), calendar, e.start_time, e.end_time);
        imported.uid = e.uid;
        imported.title = QStringLiteral("Renamed");
        if (importedReminder)
            imported.reminders = {reminder(importedReminder)};
        QVERIFY(m_repo->replaceByUid({imported}));
    } else {
        std::optional<Event> read;
        if (path == QLatin1String("uid"))
            read = m_repo->byUidInCalendar(e.uid, calendar);
        else if (path == QLatin1String("recurrence"))
            read = m_repo->byUidAndRecurrenceId(e.uid, calendar, QString());
        else
            read = m_repo->byProviderId(calendar, e.provider_event_id);
        QVERIFY(read);
        read->title = QStringLiteral("Renamed");
        QVERIFY(m_repo->update(*read));
    }

    const std::optional<Event> after = m_repo->byId(QStringLiteral("e"));
    QVERIFY(after);
    QCOMPARE(after->title, QStringLiteral("Renamed"));
    QCOMPARE(after->reminders.size(), 1);
    QCOMPARE(after->reminders.first().minutes_before, expectedReminder);
    QCOMPARE(after->attendees.size(), 1);
    QCOMPARE(after->attendees.first().email, QStringLiteral("amy@x"));
}

void TestEventRepository::uniqueKeyRejectsDuplicate()
{
    Event e
        = makeEvent(QStringLiteral("e1"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt);
    QVERIFY(m_repo->insert(e));
    Event copy = e;
    copy.id = QStringLiteral("e2");
    copy.recurrence_id = QStringLiteral("");
    QSignalSpy changed(m_repo.get(), &EventRepository::eventsChanged);
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^EventRepository::insert failed:.*UNIQUE")));
    QVERIFY(!m_repo->insert(copy));
    copy.calendar_id = QStringLiteral("B");
    QVERIFY(m_repo->insert(copy));
    QVERIFY(changed.wait(1000));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toString(), QStringLiteral("B"));
}

void TestEventRepository::failedChildWriteKeepsPreviousState()
{
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt);
    e.reminders = {reminder(10), reminder(30)};
    e.attendees = {attendee(QStringLiteral("a@x"))};
    QVERIFY(m_repo->insert(e));

    // An attendee without an e-mail violates NOT NULL: the whole update is refused.
    Event changed = *m_repo->byId(QStringLiteral("e"));
    changed.title = QStringLiteral("Changed");
    changed.reminders = {reminder(5)};
    changed.attendees << attendee(QString());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^writeAttendeeRows insert failed:")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^EventRepository::update failed:")));
    QVERIFY(!m_repo->update(changed));
    const std::optional<Event> after = m_repo->byId(QStringLiteral("e"));
    QCOMPARE(after->title, e.title);
    QCOMPARE(after->reminders.size(), 2);
    QCOMPARE(after->reminders.at(0).minutes_before, 10);
    QCOMPARE(after->attendees.size(), 1);

    // A new event whose child fails leaves no row behind.
    Event fresh
        = makeEvent(QStringLiteral("f"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt);
    fresh.attendees << attendee(QString());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^writeAttendeeRows insert failed:")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^EventRepository::insert failed:")));
    QVERIFY(!m_repo->insert(fresh));
    QCOMPARE(m_repo->byId(QStringLiteral("f")), std::nullopt);

    // An update of a row that does not exist cannot keep its reminders, so it is a failure.
    Event ghost
        = makeEvent(QStringLiteral("ghost"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt);
    ghost.reminders = {reminder(5)};
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^writeReminderRows insert failed:.*FOREIGN KEY")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^EventRepository::update failed:")));
    QVERIFY(!m_repo->update(ghost));
    ghost.reminders.clear();
    QVERIFY(m_repo->update(ghost));

    // Inside a caller's transaction the failure does not undo the caller's earlier work.
    QVERIFY(m_t->sql().transaction());
    QVERIFY(m_repo->insert(
        makeEvent(QStringLiteral("g"), QStringLiteral("A"), utc(2024, 3, 6, 9), std::nullopt)));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^writeAttendeeRows insert failed:")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^EventRepository::update failed:")));
    QVERIFY(!m_repo->update(changed));
    QVERIFY(m_t->sql().commit());
    QVERIFY(m_repo->byId(QStringLiteral("g")));
}

void TestEventRepository::copiedChildRowsGetFreshIds()
{
    Event original
        = makeEvent(QStringLiteral("orig"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt);
    original.reminders = {reminder(10)};
    original.attendees = {attendee(QStringLiteral("a@x"))};
    QVERIFY(m_repo->insert(original));

    Event copy = *m_repo->byId(QStringLiteral("orig"));
    const QString reminderId = copy.reminders.first().id;
    copy.id = QStringLiteral("copy");
    copy.uid = QStringLiteral("copy@uid");
    QVERIFY(m_repo->insert(copy));

    const Event readCopy = *m_repo->byId(QStringLiteral("copy"));
    const Event readOriginal = *m_repo->byId(QStringLiteral("orig"));
    QCOMPARE(readCopy.reminders.size(), 1);
    QCOMPARE(readCopy.attendees.size(), 1);
    QVERIFY(readCopy.reminders.first().id != reminderId);
    QCOMPARE(readOriginal.reminders.first().id, reminderId);
    QCOMPARE(readOriginal.attendees.size(), 1);

    // Writing an event back keeps the ids of its own children.
    QVERIFY(m_repo->update(readOriginal));
    QCOMPARE(m_repo->byId(QStringLiteral("orig"))->reminders.first().id, reminderId);
}

void TestEventRepository::emptyIdIsRefused()
{
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^EventRepository::insert failed:")));
    QVERIFY(!m_repo->insert(
        makeEvent(QString(), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt)));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM events")).toInt(), 0);
}

void TestEventRepository::manyEventsKeepTheirChildren()
{
    // Debian's SQLite takes 250,000 bound values a statement; the usual build takes 32,766.
    const QVariant handle = m_t->sql().driver()->handle();
    QCOMPARE(handle.typeName(), "sqlite3*");
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
    QVERIFY(connection);
    sqlite3_limit(connection, SQLITE_LIMIT_VARIABLE_NUMBER, 32766);

    const int count = 40000;
    QVERIFY(m_t->sql().transaction());
    QSqlQuery ev(m_t->sql());
    ev.prepare(QStringLiteral(
        "INSERT INTO events (id, calendar_id, uid, title, start_time, end_time, raw_icalendar) "
        "VALUES (?, 'A', ?, 't', ?, ?, 'x')"));
    QSqlQuery rem(m_t->sql());
    rem.prepare(
        QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before) VALUES (?, ?, 10)"));
    const QDateTime base = utc(2024, 1, 1, 0);
    for (int i = 0; i < count; ++i) {
        const QString id = QStringLiteral("e%1").arg(i, 5, 10, QLatin1Char('0'));
        ev.addBindValue(id);
        ev.addBindValue(id);
        ev.addBindValue(base.addSecs(i * 600).toString(Qt::ISODate));
        ev.addBindValue(base.addSecs(i * 600 + 300).toString(Qt::ISODate));
        QVERIFY(ev.exec());
        rem.addBindValue(QString(QStringLiteral("r-") + id));
        rem.addBindValue(id);
        QVERIFY(rem.exec());
    }
    QVERIFY(m_t->sql().commit());

    const QList<Event> all = m_repo->listByCalendar(QStringLiteral("A"));
    QCOMPARE(all.size(), count);
    int withReminder = 0;
    for (const Event &e : all)
        withReminder += e.reminders.size() == 1 ? 1 : 0;
    QCOMPARE(withReminder, count);
    QCOMPARE(m_repo->listInRange(base, base.addDays(365), {QStringLiteral("A")}).size(), count);

    // Writing back the last event of the list keeps its reminder.
    QVERIFY(m_repo->update(all.last()));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM reminders")).toInt(), count);
}

void TestEventRepository::timeZoneConversionOnReading_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QByteArray>("zoneId");
    QTest::newRow("New York") << QStringLiteral("America/New_York") << QTime(10, 0)
                              << QByteArray("America/New_York");
    QTest::newRow("Windows name") << QStringLiteral("Eastern Standard Time") << QTime(10, 0)
                                  << QByteArray("America/New_York");
    QTest::newRow("path prefix") << QStringLiteral("/example.org/20050125_1/Europe/Berlin")
                                 << QTime(16, 0) << QByteArray("Europe/Berlin");
    QTest::newRow("UTC stays") << QStringLiteral("UTC") << QTime(15, 0) << QByteArray("UTC");
    QTest::newRow("unknown zone stays")
        << QStringLiteral("Mars/Olympus") << QTime(15, 0) << QByteArray("UTC");
}

void TestEventRepository::timeZoneConversionOnReading()
{
    QFETCH(QString, zone);
    QFETCH(QTime, start);
    QFETCH(QByteArray, zoneId);
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"), utc(2024, 3, 1, 15),
                        utc(2024, 3, 1, 16));
    e.timezone = zone;
    QVERIFY(m_repo->insert(e));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT start_time FROM events")).toString(),
             QStringLiteral("2024-03-01T15:00:00Z"));
    const Event read = *m_repo->byId(QStringLiteral("e"));
    QCOMPARE(read.start_time, e.start_time);
    QCOMPARE(read.start_time.time(), start);
    QCOMPARE(read.end_time->time(), start.addSecs(3600));
    QCOMPARE(read.start_time.timeZone().id(), zoneId);
    QCOMPARE(m_repo->listByCalendar(QStringLiteral("A")).first().start_time.time(), start);
}

void TestEventRepository::updateRemoveMarkSynced()
{
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt);
    e.sync_status.clear();
    QVERIFY(m_repo->insert(e));
    QCOMPARE(m_repo->byId(QStringLiteral("e"))->sync_status, QStringLiteral("synced"));

    Event moved = *m_repo->byId(QStringLiteral("e"));
    moved.calendar_id = QStringLiteral("B");
    moved.sync_status.clear();
    moved.last_modified = utc(2000, 1, 1, 0);
    QVERIFY(m_repo->update(moved));
    Event read = *m_repo->byId(QStringLiteral("e"));
    QCOMPARE(read.sync_status, QStringLiteral("pending"));
    QCOMPARE(read.last_modified, m_clock.now());
    QCOMPARE(read.created, e.created);
    QCOMPARE(read.calendar_id, QStringLiteral("B"));

    m_clock.advanceSecs(60);
    QVERIFY(m_repo->remove(QStringLiteral("e")));
    read = *m_repo->byId(QStringLiteral("e"));
    QCOMPARE(read.deleted_at, std::optional<QDateTime>(m_clock.now()));
    QCOMPARE(read.last_modified, m_clock.now());

    QVERIFY(m_repo->markSynced(QStringLiteral("e"), QStringLiteral("/cal/e.ics"),
                               QStringLiteral("\"etag-1\"")));
    read = *m_repo->byId(QStringLiteral("e"));
    QCOMPARE(read.href, QStringLiteral("/cal/e.ics"));
    QCOMPARE(read.etag, QStringLiteral("\"etag-1\""));
    QCOMPARE(read.sync_status, QStringLiteral("synced"));

    // An update without a tombstone clears it.
    read.deleted_at.reset();
    QVERIFY(m_repo->update(read));
    QCOMPARE(m_repo->byId(QStringLiteral("e"))->deleted_at, std::nullopt);
}

void TestEventRepository::hardDeleteAndRestore()
{
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt);
    e.provider_event_id = QStringLiteral("p1");
    e.etag = QStringLiteral("tag");
    e.href = QStringLiteral("/e.ics");
    e.reminders = {reminder(10)};
    e.attendees = {attendee(QStringLiteral("a@x"))};
    QVERIFY(m_repo->insert(e));
    QVERIFY(m_t->exec(QStringLiteral(
        "INSERT INTO attachments (id, event_id, filename) VALUES ('f', 'e', 'x.pdf')")));

    // Restoring a tombstone clears it and leaves the row's identity.
    QVERIFY(m_repo->remove(QStringLiteral("e")));
    Event tombstone = *m_repo->byId(QStringLiteral("e"));
    QVERIFY(m_repo->restore(tombstone));
    Event read = *m_repo->byId(QStringLiteral("e"));
    QCOMPARE(read.deleted_at, std::nullopt);
    QCOMPARE(read.sync_status, QStringLiteral("pending"));
    QCOMPARE(read.provider_event_id, QStringLiteral("p1"));
    QCOMPARE(read.reminders.size(), 1);

    // A deletion that fails at the event row keeps the child rows too.
    QVERIFY(m_t->exec(QStringLiteral("CREATE TRIGGER keep_events BEFORE DELETE ON events "
                                     "BEGIN SELECT RAISE(ABORT, 'kept'); END")));
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^EventRepository::hardDelete failed:.*kept")));
    QVERIFY(!m_repo->hardDelete(QStringLiteral("e")));
    QCOMPARE(m_repo->byId(QStringLiteral("e"))->attendees.size(), 1);
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM attachments")).toInt(), 1);
    QVERIFY(m_t->exec(QStringLiteral("DROP TRIGGER keep_events")));

    QSignalSpy changed(m_repo.get(), &EventRepository::eventsChanged);
    QVERIFY(m_repo->hardDelete(QStringLiteral("e")));
    QCOMPARE(m_repo->byId(QStringLiteral("e")), std::nullopt);
    for (const char *table : {"attendees", "attachments", "reminders"})
        QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)))
                     .toInt(),
                 0);
    QVERIFY(changed.wait(1000));
    QCOMPARE(changed.last().first().toString(), QStringLiteral("A"));

    // Restoring a row that is gone inserts it as a new event for its source.
    QVERIFY(m_repo->restore(read));
    read = *m_repo->byId(QStringLiteral("e"));
    QCOMPARE(read.sync_status, QStringLiteral("pending"));
    QCOMPARE(read.provider_event_id, QString());
    QCOMPARE(read.etag, QString());
    QCOMPARE(read.href, QString());
    QCOMPARE(read.reminders.size(), 1);
    QCOMPARE(read.attendees.size(), 1);

    // Unknown ids succeed and announce the empty calendar id.
    changed.clear();
    QVERIFY(m_repo->hardDelete(QStringLiteral("nobody")));
    QVERIFY(changed.wait(1000));
    QCOMPARE(changed.first().first().toString(), QString());
}

void TestEventRepository::changeSignalIsCoalesced()
{
    QSignalSpy changed(m_repo.get(), &EventRepository::eventsChanged);
    QElapsedTimer sinceLastWrite;
    qint64 emittedAfterMs = -1;
    connect(m_repo.get(), &EventRepository::eventsChanged, this,
            [&] { emittedAfterMs = sinceLastWrite.elapsed(); });
    QVERIFY(m_repo->insert(
        makeEvent(QStringLiteral("a"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt)));
    // Started before the last write, so the measured delay can only be longer than the real one.
    sinceLastWrite.start();
    QVERIFY(m_repo->insert(
        makeEvent(QStringLiteral("b"), QStringLiteral("B"), utc(2024, 3, 5, 9), std::nullopt)));
    QCOMPARE(changed.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 2000);
    QVERIFY2(emittedAfterMs >= 150, qPrintable(QString::number(emittedAfterMs)));
    QCOMPARE(changed.first().first().toString(), QStringLiteral("B"));
    QTest::qWait(300);
    QCOMPARE(changed.count(), 1);

    // A failed write announces nothing.
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^EventRepository::insert failed:")));
    QVERIFY(!m_repo->insert(
        makeEvent(QStringLiteral("a"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt)));
    QTest::qWait(300);
    QCOMPARE(changed.count(), 1);
}

void TestEventRepository::writeInsideSlotIsAnnounced()
{
    QStringList announced;
    bool wrote = false;
    connect(m_repo.get(), &EventRepository::eventsChanged, this, [&](const QString &calendarId) {
        announced << calendarId;
        if (!wrote) {
            wrote = true;
            QVERIFY(m_repo->insert(makeEvent(QStringLiteral("b"), QStringLiteral("B"),
                                             utc(2024, 3, 5, 9), std::nullopt)));
        }
    });
    QVERIFY(m_repo->insert(
        makeEvent(QStringLiteral("a"), QStringLiteral("A"), utc(2024, 3, 5, 9), std::nullopt)));
    QTRY_COMPARE_WITH_TIMEOUT(announced.size(), 2, 2000);
    QCOMPARE(announced, strings({"A", "B"}));
}

// An import or a sync of history leaves the reminder poll nothing to catch up on: a reminder of
// an event that is over is settled as it is written, one of a series starts at its next
// occurrence, its stored overrides in place. The clock stands at 12:00 on 1 March 2024.
void TestEventRepository::overdueRemindersAreSettledAsWritten_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDateTime>("movedTo"); // where the 2 March occurrence was moved, if it was
    QTest::addColumn<QString>("stored"); // acknowledged|trigger
    const QDateTime none;
    QTest::newRow("over an hour ago")
        << utc(2024, 3, 1, 11) << "" << none << "1|2024-03-01T10:45:00Z";
    QTest::newRow("begun within the half hour")
        << utc(2024, 3, 1, 11, 45) << "" << none << "0|2024-03-01T11:30:00Z";
    QTest::newRow("ahead") << utc(2024, 3, 2, 9) << "" << none << "0|2024-03-02T08:45:00Z";
    QTest::newRow("series of last year")
        << utc(2023, 3, 1, 9) << "FREQ=DAILY" << none << "0|2024-03-02T08:45:00Z";
    QTest::newRow("series due now")
        << utc(2023, 3, 1, 11, 50) << "FREQ=DAILY" << none << "0|2024-03-01T11:35:00Z";
    QTest::newRow("series over: looked at in a year")
        << utc(2023, 1, 1, 9) << "FREQ=DAILY;COUNT=3" << none << "0|2025-03-02T12:00:00Z";
    QTest::newRow("series' next occurrence moved to this afternoon")
        << utc(2023, 3, 1, 9) << "FREQ=DAILY" << utc(2024, 3, 1, 13) << "0|2024-03-01T12:45:00Z";
}

void TestEventRepository::overdueRemindersAreSettledAsWritten()
{
    QFETCH(QDateTime, start);
    QFETCH(QString, rule);
    QFETCH(QDateTime, movedTo);
    QFETCH(QString, stored);
    Event e = makeEvent(QStringLiteral("e"), QStringLiteral("A"), start, start.addSecs(1800));
    e.recurrence_rule = rule;
    e.reminders = {reminder(15)};
    if (movedTo.isValid()) {
        // Stored before its series, as a sync page may bring them.
        Event moved = makeEvent(QStringLiteral("moved"), QStringLiteral("A"), movedTo,
                                movedTo.addSecs(1800));
        moved.uid = e.uid;
        moved.master_event_uid = e.uid;
        moved.recurrence_id = QStringLiteral("20240302T090000Z");
        QVERIFY(m_repo->insert(moved));
    }
    QVERIFY(m_repo->insert(e));
    QSqlQuery q(m_t->sql());
    QVERIFY(q.exec(QStringLiteral("SELECT acknowledged || '|' || trigger_time FROM reminders")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), stored);
}

QTEST_GUILESS_MAIN(TestEventRepository)
#include "tst_EventRepository.moc"
