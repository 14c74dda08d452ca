// Event store at a realistic size: 100,000 events over ten years in five calendars, in UTC,
// Berlin and New York, 1 % of them recurring (open-ended, with COUNT and with UNTIL), a few
// longer than a week, one reminder each. Run by hand:
//   build/bench/bench_EventRepository [--benchmark_filter=...]
// LARK_BENCH_DB=<folder> keeps the generated database there (for comparing with sqlite3);
// LARK_BENCH_EVENTS=<n> changes the number of stored events (0 measures inserts into an empty
// store); LARK_BENCH_MMAP=<bytes> sets SQLite's memory map.
//
// Each read is measured warm and, in the "AfterWrite" variants, right after an edit of one event
// (what the views and the tray pay after every change). BM_ListInRangeWeekRawSqlite runs the
// very statements that listInRange ran, captured from the connection, through SQLite's C
// interface alone, each compiled once: the yardstick for the cost of the repository's own work.

#include "core/AppState.h"
#include "core/UpcomingOccurrences.h"
#include "model/FilterEngine.h"
#include "model/Identifiers.h"
#include "model/Recurrence.h"
#include "platform/LocalZone.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/SqlReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimeZone>

#include "BenchMain.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kEvents = qEnvironmentVariableIsSet("LARK_BENCH_EVENTS")
    ? qEnvironmentVariableIntValue("LARK_BENCH_EVENTS")
    : 100000;
constexpr int kCalendars = 5;
const QDate kSpanStart(2016, 1, 1);
constexpr int kSpanDays = 3653;

QString calendarId(int i)
{
    return QStringLiteral("cal-%1").arg(i);
}

const char *const kZones[] = {"UTC", "Europe/Berlin", "America/New_York"};

QString compactUtc(const QDateTime &t)
{
    return t.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

// Series as people keep them: open-ended weekly meetings, courses with a number of sessions,
// and stretches that end on a date.
QString ruleFor(int n, const QDateTime &start)
{
    switch ((n / 100) % 4) {
    case 0:
        return QStringLiteral("FREQ=WEEKLY;BYDAY=MO");
    case 1:
        return QStringLiteral("FREQ=WEEKLY;BYDAY=TU,TH;COUNT=20");
    case 2:
        return QStringLiteral("FREQ=DAILY;UNTIL=") + compactUtc(start.addDays(60));
    default:
        return QStringLiteral("FREQ=MONTHLY;COUNT=12");
    }
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
    const QByteArray zone = kZones[n % 3];
    e.timezone = QString::fromLatin1(zone);
    const QDate day = kSpanStart.addDays(rng.bounded(kSpanDays));
    const QTime time(7 + rng.bounded(12), 15 * rng.bounded(4));
    const QDateTime start
        = n % 3 == 0 ? QDateTime(day, time, Qt::UTC) : QDateTime(day, time, QTimeZone(zone));
    e.start_time = start;
    e.end_time = n % 1000 == 3 ? start.addDays(10) : start.addSecs(1800 * (1 + rng.bounded(4)));
    if (n % 100 == 0)
        e.recurrence_rule = ruleFor(n, start);
    e.raw_icalendar
        = QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Larkspindle//Calendar "
                         "Desktop//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20240101T000000Z\r\n"
                         "DTSTART:%2\r\nDTEND:%3\r\nSUMMARY:%4\r\nLOCATION:%5\r\n"
                         "DESCRIPTION:%6\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
              .arg(e.uid, compactUtc(start), compactUtc(*e.end_time), e.title, e.location,
                   e.description);
    e.created = QDateTime(kSpanStart, QTime(0, 0), Qt::UTC);
    e.last_modified = e.created;
    // A few local changes waiting for the next sync.
    if (n % 1000 == 1)
        e.sync_status = QStringLiteral("pending");
    Reminder r;
    r.minutes_before = 15;
    e.reminders = {r};
    return e;
}

// The program's own state over the store, so that the use cases read it as they do in the
// program.
struct Store
{
    std::unique_ptr<QTemporaryDir> tmp;
    QString dir;
    std::unique_ptr<AppState> state;
    EventRepository *repo = nullptr;
    QSqlDatabase &connection() { return state->database()->connection(); }
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
        st.state = std::make_unique<AppState>();
        if (!st.state->initialize(path))
            qFatal("cannot create the benchmark database");
        st.repo = st.state->events();
        QSqlQuery q(st.connection());
        // LARK_BENCH_MMAP=<bytes> tries another memory map than the program's.
        if (qEnvironmentVariableIsSet("LARK_BENCH_MMAP"))
            q.exec(QStringLiteral("PRAGMA mmap_size=") + qEnvironmentVariable("LARK_BENCH_MMAP"));
        if (existed && q.exec(QStringLiteral("SELECT COUNT(*) FROM events")) && q.next()
            && q.value(0).toInt() == kEvents)
            return st;
        q.exec(QStringLiteral(
            "INSERT OR IGNORE INTO accounts (id, name, type) VALUES ('acc', 'A', 'caldav')"));
        for (int i = 0; i < kCalendars; ++i) {
            q.prepare(QStringLiteral("INSERT OR IGNORE INTO calendars (id, account_id, url, name) "
                                     "VALUES (?, 'acc', ?, ?)"));
            q.addBindValue(calendarId(i));
            q.addBindValue(calendarId(i));
            q.addBindValue(calendarId(i));
            q.exec();
        }
        QRandomGenerator rng(2024);
        st.connection().transaction();
        for (int n = 0; n < kEvents; ++n) {
            if (!st.repo->insert(makeEvent(n, rng, QStringLiteral("ev"))))
                qFatal("insert failed");
        }
        st.connection().commit();
        q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return st;
    }();
    return s;
}

