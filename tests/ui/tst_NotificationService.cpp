#include "core/AppState.h"
#include "model/Clock.h"
#include "platform/DesktopNotifier.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferencesRepository.h"
#include "support/TestSupport.h"
#include "ui/dialogs/MissedRemindersDialog.h"
#include "ui/tray/NotificationService.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QListWidget>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTranslator>
#include <QtTest>

#include <memory>

#include <sys/resource.h>

namespace {

const QDateTime kNow(QDate(2024, 1, 10), QTime(10, 0), Qt::UTC);

QDateTime at(int day, int h, int mi = 0, int s = 0)
{
    return QDateTime(QDate(2024, 1, day), QTime(h, mi, s), Qt::UTC);
}

QString iso(const QDateTime &dt)
{
    return dt.toString(Qt::ISODate);
}

// A started application state on its own database, with the clock at kNow.
struct Fixture
{
    QTemporaryDir dir;
    LarkTest::TestClock clock {kNow};
    Clock::Override pinned {[this] {
        return clock.now();
    }};
    std::unique_ptr<AppState> state;
    QString calendarId;

    Fixture()
    {
        state = std::make_unique<AppState>();
        if (!state->initialize(dir.filePath(QStringLiteral("calendar.db"))))
            return;
        const QList<Calendar> calendars = state->calendars()->listAll();
        if (!calendars.isEmpty())
            calendarId = calendars.first().id;
    }

    bool ready() const { return state && state->database() && !calendarId.isEmpty(); }

    bool exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(state->database()->connection());
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (q.exec())
            return true;
        qWarning() << sql << q.lastError().text();
        return false;
    }

    QVariant scalar(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(state->database()->connection());
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (q.exec() && q.next())
            return q.value(0);
        return {};
    }

    bool addEvent(const QString &id, const QString &title, const QString &start,
                  const QString &location = QString(), bool deleted = false)
    {
        return exec(QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, start_time, "
                                   "location, raw_icalendar, deleted_at) VALUES (?, ?, ?, ?, ?, "
                                   "?, '', ?)"),
                    {id, calendarId, id, title, start, location,
                     deleted ? QVariant(iso(kNow)) : QVariant()});
    }

    bool addReminder(const QString &id, const QString &eventId, int minutes,
                     const QVariant &trigger)
    {
        return exec(QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before, "
                                   "trigger_time) VALUES (?, ?, ?, ?)"),
                    {id, eventId, minutes, trigger});
    }

    bool addTask(const QString &id, const QString &title, const QVariant &due, bool dateOnly,
                 const QString &status = QStringLiteral("needs-action"), bool deleted = false)
    {
        return exec(QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, status, "
                                   "due_date, due_is_date_only, raw_icalendar, deleted_at) VALUES "
                                   "(?, ?, ?, ?, ?, ?, ?, '', ?)"),
                    {id, calendarId, id, title, status, due, dateOnly ? 1 : 0,
                     deleted ? QVariant(iso(kNow)) : QVariant()});
    }

    bool addTaskReminder(const QString &id, const QString &taskId, int minutes)
    {
        return exec(QStringLiteral("INSERT INTO task_reminders (id, task_id, minutes_before) "
                                   "VALUES (?, ?, ?)"),
                    {id, taskId, minutes});
    }

    bool acknowledged(const QString &table, const QString &id)
    {
        return scalar(QStringLiteral("SELECT acknowledged FROM %1 WHERE id = ?").arg(table), {id})
                   .toInt()
            == 1;
    }
};

// A service whose balloons are recorded instead of reaching a tray.
struct Recorder
{
    QList<NotificationService::Balloon> shown;
    void attach(NotificationService &service)
    {
        service.setPresenter([this](const NotificationService::Balloon &b) {
            shown << b;
            return true;
        });
    }

    // Polls at t and clicks through the balloons: "<event id> <date>" of each.
    QStringList pollAt(NotificationService &service, LarkTest::TestClock &clock, const QDateTime &t)
    {
        clock.set(t);
        const qsizetype before = shown.size();
        service.poll();
        while (service.currentBalloon())
            service.onBalloonClicked();
        QStringList out;
        for (qsizetype i = before; i < shown.size(); ++i)
            out << shown[i].eventId + QLatin1Char(' ') + shown[i].date.toString(Qt::ISODate);
        return out;
    }
};

// The desktop's notification service on a private bus, broken: it answers every notification
// with an error, or never answers.
class BrokenNotifications : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    bool hangs = false;
    int calls = 0;

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &, const QString &,
                const QStringList &, const QVariantMap &, int)
    {
        ++calls;
        if (hangs)
            setDelayedReply(true);
        else
            sendErrorReply(QDBusError::Failed, QStringLiteral("the notification daemon is broken"));
        return 0;
    }
};

