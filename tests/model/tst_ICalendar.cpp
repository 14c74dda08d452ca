#include "ICalOracle.h"
#include "model/ICalendar.h"
#include "model/ICalendarEventReader.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using Params = QHash<QString, QString>;

namespace {

QString crlf(QStringList lines)
{
    return lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
}

// One VEVENT between the given lines, wrapped in a calendar.
QString eventText(const QStringList &body)
{
    QStringList lines {QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("BEGIN:VEVENT")};
    lines += body;
    lines << QStringLiteral("END:VEVENT") << QStringLiteral("END:VCALENDAR");
    return crlf(lines);
}

Event onlyEvent(const QStringList &body)
{
    const QList<Event> events = parseICalendarEvents(eventText(body));
    return events.size() == 1 ? events.first() : Event();
}

// Clock time and zone of a date-time, so a test sees more than the instant.
QString describe(const QDateTime &dt)
{
    if (!dt.isValid())
        return QStringLiteral("invalid");
    QString zone;
    switch (dt.timeSpec()) {
    case Qt::UTC:
        zone = QStringLiteral("UTC");
        break;
    case Qt::LocalTime:
        zone = QStringLiteral("local");
        break;
    default:
        zone = QString::fromUtf8(dt.timeZone().id());
    }
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + zone;
}

QDateTime utc(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

} // namespace

class tst_ICalendar : public QObject
{
    Q_OBJECT
private slots:
    void unfold_data();
    void unfold();
    void contentLine_data();
    void contentLine();
    void unescape_data();
    void unescape();
    void escapeReadsBack_data();
    void escapeReadsBack();
    void dateTime_data();
    void dateTime();
    void duration_data();
    void duration();

    void eventFields();
    void eventEnd_data();
    void eventEnd();
    void nestedComponentsKeepTheirProperties();
    void dateLists_data();
    void dateLists();
    void relatedTo();
    void componentsAndWrapping();

    void tenMegabyteLines_data();
    void tenMegabyteLines();
    void corpusMatchesLibical_data();
    void corpusMatchesLibical();
    void corpusDetails();
};

// Bytes as a file or a reply brings them: folds are joined before decoding, and whatever the
// byte step leaves is joined by the line reader, with the same lines as joining after decoding.
void tst_ICalendar::unfold_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf and lf mixed")
        << QByteArray("A:1\r\nB:2\nC:3")
        << QStringList {QStringLiteral("A:1"), QStringLiteral("B:2"), QStringLiteral("C:3")};
    QTest::newRow("space and tab continue")
        << QByteArray("DESCRIPTION:Hello\r\n World\r\n\t!\r\n")
        << QStringList {QStringLiteral("DESCRIPTION:HelloWorld!"), QString()};
    QTest::newRow("empty lines kept, leading fold stays a line")
        << QByteArray(" lead\n\nX:1\n")
        << QStringList {QStringLiteral(" lead"), QString(), QStringLiteral("X:1"), QString()};
    QTest::newRow("lone carriage return is not a break")
        << QByteArray("A:1\rB:2\r\r\n") << QStringList {QStringLiteral("A:1\rB:2\r"), QString()};
    QTest::newRow("a fold through a two-byte character")
        << QByteArray("SUMMARY:caf\xC3\r\n \xA9 au lait\r\n")
        << QStringList {QStringLiteral("SUMMARY:caf\u00e9 au lait"), QString()};
    QTest::newRow("a fold through a four-byte character, by a tab after LF")
        << QByteArray("X:\xF0\x9F\n\t\x8E\x89!") << QStringList {QStringLiteral("X:\U0001F389!")};
    QTest::newRow("an empty line continued: its second blank stays")
        << QByteArray("A:1\r\n\r\n  b\r\n c")
        << QStringList {QStringLiteral("A:1"), QStringLiteral(" bc")};
    QTest::newRow("a lone carriage return, a fold, then a line feed")
        << QByteArray("A:1\r\r\n \nB:2")
        << QStringList {QStringLiteral("A:1\r"), QStringLiteral("B:2")};
}

void tst_ICalendar::unfold()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(unfoldICalendarLines(decodeICalendarText(bytes)), lines);
}

