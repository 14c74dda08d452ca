// Importing one large ".ics" file into a calendar, as the File menu does it: the file is read
// while the calendar picker is open, then stored. The generated file holds events in UTC and,
// one in eight, in three named zones, a tenth of them weekly series: 80 MB at 10^6 events.
// Run by hand, with the database in memory:
//   TMPDIR=/dev/shm build/bench/bench_IcsImport [--benchmark_filter=...]
// The argument is the number of events.
//
// Counters: picker_rss_mb is the resident size once the file is read (what the picker holds),
// peak_rss_mb the highest resident size of the whole run, longest_stall_ms the longest time the
// event loop did not turn while the import ran (what a user sees as a frozen window), read_ms
// the time to read the file before the picker opens, and imported the events stored.
// BM_ImportAllAtOnce is the baseline: every record read before any is stored, then stored in one
// write, without the event loop turning. BM_ImportOverItself imports the file a second time.
// BM_ImportBesideFloor runs the import and its floor in one process: the same file read by the
// same reader, its rows inserted by SQLite's own interface with one prepared statement in one
// transaction, into a store of the same schema and pragmas. Both end with the log written into
// the database (a full checkpoint). Its counters: *_s the times, *_mib_written the bytes the
// process handed to write calls, growth_mib what the database grew by, and the ratios;
// log_peak_mib the largest the log file was at any turn of the event loop and after the import,
// log_after_mib its size once the import ended, next_write_ms what one event stored after it
// took, edit_during_ms the longest such write, made while the import stores as often as the
// second argument says (in ms; 0: none).

#include "core/AppState.h"
#include "core/IcsImport.h"
#include "model/ICalendarEventReader.h"
#include "model/Identifiers.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"
#include "support/IcsFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTimer>

#include "BenchMain.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <functional>
#include <memory>

namespace {

const QString kCalendar = QStringLiteral("larkspindle-personal-default");

QString generateFile(const QString &dir, int events)
{
    // Most events in UTC, one in eight in a named zone; a tenth repeat weekly.
    static const char *const zones[]
        = {";TZID=Europe/Berlin", ";TZID=America/New_York", ";TZID=Asia/Tokyo"};
    const QString path = dir + QStringLiteral("/large.ics");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n");
    const QDate first(2015, 1, 1);
    QByteArray chunk;
    for (int i = 0; i < events; ++i) {
        const QByteArray date
            = first.addDays(i % 4000).toString(QStringLiteral("yyyyMMdd")).toLatin1();
        const QByteArray clock = "T0900" + QByteArray::number(10 + i % 50);
        const QByteArray start = i % 8 == 0
            ? QByteArray(QByteArray(zones[i / 8 % 3]) + ':' + date + clock)
            : QByteArray(':' + date + clock + 'Z');
        chunk += "BEGIN:VEVENT\r\nUID:e" + QByteArray::number(i) + "\r\nDTSTART" + start
            + "\r\nSUMMARY:Meeting " + QByteArray::number(i % 1000) + "\r\n"
            + (i % 10 == 0 ? "RRULE:FREQ=WEEKLY\r\n" : "") + "END:VEVENT\r\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + "END:VCALENDAR\r\n");
    return path;
}

qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Starts the peak over from the current resident size.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    QString path;
    bool ok = false;

    explicit Fixture(int events)
    {
        path = generateFile(dir.path(), events);
        ok = !path.isEmpty() && state->initialize(dir.filePath(QStringLiteral("bench.db")));
    }
};

// The file and an empty store for one run; the peak counts from here.
std::unique_ptr<Fixture> prepare(benchmark::State &state)
{
    auto f = std::make_unique<Fixture>(int(state.range(0)));
    if (!f->ok) {
        state.SkipWithError("set-up failed");
        return nullptr;
    }
    resetPeak();
    return f;
}

void report(benchmark::State &state, qint64 pickerKb, qint64 stallMs, int imported)
{
    state.counters["picker_rss_mb"] = double(pickerKb) / 1024;
    state.counters["peak_rss_mb"] = double(statusKb("VmHWM:")) / 1024;
    state.counters["longest_stall_ms"] = double(stallMs);
    state.counters["imported"] = imported;
}

// A run that failed, or stored fewer events than the file holds, measured nothing: it stops
// the benchmark (true) instead of reporting a time.
bool stoppedUnlessAll(benchmark::State &state, bool ok, int imported)
{
    if (ok && imported == state.range(0))
        return false;
    state.SkipWithError(ok ? "not every event was stored" : "the import failed");
    return true;
}

// Runs the job from the event loop; answers the longest time the loop did not turn. atTurn, when
// given, runs at every turn of the loop.
qint64 runWatchingStalls(IcsImportJob &job, const std::function<void()> &atTurn = {})
{
    // A timer that wants to run at every turn of the loop: the gaps between its runs are the
    // stalls.
    QElapsedTimer sinceTurn;
    qint64 longest = 0;
    QTimer turn;
    turn.setInterval(0);
    int read = 0;
    QObject::connect(&job, &IcsImportJob::progress, [&read](int done, int) { read = done; });
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const qint64 gap = sinceTurn.restart();
        longest = qMax(longest, gap);
        if (atTurn)
            atTurn();
        // Where the long ones happen, for whoever looks into them.
        if (gap > 100)
            qInfo("stall of %lld ms after %d events", gap, read);
    });
    QEventLoop loop;
    QObject::connect(&job, &IcsImportJob::finished, &loop, &QEventLoop::quit);
    sinceTurn.start();
    turn.start();
    job.start();
    if (!job.isFinished())
        loop.exec();
    return qMax(longest, sinceTurn.elapsed());
}

