#include "AccountTestKit.h"
#include "services/net/RequestPolicy.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

using namespace LarkAccount;
using AccountTest::Outcome;
using AccountTest::Rig;
using LarkTest::FakeReply;
using LarkTest::RecordedRequest;

namespace {

const QString me = AccountTest::realmPath + QStringLiteral("/users/me");

QJsonObject object(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

} // namespace

class TestApiClient : public QObject
{
    Q_OBJECT

private slots:
    void headersOnEveryVerb_data();
    void headersOnEveryVerb();
    void headersLeftOutWhenEmpty();
    void urlJoining_data();
    void urlJoining();
    void requestBodies();
    void replies_data();
    void replies();
    void transportFailures_data();
    void transportFailures();
    void nothingSentWithoutAddress();
    void renewalBeforeRequest();
    void renewalRefusedBeforeRequest();
    void renewalFailsTransiently_data();
    void renewalFailsTransiently();
    void retryOnceAfter401_data();
    void retryOnceAfter401();
    void threeRequestsShareOneRenewal();
};

void TestApiClient::headersOnEveryVerb_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::newRow("GET") << QByteArray("GET");
    QTest::newRow("POST") << QByteArray("POST");
    QTest::newRow("PUT") << QByteArray("PUT");
    QTest::newRow("PATCH") << QByteArray("PATCH");
    QTest::newRow("DELETE") << QByteArray("DELETE");
}

void TestApiClient::headersOnEveryVerb()
{
    QFETCH(QByteArray, verb);
    Rig rig;
    const QString token = rig.validToken();
    rig.tokens->setTokens(token, QStringLiteral("R"));
    rig.server.route("*", me, FakeReply::json(200, QJsonObject {{QStringLiteral("id"), 1}}));
    Outcome out;
    const QJsonObject body {{QStringLiteral("display_name"), QStringLiteral("Ann")}};
    const QString path = QStringLiteral("/users/me");
    if (verb == "GET")
        rig.api->get(path, out.callback());
    else if (verb == "POST")
        rig.api->post(path, body, out.callback());
    else if (verb == "PUT")
        rig.api->put(path, body, out.callback());
    else if (verb == "PATCH")
        rig.api->patch(path, body, out.callback());
    else
        rig.api->deleteResource(path, out.callback());
    QTRY_COMPARE(out.calls, 1);
    QVERIFY(out.ok);
    QCOMPARE(out.status, 200);

    QCOMPARE(rig.server.requestCount(), 1); // no renewal
    const RecordedRequest r = rig.server.requests().first();
    QCOMPARE(r.method, verb);
    QCOMPARE(r.header("Content-Type"), QByteArray("application/json"));
    QCOMPARE(r.header("Accept"), QByteArray("application/json"));
    QCOMPARE(r.header("X-App-Id"), QByteArray("calendar.test"));
    QCOMPARE(r.header("X-App-Version"), QByteArray("1.3.4"));
    QCOMPARE(r.header("X-Platform"), QByteArray("windows"));
    QCOMPARE(r.header("Authorization"), "Bearer " + token.toLatin1());
}

void TestApiClient::headersLeftOutWhenEmpty()
{
    Rig rig;
    rig.api->setAppInfo(QString(), QString(), QString());
    rig.server.route("GET", me, FakeReply::empty(204));
    // An expired token with nothing to renew it: sent as it is, without authorisation.
    rig.tokens->setTokens(rig.expiredToken(), QString());
    Outcome out;
    rig.api->get(QStringLiteral("/users/me"), out.callback());
    QTRY_COMPARE(out.calls, 1);
    QCOMPARE(rig.server.requestCount(), 1);
    const RecordedRequest r = rig.server.requests().first();
    QVERIFY(!r.hasHeader("X-App-Id"));
    QVERIFY(!r.hasHeader("X-App-Version"));
    QVERIFY(!r.hasHeader("X-Platform"));
    QVERIFY(!r.hasHeader("Authorization"));
    QVERIFY(r.hasHeader("Content-Type"));
}