void tst_ICalendar::contentLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Params>("params");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << QStringLiteral("summary:a:b") << QStringLiteral("SUMMARY") << Params()
                           << QStringLiteral("a:b");
    QTest::newRow("parameters")
        << QStringLiteral("DTSTART;tzid=Europe/Berlin;VALUE=DATE-TIME:20240115T090000")
        << QStringLiteral("DTSTART")
        << Params {{QStringLiteral("TZID"), QStringLiteral("Europe/Berlin")},
                   {QStringLiteral("VALUE"), QStringLiteral("DATE-TIME")}}
        << QStringLiteral("20240115T090000");
    QTest::newRow("colon inside quotes")
        << QStringLiteral("ORGANIZER;SENT-BY=\"mailto:a@x\":mailto:b@y")
        << QStringLiteral("ORGANIZER")
        << Params {{QStringLiteral("SENT-BY"), QStringLiteral("\"mailto:a@x\"")}}
        << QStringLiteral("mailto:b@y");
    QTest::newRow("semicolon inside quotes")
        << QStringLiteral("ORGANIZER;CN=\"Doe; Jane\";X=1:mailto:j@x")
        << QStringLiteral("ORGANIZER")
        << Params {{QStringLiteral("CN"), QStringLiteral("\"Doe; Jane\"")},
                   {QStringLiteral("X"), QStringLiteral("1")}}
        << QStringLiteral("mailto:j@x");
    QTest::newRow("no colon") << QStringLiteral("begin") << QStringLiteral("BEGIN") << Params()
                              << QString();
    QTest::newRow("later parameter wins, odd parts skipped")
        << QStringLiteral("X;A=1;junk;=v;a=2=3:") << QStringLiteral("X")
        << Params {{QStringLiteral("A"), QStringLiteral("2=3")}} << QString();
    QTest::newRow("unclosed quote falls back to first colon")
        << QStringLiteral("X;A=\"b:c") << QStringLiteral("X")
        << Params {{QStringLiteral("A"), QStringLiteral("\"b")}} << QStringLiteral("c");
}

void tst_ICalendar::contentLine()
{
    QFETCH(QString, line);
    const ContentLine cl = parseContentLine(line);
    QTEST(cl.name, "name");
    QTEST(cl.params, "params");
    QTEST(cl.value, "value");
}

void tst_ICalendar::unescape_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("plain");
    QTest::newRow("escapes") << QStringLiteral("a\\,b\\;c\\\\d\\ne\\Nf")
                             << QStringLiteral("a,b;c\\d\ne\nf");
    QTest::newRow("unknown escape stays") << QStringLiteral("a\\tb") << QStringLiteral("a\\tb");
    QTest::newRow("trailing backslash") << QStringLiteral("a\\") << QStringLiteral("a\\");
    QTest::newRow("escaped backslash before n")
        << QStringLiteral("C:\\\\new") << QStringLiteral("C:\\new");
}

void tst_ICalendar::unescape()
{
    QFETCH(QString, text);
    QTEST(unescapeICalendarText(text), "plain");
}

void tst_ICalendar::escapeReadsBack_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("separators") << QStringLiteral("a,b;c") << QStringLiteral("a\\,b\\;c");
    QTest::newRow("backslash n") << QStringLiteral("C:\\new\\") << QStringLiteral("C:\\\\new\\\\");
    QTest::newRow("line breaks") << QStringLiteral("1\r\n2\n3\r4")
                                 << QStringLiteral("1\\n2\\n3\\n4");
}

void tst_ICalendar::escapeReadsBack()
{
    QFETCH(QString, plain);
    QFETCH(QString, escaped);
    QCOMPARE(escapeICalendarText(plain), escaped);
    QString expected = plain;
    expected.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QCOMPARE(unescapeICalendarText(escaped), expected);
}

