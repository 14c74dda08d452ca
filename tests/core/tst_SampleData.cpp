#include "core/SampleData.h"
#include "core/TempStore.h"
#include "model/ICalendar.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

namespace {

const QDate kToday(2026, 6, 10);

int countRows(const Store &store, const QString &sql)
{
    QSqlQuery q(store.database()->connection());
    if (!q.exec(sql) || !q.next())
        return -1;
    return q.value(0).toInt();
}

int sampleRows(const Store &store)
{
    return countRows(store,
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
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    QCOMPARE(SampleData::seed(app.store(), kToday), 30);
    QCOMPARE(sampleRows(app.store()), 31);
    QCOMPARE(app->calendars()->listByAccount(QStringLiteral("sample-account")).size(), 4);
    QVERIFY(app->events()->listByCalendar(QStringLiteral("sample-cal-birthdays")).isEmpty());

    QCOMPARE(SampleData::seed(app.store(), kToday), 0);
    QCOMPARE(sampleRows(app.store()), 31);
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

    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    QCOMPARE(SampleData::seed(app.store(), today), 30);
    const std::optional<Event> event = app->events()->byId(QStringLiteral("sample-event-") + key);
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
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    QCOMPARE(SampleData::seed(app.store(), kToday), 30);
    QVERIFY(app->events()->remove(QStringLiteral("sample-event-today-lunch")));
    QVERIFY(app->tasks()->hardDelete(QStringLiteral("sample-task-buy-milk")));

    // The tombstone counts as present; the hard-deleted task comes back.
    QCOMPARE(SampleData::seed(app.store(), kToday), 1);
    QVERIFY(app->events()->byId(QStringLiteral("sample-event-today-lunch"))->deleted_at);
    QVERIFY(app->tasks()->byId(QStringLiteral("sample-task-buy-milk")));
}

void TestSampleData::seedRefusesWhenTheAccountIsATombstone()
{
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    QCOMPARE(SampleData::seed(app.store(), kToday), 30);
    QCOMPARE(SampleData::clear(app.store()), 30);
    QCOMPARE(SampleData::seed(app.store(), kToday), 30);
    QVERIFY(app->accounts()->remove(QStringLiteral("sample-account")));
    const int before = sampleRows(app.store());

    QCOMPARE(SampleData::seed(app.store(), kToday), 0);
    QCOMPARE(sampleRows(app.store()), before);
}

void TestSampleData::clearRemovesEverySampleRowAndNothingElse()
{
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    // The user's own rows: the on-device calendar seeded at start and one event in it.
    const QList<Calendar> own = app->calendars()->listAll();
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
    QVERIFY(app->events()->insert(mine));
    const int accountsBefore
        = countRows(app.store(), QStringLiteral("SELECT COUNT(*) FROM accounts"));

    QCOMPARE(SampleData::seed(app.store(), kToday), 30);
    QCOMPARE(SampleData::clear(app.store()), 30);
    QCOMPARE(sampleRows(app.store()), 0);
    QVERIFY(app->events()->byId(QStringLiteral("my-event")));
    QCOMPARE(app->calendars()->listAll().size(), 1);
    QCOMPARE(countRows(app.store(), QStringLiteral("SELECT COUNT(*) FROM accounts")),
             accountsBefore);

    QCOMPARE(SampleData::clear(app.store()), 0);
}

void TestSampleData::clearRemovesChildRowsOfSampleEvents()
{
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    QCOMPARE(SampleData::seed(app.store(), kToday), 30);
    // The user gave a sample event a reminder and a guest.
    std::optional<Event> event = app->events()->byId(QStringLiteral("sample-event-today-design"));
    QVERIFY(event);
    Reminder reminder;
    reminder.minutes_before = 10;
    event->reminders << reminder;
    Attendee guest;
    guest.email = QStringLiteral("sam@example.org");
    event->attendees << guest;
    QVERIFY(app->events()->update(*event));
    QSqlQuery attach(app->database()->connection());
    QVERIFY(attach.exec(QStringLiteral("INSERT INTO attachments (id, event_id, filename) VALUES "
                                       "('a1', 'sample-event-today-design', 'agenda.pdf')")));

    QCOMPARE(SampleData::clear(app.store()), 30);
    QCOMPARE(sampleRows(app.store()), 0);
    QCOMPARE(countRows(app.store(), QStringLiteral("SELECT COUNT(*) FROM reminders")), 0);
    QCOMPARE(countRows(app.store(), QStringLiteral("SELECT COUNT(*) FROM attendees")), 0);
    QCOMPARE(countRows(app.store(), QStringLiteral("SELECT COUNT(*) FROM attachments")), 0);
}

void TestSampleData::clearAnnouncesTheChange()
{
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    QSignalSpy calendars(app->calendars(), &CalendarRepository::calendarsChanged);
    QSignalSpy events(app->events(), &EventRepository::eventsChanged);
    QSignalSpy tasks(app->tasks(), &TaskRepository::tasksChanged);
    QCOMPARE(SampleData::seed(app.store(), kToday), 30);
    // The seed's own announcements come first, coalesced.
    QTRY_COMPARE(events.size(), 1);
    QTRY_COMPARE(tasks.size(), 1);
    calendars.clear();
    events.clear();
    tasks.clear();
    QCOMPARE(SampleData::clear(app.store()), 30);
    QCOMPARE(calendars.size(), 1);
    QTRY_COMPARE(events.size(), 1);
    QTRY_COMPARE(tasks.size(), 1);
}

QTEST_MAIN(TestSampleData)
#include "tst_SampleData.moc"
