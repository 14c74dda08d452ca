// The reminder poll over a calendar with ten years of history: events in Berlin and New York,
// one reminder each, 1 % of them repeating (weekdays, weekly, fortnightly, monthly, ended and
// counted series), and tasks with reminders beside them. The stored database is what the
// previous version left behind: the schema before the reminder schedule, and every reminder
// that was missed while the program was closed still unacknowledged. Run by hand, with the
// databases in memory:
//   TMPDIR=/dev/shm build/bench/bench_ReminderPoll [--benchmark_filter=...]
// The arguments are the number of events and the years of history they are spread over (with a
// quarter year ahead); 400,000 over 40 years is the density of 100,000 over 10 with four times
// the history. LARK_BENCH_DB=<folder> keeps the generated databases.
//
// BM_PollBefore is the baseline: the previous poll's read (every unacknowledged reminder ever
// stored, joined to its event) and its checks. BM_Poll is NotificationService::poll every 30 s
// of a clock that runs on; its counters give the one-off costs of the first start after the
// upgrade (the migration, then the first poll, which catches the series up). BM_PollAfterImport
// is the poll after an import of history on top of that.

#include "core/AppState.h"
#include "model/Clock.h"
#include "model/Identifiers.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"
#include "storage/TaskRepository.h"
#include "ui/tray/NotificationService.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimeZone>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr int kCalendars = 5;
// The polls start here; the events reach a quarter year beyond it.
const QDateTime kNow(QDate(2025, 10, 1), QTime(6, 0), Qt::UTC);
constexpr int kDaysAhead = 92;

// A stored calendar: how many events, spread over how many years before kNow.
struct Shape
{
    int events;
    int years;
    QDate firstDay() const { return kNow.date().addYears(-years); }
    int spanDays() const { return int(firstDay().daysTo(kNow.date())) + kDaysAhead; }
};
// The version before the reminder schedule.
constexpr int kPreviousSchema = 11;

QString calendarId(int i)
{
    return QStringLiteral("cal-%1").arg(i);
}

const QTimeZone &zoneOf(int n)
{
    static const QTimeZone berlin("Europe/Berlin");
    static const QTimeZone newYork("America/New_York");
    return n % 2 ? newYork : berlin;
}

// Series of the last three years may still run; older ones have ended, as they do.
QString seriesRule(int n, const QDateTime &start)
{
    if (start.daysTo(kNow) > 3 * 365) {
        const QString until
            = start.addDays(30 + n % 1000).toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
        return n % 2 ? QStringLiteral("FREQ=WEEKLY;BYDAY=TU;UNTIL=") + until
                     : QStringLiteral("FREQ=DAILY;COUNT=30");
    }
    switch (n % 6) {
    case 0:
        return QStringLiteral("FREQ=WEEKLY;BYDAY=MO,WE");
    case 1:
        return QStringLiteral("FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR");
    case 2:
        return QStringLiteral("FREQ=WEEKLY;INTERVAL=2;BYDAY=TH");
    case 3:
        return QStringLiteral("FREQ=MONTHLY");
    case 4:
        return QStringLiteral("FREQ=WEEKLY;UNTIL=")
            + start.addYears(1).toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    default:
        return QStringLiteral("FREQ=DAILY;COUNT=30");
    }
}