void tst_ICalendar::dateTime_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("tzid");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("dateOnly");
    QTest::newRow("date") << QStringLiteral("20240115") << QString()
                          << QStringLiteral("2024-01-15 00:00:00 UTC") << true;
    QTest::newRow("date ignores zone")
        << QStringLiteral("20240115") << QStringLiteral("Europe/Berlin")
        << QStringLiteral("2024-01-15 00:00:00 UTC") << true;
    QTest::newRow("bad date") << QStringLiteral("20240230") << QString()
                              << QStringLiteral("invalid") << true;
    QTest::newRow("utc") << QStringLiteral("20240115T090000Z") << QString()
                         << QStringLiteral("2024-01-15 09:00:00 UTC") << false;
    QTest::newRow("zone") << QStringLiteral("20240115T090000") << QStringLiteral("Europe/Berlin")
                          << QStringLiteral("2024-01-15 09:00:00 Europe/Berlin") << false;
    QTest::newRow("quoted zone") << QStringLiteral("20240715T090000")
                                 << QStringLiteral("\"America/New_York\"")
                                 << QStringLiteral("2024-07-15 09:00:00 America/New_York") << false;
    QTest::newRow("windows zone name")
        << QStringLiteral("20240718T100000") << QStringLiteral("W. Europe Standard Time")
        << QStringLiteral("2024-07-18 10:00:00 Europe/Berlin") << false;
    QTest::newRow("floating") << QStringLiteral("20240115T090000") << QString()
                              << QStringLiteral("2024-01-15 09:00:00 local") << false;
    QTest::newRow("unknown zone is local")
        << QStringLiteral("20240115T090000") << QStringLiteral("Mars/Olympus")
        << QStringLiteral("2024-01-15 09:00:00 local") << false;
    QTest::newRow("bare word is local, not a rule at offset 0")
        << QStringLiteral("20240115T090000") << QStringLiteral("Eastern")
        << QStringLiteral("2024-01-15 09:00:00 local") << false;
    QTest::newRow("rule with an offset")
        << QStringLiteral("20240715T090000") << QStringLiteral("CET-1CEST,M3.5.0,M10.5.0/3")
        << QStringLiteral("2024-07-15 09:00:00 CET-1CEST,M3.5.0,M10.5.0/3") << false;
    QTest::newRow("UTC plus hours is no rule")
        << QStringLiteral("20240115T090000") << QStringLiteral("UTC+1")
        << QStringLiteral("2024-01-15 09:00:00 local") << false;
    QTest::newRow("alias outside the zone list")
        << QStringLiteral("20240115T090000") << QStringLiteral("US/Eastern")
        << QStringLiteral("2024-01-15 09:00:00 US/Eastern") << false;
    QTest::newRow("path before the IANA name")
        << QStringLiteral("20240115T090000")
        << QStringLiteral("/example.org/20050125_1/America/Argentina/Buenos_Aires")
        << QStringLiteral("2024-01-15 09:00:00 America/Argentina/Buenos_Aires") << false;
    QTest::newRow("blank before a date-time") << QStringLiteral(" 20240115T090000Z") << QString()
                                              << QStringLiteral("2024-01-15 09:00:00 UTC") << false;
    QTest::newRow("tab before a date") << QStringLiteral("\t20240115") << QString()
                                       << QStringLiteral("2024-01-15 00:00:00 UTC") << true;
    QTest::newRow("path as zone is local")
        << QStringLiteral("20240115T090000") << QStringLiteral("../../../../dev/zero")
        << QStringLiteral("2024-01-15 09:00:00 local") << false;
    QTest::newRow("bad utc") << QStringLiteral("20241315T090000Z") << QString()
                             << QStringLiteral("invalid") << false;
    QTest::newRow("bad clock") << QStringLiteral("20240115T250000") << QString()
                               << QStringLiteral("invalid") << false;
    QTest::newRow("trailing junk")
        << QStringLiteral("20240115T090000ZZ") << QString() << QStringLiteral("invalid") << false;
    QTest::newRow("empty") << QString() << QString() << QStringLiteral("invalid") << false;
}

void tst_ICalendar::dateTime()
{
    QFETCH(QString, value);
    QFETCH(QString, tzid);
    QFETCH(QString, expected);
    QFETCH(bool, dateOnly);
    Params params;
    if (!tzid.isEmpty())
        params.insert(QStringLiteral("TZID"), tzid);
    bool flag = !dateOnly; // starts out wrong so the call must set it
    QCOMPARE(describe(parseICalendarDateTime(value, params, flag)), expected);
    QCOMPARE(flag, dateOnly);
}

void tst_ICalendar::duration_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("hours and minutes") << QStringLiteral("PT1H30M") << qint64(5400);
    QTest::newRow("day") << QStringLiteral("P1D") << qint64(86400);
    QTest::newRow("week") << QStringLiteral("P1W") << qint64(604800);
    QTest::newRow("minute") << QStringLiteral("PT1M") << qint64(60);
    QTest::newRow("month outside time") << QStringLiteral("P1M") << qint64(2592000);
    QTest::newRow("hour outside time") << QStringLiteral("P1H") << qint64(0);
    QTest::newRow("full") << QStringLiteral("P1DT2H3M4S") << qint64(93784);
    QTest::newRow("plus sign") << QStringLiteral("+PT15M") << qint64(900);
    QTest::newRow("minus sign") << QStringLiteral("-PT15M") << qint64(0);
    QTest::newRow("empty") << QString() << qint64(0);
    QTest::newRow("not a duration") << QStringLiteral("1H") << qint64(0);
    QTest::newRow("number too large") << QStringLiteral("PT99999999999999999999S") << qint64(0);
    QTest::newRow("product too large saturates")
        << QStringLiteral("P999999999999999W") << std::numeric_limits<qint64>::max();
}

