// One week of a large calendar: expansion plus filter rules, and the cost per generated start
// next to libical's recurrence iterator on the same rules. Series are in Berlin, UTC and local
// time; run it with TZ unset and with TZ=UTC to compare what local-time conversions cost.
#include "model/FilterEngine.h"
#include "model/Recurrence.h"
#include "platform/LocalZone.h"

#include <QTimeZone>

#include <benchmark/benchmark.h>
#include <libical/ical.h>

namespace {

const QDateTime kWeekStart(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC);
const QDateTime kWeekEnd = kWeekStart.addDays(7);

const char *const kRules[] = {
    "FREQ=DAILY",
    "FREQ=WEEKLY;BYDAY=MO,WE,FR",
    "FREQ=MONTHLY;BYDAY=2TU",
    "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1",
    "FREQ=YEARLY;BYMONTH=3;BYDAY=1MO",
    "FREQ=YEARLY",
};
constexpr int kRuleCount = int(sizeof(kRules) / sizeof(kRules[0]));

QDateTime seriesStart(int i)
{
    // Half of the series began 15 years ago, the rest within the last year.
    const QDate date
        = i % 2 ? QDate(2011, 3, 7).addDays(i % 300) : QDate(2025, 4, 1).addDays(i % 300);
    const QTime time(8 + i % 10, (i % 4) * 15);
    switch (i % 3) {
    case 0:
        return QDateTime(date, time, QTimeZone("Europe/Berlin"));
    case 1:
        return QDateTime(date, time, Qt::UTC);
    default:
        return QDateTime(date, time, Qt::LocalTime);
    }
}

QList<Event> calendarEvents()
{
    QList<Event> events;
    events.reserve(21000);
    const QStringList titles {QStringLiteral("Standup"),          QStringLiteral("Lunch with Sam"),
                              QStringLiteral("Design review"),    QStringLiteral("Gym"),
                              QStringLiteral("1:1 with manager"), QStringLiteral("Dentist")};
    for (int i = 0; i < 20000; ++i) {
        Event e;
        e.id = QStringLiteral("plain-%1").arg(i);
        e.uid = e.id;
        e.calendar_id = QStringLiteral("cal-%1").arg(i % 8);
        e.title = titles[i % titles.size()] + QStringLiteral(" %1").arg(i % 97);
        e.description = i % 3 ? QStringLiteral("Agenda and notes for the meeting") : QString();
        e.location = i % 5 ? QStringLiteral("Room %1").arg(i % 40) : QString();
        e.start_time = kWeekStart.addSecs(qint64(i % (7 * 96)) * 900);
        e.end_time = e.start_time.addSecs(1800 + (i % 4) * 900);
        e.is_all_day = i % 50 == 0;
        events.append(e);
    }
    const QStringList rules = [] {
        QStringList r;
        for (const char *rule : kRules)
            r.append(QLatin1String(rule));
        return r;
    }();
    for (int i = 0; i < 1000; ++i) {
        Event e;
        e.id = QStringLiteral("series-%1").arg(i);
        e.uid = e.id;
        e.calendar_id = QStringLiteral("cal-%1").arg(i % 8);
        e.title = titles[i % titles.size()];
        e.recurrence_rule = rules[i % rules.size()];
        e.start_time = seriesStart(i);
        e.end_time = e.start_time.addSecs(3600);
        events.append(e);
    }
    return events;
}

QList<FilterRule> filterRules()
{
    const QStringList conditions {
        QStringLiteral("{\"runtimeType\":\"pattern\",\"titleContains\":[\"lunch\",\"coffee\"]}"),
        QStringLiteral("{\"runtimeType\":\"pattern\",\"titleExact\":[\"Gym\"]}"),
        QStringLiteral("{\"runtimeType\":\"pattern\",\"descriptionContains\":[\"cancelled\"]}"),
        QStringLiteral("{\"runtimeType\":\"pattern\",\"locationContains\":[\"Room 39\"],"
                       "\"caseSensitive\":true}"),
        QStringLiteral("{\"runtimeType\":\"time\",\"timeRange\":{\"start\":\"22:00\"}}"),
        QStringLiteral("{\"runtimeType\":\"time\",\"daysOfWeek\":[\"sat\",\"sun\"],"
                       "\"timeRange\":{\"end\":\"07:00\"}}"),
        QStringLiteral("{\"runtimeType\":\"time\",\"timeExact\":\"12:15\",\"recurringOnly\":true}"),
        QStringLiteral("{\"runtimeType\":\"allDay\",\"recurringOnly\":true}"),
        QStringLiteral("{\"runtimeType\":\"specific\"}"),
        QStringLiteral("{\"runtimeType\":\"pattern\",\"titleContains\":[\"offsite\"]}"),
    };
    QList<FilterRule> rules;
    for (int i = 0; i < 20; ++i) {
        FilterRule r;
        r.id = QStringLiteral("rule-%1").arg(i);
        r.name = r.id;
        r.conditions = conditions[i % conditions.size()];
        r.priority = 10 * (i % 7);
        r.action = i % 3 ? QStringLiteral("dim") : QStringLiteral("hide");
        r.suppress_reminders = i % 2;
        r.calendar_ids
            = i % 4 == 0 ? QStringLiteral("[\"cal-1\",\"cal-2\"]") : QStringLiteral("[]");
        r.event_uid = QStringLiteral("plain-%1").arg(i * 7);
        r.event_calendar_id = QStringLiteral("cal-%1").arg(i * 7 % 8);
        rules.append(r);
    }
    return rules;
}

// A view reload hands over the list the repository just returned; making that list is the
// repository's cost and stays outside the timing.
void BM_WeekOfLargeCalendar(benchmark::State &state)
{
    const QList<Event> events = calendarEvents();
    const QList<FilterRule> rules = filterRules();
    qint64 shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QList<Event> loaded = events;
        loaded.detach();
        state.ResumeTiming();
        FilterResult result
            = applyFilterRules(expandOccurrences(std::move(loaded), kWeekStart, kWeekEnd), rules);
        shown = result.events.size();
        benchmark::DoNotOptimize(result);
        state.PauseTiming();
        result = FilterResult();
        state.ResumeTiming();
    }
    state.counters["visible"] = double(shown);
}
BENCHMARK(BM_WeekOfLargeCalendar)->Unit(benchmark::kMillisecond);