// CPU time this process has used, user and system, in milliseconds.
qint64 cpuMs()
{
    rusage usage = {};
    ::getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

FilterRule titleRule(const QString &phrase, const QString &action, bool suppressReminders)
{
    FilterRule r;
    r.id = r.name = phrase;
    r.type = QStringLiteral("pattern");
    r.conditions
        = QStringLiteral("{\"runtimeType\":\"pattern\",\"titleContains\":[\"%1\"]}").arg(phrase);
    r.action = action;
    r.suppress_reminders = suppressReminders;
    r.created_at = r.updated_at = kNow;
    return r;
}

} // namespace

class TestNotificationService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void eventBody_data();
    void eventBody();
    void taskBody_data();
    void taskBody();
    void eventFires_data();
    void eventFires();
    void taskFires_data();
    void taskFires();

    void pollFiresAndAcknowledgesOnlyDueEventReminders();
    void pollFiresTaskReminders();
    void bodyFollowsTimeFormatPreference();
    void withoutTrayOrNotifierRemindersWaitForTheWindow();
    void retryPause_data();
    void retryPause();
    void brokenDesktopIsTriedSparinglyThenTheReminderIsMissed_data();
    void brokenDesktopIsTriedSparinglyThenTheReminderIsMissed();
    void severalRemindersAreQueuedAndClicksFollowTheBalloonOnScreen();
    void taskAndTestBalloonClicksEmitNothing();
    void failedEventQueryShowsNoTaskReminder();
    void failedAcknowledgementFiresAgain();
    void firstPollRunsSoonAfterConstruction();
    void repeatingEventRemindsOfEveryOccurrence();
    void filterRulesSilenceReminders();
};

// Counts read as English does ("1 minute", "15 minutes") only through the English catalogue.
void TestNotificationService::initTestCase()
{
    auto *english = new QTranslator(this);
    QVERIFY(english->load(QStringLiteral(":/i18n/calendar_en.qm")));
    QVERIFY(QCoreApplication::installTranslator(english));
}

void TestNotificationService::eventBody_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("expected");
    const QString none;
    QTest::newRow("at start") << 0 << none << QStringLiteral("Starting now (9:30 AM)");
    QTest::newRow("one minute") << 1 << none << QStringLiteral("In 1 minute (9:30 AM)");
    QTest::newRow("15 minutes") << 15 << none << QStringLiteral("In 15 minutes (9:30 AM)");
    QTest::newRow("59 minutes") << 59 << none << QStringLiteral("In 59 minutes (9:30 AM)");
    QTest::newRow("one hour") << 60 << none << QStringLiteral("In 1h (9:30 AM)");
    QTest::newRow("90 minutes truncates") << 90 << none << QStringLiteral("In 1h (9:30 AM)");
    QTest::newRow("just under a day") << 1439 << none << QStringLiteral("In 23h (9:30 AM)");
    QTest::newRow("one day") << 1440 << none << QStringLiteral("Tomorrow at 9:30 AM");
    QTest::newRow("two days") << 2880 << none << QStringLiteral("Tomorrow at 9:30 AM");
    QTest::newRow("with location") << 10 << QStringLiteral("Room 4")
                                   << QStringLiteral("In 10 minutes (9:30 AM) \u00B7 Room 4");
}

void TestNotificationService::eventBody()
{
    QFETCH(int, minutes);
    QFETCH(QString, location);
    QFETCH(QString, expected);
    QCOMPARE(Reminders::eventBody(minutes, QStringLiteral("9:30 AM"), location), expected);
}

void TestNotificationService::taskBody_data()
{
    QTest::addColumn<bool>("dateOnly");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("date-only, ahead") << true << 60 << QStringLiteral("Due soon");
    QTest::newRow("date-only, at due") << true << 0 << QStringLiteral("Due today");
    QTest::newRow("timed, ahead") << false << 15 << QStringLiteral("Due soon (4:00 PM)");
    QTest::newRow("timed, at due") << false << 0 << QStringLiteral("Due now (4:00 PM)");
}

void TestNotificationService::taskBody()
{
    QFETCH(bool, dateOnly);
    QFETCH(int, minutes);
    QFETCH(QString, expected);
    QCOMPARE(Reminders::taskBody(dateOnly, minutes, QStringLiteral("4:00 PM")), expected);
}

