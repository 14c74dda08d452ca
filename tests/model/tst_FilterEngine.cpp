#include "model/FilterEngine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

namespace {

FilterRule makeRule(const QString &id, const QString &conditions, int priority = 100,
                    const QString &action = QStringLiteral("hide"))
{
    FilterRule r;
    r.id = id;
    r.name = id;
    r.conditions = conditions;
    r.priority = priority;
    r.action = action;
    return r;
}

QString titleRule(const QString &phrase)
{
    return QStringLiteral("{\"runtimeType\":\"pattern\",\"titleContains\":[\"%1\"]}").arg(phrase);
}

Event makeEvent(const QString &id, const QString &title,
                const QString &calendar = QStringLiteral("cal-a"))
{
    Event e;
    e.id = id;
    e.uid = id + QStringLiteral("-uid");
    e.calendar_id = calendar;
    e.title = title;
    e.start_time = QDateTime(QDate(2024, 1, 15), QTime(9, 30), Qt::LocalTime); // a Monday
    return e;
}

QStringList idsOf(const QList<Event> &events)
{
    QStringList out;
    for (const Event &e : events)
        out.append(e.id);
    return out;
}

QStringList sorted(QSet<QString> set)
{
    QStringList out(set.begin(), set.end());
    out.sort();
    return out;
}

} // namespace

class tst_FilterEngine : public QObject
{
    Q_OBJECT
private slots:
    void unusableRulesKeepEverything_data();
    void unusableRulesKeepEverything();
    void parsedFieldsFallBackToDefaults();
    void patternConditions_data();
    void patternConditions();
    void timeConditions_data();
    void timeConditions();
    void manyEventsAroundClockChanges();
    void specificAndAllDayConditions_data();
    void specificAndAllDayConditions();
    void priorityDecides_data();
    void priorityDecides();
    void actionsAndSuppression_data();
    void actionsAndSuppression();
    void calendarSets_data();
    void calendarSets();
    void sharedIdsCollapseInSets();
    void dayNames_data();
    void dayNames();
};

void tst_FilterEngine::unusableRulesKeepEverything_data()
{
    QTest::addColumn<QList<FilterRule>>("rules");
    const QString matchAll = titleRule(QString());

    FilterRule disabled = makeRule(QStringLiteral("r"), matchAll);
    disabled.enabled = false;
    FilterRule deleted = makeRule(QStringLiteral("r"), matchAll);
    deleted.deleted_at = QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC);

    QTest::newRow("no rules") << QList<FilterRule>();
    QTest::newRow("disabled") << QList<FilterRule> {disabled};
    QTest::newRow("deleted") << QList<FilterRule> {deleted};
    QTest::newRow("empty condition")
        << QList<FilterRule> {makeRule(QStringLiteral("r"), QString())};
    QTest::newRow("condition is an array")
        << QList<FilterRule> {makeRule(QStringLiteral("r"), QStringLiteral("[{}]"))};
    QTest::newRow("runtime type with a capital")
        << QList<FilterRule> {makeRule(QStringLiteral("r"),
                                       QStringLiteral("{\"runtimeType\":\"Pattern\","
                                                      "\"titleContains\":[\"\"]}"))};
    QTest::newRow("no runtime type")
        << QList<FilterRule> {makeRule(QStringLiteral("r"), QStringLiteral("{\"a\":1}"))};
    QTest::newRow("malformed json")
        << QList<FilterRule> {makeRule(QStringLiteral("r"), QStringLiteral("{\"runtimeType\":"))};
    QTest::newRow("pattern with nothing set") << QList<FilterRule> {
        makeRule(QStringLiteral("r"), QStringLiteral("{\"runtimeType\":\"pattern\"}"))};
    QTest::newRow("time with only recurringOnly")
        << QList<FilterRule> {makeRule(QStringLiteral("r"),
                                       QStringLiteral("{\"runtimeType\":\"time\","
                                                      "\"recurringOnly\":true}"))};
}