void tst_ICalendar::duration()
{
    QFETCH(QString, value);
    QTEST(parseICalendarDuration(value), "seconds");
}

void tst_ICalendar::eventFields()
{
    const Event e = onlyEvent({
        QStringLiteral("uid:u\\,1"),
        QStringLiteral("SUMMARY:Plan\\; review"),
        QStringLiteral("DESCRIPTION:Hello"),
        QStringLiteral(" World\\nline\\tend"),
        QStringLiteral("LOCATION: Room 1\\, 2nd floor"),
        QStringLiteral("DTSTART;TZID=Mars/Olympus:20240115T090000"),
        QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO"),
        QStringLiteral("RECURRENCE-ID;TZID=Europe/Berlin:20240115T090000"),
        QStringLiteral("STATUS:TENTATIVE"),
        QStringLiteral("SEQUENCE:x7"),
        QStringLiteral("URL:https://example.com/e?a=1"),
        QStringLiteral("ORGANIZER;CN=\"Doe, Jane\":MAILTO:jane@example.com"),
        QStringLiteral("CREATED:20240101T000000Z"),
        QStringLiteral("LAST-MODIFIED:garbage"),
    });
    QCOMPARE(e.uid, QStringLiteral("u,1"));
    QCOMPARE(e.title, QStringLiteral("Plan; review"));
    QCOMPARE(e.description, QStringLiteral("HelloWorld\nline\\tend"));
    QCOMPARE(e.location, QStringLiteral(" Room 1, 2nd floor")); // a text keeps its blank
    QCOMPARE(describe(e.start_time), QStringLiteral("2024-01-15 09:00:00 local"));
    QCOMPARE(e.timezone, QStringLiteral("Mars/Olympus"));
    QVERIFY(!e.is_all_day);
    QCOMPARE(e.recurrence_rule, QStringLiteral("FREQ=WEEKLY;BYDAY=MO"));
    QCOMPARE(e.recurrence_id, QStringLiteral("20240115T080000Z"));
    QCOMPARE(e.master_event_uid, QStringLiteral("u,1"));
    QCOMPARE(e.status, QStringLiteral("tentative"));
    QCOMPARE(e.sequence, 0);
    QCOMPARE(e.event_url, QStringLiteral("https://example.com/e?a=1"));
    QCOMPARE(e.organizer_email, QStringLiteral("jane@example.com"));
    QCOMPARE(e.organizer_name, QStringLiteral("\"Doe, Jane\""));
    QCOMPARE(e.created, utc(2024, 1, 1, 0, 0));
    QVERIFY(!e.last_modified.isValid());
    QVERIFY(!e.end_time.has_value());
    QVERIFY(e.reminders.isEmpty() && e.attendees.isEmpty());

    const Event allDay
        = onlyEvent({QStringLiteral("UID:a"), QStringLiteral("DTSTART;VALUE=DATE:20240115"),
                     QStringLiteral("DTSTART;TZID=:20240116T100000")});
    // The second DTSTART replaces the time but a DATE-TIME does not undo all-day.
    QVERIFY(allDay.is_all_day);
    QCOMPARE(allDay.timezone, QString());
    QCOMPARE(describe(allDay.start_time), QStringLiteral("2024-01-16 10:00:00 local"));
}

void tst_ICalendar::eventEnd_data()
{
    QTest::addColumn<QStringList>("body");
    QTest::addColumn<QString>("end"); // "none" when absent
    const QString start = QStringLiteral("DTSTART:20240115T090000Z");
    QTest::newRow("duration") << QStringList {start, QStringLiteral("DURATION:PT1H30M")}
                              << QStringLiteral("2024-01-15 10:30:00 UTC");
    QTest::newRow("duration day") << QStringList {start, QStringLiteral("DURATION:P1D")}
                                  << QStringLiteral("2024-01-16 09:00:00 UTC");
    QTest::newRow("duration with plus") << QStringList {start, QStringLiteral("DURATION:+PT15M")}
                                        << QStringLiteral("2024-01-15 09:15:00 UTC");
    QTest::newRow("negative duration")
        << QStringList {start, QStringLiteral("DURATION:-PT1H")} << QStringLiteral("none");
    QTest::newRow("dtend wins after duration")
        << QStringList {QStringLiteral("DTEND:20240115T120000Z"), start,
                        QStringLiteral("DURATION:PT1H")}
        << QStringLiteral("2024-01-15 12:00:00 UTC");
    QTest::newRow("bad dtend is present but invalid")
        << QStringList {start, QStringLiteral("DTEND:soon"), QStringLiteral("DURATION:PT1H")}
        << QStringLiteral("invalid");
    QTest::newRow("duration without start")
        << QStringList {QStringLiteral("DURATION:PT1H")} << QStringLiteral("none");
    QTest::newRow("alarm duration is not the event's")
        << QStringList {start, QStringLiteral("BEGIN:VALARM"), QStringLiteral("DURATION:PT5M"),
                        QStringLiteral("REPEAT:2"), QStringLiteral("END:VALARM")}
        << QStringLiteral("none");
}