void TestApiClient::urlJoining_data()
{
    QTest::addColumn<QString>("basePath");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("target");
    QTest::newRow("realm base") << QStringLiteral("/api/v1/realms/r") << QStringLiteral("/users/me")
                                << QByteArray("/api/v1/realms/r/users/me");
    QTest::newRow("bare host") << QString() << QStringLiteral("/devices") << QByteArray("/devices");
    QTest::newRow("trailing slash doubles")
        << QStringLiteral("/account/v1/") << QStringLiteral("/group")
        << QByteArray("/account/v1//group");
    QTest::newRow("segment with slash and question mark")
        << QStringLiteral("/account/v1")
        << QStringLiteral("/group/join/") + ApiClient::pathSegment(QStringLiteral("a/b?c d"))
        << QByteArray("/account/v1/group/join/a%2Fb%3Fc%20d");
    QTest::newRow("segment with percent")
        << QStringLiteral("/account/v1")
        << QStringLiteral("/devices/") + ApiClient::pathSegment(QStringLiteral("100%41"))
        << QByteArray("/account/v1/devices/100%2541");
}

void TestApiClient::urlJoining()
{
    QFETCH(QString, basePath);
    QFETCH(QString, path);
    QFETCH(QByteArray, target);
    Rig rig;
    rig.api->setBaseUrl(rig.server.url(basePath));
    Outcome out;
    rig.api->getWithoutAuth(path, out.callback());
    QTRY_COMPARE(out.calls, 1);
    QCOMPARE(rig.server.requests().first().target, target);

    QUrlQuery query;
    query.addQueryItem(QStringLiteral("since"), QStringLiteral("2025-01-01T00:00:00+02:00"));
    rig.api->get(path, out.callback(), query);
    QTRY_COMPARE(out.calls, 2);
    const RecordedRequest withQuery = rig.server.requests().last();
    QVERIFY(withQuery.target.startsWith(QByteArray(target + '?')));
    QCOMPARE(withQuery.query.queryItemValue(QStringLiteral("since"), QUrl::FullyDecoded),
             QStringLiteral("2025-01-01T00:00:00+02:00"));
    // A form-decoding server would read a bare "+" as a blank.
    QVERIFY(withQuery.target.contains("%2B02"));
}

void TestApiClient::requestBodies()
{
    Rig rig;
    rig.server.route("*", QStringLiteral("*"), FakeReply::empty(204));
    Outcome out;
    rig.api->post(QStringLiteral("/a"), {}, out.callback());
    rig.api->put(QStringLiteral("/b"), {}, out.callback());
    rig.api->patch(QStringLiteral("/c"), object(R"({"display_name": "Ann Lee", "n": [1, 2]})"),
                   out.callback());
    QTRY_COMPARE(out.calls, 3);
    QCOMPARE(rig.server.requestCount(), 3);
    for (const RecordedRequest &r : rig.server.requests()) {
        if (r.method == "PATCH") {
            QCOMPARE(r.body, QByteArray(R"({"display_name":"Ann Lee","n":[1,2]})"));
        } else {
            QCOMPARE(r.body, QByteArray());
            QCOMPARE(r.header("Content-Length"), QByteArray("0"));
        }
    }
}