// Bytes this process has handed to write calls so far (files, pipes and terminals alike).
qint64 bytesWritten()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("wchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

qint64 pragmaValue(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    qint64 value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

qint64 databaseBytes(sqlite3 *db)
{
    return pragmaValue(db, "PRAGMA page_count") * pragmaValue(db, "PRAGMA page_size");
}

// The floor: the events of the text read as the import reads them, each row bound to one
// prepared statement, all in one transaction. Answers the rows stored, or -1.
int insertFloor(sqlite3 *db, const QString &text, const QDateTime &now)
{
    static const char *const sql
        = "INSERT INTO events (id, calendar_id, uid, provider_event_id, etag, href, title, "
          "description, location, geo_location, start_time, end_time, is_all_day, timezone, "
          "recurrence_rule, recurrence_dates, exception_dates, recurrence_id, master_event_uid, "
          "status, event_url, conference_url, organizer_email, organizer_name, sequence, "
          "raw_icalendar, color, created, last_modified, sync_status, deleted_at, related_to_uid) "
          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
          "?, ?, ?, ?, ?, ?)";
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        return -1;
    ICalendarEventReader reader(text, ICalendarEventReader::Lines::Bounded);
    int stored = 0;
    bool ok = true;
    while (ok && !reader.atEnd()) {
        for (const Event &e : reader.next(50)) {
            const QVariantList values
                = {newOrderedId(),
                   kCalendar,
                   e.uid,
                   e.provider_event_id,
                   QVariant(),
                   QVariant(),
                   e.title,
                   e.description,
                   e.location,
                   e.geo_location,
                   Sql::dateTime(e.start_time),
                   Sql::dateTime(e.end_time),
                   e.is_all_day ? 1 : 0,
                   e.timezone,
                   e.recurrence_rule,
                   e.recurrence_dates,
                   e.exception_dates,
                   e.recurrence_id,
                   e.master_event_uid,
                   e.status,
                   e.event_url,
                   e.conference_url,
                   e.organizer_email,
                   e.organizer_name,
                   e.sequence,
                   e.raw_icalendar,
                   e.color,
                   Sql::dateTime(e.created.isValid() ? e.created : now),
                   Sql::dateTime(e.last_modified.isValid() ? e.last_modified : now),
                   QStringLiteral("pending"),
                   QVariant(),
                   e.related_to_uid};
            for (int i = 0; i < int(values.size()); ++i) {
                const QVariant &v = values.at(i);
                if (v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isNull())) {
                    sqlite3_bind_null(stmt, i + 1);
                } else if (v.typeId() == QMetaType::Int) {
                    sqlite3_bind_int64(stmt, i + 1, v.toInt());
                } else {
                    const QByteArray utf8 = v.toString().toUtf8();
                    sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()),
                                      SQLITE_TRANSIENT);
                }
            }
            ok = sqlite3_step(stmt) == SQLITE_DONE && sqlite3_reset(stmt) == SQLITE_OK;
            if (!ok)
                break;
            ++stored;
        }
    }
    sqlite3_finalize(stmt);
    if (!ok || sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return -1;
    }
    return stored;
}

// What one way of storing the file cost: seconds, bytes written, database growth.
struct Cost
{
    double seconds = 0;
    qint64 written = 0;
    qint64 growth = 0;
};

template<typename Store> Cost measure(sqlite3 *db, Store store)
{
    const qint64 sizeBefore = databaseBytes(db);
    const qint64 writtenBefore = bytesWritten();
    QElapsedTimer clock;
    clock.start();
    store();
    sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    Cost cost;
    cost.seconds = double(clock.nsecsElapsed()) / 1e9;
    cost.written = bytesWritten() - writtenBefore;
    cost.growth = databaseBytes(db) - sizeBefore;
    return cost;
}