void tst_ICalendar::eventEnd()
{
    QFETCH(QStringList, body);
    QFETCH(QString, end);
    const Event e = onlyEvent(QStringList {QStringLiteral("UID:x")} + body);
    QCOMPARE(e.uid, QStringLiteral("x"));
    QCOMPARE(e.end_time.has_value() ? describe(*e.end_time) : QStringLiteral("none"), end);
}

void tst_ICalendar::nestedComponentsKeepTheirProperties()
{
    const QStringList body {
        QStringLiteral("UID:event-uid"),
        QStringLiteral("SUMMARY:Dentist"),
        QStringLiteral("DTSTART:20240115T090000Z"),
        QStringLiteral("BEGIN:VALARM"),
        QStringLiteral("UID:alarm-uid"),
        QStringLiteral("SUMMARY:Alarm"),
        QStringLiteral("DESCRIPTION:This is an event reminder"),
        QStringLiteral("RELATED-TO:alarm-parent"),
        QStringLiteral("BEGIN:X-NESTED"),
        QStringLiteral("LOCATION:deep"),
        QStringLiteral("END:X-NESTED"),
        QStringLiteral("TRIGGER:-PT10M"),
        QStringLiteral("END:VALARM"),
        QStringLiteral("DESCRIPTION:Bring the card"),
        QStringLiteral("BEGIN:VALARM"),
        QStringLiteral("DESCRIPTION:Second alarm"),
        QStringLiteral("END:VALARM"),
    };
    const QList<Event> events = parseICalendarEvents(eventText(body));
    QCOMPARE(events.size(), 1);
    const Event &e = events.first();
    QCOMPARE(e.uid, QStringLiteral("event-uid"));
    QCOMPARE(e.title, QStringLiteral("Dentist"));
    QCOMPARE(e.description, QStringLiteral("Bring the card"));
    QCOMPARE(e.location, QString());
    QCOMPARE(e.related_to_uid, QString());
    // The alarm lines stay in the stored text.
    QVERIFY(e.raw_icalendar.contains(QLatin1String("\r\nUID:alarm-uid\r\n")));
    QVERIFY(e.raw_icalendar.contains(QLatin1String("\r\nDESCRIPTION:Second alarm\r\n")));
}

void tst_ICalendar::dateLists_data()
{
    QTest::addColumn<QStringList>("body");
    QTest::addColumn<QString>("exceptions");
    QTest::addColumn<QString>("additions");
    QTest::newRow("none") << QStringList() << QString() << QString();
    QTest::newRow("zoned lists across lines")
        << QStringList {QStringLiteral("EXDATE;TZID=Europe/Berlin:20240129T090000,20240708T090000"),
                        QStringLiteral("EXDATE:20240301T120000Z")}
        << QStringLiteral("[\"20240129T080000Z\",\"20240708T070000Z\",\"20240301T120000Z\"]")
        << QString();
    QTest::newRow("dates") << QStringList {QStringLiteral("EXDATE;VALUE=DATE:20250315,20260315"),
                                           QStringLiteral("RDATE;VALUE=DATE:20250316")}
                           << QStringLiteral("[\"20250315\",\"20260315\"]")
                           << QStringLiteral("[\"20250316\"]");
    QTest::newRow("period start and bad values skipped")
        << QStringList {QStringLiteral("RDATE;VALUE=PERIOD:20240320T120000Z/PT1H,20240321T120000Z/"
                                       "20240321T130000Z"),
                        QStringLiteral("EXDATE:nonsense,,20240322T120000Z")}
        << QStringLiteral("[\"20240322T120000Z\"]")
        << QStringLiteral("[\"20240320T120000Z\",\"20240321T120000Z\"]");
    QTest::newRow("alarm lines are not the event's")
        << QStringList {QStringLiteral("BEGIN:VALARM"), QStringLiteral("RDATE:20240320T120000Z"),
                        QStringLiteral("END:VALARM")}
        << QString() << QString();
}