void tst_FilterEngine::unusableRulesKeepEverything()
{
    QFETCH(QList<FilterRule>, rules);
    Event recurring = makeEvent(QStringLiteral("b"), QStringLiteral("Two"));
    recurring.recurrence_rule = QStringLiteral("FREQ=DAILY");
    const QList<Event> events {makeEvent(QStringLiteral("a"), QStringLiteral("One")), recurring};
    const FilterResult r = applyFilterRules(events, rules);
    QCOMPARE(idsOf(r.events), (QStringList {QStringLiteral("a"), QStringLiteral("b")}));
    QVERIFY(r.dimmedIds.isEmpty());
    QVERIFY(r.suppressedIds.isEmpty());
    QCOMPARE(r.hiddenCount, 0);
    QVERIFY(!firstMatchingFilterRule(events[0], rules).has_value());
}

void tst_FilterEngine::parsedFieldsFallBackToDefaults()
{
    const auto pattern = parseFilterConditions(QStringLiteral(
        "{\"runtimeType\":\"pattern\",\"titleContains\":\"x\",\"titleExact\":[\"a\",3,null],"
        "\"caseSensitive\":\"yes\",\"other\":1}"));
    QVERIFY(pattern.has_value());
    const auto *p = std::get_if<PatternCondition>(&*pattern);
    QVERIFY(p);
    QVERIFY(p->titleContains.isEmpty());
    QCOMPARE(p->titleExact, (QStringList {QStringLiteral("a"), QString(), QString()}));
    QVERIFY(!p->caseSensitive);

    const auto time = parseFilterConditions(
        QStringLiteral("{\"runtimeType\":\"time\",\"timeRange\":\"09:00-10:00\",\"timeExact\":7,"
                       "\"daysOfWeek\":[\"MON\",\"fri\"],\"recurringOnly\":1}"));
    QVERIFY(time.has_value());
    const auto *t = std::get_if<TimeCondition>(&*time);
    QVERIFY(t);
    QVERIFY(t->timeRangeStart.isEmpty() && t->timeRangeEnd.isEmpty() && t->timeExact.isEmpty());
    QCOMPARE(t->daysOfWeek, (QStringList {QStringLiteral("MON"), QStringLiteral("fri")}));
    QVERIFY(!t->recurringOnly);

    QVERIFY(std::holds_alternative<SpecificCondition>(
        *parseFilterConditions(QStringLiteral("{\"runtimeType\":\"specific\"}"))));
    const auto allDay = parseFilterConditions(
        QStringLiteral("{\"runtimeType\":\"allDay\",\"recurringOnly\":true}"));
    QVERIFY(allDay.has_value());
    QVERIFY(std::get<AllDayCondition>(*allDay).recurringOnly);

    QCOMPARE(jsonStringList(QJsonValue(QStringLiteral("a"))), QStringList());
    QCOMPARE(jsonStringList(QJsonArray {QStringLiteral("a"), true}),
             (QStringList {QStringLiteral("a"), QString()}));
}