void BM_ImportInSlices(benchmark::State &state)
{
    const std::unique_ptr<Fixture> f = prepare(state);
    if (!f)
        return;
    for (auto _ : state) {
        QElapsedTimer reading;
        reading.start();
        IcsFileContents contents = readIcsFile(f->path);
        state.counters["read_ms"] = double(reading.elapsed());
        if (!contents.error.isEmpty()) {
            state.SkipWithError(qPrintable(contents.error));
            break;
        }
        const qint64 pickerKb = statusKb("VmRSS:");
        IcsImportJob job(f->state->store(), std::move(contents.text), kCalendar,
                         QStringLiteral("large.ics"));
        contents = IcsFileContents();
        const qint64 longest = runWatchingStalls(job);
        if (!stoppedUnlessAll(state, job.result().ok, job.result().imported))
            report(state, pickerKb, longest, job.result().imported);
    }
}

void BM_ImportAllAtOnce(benchmark::State &state)
{
    const std::unique_ptr<Fixture> f = prepare(state);
    if (!f)
        return;
    for (auto _ : state) {
        QElapsedTimer stall;
        stall.start();
        IcsFileContents contents = readIcsFile(f->path);
        if (!contents.error.isEmpty()) {
            state.SkipWithError(qPrintable(contents.error));
            break;
        }
        QList<Event> events = parseICalendarEvents(contents.text);
        const qint64 pickerKb = statusKb("VmRSS:");
        for (Event &e : events) {
            e.calendar_id = kCalendar;
            e.sync_status = QStringLiteral("pending");
            e.created = e.last_modified = f->state->database()->currentDateTimeUtc();
        }
        const bool ok = f->state->events()->replaceByUid(events, nullptr);
        if (!stoppedUnlessAll(state, ok, int(events.size())))
            report(state, pickerKb, stall.elapsed(), int(events.size()));
    }
}

// The file imported again over its own events, each replaced by its uid, as a second import of
// the same file does it; first_import_s is the first import into the empty calendar, ratio the
// second's time over the first's.
void BM_ImportOverItself(benchmark::State &state)
{
    const std::unique_ptr<Fixture> f = prepare(state);
    if (!f)
        return;
    QElapsedTimer firstTime;
    firstTime.start();
    const IcsImportResult first = LarkTest::importFile(f->state->store(), f->path, kCalendar);
    const double firstSeconds = double(firstTime.elapsed()) / 1000;
    if (!first.ok || first.imported != state.range(0)) {
        state.SkipWithError("the first import failed");
        return;
    }
    for (auto _ : state) {
        QElapsedTimer againTime;
        againTime.start();
        const IcsImportResult again = LarkTest::importFile(f->state->store(), f->path, kCalendar);
        const double againSeconds = double(againTime.elapsed()) / 1000;
        if (!again.ok || again.imported != first.imported) {
            state.SkipWithError("the import over itself failed");
            break;
        }
        state.counters["first_import_s"] = firstSeconds;
        state.counters["ratio"] = againSeconds / firstSeconds;
        state.counters["imported"] = again.imported;
    }
}

