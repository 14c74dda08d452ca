#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "core/sync/ConflictResolutionService.h"
#include "core/sync/SyncClientRegistry.h"
#include "core/sync/SyncCoordinator.h"
#include "core/sync/SyncEngine.h"
#include "model/Clock.h"
#include "model/Recurrence.h"
#include "services/sync/microsoft/AuthService.h"
#include "services/sync/microsoft/MicrosoftSyncProvider.h"
#include "services/sync/microsoft/SyncClient.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "support/FakeGraph.h"
#include "support/StartedAppState.h"
#include "support/SyncRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using LarkTest::FakeGraph;
using LarkTest::FakeReply;

class tst_GraphSync : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstRunBringsSeriesWithMovedAndCancelledOccurrences();
    void nextRunSeesRemoteChanges();
    void lateMonthDaysAsGraphListsThem_data();
    void lateMonthDaysAsGraphListsThem();
    void lateMonthSeriesMadeHereKeepTheirDates_data();
    void lateMonthSeriesMadeHereKeepTheirDates();
    void aSeriesEditGraphCannotHoldWaitsHere();
    void localChangesReachGraphAsTheyWere();
    void faultsFailReadablyAndLoseNothing_data();
    void faultsFailReadablyAndLoseNothing();
    void lostCreateAnswerMakesNoDuplicate_data();
    void lostCreateAnswerMakesNoDuplicate();
    void expiredDeltaTokenListsTheWindowAgain();
    void editsOnBothSidesSettle();
    void expiredAccessTokenIsRenewed();
    void syncNowRunsMicrosoftAccounts();
};

