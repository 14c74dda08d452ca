#include "core/ImportsUnderWay.h"
#include "core/ReminderRound.h"
#include "core/TempStore.h"
#include "model/Identifiers.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferencesRepository.h"
#include "support/ReminderRows.h"
#include "support/TestSupport.h"

#include <QTimeZone>
#include <QtTest>

namespace {

const QDateTime kNow = LarkTest::kReminderNow;
QDateTime at(int day, int h, int mi = 0, int s = 0)
{
    return LarkTest::reminderTime(day, h, mi, s);
}
const auto iso = LarkTest::isoText;

// A store with one calendar and the clock at kNow.
struct Fixture : LarkTest::ReminderRows
{
    LarkTest::TempStore store {LarkTest::TempStore::WithPersonal};

    Fixture()
    {
        connection = store->database()->connection();
        calendarId = kPersonalCalendarId;
    }

    // A round at t as the notification service makes it when every notice can be shown: what
    // the round settles without a notice is written, and each notice is shown and settled. The
    // event notices come first, then the tasks'.
    QList<ReminderNotice> pass(const QDateTime &t)
    {
        clock.set(t);
        const ReminderRound round(store.store());
        const std::optional<ReminderRound::EventReminders> events = round.dueEvents(t, {});
        const std::optional<QList<ReminderNotice>> tasks = round.dueTasks(t, {});
        ReminderNotice failed;
        failed.title = QStringLiteral("round failed");
        if (!events || !tasks || !round.settleUnshown(*events).isEmpty())
            return {failed};
        QList<ReminderNotice> shown = events->notices + *tasks;
        failed.title = QStringLiteral("settle failed");
        for (const ReminderNotice &n : std::as_const(shown)) {
            if (!round.settleShown(n))
                return {failed};
        }
        return shown;
    }

    // "<event id> <date>" of each notice of a pass at t.
    QStringList eventsAt(const QDateTime &t)
    {
        QStringList out;
        for (const ReminderNotice &n : pass(t))
            out << n.eventId + QLatin1Char(' ') + n.date.toString(Qt::ISODate);
        return out;
    }
};

QStringList titles(const QList<ReminderNotice> &notices)
{
    QStringList out;
    for (const ReminderNotice &n : notices)
        out << n.title;
    return out;
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

class TestReminderRound : public QObject
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

    void dueEventRemindersAreShownOrSettled();
    void dueTaskReminders();
    void repeatingEventRemindsOfEveryOccurrence();
    void filterRulesSilenceReminders();
};

void TestReminderRound::initTestCase()
{
    QVERIFY(LarkTest::installEnglish(this));
}

void TestReminderRound::eventBody_data()
{
    QTest::addColumn<int>("secondsLeft");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, int secondsLeft, const char *expected,
                        const QDateTime &now = kNow, const QString &location = {}) {
        QTest::newRow(name) << secondsLeft << now << location << QString::fromUtf8(expected);
    };
    row("at start", 0, "Starting now (9:30 AM)");
    row("one minute", 60, "In 1 minute (9:30 AM)");
    row("15 minutes", 900, "In 15 minutes (9:30 AM)");
    row("59 minutes", 3540, "In 59 minutes (9:30 AM)");
    row("one hour", 3600, "In 1h (9:30 AM)");
    row("90 minutes", 5400, "In 1h 30min (9:30 AM)");
    row("just under a day", 86340, "In 23h 59min (9:30 AM)");
    // A day or more ahead, the start's own day is named: Jan 10, 2024 is a Wednesday.
    row("one day", 86400, "Tomorrow at 9:30 AM");
    row("two days", 2 * 86400, "Fri, Jan 12 9:30 AM");
    row("six days", 6 * 86400, "Tue, Jan 16 9:30 AM");
    row("eight days", 8 * 86400, "Thu, Jan 18 9:30 AM");
    row("under two days, across two midnights", 2025 * 60, "Fri, Jan 12 9:30 AM", at(10, 23, 45));
    // Shown late (the program started after the trigger): the time left, not the offset set.
    row("shown late, to the nearest minute", 1000, "In 17 minutes (9:30 AM)");
    row("started", -120, "Started at 9:30 AM");
    row("with location", 600, "In 10 minutes (9:30 AM) \u00B7 Room 4", kNow,
        QStringLiteral("Room 4"));
}

void TestReminderRound::eventBody()
{
    QFETCH(int, secondsLeft);
    QFETCH(QDateTime, now);
    QFETCH(QString, location);
    QFETCH(QString, expected);
    QCOMPARE(
        Reminders::eventBody(now.addSecs(secondsLeft), now, QStringLiteral("9:30 AM"), location),
        expected);
}

void TestReminderRound::taskBody_data()
{
    QTest::addColumn<bool>("dateOnly");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("date-only, ahead") << true << 60 << QStringLiteral("Due soon");
    QTest::newRow("date-only, at due") << true << 0 << QStringLiteral("Due today");
    QTest::newRow("timed, ahead") << false << 15 << QStringLiteral("Due soon (4:00 PM)");
    QTest::newRow("timed, at due") << false << 0 << QStringLiteral("Due now (4:00 PM)");
}

