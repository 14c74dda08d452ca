#include "services/net/RequestPolicy.h"
#include "services/sync/google/CalendarClient.h"
#include "support/FakeGoogleCalendar.h"
#include "support/FakeHttpServer.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using Google::CalendarClient;
using LarkTest::FakeReply;

Q_DECLARE_METATYPE(LarkTest::FakeReply)

namespace {

enum class Op {
    ListCalendars,
    ListFull,
    ListWindow,
    ListIncremental,
    Insert,
    Update,
    UpdateNoEtag,
    Delete
};

const QDateTime kMin(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC);
const QDateTime kMax(QDate(2026, 4, 1), QTime(0, 0), Qt::UTC);

QJsonObject titled(const QString &title)
{
    return {{QStringLiteral("summary"), title},
            {QStringLiteral("start"),
             QJsonObject {{QStringLiteral("date"), QStringLiteral("2026-03-02")}}},
            {QStringLiteral("end"),
             QJsonObject {{QStringLiteral("date"), QStringLiteral("2026-03-03")}}}};
}

QStringList summaries(const QList<QJsonObject> &items)
{
    QStringList out;
    for (const QJsonObject &o : items)
        out << o.value(QLatin1String("summary")).toString();
    return out;
}

} // namespace

class TestCalendarClient : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void requestShape_data();
    void requestShape();
    void listingGathersEveryPage();
    void failures_data();
    void failures();

private:
    std::unique_ptr<LarkTest::FakeHttpServer> m_server;
    std::unique_ptr<LarkTest::FakeGoogleCalendar> m_google;
    std::unique_ptr<CalendarClient> m_client;
};

void TestCalendarClient::init()
{
    m_server = std::make_unique<LarkTest::FakeHttpServer>();
    QVERIFY(m_server->listen());
    m_google = std::make_unique<LarkTest::FakeGoogleCalendar>(m_server.get());
    m_google->addCalendar(QStringLiteral("team/a@group.example"), QStringLiteral("Team"));
    m_client = std::make_unique<CalendarClient>();
    m_client->setApiRoot(m_google->apiRoot());
    m_client->accessToken = m_google->accessToken;
}

void TestCalendarClient::cleanup()
{
    m_client.reset();
    m_google.reset();
    m_server.reset();
}

void TestCalendarClient::requestShape_data()
{
    QTest::addColumn<Op>("op");
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("ifMatch");

    const QByteArray events = "/calendar/v3/calendars/team%2Fa%40group.example/events";
    QTest::newRow("calendar list")
        << Op::ListCalendars << QByteArray("GET")
        << QByteArray("/calendar/v3/users/me/calendarList") << QByteArray();
    QTest::newRow("full listing") << Op::ListFull << QByteArray("GET")
                                  << events + "?singleEvents=false&showDeleted=true&maxResults=2500"
                                  << QByteArray();
    QTest::newRow("listing in a window") << Op::ListWindow << QByteArray("GET")
                                         << events
            + "?singleEvents=false&showDeleted=true&timeMin=2026-03-01T00%3A00%3A00.000Z"
              "&timeMax=2026-04-01T00%3A00%3A00.000Z&maxResults=2500"
                                         << QByteArray();
    QTest::newRow("incremental listing ignores the window")
        << Op::ListIncremental << QByteArray("GET")
        << events + "?syncToken=tok%2B0.0%2F%3D&showDeleted=true&maxResults=2500" << QByteArray();
    QTest::newRow("insert") << Op::Insert << QByteArray("POST") << events << QByteArray();
    QTest::newRow("update") << Op::Update << QByteArray("PUT") << events + "/ev%2F1%40x"
                            << QByteArray("\"7\"");
    QTest::newRow("update without etag")
        << Op::UpdateNoEtag << QByteArray("PUT") << events + "/ev%2F1%40x" << QByteArray();
    QTest::newRow("delete") << Op::Delete << QByteArray("DELETE") << events + "/ev%2F1%40x"
                            << QByteArray("\"7\"");
}