namespace {

// A Monday; the window runs from 2 September 2025 to 2 March 2028.
const QDateTime kNow(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
const QDateTime kFrom = kNow.addMonths(-6);
const QDateTime kTo = kNow.addMonths(24);

QJsonObject at(const QString &dateTime, const QString &zone)
{
    return {{QStringLiteral("dateTime"), dateTime}, {QStringLiteral("timeZone"), zone}};
}

QJsonObject graphEvent(const QString &subject, const QString &start, const QString &end,
                       const QString &zone = QStringLiteral("UTC"))
{
    return {{QStringLiteral("subject"), subject},
            {QStringLiteral("start"), at(start, zone)},
            {QStringLiteral("end"), at(end, zone)},
            {QStringLiteral("location"),
             QJsonObject {{QStringLiteral("displayName"), QStringLiteral("Room 1")}}},
            {QStringLiteral("body"),
             QJsonObject {{QStringLiteral("contentType"), QStringLiteral("html")},
                          {QStringLiteral("content"), QStringLiteral("<b>Notes</b>")}}}};
}

struct Device
{
    explicit Device(const FakeGraph &graph)
    {
        account.id = QStringLiteral("ms-account");
        account.name = QStringLiteral("Work");
        account.type = QStringLiteral("microsoft");
        account.created_at = account.updated_at = kNow;
        ok = state.ok() && state->accounts()->insert(account)
            && Microsoft::AuthService::saveTokens(
                 account.id, {graph.accessToken, QStringLiteral("refresh-1"), kNow.addSecs(3600)});
        if (ok)
            pinned.emplace([] { return kNow; });
    }

    Calendar calendar(const QString &graphId) const
    {
        for (const Calendar &c : state->calendars()->listByAccount(account.id)) {
            if (c.url == graphId)
                return c;
        }
        return Calendar();
    }

    std::optional<Event> byTitle(const QString &calendarId, const QString &title) const
    {
        for (const Event &e : state->events()->listByCalendar(calendarId)) {
            if (e.title == title && e.recurrence_id.isEmpty())
                return state->events()->byId(e.id);
        }
        return std::nullopt;
    }

    // A local edit of the event with this title; the row waits in the outbox.
    Event edit(const QString &calendarId, const QString &title,
               const std::function<void(Event &)> &change) const
    {
        Event e = *byTitle(calendarId, title);
        change(e);
        e.sync_status = QStringLiteral("pending");
        if (!state->events()->update(e))
            qWarning("the edit was not stored");
        return e;
    }

    bool addLocal(const QString &calendarId, const QString &id, const QString &title) const
    {
        return state->events()->insert(LarkTest::madeHere(
            calendarId, id, title, QDateTime(QDate(2026, 3, 6), QTime(10, 0), Qt::UTC), 30, kNow));
    }

    // Pins the program clock once the device stands, for as long as it lives.
    std::optional<Clock::Override> pinned;
    LarkTest::StartedAppState state;
    Account account;
    bool ok = false;
};

using RunResult = LarkTest::SyncOutcome;

// calendarFailures, when given, gets each calendar failure of the run ("<calendar id>: reason").
RunResult runSync(Device &device, FakeGraph &graph, int timeoutMs = 30000,
                  QStringList *calendarFailures = nullptr)
{
    Net::Limits limits;
    limits.silenceMs = timeoutMs;
    const Net::LimitsOverride scoped(limits);
    auto *client = new Microsoft::MicrosoftSyncProvider(device.account);
    client->setServiceRoot(graph.root());
    auto *engine
        = new Sync::SyncEngine(Sync::SyncStore::of(*device.state.get()), device.account, client);
    if (calendarFailures)
        QObject::connect(engine, &AccountSyncRun::calendarSyncFailed,
                         [calendarFailures](const QString &id, const QString &reason) {
                             *calendarFailures << id + QStringLiteral(": ") + reason;
                         });
    return LarkTest::runToEnd(engine);
}

int tokenRequests(FakeGraph &graph)
{
    return graph.server().requestsTo("POST", QStringLiteral("/common/oauth2/v2.0/token")).size();
}

QString line(const QString &title, const QDateTime &start, const QDateTime &end)
{
    return title + QLatin1Char('|') + start.toUTC().toString(Qt::ISODate) + QLatin1Char('|')
        + end.toUTC().toString(Qt::ISODate);
}

// What the user sees over the window on each side: one line per occurrence.
QStringList localView(const Device &device, const QString &calendarId)
{
    QStringList out;
    for (const Event &e :
         expandOccurrences(device.state->events()->listByCalendar(calendarId), kFrom, kTo))
        out << line(e.title, e.start_time, e.end_time.value_or(e.start_time));
    out.sort();
    return out;
}

QStringList remoteView(const FakeGraph &graph, const QString &calendarId)
{
    QStringList out;
    for (const QJsonObject &o : graph.calendarView(calendarId, kFrom, kTo)) {
        const auto time = [&o](const char *key) {
            const QJsonObject v = o.value(QLatin1String(key)).toObject();
            return QDateTime::fromString(v.value(QStringLiteral("dateTime")).toString().left(19)
                                             + QLatin1Char('Z'),
                                         Qt::ISODate);
        };
        out << line(o.value(QStringLiteral("subject")).toString(), time("start"), time("end"));
    }
    out.sort();
    return out;
}

// One calendar with a weekly series that began a year ago, one occurrence moved and one
// cancelled, a single event, an all-day event and an event from before the window.
struct Scene
{
    explicit Scene(FakeGraph &graph)
    {
        // Sign-in renewals go to the same loopback server and hand out the token it accepts.
        graph.server().route(
            "POST", QStringLiteral("/common/oauth2/v2.0/token"),
            [&graph](const LarkTest::RecordedRequest &) {
                return FakeReply::json(
                    200,
                    QJsonObject {{QStringLiteral("access_token"), graph.accessToken},
                                 {QStringLiteral("expires_in"), 3600}});
            });
        qputenv("MICROSOFT_AUTHORITY_URL", graph.server().url().toString().toUtf8());
        calendar = graph.addCalendar(QStringLiteral("Calendar"));
        QJsonObject standup = graphEvent(
            QStringLiteral("Standup"), QStringLiteral("2025-03-03T09:00:00"),
            QStringLiteral("2025-03-03T09:15:00"), QStringLiteral("Eastern Standard Time"));
        standup.insert(QStringLiteral("recurrence"),
                       QJsonDocument::fromJson(R"({
            "pattern": {"type": "weekly", "interval": 1, "daysOfWeek": ["monday"],
                        "firstDayOfWeek": "sunday"},
            "range": {"type": "noEnd", "startDate": "2025-03-03",
                      "recurrenceTimeZone": "Eastern Standard Time"}})")
                           .object());
        series = graph.addEvent(calendar, standup);
        graph.moveOccurrence(
            series, QDate(2026, 3, 9),
            QDateTime(QDate(2026, 3, 10), QTime(14, 0), QTimeZone("America/New_York")),
            QDateTime(QDate(2026, 3, 10), QTime(14, 30), QTimeZone("America/New_York")));
        graph.cancelOccurrence(series, QDate(2026, 3, 16));
        dentist = graph.addEvent(calendar,
                                 graphEvent(QStringLiteral("Dentist"),
                                            QStringLiteral("2026-03-04T15:00:00"),
                                            QStringLiteral("2026-03-04T16:00:00")));
        QJsonObject conference
            = graphEvent(QStringLiteral("Conference"), QStringLiteral("2026-03-20T00:00:00"),
                         QStringLiteral("2026-03-22T00:00:00"));
        conference.insert(QStringLiteral("isAllDay"), true);
        graph.addEvent(calendar, conference);
        graph.addEvent(calendar,
                       graphEvent(QStringLiteral("Long ago"), QStringLiteral("2025-01-06T10:00:00"),
                                  QStringLiteral("2025-01-06T11:00:00")));
    }
    QString calendar;
    QString series;
    QString dentist;
};

// The scene on the service and a device that synced it once.
struct Synced
{
    Synced()
        : listening(graph.listen())
        , scene(graph)
        , device(graph)
    {
        ok = listening && device.ok && runSync(device, graph).finished == 1;
        calendarId = device.calendar(scene.calendar).id;
        graph.server().clearRequests();
    }
    RunResult sync(int timeoutMs = 30000) { return runSync(device, graph, timeoutMs); }
    QStringList local() const { return localView(device, calendarId); }
    QStringList remote() const { return remoteView(graph, scene.calendar); }
    QString subjectOf(const QString &id) const
    {
        return graph.event(id).value(QStringLiteral("subject")).toString();
    }

    FakeGraph graph;
    bool listening;
    Scene scene;
    Device device;
    EventRepository *events = device.state->events();
    QString calendarId;
    bool ok = false;
};

} // namespace

void tst_GraphSync::init()
{
    qputenv("MICROSOFT_CLIENT_ID", "test-client");
}