// The same when the caller keeps its list, so every event is copied, and the result is freed
// inside the timing.
void BM_WeekOfLargeCalendarCopying(benchmark::State &state)
{
    const QList<Event> events = calendarEvents();
    const QList<FilterRule> rules = filterRules();
    for (auto _ : state) {
        const QList<Event> occurrences = expandOccurrences(events, kWeekStart, kWeekEnd);
        benchmark::DoNotOptimize(applyFilterRules(occurrences, rules));
    }
}
BENCHMARK(BM_WeekOfLargeCalendarCopying)->Unit(benchmark::kMillisecond);

// The week's occurrences of events a caller keeps.
void expandWeek(benchmark::State &state, const QList<Event> &events)
{
    qint64 count = 0;
    for (auto _ : state) {
        const QList<Event> occurrences = expandOccurrences(events, kWeekStart, kWeekEnd);
        count = occurrences.size();
        benchmark::DoNotOptimize(occurrences);
    }
    state.counters["occurrences"] = double(count);
}

void BM_ExpandOnly(benchmark::State &state)
{
    expandWeek(state, calendarEvents());
}
BENCHMARK(BM_ExpandOnly)->Unit(benchmark::kMillisecond);

void BM_ExpandSeriesOnly(benchmark::State &state)
{
    const QList<Event> events = calendarEvents().mid(20000);
    for (auto _ : state)
        benchmark::DoNotOptimize(expandOccurrences(events, kWeekStart, kWeekEnd));
}
BENCHMARK(BM_ExpandSeriesOnly)->Unit(benchmark::kMillisecond);

