#include "core/AppState.h"
#include "core/sync/ConflictResolutionService.h"
#include "core/sync/PageChain.h"
#include "core/sync/SyncEngine.h"
#include "model/Clock.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"
#include "support/FakeSyncRemote.h"
#include "support/StartedAppState.h"
#include "support/SyncRun.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

#include <algorithm>
#include <functional>

using LarkTest::FakeSyncRemote;
using Sync::ErrorKind;

Q_DECLARE_METATYPE(std::function<void(Event &)>)

namespace {

const QDateTime kMonday(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);

Event eventAt(const QString &title, int day)
{
    Event e;
    e.uid = title.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
    e.title = title;
    e.start_time = kMonday.addDays(day);
    e.end_time = e.start_time.addSecs(3600);
    e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    return e;
}

// One device: a store with an account of the fake source.
struct Device
{
    Device()
    {
        account.id = QStringLiteral("fake-account");
        account.name = QStringLiteral("Fake");
        account.type = QStringLiteral("fake");
        account.created_at = account.updated_at = kMonday;
        ok = state.ok() && state->accounts()->insert(account);
        // Every write in the same second, as a quick edit right after a read is.
        if (ok)
            pinned.emplace([] { return kMonday; });
    }

    // The local calendar that mirrors the remote one; empty before the first sync.
    QString calendarId(const QString &remoteId) const
    {
        for (const Calendar &c : state->calendars()->listByAccount(account.id)) {
            if (c.url == FakeSyncRemote::urlOf(remoteId))
                return c.id;
        }
        return QString();
    }

    QString insert(const QString &calendarId, Event event)
    {
        Event local = Event::newLocal();
        local.id = event.uid;
        local.uid = event.uid;
        local.calendar_id = calendarId;
        local.title = event.title;
        local.start_time = event.start_time;
        local.end_time = event.end_time;
        local.raw_icalendar = event.raw_icalendar;
        local.created = local.last_modified = kMonday;
        return state->events()->insert(local) ? local.id : QString();
    }

    bool edit(const QString &id, const std::function<void(Event &)> &change)
    {
        std::optional<Event> e = state->events()->byId(id);
        if (!e)
            return false;
        change(*e);
        e->sync_status = QStringLiteral("pending");
        return state->events()->update(*e);
    }

    bool retitle(const QString &id, const QString &title)
    {
        return edit(id, [&](Event &e) { e.title = title; });
    }

    // Pins the program clock once the device stands, for as long as it lives.
    std::optional<Clock::Override> pinned;
    LarkTest::StartedAppState state;
    Account account;
    bool ok = false;
};

using RunResult = LarkTest::SyncOutcome;
using EventEdit = std::function<void(Event &)>;

// What a person sees of an event, on one line (times in UTC, guests by their name part).
QString described(const Event &e)
{
    QStringList reminders;
    for (const Reminder &r : e.reminders)
        reminders << QString::number(r.minutes_before) + QLatin1Char(' ') + r.action;
    QStringList guests;
    for (const Attendee &a : e.attendees)
        guests << a.email.section(QLatin1Char('@'), 0, 0) + QLatin1Char(' ') + a.status;
    const QString format = QStringLiteral("MM-dd HH:mm");
    return QStringList {e.title,
                        e.location,
                        e.start_time.toUTC().toString(format),
                        e.end_time ? e.end_time->toUTC().toString(format) : QString(),
                        e.is_all_day ? QStringLiteral("all-day") : QStringLiteral("timed"),
                        reminders.join(QLatin1Char(',')),
                        guests.join(QLatin1Char(','))}
               .join(QLatin1Char('|'))
        + (e.exception_dates.isEmpty() || e.exception_dates == QLatin1String("[]")
               ? QString()
               : QLatin1Char('|') + e.exception_dates);
}

Reminder tenMinutesBefore()
{
    Reminder r;
    r.minutes_before = 10;
    r.action = QStringLiteral("DISPLAY");
    return r;
}

RunResult runSync(Device &device, FakeSyncRemote &remote)
{
    return LarkTest::runToEnd(new Sync::SyncEngine(Sync::SyncStore::of(*device.state.get()),
                                                   device.account,
                                                   new LarkTest::FakeSyncProvider(&remote)),
                              10000);
}

// The whole of one side, comparable with the other: one line per live item.
QStringList lines(const QList<Event> &events, const QList<Task> &tasks)
{
    QStringList out;
    for (const Event &e : events)
        out << e.uid + QLatin1Char('|') + e.title + QLatin1Char('|')
                + e.start_time.toUTC().toString(Qt::ISODate);
    for (const Task &t : tasks)
        out << QStringLiteral("task ") + t.uid + QLatin1Char('|') + t.title;
    out.sort();
    return out;
}

QStringList localState(const Device &device, const QString &calendarId)
{
    return lines(device.state->events()->listByCalendar(calendarId),
                 device.state->tasks()->listByCalendar(calendarId));
}

QStringList remoteState(const FakeSyncRemote &remote, const QString &remoteCalendarId)
{
    return lines(remote.events(remoteCalendarId), remote.tasks(remoteCalendarId));
}

int pendingRows(const Device &device, const QString &calendarId)
{
    return int(device.state->events()->listPending(calendarId).size()
               + device.state->tasks()->listPending(calendarId).size());
}

// A source with the calendar "Work" holding these events, and a device that synced once.
struct SyncedOnce
{
    explicit SyncedOnce(const QStringList &titles, const EventEdit &dress = {})
    {
        work = remote.addCalendar(QStringLiteral("Work"));
        for (const QString &title : titles) {
            Event e = eventAt(title, int(remoteIds.size()));
            if (dress)
                dress(e);
            remoteIds << remote.putEvent(work, e);
        }
        ok = device.ok && runSync(device, remote).finished == 1;
        calendar = device.calendarId(work);
    }

