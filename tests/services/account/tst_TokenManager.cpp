#include "AccountTestKit.h"
#include "model/Clock.h"

#include "services/account/TokenManager.h"

#include <QJsonObject>
#include <QTest>

using namespace LarkAccount;
using AccountTest::jwt;
using AccountTest::jwtExpiring;

namespace {

const QString accessKey = QStringLiteral("larkspindle_access_token");
const QString refreshKey = QStringLiteral("larkspindle_refresh_token");

// A renewal function the test finishes by hand.
struct ManualRenewal
{
    int calls = 0;
    QString lastRefreshToken;
    TokenManager::SuccessCompletion succeed;
    TokenManager::FailureCompletion fail;

    TokenManager::RefreshFunction function()
    {
        return [this](const QString &token, TokenManager::SuccessCompletion s,
                      TokenManager::FailureCompletion f) {
            ++calls;
            lastRefreshToken = token;
            succeed = std::move(s);
            fail = std::move(f);
        };
    }
};

struct Fixture
{
    LarkTest::ScopedMemoryTokenStore secrets;
    LarkTest::TestClock clock {QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC)};
    Clock::Override pinned {[this] {
        return clock.now();
    }};
    TokenManager tokens {createTokenStore(AccountTest::serviceName)};
    ManualRenewal renewal;

    Fixture() { tokens.setRefreshFunction(renewal.function()); }
    qint64 now() const { return clock.now().toSecsSinceEpoch(); }
    std::optional<QString> stored(const QString &key) const
    {
        return secrets.value(AccountTest::serviceName, key);
    }
};

} // namespace

class TestTokenManager : public QObject
{
    Q_OBJECT

private slots:
    void usableUntilThirtySecondsBeforeExpiry_data();
    void usableUntilThirtySecondsBeforeExpiry();
    void expiryOfOddTokens_data();
    void expiryOfOddTokens();
    void claims_data();
    void claims();
    void setTokensStoresAndLoadReadsBack();
    void clearEmptiesMemoryAndStore();
    void refreshWithoutRefreshTokenRejectsAtOnce();
    void oneRenewalServesEveryWaitingCaller();
    void failureKeepsTokens_data();
    void failureKeepsTokens();
    void replyWithoutRefreshTokenKeepsStoredOne();
    void renewalOutcomeAppliesOnlyToItsOwnTokens();
    void completionMayStartNextRenewal();
};

void TestTokenManager::usableUntilThirtySecondsBeforeExpiry_data()
{
    QTest::addColumn<qint64>("secondsAhead");
    QTest::addColumn<bool>("usable");
    QTest::newRow("100 s ahead") << qint64(100) << true;
    QTest::newRow("31 s ahead") << qint64(31) << true;
    QTest::newRow("30 s ahead") << qint64(30) << false;
    QTest::newRow("20 s ahead") << qint64(20) << false;
    QTest::newRow("expired") << qint64(-5) << false;
}

void TestTokenManager::usableUntilThirtySecondsBeforeExpiry()
{
    QFETCH(qint64, secondsAhead);
    QFETCH(bool, usable);
    Fixture f;
    const QString token = jwtExpiring(f.now() + secondsAhead);
    f.tokens.setTokens(token, QStringLiteral("R"));
    QCOMPARE(f.tokens.accessToken(), usable ? token : QString());
    QCOMPARE(f.tokens.needsRefresh(), !usable);

    f.tokens.setTokens(token, QString());
    QVERIFY(!f.tokens.needsRefresh()); // nothing to renew with
}

void TestTokenManager::expiryOfOddTokens_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<qint32>("expiry");
    QTest::newRow("exp") << jwt({{QStringLiteral("exp"), 1767000000}}) << qint32(1767000000);
    QTest::newRow("no exp") << jwt({{QStringLiteral("sub"), QStringLiteral("u")}}) << qint32(0);
    QTest::newRow("exp as text") << jwt({{QStringLiteral("exp"), QStringLiteral("1767000000")}})
                                 << qint32(0);
    QTest::newRow("exp fraction") << jwt({{QStringLiteral("exp"), 17670000.5}}) << qint32(0);
    QTest::newRow("exp beyond 32 bits")
        << jwt({{QStringLiteral("exp"), 5000000000.0}}) << qint32(0);
    QTest::newRow("one part") << QStringLiteral("abc") << qint32(0);
    QTest::newRow("payload not base64 json") << QStringLiteral("a.!!!.c") << qint32(0);
    QTest::newRow("payload an array")
        << QString::fromLatin1("a." + AccountTest::base64Url("[1]") + ".c") << qint32(0);
    QTest::newRow("two parts, no signature")
        << QString::fromLatin1("a." + AccountTest::base64Url(R"({"exp":42})")) << qint32(42);
    QTest::newRow("empty") << QString() << qint32(0);
}

void TestTokenManager::expiryOfOddTokens()
{
    QFETCH(QString, token);
    QFETCH(qint32, expiry);
    QCOMPARE(TokenManager::tokenExpiry(token), expiry);
}