void TestApiClient::replies_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QJsonObject>("json");
    QTest::newRow("204 empty") << 204 << QByteArray() << true << QJsonObject();
    // Not the object callers read: taken as an empty answer, a pull would bring nothing and
    // report success.
    const QJsonObject unreadable {{QStringLiteral("message"),
                                   QStringLiteral("The server sent a reply that cannot be read.")}};
    QTest::newRow("200 array") << 200 << QByteArray("[1,2]") << false << unreadable;
    QTest::newRow("200 garbage") << 200 << QByteArray("{not json") << false << unreadable;
    QTest::newRow("200 object") << 200 << QByteArray(R"({"a":1})") << true << object(R"({"a":1})");
    // An event text some writer folded through a character: read whole, not refused.
    QTest::newRow("200 object, a fold through a character")
        << 200 << QByteArray("{\"raw_icalendar\":\"SUMMARY:caf\xC3\\r\\n \xA9\\r\\n \"}") << true
        << object("{\"raw_icalendar\":\"SUMMARY:caf\xC3\xA9\\r\\n \"}");
    QTest::newRow("404 error object")
        << 404 << QByteArray(R"({"error":"gone"})") << false << object(R"({"error":"gone"})");
    QTest::newRow("500 text") << 500 << QByteArray("oops") << false << QJsonObject();
    QTest::newRow("302 no redirect target") << 302 << QByteArray() << false << QJsonObject();
    QTest::newRow("401 without auth")
        << 401 << QByteArray(R"({"error":"no"})") << false << object(R"({"error":"no"})");
}

void TestApiClient::replies()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, ok);
    QFETCH(QJsonObject, json);
    Rig rig;
    rig.tokens->setTokens(rig.expiredToken(), QStringLiteral("R"));
    rig.server.route("GET", me, FakeReply::text(status, body, "application/json"));
    Outcome out;
    rig.api->getWithoutAuth(QStringLiteral("/users/me"), out.callback());
    QTRY_COMPARE(out.calls, 1);
    QCOMPARE(out.ok, ok);
    QCOMPARE(out.status, status);
    QCOMPARE(out.body, json);
    QCOMPARE(rig.renewals().size(), 0); // requests without auth never renew
}

void TestApiClient::transportFailures_data()
{
    QTest::addColumn<bool>("drop");
    QTest::newRow("dropped connection") << true;
    QTest::newRow("no answer within the timeout") << false;
}

void TestApiClient::transportFailures()
{
    QFETCH(bool, drop);
    Rig rig;
    Net::Limits shortSilence;
    shortSilence.silenceMs = 300;
    const Net::LimitsOverride limits(shortSilence);
    rig.server.route("GET", me, drop ? FakeReply::dropped() : FakeReply::empty(200).held());
    QSignalSpy errors(rig.api.get(), &ApiClient::networkError);
    Outcome out;
    rig.api->get(QStringLiteral("/users/me"), out.callback());
    QTRY_COMPARE(out.calls, 1);
    QVERIFY(!out.ok);
    QCOMPARE(out.status, 0);
    QCOMPARE(errors.size(), 1);
    QVERIFY(!errors.first().first().toString().isEmpty());
}

void TestApiClient::nothingSentWithoutAddress()
{
    Rig rig;
    rig.api->setBaseUrl(QUrl());
    Outcome out;
    rig.api->post(QStringLiteral("/auth/token/refresh"), {}, out.callback());
    QCOMPARE(out.calls, 0); // never inside the call
    QTRY_COMPARE(out.calls, 1);
    QCOMPARE(out.status, 0);
    QVERIFY(!out.ok);
    QCOMPARE(rig.server.requestCount(), 0);
}

void TestApiClient::renewalBeforeRequest()
{
    Rig rig;
    rig.tokens->setTokens(rig.expiredToken(), QStringLiteral("R1"));
    const QString fresh = rig.validToken();
    rig.renewalAnswers(fresh, QStringLiteral("R2"));
    rig.server.route("GET", me, FakeReply::json(200, object(R"({"id":"u"})")));
    Outcome out;
    rig.api->get(QStringLiteral("/users/me"), out.callback());
    QTRY_COMPARE(out.calls, 1);
    QVERIFY(out.ok);
    QCOMPARE(out.body, object(R"({"id":"u"})"));

    const QList<RecordedRequest> sent = rig.server.requests();
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.at(0).path, AccountTest::realmPath + QStringLiteral("/auth/token/refresh"));
    QCOMPARE(sent.at(0).body, QByteArray(R"({"refresh_token":"R1"})"));
    QVERIFY(!sent.at(0).hasHeader("Authorization"));
    QCOMPARE(sent.at(1).path, me);
    QCOMPARE(sent.at(1).header("Authorization"), "Bearer " + fresh.toLatin1());
    QCOMPARE(rig.stored(QStringLiteral("larkspindle_refresh_token")),
             std::optional<QString>(QStringLiteral("R2")));
}