Event makeEvent(const Shape &shape, int n, QRandomGenerator &rng)
{
    static const int offsets[] = {0, 5, 10, 15, 15, 15, 30, 60, 1440};
    const QTimeZone &zone = zoneOf(n);
    Event e;
    e.id = newId();
    e.calendar_id = calendarId(n % kCalendars);
    e.uid = QStringLiteral("ev%1@example.org").arg(n);
    e.title = QStringLiteral("Meeting about topic %1").arg(rng.bounded(1000));
    e.description = QStringLiteral("Agenda for item %1.").arg(n);
    e.location = QStringLiteral("Room %1").arg(rng.bounded(50));
    const QDate day = shape.firstDay().addDays(rng.bounded(shape.spanDays()));
    const QTime time = QTime(7, 0).addSecs(900 * rng.bounded(48));
    e.start_time = QDateTime(day, time, zone);
    e.end_time = e.start_time.addSecs(1800 * (1 + rng.bounded(4)));
    e.timezone = QString::fromUtf8(zone.id());
    if (n % 100 == 0)
        e.recurrence_rule = seriesRule(n / 100, e.start_time);
    const QString stamp = QStringLiteral("yyyyMMdd'T'HHmmss");
    e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:%1\r\n"
                                     "DTSTART;TZID=%2:%3\r\nDTEND;TZID=%2:%4\r\nSUMMARY:%5\r\n"
                                     "END:VEVENT\r\nEND:VCALENDAR\r\n")
                          .arg(e.uid, e.timezone, e.start_time.toString(stamp),
                               e.end_time->toString(stamp), e.title);
    e.created = e.last_modified = QDateTime(shape.firstDay(), QTime(0, 0), Qt::UTC);
    Reminder r;
    r.minutes_before = offsets[rng.bounded(int(std::size(offsets)))];
    e.reminders = {r};
    return e;
}

bool exec(QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    return q.exec();
}

// An event and its reminder as the previous version stored them: today's repository writes
// columns that schema does not have, and settles reminders long past, which that version left
// unacknowledged for the first poll. Triggers keep the offset of the event's zone.
bool insertAsBefore(QSqlDatabase &db, const Event &e)
{
    const Reminder &r = e.reminders.first();
    return exec(db,
                QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, description, "
                               "location, start_time, end_time, timezone, recurrence_rule, "
                               "raw_icalendar, created, last_modified) VALUES (?, ?, ?, ?, ?, "
                               "?, ?, ?, ?, ?, ?, ?, ?)"),
                {e.id, e.calendar_id, e.uid, e.title, e.description, e.location,
                 Sql::dateTime(e.start_time), Sql::dateTime(e.end_time), e.timezone,
                 e.recurrence_rule.isEmpty() ? QVariant() : QVariant(e.recurrence_rule),
                 e.raw_icalendar, Sql::dateTime(e.created), Sql::dateTime(e.last_modified)})
        && exec(db,
                QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before, "
                               "acknowledged, trigger_time) VALUES (?, ?, ?, 0, ?)"),
                {newId(), e.id, r.minutes_before,
                 Sql::dateTime(e.start_time.addSecs(-60 * qint64(r.minutes_before)))});
}

// The stored database as the previous version left it, built once.
QString previousDatabase(const Shape &shape)
{
    static std::unique_ptr<QTemporaryDir> tmp;
    static std::map<std::pair<int, int>, QString> built;
    const std::pair<int, int> key {shape.events, shape.years};
    if (built.count(key))
        return built[key];
    QString dir = qEnvironmentVariable("LARK_BENCH_DB");
    if (dir.isEmpty()) {
        if (!tmp)
            tmp = std::make_unique<QTemporaryDir>();
        dir = tmp->path();
    }
    QDir().mkpath(dir);
    const QString path
        = dir + QStringLiteral("/reminders-%1-%2y.db").arg(shape.events).arg(shape.years);
    if (!QFile::exists(path)) {
        const QString building = path + QStringLiteral(".part");
        QFile::remove(building);
        Database db;
        db.setMigrations(Database::builtinMigrations().mid(0, kPreviousSchema));
        if (!db.open(building) || !db.migrate())
            qFatal("cannot create the benchmark database");
        QSqlDatabase &sql = db.connection();
        exec(sql,
             QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc', 'A', "
                            "'caldav')"));
        for (int i = 0; i < kCalendars; ++i)
            exec(sql,
                 QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES (?, "
                                "'acc', ?, ?)"),
                 {calendarId(i), calendarId(i), calendarId(i)});
        QRandomGenerator rng(2024);
        sql.transaction();
        for (int n = 0; n < shape.events; ++n) {
            if (!insertAsBefore(sql, makeEvent(shape, n, rng)))
                qFatal("insert failed");
        }
        // One task with a reminder for every twenty events, due over the same years.
        for (int n = 0; n < shape.events / 20; ++n) {
            const QString id = newId();
            const QDateTime due(shape.firstDay().addDays(rng.bounded(shape.spanDays())),
                                QTime(17, 0), zoneOf(n));
            exec(sql,
                 QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, due_date, "
                                "raw_icalendar, status) VALUES (?, ?, ?, ?, ?, '', ?)"),
                 {id, calendarId(n % kCalendars), id, QStringLiteral("Task %1").arg(n),
                  due.toString(Qt::ISODate),
                  due < kNow ? QStringLiteral("completed") : QStringLiteral("needs-action")});
            exec(sql,
                 QStringLiteral("INSERT INTO task_reminders (id, task_id, minutes_before) VALUES "
                                "(?, ?, 60)"),
                 {newId(), id});
        }
        sql.commit();
        exec(sql, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.connection().close();
        if (!QFile::rename(building, path))
            qFatal("cannot keep the benchmark database");
    }
    built[key] = path;
    return path;
}

