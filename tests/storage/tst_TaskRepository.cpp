#include "model/Clock.h"
#include "storage/TaskRepository.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTimeZone>
#include <QtTest>

using LarkTest::idsOf;
using LarkTest::strings;

using LarkTest::expressed;

namespace {

QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
}

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::LocalTime);
}

Task makeTask(const QString &id, const QString &calendar = QStringLiteral("A"))
{
    Task t;
    t.id = id;
    t.calendar_id = calendar;
    t.uid = id + QStringLiteral("@uid");
    t.title = QStringLiteral("Task ") + id;
    t.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR");
    t.created = utc(2024, 1, 1);
    t.last_modified = t.created;
    return t;
}

Task dueTask(const QString &id, const std::optional<QDateTime> &due, int sortOrder = 0)
{
    Task t = makeTask(id);
    t.due_date = due;
    t.sort_order = sortOrder;
    return t;
}

Reminder reminder(int minutes, const QString &id = QString())
{
    Reminder r;
    r.id = id;
    r.minutes_before = minutes;
    return r;
}

} // namespace

class TestTaskRepository : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listByCalendarOrder();
    void rangeBoundariesAndOrder();
    void rangeIsExactInEveryZone_data();
    void rangeIsExactInEveryZone();
    void lookups();
    void columnTexts_data();
    void columnTexts();
    void remindersRoundTrip();
    void failedReminderKeepsPreviousState();
    void emptyIdIsRefused();
    void changeSignalIsCoalesced();
    void completeAndReopenOneOffTask();
    void weeklyTaskMovesOn_data();
    void weeklyTaskMovesOn();
    void usedUpSeriesCompletes_data();
    void usedUpSeriesCompletes();
    void countEndsTheSeries();
    void remindersFireAgainAfterAdvance();
    void unknownIdIsNotCompleted();

private:
    Task stored(const QString &id) const;

    std::unique_ptr<LarkTest::TestDatabase> m_t;
    std::unique_ptr<TaskRepository> m_repo;
    LarkTest::TestClock m_clock {utc(2024, 3, 6, 15, 30)};
    // The repositories stamp their writes with the program clock.
    Clock::Override m_pinned {[this] {
        return m_clock.now();
    }};
};

void TestTaskRepository::init()
{
    m_t = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_t->isValid());
    QVERIFY(m_t->addCalendar(QStringLiteral("A")));
    QVERIFY(m_t->addCalendar(QStringLiteral("B")));
    m_repo = std::make_unique<TaskRepository>(m_t->db());
}

void TestTaskRepository::cleanup()
{
    m_repo.reset();
    m_t.reset();
}

Task TestTaskRepository::stored(const QString &id) const
{
    const std::optional<Task> t = m_repo->byId(id);
    return t ? *t : Task();
}

void TestTaskRepository::listByCalendarOrder()
{
    Task other = dueTask(QStringLiteral("other-calendar"), utc(2024, 3, 1));
    other.calendar_id = QStringLiteral("B");
    Task gone = dueTask(QStringLiteral("tombstoned"), utc(2024, 3, 1));
    gone.deleted_at = utc(2024, 3, 2);
    for (const Task &t :
         {dueTask(QStringLiteral("undated-2"), std::nullopt, 2),
          dueTask(QStringLiteral("late"), utc(2024, 3, 9, 8)),
          dueTask(QStringLiteral("undated-1"), std::nullopt, 1),
          dueTask(QStringLiteral("early-b"), utc(2024, 3, 4, 10), 5),
          dueTask(QStringLiteral("early-a"), utc(2024, 3, 4, 10), 3),
          // 14:00 UTC written as 09:00-05:00: its text sorts before 10:00Z.
          dueTask(QStringLiteral("offset"), utc(2024, 3, 4, 14).toOffsetFromUtc(-5 * 3600)), other,
          gone})
        QVERIFY(m_repo->insert(t));

    QCOMPARE(idsOf(m_repo->listByCalendar(QStringLiteral("A"))),
             strings({"early-a", "early-b", "offset", "late", "undated-1", "undated-2"}));
}