void TestCalendarClient::requestShape()
{
    QFETCH(Op, op);
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, ifMatch);

    const QString calendar = QStringLiteral("team/a@group.example");
    const QString event = QStringLiteral("ev/1@x");
    const QJsonObject body = titled(QStringLiteral("Body"));
    switch (op) {
    case Op::ListCalendars:
        m_client->listCalendars();
        break;
    case Op::ListFull:
        m_client->listEventsPage(calendar, QString(), QString());
        break;
    case Op::ListWindow:
        m_client->listEvents(calendar, QString(), kMin, kMax);
        break;
    case Op::ListIncremental:
        m_client->listEvents(calendar, QStringLiteral("tok+0.0/="), kMin, kMax);
        break;
    case Op::Insert:
        m_client->insertEvent(QStringLiteral("l1"), calendar, body);
        break;
    case Op::Update:
        m_client->updateEvent(QStringLiteral("l1"), calendar, event, body, QStringLiteral("\"7\""));
        break;
    case Op::UpdateNoEtag:
        m_client->updateEvent(QStringLiteral("l1"), calendar, event, body, QString());
        break;
    case Op::Delete:
        m_client->deleteEvent(QStringLiteral("l1"), calendar, event, QStringLiteral("\"7\""));
        break;
    }
    QTRY_COMPARE(m_server->requestCount(), 1);
    const LarkTest::RecordedRequest r = m_server->requests().first();
    QCOMPARE(r.method, method);
    QCOMPARE(r.target, target);
    QCOMPARE(r.header("Authorization"), QByteArray("Bearer access-1"));
    QCOMPARE(r.header("If-Match"), ifMatch);
    QCOMPARE(r.hasHeader("Accept"), method != "DELETE");
    const bool hasBody = method == "POST" || method == "PUT";
    QCOMPARE(r.header("Content-Type"), hasBody ? QByteArray("application/json") : QByteArray());
    QCOMPARE(r.body, hasBody ? QJsonDocument(body).toJson(QJsonDocument::Compact) : QByteArray());
}

void TestCalendarClient::listingGathersEveryPage()
{
    const QString calendar = QStringLiteral("team/a@group.example");
    m_google->pageSize = 2;
    for (const char *title : {"one", "two", "three", "four", "five"})
        m_google->putEvent(calendar, titled(QString::fromUtf8(title)));

    QSignalSpy listed(m_client.get(), &CalendarClient::eventsListed);
    QSignalSpy expired(m_client.get(), &CalendarClient::syncTokenExpired);
    m_client->listEvents(calendar, QString(), QDateTime(), QDateTime());
    QVERIFY(listed.wait());
    QCOMPARE(m_server->requestCount(), 3);
    const auto page = listed.first().at(1).value<CalendarClient::EventListPage>();
    QCOMPARE(summaries(page.items), LarkTest::strings({"one", "two", "three", "four", "five"}));
    QCOMPARE(page.nextSyncToken, m_google->currentSyncToken());

    // A token refused on a later page drops the pages before it.
    m_google->failNext("GET", 410, 1);
    m_client->listEvents(calendar, QString(), QDateTime(), QDateTime());
    QVERIFY(expired.wait());
    QTest::qWait(20);
    QCOMPARE(expired.first().first().toString(), calendar);
    QCOMPARE(listed.size(), 1);

    // Page tokens that go round a cycle of two end the listing as a failure.
    const QString calendarList = QStringLiteral("/calendar/v3/users/me/calendarList");
    m_server->route("GET", calendarList, [n = 0](auto &) mutable {
        const QString next = QString::number(++n % 2);
        return FakeReply::json(200,
                               QJsonObject {{QStringLiteral("items"), QJsonArray()},
                                            {QStringLiteral("nextPageToken"), next}});
    });
    QSignalSpy failed(m_client.get(), &CalendarClient::requestFailed);
    m_client->listCalendars();
    QVERIFY(failed.wait());
    QCOMPARE(m_server->requestsTo("GET", calendarList).size(), 3);
}