void tst_FilterEngine::patternConditions_data()
{
    QTest::addColumn<QString>("conditions");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("location");
    QTest::addColumn<bool>("matches");

    const QString exactStandup
        = QStringLiteral("{\"runtimeType\":\"pattern\",\"titleExact\":[\"Standup\"]}");
    const QString containsStandup
        = QStringLiteral("{\"runtimeType\":\"pattern\",\"titleContains\":[\"Standup\"]}");
    const QString sensitive = QStringLiteral(
        "{\"runtimeType\":\"pattern\",\"titleContains\":[\"Standup\"],\"caseSensitive\":true}");
    const QString inDescription
        = QStringLiteral("{\"runtimeType\":\"pattern\",\"descriptionContains\":[\"zoom\"]}");
    const QString emptyInDescription
        = QStringLiteral("{\"runtimeType\":\"pattern\",\"descriptionContains\":[\"\"]}");
    const QString inLocation
        = QStringLiteral("{\"runtimeType\":\"pattern\",\"locationContains\":[\"Room\",\"Hall\"]}");
    const QString emptyInLocation
        = QStringLiteral("{\"runtimeType\":\"pattern\",\"locationContains\":[\"\"]}");
    const QString noRegex
        = QStringLiteral("{\"runtimeType\":\"pattern\",\"titleContains\":[\"St.*up\"]}");

    QTest::newRow("exact ignores case")
        << exactStandup << QStringLiteral("standup") << QString() << QString() << true;
    QTest::newRow("exact needs the whole title")
        << exactStandup << QStringLiteral("Standup notes") << QString() << QString() << false;
    QTest::newRow("contains finds a part")
        << containsStandup << QStringLiteral("Standup notes") << QString() << QString() << true;
    QTest::newRow("contains ignores case")
        << containsStandup << QStringLiteral("daily STANDUP") << QString() << QString() << true;
    QTest::newRow("case-sensitive contains")
        << sensitive << QStringLiteral("daily standup") << QString() << QString() << false;
    QTest::newRow("case-sensitive contains matches")
        << sensitive << QStringLiteral("Standup") << QString() << QString() << true;
    QTest::newRow("empty phrase in title matches all")
        << titleRule(QString()) << QStringLiteral("Anything") << QString() << QString() << true;
    QTest::newRow("description") << inDescription << QStringLiteral("Call")
                                 << QStringLiteral("Join on Zoom please") << QString() << true;
    QTest::newRow("description does not look at the title")
        << inDescription << QStringLiteral("zoom call") << QString() << QString() << false;
    QTest::newRow("empty phrase needs a description")
        << emptyInDescription << QStringLiteral("Call") << QString() << QString() << false;
    QTest::newRow("empty phrase with a description")
        << emptyInDescription << QStringLiteral("Call") << QStringLiteral("x") << QString() << true;
    QTest::newRow("second location phrase")
        << inLocation << QStringLiteral("Call") << QString() << QStringLiteral("Town hall") << true;
    QTest::newRow("empty location never matches")
        << emptyInLocation << QStringLiteral("Call") << QString() << QString() << false;
    QTest::newRow("accented letters ignore case")
        << QStringLiteral(u"{\"runtimeType\":\"pattern\",\"titleContains\":[\"ÉTÉ\"]}")
        << QStringLiteral(u"Café été") << QString() << QString() << true;
    QTest::newRow("accented exact title ignores case")
        << QStringLiteral(u"{\"runtimeType\":\"pattern\",\"titleExact\":[\"straße\"]}")
        << QStringLiteral(u"STRAßE") << QString() << QString() << true;
    QTest::newRow("long description ignores case")
        << inDescription << QStringLiteral("Call")
        << QString(200, QLatin1Char('x')) + QStringLiteral("ZOOM") << QString() << true;
    QTest::newRow("no wildcards") << noRegex << QStringLiteral("Standup") << QString() << QString()
                                  << false;
    QTest::newRow("wildcard text found literally")
        << noRegex << QStringLiteral("St.*up") << QString() << QString() << true;
}

void tst_FilterEngine::patternConditions()
{
    QFETCH(QString, conditions);
    QFETCH(bool, matches);
    Event e = makeEvent(QStringLiteral("a"), QString());
    QFETCH(QString, title);
    QFETCH(QString, description);
    QFETCH(QString, location);
    e.title = title;
    e.description = description;
    e.location = location;
    const auto c = parseFilterConditions(conditions);
    QVERIFY(c.has_value());
    QCOMPARE(filterConditionMatches(e, FilterRule(), *c), matches);
    QCOMPARE(patternConditionMatches(e, std::get<PatternCondition>(*c)), matches);
}

