#include "services/sync/google/CalendarClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QTimeZone>

using Google::CalendarClient;

Q_DECLARE_METATYPE(Event)

namespace {

QJsonObject json(const char *text)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(text), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("bad JSON in a test row: %s", text);
    return doc.object();
}

QString when(const QDateTime &t)
{
    const QString text = t.toString(Qt::ISODate);
    switch (t.timeSpec()) {
    case Qt::TimeZone:
        return text + QLatin1Char(' ') + QString::fromUtf8(t.timeZone().id());
    case Qt::LocalTime:
        return text + QStringLiteral(" local");
    default:
        return text;
    }
}

// The named fields of an event as "name=value" texts.
QStringList fields(const Event &e, const QStringList &names)
{
    QStringList out;
    for (const QString &name : names) {
        QString v;
        if (name == QLatin1String("uid"))
            v = e.uid + QLatin1Char(' ') + e.provider_event_id + QLatin1Char(' ') + e.etag;
        else if (name == QLatin1String("title"))
            v = e.title;
        else if (name == QLatin1String("start"))
            v = when(e.start_time);
        else if (name == QLatin1String("end"))
            v = e.end_time ? when(*e.end_time) : QStringLiteral("none");
        else if (name == QLatin1String("allDay"))
            v = e.is_all_day ? QStringLiteral("yes") : QStringLiteral("no");
        else if (name == QLatin1String("timezone"))
            v = e.timezone;
        else if (name == QLatin1String("rule"))
            v = e.recurrence_rule;
        else if (name == QLatin1String("dates"))
            v = e.exception_dates + QLatin1Char(' ') + e.recurrence_dates;
        else if (name == QLatin1String("instance"))
            v = e.master_event_uid + QLatin1Char(' ') + e.recurrence_id;
        else if (name == QLatin1String("status"))
            v = e.status;
        else if (name == QLatin1String("links"))
            v = e.event_url + QLatin1Char(' ') + e.conference_url;
        else if (name == QLatin1String("organizer"))
            v = e.organizer_name + QStringLiteral(" <") + e.organizer_email + QLatin1Char('>');
        else if (name == QLatin1String("modified"))
            v = e.last_modified.toString(Qt::ISODate) + QLatin1Char(' ')
                + e.created.toString(Qt::ISODate) + QLatin1Char(' ') + QString::number(e.sequence);
        else if (name == QLatin1String("attendees")) {
            QStringList parts;
            for (const Attendee &a : e.attendees)
                parts << a.email + QLatin1Char('/') + a.name + QLatin1Char('/') + a.role
                        + QLatin1Char('/') + a.status;
            v = parts.join(QLatin1Char(';'));
        } else if (name == QLatin1String("reminders")) {
            QStringList parts;
            for (const Reminder &r : e.reminders)
                parts << r.action + QLatin1Char(':') + QString::number(r.minutes_before);
            v = parts.join(QLatin1Char(';'));
        }
        out << name + QLatin1Char('=') + v;
    }
    return out;
}

QStringList namesOf(const QStringList &expected)
{
    QStringList names;
    for (const QString &line : expected)
        names << line.section(QLatin1Char('='), 0, 0);
    return names;
}

const QTimeZone kBerlin("Europe/Berlin");

Event timed(const QDateTime &start, const QString &zone)
{
    Event e;
    e.title = QStringLiteral("Standup");
    e.start_time = start;
    e.timezone = zone;
    return e;
}

Event allDay(const QDate &day, std::optional<QDate> endDay)
{
    Event e;
    e.title = QStringLiteral("Holiday");
    e.is_all_day = true;
    e.start_time = QDateTime(day, QTime(0, 0), Qt::LocalTime);
    if (endDay)
        e.end_time = QDateTime(*endDay, QTime(0, 0), Qt::LocalTime);
    return e;
}

} // namespace

class TestEventMapping : public QObject
{
    Q_OBJECT
private slots:
    void fromJson_data();
    void fromJson();
    void toJson_data();
    void toJson();
    void updateKeepsWhatIsNotOurs();
};

