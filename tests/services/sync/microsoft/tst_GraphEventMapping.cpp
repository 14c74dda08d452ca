#include "services/sync/microsoft/CalendarClient.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using Microsoft::CalendarClient;

class tst_EventMapping : public QObject
{
    Q_OBJECT

private slots:
    void recurrenceBothWays_data();
    void recurrenceBothWays();
    void lateDaysWrittenExactly_data();
    void lateDaysWrittenExactly();
    void refusedRules_data();
    void refusedRules();
    void windowsZones_data();
    void windowsZones();
    void listedEventReadsWhole();
    void patchCarriesOnlyChanges_data();
    void patchCarriesOnlyChanges();
};

namespace {

QJsonObject json(const char *text)
{
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

QString compact(const QJsonObject &o)
{
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

const QTimeZone kNewYork("America/New_York");

// An event as a calendar view lists it: times in UTC, the zone it was made in beside them.
const char *kListed = R"({
    "@odata.etag": "W/\"DwAAABYAAAA\"", "id": "AAMk/1+Q=", "changeKey": "DwAAABYAAAA",
    "subject": "Design review", "isAllDay": false, "showAs": "busy",
    "body": {"contentType": "html", "content": "<p>Agenda</p>"},
    "location": {"displayName": "Room 4"},
    "start": {"dateTime": "2026-03-10T14:00:00.0000000", "timeZone": "UTC"},
    "end": {"dateTime": "2026-03-10T15:00:00.0000000", "timeZone": "UTC"},
    "originalStartTimeZone": "Eastern Standard Time",
    "recurrence": {"pattern": {"type": "relativeMonthly", "interval": 1,
                               "daysOfWeek": ["tuesday"], "index": "second"},
                   "range": {"type": "noEnd", "startDate": "2026-03-10"}},
    "isReminderOn": true, "reminderMinutesBeforeStart": 15,
    "onlineMeeting": {"joinUrl": "https://meet.invalid/j/1"},
    "organizer": {"emailAddress": {"address": "ana@example.com", "name": "Ana"}},
    "attendees": [
        {"type": "required", "status": {"response": "tentativelyAccepted"},
         "emailAddress": {"address": "bo@example.com", "name": "Bo"}},
        {"type": "optional", "status": {"response": "none"},
         "emailAddress": {"address": "cy@example.com"}},
        {"type": "required", "emailAddress": {"name": "No address"}}],
    "lastModifiedDateTime": "2026-03-01T10:00:00.1234567Z"
})";

} // namespace