void tst_FilterEngine::timeConditions_data()
{
    QTest::addColumn<QString>("conditions");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<bool>("recurring");
    QTest::addColumn<bool>("matches");

    auto time = [](const char *body) -> QString {
        return QStringLiteral("{\"runtimeType\":\"time\",") + QLatin1String(body)
            + QLatin1Char('}');
    };
    // Monday 15 January 2024 in the zone the test runs in.
    auto mondayAt = [](int h, int m, int s = 0) {
        return QDateTime(QDate(2024, 1, 15), QTime(h, m, s), Qt::LocalTime);
    };
    const QDateTime utcMondayMidnight(QDate(2024, 1, 15), QTime(0, 0), Qt::UTC);

    QTest::newRow("exact time") << time("\"timeExact\":\"09:30\"") << mondayAt(9, 30, 59) << false
                                << false << true;
    QTest::newRow("exact time differs")
        << time("\"timeExact\":\"09:30\"") << mondayAt(9, 31) << false << false << false;
    QTest::newRow("exact time needs two digits")
        << time("\"timeExact\":\"9:30\"") << mondayAt(9, 30) << false << false << false;
    QTest::newRow("range includes its start")
        << time("\"timeRange\":{\"start\":\"09:00\",\"end\":\"17:00\"}") << mondayAt(9, 0) << false
        << false << true;
    QTest::newRow("range includes its end")
        << time("\"timeRange\":{\"start\":\"09:00\",\"end\":\"17:00\"}") << mondayAt(17, 0, 30)
        << false << false << true;
    QTest::newRow("after the range")
        << time("\"timeRange\":{\"start\":\"09:00\",\"end\":\"17:00\"}") << mondayAt(17, 1) << false
        << false << false;
    QTest::newRow("range does not wrap midnight")
        << time("\"timeRange\":{\"start\":\"22:00\",\"end\":\"02:00\"}") << mondayAt(23, 0) << false
        << false << false;
    QTest::newRow("open start") << time("\"timeRange\":{\"end\":\"09:00\"}") << mondayAt(0, 0)
                                << false << false << true;
    QTest::newRow("open start, too late")
        << time("\"timeRange\":{\"start\":\"\",\"end\":\"09:00\"}") << mondayAt(9, 1) << false
        << false << false;
    // Bounds are compared as text, so a bound without its leading zero sorts after "10:00".
    QTest::newRow("bound compared as text")
        << time("\"timeRange\":{\"end\":\"9:00\"}") << mondayAt(10, 0) << false << false << true;
    QTest::newRow("bound with letters compared as text")
        << time("\"timeRange\":{\"start\":\"1a:00\"}") << mondayAt(19, 0) << false << false
        << false;
    QTest::newRow("open end") << time("\"timeRange\":{\"start\":\"18:00\"}") << mondayAt(23, 59)
                              << false << false << true;
    QTest::newRow("day name in capitals")
        << time("\"daysOfWeek\":[\"MON\"]") << mondayAt(12, 0) << false << false << true;
    QTest::newRow("full day name matches nothing")
        << time("\"daysOfWeek\":[\"monday\"]") << mondayAt(12, 0) << false << false << false;
    QTest::newRow("other day") << time("\"daysOfWeek\":[\"tue\",\"sun\"]") << mondayAt(12, 0)
                               << false << false << false;
    QTest::newRow("day and range")
        << time("\"daysOfWeek\":[\"sat\",\"mon\"],\"timeRange\":{\"start\":\"08:00\"}")
        << mondayAt(12, 0) << false << false << true;
    QTest::newRow("recurring only, single event")
        << time("\"daysOfWeek\":[\"mon\"],\"recurringOnly\":true") << mondayAt(12, 0) << false
        << false << false;
    QTest::newRow("recurring only, series")
        << time("\"daysOfWeek\":[\"mon\"],\"recurringOnly\":true") << mondayAt(12, 0) << false
        << true << true;
    // All-day events stand on their stored date whatever the local zone.
    QTest::newRow("all-day by stored weekday")
        << time("\"daysOfWeek\":[\"mon\"]") << utcMondayMidnight << true << false << true;
    QTest::newRow("all-day not on the day before")
        << time("\"daysOfWeek\":[\"sun\"]") << utcMondayMidnight << true << false << false;
    QTest::newRow("all-day at its stored midnight")
        << time("\"timeExact\":\"00:00\"") << utcMondayMidnight << true << false << true;
}

void tst_FilterEngine::timeConditions()
{
    QFETCH(QString, conditions);
    QFETCH(QDateTime, start);
    QFETCH(bool, allDay);
    QFETCH(bool, recurring);
    QFETCH(bool, matches);
    Event e = makeEvent(QStringLiteral("a"), QStringLiteral("x"));
    e.start_time = start;
    e.is_all_day = allDay;
    if (recurring)
        e.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
    const auto c = parseFilterConditions(conditions);
    QVERIFY(c.has_value());
    QCOMPARE(filterConditionMatches(e, FilterRule(), *c), matches);
    QCOMPARE(timeConditionMatches(e, std::get<TimeCondition>(*c)), matches);
    // The engine's cached path agrees with the single test.
    const FilterResult r = applyFilterRules({e}, {makeRule(QStringLiteral("r"), conditions)});
    QCOMPARE(r.hiddenCount, matches ? 1 : 0);
}