    // The local row of the i-th event.
    QString localId(int i) const
    {
        const std::optional<Event> row
            = device.state->events()->byProviderId(calendar, remoteIds.value(i));
        return row ? row->id : QString();
    }

    FakeSyncRemote remote;
    QString work;
    QStringList remoteIds;
    Device device;
    QString calendar;
    bool ok = false;
};

} // namespace

class TestSyncEngine : public QObject
{
    Q_OBJECT
private slots:
    void bothSidesConverge();
    void failurePartWayThroughAPageKeepsTheStoreAsBeforeIt();
    void anEditDuringItsPushStaysPending_data();
    void anEditDuringItsPushStaysPending();
    void aRemoteDeletionOfAPendingEditKeepsTheEdit();
    void aRowRestoredWhileItsDeletionIsSentStays();
    void editsOnBothSidesSettle_data();
    void editsOnBothSidesSettle();
    void anExpiredTokenRestartsOnce_data();
    void anExpiredTokenRestartsOnce();
    void failuresEndTheRunOnceAndLoseNothing_data();
    void failuresEndTheRunOnceAndLoseNothing();
};

void TestSyncEngine::bothSidesConverge()
{
    FakeSyncRemote remote;
    remote.pageSize = 2;
    const QString work = remote.addCalendar(QStringLiteral("Work"));
    QStringList ids;
    for (const char *title : {"Standup", "Retro", "Review", "Demo"})
        ids << remote.putEvent(work, eventAt(QString::fromUtf8(title), int(ids.size())));
    Task taxes;
    taxes.uid = QStringLiteral("taxes");
    taxes.title = QStringLiteral("File taxes");
    taxes.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    remote.putTask(work, taxes);
    // A second calendar's listing starts afresh, its page tokens named as the first one's.
    const QString home = remote.addCalendar(QStringLiteral("Home"));
    for (const char *title : {"Gym", "Dentist", "Party"})
        remote.putEvent(home, eventAt(QString::fromUtf8(title), 0));

    Device a;
    QVERIFY(a.ok);
    RunResult run = runSync(a, remote);
    QCOMPARE(run.reason, QString());
    QCOMPARE(run.finished, 1);
    const QString calendar = a.calendarId(work);
    QVERIFY(!calendar.isEmpty());
    QCOMPARE(localState(a, calendar), remoteState(remote, work));
    QCOMPARE(localState(a, calendar).size(), 5);
    QCOMPARE(localState(a, a.calendarId(home)).size(), 3);

    // Both sides change.
    QVERIFY(!a.insert(calendar, eventAt(QStringLiteral("Lunch"), 5)).isEmpty());
    const std::optional<Event> standup = a.state->events()->byProviderId(calendar, ids.at(0));
    QVERIFY(standup);
    QVERIFY(a.retitle(standup->id, QStringLiteral("Standup (moved)")));
    const std::optional<Event> retro = a.state->events()->byProviderId(calendar, ids.at(1));
    QVERIFY(retro);
    QVERIFY(a.state->events()->remove(retro->id));
    Task milk = Task::newLocal();
    milk.id = milk.uid = QStringLiteral("milk");
    milk.calendar_id = calendar;
    milk.title = QStringLiteral("Buy milk");
    milk.created = milk.last_modified = kMonday;
    milk.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    QVERIFY(a.state->tasks()->insert(milk));
    QVERIFY(remote.editEvent(ids.at(2), [](Event &e) { e.title = QStringLiteral("Review v2"); }));
    QVERIFY(remote.removeEvent(ids.at(3)));
    remote.putEvent(work, eventAt(QStringLiteral("Planning"), 6));

    run = runSync(a, remote);
    QCOMPARE(run.finished, 1);
    QCOMPARE(run.failed, 0);
    const QStringList expected {
        QStringLiteral("lunch|Lunch|2026-03-07T09:00:00Z"),
        QStringLiteral("planning|Planning|2026-03-08T09:00:00Z"),
        QStringLiteral("review|Review v2|2026-03-04T09:00:00Z"),
        QStringLiteral("standup|Standup (moved)|2026-03-02T09:00:00Z"),
        QStringLiteral("task milk|Buy milk"),
        QStringLiteral("task taxes|File taxes"),
    };
    QCOMPARE(localState(a, calendar), expected);
    QCOMPARE(remoteState(remote, work), expected);
    QCOMPARE(pendingRows(a, calendar), 0);
    QVERIFY(!a.state->events()->byId(retro->id)); // the tombstone is gone once pushed

    // Nothing left to do: a further run pushes nothing and changes nothing.
    const int pushes = remote.calls(FakeSyncRemote::Call::Push);
    run = runSync(a, remote);
    QCOMPARE(run.finished, 1);
    QCOMPARE(remote.calls(FakeSyncRemote::Call::Push), pushes);
    QCOMPARE(localState(a, calendar), expected);

    // A second device sees the same state.
    Device b;
    QVERIFY(b.ok);
    run = runSync(b, remote);
    QCOMPARE(run.finished, 1);
    QCOMPARE(localState(b, b.calendarId(work)), expected);
}