// Each row is read both ways: the rule gives the object, and the object gives the rule back.
void tst_EventMapping::recurrenceBothWays_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<QString>("graph");

    const QDateTime tuesday(QDate(2026, 3, 10), QTime(9, 0), kNewYork);
    const QDateTime utc(QDate(2026, 3, 10), QTime(9, 0), Qt::UTC);
    const QDateTime day(QDate(2026, 3, 10), QTime(0, 0), Qt::UTC);
    QTest::newRow("daily, no end")
        << "FREQ=DAILY" << utc << false
        << R"({"pattern":{"interval":1,"type":"daily"},"range":{"recurrenceTimeZone":"UTC","startDate":"2026-03-10","type":"noEnd"}})";
    QTest::newRow("every third day, counted")
        << "FREQ=DAILY;INTERVAL=3;COUNT=5" << utc << false
        << R"({"pattern":{"interval":3,"type":"daily"},"range":{"numberOfOccurrences":5,"recurrenceTimeZone":"UTC","startDate":"2026-03-10","type":"numbered"}})";
    QTest::newRow("weekly on two days, every other week")
        << "FREQ=WEEKLY;BYDAY=MO,WE;INTERVAL=2;COUNT=10" << utc << false
        << R"({"pattern":{"daysOfWeek":["monday","wednesday"],"firstDayOfWeek":"monday","interval":2,"type":"weekly"},"range":{"numberOfOccurrences":10,"recurrenceTimeZone":"UTC","startDate":"2026-03-10","type":"numbered"}})";
    QTest::newRow("weekly, weeks from Sunday, in New York until a date")
        << "FREQ=WEEKLY;BYDAY=TU;WKST=SU;UNTIL=20260701T035959Z" << tuesday << false
        << R"({"pattern":{"daysOfWeek":["tuesday"],"firstDayOfWeek":"sunday","interval":1,"type":"weekly"},"range":{"endDate":"2026-06-30","recurrenceTimeZone":"Eastern Standard Time","startDate":"2026-03-10","type":"endDate"}})";
    QTest::newRow("absolute monthly")
        << "FREQ=MONTHLY;BYMONTHDAY=10" << utc << false
        << R"({"pattern":{"dayOfMonth":10,"interval":1,"type":"absoluteMonthly"},"range":{"recurrenceTimeZone":"UTC","startDate":"2026-03-10","type":"noEnd"}})";
    // Days some months lack fall on those months' last day.
    const QDateTime lastOfJanuary(QDate(2026, 1, 31), QTime(9, 0), Qt::UTC);
    const QDateTime leapDay(QDate(2028, 2, 29), QTime(9, 0), Qt::UTC);
    QTest::newRow("monthly on the 31st")
        << "FREQ=MONTHLY;BYMONTHDAY=-1" << lastOfJanuary << false
        << R"({"pattern":{"dayOfMonth":31,"interval":1,"type":"absoluteMonthly"},"range":{"recurrenceTimeZone":"UTC","startDate":"2026-01-31","type":"noEnd"}})";
    QTest::newRow("monthly on the 30th")
        << "FREQ=MONTHLY;BYMONTHDAY=28,29,30;BYSETPOS=-1" << utc << false
        << R"({"pattern":{"dayOfMonth":30,"interval":1,"type":"absoluteMonthly"},"range":{"recurrenceTimeZone":"UTC","startDate":"2026-03-10","type":"noEnd"}})";
    QTest::newRow("monthly on the 29th")
        << "FREQ=MONTHLY;BYMONTHDAY=28,29;BYSETPOS=-1" << utc << false
        << R"({"pattern":{"dayOfMonth":29,"interval":1,"type":"absoluteMonthly"},"range":{"recurrenceTimeZone":"UTC","startDate":"2026-03-10","type":"noEnd"}})";
    QTest::newRow("yearly on 29 February")
        << "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1" << leapDay << false
        << R"({"pattern":{"dayOfMonth":29,"interval":1,"month":2,"type":"absoluteYearly"},"range":{"recurrenceTimeZone":"UTC","startDate":"2028-02-29","type":"noEnd"}})";
    QTest::newRow("relative monthly, second Tuesday")
        << "FREQ=MONTHLY;BYDAY=2TU" << tuesday << false
        << R"({"pattern":{"daysOfWeek":["tuesday"],"index":"second","interval":1,"type":"relativeMonthly"},"range":{"recurrenceTimeZone":"Eastern Standard Time","startDate":"2026-03-10","type":"noEnd"}})";
    QTest::newRow("relative monthly, last weekday, quarterly")
        << "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1;INTERVAL=3" << utc << false
        << R"({"pattern":{"daysOfWeek":["monday","tuesday","wednesday","thursday","friday"],"index":"last","interval":3,"type":"relativeMonthly"},"range":{"recurrenceTimeZone":"UTC","startDate":"2026-03-10","type":"noEnd"}})";
    QTest::newRow("absolute yearly, all day, until a date")
        << "FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=10;UNTIL=20300310" << day << true
        << R"({"pattern":{"dayOfMonth":10,"interval":1,"month":3,"type":"absoluteYearly"},"range":{"endDate":"2030-03-10","startDate":"2026-03-10","type":"endDate"}})";
    QTest::newRow("relative yearly, last Sunday of October")
        << "FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU" << utc << false
        << R"({"pattern":{"daysOfWeek":["sunday"],"index":"last","interval":1,"month":10,"type":"relativeYearly"},"range":{"recurrenceTimeZone":"UTC","startDate":"2026-03-10","type":"noEnd"}})";
}

void tst_EventMapping::recurrenceBothWays()
{
    QFETCH(QString, rule);
    QFETCH(QDateTime, start);
    QFETCH(bool, allDay);
    QFETCH(QString, graph);
    QString error;
    QCOMPARE(compact(CalendarClient::rruleToGraphRecurrence(rule, start, allDay, &error)), graph);
    QVERIFY(error.isEmpty());
    QCOMPARE(
        CalendarClient::graphRecurrenceToRrule(json(graph.toUtf8().constData()), start, allDay),
        rule);
}