void TestEventMapping::fromJson_data()
{
    QTest::addColumn<QByteArray>("resource");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("timed in a zone")
        << QByteArray(R"({"id":"e1","etag":"\"3\"","summary":"Standup","sequence":2,
            "start":{"dateTime":"2026-03-02T09:00:00+01:00","timeZone":"Europe/Berlin"},
            "end":{"dateTime":"2026-03-02T09:30:00+01:00","timeZone":"Europe/Berlin"},
            "created":"2026-02-01T10:00:00.000Z","updated":"2026-03-01T09:30:00Z"})")
        << QStringList {QStringLiteral("uid=e1 e1 \"3\""),
                        QStringLiteral("title=Standup"),
                        QStringLiteral("start=2026-03-02T09:00:00+01:00 Europe/Berlin"),
                        QStringLiteral("end=2026-03-02T09:30:00+01:00 Europe/Berlin"),
                        QStringLiteral("allDay=no"),
                        QStringLiteral("timezone=Europe/Berlin"),
                        QStringLiteral("modified=2026-03-01T09:30:00Z 2026-02-01T10:00:00Z 2")};
    QTest::newRow("all-day without a title")
        << QByteArray(R"({"id":"e2","start":{"date":"2026-03-01"},"end":{"date":"2026-03-02"}})")
        << QStringList {QStringLiteral("title=Untitled Event"),
                        QStringLiteral("start=2026-03-01T00:00:00 local"),
                        QStringLiteral("end=2026-03-02T00:00:00 local"),
                        QStringLiteral("allDay=yes"), QStringLiteral("timezone=UTC")};
    QTest::newRow("series with date lines")
        << QByteArray(R"({"id":"s","start":{"dateTime":"2026-03-02T09:00:00+01:00",
            "timeZone":"Europe/Berlin"},"recurrence":["EXDATE;TZID=Europe/Berlin:20260309T090000",
            "RRULE:FREQ=WEEKLY;BYDAY=MO","RRULE:FREQ=DAILY","RDATE;VALUE=DATE:20260311"]})")
        << QStringList {QStringLiteral("rule=FREQ=WEEKLY;BYDAY=MO"),
                        QStringLiteral("dates=[\"20260309T080000Z\"] [\"20260311\"]"),
                        QStringLiteral("instance= ")};
    QTest::newRow("rule in lower case") << QByteArray(
        R"({"id":"s","start":{"date":"2026-03-01"},"recurrence":["rrule:FREQ=DAILY"]})")
                                        << QStringList {QStringLiteral("rule=")};
    QTest::newRow("moved instance")
        << QByteArray(R"({"id":"s_20260309T080000Z","recurringEventId":"s",
            "originalStartTime":{"dateTime":"2026-03-09T09:00:00+01:00","timeZone":"Europe/Berlin"},
            "start":{"dateTime":"2026-03-10T11:00:00+01:00","timeZone":"Europe/Berlin"},
            "end":{"dateTime":"2026-03-10T12:00:00+01:00","timeZone":"Europe/Berlin"}})")
        << QStringList {QStringLiteral("uid=s_20260309T080000Z s_20260309T080000Z "),
                        QStringLiteral("instance=s 20260309T080000Z"),
                        QStringLiteral("start=2026-03-10T11:00:00+01:00 Europe/Berlin"),
                        QStringLiteral("status=confirmed")};
    QTest::newRow("cancelled instance")
        << QByteArray(R"({"id":"s_20260316T080000Z","status":"cancelled","recurringEventId":"s",
            "originalStartTime":{"dateTime":"2026-03-16T09:00:00+01:00","timeZone":"Europe/Berlin"}})")
        << QStringList {QStringLiteral("instance=s 20260316T080000Z"),
                        QStringLiteral("start=2026-03-16T09:00:00+01:00 Europe/Berlin"),
                        QStringLiteral("status=cancelled")};
    QTest::newRow("attendees") << QByteArray(R"({"id":"a","attendees":[
            {"email":"boss@x.example","organizer":true,"optional":true,"responseStatus":"accepted"},
            {"email":"opt@x.example","optional":true,"responseStatus":"needsAction"},
            {"displayName":"No address"},
            {"email":"t@x.example","displayName":"Tee","responseStatus":"Tentative"}]})")
                               << QStringList {
                                      QStringLiteral("attendees=boss@x.example//chair/accepted;"
                                                     "opt@x.example//optional/needs-action;"
                                                     "t@x.example/Tee/required/tentative")};
    QTest::newRow("reminders") << QByteArray(
        R"({"id":"r","reminders":{"useDefault":false,"overrides":[
            {"method":"email","minutes":30},{"method":"popup"},{"minutes":10},
            {"method":"popup","minutes":-5},{"method":"popup","minutes":2.5}]}})")
                               << QStringList {QStringLiteral("reminders=email:30;display:10")};
    QTest::newRow("status, links and organizer")
        << QByteArray(R"({"id":"l","status":"CANCELLED","htmlLink":"https://cal.invalid/e",
            "conferenceData":{"entryPoints":[{"entryPointType":"phone","uri":"tel:1"},
            {"entryPointType":"video","uri":"https://meet.invalid/abc"}]},
            "organizer":{"email":"o@x.example","displayName":"Olga"}})")
        << QStringList {QStringLiteral("status=confirmed"),
                        QStringLiteral("links=https://cal.invalid/e https://meet.invalid/abc"),
                        QStringLiteral("organizer=Olga <o@x.example>")};
}

