// Event store at a realistic size: 100,000 events over ten years in five calendars, 1 % of
// them recurring, one reminder each. Run by hand:
//   build/bench/bench_EventRepository [--benchmark_filter=...]
// LARK_BENCH_DB=<folder> keeps the generated database there (for comparing with sqlite3);
// LARK_BENCH_EVENTS=<n> changes the number of stored events (0 measures inserts into an empty
// store).

#include "model/Identifiers.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

const int kEvents = qEnvironmentVariableIsSet("LARK_BENCH_EVENTS")
    ? qEnvironmentVariableIntValue("LARK_BENCH_EVENTS")
    : 100000;
constexpr int kCalendars = 5;
const QDateTime kSpanStart(QDate(2016, 1, 1), QTime(0, 0), Qt::UTC);
constexpr qint64 kSpanSecs = qint64(3653) * 86400;

QString calendarId(int i)
{
    return QStringLiteral("cal-%1").arg(i);
}

Event makeEvent(int n, QRandomGenerator &rng, const QString &prefix)
{
    Event e;
    e.id = newId();
    e.calendar_id = calendarId(n % kCalendars);
    e.uid = prefix + QString::number(n) + QStringLiteral("@example.org");
    e.title = QStringLiteral("Meeting about topic %1").arg(rng.bounded(1000));
    e.description = QStringLiteral("Agenda: review the quarterly figures, plan the next steps and "
                                   "agree who follows up on item %1.")
                        .arg(n);
    e.location = QStringLiteral("Room %1").arg(rng.bounded(50));
    const QDateTime start = kSpanStart.addSecs(qint64(rng.bounded(quint64(kSpanSecs / 900))) * 900);
    e.start_time = start;
    e.end_time = start.addSecs(1800 * (1 + rng.bounded(4)));
    if (n % 100 == 0)
        e.recurrence_rule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO");
    e.raw_icalendar
        = QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Larkspindle//Calendar "
                         "Desktop//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20240101T000000Z\r\n"
                         "DTSTART:%2\r\nDTEND:%3\r\nSUMMARY:%4\r\nLOCATION:%5\r\n"
                         "DESCRIPTION:%6\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
              .arg(e.uid, start.toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")),
                   e.end_time->toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")), e.title,
                   e.location, e.description);
    e.created = kSpanStart;
    e.last_modified = kSpanStart;
    // A few local changes waiting for the next sync.
    if (n % 1000 == 1)
        e.sync_status = QStringLiteral("pending");
    Reminder r;
    r.minutes_before = 15;
    e.reminders = {r};
    return e;
}

struct Store
{
    std::unique_ptr<QTemporaryDir> tmp;
    QString dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<EventRepository> repo;
};

Store &store()
{
    static Store s = [] {
        Store st;
        st.dir = qEnvironmentVariable("LARK_BENCH_DB");
        if (st.dir.isEmpty()) {
            st.tmp = std::make_unique<QTemporaryDir>();
            st.dir = st.tmp->path();
        }
        QDir().mkpath(st.dir);
        const QString path = st.dir + QStringLiteral("/calendar.db");
        const bool existed = QFile::exists(path);
        st.db = std::make_unique<Database>();
        if (!st.db->open(path) || !st.db->migrate())
            qFatal("cannot create the benchmark database");
        st.repo = std::make_unique<EventRepository>(st.db.get());
        QSqlQuery q(st.db->connection());
        if (existed && q.exec(QStringLiteral("SELECT COUNT(*) FROM events")) && q.next()
            && q.value(0).toInt() == kEvents)
            return st;
        q.exec(
            QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc', 'A', 'caldav')"));
        for (int i = 0; i < kCalendars; ++i) {
            q.prepare(QStringLiteral(
                "INSERT INTO calendars (id, account_id, url, name) VALUES (?, 'acc', ?, ?)"));
            q.addBindValue(calendarId(i));
            q.addBindValue(calendarId(i));
            q.addBindValue(calendarId(i));
            q.exec();
        }
        QRandomGenerator rng(2024);
        st.db->connection().transaction();
        for (int n = 0; n < kEvents; ++n) {
            if (!st.repo->insert(makeEvent(n, rng, QStringLiteral("ev"))))
                qFatal("insert failed");
        }
        st.db->connection().commit();
        q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return st;
    }();
    return s;
}

const QDateTime kWeekFrom(QDate(2021, 1, 4), QTime(0, 0), Qt::UTC);

void BM_ListInRangeWeek(benchmark::State &state)
{
    Store &s = store();
    QStringList calendars;
    if (state.range(0))
        for (int i = 0; i < kCalendars; ++i)
            calendars << calendarId(i);
    size_t n = 0;
    for (auto _ : state) {
        const QList<Event> events = s.repo->listInRange(kWeekFrom, kWeekFrom.addDays(7), calendars);
        n = size_t(events.size());
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = double(n);
}
BENCHMARK(BM_ListInRangeWeek)->Arg(0)->Arg(1)->ArgName("calendars")->Unit(benchmark::kMillisecond);

void BM_ListByCalendar(benchmark::State &state)
{
    Store &s = store();
    size_t n = 0, reminders = 0;
    for (auto _ : state) {
        const QList<Event> events = s.repo->listByCalendar(calendarId(0));
        n = size_t(events.size());
        reminders = 0;
        for (const Event &e : events)
            reminders += size_t(e.reminders.size());
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = double(n);
    state.counters["reminders"] = double(reminders);
}
BENCHMARK(BM_ListByCalendar)->Unit(benchmark::kMillisecond);

// What every sync asks first: the outbox of one calendar.
void BM_ListPending(benchmark::State &state)
{
    Store &s = store();
    size_t n = 0;
    for (auto _ : state) {
        const QList<Event> events = s.repo->listPending(calendarId(1));
        n = size_t(events.size());
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = double(n);
}
BENCHMARK(BM_ListPending)->Unit(benchmark::kMillisecond);

// Into the full store, committed; the rows are deleted again outside the timing.
void BM_Insert10000InOneTransaction(benchmark::State &state)
{
    Store &s = store();
    QRandomGenerator rng(7);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QList<Event> events;
        events.reserve(10000);
        const QString prefix = QStringLiteral("r%1-").arg(round++);
        for (int n = 0; n < 10000; ++n)
            events << makeEvent(n, rng, prefix);
        state.ResumeTiming();
        s.db->connection().transaction();
        for (const Event &e : std::as_const(events))
            benchmark::DoNotOptimize(s.repo->insert(e));
        s.db->connection().commit();
        state.PauseTiming();
        QSqlQuery q(s.db->connection());
        s.db->connection().transaction();
        q.exec(QStringLiteral(
            "DELETE FROM reminders WHERE event_id IN (SELECT id FROM events WHERE uid LIKE 'r%')"));
        q.exec(QStringLiteral("DELETE FROM events WHERE uid LIKE 'r%'"));
        s.db->connection().commit();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Insert10000InOneTransaction)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
