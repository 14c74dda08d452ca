#include "core/AppState.h"
#include "core/sync/ConflictResolutionService.h"
#include "core/sync/SyncClientRegistry.h"
#include "core/sync/SyncCoordinator.h"
#include "core/sync/SyncScheduler.h"
#include "model/Clock.h"
#include "model/Recurrence.h"
#include "services/sync/google/AuthService.h"
#include "services/sync/google/SyncClient.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "support/FakeGoogleCalendar.h"
#include "support/FakeHttpServer.h"
#include "support/StartedAppState.h"
#include "support/SyncRun.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

#include <algorithm>
#include <functional>
#include <memory>

using LarkTest::FakeGoogleCalendar;

namespace {

const QDateTime kNow(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
const QTimeZone kBerlin("Europe/Berlin");
const QString kMine = QStringLiteral("me@example.com");
const QString kTeam = QStringLiteral("team/1@group.calendar.example");

QJsonObject at(const QDateTime &t)
{
    return {{QStringLiteral("dateTime"), t.toString(Qt::ISODate)},
            {QStringLiteral("timeZone"), QString::fromUtf8(t.timeZone().id())}};
}

QJsonObject timedEvent(const QString &title, const QDateTime &start, int minutes = 60)
{
    return {{QStringLiteral("summary"), title},
            {QStringLiteral("start"), at(start)},
            {QStringLiteral("end"), at(start.addSecs(minutes * 60))}};
}

// An event made here, "local-1", waiting to be pushed.
Event planning(const QString &calendarId)
{
    return LarkTest::madeHere(calendarId, QStringLiteral("local-1"), QStringLiteral("Planning"),
                              QDateTime(QDate(2026, 3, 6), QTime(14, 0), Qt::UTC), 60, kNow);
}

QDateTime berlin(int day, int hour)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, 0), kBerlin);
}

} // namespace

class TestGoogleSync : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstSyncOfTwoCalendars();
    void localChangesArePushed();
    void remoteDeleteKeepsPendingEdit();
    void editsOnBothSidesSettle();
    void refusedPushKeepsRowPending_data();
    void refusedPushKeepsRowPending();
    void lostCreateAnswerMakesNoDuplicate_data();
    void lostCreateAnswerMakesNoDuplicate();
    void expiredTokenMidwayRestartsOnce();
    void brokenItemLeavesPageUnapplied();
    void refreshBeforeExpiry_data();
    void refreshBeforeExpiry();
    void runsStartByThemselves();
    void onlyEnabledAndListedCalendarsSync();

private:
    LarkTest::SyncOutcome sync();
    QString calendarId(const QString &googleId) const;
    Event local(const QString &calendarId, const QString &title) const;
    // Each side as "title@UTC start" lines, sorted.
    QStringList localTitles(const QString &calendarId) const;
    QStringList remoteTitles(const QString &googleId) const;

    std::unique_ptr<LarkTest::FakeHttpServer> m_server;
    std::unique_ptr<FakeGoogleCalendar> m_google;
    std::unique_ptr<LarkTest::StartedAppState> m_state;
    Account m_account;
    QDateTime m_now;
    std::optional<Clock::Override> m_pinned;
};

void TestGoogleSync::init()
{
    m_server = std::make_unique<LarkTest::FakeHttpServer>();
    QVERIFY(m_server->listen());
    m_google = std::make_unique<FakeGoogleCalendar>(m_server.get());
    m_google->addCalendar(kMine, QStringLiteral("Me"));
    m_google->addCalendar(kTeam, QStringLiteral("Team"), QStringLiteral("reader"));
    qputenv("GOOGLE_CALENDAR_API_URL", m_google->apiRoot().toUtf8());
    qputenv("GOOGLE_TOKEN_URL", m_google->tokenUrl().toUtf8());
    qputenv("GOOGLE_CLIENT_ID", "client.apps");
    qputenv("GOOGLE_CLIENT_SECRET", "secret");

    m_state = std::make_unique<LarkTest::StartedAppState>();
    QVERIFY(m_state->ok());
    AppState *state = m_state->get();
    m_now = kNow;
    m_pinned.emplace([this] { return m_now; });
    m_account.id = QStringLiteral("google-1");
    m_account.name = kMine;
    m_account.type = QStringLiteral("google");
    m_account.created_at = m_account.updated_at = kNow;
    QVERIFY(state->accounts()->insert(m_account));
    QVERIFY(Google::AuthService::saveTokens(
        m_account.id, {m_google->accessToken, m_google->refreshToken, kNow.addSecs(3600)}));
}

