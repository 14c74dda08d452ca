// A Google account synced over loopback HTTP from the fake Google Calendar: a pull of 10,000
// events in 20 pages into a store that already holds 100,000, and a push of 1,000 pending edits.
// Each figure has a baseline beside it: the same rows written straight through the repository in
// the same 20 transactions, and the same 1,000 requests sent with a bare network manager.
// Run by hand:
//   build/bench/bench_GoogleSync
// LARK_BENCH_EVENTS=<n> changes the number of events stored beforehand.

#include "core/AppState.h"
#include "core/sync/SyncEngine.h"
#include "services/sync/google/AuthService.h"
#include "services/sync/google/CalendarClient.h"
#include "services/sync/google/GoogleSyncProvider.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "support/FakeGoogleCalendar.h"
#include "support/MemoryTokenStore.h"
#include "support/SyncRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QUuid>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

const int kStored = qEnvironmentVariableIsSet("LARK_BENCH_EVENTS")
    ? qEnvironmentVariableIntValue("LARK_BENCH_EVENTS")
    : 100000;
const int kPulled = 10000;
const int kPageSize = 500;
const int kPushed = 1000;
const QDateTime kStart(QDate(2026, 1, 5), QTime(9, 0), QTimeZone("Europe/Berlin"));

QJsonObject at(const QDateTime &t)
{
    return {{QStringLiteral("dateTime"), t.toString(Qt::ISODate)},
            {QStringLiteral("timeZone"), QStringLiteral("Europe/Berlin")}};
}