void tst_ICalendar::dateLists()
{
    QFETCH(QStringList, body);
    const Event e = onlyEvent(
        QStringList {QStringLiteral("UID:x"), QStringLiteral("DTSTART:20240101T090000Z")} + body);
    QCOMPARE(e.uid, QStringLiteral("x"));
    QTEST(e.exception_dates, "exceptions");
    QTEST(e.recurrence_dates, "additions");
    QVERIFY(e.exception_dates.isEmpty()
            || QJsonDocument::fromJson(e.exception_dates.toUtf8()).isArray());
}

void tst_ICalendar::relatedTo()
{
    const Event e
        = onlyEvent({QStringLiteral("UID:x"), QStringLiteral("RELATED-TO;RELTYPE=CHILD:child"),
                     QStringLiteral("RELATED-TO;RELTYPE=parent:first\\,one"),
                     QStringLiteral("RELATED-TO:second")});
    QCOMPARE(e.related_to_uid, QStringLiteral("first,one"));
}

void tst_ICalendar::componentsAndWrapping()
{
    const QString text = QStringLiteral("BEGIN:VCALENDAR\nBEGIN:VTIMEZONE\nTZID:X\nEND:VTIMEZONE\n"
                                        "BEGIN:VEVENT\nUID:one\nSUMMARY:First\nEND:VEVENT\n"
                                        "BEGIN:VEVENT\nSUMMARY:no uid\nEND:VEVENT\n"
                                        "begin:vevent\nUID:lower\nend:vevent\n"
                                        "BEGIN:VEVENT\nUID:unfinished\n"
                                        "BEGIN:VEVENT\nsummary:Second\nUID:two\nEND:VEVENT\n"
                                        "BEGIN:VTODO\nUID:todo\nEND:VTODO\nEND:VCALENDAR\n");
    const QList<Event> events = parseICalendarEvents(text);
    QCOMPARE(events.size(), 2);
    QCOMPARE(events.at(0).uid, QStringLiteral("one"));
    QCOMPARE(events.at(1).uid, QStringLiteral("two"));
    QCOMPARE(events.at(1).title, QStringLiteral("Second"));
    QCOMPARE(events.at(0).raw_icalendar,
             QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                            "PRODID:-//Larkspindle//Calendar Desktop//EN\r\n"
                            "BEGIN:VEVENT\r\nUID:one\r\nSUMMARY:First\r\nEND:VEVENT\r\n"
                            "END:VCALENDAR\r\n"));
    QVERIFY(parseICalendarEvents(QString()).isEmpty());
    QVERIFY(parseICalendarEvents(QStringLiteral("garbage\n\n:;;\"")).isEmpty());

    // Read for an import, an over-long place is cut, and only its own event counts as shortened.
    const QString longPlace
        = QString(text).replace(QStringLiteral("UID:one\n"),
                                QStringLiteral("UID:one\nLOCATION:") + QString(5000, u'p') + u'\n');
    ICalendarEventReader bounded(longPlace, ICalendarEventReader::Lines::Bounded);
    QCOMPARE(bounded.next(9).first().location.size(), ICalendarEventReader::kMaxShortText);
    QCOMPARE(bounded.shortened(), 1);
}

void tst_ICalendar::tenMegabyteLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("summary");
    constexpr int size = 10 * 1024 * 1024;
    QTest::newRow("long value") << QStringLiteral("SUMMARY:") + QString(size, QLatin1Char('x'))
                                << QString(size, QLatin1Char('x'));
    QTest::newRow("folded every character")
        << QStringLiteral("SUMMARY:") + QStringLiteral("\r\n y").repeated(size / 4)
        << QString(size / 4, QLatin1Char('y'));
    QTest::newRow("many parameters") << QStringLiteral("SUMMARY")
            + QStringLiteral(";A=b").repeated(size / 4)
            + QStringLiteral(":s") << QStringLiteral("s");
    QTest::newRow("unclosed quote")
        << QStringLiteral("SUMMARY;X=\"") + QString(size, QLatin1Char(';')) + QStringLiteral(":s")
        << QStringLiteral("s");
    QTest::newRow("endless duration") << QStringLiteral("DURATION:P")
            + QString(size, QLatin1Char('9')) + QStringLiteral("D\r\nSUMMARY:d")
                                      << QStringLiteral("d");
    QTest::newRow("endless escapes")
        << QStringLiteral("SUMMARY:") + QStringLiteral("\\n").repeated(size / 2)
        << QString(size / 2, QLatin1Char('\n'));
}