// A copy to upgrade and poll, so that every run starts from the same stored state.
QString freshCopy(const Shape &shape)
{
    const QString source = previousDatabase(shape);
    const QString copy = source + QStringLiteral(".run");
    QFile::remove(copy);
    QFile::remove(copy + QStringLiteral("-wal"));
    QFile::remove(copy + QStringLiteral("-shm"));
    if (!QFile::copy(source, copy))
        qFatal("cannot copy the benchmark database");
    return copy;
}

// One poll, and the user reads every balloon it brings (each is acknowledged as it is shown).
// Answers how many there were.
int pollAndShow(NotificationService &service)
{
    service.poll();
    int shown = 0;
    for (; service.currentBalloon(); ++shown)
        service.onBalloonClicked();
    return shown;
}

// The first poll (its time in first_poll_ms), then one every 30 s of the clock per iteration.
// Polls that work leave no reminder due by then unhandled; polls that fail leave them all, and
// then the times measured nothing.
void pollEvery30s(benchmark::State &state, AppState &app, NotificationService &service,
                  QDateTime &now)
{
    QElapsedTimer timer;
    timer.start();
    int shown = pollAndShow(service);
    state.counters["first_poll_ms"] = timer.nsecsElapsed() / 1e6;
    for (auto _ : state) {
        now = now.addSecs(30);
        shown += pollAndShow(service);
    }
    state.counters["shown"] = shown;
    QString error;
    const auto left = app.events()->unacknowledgedReminders(now, &error);
    if (!left)
        state.SkipWithError(
            qPrintable(QStringLiteral("the reminders could not be read: ") + error));
    else if (!left->isEmpty())
        state.SkipWithError("the polls left due reminders unhandled");
}