void TestTokenManager::claims_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("groupId");
    QTest::addColumn<QString>("role");
    const auto lrk = [](const QJsonValue &inner) {
        return jwt({{QStringLiteral("custom"), QJsonObject {{QStringLiteral("lrk"), inner}}}});
    };
    QTest::newRow("both") << lrk(QJsonObject {{QStringLiteral("group_id"), QStringLiteral("g1")},
                                              {QStringLiteral("role"), QStringLiteral("owner")}})
                          << QStringLiteral("g1") << QStringLiteral("owner");
    QTest::newRow("role only") << lrk(QJsonObject {{QStringLiteral("role"), QStringLiteral("m")}})
                               << QString() << QStringLiteral("m");
    QTest::newRow("group id a number")
        << lrk(QJsonObject {{QStringLiteral("group_id"), 7}}) << QString() << QString();
    QTest::newRow("lrk not an object") << lrk(QStringLiteral("x")) << QString() << QString();
    QTest::newRow("custom without lrk")
        << jwt({{QStringLiteral("custom"), QJsonObject {{QStringLiteral("other"), 1}}}})
        << QString() << QString();
    QTest::newRow("no custom") << jwt({{QStringLiteral("exp"), 1}}) << QString() << QString();
    QTest::newRow("garbage") << QStringLiteral("x.y") << QString() << QString();
}

void TestTokenManager::claims()
{
    QFETCH(QString, token);
    QFETCH(QString, groupId);
    QFETCH(QString, role);
    const LrkClaims c = decodeClaims(token);
    QCOMPARE(c.groupId, groupId);
    QCOMPARE(c.role, role);
}

void TestTokenManager::setTokensStoresAndLoadReadsBack()
{
    Fixture f;
    const QString access = jwtExpiring(f.now() + 600);
    QVERIFY(f.tokens.setTokens(access, QStringLiteral("R1")));
    QCOMPARE(f.stored(accessKey), std::optional<QString>(access));
    QCOMPARE(f.stored(refreshKey), std::optional<QString>(QStringLiteral("R1")));

    TokenManager second(createTokenStore(AccountTest::serviceName));
    QVERIFY(second.refreshToken().isEmpty());
    second.load();
    QCOMPARE(second.accessToken(), access);
    QCOMPARE(second.refreshToken(), QStringLiteral("R1"));

    // A refusing store is reported; the tokens still serve this run.
    f.secrets.credentials().refuseWrites = true;
    QVERIFY(!f.tokens.setTokens(access, QStringLiteral("R2")));
    QCOMPARE(f.tokens.refreshToken(), QStringLiteral("R2"));
    QCOMPARE(f.stored(refreshKey), std::optional<QString>(QStringLiteral("R1")));
}

void TestTokenManager::clearEmptiesMemoryAndStore()
{
    Fixture f;
    f.tokens.setTokens(AccountTest::jwtExpiring(f.now() - 1), QStringLiteral("R"));
    QVERIFY(f.tokens.needsRefresh());
    f.secrets.credentials().entries.insert(
        QStringLiteral("Larkspindle/%1/other").arg(AccountTest::serviceName),
        QStringLiteral("kept"));
    f.tokens.clear();
    QVERIFY(!f.tokens.needsRefresh());
    QVERIFY(f.tokens.accessToken().isEmpty());
    QVERIFY(f.tokens.refreshToken().isEmpty());
    QVERIFY(!f.stored(accessKey));
    QVERIFY(!f.stored(refreshKey));
    QCOMPARE(f.stored(QStringLiteral("other")), std::optional<QString>(QStringLiteral("kept")));
}

void TestTokenManager::refreshWithoutRefreshTokenRejectsAtOnce()
{
    Fixture f;
    QList<RefreshResult> results;
    f.tokens.refresh([&](RefreshResult r) { results.append(r); });
    QCOMPARE(results, QList<RefreshResult> {RefreshResult::Rejected});
    QCOMPARE(f.renewal.calls, 0);

    // No renewal function installed is the same.
    TokenManager bare(createTokenStore(AccountTest::serviceName));
    bare.setTokens(QString(), QStringLiteral("R"));
    results.clear();
    bare.refresh([&](RefreshResult r) { results.append(r); });
    QCOMPARE(results, QList<RefreshResult> {RefreshResult::Rejected});
}

void TestTokenManager::oneRenewalServesEveryWaitingCaller()
{
    Fixture f;
    f.tokens.setTokens(jwtExpiring(f.now() - 1), QStringLiteral("R1"));
    QStringList order;
    for (int i = 1; i <= 3; ++i)
        f.tokens.refresh([&order, i](RefreshResult r) {
            order.append(QStringLiteral("%1:%2").arg(i).arg(int(r)));
        });
    f.tokens.refresh({}); // an empty completion simply joins
    QCOMPARE(f.renewal.calls, 1);
    QCOMPARE(f.renewal.lastRefreshToken, QStringLiteral("R1"));
    QVERIFY(order.isEmpty());

    const QString fresh = jwtExpiring(f.now() + 900);
    f.renewal.succeed(fresh, QStringLiteral("R2"));
    QCOMPARE(order, LarkTest::strings({"1:0", "2:0", "3:0"}));
    QCOMPARE(f.tokens.accessToken(), fresh);
    QCOMPARE(f.stored(refreshKey), std::optional<QString>(QStringLiteral("R2")));

    // Idle again: the next call starts a new renewal.
    f.tokens.refresh({});
    QCOMPARE(f.renewal.calls, 2);
    QCOMPARE(f.renewal.lastRefreshToken, QStringLiteral("R2"));
}

