#include "services/sync/google/AuthService.h"
#include "services/sync/microsoft/AuthService.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "support/FakeBrowser.h"
#include "support/FakeGoogleCalendar.h"
#include "support/FakeHttpServer.h"
#include "support/StartedAppState.h"
#include "ui/MessagePresenter.h"
#include "ui/dialogs/AccountsCalendarsDialog.h"

#include <QDialog>
#include <QJsonDocument>
#include <QPushButton>
#include <QTest>

using LarkTest::FakeReply;

namespace {

void setCredentials(bool on)
{
    for (const char *name : {"GOOGLE_CLIENT_ID", "GOOGLE_CLIENT_SECRET", "MICROSOFT_CLIENT_ID"}) {
        if (on)
            qputenv(name, "configured");
        else
            qunsetenv(name);
    }
}

QList<Account> accountsOfType(AppState *state, const QString &type)
{
    QList<Account> out;
    const QList<Account> all = state->accounts()->listActive();
    for (const Account &a : all) {
        if (a.type == type)
            out << a;
    }
    return out;
}

// The token endpoint's answer for a user, with that user's identity token.
FakeReply tokensFor(const QByteArray &email, const QByteArray &refreshToken)
{
    const QByteArray claims = "{\"email\":\"" + email + "\"}";
    const QByteArray idToken = "e30." + claims.toBase64(QByteArray::Base64UrlEncoding) + ".sig";
    return FakeReply::text(200,
                           "{\"access_token\":\"at\",\"refresh_token\":\"" + refreshToken
                               + "\",\"id_token\":\"" + idToken + "\",\"expires_in\":3600}",
                           "application/json");
}

} // namespace

class TestProviderSignIn : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void entriesOnlyWithCredentials();
    void addsSignedInAccounts();
};

void TestProviderSignIn::cleanup()
{
    setCredentials(false);
    MessagePresenter::setHandler({});
    qunsetenv("GOOGLE_CALENDAR_API_URL");
}

void TestProviderSignIn::entriesOnlyWithCredentials()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    for (bool on : {false, true}) {
        setCredentials(on);
        AccountsCalendarsDialog dialog(state.get(), nullptr);
        for (const char *name : {"addGoogleAccountButton", "addMicrosoftAccountButton"}) {
            auto *button = dialog.findChild<QPushButton *>(QString::fromLatin1(name));
            QVERIFY(button);
            QCOMPARE(button->isHidden(), !on);
        }
    }
}

void TestProviderSignIn::addsSignedInAccounts()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    LarkTest::FakeHttpServer server;
    QVERIFY(server.listen());
    setCredentials(true);
    qputenv("GOOGLE_AUTH_URL", server.url(QStringLiteral("/auth")).toEncoded());
    qputenv("GOOGLE_TOKEN_URL", server.url(QStringLiteral("/token")).toEncoded());
    qputenv("MICROSOFT_AUTHORITY_URL", server.url().toEncoded());
    // The account's calendars, listed right after the sign-in.
    LarkTest::FakeGoogleCalendar calendars(&server);
    calendars.accessToken = QStringLiteral("at");
    calendars.addCalendar(QStringLiteral("ada@example.com"), QStringLiteral("Ada"));
    qputenv("GOOGLE_CALENDAR_API_URL", calendars.apiRoot().toUtf8());
    LarkTest::FakeBrowser browser;
    QStringList shown;
    MessagePresenter::setHandler([&](MessagePresenter::Kind, QWidget *, const QString &,
                                     const QString &text) { shown << text; });

    AccountsCalendarsDialog dialog(state.get(), nullptr);
    auto *google = dialog.findChild<QPushButton *>(QStringLiteral("addGoogleAccountButton"));
    auto *microsoft = dialog.findChild<QPushButton *>(QStringLiteral("addMicrosoftAccountButton"));
    QVERIFY(google && microsoft);
    const auto signIn = [&](const QByteArray &refreshToken) {
        server.route("POST", QStringLiteral("/token"), tokensFor("ada@example.com", refreshToken));
        google->click();
        const QByteArray expected
            = browser.lastQuery().queryItemValue(QStringLiteral("state")).toLatin1();
        return browser.get("/?code=c&state=" + expected).startsWith("HTTP/1.1 200");
    };

    // A first sign-in adds the account with its tokens; signing in again as the same user
    // renews the tokens of that account instead of adding a twin.
    QVERIFY(signIn("r1"));
    QTRY_COMPARE(accountsOfType(state.get(), QStringLiteral("google")).size(), 1);
    const Account added = accountsOfType(state.get(), QStringLiteral("google")).first();
    QCOMPARE(added.name, QStringLiteral("ada@example.com"));
    QCOMPARE(Google::AuthService::loadTokens(added.id).refreshToken, QStringLiteral("r1"));
    QTRY_COMPARE(state->calendars()->listByAccount(added.id).size(), 1);
    QCOMPARE(state->calendars()->listByAccount(added.id).first().name, QStringLiteral("Ada"));
    QVERIFY(signIn("r2"));
    QTRY_COMPARE(Google::AuthService::loadTokens(added.id).refreshToken, QStringLiteral("r2"));
    QCOMPARE(accountsOfType(state.get(), QStringLiteral("google")).size(), 1);
    QCOMPARE(shown, QStringList());

    // A failure is shown and adds nothing.
    browser.launches = false;
    google->click();
    QCOMPARE(
        shown,
        QStringList {QStringLiteral("Could not launch the system browser for Google sign-in.")});
    browser.launches = true;

    // Cancelling the wait leaves nothing behind and says nothing.
    QTRY_VERIFY(!dialog.findChild<QDialog *>(QStringLiteral("providerSignInWait")));
    microsoft->click();
    auto *wait = dialog.findChild<QDialog *>(QStringLiteral("providerSignInWait"));
    QVERIFY(wait && wait->isVisible());
    wait->reject();
    QTRY_VERIFY(!dialog.findChild<QDialog *>(QStringLiteral("providerSignInWait")));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(accountsOfType(state.get(), QStringLiteral("microsoft")).size(), 0);
    QCOMPARE(accountsOfType(state.get(), QStringLiteral("google")).size(), 1);
    QCOMPARE(server.requestsTo("POST", QStringLiteral("/common/oauth2/v2.0/token")).size(), 0);
}

QTEST_MAIN(TestProviderSignIn)
#include "tst_ProviderSignIn.moc"