const QDateTime kWeekFrom(QDate(2021, 1, 4), QTime(0, 0), Qt::UTC);
const QDateTime kWeekTo = kWeekFrom.addDays(7);

QStringList calendarsArg(const benchmark::State &state)
{
    QStringList calendars;
    if (state.range(0))
        for (int i = 0; i < kCalendars; ++i)
            calendars << calendarId(i);
    return calendars;
}

// One edit as the user makes it: an event of the week gets a new title. False when there was
// nothing to edit or the edit was not stored; the benchmark then stops.
[[nodiscard]] bool editOneEvent(Store &s, benchmark::State &state)
{
    static Event edited = [&s] {
        const QList<Event> week = s.repo->listInRange(kWeekFrom, kWeekTo);
        return week.isEmpty() ? Event() : week.first();
    }();
    static int round = 0;
    edited.title = QStringLiteral("Edited %1").arg(++round);
    if (!edited.id.isEmpty() && s.repo->update(edited))
        return true;
    state.SkipWithError(edited.id.isEmpty() ? "no event in the benchmark week" : "update failed");
    return false;
}

// A read that found nothing read nothing worth a time (every list here holds rows): true when it
// stops the benchmark.
[[nodiscard]] bool stoppedIfEmpty(benchmark::State &state, size_t rows)
{
    if (rows > 0)
        return false;
    state.SkipWithError("the read found no rows");
    return true;
}

// A week's read as the callers that only read it make it (copy 0), or with every event copied
// into a list of its own (copy 1), as listInRange hands it out.
size_t readWeek(Store &s, const QDateTime &from, const QStringList &calendars, bool copy)
{
    if (copy) {
        const QList<Event> events = s.repo->listInRange(from, from.addDays(7), calendars);
        benchmark::DoNotOptimize(events);
        return size_t(events.size());
    }
    const auto events = s.repo->sharedInRange(from, from.addDays(7), calendars);
    benchmark::DoNotOptimize(events);
    return size_t(events.size());
}

void BM_ListInRangeWeek(benchmark::State &state)
{
    Store &s = store();
    const QStringList calendars = calendarsArg(state);
    size_t n = 0;
    for (auto _ : state) {
        n = readWeek(s, kWeekFrom, calendars, state.range(1));
        if (stoppedIfEmpty(state, n))
            break;
    }
    state.counters["events"] = double(n);
}
BENCHMARK(BM_ListInRangeWeek)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"calendars", "copy"})
    ->Unit(benchmark::kMillisecond);

