#include "AccountTestKit.h"
#include "support/FakeBrowser.h"

#include "services/account/WebAuthHandler.h"

#include <QDesktopServices>
#include <QHostAddress>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace LarkAccount;
using AccountTest::Rig;
using LarkTest::FakeReply;
using LarkTest::RecordedRequest;

namespace {

const QString refreshPath = AccountTest::realmPath + QStringLiteral("/auth/token/refresh");

// Stands in for the system browser: keeps every address the program asks it to open.
class Browser : public QObject
{
    Q_OBJECT
public:
    Browser() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.append(url); }
};

QByteArray get(quint16 port, const QByteArray &target)
{
    return LarkTest::FakeBrowser::send(port,
                                       {"GET " + target + " HTTP/1.1\r\nHost: localhost\r\n\r\n"});
}

const QByteArray notFound = "HTTP/1.1 404 Not Found\r\n";

const QByteArray completionPage
    = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n"
      "<html><body style='font-family: sans-serif; text-align: center; padding: 40px;'>"
      "<h2>Authentication complete!</h2><p>You can close this tab and return to the "
      "application.</p></body></html>";

struct Login
{
    quint16 port = 0;
    QString state;
    QUrl page;
};

// Starts a browser sign-in and reads the port and state from the page the browser was sent to.
Login startLogin(Rig &rig, Browser &browser)
{
    rig.auth->loginWithBrowser();
    Login login;
    if (browser.opened.isEmpty())
        return login;
    login.page = browser.opened.last();
    const QUrlQuery q(login.page);
    const QUrl redirect(q.queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
    login.port = quint16(redirect.port());
    login.state = q.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded);
    return login;
}

} // namespace

class TestAuthClient : public QObject
{
    Q_OBJECT

private slots:
    void startupStates_data();
    void startupStates();
    void lockedKeyringIsReportedNotSignedOut();
    void browserSignIn();
    void listenerRefusesForeignRequests_data();
    void listenerRefusesForeignRequests();
    void redirectWithoutTokens();
    void tokensFromFragmentOrQuery_data();
    void tokensFromFragmentOrQuery();
    void idleConnectionsAreClosed_data();
    void idleConnectionsAreClosed();
    void newSignInEndsTheEarlierListener();
    void prefersPort19876();
    void fallsBackWhenPortTaken();
    void noSignInServiceConfigured();
    void logout_data();
    void logout();
    void renewalEndingAfterLogoutStoresNothing();
    void refreshTokenRejectedSignsOut();
    void userRequests();
};

void TestAuthClient::startupStates_data()
{
    QTest::addColumn<bool>("usableAccess");
    QTest::addColumn<QString>("refresh");
    QTest::addColumn<FakeReply>("renewal");
    QTest::addColumn<AuthState>("final");
    QTest::addColumn<bool>("tokensKept");
    QTest::addColumn<bool>("renews");
    const auto fresh = FakeReply::json(
        200,
        QJsonObject {{QStringLiteral("access_token"), AccountTest::jwtExpiring(1893456000)},
                     {QStringLiteral("refresh_token"), QStringLiteral("R2")}});
    QTest::newRow("usable token") << true << QStringLiteral("R") << fresh
                                  << AuthState::Authenticated << true << false;
    QTest::newRow("refresh token, online")
        << false << QStringLiteral("R") << fresh << AuthState::Authenticated << true << true;
    QTest::newRow("refresh token, offline") << false << QStringLiteral("R") << FakeReply::dropped()
                                            << AuthState::Authenticated << true << true;
    QTest::newRow("refresh token, server error")
        << false << QStringLiteral("R") << FakeReply::empty(500) << AuthState::Authenticated << true
        << true;
    QTest::newRow("refresh token refused") << false << QStringLiteral("R") << FakeReply::empty(401)
                                           << AuthState::Unauthenticated << false << true;
    QTest::newRow("nothing stored")
        << false << QString() << fresh << AuthState::Unauthenticated << false << false;
}

