#include "model/Clock.h"
#include "services/net/RequestPolicy.h"
#include "services/sync/google/AuthService.h"
#include "services/sync/microsoft/AuthService.h"
#include "support/FakeBrowser.h"
#include "support/FakeHttpServer.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using LarkTest::FakeBrowser;
using LarkTest::FakeReply;

Q_DECLARE_METATYPE(LarkTest::FakeReply)

namespace {

const QByteArray kFailurePage = "HTTP/1.1 400 Bad Request\r\n";
const QByteArray kSuccessPage = "HTTP/1.1 200 OK\r\n";
const QByteArray kNotFound = "HTTP/1.1 404 Not Found\r\n";

QByteArray base64Url(const QByteArray &bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

QString idToken(const QJsonObject &claims)
{
    return QString::fromLatin1(base64Url("{\"alg\":\"none\"}") + '.'
                               + base64Url(QJsonDocument(claims).toJson()) + ".sig");
}

QJsonObject obj(const char *json)
{
    return QJsonDocument::fromJson(json).object();
}

bool isUrlSafe(const QString &text, int length)
{
    static const QRegularExpression alphabet(QStringLiteral("^[A-Za-z0-9_-]*$"));
    return text.size() == length && alphabet.match(text).hasMatch();
}

QStringList items(const QList<QPair<QString, QString>> &pairs)
{
    QStringList out;
    for (const auto &p : pairs)
        out << p.first + u'=' + p.second;
    return out;
}

// A sign-in service of one provider over a fake token endpoint, with a fake browser and clock.
struct Rig
{
    explicit Rig(const QString &provider)
    {
        ok = server.listen();
        const auto set = [](const char *name, const QString &value) {
            qputenv(name, value.toUtf8());
        };
        set("GOOGLE_AUTH_URL", server.url(QStringLiteral("/o/oauth2/v2/auth")).toString());
        set("GOOGLE_TOKEN_URL", server.url(QStringLiteral("/token")).toString());
        set("MICROSOFT_AUTHORITY_URL", server.url().toString());
        set("GOOGLE_CLIENT_ID", QStringLiteral("g-client.apps"));
        set("GOOGLE_CLIENT_SECRET", QStringLiteral("g-secret+/="));
        set("MICROSOFT_CLIENT_ID", QStringLiteral("ms-client"));
        google = provider == QLatin1String("google");
        tokenPath = google ? QStringLiteral("/token") : QStringLiteral("/common/oauth2/v2.0/token");
        if (google)
            service = std::make_unique<Google::AuthService>();
        else
            service = std::make_unique<Microsoft::AuthService>();
        service->setIdleTimeout(1000);
    }

    static Net::Limits limits()
    {
        Net::Limits shorter;
        shorter.silenceMs = 1000;
        return shorter;
    }

    // Answers token requests with tokenReply, starts the sign-in and returns the state it sent.
    QByteArray start(const FakeReply &tokenReply)
    {
        server.route("POST", tokenPath, tokenReply);
        succeeded = std::make_unique<QSignalSpy>(service.get(),
                                                 &OAuth::LoopbackAuthService::signInSucceeded);
        failed = std::make_unique<QSignalSpy>(service.get(),
                                              &OAuth::LoopbackAuthService::signInFailed);
        service->startSignIn();
        return browser.lastQuery().queryItemValue(QStringLiteral("state")).toLatin1();
    }

    QList<LarkTest::RecordedRequest> tokenRequests() const
    {
        return server.requestsTo("POST", tokenPath);
    }

    const Net::LimitsOverride scopedLimits {limits()};
    LarkTest::FakeHttpServer server;
    FakeBrowser browser;
    LarkTest::TestClock clock {QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC)};
    Clock::Override pinned {[this] {
        return clock.now();
    }};
    bool ok = false;
    bool google = true;
    QString tokenPath;
    std::unique_ptr<OAuth::LoopbackAuthService> service;
    std::unique_ptr<QSignalSpy> succeeded;
    std::unique_ptr<QSignalSpy> failed;
};

const char *const kMicrosoftScope = "scope=openid profile email offline_access User.Read "
                                    "Calendars.ReadWrite Calendars.ReadWrite.Shared";

const QByteArray kCode = "4/0Ab+c/d=e"; // "+", "/" and "=" must survive both encodings
const QByteArray kCodeInRedirect = QUrl::toPercentEncoding(QString::fromLatin1(kCode));

} // namespace

