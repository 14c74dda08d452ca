#include "ICalOracle.h"
#include "model/EventTimeRewrite.h"
#include "model/ICalendar.h"
#include "support/TestSupport.h"

#include <QTest>

namespace {

QString crlf(const QStringList &lines)
{
    return lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
}

QString eventText(const QStringList &body)
{
    return crlf(QStringList {QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("BEGIN:VEVENT"),
                             QStringLiteral("UID:e")}
                + body
                + QStringList {QStringLiteral("END:VEVENT"), QStringLiteral("END:VCALENDAR")});
}

QDateTime utc(int y, int mo, int d, int h, int mi)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
}

QDateTime berlin(int y, int mo, int d, int h, int mi)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone("Europe/Berlin"));
}

} // namespace

class tst_EventTimeRewrite : public QObject
{
    Q_OBJECT
private slots:
    void rewrite_data();
    void rewrite();
    void unchanged_data();
    void unchanged();
    void propertiesRewritten();
    void corpusReadsBackInLibical_data();
    void corpusReadsBackInLibical();
};

void tst_EventTimeRewrite::rewrite_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<QString>("expected");

    const QStringList berlinLines {QStringLiteral("DTSTART;TZID=Europe/Berlin:20240115T090000"),
                                   QStringLiteral("DTEND;TZID=Europe/Berlin:20240115T100000"),
                                   QStringLiteral("RRULE:FREQ=WEEKLY")};
    QTest::newRow("known zone keeps its zone")
        << eventText(berlinLines) << berlin(2024, 1, 15, 10, 0) << berlin(2024, 1, 15, 11, 0)
        << eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20240115T100000"),
                      QStringLiteral("DTEND;TZID=Europe/Berlin:20240115T110000"),
                      QStringLiteral("RRULE:FREQ=WEEKLY")});
    QTest::newRow("known zone, time given in UTC, summer")
        << eventText(berlinLines) << utc(2024, 7, 15, 8, 0) << utc(2024, 7, 15, 8, 30)
        << eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20240715T100000"),
                      QStringLiteral("DTEND;TZID=Europe/Berlin:20240715T103000"),
                      QStringLiteral("RRULE:FREQ=WEEKLY")});
    QTest::newRow("windows zone name kept")
        << eventText({QStringLiteral("DTSTART;TZID=W. Europe Standard Time:20240718T100000")})
        << utc(2024, 7, 18, 9, 0) << utc(2024, 7, 18, 10, 0)
        << eventText({QStringLiteral("DTSTART;TZID=W. Europe Standard Time:20240718T110000"),
                      QStringLiteral("DTEND;TZID=W. Europe Standard Time:20240718T120000")});
    QTest::newRow("unknown zone becomes UTC")
        << eventText({QStringLiteral("DTSTART;TZID=Mars/Olympus:20240115T090000"),
                      QStringLiteral("DTEND:20240115T100000Z")})
        << berlin(2024, 1, 15, 10, 0) << berlin(2024, 1, 15, 11, 0)
        << eventText({QStringLiteral("DTSTART:20240115T090000Z"),
                      QStringLiteral("DTEND:20240115T100000Z")});
    QTest::newRow("duration becomes an end before END:VEVENT")
        << eventText({QStringLiteral("DTSTART:20240115T090000Z"), QStringLiteral("DURATION:PT1H"),
                      QStringLiteral("SUMMARY:x")})
        << utc(2024, 1, 16, 9, 0) << utc(2024, 1, 16, 10, 0)
        << eventText({QStringLiteral("DTSTART:20240116T090000Z"), QStringLiteral("SUMMARY:x"),
                      QStringLiteral("DTEND:20240116T100000Z")});
    QTest::newRow("invalid end takes the start")
        << eventText({QStringLiteral("DTSTART:20240115T090000Z"),
                      QStringLiteral("DTEND:20240115T100000Z")})
        << utc(2024, 1, 16, 9, 0) << QDateTime()
        << eventText({QStringLiteral("DTSTART:20240116T090000Z"),
                      QStringLiteral("DTEND:20240116T090000Z")});
    QTest::newRow("alarm lines untouched")
        << eventText({QStringLiteral("DTSTART:20240115T090000Z"),
                      QStringLiteral("DTEND:20240115T100000Z"), QStringLiteral("BEGIN:VALARM"),
                      QStringLiteral("TRIGGER:-PT10M"), QStringLiteral("DURATION:PT5M"),
                      QStringLiteral("REPEAT:2"), QStringLiteral("END:VALARM")})
        << utc(2024, 1, 16, 9, 0) << utc(2024, 1, 16, 10, 0)
        << eventText({QStringLiteral("DTSTART:20240116T090000Z"),
                      QStringLiteral("DTEND:20240116T100000Z"), QStringLiteral("BEGIN:VALARM"),
                      QStringLiteral("TRIGGER:-PT10M"), QStringLiteral("DURATION:PT5M"),
                      QStringLiteral("REPEAT:2"), QStringLiteral("END:VALARM")});
    QTest::newRow("folded line replaced whole")
        << eventText({QStringLiteral("DTSTART;TZID=Europe/"),
                      QStringLiteral(" Berlin:20240115T090000"), QStringLiteral("DESCRIPTION:a"),
                      QStringLiteral(" b")})
        << berlin(2024, 1, 15, 12, 0) << berlin(2024, 1, 15, 13, 0)
        << eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20240115T120000"),
                      QStringLiteral("DESCRIPTION:a"), QStringLiteral(" b"),
                      QStringLiteral("DTEND;TZID=Europe/Berlin:20240115T130000")});
    QTest::newRow("all-day keeps dates")
        << eventText({QStringLiteral("DTSTART;VALUE=DATE:20240115"),
                      QStringLiteral("DTEND;VALUE=DATE:20240116")})
        << utc(2024, 1, 20, 0, 0) << utc(2024, 1, 22, 0, 0)
        << eventText({QStringLiteral("DTSTART;VALUE=DATE:20240120"),
                      QStringLiteral("DTEND;VALUE=DATE:20240122")});
    QTest::newRow("all-day date after a blank")
        << eventText({QStringLiteral("DTSTART: 20240115"), QStringLiteral("DTEND: 20240116")})
        << utc(2024, 1, 20, 0, 0) << utc(2024, 1, 21, 0, 0)
        << eventText({QStringLiteral("DTSTART;VALUE=DATE:20240120"),
                      QStringLiteral("DTEND;VALUE=DATE:20240121")});
    QTest::newRow("all-day without end gets the next day")
        << eventText({QStringLiteral("dtstart;value=date:20240115")}) << utc(2024, 1, 20, 0, 0)
        << utc(2024, 1, 20, 0, 0)
        << eventText({QStringLiteral("DTSTART;VALUE=DATE:20240120"),
                      QStringLiteral("DTEND;VALUE=DATE:20240121")});
    // A cancelled date moves as its occurrence does: into the next day across midnight, and from
    // the series' 02:30 on the day clocks skip it.
    QTest::newRow("cancelled date moves across midnight")
        << eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20261024T233000"),
                      QStringLiteral("EXDATE;TZID=Europe/Berlin:20261025T233000")})
        << berlin(2026, 10, 25, 0, 30) << berlin(2026, 10, 25, 1, 0)
        << eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20261025T003000"),
                      QStringLiteral("EXDATE;TZID=Europe/Berlin:20261026T003000"),
                      QStringLiteral("DTEND;TZID=Europe/Berlin:20261025T010000")});
    QTest::newRow("cancelled day of a timed series moves across midnight")
        << eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20261024T233000"),
                      QStringLiteral("EXDATE;VALUE=DATE:20261025")})
        << berlin(2026, 10, 25, 0, 30) << berlin(2026, 10, 25, 1, 0)
        << eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20261025T003000"),
                      QStringLiteral("EXDATE;TZID=Europe/Berlin:20261026T003000"),
                      QStringLiteral("DTEND;TZID=Europe/Berlin:20261025T010000")});
    QTest::newRow("cancelled date in a clock change gap moves from the series' time")
        << eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20260328T023000"),
                      QStringLiteral("EXDATE;TZID=Europe/Berlin:20260329T023000")})
        << berlin(2026, 3, 28, 3, 30) << berlin(2026, 3, 28, 4, 0)
        << eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20260328T033000"),
                      QStringLiteral("EXDATE;TZID=Europe/Berlin:20260329T033000"),
                      QStringLiteral("DTEND;TZID=Europe/Berlin:20260328T040000")});
    // Nuuk's clocks skip from 23:00 to midnight: that day's 23:30 comes after midnight.
    QTest::newRow("cancelled date in a gap across midnight moves from the series' time")
        << eventText({QStringLiteral("DTSTART;TZID=America/Nuuk:20260327T233000"),
                      QStringLiteral("EXDATE;TZID=America/Nuuk:20260328T233000")})
        << QDateTime(QDate(2026, 3, 28), QTime(0, 30), QTimeZone("America/Nuuk"))
        << QDateTime(QDate(2026, 3, 28), QTime(1, 0), QTimeZone("America/Nuuk"))
        << eventText({QStringLiteral("DTSTART;TZID=America/Nuuk:20260328T003000"),
                      QStringLiteral("EXDATE;TZID=America/Nuuk:20260329T003000"),
                      QStringLiteral("DTEND;TZID=America/Nuuk:20260328T010000")});
    QTest::newRow("only the first event, LF becomes CR LF")
        << QStringLiteral("BEGIN:VEVENT\nDTSTART:20240115T090000Z\nEND:VEVENT\n"
                          "BEGIN:VEVENT\nDTSTART:20240115T090000Z\nEND:VEVENT\n")
        << utc(2024, 1, 16, 9, 0) << utc(2024, 1, 16, 10, 0)
        << QStringLiteral(
               "BEGIN:VEVENT\r\nDTSTART:20240116T090000Z\r\nDTEND:20240116T100000Z\r\n"
               "END:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART:20240115T090000Z\r\nEND:VEVENT\r\n");
}

