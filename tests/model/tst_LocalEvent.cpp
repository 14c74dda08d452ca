#include "ICalOracle.h"
#include "model/Clock.h"
#include "model/LocalEvent.h"

#include <QRegularExpression>
#include <QTest>

namespace {

QDateTime jan(int day, int hour = 0, int minute = 0)
{
    return QDateTime(QDate(2024, 1, day), QTime(hour, minute));
}

Event timedEvent(const QString &title, const QDateTime &start, std::optional<QDateTime> end)
{
    Event e;
    e.uid = QStringLiteral("uid-1");
    e.title = title;
    e.start_time = start;
    e.end_time = end;
    return e;
}

} // namespace

class tst_LocalEvent : public QObject
{
    Q_OBJECT
private slots:
    void minimalEventText();
    void stampFollowsTheProgramClock();
    void minimalEventReadByLibical_data();
    void minimalEventReadByLibical();
};

void tst_LocalEvent::minimalEventText()
{
    Event e = timedEvent(QStringLiteral("Lunch, %1; a\\b"),
                         QDateTime(QDate(2024, 1, 11), QTime(12, 30), Qt::UTC),
                         QDateTime(QDate(2024, 1, 11), QTime(13, 15), Qt::UTC));
    e.related_to_uid = QStringLiteral("parent,1");
    const QDateTime stamp(QDate(2024, 1, 10), QTime(9, 7, 42), Qt::UTC);
    QCOMPARE(writeMinimalICalendarEvent(e, stamp),
             QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                            "PRODID:-//Larkspindle//Calendar Desktop//EN\r\n"
                            "BEGIN:VEVENT\r\nUID:uid-1\r\nDTSTAMP:20240110T090742Z\r\n"
                            "SUMMARY:Lunch\\, %1\\; a\\\\b\r\n"
                            "DTSTART:20240111T123000Z\r\nDTEND:20240111T131500Z\r\n"
                            "RELATED-TO;RELTYPE=PARENT:parent\\,1\r\n"
                            "END:VEVENT\r\nEND:VCALENDAR\r\n"));
}

// Pinning the one clock moves every "now" the program reads, and letting go gives the wall clock
// back.
void tst_LocalEvent::stampFollowsTheProgramClock()
{
    const Event e = timedEvent(QStringLiteral("Stand-up"), jan(11, 9), jan(11, 9, 15));
    const QDateTime pinned(QDate(2021, 6, 30), QTime(23, 30), Qt::UTC);
    {
        const Clock::Override clock([pinned] { return pinned; });
        QCOMPARE(Clock::nowUtc(), pinned);
        QCOMPARE(Clock::now(), pinned);
        QCOMPARE(Clock::now().timeSpec(), Qt::LocalTime);
        QCOMPARE(Clock::today(), pinned.toLocalTime().date());
        QVERIFY(writeMinimalICalendarEvent(e).contains(QStringLiteral("DTSTAMP:20210630T233000Z")));
        {
            const Clock::Override later([pinned] { return pinned.addDays(1); });
            QCOMPARE(Clock::nowUtc(), pinned.addDays(1));
        }
        QCOMPARE(Clock::nowUtc(), pinned);
    }
    QVERIFY(Clock::nowUtc().date().year() > 2021);
    QCOMPARE(Clock::nowUtc().timeSpec(), Qt::UTC);
}

void tst_LocalEvent::minimalEventReadByLibical_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end"); // invalid: none
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<QJsonObject>("dtstart");
    QTest::addColumn<QJsonObject>("dtend");

    const auto utc = [](const QDateTime &t) {
        return QJsonObject {{QStringLiteral("utc"), t.toSecsSinceEpoch()}};
    };
    const auto date = [](const char *d) {
        return QJsonObject {{QStringLiteral("date"), QString::fromUtf8(d)}};
    };
    QTest::newRow("timed local") << QStringLiteral("call") << jan(11, 15) << jan(11, 16) << false
                                 << utc(jan(11, 15)) << utc(jan(11, 16));
    QTest::newRow("timed without end") << QStringLiteral("call") << jan(11, 15) << QDateTime()
                                       << false << utc(jan(11, 15)) << utc(jan(11, 15));
    QTest::newRow("all-day") << QStringLiteral("trip") << jan(17) << jan(18) << true
                             << date("20240117") << date("20240118");
    QTest::newRow("all-day without end") << QStringLiteral("trip") << jan(17) << QDateTime() << true
                                         << date("20240117") << date("20240118");
    QTest::newRow("all-day over three days") << QStringLiteral("trip") << jan(17) << jan(20) << true
                                             << date("20240117") << date("20240120");
    QTest::newRow("all-day end before start") << QStringLiteral("trip") << jan(17) << jan(16)
                                              << true << date("20240117") << date("20240118");
    QTest::newRow("title with every special character")
        << QStringLiteral("a,b;c\\d\ne: \"q\" %1 ü") << jan(11, 15) << jan(11, 16) << false
        << utc(jan(11, 15)) << utc(jan(11, 16));
}

void tst_LocalEvent::minimalEventReadByLibical()
{
    QFETCH(QString, title);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(bool, allDay);
    QFETCH(QJsonObject, dtstart);
    QFETCH(QJsonObject, dtend);

    Event e = timedEvent(title, start, end.isValid() ? std::optional(end) : std::nullopt);
    e.is_all_day = allDay;
    const QDateTime stamp(QDate(2024, 1, 10), QTime(9, 7, 42), Qt::UTC);
    const QString text = writeMinimalICalendarEvent(e, stamp);
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));

    const ICalOracle::Result oracle = ICalOracle::read(text.toUtf8());
    QVERIFY2(oracle.error.isEmpty(), qPrintable(oracle.error));
    QCOMPARE(oracle.components.size(), 1);
    const QJsonObject vevent = oracle.components.first().toObject();
    QCOMPARE(ICalOracle::value(vevent, QStringLiteral("UID")).toString(), e.uid);
    QCOMPARE(ICalOracle::value(vevent, QStringLiteral("SUMMARY")).toString(), title);
    QCOMPARE(ICalOracle::value(vevent, QStringLiteral("DTSTAMP")).toObject(),
             (QJsonObject {{QStringLiteral("utc"), stamp.toSecsSinceEpoch()}}));
    QCOMPARE(ICalOracle::value(vevent, QStringLiteral("DTSTART")).toObject(), dtstart);
    QCOMPARE(ICalOracle::value(vevent, QStringLiteral("DTEND")).toObject(), dtend);
}

QTEST_GUILESS_MAIN(tst_LocalEvent)
#include "tst_LocalEvent.moc"