void TestSyncEngine::failurePartWayThroughAPageKeepsTheStoreAsBeforeIt()
{
    SyncedOnce s({QStringLiteral("Kickoff")});
    QVERIFY(s.ok);
    for (int day = 1; day <= 5; ++day)
        s.remote.putEvent(s.work, eventAt(QStringLiteral("Day %1").arg(day), day));
    s.remote.pageSize = 2;
    // The fourth change (second item of the second page) cannot be read; the third was
    // already written when that page fails.
    s.remote.breakChangeAt(3);
    s.remote.issuedTokens.clear();
    const RunResult run = runSync(s.device, s.remote);
    QCOMPARE(run.finished, 0);
    QCOMPARE(run.failed, 1);
    QCOMPARE(run.calendarId, s.calendar);
    QCOMPARE(run.reason, QStringLiteral("item could not be read"));
    const QStringList afterFirstPage {
        QStringLiteral("day-1|Day 1|2026-03-03T09:00:00Z"),
        QStringLiteral("day-2|Day 2|2026-03-04T09:00:00Z"),
        QStringLiteral("kickoff|Kickoff|2026-03-02T09:00:00Z"),
    };
    QCOMPARE(localState(s.device, s.calendar), afterFirstPage);
    QCOMPARE(s.remote.issuedTokens.size(), 2);
    QCOMPARE(s.device.state->calendars()->byId(s.calendar)->delta_sync_token,
             s.remote.issuedTokens.first());

    // The next run resumes after the committed page and brings the rest.
    QCOMPARE(runSync(s.device, s.remote).finished, 1);
    QCOMPARE(localState(s.device, s.calendar), remoteState(s.remote, s.work));
    QCOMPARE(localState(s.device, s.calendar).size(), 6);

    // Pages that lead on without end, round a cycle of two or to ever new ones, fail the run
    // instead of keeping it going; the next run of the mended source completes.
    const Sync::PageChain::LimitOverride fewPages(20);
    for (const int cycle : {2, 0}) {
        s.remote.endlessPages = cycle;
        const int fetches = s.remote.calls(FakeSyncRemote::Call::Fetch);
        QCOMPARE(runSync(s.device, s.remote).failed, 1);
        QCOMPARE(s.remote.calls(FakeSyncRemote::Call::Fetch) - fetches, cycle ? 3 : 21);
        s.remote.endlessPages.reset();
        QCOMPARE(runSync(s.device, s.remote).finished, 1);
    }
}

void TestSyncEngine::anEditDuringItsPushStaysPending_data()
{
    QTest::addColumn<int>("edit");
    QTest::addColumn<bool>("refused"); // the source cannot hold the create as it was sent
    QTest::newRow("title") << 0 << false;
    QTest::newRow("attendees only") << 1 << false;
    QTest::newRow("reminders only") << 2 << false;
    QTest::newRow("title, of a create the source cannot hold") << 0 << true;
}

