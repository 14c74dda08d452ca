#include "core/SampleData.h"
#include "model/ICalendar.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"
#include "support/StartedAppState.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

namespace {

const QDate kToday(2026, 6, 10);

int countRows(AppState *state, const QString &sql)
{
    QSqlQuery q(state->database()->connection());
    if (!q.exec(sql) || !q.next())
        return -1;
    return q.value(0).toInt();
}

int sampleRows(AppState *state)
{
    return countRows(state,
                     QStringLiteral("SELECT (SELECT COUNT(*) FROM accounts WHERE id = "
                                    "'sample-account') + (SELECT COUNT(*) FROM calendars WHERE id "
                                    "LIKE 'sample-cal-%') + (SELECT COUNT(*) FROM events WHERE id "
                                    "LIKE 'sample-event-%') + (SELECT COUNT(*) FROM tasks WHERE id "
                                    "LIKE 'sample-task-%')"));
}

} // namespace

class TestSampleData : public QObject
{
    Q_OBJECT
private slots:
    void seedFillsAnEmptyDatabaseOnce();
    void seedPlacesEventsOnLocalWallClockTimes_data();
    void seedPlacesEventsOnLocalWallClockTimes();
    void seedKeepsADeletedSampleEventDeleted();
    void seedRefusesWhenTheAccountIsATombstone();
    void clearRemovesEverySampleRowAndNothingElse();
    void clearRemovesChildRowsOfSampleEvents();
    void clearAnnouncesTheChange();
};

void TestSampleData::seedFillsAnEmptyDatabaseOnce()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QCOMPARE(SampleData::seed(state.get(), kToday), 30);
    QCOMPARE(sampleRows(state.get()), 31);
    QCOMPARE(state->calendars()->listByAccount(QStringLiteral("sample-account")).size(), 4);
    QVERIFY(state->events()->listByCalendar(QStringLiteral("sample-cal-birthdays")).isEmpty());

    QCOMPARE(SampleData::seed(state.get(), kToday), 0);
    QCOMPARE(sampleRows(state.get()), 31);
}

void TestSampleData::seedPlacesEventsOnLocalWallClockTimes_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<bool>("allDay");

    // 29 March 2026 is a daylight-saving change in Europe (the suite runs this under Berlin too).
    for (const QDate &today : {kToday, QDate(2026, 3, 29)}) {
        const QByteArray day = today.toString(Qt::ISODate).toLatin1();
        QTest::addRow("%s retro yesterday", day.constData())
            << today << "yesterday-retro" << QDateTime(today.addDays(-1), QTime(15, 0))
            << QDateTime(today.addDays(-1), QTime(16, 0)) << false;
        QTest::addRow("%s run", day.constData())
            << today << "today-run" << QDateTime(today, QTime(6, 30))
            << QDateTime(today, QTime(7, 15)) << false;
        QTest::addRow("%s deadline all day", day.constData())
            << today << "today-deadline" << QDateTime(today, QTime(0, 0))
            << QDateTime(today.addDays(1), QTime(0, 0)) << true;
        QTest::addRow("%s red-eye over three days", day.constData())
            << today << "d2-redeye" << QDateTime(today.addDays(2), QTime(21, 30))
            << QDateTime(today.addDays(4), QTime(6, 15)) << false;
        QTest::addRow("%s conference three days", day.constData())
            << today << "d6-conf" << QDateTime(today.addDays(6), QTime(0, 0))
            << QDateTime(today.addDays(9), QTime(0, 0)) << true;
    }
}

void TestSampleData::seedPlacesEventsOnLocalWallClockTimes()
{
    QFETCH(QDate, today);
    QFETCH(QString, key);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(bool, allDay);

    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QCOMPARE(SampleData::seed(state.get(), today), 30);
    const std::optional<Event> event = state->events()->byId(QStringLiteral("sample-event-") + key);
    QVERIFY(event);
    QCOMPARE(event->is_all_day, allDay);
    QCOMPARE(event->start_time.toLocalTime(), start);
    QVERIFY(event->end_time);
    QCOMPARE(event->end_time->toLocalTime(), end);
    QCOMPARE(event->sync_status, QStringLiteral("synced"));

    // The stored text says the same: read back, it gives the same instants (or dates).
    const QList<Event> parsed = parseICalendarEvents(event->raw_icalendar);
    QCOMPARE(parsed.size(), 1);
    QCOMPARE(parsed.first().uid, event->id);
    if (allDay) {
        QCOMPARE(parsed.first().start_time.date(), start.date());
        QCOMPARE(parsed.first().end_time->date(), end.date());
    } else {
        QCOMPARE(parsed.first().start_time.toUTC(), start.toUTC());
        QCOMPARE(parsed.first().end_time->toUTC(), end.toUTC());
    }
    QVERIFY(event->raw_icalendar.contains(QStringLiteral("\r\nEND:VEVENT\r\nEND:VCALENDAR")));
}