void BM_FilterOnly(benchmark::State &state)
{
    const QList<Event> occurrences = expandOccurrences(calendarEvents(), kWeekStart, kWeekEnd);
    const QList<FilterRule> rules = filterRules();
    for (auto _ : state)
        benchmark::DoNotOptimize(applyFilterRules(occurrences, rules));
    state.SetItemsProcessed(state.iterations() * occurrences.size());
}
BENCHMARK(BM_FilterOnly)->Unit(benchmark::kMillisecond);

// Every start of each rule from 7 March 2011 09:00 UTC up to the week, one rule per argument.
const QDateTime kFrom(QDate(2011, 3, 7), QTime(9, 0), Qt::UTC);

void BM_StartsOurs(benchmark::State &state)
{
    const RRule rule = parseRRule(QLatin1String(kRules[state.range(0)]));
    qint64 items = 0;
    for (auto _ : state) {
        const QList<QDateTime> starts = recurrenceStarts(rule, kFrom, kWeekEnd);
        items += starts.size();
        benchmark::DoNotOptimize(starts);
    }
    state.SetItemsProcessed(items);
    state.SetLabel(kRules[state.range(0)]);
}
BENCHMARK(BM_StartsOurs)->DenseRange(0, kRuleCount - 1)->Unit(benchmark::kMicrosecond);

void BM_StartsLibical(benchmark::State &state)
{
    const icalrecurrencetype recur = icalrecurrencetype_from_string(kRules[state.range(0)]);
    const icaltimetype dtstart = icaltime_from_string("20110307T090000Z");
    const icaltimetype end = icaltime_from_string("20260309T000000Z");
    qint64 items = 0;
    for (auto _ : state) {
        icalrecur_iterator *it = icalrecur_iterator_new(recur, dtstart);
        for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next);
             next = icalrecur_iterator_next(it)) {
            if (icaltime_compare(next, end) >= 0)
                break;
            ++items;
        }
        icalrecur_iterator_free(it);
    }
    state.SetItemsProcessed(items);
    state.SetLabel(kRules[state.range(0)]);
}
BENCHMARK(BM_StartsLibical)->DenseRange(0, kRuleCount - 1)->Unit(benchmark::kMicrosecond);

// The same rules, in a zone with daylight saving: what the views pay for most series.
void BM_StartsOursBerlin(benchmark::State &state)
{
    const RRule rule = parseRRule(QLatin1String(kRules[state.range(0)]));
    const QDateTime from(QDate(2011, 3, 7), QTime(10, 0), QTimeZone("Europe/Berlin"));
    qint64 items = 0;
    for (auto _ : state) {
        const QList<QDateTime> starts = recurrenceStarts(rule, from, kWeekEnd);
        items += starts.size();
        benchmark::DoNotOptimize(starts);
    }
    state.SetItemsProcessed(items);
    state.SetLabel(kRules[state.range(0)]);
}
BENCHMARK(BM_StartsOursBerlin)->DenseRange(0, kRuleCount - 1)->Unit(benchmark::kMicrosecond);

// One week of a 15-year-old series: ours skips ahead; libical is asked to start at the week.
void BM_WeekOfOldSeriesOurs(benchmark::State &state)
{
    Event master;
    master.uid = QStringLiteral("old");
    master.recurrence_rule = QLatin1String(kRules[state.range(0)]);
    master.start_time = kFrom;
    master.end_time = kFrom.addSecs(3600);
    for (auto _ : state)
        benchmark::DoNotOptimize(expandRecurringMaster(master, kWeekStart, kWeekEnd));
    state.SetLabel(kRules[state.range(0)]);
}
BENCHMARK(BM_WeekOfOldSeriesOurs)->DenseRange(0, kRuleCount - 1)->Unit(benchmark::kMicrosecond);

void BM_WeekOfOldSeriesLibical(benchmark::State &state)
{
    const icalrecurrencetype recur = icalrecurrencetype_from_string(kRules[state.range(0)]);
    const icaltimetype dtstart = icaltime_from_string("20110307T090000Z");
    const icaltimetype from = icaltime_from_string("20260301T230000Z");
    const icaltimetype end = icaltime_from_string("20260309T000000Z");
    int found = 0;
    for (auto _ : state) {
        icalrecur_iterator *it = icalrecur_iterator_new(recur, dtstart);
        icalrecur_iterator_set_start(it, from);
        found = 0;
        for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next);
             next = icalrecur_iterator_next(it)) {
            if (icaltime_compare(next, end) >= 0)
                break;
            ++found;
        }
        icalrecur_iterator_free(it);
    }
    state.counters["found"] = found;
    state.SetLabel(kRules[state.range(0)]);
}
BENCHMARK(BM_WeekOfOldSeriesLibical)->DenseRange(0, kRuleCount - 1)->Unit(benchmark::kMicrosecond);