void BM_ListInRangeWeekAfterWrite(benchmark::State &state)
{
    Store &s = store();
    const QStringList calendars = calendarsArg(state);
    for (auto _ : state) {
        state.PauseTiming();
        if (!editOneEvent(s, state))
            break;
        state.ResumeTiming();
        if (stoppedIfEmpty(state, readWeek(s, kWeekFrom, calendars, false)))
            break;
    }
}
BENCHMARK(BM_ListInRangeWeekAfterWrite)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("calendars")
    ->Unit(benchmark::kMillisecond);

// The statements a read runs, with their values written in.
std::vector<std::string> traced(Store &s, const std::function<void()> &read)
{
    std::vector<std::string> statements;
    sqlite3 *db = Sql::handleOf(s.connection());
    sqlite3_trace_v2(
        db, SQLITE_TRACE_STMT,
        [](unsigned, void *ctx, void *p, void *) -> int {
            char *sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(p));
            if (sql)
                static_cast<std::vector<std::string> *>(ctx)->emplace_back(sql);
            sqlite3_free(sql);
            return 0;
        },
        &statements);
    read();
    sqlite3_trace_v2(db, 0, nullptr, nullptr);
    return statements;
}

// The statements one listInRange call runs, with their values written in.
std::vector<std::string> capturedStatements(Store &s, const QStringList &calendars,
                                            const QDateTime &from = kWeekFrom)
{
    // Warm first, so that only what a repeated read runs is captured.
    (void)s.repo->listInRange(from, from.addDays(7), calendars);
    return traced(s, [&] { (void)s.repo->listInRange(from, from.addDays(7), calendars); });
}

// The statements compiled, as the repository keeps its own.
std::vector<sqlite3_stmt *> compiled(sqlite3 *db, const std::vector<std::string> &statements)
{
    std::vector<sqlite3_stmt *> prepared;
    for (const std::string &sql : statements) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
            qFatal("%s", sqlite3_errmsg(db));
        prepared.push_back(stmt);
    }
    return prepared;
}

// Steps through every row, reading each column as text, and resets the statements; returns the
// rows.
size_t runRaw(const std::vector<sqlite3_stmt *> &prepared)
{
    size_t rows = 0;
    for (sqlite3_stmt *stmt : prepared) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const int columns = sqlite3_column_count(stmt);
            for (int c = 0; c < columns; ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
            ++rows;
        }
        sqlite3_reset(stmt);
    }
    return rows;
}

void finalizeAll(const std::vector<sqlite3_stmt *> &prepared)
{
    for (sqlite3_stmt *stmt : prepared)
        sqlite3_finalize(stmt);
}

void BM_ListInRangeWeekRawSqlite(benchmark::State &state)
{
    Store &s = store();
    const std::vector<std::string> statements = capturedStatements(s, calendarsArg(state));
    const std::vector<sqlite3_stmt *> prepared
        = compiled(Sql::handleOf(s.connection()), statements);
    size_t rows = 0;
    for (auto _ : state)
        rows = runRaw(prepared);
    finalizeAll(prepared);
    state.counters["rows"] = double(rows);
    state.counters["statements"] = double(statements.size());
    if (qEnvironmentVariableIsSet("LARK_BENCH_SHOW_SQL"))
        for (const std::string &sql : statements)
            fprintf(stderr, "%.300s\n", sql.c_str());
}
BENCHMARK(BM_ListInRangeWeekRawSqlite)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("calendars")
    ->Unit(benchmark::kMillisecond);

// The same statements right after the same edit: SQLite then finds the pages it reads in the
// write-ahead log.
void BM_ListInRangeWeekAfterWriteRawSqlite(benchmark::State &state)
{
    Store &s = store();
    const std::vector<sqlite3_stmt *> prepared
        = compiled(Sql::handleOf(s.connection()), capturedStatements(s, calendarsArg(state)));
    for (auto _ : state) {
        state.PauseTiming();
        if (!editOneEvent(s, state))
            break;
        state.ResumeTiming();
        benchmark::DoNotOptimize(runRaw(prepared));
    }
    finalizeAll(prepared);
}
BENCHMARK(BM_ListInRangeWeekAfterWriteRawSqlite)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("calendars")
    ->Unit(benchmark::kMillisecond);