void tst_EventMapping::lateDaysWrittenExactly_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QString>("graph"); // empty: refused
    QTest::addColumn<QStringList>("cancelled"); // the dates Graph adds, cancelled after writing

    const QDateTime lastOfJanuary(QDate(2026, 1, 31), QTime(9, 0), Qt::UTC);
    QTest::newRow("every last day up to the 31st")
        << "FREQ=MONTHLY;BYMONTHDAY=28,29,30,31;BYSETPOS=-1" << lastOfJanuary
        << R"({"pattern":{"dayOfMonth":31,"interval":1,"type":"absoluteMonthly"},"range":{"recurrenceTimeZone":"UTC","startDate":"2026-01-31","type":"noEnd"}})"
        << QStringList();
    // Six 31sts end in October; Graph's count would take the last days between as occurrences.
    QTest::newRow("the 31st, six times")
        << "FREQ=MONTHLY;BYMONTHDAY=31;COUNT=6" << lastOfJanuary
        << R"({"pattern":{"dayOfMonth":31,"interval":1,"type":"absoluteMonthly"},"range":{"endDate":"2026-10-31","recurrenceTimeZone":"UTC","startDate":"2026-01-31","type":"endDate"}})"
        << LarkTest::strings({"2026-02-28", "2026-04-30", "2026-06-30", "2026-09-30"});
    QTest::newRow("the 30th until a date, in New York")
        << "FREQ=MONTHLY;BYMONTHDAY=30;UNTIL=20260501T035959Z"
        << QDateTime(QDate(2026, 1, 30), QTime(9, 0), kNewYork)
        << R"({"pattern":{"dayOfMonth":30,"interval":1,"type":"absoluteMonthly"},"range":{"endDate":"2026-04-30","recurrenceTimeZone":"Eastern Standard Time","startDate":"2026-01-30","type":"endDate"}})"
        << LarkTest::strings({"2026-02-28"});
    QTest::newRow("29 February, twice")
        << "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29;COUNT=2"
        << QDateTime(QDate(2028, 2, 29), QTime(0, 0), Qt::UTC)
        << R"({"pattern":{"dayOfMonth":29,"interval":1,"month":2,"type":"absoluteYearly"},"range":{"endDate":"2032-02-29","recurrenceTimeZone":"UTC","startDate":"2028-02-29","type":"endDate"}})"
        << LarkTest::strings({"2029-02-28", "2030-02-28", "2031-02-28"});
    // Without an end the added dates would never end either.
    QTest::newRow("the 31st for ever")
        << "FREQ=MONTHLY;BYMONTHDAY=31" << lastOfJanuary << QString() << QStringList();
    QTest::newRow("the 31st until 2100: too many to cancel")
        << "FREQ=MONTHLY;BYMONTHDAY=31;UNTIL=21000101" << lastOfJanuary << QString()
        << QStringList();
}

// Graph moves a day that shorter months lack to their last day; the rule skips those months.
// The series is written so that Graph ends up with the rule's dates alone.
void tst_EventMapping::lateDaysWrittenExactly()
{
    QFETCH(QString, rule);
    QFETCH(QDateTime, start);
    QFETCH(QString, graph);
    QFETCH(QStringList, cancelled);
    QString error;
    const bool allDay = false;
    QCOMPARE(compact(CalendarClient::rruleToGraphRecurrence(rule, start, allDay, &error)),
             graph.isEmpty() ? QStringLiteral("{}") : graph);
    QCOMPARE(error.isEmpty(), !graph.isEmpty());
    QStringList dates;
    for (const QDate &d : CalendarClient::graphOnlyDates(rule, start, allDay))
        dates << d.toString(Qt::ISODate);
    QCOMPARE(dates, cancelled);
}