void TestSyncEngine::anEditDuringItsPushStaysPending()
{
    QFETCH(int, edit);
    QFETCH(bool, refused);
    SyncedOnce s({});
    QVERIFY(s.ok);
    const QString id = s.device.insert(s.calendar, eventAt(QStringLiteral("Draft"), 0));
    QVERIFY(!id.isEmpty());
    if (refused)
        s.remote.failNext(FakeSyncRemote::Call::Push, ErrorKind::Unsupported);

    // Within the same second as the read before the push: the stored times cannot tell them
    // apart.
    s.remote.beforePushAnswer = [&](const QString &) {
        QVERIFY(s.device.edit(id, [edit](Event &e) {
            if (edit == 0)
                e.title = QStringLiteral("Final");
            if (edit == 1) {
                Attendee ann;
                ann.email = QStringLiteral("ann@example.com");
                ann.status = QStringLiteral("accepted");
                e.attendees = {ann};
            }
            if (edit == 2) {
                Reminder early;
                early.minutes_before = 15;
                early.action = QStringLiteral("DISPLAY");
                e.reminders = {early};
            }
        }));
    };
    QCOMPARE(runSync(s.device, s.remote).finished, refused ? 0 : 1);
    s.remote.beforePushAnswer = nullptr;
    std::optional<Event> row = s.device.state->events()->byId(id);
    QVERIFY(row);
    QCOMPARE(row->sync_status, QStringLiteral("pending"));
    // It knows its remote copy, so the next push updates instead of creating another.
    QStringList atSource;
    for (const Event &e : s.remote.events(s.work))
        atSource << e.provider_event_id + QLatin1Char('|') + e.title;
    QCOMPARE(atSource,
             refused ? QStringList()
                     : QStringList {row->provider_event_id + QStringLiteral("|Draft")});

    QCOMPARE(runSync(s.device, s.remote).finished, 1);
    QCOMPARE(localState(s.device, s.calendar), remoteState(s.remote, s.work));
    QCOMPARE(s.remote.events(s.work).size(), 1);
    QVERIFY(Sync::sameLocalContent(s.remote.events(s.work).first(),
                                   *s.device.state->events()->byId(id)));
    QCOMPARE(pendingRows(s.device, s.calendar), 0);
}

void TestSyncEngine::aRemoteDeletionOfAPendingEditKeepsTheEdit()
{
    SyncedOnce s({QStringLiteral("Dentist")});
    QVERIFY(s.ok);
    const QString id = s.localId(0);
    QVERIFY(s.device.edit(id, [](Event &e) {
        e.title = QStringLiteral("Dentist at ten");
        e.reminders = {tenMinutesBefore()};
    }));
    QVERIFY(s.remote.removeEvent(s.remoteIds.at(0)));
    Sync::ConflictResolutionService *conflicts = s.device.state->conflicts();
    QSignalSpy conflictsChanged(conflicts, &Sync::ConflictResolutionService::conflictsChanged);
    QCOMPARE(runSync(s.device, s.remote).finished, 1);

    QCOMPARE(conflictsChanged.size(), 1);
    QCOMPARE(conflicts->conflicts().constLast().local.id, id);
    QCOMPARE(conflicts->conflicts().constLast().local.title, QStringLiteral("Dentist at ten"));
    QVERIFY(conflicts->conflicts().constLast().remote.deleted_at);
    // The edit stays and reaches the source as a new item.
    const QStringList expected {QStringLiteral("dentist|Dentist at ten|2026-03-02T09:00:00Z")};
    QCOMPARE(localState(s.device, s.calendar), expected);
    QCOMPARE(remoteState(s.remote, s.work), expected);
    QCOMPARE(pendingRows(s.device, s.calendar), 0);
    QCOMPARE(s.device.state->events()->byId(id)->reminders.size(), 1);
}

void TestSyncEngine::aRowRestoredWhileItsDeletionIsSentStays()
{
    SyncedOnce s({QStringLiteral("Dentist")});
    QVERIFY(s.ok);
    const QString id = s.localId(0);
    QVERIFY(s.device.state->events()->remove(id));
    // Undone within the same second as the read before the push.
    s.remote.beforePushAnswer = [&](const QString &) {
        QVERIFY(s.device.edit(id, [](Event &e) { e.deleted_at.reset(); }));
    };
    QCOMPARE(runSync(s.device, s.remote).finished, 1);
    s.remote.beforePushAnswer = nullptr;
    QCOMPARE(s.remote.events(s.work).size(), 0);
    QCOMPARE(pendingRows(s.device, s.calendar), 1);

    // The next run makes it again at the source.
    QCOMPARE(runSync(s.device, s.remote).finished, 1);
    const QStringList expected {QStringLiteral("dentist|Dentist|2026-03-02T09:00:00Z")};
    QCOMPARE(localState(s.device, s.calendar), expected);
    QCOMPARE(remoteState(s.remote, s.work), expected);
    QCOMPARE(pendingRows(s.device, s.calendar), 0);
}