void TestNotificationService::eventFires_data()
{
    QTest::addColumn<QDateTime>("trigger");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<bool>("fires");
    QTest::newRow("trigger passed, start ahead") << at(10, 9, 45) << at(10, 10, 15) << true;
    QTest::newRow("trigger exactly now") << kNow << at(10, 10, 15) << true;
    QTest::newRow("trigger ahead") << at(10, 10, 0, 1) << at(10, 10, 15) << false;
    QTest::newRow("started 29 minutes ago") << at(10, 9, 0) << at(10, 9, 31) << true;
    QTest::newRow("start exactly at cut-off") << at(10, 9, 0) << at(10, 9, 30) << false;
    QTest::newRow("started long ago") << at(9, 9, 0) << at(9, 10, 0) << false;
    QTest::newRow("no trigger") << QDateTime() << at(10, 10, 15) << false;
    QTest::newRow("unreadable start") << at(10, 9, 0) << QDateTime() << false;
}

void TestNotificationService::eventFires()
{
    QFETCH(QDateTime, trigger);
    QFETCH(QDateTime, start);
    QFETCH(bool, fires);
    QCOMPARE(Reminders::eventReminderFires(trigger, start, kNow), fires);
}

void TestNotificationService::taskFires_data()
{
    QTest::addColumn<QDateTime>("due");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("fires");
    const QDateTime midnight = at(10, 0);
    QTest::newRow("date-only at 00:29") << midnight << 0 << at(10, 0, 29) << true;
    QTest::newRow("date-only at 00:30") << midnight << 0 << at(10, 0, 30) << false;
    QTest::newRow("before the offset") << at(10, 16) << 15 << at(10, 15, 44) << false;
    QTest::newRow("at the offset") << at(10, 16) << 15 << at(10, 15, 45) << true;
    QTest::newRow("invalid due") << QDateTime() << 0 << kNow << false;
}

void TestNotificationService::taskFires()
{
    QFETCH(QDateTime, due);
    QFETCH(int, minutes);
    QFETCH(QDateTime, now);
    QFETCH(bool, fires);
    QCOMPARE(Reminders::taskReminderFires(due, minutes, now), fires);
}

void TestNotificationService::pollFiresAndAcknowledgesOnlyDueEventReminders()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("standup"), QStringLiteral("Standup"), iso(at(10, 10, 15)),
                       QStringLiteral("Room 4")));
    QVERIFY(f.addEvent(QStringLiteral("late"), QStringLiteral("Late"), iso(at(10, 10, 20))));
    QVERIFY(f.addEvent(QStringLiteral("old"), QStringLiteral("Old"), iso(at(10, 9, 30))));
    QVERIFY(f.addEvent(QStringLiteral("future"), QStringLiteral("Future"), iso(at(10, 12))));
    QVERIFY(f.addEvent(QStringLiteral("garbled"), QStringLiteral("Garbled"),
                       QStringLiteral("next tuesday")));
    QVERIFY(f.addEvent(QStringLiteral("gone"), QStringLiteral("Gone"), iso(at(10, 10, 15)),
                       QString(), true));
    QVERIFY(f.addEvent(QStringLiteral("untitled"), QStringLiteral(""), iso(at(11, 9, 30))));
    // "late" was due at 9:50 and the poll is late: the text still names the configured offset.
    QVERIFY(
        f.addReminder(QStringLiteral("r-late"), QStringLiteral("late"), 30, iso(at(10, 9, 50))));
    QVERIFY(f.addReminder(QStringLiteral("r-standup"), QStringLiteral("standup"), 15,
                          iso(at(10, 10, 0))));
    QVERIFY(f.addReminder(QStringLiteral("r-old"), QStringLiteral("old"), 0, iso(at(10, 9, 30))));
    QVERIFY(
        f.addReminder(QStringLiteral("r-future"), QStringLiteral("future"), 60, iso(at(10, 11))));
    QVERIFY(f.addReminder(QStringLiteral("r-notrigger"), QStringLiteral("standup"), 5, QVariant()));
    QVERIFY(
        f.addReminder(QStringLiteral("r-garbled"), QStringLiteral("garbled"), 0, iso(at(10, 9))));
    QVERIFY(f.addReminder(QStringLiteral("r-gone"), QStringLiteral("gone"), 15, iso(at(10, 10))));
    QVERIFY(f.addReminder(QStringLiteral("r-untitled"), QStringLiteral("untitled"), 1440,
                          iso(at(10, 9, 30))));

    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    service.poll();

    // Shown in trigger order, one at a time: the rest wait their turn.
    QCOMPARE(rec.shown.size(), 1);
    QCOMPARE(rec.shown[0].title, QStringLiteral("Reminder"));
    QCOMPARE(rec.shown[0].body, QStringLiteral("Tomorrow at 9:30 AM"));
    QCOMPARE(rec.shown[0].eventId, QStringLiteral("untitled"));
    QCOMPARE(rec.shown[0].date, QDate(2024, 1, 11));
    QCOMPARE(service.queuedCount(), 2);
    service.onBalloonClicked();
    service.onBalloonClicked();
    QCOMPARE(rec.shown.size(), 3);
    QCOMPARE(rec.shown[1].title, QStringLiteral("Late"));
    QCOMPARE(rec.shown[1].body, QStringLiteral("In 30 minutes (10:20 AM)"));
    QCOMPARE(rec.shown[2].title, QStringLiteral("Standup"));
    QCOMPARE(rec.shown[2].body, QStringLiteral("In 15 minutes (10:15 AM) \u00B7 Room 4"));

    const QString table = QStringLiteral("reminders");
    QVERIFY(f.acknowledged(table, QStringLiteral("r-untitled")));
    QVERIFY(f.acknowledged(table, QStringLiteral("r-late")));
    QVERIFY(f.acknowledged(table, QStringLiteral("r-standup")));
    // Due reminders that can no longer fire (over, unreadable, deleted) are settled once without
    // a balloon, so no later poll reads them again.
    for (const char *settled : {"r-old", "r-garbled", "r-gone"})
        QVERIFY2(f.acknowledged(table, QString::fromLatin1(settled)), settled);
    for (const char *left : {"r-future", "r-notrigger"})
        QVERIFY2(!f.acknowledged(table, QString::fromLatin1(left)), left);

    // Acknowledged reminders never fire again; the future one does once its time comes.
    f.clock.set(at(10, 11, 0, 30));
    service.onBalloonClicked();
    service.poll();
    QCOMPARE(rec.shown.size(), 4);
    QCOMPARE(rec.shown[3].title, QStringLiteral("Future"));
    QCOMPARE(rec.shown[3].body, QStringLiteral("In 1h (12:00 PM)"));
}

