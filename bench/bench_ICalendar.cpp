// Reading a large calendar feed: our event reader against libical on the same 10,000-event file.
#include "model/ICalendar.h"

#include <benchmark/benchmark.h>
#include <libical/ical.h>

namespace {

// A feed shaped like what big web calendars export: one zone block, then events with folded
// descriptions, alarms and, for every fifth, a weekly rule with exceptions. The zone is named
// by its IANA id, or by a name only the file's own definition explains.
QByteArray makeFeed(const QByteArray &tzid)
{
    QByteArray out;
    out.reserve(6 * 1024 * 1024);
    out += "BEGIN:VCALENDAR\r\nPRODID:-//Example Web Calendar//EN\r\nVERSION:2.0\r\n"
           "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\n"
           "TZOFFSETTO:+0200\r\nDTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-"
           "1SU\r\n"
           "END:DAYLIGHT\r\nBEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
           "DTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:"
           "STANDARD\r\n"
           "END:VTIMEZONE\r\n";
    const QDate first(2020, 1, 1);
    for (int i = 0; i < 10000; ++i) {
        const QDate day = first.addDays(i / 8);
        const QByteArray date = day.toString(QStringLiteral("yyyyMMdd")).toLatin1();
        const QByteArray hour = QByteArray::number(8 + i % 8).rightJustified(2, '0');
        const QByteArray n = QByteArray::number(i);
        out += "BEGIN:VEVENT\r\n";
        out += "DTSTART;TZID=Europe/Berlin:" + date + "T" + hour + "0000\r\n";
        out += "DTEND;TZID=Europe/Berlin:" + date + "T" + hour + "4500\r\n";
        if (i % 5 == 0) {
            out += "RRULE:FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20301231T235959Z\r\n";
            out += "EXDATE;TZID=Europe/Berlin:"
                + day.addDays(7).toString(QStringLiteral("yyyyMMdd")).toLatin1() + "T" + hour
                + "0000," + day.addDays(14).toString(QStringLiteral("yyyyMMdd")).toLatin1() + "T"
                + hour + "0000\r\n";
        }
        out += "DTSTAMP:20240110T120000Z\r\n";
        out += "ORGANIZER;CN=Organiser " + n + ":mailto:organiser" + n + "@example.com\r\n";
        out += "UID:" + n + "-k2j3h4g5f6d7s8a9@example.com\r\n";
        out += "DESCRIPTION:Meeting " + n
            + "\\, usual agenda: status\\; risks\\; next steps.\\nNot\r\n"
              " es: https://docs.example.com/notes/"
            + n + "\r\n";
        out += "LAST-MODIFIED:20240105T101010Z\r\n";
        out += "LOCATION:Room " + QByteArray::number(i % 40) + "\\, Building B\r\n";
        out += "SEQUENCE:" + QByteArray::number(i % 4) + "\r\nSTATUS:CONFIRMED\r\n";
        out += "SUMMARY:Project meeting " + n + "\r\n";
        out += "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:This is an event reminder\r\n"
               "TRIGGER:-P0DT0H10M0S\r\nEND:VALARM\r\n";
        out += "END:VEVENT\r\n";
    }
    out += "END:VCALENDAR\r\n";
    out.replace("TZID:Europe/Berlin", QByteArray("TZID:" + tzid));
    out.replace("TZID=Europe/Berlin", QByteArray("TZID=" + tzid));
    return out;
}

const QByteArray &feed()
{
    static const QByteArray text = makeFeed("Europe/Berlin");
    return text;
}

const QByteArray &feedWithDefinedZone()
{
    static const QByteArray text = makeFeed("\"Mitteleurop\xc3\xa4ische Zeit\"");
    return text;
}

// The first event starts at 08:00 on 1 January 2020, an hour east of UTC.
void parseFeed(benchmark::State &state, const QByteArray &bytes)
{
    for (auto _ : state) {
        const QList<Event> events = parseICalendarEvents(decodeICalendarText(bytes));
        if (events.size() != 10000 || events.first().start_time.offsetFromUtc() != 3600)
            state.SkipWithError("wrong events");
        benchmark::DoNotOptimize(events);
    }
    state.counters["MB"] = double(bytes.size()) / (1024 * 1024);
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

void BM_ParseEvents(benchmark::State &state)
{
    parseFeed(state, feed());
}

void BM_ParseEventsDefinedZone(benchmark::State &state)
{
    parseFeed(state, feedWithDefinedZone());
}

void BM_ParseEventsLibical(benchmark::State &state)
{
    const QByteArray &bytes = feed();
    for (auto _ : state) {
        icalcomponent *root = icalparser_parse_string(bytes.constData());
        int count = 0;
        for (icalcomponent *c = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); c;
             c = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT))
            ++count;
        if (count != 10000)
            state.SkipWithError("wrong event count");
        icalcomponent_free(root);
    }
    state.counters["MB"] = double(bytes.size()) / (1024 * 1024);
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

} // namespace

BENCHMARK(BM_ParseEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseEventsDefinedZone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseEventsLibical)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