void TestTokenManager::failureKeepsTokens_data()
{
    QTest::addColumn<bool>("rejected");
    QTest::addColumn<RefreshResult>("expected");
    QTest::newRow("rejected") << true << RefreshResult::Rejected;
    QTest::newRow("transient") << false << RefreshResult::TransientFailure;
}

void TestTokenManager::failureKeepsTokens()
{
    QFETCH(bool, rejected);
    QFETCH(RefreshResult, expected);
    Fixture f;
    const QString old = jwtExpiring(f.now() - 1);
    f.tokens.setTokens(old, QStringLiteral("R1"));
    QList<RefreshResult> results;
    f.tokens.refresh([&](RefreshResult r) { results.append(r); });
    f.tokens.refresh([&](RefreshResult r) { results.append(r); });
    f.renewal.fail(rejected);
    QCOMPARE(results, (QList<RefreshResult> {expected, expected}));
    QCOMPARE(f.tokens.refreshToken(), QStringLiteral("R1"));
    QCOMPARE(f.stored(accessKey), std::optional<QString>(old));
}

void TestTokenManager::replyWithoutRefreshTokenKeepsStoredOne()
{
    Fixture f;
    f.tokens.setTokens(jwtExpiring(f.now() - 1), QStringLiteral("R1"));
    f.tokens.refresh({});
    const QString fresh = jwtExpiring(f.now() + 900);
    f.renewal.succeed(fresh, QString());
    QCOMPARE(f.tokens.accessToken(), fresh);
    QCOMPARE(f.tokens.refreshToken(), QStringLiteral("R1"));
    QCOMPARE(f.stored(refreshKey), std::optional<QString>(QStringLiteral("R1")));
}

void TestTokenManager::renewalOutcomeAppliesOnlyToItsOwnTokens()
{
    Fixture f;
    f.tokens.setTokens(jwtExpiring(f.now() - 1), QStringLiteral("R1"));
    QList<RefreshResult> results;
    f.tokens.refresh([&](RefreshResult r) { results.append(r); });
    f.tokens.clear(); // the user signs out while the renewal runs
    f.renewal.succeed(jwtExpiring(f.now() + 900), QStringLiteral("R2"));
    QCOMPARE(results, QList<RefreshResult> {RefreshResult::Rejected});
    QVERIFY(f.tokens.refreshToken().isEmpty());
    QVERIFY(f.tokens.accessToken().isEmpty());
    QVERIFY(!f.stored(accessKey));
    QVERIFY(!f.stored(refreshKey));

    // Signed in anew meanwhile: the old renewal does not overwrite the new tokens.
    const QString signedIn = jwtExpiring(f.now() + 1800);
    f.tokens.setTokens(signedIn, QStringLiteral("R9"));
    f.tokens.setTokens(jwtExpiring(f.now() - 1), QStringLiteral("R9"));
    results.clear();
    f.tokens.refresh([&](RefreshResult r) { results.append(r); });
    f.tokens.setTokens(signedIn, QStringLiteral("R10"));
    f.renewal.succeed(jwtExpiring(f.now() + 900), QStringLiteral("R11"));
    QCOMPARE(results, QList<RefreshResult> {RefreshResult::Success});
    QCOMPARE(f.tokens.accessToken(), signedIn);
    QCOMPARE(f.stored(refreshKey), std::optional<QString>(QStringLiteral("R10")));

    // A refusal of the old refresh token, arriving after a newer sign-in, must not read as a
    // refusal of the new tokens (the caller would clear them).
    f.tokens.setTokens(jwtExpiring(f.now() - 1), QStringLiteral("old-refresh"));
    results.clear();
    f.tokens.refresh([&](RefreshResult r) { results.append(r); });
    f.tokens.setTokens(signedIn, QStringLiteral("new-refresh"));
    f.renewal.fail(true);
    QCOMPARE(results, QList<RefreshResult> {RefreshResult::Success});
    QCOMPARE(f.stored(refreshKey), std::optional<QString>(QStringLiteral("new-refresh")));
}

void TestTokenManager::completionMayStartNextRenewal()
{
    Fixture f;
    f.tokens.setTokens(jwtExpiring(f.now() - 1), QStringLiteral("R1"));
    f.tokens.refresh([&f](RefreshResult) { f.tokens.refresh({}); });
    f.renewal.fail(false);
    QCOMPARE(f.renewal.calls, 2);
}

QTEST_GUILESS_MAIN(TestTokenManager)
#include "tst_TokenManager.moc"