void TestAuthClient::startupStates()
{
    QFETCH(bool, usableAccess);
    QFETCH(QString, refresh);
    QFETCH(FakeReply, renewal);
    QFETCH(AuthState, final);
    QFETCH(bool, tokensKept);
    QFETCH(bool, renews);
    Rig rig;
    rig.server.route("POST", refreshPath, renewal);
    // Stored by an earlier run of the program.
    {
        TokenManager earlier(createTokenStore(AccountTest::serviceName));
        if (usableAccess || !refresh.isEmpty())
            earlier.setTokens(usableAccess ? rig.validToken() : rig.expiredToken(), refresh);
    }
    QSignalSpy changes(rig.auth.get(), &AuthClient::stateChanged);
    rig.auth->initialize();
    if (renews) {
        QCOMPARE(rig.auth->state(), AuthState::Uninitialized);
        QCOMPARE(changes.size(), 0);
    }
    QTRY_COMPARE(rig.auth->state(), final);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.first().first().value<AuthState>(), final);
    QCOMPARE(rig.auth->isAuthenticated(), final == AuthState::Authenticated);
    // (the network layer may resend a renewal whose connection dropped)
    QCOMPARE(!rig.renewals().isEmpty(), renews);
    QCOMPARE(rig.tokens->refreshToken().isEmpty(), !tokensKept);
    QCOMPARE(rig.stored(QStringLiteral("larkspindle_refresh_token")).has_value(), tokensKept);
}

void TestAuthClient::lockedKeyringIsReportedNotSignedOut()
{
    Rig rig;
    {
        TokenManager earlier(createTokenStore(AccountTest::serviceName));
        QVERIFY(earlier.setTokens(rig.validToken(), QStringLiteral("R")));
    }
    rig.secrets.credentials().readFailure = TokenStoreFailure::KeyringLocked;
    QSignalSpy failures(rig.auth.get(), &AuthClient::loginFailed);
    rig.auth->initialize();
    QCOMPARE(rig.auth->state(), AuthState::Unauthenticated);
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.first().first().toString(),
             tokenStoreFailureText(TokenStoreFailure::KeyringLocked));
    // The tokens behind the lock are not touched.
    rig.secrets.credentials().readFailure = TokenStoreFailure::None;
    QVERIFY(rig.stored(QStringLiteral("larkspindle_refresh_token")).has_value());
}

void TestAuthClient::browserSignIn()
{
    Rig rig;
    Browser browser;
    QSignalSpy succeeded(rig.auth.get(), &AuthClient::loginSucceeded);
    QSignalSpy changes(rig.auth.get(), &AuthClient::stateChanged);
    const Login login = startLogin(rig, browser);
    QCOMPARE(browser.opened.size(), 1);
    QCOMPARE(rig.auth->state(), AuthState::Uninitialized);

    // 128 random bits, base64url without padding.
    QVERIFY(
        QRegularExpression(QStringLiteral("^[A-Za-z0-9_-]{22,}$")).match(login.state).hasMatch());
    QCOMPARE(login.page.toString(QUrl::FullyEncoded),
             rig.server.url().toString()
                 + QStringLiteral("/lark/account/login?client_id=client-1&redirect_uri="
                                  "http%3A%2F%2Flocalhost%3A")
                 + QString::number(login.port) + QStringLiteral("%2Fcallback&state=")
                 + login.state);

    // The request line arrives in pieces; the listener waits for all of it.
    const QByteArray target
        = "/callback?state=" + login.state.toLatin1() + "&access_token=A.b.c&refresh_token=R%2B1";
    const QByteArray answer = LarkTest::FakeBrowser::send(
        login.port, {"GET /call", target.mid(5) + " HTT", "P/1.1\r\nHost: x\r\n\r\n"});
    QCOMPARE(answer, completionPage);
    QCOMPARE(succeeded.size(), 1);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(rig.auth->state(), AuthState::Authenticated);
    QCOMPARE(rig.tokens->storedAccessToken(), QStringLiteral("A.b.c"));
    QCOMPARE(rig.stored(QStringLiteral("larkspindle_refresh_token")),
             std::optional<QString>(QStringLiteral("R+1")));

    // Only one request is ever served.
    QTRY_VERIFY(rig.auth->findChildren<WebAuthHandler *>().isEmpty());
    QTcpSocket late;
    late.connectToHost(QHostAddress::LocalHost, login.port);
    QVERIFY(!late.waitForConnected(500));
}