void TestSyncEngine::editsOnBothSidesSettle_data()
{
    QTest::addColumn<EventEdit>("localEdit"); // null: deleted here
    QTest::addColumn<EventEdit>("remoteEdit");
    QTest::addColumn<QString>("expected"); // the row on both sides; empty: gone
    QTest::addColumn<QString>("guestRole"); // as the source writes it
    QTest::addColumn<QString>("guestStatus");
    QTest::addColumn<EventEdit>("series"); // null: a single event
    const auto row = [](const char *name, const EventEdit &here, const EventEdit &there,
                        QStringView expected, const EventEdit &series = {},
                        const char *role = "required", const char *status = "needs-action") {
        QTest::newRow(name) << here << there << expected.toString() << QString::fromLatin1(role)
                            << QString::fromLatin1(status) << series;
    };
    const auto retitle = [](const char *title) {
        return EventEdit([title](Event &e) { e.title = QString::fromUtf8(title); });
    };
    const auto moveDays = [](int days, int seconds = 0) {
        return EventEdit([days, seconds](Event &e) {
            e.start_time = e.start_time.addDays(days).addSecs(seconds);
            e.end_time = e.start_time.addSecs(3600);
        });
    };
    const EventEdit endLater = EventEdit([](Event &e) { e.end_time = e.start_time.addSecs(5400); });
    const EventEdit allDay = [](Event &e) {
        e.is_all_day = true;
        e.start_time = QDateTime(e.start_time.date(), QTime(0, 0), Qt::UTC);
        e.end_time = e.start_time.addDays(1);
    };
    const EventEdit accept = [](Event &e) {
        e.attendees.first().status = QStringLiteral("accepted");
    };
    const EventEdit ten = retitle("Dentist at ten");
    const QString before
        = QStringLiteral("||03-02 09:00|03-02 10:00|timed|10 DISPLAY|ann needs-action");
    const QString tenAccepted
        = QStringLiteral("Dentist at ten||03-02 09:00|03-02 10:00|timed|10 DISPLAY|ann accepted");
    row("different fields", ten, moveDays(1),
        u"Dentist at ten||03-03 09:00|03-03 10:00|timed|10 DISPLAY|ann needs-action");
    row("the same field: the edit here wins", retitle("Dentist (mine)"),
        retitle("Dentist (theirs)"), QString(QStringLiteral("Dentist (mine)") + before));
    row("deleted here, changed there", EventEdit(), moveDays(1), QString());
    // Start from one side and end from the other would end before it starts.
    const QString endedLater
        = QStringLiteral("Dentist||03-02 09:00|03-02 10:30|timed|10 DISPLAY|ann needs-action");
    row("schedule: end here, moved there", endLater, moveDays(1), endedLater);
    row("schedule: end here, all day there", endLater, allDay, endedLater);
    row("schedule: all day there, title here", ten, allDay,
        u"Dentist at ten||03-02 00:00|03-03 00:00|all-day|10 DISPLAY|ann needs-action");
    row("place there, title here", ten,
        EventEdit([](Event &e) { e.location = QStringLiteral("Room 2"); }),
        u"Dentist at ten|Room 2|03-02 09:00|03-02 10:00|timed|10 DISPLAY|ann needs-action");
    row("reminder there, title here", ten,
        EventEdit([](Event &e) { e.reminders.first().minutes_before = 30; }),
        u"Dentist at ten||03-02 09:00|03-02 10:00|timed|30 DISPLAY|ann needs-action");
    row("guest's answer there, title here", ten, accept, tenAccepted);
    // Stored as "required" here: the source did not change it, and its guest's answer comes in.
    row("guest without a role: answer there, title here", ten, accept, tenAccepted, {}, "");
    // Stored as "needs-action" here, so not an answer given here.
    row("guest without an answer: answer there, title here", ten, accept, tenAccepted, {},
        "required", "");
    row("guests: one added here, an answer there", EventEdit([](Event &e) {
            Attendee cy;
            cy.email = QStringLiteral("cy@example.com");
            cy.status = QStringLiteral("needs-action");
            e.attendees.append(cy);
        }),
        accept, u"Dentist||03-02 09:00|03-02 10:00|timed|10 DISPLAY|ann accepted,cy needs-action");
    const EventEdit noGuest = EventEdit([](Event &e) { e.attendees.clear(); });
    const QString guestGone
        = QStringLiteral("Dentist at ten||03-02 09:00|03-02 10:00|timed|10 DISPLAY|");
    row("guests: removed there, title here", ten, noGuest, guestGone);
    row("guests: removed here, title there", noGuest, ten, guestGone);
    row("guests: address recased there, answer here", accept,
        EventEdit([](Event &e) { e.attendees.first().email[0] = u'A'; }),
        u"Dentist||03-02 09:00|03-02 10:00|timed|10 DISPLAY|ann accepted");
    const auto cancel = [](const char *date) {
        return EventEdit([date](Event &e) {
            e.exception_dates = QStringLiteral("[\"%1\"]").arg(QLatin1String(date));
        });
    };
    const auto series = [](const char *rule, QDate day = {2026, 3, 2}, QTime at = {9, 0},
                           const char *zone = "UTC", const char *cancelled = "") {
        return EventEdit([=](Event &e) {
            e.recurrence_rule = QString::fromLatin1(rule);
            e.timezone = QString::fromLatin1(zone);
            e.start_time = QDateTime(day, at, QTimeZone(zone));
            e.end_time = e.start_time.addSecs(3600);
            e.exception_dates = QString::fromLatin1(cancelled);
        });
    };
    const EventEdit daily = series("FREQ=DAILY;COUNT=5");
    const EventEdit restore = [](Event &e) {
        e.exception_dates = QStringLiteral("[]");
    };
    const auto cancelled = [](const char *times, const char *date) {
        return QStringLiteral("Dentist||%1|10 DISPLAY|ann needs-action|[\"%2\"]")
            .arg(QLatin1String(times), QLatin1String(date));
    };
    // The cancelled occurrence moves with the series, whichever side moved it.
    row("series: moved to 11:00 here, 4 March cancelled there", moveDays(0, 7200),
        cancel("20260304T090000Z"), cancelled("03-02 11:00|03-02 12:00|timed", "20260304T110000Z"),
        daily);
    row("series: all day there, 4 March cancelled here", cancel("20260304T090000Z"), allDay,
        cancelled("03-02 00:00|03-03 00:00|all-day", "20260304"), daily);
    row("series: 4 March restored here, title there", restore, ten,
        QString(QStringLiteral("Dentist at ten") + before),
        series("FREQ=DAILY;COUNT=5", {2026, 3, 2}, {9, 0}, "UTC", "[\"20260304T090000Z\"]"));
    row("series: Mondays moved to Tuesdays here, 16 March cancelled there", moveDays(1),
        cancel("20260316T090000Z"), cancelled("03-03 09:00|03-03 10:00|timed", "20260317T090000Z"),
        series("FREQ=WEEKLY;COUNT=5"));
    // 29 March is the day the clocks go forward: the occurrence at 3:30 is on summer time.
    row("series: 1:30 moved to 3:30 here, 29 March cancelled there", moveDays(0, 7200),
        cancel("20260329T003000Z"), cancelled("03-26 02:30|03-26 03:30|timed", "20260329T013000Z"),
        series("FREQ=DAILY", {2026, 3, 26}, {1, 30}, "Europe/Berlin"));
    row("series: start moved three weeks and an hour here, 30 March cancelled there",
        moveDays(21, 3600), cancel("20260330T070000Z"),
        cancelled("03-23 09:00|03-23 10:00|timed", "20260330T080000Z"),
        series("FREQ=DAILY", {2026, 3, 2}, {9, 0}, "Europe/Berlin"));
    // 2:30 is skipped on 29 March: that day's occurrence is the one at 3:30 summer time.
    row("series: 2:30 moved an hour later here, 29 March cancelled there", moveDays(0, 3600),
        cancel("20260329T013000Z"), cancelled("03-28 02:30|03-28 03:30|timed", "20260329T013000Z"),
        series("FREQ=DAILY", {2026, 3, 28}, {2, 30}, "Europe/Berlin"));
    row("series: 23:30 moved past midnight here, 25 October cancelled there", moveDays(0, 3600),
        cancel("20261025T223000Z"), cancelled("10-23 22:30|10-23 23:30|timed", "20261025T233000Z"),
        series("FREQ=DAILY", {2026, 10, 23}, {23, 30}, "Europe/Berlin"));
    // A row may keep an all-day start at midnight where it was made (Berlin): its date counts.
    row("series: all day, a week later here, 16 March cancelled there", EventEdit([](Event &e) {
            e.start_time
                = QDateTime(e.start_time.date().addDays(7), {0, 0}, QTimeZone("Europe/Berlin"));
            e.end_time = e.start_time.addDays(1);
        }),
        cancel("20260316"), cancelled("03-08 23:00|03-09 23:00|all-day", "20260316"),
        EventEdit([allDay, weekly = series("FREQ=WEEKLY")](Event &e) {
            weekly(e);
            allDay(e);
        }));
    row("series moved to 11:00 here with its cancelled 4 March, 4 March restored there",
        EventEdit([move = moveDays(0, 7200)](Event &e) {
            move(e);
            e.exception_dates = QStringLiteral("[\"20260304T110000Z\"]");
        }),
        restore, u"Dentist||03-02 11:00|03-02 12:00|timed|10 DISPLAY|ann needs-action",
        series("FREQ=DAILY;COUNT=5", {2026, 3, 2}, {9, 0}, "UTC", "[\"20260304T090000Z\"]"));
}