void TestNotificationService::pollFiresTaskReminders()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addTask(QStringLiteral("today"), QStringLiteral("Pay rent"), iso(at(10, 0)), true));
    QVERIFY(f.addTask(QStringLiteral("timed"), QStringLiteral("Call back"), iso(at(10, 10, 10)),
                      false));
    QVERIFY(f.addTask(QStringLiteral("done"), QStringLiteral("Done"), iso(at(10, 10, 10)), false,
                      QStringLiteral("completed")));
    QVERIFY(f.addTask(QStringLiteral("cancelled"), QStringLiteral("Cancelled"), iso(at(10, 10, 10)),
                      false, QStringLiteral("cancelled")));
    QVERIFY(f.addTask(QStringLiteral("deleted"), QStringLiteral("Deleted"), iso(at(10, 10, 10)),
                      false, QStringLiteral("needs-action"), true));
    QVERIFY(f.addTask(QStringLiteral("undated"), QStringLiteral("Undated"), QVariant(), true));
    QVERIFY(
        f.addTask(QStringLiteral("yesterday"), QStringLiteral("Yesterday"), iso(at(9, 0)), true));
    QVERIFY(f.addTask(QStringLiteral("garbled"), QStringLiteral("Garbled"),
                      QStringLiteral("soonish"), false));
    QVERIFY(f.addTask(QStringLiteral("bare"), QStringLiteral("Bare date"),
                      QStringLiteral("2024-01-10"), true));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-today"), QStringLiteral("today"), 0));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-timed"), QStringLiteral("timed"), 15));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-done"), QStringLiteral("done"), 15));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-cancelled"), QStringLiteral("cancelled"), 15));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-deleted"), QStringLiteral("deleted"), 15));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-undated"), QStringLiteral("undated"), 15));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-yesterday"), QStringLiteral("yesterday"), 0));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-garbled"), QStringLiteral("garbled"), 0));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-bare"), QStringLiteral("bare"), 600));
    // Set 60 hours ahead of its task, two and a half days from now.
    QVERIFY(f.addTask(QStringLiteral("ahead"), QStringLiteral("Ahead"), iso(at(12, 12)), false));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr-ahead"), QStringLiteral("ahead"), 3600));

    // 00:20 on the due day: the date-only tasks are still within their half hour.
    f.clock.set(at(10, 0, 20));
    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    service.poll();
    QCOMPARE(rec.shown.size(), 1);
    QCOMPARE(service.queuedCount(), 2);
    service.onBalloonClicked();
    service.onBalloonClicked();
    QCOMPARE(rec.shown.size(), 3);
    QStringList titles {rec.shown[0].title, rec.shown[1].title, rec.shown[2].title};
    titles.sort();
    QCOMPARE(titles, LarkTest::strings({"Ahead", "Bare date", "Pay rent"}));
    QCOMPARE(rec.shown[0].eventId, QString());
    QCOMPARE(rec.shown[0].date, QDate(2024, 1, 10));
    const QString table = QStringLiteral("task_reminders");
    QVERIFY(f.acknowledged(table, QStringLiteral("tr-today")));
    QVERIFY(f.acknowledged(table, QStringLiteral("tr-bare")));
    QVERIFY(!f.acknowledged(table, QStringLiteral("tr-timed")));

    // The timed task's reminder comes 15 minutes ahead of 10:10.
    service.onBalloonClicked();
    f.clock.set(at(10, 9, 56));
    service.poll();
    QCOMPARE(rec.shown.size(), 4);
    QCOMPARE(rec.shown[3].title, QStringLiteral("Call back"));
    QCOMPARE(rec.shown[3].body, QStringLiteral("Due soon (10:10 AM)"));
    for (const char *left :
         {"tr-done", "tr-cancelled", "tr-deleted", "tr-undated", "tr-yesterday", "tr-garbled"})
        QVERIFY2(!f.acknowledged(table, QString::fromLatin1(left)), left);
}

