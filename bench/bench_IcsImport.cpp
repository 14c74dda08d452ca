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

#include "core/AppState.h"
#include "core/IcsImport.h"
#include "model/ICalendarEventReader.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "support/IcsFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTimer>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

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
        // A timer that wants to run at every turn of the loop: the gaps between its runs are
        // the stalls.
        QElapsedTimer sinceTurn;
        qint64 longest = 0;
        QTimer turn;
        turn.setInterval(0);
        int read = 0;
        QObject::connect(&job, &IcsImportJob::progress, [&read](int done, int) { read = done; });
        QObject::connect(&turn, &QTimer::timeout, [&] {
            const qint64 gap = sinceTurn.restart();
            longest = qMax(longest, gap);
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
        longest = qMax(longest, sinceTurn.elapsed());
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

} // namespace

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