void TestReminderRound::taskBody()
{
    QFETCH(bool, dateOnly);
    QFETCH(int, minutes);
    QFETCH(QString, expected);
    QCOMPARE(Reminders::taskBody(dateOnly, minutes, QStringLiteral("4:00 PM")), expected);
}

void TestReminderRound::eventFires_data()
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

void TestReminderRound::eventFires()
{
    QFETCH(QDateTime, trigger);
    QFETCH(QDateTime, start);
    QFETCH(bool, fires);
    QCOMPARE(Reminders::eventReminderFires(trigger, start, kNow), fires);
}

void TestReminderRound::taskFires_data()
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

void TestReminderRound::taskFires()
{
    QFETCH(QDateTime, due);
    QFETCH(int, minutes);
    QFETCH(QDateTime, now);
    QFETCH(bool, fires);
    QCOMPARE(Reminders::taskReminderFires(due, minutes, now), fires);
}

void TestReminderRound::dueEventRemindersAreShownOrSettled()
{
    Fixture f;
    QVERIFY(f.store.isValid());
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
    // "late" was due at 9:50 and the poll is late: the text says the time left.
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

    // An import into another calendar holds none of these.
    ImportsUnderWay *imports = f.store.store().imports();
    imports->beginImportInto(QStringLiteral("holidays"));
    QVERIFY(ReminderRound(f.store.store()).isReady());

    // Reminders on their way to the user already are left out.
    const std::optional<ReminderRound::EventReminders> skipped
        = ReminderRound(f.store.store()).dueEvents(kNow, LarkTest::strings({"r-late"}));
    QVERIFY(skipped);
    QCOMPARE(titles(skipped->notices), LarkTest::strings({"Reminder", "Standup"}));

    // In trigger order.
    const QList<ReminderNotice> shown = f.pass(kNow);
    QCOMPARE(titles(shown), LarkTest::strings({"Reminder", "Late", "Standup"}));
    QCOMPARE(shown[0].body, QStringLiteral("In 23h 30min (9:30 AM)"));
    QCOMPARE(shown[0].eventId, QStringLiteral("untitled"));
    QCOMPARE(shown[0].date, QDate(2024, 1, 11));
    QCOMPARE(shown[0].reminderId, QStringLiteral("r-untitled"));
    QVERIFY(!shown[0].task);
    QVERIFY(!shown[0].moveOn);
    QCOMPARE(shown[1].body, QStringLiteral("In 20 minutes (10:20 AM)"));
    // Listed later as missed, it says what is true then.
    QCOMPARE(Reminders::bodyAt(shown[1], at(10, 11)), QStringLiteral("Started at 10:20 AM"));
    QCOMPARE(shown[2].body, QStringLiteral("In 15 minutes (10:15 AM) \u00B7 Room 4"));

    const QString table = QStringLiteral("reminders");
    for (const char *done : {"r-untitled", "r-late", "r-standup"})
        QVERIFY2(f.acknowledged(table, QString::fromLatin1(done)), done);
    // Due reminders that can no longer fire (over, unreadable, deleted) are settled once without
    // a notice, so no later round reads them again.
    for (const char *settled : {"r-old", "r-garbled", "r-gone"})
        QVERIFY2(f.acknowledged(table, QString::fromLatin1(settled)), settled);
    for (const char *left : {"r-future", "r-notrigger"})
        QVERIFY2(!f.acknowledged(table, QString::fromLatin1(left)), left);

    // Acknowledged reminders never fire again; the future one does once its time comes, its
    // time written as the preference now asks.
    QVERIFY(f.store->preferences()->set(QStringLiteral("ui/timeFormat"), QStringLiteral("24")));
    const QList<ReminderNotice> later = f.pass(at(10, 11, 0, 30));
    QCOMPARE(titles(later), LarkTest::strings({"Future"}));
    QCOMPARE(later[0].body, QStringLiteral("In 1h (12:00)"));

    // An import holds its calendar's reminders; however many, another calendar's come through.
    Calendar other = *f.store->calendars()->byId(f.calendarId);
    other.id = other.url = QStringLiteral("other");
    QVERIFY(f.store->calendars()->insert(other));
    for (int i = 0; i < kReminderPollBatch; ++i)
        QVERIFY(f.addReminder(QString::number(i), QStringLiteral("future"), 0, iso(at(10, 11))));
    imports->beginImportInto(f.calendarId);
    f.calendarId = other.id;
    QVERIFY(f.addEvent(QStringLiteral("other"), QStringLiteral("Other"), iso(at(10, 12, 5))));
    QVERIFY(f.addReminder(QStringLiteral("r-other"), QStringLiteral("other"), 5, iso(at(10, 12))));
    QCOMPARE(titles(f.pass(at(10, 12))), LarkTest::strings({"Other"}));
}