void TestNotificationService::bodyFollowsTimeFormatPreference()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.state->preferences()->set(QStringLiteral("ui/timeFormat"), QStringLiteral("24")));
    QVERIFY(f.addEvent(QStringLiteral("e"), QStringLiteral("Review"), iso(at(10, 14, 5))));
    QVERIFY(f.addReminder(QStringLiteral("r"), QStringLiteral("e"), 240, iso(at(10, 10, 5))));
    f.clock.set(at(10, 10, 5));
    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    service.poll();
    QCOMPARE(rec.shown.size(), 1);
    QCOMPARE(rec.shown[0].body, QStringLiteral("In 4h (14:05)"));
}

void TestNotificationService::withoutTrayOrNotifierRemindersWaitForTheWindow()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("e1"), QStringLiteral("One"), iso(at(10, 10, 10))));
    QVERIFY(f.addEvent(QStringLiteral("e2"), QStringLiteral("Two"), iso(at(10, 10, 20))));
    QVERIFY(f.addReminder(QStringLiteral("r1"), QStringLiteral("e1"), 10, iso(at(10, 10))));
    QVERIFY(f.addReminder(QStringLiteral("r2"), QStringLiteral("e2"), 20, iso(at(10, 10))));
    QVERIFY(f.addTask(QStringLiteral("t"), QStringLiteral("Task"), iso(at(10, 10)), false));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr"), QStringLiteral("t"), 0));

    // No tray icon, and a session bus that is not there.
    NotificationService service(f.state.get(), nullptr);
    DesktopNotifier nowhere(QStringLiteral("unix:path=/nonexistent/bus"));
    service.setDesktopNotifier(&nowhere);
    QWidget window;
    service.setWindow(&window);
    QSignalSpy clicked(&service, &NotificationService::reminderClicked);
    QSignalSpy taskOpened(&service, &NotificationService::taskReminderOpened);

    // They wait, unacknowledged, also past the time they could fire in, and nothing is added
    // twice while they do.
    const auto waitingTitles = [&service] {
        QStringList titles;
        for (const NotificationService::Balloon &b : service.waiting())
            titles << b.title;
        return titles;
    };
    for (const QDateTime &t : {kNow, at(10, 12)}) {
        f.clock.set(t);
        service.poll();
        QCOMPARE(waitingTitles(), LarkTest::strings({"One", "Two", "Task"}));
        QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r1")));
        QVERIFY(!f.acknowledged(QStringLiteral("task_reminders"), QStringLiteral("tr")));
    }

    // Showing the window lists them beside it; then they are done with.
    window.show();
    QTRY_VERIFY(service.missedDialog());
    MissedRemindersDialog *missed = service.missedDialog();
    QCOMPARE(missed->parentWidget(), &window);
    QVERIFY(!missed->isModal());
    QCOMPARE(missed->list()->count(), 3);
    QCOMPARE(missed->list()->item(1)->text(), QStringLiteral("Two\nIn 20 minutes (10:20 AM)"));
    QVERIFY(service.waiting().isEmpty());
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r1")));
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r2")));
    QVERIFY(f.acknowledged(QStringLiteral("task_reminders"), QStringLiteral("tr")));
    emit missed->list()->itemActivated(missed->list()->item(1));
    emit missed->list()->itemActivated(missed->list()->item(2));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].toString(), QStringLiteral("e2"));
    // A task's opens the day it is due.
    QCOMPARE(taskOpened.count(), 1);
    QCOMPARE(taskOpened[0][0].toDate(), QDate(2024, 1, 10));

    // Without any state the pass does nothing at all.
    NotificationService bare(nullptr, nullptr);
    bare.poll();
    QCOMPARE(bare.currentBalloon(), nullptr);
}

void TestNotificationService::retryPause_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("pauseMs");
    // Tries at 0, 5, 15 and 35 s: four a minute, then the reminder is listed as missed.
    QTest::newRow("first") << 1 << 5000;
    QTest::newRow("second") << 2 << 10000;
    QTest::newRow("fourth") << 4 << 40000;
    QTest::newRow("at most a minute") << 5 << 60000;
    QTest::newRow("many") << 40 << 60000;
}