void tst_FilterEngine::manyEventsAroundClockChanges()
{
    // UTC starts every 10 minutes around the 2024 clock changes of Berlin and New York. Filtering
    // a whole list must see each start at the same local time as testing it alone does.
    QList<Event> events;
    const QDateTime changes[] = {QDateTime(QDate(2024, 3, 31), QTime(1, 0), Qt::UTC),
                                 QDateTime(QDate(2024, 10, 27), QTime(1, 0), Qt::UTC),
                                 QDateTime(QDate(2024, 3, 10), QTime(7, 0), Qt::UTC),
                                 QDateTime(QDate(2024, 11, 3), QTime(6, 0), Qt::UTC)};
    for (const QDateTime &change : changes) {
        for (int step = -36; step <= 36; ++step) {
            Event e = makeEvent(QStringLiteral("e%1").arg(events.size()), QStringLiteral("x"));
            e.start_time = change.addSecs(step * 600);
            events.append(e);
        }
    }
    QStringList conditions;
    for (int h = 0; h < 24; ++h) {
        conditions.append(QStringLiteral("{\"runtimeType\":\"time\",\"timeRange\":{\"start\":"
                                         "\"%1:00\",\"end\":\"%1:59\"}}")
                              .arg(h, 2, 10, QLatin1Char('0')));
    }
    for (const char *day : {"mon", "tue", "wed", "thu", "fri", "sat", "sun"}) {
        conditions.append(QStringLiteral("{\"runtimeType\":\"time\",\"daysOfWeek\":[\"%1\"]}")
                              .arg(QLatin1String(day)));
    }
    conditions.append(QStringLiteral("{\"runtimeType\":\"time\",\"timeExact\":\"02:30\"}"));
    for (const QString &text : std::as_const(conditions)) {
        const FilterRule rule = makeRule(QStringLiteral("r"), text);
        const FilterCondition condition = *parseFilterConditions(text);
        QSet<QString> expected;
        for (const Event &e : std::as_const(events)) {
            if (filterConditionMatches(e, rule, condition))
                expected.insert(e.id);
        }
        QCOMPARE(sorted(applyFilterRules(events, {rule}).suppressedIds), sorted(expected));
    }
}

void tst_FilterEngine::specificAndAllDayConditions_data()
{
    QTest::addColumn<QString>("conditions");
    QTest::addColumn<QString>("eventUid");
    QTest::addColumn<QString>("providerId");
    QTest::addColumn<QString>("eventCalendar");
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<bool>("recurring");
    QTest::addColumn<bool>("matches");

    const QString specific = QStringLiteral("{\"runtimeType\":\"specific\"}");
    const QString allDay = QStringLiteral("{\"runtimeType\":\"allDay\"}");
    const QString allDayRecurring
        = QStringLiteral("{\"runtimeType\":\"allDay\",\"recurringOnly\":true}");
    const QString calA = QStringLiteral("cal-a");
    const QString target = QStringLiteral("target");

    // The rule names uid "target" in calendar "cal-a".
    QTest::newRow("specific by uid")
        << specific << target << QString() << calA << false << false << true;
    QTest::newRow("specific in another calendar")
        << specific << target << QString() << QStringLiteral("cal-b") << false << false << false;
    QTest::newRow("specific by provider id")
        << specific << QStringLiteral("other") << target << calA << false << false << true;
    QTest::newRow("specific, neither")
        << specific << QStringLiteral("other") << QStringLiteral("other2") << calA << false << false
        << false;
    QTest::newRow("specific is exact")
        << specific << QStringLiteral("Target") << QString() << calA << false << false << false;
    QTest::newRow("all-day") << allDay << target << QString() << calA << true << false << true;
    QTest::newRow("timed is not all-day")
        << allDay << target << QString() << calA << false << false << false;
    QTest::newRow("all-day recurring only, single")
        << allDayRecurring << target << QString() << calA << true << false << false;
    QTest::newRow("all-day recurring only, series")
        << allDayRecurring << target << QString() << calA << true << true << true;
}