void tst_EventTimeRewrite::rewrite()
{
    QFETCH(QString, raw);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QTEST(rewriteEventTimes(raw, start, end), "expected");
}

void tst_EventTimeRewrite::unchanged_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QDateTime>("start");
    QTest::newRow("empty") << QString() << utc(2024, 1, 1, 9, 0);
    QTest::newRow("invalid start")
        << eventText({QStringLiteral("DTSTART:20240115T090000Z")}) << QDateTime();
    QTest::newRow("no event") << QStringLiteral(
        "BEGIN:VTODO\nDTSTART:20240115T090000Z\nEND:VTODO\n")
                              << utc(2024, 1, 1, 9, 0);
}

void tst_EventTimeRewrite::unchanged()
{
    QFETCH(QString, raw);
    QFETCH(QDateTime, start);
    QCOMPARE(rewriteEventTimes(raw, start, start.addSecs(3600)), raw);
}

// The event's own lines only: the alarm's description stays, a folded line goes whole, several
// lines of one property become the given ones, and a property it lacked comes before its end.
void tst_EventTimeRewrite::propertiesRewritten()
{
    const QString raw
        = eventText({QStringLiteral("SUMMARY:Stand"), QStringLiteral(" up"),
                     QStringLiteral("EXDATE:20260304T090000Z"), QStringLiteral("DESCRIPTION:Daily"),
                     QStringLiteral("EXDATE:20260305T090000Z"), QStringLiteral("BEGIN:VALARM"),
                     QStringLiteral("DESCRIPTION:Reminder"), QStringLiteral("END:VALARM")});
    const QHash<QString, QStringList> lines {
        {QStringLiteral("SUMMARY"), {QStringLiteral("SUMMARY:Standup")}},
        {QStringLiteral("DESCRIPTION"), {}},
        {QStringLiteral("EXDATE"), {QStringLiteral("EXDATE:20260306T090000Z")}},
        {QStringLiteral("LOCATION"), {QStringLiteral("LOCATION:Room 2")}}};
    QCOMPARE(
        rewriteEventProperties(raw, lines),
        eventText({QStringLiteral("SUMMARY:Standup"), QStringLiteral("EXDATE:20260306T090000Z"),
                   QStringLiteral("BEGIN:VALARM"), QStringLiteral("DESCRIPTION:Reminder"),
                   QStringLiteral("END:VALARM"), QStringLiteral("LOCATION:Room 2")}));
    // A day a timed series cancels names its occurrence at the series' time.
    QCOMPARE(rewriteCancelledDates(
                 eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20260302T090000"),
                            QStringLiteral("EXDATE;VALUE=DATE:20260309")}),
                 {QStringLiteral("20260316")}),
             eventText({QStringLiteral("DTSTART;TZID=Europe/Berlin:20260302T090000"),
                        QStringLiteral("EXDATE;TZID=Europe/Berlin:20260316T090000")}));
    // A to-do's own lines, behind another to-do.
    const QString todos
        = QStringLiteral("BEGIN:VTODO\r\nUID:a\r\nEND:VTODO\r\nBEGIN:VTODO\r\nUID:b\r\nEND:VTODO");
    QCOMPARE(rewriteTodoProperties(todos, {{QStringLiteral("URL"), {QStringLiteral("URL:x")}}},
                                   QStringLiteral("b")),
             QString(todos).replace(QStringLiteral("UID:b"), QStringLiteral("UID:b\r\nURL:x")));
}