void TestNotificationService::retryPause()
{
    QFETCH(int, failures);
    QFETCH(int, pauseMs);
    QCOMPARE(Reminders::retryPauseMs(failures, NotificationService::kFirstRetryPauseMs), pauseMs);
}

void TestNotificationService::brokenDesktopIsTriedSparinglyThenTheReminderIsMissed_data()
{
    QTest::addColumn<bool>("hangs");
    QTest::newRow("answers with an error") << false;
    QTest::newRow("never answers") << true;
}

void TestNotificationService::brokenDesktopIsTriedSparinglyThenTheReminderIsMissed()
{
    QFETCH(bool, hangs);
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("e1"), QStringLiteral("Standup"), iso(at(10, 10, 10))));
    QVERIFY(f.addReminder(QStringLiteral("r1"), QStringLiteral("e1"), 10, iso(at(10, 10))));

    QTemporaryDir busDir;
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--session"), QStringLiteral("--nofork"),
               QStringLiteral("--address=unix:dir=") + busDir.path(),
               QStringLiteral("--print-address=1")});
    QVERIFY2(bus.waitForStarted(5000), "dbus-daemon is missing: run scripts/setup");
    QTRY_VERIFY_WITH_TIMEOUT(bus.canReadLine(), 5000);
    const QString address = QString::fromUtf8(bus.readLine().trimmed());
    const QString connectionName
        = QStringLiteral("broken-notifications-") + QLatin1String(QTest::currentDataTag());
    {
        QDBusConnection connection = QDBusConnection::connectToBus(address, connectionName);
        BrokenNotifications fake;
        fake.hangs = hangs;
        QVERIFY(connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &fake,
                                          QDBusConnection::ExportAllSlots));
        QVERIFY(connection.registerService(QStringLiteral("org.freedesktop.Notifications")));

        NotificationService service(f.state.get(), nullptr);
        DesktopNotifier desktop(address);
        desktop.setCallTimeout(200);
        service.setDesktopNotifier(&desktop);
        service.setFirstRetryPause(100);
        QWidget window;
        service.setWindow(&window);
        window.show();

        // Tried again after 100, 200, 400 and 800 ms; the program idles in between.
        const qint64 cpuBefore = cpuMs();
        service.poll();
        QTest::qWait(2000);
        const qint64 cpuUsed = cpuMs() - cpuBefore;
        qInfo("%d tries and %lld ms of CPU time in 2 s", fake.calls, cpuUsed);
        QVERIFY2(fake.calls >= 2 && fake.calls <= 6, qPrintable(QString::number(fake.calls)));
        QVERIFY2(cpuUsed < 400, qPrintable(QString::number(cpuUsed)));
        QCOMPARE(service.missedDialog(), nullptr);
        QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r1")));
        // Another poll leaves the reminder to its tries.
        service.poll();
        QCOMPARE(service.retryingCount() + (service.missedDialog() ? 1 : 0), 1);

        // A minute on, it is listed beside the window and done with.
        f.clock.set(kNow.addSecs(NotificationService::kGiveUpSecs));
        QTRY_VERIFY_WITH_TIMEOUT(service.missedDialog(), 5000);
        QCOMPARE(service.missedDialog()->list()->count(), 1);
        QVERIFY(service.missedDialog()->list()->item(0)->text().startsWith(
            QStringLiteral("Standup\n")));
        QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r1")));
        QCOMPARE(service.retryingCount(), 0);
        const int calls = fake.calls;
        service.poll();
        QTest::qWait(300);
        QCOMPARE(fake.calls, calls);
    }
    QDBusConnection::disconnectFromBus(connectionName);
    bus.terminate();
    bus.waitForFinished(5000);
}