void TestEventMapping::fromJson()
{
    QFETCH(QByteArray, resource);
    QFETCH(QStringList, expected);

    const QJsonObject item = json(resource.constData());
    const Event e = CalendarClient::eventFromJson(item, QStringLiteral("cal-1"));
    QCOMPARE(fields(e, namesOf(expected)), expected);
    QCOMPARE(e.calendar_id, QStringLiteral("cal-1"));
    QCOMPARE(e.id.size(), 36);
    QCOMPARE(e.sync_status, QStringLiteral("synced"));
    // The resource is kept whole, for the next update to write over.
    QCOMPARE(QJsonDocument::fromJson(e.raw_icalendar.toUtf8()).object(), item);
}

void TestEventMapping::toJson_data()
{
    QTest::addColumn<Event>("event");
    QTest::addColumn<QByteArray>("expected");

    const QDateTime nine(QDate(2026, 3, 2), QTime(9, 0), kBerlin);
    Event zoned = timed(nine, QStringLiteral("Europe/Berlin"));
    zoned.end_time = nine.addSecs(1800);
    zoned.description = QStringLiteral("Daily");
    QTest::newRow("timed in a zone")
        << zoned << QByteArray(R"({"summary":"Standup","description":"Daily","status":"confirmed",
            "start":{"dateTime":"2026-03-02T08:00:00.000Z","timeZone":"Europe/Berlin"},
            "end":{"dateTime":"2026-03-02T08:30:00.000Z","timeZone":"Europe/Berlin"}})");
    QTest::newRow("timed without an end")
        << timed(QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC), QStringLiteral("UTC"))
        << QByteArray(R"({"summary":"Standup","status":"confirmed",
            "start":{"dateTime":"2026-03-02T09:00:00.000Z","timeZone":"UTC"},
            "end":{"dateTime":"2026-03-02T10:00:00.000Z","timeZone":"UTC"}})");
    QTest::newRow("all-day without an end")
        << allDay(QDate(2026, 3, 1), std::nullopt)
        << QByteArray(R"({"summary":"Holiday","status":"confirmed",
            "start":{"date":"2026-03-01"},"end":{"date":"2026-03-02"}})");
    QTest::newRow("all-day ending on its start date")
        << allDay(QDate(2026, 3, 1), QDate(2026, 3, 1))
        << QByteArray(R"({"summary":"Holiday","status":"confirmed",
            "start":{"date":"2026-03-01"},"end":{"date":"2026-03-02"}})");

    Event series = zoned;
    series.description.clear();
    series.end_time.reset();
    series.recurrence_rule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO");
    series.exception_dates = QStringLiteral("[\"20260309T080000Z\",\"20260316\"]");
    QTest::newRow("series in its zone with exceptions")
        << series << QByteArray(R"({"summary":"Standup","status":"confirmed",
            "start":{"dateTime":"2026-03-02T08:00:00.000Z","timeZone":"Europe/Berlin"},
            "end":{"dateTime":"2026-03-02T09:00:00.000Z","timeZone":"Europe/Berlin"},
            "recurrence":["RRULE:FREQ=WEEKLY;BYDAY=MO","EXDATE:20260309T080000Z",
                          "EXDATE;VALUE=DATE:20260316"]})");

    Event people = timed(QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC), QStringLiteral("UTC"));
    people.end_time = people.start_time.addSecs(600);
    for (const auto &[action, minutes] : {std::pair {"display", 10}, {"email", 30}, {"", 5}}) {
        Reminder r;
        r.action = QString::fromUtf8(action);
        r.minutes_before = minutes;
        people.reminders << r;
    }
    Attendee a;
    a.email = QStringLiteral("a@x.example");
    a.name = QStringLiteral("Ann");
    a.role = QStringLiteral("optional");
    a.status = QStringLiteral("accepted");
    Attendee b;
    b.email = QStringLiteral("b@x.example");
    b.role = QStringLiteral("required");
    b.status = QStringLiteral("needs-action");
    people.attendees = {a, b};
    QTest::newRow("reminders and attendees")
        << people << QByteArray(R"({"summary":"Standup","status":"confirmed",
            "start":{"dateTime":"2026-03-02T09:00:00.000Z","timeZone":"UTC"},
            "end":{"dateTime":"2026-03-02T09:10:00.000Z","timeZone":"UTC"},
            "reminders":{"useDefault":false,"overrides":[{"method":"popup","minutes":10},
                {"method":"email","minutes":30},{"method":"popup","minutes":5}]},
            "attendees":[{"email":"a@x.example","displayName":"Ann","optional":true,
                "responseStatus":"accepted"},{"email":"b@x.example","responseStatus":"needsAction"}]})");
}