void TestTaskRepository::rangeBoundariesAndOrder()
{
    const QDateTime from = utc(2024, 3, 4);
    const QDateTime to = utc(2024, 3, 11);
    Task startOnly = dueTask(QStringLiteral("start-only"), std::nullopt);
    startOnly.start_date = utc(2024, 3, 6);
    Task startBefore = dueTask(QStringLiteral("started-before-due-inside"), utc(2024, 3, 8), 1);
    startBefore.start_date = utc(2024, 2, 1);
    Task gone = dueTask(QStringLiteral("tombstoned"), utc(2024, 3, 5));
    gone.deleted_at = utc(2024, 3, 1);
    Task otherCalendar = dueTask(QStringLiteral("calendar-B"), utc(2024, 3, 7));
    otherCalendar.calendar_id = QStringLiteral("B");
    for (const Task &t :
         {dueTask(QStringLiteral("due-at-to"), to), dueTask(QStringLiteral("due-at-from"), from, 9),
          dueTask(QStringLiteral("no-dates"), std::nullopt),
          dueTask(QStringLiteral("due-before"), utc(2024, 3, 3, 23, 59)), startOnly, startBefore,
          gone, otherCalendar})
        QVERIFY(m_repo->insert(t));

    QCOMPARE(idsOf(m_repo->listInRange(from, to)),
             strings({"start-only", "due-at-from", "calendar-B", "started-before-due-inside"}));
    QCOMPARE(idsOf(m_repo->listInRange(from, to, strings({"B"}))), strings({"calendar-B"}));
    QCOMPARE(idsOf(m_repo->listInRange(from, to, strings({"A", "B"}))).size(), 4);
}

void TestTaskRepository::rangeIsExactInEveryZone_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("UTC suffix") << QStringLiteral("Z");
    QTest::newRow("offset -05:00") << QStringLiteral("offset -5");
    QTest::newRow("offset +13:00") << QStringLiteral("offset 13");
    QTest::newRow("local time, no suffix") << QStringLiteral("local");
    QTest::newRow("named zone Asia/Tokyo") << QStringLiteral("Asia/Tokyo");
}

void TestTaskRepository::rangeIsExactInEveryZone()
{
    QFETCH(QString, form);
    // The 4th of March in New York, asked for with New York times.
    const QTimeZone ny("America/New_York");
    const QDateTime from(QDate(2024, 3, 4), QTime(0, 0), ny);
    const QDateTime to(QDate(2024, 3, 5), QTime(0, 0), ny);
    const auto due = [&](const char *id, const QDateTime &at) {
        return dueTask(QString::fromLatin1(id), expressed(at, form));
    };
    Task byStart = dueTask(QStringLiteral("start-late-evening"), std::nullopt);
    byStart.start_date = expressed(QDateTime(QDate(2024, 3, 4), QTime(23, 59), ny), form);
    for (const Task &t :
         {due("evening", QDateTime(QDate(2024, 3, 4), QTime(20, 0), ny)), due("first-minute", from),
          due("at-to", to), due("just-before", from.addSecs(-60)),
          due("next-evening", QDateTime(QDate(2024, 3, 5), QTime(20, 0), ny)), byStart})
        QVERIFY(m_repo->insert(t));

    QCOMPARE(idsOf(m_repo->listInRange(from, to)),
             strings({"start-late-evening", "first-minute", "evening"}));
}

void TestTaskRepository::lookups()
{
    Task a = makeTask(QStringLiteral("a"));
    a.uid = QStringLiteral("shared");
    Task b = makeTask(QStringLiteral("b"), QStringLiteral("B"));
    b.uid = QStringLiteral("shared");
    Task gone = makeTask(QStringLiteral("gone"));
    gone.deleted_at = utc(2024, 3, 1);
    gone.sync_status = QStringLiteral("pending");
    for (const Task &t : {a, b, gone})
        QVERIFY(m_repo->insert(t));

    QVERIFY(!m_repo->byUid(QString()));
    const std::optional<Task> shared = m_repo->byUid(QStringLiteral("shared"));
    QVERIFY(shared);
    QVERIFY(strings({"a", "b"}).contains(shared->id));
    QVERIFY(!m_repo->byUid(gone.uid));
    QCOMPARE(m_repo->byUidInCalendar(QStringLiteral("shared"), QStringLiteral("B"))->id,
             QStringLiteral("b"));
    QCOMPARE(m_repo->byUidInCalendar(gone.uid, QStringLiteral("A"))->id, QStringLiteral("gone"));
    QVERIFY(m_repo->byId(QStringLiteral("gone"))->deleted_at);
    QCOMPARE(idsOf(m_repo->listPending(QStringLiteral("A"))), strings({"gone"}));
}