void TestNotificationService::severalRemindersAreQueuedAndClicksFollowTheBalloonOnScreen()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("a"), QStringLiteral("Alpha"), iso(at(10, 10, 10))));
    QVERIFY(f.addEvent(QStringLiteral("b"), QStringLiteral("Beta"), iso(at(11, 10, 0))));
    QVERIFY(f.addEvent(QStringLiteral("c"), QStringLiteral("Gamma"), iso(at(10, 10, 30))));
    QVERIFY(f.addReminder(QStringLiteral("ra"), QStringLiteral("a"), 15, iso(at(10, 9, 55))));
    QVERIFY(f.addReminder(QStringLiteral("rb"), QStringLiteral("b"), 1440, iso(at(10, 9, 58))));
    QVERIFY(f.addReminder(QStringLiteral("rc"), QStringLiteral("c"), 30, iso(at(10, 10, 0))));

    NotificationService service(f.state.get(), nullptr);
    service.setBalloonDuration(500);
    Recorder rec;
    rec.attach(service);
    QSignalSpy clicked(&service, &NotificationService::reminderClicked);
    service.poll();

    QCOMPARE(rec.shown.size(), 1);
    QVERIFY(service.currentBalloon());
    QCOMPARE(service.currentBalloon()->eventId, QStringLiteral("a"));
    QCOMPARE(service.queuedCount(), 2);

    // A click answers the balloon on screen and brings the next one up.
    service.onBalloonClicked();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].toString(), QStringLiteral("a"));
    QCOMPARE(clicked[0][1].toDate(), QDate(2024, 1, 10));
    QCOMPARE(rec.shown.size(), 2);
    QCOMPARE(rec.shown[1].eventId, QStringLiteral("b"));

    // When a balloon's time is up the next replaces it; a click then refers to that one.
    QTRY_COMPARE(rec.shown.size(), 3);
    QCOMPARE(rec.shown[2].eventId, QStringLiteral("c"));
    service.onBalloonClicked();
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked[1][0].toString(), QStringLiteral("c"));
    QCOMPARE(service.currentBalloon(), nullptr);
    QCOMPARE(service.queuedCount(), 0);

    // A second poll while balloons wait adds behind them.
    QVERIFY(f.addReminder(QStringLiteral("ra2"), QStringLiteral("a"), 5, iso(at(10, 10, 5))));
    QVERIFY(f.addReminder(QStringLiteral("rb2"), QStringLiteral("b"), 5, iso(at(10, 10, 5))));
    f.clock.set(at(10, 10, 5));
    service.showTestNotification();
    service.poll();
    QCOMPARE(service.currentBalloon()->title, QStringLiteral("Test reminder"));
    QCOMPARE(service.queuedCount(), 2);
    QCOMPARE(rec.shown.size(), 4);
    // Waiting in the queue they are not shown yet, nor acknowledged, nor queued again.
    QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("ra2")));
    service.poll();
    QCOMPARE(service.queuedCount(), 2);
    service.onBalloonClicked();
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("ra2")));
    QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("rb2")));
    service.onBalloonClicked();
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("rb2")));
}

void TestNotificationService::taskAndTestBalloonClicksEmitNothing()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addTask(QStringLiteral("t"), QStringLiteral("Task"), iso(at(10, 10)), false));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr"), QStringLiteral("t"), 0));
    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    QSignalSpy clicked(&service, &NotificationService::reminderClicked);

    service.showTestNotification();
    QCOMPARE(rec.shown.size(), 1);
    QCOMPARE(rec.shown[0].title, QStringLiteral("Test reminder"));
    QCOMPARE(rec.shown[0].body,
             QStringLiteral("If you can see this, your desktop notifications are wired up "
                            "correctly. Real reminders look just like this one."));
    QVERIFY(!rec.shown[0].date.isValid());
    service.onBalloonClicked();
    QCOMPARE(clicked.count(), 0);

    service.poll();
    QCOMPARE(rec.shown.size(), 2);
    QCOMPARE(rec.shown[1].body, QStringLiteral("Due now (10:00 AM)"));
    service.onBalloonClicked();
    QCOMPARE(clicked.count(), 0);
}

void TestNotificationService::failedEventQueryShowsNoTaskReminder()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addTask(QStringLiteral("t"), QStringLiteral("Task"), iso(at(10, 10)), false));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr"), QStringLiteral("t"), 0));
    QVERIFY(f.exec(QStringLiteral("ALTER TABLE reminders RENAME COLUMN trigger_time TO t2")));
    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral(
                             "^EventRepository::unacknowledgedReminders failed:.*trigger_time")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^NotificationService poll failed:")));
    service.poll();
    QCOMPARE(rec.shown.size(), 0);
    QVERIFY(!f.acknowledged(QStringLiteral("task_reminders"), QStringLiteral("tr")));
}

void TestNotificationService::failedAcknowledgementFiresAgain()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("e"), QStringLiteral("Sticky"), iso(at(10, 10, 10))));
    QVERIFY(f.addReminder(QStringLiteral("r"), QStringLiteral("e"), 10, iso(at(10, 10))));
    QVERIFY(f.exec(QStringLiteral("CREATE TRIGGER no_ack BEFORE UPDATE ON reminders BEGIN "
                                  "SELECT RAISE(ABORT, 'read-only'); END")));
    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    const QRegularExpression storeWarning(
        QStringLiteral("^EventRepository::acknowledgeReminders failed:.*read-only"));
    const QRegularExpression ackWarning(
        QStringLiteral("^NotificationService ack failed for \"reminders\" :.*read-only"));
    QTest::ignoreMessage(QtWarningMsg, storeWarning);
    QTest::ignoreMessage(QtWarningMsg, ackWarning);
    service.poll();
    QCOMPARE(rec.shown.size(), 1);
    service.onBalloonClicked();
    QTest::ignoreMessage(QtWarningMsg, storeWarning);
    QTest::ignoreMessage(QtWarningMsg, ackWarning);
    service.poll();
    QCOMPARE(rec.shown.size(), 2);
    QCOMPARE(rec.shown[1].title, QStringLiteral("Sticky"));
}