void tst_ICalendar::tenMegabyteLines()
{
    QFETCH(QString, line);
    const QList<Event> events = parseICalendarEvents(
        eventText({QStringLiteral("UID:big"), QStringLiteral("DTSTART:20240101T000000Z"), line}));
    QCOMPARE(events.size(), 1);
    QTEST(events.first().title, "summary");
    QVERIFY(!events.first().end_time.has_value());
}

void tst_ICalendar::corpusMatchesLibical_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<ICalOracle::Shifts>("shift");
    QTest::newRow("web calendar weekly series")
        << QStringLiteral("webcal_weekly_series.ics") << ICalOracle::Shifts();
    QTest::newRow("exchange meeting, windows zone")
        << QStringLiteral("exchange_meeting.ics") << ICalOracle::Shifts();
    QTest::newRow("desktop all-day and alarms, LF")
        << QStringLiteral("desktop_allday_and_alarms.ics") << ICalOracle::Shifts();
    QTest::newRow("mail client tasks and event")
        << QStringLiteral("mailclient_tasks.ics") << ICalOracle::Shifts();
    QTest::newRow("custom zones with rule and listed onsets")
        << QStringLiteral("custom_zone_rules.ics")
        << ICalOracle::Shifts {{QStringLiteral("custom-rules-5 DTSTART"), -3600}};
    QTest::newRow("localized zone names and labels")
        << QStringLiteral("localized_zone_names.ics") << ICalOracle::Shifts();
    QTest::newRow("path before the IANA name")
        << QStringLiteral("prefixed_zone_names.ics") << ICalOracle::Shifts();
    QTest::newRow("letters-only names, defined and not")
        << QStringLiteral("letters_only_zones.ics") << ICalOracle::Shifts();
    QTest::newRow("all-day series, moved occurrences at zoned midnight")
        << QStringLiteral("allday_moved_occurrence.ics") << ICalOracle::Shifts();
    QTest::newRow("blank after the colon")
        << QStringLiteral("blank_after_colon.ics") << ICalOracle::Shifts();
}

void tst_ICalendar::corpusMatchesLibical()
{
    QFETCH(QString, file);
    QFETCH(ICalOracle::Shifts, shift);
    const QByteArray bytes = LarkTest::readData(QStringLiteral("ics/") + file);
    QVERIFY(!bytes.isEmpty());
    const QList<Event> events = parseICalendarEvents(QString::fromUtf8(bytes));
    const ICalOracle::Result oracle = ICalOracle::read(bytes);
    QVERIFY2(oracle.error.isEmpty(), qPrintable(oracle.error));

    QList<QJsonObject> oracleEvents;
    for (const QJsonValue &c : oracle.components) {
        const QJsonObject o = c.toObject();
        if (o.value(QStringLiteral("kind")).toString() == QLatin1String("VEVENT")
            && !ICalOracle::value(o, QStringLiteral("UID")).toString().isEmpty())
            oracleEvents.append(o);
    }
    QCOMPARE(events.size(), oracleEvents.size());
    QVERIFY(!events.isEmpty());

    for (int i = 0; i < events.size(); ++i) {
        const Event &e = events.at(i);
        const QJsonObject &o = oracleEvents.at(i);
        auto text = [&o](const char *name) {
            return ICalOracle::value(o, QString::fromLatin1(name)).toString();
        };
        QCOMPARE(e.uid, text("UID"));
        QCOMPARE(e.title, text("SUMMARY"));
        QCOMPARE(e.description, text("DESCRIPTION"));
        QCOMPARE(e.location, text("LOCATION"));
        QCOMPARE(e.recurrence_rule, text("RRULE"));
        QCOMPARE(e.status,
                 text("STATUS").toLower().isEmpty() ? QStringLiteral("confirmed")
                                                    : text("STATUS").toLower());
        QCOMPARE(QString::number(e.sequence),
                 text("SEQUENCE").isEmpty() ? QStringLiteral("0") : text("SEQUENCE"));
        QCOMPARE(QStringLiteral("mailto:") + e.organizer_email,
                 text("ORGANIZER").isEmpty() ? QStringLiteral("mailto:") : text("ORGANIZER"));

        const QJsonObject start
            = ICalOracle::shifted(ICalOracle::value(o, QStringLiteral("DTSTART")).toObject(),
                                  shift.value(e.uid + QLatin1String(" DTSTART")));
        QCOMPARE(ICalOracle::asOracleTime(e.start_time, e.is_all_day, start), start);
        QCOMPARE(e.is_all_day, start.contains(QStringLiteral("date")));
        const QJsonObject end
            = ICalOracle::shifted(ICalOracle::value(o, QStringLiteral("DTEND")).toObject(),
                                  shift.value(e.uid + QLatin1String(" DTEND")));
        if (!end.isEmpty()) {
            QVERIFY(e.end_time.has_value());
            QCOMPARE(ICalOracle::asOracleTime(*e.end_time, e.is_all_day, end), end);
        } else {
            const qint64 seconds = ICalOracle::value(o, QStringLiteral("DURATION")).toInteger();
            QCOMPARE(e.end_time.has_value() ? e.start_time.secsTo(*e.end_time) : 0, seconds);
        }
        const QJsonObject rid = ICalOracle::value(o, QStringLiteral("RECURRENCE-ID")).toObject();
        QCOMPARE(rid.isEmpty() ? QJsonObject() : ICalOracle::storedDateAsOracle(e.recurrence_id),
                 rid);

        for (const char *name : {"EXDATE", "RDATE"}) {
            const QString stored = QLatin1String(name) == QLatin1String("EXDATE")
                ? e.exception_dates
                : e.recurrence_dates;
            QJsonArray ours;
            const QJsonArray entries = QJsonDocument::fromJson(stored.toUtf8()).array();
            for (const QJsonValue &entry : entries)
                ours.append(ICalOracle::storedDateAsOracle(entry.toString()));
            QJsonArray theirs;
            const QJsonArray props = ICalOracle::properties(o, QString::fromLatin1(name));
            for (const QJsonValue &p : props)
                theirs.append(p.toObject().value(QStringLiteral("value")));
            QCOMPARE(ours, theirs);
        }
    }
}