void tst_GraphSync::firstRunBringsSeriesWithMovedAndCancelledOccurrences()
{
    FakeGraph graph;
    QVERIFY(graph.listen());
    const Scene scene(graph);
    Device device(graph);
    QVERIFY(device.ok);

    const RunResult run = runSync(device, graph);
    QCOMPARE(run.finished, 1);
    const Calendar local = device.calendar(scene.calendar);
    QVERIFY(!local.id.isEmpty());
    QVERIFY(!local.delta_sync_token.isEmpty());

    // Every occurrence of the window as the service shows it, the moved one in its new place and
    // the cancelled one gone; nothing from before the window.
    const QStringList view = localView(device, local.id);
    QCOMPARE(view, remoteView(graph, scene.calendar));
    QVERIFY(view.contains(QStringLiteral("Standup|2026-03-10T18:00:00Z|2026-03-10T18:30:00Z")));
    QVERIFY(!view.contains(QStringLiteral("Standup|2026-03-16T13:00:00Z|2026-03-16T13:15:00Z")));
    QVERIFY(view.contains(QStringLiteral("Conference|2026-03-20T00:00:00Z|2026-03-22T00:00:00Z")));
    QVERIFY(!device.byTitle(local.id, QStringLiteral("Long ago")));
    const std::optional<Event> master = device.byTitle(local.id, QStringLiteral("Standup"));
    QVERIFY(master);
    QCOMPARE(master->timezone, QStringLiteral("America/New_York"));
    QCOMPARE(master->recurrence_rule, QStringLiteral("FREQ=WEEKLY;BYDAY=MO;WKST=SU"));

    // The documented query: a window on the first request, every page followed, the series
    // fetched once.
    const QList<LarkTest::RecordedRequest> pages = graph.server().requestsTo(
        "GET", QStringLiteral("/v1.0/me/calendars/%1/calendarView/delta").arg(scene.calendar));
    QVERIFY(pages.size() >= 2);
    QCOMPARE(pages.first().query.queryItemValue(QStringLiteral("startDateTime")),
             QStringLiteral("2025-09-02T09:00:00.000Z"));
    QCOMPARE(pages.first().query.queryItemValue(QStringLiteral("endDateTime")),
             QStringLiteral("2028-03-02T09:00:00.000Z"));
    QVERIFY(pages.first().header("Prefer").contains("odata.maxpagesize="));
    QVERIFY(pages.first().header("Prefer").contains("outlook.timezone=\"UTC\""));
    QVERIFY(pages.last().query.hasQueryItem(QStringLiteral("$skiptoken")));
    QCOMPARE(
        graph.server().requestsTo("GET", QStringLiteral("/v1.0/me/events/") + scene.series).size(),
        1);

    // Other devices know the calendar by its key, also one added before keys were given.
    QCOMPARE(local.canonical_key,
             calendarIdentityKey(QStringLiteral("microsoft"), scene.calendar).value());
    Calendar unkeyed = local;
    unkeyed.canonical_key.clear();
    QVERIFY(device.state->calendars()->update(unkeyed));
    QCOMPARE(runSync(device, graph).finished, 1);
    QCOMPARE(device.calendar(scene.calendar).canonical_key, local.canonical_key);
}

void tst_GraphSync::nextRunSeesRemoteChanges()
{
    Synced w;
    QVERIFY(w.ok);
    QVERIFY(w.graph.removeEvent(w.scene.dentist));
    QVERIFY(w.graph.cancelOccurrence(w.scene.series, QDate(2026, 3, 23)));
    w.graph.addEvent(w.scene.calendar,
                     graphEvent(QStringLiteral("Lunch"), QStringLiteral("2026-03-05T12:00:00"),
                                QStringLiteral("2026-03-05T13:00:00")));
    QCOMPARE(w.sync().finished, 1);
    QCOMPARE(w.local(), w.remote());
    QVERIFY(!w.device.byTitle(w.calendarId, QStringLiteral("Dentist")));
    const QList<LarkTest::RecordedRequest> delta = w.graph.server().requestsTo(
        "GET", QStringLiteral("/v1.0/me/calendars/%1/calendarView/delta").arg(w.scene.calendar));
    QVERIFY(!delta.isEmpty());
    QVERIFY(delta.first().query.hasQueryItem(QStringLiteral("$deltatoken")));
    for (const auto &page : delta)
        QVERIFY(!page.query.hasQueryItem(QStringLiteral("startDateTime")));

    // A series deleted at the source: only its occurrences leave the view.
    QVERIFY(w.graph.removeEvent(w.scene.series));
    QCOMPARE(w.sync().finished, 1);
    QCOMPARE(w.local(), w.remote());
    QVERIFY(!w.device.byTitle(w.calendarId, QStringLiteral("Standup")));
}

void tst_GraphSync::lateMonthDaysAsGraphListsThem_data()
{
    QTest::addColumn<int>("dayOfMonth");
    QTest::addColumn<int>("month"); // 0: monthly
    QTest::addColumn<QString>("firstDay"); // of the event
    QTest::addColumn<QString>("rangeStart");
    QTest::addColumn<int>("count"); // 0: no end
    QTest::addColumn<QString>("lastDayOfMonth"); // an occurrence moved to a month's last day

    QTest::newRow("monthly on the 31st") << 31 << 0 << "2025-10-31"
                                         << "2025-10-31" << 0 << "2026-02-28";
    QTest::newRow("monthly on the 30th") << 30 << 0 << "2025-09-30"
                                         << "2025-09-30" << 0 << "2027-02-28";
    QTest::newRow("monthly on the 29th") << 29 << 0 << "2025-09-29"
                                         << "2025-09-29" << 0 << "2026-02-28";
    QTest::newRow("yearly on 29 February") << 29 << 2 << "2024-02-29"
                                           << "2024-02-29" << 0 << "2027-02-28";
    // The rule counts from the event's start, Graph from the range's: Graph's list is shown.
    QTest::newRow("counted from a later range start") << 30 << 0 << "2026-01-05"
                                                      << "2026-02-01" << 3 << "2026-02-28";
}