void TestNotificationService::firstPollRunsSoonAfterConstruction()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("e"), QStringLiteral("Soon"), iso(at(10, 10, 10))));
    QVERIFY(f.addReminder(QStringLiteral("r"), QStringLiteral("e"), 10, iso(at(10, 10))));
    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    QTest::qWait(1500);
    QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r")));
    QTRY_VERIFY_WITH_TIMEOUT(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r")),
                             3000);
}

void TestNotificationService::repeatingEventRemindsOfEveryOccurrence()
{
    Fixture f;
    QVERIFY(f.ready());
    // Daily at 9:00 in Berlin (8:00 UTC) from Monday 8 January, not on the 10th, and on the 11th
    // moved to 14:00; made on Sunday evening.
    f.clock.set(at(7, 18));
    const QTimeZone berlin("Europe/Berlin");
    Event master;
    master.id = QStringLiteral("standup");
    master.calendar_id = f.calendarId;
    master.uid = QStringLiteral("standup@example.org");
    master.title = QStringLiteral("Standup");
    master.start_time = QDateTime(QDate(2024, 1, 8), QTime(9, 0), berlin);
    master.end_time = master.start_time.addSecs(900);
    master.timezone = QStringLiteral("Europe/Berlin");
    master.recurrence_rule = QStringLiteral("FREQ=DAILY");
    master.exception_dates = QStringLiteral("[\"20240110T080000Z\"]");
    master.raw_icalendar = QStringLiteral("");
    master.created = master.last_modified = kNow;
    Reminder quarter;
    quarter.minutes_before = 15;
    master.reminders = {quarter};
    QVERIFY(f.state->events()->insert(master));
    Event moved = master;
    moved.id = QStringLiteral("moved");
    moved.recurrence_rule.clear();
    moved.exception_dates.clear();
    moved.master_event_uid = master.uid;
    moved.recurrence_id = QStringLiteral("20240111T080000Z");
    moved.start_time = QDateTime(QDate(2024, 1, 11), QTime(14, 0), berlin);
    moved.end_time = moved.start_time.addSecs(900);
    moved.reminders.clear();
    QVERIFY(f.state->events()->insert(moved));

    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    // Closed until Tuesday morning: Monday's standup is long over and gets no balloon.
    QCOMPARE(rec.pollAt(service, f.clock, at(9, 7, 45)), LarkTest::strings({"standup 2024-01-09"}));
    QCOMPARE(rec.shown.last().body, QStringLiteral("In 15 minutes (8:00 AM)"));
    QCOMPARE(rec.pollAt(service, f.clock, at(9, 7, 46)), QStringList());
    QCOMPARE(rec.pollAt(service, f.clock, at(10, 7, 45)), QStringList());
    QCOMPARE(rec.pollAt(service, f.clock, at(11, 7, 45)), QStringList());
    QCOMPARE(rec.pollAt(service, f.clock, at(11, 12, 45)), LarkTest::strings({"moved 2024-01-11"}));
    // A late poll still reminds of the next one.
    QCOMPARE(rec.pollAt(service, f.clock, at(12, 7, 55)),
             LarkTest::strings({"standup 2024-01-12"}));
}

void TestNotificationService::filterRulesSilenceReminders()
{
    Fixture f;
    QVERIFY(f.ready());
    FilterRuleRepository *rules = f.state->filterRules();
    QVERIFY(rules->insert(titleRule(QStringLiteral("Payroll"), QStringLiteral("hide"), false)));
    QVERIFY(rules->insert(titleRule(QStringLiteral("Gym"), QStringLiteral("dim"), true)));
    QVERIFY(rules->insert(titleRule(QStringLiteral("Lunch"), QStringLiteral("dim"), false)));
    for (const char *title : {"Payroll", "Gym", "Lunch", "Review"}) {
        const QString id = QString::fromLatin1(title);
        QVERIFY(f.addEvent(id, id, iso(at(10, 10, 10))));
        QVERIFY(f.addReminder(QStringLiteral("r-") + id, id, 10, iso(at(10, 10))));
    }

    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    QStringList shown = rec.pollAt(service, f.clock, kNow);
    shown.sort();
    QCOMPARE(shown, LarkTest::strings({"Lunch 2024-01-10", "Review 2024-01-10"}));
    // The silenced ones were due all the same: they do not come back once a rule goes.
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r-Payroll")));
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r-Gym")));
}

QTEST_MAIN(TestNotificationService)
#include "tst_NotificationService.moc"