class TestLoopbackAuthService : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void signIn_data();
    void signIn();
    void failures_data();
    void failures();
    void otherRequestsKeepWaiting();
    void cancelEndsOnce();
    void refresh_data();
    void refresh();
    void notConfigured_data();
    void notConfigured();
};

void TestLoopbackAuthService::cleanup()
{
    for (const char *name : {"GOOGLE_CLIENT_ID", "GOOGLE_CLIENT_SECRET", "MICROSOFT_CLIENT_ID"})
        qunsetenv(name);
}

void TestLoopbackAuthService::signIn_data()
{
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("pagePath");
    QTest::addColumn<QStringList>("pageItems");
    QTest::addColumn<QStringList>("form");
    QTest::addColumn<QJsonObject>("claims");
    QTest::addColumn<QString>("email");

    QTest::newRow("google")
        << "google"
        << "/o/oauth2/v2/auth"
        << LarkTest::strings({"client_id=g-client.apps", "redirect_uri={redirect}",
                              "response_type=code",
                              "scope=openid email profile "
                              "https://www.googleapis.com/auth/calendar.events "
                              "https://www.googleapis.com/auth/calendar",
                              "code_challenge={challenge}", "code_challenge_method=S256",
                              "state={state}", "access_type=offline", "prompt=consent"})
        << LarkTest::strings({"client_id=g-client.apps", "client_secret=g-secret+/=", "code={code}",
                              "code_verifier={verifier}", "redirect_uri={redirect}",
                              "grant_type=authorization_code"})
        << obj(R"({"email":"ada@example.com","name":"Ada L"})") << "ada@example.com";
    QTest::newRow("microsoft, preferred_username")
        << "microsoft"
        << "/common/oauth2/v2.0/authorize"
        << LarkTest::strings({"client_id=ms-client", "response_type=code",
                              "redirect_uri={redirect}", kMicrosoftScope,
                              "code_challenge={challenge}", "code_challenge_method=S256",
                              "state={state}", "response_mode=query", "prompt=select_account"})
        << LarkTest::strings({"client_id=ms-client", kMicrosoftScope, "code={code}",
                              "redirect_uri={redirect}", "grant_type=authorization_code",
                              "code_verifier={verifier}"})
        << obj(R"({"email":"","preferred_username":"ada@contoso.test","name":"Ada L"})")
        << "ada@contoso.test";
}