void TestSyncEngine::editsOnBothSidesSettle()
{
    QFETCH(EventEdit, localEdit);
    QFETCH(EventEdit, remoteEdit);
    QFETCH(QString, expected);
    QFETCH(QString, guestRole);
    QFETCH(QString, guestStatus);
    QFETCH(EventEdit, series);
    SyncedOnce s({QStringLiteral("Dentist")}, [&](Event &e) {
        e.reminders = {tenMinutesBefore()};
        Attendee ann;
        ann.email = QStringLiteral("ann@example.com");
        ann.role = guestRole;
        ann.status = guestStatus;
        e.attendees = {ann};
        if (series)
            series(e);
    });
    QVERIFY(s.ok);
    const QString id = s.localId(0);
    // The row knows its address at the source, which the remote copy does not carry.
    const QString href = QStringLiteral("/work/dentist.ics");
    QVERIFY(localEdit ? s.device.edit(id,
                                      [&](Event &e) {
                                          localEdit(e);
                                          e.href = href;
                                      })
                      : s.device.state->events()->remove(id));
    QVERIFY(s.remote.editEvent(s.remoteIds.at(0), remoteEdit));
    const QString remoteVersion = described(s.remote.events(s.work).constFirst());

    // The first run settles it; the one after has nothing left to do.
    const QStringList both = expected.isEmpty() ? QStringList() : QStringList {expected};
    const QStringList bothHere
        = expected.isEmpty() ? QStringList() : QStringList {expected + QLatin1Char('|') + href};
    for (int run = 0; run < 2; ++run) {
        const RunResult result = runSync(s.device, s.remote);
        QCOMPARE(result.finished, 1);
        QCOMPARE(result.failed, 0);
        QStringList here;
        for (const Event &e : s.device.state->events()->listByCalendar(s.calendar))
            here << described(*s.device.state->events()->byId(e.id)) + QLatin1Char('|') + e.href;
        QStringList there;
        for (const Event &e : s.remote.events(s.work))
            there << described(e);
        QCOMPARE(here, bothHere);
        QCOMPARE(there, both);
        QCOMPARE(pendingRows(s.device, s.calendar), 0);
    }
    QCOMPARE(s.remote.calls(FakeSyncRemote::Call::Push), 1);
    // What the edit here overwrote is on record.
    const QList<Sync::Conflict> conflicts = s.device.state->conflicts()->conflicts();
    QCOMPARE(conflicts.size(), 1);
    QCOMPARE(described(conflicts.first().remote), remoteVersion);
}