void TestGoogleSync::cleanup()
{
    m_state.reset();
    m_pinned.reset();
    m_google.reset();
    m_server.reset();
}

LarkTest::SyncOutcome TestGoogleSync::sync()
{
    // Through the registry, as "Sync Now" does.
    return LarkTest::runToEnd(SyncClientRegistry::create(m_state->get(), m_account, nullptr));
}

QString TestGoogleSync::calendarId(const QString &googleId) const
{
    for (const Calendar &c : (*m_state)->calendars()->listByAccount(m_account.id)) {
        if (c.url == googleId)
            return c.id;
    }
    return QString();
}

Event TestGoogleSync::local(const QString &calendarId, const QString &title) const
{
    for (const Event &e : (*m_state)->events()->listByCalendar(calendarId)) {
        if (e.title == title)
            return *(*m_state)->events()->byId(e.id);
    }
    return Event();
}

QStringList TestGoogleSync::localTitles(const QString &calendarId) const
{
    QStringList out;
    for (const Event &e : (*m_state)->events()->listByCalendar(calendarId))
        out << e.title + QLatin1Char('@') + e.start_time.toUTC().toString(Qt::ISODate);
    out.sort();
    return out;
}

QStringList TestGoogleSync::remoteTitles(const QString &googleId) const
{
    QStringList out;
    for (const QJsonObject &o : m_google->events(googleId)) {
        const QJsonObject start = o.value(QLatin1String("start")).toObject();
        out << o.value(QLatin1String("summary")).toString() + QLatin1Char('@')
                + QDateTime::fromString(start.value(QLatin1String("dateTime")).toString(),
                                        Qt::ISODateWithMs)
                      .toUTC()
                      .toString(Qt::ISODate);
    }
    out.sort();
    return out;
}