void TestSampleData::seedKeepsADeletedSampleEventDeleted()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QCOMPARE(SampleData::seed(state.get(), kToday), 30);
    QVERIFY(state->events()->remove(QStringLiteral("sample-event-today-lunch")));
    QVERIFY(state->tasks()->hardDelete(QStringLiteral("sample-task-buy-milk")));

    // The tombstone counts as present; the hard-deleted task comes back.
    QCOMPARE(SampleData::seed(state.get(), kToday), 1);
    QVERIFY(state->events()->byId(QStringLiteral("sample-event-today-lunch"))->deleted_at);
    QVERIFY(state->tasks()->byId(QStringLiteral("sample-task-buy-milk")));
}

void TestSampleData::seedRefusesWhenTheAccountIsATombstone()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QCOMPARE(SampleData::seed(state.get(), kToday), 30);
    QCOMPARE(SampleData::clear(state.get()), 30);
    QCOMPARE(SampleData::seed(state.get(), kToday), 30);
    QVERIFY(state->accounts()->remove(QStringLiteral("sample-account")));
    const int before = sampleRows(state.get());

    QCOMPARE(SampleData::seed(state.get(), kToday), 0);
    QCOMPARE(sampleRows(state.get()), before);
}

void TestSampleData::clearRemovesEverySampleRowAndNothingElse()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    // The user's own rows: the on-device calendar seeded at start and one event in it.
    const QList<Calendar> own = state->calendars()->listAll();
    QCOMPARE(own.size(), 1);
    Event mine;
    mine.id = QStringLiteral("my-event");
    mine.uid = mine.id;
    mine.calendar_id = own.first().id;
    mine.title = QStringLiteral("Mine");
    mine.start_time = QDateTime(kToday, QTime(9, 0), Qt::UTC);
    mine.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR");
    mine.created = mine.start_time;
    mine.last_modified = mine.start_time;
    QVERIFY(state->events()->insert(mine));
    const int accountsBefore
        = countRows(state.get(), QStringLiteral("SELECT COUNT(*) FROM accounts"));

    QCOMPARE(SampleData::seed(state.get(), kToday), 30);
    QCOMPARE(SampleData::clear(state.get()), 30);
    QCOMPARE(sampleRows(state.get()), 0);
    QVERIFY(state->events()->byId(QStringLiteral("my-event")));
    QCOMPARE(state->calendars()->listAll().size(), 1);
    QCOMPARE(countRows(state.get(), QStringLiteral("SELECT COUNT(*) FROM accounts")),
             accountsBefore);

    QCOMPARE(SampleData::clear(state.get()), 0);
}

void TestSampleData::clearRemovesChildRowsOfSampleEvents()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QCOMPARE(SampleData::seed(state.get(), kToday), 30);
    // The user gave a sample event a reminder and a guest.
    std::optional<Event> event = state->events()->byId(QStringLiteral("sample-event-today-design"));
    QVERIFY(event);
    Reminder reminder;
    reminder.minutes_before = 10;
    event->reminders << reminder;
    Attendee guest;
    guest.email = QStringLiteral("sam@example.org");
    event->attendees << guest;
    QVERIFY(state->events()->update(*event));
    QSqlQuery attach(state->database()->connection());
    QVERIFY(attach.exec(QStringLiteral("INSERT INTO attachments (id, event_id, filename) VALUES "
                                       "('a1', 'sample-event-today-design', 'agenda.pdf')")));

    QCOMPARE(SampleData::clear(state.get()), 30);
    QCOMPARE(sampleRows(state.get()), 0);
    QCOMPARE(countRows(state.get(), QStringLiteral("SELECT COUNT(*) FROM reminders")), 0);
    QCOMPARE(countRows(state.get(), QStringLiteral("SELECT COUNT(*) FROM attendees")), 0);
    QCOMPARE(countRows(state.get(), QStringLiteral("SELECT COUNT(*) FROM attachments")), 0);
}

void TestSampleData::clearAnnouncesTheChange()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QSignalSpy calendars(state->calendars(), &CalendarRepository::calendarsChanged);
    QSignalSpy events(state->events(), &EventRepository::eventsChanged);
    QSignalSpy tasks(state->tasks(), &TaskRepository::tasksChanged);
    QCOMPARE(SampleData::seed(state.get(), kToday), 30);
    // The seed's own announcements come first, coalesced.
    QTRY_COMPARE(events.size(), 1);
    QTRY_COMPARE(tasks.size(), 1);
    calendars.clear();
    events.clear();
    tasks.clear();
    QCOMPARE(SampleData::clear(state.get()), 30);
    QCOMPARE(calendars.size(), 1);
    QTRY_COMPARE(events.size(), 1);
    QTRY_COMPARE(tasks.size(), 1);
}

QTEST_MAIN(TestSampleData)
#include "tst_SampleData.moc"