void TestApiClient::renewalRefusedBeforeRequest()
{
    Rig rig;
    const QString old = rig.expiredToken();
    rig.tokens->setTokens(old, QStringLiteral("R1"));
    rig.server.route("POST", AccountTest::realmPath + QStringLiteral("/auth/token/refresh"),
                     FakeReply::json(400, object(R"({"error":"invalid_grant"})")));
    QSignalSpy required(rig.api.get(), &ApiClient::authenticationRequired);
    Outcome out;
    rig.api->get(QStringLiteral("/users/me"), out.callback());
    QTRY_COMPARE(out.calls, 1);
    QVERIFY(!out.ok);
    QCOMPARE(out.status, 401);
    QCOMPARE(out.body, QJsonObject());
    QCOMPARE(required.size(), 1);
    QCOMPARE(rig.server.requestsTo("GET", me).size(), 0); // never sent
    // A REST request does not sign out: the tokens stay for the next try.
    QCOMPARE(rig.tokens->refreshToken(), QStringLiteral("R1"));
    QCOMPARE(rig.tokens->storedAccessToken(), old);
}

void TestApiClient::renewalFailsTransiently_data()
{
    QTest::addColumn<FakeReply>("renewal");
    QTest::newRow("server error") << FakeReply::json(503, object(R"({"error":"busy"})"));
    QTest::newRow("dropped") << FakeReply::dropped();
    QTest::newRow("never answers") << FakeReply::empty(200).held();
    QTest::newRow("no access token") << FakeReply::json(200, object(R"({"refresh_token":"R9"})"));
}

void TestApiClient::renewalFailsTransiently()
{
    QFETCH(FakeReply, renewal);
    Rig rig;
    Net::Limits shortSilence;
    shortSilence.silenceMs = 300;
    const Net::LimitsOverride limits(shortSilence);
    rig.tokens->setTokens(rig.expiredToken(), QStringLiteral("R1"));
    rig.server.route("POST", AccountTest::realmPath + QStringLiteral("/auth/token/refresh"),
                     renewal);
    rig.server.route("GET", me, FakeReply::empty(200));
    QSignalSpy required(rig.api.get(), &ApiClient::authenticationRequired);
    Outcome out;
    rig.api->get(QStringLiteral("/users/me"), out.callback());
    QTRY_COMPARE(out.calls, 1);
    QCOMPARE(out.status, 0);
    QVERIFY(!out.ok);
    QCOMPARE(required.size(), 0);
    QCOMPARE(rig.server.requestsTo("GET", me).size(), 0);
    QCOMPARE(rig.tokens->refreshToken(), QStringLiteral("R1"));

    // The renewal is over: the next request tries again instead of waiting forever.
    rig.renewalAnswers(rig.validToken(), QStringLiteral("R2"));
    rig.api->get(QStringLiteral("/users/me"), out.callback());
    QTRY_COMPARE(out.calls, 2);
    QVERIFY(out.ok);
}

void TestApiClient::retryOnceAfter401_data()
{
    QTest::addColumn<QList<int>>("statuses");
    QTest::addColumn<int>("renewalStatus");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("authRequired");
    QTest::newRow("401 then 200") << QList<int> {401, 200} << 200 << true << 200 << 2 << 0;
    QTest::newRow("401 twice") << QList<int> {401, 401} << 200 << false << 401 << 2 << 0;
    QTest::newRow("401, renewal refused") << QList<int> {401} << 401 << false << 401 << 1 << 1;
    QTest::newRow("401, renewal fails") << QList<int> {401} << 502 << false << 0 << 1 << 0;
}