void BM_PollBefore(benchmark::State &state)
{
    const Shape shape {int(state.range(0)), int(state.range(1))};
    Database db;
    db.setMigrations(Database::builtinMigrations().mid(0, kPreviousSchema));
    if (!db.open(freshCopy(shape)) || !db.migrate())
        qFatal("cannot open the benchmark database");
    for (auto _ : state) {
        Sql::Reader r(db.connection(),
                      QStringLiteral("SELECT r.id, e.title, e.start_time, e.location, "
                                     "r.minutes_before, r.trigger_time, e.id FROM reminders r "
                                     "JOIN events e ON r.event_id = e.id WHERE r.acknowledged = "
                                     "0 AND e.deleted_at IS NULL ORDER BY r.trigger_time ASC"),
                      "BM_PollBefore");
        int due = 0;
        int rows = 0;
        for (; r.next(); ++rows) {
            if (Reminders::eventReminderFires(r.dateTime(5), r.dateTime(2), kNow))
                ++due;
        }
        benchmark::DoNotOptimize(due);
        // The stored history always holds unacknowledged reminders.
        if (r.failed() || rows == 0) {
            state.SkipWithError(r.failed() ? "the read failed" : "the read found no reminder");
            break;
        }
    }
}
BENCHMARK(BM_PollBefore)
    ->Args({100000, 10})
    ->Args({400000, 40})
    ->Args({1000000, 10})
    ->ArgNames({"events", "years"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_Poll(benchmark::State &state)
{
    const Shape shape {int(state.range(0)), int(state.range(1))};
    const QString path = freshCopy(shape);
    QDateTime now = kNow;
    const Clock::Override pinned([&now] { return now; });
    AppState app;
    QElapsedTimer timer;
    timer.start();
    if (!app.initialize(path))
        qFatal("cannot open the benchmark database");
    const double upgradeMs = timer.nsecsElapsed() / 1e6;
    // A user with a few rules, as the views apply them.
    for (const char *phrase : {"topic 7", "Room 13", "Lunch"}) {
        FilterRule rule;
        rule.id = rule.name = QString::fromLatin1(phrase);
        rule.conditions = QStringLiteral("{\"runtimeType\":\"pattern\",\"titleContains\":[\"%1\"]}")
                              .arg(rule.id);
        rule.type = QStringLiteral("pattern");
        rule.action = QStringLiteral("dim");
        rule.suppress_reminders = true;
        rule.created_at = rule.updated_at = kNow;
        if (!app.filterRules()->insert(rule))
            qFatal("cannot store a filter rule");
    }

    NotificationService service(&app, nullptr);
    service.setPresenter([](const NotificationService::Balloon &) { return true; });
    pollEvery30s(state, app, service, now);
    state.counters["upgrade_ms"] = upgradeMs;
}
BENCHMARK(BM_Poll)
    ->Args({10000, 10})
    ->Args({100000, 10})
    ->Args({400000, 40})
    ->Args({1000000, 10})
    ->ArgNames({"events", "years"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2000);

// An import or a sync of history on top of a calendar already in use: `imported` events of the
// past ten years with past reminders, written through the repository as the import writes them
// (in one transaction), then the poll every 30 s. first_poll_ms is the first poll after the
// import; the iterations are the polls after it.
void BM_PollAfterImport(benchmark::State &state)
{
    const Shape shape {int(state.range(0)), 10};
    const int imported = int(state.range(1));
    const QString path = freshCopy(shape);
    QDateTime now = kNow;
    const Clock::Override pinned([&now] { return now; });
    AppState app;
    if (!app.initialize(path))
        qFatal("cannot open the benchmark database");
    NotificationService service(&app, nullptr);
    service.setPresenter([](const NotificationService::Balloon &) { return true; });
    // Caught up with what was stored before.
    for (int i = 0; i < 10000 && app.events()->unacknowledgedReminders(now)->size() > 0; ++i)
        pollAndShow(service);

    const Shape history {imported, 10};
    QRandomGenerator rng(7);
    QElapsedTimer timer;
    timer.start();
    app.database()->connection().transaction();
    for (int n = 0; n < imported; ++n) {
        Event e = makeEvent(history, shape.events + n, rng);
        e.uid = QStringLiteral("import-") + e.uid;
        if (!app.events()->insert(e)) {
            app.database()->connection().rollback();
            state.SkipWithError("the import failed");
            return;
        }
    }
    if (!app.database()->connection().commit()) {
        app.database()->connection().rollback();
        state.SkipWithError("the import was not committed");
        return;
    }
    state.counters["import_ms"] = timer.nsecsElapsed() / 1e6;
    pollEvery30s(state, app, service, now);
}
BENCHMARK(BM_PollAfterImport)
    ->Args({100000, 100000})
    ->Args({1000000, 100000})
    ->ArgNames({"events", "imported"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2000);

} // namespace

int main(int argc, char **argv)
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.info=false"));
    return runBenchmarks(argc, argv);
}