// A series on a day that shorter months lack is shown on their last day, as Graph lists it.
void tst_GraphSync::lateMonthDaysAsGraphListsThem()
{
    QFETCH(int, dayOfMonth);
    QFETCH(int, month);
    QFETCH(QString, firstDay);
    QFETCH(QString, rangeStart);
    QFETCH(int, count);
    QFETCH(QString, lastDayOfMonth);

    Synced w;
    QVERIFY(w.ok);
    QJsonObject pattern {{QStringLiteral("interval"), 1},
                         {QStringLiteral("dayOfMonth"), dayOfMonth}};
    pattern.insert(QStringLiteral("type"),
                   month ? QStringLiteral("absoluteYearly") : QStringLiteral("absoluteMonthly"));
    if (month)
        pattern.insert(QStringLiteral("month"), month);
    QJsonObject range {
        {QStringLiteral("startDate"), rangeStart},
        {QStringLiteral("type"), count ? QStringLiteral("numbered") : QStringLiteral("noEnd")},
        {QStringLiteral("numberOfOccurrences"), count}};
    QJsonObject series = graphEvent(QStringLiteral("Late"), firstDay + QStringLiteral("T10:00:00"),
                                    firstDay + QStringLiteral("T11:00:00"));
    series.insert(
        QStringLiteral("recurrence"),
        QJsonObject {{QStringLiteral("pattern"), pattern}, {QStringLiteral("range"), range}});
    w.graph.addEvent(w.scene.calendar, series);
    QCOMPARE(w.sync().finished, 1);
    QVERIFY(
        w.remote().contains(QStringLiteral("Late|%1T10:00:00Z|%1T11:00:00Z").arg(lastDayOfMonth)));
    QCOMPARE(w.local(), w.remote());
}

namespace {

// The series "Late" made here, an hour long, waiting for its first push.
Event lateSeries(const QString &calendarId, const QString &rule, const QDateTime &start)
{
    Event series = LarkTest::madeHere(calendarId, QStringLiteral("local-late"),
                                      QStringLiteral("Late"), start, 60, kNow);
    series.recurrence_rule = rule;
    return series;
}

} // namespace

void tst_GraphSync::lateMonthSeriesMadeHereKeepTheirDates_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<int>("shown"); // occurrences in the window; -1: refused, kept here

    QTest::newRow("the 31st, six times")
        << "FREQ=MONTHLY;BYMONTHDAY=31;COUNT=6"
        << QDateTime(QDate(2026, 1, 31), QTime(10, 0), Qt::UTC) << 6;
    QTest::newRow("the 30th, six times")
        << "FREQ=MONTHLY;BYMONTHDAY=30;COUNT=6"
        << QDateTime(QDate(2026, 1, 30), QTime(10, 0), Qt::UTC) << 6;
    QTest::newRow("the 29th, six times")
        << "FREQ=MONTHLY;BYMONTHDAY=29;COUNT=6"
        << QDateTime(QDate(2026, 1, 29), QTime(10, 0), Qt::UTC) << 6;
    // 2024 and 2028: the window holds the second alone, and none of the 28ths between.
    QTest::newRow("29 February, twice")
        << "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29;COUNT=2"
        << QDateTime(QDate(2024, 2, 29), QTime(10, 0), Qt::UTC) << 1;
    QTest::newRow("the 31st for ever")
        << "FREQ=MONTHLY;BYMONTHDAY=31" << QDateTime(QDate(2026, 1, 31), QTime(10, 0), Qt::UTC)
        << -1;
}

// A series made here on a day shorter months lack reaches Graph with the rule's dates alone, as
// the service expands it, and comes back unchanged; one Graph cannot hold stays here, said once.
void tst_GraphSync::lateMonthSeriesMadeHereKeepTheirDates()
{
    QFETCH(QString, rule);
    QFETCH(QDateTime, start);
    QFETCH(int, shown);
    Synced w;
    QVERIFY(w.ok);
    const Event series = lateSeries(w.calendarId, rule, start);
    QVERIFY(w.events->insert(series));

    const RunResult first = w.sync();
    QCOMPARE(first.failed, shown < 0 ? 1 : 0);
    QVERIFY2(shown >= 0 || first.reason.contains(rule), qPrintable(first.reason));
    // The next run neither fails again nor changes anything.
    QCOMPARE(w.sync().finished, 1);
    const QStringList late = w.local().filter(QStringLiteral("Late|"));
    QVERIFY(!late.isEmpty());
    QCOMPARE(shown < 0 ? -1 : late.size(), shown);
    QCOMPARE(w.remote().filter(QStringLiteral("Late|")), shown < 0 ? QStringList() : late);
    const Event after = *w.events->byId(series.id);
    QCOMPARE(after.recurrence_rule, rule);
    QCOMPARE(after.sync_status, QStringLiteral("synced"));
    QCOMPARE(after.provider_event_id.isEmpty(), shown < 0);
}