void TestTaskRepository::columnTexts_data()
{
    QTest::addColumn<QString>("categories");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("array") << QStringLiteral("[\"a\",\"b\"]") << strings({"a", "b"});
    QTest::newRow("non-string element")
        << QStringLiteral("[\"a\",3,\"c\"]") << strings({"a", "", "c"});
    QTest::newRow("object") << QStringLiteral("{\"a\":1}") << QStringList();
    QTest::newRow("not JSON") << QStringLiteral("work, home") << QStringList();
    QTest::newRow("empty") << QString::fromLatin1("") << QStringList();
}

void TestTaskRepository::columnTexts()
{
    QFETCH(QString, categories);
    QFETCH(QStringList, expected);
    QVERIFY(m_t->exec(
        QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, raw_icalendar, categories, "
                       "repeat_mode, item_type) VALUES ('t', 'A', 'u', 'T', '', ?, '', '')"),
        {categories}));
    const Task t = stored(QStringLiteral("t"));
    QCOMPARE(t.categories, expected);
    QCOMPARE(t.repeat_mode, QStringLiteral("fromDueDate"));
    QCOMPARE(t.item_type, QStringLiteral("task"));

    // Writing back stores the list as compact JSON.
    QVERIFY(m_repo->update(t));
    QCOMPARE(
        m_t->scalar(QStringLiteral("SELECT categories FROM tasks WHERE id = 't'")).toString(),
        QString::fromUtf8(
            QJsonDocument(QJsonArray::fromStringList(expected)).toJson(QJsonDocument::Compact)));
}

void TestTaskRepository::remindersRoundTrip()
{
    Task t = dueTask(QStringLiteral("t"), utc(2024, 3, 4, 9));
    Reminder timed = reminder(30, QStringLiteral("r-timed"));
    timed.trigger_time = utc(2024, 3, 4, 8, 30);
    timed.action = QStringLiteral("audio");
    t.reminders = {reminder(0, QStringLiteral("r-plain")), timed};
    QVERIFY(m_repo->insert(t));

    QCOMPARE(
        m_t->scalar(QStringLiteral(
                        "SELECT trigger_time IS NULL FROM task_reminders WHERE id = 'r-plain'"))
            .toInt(),
        1);
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT action FROM task_reminders WHERE id = 'r-plain'"))
                 .toString(),
             QStringLiteral("display"));

    QList<Reminder> read = stored(QStringLiteral("t")).reminders;
    QCOMPARE(read.size(), 2);
    std::sort(read.begin(), read.end(),
              [](const Reminder &a, const Reminder &b) { return a.id < b.id; });
    QCOMPARE(read[0].id, QStringLiteral("r-plain"));
    QVERIFY(!read[0].trigger_time);
    QCOMPARE(read[1].task_id, QStringLiteral("t"));
    QCOMPARE(read[1].action, QStringLiteral("audio"));
    QCOMPARE(*read[1].trigger_time, timed.trigger_time);
    // Reminders are loaded for every task of a list.
    QCOMPARE(m_repo->listByCalendar(QStringLiteral("A")).first().reminders.size(), 2);

    // A copy of the task keeps its own reminder ids, and the copy gets fresh ones.
    Task copy = stored(QStringLiteral("t"));
    copy.id = QStringLiteral("copy");
    copy.uid = QStringLiteral("copy@uid");
    QVERIFY(m_repo->insert(copy));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM task_reminders")).toInt(), 4);

    QVERIFY(m_repo->hardDelete(QStringLiteral("t")));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM task_reminders")).toInt(), 2);
}