void TestCalendarClient::failures_data()
{
    QTest::addColumn<Op>("op");
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<QString>("outcome"); // the signal, its status, and a part of its reason

    const FakeReply refused = FakeReply::json(
        403,
        QJsonObject {{QStringLiteral("error"),
                      QJsonObject {{QStringLiteral("message"),
                                    QStringLiteral("Forbidden for this calendar")}}}});
    QTest::newRow("listing refused")
        << Op::ListFull << refused << QStringLiteral("failed 403 Forbidden for this calendar");
    QTest::newRow("listing that is not JSON")
        << Op::ListFull << FakeReply::text(200, "<html>") << QStringLiteral("failed 200 cannot");
    // Without its items a listing is unreadable, never an account or calendar without any.
    QTest::newRow("calendar list without its items")
        << Op::ListCalendars << FakeReply::json(200, QJsonObject())
        << QStringLiteral("failed 200 cannot");
    QTest::newRow("listing that times out")
        << Op::ListFull << FakeReply::json(200, QJsonObject()).held()
        << QStringLiteral("failed 0 stopped answering");
    QTest::newRow("body never quoted") << Op::Update << FakeReply::text(500, "secret event body")
                                       << QStringLiteral("writeFailed 500 Internal Server Error");
    QTest::newRow("insert answered without an id") << Op::Insert << FakeReply::text(200, "not json")
                                                   << QStringLiteral("writeFailed 200 cannot");
    QTest::newRow("delete of a missing event")
        << Op::Delete << FakeReply::empty(404) << QStringLiteral("deleted");
    QTest::newRow("delete of a deleted event")
        << Op::Delete << FakeReply::empty(410) << QStringLiteral("deleted");
    QTest::newRow("delete refused")
        << Op::Delete << FakeReply::empty(412) << QStringLiteral("writeFailed 412 Precondition");
}

void TestCalendarClient::failures()
{
    QFETCH(Op, op);
    QFETCH(FakeReply, reply);
    QFETCH(QString, outcome);

    m_server->route("*", QStringLiteral("/calendar/v3/*"), reply);
    Net::Limits shortSilence;
    shortSilence.silenceMs = 300;
    const Net::LimitsOverride limits(shortSilence);
    QSignalSpy failed(m_client.get(), &CalendarClient::requestFailed);
    QSignalSpy writeFailed(m_client.get(), &CalendarClient::eventWriteFailed);
    QSignalSpy deleted(m_client.get(), &CalendarClient::eventDeleted);
    QSignalSpy written(m_client.get(), &CalendarClient::eventWritten);
    QSignalSpy listed(m_client.get(), &CalendarClient::calendarsListed);
    const QString calendar = QStringLiteral("cal");
    switch (op) {
    case Op::ListCalendars:
        m_client->listCalendars();
        break;
    case Op::ListFull:
        m_client->listEventsPage(calendar, QString(), QString());
        break;
    case Op::Insert:
        m_client->insertEvent(QStringLiteral("l1"), calendar, {});
        break;
    case Op::Update:
        m_client->updateEvent(QStringLiteral("l1"), calendar, QStringLiteral("e"), {}, QString());
        break;
    default:
        m_client->deleteEvent(QStringLiteral("l1"), calendar, QStringLiteral("e"), QString());
    }
    const auto outcomes = [&] {
        return failed.size() + writeFailed.size() + deleted.size() + written.size() + listed.size();
    };
    QTRY_VERIFY_WITH_TIMEOUT(outcomes() > 0, 5000);
    QTest::qWait(20);
    QCOMPARE(outcomes(), 1);

    QString seen;
    if (!failed.isEmpty())
        seen
            = QStringLiteral("failed %1 %2").arg(failed[0][1].toInt()).arg(failed[0][0].toString());
    else if (!writeFailed.isEmpty())
        seen = QStringLiteral("writeFailed %1 %2")
                   .arg(writeFailed[0][2].toInt())
                   .arg(writeFailed[0][1].toString());
    else if (!deleted.isEmpty())
        seen = QStringLiteral("deleted");
    else if (!listed.isEmpty())
        seen = QStringLiteral("listed");
    else
        seen = QStringLiteral("written");
    const QStringList want = outcome.split(QLatin1Char(' '));
    const QStringList got = seen.split(QLatin1Char(' '));
    QCOMPARE(got.mid(0, qMin(2, want.size())), want.mid(0, 2));
    QVERIFY2(seen.contains(want.mid(2).join(QLatin1Char(' '))), qPrintable(seen));
    QVERIFY2(!seen.contains(QLatin1String("secret")), qPrintable(seen));
}

QTEST_GUILESS_MAIN(TestCalendarClient)
#include "tst_GoogleCalendarClient.moc"