// A series changed here to a rule Graph has no exact form for stays here, waiting, its calendar
// saying why, at every run, which fails for it no more; the next edit Graph can hold goes out.
void tst_GraphSync::aSeriesEditGraphCannotHoldWaitsHere()
{
    Synced w;
    QVERIFY(w.ok);
    const Event series
        = lateSeries(w.calendarId, QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=15;COUNT=6"),
                     QDateTime(QDate(2026, 1, 15), QTime(10, 0), Qt::UTC));
    QVERIFY(w.events->insert(series));
    QCOMPARE(w.sync().finished, 1);
    const QStringList before = w.remote().filter(QStringLiteral("Late|"));
    QCOMPARE(before.size(), 6);

    const QString forEver = QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=31");
    w.device.edit(w.calendarId, QStringLiteral("Late"), [&](Event &e) {
        e.start_time = QDateTime(QDate(2026, 1, 31), QTime(10, 0), Qt::UTC);
        e.end_time = e.start_time.addSecs(3600);
        e.recurrence_rule = forEver;
    });
    const QString graphId = w.events->byId(series.id)->provider_event_id;
    // Someone renames it at Graph meanwhile: that comes in, the rule here stays.
    QVERIFY(w.graph.editEvent(graphId, [](QJsonObject &o) {
        o.insert(QStringLiteral("subject"), QStringLiteral("Late (renamed)"));
    }));
    for (int run = 0; run < 2; ++run) {
        QStringList said;
        QCOMPARE(runSync(w.device, w.graph, 30000, &said).finished, 1);
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().startsWith(w.calendarId + QStringLiteral(": "))
                     && said.first().contains(forEver),
                 qPrintable(said.first()));
        const Event kept = *w.events->byId(series.id);
        QCOMPARE(kept.sync_status, QStringLiteral("pending"));
        QCOMPARE(kept.recurrence_rule, forEver);
        QCOMPARE(kept.title, QStringLiteral("Late (renamed)"));
        QCOMPARE(w.remote().filter(QStringLiteral("Late")).size(), 6);
    }

    // Given an end, Graph can hold it: it goes out as it is here.
    w.device.edit(w.calendarId, QStringLiteral("Late (renamed)"), [](Event &e) {
        e.recurrence_rule = QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=31;COUNT=6");
    });
    QCOMPARE(w.sync().finished, 1);
    const Event sent = *w.events->byId(series.id);
    QCOMPARE(sent.sync_status, QStringLiteral("synced"));
    const QStringList late = w.local().filter(QStringLiteral("Late (renamed)|"));
    QCOMPARE(late.size(), 6);
    QCOMPARE(w.remote().filter(QStringLiteral("Late (renamed)|")), late);
}

void tst_GraphSync::localChangesReachGraphAsTheyWere()
{
    Synced w;
    QVERIFY(w.ok);
    const Event dentist = w.device.edit(w.calendarId, QStringLiteral("Dentist"), [](Event &e) {
        e.title = QStringLiteral("Dentist (moved)");
        e.location.clear();
    });
    w.device.edit(w.calendarId, QStringLiteral("Standup"),
                  [](Event &e) { e.title = QStringLiteral("Team standup"); });
    const Event conference = *w.device.byTitle(w.calendarId, QStringLiteral("Conference"));
    QVERIFY(w.events->remove(conference.id));
    QVERIFY(w.device.addLocal(w.calendarId, QStringLiteral("local-1"), QStringLiteral("Review")));
    // One occurrence moved here (as an import brings it): a change of that instance at Graph.
    Event moved = LarkTest::occurrenceMovedHere(
        *w.device.byTitle(w.calendarId, QStringLiteral("Team standup")),
        QStringLiteral("local-moved"), QStringLiteral("20260323T130000Z"),
        QDateTime(QDate(2026, 3, 23), QTime(15, 0), Qt::UTC),
        QDateTime(QDate(2026, 3, 23), QTime(15, 15), Qt::UTC));
    moved.title = QStringLiteral("Standup, later");
    QVERIFY(w.events->insert(moved));

    QCOMPARE(w.sync().finished, 1);
    QVERIFY(w.events->listPending(w.calendarId).isEmpty());
    // The next run brings back what the service made of the pushes (the moved occurrence takes
    // the series' new title) and sends nothing.
    const int sent = w.graph.server().requestCount();
    QCOMPARE(w.sync().finished, 1);
    QCOMPARE(w.local(), w.remote());
    for (const auto &r : w.graph.server().requests().mid(sent))
        QCOMPARE(r.method, QByteArray("GET"));

    // Only what changed, cleared fields as empty values, the precondition as the service's tag.
    const QString events = QStringLiteral("/v1.0/me/calendars/%1/events/").arg(w.scene.calendar);
    const auto patches = w.graph.server().requestsTo("PATCH", events + w.scene.dentist);
    QCOMPARE(patches.size(), 1);
    const QByteArray expected
        = R"json({"location":{"displayName":""},"subject":"Dentist (moved)"})json";
    QCOMPARE(patches.first().body, expected);
    QVERIFY(dentist.etag.startsWith(QLatin1String("W/\"")));
    QCOMPARE(patches.first().header("If-Match"), dentist.etag.toUtf8());
    // The series keeps its pattern and its HTML body: only the title travels.
    const auto seriesPatches = w.graph.server().requestsTo("PATCH", events + w.scene.series);
    QCOMPARE(seriesPatches.size(), 1);
    QCOMPARE(seriesPatches.first().body, QByteArray("{\"subject\":\"Team standup\"}"));
    const auto deletes
        = w.graph.server().requestsTo("DELETE", events + conference.provider_event_id);
    QCOMPARE(deletes.size(), 1);
    QCOMPARE(deletes.first().header("If-Match"), conference.etag.toUtf8());
    const QString instance = FakeGraph::occurrenceId(w.scene.series, QDate(2026, 3, 23));
    QCOMPARE(w.graph.server().requestsTo("PATCH", events + instance).size(), 1);
    QCOMPARE(w.events->byId(moved.id)->provider_event_id, instance);
    QVERIFY(w.local().contains(
        QStringLiteral("Standup, later|2026-03-23T15:00:00Z|2026-03-23T15:15:00Z")));
    const std::optional<Event> pushed = w.events->byId(QStringLiteral("local-1"));
    QVERIFY(pushed && !pushed->provider_event_id.isEmpty());
    QCOMPARE(w.subjectOf(pushed->provider_event_id), QStringLiteral("Review"));
}