void tst_EventTimeRewrite::corpusReadsBackInLibical_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("zoned series") << QStringLiteral("webcal_weekly_series.ics");
    QTest::newRow("windows zone") << QStringLiteral("exchange_meeting.ics");
    QTest::newRow("all-day and duration") << QStringLiteral("desktop_allday_and_alarms.ics");
    QTest::newRow("zones the file defines") << QStringLiteral("localized_zone_names.ics");
}

void tst_EventTimeRewrite::corpusReadsBackInLibical()
{
    QFETCH(QString, file);
    const QList<Event> events = parseICalendarEvents(
        QString::fromUtf8(LarkTest::readData(QStringLiteral("ics/") + file)));
    QVERIFY(!events.isEmpty());
    for (const Event &e : events) {
        // Moved by a day and an hour (a day for all-day events), an hour longer.
        const qint64 shift = e.is_all_day ? 86400 : 90000;
        const QDateTime start = e.start_time.addSecs(shift);
        const QDateTime end
            = e.end_time.value_or(e.start_time).addSecs(shift + (e.is_all_day ? 86400 : 3600));
        const QString moved = rewriteEventTimes(e.raw_icalendar, start, end);

        const Event ours = parseICalendarEvents(moved).first();
        QCOMPARE(ours.start_time, start);
        QCOMPARE(ours.end_time.value_or(QDateTime()), end);
        QCOMPARE(ours.is_all_day, e.is_all_day);
        QCOMPARE(ours.description, e.description);

        const ICalOracle::Result oracle = ICalOracle::read(moved.toUtf8());
        QVERIFY2(oracle.error.isEmpty(), qPrintable(oracle.error));
        const QJsonObject o = oracle.components.first().toObject();
        QCOMPARE(ICalOracle::properties(o, QStringLiteral("DTSTART")).size(), 1);
        QCOMPARE(ICalOracle::properties(o, QStringLiteral("DTEND")).size(), 1);
        QCOMPARE(ICalOracle::properties(o, QStringLiteral("DURATION")).size(), 0);
        const QJsonObject oStart = ICalOracle::value(o, QStringLiteral("DTSTART")).toObject();
        const QJsonObject oEnd = ICalOracle::value(o, QStringLiteral("DTEND")).toObject();
        QCOMPARE(ICalOracle::asOracleTime(start.toTimeZone(ours.start_time.timeZone()),
                                          e.is_all_day, oStart),
                 oStart);
        QCOMPARE(ICalOracle::asOracleTime(end.toTimeZone(ours.start_time.timeZone()), e.is_all_day,
                                          oEnd),
                 oEnd);
        const QJsonArray before = ICalOracle::subComponents(
            ICalOracle::read(e.raw_icalendar.toUtf8()).components.first().toObject());
        QCOMPARE(ICalOracle::subComponents(o), before);
    }
}

QTEST_GUILESS_MAIN(tst_EventTimeRewrite)
#include "tst_EventTimeRewrite.moc"