void TestTaskRepository::failedReminderKeepsPreviousState()
{
    Task t = dueTask(QStringLiteral("t"), utc(2024, 3, 4, 9));
    t.title = QStringLiteral("Before");
    t.reminders = {reminder(10, QStringLiteral("keep"))};
    QVERIFY(m_repo->insert(t));

    // Two reminders with one id: the second row cannot be written.
    t.title = QStringLiteral("After");
    t.reminders = {reminder(5, QStringLiteral("dup")), reminder(15, QStringLiteral("dup"))};
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^TaskRepository::writeReminders insert failed:")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^TaskRepository::update failed:")));
    QVERIFY(!m_repo->update(t));
    const Task after = stored(QStringLiteral("t"));
    QCOMPARE(after.title, QStringLiteral("Before"));
    QCOMPARE(idsOf(after.reminders), strings({"keep"}));

    Task fresh = dueTask(QStringLiteral("fresh"), utc(2024, 3, 4, 9));
    fresh.reminders = t.reminders;
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^TaskRepository::writeReminders insert failed:")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^TaskRepository::insert failed:")));
    QVERIFY(!m_repo->insert(fresh));
    QVERIFY(!m_repo->byId(QStringLiteral("fresh")));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM task_reminders")).toInt(), 1);
}

void TestTaskRepository::emptyIdIsRefused()
{
    QSignalSpy changed(m_repo.get(), &TaskRepository::tasksChanged);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^TaskRepository::insert failed:")));
    QVERIFY(!m_repo->insert(makeTask(QString())));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM tasks")).toInt(), 0);
    QTest::qWait(200);
    QCOMPARE(changed.count(), 0);
}

void TestTaskRepository::changeSignalIsCoalesced()
{
    QSignalSpy changed(m_repo.get(), &TaskRepository::tasksChanged);
    QElapsedTimer sinceLastWrite;
    qint64 emittedAfterMs = -1;
    connect(m_repo.get(), &TaskRepository::tasksChanged, this,
            [&] { emittedAfterMs = sinceLastWrite.elapsed(); });

    QVERIFY(m_repo->insert(makeTask(QStringLiteral("a"))));
    QVERIFY(m_repo->update(makeTask(QStringLiteral("a"))));
    QVERIFY(m_repo->remove(QStringLiteral("a")));
    // Started before the last write, so the measured delay can only be longer than the real one.
    sinceLastWrite.start();
    QVERIFY(m_repo->insert(makeTask(QStringLiteral("b"), QStringLiteral("B"))));
    QCOMPARE(changed.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 2000);
    QVERIFY2(emittedAfterMs >= 150, qPrintable(QString::number(emittedAfterMs)));
    QCOMPARE(changed.first().first().toString(), QStringLiteral("B"));

    // A push result is stored without a word.
    QVERIFY(m_repo->markSynced(QStringLiteral("b"), QStringLiteral("/b.ics"),
                               QStringLiteral("\"e1\"")));
    QTest::qWait(300);
    QCOMPARE(changed.count(), 1);
    const Task b = stored(QStringLiteral("b"));
    QCOMPARE(b.href, QStringLiteral("/b.ics"));
    QCOMPARE(b.sync_status, QStringLiteral("synced"));

    QVERIFY(m_repo->hardDelete(QStringLiteral("b")));
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 2000);
    QCOMPARE(changed.last().first().toString(), QStringLiteral("B"));

    // A failed write announces nothing.
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^TaskRepository::insert failed:")));
    QVERIFY(!m_repo->insert(makeTask(QStringLiteral("a"))));
    QTest::qWait(300);
    QCOMPARE(changed.count(), 2);
}