void tst_GraphSync::faultsFailReadablyAndLoseNothing_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("status"); // 0: see reply
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("keptPending"); // the row a refused push leaves in the outbox

    QTest::newRow("412 on an update")
        << QByteArray("PATCH") << "/events/" << 412
        << QByteArray(R"({"error":{"code":"ErrorIrresolvableConflict","message":"x"}})")
        << "changed in the Microsoft calendar"
        << "dentist";
    QTest::newRow("403 on an update")
        << QByteArray("PATCH") << "/events/" << 403
        << QByteArray(R"({"error":{"code":"ErrorAccessDenied","message":"Access is denied."}})")
        << "Access is denied."
        << "dentist";
    QTest::newRow("400 on a create")
        << QByteArray("POST") << "/events" << 400
        << QByteArray(R"({"error":{"code":"ErrorInvalidRequest","message":"Bad start."}})")
        << "Bad start."
        << "local-1";
    QTest::newRow("401") << QByteArray("*") << "/v1.0/" << 401
                         << QByteArray(R"({"error":{"code":"InvalidAuthenticationToken"}})")
                         << "Sign in again." << QString();
    QTest::newRow("429 with Retry-After") << QByteArray("GET") << "calendarView" << 429
                                          << QByteArray("{}") << "next try will be at" << QString();
    QTest::newRow("500 on a page") << QByteArray("GET") << "calendarView" << 500
                                   << QByteArray("oops") << "HTTP 500" << QString();
    QTest::newRow("unreadable page")
        << QByteArray("GET") << "calendarView" << 200 << QByteArray("{\"value\": [")
        << "cannot be read" << QString();
    // A listing without its value list is no listing, never an account without calendars.
    for (const char *body : {"", R"({"value":null})"})
        QTest::addRow("calendar list answered '%s'", body)
            << QByteArray("GET") << "/me/calendars" << 200 << QByteArray(body) << "cannot be read"
            << QString();
    // "{root}" is the service's address: a listing that leads back to the page just read.
    QTest::newRow("calendar list whose next link comes again")
        << QByteArray("GET") << "/me/calendars" << 200
        << QByteArray(R"({"value":[],"@odata.nextLink":"{root}/me/calendars?$skiptoken=1"})")
        << "never ends" << QString();
    QTest::newRow("page that leads nowhere")
        << QByteArray("GET") << "calendarView" << 200 << QByteArray(R"({"value":[]})")
        << "leads nowhere" << QString();
    QTest::newRow("next link to another server")
        << QByteArray("GET") << "calendarView" << 200
        << QByteArray(R"({"value":[],"@odata.nextLink":"http://127.0.0.2:1/v1.0/steal"})")
        << "another server" << QString();
    QTest::newRow("dropped connection") << QByteArray("GET") << "calendarView" << -1 << QByteArray()
                                        << "could not be reached" << QString();
    QTest::newRow("no answer") << QByteArray("GET") << "calendarView" << -2 << QByteArray()
                               << "stopped answering" << QString();
}

// After a first run, the user edits one event and adds one; the run that meets the fault fails
// with a readable reason and keeps both edits; the next run delivers them.
void tst_GraphSync::faultsFailReadablyAndLoseNothing()
{
    QFETCH(QByteArray, method);
    QFETCH(QString, target);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, reason);
    QFETCH(QString, keptPending);

    Synced w;
    QVERIFY(w.ok);
    const Event dentist = w.device.edit(w.calendarId, QStringLiteral("Dentist"), [](Event &e) {
        e.title = QStringLiteral("Dentist (moved)");
    });
    QVERIFY(w.device.addLocal(w.calendarId, QStringLiteral("local-1"), QStringLiteral("Review")));

    const bool comesAgain = body.contains("{root}");
    body.replace("{root}", w.graph.root().toString().toUtf8());
    FakeReply reply = status == -1 ? FakeReply::dropped()
        : status == -2             ? FakeReply::empty(200).held()
                                   : FakeReply::text(status, body, "application/json");
    if (status == 429)
        reply.withHeader("Retry-After", "30");
    // A dropped connection is tried once more by the network layer itself; a refused token is
    // renewed once, and refused again; a link back to the same listing is answered alike.
    w.graph.failNext(method, target, reply, status == -1 || status == 401 || comesAgain ? 2 : 1);
    const int renewals = tokenRequests(w.graph);
    const RunResult failedRun = w.sync(1000);
    w.graph.clearFailures();
    QCOMPARE(tokenRequests(w.graph) - renewals, status == 401 ? 1 : 0);
    QCOMPARE(failedRun.retryAfter, status == 429 ? kNow.addSecs(30) : QDateTime());
    QCOMPARE(failedRun.failed, 1);
    QCOMPARE(failedRun.finished, 0);
    QVERIFY2(failedRun.reason.contains(reason), qPrintable(failedRun.reason));
    QVERIFY(!failedRun.reason.contains(w.graph.accessToken));
    QCOMPARE(w.events->byId(dentist.id)->title, QStringLiteral("Dentist (moved)"));
    QCOMPARE(w.events->byId(QStringLiteral("local-1"))->title, QStringLiteral("Review"));
    if (!keptPending.isEmpty()) {
        const QString id = keptPending == QLatin1String("dentist") ? dentist.id : keptPending;
        QCOMPARE(w.events->byId(id)->sync_status, QStringLiteral("pending"));
    }
    w.graph.server().releaseHeld();

    QCOMPARE(w.sync().finished, 1);
    QVERIFY(w.events->listPending(w.calendarId).isEmpty());
    QCOMPARE(w.local(), w.remote());
    QCOMPARE(w.subjectOf(w.scene.dentist), QStringLiteral("Dentist (moved)"));
}

