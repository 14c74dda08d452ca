#include "core/TempStore.h"
#include "core/UpcomingOccurrences.h"
#include "model/LocalEvent.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/ViewRepository.h"
#include "support/TestSupport.h"

#include <QTest>

using LarkTest::TempStore;

Q_DECLARE_METATYPE(QList<Event>)

namespace {

// Wednesday, local time.
const QDateTime kNow(QDate(2024, 1, 10), QTime(10, 7, 42));

QDateTime jan(int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(2024, 1, day), QTime(hour, minute, second));
}

Event timed(const char *title, const QDateTime &start, std::optional<QDateTime> end,
            const char *calendar = "c1")
{
    Event e;
    e.id = e.uid = QString::fromUtf8(title);
    e.title = e.id;
    e.calendar_id = QString::fromUtf8(calendar);
    e.start_time = start;
    e.end_time = end;
    return e;
}

// An all-day event from local midnight of its first day to local midnight after its last.
Event allDay(const char *title, int firstDay, int days = 1)
{
    Event e = timed(title, jan(firstDay), jan(firstDay + days));
    e.is_all_day = true;
    return e;
}

// The same, stored as UTC midnights, as events read from a server's dates can be.
Event allDayUtc(const char *title, int day)
{
    Event e = timed(title, QDateTime(QDate(2024, 1, day), QTime(0, 0), Qt::UTC),
                    QDateTime(QDate(2024, 1, day + 1), QTime(0, 0), Qt::UTC));
    e.is_all_day = true;
    return e;
}

Event series(const char *title, const QDateTime &start, int minutes, const char *rule)
{
    Event e = timed(title, start, start.addSecs(minutes * 60));
    e.recurrence_rule = QString::fromUtf8(rule);
    return e;
}

QStringList titlesOf(const QList<Event> &events)
{
    QStringList out;
    for (const Event &e : events)
        out << e.title;
    return out;
}

bool addEvents(TempStore &app, const QList<Event> &events)
{
    for (Event e : events) {
        e.raw_icalendar = writeMinimalICalendarEvent(e, kNow);
        e.created = e.last_modified = kNow.toUTC();
        if (!app->events()->insert(e))
            return false;
    }
    return true;
}

bool addStandardCalendars(TempStore &app)
{
    return app.addCalendar(QStringLiteral("c1"), 10) && app.addCalendar(QStringLiteral("c2"), 20)
        && app.addCalendar(QStringLiteral("h"), 30, false);
}

} // namespace

class tst_UpcomingOccurrences : public QObject
{
    Q_OBJECT
private slots:
    void timing_data();
    void timing();
    void groups_data();
    void groups();
    void nothingShownNothingListed();
    void filterRules();
};