void TestAuthClient::listenerRefusesForeignRequests_data()
{
    QTest::addColumn<QByteArray>("request"); // %STATE% is replaced by the real state
    QTest::newRow("favicon") << QByteArray("GET /favicon.ico HTTP/1.1\r\n\r\n");
    QTest::newRow("other path") << QByteArray(
        "GET /steal?state=%STATE%&access_token=X&refresh_token=Y HTTP/1.1\r\n\r\n");
    QTest::newRow("no state") << QByteArray(
        "GET /callback?access_token=X&refresh_token=Y HTTP/1.1\r\n\r\n");
    QTest::newRow("wrong state") << QByteArray(
        "GET /callback?state=AAAAAAAAAAAAAAAAAAAAAA&access_token=X&refresh_token=Y "
        "HTTP/1.1\r\n\r\n");
    QTest::newRow("state prefix") << QByteArray(
        "GET /callback?state=%STATE%x&access_token=X&refresh_token=Y HTTP/1.1\r\n\r\n");
    QTest::newRow("post") << QByteArray(
        "POST /callback?state=%STATE%&access_token=X&refresh_token=Y HTTP/1.1\r\n\r\n");
    QTest::newRow("garbage") << QByteArray("\x01\x02 \r\n\r\n");
    QTest::newRow("absolute target")
        << QByteArray("GET http://evil/callback?state=%STATE% HTTP/1.1\r\n\r\n");
    QTest::newRow("endless line") << QByteArray(WebAuthHandler::maxRequestLine + 10, 'G');
}

void TestAuthClient::listenerRefusesForeignRequests()
{
    QFETCH(QByteArray, request);
    Rig rig;
    Browser browser;
    QSignalSpy failed(rig.auth.get(), &AuthClient::loginFailed);
    const Login login = startLogin(rig, browser);
    QVERIFY(login.port != 0);
    request.replace("%STATE%", login.state.toLatin1());
    QVERIFY(LarkTest::FakeBrowser::send(login.port, {request}).startsWith(notFound));
    QCOMPARE(rig.auth->state(), AuthState::Uninitialized);
    QCOMPARE(failed.size(), 0);
    QVERIFY(rig.tokens->storedAccessToken().isEmpty());

    // Still waiting for the real redirect.
    QCOMPARE(get(login.port,
                 "/callback?state=" + login.state.toLatin1() + "&access_token=A&refresh_token=R"),
             completionPage);
    QCOMPARE(rig.auth->state(), AuthState::Authenticated);
    QCOMPARE(rig.tokens->storedAccessToken(), QStringLiteral("A"));
}

void TestAuthClient::redirectWithoutTokens()
{
    Rig rig;
    Browser browser;
    QSignalSpy failed(rig.auth.get(), &AuthClient::loginFailed);
    const Login login = startLogin(rig, browser);
    QCOMPARE(get(login.port, "/callback?state=" + login.state.toLatin1() + "&error=denied"),
             completionPage);
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), QStringLiteral("No tokens received"));
    QCOMPARE(rig.auth->state(), AuthState::Uninitialized);
}

void TestAuthClient::tokensFromFragmentOrQuery_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("access");
    QTest::addColumn<QString>("refresh");
    QTest::newRow("fragment") << QStringLiteral(
        "http://localhost:1/callback#access_token=A&refresh_token=R")
                              << QStringLiteral("A") << QStringLiteral("R");
    QTest::newRow("query") << QStringLiteral(
        "http://localhost:1/callback?access_token=A&refresh_token=R")
                           << QStringLiteral("A") << QStringLiteral("R");
    QTest::newRow("fragment wins") << QStringLiteral(
        "http://localhost:1/callback?access_token=Q&refresh_token=Q#access_token=F&refresh_token=G")
                                   << QStringLiteral("F") << QStringLiteral("G");
    QTest::newRow("fragment access only") << QStringLiteral(
        "http://localhost:1/callback?access_token=A&refresh_token=R#access_token=F")
                                          << QString() << QString();
    QTest::newRow("fragment refresh only: query replaces both")
        << QStringLiteral("http://localhost:1/callback?access_token=A#refresh_token=G") << QString()
        << QString();
    QTest::newRow("nothing") << QStringLiteral("http://localhost:1/callback") << QString()
                             << QString();
}

void TestAuthClient::tokensFromFragmentOrQuery()
{
    QFETCH(QString, url);
    QFETCH(QString, access);
    QFETCH(QString, refresh);
    Rig rig;
    QSignalSpy succeeded(rig.auth.get(), &AuthClient::loginSucceeded);
    QSignalSpy failed(rig.auth.get(), &AuthClient::loginFailed);
    rig.auth->handleAuthCallback(QUrl(url));
    QCOMPARE(succeeded.size(), access.isEmpty() ? 0 : 1);
    QCOMPARE(failed.size(), access.isEmpty() ? 1 : 0);
    QCOMPARE(rig.tokens->storedAccessToken(), access);
    QCOMPARE(rig.tokens->refreshToken(), refresh);
    QCOMPARE(rig.auth->isAuthenticated(), !access.isEmpty());
}