void tst_EventMapping::refusedRules_data()
{
    QTest::addColumn<QString>("rule");
    QTest::newRow("hourly") << "FREQ=HOURLY";
    QTest::newRow("fifth Monday") << "FREQ=MONTHLY;BYDAY=5MO";
    QTest::newRow("ordinal in a weekly rule") << "FREQ=WEEKLY;BYDAY=2MO";
    QTest::newRow("two days of the month") << "FREQ=MONTHLY;BYMONTHDAY=1,15";
    QTest::newRow("count and until") << "FREQ=DAILY;COUNT=3;UNTIL=20260401";
    QTest::newRow("by hour") << "FREQ=DAILY;BYHOUR=9,17";
}

// A rule Graph cannot hold is refused, not sent as a one-off event.
void tst_EventMapping::refusedRules()
{
    QFETCH(QString, rule);
    Event e;
    e.title = QStringLiteral("Series");
    e.start_time = QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    e.recurrence_rule = rule;
    QString error;
    QVERIFY(CalendarClient::eventToJson(e, &error).isEmpty());
    QVERIFY(error.contains(rule));
}

void tst_EventMapping::windowsZones_data()
{
    QTest::addColumn<QString>("graphName");
    QTest::addColumn<QString>("iana"); // empty: unknown
    QTest::addColumn<QString>("sentBack");
    QTest::newRow("Eastern") << "Eastern Standard Time"
                             << "America/New_York"
                             << "Eastern Standard Time";
    QTest::newRow("W. Europe") << "W. Europe Standard Time"
                               << "Europe/Berlin"
                               << "W. Europe Standard Time";
    QTest::newRow("Tokyo") << "Tokyo Standard Time"
                           << "Asia/Tokyo"
                           << "Tokyo Standard Time";
    QTest::newRow("IANA id") << "Europe/Paris"
                             << "Europe/Paris"
                             << "Romance Standard Time";
    QTest::newRow("UTC") << "UTC"
                         << "UTC"
                         << "UTC";
    QTest::newRow("Graph's own UTC") << "tzone://Microsoft/Utc"
                                     << "UTC"
                                     << "UTC";
    QTest::newRow("unknown") << "Mars Standard Time" << QString() << QString();
    QTest::newRow("a path is no zone") << "../../etc/passwd" << QString() << QString();
}

void tst_EventMapping::windowsZones()
{
    QFETCH(QString, graphName);
    QFETCH(QString, iana);
    QFETCH(QString, sentBack);
    const std::optional<QTimeZone> zone = CalendarClient::zoneFromGraph(graphName);
    QCOMPARE(zone.has_value(), !iana.isEmpty());
    if (iana.isEmpty())
        return;
    QCOMPARE(*zone == QTimeZone::utc() ? QStringLiteral("UTC") : QString::fromUtf8(zone->id()),
             iana);
    QCOMPARE(CalendarClient::zoneToGraph(*zone), sentBack);
}