void tst_FilterEngine::specificAndAllDayConditions()
{
    QFETCH(QString, conditions);
    QFETCH(QString, eventUid);
    QFETCH(QString, providerId);
    QFETCH(QString, eventCalendar);
    QFETCH(bool, allDay);
    QFETCH(bool, recurring);
    QFETCH(bool, matches);

    Event e = makeEvent(QStringLiteral("a"), QStringLiteral("x"), eventCalendar);
    e.uid = eventUid;
    e.provider_event_id = providerId;
    e.is_all_day = allDay;
    if (recurring)
        e.recurrence_rule = QStringLiteral("FREQ=YEARLY");
    FilterRule rule = makeRule(QStringLiteral("r"), conditions);
    rule.event_uid = QStringLiteral("target");
    rule.event_calendar_id = QStringLiteral("cal-a");
    const auto c = parseFilterConditions(conditions);
    QVERIFY(c.has_value());
    QCOMPARE(filterConditionMatches(e, rule, *c), matches);
}

void tst_FilterEngine::priorityDecides_data()
{
    QTest::addColumn<QList<int>>("priorities");
    QTest::addColumn<QString>("decider");

    // Every rule matches; rule ids are r0, r1, ... in input order.
    QTest::newRow("lower number first") << QList<int> {20, 10} << QStringLiteral("r1");
    QTest::newRow("input order among equals") << QList<int> {5, 5} << QStringLiteral("r0");
    QList<int> twenty(20, 100);
    QTest::newRow("twenty equal") << twenty << QStringLiteral("r0");
    twenty[13] = 99;
    twenty[17] = 99;
    QTest::newRow("twenty, two lower") << twenty << QStringLiteral("r13");
    QTest::newRow("twenty mixed") << QList<int> {50, 40, 30, 30, 60, 10, 70,  10, 80, 90,
                                                 10, 20, 20, 30, 10, 5,  100, 5,  0,  1}
                                  << QStringLiteral("r18");
    QTest::newRow("negative priority")
        << QList<int> {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1}
        << QStringLiteral("r19");
}

void tst_FilterEngine::priorityDecides()
{
    QFETCH(QList<int>, priorities);
    QFETCH(QString, decider);
    QList<FilterRule> rules;
    for (int i = 0; i < priorities.size(); ++i) {
        // Alternate actions so that the decider shows in the result as well.
        rules.append(makeRule(QStringLiteral("r%1").arg(i), titleRule(QStringLiteral("Meet")),
                              priorities[i],
                              i % 2 ? QStringLiteral("dim") : QStringLiteral("hide")));
    }
    const Event e = makeEvent(QStringLiteral("a"), QStringLiteral("Meeting"));
    const auto first = firstMatchingFilterRule(e, rules);
    QVERIFY(first.has_value());
    QCOMPARE(first->id, decider);
    const FilterResult r = applyFilterRules({e}, rules);
    QCOMPARE(r.hiddenCount, first->action == QLatin1String("hide") ? 1 : 0);
    QCOMPARE(r.dimmedIds.size(), first->action == QLatin1String("dim") ? 1 : 0);
}

void tst_FilterEngine::actionsAndSuppression_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("suppress");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<bool>("dimmed");
    QTest::addColumn<bool>("suppressed");

    QTest::newRow("hide") << QStringLiteral("hide") << false << false << false << true;
    QTest::newRow("hide, suppressing") << QStringLiteral("hide") << true << false << false << true;
    QTest::newRow("dim") << QStringLiteral("dim") << false << true << true << false;
    QTest::newRow("dim, suppressing") << QStringLiteral("dim") << true << true << true << true;
    // An unknown action keeps the event, and still ends the search before the hide rule.
    QTest::newRow("unknown action") << QStringLiteral("Hide") << true << true << false << false;
    QTest::newRow("empty action") << QString() << true << true << false << false;
}