// A week of 1,000 series that began `years` ago, with COUNT (large enough that every series
// still runs), with UNTIL (ten years ahead) or open-ended: the open-ended ones are the
// yardstick, as their cost does not depend on their age.
const char *const kLiveCounts[] = {"60000", "25000", "2000", "2000", "200", "200"};

// Rules of one frequency (DAILY, WEEKLY, MONTHLY, YEARLY as 0 to 3), or of all for -1.
QList<int> rulesOf(int frequency)
{
    const char *const names[] = {"FREQ=DAILY", "FREQ=WEEKLY", "FREQ=MONTHLY", "FREQ=YEARLY"};
    QList<int> picked;
    for (int r = 0; r < kRuleCount; ++r) {
        if (frequency < 0 || qstrncmp(kRules[r], names[frequency], qstrlen(names[frequency])) == 0)
            picked.append(r);
    }
    return picked;
}

QList<Event> seriesOfAge(int years, int ending, int frequency = -1)
{
    const QList<int> rules = rulesOf(frequency);
    QList<Event> events;
    for (int i = 0; i < 1000; ++i) {
        const int rule = rules[i % rules.size()];
        Event e;
        e.id = QStringLiteral("series-%1").arg(i);
        e.uid = e.id;
        e.title = QStringLiteral("Series");
        e.recurrence_rule = QLatin1String(kRules[rule]);
        if (ending == 1)
            e.recurrence_rule += QStringLiteral(";COUNT=") + QLatin1String(kLiveCounts[rule]);
        else if (ending == 2)
            e.recurrence_rule += QStringLiteral(";UNTIL=20360101T000000Z");
        // The same wall time and zone as the calendar's series, on a date `years` back.
        e.start_time = seriesStart(i);
        e.start_time.setDate(kWeekStart.date().addYears(-years).addDays(-(i % 300)));
        e.end_time = e.start_time.addSecs(3600);
        events.append(e);
    }
    return events;
}

void BM_WeekOfSeries(benchmark::State &state)
{
    expandWeek(state, seriesOfAge(int(state.range(0)), int(state.range(1))));
}
BENCHMARK(BM_WeekOfSeries)
    ->ArgsProduct({{1, 15, 100}, {0, 1, 2}})
    ->ArgNames({"years", "ending"})
    ->Unit(benchmark::kMillisecond);

// The same with COUNT, one frequency at a time (DAILY, WEEKLY, MONTHLY, YEARLY as 0 to 3): the
// periods before the week are counted, not walked, so the age of a series should not show.
void BM_WeekOfCountedSeries(benchmark::State &state)
{
    const int years = int(state.range(0));
    const int frequency = int(state.range(1));
    // A count that lost its place would look fast: over a quarter, where every series shows,
    // the counted series must show what the same series without an end show.
    const auto shown = [&](int ending) {
        QStringList ids;
        const QList<Event> events = seriesOfAge(years, ending, frequency);
        for (const Event &e : expandOccurrences(events, kWeekStart, kWeekStart.addDays(91)))
            ids.append(e.uid + e.recurrence_id);
        return ids;
    };
    const QStringList counted = shown(1);
    if (counted.isEmpty() || counted != shown(0)) {
        state.SkipWithError("the counted series do not show what the open-ended ones show");
        return;
    }
    expandWeek(state, seriesOfAge(years, 1, frequency));
}
BENCHMARK(BM_WeekOfCountedSeries)
    ->ArgsProduct({{1, 100}, {0, 1, 2, 3}})
    ->ArgNames({"years", "freq"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    LocalZone::pin();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