void tst_GraphSync::lostCreateAnswerMakesNoDuplicate_data()
{
    QTest::addColumn<int>("lost"); // answers dropped after Graph made the event
    QTest::addColumn<QString>("uid"); // of the row "local-1"
    // The network layer sends the create once more: the same transaction answers the event.
    QTest::newRow("answer lost, resent") << 1 << "local-1";
    // The run fails; the next one lists the event under the row's transaction.
    QTest::newRow("answer and resend lost") << 2 << "local-1";
    // An imported event keeps the file's UID: the transaction is the row's own.
    QTest::newRow("imported, answer and resend lost") << 2 << "uid-from-a-file@example.com";
}

// An event made here reaches Graph, but no answer comes back; the user edits it meanwhile.
// After two runs each side holds it once, as edited.
void tst_GraphSync::lostCreateAnswerMakesNoDuplicate()
{
    QFETCH(int, lost);
    QFETCH(QString, uid);
    Synced w;
    QVERIFY(w.ok);
    QVERIFY(w.device.addLocal(w.calendarId, QStringLiteral("local-1"), QStringLiteral("Review")));
    Event imported = *w.events->byId(QStringLiteral("local-1"));
    imported.uid = uid;
    QVERIFY(w.events->update(imported));
    w.graph.dropAnswers("POST", QStringLiteral("/events"), lost);
    QCOMPARE(w.sync(1000).failed, lost - 1);
    w.device.edit(w.calendarId, QStringLiteral("Review"),
                  [](Event &e) { e.title = QStringLiteral("Review, room 4"); });
    QCOMPARE(w.sync().finished, 1);

    const auto count = [](const QStringList &view) {
        return view.filter(QStringLiteral("Review")).size();
    };
    QCOMPARE(count(w.local()), 1);
    QCOMPARE(count(w.remote()), 1);
    QCOMPARE(w.local(), w.remote());
    const Event after = *w.events->byId(QStringLiteral("local-1"));
    QCOMPARE(after.sync_status, QStringLiteral("synced"));
    QCOMPARE(w.subjectOf(after.provider_event_id), QStringLiteral("Review, room 4"));
    QCOMPARE(w.graph.event(after.provider_event_id).value(QStringLiteral("transactionId")),
             QJsonValue(QStringLiteral("local-1")));
}

void tst_GraphSync::expiredDeltaTokenListsTheWindowAgain()
{
    Synced w;
    QVERIFY(w.ok);
    const QString oldToken = w.device.calendar(w.scene.calendar).delta_sync_token;
    w.graph.expireDeltaTokens();
    QVERIFY(w.graph.removeEvent(w.scene.dentist));
    QCOMPARE(w.sync().finished, 1);
    const auto pages = w.graph.server().requestsTo(
        "GET", QStringLiteral("/v1.0/me/calendars/%1/calendarView/delta").arg(w.scene.calendar));
    QVERIFY(pages.first().query.hasQueryItem(QStringLiteral("$deltatoken")));
    QVERIFY(pages.at(1).query.hasQueryItem(QStringLiteral("startDateTime")));
    QVERIFY(w.device.calendar(w.scene.calendar).delta_sync_token != oldToken);
    // What the fresh listing no longer holds was deleted meanwhile.
    QCOMPARE(w.local(), w.remote());
}

void tst_GraphSync::editsOnBothSidesSettle()
{
    Synced w;
    QVERIFY(w.ok);
    // The same field on both sides, a field changed there only, and a deletion here of an
    // event changed there.
    const Event dentist = w.device.edit(w.calendarId, QStringLiteral("Dentist"),
                                        [](Event &e) { e.title = QStringLiteral("Mine"); });
    QVERIFY(w.graph.editEvent(w.scene.dentist, [](QJsonObject &e) {
        e.insert(QStringLiteral("subject"), QStringLiteral("Theirs"));
        e.insert(QStringLiteral("location"),
                 QJsonObject {{QStringLiteral("displayName"), QStringLiteral("Room 2")}});
    }));
    const Event conference = *w.device.byTitle(w.calendarId, QStringLiteral("Conference"));
    QVERIFY(w.events->remove(conference.id));
    QVERIFY(w.graph.editEvent(conference.provider_event_id, [](QJsonObject &e) {
        e.insert(QStringLiteral("subject"), QStringLiteral("Conference, renamed"));
    }));

    for (int run = 0; run < 2; ++run) {
        w.graph.server().clearRequests();
        const RunResult result = w.sync();
        QCOMPARE(result.finished, 1);
        QCOMPARE(result.failed, 0);
        QCOMPARE(w.local(), w.remote());
        QVERIFY(w.events->listPending(w.calendarId).isEmpty());
    }
    const QList<LarkTest::RecordedRequest> sent = w.graph.server().requests();
    QVERIFY(std::none_of(sent.cbegin(), sent.cend(), [](const LarkTest::RecordedRequest &r) {
        return r.method == "PATCH" || r.method == "DELETE";
    }));
    QCOMPARE(w.subjectOf(w.scene.dentist), QStringLiteral("Mine"));
    QCOMPARE(w.events->byId(dentist.id)->location, QStringLiteral("Room 2"));
    QVERIFY(!w.device.byTitle(w.calendarId, QStringLiteral("Conference")));
    QVERIFY(!w.device.byTitle(w.calendarId, QStringLiteral("Conference, renamed")));
    QCOMPARE(w.device.state->conflicts()->conflicts().size(), 2);
}