void TestLoopbackAuthService::signIn()
{
    QFETCH(QString, provider);
    QFETCH(QString, pagePath);
    QFETCH(QStringList, pageItems);
    QFETCH(QStringList, form);
    QFETCH(QJsonObject, claims);
    QFETCH(QString, email);

    Rig rig(provider);
    QVERIFY(rig.ok);
    QJsonObject tokens
        = obj(R"({"access_token":"at-1","refresh_token":"1//rt+/=","expires_in":3599})");
    tokens.insert(QStringLiteral("id_token"), idToken(claims));
    const QString state = QString::fromLatin1(rig.start(FakeReply::json(200, tokens)));

    QCOMPARE(rig.browser.opened.size(), 1);
    QCOMPARE(rig.browser.opened.first().path(), pagePath);
    const QUrlQuery query = rig.browser.lastQuery();
    const QString challenge = query.queryItemValue(QStringLiteral("code_challenge"));
    const QString redirect = QStringLiteral("http://127.0.0.1:%1").arg(rig.browser.redirectPort());
    QVERIFY(isUrlSafe(state, 22));
    QVERIFY(isUrlSafe(challenge, 43));
    pageItems.replaceInStrings(QStringLiteral("{redirect}"), redirect);
    pageItems.replaceInStrings(QStringLiteral("{challenge}"), challenge);
    pageItems.replaceInStrings(QStringLiteral("{state}"), state);
    QCOMPARE(items(query.queryItems(QUrl::FullyDecoded)), pageItems);

    const QByteArray answer = rig.browser.get("/?state=" + state.toLatin1()
                                              + "&code=" + kCodeInRedirect + "&scope=email");
    QCOMPARE(answer, OAuth::LoopbackAuthService::successPage());
    QTRY_COMPARE(rig.succeeded->count(), 1);
    QCOMPARE(rig.failed->count(), 0);

    const QList<LarkTest::RecordedRequest> posts = rig.tokenRequests();
    QCOMPARE(posts.size(), 1);
    QCOMPARE(posts.first().header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    const QString verifier = posts.first().formValue(QStringLiteral("code_verifier"));
    QVERIFY(isUrlSafe(verifier, 86));
    QCOMPARE(challenge.toLatin1(),
             base64Url(QCryptographicHash::hash(verifier.toUtf8(), QCryptographicHash::Sha256)));
    form.replaceInStrings(QStringLiteral("{redirect}"), redirect);
    form.replaceInStrings(QStringLiteral("{verifier}"), verifier);
    form.replaceInStrings(QStringLiteral("{code}"), QString::fromLatin1(kCode));
    QCOMPARE(items(posts.first().formItems()), form);

    const auto result = rig.succeeded->first().first().value<OAuth::SignInResult>();
    QCOMPARE(result.email, email);
    QCOMPARE(result.name, QStringLiteral("Ada L"));
    QCOMPARE(result.accessToken, QStringLiteral("at-1"));
    QCOMPARE(result.refreshToken, QStringLiteral("1//rt+/="));
    QCOMPARE(result.idToken, idToken(claims));
    QCOMPARE(result.expiresAt, rig.clock.now().addSecs(3599));
}

void TestLoopbackAuthService::failures_data()
{
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QByteArray>("redirect"); // "{state}" stands for the real one
    QTest::addColumn<FakeReply>("tokenReply");
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("reason");

    const QByteArray withCode = "/?state={state}&code=abc";
    const FakeReply ok = FakeReply::json(200, obj(R"({"access_token":"a","refresh_token":"r"})"));
    const auto row = [&](const char *name, const char *provider, const QByteArray &redirect,
                         const FakeReply &reply, const QByteArray &page, const QString &reason) {
        QTest::newRow(name) << QString::fromLatin1(provider) << redirect << reply << page << reason;
    };
    row("denied", "google", "/?error=access_denied&state={state}", ok, kFailurePage,
        QStringLiteral("Google denied the sign-in: access_denied"));
    row("denied with a code", "google", "/?error=access_denied&code=abc&state={state}", ok,
        kFailurePage, QStringLiteral("Google denied the sign-in: access_denied"));
    row("denied, described", "microsoft",
        "/?error=access_denied&error_description=The%20user%20declined.&state={state}", ok,
        kFailurePage, QStringLiteral("Microsoft denied the sign-in: The user declined."));
    row("denied, undescribed", "microsoft", "/?error=consent_required&state={state}", ok,
        kFailurePage, QStringLiteral("Microsoft denied the sign-in: consent_required"));
    row("no code", "google", "/?state={state}", ok, kFailurePage,
        QStringLiteral("Google did not return an authorization code."));
    row("token 400", "google", withCode, FakeReply::json(400, obj(R"({"error":"invalid_grant"})")),
        kSuccessPage,
        QStringLiteral("Token exchange failed (HTTP 400): {\"error\":\"invalid_grant\"}"));
    row("token transport failure", "microsoft", withCode, FakeReply::dropped(), kSuccessPage,
        QStringLiteral("no answer from the server"));
    row("token timeout", "google", withCode, FakeReply::empty(200).held(), kSuccessPage,
        QStringLiteral("The server stopped answering."));
    row("token reply too large", "google", withCode,
        FakeReply::json(200, QJsonObject {{QStringLiteral("access_token"), QString(70000, u'a')}}),
        kSuccessPage, QStringLiteral("The server's reply is too large"));
    row("no refresh token", "google", withCode,
        FakeReply::json(200, obj(R"({"access_token":"a"})")), kSuccessPage,
        QStringLiteral("Google did not return a refresh token. Try removing the app from your "
                       "Google Account permissions and signing in again."));
    row("no access token", "microsoft", withCode,
        FakeReply::json(200, obj(R"({"refresh_token":"r"})")), kSuccessPage,
        QStringLiteral("Microsoft did not return an access token."));
}

void TestLoopbackAuthService::failures()
{
    QFETCH(QString, provider);
    QFETCH(QByteArray, redirect);
    QFETCH(FakeReply, tokenReply);
    QFETCH(QByteArray, page);
    QFETCH(QString, reason);

    Rig rig(provider);
    QVERIFY(rig.ok);
    const QByteArray state = rig.start(tokenReply);

    QVERIFY(rig.browser.get(redirect.replace("{state}", state)).startsWith(page));
    QTRY_COMPARE(rig.failed->count(), 1);
    QCOMPARE(rig.failed->first().first().toString(), reason);
    QTest::qWait(50);
    QCOMPARE(rig.failed->count(), 1);
    QCOMPARE(rig.succeeded->count(), 0);
    QCOMPARE(rig.tokenRequests().isEmpty(), page != kSuccessPage);
    // The listener is gone with the sign-in.
    QCOMPARE(FakeBrowser::send(rig.browser.redirectPort(), {}), QByteArray("<not connected>"));
}

void TestLoopbackAuthService::otherRequestsKeepWaiting()
{
    Rig rig(QStringLiteral("google"));
    QVERIFY(rig.ok);
    const QByteArray state
        = rig.start(FakeReply::json(200, obj(R"({"access_token":"a","refresh_token":"r"})")));
    const quint16 port = rig.browser.redirectPort();

    QVERIFY(rig.browser.get("/favicon.ico").startsWith(kNotFound));
    QVERIFY(rig.browser.get("/callback?state=" + state + "&code=abc").startsWith(kNotFound));
    QVERIFY(FakeBrowser::send(port, {"POST /?state=" + state + "&code=abc HTTP/1.1\r\n\r\n"})
                .startsWith(kNotFound));
    QVERIFY(FakeBrowser::send(port, {"NONSENSE\r\n\r\n"}).startsWith(kFailurePage));
    QVERIFY(FakeBrowser::send(port, {QByteArray(9000, 'x')}).startsWith(kFailurePage));
    // Only the browser knows the state: any other local process cannot end the sign-in.
    QVERIFY(rig.browser.get("/?code=abc").startsWith(kFailurePage));
    QVERIFY(rig.browser.get("/?state=x" + state + "&code=abc").startsWith(kFailurePage));
    QVERIFY(rig.browser.get("/?state=x&error=access_denied").startsWith(kFailurePage));
    // A connection that never sends its request line is closed, not kept.
    QTcpSocket idle;
    idle.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(idle.waitForConnected(3000));
    QTRY_COMPARE(idle.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(rig.failed->count() + rig.succeeded->count(), 0);

    // The real redirect, split across reads, still ends the sign-in.
    QVERIFY(FakeBrowser::send(port,
                              {"GET /?state=" + state.left(5), state.mid(5) + "&code=abc",
                               " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"})
                .startsWith(kSuccessPage));
    QTRY_COMPARE(rig.succeeded->count(), 1);
    QCOMPARE(rig.failed->count(), 0);
}

void TestLoopbackAuthService::cancelEndsOnce()
{
    Rig rig(QStringLiteral("google"));
    QVERIFY(rig.ok);
    const QByteArray state
        = rig.start(FakeReply::json(200, obj(R"({"access_token":"a","refresh_token":"r"})")));

    // A browser that connected before the cancel sends its redirect after it.
    QTcpSocket late;
    late.connectToHost(QHostAddress::LocalHost, rig.browser.redirectPort());
    QVERIFY(late.waitForConnected(3000));
    QTest::qWait(100);
    rig.service->cancel();
    QCOMPARE(rig.failed->count(), 1);
    QCOMPARE(rig.failed->first().first().toString(), QStringLiteral("Sign-in cancelled."));
    late.write("GET /?state=" + state + "&code=abc HTTP/1.1\r\n\r\n");
    QTRY_COMPARE(late.state(), QAbstractSocket::UnconnectedState);
    QVERIFY(late.readAll().startsWith(kFailurePage));

    rig.service->cancel();
    QTest::qWait(50);
    QCOMPARE(rig.failed->count(), 1);
    QCOMPARE(rig.succeeded->count(), 0);
    QCOMPARE(rig.tokenRequests().size(), 0);
}

void TestLoopbackAuthService::refresh_data()
{
    QTest::addColumn<QString>("provider");
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<QStringList>("form");
    QTest::addColumn<QString>("rotated");
    QTest::addColumn<int>("expiresIn");
    QTest::addColumn<QString>("failure");

    const QStringList googleForm = LarkTest::strings(
        {"client_id=g-client.apps",
         "client_secret=g-secret+/=", "refresh_token=1//rt+/=", "grant_type=refresh_token"});
    const QStringList microsoftForm
        = LarkTest::strings({"client_id=ms-client", kMicrosoftScope,
                             "refresh_token=1//rt+/=", "grant_type=refresh_token"});
    QTest::newRow("google, kept") << "google"
                                  << FakeReply::json(
                                         200, obj(R"({"access_token":"at-2","expires_in":120})"))
                                  << googleForm << "" << 120 << "";
    QTest::newRow("microsoft, rotated, expiry as text")
        << "microsoft"
        << FakeReply::json(
               200, obj(R"({"access_token":"at-2","refresh_token":"rt-2","expires_in":"120"})"))
        << microsoftForm << "rt-2" << 3600 << "";
    QTest::newRow("rejected") << "google"
                              << FakeReply::json(400, obj(R"({"error":"invalid_grant"})"))
                              << googleForm << "" << 0
                              << "Token refresh failed (HTTP 400): {\"error\":\"invalid_grant\"}";
    QTest::newRow("no access token")
        << "microsoft" << FakeReply::json(200, QJsonObject {}) << microsoftForm << "" << 0
        << "Microsoft's response had no access_token.";
}

void TestLoopbackAuthService::refresh()
{
    QFETCH(QString, provider);
    QFETCH(FakeReply, reply);
    QFETCH(QStringList, form);
    QFETCH(QString, rotated);
    QFETCH(int, expiresIn);
    QFETCH(QString, failure);

    Rig rig(provider);
    QVERIFY(rig.ok);
    rig.server.route("POST", rig.tokenPath, reply);
    QSignalSpy succeeded(rig.service.get(), &OAuth::LoopbackAuthService::refreshSucceeded);
    QSignalSpy failed(rig.service.get(), &OAuth::LoopbackAuthService::refreshFailed);
    rig.service->refreshAccessToken(QStringLiteral("1//rt+/="));
    QTRY_COMPARE(succeeded.count() + failed.count(), 1);

    QCOMPARE(items(rig.tokenRequests().value(0).formItems()), form);
    const QList<QVariant> outcome = failure.isEmpty() ? succeeded.value(0) : failed.value(0);
    const QList<QVariant> expected = failure.isEmpty()
        ? QList<QVariant> {QStringLiteral("at-2"), rig.clock.now().addSecs(expiresIn), rotated}
        : QList<QVariant> {failure};
    QCOMPARE(outcome, expected);
    QVERIFY(rig.browser.opened.isEmpty());
}

void TestLoopbackAuthService::notConfigured_data()
{
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("refreshReason");

    QTest::newRow("google without a secret")
        << "google"
        << "Google OAuth credentials are not configured in this build. See .env.example."
        << "Google OAuth credentials are not configured.";
    QTest::newRow("microsoft without a client id")
        << "microsoft"
        << "Microsoft OAuth credentials are not configured in this build. See .env.example."
        << "Microsoft OAuth credentials are not configured.";
}

void TestLoopbackAuthService::notConfigured()
{
    QFETCH(QString, provider);
    QFETCH(QString, reason);
    QFETCH(QString, refreshReason);

    Rig rig(provider);
    QVERIFY(rig.ok);
    qunsetenv(rig.google ? "GOOGLE_CLIENT_SECRET" : "MICROSOFT_CLIENT_ID");
    QCOMPARE(hasBuiltInGoogleCredentials(), !rig.google);
    QCOMPARE(hasBuiltInMicrosoftClientId(), rig.google);

    QSignalSpy failed(rig.service.get(), &OAuth::LoopbackAuthService::signInFailed);
    QSignalSpy refreshFailed(rig.service.get(), &OAuth::LoopbackAuthService::refreshFailed);
    rig.service->startSignIn();
    rig.service->refreshAccessToken(QStringLiteral("r"));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toString(), reason);
    QCOMPARE(refreshFailed.count(), 1);
    QCOMPARE(refreshFailed.first().first().toString(), refreshReason);
    QVERIFY(!rig.service->findChild<QTcpServer *>());
    QVERIFY(rig.browser.opened.isEmpty());
    QCOMPARE(rig.server.requestCount(), 0);
}

QTEST_GUILESS_MAIN(TestLoopbackAuthService)
#include "tst_LoopbackAuthService.moc"