void TestAuthClient::idleConnectionsAreClosed_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("part of a request line") << QByteArray("GET /callback?state=");
}

void TestAuthClient::idleConnectionsAreClosed()
{
    QFETCH(QByteArray, sent);
    Rig rig;
    Browser browser;
    const Login login = startLogin(rig, browser);
    QVERIFY(login.port != 0);
    const QList<WebAuthHandler *> handlers = rig.auth->findChildren<WebAuthHandler *>();
    QCOMPARE(handlers.size(), 1);
    handlers.first()->setIdleTimeout(200);

    QTcpSocket idle;
    idle.connectToHost(QHostAddress::LocalHost, login.port);
    QVERIFY(idle.waitForConnected(3000));
    idle.write(sent);
    QTRY_COMPARE_WITH_TIMEOUT(idle.state(), QAbstractSocket::UnconnectedState, 3000);

    // The sign-in itself still goes through.
    QCOMPARE(get(login.port,
                 "/callback?state=" + login.state.toLatin1() + "&access_token=A&refresh_token=R"),
             completionPage);
    QVERIFY(rig.auth->isAuthenticated());
}

void TestAuthClient::newSignInEndsTheEarlierListener()
{
    Rig rig;
    Browser browser;
    const Login earlier = startLogin(rig, browser);
    const Login later = startLogin(rig, browser);
    QVERIFY(earlier.port != 0 && later.port != 0);
    QTRY_COMPARE(rig.auth->findChildren<WebAuthHandler *>().size(), 1);
    // Only the new listener answers, whether or not it took the earlier one's port, and the
    // earlier sign-in's redirect is no longer taken.
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, earlier.port);
    QCOMPARE(probe.waitForConnected(500), earlier.port == later.port);
    probe.abort();
    QVERIFY(get(later.port,
                "/callback?state=" + earlier.state.toLatin1() + "&access_token=X&refresh_token=Y")
                .startsWith(notFound));
    QCOMPARE(get(later.port,
                 "/callback?state=" + later.state.toLatin1() + "&access_token=A&refresh_token=R"),
             completionPage);
    QCOMPARE(rig.tokens->storedAccessToken(), QStringLiteral("A"));
}

void TestAuthClient::prefersPort19876()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, WebAuthHandler::preferredPort))
        QSKIP("port 19876 is held by another program");
    probe.close();
    WebAuthHandler handler;
    QCOMPARE(handler.start(), QStringLiteral("http://localhost:19876/callback"));
    QCOMPARE(handler.start(), QStringLiteral("http://localhost:19876/callback"));
}

void TestAuthClient::fallsBackWhenPortTaken()
{
    // An earlier sign-in whose browser never came back still holds the port.
    WebAuthHandler earlier;
    QTcpServer blocker;
    const bool own = earlier.start() == QStringLiteral("http://localhost:19876/callback")
        || blocker.listen(QHostAddress::LocalHost, WebAuthHandler::preferredPort);
    if (!own)
        QSKIP("port 19876 is held by another program");
    Rig rig;
    Browser browser;
    const Login login = startLogin(rig, browser);
    QVERIFY(login.port != 0);
    QVERIFY(login.port != WebAuthHandler::preferredPort);
    QCOMPARE(get(login.port,
                 "/callback?state=" + login.state.toLatin1() + "&access_token=A&refresh_token=R"),
             completionPage);
    QVERIFY(rig.auth->isAuthenticated());
}

void TestAuthClient::noSignInServiceConfigured()
{
    LarkTest::ScopedMemoryTokenStore secrets;
    TokenManager tokens(createTokenStore(AccountTest::serviceName));
    ApiClient api(&tokens);
    AuthClient auth(QString(), QStringLiteral("lark"), QStringLiteral("c"), &api, &tokens);
    Browser browser;
    QSignalSpy failed(&auth, &AuthClient::loginFailed);
    auth.loginWithBrowser();
    QCOMPARE(failed.size(), 1);
    QVERIFY(browser.opened.isEmpty());
    QVERIFY(auth.findChildren<WebAuthHandler *>().isEmpty());
}