void TestTaskRepository::completeAndReopenOneOffTask()
{
    Task t = dueTask(QStringLiteral("t"), utc(2024, 3, 4, 9));
    t.sequence = 4;
    QVERIFY(m_repo->insert(t));

    QVERIFY(m_repo->setCompleted(QStringLiteral("t"), true));
    Task done = stored(QStringLiteral("t"));
    QCOMPARE(done.status, QStringLiteral("completed"));
    QCOMPARE(done.percent_complete, 100);
    QVERIFY(done.completed_date);
    QCOMPARE(*done.completed_date, m_clock.now());
    QCOMPARE(done.completed_date->timeSpec(), Qt::UTC);
    QCOMPARE(done.sequence, 5);
    QCOMPARE(done.sync_status, QStringLiteral("pending"));
    QCOMPARE(*done.due_date, utc(2024, 3, 4, 9));
    QVERIFY(done.raw_icalendar.contains(QLatin1String("STATUS:COMPLETED")));

    QVERIFY(m_repo->setCompleted(QStringLiteral("t"), false));
    const Task reopened = stored(QStringLiteral("t"));
    QCOMPARE(reopened.status, QStringLiteral("needs-action"));
    QCOMPARE(reopened.percent_complete, 0);
    QVERIFY(!reopened.completed_date);
    QCOMPARE(reopened.sequence, 6);
    QCOMPARE(reopened.sync_status, QStringLiteral("pending"));
}

void TestTaskRepository::weeklyTaskMovesOn_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("dateOnly");
    QTest::addColumn<QDateTime>("due");
    QTest::addColumn<QDateTime>("expected");
    // Completed on Wednesday 6 March 2024 at 15:30 UTC; New York changes to summer time on the
    // 10th, between the completion and the next due date.
    const QDateTime doneLocal = utc(2024, 3, 6, 15, 30).toLocalTime();
    QTest::newRow("from due date, timed")
        << QStringLiteral("fromDueDate") << false << utc(2024, 3, 4, 9) << utc(2024, 3, 11, 9);
    QTest::newRow("from due date, date only")
        << QStringLiteral("fromDueDate") << true << local(2024, 3, 4) << local(2024, 3, 11);
    QTest::newRow("from completion, timed")
        << QStringLiteral("fromCompletionDate") << false << utc(2024, 3, 4, 9)
        << QDateTime(doneLocal.date().addDays(7), doneLocal.time(), Qt::LocalTime);
    QTest::newRow("from completion, date only")
        << QStringLiteral("fromCompletionDate") << true << local(2024, 3, 4)
        << QDateTime(doneLocal.date().addDays(7), QTime(0, 0), Qt::LocalTime);
}

void TestTaskRepository::weeklyTaskMovesOn()
{
    QFETCH(QString, mode);
    QFETCH(bool, dateOnly);
    QFETCH(QDateTime, due);
    QFETCH(QDateTime, expected);
    Task t = dueTask(QStringLiteral("t"), due);
    t.due_is_date_only = dateOnly;
    t.repeat_mode = mode;
    t.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
    t.status = QStringLiteral("in-process");
    t.percent_complete = 40;
    QVERIFY(m_repo->insert(t));

    QVERIFY(m_repo->setCompleted(QStringLiteral("t"), true));
    const Task moved = stored(QStringLiteral("t"));
    QVERIFY(moved.due_date);
    QCOMPARE(*moved.due_date, expected);
    QCOMPARE(moved.status, QStringLiteral("needs-action"));
    QCOMPARE(moved.percent_complete, 0);
    QVERIFY(!moved.completed_date);
    QCOMPARE(moved.recurrence_rule, QStringLiteral("FREQ=WEEKLY"));
    QCOMPARE(moved.sequence, 1);
    QCOMPARE(moved.sync_status, QStringLiteral("pending"));
}

void TestTaskRepository::usedUpSeriesCompletes_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("status");
    QTest::newRow("UNTIL before the next Monday")
        << QStringLiteral("FREQ=WEEKLY;UNTIL=20240310T000000Z") << QStringLiteral("needs-action");
    QTest::newRow("last of a COUNT")
        << QStringLiteral("FREQ=WEEKLY;COUNT=1") << QStringLiteral("needs-action");
    QTest::newRow("already completed")
        << QStringLiteral("FREQ=WEEKLY") << QStringLiteral("completed");
}