void tst_UpcomingOccurrences::timing_data()
{
    QTest::addColumn<QList<Event>>("events");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QList<QDateTime>>("starts");

    const auto none = std::nullopt;
    QTest::newRow("ended earlier today")
        << QList<Event> {timed("a", jan(10, 8), jan(10, 9))} << QStringList() << QList<QDateTime>();
    QTest::newRow("running now") << QList<Event> {timed("a", jan(10, 9, 7), jan(10, 11, 7))}
                                 << LarkTest::strings({"a"}) << QList<QDateTime> {jan(10, 9, 7)};
    QTest::newRow("ended exactly now")
        << QList<Event> {timed("a", jan(10, 9), kNow)} << QStringList() << QList<QDateTime>();
    QTest::newRow("ends a second after now")
        << QList<Event> {timed("a", jan(10, 9), kNow.addSecs(1))} << LarkTest::strings({"a"})
        << QList<QDateTime> {jan(10, 9)};
    QTest::newRow("no end: listed only while ahead")
        << QList<Event> {timed("ahead", jan(10, 11), none), timed("past", jan(10, 10), none),
                         timed("now", kNow, none)}
        << LarkTest::strings({"ahead"}) << QList<QDateTime> {jan(10, 11)};
    QTest::newRow("all-day of yesterday lasting into today")
        << QList<Event> {allDay("a", 9, 2)} << QStringList() << QList<QDateTime>();
    QTest::newRow("all-day today and tomorrow")
        << QList<Event> {allDay("tomorrow", 11), allDay("today", 10)}
        << LarkTest::strings({"today", "tomorrow"}) << QList<QDateTime> {jan(10), jan(11)};
    QTest::newRow("day after tomorrow never")
        << QList<Event> {timed("midnight", jan(12), jan(12, 1)), allDay("day", 12),
                         timed("late", jan(11, 23, 59, 59), jan(12, 0, 30))}
        << LarkTest::strings({"late"}) << QList<QDateTime> {jan(11, 23, 59, 59)};
    QTest::newRow("all-day stored as UTC dates")
        << QList<Event> {allDayUtc("yesterday", 9), allDayUtc("tomorrow", 11),
                         allDayUtc("after", 12)}
        << LarkTest::strings({"tomorrow"})
        << QList<QDateTime> {QDateTime(QDate(2024, 1, 11), QTime(0, 0), Qt::UTC)};
    QTest::newRow("start order, all-day among timed")
        << QList<Event> {timed("late", jan(11, 9), jan(11, 10)), allDay("day", 11),
                         timed("noon", jan(10, 12), jan(10, 13))}
        << LarkTest::strings({"noon", "day", "late"})
        << QList<QDateTime> {jan(10, 12), jan(11), jan(11, 9)};
    QTest::newRow("daily series: the occurrences ahead")
        << QList<Event> {series("walk", jan(1, 8), 30, "FREQ=DAILY"),
                         series("lunch", jan(1, 12), 30, "FREQ=DAILY")}
        << LarkTest::strings({"lunch", "walk", "lunch"})
        << QList<QDateTime> {jan(10, 12), jan(11, 8), jan(11, 12)};
    QTest::newRow("weekly series outside the window")
        << QList<Event> {series("sync", jan(3, 9), 30, "FREQ=WEEKLY")} << QStringList()
        << QList<QDateTime>();
}

void tst_UpcomingOccurrences::timing()
{
    QFETCH(QList<Event>, events);
    QFETCH(QStringList, titles);
    QFETCH(QList<QDateTime>, starts);

    TempStore app;
    QVERIFY(app.isValid());
    QVERIFY(addStandardCalendars(app));
    QVERIFY(addEvents(app, events));

    const QList<Event> upcoming = upcomingOccurrences(app.store(), QString(), kNow);
    QCOMPARE(titlesOf(upcoming), titles);
    QList<QDateTime> actualStarts;
    for (const Event &e : upcoming)
        actualStarts << e.start_time;
    QCOMPARE(actualStarts, starts);

    const std::optional<Event> next = nextUpcomingOccurrence(app.store(), QString(), kNow);
    QCOMPARE(next.has_value(), !titles.isEmpty());
    QCOMPARE(next ? next->start_time : QDateTime(), starts.value(0));
}

void tst_UpcomingOccurrences::groups_data()
{
    QTest::addColumn<QString>("members"); // the group's calendar_ids text; empty: no group
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QStringList>("titles");

    const QStringList visible = LarkTest::strings({"c1", "c2"});
    const QStringList visibleTitles = LarkTest::strings({"one", "two"});
    QTest::newRow("no such group") << QString() << false << visible << visibleTitles;
    QTest::newRow("empty group") << QStringLiteral("[]") << false << visible << visibleTitles;
    QTest::newRow("not JSON") << QStringLiteral("c1") << false << visible << visibleTitles;
    QTest::newRow("JSON object") << QStringLiteral("{\"c1\":1}") << false << visible
                                 << visibleTitles;
    QTest::newRow("hidden calendar in the group")
        << QStringLiteral("[\"h\"]") << false << LarkTest::strings({"h"})
        << LarkTest::strings({"hidden"});
    QTest::newRow("group order kept")
        << QStringLiteral("[\"h\",\"c2\"]") << false << LarkTest::strings({"h", "c2"})
        << LarkTest::strings({"two", "hidden"});
    QTest::newRow("member that is no text")
        << QStringLiteral("[\"c2\",5]") << false << LarkTest::strings({"c2", ""})
        << LarkTest::strings({"two"});
    QTest::newRow("deleted group still counts")
        << QStringLiteral("[\"h\"]") << true << LarkTest::strings({"h"})
        << LarkTest::strings({"hidden"});
}