void TestGoogleSync::firstSyncOfTwoCalendars()
{
    m_google->pageSize = 2;
    QJsonObject series = timedEvent(QStringLiteral("Standup"), berlin(2, 9), 30);
    series.insert(QStringLiteral("recurrence"),
                  QJsonArray {QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO")});
    const QString master = m_google->putEvent(kMine, series);
    m_google->moveInstance(kMine, master, berlin(9, 9), berlin(10, 11), berlin(10, 12));
    m_google->cancelInstance(kMine, master, berlin(16, 9));
    m_google->putEvent(kMine, timedEvent(QStringLiteral("Dentist"), berlin(4, 15)));
    const QString offsite
        = m_google->putEvent(kTeam, timedEvent(QStringLiteral("Offsite"), berlin(5, 10), 240));

    const LarkTest::SyncOutcome run = sync();
    QCOMPARE(run.finished, 1);

    const QString mine = calendarId(kMine);
    const QString team = calendarId(kTeam);
    QVERIFY(!mine.isEmpty() && !team.isEmpty());
    const Calendar teamRow = *(*m_state)->calendars()->byId(team);
    QCOMPARE(teamRow.name, QStringLiteral("Team"));
    QVERIFY(teamRow.is_read_only);
    QCOMPARE((*m_state)->calendars()->byId(mine)->sync_token, m_google->currentSyncToken());

    // The weeks as the views expand them: the moved one on its new day, the cancelled one gone,
    // and the series at 09:00 in Berlin also after the clocks change on 29 March.
    const QList<Event> week
        = expandOccurrences((*m_state)->events()->listInRange(
                                QDateTime(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC),
                                QDateTime(QDate(2026, 4, 6), QTime(0, 0), Qt::UTC), {mine}),
                            QDateTime(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC),
                            QDateTime(QDate(2026, 4, 6), QTime(0, 0), Qt::UTC));
    QStringList shown;
    for (const Event &e : week)
        shown << e.title + QLatin1Char('@') + e.start_time.toUTC().toString(Qt::ISODate);
    shown.sort();
    QCOMPARE(shown,
             LarkTest::strings({"Dentist@2026-03-04T14:00:00Z", "Standup@2026-03-02T08:00:00Z",
                                "Standup@2026-03-10T10:00:00Z", "Standup@2026-03-23T08:00:00Z",
                                "Standup@2026-03-30T07:00:00Z"}));

    // The next run asks only for what changed since, and keeps the colour chosen here.
    Event chosen = local(team, QStringLiteral("Offsite"));
    chosen.color = QStringLiteral("#aa3300");
    QVERIFY((*m_state)->events()->update(chosen));
    m_google->editEvent(kTeam, offsite, [](QJsonObject &o) {
        o.insert(QStringLiteral("summary"), QStringLiteral("Offsite, moved"));
    });
    m_server->clearRequests();
    QCOMPARE(sync().finished, 1);
    QCOMPARE(localTitles(team), remoteTitles(kTeam));
    QCOMPARE(local(team, QStringLiteral("Offsite, moved")).color, QStringLiteral("#aa3300"));
    QStringList listings;
    for (const LarkTest::RecordedRequest &r : m_server->requests()) {
        if (r.path.endsWith(QLatin1String("/events")))
            listings << (r.query.hasQueryItem(QStringLiteral("syncToken"))
                             ? QStringLiteral("incremental")
                             : QStringLiteral("full"));
    }
    QCOMPARE(listings, LarkTest::strings({"incremental", "incremental"}));
}

void TestGoogleSync::localChangesArePushed()
{
    QJsonObject kept = timedEvent(QStringLiteral("Review"), berlin(3, 10));
    kept.insert(QStringLiteral("colorId"), QStringLiteral("7"));
    const QString reviewId = m_google->putEvent(kMine, kept);
    m_google->putEvent(kMine, timedEvent(QStringLiteral("Lunch"), berlin(3, 12)));
    QJsonObject series = timedEvent(QStringLiteral("Standup"), berlin(2, 9), 30);
    series.insert(QStringLiteral("recurrence"),
                  QJsonArray {QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO")});
    const QString standup = m_google->putEvent(kMine, series);
    QCOMPARE(sync().finished, 1);
    const QString mine = calendarId(kMine);
    EventRepository *events = (*m_state)->events();

    // One occurrence moved here (as an import brings it): Google's instance of that slot.
    const Event moved = LarkTest::occurrenceMovedHere(
        local(mine, QStringLiteral("Standup")), QStringLiteral("local-moved"),
        QStringLiteral("20260309T080000Z"), berlin(10, 11), berlin(10, 12));
    QVERIFY(events->insert(moved));

    Event created = planning(mine);
    Reminder reminder;
    reminder.minutes_before = 15;
    reminder.action = QStringLiteral("display");
    created.reminders << reminder;
    Attendee guest;
    guest.email = QStringLiteral("guest@example.com");
    guest.role = QStringLiteral("required");
    guest.status = QStringLiteral("needs-action");
    created.attendees << guest;
    QVERIFY(events->insert(created));
    Event review = local(mine, QStringLiteral("Review"));
    review.title = QStringLiteral("Review, longer");
    review.end_time = review.end_time->addSecs(1800);
    review.sync_status = QStringLiteral("pending");
    QVERIFY(events->update(review));
    QVERIFY(events->remove(local(mine, QStringLiteral("Lunch")).id));

    // The stored access token has gone stale: one refresh, and the run goes on.
    m_google->revokeAccessToken();
    const LarkTest::SyncOutcome run = sync();
    QCOMPARE(run.finished, 1);
    QCOMPARE(m_google->refreshes, 1);
    QCOMPARE(Google::AuthService::loadTokens(m_account.id).accessToken, m_google->accessToken);

    QCOMPARE(localTitles(mine), remoteTitles(kMine));
    QCOMPARE(
        localTitles(mine),
        LarkTest::strings({"Planning@2026-03-06T14:00:00Z", "Review, longer@2026-03-03T09:00:00Z",
                           "Standup@2026-03-02T08:00:00Z", "Standup@2026-03-10T10:00:00Z"}));
    QVERIFY(events->listPending(mine).isEmpty());
    const QString instance = standup + QStringLiteral("_20260309T080000Z");
    QCOMPARE(events->byId(moved.id)->provider_event_id, instance);
    const std::optional<QJsonObject> remoteInstance = m_google->event(kMine, instance);
    QVERIFY(remoteInstance);
    QCOMPARE(remoteInstance->value(QLatin1String("recurringEventId")), QJsonValue(standup));
    const Event pushed = *events->byId(QStringLiteral("local-1"));
    const QJsonObject remote = *m_google->event(kMine, pushed.provider_event_id);
    QCOMPARE(pushed.etag, remote.value(QLatin1String("etag")).toString());
    QCOMPARE(
        remote.value(QLatin1String("reminders")).toObject().value(QLatin1String("overrides")),
        QJsonValue(QJsonArray {QJsonObject {{QStringLiteral("method"), QStringLiteral("popup")},
                                            {QStringLiteral("minutes"), 15}}}));
    QCOMPARE(remote.value(QLatin1String("attendees"))
                 .toArray()
                 .first()
                 .toObject()
                 .value(QLatin1String("email")),
             QJsonValue(QStringLiteral("guest@example.com")));
    // What this program does not keep survived the update.
    QCOMPARE(m_google->event(kMine, reviewId)->value(QLatin1String("colorId")).toString(),
             QStringLiteral("7"));
}

void TestGoogleSync::remoteDeleteKeepsPendingEdit()
{
    const QString id = m_google->putEvent(kMine, timedEvent(QStringLiteral("Trip"), berlin(5, 8)));
    QCOMPARE(sync().finished, 1);
    const QString mine = calendarId(kMine);
    Event trip = local(mine, QStringLiteral("Trip"));
    trip.title = QStringLiteral("Trip, with notes");
    trip.sync_status = QStringLiteral("pending");
    QVERIFY((*m_state)->events()->update(trip));
    QVERIFY(m_google->cancelEvent(kMine, id));

    QCOMPARE(sync().finished, 1);
    // The edit lives on, sent as a new event, and the deletion is on record.
    QCOMPARE(localTitles(mine), LarkTest::strings({"Trip, with notes@2026-03-05T07:00:00Z"}));
    QCOMPARE(remoteTitles(kMine), localTitles(mine));
    QVERIFY((*m_state)->events()->byId(trip.id)->provider_event_id != id);
    QCOMPARE((*m_state)->conflicts()->conflicts().size(), 1);
    QCOMPARE((*m_state)->conflicts()->conflicts().first().local.id, trip.id);
}

void TestGoogleSync::editsOnBothSidesSettle()
{
    const QString gym = m_google->putEvent(kMine, timedEvent(QStringLiteral("Gym"), berlin(4, 18)));
    const QString call
        = m_google->putEvent(kMine, timedEvent(QStringLiteral("Call"), berlin(6, 10)));
    QCOMPARE(sync().finished, 1);
    const QString mine = calendarId(kMine);
    EventRepository *events = (*m_state)->events();
    const auto editHere = [&](const QString &title, const std::function<void(Event &)> &change) {
        Event e = local(mine, title);
        change(e);
        e.sync_status = QStringLiteral("pending");
        return events->update(e);
    };
    const auto editThere = [&](const QString &id, const char *key, const QJsonValue &value) {
        return m_google->editEvent(kMine, id,
                                   [&](QJsonObject &o) { o.insert(QLatin1String(key), value); });
    };
    // An edit sent earlier is what both sides agree on since.
    QVERIFY(
        editHere(QStringLiteral("Gym"), [](Event &e) { e.title = QStringLiteral("Gym, later"); }));
    QCOMPARE(sync().finished, 1);
    // Different fields changed on each side, and a deletion here of what changed there.
    QVERIFY(editHere(QStringLiteral("Gym, later"),
                     [](Event &e) { e.location = QStringLiteral("Hall 2"); }));
    QVERIFY(editThere(gym, "summary", QStringLiteral("Gym at six")));
    QVERIFY(events->remove(local(mine, QStringLiteral("Call")).id));
    QVERIFY(editThere(call, "summary", QStringLiteral("Call, moved")));

    const QStringList expected = LarkTest::strings({"Gym at six@2026-03-04T17:00:00Z"});
    for (int run = 0; run < 2; ++run) {
        m_server->clearRequests();
        const LarkTest::SyncOutcome outcome = sync();
        QCOMPARE(outcome.finished, 1);
        QCOMPARE(outcome.failed, 0);
        QCOMPARE(localTitles(mine), expected);
        QCOMPARE(remoteTitles(kMine), expected);
        QVERIFY(events->listPending(mine).isEmpty());
    }
    // The run after the settling one has nothing to send.
    const QList<LarkTest::RecordedRequest> sent = m_server->requests();
    QVERIFY(std::none_of(sent.cbegin(), sent.cend(), [](const LarkTest::RecordedRequest &r) {
        return r.method == "PUT" || r.method == "DELETE";
    }));
    QCOMPARE(m_google->event(kMine, gym)->value(QLatin1String("location")).toString(),
             QStringLiteral("Hall 2"));
    QCOMPARE(local(mine, QStringLiteral("Gym at six")).location, QStringLiteral("Hall 2"));
    QCOMPARE((*m_state)->conflicts()->conflicts().size(), 2);
}

void TestGoogleSync::refusedPushKeepsRowPending_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("conflict");
    QTest::newRow("changed at Google meanwhile") << 412 << true;
    QTest::newRow("forbidden") << 403 << false;
    QTest::newRow("bad request") << 400 << false;
}

void TestGoogleSync::refusedPushKeepsRowPending()
{
    QFETCH(int, status);
    QFETCH(bool, conflict);

    m_google->putEvent(kMine, timedEvent(QStringLiteral("Gym"), berlin(4, 18)));
    QCOMPARE(sync().finished, 1);
    const QString mine = calendarId(kMine);
    Event gym = local(mine, QStringLiteral("Gym"));
    gym.title = QStringLiteral("Gym, later");
    gym.sync_status = QStringLiteral("pending");
    QVERIFY((*m_state)->events()->update(gym));

    m_google->failNext("PUT", status);
    const LarkTest::SyncOutcome run = sync();
    QCOMPARE(run.failed, 1);
    QVERIFY2(run.reason.contains(QLatin1String("could not be sent to Google")),
             qPrintable(run.reason));
    QCOMPARE((*m_state)->events()->byId(gym.id)->sync_status, QStringLiteral("pending"));
    QCOMPARE(remoteTitles(kMine), LarkTest::strings({"Gym@2026-03-04T17:00:00Z"}));
    QCOMPARE((*m_state)->conflicts()->conflicts().size(), conflict ? 1 : 0);
}

void TestGoogleSync::lostCreateAnswerMakesNoDuplicate_data()
{
    QTest::addColumn<int>("lost"); // answers dropped after Google made the event
    QTest::addColumn<bool>("deletedThere"); // Google holds a deleted event under the row's UID
    // The network layer sends the request once more: Google refuses the second insert of the
    // same UID, and the row takes the event made the first time.
    QTest::newRow("answer lost, resent") << 1 << false;
    // The run fails; the next one lists the event under the row's UID.
    QTest::newRow("answer and resend lost") << 2 << false;
    // Made here again (an import of the same file) after it was deleted at Google: Google keeps
    // the deleted event under that UID and refuses a new one.
    QTest::newRow("its UID deleted at Google before") << 0 << true;
}

// An event made here reaches Google, but no answer comes back; the user edits it meanwhile.
// After two runs each side holds it once, as edited, and visible.
void TestGoogleSync::lostCreateAnswerMakesNoDuplicate()
{
    QFETCH(int, lost);
    QFETCH(bool, deletedThere);
    const QString uid = QStringLiteral("uid-of-local-1");
    if (deletedThere) {
        QJsonObject old = timedEvent(QStringLiteral("Planning, first"), berlin(6, 15));
        old.insert(QStringLiteral("iCalUID"), uid);
        QVERIFY(m_google->cancelEvent(kMine, m_google->putEvent(kMine, old)));
    }
    QCOMPARE(sync().finished, 1);
    const QString mine = calendarId(kMine);
    EventRepository *events = (*m_state)->events();
    Event made = planning(mine);
    made.uid = uid;
    QVERIFY(events->insert(made));

    if (lost > 0)
        m_google->failNext("POST", FakeGoogleCalendar::appliedThenDropped, 0, lost);
    const LarkTest::SyncOutcome first = sync();
    QCOMPARE(first.failed, qMax(lost - 1, 0));
    Event edited = *events->byId(made.id);
    edited.title = QStringLiteral("Planning, room 4");
    edited.sync_status = QStringLiteral("pending");
    QVERIFY(events->update(edited));
    QCOMPARE(sync().finished, 1);

    QCOMPARE(localTitles(mine), LarkTest::strings({"Planning, room 4@2026-03-06T14:00:00Z"}));
    QCOMPARE(remoteTitles(kMine), localTitles(mine));
    const Event after = *events->byId(made.id);
    QCOMPARE(after.sync_status, QStringLiteral("synced"));
    const QJsonObject remote = m_google->events(kMine).first();
    QCOMPARE(remote.value(QLatin1String("status")).toString(), QStringLiteral("confirmed"));
    QCOMPARE(after.provider_event_id, remote.value(QLatin1String("id")).toString());
    QCOMPARE(after.etag, remote.value(QLatin1String("etag")).toString());
    QCOMPARE(remote.value(QLatin1String("iCalUID")).toString(), made.uid);
}

void TestGoogleSync::expiredTokenMidwayRestartsOnce()
{
    m_google->pageSize = 2;
    for (int day = 2; day <= 6; ++day)
        m_google->putEvent(kMine, timedEvent(QStringLiteral("Day %1").arg(day), berlin(day, 9)));
    QCOMPARE(sync().finished, 1);
    const QString mine = calendarId(kMine);
    for (int day = 9; day <= 13; ++day)
        m_google->putEvent(kMine, timedEvent(QStringLiteral("Day %1").arg(day), berlin(day, 9)));

    // The second page of the incremental listing answers that the token is too old.
    m_google->failNext("GET", 410, 1);
    m_server->clearRequests();
    QCOMPARE(sync().finished, 1);
    QCOMPARE(localTitles(mine), remoteTitles(kMine));
    QCOMPARE(localTitles(mine).size(), 10);
    QCOMPARE((*m_state)->calendars()->byId(mine)->sync_token, m_google->currentSyncToken());
    int fullListings = 0;
    for (const LarkTest::RecordedRequest &r : m_server->requests()) {
        if (r.path.contains(QLatin1String("me@example.com"))
            && !r.query.hasQueryItem(QStringLiteral("syncToken"))
            && !r.query.hasQueryItem(QStringLiteral("pageToken")))
            ++fullListings;
    }
    QCOMPARE(fullListings, 1);
}

void TestGoogleSync::brokenItemLeavesPageUnapplied()
{
    m_google->pageSize = 3;
    for (int day = 2; day <= 8; ++day) {
        QJsonObject e = timedEvent(QStringLiteral("Day %1").arg(day), berlin(day, 9));
        if (day == 6)
            e.remove(QStringLiteral("start"));
        m_google->putEvent(kMine, e);
    }
    const LarkTest::SyncOutcome run = sync();
    QCOMPARE(run.failed, 1);
    QVERIFY2(run.reason.contains(QLatin1String("without a start")), qPrintable(run.reason));
    const QString mine = calendarId(kMine);
    // The first page is in; of the second page, nothing; the token did not move.
    QCOMPARE(localTitles(mine),
             LarkTest::strings({"Day 2@2026-03-02T08:00:00Z", "Day 3@2026-03-03T08:00:00Z",
                                "Day 4@2026-03-04T08:00:00Z"}));
    QVERIFY((*m_state)->calendars()->byId(mine)->sync_token.isEmpty());

    QVERIFY(m_google->editEvent(kMine, QStringLiteral("gev5"), [](QJsonObject &o) {
        o.insert(QStringLiteral("start"), at(berlin(6, 9)));
    }));
    QCOMPARE(sync().finished, 1);
    QCOMPARE(localTitles(mine), remoteTitles(kMine));
    QCOMPARE(localTitles(mine).size(), 7);
}

void TestGoogleSync::refreshBeforeExpiry_data()
{
    QTest::addColumn<QString>("accessToken");
    QTest::addColumn<int>("secondsLeft");
    QTest::addColumn<int>("refreshes");
    QTest::newRow("59 s left") << QStringLiteral("access-1") << 59 << 1;
    QTest::newRow("61 s left") << QStringLiteral("access-1") << 61 << 0;
    QTest::newRow("no access token") << QString() << 3600 << 1;
}

void TestGoogleSync::refreshBeforeExpiry()
{
    QFETCH(QString, accessToken);
    QFETCH(int, secondsLeft);
    QFETCH(int, refreshes);

    QVERIFY(Google::AuthService::saveTokens(
        m_account.id, {accessToken, m_google->refreshToken, kNow.addSecs(secondsLeft)}));
    QCOMPARE(sync().finished, 1);
    QCOMPARE(m_google->refreshes, refreshes);
    // A refused refresh stops the account with a reason to sign in again.
    m_google->refreshToken = QStringLiteral("rotated elsewhere");
    QVERIFY(
        Google::AuthService::saveTokens(m_account.id, {QString(), QStringLiteral("old"), kNow}));
    const LarkTest::SyncOutcome refused = sync();
    QCOMPARE(refused.failed, 1);
    QVERIFY2(refused.reason.startsWith(QLatin1String("Google token refresh failed")),
             qPrintable(refused.reason));
}

void TestGoogleSync::runsStartByThemselves()
{
    m_google->putEvent(kMine, timedEvent(QStringLiteral("Review"), berlin(3, 10)));
    m_google->putEvent(kTeam, timedEvent(QStringLiteral("Offsite"), berlin(5, 10)));
    AppState *state = m_state->get();
    Sync::SyncCoordinator *coordinator = state->syncCoordinator();
    QSignalSpy status(coordinator, &Sync::SyncCoordinator::statusMessage);
    auto runs = [this] {
        return m_server->requestsTo("GET", QStringLiteral("/calendar/v3/users/me/calendarList"))
            .size();
    };
    auto lastSync = [&] {
        return state->accounts()->byId(m_account.id)->last_sync_time;
    };
    // Quick timers; the 60 s of quiet after a calendar's run go by the store's clock.
    coordinator->scheduler()->setTiming({10, 20, 10, 60});
    coordinator->scheduler()->start();

    // Shortly after start-up: the account's calendars are there and noted as synced now.
    QTRY_VERIFY(lastSync() == kNow && !coordinator->isRunning(m_account.id));
    QCOMPARE(runs(), 1);
    QCOMPARE(localTitles(calendarId(kMine)), remoteTitles(kMine));
    QVERIFY(status.contains(QVariantList {QStringLiteral("Synced 1 event(s)")}));
    QCOMPARE(state->accounts()->byId(m_account.id)->last_sync_error, QString());

    // Due once its interval has passed, and only then.
    QCOMPARE(coordinator->scheduler()->runDueAccounts(), 0);
    m_now = kNow.addSecs(15 * 60);
    QTRY_VERIFY(lastSync() == m_now && !coordinator->isRunning(m_account.id));
    QCOMPARE(runs(), 2);

    // A local edit is pushed by itself, in a run of its calendar alone.
    m_now = m_now.addSecs(61);
    m_server->clearRequests();
    const QString mine = calendarId(kMine);
    Event review = local(mine, QStringLiteral("Review"));
    review.title = QStringLiteral("Review, moved");
    review.sync_status = QStringLiteral("pending");
    QVERIFY(state->events()->update(review));
    QTRY_COMPARE(remoteTitles(kMine), localTitles(mine));
    QTRY_VERIFY(!coordinator->isRunning(m_account.id));
    QVERIFY(state->events()->listPending(mine).isEmpty());
    QCOMPARE(runs(), 1);
    int listings = 0;
    for (const LarkTest::RecordedRequest &r : m_server->requests())
        listings += r.method == "GET" && r.path.endsWith(QLatin1String("/events"));
    QCOMPARE(listings, 1);

    // Manual only: no run by itself however long ago the last one was.
    std::optional<Account> manual = state->accounts()->byId(m_account.id);
    manual->sync_interval_minutes = 0;
    QVERIFY(state->accounts()->update(*manual));
    m_now = m_now.addDays(2);
    QCOMPARE(coordinator->scheduler()->runDueAccounts(), 0);
}

void TestGoogleSync::onlyEnabledAndListedCalendarsSync()
{
    m_google->putEvent(kMine, timedEvent(QStringLiteral("Review"), berlin(3, 10)));
    QJsonObject deleted = timedEvent(QStringLiteral("Planning"), berlin(6, 15));
    deleted.insert(QStringLiteral("iCalUID"), QStringLiteral("uid-again"));
    QVERIFY(m_google->cancelEvent(kMine, m_google->putEvent(kMine, deleted)));
    QCOMPARE(sync().finished, 1);
    const QString mine = calendarId(kMine);
    const QString team = calendarId(kTeam);

    // Switched off here: neither pulled nor pushed.
    Calendar teamRow = *(*m_state)->calendars()->byId(team);
    teamRow.sync_enabled = false;
    QVERIFY((*m_state)->calendars()->update(teamRow));
    m_google->putEvent(kTeam, timedEvent(QStringLiteral("Offsite"), berlin(5, 10)));
    m_google->putEvent(kMine, timedEvent(QStringLiteral("Lunch"), berlin(4, 12)));
    Google::SyncClient client(m_state->get());
    QSignalSpy started(&client, &Google::SyncClient::calendarSyncStarted);
    QSignalSpy completed(&client, &Google::SyncClient::calendarSyncCompleted);
    QSignalSpy failed(&client, &Google::SyncClient::calendarSyncFailed);
    QSignalSpy held(&client, &Google::SyncClient::calendarSyncHeld);
    client.syncCalendar(*(*m_state)->calendars()->byId(mine));
    // One run of an account at a time: the second is kept back for after the first.
    client.syncCalendar(teamRow);
    QCOMPARE(held.size(), 1);
    QTRY_COMPARE(completed.size() + failed.size(), 1);
    QCOMPARE(started.size(), 2);
    QCOMPARE(completed.constFirst(), (QVariantList {mine, 1}));
    QCOMPARE(localTitles(mine), remoteTitles(kMine));
    QVERIFY(localTitles(team).isEmpty());

    // A slow link that keeps answering keeps the run going, though one push takes longer than
    // the limit: a create that Google refuses (its UID deleted there, and made there again by
    // another device meanwhile), a lookup, a write to the live copy.
    Event again = planning(mine);
    again.uid = QStringLiteral("uid-again");
    QVERIFY((*m_state)->events()->insert(again));
    const auto madeThere = connect(m_server.get(), &LarkTest::FakeHttpServer::requestReceived, this,
                                   [&](const LarkTest::RecordedRequest &r) {
                                       if (r.method == "POST")
                                           m_google->putEvent(kMine, deleted);
                                   });
    m_server->answerDelayMs = 250;
    Sync::SyncCoordinator *coordinator = (*m_state)->syncCoordinator();
    coordinator->setSilenceLimit(600);
    coordinator->syncNow();
    QTRY_VERIFY_WITH_TIMEOUT(!coordinator->isRunning(m_account.id), 20000);
    m_server->answerDelayMs = 0;
    disconnect(madeThere);
    QCOMPARE((*m_state)->accounts()->byId(m_account.id)->last_sync_error, QString());
    QCOMPARE(localTitles(mine), remoteTitles(kMine));

    // Gone at Google: said by name, the account's run fails, the pending edit stays.
    Event review = local(mine, QStringLiteral("Review"));
    review.title = QStringLiteral("Review, kept");
    review.sync_status = QStringLiteral("pending");
    QVERIFY((*m_state)->events()->update(review));
    m_google->removeCalendar(kMine);
    coordinator->syncNow();
    QTRY_VERIFY(!coordinator->isRunning(m_account.id));
    const QString gone = QStringLiteral(
        "\"Me\" is no longer available at Google; its changes stay on this device.");
    QCOMPARE((*m_state)->calendars()->byId(mine)->last_sync_error, gone);
    QCOMPARE((*m_state)->accounts()->byId(m_account.id)->last_sync_error, gone);
    QCOMPARE((*m_state)->events()->byId(review.id)->sync_status, QStringLiteral("pending"));
    QCOMPARE((*m_state)->events()->byId(review.id)->title, QStringLiteral("Review, kept"));
    client.syncCalendar(*(*m_state)->calendars()->byId(mine));
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed.at(0), (QVariantList {mine, gone}));
}

QTEST_MAIN(TestGoogleSync)
#include "tst_GoogleSync.moc"