void TestEventMapping::toJson()
{
    QFETCH(Event, event);
    QFETCH(QByteArray, expected);

    const QJsonObject out = CalendarClient::eventToJson(event);
    QCOMPARE(QJsonDocument(out).toJson(QJsonDocument::Compact),
             QJsonDocument(json(expected.constData())).toJson(QJsonDocument::Compact));
}

void TestEventMapping::updateKeepsWhatIsNotOurs()
{
    const QJsonObject stored = json(R"({"id":"e1","etag":"\"5\"","colorId":"7",
        "description":"Old notes","conferenceData":{"conferenceId":"abc"},
        "start":{"date":"2026-03-01"},"end":{"date":"2026-03-02"},
        "reminders":{"useDefault":true},
        "attendees":[{"email":"A@x.example","self":true,"comment":"hi","responseStatus":"accepted"},
                     {"email":"gone@x.example"}]})");
    Event e = CalendarClient::eventFromJson(stored, QStringLiteral("cal"));
    e.description.clear();
    e.attendees.removeLast();
    e.attendees[0].status = QStringLiteral("declined");

    const QJsonObject out = CalendarClient::eventToJson(e, stored);
    QCOMPARE(out.value(QLatin1String("colorId")).toString(), QStringLiteral("7"));
    QCOMPARE(out.value(QLatin1String("conferenceData")),
             stored.value(QLatin1String("conferenceData")));
    QVERIFY(!out.contains(QLatin1String("description")));
    // It came without a title and still has none; the calendar's default reminders still apply.
    QVERIFY(!out.contains(QLatin1String("summary")));
    QCOMPARE(out.value(QLatin1String("reminders")), stored.value(QLatin1String("reminders")));
    QCOMPARE(
        QJsonDocument(out.value(QLatin1String("attendees")).toArray())
            .toJson(QJsonDocument::Compact),
        QByteArray(
            R"([{"comment":"hi","email":"A@x.example","responseStatus":"declined","self":true}])"));

    // Reminders removed here are removed there, not replaced by the calendar's defaults.
    QJsonObject withReminders = stored;
    withReminders.insert(
        QStringLiteral("reminders"),
        json(R"({"useDefault":false,"overrides":[{"method":"popup","minutes":5}]})"));
    e.reminders.clear();
    QCOMPARE(CalendarClient::eventToJson(e, withReminders).value(QLatin1String("reminders")),
             QJsonValue(json(R"({"useDefault":false,"overrides":[]})")));

    // A series' cancelled date follows its start an hour later, and to its date when all-day.
    const QJsonObject series = json(R"({"id":"s","recurrence":["RRULE:FREQ=WEEKLY",
        "EXDATE;TZID=Europe/Berlin:20260323T090000"],"end":{"dateTime":"2026-03-02T10:00:00+01:00"},
        "start":{"dateTime":"2026-03-02T09:00:00+01:00","timeZone":"Europe/Berlin"}})");
    Event moved = CalendarClient::eventFromJson(series, QStringLiteral("cal"));
    moved.start_time = moved.start_time.addSecs(3600);
    const auto sent = [&](const QJsonObject &stored = QJsonObject()) {
        return CalendarClient::eventToJson(moved, stored.isEmpty() ? series : stored)
            .value(QLatin1String("recurrence"))
            .toArray()
            .last()
            .toString();
    };
    QCOMPARE(sent(), QStringLiteral("EXDATE:20260323T090000Z"));
    moved.is_all_day = true;
    QCOMPARE(sent(), QStringLiteral("EXDATE;VALUE=DATE:20260323"));

    // Retitled, an hourly series keeps the second 01:30 of the night clocks go back cancelled.
    const QJsonObject hourly = json(R"({"id":"h","recurrence":["RRULE:FREQ=HOURLY;COUNT=4",
        "EXDATE:20261101T063000Z"],"start":{"dateTime":"2026-11-01T00:30:00-04:00",
        "timeZone":"America/New_York"},"end":{"dateTime":"2026-11-01T01:00:00-04:00"}})");
    moved = CalendarClient::eventFromJson(hourly, QStringLiteral("cal"));
    moved.title = QStringLiteral("Night watch");
    QCOMPARE(sent(hourly), QStringLiteral("EXDATE:20261101T063000Z"));
}

QTEST_GUILESS_MAIN(TestEventMapping)
#include "tst_GoogleEventMapping.moc"