// Weeks read for the first time: ours take the even ones of a sequence from 2016 on, raw SQLite
// the odd ones, each read once. All were read beforehand by a repository of their own, so that
// both sides find SQLite's pages alike, but the one measured has never built their records;
// only the series that every week shows are known to it, as they are to a user who moves on
// to another week.
constexpr int kNewWeekRounds = 20;
constexpr int kNewWeeks = 2 * kNewWeekRounds * 5 + 2;

QDateTime newWeek(int n)
{
    return QDateTime(QDate(2016, 1, 4), QTime(0, 0), Qt::UTC).addDays(7 * n);
}

// The statements the reads of the new weeks run, with their values written in.
const std::vector<std::vector<std::string>> &newWeekStatements()
{
    static const std::vector<std::vector<std::string>> statements = [] {
        Store &s = store();
        std::vector<std::vector<std::string>> all;
        {
            EventRepository probe(s.state->database());
            for (int n = 0; n < kNewWeeks; ++n)
                all.push_back(traced(
                    s, [&] { (void)probe.sharedInRange(newWeek(n), newWeek(n).addDays(7)); }));
        }
        // What the probe's records took goes back, so that the memory counted is the reads'.
        malloc_trim(0);
        return all;
    }();
    return statements;
}

// What the process holds in memory, in MB: all of it and what is not mapped from files.
void countMemory(benchmark::State &state)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() >= 2 && (parts[0] == "VmRSS:" || parts[0] == "RssAnon:"))
            state.counters[parts[0] == "VmRSS:" ? "rss_mb" : "anon_mb"]
                = parts[1].toDouble() / 1024.0;
    }
}

void BM_ListInRangeNewWeek(benchmark::State &state)
{
    Store &s = store();
    (void)newWeekStatements();
    static int next = 0;
    size_t n = 0;
    for (auto _ : state) {
        n = readWeek(s, newWeek(2 * next++), {}, false);
        if (n == 0)
            state.SkipWithError("a new week held no events");
    }
    state.counters["events"] = double(n);
    countMemory(state);
}
BENCHMARK(BM_ListInRangeNewWeek)->Iterations(kNewWeekRounds)->Unit(benchmark::kMillisecond);

void BM_ListInRangeNewWeekRawSqlite(benchmark::State &state)
{
    Store &s = store();
    const auto &statements = newWeekStatements();
    sqlite3 *db = Sql::handleOf(s.connection());
    static int next = 0;
    size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<sqlite3_stmt *> prepared
            = compiled(db, statements[size_t(2 * next++ + 1)]);
        state.ResumeTiming();
        rows = runRaw(prepared);
        state.PauseTiming();
        finalizeAll(prepared);
        state.ResumeTiming();
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_ListInRangeNewWeekRawSqlite)
    ->Iterations(kNewWeekRounds)
    ->Unit(benchmark::kMillisecond);

// Ours and raw SQLite side by side in one loop, so that the load of a shared machine falls on
// both alike: each round times one read of ours and one raw run of the same statements (in
// turns which goes first), on this thread's CPU clock. Reported are the medians of each side,
// the ratio of the medians and the quartiles of the rounds' own ratios.
// Kinds: 0 warm, 1 after a write, 2 a week read for the first time; calendars 0 or 1 as above.
double threadCpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[size_t(q * double(values.size() - 1) + 0.5)];
}