void TestReminderRound::dueTaskReminders()
{
    Fixture f;
    QVERIFY(f.store.isValid());
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

    // Those on their way to the user already are left out.
    const std::optional<QList<ReminderNotice>> skipped
        = ReminderRound(f.store.store()).dueTasks(at(10, 0, 20), LarkTest::strings({"tr-bare"}));
    QVERIFY(skipped);
    QCOMPARE(skipped->size(), 2);

    // 00:20 on the due day: the date-only tasks are still within their half hour.
    const QList<ReminderNotice> shown = f.pass(at(10, 0, 20));
    QStringList shownTitles = titles(shown);
    shownTitles.sort();
    QCOMPARE(shownTitles, LarkTest::strings({"Ahead", "Bare date", "Pay rent"}));
    QVERIFY(shown[0].task);
    QCOMPARE(shown[0].eventId, QString());
    QCOMPARE(shown[0].date, QDate(2024, 1, 10));
    const QString table = QStringLiteral("task_reminders");
    QVERIFY(f.acknowledged(table, QStringLiteral("tr-today")));
    QVERIFY(f.acknowledged(table, QStringLiteral("tr-bare")));
    QVERIFY(!f.acknowledged(table, QStringLiteral("tr-timed")));

    // The timed task's reminder comes 15 minutes ahead of 10:10.
    const QList<ReminderNotice> timed = f.pass(at(10, 9, 56));
    QCOMPARE(titles(timed), LarkTest::strings({"Call back"}));
    QCOMPARE(timed[0].body, QStringLiteral("Due soon (10:10 AM)"));
    for (const char *left :
         {"tr-done", "tr-cancelled", "tr-deleted", "tr-undated", "tr-yesterday", "tr-garbled"})
        QVERIFY2(!f.acknowledged(table, QString::fromLatin1(left)), left);
}

void TestReminderRound::repeatingEventRemindsOfEveryOccurrence()
{
    Fixture f;
    QVERIFY(f.store.isValid());
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
    QVERIFY(f.store->events()->insert(master));
    Event moved = master;
    moved.id = QStringLiteral("moved");
    moved.recurrence_rule.clear();
    moved.exception_dates.clear();
    moved.master_event_uid = master.uid;
    moved.recurrence_id = QStringLiteral("20240111T080000Z");
    moved.start_time = QDateTime(QDate(2024, 1, 11), QTime(14, 0), berlin);
    moved.end_time = moved.start_time.addSecs(900);
    moved.reminders.clear();
    QVERIFY(f.store->events()->insert(moved));

    // Closed until Tuesday morning: Monday's standup is long over and gets no notice.
    const QList<ReminderNotice> tuesday = f.pass(at(9, 7, 45));
    QCOMPARE(tuesday.size(), 1);
    QCOMPARE(tuesday[0].eventId + QLatin1Char(' ') + tuesday[0].date.toString(Qt::ISODate),
             QStringLiteral("standup 2024-01-09"));
    QCOMPARE(tuesday[0].body, QStringLiteral("In 15 minutes (8:00 AM)"));
    QVERIFY(tuesday[0].moveOn);
    QCOMPARE(f.eventsAt(at(9, 7, 46)), QStringList());
    QCOMPARE(Reminders::seriesReminders(master, {moved}, 15, at(9, 7, 45), at(9, 7, 46)).due.size(),
             0);
    QCOMPARE(f.eventsAt(at(10, 7, 45)), QStringList());
    QCOMPARE(f.eventsAt(at(11, 7, 45)), QStringList());
    QCOMPARE(f.eventsAt(at(11, 12, 45)), LarkTest::strings({"moved 2024-01-11"}));
    // A late round still reminds of the next one.
    QCOMPARE(f.eventsAt(at(12, 7, 55)), LarkTest::strings({"standup 2024-01-12"}));
}

void TestReminderRound::filterRulesSilenceReminders()
{
    Fixture f;
    QVERIFY(f.store.isValid());
    FilterRuleRepository *rules = f.store->filterRules();
    QVERIFY(rules->insert(titleRule(QStringLiteral("Payroll"), QStringLiteral("hide"), false)));
    QVERIFY(rules->insert(titleRule(QStringLiteral("Gym"), QStringLiteral("dim"), true)));
    QVERIFY(rules->insert(titleRule(QStringLiteral("Lunch"), QStringLiteral("dim"), false)));
    for (const char *title : {"Payroll", "Gym", "Lunch", "Review"}) {
        const QString id = QString::fromLatin1(title);
        QVERIFY(f.addEvent(id, id, iso(at(10, 10, 10))));
        QVERIFY(f.addReminder(QStringLiteral("r-") + id, id, 10, iso(at(10, 10))));
    }

    QStringList shown = f.eventsAt(kNow);
    shown.sort();
    QCOMPARE(shown, LarkTest::strings({"Lunch 2024-01-10", "Review 2024-01-10"}));
    // The silenced ones were due all the same: they do not come back once a rule goes.
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r-Payroll")));
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r-Gym")));
}

QTEST_MAIN(TestReminderRound)
#include "tst_ReminderRound.moc"