void tst_GraphSync::expiredAccessTokenIsRenewed()
{
    FakeGraph graph;
    QVERIFY(graph.listen());
    const Scene scene(graph);
    Device device(graph);
    graph.accessToken = QStringLiteral("renewed-token");
    QVERIFY(device.ok);
    QVERIFY(Microsoft::AuthService::saveTokens(
        device.account.id,
        {QStringLiteral("stale"), QStringLiteral("refresh-1"), kNow.addSecs(59)}));

    QCOMPARE(runSync(device, graph).finished, 1);
    const Microsoft::StoredTokens stored = Microsoft::AuthService::loadTokens(device.account.id);
    QCOMPARE(stored.accessToken, QStringLiteral("renewed-token"));
    QCOMPARE(stored.refreshToken, QStringLiteral("refresh-1"));
    QCOMPARE(graph.server().requestsTo("POST", QStringLiteral("/common/oauth2/v2.0/token")).size(),
             1);

    // Without a refresh token nothing is sent.
    QVERIFY(Microsoft::AuthService::saveTokens(device.account.id, {}));
    graph.server().clearRequests();
    const RunResult run = runSync(device, graph);
    QCOMPARE(run.failed, 1);
    QCOMPARE(run.reason, QStringLiteral("No saved Microsoft credentials. Sign in again."));
    QCOMPARE(graph.server().requestCount(), 0);
}

void tst_GraphSync::syncNowRunsMicrosoftAccounts()
{
    FakeGraph graph;
    QVERIFY(graph.listen());
    const Scene scene(graph);
    // Series enough that a page of the view, with the series it names, takes longer than the
    // silence limit on a slow link, though no single answer comes near it.
    for (int i = 0; i < 10; ++i) {
        const QString day
            = QStringLiteral("2026-03-02T%1:00:00").arg(8 + i, 2, 10, QLatin1Char('0'));
        QJsonObject weekly = graphEvent(QStringLiteral("Series %1").arg(i), day, day);
        weekly.insert(QStringLiteral("recurrence"),
                      QJsonDocument::fromJson(R"({
            "pattern": {"type": "weekly", "interval": 1, "daysOfWeek": ["monday"]},
            "range": {"type": "numbered", "numberOfOccurrences": 6, "startDate": "2026-03-02"}})")
                          .object());
        graph.addEvent(scene.calendar, weekly);
    }
    graph.answerDelayMs = 30;
    const int silenceLimitMs = 600;
    qputenv("MICROSOFT_GRAPH_API_URL", graph.root().toString().toUtf8());
    Device device(graph);
    QVERIFY(device.ok);
    QVERIFY(SyncClientRegistry::hasClient(QStringLiteral("microsoft")));
    Sync::SyncCoordinator coordinator(device.state.get());
    coordinator.setSilenceLimit(silenceLimitMs);
    QSignalSpy messages(&coordinator, &Sync::SyncCoordinator::statusMessage);
    coordinator.syncNow();
    QTRY_VERIFY_WITH_TIMEOUT(!coordinator.isRunning(device.account.id), 20000);
    QVERIFY2(messages.last().first().toString().startsWith(QLatin1String("Synced ")),
             qPrintable(messages.last().first().toString()));
    // Slower in all than the limit: the answers in between kept it going.
    QVERIFY(graph.server().requestCount() * graph.answerDelayMs > silenceLimitMs);
    graph.answerDelayMs = 0;
    const Calendar calendar = device.calendar(scene.calendar);
    QCOMPARE(localView(device, calendar.id), remoteView(graph, scene.calendar));

    // One calendar on its own, through the client of the account's type.
    graph.addEvent(scene.calendar,
                   graphEvent(QStringLiteral("Review"), QStringLiteral("2026-03-04T10:00:00"),
                              QStringLiteral("2026-03-04T11:00:00"), QStringLiteral("UTC")));
    Microsoft::SyncClient client(device.state.get());
    QSignalSpy completed(&client, &Microsoft::SyncClient::calendarSyncCompleted);
    client.syncCalendar(calendar);
    QTRY_COMPARE_WITH_TIMEOUT(completed.size(), 1, 20000);
    QCOMPARE(completed.first(), (QVariantList {calendar.id, 1}));
    QCOMPARE(localView(device, calendar.id), remoteView(graph, scene.calendar));
    qunsetenv("MICROSOFT_GRAPH_API_URL");
}

QTEST_MAIN(tst_GraphSync)
#include "tst_GraphSync.moc"