void tst_ICalendar::corpusDetails()
{
    const QList<Event> exchange = parseICalendarEvents(
        QString::fromUtf8(LarkTest::readData(QStringLiteral("ics/exchange_meeting.ics"))));
    QCOMPARE(exchange.size(), 1);
    QCOMPARE(exchange.first().timezone, QStringLiteral("W. Europe Standard Time"));
    QCOMPARE(exchange.first().organizer_name, QStringLiteral("\"Doe, Jane\""));
    QCOMPARE(exchange.first().organizer_email, QStringLiteral("jane.doe@example.org"));
    QCOMPARE(exchange.first().start_time, utc(2024, 7, 18, 8, 0));

    const QList<Event> mail = parseICalendarEvents(
        QString::fromUtf8(LarkTest::readData(QStringLiteral("ics/mailclient_tasks.ics"))));
    QCOMPARE(mail.size(), 1);
    QCOMPARE(mail.first().organizer_email, QStringLiteral("b@example.net"));
    QCOMPARE(mail.first().related_to_uid, QStringLiteral("first-parent"));

    const QList<Event> series = parseICalendarEvents(
        QString::fromUtf8(LarkTest::readData(QStringLiteral("ics/webcal_weekly_series.ics"))));
    QCOMPARE(series.size(), 2);
    QCOMPARE(series.at(1).recurrence_id, QStringLiteral("20240122T080000Z"));
    QCOMPARE(series.at(1).master_event_uid, series.at(0).uid);
    // A zone the file defines: times keep their TZID text and resolve to the instant, and a
    // wall-clock time that the spring change skips moves forward, as in the system's zones.
    const QList<Event> custom = parseICalendarEvents(
        QString::fromUtf8(LarkTest::readData(QStringLiteral("ics/custom_zone_rules.ics")))
            .replace(QLatin1String("20240304T090000"), QLatin1String("20240310T023000")));
    QCOMPARE(custom.at(2).timezone, QStringLiteral("Head Office"));
    QCOMPARE(custom.at(2).start_time, utc(2024, 3, 10, 7, 30));
    // The stored component carries the definitions it needs, and only those, so it reads back
    // at the same times on its own.
    const Event &twoZones = custom.at(4);
    QCOMPARE(twoZones.raw_icalendar.count(QLatin1String("BEGIN:VTIMEZONE")), 2);
    QCOMPARE(custom.at(0).raw_icalendar.count(QLatin1String("BEGIN:VTIMEZONE")), 1);
    const Event again = parseICalendarEvents(twoZones.raw_icalendar).first();
    QCOMPARE(again.start_time, twoZones.start_time);
    QCOMPARE(again.end_time, twoZones.end_time);

    // Each stored component stands alone, without the zone definitions of the feed.
    QVERIFY(!series.at(0).raw_icalendar.contains(QLatin1String("VTIMEZONE")));
    QCOMPARE(parseICalendarEvents(series.at(0).raw_icalendar).first().description,
             series.at(0).description);
}

QTEST_GUILESS_MAIN(tst_ICalendar)
#include "tst_ICalendar.moc"