void BM_ReadVsRaw(benchmark::State &state)
{
    Store &s = store();
    const int kind = int(state.range(0));
    QStringList calendars;
    if (state.range(1))
        for (int i = 0; i < kCalendars; ++i)
            calendars << calendarId(i);
    sqlite3 *db = Sql::handleOf(s.connection());
    // A new week is new to a repository of its own that has only read one week before (the
    // series every week shows are then known, as to a user moving on).
    std::unique_ptr<EventRepository> fresh;
    if (kind == 2) {
        (void)newWeekStatements();
        fresh = std::make_unique<EventRepository>(s.state->database());
        (void)fresh->sharedInRange(newWeek(0), newWeek(0).addDays(7));
    }
    const std::vector<sqlite3_stmt *> warm = kind == 2
        ? std::vector<sqlite3_stmt *>()
        : compiled(db, capturedStatements(s, calendars));
    std::vector<double> ours, raw, ratios;
    size_t round = 0, events = 0, rows = 0;
    for (auto _ : state) {
        ++round;
        std::vector<sqlite3_stmt *> prepared = warm;
        if (kind == 2) {
            if (2 * round + 1 >= newWeekStatements().size()) {
                state.SkipWithError("more rounds than new weeks");
                break;
            }
            prepared = compiled(db, newWeekStatements()[2 * round + 1]);
        }
        double oursMs = 0, rawMs = 0;
        for (int side = 0; side < 2; ++side) {
            const bool oursNow = (side == 0) == (round % 2 == 0);
            if (kind == 1 && !editOneEvent(s, state))
                break;
            const double t0 = threadCpuMs();
            if (oursNow) {
                const auto got = kind == 2 ? fresh->sharedInRange(
                                     newWeek(int(2 * round)), newWeek(int(2 * round)).addDays(7))
                                           : s.repo->sharedInRange(kWeekFrom, kWeekTo, calendars);
                oursMs = threadCpuMs() - t0;
                events = size_t(got.size());
            } else {
                rows = runRaw(prepared);
                rawMs = threadCpuMs() - t0;
            }
        }
        if (kind == 2)
            finalizeAll(prepared);
        if (state.error_occurred())
            break;
        if (events == 0 || rows == 0) {
            state.SkipWithError("a read found no rows");
            break;
        }
        ours.push_back(oursMs);
        raw.push_back(rawMs);
        ratios.push_back(oursMs / rawMs);
    }
    finalizeAll(warm);
    state.counters["ours_ms"] = quantile(ours, 0.5);
    state.counters["raw_ms"] = quantile(raw, 0.5);
    state.counters["ratio"] = quantile(ours, 0.5) / quantile(raw, 0.5);
    state.counters["ratio_q1"] = quantile(ratios, 0.25);
    state.counters["ratio_q3"] = quantile(ratios, 0.75);
    state.counters["events"] = double(events);
    countMemory(state);
}
BENCHMARK(BM_ReadVsRaw)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 0})
    ->ArgNames({"kind", "calendars"})
    ->Iterations(kNewWeekRounds * 5 - 1)
    ->Unit(benchmark::kMillisecond);

// A user going back and forth over the weeks around one (two before it to two after it):
// each read after the first round finds the records of the week it moves to. Raw SQLite runs
// the same weeks' statements, each compiled once.
const QDateTime kAround(QDate(2023, 6, 5), QTime(0, 0), Qt::UTC);
const int kSteps[] = {0, 1, 2, 1, 0, -1, -2, -1};
constexpr int kStepCount = int(sizeof(kSteps) / sizeof(kSteps[0]));

void BM_ListInRangeMovingWeeks(benchmark::State &state)
{
    Store &s = store();
    int i = 0;
    for (const int step : kSteps)
        readWeek(s, kAround.addDays(7 * step), {}, false);
    for (auto _ : state) {
        if (stoppedIfEmpty(state,
                           readWeek(s, kAround.addDays(7 * kSteps[i++ % kStepCount]), {}, false)))
            break;
    }
    countMemory(state);
}
BENCHMARK(BM_ListInRangeMovingWeeks)->Unit(benchmark::kMillisecond);

void BM_ListInRangeMovingWeeksRawSqlite(benchmark::State &state)
{
    Store &s = store();
    sqlite3 *db = Sql::handleOf(s.connection());
    std::vector<std::vector<sqlite3_stmt *>> weeks;
    for (const int step : kSteps)
        weeks.push_back(compiled(db, capturedStatements(s, {}, kAround.addDays(7 * step))));
    size_t i = 0;
    for (auto _ : state)
        runRaw(weeks[i++ % weeks.size()]);
    for (const auto &week : weeks)
        finalizeAll(week);
}
BENCHMARK(BM_ListInRangeMovingWeeksRawSqlite)->Unit(benchmark::kMillisecond);