void TestAuthClient::logout_data()
{
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<bool>("initialize");
    QTest::addColumn<int>("stateSignals");
    QTest::newRow("signed in, token expired") << true << true << 1;
    QTest::newRow("before initialize") << false << false << 1;
    QTest::newRow("already signed out") << false << true << 0;
}

void TestAuthClient::logout()
{
    QFETCH(bool, signedIn);
    QFETCH(bool, initialize);
    QFETCH(int, stateSignals);
    Rig rig;
    rig.server.route("POST", AccountTest::realmPath + QStringLiteral("/auth/logout"),
                     FakeReply::empty(204));
    rig.renewalAnswers(rig.validToken(), QStringLiteral("R2"));
    const QString expired = rig.expiredToken();
    if (signedIn)
        rig.auth->handleAuthCallback(QUrl(QStringLiteral("http://localhost/callback?access_token=")
                                          + expired + QStringLiteral("&refresh_token=R1")));
    if (initialize && !signedIn)
        rig.auth->initialize();
    QSignalSpy changes(rig.auth.get(), &AuthClient::stateChanged);
    QSignalSpy done(rig.auth.get(), &AuthClient::logoutCompleted);
    rig.auth->logout();
    QCOMPARE(changes.size(), stateSignals);
    QCOMPARE(done.size(), 1);
    QCOMPARE(rig.auth->state(), AuthState::Unauthenticated);
    QVERIFY(rig.tokens->refreshToken().isEmpty());
    QVERIFY(!rig.stored(QStringLiteral("larkspindle_access_token")));
    QVERIFY(rig.auth->currentUser().id.isEmpty());

    QTRY_COMPARE(
        rig.server.requestsTo("POST", AccountTest::realmPath + QStringLiteral("/auth/logout"))
            .size(),
        1);
    const RecordedRequest r
        = rig.server.requestsTo("POST", AccountTest::realmPath + QStringLiteral("/auth/logout"))
              .first();
    QCOMPARE(r.body, QByteArray());
    QCOMPARE(r.header("Authorization"), signedIn ? "Bearer " + expired.toLatin1() : QByteArray());
    QTest::qWait(50);
    QCOMPARE(rig.renewals().size(), 0); // signing out never renews
}

void TestAuthClient::renewalEndingAfterLogoutStoresNothing()
{
    Rig rig;
    rig.server.route(
        "POST", refreshPath,
        FakeReply::json(200,
                        QJsonObject {{QStringLiteral("access_token"), rig.validToken()},
                                     {QStringLiteral("refresh_token"), QStringLiteral("R2")}})
            .held());
    rig.tokens->setTokens(rig.expiredToken(), QStringLiteral("R1"));
    rig.auth->handleAuthCallback(QUrl(QStringLiteral("http://localhost/callback?access_token=")
                                      + rig.expiredToken() + QStringLiteral("&refresh_token=R1")));
    AccountTest::Outcome out;
    rig.api->get(QStringLiteral("/users/me"), out.callback());
    QTRY_COMPARE(rig.server.heldCount(), 1);
    rig.auth->logout();
    rig.server.releaseHeld();
    QTRY_COMPARE(out.calls, 1);
    QVERIFY(!out.ok);
    QCOMPARE(rig.auth->state(), AuthState::Unauthenticated);
    QVERIFY(rig.tokens->refreshToken().isEmpty());
    QVERIFY(!rig.stored(QStringLiteral("larkspindle_refresh_token")));
    QVERIFY(!rig.stored(QStringLiteral("larkspindle_access_token")));
}

void TestAuthClient::refreshTokenRejectedSignsOut()
{
    Rig rig;
    rig.server.route(
        "GET", AccountTest::realmPath + QStringLiteral("/users/me"),
        FakeReply::json(200, QJsonObject {{QStringLiteral("id"), QStringLiteral("u1")}}));
    rig.auth->handleAuthCallback(QUrl(QStringLiteral("http://localhost/callback?access_token=")
                                      + rig.validToken() + QStringLiteral("&refresh_token=R1")));
    bool fetched = false;
    rig.auth->fetchCurrentUser([&](const User &) { fetched = true; });
    QTRY_VERIFY(fetched);
    QCOMPARE(rig.auth->currentUser().id, QStringLiteral("u1"));

    rig.server.route("POST", refreshPath, FakeReply::empty(403));
    QList<bool> results;
    rig.auth->refreshToken([&](bool ok) { results.append(ok); });
    QTRY_COMPARE(results, QList<bool> {false});
    QCOMPARE(rig.auth->state(), AuthState::Unauthenticated);
    QVERIFY(rig.auth->currentUser().id.isEmpty());
    QVERIFY(!rig.stored(QStringLiteral("larkspindle_refresh_token")));
}