void TestSyncEngine::anExpiredTokenRestartsOnce_data()
{
    QTest::addColumn<bool>("refusedAgain");
    QTest::newRow("full fetch accepted") << false;
    QTest::newRow("full fetch refused too") << true;
}

void TestSyncEngine::anExpiredTokenRestartsOnce()
{
    QFETCH(bool, refusedAgain);
    SyncedOnce s({QStringLiteral("Kickoff")});
    QVERIFY(s.ok);
    QVERIFY(!s.device.state->calendars()->byId(s.calendar)->delta_sync_token.isEmpty());

    s.remote.putEvent(s.work, eventAt(QStringLiteral("Later"), 1));
    s.remote.expireTokens();
    if (refusedAgain)
        s.remote.failNext(FakeSyncRemote::Call::Fetch, ErrorKind::Gone, 1);
    const int fetchesBefore = s.remote.calls(FakeSyncRemote::Call::Fetch);
    const RunResult run = runSync(s.device, s.remote);

    QCOMPARE(s.remote.calls(FakeSyncRemote::Call::Fetch) - fetchesBefore, 2);
    QCOMPARE(run.finished, refusedAgain ? 0 : 1);
    QCOMPARE(run.failed, refusedAgain ? 1 : 0);
    QCOMPARE(run.calendarId, refusedAgain ? s.calendar : QString());
    QCOMPARE(s.device.state->calendars()->byId(s.calendar)->delta_sync_token.isEmpty(),
             refusedAgain);
    QCOMPARE(localState(s.device, s.calendar).size(), refusedAgain ? 1 : 2);
    if (!refusedAgain)
        QCOMPARE(localState(s.device, s.calendar), remoteState(s.remote, s.work));
}