void tst_UpcomingOccurrences::groups()
{
    QFETCH(QString, members);
    QFETCH(bool, deleted);
    QFETCH(QStringList, ids);
    QFETCH(QStringList, titles);

    TempStore app;
    QVERIFY(app.isValid());
    QVERIFY(addStandardCalendars(app));
    QVERIFY(addEvents(app,
                      {timed("one", jan(10, 12), jan(10, 13), "c1"),
                       timed("two", jan(10, 13), jan(10, 14), "c2"),
                       timed("hidden", jan(10, 14), jan(10, 15), "h")}));
    if (!members.isEmpty()) {
        CalendarView group;
        group.id = QStringLiteral("group");
        group.name = QStringLiteral("Group");
        group.calendar_ids = members;
        group.sort_order = 5;
        group.created_at = group.updated_at = kNow.toUTC();
        QVERIFY(app->views()->insert(group));
        if (deleted)
            QVERIFY(app->views()->remove(group.id));
    }
    const QString active = QStringLiteral("group");

    QCOMPARE(activeCalendarIds(app.store(), active), ids);
    QCOMPARE(titlesOf(upcomingOccurrences(app.store(), active, kNow)), titles);
}

void tst_UpcomingOccurrences::nothingShownNothingListed()
{
    TempStore app;
    QVERIFY(app.isValid());
    QVERIFY(app.addCalendar(QStringLiteral("h"), 10, false));
    QVERIFY(addEvents(app, {timed("hidden", jan(10, 12), jan(10, 13), "h")}));
    const QString active = QStringLiteral("all-calendars");
    QCOMPARE(activeCalendarIds(app.store(), active), QStringList());
    QVERIFY(upcomingOccurrences(app.store(), active, kNow).isEmpty());
    QVERIFY(!nextUpcomingOccurrence(app.store(), active, kNow).has_value());
    const Store unopened;
    QVERIFY(upcomingOccurrences(unopened, QString(), kNow).isEmpty());
}

void tst_UpcomingOccurrences::filterRules()
{
    TempStore app;
    QVERIFY(app.isValid());
    QVERIFY(addStandardCalendars(app));
    QVERIFY(addEvents(app,
                      {timed("secret plans", jan(10, 11), jan(10, 12)),
                       timed("boring call", jan(10, 12), jan(10, 13)),
                       timed("plain", jan(10, 13), jan(10, 14)),
                       timed("secret elsewhere", jan(10, 14), jan(10, 15), "c2")}));
    const auto rule = [](const char *id, const char *phrase, const char *action, bool enabled,
                         const char *calendars) {
        FilterRule r;
        r.id = QString::fromUtf8(id);
        r.name = r.id;
        r.type = QStringLiteral("pattern");
        r.enabled = enabled;
        r.calendar_ids = QString::fromUtf8(calendars);
        r.conditions = QStringLiteral("{\"runtimeType\":\"pattern\",\"titleContains\":[\"")
            + QString::fromUtf8(phrase) + QStringLiteral("\"]}");
        r.action = QString::fromUtf8(action);
        r.created_at = r.updated_at = kNow.toUTC();
        return r;
    };
    QVERIFY(app->filterRules()->insert(rule("hide", "secret", "hide", true, "[\"c1\"]")));
    QVERIFY(app->filterRules()->insert(rule("dim", "boring", "dim", true, "[]")));
    QVERIFY(app->filterRules()->insert(rule("off", "plain", "hide", false, "[]")));

    QCOMPARE(titlesOf(upcomingOccurrences(app.store(), QString(), kNow)),
             LarkTest::strings({"boring call", "plain", "secret elsewhere"}));
}

QTEST_MAIN(tst_UpcomingOccurrences)
#include "tst_UpcomingOccurrences.moc"