void tst_FilterEngine::actionsAndSuppression()
{
    QFETCH(QString, action);
    QFETCH(bool, suppress);
    QFETCH(bool, kept);
    QFETCH(bool, dimmed);
    QFETCH(bool, suppressed);

    FilterRule first
        = makeRule(QStringLiteral("first"), titleRule(QStringLiteral("Gym")), 10, action);
    first.suppress_reminders = suppress;
    const FilterRule later
        = makeRule(QStringLiteral("later"), titleRule(QStringLiteral("Gym")), 20);
    const QList<Event> events {makeEvent(QStringLiteral("gym"), QStringLiteral("Gym")),
                               makeEvent(QStringLiteral("other"), QStringLiteral("Work"))};
    const FilterResult r = applyFilterRules(events, {later, first});

    QCOMPARE(idsOf(r.events),
             kept ? (QStringList {QStringLiteral("gym"), QStringLiteral("other")})
                  : QStringList {QStringLiteral("other")});
    QCOMPARE(r.hiddenCount, kept ? 0 : 1);
    QCOMPARE(sorted(r.dimmedIds), dimmed ? QStringList {QStringLiteral("gym")} : QStringList());
    QCOMPARE(sorted(r.suppressedIds),
             suppressed ? QStringList {QStringLiteral("gym")} : QStringList());
}

void tst_FilterEngine::calendarSets_data()
{
    QTest::addColumn<QString>("calendarIds");
    QTest::addColumn<QStringList>("parsed");
    QTest::addColumn<bool>("applies");

    // The event is in calendar "cal-a".
    QTest::newRow("empty array is every calendar") << QStringLiteral("[]") << QStringList() << true;
    QTest::newRow("empty text is every calendar") << QString() << QStringList() << true;
    QTest::newRow("malformed is every calendar")
        << QStringLiteral("[\"cal-b\"") << QStringList() << true;
    QTest::newRow("object is every calendar")
        << QStringLiteral("{\"cal-b\":1}") << QStringList() << true;
    QTest::newRow("holds the calendar")
        << QStringLiteral("[\"cal-b\",\"cal-a\"]")
        << QStringList {QStringLiteral("cal-a"), QStringLiteral("cal-b")} << true;
    QTest::newRow("only other calendars")
        << QStringLiteral("[\"cal-b\",\"\",7]") << QStringList {QStringLiteral("cal-b")} << false;
}

void tst_FilterEngine::calendarSets()
{
    QFETCH(QString, calendarIds);
    QFETCH(QStringList, parsed);
    QFETCH(bool, applies);
    QCOMPARE(sorted(parseCalendarIdSet(calendarIds)), parsed);

    FilterRule rule = makeRule(QStringLiteral("r"), titleRule(QString()), 1, QStringLiteral("dim"));
    rule.calendar_ids = calendarIds;
    const Event e = makeEvent(QStringLiteral("a"), QStringLiteral("x"));
    QCOMPARE(firstMatchingFilterRule(e, {rule}).has_value(), applies);
    QCOMPARE(applyFilterRules({e}, {rule}).dimmedIds.size(), applies ? 1 : 0);
}

void tst_FilterEngine::sharedIdsCollapseInSets()
{
    const Event occ = makeEvent(QStringLiteral("series"), QStringLiteral("Yoga"));
    const FilterResult hidden = applyFilterRules(
        {occ, occ, occ}, {makeRule(QStringLiteral("r"), titleRule(QStringLiteral("yoga")))});
    QCOMPARE(hidden.hiddenCount, 3);
    QCOMPARE(hidden.suppressedIds.size(), 1);
    QVERIFY(hidden.events.isEmpty());

    const FilterResult dimmed
        = applyFilterRules({occ, occ},
                           {makeRule(QStringLiteral("r"), titleRule(QStringLiteral("yoga")), 1,
                                     QStringLiteral("dim"))});
    QCOMPARE(dimmed.events.size(), 2);
    QCOMPARE(dimmed.dimmedIds.size(), 1);
}

void tst_FilterEngine::dayNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("weekday");
    QTest::newRow("mon") << QStringLiteral("mon") << 1;
    QTest::newRow("THU") << QStringLiteral("THU") << 4;
    QTest::newRow("Sun") << QStringLiteral("Sun") << 7;
    QTest::newRow("monday") << QStringLiteral("monday") << 0;
    QTest::newRow("MO") << QStringLiteral("MO") << 0;
    QTest::newRow("empty") << QString() << 0;
}

void tst_FilterEngine::dayNames()
{
    QFETCH(QString, name);
    QTEST(weekdayFromName(name), "weekday");
}

QTEST_GUILESS_MAIN(tst_FilterEngine)
#include "tst_FilterEngine.moc"