void TestTaskRepository::usedUpSeriesCompletes()
{
    QFETCH(QString, rule);
    QFETCH(QString, status);
    Task t = dueTask(QStringLiteral("t"), utc(2024, 3, 4, 9));
    t.recurrence_rule = rule;
    t.status = status;
    t.completed_date = utc(2024, 3, 1);
    QVERIFY(m_repo->insert(t));

    QVERIFY(m_repo->setCompleted(QStringLiteral("t"), true));
    const Task done = stored(QStringLiteral("t"));
    QCOMPARE(done.status, QStringLiteral("completed"));
    QCOMPARE(*done.completed_date, m_clock.now());
    QCOMPARE(*done.due_date, utc(2024, 3, 4, 9));
    QCOMPARE(done.recurrence_rule, rule);
}

void TestTaskRepository::countEndsTheSeries()
{
    Task t = dueTask(QStringLiteral("t"), utc(2024, 3, 4, 9));
    t.due_is_date_only = false;
    t.recurrence_rule = QStringLiteral("FREQ=WEEKLY;COUNT=3;BYDAY=MO");
    QVERIFY(m_repo->insert(t));

    QVERIFY(m_repo->setCompleted(QStringLiteral("t"), true));
    Task step = stored(QStringLiteral("t"));
    QCOMPARE(*step.due_date, utc(2024, 3, 11, 9));
    QCOMPARE(step.recurrence_rule, QStringLiteral("FREQ=WEEKLY;COUNT=2;BYDAY=MO"));
    QVERIFY(step.raw_icalendar.contains(QLatin1String("RRULE:FREQ=WEEKLY;COUNT=2;BYDAY=MO")));
    QCOMPARE(step.status, QStringLiteral("needs-action"));

    QVERIFY(m_repo->setCompleted(QStringLiteral("t"), true));
    step = stored(QStringLiteral("t"));
    QCOMPARE(*step.due_date, utc(2024, 3, 18, 9));
    QCOMPARE(step.recurrence_rule, QStringLiteral("FREQ=WEEKLY;COUNT=1;BYDAY=MO"));
    QCOMPARE(step.status, QStringLiteral("needs-action"));

    QVERIFY(m_repo->setCompleted(QStringLiteral("t"), true));
    step = stored(QStringLiteral("t"));
    QCOMPARE(step.status, QStringLiteral("completed"));
    QCOMPARE(*step.due_date, utc(2024, 3, 18, 9));
    QCOMPARE(step.sequence, 3);
}

void TestTaskRepository::remindersFireAgainAfterAdvance()
{
    Task t = dueTask(QStringLiteral("t"), utc(2024, 3, 4, 9));
    t.due_is_date_only = false;
    t.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
    Reminder fired = reminder(15, QStringLiteral("r1"));
    fired.acknowledged = true;
    fired.trigger_time = utc(2024, 3, 4, 8, 45);
    t.reminders = {fired};
    QVERIFY(m_repo->insert(t));

    QVERIFY(m_repo->setCompleted(QStringLiteral("t"), true));
    const Task moved = stored(QStringLiteral("t"));
    QCOMPARE(moved.reminders.size(), 1);
    const Reminder &r = moved.reminders.first();
    QCOMPARE(r.id, QStringLiteral("r1"));
    QVERIFY(!r.acknowledged);
    QVERIFY(r.trigger_time);
    QCOMPARE(*r.trigger_time, utc(2024, 3, 11, 8, 45));
}

void TestTaskRepository::unknownIdIsNotCompleted()
{
    QVERIFY(!m_repo->setCompleted(QStringLiteral("missing"), true));
    // A repeating task without dates, completed from the completion date, stays open as it is.
    Task t = makeTask(QStringLiteral("undated"));
    t.repeat_mode = QStringLiteral("fromCompletionDate");
    t.recurrence_rule = QStringLiteral("FREQ=DAILY");
    QVERIFY(m_repo->insert(t));
    QVERIFY(m_repo->setCompleted(QStringLiteral("undated"), true));
    const Task open = stored(QStringLiteral("undated"));
    QCOMPARE(open.status, QStringLiteral("needs-action"));
    QVERIFY(!open.due_date);
    QVERIFY(!open.start_date);
    QCOMPARE(open.sequence, 1);
}

QTEST_GUILESS_MAIN(TestTaskRepository)
#include "tst_TaskRepository.moc"