// A resource as Google sends it: one in ten with guests and reminders, one in twenty a series.
QJsonObject resource(int n)
{
    const QDateTime start = kStart.addSecs(qint64(n % 5000) * 3600);
    QJsonObject o {
        {QStringLiteral("summary"), QStringLiteral("Meeting about topic %1").arg(n % 1000)},
        {QStringLiteral("location"), QStringLiteral("Room %1").arg(n % 50)},
        {QStringLiteral("description"), QStringLiteral("Agenda item %1").arg(n)},
        {QStringLiteral("start"), at(start)},
        {QStringLiteral("end"), at(start.addSecs(1800))},
        {QStringLiteral("organizer"),
         QJsonObject {{QStringLiteral("email"), QStringLiteral("owner@example.com")}}}};
    if (n % 10 == 0) {
        o.insert(QStringLiteral("attendees"),
                 QJsonArray {
                     QJsonObject {{QStringLiteral("email"), QStringLiteral("a@example.com")},
                                  {QStringLiteral("responseStatus"), QStringLiteral("accepted")}},
                     QJsonObject {{QStringLiteral("email"), QStringLiteral("b@example.com")},
                                  {QStringLiteral("optional"), true}}});
        o.insert(QStringLiteral("reminders"),
                 QJsonObject {
                     {QStringLiteral("useDefault"), false},
                     {QStringLiteral("overrides"),
                      QJsonArray {QJsonObject {{QStringLiteral("method"), QStringLiteral("popup")},
                                               {QStringLiteral("minutes"), 10}}}}});
    }
    if (n % 20 == 0)
        o.insert(QStringLiteral("recurrence"),
                 QJsonArray {QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=10")});
    return o;
}

struct Bench
{
    LarkTest::ScopedMemoryTokenStore secrets;
    LarkTest::FakeHttpServer server;
    std::unique_ptr<LarkTest::FakeGoogleCalendar> google;
    QTemporaryDir dir;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    Account account;
    int calendars = 0;

    Bench()
    {
        if (!server.listen())
            qFatal("cannot listen");
        google = std::make_unique<LarkTest::FakeGoogleCalendar>(&server);
        qputenv("GOOGLE_CALENDAR_API_URL", google->apiRoot().toUtf8());
        qputenv("GOOGLE_TOKEN_URL", google->tokenUrl().toUtf8());
        if (!state->initialize(dir.filePath(QStringLiteral("calendar.db"))))
            qFatal("cannot create the benchmark database");
        const QDateTime now = QDateTime::currentDateTimeUtc();
        account.id = QStringLiteral("bench");
        account.type = QStringLiteral("google");
        account.name = account.type;
        account.created_at = account.updated_at = now;
        Calendar other;
        other.id = QStringLiteral("stored");
        other.account_id = account.id;
        other.url = QStringLiteral("local://stored");
        other.name = other.id;
        other.created_at = other.updated_at = now;
        if (!state->accounts()->insert(account) || !state->calendars()->insert(other)
            || !Google::AuthService::saveTokens(
                account.id, {google->accessToken, google->refreshToken, now.addDays(1)}))
            qFatal("cannot set up the benchmark account");
        state->database()->connection().transaction();
        for (int n = 0; n < kStored; ++n) {
            Event e = Google::CalendarClient::eventFromJson(resource(n), other.id);
            e.provider_event_id.clear();
            e.uid = e.id;
            if (!state->events()->insert(e))
                qFatal("insert failed");
        }
        state->database()->connection().commit();
    }

    QString addCalendar(int events)
    {
        const QString id = QStringLiteral("cal-%1@group.calendar.example").arg(++calendars);
        google->addCalendar(id, id);
        for (int n = 0; n < events; ++n)
            google->putEvent(id, resource(n));
        return id;
    }

    QString localCalendar(const QString &googleId) const
    {
        for (const Calendar &c : state->calendars()->listByAccount(account.id)) {
            if (c.url == googleId)
                return c.id;
        }
        return QString();
    }

    // False (the benchmark stopped) unless the run finished.
    [[nodiscard]] bool sync(benchmark::State &bm)
    {
        const LarkTest::SyncOutcome outcome
            = LarkTest::runToEnd(new Sync::SyncEngine(Sync::SyncStore::of(*state), account,
                                                      new Google::GoogleSyncProvider(account)),
                                 600000, 0);
        if (outcome.finished == 1)
            return true;
        bm.SkipWithError(qPrintable(QStringLiteral("sync failed: ") + outcome.reason));
        return false;
    }
};

Bench &bench()
{
    static Bench b;
    return b;
}

void BM_Pull10000In20Pages(benchmark::State &state)
{
    Bench &b = bench();
    b.google->pageSize = kPageSize;
    for (auto _ : state) {
        state.PauseTiming();
        const QString calendar = b.addCalendar(kPulled);
        state.ResumeTiming();
        if (!b.sync(state))
            break;
        state.PauseTiming();
        if (b.state->events()->listByCalendar(b.localCalendar(calendar)).size() != kPulled) {
            state.SkipWithError("the pull did not bring every event");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Pull10000In20Pages)->Unit(benchmark::kMillisecond)->Iterations(3);

// The rows of the pull, mapped already, written in the same 20 transactions.
void BM_Baseline_Insert10000In20Transactions(benchmark::State &state)
{
    Bench &b = bench();
    QList<Event> rows;
    for (int n = 0; n < kPulled; ++n)
        rows << Google::CalendarClient::eventFromJson(resource(n), QStringLiteral("stored"));
    QSqlDatabase &db = b.state->database()->connection();
    for (auto _ : state) {
        int stored = 0;
        for (int page = 0; page < kPulled / kPageSize; ++page) {
            bool applied = db.transaction();
            for (int n = page * kPageSize; n < (page + 1) * kPageSize; ++n) {
                rows[n].id = rows[n].uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
                applied = b.state->events()->insert(rows[n]) && applied;
            }
            if (applied && db.commit())
                stored += kPageSize;
            else
                db.rollback();
        }
        if (stored != kPulled) {
            state.SkipWithError("a page was not stored");
            break;
        }
    }
}
BENCHMARK(BM_Baseline_Insert10000In20Transactions)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Push1000Edits(benchmark::State &state)
{
    Bench &b = bench();
    for (auto _ : state) {
        state.PauseTiming();
        const QString calendar = b.addCalendar(kPushed);
        if (!b.sync(state))
            break;
        const QString local = b.localCalendar(calendar);
        int edited = 0;
        for (Event e : b.state->events()->listByCalendar(local)) {
            e.title += QStringLiteral(" (moved)");
            e.sync_status = QStringLiteral("pending");
            edited += b.state->events()->update(e) ? 1 : 0;
        }
        if (edited != kPushed) {
            state.SkipWithError("the edits were not stored");
            break;
        }
        state.ResumeTiming();
        if (!b.sync(state))
            break;
        state.PauseTiming();
        const QList<QJsonObject> remote = b.google->events(calendar);
        const auto moved = std::count_if(remote.cbegin(), remote.cend(), [](const QJsonObject &e) {
            return e.value(QLatin1String("summary")).toString().endsWith(QLatin1String(" (moved)"));
        });
        if (!b.state->events()->listPending(local).isEmpty() || moved != kPushed) {
            state.SkipWithError("not every edit reached the server");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Push1000Edits)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same 1,000 PUT requests, one after another, with nothing but a network manager.
void BM_Baseline_1000Requests(benchmark::State &state)
{
    Bench &b = bench();
    const QString calendar = b.addCalendar(kPushed);
    QList<QJsonObject> events = b.google->events(calendar);
    QNetworkAccessManager network;
    for (auto _ : state) {
        int answered = 0;
        for (const QJsonObject &e : std::as_const(events)) {
            QNetworkRequest request(QUrl(b.google->apiRoot() + QStringLiteral("/calendars/")
                                         + QString::fromLatin1(QUrl::toPercentEncoding(calendar))
                                         + QStringLiteral("/events/")
                                         + e.value(QLatin1String("id")).toString()));
            request.setRawHeader("Authorization", "Bearer " + b.google->accessToken.toUtf8());
            request.setHeader(QNetworkRequest::ContentTypeHeader,
                              QByteArrayLiteral("application/json"));
            QNetworkReply *reply
                = network.put(request, QJsonDocument(e).toJson(QJsonDocument::Compact));
            QEventLoop loop;
            QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            loop.exec();
            if (reply->error() == QNetworkReply::NoError
                && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200)
                ++answered;
            reply->deleteLater();
        }
        if (answered != kPushed) {
            state.SkipWithError("not every request was answered with 200");
            break;
        }
    }
}
BENCHMARK(BM_Baseline_1000Requests)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv);
}
