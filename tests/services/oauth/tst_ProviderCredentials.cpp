#include "platform/DataPaths.h"
#include "platform/TokenStore.h"
#include "services/oauth/ProviderSession.h"
#include "services/sync/google/AuthService.h"
#include "services/sync/microsoft/AuthService.h"
#include "support/MemoryTokenStore.h"

#include <QTest>

namespace {

const QString kAccount = QStringLiteral("3f2a-acc");
const QDateTime kExpiry(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);

QString stored(const QString &key)
{
    return LarkAccount::createTokenStore(applicationIdentifier())
        ->get(key)
        .value_or(QStringLiteral("<none>"));
}

bool storeRaw(const QString &key, const QString &text)
{
    return LarkAccount::createTokenStore(applicationIdentifier())->set(key, text);
}

bool isEmpty(const OAuth::StoredTokens &t)
{
    return t.accessToken.isEmpty() && t.refreshToken.isEmpty() && !t.expiresAt.isValid();
}

} // namespace

// These run against the program's own credential store (the vault in this test's private
// configuration folder), so what is checked is what survives a restart.
class TestProviderCredentials : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip();
    void unreadableEntries_data();
    void unreadableEntries();
    void refreshKeepsUnrotatedRefreshToken_data();
    void refreshKeepsUnrotatedRefreshToken();
    void refusedWrite();
};

void TestProviderCredentials::roundTrip()
{
    const Google::StoredTokens first {QStringLiteral("ya29.a+b/c="), QStringLiteral("1//r+t="),
                                      kExpiry};
    QVERIFY(Google::AuthService::saveTokens(kAccount, first));
    QCOMPARE(stored(QStringLiteral("google-tokens-") + kAccount),
             QStringLiteral("{\"access_token\":\"ya29.a+b/c=\",\"expires_at\":"
                            "\"2026-03-01T09:30:00.000Z\",\"refresh_token\":\"1//r+t=\"}"));
    const Google::StoredTokens loaded = Google::AuthService::loadTokens(kAccount);
    QCOMPARE(loaded.accessToken, first.accessToken);
    QCOMPARE(loaded.refreshToken, first.refreshToken);
    QCOMPARE(loaded.expiresAt, kExpiry);
    QCOMPARE(loaded.expiresAt.timeSpec(), Qt::UTC);
    // Each provider has its own entry.
    QVERIFY(isEmpty(Microsoft::AuthService::loadTokens(kAccount)));

    // A second save replaces the first; an invalid expiry is stored as "" and stays invalid.
    QVERIFY(Google::AuthService::saveTokens(kAccount,
                                            {QStringLiteral("a2"), QStringLiteral("r2"), {}}));
    QCOMPARE(stored(QStringLiteral("google-tokens-") + kAccount),
             QStringLiteral(R"({"access_token":"a2","expires_at":"","refresh_token":"r2"})"));
    const Google::StoredTokens second = Google::AuthService::loadTokens(kAccount);
    QCOMPARE(second.refreshToken, QStringLiteral("r2"));
    QVERIFY(!second.expiresAt.isValid());
}

void TestProviderCredentials::unreadableEntries_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refreshToken");

    QTest::newRow("never saved") << false << ""
                                 << "";
    QTest::newRow("empty text") << true << ""
                                << "";
    QTest::newRow("empty object") << true << "{}"
                                  << "";
    QTest::newRow("not JSON") << true << "ya29.token"
                              << "";
    QTest::newRow("array") << true << R"(["a","b"])"
                           << "";
    QTest::newRow("numbers") << true << R"({"access_token":5,"refresh_token":7})"
                             << "";
    QTest::newRow("bad expiry keeps tokens")
        << true << R"({"access_token":"a","expires_at":"soon","refresh_token":"r"})"
        << "r";
}

void TestProviderCredentials::unreadableEntries()
{
    QFETCH(bool, present);
    QFETCH(QString, text);
    QFETCH(QString, refreshToken);

    QVERIFY(!present || storeRaw(Microsoft::AuthService::tokenKey(kAccount), text));
    const Microsoft::StoredTokens tokens = Microsoft::AuthService::loadTokens(kAccount);
    QCOMPARE(tokens.refreshToken, refreshToken);
    QCOMPARE(tokens.accessToken.isEmpty(), refreshToken.isEmpty());
    QVERIFY(!tokens.expiresAt.isValid());
}

void TestProviderCredentials::refreshKeepsUnrotatedRefreshToken_data()
{
    QTest::addColumn<QString>("rotated");
    QTest::addColumn<QString>("expected");

    QTest::newRow("not rotated") << ""
                                 << "1//old";
    QTest::newRow("rotated") << "1//new+/="
                             << "1//new+/=";
}

void TestProviderCredentials::refreshKeepsUnrotatedRefreshToken()
{
    QFETCH(QString, rotated);
    QFETCH(QString, expected);

    QVERIFY(Google::AuthService::saveTokens(
        kAccount, {QStringLiteral("old"), QStringLiteral("1//old"), kExpiry}));
    const QDateTime later = kExpiry.addSecs(3600);
    QObject owner;
    OAuth::SignInSession *session
        = OAuth::newProviderSession<Google::AuthService>(kAccount, 60, &owner);
    session->setTokens({QStringLiteral("old"), QStringLiteral("1//old"), kExpiry});
    session->setRenewal(
        [&](const QString &, OAuth::SignInSession::Renewed renewed, OAuth::SignInSession::Failed) {
            renewed({QStringLiteral("new"), rotated, later});
        });
    session->renew({});
    const Google::StoredTokens tokens = Google::AuthService::loadTokens(kAccount);
    QCOMPARE(tokens.accessToken, QStringLiteral("new"));
    QCOMPARE(tokens.refreshToken, expected);
    QCOMPARE(tokens.expiresAt, later);
}

void TestProviderCredentials::refusedWrite()
{
    LarkTest::ScopedMemoryTokenStore secrets;
    QVERIFY(Microsoft::AuthService::saveTokens(
        kAccount, {QStringLiteral("a"), QStringLiteral("r"), kExpiry}));
    secrets.credentials().refuseWrites = true;
    QVERIFY(!Microsoft::AuthService::saveTokens(kAccount, {QStringLiteral("b"), QString(), {}}));
    QCOMPARE(Microsoft::AuthService::loadTokens(kAccount).refreshToken, QStringLiteral("r"));
}

QTEST_GUILESS_MAIN(TestProviderCredentials)
#include "tst_ProviderCredentials.moc"
