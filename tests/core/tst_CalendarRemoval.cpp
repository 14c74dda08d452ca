#include "core/CalendarRemoval.h"
#include "core/IcsImport.h"
#include "core/ImportsUnderWay.h"
#include "core/TempStore.h"
#include "storage/AccountRepository.h"
#include "storage/EventRepository.h"
#include "storage/ImportUndoLog.h"
#include "storage/TaskRepository.h"
#include "support/IcsFiles.h"

#include <QtTest>

namespace {

const QDateTime kStart(QDate(2024, 3, 5), QTime(9, 0), Qt::UTC);

Reminder reminder(int minutes)
{
    Reminder r;
    r.minutes_before = minutes;
    return r;
}

} // namespace

// Calendars and removed accounts go for good with everything they hold, in one write.
class tst_CalendarRemoval : public QObject
{
    Q_OBJECT
private slots:
    void calendarsAndRemovedAccountsGoWithWhatTheyHold();

private:
    // An event with a reminder, a guest and a file, and a task with a reminder, in the calendar.
    bool fill(const QString &calendarId);
    // Rows of each kind that belong to the calendar, "events tasks reminders guests files".
    QString held(const QString &calendarId) const;

    LarkTest::TempStore m_t;
};

bool tst_CalendarRemoval::fill(const QString &calendarId)
{
    Event e;
    e.id = calendarId + QStringLiteral("-event");
    e.calendar_id = calendarId;
    e.uid = e.id;
    e.title = QStringLiteral("Meeting");
    e.start_time = kStart;
    e.end_time = kStart.addSecs(3600);
    e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR");
    e.created = e.last_modified = kStart;
    e.reminders = {reminder(15)};
    Attendee guest;
    guest.email = QStringLiteral("guest@example.org");
    e.attendees = {guest};
    Task t;
    t.id = calendarId + QStringLiteral("-task");
    t.calendar_id = calendarId;
    t.uid = t.id;
    t.title = QStringLiteral("Task");
    t.due_date = kStart;
    t.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR");
    t.created = t.last_modified = kStart;
    t.reminders = {reminder(30)};
    return m_t->events()->insert(e) && m_t->tasks()->insert(t)
        && m_t.exec(
            QStringLiteral("INSERT INTO attachments (id, event_id, filename) VALUES ('%1-file', "
                           "'%1-event', 'agenda.pdf')")
                .arg(calendarId));
}

QString tst_CalendarRemoval::held(const QString &calendarId) const
{
    const QString events
        = QStringLiteral("(SELECT id FROM events WHERE calendar_id = '%1')").arg(calendarId);
    QStringList counts;
    for (const QString &sql :
         {QStringLiteral("SELECT COUNT(*) FROM events WHERE calendar_id = '%1'").arg(calendarId),
          QStringLiteral("SELECT COUNT(*) FROM tasks WHERE calendar_id = '%1'").arg(calendarId),
          QStringLiteral("SELECT (SELECT COUNT(*) FROM reminders WHERE event_id IN %1) + (SELECT "
                         "COUNT(*) FROM task_reminders WHERE task_id IN (SELECT id FROM tasks "
                         "WHERE calendar_id = '%2'))")
              .arg(events, calendarId),
          QStringLiteral("SELECT COUNT(*) FROM attendees WHERE event_id IN %1").arg(events),
          QStringLiteral("SELECT COUNT(*) FROM attachments WHERE event_id IN %1").arg(events)}) {
        QSqlQuery q(m_t->database()->connection());
        counts << (q.exec(sql) && q.next() ? q.value(0).toString() : QStringLiteral("?"));
    }
    return counts.join(QLatin1Char(' '));
}

void tst_CalendarRemoval::calendarsAndRemovedAccountsGoWithWhatTheyHold()
{
    QVERIFY(m_t.isValid());
    const Store &store = m_t.store();
    Account work;
    work.id = QStringLiteral("work");
    work.name = QStringLiteral("Work");
    work.type = QStringLiteral("caldav");
    work.created_at = work.updated_at = kStart;
    QVERIFY(store.accounts()->insert(work));
    QVERIFY(m_t.addCalendar(QStringLiteral("home"), 1));
    QVERIFY(m_t.addCalendar(QStringLiteral("old"), 2));
    QVERIFY(m_t.exec(QStringLiteral("UPDATE calendars SET account_id = 'work' WHERE id = 'old'")));
    for (const char *id : {"home", "old"})
        QVERIFY(fill(QString::fromLatin1(id)));
    const QString full = QStringLiteral("1 1 2 1 1");
    const QString none = QStringLiteral("0 0 0 0 0");
    QCOMPARE(held(QStringLiteral("home")), full);

    // A removal the store refuses halfway leaves everything as it was.
    QVERIFY(m_t.exec(QStringLiteral("CREATE TEMP TRIGGER keep BEFORE DELETE ON calendars BEGIN "
                                    "SELECT RAISE(ABORT, 'kept'); END")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("remove failed:.*kept")));
    QVERIFY(!CalendarRemoval::removeCalendar(store, QStringLiteral("home")));
    QCOMPARE(held(QStringLiteral("home")), full);
    QVERIFY(store.calendars()->byId(QStringLiteral("home")));
    QVERIFY(m_t.exec(QStringLiteral("DROP TRIGGER keep")));
    // Nor does it go while an import writes into it.
    store.imports()->beginImportInto(QStringLiteral("home"));
    QVERIFY(!CalendarRemoval::removeCalendar(store, QStringLiteral("home")));
    QCOMPARE(held(QStringLiteral("home")), full);
    store.imports()->endImportInto(QStringLiteral("home"));

    // A record of an import into it, cut short, ends with the calendar: its take-back finds
    // nothing left to put back and ends too.
    ImportUndoLog log(store.database());
    QVERIFY(log.begin(QStringLiteral("home"), QStringLiteral("home.ics")));
    QVERIFY(log.noteReplaced(QStringLiteral("home-event")));
    QVERIFY(CalendarRemoval::removeCalendar(store, QStringLiteral("home")));
    const std::unique_ptr<IcsImportJob> takeBack(IcsImportJob::resumeLeftover(store));
    QVERIFY(takeBack);
    (void)LarkTest::runImport(*takeBack);
    QVERIFY(!std::unique_ptr<IcsImportJob>(IcsImportJob::resumeLeftover(store)));
    QCOMPARE(held(QStringLiteral("home")), none);
    QVERIFY(!store.calendars()->byId(QStringLiteral("home")));
    QCOMPARE(held(QStringLiteral("old")), full);

    // An account in use is not reaped; a removed one goes after its calendars.
    QVERIFY(CalendarRemoval::reapAccount(store, QStringLiteral("work")));
    QCOMPARE(held(QStringLiteral("old")), full);
    QVERIFY(store.accounts()->remove(QStringLiteral("work")));
    QVERIFY(CalendarRemoval::reapAccount(store, QStringLiteral("work")));
    QCOMPARE(held(QStringLiteral("old")), none);
    QVERIFY(!store.calendars()->byId(QStringLiteral("old")));
    QCOMPARE(m_t.count(QStringLiteral("accounts WHERE id = 'work'")), 0);
}

QTEST_MAIN(tst_CalendarRemoval)
#include "tst_CalendarRemoval.moc"