QList<FilterRule> someRules()
{
    QList<FilterRule> rules;
    const char *const conditions[] = {
        "{\"runtimeType\":\"pattern\",\"titleContains\":[\"topic 7\"]}",
        "{\"runtimeType\":\"time\",\"timeRange\":{\"start\":\"22:00\"}}",
        "{\"runtimeType\":\"pattern\",\"locationContains\":[\"Room 4\"]}",
    };
    for (int i = 0; i < 3; ++i) {
        FilterRule r;
        r.id = QStringLiteral("rule-%1").arg(i);
        r.name = r.id;
        r.conditions = QString::fromLatin1(conditions[i]);
        r.action = i ? QStringLiteral("dim") : QStringLiteral("hide");
        rules.append(r);
    }
    return rules;
}

// A week as a view shows it: the stored rows, their occurrences and the filter rules.
void BM_WeekView(benchmark::State &state)
{
    Store &s = store();
    const QList<FilterRule> rules = someRules();
    const QStringList calendars = calendarsArg(state);
    qint64 shown = 0;
    for (auto _ : state) {
        if (state.range(1)) {
            state.PauseTiming();
            if (!editOneEvent(s, state))
                break;
            state.ResumeTiming();
        }
        const FilterResult result
            = applyFilterRules(expandOccurrences(s.repo->listInRange(kWeekFrom, kWeekTo, calendars),
                                                 kWeekFrom, kWeekTo),
                               rules);
        shown = result.events.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["shown"] = double(shown);
}
BENCHMARK(BM_WeekView)
    ->Args({1, 0})
    ->Args({1, 1})
    ->ArgNames({"calendars", "afterWrite"})
    ->Unit(benchmark::kMillisecond);

// The tray's list of what comes today and tomorrow, through the program's own use case, at a
// local time of the benchmark week.
void BM_UpcomingOccurrences(benchmark::State &state)
{
    Store &s = store();
    const QDateTime now(QDate(2021, 1, 6), QTime(10, 0), Qt::LocalTime);
    qint64 found = 0;
    for (auto _ : state) {
        if (state.range(0)) {
            state.PauseTiming();
            if (!editOneEvent(s, state))
                break;
            state.ResumeTiming();
        }
        const QList<Event> upcoming
            = upcomingOccurrences(s.state->store(), s.state->activeViewId(), now);
        found = upcoming.size();
        benchmark::DoNotOptimize(upcoming);
    }
    state.counters["upcoming"] = double(found);
}
BENCHMARK(BM_UpcomingOccurrences)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("afterWrite")
    ->Unit(benchmark::kMillisecond);

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
        if (stoppedIfEmpty(state, n))
            break;
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
        if (stoppedIfEmpty(state, n))
            break;
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
        bool stored = s.connection().transaction();
        for (const Event &e : std::as_const(events))
            stored = s.repo->insert(e) && stored;
        stored = s.connection().commit() && stored;
        state.PauseTiming();
        QSqlQuery q(s.connection());
        stored = q.exec(QStringLiteral("SELECT COUNT(*) FROM events WHERE uid LIKE 'r%'"))
            && q.next() && q.value(0).toInt() == events.size() && stored;
        s.connection().transaction();
        const bool cleared = q.exec(QStringLiteral("DELETE FROM reminders WHERE event_id IN "
                                                   "(SELECT id FROM events WHERE uid LIKE 'r%')"))
            && q.exec(QStringLiteral("DELETE FROM events WHERE uid LIKE 'r%'"))
            && s.connection().commit();
        if (!stored || !cleared) {
            s.connection().rollback();
            state.SkipWithError(stored ? "the inserted rows could not be deleted"
                                       : "not every row was stored");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Insert10000InOneTransaction)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    LocalZone::pin();
    return runBenchmarks(argc, argv);
}