// One damaged file: a single event whose SUMMARY runs to the argument's MiB. stored_title is
// the length of the title kept, peak_rss_mb what the import needed on top of the reading.
void BM_ImportOverlongSummary(benchmark::State &state)
{
    const std::unique_ptr<Fixture> f = prepare(state);
    if (!f)
        return;
    const QString path = f->dir.filePath(QStringLiteral("overlong.ics"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            state.SkipWithError("cannot write the file");
            return;
        }
        file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:long\r\n"
                   "DTSTART:20260301T090000Z\r\nSUMMARY:");
        file.write(QByteArray(int(state.range(0)) << 20, 'x'));
        file.write("\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    }
    resetPeak();
    for (auto _ : state) {
        const IcsImportResult result = LarkTest::importFile(f->state->store(), path, kCalendar);
        const std::optional<Event> stored
            = f->state->events()->byUidInCalendar(QStringLiteral("long"), kCalendar);
        if (!result.ok || !stored) {
            state.SkipWithError("the import failed");
            break;
        }
        state.counters["stored_title"] = double(stored->title.size());
        state.counters["peak_rss_mb"] = double(statusKb("VmHWM:")) / 1024;
    }
}

void BM_ImportBesideFloor(benchmark::State &state)
{
    const std::unique_ptr<Fixture> f = prepare(state);
    if (!f)
        return;
    sqlite3 *importDb = Sql::handleOf(f->state->database()->connection());
    // The floor's store: a copy of the empty one, on a connection of its own with the store's
    // pragmas.
    const QString floorPath = f->dir.filePath(QStringLiteral("floor.db"));
    sqlite3 *floorDb = nullptr;
    sqlite3_wal_checkpoint_v2(importDb, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    if (!QFile::copy(f->dir.filePath(QStringLiteral("bench.db")), floorPath)
        || sqlite3_open(floorPath.toUtf8().constData(), &floorDb) != SQLITE_OK
        || sqlite3_exec(floorDb,
                        "PRAGMA journal_mode=WAL; PRAGMA foreign_keys=ON; PRAGMA "
                        "temp_store=MEMORY; PRAGMA mmap_size=67108864; PRAGMA cache_size=-65536",
                        nullptr, nullptr, nullptr)
            != SQLITE_OK) {
        state.SkipWithError("the floor's store could not be made");
        sqlite3_close(floorDb);
        return;
    }
    for (auto _ : state) {
        int imported = 0;
        qint64 longest = 0;
        qint64 logPeak = 0;
        qint64 logAfter = 0;
        qint64 nextWriteUs = 0;
        qint64 editWaitUs = 0;
        const QString log = f->dir.filePath(QStringLiteral("bench.db-wal"));
        // The user's edit: one event, as the event form stores it; its time, or -1.
        int edits = 0;
        const auto edit = [&] {
            Event e;
            e.id = newOrderedId();
            e.calendar_id = kCalendar;
            e.uid = QStringLiteral("edit-%1").arg(++edits);
            e.title = QStringLiteral("An edit");
            e.start_time = f->state->database()->currentDateTimeUtc();
            e.created = e.last_modified = e.start_time;
            e.sync_status = QStringLiteral("pending");
            e.raw_icalendar = QStringLiteral("BEGIN:VEVENT\r\nEND:VEVENT\r\n");
            QElapsedTimer writing;
            writing.start();
            return f->state->events()->insert(e) ? writing.nsecsElapsed() / 1000 : qint64(-1);
        };
        const Cost import = measure(importDb, [&] {
            IcsImportJob job(f->state->store(), readIcsFile(f->path).text, kCalendar,
                             QStringLiteral("large.ics"));
            // An edit every so often (the second argument, in ms) while the import stores.
            const qint64 every = state.range(1);
            QElapsedTimer sinceEdit;
            sinceEdit.start();
            longest = runWatchingStalls(job, [&] {
                logPeak = qMax(logPeak, QFileInfo(log).size());
                if (every > 0 && sinceEdit.elapsed() >= every
                    && job.state() == IcsImportJob::State::Storing) {
                    const qint64 took = edit();
                    editWaitUs = took < 0 ? -1 : qMax(editWaitUs, took);
                    sinceEdit.restart();
                }
            });
            imported = job.result().ok && editWaitUs >= 0 ? job.result().imported : -1;
            logAfter = QFileInfo(log).size();
            logPeak = qMax(logPeak, logAfter);
            nextWriteUs = edit();
            if (nextWriteUs < 0)
                imported = -1;
        });
        int stored = 0;
        const Cost floor = measure(floorDb, [&] {
            stored = insertFloor(floorDb, readIcsFile(f->path).text,
                                 f->state->database()->currentDateTimeUtc());
        });
        if (stoppedUnlessAll(state, imported >= 0, imported)
            || stoppedUnlessAll(state, stored >= 0, stored))
            break;
        constexpr double kMiB = 1024.0 * 1024.0;
        state.counters["import_s"] = import.seconds;
        state.counters["floor_s"] = floor.seconds;
        state.counters["time_ratio"] = import.seconds / floor.seconds;
        state.counters["import_mib_written"] = double(import.written) / kMiB;
        state.counters["floor_mib_written"] = double(floor.written) / kMiB;
        state.counters["growth_mib"] = double(import.growth) / kMiB;
        state.counters["floor_growth_mib"] = double(floor.growth) / kMiB;
        state.counters["written_over_growth"] = double(import.written) / double(import.growth);
        state.counters["longest_stall_ms"] = double(longest);
        state.counters["log_peak_mib"] = double(logPeak) / kMiB;
        state.counters["log_after_mib"] = double(logAfter) / kMiB;
        state.counters["next_write_ms"] = double(nextWriteUs) / 1000;
        state.counters["edit_during_ms"] = double(editWaitUs) / 1000;
    }
    sqlite3_close(floorDb);
}

} // namespace

BENCHMARK(BM_ImportBesideFloor)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({100000, 300})
    ->Args({250000, 0})
    ->Args({250000, 300})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK(BM_ImportOverlongSummary)->Arg(50)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ImportOverItself)->Arg(50000)->Arg(1000000)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ImportInSlices)->Arg(100000)->Arg(1000000)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ImportAllAtOnce)->Arg(100000)->Arg(1000000)->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char **argv)
{
    // The store's warnings about nothing would only slow the run down.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    return runBenchmarks(argc, argv);
}