void TestAuthClient::userRequests()
{
    Rig rig;
    rig.tokens->setTokens(rig.validToken(), QStringLiteral("R"));
    const QString base = AccountTest::realmPath;
    int meCalls = 0;
    rig.server.route("GET", base + QStringLiteral("/users/me"), [&](const RecordedRequest &) {
        return ++meCalls == 1
            ? FakeReply::json(200,
                              QJsonObject {{QStringLiteral("id"), QStringLiteral("u1")},
                                           {QStringLiteral("display_name"), QStringLiteral("Ann")}})
            : FakeReply::empty(500);
    });
    rig.server.route(
        "PATCH", base + QStringLiteral("/users/me"),
        FakeReply::json(422, QJsonObject {{QStringLiteral("id"), QStringLiteral("x")}}));
    rig.server.route(
        "POST", base + QStringLiteral("/users/me/password"),
        FakeReply::json(400, QJsonObject {{QStringLiteral("error"), QStringLiteral("weak")}}));
    rig.server.route(
        "GET", base + QStringLiteral("/users/me/sessions"),
        FakeReply::json(
            200,
            QJsonObject {{QStringLiteral("sessions"),
                          QJsonArray {QJsonObject {{QStringLiteral("id"), QStringLiteral("s1")},
                                                   {QStringLiteral("is_current"), true}},
                                      QStringLiteral("odd")}}}));
    rig.server.route("DELETE", base + QStringLiteral("/users/me/sessions/*"),
                     FakeReply::empty(204));

    QList<User> users;
    const auto keep = [&](const User &u) {
        users.append(u);
    };
    rig.auth->fetchCurrentUser(keep);
    QTRY_COMPARE(users.size(), 1);
    QCOMPARE(users.last().displayName, QStringLiteral("Ann"));
    rig.auth->fetchCurrentUser(keep); // fails: the cached user comes back
    QTRY_COMPARE(users.size(), 2);
    QCOMPARE(users.last().id, QStringLiteral("u1"));
    rig.auth->updateProfile(QStringLiteral("Bea"), keep); // fails: an empty user
    QTRY_COMPARE(users.size(), 3);
    QVERIFY(users.last().id.isEmpty());
    QCOMPARE(rig.auth->currentUser().displayName, QStringLiteral("Ann"));
    QCOMPARE(rig.server.requestsTo("PATCH", base + QStringLiteral("/users/me")).first().body,
             QByteArray(R"({"display_name":"Bea"})"));

    QList<bool> changed;
    rig.auth->changePassword(QStringLiteral("old pw"), QStringLiteral("new pw"),
                             [&](bool ok) { changed.append(ok); });
    QTRY_COMPARE(changed, QList<bool> {false});
    QCOMPARE(
        QJsonDocument::fromJson(
            rig.server.requestsTo("POST", base + QStringLiteral("/users/me/password")).first().body)
            .object(),
        (QJsonObject {{QStringLiteral("current_password"), QStringLiteral("old pw")},
                      {QStringLiteral("new_password"), QStringLiteral("new pw")}}));

    QList<Session> sessions;
    bool listed = false;
    rig.auth->listSessions([&](const QList<Session> &s) {
        sessions = s;
        listed = true;
    });
    QTRY_VERIFY(listed);
    QCOMPARE(sessions.size(), 2);
    QCOMPARE(sessions.at(0).id, QStringLiteral("s1"));
    QVERIFY(sessions.at(0).isCurrent);
    QVERIFY(sessions.at(1).id.isEmpty());

    rig.auth->revokeSession(QStringLiteral("s/1?x"));
    QTRY_COMPARE(rig.server.requestCount(), 6);
    QCOMPARE(rig.server.requests().last().target,
             (base + QStringLiteral("/users/me/sessions/s%2F1%3Fx")).toLatin1());
}

QTEST_MAIN(TestAuthClient)
#include "tst_AuthClient.moc"