void TestApiClient::retryOnceAfter401()
{
    QFETCH(QList<int>, statuses);
    QFETCH(int, renewalStatus);
    QFETCH(bool, ok);
    QFETCH(int, status);
    QFETCH(int, sent);
    QFETCH(int, authRequired);
    Rig rig;
    const QString first = rig.validToken();
    rig.tokens->setTokens(first, QStringLiteral("R1"));
    const QString second = rig.validToken(QJsonObject {{QStringLiteral("n"), 2}});
    rig.server.route(
        "POST", AccountTest::realmPath + QStringLiteral("/auth/token/refresh"),
        FakeReply::json(renewalStatus,
                        QJsonObject {{QStringLiteral("access_token"), second},
                                     {QStringLiteral("refresh_token"), QStringLiteral("R2")}}));
    int answered = 0;
    rig.server.route("GET", me, [&](const RecordedRequest &) {
        const int s = statuses.value(answered++, 500);
        return FakeReply::json(s, QJsonObject {{QStringLiteral("status"), s}});
    });
    QSignalSpy required(rig.api.get(), &ApiClient::authenticationRequired);
    Outcome out;
    rig.api->get(QStringLiteral("/users/me"), out.callback());
    QTRY_COMPARE(out.calls, 1);
    QTest::qWait(50); // a second callback would come now
    QCOMPARE(out.calls, 1);
    QCOMPARE(out.ok, ok);
    QCOMPARE(out.status, status);
    QCOMPARE(required.size(), authRequired);
    QCOMPARE(rig.renewals().size(), 1);
    const QList<RecordedRequest> gets = rig.server.requestsTo("GET", me);
    QCOMPARE(gets.size(), sent);
    QCOMPARE(gets.first().header("Authorization"), "Bearer " + first.toLatin1());
    if (sent == 2)
        QCOMPARE(gets.at(1).header("Authorization"), "Bearer " + second.toLatin1());
    if (status == 401 && sent == 2)
        QCOMPARE(out.body, QJsonObject({{QStringLiteral("status"), 401}}));
}

void TestApiClient::threeRequestsShareOneRenewal()
{
    Rig rig;
    rig.tokens->setTokens(rig.expiredToken(), QStringLiteral("R1"));
    const QString fresh = rig.validToken();
    rig.server.route(
        "POST", AccountTest::realmPath + QStringLiteral("/auth/token/refresh"),
        FakeReply::json(200,
                        QJsonObject {{QStringLiteral("access_token"), fresh},
                                     {QStringLiteral("refresh_token"), QStringLiteral("R2")}})
            .held());
    rig.server.route("*", AccountTest::realmPath + QStringLiteral("/data/*"),
                     FakeReply::empty(200));
    Outcome a, b, c;
    rig.api->get(QStringLiteral("/data/a"), a.callback());
    rig.api->post(QStringLiteral("/data/b"), {}, b.callback());
    rig.api->deleteResource(QStringLiteral("/data/c"), c.callback());
    QTRY_COMPARE(rig.server.heldCount(), 1);
    QTest::qWait(50);
    QCOMPARE(rig.server.requestCount(), 1);
    QCOMPARE(rig.server.releaseHeld(), 1);
    QTRY_VERIFY(a.calls == 1 && b.calls == 1 && c.calls == 1);
    QVERIFY(a.ok && b.ok && c.ok);
    QCOMPARE(rig.renewals().size(), 1);
    QCOMPARE(rig.server.requestCount(), 4);
    for (const RecordedRequest &r : rig.server.requests().mid(1))
        QCOMPARE(r.header("Authorization"), "Bearer " + fresh.toLatin1());
}

QTEST_GUILESS_MAIN(TestApiClient)
#include "tst_ApiClient.moc"