void TestSyncEngine::failuresEndTheRunOnceAndLoseNothing_data()
{
    QTest::addColumn<FakeSyncRemote::Call>("call");
    QTest::addColumn<ErrorKind>("kind");
    QTest::addColumn<int>("skip");
    QTest::addColumn<bool>("namesCalendar");
    QTest::addColumn<int>("conflicts");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<int>("fetches"); // of Work and Home: 1 when the failure stops the account
    using Call = FakeSyncRemote::Call;
    QTest::newRow("calendar list refused")
        << Call::ListCalendars << ErrorKind::Auth << 0 << false << 0 << true << 0;
    QTest::newRow("fetch: server error")
        << Call::Fetch << ErrorKind::Server << 0 << true << 0 << true << 2;
    QTest::newRow("fetch: no answer")
        << Call::Fetch << ErrorKind::Network << 0 << true << 0 << true << 1;
    QTest::newRow("fetch: credentials refused")
        << Call::Fetch << ErrorKind::Auth << 0 << true << 0 << true << 1;
    QTest::newRow("fetch: unreadable")
        << Call::Fetch << ErrorKind::Malformed << 0 << true << 0 << true << 2;
    QTest::newRow("push: precondition failed")
        << Call::Push << ErrorKind::Conflict << 0 << true << 1 << true << 2;
    QTest::newRow("push: rate limited")
        << Call::Push << ErrorKind::RateLimited << 0 << true << 0 << true << 1;
    QTest::newRow("second push: credentials refused")
        << Call::Push << ErrorKind::Auth << 1 << true << 0 << true << 1;
    QTest::newRow("second push: timeout")
        << Call::Push << ErrorKind::Network << 1 << true << 0 << true << 1;
    // Removed at the source after the pull: not done, the edit is created afresh.
    QTest::newRow("update push: not found")
        << Call::Push << ErrorKind::NotFound << 0 << true << 0 << false << 2;
    QTest::newRow("update push: gone")
        << Call::Push << ErrorKind::Gone << 0 << true << 0 << false << 2;
    // Removed at the source too: done.
    QTest::newRow("delete push: not found")
        << Call::Push << ErrorKind::NotFound << 1 << true << 0 << false << 2;
}

void TestSyncEngine::failuresEndTheRunOnceAndLoseNothing()
{
    QFETCH(FakeSyncRemote::Call, call);
    QFETCH(ErrorKind, kind);
    QFETCH(int, skip);
    QFETCH(bool, namesCalendar);
    QFETCH(int, conflicts);
    QFETCH(bool, fails);
    QFETCH(int, fetches);

    // Pushed in this order: the edit, the deletion, the new row.
    SyncedOnce s({QStringLiteral("Kept"), QStringLiteral("Dropped")});
    QVERIFY(s.ok);
    QVERIFY(s.device.retitle(s.localId(0), QStringLiteral("Kept, edited")));
    QVERIFY(s.device.state->events()->remove(s.localId(1)));
    QVERIFY(!s.device.insert(s.calendar, eventAt(QStringLiteral("Added"), 3)).isEmpty());
    s.remote.putEvent(s.work, eventAt(QStringLiteral("Remote"), 2));
    s.remote.addCalendar(QStringLiteral("Home"));

    s.remote.failNext(call, kind, skip);
    const int pushes = s.remote.calls(FakeSyncRemote::Call::Push);
    const int fetchesBefore = s.remote.calls(FakeSyncRemote::Call::Fetch);
    const RunResult run = runSync(s.device, s.remote);
    QCOMPARE(s.remote.calls(FakeSyncRemote::Call::Fetch) - fetchesBefore, fetches);
    QCOMPARE(run.finished, fails ? 0 : 1);
    QCOMPARE(run.failed, fails ? 1 : 0);
    if (fails) {
        QCOMPARE(run.calendarId, namesCalendar ? s.calendar : QString());
        QCOMPARE(run.reason, QStringLiteral("injected failure"));
    }
    // A calendar whose changes were not fetched sends none of its own.
    if (call == FakeSyncRemote::Call::Fetch)
        QCOMPARE(s.remote.calls(FakeSyncRemote::Call::Push), pushes);
    QCOMPARE(s.device.state->conflicts()->conflicts().size(), conflicts);
    // Every local change is still pending or has reached the source.
    const QStringList atSource = remoteState(s.remote, s.work);
    for (const Event &e : s.device.state->events()->listByCalendar(s.calendar)) {
        const QString line = lines({e}, {}).constFirst();
        QVERIFY2(e.sync_status == QLatin1String("pending") || atSource.contains(line),
                 qPrintable(line));
    }

    // The next clean run brings both sides together.
    QCOMPARE(runSync(s.device, s.remote).finished, 1);
    const QStringList expected {
        QStringLiteral("added|Added|2026-03-05T09:00:00Z"),
        QStringLiteral("kept|Kept, edited|2026-03-02T09:00:00Z"),
        QStringLiteral("remote|Remote|2026-03-04T09:00:00Z"),
    };
    QCOMPARE(localState(s.device, s.calendar), expected);
    QCOMPARE(remoteState(s.remote, s.work), expected);
    QCOMPARE(pendingRows(s.device, s.calendar), 0);
}

QTEST_MAIN(TestSyncEngine)
#include "tst_SyncEngine.moc"