void tst_EventMapping::listedEventReadsWhole()
{
    const Event e = CalendarClient::eventFromJson(json(kListed), QStringLiteral("cal-1"));
    QCOMPARE(e.calendar_id, QStringLiteral("cal-1"));
    QCOMPARE(e.provider_event_id, QStringLiteral("AAMk/1+Q="));
    QCOMPARE(e.uid, e.provider_event_id);
    QCOMPARE(e.etag, QStringLiteral("W/\"DwAAABYAAAA\""));
    QCOMPARE(e.description, QStringLiteral("<p>Agenda</p>"));
    QCOMPARE(e.location, QStringLiteral("Room 4"));
    QCOMPARE(e.conference_url, QStringLiteral("https://meet.invalid/j/1"));
    // 14:00 UTC is 10:00 in New York, which the series keeps across DST changes.
    QCOMPARE(e.timezone, QStringLiteral("America/New_York"));
    QCOMPARE(e.start_time, QDateTime(QDate(2026, 3, 10), QTime(10, 0), kNewYork));
    QCOMPARE(e.start_time.timeZone(), kNewYork);
    QCOMPARE(*e.end_time, QDateTime(QDate(2026, 3, 10), QTime(15, 0), Qt::UTC));
    QCOMPARE(e.recurrence_rule, QStringLiteral("FREQ=MONTHLY;BYDAY=2TU"));
    QCOMPARE(e.status, QStringLiteral("confirmed"));
    QCOMPARE(e.reminders.size(), 1);
    QCOMPARE(e.reminders.first().minutes_before, 15);
    QCOMPARE(e.organizer_email, QStringLiteral("ana@example.com"));
    QCOMPARE(e.attendees.size(), 2);
    QCOMPARE(e.attendees.at(0).status, QStringLiteral("tentative"));
    QCOMPARE(e.attendees.at(1).status, QStringLiteral("needs-action"));
    QCOMPARE(e.attendees.at(1).role, QStringLiteral("optional"));
    QCOMPARE(e.last_modified, QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0, 123), Qt::UTC));

    // An exception of that series fills its original slot, named in UTC.
    QJsonObject exception = json(kListed);
    exception.remove(QStringLiteral("recurrence"));
    exception.insert(QStringLiteral("id"), QStringLiteral("AAMk/1+Q=_20260414"));
    exception.insert(QStringLiteral("type"), QStringLiteral("exception"));
    exception.insert(QStringLiteral("seriesMasterId"), QStringLiteral("AAMk/1+Q="));
    exception.insert(QStringLiteral("originalStart"), QStringLiteral("2026-04-14T14:00:00Z"));
    const Event moved = CalendarClient::eventFromJson(exception, QStringLiteral("cal-1"));
    QCOMPARE(moved.uid, QStringLiteral("AAMk/1+Q="));
    QCOMPARE(moved.master_event_uid, QStringLiteral("AAMk/1+Q="));
    QCOMPARE(moved.recurrence_id, QStringLiteral("20260414T140000Z"));
    QVERIFY(moved.recurrence_rule.isEmpty());
}

void tst_EventMapping::patchCarriesOnlyChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("patch");
    QTest::newRow("nothing") << "none"
                             << "{}";
    QTest::newRow("title") << "title"
                           << R"({"subject":"Design review v2"})";
    QTest::newRow("cleared location") << "location"
                                      << R"({"location":{"displayName":""}})";
    QTest::newRow("HTML body stays HTML")
        << "description"
        << R"({"body":{"content":"<p>New agenda</p>","contentType":"html"}})";
    QTest::newRow("tentative") << "status"
                               << R"({"showAs":"tentative"})";
    QTest::newRow("reminder off") << "reminder"
                                  << R"({"isReminderOn":false})";
    QTest::newRow("moved series sends its times and pattern")
        << "start"
        << R"({"end":{"dateTime":"2026-03-10T12:00:00","timeZone":"Eastern Standard Time"},"isAllDay":false,"recurrence":{"pattern":{"daysOfWeek":["tuesday"],"index":"second","interval":1,"type":"relativeMonthly"},"range":{"recurrenceTimeZone":"Eastern Standard Time","startDate":"2026-03-10","type":"noEnd"}},"start":{"dateTime":"2026-03-10T11:00:00","timeZone":"Eastern Standard Time"}})";
    QTest::newRow("series ends") << "rule"
                                 << R"({"recurrence":null})";
}

void tst_EventMapping::patchCarriesOnlyChanges()
{
    QFETCH(QString, change);
    QFETCH(QString, patch);
    const QJsonObject base = json(kListed);
    Event e = CalendarClient::eventFromJson(base, QStringLiteral("cal-1"));
    if (change == QLatin1String("title"))
        e.title = QStringLiteral("Design review v2");
    else if (change == QLatin1String("location"))
        e.location.clear();
    else if (change == QLatin1String("description"))
        e.description = QStringLiteral("<p>New agenda</p>");
    else if (change == QLatin1String("status"))
        e.status = QStringLiteral("tentative");
    else if (change == QLatin1String("reminder"))
        e.reminders.clear();
    else if (change == QLatin1String("start")) {
        e.start_time = e.start_time.addSecs(3600);
        e.end_time = e.end_time->addSecs(3600);
    } else if (change == QLatin1String("rule"))
        e.recurrence_rule.clear();
    QString error;
    QCOMPARE(compact(CalendarClient::eventPatch(e, base, &error)), patch);
    QVERIFY(error.isEmpty());
}

QTEST_GUILESS_MAIN(tst_EventMapping)
#include "tst_GraphEventMapping.moc"
